#include "MessageIcons.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace skinart {

namespace {

// A disc lit from the top left: the fill brightens towards `light`, ringed by `edge`.
void Disc(QPainter& p, QColor light, QColor fill, QColor edge) {
    QRadialGradient g(QPointF(12, 10), 20);
    g.setColorAt(0, light);
    g.setColorAt(1, fill);
    p.setBrush(g);
    p.setPen(QPen(edge, 1.5));
    p.drawEllipse(QRectF(1.75, 1.75, 28.5, 28.5));
}

void Stroke(QPainter& p, QColor c, double width) {
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
}

void Dot(QPainter& p, QColor c, QPointF centre, double radius) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(centre, radius, radius);
}

// Each drawing is made on a 32-unit square.
void DrawWarning(QPainter& p) {
    QPainterPath triangle;
    triangle.moveTo(16, 2.5);
    triangle.lineTo(30, 28.5);
    triangle.lineTo(2, 28.5);
    triangle.closeSubpath();
    QLinearGradient g(QPointF(0, 3), QPointF(0, 29));
    g.setColorAt(0, QColor(255, 232, 120));
    g.setColorAt(1, QColor(246, 190, 24));
    p.setBrush(g);
    p.setPen(QPen(QColor(122, 84, 0), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(triangle);
    Stroke(p, QColor(40, 30, 0), 3.5);
    p.drawLine(QPointF(16, 11), QPointF(16, 19.5));
    Dot(p, QColor(40, 30, 0), QPointF(16, 24.25), 2);
}

void DrawError(QPainter& p) {
    Disc(p, QColor(255, 120, 110), QColor(200, 24, 24), QColor(110, 0, 0));
    Stroke(p, Qt::white, 4);
    p.drawLine(QPointF(10.5, 10.5), QPointF(21.5, 21.5));
    p.drawLine(QPointF(21.5, 10.5), QPointF(10.5, 21.5));
}

void DrawInformation(QPainter& p) {
    Disc(p, QColor(140, 196, 255), QColor(28, 98, 196), QColor(12, 44, 110));
    Dot(p, Qt::white, QPointF(16, 9), 2.25);
    Stroke(p, Qt::white, 4);
    p.drawLine(QPointF(16, 14.5), QPointF(16, 24));
}

void DrawQuestion(QPainter& p) {
    Disc(p, QColor(150, 214, 200), QColor(24, 128, 120), QColor(8, 62, 58));
    Stroke(p, Qt::white, 3.5);
    QPainterPath hook;
    hook.moveTo(11.25, 12.5);
    hook.cubicTo(11.25, 5.5, 21.5, 5.5, 21, 12);
    hook.cubicTo(20.75, 15.5, 16, 15.5, 16, 19.5);
    p.drawPath(hook);
    Dot(p, Qt::white, QPointF(16, 24.5), 2.1);
}

const char* FileName(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Warning:
            return "msg-warning.png";
        case MessageIcon::Error:
            return "msg-error.png";
        case MessageIcon::Information:
            return "msg-information.png";
        case MessageIcon::Question:
            break;
    }
    return "msg-question.png";
}

}  // namespace

QImage DrawMessageIcon(MessageIcon icon, int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    switch (icon) {
        case MessageIcon::Warning:
            DrawWarning(p);
            break;
        case MessageIcon::Error:
            DrawError(p);
            break;
        case MessageIcon::Information:
            DrawInformation(p);
            break;
        case MessageIcon::Question:
            DrawQuestion(p);
            break;
    }
    return image;
}

std::vector<std::pair<std::string, std::vector<unsigned char>>> MessageIconFiles() {
    std::vector<std::pair<std::string, std::vector<unsigned char>>> files;
    for (MessageIcon icon : {MessageIcon::Warning, MessageIcon::Error, MessageIcon::Information,
                             MessageIcon::Question}) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!DrawMessageIcon(icon).save(&buffer, "PNG")) return {};
        files.emplace_back(FileName(icon), std::vector<unsigned char>(png.begin(), png.end()));
    }
    return files;
}

}  // namespace skinart
