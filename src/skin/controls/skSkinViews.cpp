#include "skin/controls/skSkinViews.h"

#include <algorithm>

namespace sk {

// ---------------------------------------------------------------- shared part

template <class View>
TskSkinViewT<View>::TskSkinViewT(rt::TComponent* owner, const std::string& skinDataName)
    : View(owner), skinDataName_(skinDataName) {
    defaultFont_ = MakeSkinFont("Arial", 14, 0, rt::clWindowText);
    this->SetFont(defaultFont_);
    this->SetColor(defaultColor_);
}

template <class View>
TskSkinViewT<View>::~TskSkinViewT() {
    // The bars outlive us only when someone else owns them: they must not scroll a dead view.
    for (TskSkinScrollBar* bar : {vBar_, hBar_})
        if (bar != nullptr) {
            bar->OnChange = nullptr;
            this->RemoveFreeNotification(bar);
        }
    if (skinData_ != nullptr) this->RemoveFreeNotification(skinData_);
}

template <class View>
void TskSkinViewT<View>::SetSkinData(TskSkinData* value) {
    if (skinData_ != nullptr) this->RemoveFreeNotification(skinData_);
    skinData_ = value;
    if (skinData_ != nullptr) this->FreeNotification(skinData_);
    if (skinData_ != nullptr && !skinData_->Empty()) ApplySkin();
}

template <class View>
void TskSkinViewT<View>::SetSkinDataName(const std::string& name) {
    skinDataName_ = name;
    ApplySkin();
}

template <class View>
void TskSkinViewT<View>::SetDefaultFont(const rt::TFont& font) {
    defaultFont_ = font;
    if (held_.Index() < 0) this->SetFont(defaultFont_);
}

template <class View>
void TskSkinViewT<View>::SetDefaultColor(rt::TColor color) {
    defaultColor_ = color;
    if (held_.Index() < 0) this->SetColor(defaultColor_);
}

template <class View>
void TskSkinViewT<View>::SetUseSkinFont(bool value) {
    useSkinFont_ = value;
    ApplySkin();
}

template <class View>
void TskSkinViewT<View>::ApplySkin() {
    held_.Refresh(skinData_, skinDataName_);
    if (held_.Index() < 0) {
        this->SetColor(defaultColor_);
        this->SetFont(defaultFont_);
    } else if (const auto* d = dynamic_cast<const TskDataSkinTextView*>(held_.Description())) {
        rt::TFont font = defaultFont_;
        d->Font.ApplyTo(font, TskFontState::Normal, useSkinFont_);
        this->SetFont(font);
        this->SetColor(rt::TColor(d->BgColor));
    }
    ReadMoreSkin();
    UpdateScrollBars();
    // The parent lays the bars out again, whatever their new skins' sizes.
    for (TskSkinScrollBar* bar : {vBar_, hBar_})
        if (bar != nullptr) bar->SetAlign(bar->Align());
    this->Invalidate();
}

template <class View>
void TskSkinViewT<View>::SetVScrollBar(TskSkinScrollBar* bar) {
    if (vBar_ != nullptr) this->RemoveFreeNotification(vBar_);
    vBar_ = bar;
    if (bar != nullptr) {
        this->FreeNotification(bar);
        bar->SetEnabled(true);
        bar->Hide();
        bar->OnChange = [this](rt::TComponent*) { BarScrolled(*vBar_); };
    }
    UpdateScrollBars();
}

template <class View>
void TskSkinViewT<View>::SetHScrollBar(TskSkinScrollBar* bar) {
    if (hBar_ != nullptr) this->RemoveFreeNotification(hBar_);
    hBar_ = bar;
    if (bar != nullptr) {
        this->FreeNotification(bar);
        bar->SetEnabled(true);
        bar->Hide();
        bar->OnChange = [this](rt::TComponent*) { BarScrolled(*hBar_); };
    }
    UpdateScrollBars();
}

template <class View>
void TskSkinViewT<View>::Notification(rt::TComponent* component, rt::TOperation operation) {
    View::Notification(component, operation);
    if (operation != rt::TOperation::opRemove) return;
    if (component == skinData_) {
        skinData_ = nullptr;
        held_.Release();
    }
    if (component == vBar_) vBar_ = nullptr;
    if (component == hBar_) hBar_ = nullptr;
}

template <class View>
void TskSkinViewT<View>::ViewScrolled() {
    if (!busy_) UpdateScrollBars();
}

template <class View>
void TskSkinViewT<View>::WndProc(rt::TMessage& m) {
    View::WndProc(m);
    if (m.Msg == rt::CM_VISIBLECHANGED) {
        for (TskSkinScrollBar* bar : {vBar_, hBar_})
            if (bar != nullptr) bar->SetVisible(this->Visible());
        UpdateScrollBars();
    }
}

template <class View>
bool TskSkinViewT<View>::SetBar(TskSkinScrollBar* bar, bool show, const rt::TScrollInfo& info,
                                int page, int smallChange, int largeChange) {
    if (bar == nullptr) return false;
    show = show && this->Visible();
    const bool changed = bar->Visible() != show;
    if (show) {
        bar->SetRange(info.Min, info.Max, page, info.Pos);
        bar->SetSmallChange(smallChange);
        bar->SetLargeChange(largeChange);
        (bar == vBar_ ? lastVPos_ : lastHPos_) = bar->Position();
    }
    if (changed) {
        busy_ = true;
        bar->SetVisible(show);
        busy_ = false;
    }
    return changed;
}

template <class View>
void TskSkinViewT<View>::FinishBars(bool changed) {
    if (vBar_ != nullptr && hBar_ != nullptr && hBar_->Both() != vBar_->Visible())
        hBar_->SetBoth(vBar_->Visible());
    if (!changed || this->Align() == rt::TAlign::alNone || this->Parent() == nullptr) return;
    busy_ = true;
    this->Parent()->Realign();
    busy_ = false;
    // The view's new size may change what the other bar needs (a vertical bar taking width
    // can call for the horizontal one, and back); a few passes settle it, the platform view's
    // own range changes are not always announced when the ranges stay the same.
    if (settling_ < 2) {
        ++settling_;
        UpdateScrollBars();
        --settling_;
    }
}

template class TskSkinViewT<rt::TCustomTreeView>;
template class TskSkinViewT<rt::TCustomListView>;

// ---------------------------------------------------------------- tree view

TskSkinCustomTreeView::TskSkinCustomTreeView(rt::TComponent* owner)
    : TskSkinViewT(owner, "treeview") {}

void TskSkinCustomTreeView::UpdateScrollBars() {
    if (busy_) return;
    bool changed = false;
    if (VScrollBar() != nullptr) {
        const rt::TScrollInfo v = ScrollInfo(rt::SB_VERT);
        const int rows = VisibleRowCount();
        const bool show = v.Max > 0 && v.Max >= rows && v.Max < Items().Count();
        changed |= SetBar(VScrollBar(), show, v, rows, 1, std::max(1, rows));
    }
    if (HScrollBar() != nullptr) {
        const rt::TScrollInfo h = ScrollInfo(rt::SB_HORZ);
        changed |= SetBar(HScrollBar(), Width() < h.Max, h, Width(), 8, std::max(1, Width()));
    }
    FinishBars(changed);
}

void TskSkinCustomTreeView::BarScrolled(TskSkinScrollBar& bar) {
    const bool vertical = &bar == VScrollBar();
    Perform(vertical ? rt::WM_VSCROLL : rt::WM_HSCROLL,
            rt::SB_THUMBPOSITION | (std::intptr_t(bar.Position()) << 16), 0);
    (vertical ? lastVPos_ : lastHPos_) = bar.Position();
}

// ---------------------------------------------------------------- list view

TskSkinCustomListView::TskSkinCustomListView(rt::TComponent* owner)
    : TskSkinViewT(owner, "listview") {}

void TskSkinCustomListView::SetHeaderSkinDataName(const std::string& name) {
    headerSkinDataName_ = name;
    ReadMoreSkin();
    RepaintHeader();
}

void TskSkinCustomListView::ReadMoreSkin() {
    headerHeld_.Refresh(SkinData(), headerSkinDataName_);
    header_ = dynamic_cast<const TskDataSkinButtonControl*>(headerHeld_.Description());
    headerPicture_ = header_ != nullptr ? headerHeld_.Picture(header_->PictureIndex) : nullptr;
    if (headerPicture_ == nullptr || headerPicture_->Empty()) header_ = nullptr;
    if (header_ == nullptr) return;
    headerActiveRect_ =
        header_->ActiveSkinRect.IsEmpty() ? header_->SkinRect : header_->ActiveSkinRect;
    headerDownRect_ = header_->DownSkinRect.IsEmpty() ? headerActiveRect_ : header_->DownSkinRect;
}

void TskSkinCustomListView::WndProc(rt::TMessage& m) {
    TskSkinViewT::WndProc(m);
    // A new size may change what fits before the platform view lays out again.
    if (m.Msg == rt::WM_SIZE) UpdateScrollBars();
}

void TskSkinCustomListView::UpdateScrollBars() {
    if (busy_ || barScrolling_ || Width() < 6 || Height() < 6) return;
    const int count = Items().Count();
    bool changed = false;
    const rt::TScrollInfo v = ScrollInfo(rt::SB_VERT);
    const rt::TScrollInfo h = ScrollInfo(rt::SB_HORZ);
    switch (ViewStyle()) {
        case rt::TViewStyle::vsIcon:
        case rt::TViewStyle::vsSmallIcon: {
            const int step = std::max(1, ItemHeight() / 2);
            changed |= SetBar(VScrollBar(), Height() < v.Max, v, Height(), step, step);
            changed |= SetBar(HScrollBar(), Width() < h.Max, h, Width(), step, step);
            break;
        }
        case rt::TViewStyle::vsList: {
            changed |= SetBar(VScrollBar(), false, v, 0, 1, 1);
            const int itemWidth = ItemWidth() > 0 ? ItemWidth() : 1;
            changed |=
                SetBar(HScrollBar(), VisibleRowCount() < count, h, Width() / itemWidth, 1, 1);
            break;
        }
        case rt::TViewStyle::vsReport: {
            const int perPage = VisibleRowCount();
            changed |= SetBar(VScrollBar(), perPage < v.Max + 1, v, perPage, 1, 1);
            changed |= SetBar(HScrollBar(), Width() < h.Max, h, Width(), 8, std::max(1, Width()));
            break;
        }
    }
    FinishBars(changed);
}

void TskSkinCustomListView::BarScrolled(TskSkinScrollBar& bar) {
    barScrolling_ = true;
    const bool vertical = &bar == VScrollBar();
    int& last = vertical ? lastVPos_ : lastHPos_;
    const int diff = bar.Position() - last;
    const rt::TViewStyle style = ViewStyle();
    const bool rows = style == rt::TViewStyle::vsList || style == rt::TViewStyle::vsReport;
    if (vertical) {
        Scroll(0, rows ? diff * ItemHeight() : diff);
    } else if (style == rt::TViewStyle::vsList) {
        for (int i = 0; i < std::abs(diff); ++i)
            Perform(rt::WM_HSCROLL, diff > 0 ? rt::SB_LINERIGHT : rt::SB_LINELEFT, 0);
    } else {
        Scroll(diff, 0);
    }
    last = bar.Position();
    barScrolling_ = false;
}

void TskSkinCustomListView::PaintSection(rt::TBitmap& face, bool pressed) const {
    const int w = face.Width(), h = face.Height();
    rt::TCanvas& c = face.Canvas();
    if (header_ == nullptr) {
        c.Brush.Color = pressed ? rt::kDefaultPressed : rt::clBtnFace;
        c.FillRect(rt::Rect(0, 0, w, h));
        c.Brush.Color = pressed ? rt::clNavy : rt::clBtnShadow;
        c.FrameRect(rt::Rect(0, 0, w, h));
        return;
    }
    const rt::TRect src = pressed ? headerDownRect_ : header_->SkinRect;
    const TskDataSkinButtonControl& d = *header_;
    if (d.Corners.LeftBottom != rt::TPoint{0, 0}) {
        // Four corners, edges and client as the skin has them, grown to the section:
        //   LT ---- top ---- RT
        //   |     client      |   the right column and bottom row move by the growth
        //   LB --- bottom -- RB
        CreateSkinImage(d.Corners, src, *headerPicture_, true, face, w, h,
                        d.Corners.Grown(w - src.Width(), h - src.Height()));
        return;
    }
    // A strip as wide as the section, then stretched to its height.
    rt::TBitmap strip;
    CreateHSkinImage(d.Corners.LeftTop.X, src.Width() - d.Corners.RightTop.X, strip, w, src,
                     *headerPicture_);
    c.StretchDraw(rt::Rect(0, 0, w, h), strip);
}

void TskSkinCustomListView::PaintSectionText(rt::TCanvas& c, const rt::TRect& r, int column,
                                             rt::TColor color) const {
    const rt::TListColumn& col = Column(column);
    const rt::TRect pad = rt::Rect(r.Left + 5, r.Top, r.Right - 5, r.Bottom);
    if (pad.Width() <= 0) return;
    c.Font = Font();
    c.Font.Color = color;
    c.Brush.Style = rt::TBrushStyle::bsClear;
    c.SetClipRect(pad);
    const rt::TImageList* images = SmallImages();
    const bool image = images != nullptr && col.ImageIndex >= 0 && col.ImageIndex < images->Count();
    const int th = c.TextHeight("Wg");
    const int ty = r.Top + (r.Height() - th) / 2;
    if (image) {
        const int iw = images->Width();
        const std::string text = EllipsisText(c, col.Caption, r.Width() - iw - 10);
        const int tw = text.empty() ? 0 : c.TextWidth(text);
        int x = pad.Left;
        // An uncut caption moves with its image by the column's alignment.
        if (text == col.Caption) {
            const int block = iw + (tw > 0 ? 10 + tw : 0);
            if (col.Alignment == rt::TAlignment::taRightJustify)
                x = std::max(pad.Left, pad.Right - block);
            else if (col.Alignment == rt::TAlignment::taCenter)
                x = std::max(pad.Left, pad.Left + (pad.Width() - block) / 2);
        }
        images->Draw(c, x, r.Top + (r.Height() - images->Height()) / 2, col.ImageIndex);
        if (!text.empty()) c.TextOut(x + iw + 10, ty, text);
    } else {
        const std::string text = EllipsisText(c, col.Caption, pad.Width());
        const int tw = c.TextWidth(text);
        int x = pad.Left;
        if (col.Alignment == rt::TAlignment::taRightJustify)
            x = r.Right - 10 - tw;
        else if (col.Alignment == rt::TAlignment::taCenter)
            x = pad.Left + (pad.Width() - tw) / 2;
        c.TextOut(x, ty, text);
    }
    c.ClearClip();
    c.Brush.Style = rt::TBrushStyle::bsSolid;
}

void TskSkinCustomListView::PaintHeader(rt::TCanvas& canvas) {
    // Called on every header paint: a skin change since the last one is taken here.
    if (headerHeld_.Refresh(SkinData(), headerSkinDataName_)) ReadMoreSkin();
    int right = 0;
    for (const rt::THeaderSection& s : HeaderSections()) {
        const bool pressed = s.Column == PressedColumn() && HeaderPressed();
        rt::TBitmap face(s.Rect.Width(), s.Rect.Height());
        if (face.Empty()) continue;
        PaintSection(face, pressed);
        const rt::TColor color =
            header_ == nullptr
                ? rt::clBtnText
                : header_->Font.ColorOf(pressed ? TskFontState::Down : TskFontState::Normal);
        PaintSectionText(face.Canvas(), rt::Rect(0, 0, face.Width(), face.Height()), s.Column,
                         color);
        canvas.Draw(s.Rect.Left, s.Rect.Top, face);
        right = std::max(right, s.Rect.Right);
    }
    // The part right of the last section: the normal face without its right end.
    const rt::TRect header = HeaderRect();
    const int width = header.Width() - right, h = header.Height();
    if (width <= 0 || h <= 0) return;
    rt::TBitmap rest(width, h);
    if (header_ == nullptr) {
        rest.Canvas().Brush.Color = rt::clBtnFace;
        rest.Canvas().FillRect(rt::Rect(0, 0, width, h));
        rest.Canvas().Brush.Color = rt::clBtnShadow;
        rest.Canvas().FrameRect(rt::Rect(0, 0, width, h));
    } else {
        const TskDataSkinButtonControl& d = *header_;
        const rt::TRect src = d.SkinRect;
        if (d.Corners.LeftBottom != rt::TPoint{0, 0}) {
            CreateSkinImage2(d.Corners, src, *headerPicture_, true, rest, width, h,
                             d.Corners.Grown(width - src.Width(), h - src.Height()));
        } else {
            rt::TBitmap strip;
            CreateHSkinImage2(d.Corners.LeftTop.X, src.Width() - d.Corners.RightTop.X, strip, width,
                              src, *headerPicture_);
            rest.Canvas().StretchDraw(rt::Rect(0, 0, width, h), strip);
        }
    }
    canvas.Draw(right, 0, rest);
}

}  // namespace sk
