// Wistler: calm grey-blue gradients in low contrast, thin borders with rounded corners, flat
// buttons that only light up gently under the mouse, a soft pill behind the title.

#include <QLinearGradient>
#include <cmath>

#include "Styles.h"

namespace skinart {

namespace {

Look Soft(QColor border, unsigned top, unsigned bottom, unsigned text, unsigned glyph) {
    Look l;
    l.border = border;
    l.fill = Ramp{{{0.0, Hex(top)}, {1.0, Hex(bottom)}}};
    l.text = Hex(text);
    l.glyph = Hex(glyph);
    return l;
}

constexpr unsigned kInk = 0x2E3A48;
// Edges of the controls: at least 3:1 against the client, the bars and the menus they sit on,
// so buttons, fields, the groove and the chosen menu item stay visible in the calm palette.
constexpr unsigned kEdge = 0x6F7F92;
constexpr unsigned kEdgeHot = 0x5F7FA6;
constexpr unsigned kEdgeDown = 0x56677C;

class Wistler : public Style {
public:
    Wistler() {
        Name = "Wistler";
        Comments = "Calm grey-blue, thin rounded borders, flat buttons";
        Frame.pw = 160;
        Frame.clientH = 40;
        Frame.capH = 26;
        Frame.border = 3;
        Frame.rTop = 7;
        Frame.rBottom = 5;
        Frame.corner = 12;
        Frame.btnW = 26;
        Frame.btnH = 20;
        Frame.btnTop = 3;
        Frame.btnGap = 0;
        Frame.buttonsLeft = false;
        Frame.sysW = Frame.sysH = 18;
        Frame.captionInset = 5;
        InactiveEffect = "iegrayscale";

        CaptionFontStyle = "";
        CaptionAlignment = "tacenter";
        CaptionShadow = false;
        CaptionText = Hex(0x33404F);
        CaptionTextInactive = Hex(0x8893A0);
        CaptionShadowActive = Hex(0xFFFFFF);
        CaptionShadowInactive = Hex(0xFFFFFF);
        CaptionTextFrame = true;

        Text = Hex(kInk);
        TextHot = Hex(0x1F2B38);
        TextDown = Hex(0x1F2B38);
        TextDisabled = Hex(0xA3ACB6);
        ToolText = Text;
        ToolTextHot = TextHot;
        ToolTextDown = TextDown;
        ToolTextDisabled = TextDisabled;
        Window = Hex(0xFFFFFF);
        WindowText = Hex(kInk);
        Selection = Hex(0x7F9CC0);
        SelectionText = Hex(0xFFFFFF);
        ItemHot = Hex(0xE3EAF2);
        FieldBorder = Hex(kEdge);
        FieldBorderActive = Hex(kEdgeHot);
        FieldShadow = QColor(40, 60, 90, 18);
        BevelLight = Hex(0xFFFFFF);
        BevelDark = Hex(kEdge);
        BarText = Hex(kInk);
        BarTextHot = Hex(0x1F2B38);
        BarTextDown = Hex(0x1F2B38);
        BarTextDisabled = Hex(0xA3ACB6);
        MenuBg = Hex(0xF7F9FA);
        MenuBorder = Hex(kEdge);
        MenuText = Hex(kInk);
        MenuTextHot = Hex(0x1F2B38);
        MenuTextDisabled = Hex(0xA3ACB6);
        MenuLine = Hex(0xD6DDE4);
        MenuGutterBg = MenuBg;
        PopupRadius = 5;
        HintRadius = 4;
        ScrollMarker = Hex(0x9AA6B3);
        ScrollMarkerActive = Hex(0x5F7FA6);
        TrackMark = Hex(0x9AA6B3);
        TrackMarkActive = Hex(0x5F7FA6);
        HintBg = Hex(0xF7F9FB);
        HintBorder = Hex(0xA3AFBC);
        HintText = Hex(kInk);
        LabelText = Hex(0x3F4D5D);
        GaugeText = Hex(kInk);
        GroupText = Hex(0x3F4D5D);
        GroupFontStyle = "";
        PanelText = Hex(kInk);
        HeaderText = Hex(kInk);
        HeaderTextDown = Hex(kInk);
        Outline = Hex(0x8593A3);

        // Caption buttons are flat: only the glyph until the mouse lights a soft plate.
        Look capIdle;
        capIdle.glyph = Hex(0x4E5C6C);
        capIdle.fill = Ramp{{{0, QColor(0, 0, 0, 0)}}};
        Look capHot = Soft(Hex(0xAEBBCA), 0xFBFCFD, 0xE7EDF3, 0, 0x2E3A48);
        Look capDown = Soft(Hex(0x97A6B7), 0xCDD6E0, 0xDAE1E9, 0, 0x1F2B38);
        Look capDis = capIdle;
        capDis.glyph = Hex(0xA9B3BE);
        CapButton = {capIdle, capHot, capDown, capDis};
        Look closeHot = Soft(Hex(0xC98C86), 0xF2C3BE, 0xE3A39C, 0, 0xFFFFFF);
        Look closeDown = Soft(Hex(0xB5756F), 0xD68A83, 0xE09C95, 0, 0xFFFFFF);
        CloseButton = {capIdle, closeHot, closeDown, capDis};
        CapRadius = 4;

        Look push = Soft(Hex(kEdge), 0xFBFCFD, 0xEBEFF3, kInk, 0);
        push.topLine = QColor(255, 255, 255, 200);
        Look pushHot = Soft(Hex(kEdgeHot), 0xFFFFFF, 0xEAF1F9, 0x1F2B38, 0);
        pushHot.edge = Hex(0xC9DBEF);
        pushHot.topLine = Hex(0xFFFFFF);
        Look pushDown = Soft(Hex(kEdgeDown), 0xD5DDE6, 0xE3E8EE, 0x1F2B38, 0);
        Look pushDis = Soft(Hex(0xD2D8DF), 0xF4F6F8, 0xF1F3F6, 0xA3ACB6, 0);
        Push = {push, pushHot, pushDown, pushDis};
        PushRadius = 4;
        // Tool buttons rest quietly on the client and light up like the push buttons.
        Look tool = Soft(Hex(kEdge), 0xF8F9FB, 0xEBEFF3, kInk, 0);
        Tool = {tool, pushHot, pushDown, Soft(Hex(0xDDE2E8), 0xEFF2F5, 0xEDF0F3, 0xA3ACB6, 0)};
        ToolRadius = 4;

        Look sbIdle;
        sbIdle.fill = Ramp{{{0, QColor(0, 0, 0, 0)}}};
        sbIdle.glyph = Hex(0x7A8796);
        Look sbHot = Soft(QColor(0, 0, 0, 0), 0xE6ECF2, 0xDCE3EB, 0, 0x4E5C6C);
        Look sbDown = Soft(QColor(0, 0, 0, 0), 0xCFD8E2, 0xC8D2DD, 0, 0x2E3A48);
        ScrollButton = {sbIdle, sbHot, sbDown};
        ScrollRadius = 3;
        Look th = Soft(Hex(0xA9B5C2), 0xD3DBE4, 0xC3CDD8, 0, 0x8A97A6);
        Look thHot = Soft(Hex(0x93A3B5), 0xDDE4EC, 0xCCD6E1, 0, 0x6F7E90);
        Look thDown = Soft(Hex(0x8192A7), 0xBAC6D3, 0xAFBCCB, 0, 0x5B6B7E);
        Thumb = {th, thHot, thDown};
        ThumbRadius = 4;

        TrackThumb = Soft(Hex(0x5E6F84), 0x9AA9BB, 0x71839A, 0, 0);
        TrackThumbActive = Soft(Hex(0x4C6A92), 0x94B0D3, 0x6485B0, 0, 0);

        Look head = Soft(Hex(0xC9D2DB), 0xF8FAFB, 0xEBEFF3, 0, 0);
        Look headHot = Soft(Hex(0xC9D2DB), 0xFFFFFF, 0xF0F4F8, 0, 0);
        headHot.edge = Hex(0xC9DBEF);
        Look headDown = Soft(Hex(0xBCC6D1), 0xDDE3EA, 0xE4E9EE, 0, 0);
        Header = {head, headHot, headDown};

        Look barHot = Soft(Hex(kEdgeHot), 0xF4F8FC, 0xDCE6F1, 0, 0);
        barHot.topLine = QColor(255, 255, 255, 220);
        Look barDown = Soft(Hex(kEdgeHot), 0xC9D8EA, 0xBFD0E6, 0, 0);
        BarItem = {Look{}, barHot, barDown};
        BarItemRadius = 3;
        // The chosen item: a clear blue plate under the dark caption.
        MenuHot = Soft(Hex(kEdgeHot), 0xD4E1F0, 0xBFD0E6, 0, 0);
        MenuHotRadius = 3;

        CheckBox = Soft(Hex(0x9EAABA), 0xFFFFFF, 0xEEF1F4, 0, 0x3F5670);
        CheckBoxHot = Soft(Hex(0x7F9CC0), 0xFFFFFF, 0xE8EFF7, 0, 0x3F5670);
        CheckBoxDisabled = Soft(Hex(0xCCD3DA), 0xF6F7F9, 0xF2F4F6, 0, 0xB4BCC5);
        CheckRadius = 3;
    }

