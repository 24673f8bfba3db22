#pragma once
// Where the parts of a skinned frame sit for a window size: the skin's corner points and
// client rectangle moved to the size, the caption and button areas, the sizing corners and the
// mask area; where each frame object goes; the size limits, the client rectangle and the hit
// test. Pure computation on the skin's "FORMINFO" values and the window size.

#include <memory>
#include <vector>

#include "runtime/Types.h"
#include "skin/form/skFormTypes.h"

namespace sk {

class TskSkinData;
class TskActiveSkinObject;
class TskFrameStrips;

// The "FORMINFO" values the geometry needs, with the picture sizes. Taken from the skin data
// once per skin change, so that nothing is looked up per size step.
struct TskFrameSkin {
    int PictureWidth = 0, PictureHeight = 0;
    int MaskWidth = 0, MaskHeight = 0;  // 0 without a mask picture
    rt::TPoint LeftTop, RightTop, LeftBottom, RightBottom;
    rt::TRect ClientRect;
    rt::TRect MaskRectArea;
    rt::TPoint HitTestLT, HitTestRT, HitTestLB, HitTestRB;
    rt::TRect ButtonsRect, CaptionRect;
    int ButtonsOffset = 0;
    bool ButtonsInLeft = false;
    int BorderWidth = 0;
    bool LeftStretch = false, RightStretch = false, TopStretch = false, BottomStretch = false;

    static TskFrameSkin From(const TskSkinData& skin);
};

struct TskFrameGeometry {
    int Width = 0, Height = 0;  // window size
    int DX = 0, DY = 0;         // window size minus picture size
    rt::TPoint SizedLeftTop, SizedRightTop, SizedLeftBottom, SizedRightBottom;
    rt::TRect SizedClientBox;
    rt::TRect CaptionArea, ButtonsArea;
    int ButtonsOffset = 0;
    bool ButtonsInLeft = false;
    rt::TPoint HitTestLT, HitTestRT, HitTestLB, HitTestRB;
    rt::TRect MaskArea;
};

TskFrameGeometry ComputeFrameGeometry(const TskFrameSkin& skin, int width, int height);

// Where a frame object whose normal look is r in the picture sits on the window: by the corner
// region(s) of the picture that r lies in, moved or stretched with the window's growth.
rt::TRect MapFrameObjectRect(const rt::TRect& r, const TskFrameSkin& skin, int dx, int dy);

// Places every frame object for the geometry: objects painted into the frame picture by the
// corner mapping, then the caption buttons with their own pictures in the buttons area (or the
// caption area), adjusting the caption's edges to them. iconSize is the small icon's size,
// the system-menu button's size when showIcon.
void LayoutFrameObjects(const std::vector<std::unique_ptr<TskActiveSkinObject>>& objects,
                        const TskFrameSkin& skin, const TskFrameGeometry& g, bool showIcon,
                        rt::TPoint iconSize);

// Switches off the standard buttons whose border icon is missing; a button painted into the
// frame picture stays visible but dead.
void ApplyIconRules(const std::vector<std::unique_ptr<TskActiveSkinObject>>& objects,
                    TskBorderIcons icons);

// Size limits of the window. Skinned: at least the picture's width (MinWidth when larger and
// not minimized) and the frame's height (MinHeight when larger, unless rolled up or
// minimized). Default frame: MinWidth (120 when not positive) and the caption plus borders.
struct TskSizeRules {
    bool Skinned = false;
    int PictureWidth = 0, PictureHeight = 0;
    rt::TRect ClientRect;  // the skin's client rectangle
    int MinWidth = 0, MinHeight = 0;
    bool Minimized = false, RolledUp = false;
    int DefaultCaptionHeight = 19;
};
rt::TPoint FrameMinimumSize(const TskSizeRules& rules);
rt::TPoint FrameMaximumSize(bool fullScreen, const rt::TRect& screen, const rt::TRect& workArea);

// The client rectangle for a window rectangle (never negative in size).
rt::TRect SkinnedClientRect(const rt::TRect& window, const TskFrameSkin& skin);
rt::TRect DefaultClientRect(const rt::TRect& window, int captionHeight);

struct TskHitTestState {
    bool RolledUp = false;
    bool Minimized = false;
    bool Maximized = false;
    bool Sizeable = true;
    bool ObjectHovered = false;
};

// The window's shape for hit testing: the window rectangle, or with a mask the mask area plus
// the black pixels of the mask strips.
struct TskFrameShape {
    int Width = 0, Height = 0;
    const TskFrameStrips* Mask = nullptr;  // null: rectangular window
    rt::TRect MaskArea;
    bool Contains(int x, int y) const;
};

// Skinned hit test at a point in window coordinates. A point outside the window's shape (a
// corner the mask cuts away) is HTNOWHERE: it is neither window nor sizing edge.
int SkinnedHitTest(rt::TPoint p, const TskFrameGeometry& g, const TskFrameShape& shape,
                   int borderWidth, const std::vector<rt::TRect>& captionRects,
                   const TskHitTestState& state);

}  // namespace sk
