#include "Art.h"

#include <QLinearGradient>
#include <algorithm>
#include <cmath>

namespace skinart {

int TColorOf(const QColor& c) { return c.red() | c.green() << 8 | c.blue() << 16; }

Ini::Section& Ini::Get(const std::string& name) {
    for (Section& s : sections_)
        if (s.name == name) return s;
    sections_.push_back(Section{name, {}});
    return sections_.back();
}

void Ini::Set(const std::string& section, const std::string& key, const std::string& value) {
    Section& s = Get(section);
    for (auto& kv : s.keys)
        if (kv.first == key) {
            kv.second = value;
            return;
        }
    s.keys.emplace_back(key, value);
}

void Ini::Set(const std::string& section, const std::string& key, int value) {
    Set(section, key, std::to_string(value));
}

void Ini::Set(const std::string& section, const std::string& key, const R& r) {
    Set(section, key,
        std::to_string(r.l) + "," + std::to_string(r.t) + "," + std::to_string(r.r) + "," +
            std::to_string(r.b));
}

void Ini::Set(const std::string& section, const std::string& key, const P& p) {
    Set(section, key, std::to_string(p.x) + "," + std::to_string(p.y));
}

void Ini::SetColor(const std::string& section, const std::string& key, const QColor& c) {
    Set(section, key, TColorOf(c));
}

void Ini::SetBool(const std::string& section, const std::string& key, bool v) {
    Set(section, key, v ? 1 : 0);
}

void Ini::Comment(const std::string& section, const std::string& text) {
    Get(section).keys.emplace_back("", text);
}

std::string Ini::Text() const {
    std::string out;
    for (const Section& s : sections_) {
        if (!out.empty()) out += "\r\n";
        out += "[" + s.name + "]\r\n";
        for (const auto& [k, v] : s.keys)
            out += k.empty() ? "; " + v + "\r\n" : k + "=" + v + "\r\n";
    }
    return out;
}

Atlas::Atlas(int width, QColor fill)
    : image_(width, 2048, QImage::Format_RGB32), skyline_(std::size_t(width), 0) {
    image_.fill(fill);
}

R Atlas::Alloc(int w, int h) {
    const int cw = w + 2 * kGap, ch = h + 2 * kGap, width = int(skyline_.size());
    int bestX = 0, bestY = 1 << 30;
    for (int x = 0; x + cw <= width; ++x) {
        const int y = *std::max_element(skyline_.begin() + x, skyline_.begin() + x + cw);
        if (y < bestY) {
            bestY = y;
            bestX = x;
        }
    }
    for (int x = bestX; x < bestX + cw; ++x) skyline_[std::size_t(x)] = bestY + ch;
    used_ = std::max(used_, bestY + ch);
    return Sz(bestX + kGap, bestY + kGap, w, h);
}

QImage Atlas::Final() const { return image_.copy(0, 0, image_.width(), used_); }

QColor Mix(const QColor& a, const QColor& b, double t) {
    auto m = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
    return QColor(m(a.red(), b.red()), m(a.green(), b.green()), m(a.blue(), b.blue()),
                  m(a.alpha(), b.alpha()));
}

QColor WithAlpha(QColor c, int alpha) {
    c.setAlpha(std::clamp(alpha, 0, 255));
    return c;
}

QColor Hex(unsigned rgb) {
    return QColor(int(rgb >> 16 & 255), int(rgb >> 8 & 255), int(rgb & 255));
}

QColor Ramp::At(double t) const {
    if (stops.empty()) return QColor(0, 0, 0, 0);
    if (t <= stops.front().first) return stops.front().second;
    for (std::size_t i = 1; i < stops.size(); ++i)
        if (t <= stops[i].first) {
            const auto& [t0, c0] = stops[i - 1];
            const auto& [t1, c1] = stops[i];
            return Mix(c0, c1, t1 > t0 ? (t - t0) / (t1 - t0) : 1.0);
        }
    return stops.back().second;
}

QLinearGradient Ramp::Vertical(double y0, double y1) const {
    QLinearGradient g(0, y0, 0, y1);
    for (const auto& [t, c] : stops) g.setColorAt(t, c);
    return g;
}

void FillRows(QImage& img, const R& r, const std::function<QColor(int)>& colour) {
    for (int y = r.t; y < r.b; ++y) {
        const QRgb c = colour(y - r.t).rgb();
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = r.l; x < r.r; ++x) line[x] = c;
    }
}

