#pragma once
// Pictures in memory and drawing on them. Pixels are 0x00RRGGBB, top row first; the canvas
// draws with Qt inside runtime, but nothing of Qt shows here.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Classes.h"
#include "runtime/Types.h"

namespace rt {

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

class TFont {
public:
    std::string Name = "MS Sans Serif";
    int Size = 8;  // points, at 96 pixels per inch
    TColor Color = clWindowText;
    TFontStyles Style = 0;
    // Angle of the text's baseline in tenths of a degree, counter-clockwise: 900 reads upwards.
    int Orientation = 0;
    // Pixel height of the em (the class library's negative Height).
    int PixelSize() const { return (Size * 96 + 36) / 72; }
    friend bool operator==(const TFont&, const TFont&) = default;
};

enum class TBrushStyle { bsSolid, bsClear };
struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
};

enum class TPenStyle { psSolid, psDot, psClear };
struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
};

enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

class TBitmap;

// Flags of TCanvas::DrawText, as the window system's formatted text output takes them.
enum TDrawTextFlags : unsigned {
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,  // single line only
    DT_BOTTOM = 0x8,   // single line only
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800
};

// Drawing operations on one bitmap. Coordinates are the bitmap's pixels.
class TCanvas {
public:
    explicit TCanvas(TBitmap& target) : target_(target) {}

    TFont Font;
    TBrush Brush;
    TPen Pen;

    void FillRect(const TRect& r);   // with Brush
    void FrameRect(const TRect& r);  // 1 pixel, Brush colour
    void Rectangle(const TRect& r);  // Pen outline, Brush fill
    void Ellipse(const TRect& r);
    void MoveTo(int x, int y) { penPos_ = {x, y}; }
    void LineTo(int x, int y);                         // end point excluded, like GDI
    void Polyline(const std::vector<TPoint>& points);  // end point excluded
    void Polygon(const std::vector<TPoint>& points);
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor c);

    void TextOut(int x, int y, const std::string& text);
    void TextRect(const TRect& clip, int x, int y, const std::string& text);
    int TextWidth(const std::string& text) const;
    int TextHeight(const std::string& text) const;
    // Formatted text in rect, with the brush's background: lines break at line feeds and,
    // with DT_WORDBREAK, between words (a word wider than the rectangle keeps a line of its
    // own); each line is aligned by DT_LEFT, DT_CENTER or DT_RIGHT; "&" underlines the next
    // character and "&&" shows one "&" unless DT_NOPREFIX; tabs stop every eight characters with
    // DT_EXPANDTABS. Drawing is clipped to rect unless DT_NOCLIP. DT_CALCRECT draws nothing and
    // sets rect's right and bottom to the extent of the text instead. Returns the text height.
    int DrawText(const std::string& text, TRect& rect, unsigned flags);

    // Copies src's rectangle to dest, stretching when the sizes differ.
    void CopyRect(const TRect& dest, const TBitmap& src, const TRect& srcRect);
    // Draws the whole bitmap at x,y; a Transparent bitmap leaves its transparent colour out.
    void Draw(int x, int y, const TBitmap& src);
    void StretchDraw(const TRect& dest, const TBitmap& src);

    // Limits every later operation to r (intersected with the bitmap); ClearClip lifts it.
    void SetClipRect(const TRect& r) {
        clip_ = r;
        hasClip_ = true;
    }
    void ClearClip() { hasClip_ = false; }
    bool HasClip() const { return hasClip_; }
    const TRect& ClipRect() const { return clip_; }

private:
    // r limited to the bitmap and the clip rectangle.
    TRect Visible(const TRect& r) const;

    TBitmap& target_;
    TPoint penPos_;
    TRect clip_;
    bool hasClip_ = false;
};

class TBitmap {
public:
    TBitmap();
    TBitmap(int width, int height);
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);
    ~TBitmap();

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    // Resizes, keeping the pixels that still fit; new pixels are white.
    void SetSize(int width, int height);
    void SetWidth(int w) { SetSize(w, height_); }
    void SetHeight(int h) { SetSize(width_, h); }
    void Clear() { SetSize(0, 0); }
    void Assign(const TBitmap& other) { *this = other; }

    TPixelFormat PixelFormat = TPixelFormat::pfDevice;  // how it was stored when loaded
    bool Transparent = false;
    // clNone picks the bottom-left pixel at drawing time, as the class library's automatic mode.
    TColor TransparentColor = clNone;
    TColor EffectiveTransparentColor() const;

    std::uint32_t* ScanLine(int y) { return pixels_.data() + std::size_t(y) * std::size_t(width_); }
    const std::uint32_t* ScanLine(int y) const {
        return pixels_.data() + std::size_t(y) * std::size_t(width_);
    }
    std::vector<std::uint32_t>& Pixels() { return pixels_; }
    const std::vector<std::uint32_t>& Pixels() const { return pixels_; }

    TCanvas& Canvas() { return *canvas_; }

    // BMP file image from the stream's position; the stream ends up just past the image.
    void LoadFromStream(TStream& stream);
    // A BMP file image at data; returns the bytes it occupies (its size field).
    std::size_t LoadFromBytes(const std::uint8_t* data, std::size_t size);
    // Writes a BMP file image in the bitmap's PixelFormat where it can (8 bits and less only if
    // the colours fit), else 24 bits.
    void SaveToStream(TStream& stream) const;
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
    std::unique_ptr<TCanvas> canvas_;
};

// Converts between TColor (0x00BBGGRR) and pixel values (0x00RRGGBB).
inline std::uint32_t ColorToPixel(TColor c) {
    TColor v = ColorToRGB(c);
    return std::uint32_t(GetRValue(v)) << 16 | std::uint32_t(GetGValue(v)) << 8 | GetBValue(v);
}
inline TColor PixelToColor(std::uint32_t p) {
    return RGB(int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF));
}

// A set of rectangles (a window region); a point is inside when any rectangle holds it.
class TRegion {
public:
    TRegion() = default;
    explicit TRegion(const TRect& r);
    // From a region data block: 32-byte header then 16-byte rectangles. Throws
    // EInvalidGraphic on a malformed block.
    static TRegion FromRegionData(const std::uint8_t* data, std::size_t size);

    bool IsEmpty() const { return rects_.empty(); }
    bool Contains(int x, int y) const;
    void Union(const TRegion& other);
    void Offset(int dx, int dy);
    TRect BoundingRect() const;
    const std::vector<TRect>& Rects() const { return rects_; }

private:
    std::vector<TRect> rects_;
};

// The JPEG picture: decoded through libjpeg into a bitmap. With a size to cover, the picture
// is decoded at the smallest of libjpeg's scales (1/8 .. 8/8) that still covers it, which is
// all a picture shown at that size needs, and far quicker for a large one.
class TJPEGImage {
public:
    // EInvalidGraphic / EFOpenError on failure.
    void LoadFromFile(const std::string& path, int coverWidth = 0, int coverHeight = 0);
    void LoadFromMemory(const std::uint8_t* data, std::size_t size, int coverWidth = 0,
                        int coverHeight = 0);
    const TBitmap& Bitmap() const { return bitmap_; }

private:
    TBitmap bitmap_;
};

// A picture as a TImage shows it: a BMP or JPEG file, chosen by content; a JPEG file is
// decoded at the scale that covers coverWidth x coverHeight when those are given.
void LoadPictureFile(const std::string& path, TBitmap& out, int coverWidth = 0,
                     int coverHeight = 0);

}  // namespace rt
