#pragma once
// A list of same-sized images drawn with a transparent colour, as menus show them.

#include <vector>

#include "runtime/Classes.h"
#include "runtime/Graphics.h"

namespace rt {

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner) : TComponent(owner) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Changing the size drops the images.
    void SetSize(int width, int height);
    int Count() const { return int(images_.size()); }
    // Adds an image cut or padded to the list's size; pixels of `mask` (clNone: the image's
    // bottom-left pixel) are left out when drawing. Returns the new image's index.
    int AddMasked(const TBitmap& image, TColor mask);
    // Draws image `index` at (x, y); a disabled image shows its shape embossed in the button
    // highlight and shadow colours. Nothing for an index out of range.
    // The image at index with its transparent colour set, or null out of range.
    const TBitmap* Image(int index) const {
        return index >= 0 && index < Count() ? &images_[std::size_t(index)] : nullptr;
    }
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;

private:
    int width_ = 16;
    int height_ = 16;
    std::vector<TBitmap> images_;
};

}  // namespace rt
