#pragma once
// The frame a skinned form draws without a skin: a 3-pixel raised border, a 19-pixel caption
// bar with etched lines and the centred caption text, and 17 x 17 flat caption buttons (15 and
// 13 for tool windows).

#include <memory>
#include <string>
#include <vector>

#include "runtime/Graphics.h"
#include "skin/form/skFormTypes.h"
#include "skin/form/skFrameGeometry.h"

namespace sk {

class TskActiveSkinObject;

constexpr int kDefaultBorder = 3;
constexpr int kDefaultButtonTop = 4;

struct TskDefaultFrameMetrics {
    int CaptionHeight = 19;
    int ButtonSize = 17;
};
TskDefaultFrameMetrics DefaultFrameMetrics(bool toolWindow);

// The five buttons of the default frame, in the order close, maximize, minimize, roll-up,
// system menu, named "closebutton", "maxbutton", "minbutton", "rollupbutton", "sysmenubutton".
std::vector<std::unique_ptr<TskActiveSkinObject>> CreateDefaultButtons(class TskFormHost& form);

// Places the visible standard buttons 4 pixels from the top: close, maximize, minimize and
// roll-up from the right edge leftwards without gaps, the system button at the left.
void LayoutDefaultButtons(const std::vector<std::unique_ptr<TskActiveSkinObject>>& objects,
                          int width, bool toolWindow);

// The caption bar's room between the system button and the other buttons.
rt::TRect DefaultCaptionRoom(const std::vector<std::unique_ptr<TskActiveSkinObject>>& objects,
                             int width, bool toolWindow);

// Hit test of the default frame at a point in window coordinates; captionRoom as above.
int DefaultHitTest(rt::TPoint p, int width, int height, const rt::TRect& captionRoom,
                   int captionHeight, const TskHitTestState& state);

// Paints border, caption bar, text and buttons onto a canvas of the window's size.
void PaintDefaultFrame(rt::TCanvas& window, int width, int height,
                       const std::vector<std::unique_ptr<TskActiveSkinObject>>& objects,
                       const std::string& caption, const rt::TFont& font, bool toolWindow);

}  // namespace sk
