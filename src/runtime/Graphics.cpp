#include "runtime/Graphics.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QString>
#include <algorithm>
#include <cstring>

#include "runtime/BmpCodec.h"
#include "runtime/QtBridge.h"

namespace rt {

namespace {

QImage Wrap(TBitmap& b) {
    return QImage(reinterpret_cast<uchar*>(b.Pixels().data()), b.Width(), b.Height(),
                  qsizetype(b.Width()) * 4, QImage::Format_RGB32);
}

QImage WrapConst(const TBitmap& b) {
    return QImage(reinterpret_cast<const uchar*>(b.Pixels().data()), b.Width(), b.Height(),
                  qsizetype(b.Width()) * 4, QImage::Format_RGB32);
}

QColor ToQColor(TColor c) {
    TColor v = ColorToRGB(c);
    return QColor(GetRValue(v), GetGValue(v), GetBValue(v));
}

// Pixels of RGB32 images keep 0xFF in the top byte for Qt; ours keep 0. Qt ignores that byte in
// RGB32, so both read the same colours.
struct Painter {
    QImage image;
    QPainter p;
    explicit Painter(TBitmap& b, const TCanvas& c) : image(Wrap(b)), p(&image) {
        if (c.HasClip()) {
            const TRect& r = c.ClipRect();
            p.setClipRect(QRect(r.Left, r.Top, r.Width(), r.Height()));
        }
    }
};

}  // namespace

QFont ToQFont(const TFont& f) {
    QFont q(QString::fromStdString(MapFontFamily(f.Name)));
    q.setPixelSize(std::max(1, f.PixelSize()));
    q.setBold((f.Style & fsBold) != 0);
    q.setItalic((f.Style & fsItalic) != 0);
    q.setUnderline((f.Style & fsUnderline) != 0);
    q.setStrikeOut((f.Style & fsStrikeOut) != 0);
    q.setHintingPreference(QFont::PreferFullHinting);
    q.setStyleStrategy(QFont::NoAntialias);
    return q;
}

std::string MapFontFamily(const std::string& name) {
    // Liberation fonts are metric-compatible with the faces the skins were laid out with.
    if (SameText(name, "Courier New") || SameText(name, "Courier")) return "Liberation Mono";
    if (SameText(name, "Times New Roman")) return "Liberation Serif";
    return "Liberation Sans";
}

TRect TCanvas::Visible(const TRect& r) const {
    TRect v{std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, target_.Width()),
            std::min(r.Bottom, target_.Height())};
    if (hasClip_) {
        v.Left = std::max(v.Left, clip_.Left);
        v.Top = std::max(v.Top, clip_.Top);
        v.Right = std::min(v.Right, clip_.Right);
        v.Bottom = std::min(v.Bottom, clip_.Bottom);
    }
    return v;
}

void TCanvas::FillRect(const TRect& r) {
    TRect v = Visible(r);
    if (v.IsEmpty()) return;
    std::uint32_t px = ColorToPixel(Brush.Color);
    for (int y = v.Top; y < v.Bottom; ++y)
        std::fill(target_.ScanLine(y) + v.Left, target_.ScanLine(y) + v.Right, px);
}

