// Winxpblue: a saturated blue caption with a lighter top bevel and rounded top corners, blue
// rounded caption buttons with a red-orange close button, a warm beige client, pill buttons
// whose edge turns orange under the mouse.

#include <QLinearGradient>
#include <cmath>

#include "Styles.h"

namespace skinart {

namespace {

Look Face(unsigned border, Ramp fill, unsigned text, unsigned glyph) {
    Look l;
    l.border = Hex(border);
    l.fill = std::move(fill);
    l.text = Hex(text);
    l.glyph = Hex(glyph);
    return l;
}

Ramp R3(unsigned top, unsigned mid, unsigned bottom) {
    return Ramp{{{0.0, Hex(top)}, {0.55, Hex(mid)}, {1.0, Hex(bottom)}}};
}

class Winxpblue : public Style {
public:
    Winxpblue() {
        Name = "Winxpblue";
        Comments = "Saturated blue caption, warm beige client, pill buttons";
        Frame.pw = 160;
        Frame.clientH = 40;
        Frame.capH = 30;
        Frame.border = 4;
        Frame.rTop = 8;
        Frame.rBottom = 0;
        Frame.corner = 12;
        Frame.btnW = Frame.btnH = 21;
        Frame.btnTop = 5;
        Frame.btnGap = 2;
        Frame.buttonsLeft = false;
        Frame.sysW = Frame.sysH = 18;
        Frame.captionInset = 6;
        InactiveEffect = "iebrightness";

        CaptionFontStyle = "fsbold";
        CaptionAlignment = "taleftjustify";
        CaptionShadow = true;
        CaptionText = Hex(0xFFFFFF);
        CaptionTextInactive = Hex(0xE2EBFA);
        CaptionShadowActive = Hex(0x0A2278);
        CaptionShadowInactive = Hex(0x3A5CB0);

        Text = Hex(0x000000);
        TextHot = Hex(0x000000);
        TextDown = Hex(0x000000);
        TextDisabled = Hex(0xA19F92);
        ToolText = Text;
        ToolTextHot = TextHot;
        ToolTextDown = TextDown;
        ToolTextDisabled = TextDisabled;
        Window = Hex(0xFFFFFF);
        WindowText = Hex(0x000000);
        Selection = Hex(0x316AC5);
        SelectionText = Hex(0xFFFFFF);
        ItemHot = Hex(0xE3E9F6);
        FieldBorder = Hex(0x7F9DB9);
        FieldBorderActive = Hex(0x3C6FD1);
        FieldShadow = QColor(0, 0, 0, 0);
        BevelLight = Hex(0xFFFFFF);
        BevelDark = Hex(0xACA899);
        BarText = Hex(0x000000);
        BarTextHot = Hex(0xFFFFFF);
        BarTextDown = Hex(0xFFFFFF);
        BarTextDisabled = Hex(0xACA899);
        MenuBg = Hex(0xFFFFFF);
        MenuBorder = Hex(0x8A867A);
        MenuText = Hex(0x000000);
        MenuTextHot = Hex(0xFFFFFF);
        MenuTextDisabled = Hex(0xACA899);
        MenuLine = Hex(0xC5C2B2);
        MenuGutter = 22;
        MenuGutterBg = Hex(0xF4F2E8);
        PopupBorder = 2;
        PopupRadius = 2;
        ScrollMarker = Hex(0x8A867A);
        ScrollMarkerActive = Hex(0x316AC5);
        TrackMark = Hex(0x8A867A);
        TrackMarkActive = Hex(0x316AC5);
        HintBg = Hex(0xFFFFE1);
        HintBorder = Hex(0x767676);
        HintRadius = 2;
        HintText = Hex(0x000000);
        LabelText = Hex(0x1E2E58);
        LabelFontStyle = "fsbold";
        GaugeText = Hex(0x000000);
        GroupText = Hex(0x0046D5);
        PanelText = Hex(0x000000);
        HeaderText = Hex(0x000000);
        HeaderTextDown = Hex(0x000000);
        Outline = Hex(0x0A2A8E);

        // Caption buttons: a white rim around a rounded blue (or red-orange) square.
        Look cap = Face(0xF2F6FF, R3(0x5794FA, 0x2A66E2, 0x2059D6), 0, 0xFFFFFF);
        cap.topLine = QColor(255, 255, 255, 110);
        Look capHot = Face(0xFFFFFF, R3(0x7CB0FF, 0x3C7DF2, 0x3270EA), 0, 0xFFFFFF);
        capHot.topLine = QColor(255, 255, 255, 140);
        Look capDown = Face(0xDCE6FA, R3(0x1B4DBD, 0x2A5FD2, 0x3A70DE), 0, 0xFFFFFF);
        Look capDis = Face(0xC7D6F4, R3(0x86A9EC, 0x6A91E2, 0x6289DE), 0, 0xB8CCF2);
        CapButton = {cap, capHot, capDown, capDis};
        Look close = Face(0xFBF0EC, R3(0xF0936E, 0xDF5A2C, 0xC9421B), 0, 0xFFFFFF);
        close.topLine = QColor(255, 255, 255, 110);
        Look closeHot = Face(0xFFFFFF, R3(0xF8AE8E, 0xEE6C3D, 0xDA5024), 0, 0xFFFFFF);
        closeHot.topLine = QColor(255, 255, 255, 140);
        Look closeDown = Face(0xF4DCD4, R3(0xB53C1A, 0xC94E26, 0xD66336), 0, 0xFFFFFF);
        Look closeDis = Face(0xEFD0C6, R3(0xECA48A, 0xE08A6C, 0xDB8062), 0, 0xF6D8CC);
        CloseButton = {close, closeHot, closeDown, closeDis};
        CapRadius = 3;

        Look push = Face(0x1F3E78, R3(0xFFFFFF, 0xF3F2EC, 0xDAD6C7), 0x000000, 0x000000);
        push.topLine = Hex(0xFFFFFF);
        Look pushHot = push;
        pushHot.edge = Hex(0xF2A81E);
        Look pushDown = Face(0x1F3E78, R3(0xD8D4C4, 0xE6E3D8, 0xF3F2EC), 0x000000, 0x000000);
        Look pushDis = Face(0xC7C4B5, R3(0xF6F5EE, 0xF4F3EC, 0xF1F0E8), 0xA19F92, 0xA19F92);
        Push = {push, pushHot, pushDown, pushDis};
        Tool = Push;
        PushRadius = 12;
        ToolRadius = 5;

        Look sb = Face(0xB9CCF5, R3(0xEAF1FF, 0xD2E0FD, 0xC3D5FB), 0, 0x4D6185);
        sb.topLine = QColor(255, 255, 255, 160);
        Look sbHot = Face(0x9DB8F0, R3(0xF6F9FF, 0xDFEAFF, 0xD1E1FF), 0, 0x2E4A82);
        sbHot.topLine = QColor(255, 255, 255, 200);
        Look sbDown = Face(0x8AA8E8, R3(0xB7CCF7, 0xC6D7FA, 0xD3E1FB), 0, 0x2E4A82);
        ScrollButton = {sb, sbHot, sbDown};
        Thumb = {sb, sbHot, sbDown};
        Thumb[kNormal].glyph = Hex(0x8DA6DD);
        Thumb[kHot].glyph = Hex(0x6F8FD6);
        Thumb[kDown].glyph = Hex(0x5E7FC8);
        ScrollRadius = 2;
        ThumbRadius = 2;

        TrackThumb = Face(0x1C5180, R3(0xFFFFFF, 0xF1F0EA, 0xD9D6C8), 0, 0);
        TrackThumbActive = Face(0xB06400, R3(0xFFE19A, 0xF8BC45, 0xEC9E1A), 0, 0);

        Look head = Face(0xD0CDB9, R3(0xFFFFFF, 0xF4F3EC, 0xEBEADB), 0, 0);
        Look headHot = head;
        headHot.edge = Hex(0xF8A900);
        Look headDown = Face(0xC5C2B2, R3(0xDEDCCF, 0xE5E3D8, 0xEBEADF), 0, 0);
        Header = {head, headHot, headDown};

        Look barHot = Face(0x2A5AAE, Ramp{{{0, Hex(0x3A74D0)}, {1, Hex(0x316AC5)}}}, 0xFFFFFF, 0);
        Look barDown = Face(0x1F4A98, Ramp{{{0, Hex(0x2B5FB8)}, {1, Hex(0x2F63BC)}}}, 0xFFFFFF, 0);
        BarItem = {Look{}, barHot, barDown};
        BarItemRadius = 2;
        MenuHot = barHot;
        MenuHotRadius = 0;

        CheckBox = Face(0x1C5180, R3(0xE4E3DA, 0xF1F0EA, 0xFFFFFF), 0, 0x21A121);
        CheckBoxHot = CheckBox;
        CheckBoxHot.edge = Hex(0xF5B93C);
        CheckBoxDisabled = Face(0xC7C4B5, R3(0xF6F5EE, 0xF6F5EE, 0xF6F5EE), 0, 0xC7C4B5);
        CheckRadius = 1;
    }

