// The objects on the skinned main menu bar: its items and the system buttons of a maximized
// child window.

#include <algorithm>
#include <cmath>

#include "skin/data/skEffects.h"
#include "skin/data/skSkinData.h"
#include "skin/data/skUtils.h"
#include "skin/form/skFrameObjects.h"
#include "skin/form/skSkinForm.h"
#include "skin/form/skSkinMainMenuBar.h"
#include "skin/form/skSkinMenu.h"

namespace sk {

using rt::Rect;
using rt::TPoint;
using rt::TRect;

namespace {

// Default items: this much room on each side of the caption.
constexpr int kDefaultItemPadding = 6;

const rt::TBitmap* PictureOf(const TskSkin* skin, int index) {
    return skin != nullptr ? skin->ActivePicture(index) : nullptr;
}

rt::TCanvas& ProbeCanvas() {
    static rt::TBitmap probe(1, 1);
    return probe.Canvas();
}

}  // namespace

TskMenuBarObject::TskMenuBarObject(TskSkinMainMenuBar& parent, const TskSkin* skin,
                                   const TskDataSkinObject* description)
    : Parent(parent) {
    if (description == nullptr) return;
    IDName = description->IDName;
    Picture = PictureOf(skin, description->ActivePictureIndex);
    NormalLookRect = description->SkinRect;
    HotLookRect = description->ActiveSkinRect;
    PressedLookRect = HotLookRect;
    ObjectRect = NormalLookRect;
    MorphStyle = description->MorphKind;
    MorphEnabled = description->Morphing && !HotLookRect.IsEmpty();
}

bool TskMenuBarObject::CanMorphing() const {
    if (Down && !PressedLookRect.IsEmpty()) return false;
    return (Active && MorphLevel < 1) || (!Active && MorphLevel > 0);
}

void TskMenuBarObject::MouseDown(int, int, int) {}
void TskMenuBarObject::MouseUp(int, int, int) {}

void TskMenuBarObject::MouseEnter() {
    CursorInside = true;
    Active = true;
    ReDraw();
}

void TskMenuBarObject::MouseLeave() {
    CursorInside = false;
    Active = false;
    ReDraw();
}

void TskMenuBarObject::ReDraw() { Parent.ObjectChanged(*this); }

void TskMenuBarObject::DoMorphing() {
    MorphLevel = std::clamp(std::round(MorphLevel * 10 + (Active ? 1 : -1)) / 10, 0.0, 1.0);
    Parent.Invalidate();
}

void TskMenuBarObject::BuildImage(rt::TBitmap& image, const TRect& source) const {
    image.SetSize(ObjectRect.Width(), ObjectRect.Height());
    if (Picture != nullptr)
        image.Canvas().CopyRect(Rect(0, 0, image.Width(), image.Height()), *Picture, source);
}

void TskMenuBarObject::DrawLooks(rt::TBitmap& image, const TRect& normal, const TRect& hot,
                                 bool pressed, const TRect& pressedRect) const {
    if (pressed && !pressedRect.IsEmpty()) {
        BuildImage(image, pressedRect);
    } else if (MorphEnabled && CanMorphing()) {
        rt::TBitmap a, b;
        BuildImage(a, normal);
        BuildImage(b, hot);
        TskEffectBmp morph(a);
        MorphByKind(morph, TskEffectBmp(b), MorphStyle, MorphLevel);
        morph.AssignTo(image);
    } else {
        BuildImage(image, Active && !hot.IsEmpty() ? hot : normal);
    }
}

TskSkinMainMenuBarItem::TskSkinMainMenuBarItem(TskSkinMainMenuBar& parent, const TskSkin* skin,
                                               const TskDataSkinMainMenuBarItem* d,
                                               rt::TMenuItem* item)
    : TskMenuBarObject(parent, skin, d), MenuItem(item) {
    IDName = item->Name();
    Enabled = SavedEnabled = item->Enabled;
    if (d == nullptr) return;
    Font = d->Font;
    TextRect = d->TextRect;
    ItemLeftEnd = d->ItemLeftOffset;
    ItemRightEnd = d->ItemRightOffset;
    PressedLookRect = d->DownRect;
    if (PressedLookRect.IsEmpty()) PressedLookRect = HotLookRect;
    if (PressedLookRect.IsEmpty()) PressedLookRect = NormalLookRect;
    HasSkin = Picture != nullptr && !NormalLookRect.IsEmpty() && !TextRect.IsEmpty();
}

bool TskSkinMainMenuBarItem::HasSubItems() const {
    for (int i = 0; i < MenuItem->Count(); ++i)
        if (MenuItem->Items(i)->Visible) return true;
    return false;
}

rt::TFont TskSkinMainMenuBarItem::ItemFont() const {
    if (HasSkin && Parent.UseSkinFont() && !Font.Name.empty()) return Font.MakeFont();
    return Parent.DefItemFont();
}

int TskSkinMainMenuBarItem::CaptionWidth() const {
    rt::TCanvas& c = ProbeCanvas();
    c.Font = ItemFont();
    TRect r = Rect(0, 0, 0, 0);
    c.DrawText(MenuItem->Caption, r, rt::DT_CALCRECT | rt::DT_SINGLELINE);
    return r.Width();
}

int TskSkinMainMenuBarItem::Place(int x, int top, int areaHeight) {
    const int text = CaptionWidth();
    const int w = HasSkin ? NormalLookRect.Width() - TextRect.Width() + text + 2
                          : text + 2 * kDefaultItemPadding;
    const int h = HasSkin ? NormalLookRect.Height() : areaHeight;
    ObjectRect = rt::Bounds(x, top, w, h);
    return w;
}

void TskSkinMainMenuBarItem::BuildImage(rt::TBitmap& image, const TRect& source) const {
    if (Picture == nullptr || source.IsEmpty()) {
        TskMenuBarObject::BuildImage(image, source);
        return;
    }
    //  source:  | left end | middle ......... | right end |
    //  image:   | left end | middle tiled ... ... ... ... | right end |
    CreateHSkinImage(ItemLeftEnd, ItemRightEnd, image, ObjectRect.Width(), source, *Picture);
}

void TskSkinMainMenuBarItem::Draw(rt::TCanvas& canvas) {
    if (!Visible || !Fits || ObjectRect.IsEmpty()) return;
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    rt::TBitmap image;
    if (HasSkin) {
        DrawLooks(image, NormalLookRect, HotLookRect, Down, PressedLookRect);
        rt::TCanvas& c = image.Canvas();
        c.Font = ItemFont();
        const bool hotImage = Active && !HotLookRect.IsEmpty();
        c.Font.Color = Font.ColorOf(Down                ? TskFontState::Down
                                    : hotImage          ? TskFontState::Active
                                    : MenuItem->Enabled ? TskFontState::Normal
                                                        : TskFontState::Disabled);
        c.Brush.Style = rt::TBrushStyle::bsClear;
        TRect box = Rect(TextRect.Left, TextRect.Top, TextRect.Left + CaptionWidth() + 2,
                         std::max(TextRect.Bottom, h));
        c.DrawText(MenuItem->Caption, box, rt::DT_LEFT | rt::DT_SINGLELINE);
        c.Brush.Style = rt::TBrushStyle::bsSolid;
    } else {
        image.SetSize(w, h);
        rt::TCanvas& c = image.Canvas();
        c.Brush.Style = rt::TBrushStyle::bsSolid;
        c.Brush.Color = rt::clBtnFace;
        const TRect all = Rect(0, 0, w, h);
        c.FillRect(all);
        if (Down || CursorInside) {
            c.Brush.Color = Down ? rt::kDefaultPressed : rt::kDefaultHot;
            c.FillRect(all);
            c.Brush.Color = rt::kDefaultFrame;
            c.FrameRect(all);
        }
        c.Font = Parent.DefItemFont();
        if (!MenuItem->Enabled) c.Font.Color = rt::clBtnShadow;
        c.Brush.Style = rt::TBrushStyle::bsClear;
        TRect box = Down ? Rect(1, 1, w + 1, h + 1) : all;
        c.DrawText(MenuItem->Caption, box, rt::DT_CENTER | rt::DT_VCENTER | rt::DT_SINGLELINE);
        c.Brush.Style = rt::TBrushStyle::bsSolid;
    }
    canvas.Draw(ObjectRect.Left, ObjectRect.Top, image);
}

void TskSkinMainMenuBarItem::MouseDown(int, int, int button) {
    if (!Enabled || button != 0) return;
    if (HasSubItems()) {
        Parent.menuMode_ = true;
        SetDown(true);
        return;
    }
    // A command on the bar itself: the menu mode ends before the command runs.
    Parent.LeaveFormMenuMode();
    ReDraw();
    MenuItem->Click();
}

void TskSkinMainMenuBarItem::MouseEnter() {
    TskSkinMainMenuBarItem* down = nullptr;
    for (TskSkinMainMenuBarItem* i : Parent.Items())
        if (i != this && i->Down) down = i;
    if (down != nullptr) {
        // The open menu follows the mouse along the bar.
        down->SetDown(false);
        Active = CursorInside = true;
        if (MorphEnabled) MorphLevel = 1;
        SetDown(true);
        return;
    }
    for (TskSkinMainMenuBarItem* i : Parent.Items())
        if (i != this && i->Active) i->MouseLeave();
    CursorInside = Active = true;
    ReDraw();
}

void TskSkinMainMenuBarItem::MouseLeave() {
    Active = CursorInside = false;
    if (MorphEnabled && Down) MorphLevel = 0;
    ReDraw();
}

void TskSkinMainMenuBarItem::SetDown(bool value) {
    if (!value) {
        Down = false;
        Active = false;
        if (MorphEnabled) MorphLevel = 1;
        ReDraw();
        return;
    }
    Down = true;
    if (MorphEnabled) MorphLevel = 1;
    Parent.Invalidate();
    TskSkinForm* form = Parent.SkinForm();
    if (form == nullptr) return;
    form->EnterMainMenuMode(&Parent);
    form->PopupMenu(&Parent, Parent.SkinData(), Parent.PopupToUp, MenuItem,
                    Parent.ScreenRectOf(ObjectRect));
}

TskSkinMainMenuBarButton::TskSkinMainMenuBarButton(TskSkinMainMenuBar& parent, const TskSkin* skin,
                                                   const TskDataSkinMainMenuBarButton* d)
    : TskMenuBarObject(parent, skin, d) {
    Command = d->Command;
    PressedLookRect = d->DownRect;
    HasSkin = Picture != nullptr && !NormalLookRect.IsEmpty();
}

TskSkinMainMenuBarButton::TskSkinMainMenuBarButton(TskSkinMainMenuBar& parent,
                                                   const std::string& name, TskStdCommand command)
    : TskMenuBarObject(parent, nullptr, nullptr), Command(command) {
    IDName = name;
}

bool TskSkinMainMenuBarButton::CanMorphing() const {
    if (Down && CursorInside && !PressedLookRect.IsEmpty()) return false;
    return TskMenuBarObject::CanMorphing();
}

void TskSkinMainMenuBarButton::Draw(rt::TCanvas& canvas) {
    if (!Visible || ObjectRect.IsEmpty()) return;
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    rt::TBitmap image;
    if (HasSkin) {
        DrawLooks(image, NormalLookRect, HotLookRect, Down && CursorInside, PressedLookRect);
    } else {
        image.SetSize(w, h);
        rt::TCanvas& c = image.Canvas();
        const bool pressed = Down && CursorInside;
        PaintDefaultButtonFace(c, Rect(0, 0, w, h), pressed, CursorInside || Down);
        TskDefaultGlyph glyph = TskDefaultGlyph::SystemMenu;
        if (Command == cmClose) glyph = TskDefaultGlyph::Close;
        if (Command == cmMaximize) glyph = TskDefaultGlyph::Restore;
        if (Command == cmMinimize) glyph = TskDefaultGlyph::Minimize;
        const int shift = pressed ? 1 : 0;
        const rt::TColor back = pressed        ? rt::kDefaultPressed
                                : CursorInside ? rt::kDefaultHot
                                               : rt::clBtnFace;
        DrawDefaultGlyph(c, glyph, (w - 10) / 2 + shift, (h - 10) / 2 + shift,
                         Enabled ? rt::clBtnText : rt::clBtnShadow, back);
    }
    canvas.Draw(ObjectRect.Left, ObjectRect.Top, image);
}

void TskSkinMainMenuBarButton::SetDown(bool value) {
    Down = value;
    if (value && MorphEnabled && !PressedLookRect.IsEmpty()) MorphLevel = 1;
    ReDraw();
}

void TskSkinMainMenuBarButton::MouseDown(int, int, int button) {
    if (!Enabled || button != 0 || Down) return;
    SetDown(true);
    if (Command != cmSysMenu) return;
    TskSkinForm* form = Parent.SkinForm();
    TskFormHost* child = Parent.ButtonsChild();
    if (form == nullptr || child == nullptr) return;
    form->PopupMenu(&Parent, form->MenuSkin(), Parent.PopupToUp, child->GetSystemMenu(),
                    Parent.ScreenRectOf(ObjectRect));
}

void TskSkinMainMenuBarButton::MouseUp(int, int, int button) {
    if (!Enabled || button != 0 || Command == cmSysMenu) return;
    Down = false;
    ReDraw();
    TskFormHost* child = Parent.ButtonsChild();
    if (!Active || child == nullptr) return;
    if (Command == cmClose)
        child->CloseForm();
    else if (Command == cmMaximize)
        child->SetWindowState(TskWindowState::wsNormal);
    else if (Command == cmMinimize)
        child->SetWindowState(TskWindowState::wsMinimized);
}

void TskSkinMainMenuBarButton::DblClick() {
    if (Command != cmSysMenu) return;
    TskFormHost* child = Parent.ButtonsChild();
    if (TskSkinForm* form = Parent.SkinForm(); form != nullptr && form->SkinMenu()->MenuVisible())
        form->SkinMenu()->CloseAll();
    if (child != nullptr) child->CloseForm();
}

void TskSkinMainMenuBarButton::MouseEnter() {
    if (Down && Command == cmSysMenu) {
        CursorInside = Active = true;
        return;
    }
    TskMenuBarObject::MouseEnter();
}

void TskSkinMainMenuBarButton::MouseLeave() {
    if (Down && Command == cmSysMenu) {
        CursorInside = Active = false;
        return;
    }
    TskMenuBarObject::MouseLeave();
}

}  // namespace sk
