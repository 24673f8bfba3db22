// WinAqua: light pin-striped metal, gel buttons with a white specular highlight on their upper
// half and a glow at their lower edge, round caption buttons at the left of the caption.

#include <QLinearGradient>
#include <cmath>

#include "Styles.h"

namespace skinart {

namespace {

// Gel of a given hue: a deeper middle, a light lower edge, a strong gloss.
Look Gel(unsigned border, unsigned top, unsigned mid, unsigned bottom, double gloss, double glow,
         unsigned text, unsigned glyph) {
    Look l;
    l.border = Hex(border);
    l.fill = Ramp{{{0.0, Hex(top)}, {0.5, Hex(mid)}, {1.0, Hex(bottom)}}};
    l.gloss = gloss;
    l.glow = glow;
    l.shadow = QColor(0, 0, 0, 38);
    l.text = Hex(text);
    l.glyph = Hex(glyph);
    return l;
}

class WinAqua : public Style {
public:
    WinAqua() {
        Name = "WinAqua";
        Comments = "Aqua gel on light pin-striped metal";
        Frame.pw = 160;
        Frame.clientH = 40;
        Frame.capH = 22;
        Frame.border = 4;
        Frame.rTop = 6;
        Frame.rBottom = 0;
        Frame.corner = 12;
        Frame.btnW = Frame.btnH = 16;
        Frame.btnTop = 3;
        Frame.btnGap = 4;
        Frame.buttonsLeft = true;
        Frame.sysW = Frame.sysH = 16;
        Frame.captionInset = 7;
        // The frame is grey already: an inactive window pales instead.
        InactiveEffect = "iebrightness";

        CaptionFontStyle = "";
        CaptionAlignment = "tacenter";
        CaptionShadow = true;
        CaptionText = Hex(0x262626);
        CaptionTextInactive = Hex(0x7C7C7C);
        CaptionShadowActive = Hex(0xFAFAFA);
        CaptionShadowInactive = Hex(0xF2F2F2);

        Text = Hex(0x1C1C1C);
        TextHot = Hex(0x0B1F40);
        TextDown = Hex(0xFFFFFF);
        TextDisabled = Hex(0xA2A2A2);
        ToolText = Text;
        ToolTextHot = TextHot;
        ToolTextDown = TextDown;
        ToolTextDisabled = TextDisabled;
        Window = Hex(0xFFFFFF);
        WindowText = Hex(0x1C1C1C);
        Selection = Hex(0x3875D7);
        SelectionText = Hex(0xFFFFFF);
        ItemHot = Hex(0xDCE8F8);
        FieldBorder = Hex(0x8E8E8E);
        FieldBorderActive = Hex(0x5A93E3);
        FieldShadow = QColor(0, 0, 0, 46);
        BevelLight = Hex(0xFFFFFF);
        BevelDark = Hex(0x9C9C9C);
        BarText = Hex(0x1C1C1C);
        BarTextHot = Hex(0xFFFFFF);
        BarTextDown = Hex(0xFFFFFF);
        BarTextDisabled = Hex(0xA2A2A2);
        MenuBg = Hex(0xFAFAFA);
        MenuBorder = Hex(0x9E9E9E);
        MenuText = Hex(0x1C1C1C);
        MenuTextHot = Hex(0xFFFFFF);
        MenuTextDisabled = Hex(0xA8A8A8);
        MenuLine = Hex(0xDADADA);
        MenuGutterBg = MenuBg;
        PopupRadius = 5;
        ScrollMarker = Hex(0x8A8A8A);
        ScrollMarkerActive = Hex(0x2F6CC8);
        TrackMark = Hex(0x8A8A8A);
        TrackMarkActive = Hex(0x2F6CC8);
        HintBg = Hex(0xFFFFE3);
        HintBorder = Hex(0xA6A6A6);
        HintText = Hex(0x202020);
        LabelText = Hex(0x222222);
        GaugeText = Hex(0x1A1A1A);
        GroupText = Hex(0x262626);
        PanelText = Hex(0x262626);
        HeaderText = Hex(0x1C1C1C);
        HeaderTextDown = Hex(0x0B1F40);
        Outline = Hex(0x7A7A7A);

        const Look blue =
            Gel(0x2C5FAE, 0x6AA2EC, 0x3D7ED8, 0x92C6FF, 0.92, 0.35, 0x0B1F40, 0x163A70);
        const Look blueHot =
            Gel(0x24509A, 0x82B6F7, 0x4B90EE, 0xA8D6FF, 0.95, 0.45, 0x0B1F40, 0x0A2450);
        const Look blueDown =
            Gel(0x1C3F7C, 0x4F86D6, 0x2A62B8, 0x6FA4E8, 0.7, 0.3, 0xFFFFFF, 0x061A3C);
        // Its rim 3:1 against the pin-striped client it rests on.
        const Look clear =
            Gel(0x6B84A8, 0xF0F5FC, 0xD6E2F2, 0xF6FAFF, 0.85, 0.3, 0x1C1C1C, 0x36506F);
        const Look grey =
            Gel(0xA8A8A8, 0xEAEAEA, 0xCFCFCF, 0xF0F0F0, 0.8, 0.25, 0xA2A2A2, 0x9C9C9C);
        Look glyphSoft = blue;
        glyphSoft.glyph = QColor(22, 58, 112, 150);
        CapButton = {glyphSoft, blueHot, blueDown, grey};
        CloseButton = CapButton;
        Push = {clear, blueHot, blueDown, grey};
        Push[kDisabled].text = TextDisabled;
        Tool = Push;
        PushRadius = 12;
        ToolRadius = 7;

        Look sb = Gel(0xA5A5A5, 0xFBFBFB, 0xE3E3E3, 0xF6F6F6, 0.6, 0.2, 0, 0x505050);
        sb.shadow = QColor(0, 0, 0, 0);
        Look sbHot = Gel(0x7F9CC6, 0xEFF5FD, 0xCDDDF3, 0xF4F9FF, 0.7, 0.25, 0, 0x1D4C94);
        sbHot.shadow = sb.shadow;
        Look sbDown = Gel(0x5E82B8, 0xC8DBF4, 0xA5C2EA, 0xD3E4F9, 0.5, 0.2, 0, 0x0B2A5E);
        sbDown.shadow = sb.shadow;
        ScrollButton = {sb, sbHot, sbDown};
        ScrollRadius = 3;
        Look th = blue, thHot = blueHot, thDown = blueDown;
        th.shadow = thHot.shadow = thDown.shadow = QColor(0, 0, 0, 0);
        th.glyph = QColor(255, 255, 255, 150);
        thHot.glyph = QColor(255, 255, 255, 200);
        thDown.glyph = QColor(255, 255, 255, 170);
        Thumb = {th, thHot, thDown};
        ThumbRadius = 7;
        GaugeFillEnds = (GaugeH - 6 + 1) / 2;
        TrackThumb = blue;
        TrackThumb.shadow = QColor(0, 0, 0, 0);
        TrackThumbActive = blueHot;
        TrackThumbActive.shadow = QColor(0, 0, 0, 0);

        Look head;
        head.border = Hex(0xB4B4B4);
        head.fill = Ramp{{{0, Hex(0xFDFDFD)}, {0.5, Hex(0xEEEEEE)}, {1, Hex(0xE2E2E2)}}};
        head.topLine = Hex(0xFFFFFF);
        Look headHot = head;
        headHot.fill = Ramp{{{0, Hex(0xF4F8FE)}, {1, Hex(0xDDE8F7)}}};
        Look headDown = head;
        headDown.fill = Ramp{{{0, Hex(0xC9DCF6)}, {1, Hex(0xB3CDF0)}}};
        Header = {head, headHot, headDown};

        Look barHot = blueHot, barDown = blueDown;
        barHot.shadow = barDown.shadow = QColor(0, 0, 0, 0);
        BarItem = {Look{}, barHot, barDown};
        BarItemRadius = 4;
        // The deeper gel keeps the white caption of a chosen item readable over its gloss.
        MenuHot = blueDown;
        MenuHot.shadow = QColor(0, 0, 0, 0);
        MenuHot.gloss = 0.5;
        MenuHotRadius = 3;

        CheckBox = clear;
        CheckBox.shadow = QColor(0, 0, 0, 0);
        CheckBox.glyph = Hex(0x1B3D72);
        CheckBoxHot = blueHot;
        CheckBoxHot.shadow = CheckBox.shadow;
        CheckBoxHot.glyph = Hex(0x0A2450);
        CheckBoxDisabled = grey;
        CheckBoxDisabled.shadow = CheckBox.shadow;
        CheckRadius = 3;
    }

