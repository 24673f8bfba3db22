#pragma once
// The skinned progress indicator: a bar filling a progress area in proportion to Value, with
// an optional progress text and percentage centred on the control.

#include <string>

#include "skin/controls/skSkinCtrls.h"
#include "skin/data/skRange.h"

namespace sk {

class TskSkinGauge : public TskSkinCustomControl {
public:
    explicit TskSkinGauge(rt::TComponent* owner);

    const std::string& ProgressText() const { return progressText_; }
    void SetProgressText(const std::string& text);
    bool ShowProgressText() const { return showProgressText_; }
    void SetShowProgressText(bool value);
    bool ShowPercent() const { return showPercent_; }
    void SetShowPercent(bool value);
    int MinValue() const { return range_.Min; }
    void SetMinValue(int value);
    int MaxValue() const { return range_.Max; }
    void SetMaxValue(int value);
    int Value() const { return range_.Value; }
    // Clamps to the range; only a changed value repaints.
    void SetValue(int value);
    bool Vertical() const { return vertical_; }
    void SetVertical(bool value);

    // The text the gauge shows for its current state (empty: none).
    std::string DisplayText() const;
    int Percent() const;
    // The filled part of an area for the current value.
    rt::TRect FilledPart(const rt::TRect& area) const;
    const rt::TRect& FitProgressArea() const { return fitProgressArea_; }
    // The font the text is drawn with in the current skin state.
    rt::TFont TextFont() const;

    void FindSkinObject() override;
    void FitSize(int& width, int& height) override;

protected:
    void PaintDefault(rt::TBitmap& buffer) override;
    void PaintSkinned(rt::TBitmap& buffer) override;

private:
    void PaintText(rt::TBitmap& buffer) const;

    std::string progressText_;
    bool showProgressText_ = false;
    bool showPercent_ = false;
    TskRange range_;
    bool vertical_ = false;

    rt::TRect progressArea_, progressRect_, fitProgressArea_;
    int beginOffset_ = 0, endOffset_ = 0;
    TskFontDesc font_ = DefaultControlFont();
};

}  // namespace sk
