#include "runtime/ComboBox.h"

#include <QString>
#include <algorithm>
#include <chrono>

#include "runtime/Application.h"
#include "runtime/Screen.h"
#include "runtime/StdCtrls.h"

namespace rt {

namespace {

// Characters typed further apart than this start a new search.
constexpr long long kSearchPauseMs = 1000;

long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool IsMouseDown(unsigned msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN ||
           msg == WM_LBUTTONDBLCLK || msg == WM_NCLBUTTONDOWN || msg == WM_NCRBUTTONDOWN ||
           msg == WM_NCMBUTTONDOWN || msg == WM_NCLBUTTONDBLCLK;
}

bool Inside(const TControl* c, const TControl* ancestor) {
    for (; c != nullptr; c = c->Parent())
        if (c == ancestor) return true;
    return false;
}

// The small black arrow of a drop-down button, centred in r.
void DrawDownArrow(TCanvas& c, const TRect& r, TColor color) {
    const int cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2 - 1;
    c.Pen.Color = color;
    c.Pen.Style = TPenStyle::psSolid;
    for (int i = 0; i < 4; ++i) {
        c.MoveTo(cx - 3 + i, cy + i);
        c.LineTo(cx + 4 - i, cy + i);
    }
}

}  // namespace

TRect DropDownRect(const TRect& box, int width, int height, const TRect& area) {
    int left = box.Left;
    if (left + width > area.Right) left = area.Right - width;
    left = std::max(left, area.Left);
    const int below = area.Bottom - box.Bottom, above = box.Top - area.Top;
    const bool up = height > below && above > below;
    const int top = up ? box.Top - height : box.Bottom;
    return Bounds(left, top, width, height);
}

TComboListWindow::TComboListWindow(TCustomComboBox* combo) : TPopupWindow(combo), combo_(combo) {}

int TComboListWindow::ItemAtPos(TPoint p) const {
    const TRect r = combo_->ListItemsRect();
    if (!r.Contains(p) || combo_->ItemHeight() <= 0) return -1;
    const int i = combo_->TopIndex() + (p.Y - r.Top) / combo_->ItemHeight();
    return i < combo_->ItemCount() ? i : -1;
}

void TComboListWindow::Paint(TCanvas& canvas) { combo_->PaintList(canvas, ClientRect()); }

void TComboListWindow::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            combo_->ListMouse(m.Msg, LParamToPoint(m.LParam));
            return;
        case WM_MOUSEWHEEL: {
            const int notches = int(std::int16_t((m.WParam >> 16) & 0xFFFF)) / 120;
            combo_->SetTopIndex(combo_->TopIndex() - notches * 3);
            return;
        }
        default:
            break;
    }
    TPopupWindow::WndProc(m);
}

TCustomComboBox::TCustomComboBox(TComponent* owner) : TCustomControl(owner) {
    TabStop = true;
    color_ = clWindow;
    list_ = new TComboListWindow(this);
    SetBounds(0, 0, 145, 21);
}

TCustomComboBox::~TCustomComboBox() {
    if (hook_ != 0 && Application() != nullptr) Application()->RemoveMessageHook(hook_);
    hook_ = 0;
    // The list paints and clicks through this object: it goes first.
    DestroyComponents();
    list_ = nullptr;
}

void TCustomComboBox::SetItems(const std::vector<std::string>& items) {
    items_ = items;
    if (itemIndex_ >= ItemCount()) itemIndex_ = -1;
    if (DroppedDown()) CloseUp(false);
    Invalidate();
}

int TCustomComboBox::AddItem(const std::string& item) {
    items_.push_back(item);
    if (DroppedDown()) list_->Invalidate();
    return ItemCount() - 1;
}

void TCustomComboBox::ClearItems() { SetItems({}); }

void TCustomComboBox::SetItemIndex(int value) {
    if (value < -1 || value >= ItemCount()) value = -1;
    if (value == itemIndex_) return;
    itemIndex_ = value;
    Invalidate();
}

std::string TCustomComboBox::Text() const {
    return itemIndex_ >= 0 ? items_[std::size_t(itemIndex_)] : std::string();
}

void TCustomComboBox::SetItemHeight(int value) {
    itemHeight_ = std::max(1, value);
    Invalidate();
}

bool TCustomComboBox::DroppedDown() const { return list_ != nullptr && list_->Visible(); }

int TCustomComboBox::VisibleItemCount() const {
    return std::max(1, std::min(ItemCount(), std::max(1, DropDownCount)));
}

void TCustomComboBox::SetTopIndex(int value) {
    const int top = std::clamp(value, 0, std::max(0, ItemCount() - VisibleItemCount()));
    if (top == topIndex_) return;
    topIndex_ = top;
    ListScrolled();
    if (list_ != nullptr) list_->Invalidate();
}

