#pragma once
// The skinned control bases. Each control holds the skin it paints from (TskHeldSkin: the
// loaded skin, shared and read-only) and its own description there, fits the description's
// picture to its own size and paints through one off-screen buffer; without a description it
// paints its default look. Two families share the code through class templates: windowed
// controls (TskSkinControl, TskSkinCustomControl, with a window region from the mask picture)
// and window-less ones (TskGraphicSkinControl, TskGraphicSkinCustomControl).
//
// Writing a new skinned control:
//  - derive from one of the four bases and give it a description name (SetSkinDataName);
//  - override FindSkinObject: call the base, then, when SkinIndex() != -1, read what you need
//    from `dynamic_cast<const TskDataSkinXxx*>(SkinObject())` (another kind under your name:
//    set skinIndex_ = -1 and paint the default look). Pictures come from ActivePicture(i).
//    The base looks the description up by name only when the skin data object has published
//    another skin, so calling FindSkinObject at the start of every paint costs nothing;
//  - pointers into SkinObject() and the pictures stay valid while the control holds the skin,
//    that is until its next FindSkinObject: nothing needs forgetting before a skin change, and
//    a control never reads TskSkinData's current skin directly while it paints;
//  - override ApplySkin (call the base first) for what a change must redo: sizes, fonts,
//    layout. The form calls it for every skinned control of its tree after each change of a
//    skin data object it uses (skin/controls/skSkinWalk.h); a control needs no subscription
//    of its own.

#include <optional>
#include <string>

#include "runtime/Controls.h"
#include "runtime/Graphics.h"
#include "skin/data/skHeldSkin.h"
#include "skin/data/skSkinData.h"
#include "skin/data/skUtils.h"

namespace sk {

// How a skin picture is fitted to a control.
enum TskSizingMode { smNone = -1, smFixed = 0, smBoth = 1, smHorizontal = 2, smVertical = 3 };

// What the skin-change walk needs of every skinned element.
class TskSkinnable {
public:
    virtual ~TskSkinnable() = default;
    virtual TskSkinData* SkinData() const = 0;
    // Takes the new skin, refits and repaints (after a change).
    virtual void ApplySkin() = 0;
};

template <class Base>
class TskSkinControlT : public Base, public TskSkinnable {
public:
    explicit TskSkinControlT(rt::TComponent* owner);
    ~TskSkinControlT() override;

    TskSkinData* SkinData() const override { return skinData_; }
    // Stores the reference and, when a skin is loaded, applies it at once.
    virtual void SetSkinData(TskSkinData* value);
    const std::string& SkinDataName() const { return skinDataName_; }
    void SetSkinDataName(const std::string& name);
    // Index of the skin object in the held skin's CtrlList; -1 without one.
    int SkinIndex() const { return skinIndex_; }
    // The looked-up description in the held skin, or null.
    const TskDataSkinControl* SkinObject() const;

    rt::TNotifyEvent OnMouseEnter;
    rt::TNotifyEvent OnMouseLeave;

    // Takes the skin data object's skin when it has published another one since the last
    // call; subclasses read their description's fields here.
    virtual void FindSkinObject();
    void ApplySkin() override;

    void WndProc(rt::TMessage& message) override;

protected:
    // Looks the skin object up and paints into a buffer of the control's size, with or
    // without the skin, then copies the buffer to the canvas.
    void Paint(rt::TCanvas& canvas) override;
    virtual void PaintDefault(rt::TBitmap& buffer);
    virtual void PaintSkinned(rt::TBitmap& buffer);
    // Runs after the lookup of every paint, before the buffer is painted.
    virtual void PrepareSkinPaint() {}
    void Notification(rt::TComponent* component, rt::TOperation operation) override;
    void MouseEnter() override;
    void MouseLeave() override;
    const TskHeldSkin& HeldSkin() const { return held_; }

    int skinIndex_ = -1;
    std::string skinDataName_;

private:
    TskSkinData* skinData_ = nullptr;
    TskHeldSkin held_;
};

template <class Base>
class TskSkinCustomControlT : public Base {
public:
    explicit TskSkinCustomControlT(rt::TComponent* owner);