    QColor ClientRow(int) const override { return Hex(0xECE9D8); }

    QColor CaptionRow(int y) const override {
        // A light bevel along the top, the deep body, a slightly lighter line above the bottom.
        const int h = Frame.capH;
        if (y <= 1) return Hex(0x8FBCFF);
        if (y >= h - 1) return Hex(0x0839A8);
        static const Ramp body{{{0.0, Hex(0x4A90FB)},
                                {0.1, Hex(0x2172EE)},
                                {0.28, Hex(0x0A5EE5)},
                                {0.6, Hex(0x0654DC)},
                                {0.86, Hex(0x054AD0)},
                                {0.94, Hex(0x0E58D8)},
                                {1.0, Hex(0x0646C4)}}};
        return body.At(double(y - 2) / double(h - 4));
    }

    QColor BorderAt(int d) const override {
        switch (d) {
            case 1:
                return Hex(0x2E70EA);
            case 2:
                return Hex(0x0857DE);
            default:
                return Hex(0x0543BE);
        }
    }

    QColor BarRow(int y, int h) const override {
        if (y >= h - 1) return Hex(0xC9C6B4);
        return Mix(Hex(0xF5F3E8), Hex(0xE8E5D4), double(y) / double(h - 2));
    }

    void CaptionButton(QPainter& p, const QRectF& r, CapKind kind, GlyphKind glyph,
                       St s) const override {
        if (kind == CapKind::SysMenu) {
            // The program's emblem; under the mouse a soft light square frames it.
            if (s == kHot || s == kDown) {
                p.save();
                p.setPen(Qt::NoPen);
                p.setBrush(s == kHot ? QColor(255, 255, 255, 70) : QColor(0, 20, 80, 70));
                p.drawRoundedRect(r, 3, 3);
                p.restore();
            }
            const QColor body = s == kDisabled ? Hex(0x7E8FB8) : Hex(0x23262E);
            PaintEmblem(p, r.adjusted(1, 1, -1, -1), body, Hex(0xF2A81E));
            return;
        }
        const Look& look = kind == CapKind::Close ? CloseButton[s] : CapButton[s];
        PaintLook(p, r, CapRadius, look);
        const double g = kind == CapKind::Close ? 9 : 9;
        const QRectF box(std::floor(r.center().x() - g / 2), std::floor(r.center().y() - g / 2), g,
                         g);
        PaintGlyph(p, glyph, box, look.glyph, 2.0);
    }