void TCanvas::FrameRect(const TRect& r) {
    if (r.IsEmpty()) return;
    FillRect(Rect(r.Left, r.Top, r.Right, r.Top + 1));
    FillRect(Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
    FillRect(Rect(r.Left, r.Top, r.Left + 1, r.Bottom));
    FillRect(Rect(r.Right - 1, r.Top, r.Right, r.Bottom));
}

void TCanvas::Rectangle(const TRect& r) {
    if (target_.Empty() || r.IsEmpty()) return;
    if (Brush.Style == TBrushStyle::bsSolid) FillRect(r);
    if (Pen.Style == TPenStyle::psClear) return;
    TBrush keep = Brush;
    Brush.Color = Pen.Color;
    Brush.Style = TBrushStyle::bsSolid;
    FrameRect(r);
    Brush = keep;
}

void TCanvas::Ellipse(const TRect& r) {
    if (target_.Empty() || r.IsEmpty()) return;
    Painter pt(target_, *this);
    pt.p.setPen(Pen.Style == TPenStyle::psClear ? QPen(Qt::NoPen) : QPen(ToQColor(Pen.Color)));
    pt.p.setBrush(Brush.Style == TBrushStyle::bsClear ? QBrush(Qt::NoBrush)
                                                      : QBrush(ToQColor(Brush.Color)));
    pt.p.drawEllipse(QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
}

void TCanvas::LineTo(int x, int y) {
    Polyline({penPos_, {x, y}});
    penPos_ = {x, y};
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
    if (target_.Empty() || points.size() < 2 || Pen.Style == TPenStyle::psClear) return;
    // GDI leaves out each polyline's last point; plot segments pixel by pixel to match it.
    std::uint32_t px = ColorToPixel(Pen.Color);
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        int x0 = points[i].X, y0 = points[i].Y, x1 = points[i + 1].X, y1 = points[i + 1].Y;
        int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
        int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1, err = dx + dy;
        while (!(x0 == x1 && y0 == y1)) {
            if (x0 >= 0 && y0 >= 0 && x0 < target_.Width() && y0 < target_.Height() &&
                (!hasClip_ || clip_.Contains({x0, y0})))
                target_.ScanLine(y0)[x0] = px;
            int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
            }
        }
    }
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
    if (target_.Empty() || points.size() < 3) return;
    Painter pt(target_, *this);
    QPolygon poly;
    for (const TPoint& p : points) poly << QPoint(p.X, p.Y);
    pt.p.setPen(Pen.Style == TPenStyle::psClear ? QPen(Qt::NoPen) : QPen(ToQColor(Pen.Color)));
    pt.p.setBrush(Brush.Style == TBrushStyle::bsClear ? QBrush(Qt::NoBrush)
                                                      : QBrush(ToQColor(Brush.Color)));
    pt.p.drawPolygon(poly);
}

TColor TCanvas::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= target_.Width() || y >= target_.Height()) return clNone;
    return PixelToColor(target_.ScanLine(y)[x]);
}

void TCanvas::SetPixel(int x, int y, TColor c) {
    if (x < 0 || y < 0 || x >= target_.Width() || y >= target_.Height()) return;
    if (hasClip_ && !clip_.Contains({x, y})) return;
    target_.ScanLine(y)[x] = ColorToPixel(c);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    if (target_.Empty() || text.empty()) return;
    Painter pt(target_, *this);
    QFont f = ToQFont(Font);
    QFontMetrics fm(f);
    QString s = QString::fromStdString(text);
    // (x, y) is the top-left corner of the text cell before it is turned about that corner.
    pt.p.translate(x, y);
    if (Font.Orientation != 0) pt.p.rotate(-Font.Orientation / 10.0);
    if (Brush.Style == TBrushStyle::bsSolid)
        pt.p.fillRect(QRect(0, 0, fm.horizontalAdvance(s), fm.height()), ToQColor(Brush.Color));
    pt.p.setFont(f);
    pt.p.setPen(ToQColor(Font.Color));
    pt.p.drawText(QPoint(0, fm.ascent()), s);
}

void TCanvas::TextRect(const TRect& clip, int x, int y, const std::string& text) {
    bool had = hasClip_;
    TRect old = clip_;
    TRect c = clip;
    if (had) {
        c.Left = std::max(c.Left, old.Left);
        c.Top = std::max(c.Top, old.Top);
        c.Right = std::min(c.Right, old.Right);
        c.Bottom = std::min(c.Bottom, old.Bottom);
    }
    if (!c.IsEmpty()) {
        SetClipRect(c);
        TextOut(x, y, text);
    }
    clip_ = old;
    hasClip_ = had;
}