void FillPixels(QImage& img, const R& r, const std::function<QColor(int, int)>& colour) {
    for (int y = r.t; y < r.b; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = r.l; x < r.r; ++x) line[x] = colour(x - r.l, y - r.t).rgb();
    }
}

QPainterPath RoundRect(const QRectF& r, double top, double bottom) {
    const double maxR = std::min(r.width(), r.height()) / 2.0;
    top = std::clamp(top, 0.0, maxR);
    bottom = std::clamp(bottom, 0.0, maxR);
    QPainterPath p;
    p.moveTo(r.left() + top, r.top());
    p.lineTo(r.right() - top, r.top());
    if (top > 0) p.arcTo(r.right() - 2 * top, r.top(), 2 * top, 2 * top, 90, -90);
    p.lineTo(r.right(), r.bottom() - bottom);
    if (bottom > 0)
        p.arcTo(r.right() - 2 * bottom, r.bottom() - 2 * bottom, 2 * bottom, 2 * bottom, 0, -90);
    p.lineTo(r.left() + bottom, r.bottom());
    if (bottom > 0) p.arcTo(r.left(), r.bottom() - 2 * bottom, 2 * bottom, 2 * bottom, 270, -90);
    p.lineTo(r.left(), r.top() + top);
    if (top > 0) p.arcTo(r.left(), r.top(), 2 * top, 2 * top, 180, -90);
    p.closeSubpath();
    return p;
}

void PaintLook(QPainter& p, const QRectF& r, double radius, const Look& look) {
    p.save();
    p.setPen(Qt::NoPen);
    QRectF body = r;
    if (look.shadow.alpha() > 0) {
        body.setBottom(body.bottom() - 1);
        p.fillPath(RoundRect(body.translated(0, 1), radius), look.shadow);
    }
    const QPainterPath outer = RoundRect(body, radius);
    if (look.border.alpha() > 0) p.fillPath(outer, look.border);
    const bool bordered = look.border.alpha() > 0;
    const QRectF in = bordered ? body.adjusted(1, 1, -1, -1) : body;
    const double inRadius = std::max(0.0, radius - (bordered ? 1.0 : 0.0));
    const QPainterPath inner = RoundRect(in, inRadius);
    p.fillPath(inner, look.fill.Vertical(in.top(), in.bottom()));
    if (look.glow > 0) {
        QLinearGradient g(0, in.top() + in.height() * 0.45, 0, in.bottom());
        g.setColorAt(0, WithAlpha(Qt::white, 0));
        g.setColorAt(1, WithAlpha(Qt::white, int(255 * look.glow)));
        p.fillPath(inner, g);
    }
    if (look.edge.alpha() > 0) {
        QPainterPath ring =
            inner.subtracted(RoundRect(in.adjusted(2, 2, -2, -2), std::max(0.0, inRadius - 2)));
        QLinearGradient g(0, in.top(), 0, in.bottom());
        g.setColorAt(0, Mix(look.edge, Qt::white, 0.45));
        g.setColorAt(1, look.edge);
        p.fillPath(ring, g);
    }
    if (look.topLine.alpha() > 0) {
        QPainterPath line;
        line.addRect(QRectF(in.left(), in.top(), in.width(), 1));
        p.fillPath(inner.intersected(line), look.topLine);
    }
    if (look.gloss > 0) {
        // The specular highlight: a softer copy of the shape over the upper half, inset a
        // little so that the rim stays visible.
        const double inset = std::max(1.0, std::min(in.width(), in.height()) * 0.08);
        QRectF hi(in.left() + inset, in.top() + 0.5, in.width() - 2 * inset, in.height() * 0.48);
        QLinearGradient g(0, hi.top(), 0, hi.bottom());
        g.setColorAt(0, WithAlpha(Qt::white, int(255 * look.gloss)));
        g.setColorAt(1, WithAlpha(Qt::white, int(255 * look.gloss * 0.18)));
        const double hr = std::min(hi.height(), std::max(0.0, inRadius - inset));
        p.fillPath(RoundRect(hi, hr, hr * 0.5).intersected(inner), g);
    }
    p.restore();
}

