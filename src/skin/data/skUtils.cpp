#include "skin/data/skUtils.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "runtime/Controls.h"
#include "skin/data/skEffects.h"

namespace sk {

using rt::Rect;
using rt::TBitmap;
using rt::TPoint;
using rt::TRect;

namespace {

// One span of a tiling direction: tiles of `step` pixels from `from`, the last one cut at
// `cut`, never past `limit` (the target's size: tiles beyond it would not show).
struct Span {
    std::int64_t from, cut, step, limit;
};

// Calls copy(dstStart, dstEnd, srcLength) for every tile of the span that has pixels.
template <typename F>
void ForEachTile(const Span& s, F copy) {
    if (s.step <= 0) return;
    std::int64_t i = s.from < 0 ? std::max<std::int64_t>(0, -s.from / s.step - 1) : 0;
    for (;; ++i) {
        const std::int64_t start = s.from + i * s.step;
        if (start >= s.cut || start >= s.limit) break;
        const std::int64_t end = std::min(start + s.step, s.cut);
        if (end > 0) copy(int(start), int(end), int(end - start));
    }
}

void Copy(TBitmap& target, const TRect& dst, const TBitmap& src, const TRect& srcRect) {
    target.Canvas().CopyRect(dst, src, srcRect);
}

// Tiles source columns srcLeft.. (step wide) of rows srcTop..srcBottom along the target's
// columns from..cut, into target rows dstTop..dstBottom.
void TileH(TBitmap& target, int from, int cut, int dstTop, int dstBottom, const TBitmap& src,
           int srcLeft, int step, int srcTop, int srcBottom) {
    ForEachTile(Span{from, cut, step, target.Width()}, [&](int l, int r, int n) {
        Copy(target, Rect(l, dstTop, r, dstBottom), src,
             Rect(srcLeft, srcTop, srcLeft + n, srcBottom));
    });
}

// The same downward: source rows srcTop.. (step high) of columns srcLeft..srcRight.
void TileV(TBitmap& target, int from, int cut, int dstLeft, int dstRight, const TBitmap& src,
           int srcTop, int step, int srcLeft, int srcRight) {
    ForEachTile(Span{from, cut, step, target.Height()}, [&](int t, int b, int n) {
        Copy(target, Rect(dstLeft, t, dstRight, b), src,
             Rect(srcLeft, srcTop, srcRight, srcTop + n));
    });
}

// Fresh white target of the given size; nothing of an earlier image stays behind.
void Reset(TBitmap& target, int width, int height) {
    target.Clear();
    target.Canvas().ClearClip();
    target.SetSize(std::max(width, 0), std::max(height, 0));
}

void HSkinImage(int l, int r, TBitmap& target, int width, const TRect& piece,
                const TBitmap& picture, bool withRight) {
    const int h = piece.Height();
    Reset(target, width, h);
    if (target.Empty() || picture.Empty()) return;
    if (l > 0)
        Copy(target, Rect(0, 0, l, h), picture,
             Rect(piece.Left, piece.Top, piece.Left + l, piece.Bottom));
    if (withRight && r > 0)
        Copy(target, Rect(width - r, 0, width, h), picture,
             Rect(piece.Right - r, piece.Top, piece.Right, piece.Bottom));
    // A middle of no width (or less) still tiles its first column.
    const int m = std::max(piece.Width() - l - r, 1);
    TileH(target, l, withRight ? width - r : width, 0, h, picture, piece.Left + l, m, piece.Top,
          piece.Bottom);
}

// Client tiles: the source client rectangle repeated over dst from its top-left, cut at its
// right and bottom.
void FillClient(TBitmap& target, const TRect& dst, const TBitmap& picture, const TRect& src) {
    const Span rows{dst.Top, dst.Bottom, src.Height(), target.Height()};
    const Span cols{dst.Left, dst.Right, src.Width(), target.Width()};
    ForEachTile(rows, [&](int t, int b, int h) {
        ForEachTile(cols, [&](int l, int r, int w) {
            Copy(target, Rect(l, t, r, b), picture,
                 Rect(src.Left, src.Top, src.Left + w, src.Top + h));
        });
    });
}

}  // namespace

void CreateHSkinImage(int leftWidth, int rightWidth, TBitmap& target, int width, const TRect& piece,
                      const TBitmap& picture) {
    HSkinImage(leftWidth, rightWidth, target, width, piece, picture, true);
}

void CreateHSkinImage2(int leftWidth, int rightWidth, TBitmap& target, int width,
                       const TRect& piece, const TBitmap& picture) {
    HSkinImage(leftWidth, rightWidth, target, width, piece, picture, false);
}

void CreateVSkinImage(int topHeight, int bottomHeight, TBitmap& target, int height,
                      const TRect& piece, const TBitmap& picture) {
    const int w = piece.Width();
    const int t = topHeight, b = bottomHeight;
    Reset(target, w, height);
    if (target.Empty() || picture.Empty()) return;
    if (t > 0)
        Copy(target, Rect(0, 0, w, t), picture,
             Rect(piece.Left, piece.Top, piece.Right, piece.Top + t));
    if (b > 0)
        Copy(target, Rect(0, height - b, w, height), picture,
             Rect(piece.Left, piece.Bottom - b, piece.Right, piece.Bottom));
    const int m = piece.Height() - t - b;
    if (m > 0)
        TileV(target, t, height - b, 0, w, picture, piece.Top + t, m, piece.Left, piece.Right);
}

// The four corner points split the piece into fixed corners and bands that repeat:
//
//        LT.x      RT.x                   LT'.x              RT'.x
//   +------+--------+------+        +------+--------//--------+------+
//   |  TL  |  top   |  TR  |        |  TL  | top top top top  |  TR  |
//   +--+---+--------+---+--+ CR.top +--+---+--------//--------+---+--+
//   |  |            |   |  | LT.y   |  |                          |   |
//   |L |   client   | R |  |  ...   |L |  client tiled (fill)     | R |  left/right bands
//   |  |            |   |  | LB.y   |  |                          |   |  repeat downwards
//   +--+---+--------+---+--+ CR.bot +--+---+--------//--------+---+--+
//   |  BL  | bottom |  BR  |        |  BL  | bottom  bottom   |  BR  |
//   +------+--------+------+        +------+--------//--------+------+
//
// Bands are tiled first, cut at the next corner; the eight fixed pieces go on top, then the
// client tiles. A band of no size (or less) is not tiled: its step would be zero.
void CreateSkinImage(TPoint leftTop, TPoint rightTop, TPoint leftBottom, TPoint rightBottom,
                     const TRect& client, const TRect& piece, const TBitmap& picture,
                     bool fillClient, TBitmap& target, int width, int height, TPoint newLeftTop,
                     TPoint newRightTop, TPoint newLeftBottom, TPoint newRightBottom,
                     const TRect& newClient) {
    Reset(target, width, height);
    if (rightBottom.X == leftTop.X || rightBottom.Y == leftTop.Y || picture.Empty()) return;
    const int sx = piece.Left, sy = piece.Top, sw = piece.Width(), sh = piece.Height();
    const int w = width, h = height;
    const TRect& c = client;
    const TRect& nc = newClient;

    TileH(target, newLeftTop.X, newRightTop.X, 0, nc.Top, picture, sx + leftTop.X,
          rightTop.X - leftTop.X, sy, sy + c.Top);
    TileH(target, newLeftBottom.X, newRightBottom.X, nc.Bottom, h, picture, sx + leftBottom.X,
          rightBottom.X - leftBottom.X, sy + c.Bottom, sy + sh);
    // The left band's source width is the target client's left, as the skins expect.
    TileV(target, newLeftTop.Y, newLeftBottom.Y, 0, nc.Left, picture, sy + leftTop.Y,
          leftBottom.Y - leftTop.Y, sx, sx + nc.Left);
    TileV(target, newRightTop.Y, newRightBottom.Y, nc.Right, w, picture, sy + rightTop.Y,
          rightBottom.Y - rightTop.Y, sx + c.Right, sx + sw);

    auto fixed = [&](TRect src, TRect dst) {
        Copy(target, dst, picture, rt::OffsetRect(src, sx, sy));
    };
    fixed(Rect(0, 0, leftTop.X, c.Top), Rect(0, 0, newLeftTop.X, nc.Top));
    fixed(Rect(0, c.Top, c.Left, leftTop.Y), Rect(0, nc.Top, nc.Left, newLeftTop.Y));
    fixed(Rect(rightTop.X, 0, sw, c.Top), Rect(newRightTop.X, 0, w, nc.Top));
    fixed(Rect(c.Right, c.Top, sw, rightTop.Y), Rect(nc.Right, nc.Top, w, newRightTop.Y));
    fixed(Rect(0, leftBottom.Y, c.Left, sh), Rect(0, newLeftBottom.Y, nc.Left, h));
    fixed(Rect(c.Left, c.Bottom, leftBottom.X, sh), Rect(nc.Left, nc.Bottom, newLeftBottom.X, h));
    fixed(Rect(rightBottom.X, c.Bottom, sw, sh), Rect(newRightBottom.X, nc.Bottom, w, h));
    fixed(Rect(c.Right, rightBottom.Y, sw, c.Bottom),
          Rect(nc.Right, newRightBottom.Y, w, nc.Bottom));

    if (fillClient) FillClient(target, nc, picture, rt::OffsetRect(c, sx, sy));
}

void CreateSkinImage2(TPoint leftTop, TPoint rightTop, TPoint leftBottom, TPoint rightBottom,
                      const TRect& client, const TRect& piece, const TBitmap& picture,
                      bool fillClient, TBitmap& target, int width, int height, TPoint newLeftTop,
                      TPoint /*newRightTop*/, TPoint newLeftBottom, TPoint /*newRightBottom*/,
                      const TRect& newClient) {
    Reset(target, width, height);
    if (rightBottom.X == leftTop.X || rightBottom.Y == leftTop.Y || picture.Empty()) return;
    const int sx = piece.Left, sy = piece.Top, sh = piece.Height();
    const int w = width, h = height;
    const TRect& c = client;
    const TRect& nc = newClient;

    TileH(target, newLeftTop.X, w, 0, nc.Top, picture, sx + leftTop.X, rightTop.X - leftTop.X, sy,
          sy + c.Top);
    TileH(target, newLeftBottom.X, w, nc.Bottom, h, picture, sx + leftBottom.X,
          rightBottom.X - leftBottom.X, sy + c.Bottom, sy + sh);
    TileV(target, newLeftTop.Y, newLeftBottom.Y, 0, nc.Left, picture, sy + leftTop.Y,
          leftBottom.Y - leftTop.Y, sx, sx + nc.Left);

    auto fixed = [&](TRect src, TRect dst) {
        Copy(target, dst, picture, rt::OffsetRect(src, sx, sy));
    };
    fixed(Rect(0, 0, leftTop.X, c.Top), Rect(0, 0, newLeftTop.X, nc.Top));
    fixed(Rect(0, c.Top, c.Left, leftTop.Y), Rect(0, nc.Top, nc.Left, newLeftTop.Y));
    fixed(Rect(0, leftBottom.Y, c.Left, sh), Rect(0, newLeftBottom.Y, nc.Left, h));
    fixed(Rect(c.Left, c.Bottom, leftBottom.X, sh), Rect(nc.Left, nc.Bottom, newLeftBottom.X, h));

    if (fillClient)
        FillClient(target, Rect(nc.Left, nc.Top, w, nc.Bottom), picture, rt::OffsetRect(c, sx, sy));
}

std::vector<std::uint8_t> CreateRegionData(const TBitmap& mask, int dx, int dy) {
    if (mask.Empty()) return {};
    const TskFBitmap bits(mask);
    const int w = bits.Width(), h = bits.Height();
    // The rectangle list grows as needed: a mask with many runs keeps every one of them.
    std::vector<TRect> runs;
    runs.reserve(std::size_t(h));
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = bits.Row(y);
        int x = 0;
        while (x < w) {
            while (x < w && (row[3 * x] | row[3 * x + 1] | row[3 * x + 2]) != 0) ++x;
            if (x == w) break;
            const int start = x;
            while (x < w && (row[3 * x] | row[3 * x + 1] | row[3 * x + 2]) == 0) ++x;
            runs.push_back(Rect(start + dx, y + dy, x + dx, y + dy + 1));
        }
    }
    std::vector<std::uint8_t> block(32 + 16 * runs.size());
    auto put = [&](std::size_t offset, std::int32_t v) {
        std::memcpy(block.data() + offset, &v, 4);
    };
    put(0, 32);
    put(4, 1);
    put(8, std::int32_t(runs.size()));
    put(12, 0);
    put(16, dx);
    put(20, dy);
    put(24, w + dx);
    put(28, h + dy);
    std::size_t o = 32;
    for (const TRect& r : runs) {
        put(o, r.Left);
        put(o + 4, r.Top);
        put(o + 8, r.Right);
        put(o + 12, r.Bottom);
        o += 16;
    }
    return block;
}