int TCanvas::TextWidth(const std::string& text) const {
    return QFontMetrics(ToQFont(Font)).horizontalAdvance(QString::fromStdString(text));
}

int TCanvas::TextHeight(const std::string&) const { return QFontMetrics(ToQFont(Font)).height(); }

namespace {

// One line of formatted text; `accel` is the byte offset of the underlined character or -1.
struct TextLine {
    std::string text;
    int accel = -1;
};

int Utf8Length(unsigned char lead) {
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

// Removes the "&" marks and returns the byte offset of the first marked character, or -1.
int TakePrefixes(std::string& text) {
    std::string out;
    int accel = -1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '&') {
            out += '&';
            ++i;
        } else if (i + 1 < text.size() && accel < 0) {
            accel = int(out.size());
        }
    }
    text.swap(out);
    return accel;
}

void ExpandTabs(TextLine& line) {
    std::string out;
    int column = 0;
    for (std::size_t i = 0; i < line.text.size(); ++i) {
        char c = line.text[i];
        if (c == '\t') {
            int spaces = 8 - column % 8;
            if (line.accel > int(out.size())) line.accel += spaces - 1;
            out.append(std::size_t(spaces), ' ');
            column += spaces;
            continue;
        }
        if (c == '\n') column = -1;
        out += c;
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++column;
    }
    line.text.swap(out);
}

TextLine Slice(const TextLine& from, std::size_t begin, std::size_t end) {
    TextLine l{from.text.substr(begin, end - begin), -1};
    if (from.accel >= int(begin) && from.accel < int(end)) l.accel = from.accel - int(begin);
    return l;
}

// Splits one paragraph into lines no wider than `width` where its blanks allow.
void BreakWords(const TextLine& para, int width, const QFontMetrics& fm,
                std::vector<TextLine>& lines) {
    auto measure = [&](std::size_t b, std::size_t e) {
        return fm.horizontalAdvance(QString::fromStdString(para.text.substr(b, e - b)));
    };
    const std::string& t = para.text;
    std::size_t start = 0;
    while (true) {
        // The line holds words from `start`; `end` is just past the last word that fits.
        std::size_t end = t.find(' ', start);
        if (end == std::string::npos) end = t.size();
        while (end < t.size()) {
            std::size_t next = t.find_first_not_of(' ', end);
            if (next == std::string::npos) break;
            std::size_t nextEnd = t.find(' ', next);
            if (nextEnd == std::string::npos) nextEnd = t.size();
            if (measure(start, nextEnd) > width) break;
            end = nextEnd;
        }
        lines.push_back(Slice(para, start, end));
        std::size_t next = t.find_first_not_of(' ', end);
        if (next == std::string::npos) return;
        start = next;
    }
}

}  // namespace

