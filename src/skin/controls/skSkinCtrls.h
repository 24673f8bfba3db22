#pragma once
// The skinned control bases. Each control looks its skin object up by name in the skin data
// object, fits the object's picture to its own size and paints through one off-screen buffer;
// without a skin object it paints its default look. Two families share the code through class
// templates: windowed controls (TskSkinControl, TskSkinCustomControl, with a window region from
// the mask picture) and window-less ones (TskGraphicSkinControl, TskGraphicSkinCustomControl).

#include <optional>
#include <string>

#include "runtime/Controls.h"
#include "runtime/Graphics.h"
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
    // Drops the looked-up skin object (before the skin data replaces its contents).
    virtual void ForgetSkinObject() = 0;
    // Looks the skin object up again, refits and repaints (after a change).
    virtual void ApplySkin() = 0;
    // Windowed controls forget their object before a change; window-less ones only re-apply.
    virtual bool ForgetsBeforeSkinChange() const = 0;
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
    // Index of the skin object in the skin data's CtrlList; -1 without one.
    int SkinIndex() const { return skinIndex_; }
    // The looked-up description, or null.
    TskDataSkinControl* SkinObject() const;

    rt::TNotifyEvent OnMouseEnter;
    rt::TNotifyEvent OnMouseLeave;

    virtual void FindSkinObject();
    void ApplySkin() override;
    void ForgetSkinObject() override;
    bool ForgetsBeforeSkinChange() const override { return this->IsWindowed(); }

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

    int skinIndex_ = -1;
    std::string skinDataName_;

private:
    TskSkinData* skinData_ = nullptr;
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
    const rt::TRect& SkinClientRect() const { return clientRect_; }
    rt::TPoint FitLeftTop() const { return fitLeftTop_; }
    rt::TPoint FitRightTop() const { return fitRightTop_; }
    rt::TPoint FitLeftBottom() const { return fitLeftBottom_; }
    rt::TPoint FitRightBottom() const { return fitRightBottom_; }
    const rt::TRect& FitClientRect() const { return fitClientRect_; }
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
    // The skin data's active picture at index, or null when there is none.
    const rt::TBitmap* ActivePicture(int index) const;

    const rt::TBitmap* skinBitmap_ = nullptr;
    rt::TRect skinRect_, clientRect_;
    rt::TPoint leftTopPoint_, rightTopPoint_, leftBottomPoint_, rightBottomPoint_;
    TskSizingMode sizingMode_ = smNone;
    rt::TPoint fitLeftTop_, fitRightTop_, fitLeftBottom_, fitRightBottom_;
    rt::TRect fitClientRect_;

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
    void ForgetSkinObject() override;

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
