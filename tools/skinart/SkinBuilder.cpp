#include "SkinBuilder.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace skinart {

const char* const kSkinFileNames[9] = {"skin.ini",      "frame.bmp",    "mask.bmp",
                                       "objects.bmp",   "controls.bmp", "popup.bmp",
                                       "popupmask.bmp", "hint.bmp",     "hintmask.bmp"};

namespace {

// Active picture indexes, in the order of [PICTURES].
constexpr int kObjects = 0, kControls = 1, kPopup = 2, kPopupMask = 3, kHint = 4, kHintMask = 5;
constexpr const char* kActiveFiles[] = {"objects.bmp",   "controls.bmp", "popup.bmp",
                                        "popupmask.bmp", "hint.bmp",     "hintmask.bmp"};

// Where the main window places the controls that sit straight on its client background: their
// own backgrounds continue that background's rows seamlessly.
constexpr int kLabelTop = 28, kTrackTop = 241, kToolTop = 280;

using Rows = std::function<QColor(int)>;

// Inside test for a rounded rectangle at the pixel's centre (the window and popup shapes).
bool InsideRounded(int x, int y, int w, int h, int top, int bottom) {
    const double px = x + 0.5, py = y + 0.5;
    auto corner = [&](double cx, double cy, int r) {
        return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= double(r) * r;
    };
    if (top > 0 && py < top) {
        if (px < top) return corner(top, top, top);
        if (px > w - top) return corner(w - top, top, top);
    }
    if (bottom > 0 && py > h - bottom) {
        if (px < bottom) return corner(bottom, h - bottom, bottom);
        if (px > w - bottom) return corner(w - bottom, h - bottom, bottom);
    }
    return true;
}

std::vector<bool> RoundedMask(int w, int h, int top, int bottom) {
    std::vector<bool> m(std::size_t(w) * std::size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            m[std::size_t(y) * std::size_t(w) + std::size_t(x)] =
                InsideRounded(x, y, w, h, top, bottom);
    return m;
}

class Builder {
public:
    explicit Builder(const Style& s) : s_(s), objects_(256, Qt::black), controls_(320, Qt::black) {}

    SkinFiles Build();

private:
    // Section helpers.
    void Object(const std::string& name, const std::string& kind) {
        objectList_.push_back(name + ":" + kind);
    }
    void Control(const std::string& name, const std::string& kind) {
        controlList_.push_back(name + ":" + kind);
    }
    void Font(const std::string& sec, int height, const std::string& style) {
        ini_.Set(sec, "fontname", "Arial");
        ini_.Set(sec, "fontheight", height);
        ini_.Set(sec, "fontstyle", style);
    }
    void ControlRoot(const std::string& sec, const R& skin, int picture = kControls) {
        ini_.Set(sec, "pictureindex", picture);
        ini_.Set(sec, "maskpictureindex", -1);
        ini_.Set(sec, "skinrect", skin);
    }
    void Points(const std::string& sec, P lt, P rt, P lb, P rb, const R& client) {
        ini_.Set(sec, "lefttoppoint", lt);
        ini_.Set(sec, "righttoppoint", rt);
        ini_.Set(sec, "leftbottompoint", lb);
        ini_.Set(sec, "rightbottompoint", rb);
        ini_.Set(sec, "clientrect", client);
    }
    // Corner points of a strip of width w that keeps `left` and `right` columns at its ends
    // (the horizontal sizing of a control).
    void HStrip(const std::string& sec, int w, int left, int right, const R& client) {
        Points(sec, {left, 0}, {w - right, 0}, {0, 0}, {0, 0}, client);
    }
    // Corner points of a frame of w x h with `c` pixels of fixed corners (both-way sizing).
    void Corners(const std::string& sec, int w, int h, int c, const R& client) {
        Points(sec, {c, c}, {w - c, c}, {c, h - c}, {w - c, h - c}, client);
    }

    // A piece of the controls picture over a backdrop of rows.
    R Piece(Atlas& a, int w, int h, const Rows& backdrop) {
        R r = a.Alloc(w, h);
        FillRows(a.Image(), r, backdrop);
        return r;
    }
    Rows ClientAt(int y0) const {
        return [this, y0](int i) { return s_.ClientRow(y0 + i); };
    }
    Rows CaptionAt(int y0) const {
        return [this, y0](int i) { return s_.CaptionRow(y0 + i); };
    }

    void Frame();
    void CaptionButtons();
    void Caption();
    void MenuBar();
    void Menus();
    void Hint();
    void Buttons();
    void TrackBarAndGauge();
    void Panels();
    void PanelKeys(const std::string& sec, const R& caption, const std::string& align,
                   const std::string& fontStyle, const QColor& colour, const R& check,
                   const R& uncheck);
    // The check box in its checked and unchecked pictures, normal, hot and disabled.
    struct CheckPictures {
        R on, off, onHot, offHot, onDisabled, offDisabled;
    };
    static constexpr int kCheckSize = 13;
    void PicturePanel();
    CheckPictures CheckBoxes();
    void GroupBox(const CheckPictures& checks);
    void ToolPanel();
    void Labels();
    void CheckRadio(const CheckPictures& checks);
    void ExPanel();
    void Fields();
    void ScrollBars();
    void Views();

    const Style& s_;
    Ini ini_;
    QImage frame_;
    std::vector<bool> frameMask_;
    Atlas objects_, controls_;
    QImage popup_, hint_;
    std::vector<bool> popupMask_, hintMask_;
    std::vector<std::string> objectList_, controlList_;
};

int CaptionAreaTop(const FrameSpec& f) { return f.btnTop; }

void Builder::Frame() {
    const FrameSpec& f = s_.Frame;
    const int pw = f.pw, ph = f.ph();
    QImage content(pw, ph, QImage::Format_RGB32);
    for (int y = 0; y < ph; ++y) {
        auto* line = reinterpret_cast<QRgb*>(content.scanLine(y));
        for (int x = 0; x < pw; ++x) {
            QColor c;
            if (y < f.capH)
                c = s_.CaptionRow(y);
            else if (x < f.border || x >= pw - f.border || y >= ph - f.border)
                c = s_.BorderAt(std::min({x, pw - 1 - x, ph - 1 - y}));
            else
                c = s_.ClientRow(y - f.capH);
            line[x] = c.rgb();
        }
    }
    s_.DecorateFrame(content);
    frame_ = QImage(pw, ph, QImage::Format_RGB32);
    frame_.fill(s_.Outline);
    {
        Painter p(frame_);
        p.setPen(Qt::NoPen);
        p.fillPath(RoundRect(QRectF(1, 1, pw - 2, ph - 2), std::max(0, f.rTop - 1),
                             std::max(0, f.rBottom - 1)),
                   QBrush(content));
    }
    frameMask_ = RoundedMask(pw, ph, f.rTop, f.rBottom);

    const std::string sec = "FORMINFO";
    const int bottomFixed = std::max(f.border, f.rBottom);
    ini_.Set(sec, "lefttoppoint", P{f.corner, f.capH});
    ini_.Set(sec, "righttoppoint", P{pw - f.corner, f.capH});
    ini_.Set(sec, "leftbottompoint", P{f.corner, ph - bottomFixed});
    ini_.Set(sec, "rightbottompoint", P{pw - f.corner, ph - bottomFixed});
    ini_.Set(sec, "clientrect", Rc(f.border, f.capH, pw - f.border, ph - f.border));
    ini_.Set(sec, "bgpictureindex", -1);
    for (const char* k : {"leftstretch", "rightstretch", "topstretch", "bottomstretch"})
        ini_.SetBool(sec, k, false);
    ini_.Set(sec, "maskrectarea", Rc(0, f.rTop, pw, ph - f.rBottom));
    ini_.Set(sec, "hittestlefttoppoint", P{f.corner, f.corner});
    ini_.Set(sec, "hittestrighttoppoint", P{pw - f.corner, f.corner});
    ini_.Set(sec, "hittestleftbottompoint", P{f.corner, ph - f.corner});
    ini_.Set(sec, "hittestrightbottompoint", P{pw - f.corner, ph - f.corner});
    ini_.Set(sec, "buttonsrect", R{});
    ini_.Set(
        sec, "captionrect",
        Rc(f.captionInset, CaptionAreaTop(f), pw - f.captionInset, CaptionAreaTop(f) + f.btnH));
    ini_.Set(sec, "buttonsoffset", f.btnGap);
    ini_.SetBool(sec, "buttonsinleft", f.buttonsLeft);
    ini_.SetBool(sec, "mainmenupopupup", false);
    ini_.Set(sec, "borderwidth", std::max(f.border, 4));
    ini_.SetBool(sec, "autorenderinginactiveimage", true);
    ini_.Set(sec, "inactiveeffect", s_.InactiveEffect);
}

void Builder::CaptionButtons() {
    const FrameSpec& f = s_.Frame;
    struct Kind {
        const char* name;
        CapKind kind;
        const char* command;
        GlyphKind glyph, restore;
        const char* hint;
        bool hasRestore;
    };
    const Kind kinds[] = {
        {"closebutton", CapKind::Close, "cmclose", GlyphKind::Close, GlyphKind::Close, "Close",
         false},
        {"maxbutton", CapKind::Maximize, "cmmaximize", GlyphKind::Maximize, GlyphKind::Restore,
         "Maximize", true},
        {"minbutton", CapKind::Minimize, "cmminimize", GlyphKind::Minimize, GlyphKind::Restore,
         "Minimize", true},
        {"rollupbutton", CapKind::RollUp, "cmrollup", GlyphKind::RollUp, GlyphKind::RollDown,
         "Roll up", true},
        {"sysmenubutton", CapKind::SysMenu, "cmsysmenu", GlyphKind::Chevron, GlyphKind::Chevron,
         "System menu", false},
    };
    const int top = CaptionAreaTop(f);
    for (const Kind& k : kinds) {
        const bool sys = k.kind == CapKind::SysMenu;
        const int w = sys ? f.sysW : f.btnW, h = sys ? f.sysH : f.btnH;
        // Placed at the caption area's top, or centred in it (the system-menu button when the
        // other buttons sit at the right).
        const int y = sys && !f.buttonsLeft ? top + (f.btnH - h) / 2 : top;
        auto draw = [&](GlyphKind g, St st) {
            R r = Piece(objects_, w, h, CaptionAt(y));
            Painter p(objects_.Image());
            s_.CaptionButton(p, r.F(), k.kind, g, st);
            return r;
        };
        const std::string sec = k.name;
        Object(sec, "stdbutton");
        ini_.Set(sec, "hint", k.hint);
        ini_.Set(sec, "activepictureindex", kObjects);
        ini_.SetBool(sec, "skinrectinapicture", true);
        ini_.Set(sec, "skinrect", draw(k.glyph, kNormal));
        ini_.Set(sec, "activeskinrect", draw(k.glyph, kHot));
        ini_.SetBool(sec, "morphing", true);
        ini_.Set(sec, "morphkind", "mkdefault");
        ini_.Set(sec, "downrect", draw(k.glyph, kDown));
        ini_.Set(sec, "disableskinrsect", draw(k.glyph, kDisabled));
        ini_.Set(sec, "command", k.command);
        if (k.hasRestore) {
            ini_.Set(sec, "restorerect", draw(k.restore, kNormal));
            ini_.Set(sec, "restoreactiverect", draw(k.restore, kHot));
            ini_.Set(sec, "restoredownrect", draw(k.restore, kDown));
        } else {
            for (const char* key : {"restorerect", "restoreactiverect", "restoredownrect"})
                ini_.Set(sec, key, R{});
        }
        ini_.Set(sec, "restoreinactiverect", R{});
    }
}

void Builder::Caption() {
    const FrameSpec& f = s_.Frame;
    const std::string sec = "caption";
    Object(sec, "caption");
    const R skin = Rc(f.border, 0, f.pw - f.border, f.capH);
    ini_.Set(sec, "hint", "");
    ini_.Set(sec, "activepictureindex", kObjects);
    ini_.SetBool(sec, "skinrectinapicture", false);
    ini_.Set(sec, "skinrect", skin);
    ini_.Set(sec, "activeskinrect", R{});
    ini_.SetBool(sec, "morphing", false);
    ini_.Set(sec, "morphkind", "mkdefault");
    ini_.Set(sec, "textrect", Rc(4, 0, skin.W() - 4, f.capH));
    Font(sec, s_.FontHeight, s_.CaptionFontStyle);
    ini_.SetColor(sec, "fontcolor", s_.CaptionTextInactive);
    ini_.SetColor(sec, "activefontcolor", s_.CaptionText);
    ini_.Set(sec, "alignment", s_.CaptionAlignment);
    ini_.SetBool(sec, "shadow", s_.CaptionShadow);
    ini_.SetColor(sec, "shadowcolor", s_.CaptionShadowInactive);
    ini_.SetColor(sec, "activeshadowcolor", s_.CaptionShadowActive);
    if (s_.CaptionTextFrame) {
        // A pill behind the title: its ends stay, its middle stretches with the text. The text
        // sits 2 rows below the frame's top; the frame continues the caption band's rows there.
        const int th = TextHeightFor(s_.FontHeight), pad = 9, fh = th + 4;
        const int textTop = 2 + (f.capH - 2) / 2 - th / 2;
        auto frame = [&](bool active) {
            R r = Piece(objects_, 2 * pad + 8, fh, CaptionAt(textTop - 2));
            Painter p(objects_.Image());
            s_.TitleFrame(p, r.F(), active);
            return r;
        };
        ini_.Set(sec, "framerect", frame(false));
        ini_.Set(sec, "activeframerect", frame(true));
        ini_.Set(sec, "frametextrect", Rc(pad, 2, pad + 8, 2 + th));
        ini_.Set(sec, "frameleftoffset", pad);
        ini_.Set(sec, "framerightoffset", pad);
    } else {
        for (const char* key : {"framerect", "activeframerect", "frametextrect"})
            ini_.Set(sec, key, R{});
        ini_.Set(sec, "frameleftoffset", 0);
        ini_.Set(sec, "framerightoffset", 0);
    }
}

void Builder::MenuBar() {
    const int h = s_.MenuBarH, w = 40, end = 3;
    auto barRow = [this, h](int y) { return s_.BarRow(y, h); };
    {
        const std::string sec = "mainmenubar";
        Control(sec, "mainmenubar");
        R r = Piece(controls_, w, h, barRow);
        ControlRoot(sec, r);
        ini_.Set(sec, "itemsrect", Rc(end, s_.BarItemTop, w - end, s_.BarItemTop + s_.BarItemH));
        ini_.Set(sec, "menubaritem", "mainmenubaritem");
        for (const char* key : {"closebutton", "minbutton", "maxbutton", "sysmenubutton"})
            ini_.Set(sec, key, "");
        ini_.SetColor(sec, "trackmarkcolor", s_.TrackMark);
        ini_.SetColor(sec, "trackmarkactivecolor", s_.TrackMarkActive);
    }
    {
        // Items: the normal look is the bar itself, so an item is invisible until hot.
        const std::string sec = "mainmenubaritem";
        Object(sec, "mainmenubaritem");
        const int iw = 36, ih = s_.BarItemH, ends = 6;
        Rows back = [this, h](int y) { return s_.BarRow(s_.BarItemTop + y, h); };
        auto item = [&](St st) {
            R r = Piece(objects_, iw, ih, back);
            if (st != kNormal) {
                Painter p(objects_.Image());
                s_.BarHighlight(p, r.F(), st);
            }
            return r;
        };
        const int th = TextHeightFor(s_.FontHeight);
        ini_.Set(sec, "hint", "");
        ini_.Set(sec, "activepictureindex", kObjects);
        ini_.SetBool(sec, "skinrectinapicture", false);
        ini_.Set(sec, "skinrect", item(kNormal));
        ini_.Set(sec, "activeskinrect", item(kHot));
        ini_.SetBool(sec, "morphing", true);
        ini_.Set(sec, "morphkind", "mkdefault");
        ini_.Set(sec, "itemleftoffset", ends);
        ini_.Set(sec, "itemrightoffset", ends);
        ini_.Set(sec, "downrect", item(kDown));
        ini_.Set(sec, "textrect", Rc(8, (ih - th) / 2, iw - 8, (ih - th) / 2 + th));
        Font(sec, s_.FontHeight, "");
        ini_.SetColor(sec, "fontcolor", s_.BarText);
        ini_.SetColor(sec, "activefontcolor", s_.BarTextHot);
        ini_.SetColor(sec, "downfontcolor", s_.BarTextDown);
        ini_.SetColor(sec, "unenabledfontcolor", s_.BarTextDisabled);
    }
}

void Builder::Menus() {
    // The popup window: a frame around the items' area, whose own picture and mask are whole
    // active pictures.
    const int pw = 32, ph = 32, b = s_.PopupBorder, c = 8;
    popup_ = QImage(pw, ph, QImage::Format_RGB32);
    popup_.fill(s_.MenuBorder);
    {
        Painter p(popup_);
        s_.PopupWindow(p, QRectF(0, 0, pw, ph));
    }
    popupMask_ = RoundedMask(pw, ph, s_.PopupRadius, s_.PopupRadius);
    const std::string pop = "POPUPWINDOW";
    ini_.Set(pop, "windowpictureindex", kPopup);
    ini_.Set(pop, "maskpictureindex", kPopupMask);
    ini_.Set(pop, "lefttoppoint", P{c, c});
    ini_.Set(pop, "righttoppoint", P{pw - c, c});
    ini_.Set(pop, "leftbottompoint", P{c, ph - c});
    ini_.Set(pop, "rightbottompoint", P{pw - c, ph - c});
    ini_.Set(pop, "itemsrect", Rc(b, b, pw - b, ph - b));
    ini_.SetColor(pop, "scrollmarkercolor", s_.ScrollMarker);
    ini_.SetColor(pop, "scrollmarkeractivecolor", s_.ScrollMarkerActive);

    const std::string sec = "menuitem";
    Object(sec, "menuitem");
    // The fixed ends hold the gutter and the rounded ends of the highlight; the divider's ends
    // also hold the gaps before and after its line, so that only the line itself is tiled.
    const int iw = 48, ih = s_.MenuItemH, left = std::max(6, s_.MenuGutter), right = 4;
    const int dividerLeft = s_.MenuGutter + 8, dividerRight = 8;
    auto item = [&](bool hot) {
        R r = objects_.Alloc(iw, ih);
        Painter p(objects_.Image());
        s_.MenuItem(p, r.F(), hot);
        return r;
    };
    ini_.Set(sec, "hint", "");
    ini_.Set(sec, "activepictureindex", kObjects);
    ini_.SetBool(sec, "skinrectinapicture", false);
    ini_.Set(sec, "skinrect", item(false));
    ini_.Set(sec, "activeskinrect", item(true));
    ini_.SetBool(sec, "morphing", true);
    ini_.Set(sec, "morphkind", "mkdefault");
    ini_.Set(sec, "itemleftoffset", left);
    ini_.Set(sec, "itemrightoffset", right);
    R divider = objects_.Alloc(iw, s_.DividerH);
    {
        Painter p(objects_.Image());
        s_.MenuDivider(p, divider.F());
    }
    ini_.Set(sec, "dividerrect", divider);
    ini_.Set(sec, "dividerleftoffset", dividerLeft);
    ini_.Set(sec, "dividerrightoffset", dividerRight);
    // Check marks sit 2 pixels in from the text rectangle's left, captions 16 pixels in: with a
    // gutter the mark sits in it and the caption starts 6 pixels after it.
    const int textLeft = s_.MenuGutter > 0 ? s_.MenuGutter + 6 - 16 : 6;
    ini_.Set(sec, "textrect", Rc(textLeft, 0, iw - 4, ih));
    Font(sec, s_.FontHeight, "");
    ini_.SetColor(sec, "fontcolor", s_.MenuText);
    ini_.SetColor(sec, "activefontcolor", s_.MenuTextHot);
    ini_.SetColor(sec, "unenabledfontcolor", s_.MenuTextDisabled);
}

void Builder::Hint() {
    const int w = 24, h = 20, c = 6;
    hint_ = QImage(w, h, QImage::Format_RGB32);
    hint_.fill(s_.HintBorder);
    {
        Painter p(hint_);
        s_.HintWindow(p, QRectF(0, 0, w, h));
    }
    hintMask_ = RoundedMask(w, h, s_.HintRadius, s_.HintRadius);
    const std::string sec = "HINTWINDOW";
    ini_.Set(sec, "windowpictureindex", kHint);
    ini_.Set(sec, "maskpictureindex", kHintMask);
    ini_.Set(sec, "lefttoppoint", P{c, c});
    ini_.Set(sec, "righttoppoint", P{w - c, c});
    ini_.Set(sec, "leftbottompoint", P{c, h - c});
    ini_.Set(sec, "rightbottompoint", P{w - c, h - c});
    ini_.Set(sec, "clientrect", Rc(6, 3, w - 6, h - 3));
    Font(sec, s_.FontHeight, "");
    ini_.SetColor(sec, "fontcolor", s_.HintText);
}

void Builder::Buttons() {
    const int h = s_.ButtonH;
    struct Kind {
        const char* name;
        const char* kind;
        int w, ends;
        bool tool, menu;
        int backdropTop;
    };
    const Kind kinds[] = {
        {"toolbutton", "button", 40, 7, true, false, kToolTop},
        {"toolmenubutton", "menubutton", 46, 7, true, true, kToolTop},
        {"button", "button", 40, 13, false, false, 0},
    };
    const int arrowW = 12;
    for (const Kind& k : kinds) {
        const std::string sec = k.name;
        Control(sec, k.kind);
        auto draw = [&](St st) {
            R r = Piece(controls_, k.w, h, ClientAt(k.backdropTop));
            Painter p(controls_.Image());
            if (k.tool)
                s_.ToolButton(p, r.F(), st);
            else
                s_.PushButton(p, r.F(), st);
            if (k.menu) s_.MenuArrow(p, QRectF(r.r - arrowW - 1, r.t, arrowW, h), st);
            return r;
        };
        const R normal = draw(kNormal);
        ControlRoot(sec, normal);
        const int rightEnd = k.menu ? arrowW + 4 : k.ends;
        HStrip(sec, k.w, k.ends, rightEnd, Rc(2, 0, k.w - (k.menu ? arrowW + 1 : 2), h));
        Font(sec, k.tool ? s_.ToolFontHeight : s_.FontHeight, "");
        const std::array<QColor, 4> text =
            k.tool ? std::array<QColor, 4>{s_.ToolText, s_.ToolTextHot, s_.ToolTextDown,
                                           s_.ToolTextDisabled}
                   : std::array<QColor, 4>{s_.Text, s_.TextHot, s_.TextDown, s_.TextDisabled};
        ini_.SetColor(sec, "fontcolor", text[0]);
        ini_.SetColor(sec, "activefontcolor", text[1]);
        ini_.SetColor(sec, "downfontcolor", text[2]);
        ini_.SetColor(sec, "disabledfontcolor", text[3]);
        ini_.Set(sec, "activeskinrect", draw(kHot));
        ini_.Set(sec, "downskinrect", draw(kDown));
        ini_.Set(sec, "disabledskinrect", draw(kDisabled));
        ini_.SetBool(sec, "morphing", true);
        ini_.Set(sec, "morphkind", "mkdefault");
        if (k.menu) ini_.Set(sec, "trackbuttonrect", Rc(k.w - arrowW - 1, 0, k.w, h));
    }
}

// The track bar's geometry keeps the thumb's centre exactly over the main window's 2-pixel
// markers: the window places its 491-pixel bar at x = 19, where the markers' centres fall
// between the bar's columns 6 + round((w - 15) f) and the next (f the value's fraction of the
// range). A 12-pixel thumb on a track area from 1 to 2 pixels before the bar's right edge
// centres there: TrackStart = 1 + 12/2 = 7, TrackEnd = (w - 2) - 12/2 = w - 8, so the thumb
// travels w - 15 pixels. The groove runs from 4 to 5 pixels before the right edge, 3 pixels
// beyond either end of the thumb centre's travel, which lines it up with the picture panels.
//
//   bar:    |0 1 . . . 4 . . 7 . . . . . . . . . w-8 . . w-5 . . w-1|
//   track:    [1 ............................................ w-2)
//   groove:          [4 ..................................... w-5)
//   thumb centre:          7 ...................... w-8
void Builder::TrackBarAndGauge() {
    {
        const std::string sec = "htrackbar";
        Control(sec, "trackbar");
        const int w = 40, h = s_.TrackH, ends = 10;
        const int thumbW = 12, grooveL = 4, grooveR = w - 5;
        const int gh = 6, gy = (h - gh) / 2;
        R skin = Piece(controls_, w, h, ClientAt(kTrackTop));
        {
            Painter p(controls_.Image());
            s_.TrackGroove(p, QRectF(skin.l + grooveL, skin.t + gy, grooveR - grooveL, gh));
        }
        ControlRoot(sec, skin);
        HStrip(sec, w, ends, ends, Rc(0, 0, w, h));
        ini_.Set(sec, "trackarea", Rc(1, 0, w - 2, h));
        // The thumb is copied opaque, so it carries the groove behind it.
        auto thumb = [&](bool active) {
            R r = Piece(controls_, thumbW, h, ClientAt(kTrackTop));
            Painter p(controls_.Image());
            p.setClipRect(r.F());
            s_.TrackGroove(p, QRectF(r.l - 20, r.t + gy, 40 + thumbW, gh));
            s_.TrackThumbShape(p, r.F(), active);
            return r;
        };
        ini_.Set(sec, "buttonrect", thumb(false));
        ini_.Set(sec, "activebuttonrect", thumb(true));
        ini_.SetBool(sec, "vertical", false);
    }
    {
        const std::string sec = "gauge";
        Control(sec, "gauge");
        const int w = 40, h = s_.GaugeH, inset = 3, b = s_.GaugeFillEnds, e = b, tile = 12;
        R skin = Piece(controls_, w, h, [this, h](int y) { return s_.BarRow(y, h); });
        {
            Painter p(controls_.Image());
            s_.GaugeTrough(p, QRectF(skin.l + inset - 1, skin.t + inset - 1, w - 2 * inset + 2,
                                     h - 2 * inset + 2));
        }
        ControlRoot(sec, skin);
        HStrip(sec, w, 10, 10, Rc(0, 0, w, h));
        ini_.Set(sec, "progressarea", Rc(inset, inset, w - inset, h - inset));
        R fill = controls_.Alloc(b + tile + e, h - 2 * inset);
        s_.GaugeFill(controls_.Image(), fill, b, e);
        ini_.Set(sec, "progressrect", fill);
        ini_.Set(sec, "beginoffset", b);
        ini_.Set(sec, "endoffset", e);
        ini_.SetBool(sec, "vertical", false);
        Font(sec, s_.FontHeight, "");
        ini_.SetColor(sec, "fontcolor", s_.GaugeText);
    }
}

void Builder::Panels() {
    PicturePanel();
    // Check box pictures, shared by the group box's caption and the check-radio control.
    const CheckPictures checks = CheckBoxes();
    GroupBox(checks);
    ToolPanel();
    Labels();
    CheckRadio(checks);
    ExPanel();
}

void Builder::PanelKeys(const std::string& sec, const R& caption, const std::string& align,
                        const std::string& fontStyle, const QColor& colour, const R& check,
                        const R& uncheck) {
    ini_.Set(sec, "bgpictureindex", -1);
    ini_.Set(sec, "captionrect", caption);
    ini_.Set(sec, "alignment", align);
    Font(sec, s_.FontHeight, fontStyle);
    ini_.SetColor(sec, "fontcolor", colour);
    ini_.Set(sec, "checkimagerect", check);
    ini_.Set(sec, "uncheckimagerect", uncheck);
}

void Builder::PicturePanel() {
    // The picture panels: a lowered frame two pixels deep around the client background.
    const std::string sec = "panel";
    Control(sec, "panel");
    const int n = 24;
    R r = Piece(controls_, n, n, ClientAt(0));
    {
        Painter p(controls_.Image());
        s_.PanelFrame(p, r.F());
        FillRows(controls_.Image(), r.Inset(2), ClientAt(0));
    }
    ControlRoot(sec, r);
    Corners(sec, n, n, 4, Rc(2, 2, n - 2, n - 2));
    PanelKeys(sec, R{}, "tacenter", "", s_.PanelText, R{}, R{});
}

Builder::CheckPictures Builder::CheckBoxes() {
    auto check = [&](bool on, St st) {
        R r = Piece(controls_, kCheckSize, kCheckSize, ClientAt(0));
        Painter p(controls_.Image());
        s_.Check(p, r.F(), on, st);
        return r;
    };
    CheckPictures c;
    c.on = check(true, kNormal);
    c.off = check(false, kNormal);
    c.onHot = check(true, kHot);
    c.offHot = check(false, kHot);
    c.onDisabled = check(true, kDisabled);
    c.offDisabled = check(false, kDisabled);
    return c;
}

void Builder::GroupBox(const CheckPictures& checks) {
    const std::string sec = "groupbox";
    Control(sec, "panel");
    const int w = 40, h = 48, cap = 20;
    R r = Piece(controls_, w, h, ClientAt(0));
    {
        Painter p(controls_.Image());
        s_.GroupFrame(p, r.F(), cap);
    }
    ControlRoot(sec, r);
    Points(sec, {6, cap + 4}, {w - 6, cap + 4}, {6, h - 6}, {w - 6, h - 6},
           Rc(3, cap + 2, w - 3, h - 3));
    PanelKeys(sec, Rc(6, 1, w - 6, cap), "taleftjustify", s_.GroupFontStyle, s_.GroupText,
              checks.on, checks.off);
}

void Builder::ToolPanel() {
    const std::string sec = "toolpanel";
    Control(sec, "panel");
    const int w = 40, h = s_.ButtonH;
    R r = Piece(controls_, w, h, [this, h](int y) { return s_.BarRow(y, h); });
    ControlRoot(sec, r);
    HStrip(sec, w, 2, 2, Rc(0, 0, w, h));
    PanelKeys(sec, R{}, "tacenter", "", s_.PanelText, R{}, R{});
}

// The skinned label on its strip, and the plain label without a picture.
void Builder::Labels() {
    Control("label", "label");
    const int w = 20, h = s_.LabelH;
    R r = Piece(controls_, w, h, ClientAt(kLabelTop));
    ControlRoot("label", r);
    HStrip("label", w, 1, 1, Rc(0, 0, w, h));
    Font("label", s_.FontHeight, s_.LabelFontStyle);
    ini_.SetColor("label", "fontcolor", s_.LabelText);

    Control("stdlabel", "stdlabel");
    ini_.Set("stdlabel", "pictureindex", -1);
    ini_.Set("stdlabel", "maskpictureindex", -1);
    ini_.Set("stdlabel", "skinrect", R{});
    Font("stdlabel", s_.FontHeight, "");
    ini_.SetColor("stdlabel", "fontcolor", s_.LabelText);
    ini_.SetColor("stdlabel", "activefontcolor", s_.Selection);
}

void Builder::CheckRadio(const CheckPictures& checks) {
    const std::string sec = "checkradio";
    Control(sec, "checkradio");
    const int w = 60, h = 17;
    auto back = [&](bool hot) {
        R r = Piece(controls_, w, h, ClientAt(0));
        if (hot) {
            Painter p(controls_.Image());
            p.setPen(Qt::NoPen);
            p.fillPath(RoundRect(r.F(), 3), WithAlpha(s_.ItemHot, 110));
        }
        return r;
    };
    const R normal = back(false);
    ControlRoot(sec, normal);
    HStrip(sec, w, 20, 3, Rc(0, 0, w, h));
    Font(sec, s_.FontHeight, "");
    ini_.SetColor(sec, "fontcolor", s_.LabelText);
    ini_.SetColor(sec, "activefontcolor", s_.LabelText);
    ini_.SetColor(sec, "unenabledfontcolor", s_.TextDisabled);
    ini_.SetColor(sec, "framefontcolor", s_.Selection);
    ini_.Set(sec, "activeskinrect", back(true));
    ini_.Set(sec, "checkimagearea",
             Rc(2, (h - kCheckSize) / 2, 2 + kCheckSize, (h - kCheckSize) / 2 + kCheckSize));
    ini_.Set(sec, "textarea", Rc(20, 0, w - 3, h));
    ini_.Set(sec, "checkimagerect", checks.on);
    ini_.Set(sec, "uncheckimagerect", checks.off);
    ini_.Set(sec, "activecheckimagerect", checks.onHot);
    ini_.Set(sec, "activeuncheckimagerect", checks.offHot);
    ini_.Set(sec, "unenabledcheckimagerect", checks.onDisabled);
    ini_.Set(sec, "unenableduncheckimagerect", checks.offDisabled);
    ini_.SetBool(sec, "morphing", true);
    ini_.Set(sec, "morphkind", "mkdefault");
}

// The rolling caption panel: a frame with a caption bar, its buttons in three states, and the
// two rolled-up strips.
void Builder::ExPanel() {
    const std::string sec = "expanel";
    Control(sec, "expanel");
    const int w = 48, h = 48, cap = 21, bs = 15;
    auto bar = [&](QPainter& p, const QRectF& r, bool vertical) {
        p.fillRect(r, s_.BevelDark);
        s_.CaptionBar(p, r.adjusted(1, 1, -1, -1), vertical);
    };
    R skin = Piece(controls_, w, h, ClientAt(0));
    {
        Painter p(controls_.Image());
        p.fillRect(skin.F(), s_.BevelDark);
        FillRows(controls_.Image(), Rc(skin.l + 1, skin.t + cap, skin.r - 1, skin.b - 1),
                 ClientAt(0));
        bar(p, QRectF(skin.l, skin.t, w, cap + 1), false);
    }
    R rollV = Piece(controls_, w, cap + 1, ClientAt(0));
    {
        Painter p(controls_.Image());
        bar(p, rollV.F(), false);
    }
    R rollH = Piece(controls_, cap + 1, h, ClientAt(0));
    {
        Painter p(controls_.Image());
        bar(p, rollH.F(), true);
    }
    ControlRoot(sec, skin);
    Points(sec, {6, cap + 3}, {w - 6, cap + 3}, {6, h - 6}, {w - 6, h - 6},
           Rc(1, cap + 1, w - 1, h - 1));
    ini_.Set(sec, "rollhskinrect", rollH);
    ini_.Set(sec, "rollvskinrect", rollV);
    ini_.Set(sec, "rollleftoffset", 6);
    ini_.Set(sec, "rollrightoffset", 6);
    ini_.Set(sec, "rolltopoffset", 6);
    ini_.Set(sec, "rollbottomoffset", 6);
    const int bt = (cap + 1 - bs) / 2;
    ini_.Set(sec, "rollvcaptionrect", Rc(3, bt, w - 3, bt + bs));
    ini_.Set(sec, "rollhcaptionrect", Rc(bt, 3, bt + bs, h - 3));
    // Button pictures over a copy of the bar behind them.
    auto button = [&](GlyphKind g, St st, bool vertical) {
        R r = controls_.Alloc(bs, bs);
        Painter p(controls_.Image());
        p.setClipRect(r.F());
        if (vertical)
            bar(p, QRectF(r.l - bt, r.t - 3, cap + 1, h), true);
        else
            bar(p, QRectF(r.l - 3, r.t - bt, w, cap + 1), false);
        p.setClipping(false);
        s_.SmallButton(p, r.F(), g, st);
        return r;
    };
    struct B {
        const char* key;
        GlyphKind glyph;
        bool vertical;
    };
    const B buttons[] = {{"closebutton", GlyphKind::Close, false},
                         {"hrollbutton", GlyphKind::ArrowLeft, true},
                         {"hrestorebutton", GlyphKind::ArrowRight, true},
                         {"vrollbutton", GlyphKind::ArrowUp, false},
                         {"vrestorebutton", GlyphKind::ArrowDown, false}};
    for (const B& bt2 : buttons) {
        const std::string base = bt2.key;
        ini_.Set(sec, base + "rect", button(bt2.glyph, kNormal, bt2.vertical));
        ini_.Set(sec, base + "activerect", button(bt2.glyph, kHot, bt2.vertical));
        ini_.Set(sec, base + "downrect", button(bt2.glyph, kDown, bt2.vertical));
    }
    ini_.Set(sec, "captionrect", Rc(3, bt, w - 3, bt + bs));
    Font(sec, s_.FontHeight, s_.GroupFontStyle);
    ini_.SetColor(sec, "fontcolor", s_.GroupText);
}

void Builder::Fields() {
    const int h = 21;
    {
        const std::string sec = "edit";
        Control(sec, "edit");
        const int w = 40;
        auto field = [&](bool active, bool disabled) {
            R r = Piece(controls_, w, h, ClientAt(0));
            Painter p(controls_.Image());
            s_.Field(p, r.F(), active, disabled);
            return r;
        };
        ControlRoot(sec, field(false, false));
        HStrip(sec, w, 4, 4, Rc(3, 3, w - 3, h - 3));
        ini_.Set(sec, "activeskinrect", field(true, false));
        Font(sec, s_.FontHeight, "");
        ini_.SetColor(sec, "fontcolor", s_.WindowText);
        ini_.SetColor(sec, "disabledfontcolor", s_.TextDisabled);
        ini_.SetColor(sec, "activefontcolor", s_.WindowText);
        for (const char* key :
             {"buttonrect", "activebuttonrect", "downbuttonrect", "unenabledbuttonrect"})
            ini_.Set(sec, key, R{});
    }
    {
        // The drop-down box: a field whose right end holds the button; the button's other
        // states are pictures of its size, copied over it.
        const std::string sec = "combobox";
        Control(sec, "combobox");
        const int w = 48, bw = 17;
        const R button = Rc(w - bw - 2, 2, w - 2, 2 + bw);
        auto arrowButton = [&](QPainter& p, const QRectF& r, St st) {
            s_.ScrollArrow(p, r.adjusted(-1, -1, 1, 1), GlyphKind::ArrowDown, st);
        };
        R skin = Piece(controls_, w, h, ClientAt(0));
        {
            Painter p(controls_.Image());
            s_.Field(p, skin.F(), false, false);
            arrowButton(p, button.Moved(skin.l, skin.t).F(), kNormal);
        }
        ControlRoot(sec, skin);
        HStrip(sec, w, 4, bw + 4, Rc(3, 3, w - bw - 3, h - 3));
        auto state = [&](St st) {
            R r = controls_.Alloc(bw, bw);
            Painter p(controls_.Image());
            p.setClipRect(r.F());
            s_.Field(p, QRectF(r.l - button.l, r.t - button.t, w, h), false, st == kDisabled);
            arrowButton(p, r.F(), st);
            return r;
        };
        const int itemW = 40, itemH = 15;
        auto item = [&](bool focus) {
            R r = controls_.Alloc(itemW, itemH);
            Painter p(controls_.Image());
            p.fillRect(r.F(), s_.Window);
            if (focus) PaintLook(p, r.F(), 2, s_.MenuHot);
            return r;
        };
        ini_.Set(sec, "itemrect", item(false));
        ini_.Set(sec, "focusitemrect", item(true));
        ini_.Set(sec, "itemleftoffset", 3);
        ini_.Set(sec, "itemrightoffset", 3);
        ini_.Set(sec, "itemtextrect", Rc(3, 0, itemW - 3, itemH));
        Font(sec, s_.FontHeight, "");
        ini_.SetColor(sec, "fontcolor", s_.WindowText);
        ini_.SetColor(sec, "focusfontcolor", s_.MenuTextHot);
        ini_.Set(sec, "listboxname", "listbox");
        ini_.Set(sec, "buttonrect", button);
        ini_.Set(sec, "activebuttonrect", state(kHot));
        ini_.Set(sec, "downbuttonrect", state(kDown));
        ini_.Set(sec, "unenabledbuttonrect", state(kDisabled));
    }
    {
        const std::string sec = "listbox";
        Control(sec, "listbox");
        const int n = 32;
        R skin = Piece(controls_, n, n, ClientAt(0));
        {
            Painter p(controls_.Image());
            s_.Field(p, skin.F(), false, false);
            p.fillRect(skin.Inset(2).F(), s_.Window);
        }
        ControlRoot(sec, skin);
        Corners(sec, n, n, 5, Rc(2, 2, n - 2, n - 2));
        const int itemW = 40, itemH = 18;
        auto item = [&](int kind) {
            R r = controls_.Alloc(itemW, itemH);
            Painter p(controls_.Image());
            p.fillRect(r.F(), s_.Window);
            if (kind == 1) {
                p.setPen(Qt::NoPen);
                p.fillPath(RoundRect(r.F().adjusted(1, 1, -1, -1), 2), s_.ItemHot);
            } else if (kind == 2) {
                PaintLook(p, r.F().adjusted(1, 1, -1, -1), 2, s_.MenuHot);
            }
            return r;
        };
        ini_.Set(sec, "itemrect", item(0));
        ini_.Set(sec, "activeitemrect", item(1));
        ini_.Set(sec, "focusitemrect", item(2));
        ini_.Set(sec, "itemleftoffset", 3);
        ini_.Set(sec, "itemrightoffset", 3);
        ini_.Set(sec, "itemtextrect", Rc(4, 0, itemW - 4, itemH));
        Font(sec, s_.FontHeight, "");
        ini_.SetColor(sec, "fontcolor", s_.WindowText);
        ini_.SetColor(sec, "activefontcolor", s_.WindowText);
        ini_.SetColor(sec, "focusfontcolor", s_.MenuTextHot);
        ini_.Set(sec, "captionrect", R{});
        ini_.Set(sec, "captionfontname", "Arial");
        ini_.Set(sec, "captionfontheight", s_.FontHeight);
        ini_.Set(sec, "captionfontstyle", "");
        ini_.SetColor(sec, "captionfontcolor", s_.WindowText);
        for (const char* key : {"upbuttonrect", "activeupbuttonrect", "downupbuttonrect",
                                "downbuttonrect", "activedownbuttonrect", "downdownbuttonrect",
                                "checkbuttonrect", "activecheckbuttonrect", "downcheckbuttonrect"})
            ini_.Set(sec, key, R{});
        ini_.Set(sec, "vscrollbarname", "vscrollbar");
        ini_.Set(sec, "hscrollbarname", "hscrollbar");
        ini_.Set(sec, "bothhscrollbarname", "bothhscrollbar");
    }
    {
        const std::string sec = "resizebutton";
        Control(sec, "button");
        const int w = 40, h = 20;
        auto section = [&](St st) {
            R r = controls_.Alloc(w, h);
            Painter p(controls_.Image());
            s_.HeaderSection(p, r.F(), st);
            return r;
        };
        ControlRoot(sec, section(kNormal));
        HStrip(sec, w, 3, 3, Rc(3, 0, w - 3, h));
        Font(sec, s_.FontHeight, "");
        ini_.SetColor(sec, "fontcolor", s_.HeaderText);
        ini_.SetColor(sec, "activefontcolor", s_.HeaderText);
        ini_.SetColor(sec, "downfontcolor", s_.HeaderTextDown);
        ini_.SetColor(sec, "disabledfontcolor", s_.TextDisabled);
        ini_.Set(sec, "activeskinrect", section(kHot));
        ini_.Set(sec, "downskinrect", section(kDown));
        ini_.Set(sec, "disabledskinrect", R{});
        ini_.SetBool(sec, "morphing", false);
        ini_.Set(sec, "morphkind", "mkdefault");
    }
}

void Builder::ScrollBars() {
    const int t = s_.ScrollT, len = 60, b = t, cap = 3, thumbL = 24;
    struct Kind {
        const char* name;
        bool vertical, both;
    };
    const Kind kinds[] = {
        {"vscrollbar", true, false}, {"hscrollbar", false, false}, {"bothhscrollbar", false, true}};
    for (const Kind& k : kinds) {
        const std::string sec = k.name;
        Control(sec, "scrollbar");
        const int extra = k.both ? t : 0;
        const int along = len + extra;
        const int w = k.vertical ? t : along, h = k.vertical ? along : t;
        // In bar coordinates along the bar: down button, track, up button (and the corner).
        auto box = [&](int a0, int a1) { return k.vertical ? Rc(0, a0, t, a1) : Rc(a0, 0, a1, t); };
        const R down = box(0, b), up = box(len - b, len), track = box(b, len - b);
        const GlyphKind downGlyph = k.vertical ? GlyphKind::ArrowUp : GlyphKind::ArrowLeft;
        const GlyphKind upGlyph = k.vertical ? GlyphKind::ArrowDown : GlyphKind::ArrowRight;
        R skin = controls_.Alloc(w, h);
        {
            Painter p(controls_.Image());
            s_.ScrollTrack(p, skin.F(), k.vertical);
            s_.ScrollArrow(p, down.Moved(skin.l, skin.t).F(), downGlyph, kNormal);
            s_.ScrollArrow(p, up.Moved(skin.l, skin.t).F(), upGlyph, kNormal);
            if (k.both) p.fillRect(box(len, along).Moved(skin.l, skin.t).F(), s_.ClientRow(0));
        }
        ControlRoot(sec, skin);
        const int endLen = b + cap;
        if (k.vertical)
            Points(sec, {0, endLen}, {0, 0}, {0, len - endLen}, {0, 0}, Rc(0, 0, t, h));
        else
            Points(sec, {endLen, 0}, {len - endLen, 0}, {0, 0}, {0, 0}, Rc(0, 0, w, t));
        ini_.Set(sec, "trackarea", track);
        auto state = [&](GlyphKind g, St st) {
            R r = controls_.Alloc(t, t);
            Painter p(controls_.Image());
            p.setClipRect(r.F());
            s_.ScrollTrack(p,
                           k.vertical ? QRectF(r.l, r.t - 20, t, 60) : QRectF(r.l - 20, r.t, 60, t),
                           k.vertical);
            s_.ScrollArrow(p, r.F(), g, st);
            return r;
        };
        ini_.Set(sec, "upbuttonrect", up);
        ini_.Set(sec, "activeupbuttonrect", state(upGlyph, kHot));
        ini_.Set(sec, "downupbuttonrect", state(upGlyph, kDown));
        ini_.Set(sec, "downbuttonrect", down);
        ini_.Set(sec, "activedownbuttonrect", state(downGlyph, kHot));
        ini_.Set(sec, "downdownbuttonrect", state(downGlyph, kDown));
        auto thumb = [&](St st) {
            const int tw = k.vertical ? t : thumbL, th = k.vertical ? thumbL : t;
            R r = controls_.Alloc(tw, th);
            Painter p(controls_.Image());
            p.setClipRect(r.F());
            s_.ScrollTrack(p,
                           k.vertical ? QRectF(r.l, r.t - 20, t, 80) : QRectF(r.l - 20, r.t, 80, t),
                           k.vertical);
            s_.ScrollThumb(p, r.F(), k.vertical, st);
            return r;
        };
        ini_.Set(sec, "thumbrect", thumb(kNormal));
        ini_.Set(sec, "activethumbrect", thumb(kHot));
        ini_.Set(sec, "downthumbrect", thumb(kDown));
        ini_.Set(sec, "thumboffset1", 6);
        ini_.Set(sec, "thumboffset2", 6);
        // The grip, drawn over the thumb's middle: its pictures carry that middle behind them.
        auto grip = [&](St st) {
            const int g = 7;
            R r = controls_.Alloc(g, g);
            Painter p(controls_.Image());
            p.setClipRect(r.F());
            const QRectF under = k.vertical
                                     ? QRectF(r.l - (t - g) / 2, r.t - (thumbL - g) / 2, t, thumbL)
                                     : QRectF(r.l - (thumbL - g) / 2, r.t - (t - g) / 2, thumbL, t);
            s_.ScrollTrack(p, under, k.vertical);
            s_.ScrollThumb(p, under, k.vertical, st);
            PaintGlyph(p, k.vertical ? GlyphKind::Grip : GlyphKind::HGrip,
                       QRectF(r.l + 1, r.t + 1, g - 2, g - 2),
                       s_.Thumb[std::min<int>(st, kDown)].glyph, 1);
            return r;
        };
        ini_.Set(sec, "glyphrect", grip(kNormal));
        ini_.Set(sec, "activeglyphrect", grip(kHot));
        ini_.Set(sec, "downglyphrect", grip(kDown));
    }
}

void Builder::Views() {
    for (const char* name : {"treeview", "listview"}) {
        const std::string sec = name;
        Control(sec, name);
        ini_.Set(sec, "pictureindex", -1);
        ini_.Set(sec, "maskpictureindex", -1);
        ini_.Set(sec, "skinrect", R{});
        Font(sec, s_.FontHeight, "");
        ini_.SetColor(sec, "fontcolor", s_.WindowText);
        ini_.SetColor(sec, "bgcolor", s_.Window);
    }
    // Splitters: the file dialog's splitter looks up "vsplitter"; "hsplitter" serves one
    // aligned to the top or bottom and "splitter" is the kind's plain name.
    const int t = 6, len = 40, ends = 4;
    R vertical = controls_.Alloc(t, len);
    R horizontal = controls_.Alloc(len, t);
    {
        Painter p(controls_.Image());
        s_.Splitter(p, vertical.F(), true);
        s_.Splitter(p, horizontal.F(), false);
    }
    for (const char* name : {"splitter", "vsplitter", "hsplitter"}) {
        const std::string sec = name;
        Control(sec, "splitter");
        const bool h = sec == "hsplitter";
        const R r = h ? horizontal : vertical;
        ControlRoot(sec, r);
        if (h)
            Points(sec, {ends, 0}, {len - ends, 0}, {ends, t}, {len - ends, t}, Rc(0, 0, len, t));
        else
            Points(sec, {0, ends}, {t, ends}, {0, len - ends}, {t, len - ends}, Rc(0, 0, t, len));
    }
    {
        const std::string sec = "bevel";
        Control(sec, "bevel");
        ini_.Set(sec, "pictureindex", -1);
        ini_.Set(sec, "maskpictureindex", -1);
        ini_.Set(sec, "skinrect", R{});
        ini_.SetColor(sec, "lightcolor", s_.BevelLight);
        ini_.SetColor(sec, "darkcolor", s_.BevelDark);
    }
}

SkinFiles Builder::Build() {
    // The global sections first, in the order a reader expects them; the object sections
    // follow in the order the lists name them.
    ini_.Set("VERSION", "ver", 1);
    ini_.Set("VERSION", "skinname", s_.Name);
    ini_.Set("VERSION", "skinauthor", "Framora");
    ini_.Set("VERSION", "authoremail", "");
    ini_.Set("VERSION", "authorurl", "");
    ini_.Set("VERSION", "skincomments", s_.Comments);
    ini_.Set("PICTURES", "picture", "frame.bmp");
    ini_.Set("PICTURES", "inactivepicture", "");
    ini_.Set("PICTURES", "mask", "mask.bmp");
    ini_.Set("PICTURES", "activepicturescount", int(std::size(kActiveFiles)));
    for (int i = 0; i < int(std::size(kActiveFiles)); ++i)
        ini_.Set("PICTURES", std::to_string(i), kActiveFiles[i]);
    Frame();
    ini_.Set("POPUPWINDOW", "windowpictureindex", kPopup);
    ini_.Set("HINTWINDOW", "windowpictureindex", kHint);
    ini_.Set("SKINOBJECTS", "count", 0);
    ini_.Set("SKINCONTROLS", "count", 0);

    CaptionButtons();
    Caption();
    MenuBar();
    Menus();
    Hint();
    Buttons();
    TrackBarAndGauge();
    Panels();
    Fields();
    {
        ControlParts parts{s_, ini_, controls_, controlList_, kControls};
        AddEditControls(parts);
    }
    ScrollBars();
    Views();

    ini_.Set("SKINOBJECTS", "count", int(objectList_.size()));
    for (std::size_t i = 0; i < objectList_.size(); ++i)
        ini_.Set("SKINOBJECTS", std::to_string(i), objectList_[i]);
    ini_.Set("SKINCONTROLS", "count", int(controlList_.size()));
    for (std::size_t i = 0; i < controlList_.size(); ++i)
        ini_.Set("SKINCONTROLS", std::to_string(i), controlList_[i]);

    SkinFiles files;
    const std::string text = ini_.Text();
    files["skin.ini"] = std::vector<unsigned char>(text.begin(), text.end());
    files["frame.bmp"] = Bmp24(frame_);
    files["mask.bmp"] = Bmp1(frameMask_, frame_.width(), frame_.height());
    files["objects.bmp"] = Bmp24(objects_.Final());
    files["controls.bmp"] = Bmp24(controls_.Final());
    files["popup.bmp"] = Bmp24(popup_);
    files["popupmask.bmp"] = Bmp1(popupMask_, popup_.width(), popup_.height());
    files["hint.bmp"] = Bmp24(hint_);
    files["hintmask.bmp"] = Bmp1(hintMask_, hint_.width(), hint_.height());
    return files;
}

}  // namespace

int TextHeightFor(int fontHeight) {
    // Liberation Sans line heights at the pixel sizes these heights give (11 and 12 pixels).
    return fontHeight <= 12 ? 12 : 14;
}

SkinFiles BuildSkin(const Style& style) { return Builder(style).Build(); }

}  // namespace skinart