int TCanvas::DrawText(const std::string& text, TRect& rect, unsigned flags) {
    TextLine all{text, -1};
    if ((flags & DT_NOPREFIX) == 0) all.accel = TakePrefixes(all.text);
    all.text.erase(std::remove(all.text.begin(), all.text.end(), '\r'), all.text.end());
    if (flags & DT_EXPANDTABS) ExpandTabs(all);
    if (flags & DT_SINGLELINE) std::replace(all.text.begin(), all.text.end(), '\n', ' ');

    QFont qf = ToQFont(Font);
    QFontMetrics fm(qf);
    std::vector<TextLine> lines;
    if (!all.text.empty()) {
        std::size_t b = 0;
        while (true) {
            std::size_t e = all.text.find('\n', b);
            TextLine para = Slice(all, b, e == std::string::npos ? all.text.size() : e);
            if ((flags & DT_WORDBREAK) && !(flags & DT_SINGLELINE))
                BreakWords(para, rect.Width(), fm, lines);
            else
                lines.push_back(para);
            if (e == std::string::npos) break;
            b = e + 1;
        }
    }
    const int lineHeight = fm.height();
    const int height = int(lines.size()) * lineHeight;
    auto widthOf = [&](const std::string& s) {
        return fm.horizontalAdvance(QString::fromStdString(s));
    };
    if (flags & DT_CALCRECT) {
        int widest = 0;
        for (const TextLine& l : lines) widest = std::max(widest, widthOf(l.text));
        rect.Right = rect.Left + widest;
        rect.Bottom = rect.Top + height;
        return height;
    }
    int y = rect.Top;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_BOTTOM)
            y = rect.Bottom - lineHeight;
        else if (flags & DT_VCENTER)
            y = rect.Top + (rect.Height() - lineHeight) / 2;
    }
    const bool hadClip = hasClip_;
    const TRect oldClip = clip_;
    if ((flags & DT_NOCLIP) == 0) {
        TRect c = rect;
        if (hadClip)
            c = Rect(std::max(c.Left, oldClip.Left), std::max(c.Top, oldClip.Top),
                     std::min(c.Right, oldClip.Right), std::min(c.Bottom, oldClip.Bottom));
        SetClipRect(c.IsEmpty() ? Rect(0, 0, 0, 0) : c);
    }
    for (const TextLine& l : lines) {
        const int w = widthOf(l.text);
        int x = rect.Left;
        if (flags & DT_RIGHT)
            x = rect.Right - w;
        else if (flags & DT_CENTER)
            x = rect.Left + (rect.Width() - w) / 2;
        TextOut(x, y, l.text);
        if (l.accel >= 0) {
            const std::size_t at = std::size_t(l.accel);
            const std::size_t len = std::min<std::size_t>(
                Utf8Length(static_cast<unsigned char>(l.text[at])), l.text.size() - at);
            const int x0 = x + widthOf(l.text.substr(0, at));
            const int x1 = x + widthOf(l.text.substr(0, at + len));
            TBrush keep = Brush;
            Brush.Color = Font.Color;
            Brush.Style = TBrushStyle::bsSolid;
            FillRect(Rect(x0, y + fm.ascent() + 1, x1, y + fm.ascent() + 2));
            Brush = keep;
        }
        y += lineHeight;
    }
    clip_ = oldClip;
    hasClip_ = hadClip;
    return height;
}

void TCanvas::CopyRect(const TRect& dest, const TBitmap& src, const TRect& srcRect) {
    if (target_.Empty() || src.Empty() || dest.IsEmpty() || srcRect.IsEmpty()) return;
    if (dest.Width() == srcRect.Width() && dest.Height() == srcRect.Height()) {
        // One-to-one copies are the common case in skin composition: clip the rectangle once
        // (to the target, the clip and the source) and copy whole rows.
        int dx = srcRect.Left - dest.Left, dy = srcRect.Top - dest.Top;
        TRect v = Visible(dest);
        v.Left = std::max(v.Left, -dx);
        v.Top = std::max(v.Top, -dy);
        v.Right = std::min(v.Right, src.Width() - dx);
        v.Bottom = std::min(v.Bottom, src.Height() - dy);
        if (v.IsEmpty()) return;
        for (int y = v.Top; y < v.Bottom; ++y)
            std::memcpy(target_.ScanLine(y) + v.Left, src.ScanLine(y + dy) + v.Left + dx,
                        std::size_t(v.Width()) * 4);
        return;
    }
    Painter pt(target_, *this);
    QImage s = WrapConst(src);
    pt.p.drawImage(QRect(dest.Left, dest.Top, dest.Width(), dest.Height()), s,
                   QRect(srcRect.Left, srcRect.Top, srcRect.Width(), srcRect.Height()));
}