rt::TRegion CreateRegionFromMask(const TBitmap& mask) {
    std::vector<std::uint8_t> block = CreateRegionData(mask, 0, 0);
    if (block.empty()) return {};
    return rt::TRegion::FromRegionData(block.data(), block.size());
}

namespace {

void AddStripRegion(rt::TRegion& region, const TBitmap& strip, int dx, int dy) {
    std::vector<std::uint8_t> block = CreateRegionData(strip, dx, dy);
    if (!block.empty()) region.Union(rt::TRegion::FromRegionData(block.data(), block.size()));
}

// Top or bottom strip: mask rows srcTop..srcBottom, fixed ends, band tiled between the
// target's corner columns.
void HorizontalStrip(rt::TRegion& region, const TBitmap& mask, int width, int srcTop, int srcBottom,
                     TPoint left, TPoint right, TPoint newLeft, TPoint newRight, int atY) {
    const int h = srcBottom - srcTop;
    if (width <= 0 || h <= 0) return;
    TBitmap strip(width, h);
    Copy(strip, Rect(0, 0, left.X, h), mask, Rect(0, srcTop, left.X, srcBottom));
    TileH(strip, newLeft.X, newRight.X, 0, h, mask, left.X, right.X - left.X, srcTop, srcBottom);
    const int rightEnd = mask.Width() - right.X;
    Copy(strip, Rect(newRight.X, 0, newRight.X + rightEnd, h), mask,
         Rect(right.X, srcTop, mask.Width(), srcBottom));
    AddStripRegion(region, strip, 0, atY);
}

// Left or right strip: mask columns srcLeft..srcRight; the band top..bottom tiled from the
// strip's top, then the fixed parts above and below it.
void VerticalStrip(rt::TRegion& region, const TBitmap& mask, int height, int srcLeft, int srcRight,
                   int clientTop, int clientBottom, int bandTop, int bandBottom, int atX, int atY) {
    const int w = srcRight - srcLeft;
    if (w <= 0 || height <= 0) return;
    TBitmap strip(w, height);
    TileV(strip, 0, height, 0, w, mask, bandTop, bandBottom - bandTop, srcLeft, srcRight);
    Copy(strip, Rect(0, 0, w, bandTop - clientTop), mask,
         Rect(srcLeft, clientTop, srcRight, bandTop));
    const int lower = clientBottom - bandBottom;
    Copy(strip, Rect(0, height - lower, w, height), mask,
         Rect(srcLeft, bandBottom, srcRight, clientBottom));
    AddStripRegion(region, strip, atX, atY);
}

}  // namespace

