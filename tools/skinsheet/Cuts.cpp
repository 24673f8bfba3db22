#include "Cuts.h"

#include <algorithm>
#include <cmath>

#include "skin/controls/skSkinCtrls.h"
#include "skin/data/skUtils.h"

namespace sheet {

namespace {

using rt::TBitmap;
using rt::TRect;
using State = sk::TskFontState;

template <class T>
const T* Ctl(const sk::TskSkinData& d, const std::string& name) {
    const int i = d.GetControlIndex(name);
    return i < 0 ? nullptr : dynamic_cast<const T*>(d.Skin().CtrlList[std::size_t(i)].get());
}

template <class T>
const T* Obj(const sk::TskSkinData& d, const std::string& name) {
    const int i = d.GetIndex(name);
    return i < 0 ? nullptr : dynamic_cast<const T*>(d.Skin().ObjectList[std::size_t(i)].get());
}

const TBitmap* Pic(const sk::TskSkinData& d, int index) {
    if (index < 0 || index >= int(d.Skin().ActivePictures.size())) return nullptr;
    return d.Skin().ActivePictures[std::size_t(index)].get();
}

TBitmap Blank(int w, int h, rt::TColor c) {
    TBitmap b(std::max(w, 1), std::max(h, 1));
    b.Canvas().Brush.Color = c;
    b.Canvas().FillRect(rt::Rect(0, 0, b.Width(), b.Height()));
    return b;
}

void Copy(TBitmap& dst, int x, int y, const TBitmap* src, const TRect& r) {
    if (src == nullptr || r.IsEmpty()) return;
    dst.Canvas().CopyRect(rt::Bounds(x, y, r.Width(), r.Height()), *src, r);
}

TRect Moved(TRect r, int dx, int dy) {
    return rt::Rect(r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy);
}
TRect Or(const TRect& r, const TRect& fallback) { return r.IsEmpty() ? fallback : r; }

std::string StripAmp(const std::string& s) {
    std::string out;
    for (char c : s)
        if (c != '&') out += c;
    return out;
}

void Text(TBitmap& b, int x, int y, const std::string& s, const rt::TFont& f) {
    rt::TCanvas& c = b.Canvas();
    c.Font = f;
    c.Brush.Style = rt::TBrushStyle::bsClear;
    c.TextOut(x, y, s);
    c.Brush.Style = rt::TBrushStyle::bsSolid;
}

int TextW(TBitmap& b, const std::string& s, const rt::TFont& f) {
    b.Canvas().Font = f;
    return b.Canvas().TextWidth(s);
}
int TextH(TBitmap& b, const rt::TFont& f) {
    b.Canvas().Font = f;
    return b.Canvas().TextHeight("Ag");
}

// Sets the pixels outside a region to `outside`.
void Shape(TBitmap& b, const std::optional<rt::TRegion>& region, rt::TColor outside) {
    if (!region) return;
    const std::uint32_t px = rt::ColorToPixel(outside);
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (!region->Contains(x, y)) b.ScanLine(y)[x] = px;
}

// A custom control's picture piece composed to w x h with the control's sizing mode; returns
// the fitted client rectangle through fitClient.
TBitmap Compose(const sk::TskDataSkinCustomControl& c, const TBitmap* pic, const TRect& src, int w,
                int h, TRect* fitClient = nullptr) {
    TBitmap b = Blank(w, h, rt::clFuchsia);
    if (pic == nullptr || src.IsEmpty()) return b;
    const int sw = c.SkinRect.Width(), sh = c.SkinRect.Height(), dx = w - sw, dy = h - sh;
    const sk::TskCornerSet& k = c.Corners;
    TRect client = k.Client;
    if (k.RightBottom.X != 0 && k.RightBottom.Y != 0) {
        const sk::TskCornerSet fitted = k.Grown(dx, dy);
        client = fitted.Client;
        sk::CreateSkinImage(k, src, *pic, true, b, w, h, fitted);
    } else if (k.RightTop.X != 0 || k.RightTop.Y != 0) {
        client.Right += dx;
        sk::CreateHSkinImage(k.LeftTop.X, sw - k.RightTop.X, b, w, src, *pic);
    } else if (k.LeftBottom.X != 0 || k.LeftBottom.Y != 0) {
        client.Bottom += dy;
        sk::CreateVSkinImage(k.LeftTop.Y, sh - k.LeftBottom.Y, b, h, src, *pic);
    } else {
        b = Blank(sw, sh, rt::clFuchsia);
        Copy(b, 0, 0, pic, src);
    }
    if (fitClient != nullptr) *fitClient = client;
    return b;
}

}  // namespace

TBitmap MenuBar(const sk::TskSkinData& d, int w, const std::vector<std::string>& items, int hot,
                bool down) {
    const auto* bar = Ctl<sk::TskDataSkinMainMenuBar>(d, "mainmenubar");
    if (bar == nullptr) return Blank(w, 22, rt::clFuchsia);
    const TBitmap* pic = Pic(d, bar->PictureIndex);
    const int sw = bar->SkinRect.Width();
    TBitmap b = Blank(w, bar->SkinRect.Height(), rt::clFuchsia);
    if (pic == nullptr) return b;
    sk::CreateHSkinImage(bar->ItemsRect.Left, sw - bar->ItemsRect.Right, b, w, bar->SkinRect, *pic);
    const auto* item = Obj<sk::TskDataSkinMainMenuItem>(d, bar->MenuBarItem);
    if (item == nullptr) return b;
    const TBitmap* ipic = Pic(d, item->ActivePictureIndex);
    int x = bar->ItemsRect.Left;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const bool isHot = int(i) == hot;
        const rt::TFont f =
            item->Font.MakeFont(isHot ? (down ? State::Down : State::Active) : State::Normal);
        const std::string s = StripAmp(items[i]);
        const int tw = TextW(b, s, f);
        const int iw = item->SkinRect.Width() - item->TextRect.Width() + tw + 2;
        const TRect src =
            isHot ? (down ? Or(item->DownRect, item->ActiveSkinRect) : item->ActiveSkinRect)
                  : item->SkinRect;
        TBitmap ib;
        if (ipic != nullptr)
            sk::CreateHSkinImage(item->ItemLeftOffset, item->ItemRightOffset, ib, iw, src, *ipic);
        Copy(b, x, bar->ItemsRect.Top, &ib, rt::Rect(0, 0, ib.Width(), ib.Height()));
        Text(b, x + item->TextRect.Left, bar->ItemsRect.Top + item->TextRect.Top, s, f);
        x += iw;
    }
    return b;
}