void TCanvas::Draw(int x, int y, const TBitmap& src) {
    if (src.Empty() || target_.Empty()) return;
    if (!src.Transparent) {
        CopyRect(Bounds(x, y, src.Width(), src.Height()), src,
                 Rect(0, 0, src.Width(), src.Height()));
        return;
    }
    std::uint32_t key = ColorToPixel(src.EffectiveTransparentColor()) & 0xFFFFFF;
    for (int sy = 0; sy < src.Height(); ++sy) {
        int dy = y + sy;
        if (dy < 0 || dy >= target_.Height()) continue;
        for (int sx = 0; sx < src.Width(); ++sx) {
            int dx = x + sx;
            if (dx < 0 || dx >= target_.Width()) continue;
            if (hasClip_ && !clip_.Contains({dx, dy})) continue;
            std::uint32_t p = src.ScanLine(sy)[sx];
            if ((p & 0xFFFFFF) != key) target_.ScanLine(dy)[dx] = p;
        }
    }
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& src) {
    if (src.Empty()) return;
    Painter pt(target_, *this);
    pt.p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    pt.p.drawImage(QRect(dest.Left, dest.Top, dest.Width(), dest.Height()), WrapConst(src));
}

TBitmap::TBitmap() : canvas_(std::make_unique<TCanvas>(*this)) {}

TBitmap::TBitmap(int width, int height) : TBitmap() { SetSize(width, height); }

TBitmap::TBitmap(const TBitmap& other) : TBitmap() { *this = other; }

TBitmap& TBitmap::operator=(const TBitmap& other) {
    if (this == &other) return *this;
    width_ = other.width_;
    height_ = other.height_;
    pixels_ = other.pixels_;
    PixelFormat = other.PixelFormat;
    Transparent = other.Transparent;
    TransparentColor = other.TransparentColor;
    return *this;
}

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == width_ && height == height_) return;
    std::vector<std::uint32_t> next(std::size_t(width) * std::size_t(height), 0xFFFFFF);
    for (int y = 0; y < std::min(height, height_); ++y)
        std::memcpy(next.data() + std::size_t(y) * std::size_t(width), ScanLine(y),
                    std::size_t(std::min(width, width_)) * 4);
    pixels_.swap(next);
    width_ = width;
    height_ = height;
}

TColor TBitmap::EffectiveTransparentColor() const {
    if (TransparentColor != clNone) return TransparentColor;
    if (Empty()) return clNone;
    return PixelToColor(ScanLine(height_ - 1)[0]);
}

namespace {
TPixelFormat FormatOfBits(int bits) {
    switch (bits) {
        case 1:
            return TPixelFormat::pf1bit;
        case 4:
            return TPixelFormat::pf4bit;
        case 8:
            return TPixelFormat::pf8bit;
        case 16:
            return TPixelFormat::pf16bit;
        case 24:
            return TPixelFormat::pf24bit;
        case 32:
            return TPixelFormat::pf32bit;
        default:
            return TPixelFormat::pfDevice;
    }
}
int BitsOfFormat(TPixelFormat f) {
    switch (f) {
        case TPixelFormat::pf1bit:
            return 1;
        case TPixelFormat::pf4bit:
            return 4;
        case TPixelFormat::pf8bit:
            return 8;
        case TPixelFormat::pf32bit:
            return 32;
        default:
            return 24;
    }
}
}  // namespace

namespace {
std::uint32_t ClaimedBmpSize(const std::uint8_t* head, std::size_t available) {
    if (available < 14)
        throw EInvalidGraphic("Bitmap image is not valid: the data ends before its header");
    if (head[0] != 'B' || head[1] != 'M')
        throw EInvalidGraphic("Bitmap image is not valid: no \"BM\" signature");
    std::uint32_t claimed = std::uint32_t(head[2]) | std::uint32_t(head[3]) << 8 |
                            std::uint32_t(head[4]) << 16 | std::uint32_t(head[5]) << 24;
    if (claimed < 14 || claimed > available)
        throw EInvalidGraphic("Bitmap image is not valid: its size field exceeds the data");
    return claimed;
}
}  // namespace

