#include "skin/controls/skSkinButtonCore.h"

#include <algorithm>

#include "runtime/StdCtrls.h"
#include "skin/data/skEffects.h"
#include "skin/data/skUtils.h"

namespace sk {

namespace {

constexpr int kMorphInterval = 20;

// The caption without "&" marks, and the index in it of the accelerator character (-1: none).
std::string StripWithAccel(const std::string& caption, int& accel) {
    std::string out;
    accel = -1;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) {
            ++i;
            if (caption[i] != '&' && accel < 0) accel = int(out.size());
        }
        out += caption[i];
    }
    return out;
}

// The UTF-8 sequence that starts at s[i].
std::size_t SequenceLength(const std::string& s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    return std::min(n, s.size() - i);
}

}  // namespace

void TskButtonSkinValues::Read(const TskDataSkinButtonControl& d) {
    Font = d.Font;
    ActiveSkinRect = d.ActiveSkinRect.IsEmpty() ? d.SkinRect : d.ActiveSkinRect;
    DownSkinRect = d.DownSkinRect.IsEmpty() ? ActiveSkinRect : d.DownSkinRect;
    DisabledSkinRect = d.DisabledSkinRect;
    Morphing = d.Morphing;
    MorphKind = d.MorphKind;
}

int GlyphImageNumber(bool down, bool hot, bool enabled, int numGlyphs) {
    if (down && hot && numGlyphs > 2) return 3;
    if (hot && numGlyphs > 3) return 4;
    if (enabled || numGlyphs < 2) return 1;
    return 2;
}

TskButtonContent LayoutButtonContent(const rt::TCanvas& c, const rt::TRect& r,
                                     const std::string& caption, int gw, int gh,
                                     TskButtonLayout layout, int margin, int spacing,
                                     bool pressed) {
    const std::string text = rt::StripAccelerators(caption);
    const int tw = text.empty() ? 0 : c.TextWidth(text);
    const int th = c.TextHeight(text);
    const int cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2;
    const int m = margin, s = spacing;
    int gx = 0, gy = 0, tx = 0, ty = 0;
    switch (layout) {
        case blGlyphLeft:
        case blGlyphRight:
            gy = cy - gh / 2;
            ty = cy - th / 2;
            if (layout == blGlyphLeft) {
                gx = m >= 0 ? r.Left + m : cx - (gw + tw + s) / 2;
                tx = m >= 0 ? gx + gw + s : cx + (gw + tw + s) / 2 - tw;
            } else if (m >= 0) {
                gx = r.Right - gw - m;
                tx = gx - s - tw;
            } else {
                tx = cx - (gw + tw + s) / 2;
                gx = cx + (gw + tw + s) / 2 - gw;
            }
            break;
        case blGlyphTop:
        case blGlyphBottom:
            gx = cx - gw / 2;
            tx = cx - tw / 2;
            if (layout == blGlyphTop) {
                gy = m >= 0 ? r.Top + m : cy - (th + gh + s) / 2;
                ty = m >= 0 ? gy + gh + s : cy + (th + gh + s) / 2 - th;
            } else if (m >= 0) {
                gy = r.Bottom - gh - m;
                ty = gy - s - th;
            } else {
                ty = cy - (th + gh + s) / 2;
                gy = cy + (th + gh + s) / 2 - gh;
            }
            break;
    }
    const int d = pressed ? 1 : 0;
    return {rt::Point(gx + d, gy + d), rt::Bounds(tx + d, ty + d, tw + 2, th)};
}

void DrawAccelText(rt::TCanvas& c, const rt::TRect& r, const std::string& caption) {
    int accel = -1;
    const std::string text = StripWithAccel(caption, accel);
    if (text.empty()) return;
    const int x = r.Left + (r.Width() - c.TextWidth(text)) / 2;
    const int y = r.Top + (r.Height() - c.TextHeight(text)) / 2;
    const rt::TBrushStyle keep = c.Brush.Style;
    c.Brush.Style = rt::TBrushStyle::bsClear;
    c.TextOut(x, y, text);
    if (accel >= 0) {
        // The same character again, underlined, over itself.
        const std::string before = text.substr(0, std::size_t(accel));
        const std::string ch = text.substr(std::size_t(accel), SequenceLength(text, accel));
        const rt::TFontStyles style = c.Font.Style;
        c.Font.Style |= rt::fsUnderline;
        c.TextOut(x + c.TextWidth(before), y, ch);
        c.Font.Style = style;
    }
    c.Brush.Style = keep;
}

