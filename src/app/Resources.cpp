#include "app/Resources.h"

#include <cstddef>

extern const unsigned char kNoFrameJpeg[];
extern const std::size_t kNoFrameJpeg_size;

namespace app {

rt::TBitmap PlaceholderPicture() {
    rt::TJPEGImage jpeg;
    jpeg.LoadFromMemory(kNoFrameJpeg, kNoFrameJpeg_size);
    return jpeg.Bitmap();
}

rt::TBitmap MakeGlyph(GlyphKind kind) {
    constexpr rt::TColor kKey = rt::clFuchsia;  // transparent
    rt::TBitmap g(16, 16);
    rt::TCanvas& c = g.Canvas();
    c.Brush.Color = kKey;
    c.FillRect(rt::Rect(0, 0, 16, 16));
    switch (kind) {
        case GlyphKind::MarkStart:
        case GlyphKind::MarkEnd: {
            // A bracket with a triangle pointing into the marked stretch.
            bool start = kind == GlyphKind::MarkStart;
            int bx = start ? 3 : 12;
            c.Brush.Color = rt::clNavy;
            c.FillRect(rt::Rect(bx, 2, bx + 2, 14));
            c.FillRect(start ? rt::Rect(bx, 2, bx + 5, 4) : rt::Rect(bx - 3, 2, bx + 2, 4));
            c.FillRect(start ? rt::Rect(bx, 12, bx + 5, 14) : rt::Rect(bx - 3, 12, bx + 2, 14));
            c.Pen.Color = rt::clGreen;
            for (int i = 0; i < 4; ++i) {
                int x = start ? 7 + i : 8 - i;
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
    g.Transparent = true;
    g.TransparentColor = kKey;
    return g;
}

}  // namespace app