    // Pinstripes: every other row a shade darker.
    QColor ClientRow(int y) const override { return Hex(y % 2 == 0 ? 0xECECEC : 0xE4E4E4); }

    QColor CaptionRow(int y) const override {
        const int h = Frame.capH;
        if (y <= 1) return Hex(0xFDFDFD);
        if (y >= h - 1) return Hex(0x9A9A9A);
        const double t = double(y - 2) / double(h - 4);
        QColor c = Mix(Hex(0xF4F4F4), Hex(0xCDCDCD), t);
        return y % 2 == 0 ? c : c.darker(103);
    }

    QColor BorderAt(int d) const override {
        switch (d) {
            case 1:
                return Hex(0xEEEEEE);
            case 2:
                return Hex(0xDCDCDC);
            default:
                return Hex(0xC2C2C2);
        }
    }

    QColor BarRow(int y, int h) const override {
        if (y >= h - 1) return Hex(0xA8A8A8);
        if (y == 0) return Hex(0xFFFFFF);
        return Mix(Hex(0xF9F9F9), Hex(0xE4E4E4), double(y) / double(h - 2));
    }

    void CaptionButton(QPainter& p, const QRectF& r, CapKind kind, GlyphKind glyph,
                       St s) const override {
        // A gel sphere with a soft shadow below it; the glyph shows faintly until hovered.
        const QRectF ball(r.left() + 1, r.top(), r.width() - 2, r.height() - 1);
        const Look& look = CapButton[s];
        PaintLook(p, ball, ball.width() / 2, look);
        const double g = 6;
        const QRectF box(std::floor(ball.center().x() - g / 2),
                         std::floor(ball.center().y() - g / 2 - 0.5), g, g);
        // The system menu shows three crisp menu lines: a down chevron would repeat the
        // roll-down arrow of the rolled-up window beside it.
        if (kind == CapKind::SysMenu) {
            const double x0 = std::floor(ball.center().x()) - 3;
            const double y0 = std::floor(ball.center().y()) - 3;
            for (int i = 0; i < 3; ++i) p.fillRect(QRectF(x0, y0 + 2 * i, 6, 1), look.glyph);
            return;
        }
        PaintGlyph(p, glyph, box, look.glyph, kind == CapKind::Close ? 1.4 : 1.3);
    }

