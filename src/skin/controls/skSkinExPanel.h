#pragma once
// A panel with a caption bar that carries a close button and a roll button. Rolling collapses
// the panel to its caption bar, either vertically (to the caption's height) or sideways (to a
// narrow strip whose caption reads upwards), hiding its child controls until it is unrolled.

#include <string>
#include <vector>

#include "skin/controls/skSkinCtrls.h"

namespace sk {

enum TskRollKind { rkRollHorizontal, rkRollVertical };

class TskSkinExPanel : public TskSkinCustomControl {
public:
    // Skin object "expanel", 150 x 100.
    explicit TskSkinExPanel(rt::TComponent* owner);

    enum TButtonIndex { kCloseButton = 0, kRollButton = 1 };
    struct TButton {
        rt::TRect Rect;  // empty while the button is not shown
        bool CursorInside = false;
        bool Down = false;
    };

    bool ShowRollButton() const { return showRollButton_; }
    void SetShowRollButton(bool value);
    bool ShowCloseButton() const { return showCloseButton_; }
    void SetShowCloseButton(bool value);
    int DefaultCaptionHeight() const { return defaultCaptionHeight_; }
    void SetDefaultCaptionHeight(int value);
    bool RollState() const { return rollState_; }
    // Rolling up hides the visible children and shrinks the panel to its rolled size; unrolling
    // restores the size it had and shows those children again.
    void SetRollState(bool value);
    TskRollKind RollKind() const { return rollKind_; }
    void SetRollKind(TskRollKind value);
    rt::TNotifyEvent OnChangeRollState;
    // After the close button hid the panel.
    rt::TNotifyEvent OnClose;

    // Width (sideways) or height (vertically) of the rolled panel.
    int RolledSize();
    // The two buttons and the caption area for the current size, state and skin.
    void LayoutCaption();
    const TButton& Button(int index) const { return buttons_[index]; }
    const rt::TRect& CaptionArea() const { return captionArea_; }

    // Where the children go: inside the frame, below the caption bar.
    rt::TRect ClientRect() const override;
    void FindSkinObject() override;
    void ApplySkin() override;
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void PaintDefault(rt::TBitmap& buffer) override;
    void PaintSkinned(rt::TBitmap& buffer) override;
    void MouseDown(rt::TMouseButton button, rt::TShiftState shift, int x, int y) override;
    void MouseMove(rt::TShiftState shift, int x, int y) override;
    void MouseUp(rt::TMouseButton button, rt::TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    void TextChanged() override { Invalidate(); }

private:
    bool Sideways() const { return rollKind_ == rkRollHorizontal; }
    void LayoutSkinned();
    void LayoutDefault();
    int ButtonAt(int x, int y) const;
    void UpdateHover(int x, int y);
    // The skin picture's state image of a button, or an empty rectangle.
    rt::TRect ButtonImage(int index) const;
    void DrawCaption(rt::TCanvas& c, const rt::TFont& font) const;

    bool showRollButton_ = true;
    bool showCloseButton_ = true;
    int defaultCaptionHeight_ = 21;
    bool rollState_ = false;
    TskRollKind rollKind_ = rkRollVertical;

    TButton buttons_[2];
    int hoverButton_ = -1, pressedButton_ = -1;
    rt::TRect captionArea_;
    int savedSize_ = 0;
    std::vector<rt::TControl*> hiddenChildren_;
    bool rolling_ = false;

    rt::TRect captionRect_, rollHSkinRect_, rollVSkinRect_;
    int rollLeftOffset_ = 0, rollRightOffset_ = 0, rollTopOffset_ = 0, rollBottomOffset_ = 0;
    rt::TRect rollVCaptionRect_, rollHCaptionRect_;
    rt::TRect closeRects_[3], hRollRects_[3], hRestoreRects_[3], vRollRects_[3], vRestoreRects_[3];
    TskFontDesc font_ = DefaultControlFont();
};

}  // namespace sk
