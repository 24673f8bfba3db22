#include "skin/form/skFrameStrips.h"

#include <algorithm>
#include <cstring>

#include "skin/data/skEffects.h"
#include "skin/data/skSkinData.h"
#include "skin/form/skFrameObjects.h"

namespace sk {

using rt::Rect;
using rt::TBitmap;
using rt::TPoint;
using rt::TRect;

namespace {

// Source columns [sx, sx + m) limited to the picture; false when nothing is left.
bool ClipSpan(int& s, int& m, int limit) {
    const int a = std::max(s, 0), b = std::min(s + m, limit);
    if (b <= a) return false;
    s = a;
    m = b - a;
    return true;
}

// Fills columns [x0, x1) of `rows` rows from dstY with tiles of the source columns
// [sx, sx + m) of rows from sy, the first tile starting at x0. Each row is filled by copying
// one period and then doubling what is already there.
void TileH(TBitmap& dst, int x0, int x1, int dstY, const TBitmap& src, int sx, int m, int sy,
           int rows) {
    if (!ClipSpan(sx, m, src.Width())) return;
    const int start = std::max(x0, 0), end = std::min(x1, dst.Width());
    if (end <= start) return;
    const int len = end - start, phase = (start - x0) % m;
    for (int r = 0; r < rows; ++r) {
        const int dy = dstY + r, syr = sy + r;
        if (dy < 0 || dy >= dst.Height() || syr < 0 || syr >= src.Height()) continue;
        std::uint32_t* d = dst.ScanLine(dy) + start;
        const std::uint32_t* s = src.ScanLine(syr) + sx;
        const int first = std::min(m - phase, len);
        std::memcpy(d, s + phase, std::size_t(first) * 4);
        if (first == len) continue;
        std::uint32_t* base = d + first;
        const int rest = len - first;
        int filled = std::min(m, rest);
        std::memcpy(base, s, std::size_t(filled) * 4);
        while (filled < rest) {
            const int n = std::min(filled, rest - filled);
            std::memcpy(base + filled, base, std::size_t(n) * 4);
            filled += n;
        }
    }
}

// Fills rows [y0, y1) of columns [dstX, dstX + cols) with the source rows [sy, sy + m) of
// columns from sx, repeated downward from y0.
void TileV(TBitmap& dst, int y0, int y1, int dstX, const TBitmap& src, int sy, int m, int sx,
           int cols) {
    if (!ClipSpan(sy, m, src.Height())) return;
    int a = std::max(dstX, 0), b = std::min(dstX + cols, dst.Width());
    a = std::max(a, dstX - sx);
    b = std::min(b, dstX + src.Width() - sx);
    if (b <= a) return;
    const int start = std::max(y0, 0), end = std::min(y1, dst.Height());
    for (int y = start; y < end; ++y) {
        const int srow = sy + (y - y0) % m;
        std::memcpy(dst.ScanLine(y) + a, src.ScanLine(srow) + sx + (a - dstX),
                    std::size_t(b - a) * 4);
    }
}

// Nearest-neighbour stretch of source columns [sx, sx + sw) over [x0, x1), each target column
// taking the source column under its centre.
void StretchH(TBitmap& dst, int x0, int x1, int dstY, const TBitmap& src, int sx, int sw, int sy,
              int rows) {
    const int dw = x1 - x0;
    if (dw <= 0 || !ClipSpan(sx, sw, src.Width())) return;
    std::vector<int> column;
    column.reserve(std::size_t(dw));
    for (int i = 0; i < dw; ++i)
        column.push_back(sx + int((2 * std::int64_t(i) + 1) * sw / (2 * std::int64_t(dw))));
    const int start = std::max(x0, 0), end = std::min(x1, dst.Width());
    for (int r = 0; r < rows; ++r) {
        const int dy = dstY + r, syr = sy + r;
        if (dy < 0 || dy >= dst.Height() || syr < 0 || syr >= src.Height()) continue;
        std::uint32_t* d = dst.ScanLine(dy);
        const std::uint32_t* s = src.ScanLine(syr);
        for (int x = start; x < end; ++x) d[x] = s[column[std::size_t(x - x0)]];
    }
}

void StretchV(TBitmap& dst, int y0, int y1, int dstX, const TBitmap& src, int sy, int sh, int sx,
              int cols) {
    const int dh = y1 - y0;
    if (dh <= 0 || !ClipSpan(sy, sh, src.Height())) return;
    int a = std::max(dstX, 0), b = std::min(dstX + cols, dst.Width());
    a = std::max(a, dstX - sx);
    b = std::min(b, dstX + src.Width() - sx);
    if (b <= a) return;
    const int start = std::max(y0, 0), end = std::min(y1, dst.Height());
    for (int y = start; y < end; ++y) {
        const int srow = sy + int((2 * std::int64_t(y - y0) + 1) * sh / (2 * std::int64_t(dh)));
        std::memcpy(dst.ScanLine(y) + a, src.ScanLine(srow) + sx + (a - dstX),
                    std::size_t(b - a) * 4);
    }
}

// One-to-one copy of the source rectangle to (x, y), clipped to both bitmaps.
void Blit(TBitmap& dst, int x, int y, const TBitmap& src, const TRect& s) {
    if (s.IsEmpty()) return;
    dst.Canvas().CopyRect(rt::Bounds(x, y, s.Width(), s.Height()), src, s);
}

// Sizes a strip, keeping its buffer when the size stays; false (and empty) for no size.
bool Prepare(TBitmap& strip, int w, int h) {
    if (w <= 0 || h <= 0) {
        strip.Clear();
        return false;
    }
    if (strip.Width() != w || strip.Height() != h) {
        // Every pixel is written again: nothing of the old size needs to survive.
        strip.Clear();
        strip.SetSize(w, h);
    }
    strip.Canvas().ClearClip();
    return true;
}

}  // namespace

bool TskFrameStrips::BlackAt(int x, int y) const {
    auto black = [&](const TBitmap& b, TPoint at) {
        const int lx = x - at.X, ly = y - at.Y;
        if (lx < 0 || ly < 0 || lx >= b.Width() || ly >= b.Height()) return false;
        return (b.ScanLine(ly)[lx] & 0xFFFFFF) == 0;
    };
    return black(Top, TopAt) || black(Bottom, BottomAt) || black(Left, LeftAt) ||
           black(Right, RightAt);
}

void TskFrameStrips::Clear() {
    Top.Clear();
    Bottom.Clear();
    Left.Clear();
    Right.Clear();
}

// Top and bottom strips run the full window width; the left and right strips fill the height
// between them:
//
//        0    LT.x            RT.x   pw           0    LT.x                  RT.x+dx    W
//        +-----+----------------+-----+           +-----+--------//----------+-----+
//   Top  |left |  middle (tiled |right|    ->     |left | m m m m m m m m m m|right|
//        |     |  from x = 0)   |     |           |     |                    |     |
//        +-----+----------------+-----+           +-----+--------//----------+-----+
//
// The middle repeats from the strip's left edge and the two ends are copied over it; with
// the stretch key it is stretched between the moved points instead. Left and Right work the
// same downward: the rows between the top and bottom corner points repeat from the strip's top,
// the fixed rows above and below them are copied over it.
void BuildStrips(const TBitmap& pic, const TskStripSource& s, int width, int height, int dx, int dy,
                 TskFrameStrips& out) {
    const int pw = pic.Width(), ph = pic.Height();
    const TRect& c = s.Client;
    const int ct = c.Top, cb = ph - c.Bottom, cl = c.Left, cr = pw - c.Right;
    const int midH = height - ct - cb;

    const int topMid = s.RightTop.X - s.LeftTop.X;
    if (topMid > 0 && Prepare(out.Top, width, ct)) {
        const int rightAt = s.RightTop.X + dx;
        if (s.TopStretch)
            StretchH(out.Top, s.LeftTop.X, rightAt, 0, pic, s.LeftTop.X, topMid, 0, ct);
        else
            TileH(out.Top, 0, width, 0, pic, s.LeftTop.X, topMid, 0, ct);
        Blit(out.Top, 0, 0, pic, Rect(0, 0, s.LeftTop.X, ct));
        Blit(out.Top, rightAt, 0, pic, Rect(s.RightTop.X, 0, pw, ct));
    } else {
        out.Top.Clear();
    }
    out.TopAt = TPoint{0, 0};

    const int bottomMid = s.RightBottom.X - s.LeftBottom.X;
    if (bottomMid > 0 && Prepare(out.Bottom, width, cb)) {
        const int rightAt = s.RightBottom.X + dx;
        if (s.BottomStretch)
            StretchH(out.Bottom, s.LeftBottom.X, rightAt, 0, pic, s.LeftBottom.X, bottomMid,
                     c.Bottom, cb);
        else
            TileH(out.Bottom, 0, width, 0, pic, s.LeftBottom.X, bottomMid, c.Bottom, cb);
        Blit(out.Bottom, 0, 0, pic, Rect(0, c.Bottom, s.LeftBottom.X, ph));
        Blit(out.Bottom, rightAt, 0, pic, Rect(s.RightBottom.X, c.Bottom, pw, ph));
    } else {
        out.Bottom.Clear();
    }
    out.BottomAt = TPoint{0, c.Bottom + dy};

    auto side = [&](TBitmap& strip, int srcX, int w, TPoint top, TPoint bottom, bool stretch) {
        const int mid = bottom.Y - top.Y;
        if (mid <= 0 || !Prepare(strip, w, midH)) {
            strip.Clear();
            return;
        }
        const int upper = top.Y - ct, lower = c.Bottom - bottom.Y;
        if (stretch)
            StretchV(strip, upper, midH - lower, 0, pic, top.Y, mid, srcX, w);
        else
            TileV(strip, 0, midH, 0, pic, top.Y, mid, srcX, w);
        if (upper > 0) Blit(strip, 0, 0, pic, Rect(srcX, ct, srcX + w, top.Y));
        if (lower > 0) Blit(strip, 0, midH - lower, pic, Rect(srcX, bottom.Y, srcX + w, c.Bottom));
    };
    side(out.Left, 0, cl, s.LeftTop, s.LeftBottom, s.LeftStretch);
    out.LeftAt = TPoint{0, ct};
    side(out.Right, c.Right, cr, s.RightTop, s.RightBottom, s.RightStretch);
    out.RightAt = TPoint{c.Right + dx, ct};
}

void BuildBorderStrips(const TBitmap& picture, const TskFrameSkin& skin, const TskFrameGeometry& g,
                       TskFrameStrips& out) {
    TskStripSource s{skin.LeftTop,      skin.RightTop,   skin.LeftBottom,
                     skin.RightBottom,  skin.ClientRect, skin.LeftStretch,
                     skin.RightStretch, skin.TopStretch, skin.BottomStretch};
    BuildStrips(picture, s, g.Width, g.Height, g.DX, g.DY, out);
}

void BuildMaskStrips(const TBitmap& mask, const TskFrameSkin& skin, const TskFrameGeometry& g,
                     TskFrameStrips& out) {
    TskStripSource s{skin.LeftTop, skin.RightTop, skin.LeftBottom, skin.RightBottom,
                     skin.MaskRectArea};
    BuildStrips(mask, s, g.Width, g.Height, g.DX, g.DY, out);
}

namespace {

bool Black(std::uint32_t pixel) { return (pixel & 0xFFFFFF) == 0; }

// Appends one rectangle per run of black pixels of each row of the strip, placed at `at`. A
// row equal to the one above it makes that row's rectangles one pixel taller instead: the
// tiled middles of the strips repeat rows, and the window shape stays the same.
void AppendBlackRuns(std::vector<TRect>& rects, const TBitmap& b, TPoint at) {
    const int w = b.Width();
    std::size_t previous = rects.size();
    for (int y = 0; y < b.Height(); ++y) {
        const std::uint32_t* row = b.ScanLine(y);
        if (y > 0 && std::memcmp(row, b.ScanLine(y - 1), std::size_t(w) * 4) == 0) {
            for (std::size_t i = previous; i < rects.size(); ++i) ++rects[i].Bottom;
            continue;
        }
        previous = rects.size();
        int x = 0;
        while (x < w) {
            while (x < w && !Black(row[x])) ++x;
            if (x == w) break;
            const int start = x;
            // Black runs are long: test eight pixels at a time while all of them are black.
            while (x + 8 <= w) {
                std::uint32_t any = 0;
                for (int k = 0; k < 8; ++k) any |= row[x + k];
                if (!Black(any)) break;
                x += 8;
            }
            while (x < w && Black(row[x])) ++x;
            rects.push_back(Rect(start + at.X, y + at.Y, x + at.X, y + at.Y + 1));
        }
    }
}

}  // namespace

std::vector<std::uint8_t> FrameRegionData(const TskFrameStrips& mask, const TRect& maskArea,
                                          int width, int height) {
    std::vector<TRect> rects;
    if (!maskArea.IsEmpty()) rects.push_back(maskArea);
    AppendBlackRuns(rects, mask.Top, mask.TopAt);
    AppendBlackRuns(rects, mask.Bottom, mask.BottomAt);
    AppendBlackRuns(rects, mask.Left, mask.LeftAt);
    AppendBlackRuns(rects, mask.Right, mask.RightAt);
    std::vector<std::uint8_t> block(32 + 16 * rects.size());
    std::size_t o = 0;
    auto put = [&](std::int32_t v) {
        std::memcpy(block.data() + o, &v, 4);
        o += 4;
    };
    for (std::int32_t v : {32, 1, std::int32_t(rects.size()), 0, 0, 0, width, height}) put(v);
    for (const TRect& r : rects)
        for (std::int32_t v : {r.Left, r.Top, r.Right, r.Bottom}) put(v);
    return block;
}

void DrawFrameObject(TskActiveSkinObject& o, TskFrameStrips& strips, const TRect& sizedClientBox,
                     bool upDate) {
    if (o.ObjectRect.Bottom <= sizedClientBox.Top) {
        o.Draw(strips.Top.Canvas(), upDate);
        return;
    }
    // Drawn into the bottom strip's own coordinates for the time of the call.
    const TRect keep = o.ObjectRect;
    o.ObjectRect.Top -= sizedClientBox.Bottom;
    o.ObjectRect.Bottom -= sizedClientBox.Bottom;
    o.Draw(strips.Bottom.Canvas(), upDate);
    o.ObjectRect = keep;
}

void DrawFrameObjects(const std::vector<std::unique_ptr<TskActiveSkinObject>>& objects,
                      TskFrameStrips& strips, const TRect& sizedClientBox) {
    for (const auto& o : objects)
        if (o->Visible) DrawFrameObject(*o, strips, sizedClientBox, false);
}

void ApplyInactiveEffect(TskFrameStrips& strips, TskInactiveEffect effect) {
    for (TBitmap* b : {&strips.Top, &strips.Bottom, &strips.Left, &strips.Right}) {
        if (b->Empty()) continue;
        TskEffectBmp e(*b);
        ApplyInactiveEffect(e, effect);
        e.AssignTo(*b);
    }
}

void DrawStrips(rt::TCanvas& window, const TskFrameStrips& s) {
    window.Draw(s.TopAt.X, s.TopAt.Y, s.Top);
    window.Draw(s.LeftAt.X, s.LeftAt.Y, s.Left);
    window.Draw(s.RightAt.X, s.RightAt.Y, s.Right);
    window.Draw(s.BottomAt.X, s.BottomAt.Y, s.Bottom);
}

void TileArea(rt::TCanvas& canvas, const TRect& area, const TBitmap& picture, const TRect& piece) {
    if (area.IsEmpty() || piece.IsEmpty()) return;
    // One band of tiles the area's width, then the band repeated downward.
    TBitmap band(area.Width(), piece.Height());
    TileH(band, 0, band.Width(), 0, picture, piece.Left, piece.Width(), piece.Top, piece.Height());
    for (int y = area.Top; y < area.Bottom; y += piece.Height()) {
        const int h = std::min(piece.Height(), area.Bottom - y);
        canvas.CopyRect(Rect(area.Left, y, area.Right, y + h), band, Rect(0, 0, band.Width(), h));
    }
}

void PaintClientBackground(rt::TCanvas& canvas, const TRect& area, const TskSkinData* skin) {
    const TBitmap* picture = nullptr;
    TRect piece;
    if (skin != nullptr && !skin->Empty()) {
        const int index = skin->BackPictureIndex;
        if (index == -1) {
            picture = &skin->Skin().Picture;
            piece = skin->Frame.Client;
        } else if (index >= 0 && std::size_t(index) < skin->Skin().ActivePictures.size() &&
                   skin->Skin().ActivePictures[std::size_t(index)] != nullptr) {
            picture = skin->Skin().ActivePictures[std::size_t(index)].get();
            piece = Rect(0, 0, picture->Width(), picture->Height());
        }
        if (picture != nullptr) {
            piece.Left = std::max(piece.Left, 0);
            piece.Top = std::max(piece.Top, 0);
            piece.Right = std::min(piece.Right, picture->Width());
            piece.Bottom = std::min(piece.Bottom, picture->Height());
        }
    }
    if (picture == nullptr || piece.IsEmpty()) {
        canvas.Brush.Style = rt::TBrushStyle::bsSolid;
        canvas.Brush.Color = rt::clBtnFace;
        canvas.FillRect(area);
        return;
    }
    TileArea(canvas, area, *picture, piece);
}

}  // namespace sk