std::optional<rt::TRegion> CreateSkinRegion(TPoint leftTop, TPoint rightTop, TPoint leftBottom,
                                            TPoint rightBottom, const TRect& client,
                                            const TBitmap& mask, int width, int /*height*/,
                                            TPoint newLeftTop, TPoint newRightTop,
                                            TPoint newLeftBottom, TPoint newRightBottom,
                                            const TRect& newClient) {
    if (newRightTop.X < newLeftTop.X || newLeftBottom.Y < newLeftTop.Y) return std::nullopt;
    rt::TRegion region(newClient);
    if (mask.Empty()) return region;
    const TRect& c = client;
    const TRect& nc = newClient;
    HorizontalStrip(region, mask, width, 0, c.Top, leftTop, rightTop, newLeftTop, newRightTop, 0);
    HorizontalStrip(region, mask, width, c.Bottom, mask.Height(), leftBottom, rightBottom,
                    newLeftBottom, newRightBottom, nc.Bottom);
    VerticalStrip(region, mask, nc.Height(), 0, c.Left, c.Top, c.Bottom, leftTop.Y, leftBottom.Y, 0,
                  nc.Top);
    VerticalStrip(region, mask, nc.Height(), c.Right, mask.Width(), c.Top, c.Bottom, rightTop.Y,
                  rightBottom.Y, nc.Right, nc.Top);
    return region;
}

