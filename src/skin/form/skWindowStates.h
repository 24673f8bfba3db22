#pragma once
// The window commands a skinned form carries out itself, as computations on plain rectangles
// and flags: maximized bounds, the slot of a minimized form, the caption double-click,
// magnetic edges, the fade-in steps, and hover tracking decisions.

#include <memory>
#include <vector>

#include "runtime/Types.h"
#include "skin/form/skFormTypes.h"

namespace sk {

class TskActiveSkinObject;

// The whole screen with fullScreen, else the work area.
rt::TRect MaximizedBounds(bool fullScreen, const rt::TRect& screen, const rt::TRect& workArea);

// Top-left of the first free slot for a minimized form of minWidth x minHeight: along the work
// area's bottom from its left, row above row, back to the bottom-left slot when the rows reach
// the work area's top. occupied holds the places of the other minimized forms.
rt::TPoint MinimizedSlot(const rt::TRect& workArea, int minWidth, int minHeight,
                         const std::vector<rt::TPoint>& occupied);

// Whether the roll-up state may change now: only with the roll-up icon, never while
// minimized, and not for a form rolled up before it was maximized.
bool CanChangeRollUp(TskBorderIcons icons, TskWindowState state, bool rolledUp,
                     bool maxRollUpState);

enum class TskCaptionAction { Restore, Maximize, ToggleRollUp };
struct TskCaptionState {
    bool Sizeable = true;
    TskWindowState WindowState = TskWindowState::wsNormal;
    bool RolledUp = false;
    bool MaxRollUpState = false;  // rolled up while maximized
    TskBorderIcons Icons = kDefaultBorderIcons;
};
// What a left double-click on the caption does.
TskCaptionAction CaptionDoubleClick(const TskCaptionState& state);

// The window rectangle while it is dragged: each edge closer than magneticSize (strictly) to
// the same edge of the area snaps onto it, the size kept.
rt::TRect MagneticMove(const rt::TRect& window, const rt::TRect& area, int magneticSize);

// The opacity a fade-in ends at, and the opacities it passes: 5, 10, ... up to the target, the
// last step clamped to it.
int FadeInTarget(bool alphaBlend, bool animation, int alphaBlendValue);
std::vector<int> FadeInSteps(int target);

// Index of the first enabled, visible object under the point (-1: none, or not over the
// window). While an object is pressed, every other object counts as none.
int FindHoverIndex(const std::vector<std::unique_ptr<TskActiveSkinObject>>& objects, rt::TPoint p,
                   bool overWindow, int pressedIndex);

// What one tick of the hover timer does.
enum class TskHoverTick { StopAndClear, TrackAtCursor, ClearHover, Nothing };
TskHoverTick HoverTickAction(bool formUnderCursor, bool inSizeMove, bool cursorInClient,
                             bool somethingHovered);

}  // namespace sk
