#include "FileIcons.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace skinart {

namespace {

// Each drawing is made on a 32-unit square; the 16-pixel pictures use a heavier outline so
// that it survives the halving.
void DrawFolder(QPainter& p, double pen) {
    QPainterPath back;
    back.moveTo(2.5, 7);
    back.lineTo(11.5, 7);
    back.lineTo(14.5, 10);
    back.lineTo(29.5, 10);
    back.lineTo(29.5, 27.5);
    back.lineTo(2.5, 27.5);
    back.closeSubpath();
    p.setPen(QPen(QColor(120, 84, 8), pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(222, 170, 52));
    p.drawPath(back);
    QLinearGradient g(QPointF(0, 13), QPointF(0, 28));
    g.setColorAt(0, QColor(255, 222, 118));
    g.setColorAt(1, QColor(240, 186, 60));
    p.setBrush(g);
    p.drawRect(QRectF(2.5, 13, 27, 14.5));
}

void DrawPage(QPainter& p, double pen) {
    QPainterPath page;
    page.moveTo(6.5, 2.5);
    page.lineTo(20, 2.5);
    page.lineTo(26.5, 9);
    page.lineTo(26.5, 29.5);
    page.lineTo(6.5, 29.5);
    page.closeSubpath();
    p.setPen(QPen(QColor(70, 80, 96), pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QLinearGradient g(QPointF(0, 3), QPointF(0, 30));
    g.setColorAt(0, QColor(255, 255, 255));
    g.setColorAt(1, QColor(222, 228, 238));
    p.setBrush(g);
    p.drawPath(page);
    QPainterPath fold;
    fold.moveTo(20, 2.5);
    fold.lineTo(20, 9);
    fold.lineTo(26.5, 9);
    p.setBrush(QColor(200, 208, 222));
    p.drawPath(fold);
}

void DrawFile(QPainter& p, double pen, bool large) {
    DrawPage(p, pen);
    if (!large) return;
    p.setPen(QPen(QColor(150, 160, 176), 1.5));
    for (double y : {14.0, 18.0, 22.0, 26.0}) p.drawLine(QPointF(10, y), QPointF(23, y));
}

void DrawVideo(QPainter& p, double pen) {
    // A strip of film: dark, holes on both edges, a picture in the middle.
    QLinearGradient g(QPointF(0, 5), QPointF(0, 27));
    g.setColorAt(0, QColor(70, 70, 82));
    g.setColorAt(1, QColor(34, 34, 40));
    p.setPen(QPen(QColor(16, 16, 20), pen));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2.5, 5.5, 27, 21), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(236, 236, 226));
    for (double x = 5; x < 28; x += 5) {
        p.drawRect(QRectF(x, 7.5, 2.5, 2.5));
        p.drawRect(QRectF(x, 22, 2.5, 2.5));
    }
    QLinearGradient sky(QPointF(0, 12), QPointF(0, 20));
    sky.setColorAt(0, QColor(150, 206, 250));
    sky.setColorAt(1, QColor(76, 146, 218));
    p.setBrush(sky);
    p.drawRect(QRectF(6, 12, 20, 8));
    p.setBrush(QColor(214, 28, 28));
    QPainterPath play;
    play.moveTo(13.5, 12.5);
    play.lineTo(20.5, 16);
    play.lineTo(13.5, 19.5);
    play.closeSubpath();
    p.drawPath(play);
}

void DrawVolume(QPainter& p, double pen) {
    // A drive's box seen from the front, with its light.
    QLinearGradient g(QPointF(0, 9), QPointF(0, 25));
    g.setColorAt(0, QColor(214, 220, 230));
    g.setColorAt(1, QColor(150, 160, 176));
    p.setPen(QPen(QColor(56, 62, 74), pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2.5, 9.5, 27, 14), 2.5, 2.5);
    p.setPen(QPen(QColor(100, 108, 122), 1.5));
    p.drawLine(QPointF(6, 19.5), QPointF(20, 19.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 200, 80));
    p.drawEllipse(QPointF(25, 19.5), 1.75, 1.75);
}

const char* BaseName(FileIcon icon) {
    switch (icon) {
        case FileIcon::Folder:
            return "folder";
        case FileIcon::File:
            return "file";
        case FileIcon::Video:
            return "video";
        case FileIcon::Volume:
            break;
    }
    return "volume";
}

}  // namespace

QImage DrawFileIcon(FileIcon icon, int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    const bool large = size >= 24;
    const double pen = large ? 1.5 : 2.5;
    switch (icon) {
        case FileIcon::Folder:
            DrawFolder(p, pen);
            break;
        case FileIcon::File:
            DrawFile(p, pen, large);
            break;
        case FileIcon::Video:
            DrawVideo(p, pen);
            break;
        case FileIcon::Volume:
            DrawVolume(p, pen);
            break;
    }
    return image;
}

std::vector<std::pair<std::string, std::vector<unsigned char>>> FileIconFiles() {
    std::vector<std::pair<std::string, std::vector<unsigned char>>> files;
    for (FileIcon icon : {FileIcon::Folder, FileIcon::File, FileIcon::Video, FileIcon::Volume}) {
        for (int size : {16, 32}) {
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            if (!DrawFileIcon(icon, size).save(&buffer, "PNG")) return {};
            files.emplace_back(
                std::string("file-") + BaseName(icon) + std::to_string(size) + ".png",
                std::vector<unsigned char>(png.begin(), png.end()));
        }
    }
    return files;
}

}  // namespace skinart