void DrawGlyph(rt::TCanvas& canvas, int x, int y, int glyphNum, int glyphCount,
               const TBitmap& strip) {
    if (strip.Empty() || glyphCount <= 0) return;
    const int gw = strip.Width() / glyphCount;
    if (gw <= 0) return;
    TBitmap glyph(gw, strip.Height());
    glyph.Canvas().CopyRect(Rect(0, 0, gw, strip.Height()), strip,
                            Rect((glyphNum - 1) * gw, 0, glyphNum * gw, strip.Height()));
    glyph.Transparent = true;
    glyph.TransparentColor = rt::clNone;
    canvas.Draw(x, y, glyph);
}

std::string EllipsisText(const rt::TCanvas& canvas, const std::string& text, int width) {
    if (canvas.TextWidth(text) <= width) return text;
    std::string s = text;
    while (!s.empty() && canvas.TextWidth(s + "...") > width) {
        // Drop one whole UTF-8 character: continuation bytes go with their lead byte.
        std::size_t n = s.size() - 1;
        while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
        s.erase(n);
    }
    return s + "...";
}

void DrawTextInRect(rt::TCanvas& canvas, const std::string& text, const TRect& rect, int indent) {
    const int y = rect.Top + rect.Height() / 2 - canvas.TextHeight(text) / 2;
    canvas.TextRect(rect, rect.Left + indent + 2, y, text);
}