void PaintGlyph(QPainter& p, GlyphKind kind, const QRectF& box, const QColor& colour,
                double weight) {
    p.save();
    QPen pen(colour, weight, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const double l = box.left(), t = box.top(), w = box.width(), h = box.height();
    const double cx = l + w / 2, cy = t + h / 2;
    auto tri = [&](QPointF a, QPointF b, QPointF c) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawPolygon(QPolygonF({a, b, c}));
    };
    switch (kind) {
        case GlyphKind::Close:
            p.drawLine(QPointF(l, t), QPointF(l + w, t + h));
            p.drawLine(QPointF(l + w, t), QPointF(l, t + h));
            break;
        case GlyphKind::Maximize: {
            p.setPen(QPen(colour, weight * 0.8, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            const double e = weight * 0.4;
            p.drawRect(QRectF(l + e, t + e, w - 2 * e, h - 2 * e));
            p.fillRect(QRectF(l, t, w, weight * 1.6), colour);
            break;
        }
        case GlyphKind::Restore: {
            // A window in front of another: the back one shows only its top and right edges.
            p.setPen(QPen(colour, weight * 0.8, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            const double s = w * 0.7, e = weight * 0.4;
            const QRectF back(l + w - s + e, t + e, s - 2 * e, s - 2 * e);
            const QRectF front(l + e, t + h - s + e, s - 2 * e, s - 2 * e);
            p.drawPolyline(
                QPolygonF({QPointF(back.left(), front.top()), back.topLeft(), back.topRight(),
                           back.bottomRight(), QPointF(front.right(), back.bottom())}));
            p.fillRect(QRectF(l + w - s, t, s, weight * 1.3), colour);
            p.drawRect(front);
            p.fillRect(QRectF(l, t + h - s, s, weight * 1.3), colour);
            break;
        }
        case GlyphKind::Minimize:
            p.fillRect(QRectF(l, t + h - weight * 1.6, w, weight * 1.6), colour);
            break;
        case GlyphKind::RollUp:
            tri(QPointF(l, t + h * 0.78), QPointF(l + w, t + h * 0.78), QPointF(cx, t + h * 0.2));
            break;
        case GlyphKind::RollDown:
            tri(QPointF(l, t + h * 0.22), QPointF(l + w, t + h * 0.22), QPointF(cx, t + h * 0.8));
            break;
        case GlyphKind::ArrowUp:
            tri(QPointF(l, t + h * 0.75), QPointF(l + w, t + h * 0.75), QPointF(cx, t + h * 0.25));
            break;
        case GlyphKind::ArrowDown:
            tri(QPointF(l, t + h * 0.25), QPointF(l + w, t + h * 0.25), QPointF(cx, t + h * 0.75));
            break;
        case GlyphKind::ArrowLeft:
            tri(QPointF(l + w * 0.75, t), QPointF(l + w * 0.75, t + h), QPointF(l + w * 0.25, cy));
            break;
        case GlyphKind::ArrowRight:
            tri(QPointF(l + w * 0.25, t), QPointF(l + w * 0.25, t + h), QPointF(l + w * 0.75, cy));
            break;
        case GlyphKind::Check:
            p.drawPolyline(QPolygonF(
                {QPointF(l, t + h * 0.55), QPointF(l + w * 0.38, t + h), QPointF(l + w, t)}));
            break;
        case GlyphKind::Chevron:
            p.drawPolyline(QPolygonF(
                {QPointF(l, t + h * 0.3), QPointF(cx, t + h * 0.75), QPointF(l + w, t + h * 0.3)}));
            break;
        case GlyphKind::Grip:
            for (int i = -1; i <= 1; ++i)
                p.drawLine(QPointF(l, cy + i * h / 3), QPointF(l + w, cy + i * h / 3));
            break;
        case GlyphKind::HGrip:
            for (int i = -1; i <= 1; ++i)
                p.drawLine(QPointF(cx + i * w / 3, t), QPointF(cx + i * w / 3, t + h));
            break;
    }
    p.restore();
}

void PaintEmblem(QPainter& p, const QRectF& box, const QColor& body, const QColor& accent) {
    p.save();
    p.setPen(Qt::NoPen);
    const double s = box.width();
    p.setBrush(body);
    p.drawRoundedRect(box.adjusted(0, s * 0.12, 0, -s * 0.12), s * 0.12, s * 0.12);
    // Sprocket holes along both edges of the strip, and one picture frame in its middle.
    const double hole = s * 0.12;
    for (int i = 0; i < 4; ++i) {
        const double x = box.left() + s * (0.14 + 0.2 * i);
        p.setBrush(accent.lighter(180));
        p.drawRect(QRectF(x, box.top() + s * 0.2, hole, hole));
        p.drawRect(QRectF(x, box.bottom() - s * 0.2 - hole, hole, hole));
    }
    QLinearGradient g(0, box.top() + s * 0.38, 0, box.bottom() - s * 0.38);
    g.setColorAt(0, accent.lighter(140));
    g.setColorAt(1, accent);
    p.setBrush(g);
    p.drawRect(QRectF(box.left() + s * 0.16, box.top() + s * 0.38, s * 0.68, s * 0.24));
    p.restore();
}

namespace {
void Put16(std::vector<unsigned char>& b, std::size_t at, unsigned v) {
    b[at] = static_cast<unsigned char>(v);
    b[at + 1] = static_cast<unsigned char>(v >> 8);
}
void Put32(std::vector<unsigned char>& b, std::size_t at, unsigned v) {
    for (int i = 0; i < 4; ++i) b[at + std::size_t(i)] = static_cast<unsigned char>(v >> (8 * i));
}
// File header and information header for a bottom-up bitmap of the given row size.
std::vector<unsigned char> Headers(int width, int height, int bits, std::size_t rowBytes,
                                   unsigned paletteBytes) {
    const std::size_t offset = 14 + 40 + paletteBytes;
    const std::size_t size = offset + rowBytes * std::size_t(height);
    std::vector<unsigned char> b(size, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, unsigned(size));
    Put32(b, 10, unsigned(offset));
    Put32(b, 14, 40);
    Put32(b, 18, unsigned(width));
    Put32(b, 22, unsigned(height));
    Put16(b, 26, 1);
    Put16(b, 28, unsigned(bits));
    Put32(b, 34, unsigned(rowBytes * std::size_t(height)));
    Put32(b, 38, 3780);  // 96 pixels per inch
    Put32(b, 42, 3780);
    if (paletteBytes > 0) Put32(b, 46, paletteBytes / 4);
    return b;
}
}  // namespace

std::vector<unsigned char> Bmp24(const QImage& src) {
    const QImage img = src.convertToFormat(QImage::Format_RGB32);
    const int w = img.width(), h = img.height();
    const std::size_t row = (std::size_t(w) * 3 + 3) / 4 * 4;
    std::vector<unsigned char> b = Headers(w, h, 24, row, 0);
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(h - 1 - y));
        unsigned char* out = b.data() + 54 + std::size_t(y) * row;
        for (int x = 0; x < w; ++x) {
            out[3 * x] = static_cast<unsigned char>(qBlue(line[x]));
            out[3 * x + 1] = static_cast<unsigned char>(qGreen(line[x]));
            out[3 * x + 2] = static_cast<unsigned char>(qRed(line[x]));
        }
    }
    return b;
}

std::vector<unsigned char> Bmp1(const std::vector<bool>& inside, int w, int h) {
    const std::size_t row = (std::size_t(w) + 31) / 32 * 4;
    std::vector<unsigned char> b = Headers(w, h, 1, row, 8);
    // Palette: index 0 black (inside the shape), index 1 white.
    b[54 + 4] = b[54 + 5] = b[54 + 6] = 255;
    for (int y = 0; y < h; ++y) {
        unsigned char* out = b.data() + 62 + std::size_t(y) * row;
        for (int x = 0; x < w; ++x)
            if (!inside[std::size_t(h - 1 - y) * std::size_t(w) + std::size_t(x)])
                out[x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
    }
    return b;
}

}  // namespace skinart