    // Size taken when the skin has no object for the control; 0 leaves the size alone.
    int DefaultWidth() const { return defaultWidth_; }
    void SetDefaultWidth(int value);
    int DefaultHeight() const { return defaultHeight_; }
    void SetDefaultHeight(int value);
    const rt::TFont& DefaultFont() const { return defaultFont_; }
    void SetDefaultFont(const rt::TFont& font);
    bool UseSkinFont() const { return useSkinFont_; }
    void SetUseSkinFont(bool value);

    TskSizingMode SizingMode() const { return sizingMode_; }
    const rt::TRect& SkinRect() const { return skinRect_; }
    const rt::TRect& SkinClientRect() const { return corners_.Client; }
    const TskCornerSet& FitCorners() const { return fit_; }
    const rt::TRect& FitClientRect() const { return fit_.Client; }
    const rt::TBitmap* SkinBitmap() const { return skinBitmap_; }

    // A rectangle in skin-rect coordinates mapped to control coordinates for the current size.
    rt::TRect MapSkinRect(const rt::TRect& r) const;

    void FindSkinObject() override;
    void ApplySkin() override;
    // Fits the requested size to the skin object when one is found.
    void SetBounds(int left, int top, int width, int height) override;
    // Adjusts width and height to the sizing mode and computes the fitted geometry for them.
    virtual void FitSize(int& width, int& height);

protected:
    virtual void DefaultFontChanged() {}
    // Shapes the window from the mask picture; window-less controls have no shape.
    virtual void UpdateRegion() {}
    void PaintDefault(rt::TBitmap& buffer) override;
    void PaintSkinned(rt::TBitmap& buffer) override;
    void PrepareSkinPaint() override;
    // Composes `source` of the skin picture into target for the control's current size, with
    // the sizing mode and points of the skin object (background and state images).
    void ComposeSkinImage(rt::TBitmap& target, const rt::TRect& source) const;
    // The held skin's active picture at index, or null when there is none.
    const rt::TBitmap* ActivePicture(int index) const { return this->HeldSkin().Picture(index); }

    const rt::TBitmap* skinBitmap_ = nullptr;
    rt::TRect skinRect_;
    TskCornerSet corners_;  // of the skin object's picture piece
    TskSizingMode sizingMode_ = smNone;
    TskCornerSet fit_;  // corners_ fitted to the control's size

private:
    int defaultWidth_ = 0;
    int defaultHeight_ = 0;
    rt::TFont defaultFont_;
    bool useSkinFont_ = true;
};

// Windowed bases: own widget, focus, window region.
class TskSkinControl : public TskSkinControlT<rt::TCustomControl> {
public:
    using TskSkinControlT::TskSkinControlT;
};

class TskSkinCustomControl : public TskSkinCustomControlT<TskSkinControl> {
public:
    explicit TskSkinCustomControl(rt::TComponent* owner);
    ~TskSkinCustomControl() override;

    const rt::TBitmap* SkinMask() const { return skinMask_; }
    // The window region currently set, if any.
    const std::optional<rt::TRegion>& ControlRegion() const { return controlRegion_; }

    void FindSkinObject() override;

protected:
    void UpdateRegion() override;

private:
    const rt::TBitmap* skinMask_ = nullptr;
    std::optional<rt::TRegion> controlRegion_;
};

// Window-less bases: painted as opaque controls without focus or region.
class TskGraphicSkinControl : public TskSkinControlT<rt::TGraphicControl> {
public:
    using TskSkinControlT::TskSkinControlT;
};

class TskGraphicSkinCustomControl : public TskSkinCustomControlT<TskGraphicSkinControl> {
public:
    using TskSkinCustomControlT::TskSkinCustomControlT;
};

extern template class TskSkinControlT<rt::TCustomControl>;
extern template class TskSkinControlT<rt::TGraphicControl>;
extern template class TskSkinCustomControlT<TskSkinControl>;
extern template class TskSkinCustomControlT<TskGraphicSkinControl>;

// The default look's face of a button or any part that can be pressed: a one-pixel frame and a
// fill, pressed (navy frame, dark fill), hot (navy frame, light fill) or idle (shadow frame,
// button face).
void PaintDefaultButtonFace(rt::TCanvas& canvas, const rt::TRect& r, bool pressed, bool hot);

// nearest(x): rounded to the nearest integer, halves to the even neighbour.
int RoundEven(double x);

}  // namespace sk