namespace {

void Line(rt::TCanvas& canvas, int x0, int y0, int x1, int y1) {
    canvas.MoveTo(x0, y0);
    canvas.LineTo(x1, y1);
}

}  // namespace

void DrawArrowImage(rt::TCanvas& canvas, const TRect& rect, rt::TColor color, int direction) {
    const int cx = rect.Left + rect.Width() / 2;
    const int cy = rect.Top + rect.Height() / 2;
    canvas.Pen.Color = color;
    canvas.Pen.Style = rt::TPenStyle::psSolid;
    canvas.Pen.Width = 1;
    // Four lines 1, 3, 5 and 7 pixels long, the tip two pixels from the centre in the
    // arrow's direction and the base one pixel behind it, so opposite arrows mirror each other
    // about the centre:
    //   up      down
    //  ...#...  #######   cy - 1
    //  ..###..  .#####.   cy
    //  .#####.  ..###..   cy + 1
    //  #######  ...#...   cy + 2
    //  (from cy - 2 to cy + 1 for up)
    for (int i = 0; i < 4; ++i) {
        switch (direction) {
            case 1:
                Line(canvas, cx - 2 + i, cy - i, cx - 2 + i, cy + i + 1);
                break;
            case 2:
                Line(canvas, cx + 2 - i, cy - i, cx + 2 - i, cy + i + 1);
                break;
            case 3:
                Line(canvas, cx - i, cy - 2 + i, cx + i + 1, cy - 2 + i);
                break;
            case 4:
                Line(canvas, cx - i, cy + 2 - i, cx + i + 1, cy + 2 - i);
                break;
            default:
                return;
        }
    }
}