    QColor ClientRow(int) const override { return Hex(0xEEF1F4); }

    QColor CaptionRow(int y) const override {
        const int h = Frame.capH;
        if (y <= 1) return Hex(0xF7F9FB);
        if (y >= h - 1) return Hex(0xC2CCD6);
        return Mix(Hex(0xE9EDF2), Hex(0xD7DEE6), double(y - 2) / double(h - 4));
    }

    QColor BorderAt(int d) const override { return d <= 1 ? Hex(0xE3E8EE) : Hex(0xD3DAE2); }

    QColor BarRow(int y, int h) const override {
        if (y >= h - 1) return Hex(0xD0D7DF);
        return Mix(Hex(0xF4F6F8), Hex(0xE9EDF1), double(y) / double(h - 2));
    }

    void CaptionButton(QPainter& p, const QRectF& r, CapKind kind, GlyphKind glyph,
                       St s) const override {
        const Look& look = kind == CapKind::Close ? CloseButton[s] : CapButton[s];
        if (kind == CapKind::SysMenu) {
            if (s == kHot || s == kDown) PaintLook(p, r, CapRadius, look);
            const QColor body = s == kDisabled ? Hex(0xAAB4BF) : Hex(0x4E5C6C);
            PaintEmblem(p, r.adjusted(2, 2, -2, -2), body, Hex(0x8FB2DA));
            return;
        }
        if (s == kHot || s == kDown) PaintLook(p, r.adjusted(1, 1, -1, -1), CapRadius, look);
        const double g = 8;
        const QRectF box(std::floor(r.center().x() - g / 2), std::floor(r.center().y() - g / 2), g,
                         g);
        PaintGlyph(p, glyph, box, look.glyph, 1.3);
    }

