#include "skin/controls/skSkinComboBox.h"

#include <algorithm>

#include "skin/data/skUtils.h"

namespace sk {

namespace {

constexpr int kDefaultBarWidth = 19;

rt::TColor PictureColor(const rt::TBitmap& picture, int x, int y, rt::TColor fallback) {
    if (x < 0 || y < 0 || x >= picture.Width() || y >= picture.Height()) return fallback;
    return rt::PixelToColor(picture.ScanLine(y)[x]);
}

}  // namespace

TskSkinComboBox::TskSkinComboBox(rt::TComponent* owner)
    : rt::TCustomComboBox(owner), defaultFont_(MakeSkinFont("Arial", 14, 0, rt::clWindowText)) {
    SetFont(defaultFont_);
    bar_ = new TskSkinScrollBar(ListWindow());
    bar_->SetKind(sbVertical);
    bar_->SetSkinDataName(ScrollBarSkinDataName);
    bar_->SetBounds(0, 0, kDefaultBarWidth, 100);
    bar_->SetParent(ListWindow());
    bar_->Hide();
    bar_->OnChange = [this](rt::TComponent*) { SetTopIndex(bar_->Position()); };
    SetBounds(Left(), Top(), Width(), defaultHeight_);
}

TskSkinComboBox::~TskSkinComboBox() {
    if (skinData_ != nullptr) RemoveFreeNotification(skinData_);
}

void TskSkinComboBox::SetSkinData(TskSkinData* value) {
    if (skinData_ != nullptr && skinData_ != value) RemoveFreeNotification(skinData_);
    skinData_ = value;
    if (skinData_ != nullptr) FreeNotification(skinData_);
    bar_->SetSkinData(value);
    if (skinData_ != nullptr && !skinData_->Empty()) ApplySkin();
}

void TskSkinComboBox::SetSkinDataName(const std::string& value) {
    skinDataName_ = value;
    if (skinData_ != nullptr && !skinData_->Empty()) ApplySkin();
}

void TskSkinComboBox::Notification(rt::TComponent* component, rt::TOperation operation) {
    rt::TCustomComboBox::Notification(component, operation);
    if (operation == rt::TOperation::opRemove && component != nullptr &&
        component == static_cast<rt::TComponent*>(skinData_)) {
        skinData_ = nullptr;
        DropSkinObject();
    }
}

void TskSkinComboBox::SetDefaultFont(const rt::TFont& value) {
    defaultFont_ = value;
    if (skinIndex_ == -1 || !useSkinFont_) {
        SetFont(defaultFont_);
        UpdateItemHeight();
    }
}

void TskSkinComboBox::SetUseSkinFont(bool value) {
    useSkinFont_ = value;
    if (skinData_ != nullptr && !skinData_->Empty()) ApplySkin();
}

void TskSkinComboBox::SetDefaultHeight(int value) {
    defaultHeight_ = value;
    if (skinIndex_ == -1 && value > 0) SetHeight(value);
}

TskSkinScrollBar* TskSkinComboBox::ListScrollBar() const {
    return DroppedDown() && bar_->Visible() ? bar_ : nullptr;
}

void TskSkinComboBox::DropSkinObject() {
    skinIndex_ = -1;
    picture_ = nullptr;
    held_.reset();
}

void TskSkinComboBox::FindSkinObject() {
    DropSkinObject();
    if (skinData_ == nullptr || skinData_->Empty()) return;
    const int index = skinData_->GetControlIndex(skinDataName_);
    if (index < 0 || std::size_t(index) >= skinData_->Skin().CtrlList.size()) return;
    held_ = skinData_->Share();
    const auto* d = dynamic_cast<const TskDataSkinComboBox*>(held_->Control(index));
    if (d == nullptr || d->SkinRect.IsEmpty()) return;
    skinIndex_ = index;
    picture_ = held_->ActivePicture(d->PictureIndex);
    skinRect_ = d->SkinRect;
    clientRect_ = d->Corners.Client;
    leftWidth_ = std::clamp(d->Corners.LeftTop.X, 0, skinRect_.Width());
    rightWidth_ = std::clamp(skinRect_.Width() - d->Corners.RightTop.X, 0, skinRect_.Width());
    itemRect_ = d->ItemRect;
    focusItemRect_ = d->FocusItemRect.IsEmpty() ? d->ItemRect : d->FocusItemRect;
    itemTextRect_ = d->ItemTextRect;
    itemLeftOffset_ = std::max(0, d->ItemLeftOffset);
    itemRightOffset_ = std::max(0, d->ItemRightOffset);
    font_ = d->Font;
    buttonRect_ = d->ButtonRect;
    activeButtonRect_ = d->ActiveButtonRect;
    downButtonRect_ = d->DownButtonRect.IsEmpty() ? d->ActiveButtonRect : d->DownButtonRect;
    unEnabledButtonRect_ = d->UnEnabledButtonRect;
}

void TskSkinComboBox::UpdateItemHeight() {
    if (Skinned() && itemRect_.Height() > 0) {
        SetItemHeight(itemRect_.Height());
        return;
    }
    rt::TBitmap probe(1, 1);
    probe.Canvas().Font = Font();
    SetItemHeight(probe.Canvas().TextHeight("Ag") + 4);
}

void TskSkinComboBox::ApplySkin() {
    SetDroppedDown(false);
    FindSkinObject();
    bar_->SetSkinData(skinData_);
    if (skinIndex_ == -1) {
        SetFont(defaultFont_);
        if (defaultHeight_ > 0) SetBounds(Left(), Top(), Width(), defaultHeight_);
    } else {
        SetBounds(Left(), Top(), Width(), skinRect_.Height());
        SetFont(useSkinFont_ ? font_.MakeFont() : defaultFont_);
    }
    UpdateItemHeight();
    Invalidate();
}

void TskSkinComboBox::SetBounds(int left, int top, int width, int height) {
    if (skinIndex_ != -1 && skinData_ != nullptr && !skinData_->Empty())
        height = skinRect_.Height();
    rt::TCustomComboBox::SetBounds(left, top, width, height);
}

void TskSkinComboBox::WndProc(rt::TMessage& m) {
    switch (m.Msg) {
        case rt::WM_MOUSEMOVE: {
            const bool hot = ButtonRect().Contains(rt::LParamToPoint(m.LParam));
            if (hot != buttonHot_) {
                buttonHot_ = hot;
                Invalidate();
            }
            break;
        }
        case rt::CM_MOUSELEAVE:
            if (buttonHot_) {
                buttonHot_ = false;
                Invalidate();
            }
            break;
        case rt::WM_PAINT:
            FindSkinObject();
            break;
        default:
            break;
    }
    rt::TCustomComboBox::WndProc(m);
}

rt::TRect TskSkinComboBox::ButtonRect() const {
    if (!Skinned()) return rt::TCustomComboBox::ButtonRect();
    rt::TRect r = buttonRect_;
    const int sw = skinRect_.Width();
    if (r.Left >= sw - rightWidth_)
        r = rt::Bounds(r.Left + Width() - sw, r.Top, r.Width(), r.Height());
    return r;
}

rt::TRect TskSkinComboBox::BoxItemRect() const {
    if (!Skinned()) return rt::TCustomComboBox::BoxItemRect();
    rt::TRect r = clientRect_;
    r.Right += Width() - skinRect_.Width();
    return r;
}

rt::TRect TskSkinComboBox::ListItemsRect() const {
    const rt::TComboListWindow* list = ListWindow();
    rt::TRect r = rt::Rect(1, 1, list->Width() - 1, list->Height() - 1);
    if (bar_->Visible()) r.Right = std::max(r.Left, bar_->Left());
    return r;
}

rt::TColor TskSkinComboBox::ListFontColor() const {
    return Skinned() ? font_.Color : rt::TCustomComboBox::ListFontColor();
}

rt::TColor TskSkinComboBox::HighlightFontColor() const {
    return Skinned() ? font_.FocusColor : rt::TCustomComboBox::HighlightFontColor();
}

void TskSkinComboBox::ListOpened() {
    rt::TComboListWindow* list = ListWindow();
    const bool needed = ItemCount() > VisibleItemCount();
    if (!needed) {
        bar_->Hide();
        return;
    }
    const int h = list->Height() - 2;
    bar_->SetBounds(0, 1, kDefaultBarWidth, h);
    bar_->SetBounds(list->Width() - 1 - bar_->Width(), 1, bar_->Width(), h);
    bar_->SetSmallChange(1);
    bar_->SetLargeChange(VisibleItemCount());
    bar_->SetRange(0, ItemCount() - 1, VisibleItemCount(), TopIndex());
    bar_->Show();
}

void TskSkinComboBox::ListClosed() { bar_->Hide(); }

void TskSkinComboBox::ListScrolled() {
    if (bar_->Visible()) bar_->SetRange(0, ItemCount() - 1, VisibleItemCount(), TopIndex());
}

void TskSkinComboBox::DrawItemStrip(rt::TCanvas& c, const rt::TRect& piece,
                                    const rt::TRect& r) const {
    if (picture_ == nullptr || piece.IsEmpty() || r.IsEmpty()) return;
    rt::TBitmap strip;
    CreateHSkinImage(itemLeftOffset_, itemRightOffset_, strip, r.Width(), piece, *picture_);
    if (strip.Empty()) return;
    c.CopyRect(r, strip, rt::Rect(0, 0, strip.Width(), strip.Height()));
}

void TskSkinComboBox::DrawItem(rt::TCanvas& c, int index, const rt::TRect& r,
                               rt::TOwnerDrawState state) {
    if (!Skinned()) {
        rt::TCustomComboBox::DrawItem(c, index, r, state);
        return;
    }
    const bool selected = (state & rt::odSelected) != 0;
    const bool inBox = (state & rt::odComboBoxEdit) != 0;
    // In the box the strip already shows the item's ground; the list paints every item.
    if (selected || !inBox) DrawItemStrip(c, selected ? focusItemRect_ : itemRect_, r);
    c.Font = Font();
    c.Font.Color = !Enabled() ? rt::clGrayText : selected ? font_.FocusColor : font_.Color;
    c.Brush.Style = rt::TBrushStyle::bsClear;
    if (OnDrawItem) {
        OnDrawItem(this, c, index, r, state);
        return;
    }
    if (index < 0 || index >= ItemCount()) return;
    rt::TRect tr = rt::Rect(r.Left + 2, r.Top, r.Right - 2, r.Bottom);
    if (!itemTextRect_.IsEmpty() && !inBox) {
        const int rightMargin = std::max(0, itemRect_.Width() - itemTextRect_.Right);
        tr = rt::Rect(r.Left + itemTextRect_.Left, r.Top + itemTextRect_.Top, r.Right - rightMargin,
                      r.Top + itemTextRect_.Bottom);
    }
    c.DrawText(Item(index), tr, rt::DT_LEFT | rt::DT_VCENTER | rt::DT_SINGLELINE | rt::DT_NOPREFIX);
}

void TskSkinComboBox::PaintBox(rt::TCanvas& c) {
    if (!Skinned()) {
        rt::TCustomComboBox::PaintBox(c);
        return;
    }
    const int w = Width(), h = Height();
    rt::TBitmap strip;
    CreateHSkinImage(leftWidth_, rightWidth_, strip, w, skinRect_, *picture_);
    if (strip.Height() < h) {
        c.Brush.Style = rt::TBrushStyle::bsSolid;
        c.Brush.Color = rt::clBtnFace;
        c.FillRect(rt::Rect(0, 0, w, h));
    }
    c.Draw(0, 0, strip);
    const rt::TRect b = ButtonRect();
    const rt::TRect* src = nullptr;
    if (!Enabled() && !unEnabledButtonRect_.IsEmpty())
        src = &unEnabledButtonRect_;
    else if (DroppedDown() && !downButtonRect_.IsEmpty())
        src = &downButtonRect_;
    else if (buttonHot_ && Enabled() && !activeButtonRect_.IsEmpty())
        src = &activeButtonRect_;
    if (src != nullptr)
        c.CopyRect(rt::Bounds(b.Left, b.Top, src->Width(), src->Height()), *picture_, *src);
    const bool focus = Focused() && !DroppedDown();
    DrawItem(c, ItemIndex(), BoxItemRect(),
             rt::TOwnerDrawState(rt::odComboBoxEdit) |
                 (focus ? unsigned(rt::odSelected | rt::odFocused) : 0u));
}

void TskSkinComboBox::PaintList(rt::TCanvas& c, const rt::TRect& client) {
    if (!Skinned()) {
        rt::TCustomComboBox::PaintList(c, client);
        return;
    }
    // The list's ground is the item strip's middle colour, its border the box's left edge.
    const rt::TColor ground = PictureColor(*picture_, itemRect_.Left + itemRect_.Width() / 2,
                                           itemRect_.Top + itemRect_.Height() / 2, rt::clWindow);
    const rt::TColor border = PictureColor(*picture_, skinRect_.Left,
                                           skinRect_.Top + skinRect_.Height() / 2, rt::clBlack);
    c.Brush.Style = rt::TBrushStyle::bsSolid;
    c.Brush.Color = ground;
    c.FillRect(client);
    const rt::TRect items = ListItemsRect();
    c.SetClipRect(items);
    for (int i = TopIndex(), y = items.Top; i < ItemCount() && y < items.Bottom;
         ++i, y += ItemHeight())
        DrawItem(c, i, rt::Rect(items.Left, y, items.Right, y + ItemHeight()),
                 i == ListHighlight() ? rt::TOwnerDrawState(rt::odSelected) : 0u);
    c.ClearClip();
    c.Brush.Style = rt::TBrushStyle::bsSolid;
    c.Brush.Color = border;
    c.FrameRect(client);
}

}  // namespace sk
