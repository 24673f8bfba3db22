#include "skin/form/skSkinMenus.h"

#include <algorithm>
#include <cmath>

#include "runtime/KeyRouting.h"
#include "runtime/StdCtrls.h"
#include "skin/data/skEffects.h"
#include "skin/form/skFrameObjects.h"

namespace sk {

using rt::TRect;

namespace {

const rt::TBitmap* PictureAt(const TskSkinData& data, int index) {
    if (index < 0 || std::size_t(index) >= data.Skin().ActivePictures.size()) return nullptr;
    const rt::TBitmap* p = data.Skin().ActivePictures[std::size_t(index)].get();
    return p != nullptr && !p->Empty() ? p : nullptr;
}

// The sub-menu arrow: lines 7, 5, 3 and 1 pixels high from (x, top) rightwards.
void DrawSubMenuArrow(rt::TCanvas& c, int x, int top, rt::TColor color) {
    c.Pen.Color = color;
    c.Pen.Style = rt::TPenStyle::psSolid;
    for (int i = 0; i < 4; ++i) {
        c.MoveTo(x + i, top + i);
        c.LineTo(x + i, top + 7 - i);
    }
}

// The window glyph that an item of the system or tray menu shows by its name.
enum class TskItemGlyph { None, Window, MinimizeToTray };
TskItemGlyph GlyphOfName(const std::string& name, TskDefaultGlyph& glyph) {
    struct Entry {
        const char* name;
        TskDefaultGlyph glyph;
    };
    static const Entry kNames[] = {
        {"SKF_CLOSE", TskDefaultGlyph::Close},      {"TRAY_SKF_CLOSE", TskDefaultGlyph::Close},
        {"SKF_MINITEM", TskDefaultGlyph::Minimize}, {"SKF_MAXITEM", TskDefaultGlyph::Maximize},
        {"SKF_RESTORE", TskDefaultGlyph::Restore},  {"TRAY_SKF_RESTORE", TskDefaultGlyph::Restore},
        {"SKF_ROLLUP", TskDefaultGlyph::RollUp},
    };
    if (name == "SKF_MINTOTRAY") return TskItemGlyph::MinimizeToTray;
    for (const Entry& e : kNames)
        if (name == e.name) {
            glyph = e.glyph;
            return TskItemGlyph::Window;
        }
    return TskItemGlyph::None;
}

const unsigned kCaptionFlags = rt::DT_SINGLELINE | rt::DT_VCENTER | rt::DT_LEFT;
const unsigned kShortCutFlags = rt::DT_SINGLELINE | rt::DT_VCENTER | rt::DT_RIGHT | rt::DT_NOPREFIX;

}  // namespace

rt::TPoint PlacePopup(const TRect& r, const TRect& a, int w, int h, int itemsTop, bool subMenu,
                      bool popupUp, bool scroll) {
    const bool upperHalf = r.Top < a.Top + a.Height() / 2;
    bool adjusted = false;
    int top;
    if (scroll) {
        top = a.Top;
    } else if (subMenu) {
        if (r.Top + h - itemsTop <= a.Bottom)
            top = r.Top - itemsTop;
        else if (upperHalf)
            top = a.Bottom - h;
        else
            top = std::max(r.Bottom + itemsTop - h, a.Top);
    } else if (popupUp) {
        if (r.Top - h >= a.Top) {
            top = r.Top - h;
        } else if (upperHalf) {
            if (r.Bottom + h <= a.Bottom) {
                top = r.Bottom;
            } else {
                top = a.Bottom - h;
                adjusted = true;
            }
        } else {
            top = a.Top;
            adjusted = true;
        }
    } else {
        if (r.Bottom + h <= a.Bottom) {
            top = r.Bottom;
        } else if (upperHalf) {
            top = a.Bottom - h;
            adjusted = true;
        } else if (r.Top - h >= a.Top) {
            top = r.Top - h;
        } else {
            top = a.Top;
            adjusted = true;
        }
    }
    int left;
    if (subMenu || scroll || adjusted) {
        left = r.Right + w + 1 <= a.Right ? r.Right + 1 : r.Left - w - 1;
    } else {
        left = r.Left;
        if (left + w > a.Right)
            left = a.Right - w;
        else if (r.Left < a.Left)
            left = a.Left;
    }
    // Neither side of a wide anchor may have room; then stay on the screen rather than beside.
    if (w <= a.Width()) left = std::clamp(left, a.Left, a.Right - w);
    if (h <= a.Height()) top = std::clamp(top, a.Top, a.Bottom - h);
    return rt::Point(left, top);
}

TskSkinMenuItem::TskSkinMenuItem(const TskSkinPopupView& parent, rt::TMenuItem* menuItem)
    : parent_(parent), menuItem_(menuItem) {}

bool TskSkinMenuItem::HasSubItems() const {
    for (int i = 0; i < menuItem_->Count(); ++i)
        if (menuItem_->Items(i)->Visible) return true;
    return false;
}

bool TskSkinMenuItem::CanMorphing() {
    if (!Visible) {
        if (MorphLevel != 0) {
            Active = false;
            Down = false;
            MorphLevel = 0;
        }
        return false;
    }
    return (Active || Down) ? MorphLevel < 1 : MorphLevel > 0;
}

void TskSkinMenuItem::StepMorph() {
    // Tenths stay exact, so that ten steps make a whole morph.
    const double next = MorphLevel + ((Active || Down) ? 0.1 : -0.1);
    MorphLevel = std::clamp(std::round(next * 10.0) / 10.0, 0.0, 1.0);
}

int TskSkinMenuItem::Height() const {
    if (const TskDataSkinMenuItem* d = parent_.ItemDescription())
        return IsLine() ? d->DividerRect.Height() : d->SkinRect.Height();
    return IsLine() ? 4 : parent_.Style().DefMenuItemHeight;
}

std::string TskSkinMenuItem::ShortCutText() const {
    return rt::ShortCutToText(menuItem_->ShortCut);
}

int TskSkinMenuItem::TextWidth(rt::TCanvas& canvas) const {
    std::string text = rt::StripAccelerators(menuItem_->Caption);
    const std::string shortCut = ShortCutText();
    if (!shortCut.empty()) text.append("  ").append(shortCut);
    return canvas.TextWidth(text) + 2;
}

void TskSkinMenuItem::Draw(rt::TCanvas& canvas) const {
    if (ObjectRect.IsEmpty()) return;
    if (parent_.ItemDescription() != nullptr)
        DrawSkinned(canvas);
    else
        DrawDefault(canvas);
}

void TskSkinMenuItem::DrawLeftMark(rt::TCanvas& c, int imageX, int glyphX, int markX, int midY,
                                   rt::TColor color) const {
    rt::TImageList* images = parent_.Images();
    const int index = menuItem_->ImageIndex;
    if (images != nullptr && index >= 0 && index < images->Count()) {
        const int y = midY - images->Height() / 2;
        images->Draw(c, imageX, y, index, Enabled());
        if (menuItem_->Checked()) {
            c.Brush.Style = rt::TBrushStyle::bsSolid;
            c.Brush.Color = color;
            c.FrameRect(rt::Rect(imageX - 1, y - 1, imageX + images->Width() + 1,
                                 y + images->Height() + 1));
        }
        return;
    }
    TskDefaultGlyph glyph = TskDefaultGlyph::Close;
    switch (GlyphOfName(menuItem_->Name(), glyph)) {
        case TskItemGlyph::Window:
            // The restore glyph's front box is filled with what lies under it.
            DrawDefaultGlyph(c, glyph, glyphX, midY - 5, color, c.Pixel(glyphX + 3, midY + 2));
            return;
        case TskItemGlyph::MinimizeToTray:
            c.Brush.Style = rt::TBrushStyle::bsSolid;
            c.Brush.Color = color;
            c.FillRect(rt::Rect(glyphX + 2, midY - 2, glyphX + 7, midY + 3));
            return;
        case TskItemGlyph::None:
            break;
    }
    if (!menuItem_->Checked()) return;
    if (menuItem_->RadioItem) {
        c.Brush.Style = rt::TBrushStyle::bsSolid;
        c.Brush.Color = color;
        c.Pen.Style = rt::TPenStyle::psSolid;
        c.Pen.Color = color;
        c.Ellipse(rt::Rect(markX, midY - 3, markX + 6, midY + 3));
    } else {
        DrawCheckImage(c, markX, midY - 4, color);
    }
}

void TskSkinMenuItem::DrawSkinned(rt::TCanvas& canvas) const {
    const TskDataSkinMenuItem& d = *parent_.ItemDescription();
    const rt::TBitmap& picture = *parent_.ItemPicture();
    const int w = ObjectRect.Width();
    rt::TBitmap image;
    if (IsLine()) {
        CreateHSkinImage(d.DividerLeftOffset, d.DividerRightOffset, image, w, d.DividerRect,
                         picture);
        canvas.Draw(ObjectRect.Left, ObjectRect.Top, image);
        return;
    }
    const bool on = Active || Down;
    const bool activeLook = on && !d.ActiveSkinRect.IsEmpty();
    CreateHSkinImage(d.ItemLeftOffset, d.ItemRightOffset, image, w,
                     activeLook ? d.ActiveSkinRect : d.SkinRect, picture);
    if (parent_.Morphs() && MorphLevel > 0 && MorphLevel < 1) {
        // The image built above is the look at the end of the morph; start from the other.
        rt::TBitmap from;
        CreateHSkinImage(d.ItemLeftOffset, d.ItemRightOffset, from, w,
                         activeLook ? d.SkinRect : d.ActiveSkinRect, picture);
        TskEffectBmp morph(activeLook ? from : image);
        MorphByKind(morph, TskEffectBmp(activeLook ? image : from), d.MorphKind, MorphLevel);
        morph.AssignTo(image);
    }
    rt::TCanvas& c = image.Canvas();
    const rt::TColor color = d.Font.ColorOf(activeLook  ? TskFontState::Active
                                            : Enabled() ? TskFontState::Normal
                                                        : TskFontState::Disabled);
    TRect r = d.TextRect;
    r.Right += w - d.SkinRect.Width();
    c.Font = parent_.Style().UseSkinFont ? d.Font.MakeFont() : parent_.Style().DefaultMenuItemFont;
    c.Font.Color = color;
    c.Brush.Style = rt::TBrushStyle::bsClear;
    const int glyphWidth = parent_.Images() != nullptr ? parent_.Images()->Width() : 16;
    TRect text = rt::Rect(r.Left + glyphWidth, r.Top, r.Right - 16, r.Bottom);
    c.DrawText(menuItem_->Caption, text, kCaptionFlags);
    const std::string shortCut = ShortCutText();
    if (!shortCut.empty()) c.DrawText(shortCut, text, kShortCutFlags);
    const int mid = r.Top + r.Height() / 2;
    if (HasSubItems()) DrawSubMenuArrow(c, r.Right - 7, mid - 4, color);
    DrawLeftMark(c, r.Left + 2, r.Left + 2, r.Left + 2, mid, color);
    canvas.Draw(ObjectRect.Left, ObjectRect.Top, image);
}

void TskSkinMenuItem::DrawDefault(rt::TCanvas& canvas) const {
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    const int band = parent_.GlyphCellWidth();
    rt::TBitmap image(w, h);
    rt::TCanvas& c = image.Canvas();
    const bool on = !IsLine() && (Active || Down);
    c.Brush.Style = rt::TBrushStyle::bsSolid;
    if (on) {
        c.Brush.Color = rt::kDefaultHot;
        c.FillRect(rt::Rect(0, 0, w, h));
        c.Brush.Color = rt::kDefaultFrame;
        c.FrameRect(rt::Rect(0, 0, w, h));
    } else {
        c.Brush.Color = rt::clBtnFace;
        c.FillRect(rt::Rect(0, 0, band, h));
        c.Brush.Color = rt::clWindow;
        c.FillRect(rt::Rect(band, 0, w, h));
    }
    if (IsLine()) {
        c.Brush.Color = rt::clBtnShadow;
        c.FillRect(rt::Rect(band, h / 2, w, h / 2 + 1));
    } else {
        const rt::TColor color = on || Enabled() ? rt::clWindowText : rt::clBtnShadow;
        const TRect r = rt::Rect(2, 2, w - 2, h - 2);
        c.Font = parent_.Font();
        c.Font.Color = color;
        c.Brush.Style = rt::TBrushStyle::bsClear;
        TRect text = rt::Rect(r.Left + band, r.Top, r.Right - 19, r.Bottom);
        c.DrawText(menuItem_->Caption, text, kCaptionFlags);
        const std::string shortCut = ShortCutText();
        if (!shortCut.empty()) c.DrawText(shortCut, text, kShortCutFlags);
        const int mid = h / 2;
        if (HasSubItems()) DrawSubMenuArrow(c, r.Right - 7, mid - 4, color);
        DrawLeftMark(c, r.Left, r.Left + 2, r.Left + 3, mid, color);
    }
    canvas.Draw(ObjectRect.Left, ObjectRect.Top, image);
}

TskSkinPopupView::TskSkinPopupView(const TskMenuStyle& style, TskSkinData* skinData,
                                   rt::TMenuItem* menuItem, int startIndex, const TRect& workArea)
    : style_(style), menuItem_(menuItem) {
    ResolveSkin(skinData);
    if (rt::TMenu* menu = menuItem->GetParentMenu()) images_ = menu->Images;
    glyphCellWidth_ = images_ != nullptr ? images_->Width() + 5 : 19;
    for (int i = std::max(0, startIndex); i < menuItem->Count(); ++i)
        if (menuItem->Items(i)->Visible)
            items_.push_back(std::make_unique<TskSkinMenuItem>(*this, menuItem->Items(i)));
    Measure(workArea);
    ComputeGeometry();
    LayoutItems();
}

void TskSkinPopupView::ResolveSkin(TskSkinData* skinData) {
    font_ = style_.DefaultMenuItemFont;
    if (skinData == nullptr || skinData->Empty()) return;
    const TskDataSkinPopupWindow& window = skinData->Skin().PopupWindow;
    popupPicture_ = PictureAt(*skinData, window.WindowPictureIndex);
    if (popupPicture_ == nullptr) return;
    popupDescription_ = &window;
    maskBitmap_ = PictureAt(*skinData, window.MaskPictureIndex);
    for (const auto& object : skinData->Skin().ObjectList) {
        auto* d = dynamic_cast<const TskDataSkinMenuItem*>(object.get());
        if (d == nullptr) continue;
        // An item description without its picture or without a normal look would give items
        // of no height; such a skin gets default-look items instead.
        itemPicture_ = PictureAt(*skinData, d->ActivePictureIndex);
        if (itemPicture_ != nullptr && !d->SkinRect.IsEmpty()) itemDescription_ = d;
        break;
    }
    if (itemDescription_ != nullptr && style_.UseSkinFont)
        font_ = itemDescription_->Font.MakeFont();
}

bool TskSkinPopupView::Morphs() const {
    return itemDescription_ != nullptr && itemDescription_->Morphing &&
           !itemDescription_->ActiveSkinRect.IsEmpty();
}

void TskSkinPopupView::Measure(const TRect& workArea) {
    rt::TBitmap probe(1, 1);
    probe.Canvas().Font = font_;
    int widest = 0, itemsHeight = 0;
    for (const auto& item : items_) {
        if (!item->IsLine()) widest = std::max(widest, item->TextWidth(probe.Canvas()));
        itemsHeight += item->Height();
    }
    width_ = widest + glyphCellWidth_ + 19;
    if (popupDescription_ != nullptr) {
        width_ += popupPicture_->Width() - popupDescription_->Corners.Client.Width();
        // The item picture's margins around its text; default-look items need 6 pixels.
        width_ += itemDescription_ != nullptr
                      ? itemDescription_->TextRect.Left + itemDescription_->SkinRect.Width() -
                            itemDescription_->TextRect.Right
                      : 6;
        height_ =
            itemsHeight + popupPicture_->Height() - popupDescription_->Corners.Client.Height();
    } else {
        width_ += 10;
        height_ = itemsHeight + 4;
    }
    if (height_ > workArea.Height()) {
        height_ = std::max(0, workArea.Height());
        scroll_ = true;
    }
}

void TskSkinPopupView::ComputeGeometry() {
    if (popupDescription_ == nullptr) {
        sized_ = TskCornerSet{};
        sized_.Client = rt::Rect(2, 2, width_ - 2, height_ - 2);
        return;
    }
    const TskDataSkinPopupWindow& d = *popupDescription_;
    const int dx = width_ - popupPicture_->Width(), dy = height_ - popupPicture_->Height();
    sized_ = d.Corners.Grown(dx, dy);
    if (maskBitmap_ != nullptr)
        region_ = CreateSkinRegion(d.Corners, *maskBitmap_, width_, height_, sized_);
}

void TskSkinPopupView::Place(const TRect& anchor, const TRect& workArea, bool subMenu,
                             bool popupUp) {
    const rt::TPoint p =
        PlacePopup(anchor, workArea, width_, height_, sized_.Client.Top, subMenu, popupUp, scroll_);
    ShowX = p.X;
    ShownTop = p.Y;
}

TRect TskSkinPopupView::ItemScreenRect(int index) const {
    const TRect& r = Items(index).ObjectRect;
    return rt::Rect(r.Left + ShowX, r.Top + ShownTop, r.Right + ShowX, r.Bottom + ShownTop);
}

int TskSkinPopupView::ActiveItem() const {
    for (int i = 0; i < Count(); ++i)
        if (Items(i).Active) return i;
    return -1;
}

int TskSkinPopupView::FirstEnabledItem() const {
    for (int i = 0; i < Count(); ++i)
        if (!Items(i).IsLine() && Items(i).Enabled()) return i;
    return -1;
}

int TskSkinPopupView::NextSelectable(int from, int step) const {
    const int n = Count();
    for (int k = 1; k <= n; ++k) {
        const int j = ((from + step * k) % n + n) % n;
        if (!Items(j).IsLine()) return j;
    }
    return -1;
}

int TskSkinPopupView::ItemAt(int x, int y) const {
    for (int i = 0; i < Count(); ++i)
        if (Items(i).Visible && Items(i).ObjectRect.Contains(rt::Point(x, y))) return i;
    return -1;
}

int TskSkinPopupView::AcceleratorItem(int key) const {
    const bool character = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
    if (!character) return -1;
    for (int i = 0; i < Count(); ++i)
        if (!Items(i).IsLine() && rt::IsAccel(char32_t(key), Items(i).MenuItem()->Caption))
            return i;
    return -1;
}

int TskSkinPopupView::ViewTop() const {
    return sized_.Client.Top + (scroll_ ? kMenuScrollBand : 0);
}

int TskSkinPopupView::ViewBottom() const {
    return sized_.Client.Bottom - (scroll_ ? kMenuScrollBand : 0);
}

void TskSkinPopupView::LayoutItems() {
    if (!scroll_) firstShownItem_ = 0;
    int y = ViewTop();
    const int limit = ViewBottom();
    bool full = false;
    shownItemCount_ = 0;
    for (int i = 0; i < Count(); ++i) {
        TskSkinMenuItem& item = Items(i);
        if (i < firstShownItem_ || full) {
            item.Visible = false;
            continue;
        }
        item.ObjectRect = rt::Rect(sized_.Client.Left, y, sized_.Client.Right, y + item.Height());
        if (item.ObjectRect.Bottom > limit) {
            full = true;
            item.Visible = false;
            continue;
        }
        item.Visible = true;
        ++shownItemCount_;
        y = item.ObjectRect.Bottom;
    }
}

bool TskSkinPopupView::CanScroll(TskScrollDirection direction) const {
    if (!scroll_) return false;
    if (direction == sdUp) return firstShownItem_ > 0;
    if (direction == sdDown)
        return firstShownItem_ + shownItemCount_ < Count() && firstShownItem_ < Count() - 1;
    return false;
}

bool TskSkinPopupView::ScrollBy(TskScrollDirection direction) {
    if (!CanScroll(direction)) return false;
    firstShownItem_ += direction == sdDown ? 1 : -1;
    LayoutItems();
    return true;
}

bool TskSkinPopupView::EnsureVisible(int index) {
    if (!scroll_ || index < 0 || index >= Count() || Items(index).Visible) return false;
    if (index < firstShownItem_) {
        firstShownItem_ = index;
        LayoutItems();
        return true;
    }
    while (!Items(index).Visible && firstShownItem_ < index) {
        ++firstShownItem_;
        LayoutItems();
    }
    return true;
}

int TskSkinPopupView::LastFullPageStart() const {
    const int room = ViewBottom() - ViewTop();
    int used = 0, start = Count();
    while (start > 0 && used + Items(start - 1).Height() <= room) {
        --start;
        used += Items(start).Height();
    }
    return std::min(start, std::max(0, Count() - 1));
}

TRect TskSkinPopupView::ScrollBand(TskScrollDirection direction) const {
    if (popupDescription_ == nullptr)
        return direction == sdUp ? rt::Rect(3, 3, width_ - 3, 13)
                                 : rt::Rect(3, height_ - 10, width_ - 3, height_ - 3);
    const TRect& b = sized_.Client;
    return direction == sdUp ? rt::Rect(b.Left, b.Top, b.Right, b.Top + kMenuScrollBand)
                             : rt::Rect(b.Left, b.Bottom - kMenuScrollBand, b.Right, b.Bottom);
}

TskScrollDirection TskSkinPopupView::ScrollBandAt(int x, int y) const {
    if (!scroll_) return sdNone;
    if (ScrollBand(sdUp).Contains(rt::Point(x, y))) return sdUp;
    if (ScrollBand(sdDown).Contains(rt::Point(x, y))) return sdDown;
    return sdNone;
}

bool TskSkinPopupView::MorphStep() {
    bool stepped = false;
    for (auto& item : items_) {
        if (!item->CanMorphing()) continue;
        item->StepMorph();
        stepped = true;
    }
    return stepped;
}

void TskSkinPopupView::Paint(rt::TBitmap& buffer) const {
    buffer.SetSize(width_, height_);
    rt::TCanvas& c = buffer.Canvas();
    c.ClearClip();
    if (popupDescription_ != nullptr) {
        const TskDataSkinPopupWindow& d = *popupDescription_;
        // The items cover the client area unless they scroll between the marker bands.
        CreateSkinImage(d.Corners, rt::Rect(0, 0, popupPicture_->Width(), popupPicture_->Height()),
                        *popupPicture_, scroll_, buffer, width_, height_, sized_);
    } else {
        c.Brush.Style = rt::TBrushStyle::bsSolid;
        c.Brush.Color = rt::clBtnFace;
        c.FillRect(rt::Rect(0, 0, glyphCellWidth_ + 2, height_));
        c.Brush.Color = rt::clWindow;
        c.FillRect(rt::Rect(glyphCellWidth_ + 2, 0, width_, height_));
        c.Brush.Color = rt::clBtnShadow;
        c.FrameRect(rt::Rect(0, 0, width_, height_));
        c.Brush.Color = rt::clWindow;
        c.FrameRect(rt::Rect(1, 1, width_ - 1, height_ - 1));
    }
    for (const auto& item : items_)
        if (item->Visible) item->Draw(c);
    if (!scroll_) return;
    for (TskScrollDirection dir : {sdUp, sdDown}) {
        rt::TColor color;
        if (popupDescription_ != nullptr)
            color = ScrollDirection == dir ? popupDescription_->ScrollMarkerActiveColor
                                           : popupDescription_->ScrollMarkerColor;
        else
            color = ScrollDirection == dir ? rt::clBtnText : rt::clBtnShadow;
        DrawArrowImage(c, ScrollBand(dir), color, dir == sdUp ? 3 : 4);
    }
}

rt::TBitmap TskSkinPopupView::PaintToBitmap() const {
    rt::TBitmap b;
    Paint(b);
    return b;
}

}  // namespace sk
