#pragma once
// Building resized skin images and window regions out of skin pictures, and the small drawing
// helpers the skinned controls share.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/Graphics.h"
#include "skin/data/skCornerSet.h"

namespace rt {
class TForm;
}

namespace sk {

// Three-piece strip: the piece's left `leftWidth` and right `rightWidth` columns at the
// target's edges, its middle tiled in between. The target becomes width x piece height.
void CreateHSkinImage(int leftWidth, int rightWidth, rt::TBitmap& target, int width,
                      const rt::TRect& piece, const rt::TBitmap& picture);
// As CreateHSkinImage without the right piece: the middle tiles run to the full width.
void CreateHSkinImage2(int leftWidth, int rightWidth, rt::TBitmap& target, int width,
                       const rt::TRect& piece, const rt::TBitmap& picture);
// Vertical counterpart: the target becomes piece width x height.
void CreateVSkinImage(int topHeight, int bottomHeight, rt::TBitmap& target, int height,
                      const rt::TRect& piece, const rt::TBitmap& picture);

// Four-corner composition of `piece` of `picture` into a target of width x height. The corner
// points and the client rectangle are relative to the piece's top-left; the New... values are
// their places in the target. With fillClient the client rectangle is tiled over newClient.
void CreateSkinImage(rt::TPoint leftTop, rt::TPoint rightTop, rt::TPoint leftBottom,
                     rt::TPoint rightBottom, const rt::TRect& client, const rt::TRect& piece,
                     const rt::TBitmap& picture, bool fillClient, rt::TBitmap& target, int width,
                     int height, rt::TPoint newLeftTop, rt::TPoint newRightTop,
                     rt::TPoint newLeftBottom, rt::TPoint newRightBottom,
                     const rt::TRect& newClient);
// The same with the piece's corner set and the set fitted to the target.
void CreateSkinImage(const TskCornerSet& from, const rt::TRect& piece, const rt::TBitmap& picture,
                     bool fillClient, rt::TBitmap& target, int width, int height,
                     const TskCornerSet& to);
// Left-anchored variant: no right side; top, bottom and client run to the target's right edge.
void CreateSkinImage2(rt::TPoint leftTop, rt::TPoint rightTop, rt::TPoint leftBottom,
                      rt::TPoint rightBottom, const rt::TRect& client, const rt::TRect& piece,
                      const rt::TBitmap& picture, bool fillClient, rt::TBitmap& target, int width,
                      int height, rt::TPoint newLeftTop, rt::TPoint newRightTop,
                      rt::TPoint newLeftBottom, rt::TPoint newRightBottom,
                      const rt::TRect& newClient);
void CreateSkinImage2(const TskCornerSet& from, const rt::TRect& piece, const rt::TBitmap& picture,
                      bool fillClient, rt::TBitmap& target, int width, int height,
                      const TskCornerSet& to);

// Region data block of the mask's black pixels, moved by (dx, dy): a 32-byte header (size 32,
// type 1, count N, size 0, bounding rectangle) and N rectangles of 16 bytes, one per run of
// black pixels in a row, rows from the top. Empty for an empty mask.
std::vector<std::uint8_t> CreateRegionData(const rt::TBitmap& mask, int dx, int dy);
// Region of the mask's black pixels at 0,0 (empty for an empty mask).
rt::TRegion CreateRegionFromMask(const rt::TBitmap& mask);
// Region of `mask` composed for a target of width x height like CreateSkinImage composes the
// picture: the client rectangle plus the four edge strips. No region when newRightTop lies
// left of newLeftTop or newLeftBottom above newLeftTop.
std::optional<rt::TRegion> CreateSkinRegion(rt::TPoint leftTop, rt::TPoint rightTop,
                                            rt::TPoint leftBottom, rt::TPoint rightBottom,
                                            const rt::TRect& client, const rt::TBitmap& mask,
                                            int width, int height, rt::TPoint newLeftTop,
                                            rt::TPoint newRightTop, rt::TPoint newLeftBottom,
                                            rt::TPoint newRightBottom, const rt::TRect& newClient);
std::optional<rt::TRegion> CreateSkinRegion(const TskCornerSet& from, const rt::TBitmap& mask,
                                            int width, int height, const TskCornerSet& to);

// Glyph `glyphNum` (from 1) of a strip of `glyphCount` glyphs, drawn transparently at (x, y)
// with the glyph's bottom-left pixel as the transparent colour.
void DrawGlyph(rt::TCanvas& canvas, int x, int y, int glyphNum, int glyphCount,
               const rt::TBitmap& strip);

// The text, or as much of its start as fits in width together with "...".
std::string EllipsisText(const rt::TCanvas& canvas, const std::string& text, int width);
// Text clipped to rect at left + indent + 2, centred vertically.
void DrawTextInRect(rt::TCanvas& canvas, const std::string& text, const rt::TRect& rect,
                    int indent);
// A filled 7-pixel triangle at the rectangle's centre; direction 1 left, 2 right, 3 up, 4 down.
void DrawArrowImage(rt::TCanvas& canvas, const rt::TRect& rect, rt::TColor color, int direction);
// A down-pointing triangle of lines 5, 3 and 1 pixels wide at the rectangle's centre.
void DrawTrackArrowImage(rt::TCanvas& canvas, const rt::TRect& rect, rt::TColor color);
// A check mark three pixels thick whose lowest line runs (x, y+5) - (x+2, y+7) - (x+7, y+2).
void DrawCheckImage(rt::TCanvas& canvas, int x, int y, rt::TColor color);
// One-pixel frame: top and left edges in topLeft, bottom and right edges in bottomRight.
void DrawFrame3D(rt::TCanvas& canvas, const rt::TRect& rect, rt::TColor topLeft,
                 rt::TColor bottomRight);

// A font as skins describe it: a face name, the character cell height in pixels (negative:
// the em height), a style and a colour. Height 0 keeps the runtime's default size.
rt::TFont MakeSkinFont(const std::string& name, int height, rt::TFontStyles style,
                       rt::TColor color);

// True when forms can be given a constant opacity. Every top-level form of the runtime can be;
// whether the window system shows it is up to its compositor, so this is always true here.
bool CheckW2KWXP();
// Gives the form a constant opacity, alpha 0 (invisible) to 255 (opaque), clamped.
void SetAlphaBlendTransparent(rt::TForm& window, int alpha);

}  // namespace sk
