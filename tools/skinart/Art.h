#pragma once
// Building blocks of the skin art tool: rectangles in skin coordinates, the skin description
// writer, the picture atlas and the painting helpers every style draws with.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace skinart {

// A rectangle as skins write it: left, top, right, bottom, right and bottom exclusive.
struct R {
    int l = 0, t = 0, r = 0, b = 0;
    int W() const { return r - l; }
    int H() const { return b - t; }
    bool Empty() const { return r <= l || b <= t; }
    R Moved(int dx, int dy) const { return {l + dx, t + dy, r + dx, b + dy}; }
    R Inset(int d) const { return {l + d, t + d, r - d, b - d}; }
    // This rectangle relative to the origin of `o` (skin-rect coordinates).
    R RelativeTo(const R& o) const { return Moved(-o.l, -o.t); }
    QRectF F() const { return QRectF(l, t, W(), H()); }
    friend bool operator==(const R&, const R&) = default;
};
inline R Rc(int l, int t, int r, int b) { return {l, t, r, b}; }
inline R Sz(int l, int t, int w, int h) { return {l, t, l + w, t + h}; }

struct P {
    int x = 0, y = 0;
};

// A colour as skins write it: red in the low byte, decimal.
int TColorOf(const QColor& c);

// The skin description: sections and keys in the order they were first set, written with CR LF.
class Ini {
public:
    void Set(const std::string& section, const std::string& key, const std::string& value);
    void Set(const std::string& section, const std::string& key, int value);
    void Set(const std::string& section, const std::string& key, const R& r);
    void Set(const std::string& section, const std::string& key, const P& p);
    void SetColor(const std::string& section, const std::string& key, const QColor& c);
    void SetBool(const std::string& section, const std::string& key, bool v);
    void Comment(const std::string& section, const std::string& text);
    std::string Text() const;

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> keys;  // key "" is a comment line
    };
    Section& Get(const std::string& name);
    std::vector<Section> sections_;
};

// One picture of the skin into which objects are packed: each goes to the lowest place where it
// fits, leftmost first (a skyline), with a gap around it so that no anti-aliased edge bleeds
// into a neighbour. Drawing happens on a tall canvas that Final() crops to the rows in use.
class Atlas {
public:
    Atlas(int width, QColor fill);
    R Alloc(int w, int h);
    QImage& Image() { return image_; }
    QImage Final() const;

private:
    QImage image_;
    std::vector<int> skyline_;  // per column, the first free row
    int used_ = 0;
    static constexpr int kGap = 2;
};

// Colour helpers.
QColor Mix(const QColor& a, const QColor& b, double t);
QColor WithAlpha(QColor c, int alpha);
QColor Hex(unsigned rgb);

// A colour ramp over 0..1 with stops at given positions.
struct Ramp {
    std::vector<std::pair<double, QColor>> stops;
    QColor At(double t) const;
    QLinearGradient Vertical(double y0, double y1) const;
};

// Paints rows [r.t, r.b) of r in img, row y (0 = r.t) in colour(y).
void FillRows(QImage& img, const R& r, const std::function<QColor(int)>& colour);
// Fills r with colour(x, y) per pixel, coordinates relative to r.
void FillPixels(QImage& img, const R& r, const std::function<QColor(int, int)>& colour);

// A rectangle with rounded corners: radii for the top and bottom corners separately.
QPainterPath RoundRect(const QRectF& r, double top, double bottom);
inline QPainterPath RoundRect(const QRectF& r, double radius) {
    return RoundRect(r, radius, radius);
}

// The look of a bordered, filled shape in one state.
struct Look {
    QColor border = Qt::transparent;   // outer ring, one pixel
    Ramp fill;                         // top to bottom
    double gloss = 0;                  // strength of a white specular highlight on the upper half
    QColor topLine = Qt::transparent;  // one-pixel highlight just inside the top border
    QColor edge = Qt::transparent;     // two-pixel inner ring, e.g. a hover edge
    QColor shadow = Qt::transparent;   // one-pixel soft shadow under the shape
    QColor text = Qt::black;           // text colour the description writes for this state
    QColor glyph = Qt::black;          // colour of glyphs drawn on the shape
    double glow = 0;                   // strength of a light glow along the lower edge (gel)
};

// Paints a shape of the look into r (anti-aliased). The shape is a rounded rectangle of the
// given radius; a radius of half the height or more makes a capsule.
void PaintLook(QPainter& p, const QRectF& r, double radius, const Look& look);

// Glyphs of caption buttons, arrows and marks, drawn inside box.
enum class GlyphKind {
    Close,
    Maximize,
    Restore,
    Minimize,
    RollUp,
    RollDown,
    ArrowUp,
    ArrowDown,
    ArrowLeft,
    ArrowRight,
    Check,
    Chevron,
    Grip,
    HGrip
};
void PaintGlyph(QPainter& p, GlyphKind kind, const QRectF& box, const QColor& colour,
                double weight);

// The program's small emblem (a strip of film) for the system-menu button, size x size.
void PaintEmblem(QPainter& p, const QRectF& box, const QColor& body, const QColor& accent);

// A painter on img with anti-aliasing on.
class Painter : public QPainter {
public:
    explicit Painter(QImage& img) : QPainter(&img) {
        setRenderHint(QPainter::Antialiasing, true);
        setRenderHint(QPainter::SmoothPixmapTransform, true);
    }
};

// Windows bitmap files as the skin reader takes them: 24 bits per pixel, or 1 bit for masks
// (black inside, white outside).
std::vector<unsigned char> Bmp24(const QImage& img);
std::vector<unsigned char> Bmp1(const std::vector<bool>& inside, int width, int height);

}  // namespace skinart
