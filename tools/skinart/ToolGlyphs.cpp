#include "ToolGlyphs.h"

#include <QBuffer>
#include <QColor>
#include <initializer_list>

namespace skinart {

namespace {

const QColor kInk(43, 58, 85);        // lines and letters
const QColor kItem(60, 120, 216);     // an item's picture
const QColor kItemEdge(28, 62, 130);  // its edge
const QColor kArrow(34, 139, 34);
const QColor kArrowEdge(12, 78, 12);
const QColor kFolder(245, 197, 66);
const QColor kFolderEdge(156, 107, 0);
const QColor kPaper(255, 255, 255);
const QColor kCalendarTop(204, 40, 40);

struct Box {
    int x, y, w, h;
};

// A shape of whole pixels: its boxes filled, and with an edge colour a one-pixel ring around
// their union (four-neighbourhood), so that the shape keeps its outline on any background.
void Shape(QImage& img, std::initializer_list<Box> boxes, QColor fill, QColor edge = QColor()) {
    QImage mask(img.size(), QImage::Format_Mono);
    mask.fill(0);
    for (const Box& b : boxes)
        for (int y = b.y; y < b.y + b.h; ++y)
            for (int x = b.x; x < b.x + b.w; ++x)
                if (mask.valid(x, y)) mask.setPixel(x, y, 1);
    auto in = [&](int x, int y) { return mask.valid(x, y) && mask.pixelIndex(x, y) == 1; };
    if (edge.isValid()) {
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (!in(x, y) && (in(x - 1, y) || in(x + 1, y) || in(x, y - 1) || in(x, y + 1)))
                    img.setPixelColor(x, y, edge);
    }
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (in(x, y)) img.setPixelColor(x, y, fill);
}

// Rows of a pixel font: '#' set, anything else clear.
void Letter(QImage& img, int x0, int y0, std::initializer_list<const char*> rows, QColor c) {
    int y = y0;
    for (const char* row : rows) {
        for (int x = 0; row[x] != '\0'; ++x)
            if (row[x] == '#') img.setPixelColor(x0 + x, y, c);
        ++y;
    }
}

// The sort buttons' arrow: pointing down, 7 wide, at columns x0 .. x0 + 6 of a 16-high cell.
void SortArrow(QImage& img, int x0) {
    Shape(img,
          {{x0 + 2, 1, 3, 8},
           {x0, 9, 7, 1},
           {x0 + 1, 10, 5, 1},
           {x0 + 2, 11, 3, 1},
           {x0 + 3, 12, 1, 1}},
          kArrow, kArrowEdge);
}

// A list item's picture: an edge with a lighter middle when it is big enough for one.
void Item(QImage& img, int x, int y, int w, int h) { Shape(img, {{x, y, w, h}}, kItem); }
void FramedItem(QImage& img, int x, int y, int w, int h) {
    Shape(img, {{x, y, w, h}}, kItemEdge);
    Shape(img, {{x + 1, y + 1, w - 2, h - 2}}, kItem);
}
void Line(QImage& img, int x, int y, int w) { Shape(img, {{x, y, w, 1}}, kInk); }

void DrawUp(QImage& img) {
    // A folder with an arrow rising out of it towards the top right.
    Shape(img, {{2, 8, 8, 2}, {2, 10, 18, 11}}, kFolder, kFolderEdge);
    Shape(img, {{3, 12, 16, 1}}, QColor(255, 226, 140));
    Shape(
        img,
        {{15, 6, 3, 10}, {16, 1, 1, 1}, {15, 2, 3, 1}, {14, 3, 5, 1}, {13, 4, 7, 1}, {12, 5, 9, 1}},
        kArrow, kArrowEdge);
}

void DrawSortName(QImage& img) {
    Letter(img, 1, 1, {".###.", "#...#", "#...#", "#####", "#...#", "#...#"}, kInk);
    Letter(img, 1, 9, {"#####", "...#.", "..#..", ".#...", "#....", "#####"}, kInk);
    SortArrow(img, 11);
}

void DrawSortSize(QImage& img) {
    FramedItem(img, 1, 1, 4, 3);
    FramedItem(img, 1, 6, 6, 3);
    FramedItem(img, 1, 11, 8, 3);
    SortArrow(img, 11);
}

void DrawSortDate(QImage& img) {
    // A calendar page: a red top band over a white page with two rows of days.
    Shape(img, {{1, 3, 8, 11}}, kPaper, kInk);
    Shape(img, {{1, 3, 8, 3}}, kCalendarTop);
    for (int y : {7, 10})
        for (int x : {2, 4, 6}) Shape(img, {{x, y, 2, 2}}, kInk);
    Shape(img, {{3, 1, 1, 3}, {6, 1, 1, 3}}, kInk);
    SortArrow(img, 12);
}

void DrawList(QImage& img) {
    for (int x : {1, 9})
        for (int y : {1, 5, 9, 13}) {
            Item(img, x, y, 3, 3);
            Line(img, x + 4, y + 1, 3);
        }
}

void DrawSmallIcons(QImage& img) {
    for (int x : {1, 6, 11})
        for (int y : {1, 6, 11}) FramedItem(img, x, y, 4, 4);
}

void DrawIcons(QImage& img) {
    for (int x : {1, 9})
        for (int y : {0, 8}) {
            FramedItem(img, x, y, 6, 5);
            Line(img, x + 1, y + 6, 4);
        }
}

void DrawReport(QImage& img) {
    Shape(img, {{1, 1, 14, 2}}, kInk);
    for (int y : {5, 8, 11, 14}) {
        Item(img, 1, y - 1, 2, 2);
        Line(img, 4, y, 5);
        Line(img, 11, y, 4);
    }
}

struct GlyphInfo {
    const char* name;
    int w, h;
    void (*draw)(QImage&);
};

const GlyphInfo kGlyphs[] = {
    {"SK_UP", 24, 24, DrawUp},
    {"SK_SORTNAME", 19, 16, DrawSortName},
    {"SK_SORTSIZE", 19, 16, DrawSortSize},
    {"SK_SORTDATE", 19, 16, DrawSortDate},
    {"SK_LISTSTYLE", 16, 16, DrawList},
    {"SK_SMALLICONSTYLE", 16, 16, DrawSmallIcons},
    {"SK_ICONSTYLE", 16, 16, DrawIcons},
    {"SK_REPORTSTYLE", 16, 16, DrawReport},
};

}  // namespace

QImage DrawToolGlyph(const std::string& name) {
    for (const GlyphInfo& g : kGlyphs) {
        if (name != g.name) continue;
        QImage image(g.w, g.h, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        g.draw(image);
        return image;
    }
    return {};
}

const std::vector<std::string>& ToolGlyphNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n;
        for (const GlyphInfo& g : kGlyphs) n.emplace_back(g.name);
        return n;
    }();
    return names;
}

std::vector<std::pair<std::string, std::vector<unsigned char>>> ToolGlyphFiles() {
    std::vector<std::pair<std::string, std::vector<unsigned char>>> files;
    for (const std::string& name : ToolGlyphNames()) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!DrawToolGlyph(name).save(&buffer, "PNG")) return {};
        files.emplace_back(name + ".png", std::vector<unsigned char>(png.begin(), png.end()));
    }
    return files;
}

}  // namespace skinart
