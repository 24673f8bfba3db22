#pragma once
// 24-bit working copies of bitmaps: the inactive-window effects and the hover morphs.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/Graphics.h"
#include "skin/data/skTypes.h"

namespace sk {

// A 24-bit image, rows top first, each pixel the bytes blue, green, red, each row padded to
// 3 * Width + (Width mod 4) bytes. Every operation changes the object's own pixels.
class TskEffectBmp {
public:
    // Black image of the given size (negative sizes count as 0).
    TskEffectBmp(int width, int height);
    // Copy of the bitmap's pixels.
    explicit TskEffectBmp(const rt::TBitmap& bitmap);

    int Width() const { return width_; }
    int Height() const { return height_; }
    std::size_t Stride() const { return stride_; }
    std::uint8_t* ScanLine(int y) { return data_.data() + std::size_t(y) * stride_; }
    const std::uint8_t* ScanLine(int y) const { return data_.data() + std::size_t(y) * stride_; }
    // Pixel as 0x00RRGGBB, like rt::TBitmap.
    std::uint32_t Pixel(int x, int y) const;
    void SetPixel(int x, int y, std::uint32_t rgb);

    // Puts the whole image at (x, y), one-to-one, within the canvas' clipping.
    void Draw(rt::TCanvas& canvas, int x, int y) const;
    // Writes the image into a bitmap of the same size (the bitmap is resized).
    void AssignTo(rt::TBitmap& bitmap) const;
    rt::TBitmap ToBitmap() const;

    void ChangeBrightness(double k);
    void ChangeDarkness(double k);
    void GrayScale();
    void AddColorNoise(int amount);
    void SplitBlur(int amount);
    void Invert();

    // Each morph needs `other` of the same size and does nothing otherwise. k is the animation
    // position; 0 keeps this image and 1 gives other (values outside 0..1 count as the limit).
    void Morph(const TskEffectBmp& other, double k);
    void MorphGrad(const TskEffectBmp& other, double k);
    void MorphLeftGrad(const TskEffectBmp& other, double k);
    void MorphRightGrad(const TskEffectBmp& other, double k);
    void MorphLeftSlide(const TskEffectBmp& other, double k);
    void MorphRightSlide(const TskEffectBmp& other, double k);
    void MorphPush(const TskEffectBmp& other, double k);

private:
    bool SameSize(const TskEffectBmp& other) const {
        return other.width_ == width_ && other.height_ == height_;
    }
    // Per-column blend weights m: pixel := round(m * self + (1 - m) * other).
    void BlendColumns(const TskEffectBmp& other, const std::vector<double>& weight, int first,
                      int last);
    void BlendRows(const TskEffectBmp& other, int row, double m);

    int width_ = 0;
    int height_ = 0;
    std::size_t stride_ = 0;
    std::vector<std::uint8_t> data_;
};

// The morph that a skin's morph kind selects: self moves towards other by k.
void MorphByKind(TskEffectBmp& self, const TskEffectBmp& other, TskMorphKind kind, double k);

// Lets the effects use the processor's vector instructions (the default) or only the plain
// per-byte code, which gives the very same pixels; returns the previous setting. For tests and
// benchmarks.
bool SetEffectVectorPaths(bool enabled);

// The same 24-bit image with a table of row starts, as the mask scanner reads it.
class TskFBitmap {
public:
    explicit TskFBitmap(const rt::TBitmap& bitmap);

    int Width() const { return image_.Width(); }
    int Height() const { return image_.Height(); }
    const std::uint8_t* Row(int y) const { return rows_[std::size_t(y)]; }

private:
    TskEffectBmp image_;
    std::vector<const std::uint8_t*> rows_;
};

}  // namespace sk
