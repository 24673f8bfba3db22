#pragma once
// What the push button and the speed buttons share: the values of a "button" skin object with
// their fallbacks, the glyph-and-caption layout, the state images, the cross-fade between the
// normal and the hot image, the repeat timer, toggle groups and the mouse state machine. The
// buttons derive from TskButtonControlT over their control base (windowed for the push button,
// window-less for the speed buttons) and add focus, transparency or menus of their own.

#include <memory>
#include <string>

#include "runtime/Menus.h"
#include "skin/controls/skSkinCtrls.h"

namespace sk {

enum TskButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// The fields a button reads from a TskDataSkinButtonControl. An empty active rectangle falls
// back to the skin rectangle, then an empty down rectangle to the (possibly replaced) active one.
struct TskButtonSkinValues {
    TskFontDesc Font = DefaultControlFont();
    rt::TRect ActiveSkinRect, DownSkinRect, DisabledSkinRect;
    bool Morphing = false;
    TskMorphKind MorphKind = mkDefault;

    void Read(const TskDataSkinButtonControl& d);
};

// The image of a glyph strip for a state: 3 down and hot (with at least 3 images), 4 hot (with
// 4), 1 enabled or a strip without a disabled image, else 2.
int GlyphImageNumber(bool down, bool hot, bool enabled, int numGlyphs);

// Where the glyph's top-left corner and the caption's rectangle go inside r; the canvas has
// the caption's font. Margin -1 centres the glyph-and-caption block, a margin of 0 or more keeps
// it that far from the edge named by the layout. The pressed look moves both by (1, 1).
struct TskButtonContent {
    rt::TPoint GlyphPos;
    rt::TRect TextRect;
};
TskButtonContent LayoutButtonContent(const rt::TCanvas& canvas, const rt::TRect& r,
                                     const std::string& caption, int glyphWidth, int glyphHeight,
                                     TskButtonLayout layout, int margin, int spacing, bool pressed);

// The caption centred in r without "&" marks, the character after a single "&" underlined.
void DrawAccelText(rt::TCanvas& canvas, const rt::TRect& r, const std::string& caption);

// Glyph image `image` of a strip of numGlyphs and the caption, laid out in r, transparently.
void DrawButtonContent(rt::TCanvas& canvas, const rt::TRect& r, const std::string& caption,
                       const rt::TBitmap& glyph, int numGlyphs, int image, TskButtonLayout layout,
                       int margin, int spacing, bool pressed);

// normal blended towards hot by k (0 normal, 1 hot) with the morph effect of kind.
rt::TBitmap MorphImages(const rt::TBitmap& normal, const rt::TBitmap& hot, TskMorphKind kind,
                        double k);

template <class Base>
class TskButtonControlT : public Base {
public:
    explicit TskButtonControlT(rt::TComponent* owner);
    ~TskButtonControlT() override;

    bool RepeatMode = false;
    int RepeatInterval = 100;
    bool AllowAllUp = false;

    bool Down() const { return down_; }
    // Stores and repaints; going down in a group without AllowAllUp releases the others.
    virtual void SetDown(bool value);
    int GroupIndex() const { return groupIndex_; }
    virtual void SetGroupIndex(int value) { groupIndex_ = value; }
    const rt::TBitmap& Glyph() const { return glyph_; }
    void SetGlyph(const rt::TBitmap& glyph);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    int Margin() const { return margin_; }
    // Values below -1 are refused.
    void SetMargin(int value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    TskButtonLayout Layout() const { return layout_; }
    void SetLayout(TskButtonLayout value);
    // The action runs on a click when no OnClick is set; its caption becomes the button's.
    rt::TAction* Action() const { return action_; }
    void SetAction(rt::TAction* action);

    // The hot state (the mouse is over the button, or a default button stands for the dialog).
    bool MouseInside() const { return mouseInside_; }
    // 0 shows the normal image, 1 the hot one; steps of 0.1 in between while fading.
    double MorphFactor() const { return morphStep_ / 10.0; }
    // The timers while they run, else null. Tests step them by calling OnTimer.
    rt::TTimer* MorphTicker() const;
    rt::TTimer* RepeatTimer() const;
    const TskButtonSkinValues& ButtonSkin() const { return btn_; }

    void FindSkinObject() override;
    void ApplySkin() override;
    void WndProc(rt::TMessage& message) override;

protected:
    // Composes `source` of the skin picture into target at the control's size and draws the
    // glyph and caption of that state on it, pressed when down and hot.
    virtual void DrawStateImage(rt::TBitmap& target, const rt::TRect& source, bool hot, bool down);
    // The direction of the cross-fade: towards the hot image while this holds.
    virtual bool FadesToHot() const { return mouseInside_; }
    // Whether the skin object lets the button cross-fade.
    virtual bool CanMorph() const { return this->skinIndex_ != -1 && btn_.Morphing; }
    // Whether entering or leaving changes the look; a down member of a group keeps its look.
    virtual bool HoverShows() const { return !(groupIndex_ != 0 && down_); }
    // Whether the button stays hot when the mouse leaves it.
    virtual bool StaysHotOnLeave() const { return false; }
    // OnClick, or the action when no OnClick is set.
    void RunClickHandlers();

    // A change of the hot state: start the cross-fade, or repaint when there is none.
    void FadeRequest();
    void StopFade();
    void SetMorphFactorOne() {
        if (btn_.Morphing) morphStep_ = 10;
    }
    void StartRepeat();
    void StopRepeat();

    // The state machine of the left mouse button and of the pointer entering and leaving. The
    // press runs after the class library's handling (OnMouseDown); each button calls
    // LeftRelease from its MouseUp, before (push button) or after (speed button) OnMouseUp.
    void LeftPress();
    void LeftRelease();
    virtual void PointerEntered();
    virtual void PointerLeft();

    void MouseDown(rt::TMouseButton button, rt::TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    // While the left button is held the window system keeps the mouse for us and reports no
    // leaving: the moves tell when the pointer crosses the edge.
    void MouseMove(rt::TShiftState shift, int x, int y) override;
    void EnabledChanged() override;
    void TextChanged() override { this->Invalidate(); }
    void Notification(rt::TComponent* component, rt::TOperation operation) override;

    TskButtonSkinValues btn_;
    bool mouseInside_ = false;
    bool wasDownAtPress_ = false;
    bool leftPressed_ = false;
    int morphStep_ = 0;
    bool down_ = false;

private:
    void MorphTick();
    void ReleaseGroup();

    int groupIndex_ = 0;
    rt::TBitmap glyph_;
    int numGlyphs_ = 2;
    int margin_ = -1;
    int spacing_ = 1;
    TskButtonLayout layout_ = blGlyphLeft;
    rt::TAction* action_ = nullptr;
    std::unique_ptr<rt::TTimer> morphTicker_;
    std::unique_ptr<rt::TTimer> repeatTimer_;
};

extern template class TskButtonControlT<TskSkinCustomControl>;
extern template class TskButtonControlT<TskGraphicSkinCustomControl>;

}  // namespace sk
