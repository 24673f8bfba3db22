#include "Icon.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <sstream>
#include <vector>

namespace skinart {

namespace {

enum class Kind { Rect, Ellipse };

// One shape of the drawing, in design units: filled with a colour, or with a vertical gradient
// from `fill` at the top to `fill2` at the bottom when fill2 is valid; `clip` limits it to the
// rectangle of another shape when set.
struct Shape {
    Kind kind;
    QRectF box;
    double radius;
    QColor fill;
    QColor fill2;
    QRectF clip;
};

struct Design {
    double units;
    std::vector<Shape> shapes;
};

const QColor kFilmTop(70, 70, 82);
const QColor kFilmBottom(34, 34, 40);
const QColor kHole(236, 236, 226);
const QColor kSkyTop(150, 206, 250);
const QColor kSkyBottom(76, 146, 218);
const QColor kHill(58, 146, 68);
const QColor kMarker(214, 28, 28);

Shape Fill(Kind kind, QRectF box, QColor c, double radius = 0) {
    return Shape{kind, box, radius, c, QColor(), QRectF()};
}
Shape Gradient(QRectF box, QColor top, QColor bottom, double radius = 0) {
    return Shape{Kind::Rect, box, radius, top, bottom, QRectF()};
}

// The full drawing on a 32-unit square.
Design Large() {
    Design d{32, {}};
    d.shapes.push_back(Gradient(QRectF(1, 5, 30, 22), kFilmTop, kFilmBottom, 2));
    for (int x = 3; x < 30; x += 6) {
        d.shapes.push_back(Fill(Kind::Rect, QRectF(x, 7, 3, 2), kHole, 0.5));
        d.shapes.push_back(Fill(Kind::Rect, QRectF(x, 23, 3, 2), kHole, 0.5));
    }
    const QRectF sky(3, 11, 26, 10);
    d.shapes.push_back(Gradient(sky, kSkyTop, kSkyBottom));
    Shape hill = Fill(Kind::Ellipse, QRectF(-2, 15, 26, 14), kHill);
    hill.clip = sky;
    d.shapes.push_back(hill);
    d.shapes.push_back(Fill(Kind::Rect, QRectF(19, 2, 2, 28), kMarker));
    d.shapes.push_back(Fill(Kind::Rect, QRectF(17, 1, 6, 2), kMarker, 0.5));
    d.shapes.push_back(Fill(Kind::Rect, QRectF(17, 29, 6, 2), kMarker, 0.5));
    return d;
}

// The small drawing on a 16-unit square: whole pixels, fewer holes, a one-pixel marker.
Design Small() {
    Design d{16, {}};
    d.shapes.push_back(Gradient(QRectF(0, 2, 16, 12), kFilmTop, kFilmBottom));
    for (int x = 1; x < 16; x += 4) {
        d.shapes.push_back(Fill(Kind::Rect, QRectF(x, 3, 2, 1), kHole));
        d.shapes.push_back(Fill(Kind::Rect, QRectF(x, 12, 2, 1), kHole));
    }
    const QRectF sky(1, 5, 14, 6);
    d.shapes.push_back(Gradient(sky, kSkyTop, kSkyBottom));
    Shape hill = Fill(Kind::Ellipse, QRectF(-2, 8, 14, 7), kHill);
    hill.clip = sky;
    d.shapes.push_back(hill);
    d.shapes.push_back(Fill(Kind::Rect, QRectF(10, 1, 1, 14), kMarker));
    d.shapes.push_back(Fill(Kind::Rect, QRectF(9, 0, 3, 1), kMarker));
    d.shapes.push_back(Fill(Kind::Rect, QRectF(9, 15, 3, 1), kMarker));
    return d;
}

std::string Hex(const QColor& c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c.red(), c.green(), c.blue());
    return buf;
}

std::string Num(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

}  // namespace

QImage DrawProgramIcon(int size) {
    const Design d = size < 24 ? Small() : Large();
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, size != int(d.units));
    p.scale(size / d.units, size / d.units);
    p.setPen(Qt::NoPen);
    for (const Shape& s : d.shapes) {
        p.save();
        if (!s.clip.isNull()) p.setClipRect(s.clip);
        if (s.fill2.isValid()) {
            QLinearGradient g(s.box.topLeft(), s.box.bottomLeft());
            g.setColorAt(0, s.fill);
            g.setColorAt(1, s.fill2);
            p.setBrush(g);
        } else {
            p.setBrush(s.fill);
        }
        if (s.kind == Kind::Ellipse)
            p.drawEllipse(s.box);
        else if (s.radius > 0 && size > int(d.units))
            p.drawRoundedRect(s.box, s.radius, s.radius);
        else
            p.drawRect(s.box);
        p.restore();
    }
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

std::string ProgramIconSvg() {
    const Design d = Large();
    // Written through a stream: GCC's optimiser misreads long chains of string additions as
    // overlapping copies.
    std::ostringstream defs;
    std::ostringstream body;
    int gradients = 0;
    int clips = 0;
    for (const Shape& s : d.shapes) {
        std::string fill = Hex(s.fill);
        if (s.fill2.isValid()) {
            std::string id = "g";
            id += std::to_string(++gradients);
            defs << "    <linearGradient id=\"" << id << "\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">\n"
                 << "      <stop offset=\"0\" stop-color=\"" << Hex(s.fill) << "\"/>\n"
                 << "      <stop offset=\"1\" stop-color=\"" << Hex(s.fill2) << "\"/>\n"
                 << "    </linearGradient>\n";
            fill = "url(#";
            fill += id;
            fill += ")";
        }
        std::string clip;
        if (!s.clip.isNull()) {
            std::string id = "c";
            id += std::to_string(++clips);
            defs << "    <clipPath id=\"" << id << "\"><rect x=\"" << Num(s.clip.x()) << "\" y=\""
                 << Num(s.clip.y()) << "\" width=\"" << Num(s.clip.width()) << "\" height=\""
                 << Num(s.clip.height()) << "\"/></clipPath>\n";
            clip = " clip-path=\"url(#";
            clip += id;
            clip += ")\"";
        }
        if (s.kind == Kind::Ellipse) {
            body << "  <ellipse cx=\"" << Num(s.box.center().x()) << "\" cy=\""
                 << Num(s.box.center().y()) << "\" rx=\"" << Num(s.box.width() / 2) << "\" ry=\""
                 << Num(s.box.height() / 2) << "\"";
        } else {
            body << "  <rect x=\"" << Num(s.box.x()) << "\" y=\"" << Num(s.box.y()) << "\" width=\""
                 << Num(s.box.width()) << "\" height=\"" << Num(s.box.height()) << "\"";
            if (s.radius > 0) body << " rx=\"" << Num(s.radius) << "\"";
        }
        body << " fill=\"" << fill << "\"" << clip << "/>\n";
    }
    const std::string n = Num(d.units);
    std::ostringstream svg;
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << n << "\" height=\"" << n
        << "\" viewBox=\"0 0 " << n << " " << n << "\">\n  <defs>\n"
        << defs.str() << "  </defs>\n"
        << body.str() << "</svg>\n";
    return svg.str();
}

std::vector<std::pair<std::string, std::vector<unsigned char>>> ProgramIconFiles() {
    std::vector<std::pair<std::string, std::vector<unsigned char>>> files;
    for (int size : kIconSizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!DrawProgramIcon(size).save(&buffer, "PNG")) return {};
        files.emplace_back("framora-" + std::to_string(size) + ".png",
                           std::vector<unsigned char>(png.begin(), png.end()));
    }
    const std::string svg = ProgramIconSvg();
    files.emplace_back("framora.svg", std::vector<unsigned char>(svg.begin(), svg.end()));
    return files;
}

}  // namespace skinart