TBitmap PopupMenu(const sk::TskSkinData& d, const std::vector<std::string>& items, int hot,
                  rt::TColor outside) {
    const sk::TskDataSkinPopupWindow& pw = d.Skin().PopupWindow;
    const TBitmap* pic = Pic(d, pw.WindowPictureIndex);
    const sk::TskDataSkinMenuItem* item = nullptr;
    for (const auto& o : d.Skin().ObjectList)
        if ((item = dynamic_cast<const sk::TskDataSkinMenuItem*>(o.get())) != nullptr) break;
    if (pic == nullptr || item == nullptr) return Blank(40, 40, rt::clFuchsia);
    const TBitmap* ipic = Pic(d, item->ActivePictureIndex);
    TBitmap probe(4, 4);
    int widest = 0, height = 0;
    for (const std::string& s : items) {
        if (s == "-") {
            height += item->DividerRect.Height();
            continue;
        }
        const rt::TFont f = item->Font.MakeFont();
        widest = std::max(widest, TextW(probe, s[0] == '*' ? s.substr(1) : s, f) + 2);
        height += item->SkinRect.Height();
    }
    const TRect ir = pw.Corners.Client;
    const int w = widest + 19 + 19 + (pic->Width() - ir.Width()) +
                  (item->TextRect.Left + item->SkinRect.Width() - item->TextRect.Right);
    const int h = height + (pic->Height() - ir.Height());
    const int dx = w - pic->Width(), dy = h - pic->Height();
    TBitmap b = Blank(w, h, outside);
    const sk::TskCornerSet fitted = pw.Corners.Grown(dx, dy);
    const TRect sized = fitted.Client;
    sk::CreateSkinImage(pw.Corners, rt::Rect(0, 0, pic->Width(), pic->Height()), *pic, false, b, w,
                        h, fitted);
    int y = sized.Top;
    const int iw = sized.Width();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string& s = items[i];
        TBitmap ib;
        if (s == "-") {
            if (ipic != nullptr)
                sk::CreateHSkinImage(item->DividerLeftOffset, item->DividerRightOffset, ib, iw,
                                     item->DividerRect, *ipic);
            Copy(b, sized.Left, y, &ib, rt::Rect(0, 0, ib.Width(), ib.Height()));
            y += item->DividerRect.Height();
            continue;
        }
        const bool isHot = int(i) == hot;
        if (ipic != nullptr)
            sk::CreateHSkinImage(item->ItemLeftOffset, item->ItemRightOffset, ib, iw,
                                 isHot ? item->ActiveSkinRect : item->SkinRect, *ipic);
        Copy(b, sized.Left, y, &ib, rt::Rect(0, 0, ib.Width(), ib.Height()));
        const rt::TFont f = item->Font.MakeFont(isHot ? State::Active : State::Normal);
        const int ih = item->SkinRect.Height();
        TRect tr = Moved(item->TextRect, sized.Left, y);
        tr.Right += iw - item->SkinRect.Width();
        const int th = TextH(b, f);
        const bool checked = s[0] == '*';
        Text(b, tr.Left + 16, tr.Top + (tr.Height() - th) / 2, checked ? s.substr(1) : s, f);
        if (checked) {
            rt::TCanvas& c = b.Canvas();
            c.Brush.Color = f.Color;
            c.Pen.Color = f.Color;
            c.Ellipse(rt::Bounds(tr.Left + 5, y + ih / 2 - 3, 6, 6));
        }
        y += ih;
    }
    if (const TBitmap* mask = Pic(d, pw.MaskPictureIndex))
        Shape(b, sk::CreateSkinRegion(pw.Corners, *mask, w, h, fitted), outside);
    return b;
}