    void TitleFrame(QPainter& p, const QRectF& r, bool active) const override {
        p.save();
        p.setPen(Qt::NoPen);
        const double rad = r.height() / 2;
        p.fillPath(RoundRect(r, rad),
                   active ? QColor(255, 255, 255, 120) : QColor(255, 255, 255, 60));
        p.fillPath(RoundRect(r.adjusted(0.5, 0.5, -0.5, -0.5), rad)
                       .subtracted(RoundRect(r.adjusted(1.5, 1.5, -1.5, -1.5), rad - 1)),
                   active ? QColor(120, 138, 160, 70) : QColor(120, 138, 160, 40));
        p.restore();
    }

    void TrackGroove(QPainter& p, const QRectF& r) const override {
        p.save();
        const QRectF line(r.left(), std::floor(r.center().y()) - 2, r.width(), 4);
        p.setPen(Qt::NoPen);
        p.fillPath(RoundRect(line, 2), Hex(kEdge));
        p.fillPath(RoundRect(line.adjusted(1, 1, -1, -1), 1), Hex(0xDDE3E9));
        p.restore();
    }

    void TrackThumbShape(QPainter& p, const QRectF& r, bool active) const override {
        PaintLook(p, r.adjusted(0, 1, 0, -1), 2, active ? TrackThumbActive : TrackThumb);
    }

    void GaugeFill(QImage& img, const R& piece, int, int) const override {
        Painter p(img);
        p.fillRect(piece.F(), Hex(0xFFFFFF));
        Look fill = Soft(Hex(0x7D97B8), 0xB3C6DD, 0x8EA8C8, 0, 0);
        fill.topLine = QColor(255, 255, 255, 110);
        PaintLook(p, piece.F(), 2, fill);
    }

    void ScrollTrack(QPainter& p, const QRectF& r, bool) const override {
        p.fillRect(r, Hex(0xEEF1F4));
    }
};

}  // namespace

std::unique_ptr<Style> MakeWistler() { return std::make_unique<Wistler>(); }

}  // namespace skinart
