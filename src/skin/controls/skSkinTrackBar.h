#pragma once
// The skinned slider: an integer Value between MinValue and MaxValue, a thumb dragged along a
// track, optional jump-to-click and keyboard control, OnChange on every change of Value.

#include "skin/controls/skSkinCtrls.h"
#include "skin/data/skRange.h"

namespace sk {

class TskSkinTrackBar : public TskSkinCustomControl {
public:
    explicit TskSkinTrackBar(rt::TComponent* owner);

    bool JumpWhenClick = false;
    bool MouseSupport = true;
    bool CanFocused() const { return canFocused_; }
    void SetCanFocused(bool value);

    int MinValue() const { return range_.Min; }
    void SetMinValue(int value);
    int MaxValue() const { return range_.Max; }
    void SetMaxValue(int value);
    int Value() const { return range_.Value; }
    // Clamps to the range; a changed value repaints and fires OnChange.
    void SetValue(int value);
    bool Vertical() const { return vertical_; }
    void SetVertical(bool value);
    rt::TNotifyEvent OnChange;

    // The names the plain track bar used, so callers read either.
    int Min() const { return MinValue(); }
    int Max() const { return MaxValue(); }
    int Position() const { return Value(); }
    void SetMin(int v) { SetMinValue(v); }
    void SetMax(int v) { SetMaxValue(v); }
    void SetPosition(int v) { SetValue(v); }

    // Track geometry for the current value, size and skin.
    int TrackStart() const { return trackStart_; }
    int TrackEnd() const { return trackEnd_; }
    int ThumbOffset() const { return thumbOffset_; }
    const rt::TRect& ThumbBox() const { return thumbBox_; }
    const rt::TRect& FitTrackArea() const { return fitTrackArea_; }
    bool ThumbDragging() const { return thumbDragging_; }
    // Recomputes the geometry above (each paint does too).
    void UpdateThumbGeometry();
    // The value for a thumb offset p in pixels from the MinValue position.
    int ValueForOffset(int p) const;

    void FindSkinObject() override;
    void FitSize(int& width, int& height) override;
    void WndProc(rt::TMessage& message) override;

protected:
    void PaintDefault(rt::TBitmap& buffer) override;
    void PaintSkinned(rt::TBitmap& buffer) override;
    void MouseDown(rt::TMouseButton button, rt::TShiftState shift, int x, int y) override;
    void MouseMove(rt::TShiftState shift, int x, int y) override;
    void MouseUp(rt::TMouseButton button, rt::TShiftState shift, int x, int y) override;
    void KeyDown(int& key, rt::TShiftState shift) override;
    bool WantsFocus() const override { return canFocused_; }

private:
    void ComputeThumb(const rt::TRect& track, int bw, int bh);
    bool ShowsActiveThumb() const;

    bool canFocused_ = false;
    TskRange range_;
    bool vertical_ = false;

    rt::TRect trackArea_, buttonRect_, activeButtonRect_;
    rt::TRect fitTrackArea_;
    int trackStart_ = 0, trackEnd_ = 0, thumbOffset_ = 0;
    rt::TRect thumbBox_;
    bool thumbDragging_ = false;
    int grabPos_ = 0, grabOffset_ = 0;
};

}  // namespace sk
