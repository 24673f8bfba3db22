#include "Style.h"

#include <QLinearGradient>
#include <algorithm>
#include <cmath>

namespace skinart {

namespace {
// The glyph box of a button: a square of `size` centred in r, on whole pixels.
QRectF GlyphBox(const QRectF& r, double size) {
    const double x = std::floor(r.center().x() - size / 2);
    const double y = std::floor(r.center().y() - size / 2);
    return QRectF(x, y, size, size);
}
}  // namespace

void Style::DecorateFrame(QImage&) const {}

void Style::CaptionButton(QPainter& p, const QRectF& r, CapKind kind, GlyphKind glyph, St s) const {
    const Look& look = kind == CapKind::Close ? CloseButton[s] : CapButton[s];
    PaintLook(p, r, CapRadius, look);
    const double g = std::round(std::min(r.width(), r.height()) * 0.42);
    PaintGlyph(p, glyph, GlyphBox(r, g), look.glyph, 1.6);
}

void Style::PushButton(QPainter& p, const QRectF& r, St s) const {
    PaintLook(p, r, PushRadius, Push[s]);
}

void Style::ToolButton(QPainter& p, const QRectF& r, St s) const {
    PaintLook(p, r, ToolRadius, Tool[s]);
}

void Style::MenuArrow(QPainter& p, const QRectF& r, St s) const {
    const QColor c = s == kDisabled ? ToolTextDisabled : s == kDown ? ToolTextDown : ToolText;
    PaintGlyph(p, GlyphKind::ArrowDown, GlyphBox(r, 8), c, 1);
}

void Style::Field(QPainter& p, const QRectF& r, bool active, bool disabled) const {
    p.save();
    p.setPen(Qt::NoPen);
    p.fillPath(RoundRect(r, 2), active ? FieldBorderActive : FieldBorder);
    const QRectF in = r.adjusted(1, 1, -1, -1);
    p.fillPath(RoundRect(in, 1), disabled ? Mix(Window, FieldBorder, 0.15) : Window);
    QLinearGradient g(0, in.top(), 0, in.top() + 3);
    g.setColorAt(0, FieldShadow);
    g.setColorAt(1, WithAlpha(FieldShadow, 0));
    p.fillRect(QRectF(in.left(), in.top(), in.width(), 3), g);
    p.restore();
}

void Style::PanelFrame(QPainter& p, const QRectF& r) const {
    p.save();
    p.fillRect(r, BevelDark);
    p.fillRect(r.adjusted(1, 1, -1, -1), Mix(BevelDark, BevelLight, 0.55));
    p.fillRect(r.adjusted(1, 1, -1, -1).adjusted(1, 1, 0, 0), BevelLight);
    p.restore();
}

void Style::GroupFrame(QPainter& p, const QRectF& r, int captionH) const {
    p.save();
    p.setPen(Qt::NoPen);
    p.fillPath(RoundRect(r, 4), BevelDark);
    const QRectF in = r.adjusted(1, 1, -1, -1);
    p.fillPath(RoundRect(in, 3), Mix(ClientRow(0), Qt::white, 0.35));
    QRectF bar(in.left(), in.top(), in.width(), captionH);
    QPainterPath clip = RoundRect(in, 3);
    QPainterPath barPath;
    barPath.addRect(bar);
    p.fillPath(clip.intersected(barPath), Header[kNormal].fill.Vertical(bar.top(), bar.bottom()));
    p.fillRect(QRectF(in.left(), bar.bottom(), in.width(), 1), BevelDark);
    p.restore();
}

void Style::TrackGroove(QPainter& p, const QRectF& r) const {
    p.save();
    p.setPen(Qt::NoPen);
    p.fillPath(RoundRect(r, r.height() / 2), FieldBorder);
    p.fillPath(RoundRect(r.adjusted(1, 1, -1, -1), (r.height() - 2) / 2), Window);
    p.restore();
}

void Style::TrackThumbShape(QPainter& p, const QRectF& r, bool active) const {
    PaintLook(p, r, r.width() / 2, active ? TrackThumbActive : TrackThumb);
}

void Style::GaugeTrough(QPainter& p, const QRectF& r) const { Field(p, r, false, false); }

void Style::GaugeFill(QImage& img, const R& piece, int, int) const {
    Painter p(img);
    PaintLook(p, piece.F(), 2, Thumb[kHot]);
}

void Style::ScrollTrack(QPainter& p, const QRectF& r, bool vertical) const {
    QLinearGradient g = vertical ? QLinearGradient(r.left(), 0, r.right(), 0)
                                 : QLinearGradient(0, r.top(), 0, r.bottom());
    g.setColorAt(0, Mix(Window, FieldBorder, 0.35));
    g.setColorAt(1, Mix(Window, FieldBorder, 0.12));
    p.fillRect(r, g);
}

void Style::ScrollArrow(QPainter& p, const QRectF& r, GlyphKind arrow, St s) const {
    const Look& look = ScrollButton[std::min<int>(s, kDown)];
    PaintLook(p, r.adjusted(1, 1, -1, -1), ScrollRadius, look);
    PaintGlyph(p, arrow, GlyphBox(r, 7), look.glyph, 1);
}

void Style::ScrollThumb(QPainter& p, const QRectF& r, bool, St s) const {
    PaintLook(p, r.adjusted(1, 1, -1, -1), ThumbRadius, Thumb[std::min<int>(s, kDown)]);
}

void Style::HeaderSection(QPainter& p, const QRectF& r, St s) const {
    const Look& look = Header[std::min<int>(s, kDown)];
    p.save();
    p.fillRect(r, look.fill.Vertical(r.top(), r.bottom()));
    p.fillRect(QRectF(r.left(), r.bottom() - 1, r.width(), 1), look.border);
    p.fillRect(QRectF(r.right() - 1, r.top() + 3, 1, r.height() - 6), look.border);
    if (look.topLine.alpha() > 0) p.fillRect(QRectF(r.left(), r.top(), r.width(), 1), look.topLine);
    if (look.edge.alpha() > 0)
        p.fillRect(QRectF(r.left(), r.bottom() - 3, r.width(), 2), look.edge);
    p.restore();
}

void Style::BarHighlight(QPainter& p, const QRectF& r, St s) const {
    PaintLook(p, r, BarItemRadius, BarItem[std::min<int>(s, kDown)]);
}

void Style::PopupWindow(QPainter& p, const QRectF& r) const {
    p.save();
    p.setPen(Qt::NoPen);
    p.fillRect(r, MenuBorder);
    p.fillPath(RoundRect(r.adjusted(1, 1, -1, -1), std::max(0, PopupRadius - 1)), MenuBg);
    p.restore();
}

void Style::MenuItem(QPainter& p, const QRectF& r, bool hot) const {
    p.save();
    p.fillRect(r, MenuBg);
    if (MenuGutter > 0) p.fillRect(QRectF(r.left(), r.top(), MenuGutter, r.height()), MenuGutterBg);
    if (hot) PaintLook(p, r.adjusted(1, 1, -1, -1), MenuHotRadius, MenuHot);
    p.restore();
}

void Style::MenuDivider(QPainter& p, const QRectF& r) const {
    p.save();
    p.fillRect(r, MenuBg);
    if (MenuGutter > 0) p.fillRect(QRectF(r.left(), r.top(), MenuGutter, r.height()), MenuGutterBg);
    const double y = std::floor(r.center().y());
    p.fillRect(QRectF(r.left() + MenuGutter + 4, y, r.width() - MenuGutter - 8, 1), MenuLine);
    p.restore();
}

void Style::HintWindow(QPainter& p, const QRectF& r) const {
    p.save();
    p.setPen(Qt::NoPen);
    p.fillRect(r, HintBorder);
    p.fillPath(RoundRect(r.adjusted(1, 1, -1, -1), std::max(0, HintRadius - 1)), HintBg);
    p.restore();
}

void Style::Check(QPainter& p, const QRectF& r, bool checked, St s) const {
    const Look& look = s == kDisabled ? CheckBoxDisabled : s == kHot ? CheckBoxHot : CheckBox;
    PaintLook(p, r, CheckRadius, look);
    if (checked) PaintGlyph(p, GlyphKind::Check, r.adjusted(3, 3.5, -3, -3.5), look.glyph, 1.7);
}

void Style::CaptionBar(QPainter& p, const QRectF& r, bool vertical) const {
    p.save();
    const Look& look = Header[kNormal];
    QLinearGradient g = vertical ? QLinearGradient(r.left(), 0, r.right(), 0)
                                 : QLinearGradient(0, r.top(), 0, r.bottom());
    for (const auto& [t, c] : look.fill.stops) g.setColorAt(t, c);
    p.fillRect(r, g);
    p.restore();
}

void Style::SmallButton(QPainter& p, const QRectF& r, GlyphKind glyph, St s) const {
    const Look& look = ScrollButton[std::min<int>(s, kDown)];
    if (s != kNormal) PaintLook(p, r, ScrollRadius, look);
    const double g = glyph == GlyphKind::Close ? 6 : 7;
    PaintGlyph(p, glyph, GlyphBox(r, g), look.glyph, glyph == GlyphKind::Close ? 1.5 : 1);
}

void Style::Splitter(QPainter& p, const QRectF& r, bool vertical) const {
    p.save();
    if (vertical) {
        p.fillRect(r, ClientRow(0));
        p.fillRect(QRectF(r.left() + 1, r.top(), 1, r.height()), BevelLight);
        p.fillRect(QRectF(r.right() - 2, r.top(), 1, r.height()), BevelDark);
    } else {
        p.fillRect(r, ClientRow(0));
        p.fillRect(QRectF(r.left(), r.top() + 1, r.width(), 1), BevelLight);
        p.fillRect(QRectF(r.left(), r.bottom() - 2, r.width(), 1), BevelDark);
    }
    p.restore();
}

void Style::TitleFrame(QPainter&, const QRectF&, bool) const {}

}  // namespace skinart
