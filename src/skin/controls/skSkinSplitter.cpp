#include "skin/controls/skSkinSplitter.h"

#include "skin/data/skUtils.h"

namespace sk {

TskSkinSplitter::TskSkinSplitter(rt::TComponent* owner) : rt::TSplitter(owner) {
    SetWidth(defaultSize_);
}

TskSkinSplitter::~TskSkinSplitter() {
    if (skinData_ != nullptr) RemoveFreeNotification(skinData_);
}

void TskSkinSplitter::SetSkinData(TskSkinData* value) {
    if (skinData_ != nullptr && skinData_ != value) RemoveFreeNotification(skinData_);
    skinData_ = value;
    if (skinData_ != nullptr) FreeNotification(skinData_);
    ApplySkin();
}

void TskSkinSplitter::SetSkinDataName(const std::string& name) {
    skinDataName_ = name;
    ApplySkin();
}

void TskSkinSplitter::SetDefaultSize(int value) {
    defaultSize_ = value;
    if (skinIndex_ == -1) ApplySkin();
}

void TskSkinSplitter::FindSkinObject() {
    held_.Refresh(skinData_, skinDataName_);
    skinIndex_ = held_.Index();
    picture_ = nullptr;
    if (skinIndex_ == -1) return;
    auto* obj = dynamic_cast<const TskDataSkinSplitterControl*>(held_.Description());
    // Another kind of description, or one without a picture area, gives no thickness.
    if (obj == nullptr || obj->SkinRect.IsEmpty()) {
        skinIndex_ = -1;
        return;
    }
    picture_ = held_.Picture(obj->PictureIndex);
    skinRect_ = obj->SkinRect;
    corners_ = obj->Corners;
}

void TskSkinSplitter::ApplySkin() {
    FindSkinObject();
    const bool across = Align() == rt::TAlign::alTop || Align() == rt::TAlign::alBottom;
    const bool along = Align() == rt::TAlign::alLeft || Align() == rt::TAlign::alRight;
    if (across) {
        const int size = skinIndex_ == -1 ? defaultSize_ : skinRect_.Height();
        MinSize = size;
        SetHeight(size);
    } else if (along) {
        const int size = skinIndex_ == -1 ? defaultSize_ : skinRect_.Width();
        MinSize = size;
        SetWidth(size);
    }
    Invalidate();
}

void TskSkinSplitter::Paint(rt::TCanvas& canvas) {
    if (Width() <= 0 || Height() <= 0) return;
    FindSkinObject();
    const rt::TAlign a = Align();
    if (skinIndex_ == -1 || picture_ == nullptr || a == rt::TAlign::alNone ||
        a == rt::TAlign::alClient) {
        rt::TSplitter::Paint(canvas);
        return;
    }
    rt::TBitmap image;
    if (a == rt::TAlign::alTop || a == rt::TAlign::alBottom)
        CreateHSkinImage(corners_.LeftTop.X, skinRect_.Width() - corners_.RightTop.X, image,
                         Width(), skinRect_, *picture_);
    else
        CreateVSkinImage(corners_.LeftTop.Y, skinRect_.Height() - corners_.LeftBottom.Y, image,
                         Height(), skinRect_, *picture_);
    canvas.Draw(0, 0, image);
}

void TskSkinSplitter::Notification(rt::TComponent* component, rt::TOperation operation) {
    rt::TSplitter::Notification(component, operation);
    if (operation == rt::TOperation::opRemove && component != nullptr &&
        component == static_cast<rt::TComponent*>(skinData_)) {
        skinData_ = nullptr;
        skinIndex_ = -1;
        picture_ = nullptr;
    }
}

TskSkinBevel::TskSkinBevel(rt::TComponent* owner) : rt::TBevel(owner) {}

TskSkinBevel::~TskSkinBevel() {
    if (skinData_ != nullptr) RemoveFreeNotification(skinData_);
}

void TskSkinBevel::SetSkinData(TskSkinData* value) {
    if (skinData_ != nullptr && skinData_ != value) RemoveFreeNotification(skinData_);
    skinData_ = value;
    if (skinData_ != nullptr) FreeNotification(skinData_);
    ApplySkin();
}

void TskSkinBevel::SetSkinDataName(const std::string& name) {
    skinDataName_ = name;
    ApplySkin();
}

void TskSkinBevel::SetDividerMode(bool value) {
    dividerMode_ = value;
    Invalidate();
}

void TskSkinBevel::ApplySkin() {
    held_.Refresh(skinData_, skinDataName_);
    skinIndex_ = held_.Index();
    if (skinIndex_ == -1) {
        highlightTone_ = rt::clBtnHighlight;
        shadowTone_ = rt::clBtnShadow;
    } else if (auto* obj = dynamic_cast<const TskDataSkinBevel*>(held_.Description())) {
        highlightTone_ = obj->LightColor;
        shadowTone_ = obj->DarkColor;
    }
    Invalidate();
}

void TskSkinBevel::Paint(rt::TCanvas& canvas) {
    PaintParentBackground(canvas);
    if (!dividerMode_) {
        PaintShape(canvas, highlightTone_, shadowTone_);
        return;
    }
    const bool lowered = Style() == rt::TBevelStyle::bsLowered;
    const rt::TColor first = lowered ? shadowTone_ : highlightTone_;
    const rt::TColor second = lowered ? highlightTone_ : shadowTone_;
    const int w = Width(), h = Height();
    switch (Shape()) {
        case rt::TBevelShape::bsTopLine:
        case rt::TBevelShape::bsBottomLine:
            rt::DrawBevelFrame(canvas, rt::Rect(2, h / 2 - 1, w - 2, h / 2), first, second);
            break;
        case rt::TBevelShape::bsSpacer:
            break;
        default:
            rt::DrawBevelFrame(canvas, rt::Rect(w / 2 - 1, 2, w / 2, h - 2), first, second);
            break;
    }
}

void TskSkinBevel::Notification(rt::TComponent* component, rt::TOperation operation) {
    rt::TBevel::Notification(component, operation);
    if (operation == rt::TOperation::opRemove && component != nullptr &&
        component == static_cast<rt::TComponent*>(skinData_)) {
        skinData_ = nullptr;
        skinIndex_ = -1;
    }
}

}  // namespace sk
