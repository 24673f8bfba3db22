#pragma once
// Hints (tool-tips): the window that shows one, and what the application tells about a hint
// before it shows. The application (Application.h) decides when: a control's Hint shows once
// the mouse has rested on it for the hint pause.

#include <functional>
#include <memory>
#include <string>

#include "runtime/Controls.h"

namespace rt {

struct THintInfo {
    // The control whose hint shows.
    TControl* HintControl = nullptr;
    // Screen point where the hint's top-left goes: below the pointer.
    TPoint HintPos;
    // Widest the hint may be (the screen's width).
    int HintMaxWidth = 0;
    std::string HintStr;
};

// Runs before a hint shows: it may change the text and the information, or clear canShow.
using TShowHintEvent =
    std::function<void(std::string& hintStr, bool& canShow, THintInfo& hintInfo)>;

// The plain hint window: info colours, a one-pixel frame in the button shadow colour, the text
// left-aligned 2 pixels inside. A popup window: it never takes activation.
class THintWindow : public TPopupWindow {
public:
    explicit THintWindow(TComponent* owner);

    // The size the hint needs for the text, as a rectangle at (0, 0).
    virtual TRect CalcHintRect(int maxWidth, const std::string& hint);
    // Shows the hint in rect (screen coordinates), moved back onto the screen where it would
    // leave it, without taking activation.
    virtual void ActivateHint(const TRect& rect, const std::string& hint);
    // Hides it.
    virtual void ReleaseHint() { Hide(); }

    // The text shown last.
    const std::string& HintText() const { return Caption(); }

protected:
    void Paint(TCanvas& canvas) override;
};

using THintWindowClass = std::function<std::unique_ptr<THintWindow>()>;

// Paints the plain hint look over the whole canvas of width x height.
void PaintPlainHint(TCanvas& canvas, int width, int height, const std::string& text,
                    const TFont& font);
// The size of the plain hint look for the text.
TPoint PlainHintSize(const std::string& text, const TFont& font);

}  // namespace rt
