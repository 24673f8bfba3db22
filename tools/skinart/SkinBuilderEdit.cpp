// The edit with a button at its right end, and the combo box's disabled button.
//
// "buttonedit": the field of "edit", and in its right end a small
// tool button with three dots (it opens something to choose from). The button's normal look
// is part of the field's strip; its hot, pressed and disabled looks are pictures of the
// button's size, each with the field behind it, copied over it.
//
//   skin (48 x 21):  |  4  |   text area tiles   | ... button 17 |
//                     left end                    right end (21 columns)
#include "SkinBuilder.h"

namespace skinart {

namespace {

void Dots(QPainter& p, const QRectF& r, const QColor& colour, bool pressed) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const double shift = pressed ? 1 : 0;
    const double cx = r.center().x() + shift, cy = r.center().y() + 2 + shift;
    for (int i = -1; i <= 1; ++i) p.drawRect(QRectF(cx + i * 4 - 1, cy - 1, 2, 2));
    p.restore();
}

QColor DotColour(const Style& s, St st) {
    switch (st) {
        case kHot:
            return s.ToolTextHot;
        case kDown:
            return s.ToolTextDown;
        case kDisabled:
            return s.ToolTextDisabled;
        default:
            return s.ToolText;
    }
}

}  // namespace

void AddEditControls(ControlParts& parts) {
    const Style& s = parts.style;
    Ini& ini = parts.ini;
    Atlas& atlas = parts.controls;
    const std::string sec = "buttonedit";
    parts.list.push_back(sec + ":edit");
    const int w = 48, h = 21, bw = 17;
    const R button = Rc(w - bw - 2, 2, w - 2, 2 + bw);
    auto drawButton = [&](QPainter& p, const QRectF& r, St st) {
        s.ToolButton(p, r, st);
        Dots(p, r, DotColour(s, st), st == kDown);
    };

    R skin = atlas.Alloc(w, h);
    R active = atlas.Alloc(w, h);
    {
        Painter p(atlas.Image());
        for (const R& r : {skin, active}) {
            FillRows(atlas.Image(), r, [&](int y) { return s.ClientRow(y); });
            s.Field(p, r.F(), r.l == active.l && r.t == active.t, false);
            drawButton(p, button.Moved(r.l, r.t).F(), kNormal);
        }
    }
    ini.Set(sec, "pictureindex", parts.picture);
    ini.Set(sec, "maskpictureindex", -1);
    ini.Set(sec, "skinrect", skin);
    ini.Set(sec, "lefttoppoint", P{4, 0});
    ini.Set(sec, "righttoppoint", P{w - (bw + 4), 0});
    ini.Set(sec, "leftbottompoint", P{0, 0});
    ini.Set(sec, "rightbottompoint", P{0, 0});
    ini.Set(sec, "clientrect", Rc(3, 3, w - bw - 3, h - 3));
    ini.Set(sec, "activeskinrect", active);
    ini.Set(sec, "fontname", "Arial");
    ini.Set(sec, "fontheight", s.FontHeight);
    ini.Set(sec, "fontstyle", "");
    ini.SetColor(sec, "fontcolor", s.WindowText);
    ini.SetColor(sec, "disabledfontcolor", s.TextDisabled);
    ini.SetColor(sec, "activefontcolor", s.WindowText);
    ini.Set(sec, "buttonrect", button);
    auto state = [&](St st) {
        R r = atlas.Alloc(bw, bw);
        Painter p(atlas.Image());
        p.setClipRect(r.F());
        const QRectF field(r.l - button.l, r.t - button.t, w, h);
        FillRows(atlas.Image(), r, [&](int y) { return s.ClientRow(y + button.t); });
        // The field as the active strip shows it (hot and pressed happen under the mouse).
        s.Field(p, field, st != kDisabled, st == kDisabled);
        drawButton(p, r.F(), st);
        return r;
    };
    ini.Set(sec, "activebuttonrect", state(kHot));
    ini.Set(sec, "downbuttonrect", state(kDown));
    ini.Set(sec, "unenabledbuttonrect", state(kDisabled));

    // The combo box's disabled button (at the same place of a field of the same size): its
    // normal arrow button faded into the disabled field. The arrow buttons have no disabled
    // look of their own and would show pressed.
    {
        R r = atlas.Alloc(bw, bw);
        Painter p(atlas.Image());
        p.setClipRect(r.F());
        FillRows(atlas.Image(), r, [&](int y) { return s.ClientRow(y + button.t); });
        s.Field(p, QRectF(r.l - button.l, r.t - button.t, w, h), false, true);
        s.ScrollArrow(p, r.F().adjusted(-1, -1, 1, 1), GlyphKind::ArrowDown, kNormal);
        p.fillRect(r.F(), WithAlpha(Mix(s.Window, s.FieldBorder, 0.15), 150));
        ini.Set("combobox", "unenabledbuttonrect", r);
    }
}

}  // namespace skinart