void DrawButtonContent(rt::TCanvas& c, const rt::TRect& r, const std::string& caption,
                       const rt::TBitmap& glyph, int numGlyphs, int image, TskButtonLayout layout,
                       int margin, int spacing, bool pressed) {
    const int n = std::max(1, numGlyphs);
    const int gw = glyph.Empty() ? 0 : glyph.Width() / n;
    const int gh = glyph.Empty() ? 0 : glyph.Height();
    const TskButtonContent at =
        LayoutButtonContent(c, r, caption, gw, gh, layout, margin, spacing, pressed);
    if (!caption.empty()) DrawAccelText(c, at.TextRect, caption);
    if (!glyph.Empty()) DrawGlyph(c, at.GlyphPos.X, at.GlyphPos.Y, image, n, glyph);
}

rt::TBitmap MorphImages(const rt::TBitmap& normal, const rt::TBitmap& hot, TskMorphKind kind,
                        double k) {
    TskEffectBmp a(normal);
    const TskEffectBmp b(hot);
    switch (kind) {
        case mkDefault:
            a.Morph(b, k);
            break;
        case mkGradient:
            a.MorphGrad(b, k);
            break;
        case mkLeftGradient:
            a.MorphLeftGrad(b, k);
            break;
        case mkRightGradient:
            a.MorphRightGrad(b, k);
            break;
        case mkLeftSlide:
            a.MorphLeftSlide(b, k);
            break;
        case mkRightSlide:
            a.MorphRightSlide(b, k);
            break;
        case mkPush:
            a.MorphPush(b, k);
            break;
    }
    return a.ToBitmap();
}

template <class Base>
TskButtonControlT<Base>::TskButtonControlT(rt::TComponent* owner) : Base(owner) {}

template <class Base>
TskButtonControlT<Base>::~TskButtonControlT() {
    if (action_ != nullptr) this->RemoveFreeNotification(action_);
}

template <class Base>
rt::TTimer* TskButtonControlT<Base>::MorphTicker() const {
    return morphTicker_ && morphTicker_->Enabled() ? morphTicker_.get() : nullptr;
}

template <class Base>
rt::TTimer* TskButtonControlT<Base>::RepeatTimer() const {
    return repeatTimer_ && repeatTimer_->Enabled() ? repeatTimer_.get() : nullptr;
}

template <class Base>
void TskButtonControlT<Base>::SetDown(bool value) {
    down_ = value;
    if (btn_.Morphing) {
        morphStep_ = 10;
        // Coming up fades from the hot image to whatever the button now is.
        if (value)
            StopFade();
        else
            FadeRequest();
    }
    this->Invalidate();
    if (groupIndex_ != 0 && value && !AllowAllUp) ReleaseGroup();
}

template <class Base>
void TskButtonControlT<Base>::ReleaseGroup() {
    rt::TWinControl* parent = this->Parent();
    if (parent == nullptr) return;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* other = dynamic_cast<TskButtonControlT*>(parent->Controls(i));
        if (other != nullptr && other != this && other->groupIndex_ == groupIndex_ && other->down_)
            other->SetDown(false);
    }
}

template <class Base>
void TskButtonControlT<Base>::SetGlyph(const rt::TBitmap& glyph) {
    glyph_ = glyph;
    this->Invalidate();
}

template <class Base>
void TskButtonControlT<Base>::SetNumGlyphs(int value) {
    numGlyphs_ = std::clamp(value, 1, 4);
    this->Invalidate();
}

template <class Base>
void TskButtonControlT<Base>::SetMargin(int value) {
    if (value < -1 || value == margin_) return;
    margin_ = value;
    this->Invalidate();
}