void TCustomComboBox::SetDroppedDown(bool value) {
    if (value == DroppedDown()) return;
    if (!value) {
        CloseUp(false);
        return;
    }
    if (OnDropDown) OnDropDown(this);
    const int height = VisibleItemCount() * itemHeight_ + 2;
    const int width = DropDownWidth > 0 ? DropDownWidth : Width();
    const TPoint origin = ClientToScreen({0, 0});
    const TRect box = Bounds(origin.X, origin.Y, Width(), Height());
    TRect area = WorkArea();
    if (area.IsEmpty()) area = ScreenRect();
    const TRect place = DropDownRect(box, width, height, area);
    list_->SetBounds(place.Left, place.Top, width, height);
    highlight_ = itemIndex_;
    topIndex_ = 0;
    SetTopIndex(std::max(0, itemIndex_ - VisibleItemCount() + 1));
    ListOpened();
    list_->Show();
    if (hook_ == 0 && Application() != nullptr)
        hook_ = Application()->AddMessageHook([this](TMsg& m) { return Hooked(m); });
    Invalidate();
}

bool TCustomComboBox::Hooked(TMsg& m) {
    // A press anywhere but on the box and its list closes the list, and goes on to its target.
    if (IsMouseDown(m.Message) && m.Target != this && !Inside(m.Target, list_)) CloseUp(false);
    return false;
}

void TCustomComboBox::CloseUp(bool accept) {
    if (hook_ != 0 && Application() != nullptr) Application()->RemoveMessageHook(hook_);
    hook_ = 0;
    if (!DroppedDown()) return;
    list_->Hide();
    ListClosed();
    Invalidate();
    if (OnCloseUp) OnCloseUp(this);
    if (accept && highlight_ >= 0) Choose(highlight_);
}

void TCustomComboBox::Choose(int index) {
    if (index < 0 || index >= ItemCount() || index == itemIndex_) return;
    itemIndex_ = index;
    Invalidate();
    if (OnChange) OnChange(this);
}

void TCustomComboBox::MoveHighlight(int index) {
    if (ItemCount() == 0) return;
    highlight_ = std::clamp(index, 0, ItemCount() - 1);
    if (highlight_ < topIndex_) SetTopIndex(highlight_);
    if (highlight_ >= topIndex_ + VisibleItemCount())
        SetTopIndex(highlight_ - VisibleItemCount() + 1);
    list_->Invalidate();
}

int TCustomComboBox::SearchItem(char32_t ch) {
    const long long now = NowMs();
    if (now - searchTime_ > kSearchPauseMs) search_.clear();
    searchTime_ = now;
    search_ += ch;
    const int n = ItemCount();
    if (n == 0) return -1;
    const bool repeated =
        std::all_of(search_.begin(), search_.end(), [&](char32_t c) { return c == search_[0]; });
    const QString prefix =
        QString::fromUcs4(search_.data(), repeated ? 1 : qsizetype(search_.size())).toCaseFolded();
    const int current = DroppedDown() ? highlight_ : itemIndex_;
    // The same character again steps on; a longer prefix may still match the current item.
    const int begin = repeated ? current + 1 : std::max(current, 0);
    for (int k = 0; k < n; ++k) {
        const int i = ((begin + k) % n + n) % n;
        if (QString::fromStdString(items_[std::size_t(i)]).toCaseFolded().startsWith(prefix))
            return i;
    }
    return -1;
}

void TCustomComboBox::KeyDown(int& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (key == 0) return;
    const bool alt = (shift & ssAlt) != 0;
    const bool dropped = DroppedDown();
    if (key == VK_F4 || (alt && (key == VK_DOWN || key == VK_UP))) {
        if (dropped)
            CloseUp(true);
        else if (key != VK_UP)
            SetDroppedDown(true);
        key = 0;
        return;
    }
    const int page = std::max(1, VisibleItemCount() - 1);
    const int current = dropped ? highlight_ : itemIndex_;
    int target = -2;
    switch (key) {
        case VK_UP:
        case VK_LEFT:
            target = current < 0 ? 0 : current - 1;
            break;
        case VK_DOWN:
        case VK_RIGHT:
            target = current + 1;
            break;
        case VK_HOME:
            target = 0;
            break;
        case VK_END:
            target = ItemCount() - 1;
            break;
        case VK_PRIOR:
            target = std::max(current, 0) - page;
            break;
        case VK_NEXT:
            target = current + page;
            break;
        case VK_RETURN:
            if (dropped) CloseUp(true);
            key = 0;
            return;
        case VK_ESCAPE:
            if (dropped) CloseUp(false);
            key = 0;
            return;
        default:
            return;
    }
    key = 0;
    if (ItemCount() == 0) return;
    target = std::clamp(target, 0, ItemCount() - 1);
    if (dropped)
        MoveHighlight(target);
    else
        Choose(target);
}

