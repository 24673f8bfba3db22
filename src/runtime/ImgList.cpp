#include "runtime/ImgList.h"

#include <algorithm>

namespace rt {

void TImageList::SetSize(int width, int height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    images_.clear();
}

int TImageList::AddMasked(const TBitmap& image, TColor mask) {
    TBitmap b(width_, height_);
    const TColor key = mask != clNone ? mask : image.EffectiveTransparentColor();
    b.Canvas().Brush.Color = key == clNone ? clWhite : key;
    b.Canvas().FillRect(Rect(0, 0, width_, height_));
    b.Canvas().CopyRect(
        Rect(0, 0, std::min(width_, image.Width()), std::min(height_, image.Height())), image,
        Rect(0, 0, std::min(width_, image.Width()), std::min(height_, image.Height())));
    b.Transparent = true;
    b.TransparentColor = key == clNone ? clWhite : key;
    images_.push_back(std::move(b));
    return int(images_.size()) - 1;
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
    if (index < 0 || index >= Count()) return;
    const TBitmap& image = images_[std::size_t(index)];
    if (enabled) {
        canvas.Draw(x, y, image);
        return;
    }
    const std::uint32_t key = ColorToPixel(image.TransparentColor) & 0xFFFFFF;
    TBitmap shape = image;
    for (const TColor ink : {clBtnHighlight, clBtnShadow}) {
        const std::uint32_t px = ColorToPixel(ink);
        for (std::size_t i = 0; i < shape.Pixels().size(); ++i)
            if ((image.Pixels()[i] & 0xFFFFFF) != key) shape.Pixels()[i] = px;
        const int d = ink == clBtnHighlight ? 1 : 0;
        canvas.Draw(x + d, y + d, shape);
    }
}

}  // namespace rt
