#include "skin/form/skDefaultFrame.h"

#include <algorithm>

#include "skin/data/skUtils.h"
#include "skin/form/skFrameObjects.h"

namespace sk {

using rt::Rect;
using rt::TRect;

TskDefaultFrameMetrics DefaultFrameMetrics(bool toolWindow) {
    return toolWindow ? TskDefaultFrameMetrics{15, 13} : TskDefaultFrameMetrics{19, 17};
}

std::vector<std::unique_ptr<TskActiveSkinObject>> CreateDefaultButtons(TskFormHost& form) {
    std::vector<std::unique_ptr<TskActiveSkinObject>> buttons;
    const std::pair<const char*, TskStdCommand> kinds[] = {{"closebutton", cmClose},
                                                           {"maxbutton", cmMaximize},
                                                           {"minbutton", cmMinimize},
                                                           {"rollupbutton", cmRollUp},
                                                           {"sysmenubutton", cmSysMenu}};
    for (const auto& [name, command] : kinds)
        buttons.push_back(std::make_unique<TskSkinStdButtonObject>(form, name, command));
    return buttons;
}

namespace {

TskSkinStdButtonObject* VisibleButton(TskActiveSkinObject* o) {
    auto* b = dynamic_cast<TskSkinStdButtonObject*>(o);
    return b != nullptr && b->Visible ? b : nullptr;
}

}  // namespace

void LayoutDefaultButtons(const std::vector<std::unique_ptr<TskActiveSkinObject>>& objects,
                          int width, bool toolWindow) {
    const int size = DefaultFrameMetrics(toolWindow).ButtonSize;
    const int top = kDefaultButtonTop;
    int right = width - kDefaultButtonTop;
    for (TskStdCommand c : {cmClose, cmMaximize, cmMinimize, cmRollUp})
        for (const auto& o : objects) {
            TskSkinStdButtonObject* b = VisibleButton(o.get());
            if (b == nullptr || b->Command != c) continue;
            b->ObjectRect = Rect(right - size, top, right, top + size);
            right -= size;
        }
    for (const auto& o : objects) {
        TskSkinStdButtonObject* b = VisibleButton(o.get());
        if (b != nullptr && b->Command == cmSysMenu)
            b->ObjectRect = rt::Bounds(kDefaultButtonTop, top, size, size);
    }
}

TRect DefaultCaptionRoom(const std::vector<std::unique_ptr<TskActiveSkinObject>>& objects,
                         int width, bool toolWindow) {
    int left = kDefaultBorder, right = width - kDefaultBorder;
    for (const auto& o : objects) {
        TskSkinStdButtonObject* b = VisibleButton(o.get());
        if (b == nullptr) continue;
        if (b->Command == cmSysMenu)
            left = std::max(left, b->ObjectRect.Right);
        else
            right = std::min(right, b->ObjectRect.Left);
    }
    const int bar = DefaultFrameMetrics(toolWindow).CaptionHeight;
    return Rect(left, kDefaultBorder, std::max(left, right), kDefaultBorder + bar);
}

int DefaultHitTest(rt::TPoint p, int w, int h, const TRect& captionRoom, int captionHeight,
                   const TskHitTestState& s) {
    const int x = p.X, y = p.Y;
    if (x < 0 || y < 0 || x >= w || y >= h) return HTNOWHERE;
    if (!s.Maximized && !s.RolledUp && !s.Minimized && s.Sizeable) {
        if (s.ObjectHovered) return HTOBJECT;
        if (x <= 2 && y <= 2) return HTTOPLEFT;
        if (x >= w - 2 && y <= 2) return HTTOPRIGHT;
        if (x <= 2 && y >= h - 2) return HTBOTTOMLEFT;
        if (x >= w - 2 && y >= h - 2) return HTBOTTOMRIGHT;
        if (x <= 2) return HTLEFT;
        if (y <= 2) return HTTOP;
        if (x >= w - 2) return HTRIGHT;
        if (y >= h - 2) return HTBOTTOM;
    }
    if (captionRoom.Contains(p)) return HTCAPTION;
    if (Rect(3, captionHeight + 3, w - 3, h - 3).Contains(p)) return HTCLIENT;
    return HTOBJECT;
}

namespace {

void Fill(rt::TCanvas& c, const TRect& r, rt::TColor color) {
    c.Brush.Style = rt::TBrushStyle::bsSolid;
    c.Brush.Color = color;
    c.FillRect(r);
}

}  // namespace

// The caption bar between the buttons, etched with lines in pairs under the centred text:
//
//   [sys] ============ Caption text ============ [roll][min][max][close]
//          shadow / highlight rows from bar row 2 to bar height - 4
void PaintDefaultFrame(rt::TCanvas& c, int w, int h,
                       const std::vector<std::unique_ptr<TskActiveSkinObject>>& objects,
                       const std::string& caption, const rt::TFont& font, bool toolWindow) {
    if (w <= 0 || h <= 0) return;
    DrawFrame3D(c, Rect(0, 0, w, h), rt::cl3DLight, rt::cl3DDkShadow);
    DrawFrame3D(c, Rect(1, 1, w - 1, h - 1), rt::clBtnHighlight, rt::clBtnShadow);
    DrawFrame3D(c, Rect(2, 2, w - 2, h - 2), rt::clBtnFace, rt::clBtnFace);

    const int bar = DefaultFrameMetrics(toolWindow).CaptionHeight;
    const int top = kDefaultBorder;
    Fill(c, Rect(kDefaultBorder, top, w - kDefaultBorder, top + bar), rt::clBtnFace);
    const TRect room = DefaultCaptionRoom(objects, w, toolWindow);
    const int lineLeft = room.Left + 2, lineRight = room.Right - 2;
    if (lineRight > lineLeft)
        for (int row = 2; row <= bar - 4; ++row)
            Fill(c, Rect(lineLeft, top + row, lineRight, top + row + 1),
                 (row - 2) % 2 == 0 ? rt::clBtnShadow : rt::clBtnHighlight);

    if (!caption.empty() && lineRight > lineLeft) {
        c.Font = font;
        // The text's box is 5 pixels wider than the text and stays between the lines' ends.
        const std::string text = EllipsisText(c, caption, lineRight - lineLeft - 5);
        const int tw = c.TextWidth(text), th = c.TextHeight(text);
        const int tx = room.Left + (room.Width() - tw) / 2;
        Fill(c, Rect(tx - 2, top + 1, tx + tw + 3, top + bar - 1), rt::clBtnFace);
        c.Brush.Style = rt::TBrushStyle::bsClear;
        c.TextOut(tx, top + (bar - th) / 2, text);
        c.Brush.Style = rt::TBrushStyle::bsSolid;
    }

    for (const auto& o : objects)
        if (o->Visible) o->Draw(c, false);
}

}  // namespace sk