template <class Base>
void TskButtonControlT<Base>::SetSpacing(int value) {
    if (value == spacing_) return;
    spacing_ = value;
    this->Invalidate();
}

template <class Base>
void TskButtonControlT<Base>::SetLayout(TskButtonLayout value) {
    if (value == layout_) return;
    layout_ = value;
    this->Invalidate();
}

template <class Base>
void TskButtonControlT<Base>::SetAction(rt::TAction* action) {
    if (action_ != nullptr && action_ != action) this->RemoveFreeNotification(action_);
    action_ = action;
    if (action_ == nullptr) return;
    this->FreeNotification(action_);
    this->SetCaption(action_->Caption);
}

template <class Base>
void TskButtonControlT<Base>::Notification(rt::TComponent* component, rt::TOperation operation) {
    Base::Notification(component, operation);
    if (operation == rt::TOperation::opRemove && component != nullptr &&
        component == static_cast<rt::TComponent*>(action_))
        action_ = nullptr;
}

template <class Base>
void TskButtonControlT<Base>::RunClickHandlers() {
    if (this->OnClick)
        this->OnClick(this);
    else if (action_ != nullptr)
        action_->Execute();
}

template <class Base>
void TskButtonControlT<Base>::FindSkinObject() {
    Base::FindSkinObject();
    if (this->skinIndex_ == -1) {
        btn_ = TskButtonSkinValues{};
        return;
    }
    if (auto* obj = dynamic_cast<const TskDataSkinButtonControl*>(this->SkinObject())) {
        btn_.Read(*obj);
    } else {
        // Another kind of description under our name: paint the default look.
        btn_ = TskButtonSkinValues{};
        this->skinIndex_ = -1;
    }
}

template <class Base>
void TskButtonControlT<Base>::ApplySkin() {
    StopFade();
    morphStep_ = 0;
    Base::ApplySkin();
    if (CanMorph() && FadesToHot()) morphStep_ = 10;
}

template <class Base>
void TskButtonControlT<Base>::DrawStateImage(rt::TBitmap& target, const rt::TRect& source, bool hot,
                                             bool down) {
    this->ComposeSkinImage(target, source);
    rt::TCanvas& c = target.Canvas();
    const bool enabled = this->Enabled();
    const TskFontState state = !enabled      ? TskFontState::Disabled
                               : down && hot ? TskFontState::Down
                               : hot         ? TskFontState::Active
                                             : TskFontState::Normal;
    c.Font = this->DefaultFont();
    btn_.Font.ApplyTo(c.Font, state, this->UseSkinFont());
    DrawButtonContent(c, this->FitClientRect(), this->Caption(), glyph_, numGlyphs_,
                      GlyphImageNumber(down, hot, enabled, numGlyphs_), layout_, margin_, spacing_,
                      down && hot);
}

template <class Base>
void TskButtonControlT<Base>::FadeRequest() {
    if (!CanMorph()) {
        this->Invalidate();
        return;
    }
    if (!morphTicker_) {
        morphTicker_ = std::make_unique<rt::TTimer>(nullptr);
        morphTicker_->SetEnabled(false);
        morphTicker_->OnTimer = [this](rt::TComponent*) { MorphTick(); };
    }
    if (!morphTicker_->Enabled()) {
        morphTicker_->SetInterval(kMorphInterval);
        morphTicker_->SetEnabled(true);
    }
}

template <class Base>
void TskButtonControlT<Base>::StopFade() {
    if (morphTicker_) morphTicker_->SetEnabled(false);
}

template <class Base>
void TskButtonControlT<Base>::MorphTick() {
    const bool hot = FadesToHot();
    if (!CanMorph()) {
        morphStep_ = hot ? 10 : 0;
        StopFade();
        return;
    }
    if (hot && morphStep_ < 10)
        ++morphStep_;
    else if (!hot && morphStep_ > 0)
        --morphStep_;
    else
        StopFade();
    this->Invalidate();
}

template <class Base>
void TskButtonControlT<Base>::StartRepeat() {
    if (!repeatTimer_) {
        repeatTimer_ = std::make_unique<rt::TTimer>(nullptr);
        repeatTimer_->OnTimer = [this](rt::TComponent*) { this->Click(); };
    }
    // Setting the interval restarts the period from now.
    repeatTimer_->SetEnabled(false);
    repeatTimer_->SetInterval(std::max(1, RepeatInterval));
    repeatTimer_->SetEnabled(true);
}