std::size_t TBitmap::LoadFromBytes(const std::uint8_t* data, std::size_t size) {
    // The decoder sees exactly the bytes the image claims, never what follows it.
    std::uint32_t claimed = ClaimedBmpSize(data, size);
    BmpImage img;
    rt::DecodeBmp(data, claimed, img);
    width_ = img.width;
    height_ = img.height;
    pixels_ = std::move(img.pixels);
    PixelFormat = FormatOfBits(img.bitCount);
    return claimed;
}

void TBitmap::LoadFromStream(TStream& stream) {
    std::int64_t left = stream.Size() - stream.Position();
    // Peek the file header to learn how many bytes the image claims.
    std::uint8_t head[14] = {};
    std::size_t available = std::size_t(std::max<std::int64_t>(left, 0));
    if (available >= 14) stream.ReadBuffer(head, 14);
    std::uint32_t claimed = ClaimedBmpSize(head, available);
    std::vector<std::uint8_t> bytes(claimed);
    std::memcpy(bytes.data(), head, 14);
    stream.ReadBuffer(bytes.data() + 14, std::int64_t(claimed) - 14);
    LoadFromBytes(bytes.data(), bytes.size());
}

void TBitmap::SaveToStream(TStream& stream) const {
    BmpImage img;
    img.width = width_;
    img.height = height_;
    img.pixels = pixels_;
    img.bitCount = BitsOfFormat(PixelFormat);
    std::vector<std::uint8_t> bytes;
    try {
        bytes = rt::EncodeBmp(img);
    } catch (const EInvalidGraphic&) {
        img.bitCount = 24;  // more colours than the palette holds: keep every pixel
        bytes = rt::EncodeBmp(img);
    }
    stream.WriteBuffer(bytes.data(), std::int64_t(bytes.size()));
}

void TBitmap::LoadFromFile(const std::string& path) {
    std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    LoadFromBytes(bytes.data(), bytes.size());
}

void TBitmap::SaveToFile(const std::string& path) const {
    TMemoryStream s;
    SaveToStream(s);
    s.SaveToFile(path);
}

TRegion::TRegion(const TRect& r) {
    if (!r.IsEmpty()) rects_.push_back(r);
}

TRegion TRegion::FromRegionData(const std::uint8_t* data, std::size_t size) {
    auto rd = [&](std::size_t off) {
        std::uint32_t v;
        std::memcpy(&v, data + off, 4);
        return std::int32_t(v);
    };
    if (data == nullptr || size < 32)
        throw EInvalidGraphic("Region data is shorter than its header");
    std::int32_t headerSize = rd(0), type = rd(4), count = rd(8);
    if (headerSize != 32 || type != 1 || count < 0 || std::size_t(count) > (size - 32) / 16)
        throw EInvalidGraphic("Region data is not valid");
    TRegion out;
    for (std::int32_t i = 0; i < count; ++i) {
        std::size_t o = 32 + std::size_t(i) * 16;
        TRect r{rd(o), rd(o + 4), rd(o + 8), rd(o + 12)};
        if (!r.IsEmpty()) out.rects_.push_back(r);
    }
    return out;
}

bool TRegion::Contains(int x, int y) const {
    for (const TRect& r : rects_)
        if (r.Contains({x, y})) return true;
    return false;
}

void TRegion::Union(const TRegion& other) {
    rects_.insert(rects_.end(), other.rects_.begin(), other.rects_.end());
}

void TRegion::Offset(int dx, int dy) {
    for (TRect& r : rects_) r = Rect(r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy);
}

TRect TRegion::BoundingRect() const {
    if (rects_.empty()) return {};
    TRect b = rects_[0];
    for (const TRect& r : rects_) {
        b.Left = std::min(b.Left, r.Left);
        b.Top = std::min(b.Top, r.Top);
        b.Right = std::max(b.Right, r.Right);
        b.Bottom = std::max(b.Bottom, r.Bottom);
    }
    return b;
}

}  // namespace rt