void TCustomComboBox::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_GETDLGCODE:
            m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (DroppedDown() ? DLGC_WANTALLKEYS : 0);
            return;
        case WM_CHAR: {
            const auto ch = char32_t(m.WParam);
            if (ch < 0x20) return;
            const int i = SearchItem(ch);
            if (i < 0) return;
            if (DroppedDown())
                MoveHighlight(i);
            else
                Choose(i);
            return;
        }
        case WM_KILLFOCUS:
            CloseUp(false);
            Invalidate();
            break;
        case WM_SETFOCUS:
            Invalidate();
            break;
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            // A press on the box that drags into the open list chooses where it is released.
            if (DroppedDown() && m.Msg == WM_MOUSEMOVE && (m.WParam & MK_LBUTTON) != 0) {
                const TPoint s = ClientToScreen(LParamToPoint(m.LParam));
                ListMouse(WM_MOUSEMOVE, list_->ScreenToClient(s));
            } else if (DroppedDown() && m.Msg == WM_LBUTTONUP) {
                const TPoint s = ClientToScreen(LParamToPoint(m.LParam));
                const TPoint p = list_->ScreenToClient(s);
                if (list_->ItemAtPos(p) >= 0) ListMouse(WM_LBUTTONUP, p);
            }
            break;
        case WM_MOUSEWHEEL: {
            const int notches = int(std::int16_t((m.WParam >> 16) & 0xFFFF)) / 120;
            if (DroppedDown())
                SetTopIndex(topIndex_ - notches * 3);
            else if (Focused() && notches != 0 && ItemCount() > 0)
                Choose(std::clamp(itemIndex_ - notches, 0, ItemCount() - 1));
            return;
        }
        default:
            break;
    }
    TCustomControl::WndProc(m);
}

void TCustomComboBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft) return;
    SetDroppedDown(!DroppedDown());
}

void TCustomComboBox::ListMouse(unsigned msg, TPoint p) {
    const int i = list_->ItemAtPos(p);
    if (msg == WM_MOUSEMOVE) {
        if (i >= 0 && i != highlight_) {
            highlight_ = i;
            list_->Invalidate();
        }
        return;
    }
    if (msg == WM_LBUTTONUP && i >= 0) {
        highlight_ = i;
        CloseUp(true);
    }
}

TRect TCustomComboBox::ListItemsRect() const {
    return Rect(1, 1, list_->Width() - 1, list_->Height() - 1);
}

void TCustomComboBox::PaintList(TCanvas& c, const TRect& client) {
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = ListColor();
    c.FillRect(client);
    c.Brush.Color = clWindowFrame;
    c.FrameRect(client);
    const TRect items = ListItemsRect();
    c.SetClipRect(items);
    for (int i = topIndex_, y = items.Top; i < ItemCount() && y < items.Bottom;
         ++i, y += itemHeight_) {
        const TRect r = Rect(items.Left, y, items.Right, y + itemHeight_);
        DrawItem(c, i, r, i == highlight_ ? TOwnerDrawState(odSelected) : 0u);
    }
    c.ClearClip();
}

void TCustomComboBox::DrawItem(TCanvas& c, int index, const TRect& r, TOwnerDrawState state) {
    const bool selected = (state & odSelected) != 0;
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = selected ? HighlightColor() : ListColor();
    if ((state & odComboBoxEdit) != 0 && !selected) c.Brush.Color = Enabled() ? color_ : clBtnFace;
    c.FillRect(r);
    c.Font = Font();
    c.Font.Color = selected ? HighlightFontColor() : Enabled() ? ListFontColor() : clGrayText;
    if (OnDrawItem) {
        OnDrawItem(this, c, index, r, state);
        return;
    }
    if (index < 0 || index >= ItemCount()) return;
    TRect tr = Rect(r.Left + 2, r.Top, r.Right - 1, r.Bottom);
    c.Brush.Style = TBrushStyle::bsClear;
    c.DrawText(items_[std::size_t(index)], tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

TRect TCustomComboBox::ButtonRect() const {
    const int w = std::min(17, std::max(0, Width() - 4));
    return Rect(Width() - 2 - w, 2, Width() - 2, Height() - 2);
}

TRect TCustomComboBox::BoxItemRect() const {
    return Rect(3, 3, ButtonRect().Left - 1, Height() - 3);
}

void TCustomComboBox::Paint(TCanvas& canvas) { PaintBox(canvas); }

void TCustomComboBox::PaintBox(TCanvas& c) {
    const int w = Width(), h = Height();
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = Enabled() ? color_ : clBtnFace;
    c.FillRect(Rect(0, 0, w, h));
    // The sunken frame of the default edit look.
    c.Brush.Color = clBtnShadow;
    c.FrameRect(Rect(0, 0, w, h));
    c.Brush.Color = cl3DDkShadow;
    c.FrameRect(Rect(1, 1, w - 1, h - 1));
    const TRect b = ButtonRect();
    PaintDefaultFace(c, b, false, DroppedDown());
    if (!DroppedDown()) {
        c.Brush.Color = clBtnShadow;
        c.FrameRect(b);
    }
    DrawDownArrow(c, b, Enabled() ? clBlack : clGrayText);
    const TRect item = BoxItemRect();
    const bool focus = Focused() && !DroppedDown();
    DrawItem(c, itemIndex_, item,
             TOwnerDrawState(odComboBoxEdit) | (focus ? unsigned(odSelected | odFocused) : 0u));
    if (focus) DrawFocusRect(c, item);
}

void TCustomComboBox::FontChanged() {
    TBitmap probe(1, 1);
    probe.Canvas().Font = Font();
    itemHeight_ = std::max(1, probe.Canvas().TextHeight("Ag") + 2);
    Invalidate();
}

}  // namespace rt