void DrawTrackArrowImage(rt::TCanvas& canvas, const TRect& rect, rt::TColor color) {
    const int cx = rect.Left + rect.Width() / 2;
    const int cy = rect.Top + rect.Height() / 2;
    canvas.Pen.Color = color;
    canvas.Pen.Style = rt::TPenStyle::psSolid;
    canvas.Pen.Width = 1;
    for (int i = 0; i < 3; ++i) Line(canvas, cx - 2 + i, cy - 1 + i, cx + 3 - i, cy - 1 + i);
}

void DrawCheckImage(rt::TCanvas& canvas, int x, int y, rt::TColor color) {
    canvas.Pen.Color = color;
    canvas.Pen.Style = rt::TPenStyle::psSolid;
    canvas.Pen.Width = 1;
    for (int j = 0; j < 3; ++j)
        canvas.Polyline(
            {rt::Point(x, y + 5 - j), rt::Point(x + 2, y + 7 - j), rt::Point(x + 7, y + 2 - j)});
}

void DrawFrame3D(rt::TCanvas& canvas, const TRect& rect, rt::TColor topLeft,
                 rt::TColor bottomRight) {
    const int l = rect.Left, t = rect.Top, r = rect.Right - 1, b = rect.Bottom - 1;
    canvas.Pen.Style = rt::TPenStyle::psSolid;
    canvas.Pen.Width = 1;
    canvas.Pen.Color = topLeft;
    canvas.Polyline({rt::Point(l, b), rt::Point(l, t), rt::Point(r, t)});
    canvas.Pen.Color = bottomRight;
    canvas.Polyline({rt::Point(r, t), rt::Point(r, b), rt::Point(l - 1, b)});
}

void CreateSkinImage(const TskCornerSet& from, const rt::TRect& piece, const rt::TBitmap& picture,
                     bool fillClient, rt::TBitmap& target, int width, int height,
                     const TskCornerSet& to) {
    CreateSkinImage(from.LeftTop, from.RightTop, from.LeftBottom, from.RightBottom, from.Client,
                    piece, picture, fillClient, target, width, height, to.LeftTop, to.RightTop,
                    to.LeftBottom, to.RightBottom, to.Client);
}

void CreateSkinImage2(const TskCornerSet& from, const rt::TRect& piece, const rt::TBitmap& picture,
                      bool fillClient, rt::TBitmap& target, int width, int height,
                      const TskCornerSet& to) {
    CreateSkinImage2(from.LeftTop, from.RightTop, from.LeftBottom, from.RightBottom, from.Client,
                     piece, picture, fillClient, target, width, height, to.LeftTop, to.RightTop,
                     to.LeftBottom, to.RightBottom, to.Client);
}

std::optional<rt::TRegion> CreateSkinRegion(const TskCornerSet& from, const rt::TBitmap& mask,
                                            int width, int height, const TskCornerSet& to) {
    return CreateSkinRegion(from.LeftTop, from.RightTop, from.LeftBottom, from.RightBottom,
                            from.Client, mask, width, height, to.LeftTop, to.RightTop,
                            to.LeftBottom, to.RightBottom, to.Client);
}

rt::TFont MakeSkinFont(const std::string& name, int height, rt::TFontStyles style,
                       rt::TColor color) {
    rt::TFont f;
    f.Name = name.empty() ? "Arial" : name;
    f.Style = style;
    f.Color = color;
    if (height != 0) {
        // A positive height is the whole character cell; the em of the faces skins use is
        // 2048/2288 of it.
        double em = height > 0 ? height * 2048.0 / 2288.0 : -double(height);
        f.Size = std::max(1, int(std::lround(em * 72.0 / 96.0)));
    }
    return f;
}

bool CheckW2KWXP() { return true; }

void SetAlphaBlendTransparent(rt::TForm& window, int alpha) {
    window.SetAlphaBlend(std::clamp(alpha, 0, 255));
}

}  // namespace sk
