#include "skin/controls/skSkinGauge.h"

#include <algorithm>

namespace sk {

TskSkinGauge::TskSkinGauge(rt::TComponent* owner) : TskSkinCustomControl(owner) {
    skinDataName_ = "gauge";
    SetBounds(0, 0, 100, 20);
}

void TskSkinGauge::SetProgressText(const std::string& text) {
    progressText_ = text;
    Invalidate();
}

void TskSkinGauge::SetShowProgressText(bool value) {
    showProgressText_ = value;
    Invalidate();
}

void TskSkinGauge::SetShowPercent(bool value) {
    showPercent_ = value;
    Invalidate();
}

void TskSkinGauge::SetMinValue(int value) {
    range_.SetMin(value, TskRange::EndRule::PullIn);
    Invalidate();
}

void TskSkinGauge::SetMaxValue(int value) {
    range_.SetMax(value, TskRange::EndRule::PullIn);
    Invalidate();
}

void TskSkinGauge::SetValue(int value) {
    if (!range_.SetValue(value)) return;
    Invalidate();
}

void TskSkinGauge::SetVertical(bool value) {
    vertical_ = value;
    Invalidate();
}

void TskSkinGauge::FindSkinObject() {
    TskSkinCustomControl::FindSkinObject();
    if (skinIndex_ == -1) return;
    if (auto* obj = dynamic_cast<const TskDataSkinGaugeControl*>(SkinObject())) {
        vertical_ = obj->Vertical;
        progressRect_ = obj->ProgressRect;
        progressArea_ = obj->ProgressArea;
        beginOffset_ = obj->BeginOffset;
        endOffset_ = obj->EndOffset;
        font_ = obj->Font;
    } else {
        progressRect_ = progressArea_ = rt::TRect{};
        beginOffset_ = endOffset_ = 0;
    }
}

void TskSkinGauge::FitSize(int& width, int& height) {
    TskSkinCustomControl::FitSize(width, height);
    if (skinIndex_ == -1) return;
    fitProgressArea_ = progressArea_;
    if (sizingMode_ == smBoth || sizingMode_ == smHorizontal || sizingMode_ == smVertical) {
        if (vertical_)
            fitProgressArea_.Bottom += height - skinRect_.Height();
        else
            fitProgressArea_.Right += width - skinRect_.Width();
    }
}

rt::TRect TskSkinGauge::FilledPart(const rt::TRect& a) const {
    const double f = range_.Fraction();
    rt::TRect p = a;
    if (vertical_)
        p.Top = a.Bottom - RoundEven(f * a.Height());
    else
        p.Right = a.Left + RoundEven(f * a.Width());
    return p;
}

int TskSkinGauge::Percent() const {
    const double span = double(range_.Max) - double(range_.Min);
    if (span == 0) return 0;
    return RoundEven(100.0 * (double(range_.Value) - double(range_.Min)) / span);
}

std::string TskSkinGauge::DisplayText() const {
    std::string text;
    if (showProgressText_) text = progressText_;
    if (showPercent_) text += std::to_string(Percent()) + "%";
    return text;
}

rt::TFont TskSkinGauge::TextFont() const {
    if (skinIndex_ == -1) return DefaultFont();
    rt::TFont f = DefaultFont();
    font_.ApplyTo(f, TskFontState::Normal, UseSkinFont());
    return f;
}

void TskSkinGauge::PaintText(rt::TBitmap& buffer) const {
    const std::string text = DisplayText();
    if (text.empty()) return;
    rt::TCanvas& c = buffer.Canvas();
    c.Font = TextFont();
    const int tw = c.TextWidth(text), th = c.TextHeight(text);
    const int w = Width(), h = Height();
    if (!vertical_) {
        c.Brush.Style = rt::TBrushStyle::bsClear;
        c.TextOut(w / 2 - tw / 2, h / 2 - th / 2, text);
        c.Brush.Style = rt::TBrushStyle::bsSolid;
        return;
    }
    // The text runs upward: draw it level, then turn it a quarter to the left, keeping only
    // the glyph pixels (the brush is hollow).
    rt::TBitmap level(tw, th);
    const std::uint32_t ink = rt::ColorToPixel(c.Font.Color) & 0xFFFFFF;
    const std::uint32_t paper = ink ^ 0xFFFFFF;
    std::fill(level.Pixels().begin(), level.Pixels().end(), paper);
    level.Canvas().Font = c.Font;
    level.Canvas().Brush.Style = rt::TBrushStyle::bsClear;
    level.Canvas().TextOut(0, 0, text);
    const int x0 = w / 2 - th / 2, y0 = tw / 2 + h / 2;
    for (int sy = 0; sy < th; ++sy) {
        for (int sx = 0; sx < tw; ++sx) {
            if ((level.ScanLine(sy)[sx] & 0xFFFFFF) == paper) continue;
            const int dx = x0 + sy, dy = y0 - sx - 1;
            if (dx < 0 || dy < 0 || dx >= buffer.Width() || dy >= buffer.Height()) continue;
            buffer.ScanLine(dy)[dx] = level.ScanLine(sy)[sx];
        }
    }
}

void TskSkinGauge::PaintDefault(rt::TBitmap& buffer) {
    rt::TCanvas& c = buffer.Canvas();
    const int w = Width(), h = Height();
    c.Brush.Style = rt::TBrushStyle::bsSolid;
    c.Brush.Color = rt::clWindow;
    c.FillRect(rt::Rect(0, 0, w, h));
    const rt::TRect p = FilledPart(rt::Rect(1, 1, w - 1, h - 1));
    if (!p.IsEmpty()) {
        c.Brush.Color = rt::kDefaultHot;
        c.FillRect(p);
    }
    // Sunk into the window: shadow above and left, light below and right, and a dark inner
    // line along the top and left.
    DrawFrame3D(c, rt::Rect(0, 0, w, h), rt::clBtnShadow, rt::clBtnHighlight);
    if (w > 2 && h > 2)
        DrawFrame3D(c, rt::Rect(1, 1, w - 1, h - 1), rt::cl3DDkShadow, rt::clBtnFace);
    PaintText(buffer);
}

void TskSkinGauge::PaintSkinned(rt::TBitmap& buffer) {
    ComposeSkinImage(buffer, skinRect_);
    if (skinBitmap_ != nullptr) {
        const rt::TBitmap& pic = *skinBitmap_;
        rt::TCanvas& c = buffer.Canvas();
        const rt::TRect p = FilledPart(fitProgressArea_);
        const rt::TRect& r = progressRect_;
        const int b = beginOffset_, e = endOffset_;
        if (!vertical_) {
            const int m = r.Width() - b - e;
            if (p.Width() - b - e > 0) {
                if (m <= 0) return;
                const int end = p.Right - e;
                for (int x = p.Left + b; x < end; x += m) {
                    const int cw = std::min(m, end - x);
                    c.CopyRect(rt::Rect(x, p.Top, x + cw, p.Top + r.Height()), pic,
                               rt::Rect(r.Left + b, r.Top, r.Left + b + cw, r.Bottom));
                }
            }
            if (p.Width() >= b + e) {
                if (b > 0)
                    c.CopyRect(rt::Rect(p.Left, p.Top, p.Left + b, p.Top + r.Height()), pic,
                               rt::Rect(r.Left, r.Top, r.Left + b, r.Bottom));
                if (e > 0)
                    c.CopyRect(rt::Rect(p.Right - e, p.Top, p.Right, p.Top + r.Height()), pic,
                               rt::Rect(r.Right - e, r.Top, r.Right, r.Bottom));
            }
        } else {
            const int m = r.Height() - b - e;
            if (p.Height() - b - e > 0) {
                if (m <= 0) return;
                const int top = p.Top + b;
                for (int yb = p.Bottom - e; yb > top; yb -= m) {
                    const int ch = std::min(m, yb - top);
                    c.CopyRect(rt::Rect(p.Left, yb - ch, p.Left + r.Width(), yb), pic,
                               rt::Rect(r.Left, r.Bottom - e - ch, r.Right, r.Bottom - e));
                }
            }
            if (p.Height() >= b + e) {
                if (b > 0)
                    c.CopyRect(rt::Rect(p.Left, p.Top, p.Left + r.Width(), p.Top + b), pic,
                               rt::Rect(r.Left, r.Top, r.Right, r.Top + b));
                if (e > 0)
                    c.CopyRect(rt::Rect(p.Left, p.Bottom - e, p.Left + r.Width(), p.Bottom), pic,
                               rt::Rect(r.Left, r.Bottom - e, r.Right, r.Bottom));
            }
        }
    }
    PaintText(buffer);
}

}  // namespace sk
