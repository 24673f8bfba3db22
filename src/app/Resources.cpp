#include "app/Resources.h"

#include <cstddef>
#include <cstdint>

#include "runtime/Desktop.h"

extern const unsigned char kNoFrameJpeg[];
extern const std::size_t kNoFrameJpeg_size;

namespace app {

rt::TBitmap PlaceholderPicture() {
    rt::TJPEGImage jpeg;
    jpeg.LoadFromMemory(kNoFrameJpeg, kNoFrameJpeg_size);
    return jpeg.Bitmap();
}

namespace {

constexpr rt::TColor kKey = rt::clFuchsia;  // transparent
constexpr int kGlyphSize = 16;

rt::TBitmap PaintGlyph(GlyphKind kind) {
    rt::TBitmap g(kGlyphSize, kGlyphSize);
    rt::TCanvas& c = g.Canvas();
    c.Brush.Color = kKey;
    c.FillRect(rt::Rect(0, 0, 16, 16));
    switch (kind) {
        case GlyphKind::MarkStart:
        case GlyphKind::MarkEnd: {
            // A bracket with a triangle pointing into the marked stretch, both kept to the
            // right of the cell so that the caption follows at the same distance.
            bool start = kind == GlyphKind::MarkStart;
            int bx = start ? 6 : 12;
            c.Brush.Color = rt::clNavy;
            c.FillRect(rt::Rect(bx, 2, bx + 2, 14));
            c.FillRect(start ? rt::Rect(bx, 2, bx + 5, 4) : rt::Rect(bx - 3, 2, bx + 2, 4));
            c.FillRect(start ? rt::Rect(bx, 12, bx + 5, 14) : rt::Rect(bx - 3, 12, bx + 2, 14));
            c.Pen.Color = rt::clGreen;
            for (int i = 0; i < 4; ++i) {
                int x = start ? bx + 4 + i : bx - 4 - i;
                c.MoveTo(x, 4 + i);
                c.LineTo(x, 12 - i);
            }
            break;
        }
        case GlyphKind::Cut: {
            // Scissors: two crossing blades over two round handles.
            c.Pen.Color = rt::clBlack;
            c.MoveTo(4, 1);
            c.LineTo(10, 10);
            c.MoveTo(11, 1);
            c.LineTo(5, 10);
            c.Brush.Color = rt::clRed;
            c.Pen.Color = rt::clMaroon;
            c.Ellipse(rt::Rect(1, 9, 7, 15));
            c.Ellipse(rt::Rect(9, 9, 15, 15));
            c.Brush.Color = kKey;
            c.FillRect(rt::Rect(3, 11, 5, 13));
            c.FillRect(rt::Rect(11, 11, 13, 13));
            break;
        }
    }
    return g;
}

}  // namespace

rt::TBitmap ProgramIcon() {
    rt::TBitmap icon;
    for (const TProgramIconImage& image : ProgramIconImages())
        if (image.size == 32 && rt::LoadPngBitmap({image.data, image.bytes}, icon, kKey))
            return icon;
    // The pictures are made by the build with the program: a failure here is a broken build.
    throw rt::EInvalidGraphic("The program's icon is missing.");
}

void InstallProgramIcon() {
    std::vector<rt::TImageBytes> pngs;
    for (const TProgramIconImage& image : ProgramIconImages())
        pngs.push_back({image.data, image.bytes});
    rt::SetProgramIcon(pngs);
}

rt::TBitmap MakeGlyph(GlyphKind kind) {
    const rt::TBitmap glyph = PaintGlyph(kind);
    rt::TBitmap strip(kGlyphSize * kGlyphImages, kGlyphSize);
    rt::TCanvas& c = strip.Canvas();
    c.Brush.Color = kKey;
    c.FillRect(rt::Rect(0, 0, strip.Width(), strip.Height()));
    c.Draw(0, 0, glyph);
    // The disabled image: the shape engraved, a highlight one pixel down and right under a
    // shadow, as disabled pictures on button faces look.
    const std::uint32_t key = rt::ColorToPixel(kKey);
    const std::uint32_t highlight = rt::ColorToPixel(rt::clBtnHighlight);
    const std::uint32_t shadow = rt::ColorToPixel(rt::clBtnShadow);
    for (int pass = 0; pass < 2; ++pass)
        for (int y = 0; y < kGlyphSize; ++y)
            for (int x = 0; x < kGlyphSize; ++x) {
                if ((glyph.ScanLine(y)[x] & 0xFFFFFF) == key) continue;
                const int d = pass == 0 ? 1 : 0;
                if (x + d >= kGlyphSize || y + d >= kGlyphSize) continue;
                strip.ScanLine(y + d)[kGlyphSize + x + d] = pass == 0 ? highlight : shadow;
            }
    strip.Transparent = true;
    strip.TransparentColor = kKey;
    return strip;
}

}  // namespace app
