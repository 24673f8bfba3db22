#include "skin/form/skFrameObjects.h"

#include <algorithm>
#include <cmath>

#include "runtime/Menus.h"
#include "skin/controls/skSkinCtrls.h"
#include "skin/data/skSkinData.h"
#include "skin/data/skUtils.h"

namespace sk {

using rt::Rect;
using rt::TBitmap;
using rt::TCanvas;
using rt::TRect;

void ApplyInactiveEffect(TskEffectBmp& image, TskInactiveEffect effect) {
    switch (effect) {
        case ieDarkness:
            image.ChangeDarkness(0.3);
            break;
        case ieGrayScale:
            image.GrayScale();
            break;
        case ieNoise:
            image.AddColorNoise(50);
            break;
        case ieSplitBlur:
            image.SplitBlur(1);
            break;
        case ieInvert:
            image.Invert();
            break;
        default:
            image.ChangeBrightness(0.5);
            break;
    }
}

std::vector<std::unique_ptr<TskActiveSkinObject>> CreateFrameObjects(TskFormHost& form,
                                                                     TskSkinData& skin) {
    std::vector<std::unique_ptr<TskActiveSkinObject>> objects;
    for (const auto& d : skin.Skin().ObjectList) {
        TskDataSkinObject* description = d.get();
        if (dynamic_cast<TskDataSkinMainMenuItem*>(description) != nullptr ||
            dynamic_cast<TskDataSkinMenuItem*>(description) != nullptr ||
            dynamic_cast<TskDataSkinMainMenuBarButton*>(description) != nullptr)
            continue;
        if (auto* b = dynamic_cast<TskDataSkinStdButton*>(description))
            objects.push_back(std::make_unique<TskSkinStdButtonObject>(form, &skin, b));
        else if (auto* b = dynamic_cast<TskDataSkinButton*>(description))
            objects.push_back(std::make_unique<TskSkinButtonObject>(form, &skin, b));
        else if (auto* c = dynamic_cast<TskDataSkinCaption*>(description))
            objects.push_back(std::make_unique<TskSkinCaptionObject>(form, &skin, c));
        else if (auto* u = dynamic_cast<TskDataUserObject*>(description))
            objects.push_back(std::make_unique<TskUserObject>(form, &skin, u));
    }
    return objects;
}

TskActiveSkinObject::TskActiveSkinObject(TskFormHost& form, TskSkinData* skinData,
                                         TskDataSkinObject* description)
    : Form(form), SkinData(skinData) {
    if (description != nullptr) {
        IDName = description->IDName;
        Hint = description->Hint;
        SkinRectInAPicture = description->SkinRectInAPicture;
        NormalLookRect = description->SkinRect;
        HotLookRect = description->ActiveSkinRect;
        MorphEnabled = description->Morphing;
        MorphStyle = description->MorphKind;
        const int index = description->ActivePictureIndex;
        if (skinData != nullptr && index >= 0 &&
            std::size_t(index) < skinData->Skin().ActivePictures.size() &&
            skinData->Skin().ActivePictures[std::size_t(index)] != nullptr) {
            HotPicture = skinData->Skin().ActivePictures[std::size_t(index)].get();
        } else {
            HotLookRect = {};
            description->ActiveSkinRect = {};
        }
    }
    if (HotLookRect.IsEmpty()) MorphEnabled = false;
    ObjectRect = NormalLookRect;
    if (skinData != nullptr) Picture = &skinData->Skin().Picture;
}

bool TskActiveSkinObject::CanMorphing() const {
    return (Active && MorphLevel < 1) || (!Active && MorphLevel > 0);
}

void TskActiveSkinObject::CopyLook(TCanvas& canvas, const TBitmap* picture,
                                   const TRect& rect) const {
    if (picture == nullptr || rect.IsEmpty()) return;
    canvas.CopyRect(ObjectRect, *picture, rect);
}

void TskActiveSkinObject::DrawMorph(TCanvas& canvas, const TBitmap& normal, const TBitmap& active,
                                    bool inactiveEffect) const {
    TskEffectBmp image(normal);
    MorphByKind(image, TskEffectBmp(active), MorphStyle, MorphLevel);
    if (inactiveEffect && SkinData != nullptr) ApplyInactiveEffect(image, SkinData->InactiveEffect);
    image.Draw(canvas, ObjectRect.Left, ObjectRect.Top);
}

void TskActiveSkinObject::DrawLooks(TCanvas& canvas, bool upDate, const TBitmap* normalPicture,
                                    const TRect& normalRect, const TRect& activeRect,
                                    bool normalInFrame) {
    if (MorphInProgress() && !activeRect.IsEmpty()) {
        const int w = ObjectRect.Width(), h = ObjectRect.Height();
        if (w <= 0 || h <= 0) return;
        TBitmap normal(w, h), active(w, h);
        if (normalPicture != nullptr && !normalRect.IsEmpty())
            normal.Canvas().CopyRect(Rect(0, 0, w, h), *normalPicture, normalRect);
        if (HotPicture != nullptr)
            active.Canvas().CopyRect(Rect(0, 0, w, h), *HotPicture, activeRect);
        DrawMorph(canvas, normal, active, false);
        return;
    }
    if (Active && !activeRect.IsEmpty()) {
        CopyLook(canvas, HotPicture, activeRect);
        return;
    }
    if (!upDate && normalInFrame) return;
    CopyLook(canvas, normalPicture, normalRect);
}

void TskActiveSkinObject::Draw(TCanvas& canvas, bool upDate) {
    DrawLooks(canvas, upDate, SkinRectInAPicture ? HotPicture : Picture, NormalLookRect,
              HotLookRect, !SkinRectInAPicture);
}

void TskActiveSkinObject::MouseDown(int x, int y, int button) {
    Form.ObjectMouseDown(IDName, x, y, ObjectRect, button);
}

void TskActiveSkinObject::MouseUp(int x, int y, int button) {
    if (CursorInside) Form.ObjectMouseUp(IDName, x, y, ObjectRect, button);
}

void TskActiveSkinObject::MouseMove(int x, int y) {
    Form.ObjectMouseMove(IDName, x, y, ObjectRect);
}

void TskActiveSkinObject::MouseEnter() {
    CursorInside = true;
    Active = true;
    if (!HotLookRect.IsEmpty()) ReDraw();
    Form.ObjectMouseEnter(IDName);
}

void TskActiveSkinObject::MouseLeave() {
    CursorInside = false;
    Active = false;
    if (!HotLookRect.IsEmpty()) ReDraw();
    Form.ObjectMouseLeave(IDName);
}

void TskActiveSkinObject::ReDraw() {
    if (MorphEnabled)
        Form.EnableMorphTimer();
    else
        Form.PaintObjectNow(*this);
}

void TskActiveSkinObject::DoMorphing() {
    // Kept on the tenths, so that ten steps reach either end exactly.
    SetMorphKf(std::round(MorphLevel * 10 + (Active ? 1 : -1)) / 10);
    Form.PaintObjectNow(*this);
}

void TskActiveSkinObject::SetMorphKf(double value) { MorphLevel = std::clamp(value, 0.0, 1.0); }

void TskUserObject::Draw(TCanvas& canvas, bool /*upDate*/) {
    Form.ObjectPaint(IDName, canvas, ObjectRect);
}

TskSkinButtonObject::TskSkinButtonObject(TskFormHost& form, TskSkinData* skinData,
                                         TskDataSkinButton* description)
    : TskActiveSkinObject(form, skinData, description) {
    if (description != nullptr) {
        DisableSkinRect = description->DisableSkinRect;
        PressedLookRect = description->DownRect;
    }
}

bool TskSkinButtonObject::CanMorphing() const {
    return !MenuOpenFromHere() && TskActiveSkinObject::CanMorphing();
}

void TskSkinButtonObject::Draw(TCanvas& canvas, bool upDate) {
    if (!Enabled && !DisableSkinRect.IsEmpty()) {
        CopyLook(canvas, HotPicture, DisableSkinRect);
        return;
    }
    if (Down && CursorInside && !PressedLookRect.IsEmpty()) {
        CopyLook(canvas, HotPicture, PressedLookRect);
        return;
    }
    TskActiveSkinObject::Draw(canvas, upDate);
}

void TskSkinButtonObject::SetDown(bool value) {
    Down = value;
    if (MorphEnabled && Active) MorphLevel = 1;
    Form.PaintObjectNow(*this);
    if (MorphEnabled && !Down) ReDraw();
}

void TskSkinButtonObject::DropDownMenu() {
    if (MenuItem == nullptr || MenuItem->Count() == 0) return;
    Form.PopupObjectMenu(*this, MenuItem, ObjectRect, PopupUp);
}

void TskSkinButtonObject::MouseDown(int x, int y, int button) {
    if (Enabled && button == 0 && !Down) {
        SetDown(true);
        DropDownMenu();
    }
    Form.ObjectMouseDown(IDName, x, y, ObjectRect, button);
}

void TskSkinButtonObject::MouseUp(int x, int y, int button) {
    if (Enabled && button == 0 && MenuItem == nullptr && Down) SetDown(false);
    TskActiveSkinObject::MouseUp(x, y, button);
}

void TskSkinButtonObject::MouseEnter() {
    CursorInside = true;
    Active = true;
    if (!PressedLookRect.IsEmpty() && Down) {
        if (MorphEnabled) MorphLevel = 1;
        Form.PaintObjectNow(*this);
    } else if (!HotLookRect.IsEmpty()) {
        ReDraw();
    }
    Form.ObjectMouseEnter(IDName);
}

void TskSkinButtonObject::MouseLeave() {
    CursorInside = false;
    Active = false;
    if (!MenuOpenFromHere()) {
        Form.PaintObjectNow(*this);
        ReDraw();
    }
    Form.ObjectMouseLeave(IDName);
}

TskSkinStdButtonObject::TskSkinStdButtonObject(TskFormHost& form, TskSkinData* skinData,
                                               TskDataSkinStdButton* description)
    : TskSkinButtonObject(form, skinData, description) {
    HasSkin = description != nullptr;
    if (description != nullptr) {
        Command = description->Command;
        RestoreRect = description->RestoreRect;
        RestoreActiveRect = description->RestoreActiveRect;
        RestoreInActiveRect = description->RestoreInactiveRect;
        RestoreDownRect = description->RestoreDownRect;
    }
}

TskSkinStdButtonObject::TskSkinStdButtonObject(TskFormHost& form, const std::string& name,
                                               TskStdCommand command)
    : TskSkinButtonObject(form, nullptr, nullptr) {
    HasSkin = false;
    IDName = name;
    Command = command;
    // Nothing of the frame picture shows such a button: the caption-button layout places it
    // and it always paints itself.
    SkinRectInAPicture = true;
}

bool TskSkinStdButtonObject::RestoreMeaning() const {
    switch (Command) {
        case cmMaximize:
            return Form.WindowState() == TskWindowState::wsMaximized;
        case cmMinimize:
            return Form.WindowState() == TskWindowState::wsMinimized;
        case cmRollUp:
            return Form.RollUpState();
        default:
            return false;
    }
}

bool TskSkinStdButtonObject::ShowsIcon() const {
    return Command == cmSysMenu && Form.ShowIcon() && (SkinRectInAPicture || !HasSkin);
}

bool TskSkinStdButtonObject::CanMorphing() const {
    return !ShowsIcon() && TskSkinButtonObject::CanMorphing();
}

void TskSkinStdButtonObject::Draw(TCanvas& canvas, bool upDate) {
    if (!HasSkin) {
        DrawDefault(canvas);
        return;
    }
    if (ShowsIcon()) {
        canvas.Draw(ObjectRect.Left, ObjectRect.Top, Form.SmallIcon());
        MorphLevel = 0;
        return;
    }
    if (RestoreMeaning() && !RestoreRect.IsEmpty()) {
        if (!Form.FormActive() && !RestoreInActiveRect.IsEmpty()) {
            CopyLook(canvas, HotPicture, RestoreInActiveRect);
        } else if (Down && CursorInside && !RestoreDownRect.IsEmpty()) {
            CopyLook(canvas, HotPicture, RestoreDownRect);
        } else {
            // The frame picture never shows the restore look, so it is always drawn.
            DrawLooks(canvas, upDate, HotPicture, RestoreRect, RestoreActiveRect, false);
        }
        return;
    }
    TskSkinButtonObject::Draw(canvas, upDate);
}

void TskSkinStdButtonObject::DrawDefault(TCanvas& canvas) {
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap image(w, h);
    TCanvas& c = image.Canvas();
    const bool pressed = Down && CursorInside;
    const rt::TColor back =
        pressed ? rt::kDefaultPressed : (CursorInside ? rt::kDefaultHot : rt::clBtnFace);
    c.Brush.Style = rt::TBrushStyle::bsSolid;
    c.Brush.Color = back;
    c.FillRect(Rect(0, 0, w, h));
    if (CursorInside) {
        c.Brush.Color = rt::kDefaultFrame;
        c.FrameRect(Rect(0, 0, w, h));
    }
    if (ShowsIcon()) {
        const TBitmap& icon = Form.SmallIcon();
        c.Draw((w - icon.Width()) / 2, (h - icon.Height()) / 2, icon);
    } else {
        const bool restore = RestoreMeaning();
        TskDefaultGlyph glyph;
        switch (Command) {
            case cmClose:
                glyph = TskDefaultGlyph::Close;
                break;
            case cmMaximize:
                glyph = restore ? TskDefaultGlyph::Restore : TskDefaultGlyph::Maximize;
                break;
            case cmMinimize:
                glyph = restore ? TskDefaultGlyph::Restore : TskDefaultGlyph::Minimize;
                break;
            case cmSysMenu:
                glyph = TskDefaultGlyph::SystemMenu;
                break;
            case cmRollUp:
                glyph = restore ? TskDefaultGlyph::RollDown : TskDefaultGlyph::RollUp;
                break;
            default:
                canvas.Draw(ObjectRect.Left, ObjectRect.Top, image);
                return;
        }
        const int x = w / 2 - (pressed ? 4 : 5), y = h / 2 - (pressed ? 3 : 4);
        DrawDefaultGlyph(c, glyph, x, y, Enabled ? rt::clBtnText : rt::clBtnShadow, back);
    }
    canvas.Draw(ObjectRect.Left, ObjectRect.Top, image);
}

namespace {

void Fill(TCanvas& c, const TRect& r, rt::TColor color) {
    c.Brush.Style = rt::TBrushStyle::bsSolid;
    c.Brush.Color = color;
    c.FillRect(r);
}

// A window box: one-pixel outline with a second line under its top edge.
void Box(TCanvas& c, const TRect& r, rt::TColor color) {
    c.Brush.Style = rt::TBrushStyle::bsSolid;
    c.Brush.Color = color;
    c.FrameRect(r);
    c.FillRect(Rect(r.Left, r.Top + 1, r.Right, r.Top + 2));
}

void Line(TCanvas& c, int x0, int y0, int x1, int y1) {
    c.MoveTo(x0, y0);
    c.LineTo(x1, y1);
}

}  // namespace

void DrawDefaultGlyph(TCanvas& c, TskDefaultGlyph glyph, int x, int y, rt::TColor color,
                      rt::TColor background) {
    c.Pen.Color = color;
    c.Pen.Style = rt::TPenStyle::psSolid;
    c.Pen.Width = 1;
    switch (glyph) {
        case TskDefaultGlyph::Close:
            // Lines leave out their end point; each diagonal is two pixels wide.
            Line(c, x + 1, y + 1, x + 9, y + 9);
            Line(c, x + 2, y + 1, x + 10, y + 9);
            Line(c, x + 9, y + 1, x + 1, y + 9);
            Line(c, x + 8, y + 1, x, y + 9);
            break;
        case TskDefaultGlyph::Maximize:
            Box(c, Rect(x, y, x + 11, y + 10), color);
            break;
        case TskDefaultGlyph::Restore:
            Box(c, Rect(x + 2, y, x + 10, y + 6), color);
            Fill(c, Rect(x, y + 4, x + 7, y + 10), background);
            Box(c, Rect(x, y + 4, x + 7, y + 10), color);
            break;
        case TskDefaultGlyph::Minimize:
            Fill(c, Rect(x + 1, y + 8, x + 9, y + 10), color);
            break;
        case TskDefaultGlyph::SystemMenu:
            c.Brush.Style = rt::TBrushStyle::bsSolid;
            c.Brush.Color = color;
            c.FrameRect(Rect(x + 1, y + 3, x + 9, y + 6));
            break;
        case TskDefaultGlyph::RollUp:
        case TskDefaultGlyph::RollDown:
            // Rows of 9, 7, 5, 3 and 1 pixels between y + 2 and y + 6, centred on x + 5.
            for (int i = 0; i < 5; ++i) {
                const int row = glyph == TskDefaultGlyph::RollUp ? y + 6 - i : y + 2 + i;
                Fill(c, Rect(x + 1 + i, row, x + 10 - i, row + 1), color);
            }
            break;
    }
}

void TskSkinStdButtonObject::RunCommand() {
    switch (Command) {
        case cmClose:
            Form.CloseForm();
            break;
        case cmMaximize:
            Form.SetWindowState(Form.WindowState() == TskWindowState::wsMaximized
                                    ? TskWindowState::wsNormal
                                    : TskWindowState::wsMaximized);
            break;
        case cmMinimize:
            Form.SetWindowState(Form.WindowState() == TskWindowState::wsMinimized
                                    ? TskWindowState::wsNormal
                                    : TskWindowState::wsMinimized);
            break;
        case cmRollUp:
            Form.SetRollUpState(!Form.RollUpState());
            break;
        default:
            break;
    }
}

void TskSkinStdButtonObject::MouseEnter() {
    if (HasSkin) {
        TskSkinButtonObject::MouseEnter();
        return;
    }
    // The default look has a hot state of its own although it has no active look to morph to.
    CursorInside = true;
    Active = true;
    Form.PaintObjectNow(*this);
    Form.ObjectMouseEnter(IDName);
}

void TskSkinStdButtonObject::DblClick() {
    if (Command == cmSysMenu) Form.CloseForm();
}

void TskSkinStdButtonObject::MouseDown(int /*x*/, int /*y*/, int button) {
    if (!Enabled || button != 0 || Down) return;
    SetDown(true);
    if (Command == cmSysMenu) {
        MenuItem = Form.GetSystemMenu();
        DropDownMenu();
    }
}

void TskSkinStdButtonObject::MouseUp(int x, int y, int button) {
    const bool run = Enabled && Active && button == 0;
    if (Command == cmClose) {
        TskSkinButtonObject::MouseUp(x, y, button);
        // Closing may free the form and this object with it: nothing may follow.
        if (run) RunCommand();
        return;
    }
    if (run) RunCommand();
    TskSkinButtonObject::MouseUp(x, y, button);
}

TskSkinCaptionObject::TskSkinCaptionObject(TskFormHost& form, TskSkinData* skinData,
                                           TskDataSkinCaption* description)
    : TskActiveSkinObject(form, skinData, description) {
    if (description == nullptr) return;
    Font = description->Font;
    ShadowColor = description->ShadowColor;
    ActiveShadowColor = description->ActiveShadowColor;
    Shadow = description->Shadow;
    Alignment = description->Alignment;
    TextRect = description->TextRect;
    FrameRect = description->FrameRect;
    ActiveFrameRect = description->ActiveFrameRect;
    FrameLeftOffset = description->FrameLeftOffset;
    FrameRightOffset = description->FrameRightOffset;
    FrameTextRect = description->FrameTextRect;
}

TRect TskSkinCaptionObject::WorkingTextRect() const {
    TRect r = TextRect;
    if (!r.IsEmpty()) r.Right = ObjectRect.Width() + TextRect.Right - NormalLookRect.Width();
    if (!FrameRect.IsEmpty()) {
        r.Left += FrameTextRect.Left;
        r.Top += FrameTextRect.Top;
        r.Right += FrameTextRect.Right - FrameRect.Width();
    }
    return r;
}

std::string TskSkinCaptionObject::ShownText(TCanvas& canvas) const {
    const std::string text = Form.CaptionText();
    const TRect r = WorkingTextRect();
    if (text.empty() || r.IsEmpty()) return {};
    canvas.Font = Font.MakeFont();
    return EllipsisText(canvas, text, r.Width());
}

void TskSkinCaptionObject::DrawText(TCanvas& canvas, int originX, int originY, rt::TColor ink,
                                    bool active) const {
    const TRect r = WorkingTextRect();
    const std::string text = ShownText(canvas);
    if (text.empty()) return;
    canvas.Font.Color = ink;
    const int tw = canvas.TextWidth(text), th = canvas.TextHeight(text);
    int x = r.Left;
    if (Alignment == taRightJustify)
        x = r.Right - tw;
    else if (Alignment == taCenter)
        x = r.Left + (r.Width() - tw) / 2;
    x += originX;
    const int y = originY + r.Top + r.Height() / 2 - th / 2;
    if (!FrameRect.IsEmpty() && HotPicture != nullptr) {
        const TRect& piece = active && !ActiveFrameRect.IsEmpty() ? ActiveFrameRect : FrameRect;
        TBitmap frame;
        CreateHSkinImage(FrameLeftOffset, FrameRightOffset, frame,
                         FrameRect.Width() + tw - FrameTextRect.Width(), piece, *HotPicture);
        canvas.Draw(x - FrameTextRect.Left, y - FrameTextRect.Top, frame);
    }
    canvas.Brush.Style = rt::TBrushStyle::bsClear;
    if (Shadow) {
        canvas.Font.Color = active ? ActiveShadowColor : ShadowColor;
        canvas.TextOut(x + 1, y + 1, text);
        canvas.Font.Color = ink;
    }
    canvas.TextOut(x, y, text);
    canvas.Brush.Style = rt::TBrushStyle::bsSolid;
}

// The caption background keeps the skin's fixed ends at its sides:
//
//   source  |<- lw ->|<---- middle ---->|<- rw ->|      lw = lefttoppoint.x - skinrect.left
//   image   |<- lw ->|middle|middle|midd|<- rw ->|      rw = skinrect.right - righttoppoint.x
//
// The middle is tiled from the image's left edge and the ends are copied over it; a source
// without ends is stretched as a whole.
void TskSkinCaptionObject::BuildImage(TBitmap& image, const TBitmap* picture, const TRect& source,
                                      rt::TColor ink, bool active) const {
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    image.Clear();
    image.SetSize(w, h);
    if (image.Empty()) return;
    TCanvas& c = image.Canvas();
    if (picture != nullptr && !source.IsEmpty()) {
        int lw = SkinData != nullptr ? SkinData->Frame.LeftTop.X - NormalLookRect.Left : 0;
        int rw = SkinData != nullptr ? NormalLookRect.Right - SkinData->Frame.RightTop.X : 0;
        if (lw <= 0 && rw <= 0) {
            c.CopyRect(Rect(0, 0, w, h), *picture, source);
        } else {
            lw = std::clamp(lw, 0, source.Width());
            rw = std::clamp(rw, 0, source.Width() - lw);
            const int left = source.Left + lw, mw = source.Width() - lw - rw;
            for (int x = 0; mw > 0 && x < w; x += mw) {
                const int n = std::min(mw, w - x);
                c.CopyRect(Rect(x, 0, x + n, h), *picture,
                           Rect(left, source.Top, left + n, source.Bottom));
            }
            if (lw > 0)
                c.CopyRect(Rect(0, 0, lw, h), *picture,
                           Rect(source.Left, source.Top, source.Left + lw, source.Bottom));
            if (rw > 0)
                c.CopyRect(Rect(w - rw, 0, w, h), *picture,
                           Rect(source.Right - rw, source.Top, source.Right, source.Bottom));
        }
    }
    DrawText(c, 0, 0, ink, active);
}

void TskSkinCaptionObject::Draw(TCanvas& canvas, bool /*upDate*/) {
    const bool inactiveEffect = Form.RendersInactiveImage() && !Active;
    if (MorphInProgress()) {
        TBitmap normal, active;
        BuildImage(normal, Picture, NormalLookRect, Font.Color, false);
        BuildImage(active, HotPicture, HotLookRect, Font.ActiveColor, true);
        if (normal.Empty()) return;
        DrawMorph(canvas, normal, active, inactiveEffect);
        return;
    }
    if (HotLookRect.IsEmpty() || (!Active && !MorphEnabled)) {
        DrawText(canvas, ObjectRect.Left, ObjectRect.Top,
                 Font.ColorOf(Active ? TskFontState::Active : TskFontState::Normal), Active);
        return;
    }
    TBitmap image;
    if (Active) {
        BuildImage(image, HotPicture, HotLookRect, Font.ActiveColor, true);
        canvas.Draw(ObjectRect.Left, ObjectRect.Top, image);
        return;
    }
    BuildImage(image, Picture, NormalLookRect, Font.Color, false);
    if (inactiveEffect && SkinData != nullptr && !image.Empty()) {
        TskEffectBmp e(image);
        ApplyInactiveEffect(e, SkinData->InactiveEffect);
        e.Draw(canvas, ObjectRect.Left, ObjectRect.Top);
        return;
    }
    canvas.Draw(ObjectRect.Left, ObjectRect.Top, image);
}

void TskSkinCaptionObject::MouseDown(int x, int y, int button) {
    Form.ObjectMouseDown(IDName, x, y, ObjectRect, button);
}

void TskSkinCaptionObject::MouseUp(int x, int y, int button) {
    Form.ObjectMouseUp(IDName, x, y, ObjectRect, button);
}

void TskSkinCaptionObject::MouseEnter() {
    CursorInside = true;
    Form.ObjectMouseEnter(IDName);
}

void TskSkinCaptionObject::MouseLeave() {
    CursorInside = false;
    Form.ObjectMouseLeave(IDName);
}

}  // namespace sk