TBitmap Edit(const sk::TskSkinData& d, int w, bool active, const std::string& text) {
    const auto* o = Ctl<sk::TskDataSkinEditControl>(d, "edit");
    if (o == nullptr) return Blank(w, 21, rt::clFuchsia);
    const TBitmap* pic = Pic(d, o->PictureIndex);
    TBitmap b = Blank(w, o->SkinRect.Height(), rt::clFuchsia);
    if (pic == nullptr) return b;
    sk::CreateHSkinImage(o->Corners.LeftTop.X, o->SkinRect.Width() - o->Corners.RightTop.X, b, w,
                         active ? Or(o->ActiveSkinRect, o->SkinRect) : o->SkinRect, *pic);
    const TRect area = o->Corners.Client;
    Text(b, area.Left + 2, area.Top, text,
         o->Font.MakeFont(active ? State::Active : State::Normal));
    return b;
}

TBitmap ComboBox(const sk::TskSkinData& d, int w, int buttonState, const std::string& text) {
    const auto* o = Ctl<sk::TskDataSkinComboBox>(d, "combobox");
    if (o == nullptr) return Blank(w, 21, rt::clFuchsia);
    const TBitmap* pic = Pic(d, o->PictureIndex);
    TRect client;
    TBitmap b = Compose(*o, pic, o->SkinRect, w, o->SkinRect.Height(), &client);
    const int dx = w - o->SkinRect.Width();
    const TRect button = Moved(o->ButtonRect, dx, 0);
    const TRect states[4] = {TRect{}, o->ActiveButtonRect,
                             Or(o->DownButtonRect, o->ActiveButtonRect), o->UnEnabledButtonRect};
    Copy(b, button.Left, button.Top, pic, states[buttonState]);
    // The box shows its item focused while the mouse is on it, plain otherwise.
    const bool focus = buttonState == 1 || buttonState == 2;
    TBitmap item;
    if (pic != nullptr)
        sk::CreateHSkinImage(o->ItemLeftOffset, o->ItemRightOffset, item, client.Width(),
                             focus ? o->FocusItemRect : o->ItemRect, *pic);
    Copy(b, client.Left, client.Top, &item, rt::Rect(0, 0, item.Width(), item.Height()));
    const rt::TFont f = o->Font.MakeFont(focus ? State::Focus : State::Normal);
    Text(b, client.Left + o->ItemTextRect.Left,
         client.Top + (o->ItemRect.Height() - TextH(b, f)) / 2, text, f);
    return b;
}