    void TrackGroove(QPainter& p, const QRectF& r) const override {
        p.save();
        const QRectF line(r.left(), std::floor(r.center().y()) - 2, r.width(), 4);
        p.setPen(Qt::NoPen);
        p.fillPath(RoundRect(line, 2), Hex(0x85826F));
        p.fillPath(RoundRect(line.adjusted(1, 1, -1, -1), 1), Hex(0xF7F6F1));
        p.fillRect(QRectF(line.left() + 1, line.top() + 1, line.width() - 2, 1), Hex(0xD6D3C6));
        p.restore();
    }

    void TrackThumbShape(QPainter& p, const QRectF& r, bool active) const override {
        PaintLook(p, r, 1.5, active ? TrackThumbActive : TrackThumb);
    }

    void GaugeTrough(QPainter& p, const QRectF& r) const override {
        // Sunk into the status bar: a shadow above and left of the trough and a light edge
        // below and right of it, then the blue-grey border and a white inside whose top rows
        // are shaded by the edge above them.
        p.save();
        p.setPen(Qt::NoPen);
        const QRectF well = r.adjusted(-1, -1, 1, 1);
        p.fillPath(RoundRect(well, 4), Hex(0xFFFFFF));
        p.fillPath(RoundRect(well.adjusted(0, 0, -1, -1), 4), Hex(0xACA899));
        p.fillPath(RoundRect(r, 3), Hex(0x6A87A5));
        const QRectF in = r.adjusted(1, 1, -1, -1);
        QLinearGradient g(0, in.top(), 0, in.top() + 4);
        g.setColorAt(0, Hex(0xC9D3DE));
        g.setColorAt(1, Hex(0xFFFFFF));
        p.fillPath(RoundRect(in, 2), g);
        p.restore();
    }

    void GaugeFill(QImage& img, const R& piece, int b, int e) const override {
        // Green blocks with a two-pixel white gap before each block of the tile.
        static const Ramp green{{{0.0, Hex(0xB9F2B5)},
                                 {0.35, Hex(0x4CD746)},
                                 {0.7, Hex(0x27BE21)},
                                 {1.0, Hex(0x6BDC66)}}};
        const int tile = piece.W() - b - e;
        FillPixels(img, piece, [&](int x, int y) {
            const bool gap = x >= b && x < b + tile && (x - b) < 2;
            if (gap) return Hex(0xFFFFFF);
            return green.At(double(y) / double(piece.H() - 1));
        });
    }

    void MenuItem(QPainter& p, const QRectF& r, bool hot) const override {
        p.save();
        p.fillRect(r, MenuBg);
        p.fillRect(QRectF(r.left(), r.top(), MenuGutter, r.height()), MenuGutterBg);
        if (hot) PaintLook(p, r, 0, MenuHot);
        p.restore();
    }
};

}  // namespace

std::unique_ptr<Style> MakeWinxpblue() { return std::make_unique<Winxpblue>(); }

}  // namespace skinart
