#pragma once
// The four border strips a skinned frame is painted from, cut out of the frame picture for the
// window size; the same strips cut from the mask picture, which give the window its shape; the
// frame objects and the inactive look drawn onto the strips; the client background.

#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/Graphics.h"
#include "skin/data/skTypes.h"
#include "skin/form/skFrameGeometry.h"

namespace sk {

class TskActiveSkinObject;
class TskSkinData;

class TskFrameStrips {
public:
    rt::TBitmap Top, Bottom, Left, Right;
    // Where each strip sits on the window.
    rt::TPoint TopAt, BottomAt, LeftAt, RightAt;

    // True when a black pixel of one of the strips covers the window point.
    bool BlackAt(int x, int y) const;
    void Clear();
};

// Which part of a picture the strips are cut from: the corner points split each margin into
// fixed ends and a middle that repeats (or stretches), the client rectangle gives the margins.
struct TskStripSource {
    rt::TPoint LeftTop, RightTop, LeftBottom, RightBottom;
    rt::TRect Client;
    bool LeftStretch = false, RightStretch = false, TopStretch = false, BottomStretch = false;
};

// Cuts the strips for a window of width x height from picture; dx and dy are the window's
// growth over the frame picture, which move the right and bottom pieces. A strip without
// size or without a middle piece stays empty. The strips' bitmaps are reused when their size
// does not change.
void BuildStrips(const rt::TBitmap& picture, const TskStripSource& source, int width, int height,
                 int dx, int dy, TskFrameStrips& out);

// The border strips of the frame picture for the geometry.
void BuildBorderStrips(const rt::TBitmap& picture, const TskFrameSkin& skin,
                       const TskFrameGeometry& g, TskFrameStrips& out);
// The mask strips: the mask area in the client's role, always tiled.
void BuildMaskStrips(const rt::TBitmap& mask, const TskFrameSkin& skin, const TskFrameGeometry& g,
                     TskFrameStrips& out);

// Region data of the window shape: the mask area plus the runs of black pixels of each mask
// strip, rows from the top, equal rows one below the other merged into one rectangle (a
// 32-byte header and 16 bytes per rectangle).
std::vector<std::uint8_t> FrameRegionData(const TskFrameStrips& mask, const rt::TRect& maskArea,
                                          int width, int height);

// Draws one object onto the top strip, or onto the bottom strip (moved up by the client
// box's bottom) when it reaches below the client box's top.
void DrawFrameObject(TskActiveSkinObject& object, TskFrameStrips& strips,
                     const rt::TRect& sizedClientBox, bool upDate);
// Draws every visible object onto the top strip, or onto the bottom strip (moved up by the
// client box's bottom) when it reaches below the client box's top.
void DrawFrameObjects(const std::vector<std::unique_ptr<TskActiveSkinObject>>& objects,
                      TskFrameStrips& strips, const rt::TRect& sizedClientBox);
// Runs the skin's inactive effect over each strip.
void ApplyInactiveEffect(TskFrameStrips& strips, TskInactiveEffect effect);
// Draws the strips at their places on a canvas of the window's size.
void DrawStrips(rt::TCanvas& window, const TskFrameStrips& strips);

// Tiles piece of picture over area, starting at area's top-left.
void TileArea(rt::TCanvas& canvas, const rt::TRect& area, const rt::TBitmap& picture,
              const rt::TRect& piece);
// The client background: button face without a skin; else the skin's background picture
// tiled from the client's top-left, or the client piece of the frame picture.
void PaintClientBackground(rt::TCanvas& canvas, const rt::TRect& area, const TskSkinData* skin);

}  // namespace sk