TBitmap ListBox(const sk::TskSkinData& d, int w, int h, const std::vector<std::string>& items) {
    const auto* o = Ctl<sk::TskDataSkinListBox>(d, "listbox");
    if (o == nullptr) return Blank(w, h, rt::clFuchsia);
    const TBitmap* pic = Pic(d, o->PictureIndex);
    TRect client;
    TBitmap b = Compose(*o, pic, o->SkinRect, w, h, &client);
    int y = client.Top;
    for (std::size_t i = 0; i < items.size() && pic != nullptr; ++i) {
        const TRect src = i == 1 ? o->ActiveItemRect : i == 2 ? o->FocusItemRect : o->ItemRect;
        TBitmap ib;
        sk::CreateHSkinImage(o->ItemLeftOffset, o->ItemRightOffset, ib, client.Width(), src, *pic);
        Copy(b, client.Left, y, &ib, rt::Rect(0, 0, ib.Width(), ib.Height()));
        const rt::TFont f = o->Font.MakeFont(i == 1   ? State::Active
                                             : i == 2 ? State::Focus
                                                      : State::Normal);
        Text(b, client.Left + o->ItemTextRect.Left, y + (src.Height() - TextH(b, f)) / 2, items[i],
             f);
        y += src.Height();
    }
    return b;
}

TBitmap Headers(const sk::TskSkinData& d, const std::vector<std::string>& captions, int state) {
    const auto* o = Ctl<sk::TskDataSkinButtonControl>(d, "resizebutton");
    const int sw = 80;
    if (o == nullptr) return Blank(sw * int(captions.size()), 20, rt::clFuchsia);
    const TBitmap* pic = Pic(d, o->PictureIndex);
    const int h = o->SkinRect.Height();
    TBitmap b = Blank(sw * int(captions.size()), h, rt::clFuchsia);
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const int st = i == 0 ? state : 0;
        const TRect active = Or(o->ActiveSkinRect, o->SkinRect);
        const TRect src = st == 2 ? Or(o->DownSkinRect, active) : st == 1 ? active : o->SkinRect;
        TBitmap sb;
        if (pic != nullptr)
            sk::CreateHSkinImage(o->Corners.LeftTop.X, o->SkinRect.Width() - o->Corners.RightTop.X,
                                 sb, sw, src, *pic);
        Copy(b, int(i) * sw, 0, &sb, rt::Rect(0, 0, sb.Width(), sb.Height()));
        const rt::TFont f = o->Font.MakeFont(st == 2 ? State::Down : State::Normal);
        Text(b, int(i) * sw + 5, (h - TextH(b, f)) / 2, captions[i], f);
    }
    return b;
}

TBitmap CheckRadio(const sk::TskSkinData& d, int w, bool checked, int state,
                   const std::string& caption) {
    const auto* o = Ctl<sk::TskDataSkinCheckRadioControl>(d, "checkradio");
    if (o == nullptr) return Blank(w, 17, rt::clFuchsia);
    const TBitmap* pic = Pic(d, o->PictureIndex);
    TBitmap b = Compose(*o, pic, state == 1 ? Or(o->ActiveSkinRect, o->SkinRect) : o->SkinRect, w,
                        o->SkinRect.Height());
    const TRect img = state == 3
                          ? (checked ? o->UnEnabledCheckImageRect : o->UnEnabledUnCheckImageRect)
                      : state == 1 ? (checked ? o->ActiveCheckImageRect : o->ActiveUnCheckImageRect)
                                   : (checked ? o->CheckImageRect : o->UnCheckImageRect);
    Copy(b, o->CheckImageArea.Left, o->CheckImageArea.Top, pic, img);
    const rt::TFont f = o->Font.MakeFont(state == 3   ? State::Disabled
                                         : state == 1 ? State::Active
                                                      : State::Normal);
    Text(b, o->TextArea.Left, o->TextArea.Top + (o->TextArea.Height() - TextH(b, f)) / 2, caption,
         f);
    return b;
}

TBitmap ToolPanel(const sk::TskSkinData& d, int w) {
    const auto* o = Ctl<sk::TskDataSkinPanelControl>(d, "toolpanel");
    if (o == nullptr) return Blank(w, 25, rt::clFuchsia);
    return Compose(*o, Pic(d, o->PictureIndex), o->SkinRect, w, o->SkinRect.Height());
}

}  // namespace sheet