    void MenuArrow(QPainter& p, const QRectF& r, St s) const override {
        const QColor c = s == kDisabled ? ToolTextDisabled
                         : s == kDown   ? Hex(0xFFFFFF)
                                        : Hex(0x2D4F80);
        PaintGlyph(p, GlyphKind::ArrowDown,
                   QRectF(std::floor(r.center().x() - 4), std::floor(r.center().y() - 4), 8, 8), c,
                   1);
    }

    void TrackGroove(QPainter& p, const QRectF& r) const override {
        p.save();
        p.setPen(Qt::NoPen);
        p.fillPath(RoundRect(r, r.height() / 2), Hex(0x787878));
        const QRectF in = r.adjusted(1, 1, -1, -1);
        QLinearGradient g(0, in.top(), 0, in.bottom());
        g.setColorAt(0, Hex(0xC4C4C4));
        g.setColorAt(1, Hex(0xF6F6F6));
        p.fillPath(RoundRect(in, in.height() / 2), g);
        p.restore();
    }

    // The trough's inside, which the fill's rounded ends show around them.
    static QLinearGradient TroughInside(const QRectF& in) {
        QLinearGradient g(0, in.top(), 0, in.bottom());
        g.setColorAt(0, Hex(0xD2D2D2));
        g.setColorAt(0.35, Hex(0xF4F4F4));
        g.setColorAt(1, Hex(0xFFFFFF));
        return g;
    }

