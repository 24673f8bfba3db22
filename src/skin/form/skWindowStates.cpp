#include "skin/form/skWindowStates.h"

#include <algorithm>
#include <cstdlib>

#include "skin/form/skFrameObjects.h"

namespace sk {

using rt::TPoint;
using rt::TRect;

TRect MaximizedBounds(bool fullScreen, const TRect& screen, const TRect& workArea) {
    return fullScreen ? screen : workArea;
}

TPoint MinimizedSlot(const TRect& area, int minWidth, int minHeight,
                     const std::vector<TPoint>& occupied) {
    // A slot of no size would never move on.
    const int w = std::max(minWidth, 1), h = std::max(minHeight, 1);
    const TPoint first{area.Left, area.Bottom - h};
    TPoint p = first;
    while (std::find(occupied.begin(), occupied.end(), p) != occupied.end()) {
        p.X += w;
        if (p.X + w > area.Right) {
            p.X = area.Left;
            p.Y -= h;
            if (p.Y < area.Top) return first;
        }
    }
    return p;
}

bool CanChangeRollUp(TskBorderIcons icons, TskWindowState state, bool rolledUp,
                     bool maxRollUpState) {
    if ((icons & biRollUp) == 0 || state == TskWindowState::wsMinimized) return false;
    return !(state == TskWindowState::wsMaximized && rolledUp && !maxRollUpState);
}

TskCaptionAction CaptionDoubleClick(const TskCaptionState& s) {
    if (s.Sizeable) {
        if (s.WindowState == TskWindowState::wsMinimized) return TskCaptionAction::Restore;
        if (s.WindowState != TskWindowState::wsMaximized && !s.RolledUp &&
            (s.Icons & biMaximize) != 0)
            return TskCaptionAction::Maximize;
        if (s.WindowState == TskWindowState::wsMaximized && !s.MaxRollUpState)
            return TskCaptionAction::Restore;
    }
    return TskCaptionAction::ToggleRollUp;
}

TRect MagneticMove(const TRect& w, const TRect& area, int m) {
    const int width = w.Width(), height = w.Height();
    int left = w.Left, top = w.Top;
    if (std::abs(left - area.Left) < m) left = area.Left;
    if (std::abs(top - area.Top) < m) top = area.Top;
    if (std::abs(w.Left + width - area.Right) < m) left = area.Right - width;
    if (std::abs(w.Top + height - area.Bottom) < m) top = area.Bottom - height;
    return rt::Bounds(left, top, width, height);
}

int FadeInTarget(bool alphaBlend, bool animation, int alphaBlendValue) {
    return !animation || alphaBlend ? std::clamp(alphaBlendValue, 0, 255) : 255;
}

std::vector<int> FadeInSteps(int target) {
    std::vector<int> steps;
    for (int a = 5; a < target + 5; a += 5) steps.push_back(std::min(a, target));
    return steps;
}

int FindHoverIndex(const std::vector<std::unique_ptr<TskActiveSkinObject>>& objects, TPoint p,
                   bool overWindow, int pressedIndex) {
    if (!overWindow) return -1;
    int found = -1;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const TskActiveSkinObject& o = *objects[i];
        if (o.Enabled && o.Visible && o.ObjectRect.Contains(p)) {
            found = int(i);
            break;
        }
    }
    if (pressedIndex >= 0 && found != pressedIndex) return -1;
    return found;
}

TskHoverTick HoverTickAction(bool formUnderCursor, bool inSizeMove, bool cursorInClient,
                             bool somethingHovered) {
    if (!formUnderCursor) return TskHoverTick::StopAndClear;
    if (inSizeMove) return TskHoverTick::Nothing;
    if (!cursorInClient) return TskHoverTick::TrackAtCursor;
    return somethingHovered ? TskHoverTick::ClearHover : TskHoverTick::Nothing;
}

}  // namespace sk