template <class Base>
void TskButtonControlT<Base>::StopRepeat() {
    if (repeatTimer_) repeatTimer_->SetEnabled(false);
}

template <class Base>
void TskButtonControlT<Base>::LeftPress() {
    leftPressed_ = true;
    if (!down_) {
        mouseInside_ = true;
        SetDown(true);
        if (RepeatMode && groupIndex_ == 0)
            StartRepeat();
        else if (groupIndex_ != 0)
            this->Click();
        wasDownAtPress_ = false;
    } else if (groupIndex_ != 0) {
        wasDownAtPress_ = true;
    }
}

template <class Base>
void TskButtonControlT<Base>::LeftRelease() {
    if (!leftPressed_) return;
    leftPressed_ = false;
    if (groupIndex_ == 0) {
        if (mouseInside_) {
            SetDown(false);
            StopRepeat();
            this->Click();
        } else {
            // Released outside: the button is already drawn up.
            down_ = false;
            StopRepeat();
        }
    } else if (down_ && AllowAllUp && wasDownAtPress_ && mouseInside_) {
        SetDown(false);
        this->Click();
    }
}

template <class Base>
void TskButtonControlT<Base>::WndProc(rt::TMessage& m) {
    // The release handling clicks itself; the generic click on release would click twice.
    if (m.Msg == rt::WM_LBUTTONUP) this->pressed_ = false;
    Base::WndProc(m);
}

template <class Base>
void TskButtonControlT<Base>::MouseDown(rt::TMouseButton button, rt::TShiftState shift, int x,
                                        int y) {
    Base::MouseDown(button, shift, x, y);
    if (button == rt::TMouseButton::mbLeft) LeftPress();
}

template <class Base>
void TskButtonControlT<Base>::PointerEntered() {
    mouseInside_ = true;
    if (HoverShows()) {
        if (down_) {
            SetMorphFactorOne();
            this->Invalidate();
        } else {
            FadeRequest();
        }
    }
    if (down_ && RepeatMode && groupIndex_ == 0) StartRepeat();
}

template <class Base>
void TskButtonControlT<Base>::PointerLeft() {
    if (!StaysHotOnLeave()) mouseInside_ = false;
    if (HoverShows()) FadeRequest();
    if (down_ && RepeatMode && groupIndex_ == 0) StopRepeat();
}

template <class Base>
void TskButtonControlT<Base>::MouseEnter() {
    Base::MouseEnter();
    // The held button has told already, from the moves. A disabled button does not light up
    // under the pointer: it would promise a click that does nothing.
    if (!(leftPressed_ && mouseInside_) && this->Enabled()) PointerEntered();
}

template <class Base>
void TskButtonControlT<Base>::MouseLeave() {
    Base::MouseLeave();
    if (!(leftPressed_ && !mouseInside_)) PointerLeft();
}

template <class Base>
void TskButtonControlT<Base>::MouseMove(rt::TShiftState shift, int x, int y) {
    if (leftPressed_) {
        const bool inside = this->ClientRect().Contains(rt::Point(x, y));
        if (inside && !mouseInside_)
            PointerEntered();
        else if (!inside && mouseInside_)
            PointerLeft();
    }
    Base::MouseMove(shift, x, y);
}

template <class Base>
void TskButtonControlT<Base>::EnabledChanged() {
    Base::EnabledChanged();
    StopFade();
    morphStep_ = 0;
    mouseInside_ = false;
    // A disabled control hears no release: a press in progress ends here, or a held repeat
    // button would go on clicking and come back drawn down.
    if (!this->Enabled() && leftPressed_) {
        leftPressed_ = false;
        StopRepeat();
        if (groupIndex_ == 0) down_ = false;
    }
    this->Invalidate();
}

template class TskButtonControlT<TskSkinCustomControl>;
template class TskButtonControlT<TskGraphicSkinCustomControl>;

}  // namespace sk