    void GaugeTrough(QPainter& p, const QRectF& r) const override {
        p.save();
        p.setPen(Qt::NoPen);
        p.fillPath(RoundRect(r, r.height() / 2), Hex(0x8E8E8E));
        const QRectF in = r.adjusted(1, 1, -1, -1);
        p.fillPath(RoundRect(in, in.height() / 2), TroughInside(in));
        p.restore();
    }

    void GaugeFill(QImage& img, const R& piece, int b, int e) const override {
        // A blue gel capsule whose rounded ends fit the trough's, with light diagonal bands;
        // the bands repeat with the tile, so the tiled middle runs on seamlessly.
        Painter p(img);
        const QRectF r = piece.F();
        p.fillRect(r, TroughInside(r));
        Look gel = Gel(0x2A5EAC, 0x79AEF0, 0x3F82DC, 0x96C9FF, 0.85, 0.35, 0, 0);
        gel.shadow = QColor(0, 0, 0, 0);
        gel.border = Hex(0x3468B4);
        PaintLook(p, r, r.height() / 2, gel);
        const int tile = piece.W() - b - e;
        p.save();
        p.setClipRect(QRectF(piece.l + b, piece.t + 1, tile, piece.H() - 2));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 46));
        for (int k = -1; k <= 1; ++k) {
            const double x = piece.l + b + k * tile;
            p.drawPolygon(QPolygonF({QPointF(x + 2, piece.b), QPointF(x + 7, piece.b),
                                     QPointF(x + 7 + piece.H() * 0.6, piece.t),
                                     QPointF(x + 2 + piece.H() * 0.6, piece.t)}));
        }
        p.restore();
    }

    void ScrollTrack(QPainter& p, const QRectF& r, bool vertical) const override {
        QLinearGradient g = vertical ? QLinearGradient(r.left(), 0, r.right(), 0)
                                     : QLinearGradient(0, r.top(), 0, r.bottom());
        g.setColorAt(0, Hex(0xCFCFCF));
        g.setColorAt(0.3, Hex(0xEDEDED));
        g.setColorAt(1, Hex(0xFAFAFA));
        p.fillRect(r, g);
    }

    void ScrollThumb(QPainter& p, const QRectF& r, bool vertical, St s) const override {
        const QRectF in = vertical ? r.adjusted(2, 1, -2, -1) : r.adjusted(1, 2, -1, -2);
        PaintLook(p, in, std::min(in.width(), in.height()) / 2, Thumb[std::min<int>(s, kDown)]);
    }

    void PanelFrame(QPainter& p, const QRectF& r) const override {
        p.save();
        p.fillRect(r, Hex(0x8C8C8C));
        p.fillRect(r.adjusted(1, 1, -1, -1), Hex(0xC8C8C8));
        p.fillRect(r.adjusted(1, 1, -1, -1).adjusted(1, 1, 0, 0), Hex(0xF7F7F7));
        p.restore();
    }
};

}  // namespace

std::unique_ptr<Style> MakeWinAqua() { return std::make_unique<WinAqua>(); }

}  // namespace skinart
