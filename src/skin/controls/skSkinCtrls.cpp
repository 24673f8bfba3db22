#include "skin/controls/skSkinCtrls.h"

#include <algorithm>
#include <cmath>

#include "skin/data/skUtils.h"

namespace sk {

int RoundEven(double x) { return int(std::nearbyint(x)); }

void PaintDefaultButtonFace(rt::TCanvas& c, const rt::TRect& r, bool pressed, bool hot) {
    c.Brush.Style = rt::TBrushStyle::bsSolid;
    c.Brush.Color = pressed ? rt::kDefaultPressed : hot ? rt::kDefaultHot : rt::clBtnFace;
    c.FillRect(r);
    c.Brush.Color = pressed || hot ? rt::kDefaultFrame : rt::clBtnShadow;
    c.FrameRect(r);
    // A bevel inside the frame: raised at rest and under the mouse, sunken while pressed.
    if (r.Width() > 4 && r.Height() > 4) {
        const rt::TRect in = rt::Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        if (pressed)
            DrawFrame3D(c, in, rt::clBtnShadow, rt::kDefaultPressed);
        else
            DrawFrame3D(c, in, rt::clBtnHighlight, rt::clBtnShadow);
    }
}

template <class Base>
TskSkinControlT<Base>::TskSkinControlT(rt::TComponent* owner) : Base(owner) {}

template <class Base>
TskSkinControlT<Base>::~TskSkinControlT() {
    if (skinData_ != nullptr) this->RemoveFreeNotification(skinData_);
}

template <class Base>
void TskSkinControlT<Base>::SetSkinData(TskSkinData* value) {
    if (skinData_ != nullptr && skinData_ != value) this->RemoveFreeNotification(skinData_);
    skinData_ = value;
    if (skinData_ != nullptr) this->FreeNotification(skinData_);
    if (skinData_ != nullptr && !skinData_->Empty()) ApplySkin();
}

template <class Base>
void TskSkinControlT<Base>::SetSkinDataName(const std::string& name) {
    skinDataName_ = name;
    if (skinData_ != nullptr && !skinData_->Empty()) ApplySkin();
}

template <class Base>
const TskDataSkinControl* TskSkinControlT<Base>::SkinObject() const {
    return skinIndex_ < 0 ? nullptr : held_.Description();
}

template <class Base>
void TskSkinControlT<Base>::FindSkinObject() {
    held_.Refresh(skinData_, skinDataName_);
    skinIndex_ = held_.Index();
}

template <class Base>
void TskSkinControlT<Base>::ApplySkin() {
    FindSkinObject();
    this->Invalidate();
}

template <class Base>
void TskSkinControlT<Base>::WndProc(rt::TMessage& m) {
    // The buffered paint covers every pixel: erasing first would only flicker.
    if (m.Msg == rt::WM_ERASEBKGND) {
        m.Result = 1;
        return;
    }
    Base::WndProc(m);
}

template <class Base>
void TskSkinControlT<Base>::Paint(rt::TCanvas& canvas) {
    const int w = this->Width(), h = this->Height();
    if (w <= 0 || h <= 0) return;
    FindSkinObject();
    PrepareSkinPaint();
    rt::TBitmap buffer(w, h);
    if (skinIndex_ == -1)
        PaintDefault(buffer);
    else
        PaintSkinned(buffer);
    canvas.Draw(0, 0, buffer);
}

template <class Base>
void TskSkinControlT<Base>::PaintDefault(rt::TBitmap& buffer) {
    rt::TCanvas& c = buffer.Canvas();
    c.Brush.Color = rt::clBtnFace;
    c.Brush.Style = rt::TBrushStyle::bsSolid;
    c.FillRect(rt::Rect(0, 0, buffer.Width(), buffer.Height()));
}

template <class Base>
void TskSkinControlT<Base>::PaintSkinned(rt::TBitmap& buffer) {
    PaintDefault(buffer);
}

template <class Base>
void TskSkinControlT<Base>::Notification(rt::TComponent* component, rt::TOperation operation) {
    Base::Notification(component, operation);
    if (operation == rt::TOperation::opRemove && component != nullptr &&
        component == static_cast<rt::TComponent*>(skinData_)) {
        skinData_ = nullptr;
        skinIndex_ = -1;
    }
}

template <class Base>
void TskSkinControlT<Base>::MouseEnter() {
    Base::MouseEnter();
    if (OnMouseEnter) OnMouseEnter(this);
}

template <class Base>
void TskSkinControlT<Base>::MouseLeave() {
    Base::MouseLeave();
    if (OnMouseLeave) OnMouseLeave(this);
}

template <class Base>
TskSkinCustomControlT<Base>::TskSkinCustomControlT(rt::TComponent* owner)
    : Base(owner), defaultFont_(MakeSkinFont("Arial", 14, 0, rt::clWindowText)) {}

template <class Base>
void TskSkinCustomControlT<Base>::SetDefaultWidth(int value) {
    defaultWidth_ = value;
    if (this->skinIndex_ == -1 && value > 0) this->SetWidth(value);
}

template <class Base>
void TskSkinCustomControlT<Base>::SetDefaultHeight(int value) {
    defaultHeight_ = value;
    if (this->skinIndex_ == -1 && value > 0) this->SetHeight(value);
}

template <class Base>
void TskSkinCustomControlT<Base>::SetDefaultFont(const rt::TFont& font) {
    defaultFont_ = font;
    DefaultFontChanged();
    if (this->skinIndex_ == -1) this->Invalidate();
}

template <class Base>
void TskSkinCustomControlT<Base>::SetUseSkinFont(bool value) {
    if (useSkinFont_ == value) return;
    useSkinFont_ = value;
    this->Invalidate();
}

template <class Base>
void TskSkinCustomControlT<Base>::FindSkinObject() {
    Base::FindSkinObject();
    if (this->skinIndex_ == -1) {
        skinBitmap_ = nullptr;
        return;
    }
    auto* obj = dynamic_cast<const TskDataSkinCustomControl*>(this->SkinObject());
    if (obj == nullptr) {
        // Another kind of description under our name: nothing to fit or compose from.
        sizingMode_ = smFixed;
        skinBitmap_ = nullptr;
        skinRect_ = rt::TRect{};
        corners_ = TskCornerSet{};
        return;
    }
    corners_ = obj->Corners;
    skinRect_ = obj->SkinRect;
    skinBitmap_ = ActivePicture(obj->PictureIndex);
    if (skinRect_.Width() <= 0 || skinRect_.Height() <= 0)
        sizingMode_ = smNone;
    else if (corners_.RightBottom.X != 0 && corners_.RightBottom.Y != 0)
        sizingMode_ = smBoth;
    else if (corners_.RightTop.X != 0 || corners_.RightTop.Y != 0)
        sizingMode_ = smHorizontal;
    else if (corners_.LeftBottom.X != 0 || corners_.LeftBottom.Y != 0)
        sizingMode_ = smVertical;
    else
        sizingMode_ = smFixed;
}

template <class Base>
void TskSkinCustomControlT<Base>::FitSize(int& width, int& height) {
    if (this->skinIndex_ == -1) return;
    const int sw = skinRect_.Width(), sh = skinRect_.Height();
    const int dx = width - sw, dy = height - sh;
    switch (sizingMode_) {
        case smBoth:
            fit_ = corners_.Grown(dx, dy);
            break;
        case smHorizontal:
            height = sh;
            fit_ = corners_.Grown(dx, 0);
            break;
        case smVertical:
            width = sw;
            fit_ = corners_.Grown(0, dy);
            break;
        case smFixed:
            // An object without a picture area has no size to impose.
            if (sw > 0 && sh > 0) {
                width = sw;
                height = sh;
            }
            fit_.Client = corners_.Client;
            break;
        case smNone:
            break;
    }
}

template <class Base>
void TskSkinCustomControlT<Base>::PrepareSkinPaint() {
    // Refit for the size we paint at, so a paint between the skin-change passes never uses
    // geometry of an earlier object.
    int w = this->Width(), h = this->Height();
    if (this->skinIndex_ != -1) FitSize(w, h);
}

template <class Base>
void TskSkinCustomControlT<Base>::SetBounds(int left, int top, int width, int height) {
    FindSkinObject();
    bool fitted = false;
    if ((width != this->Width() || height != this->Height()) && this->skinIndex_ != -1) {
        FitSize(width, height);
        if (sizingMode_ == smFixed) fit_.Client = corners_.Client;
        fitted = true;
    }
    Base::SetBounds(left, top, width, height);
    if (fitted) {
        UpdateRegion();
        this->Invalidate();
    }
}

template <class Base>
void TskSkinCustomControlT<Base>::ApplySkin() {
    FindSkinObject();
    const int oldW = this->Width(), oldH = this->Height();
    int w = oldW, h = oldH;
    if (this->skinIndex_ == -1) {
        if (defaultWidth_ > 0) w = defaultWidth_;
        if (defaultHeight_ > 0) h = defaultHeight_;
    } else {
        FitSize(w, h);
    }
    if (w != oldW || h != oldH) this->SetBounds(this->Left(), this->Top(), w, h);
    // A fitted size change has shaped and repainted the control on the way through SetBounds.
    if ((w == oldW && h == oldH) || this->skinIndex_ == -1) {
        UpdateRegion();
        this->Invalidate();
    }
}

template <class Base>
void TskSkinCustomControlT<Base>::PaintDefault(rt::TBitmap& buffer) {
    rt::TCanvas& c = buffer.Canvas();
    c.Brush.Color = rt::clBtnFace;
    c.Brush.Style = rt::TBrushStyle::bsSolid;
    c.FillRect(this->ClientRect());
}

template <class Base>
void TskSkinCustomControlT<Base>::ComposeSkinImage(rt::TBitmap& target,
                                                   const rt::TRect& source) const {
    if (skinBitmap_ == nullptr || source.IsEmpty()) return;
    const int sw = skinRect_.Width(), sh = skinRect_.Height();
    const int w = this->Width(), h = this->Height();
    switch (sizingMode_) {
        case smFixed:
            target.SetSize(sw, sh);
            target.Canvas().CopyRect(rt::Rect(0, 0, sw, sh), *skinBitmap_, source);
            break;
        case smHorizontal:
            CreateHSkinImage(corners_.LeftTop.X, sw - corners_.RightTop.X, target, w, source,
                             *skinBitmap_);
            break;
        case smVertical:
            CreateVSkinImage(corners_.LeftTop.Y, sh - corners_.LeftBottom.Y, target, h, source,
                             *skinBitmap_);
            break;
        case smBoth:
            CreateSkinImage(corners_, source, *skinBitmap_, true, target, w, h, fit_);
            break;
        case smNone:
            break;
    }
}

template <class Base>
void TskSkinCustomControlT<Base>::PaintSkinned(rt::TBitmap& buffer) {
    ComposeSkinImage(buffer, skinRect_);
}

namespace {

// Inside with the left and top edges, outside with the right and bottom ones.
bool InZone(rt::TPoint p, const rt::TRect& z) {
    return p.X >= z.Left && p.Y >= z.Top && p.X < z.Right && p.Y < z.Bottom;
}
// Inside with all four edges.
bool InZoneClosed(rt::TPoint p, const rt::TRect& z) {
    return p.X >= z.Left && p.Y >= z.Top && p.X <= z.Right && p.Y <= z.Bottom;
}
bool RectInZone(const rt::TRect& r, const rt::TRect& z) {
    return InZone(rt::Point(r.Left, r.Top), z) && InZone(rt::Point(r.Right, r.Bottom), z);
}

}  // namespace

template <class Base>
rt::TRect TskSkinCustomControlT<Base>::MapSkinRect(const rt::TRect& r) const {
    const int sw = skinRect_.Width(), sh = skinRect_.Height();
    const int dx = this->Width() - sw, dy = this->Height() - sh;
    rt::TRect out = r;
    switch (sizingMode_) {
        case smBoth: {
            const rt::TRect lt = rt::Rect(0, 0, corners_.LeftTop.X, corners_.LeftTop.Y);
            const rt::TRect rtz = rt::Rect(corners_.RightTop.X, 0, sw, corners_.RightTop.Y);
            const rt::TRect lb = rt::Rect(0, corners_.LeftBottom.Y, corners_.LeftBottom.X, sh);
            const rt::TRect rb = rt::Rect(corners_.RightBottom.X, corners_.RightBottom.Y, sw, sh);
            const rt::TPoint tl = rt::Point(r.Left, r.Top), br = rt::Point(r.Right, r.Bottom);
            if (RectInZone(r, lt)) return r;
            if (RectInZone(r, rtz)) return rt::OffsetRect(r, dx, 0);
            if (RectInZone(r, lb)) return rt::OffsetRect(r, 0, dy);
            if (RectInZone(r, rb)) return rt::OffsetRect(r, dx, dy);
            if (InZoneClosed(tl, lt) && InZoneClosed(br, rb)) {
                out.Right += dx;
                out.Bottom += dy;
            } else if (InZoneClosed(tl, lt) && InZoneClosed(br, rtz)) {
                out.Right += dx;
            } else if (InZoneClosed(tl, lb) && InZoneClosed(br, rb)) {
                out.Right += dx;
                out = rt::OffsetRect(out, 0, dy);
            } else if (InZoneClosed(tl, lt) && InZoneClosed(br, lb)) {
                out.Bottom += dy;
            } else if (InZoneClosed(tl, rtz) && InZoneClosed(br, rb)) {
                out = rt::OffsetRect(out, dx, 0);
                out.Bottom += dy;
            }
            return out;
        }
        case smHorizontal:
            if (r.Left <= corners_.LeftTop.X && r.Right >= corners_.RightTop.X)
                out.Right += dx;
            else if (r.Left >= corners_.RightTop.X && r.Right > corners_.RightTop.X)
                out = rt::OffsetRect(out, dx, 0);
            return out;
        case smVertical:
            if (r.Top <= corners_.LeftTop.Y && r.Bottom >= corners_.LeftBottom.Y)
                out.Bottom += dy;
            else if (r.Top >= corners_.LeftBottom.Y && r.Bottom > corners_.LeftBottom.Y)
                out = rt::OffsetRect(out, 0, dy);
            return out;
        case smFixed:
        case smNone:
            return out;
    }
    return out;
}

TskSkinCustomControl::TskSkinCustomControl(rt::TComponent* owner) : TskSkinCustomControlT(owner) {}

TskSkinCustomControl::~TskSkinCustomControl() {
    if (controlRegion_) SetWindowRegion(nullptr);
}

void TskSkinCustomControl::FindSkinObject() {
    TskSkinCustomControlT::FindSkinObject();
    skinMask_ = nullptr;
    if (skinIndex_ == -1) return;
    if (auto* obj = dynamic_cast<const TskDataSkinCustomControl*>(SkinObject()))
        skinMask_ = ActivePicture(obj->MaskPictureIndex);
}

void TskSkinCustomControl::UpdateRegion() {
    if (skinMask_ == nullptr || skinIndex_ == -1) {
        if (controlRegion_) {
            SetWindowRegion(nullptr);
            controlRegion_.reset();
        }
        return;
    }
    const int w = Width(), h = Height();
    const int sw = skinRect_.Width(), sh = skinRect_.Height();
    std::optional<rt::TRegion> region;
    switch (sizingMode_) {
        case smFixed:
            region = CreateRegionFromMask(*skinMask_);
            break;
        case smBoth:
            region = CreateSkinRegion(corners_, *skinMask_, w, h, fit_);
            break;
        case smHorizontal: {
            const rt::TPoint fitRight =
                rt::Point(corners_.RightTop.X + w - sw, corners_.RightTop.Y);
            region = CreateSkinRegion(corners_.LeftTop, corners_.RightTop, corners_.LeftTop,
                                      corners_.RightTop, corners_.Client, *skinMask_, w, h,
                                      corners_.LeftTop, fitRight, corners_.LeftTop, fitRight,
                                      fit_.Client);
            break;
        }
        case smVertical: {
            const rt::TPoint fitBottom =
                rt::Point(corners_.LeftBottom.X, corners_.LeftBottom.Y + h - sh);
            region = CreateSkinRegion(corners_.LeftTop, corners_.LeftTop, corners_.LeftBottom,
                                      corners_.LeftBottom, corners_.Client, *skinMask_, w, h,
                                      corners_.LeftTop, corners_.LeftTop, fitBottom, fitBottom,
                                      fit_.Client);
            break;
        }
        case smNone:
            break;
    }
    if (region) {
        SetWindowRegion(&*region);
        controlRegion_ = std::move(region);
    } else if (controlRegion_) {
        SetWindowRegion(nullptr);
        controlRegion_.reset();
    }
}

template class TskSkinControlT<rt::TCustomControl>;
template class TskSkinControlT<rt::TGraphicControl>;
template class TskSkinCustomControlT<TskSkinControl>;
template class TskSkinCustomControlT<TskGraphicSkinControl>;

}  // namespace sk
