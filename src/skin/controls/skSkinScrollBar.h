#pragma once
// The skinned scroll bar: a Position between Min and Max, an optional page size that sets the
// thumb's length, two arrow buttons that step by SmallChange, a track that pages by LargeChange,
// both with auto-repeat (the first repeat 500 ms after the press, then every 50 ms), and a thumb
// that can be dragged. Views scroll with it through SetRange and OnChange.
//
// Skin object ("hscrollbar", "vscrollbar", "bothhscrollbar"): "trackarea", "upbuttonrect" and
// "downbuttonrect" are places in the bar at the skin's size (relative to "skinrect", like
// "clientrect"); the state images ("active..", "down..", "thumbrect", "glyphrect", ...) are
// pieces of the picture. The buttons' normal look is part of the background.

#include <string>

#include "runtime/Menus.h"
#include "skin/controls/skSkinCtrls.h"

namespace sk {

enum TskScrollBarKind { sbHorizontal, sbVertical };

class TskSkinScrollBar : public TskSkinCustomControl {
public:
    // Skin object "hscrollbar", 200 x 19, DefaultHeight 19. A vertical bar gets its skin
    // object name ("vscrollbar") and size from whoever places it.
    explicit TskSkinScrollBar(rt::TComponent* owner);

    enum TPartIndex { kThumb = 0, kUpButton = 1, kDownButton = 2 };
    struct TPart {
        rt::TRect Rect;
        bool CursorInside = false;
        bool Down = false;
    };
    enum TRepeatState {
        rsNone = 0,
        rsDownButton = 1,
        rsUpButton = 2,
        rsPageBack = 3,
        rsPageOn = 4
    };

    TskScrollBarKind Kind() const { return kind_; }
    void SetKind(TskScrollBarKind value);
    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    int Position() const { return position_; }
    // Clamped to Min .. Max (with a page size Min .. Max - PageSize + 1); a change repaints and
    // fires OnChange.
    void SetPosition(int value);
    int PageSize() const { return pageSize_; }
    // Taken only when the page fits the range from the current position.
    void SetPageSize(int value);
    // All at once, the position clamped as by SetPosition, without OnChange.
    void SetRange(int min, int max, int pageSize, int position);
    int SmallChange() const { return smallChange_; }
    void SetSmallChange(int value);
    int LargeChange() const { return largeChange_; }
    void SetLargeChange(int value);
    bool Both() const { return both_; }
    // A horizontal bar leaving room for the corner square: its skin object becomes
    // BothSkinDataName, and without a skin BothMarkerWidth pixels stay free at its right end.
    void SetBoth(bool value);
    int BothMarkerWidth() const { return bothMarkerWidth_; }
    void SetBothMarkerWidth(int value);
    std::string BothSkinDataName = "bothhscrollbar";
    bool CanFocused() const { return canFocused_; }
    void SetCanFocused(bool value);

    rt::TNotifyEvent OnChange;
    // After the left button is released over a drag or a track click.
    rt::TNotifyEvent OnLastChange;
    // When set, the arrow buttons call these instead of stepping.
    rt::TNotifyEvent OnUpButtonClick;
    rt::TNotifyEvent OnDownButtonClick;

    // The geometry for the current size, skin, range and position.
    void LayoutParts();
    const TPart& Part(int index) const { return parts_[index]; }
    const rt::TRect& TrackRect() const { return trackRect_; }
    int TrackStart() const { return trackStart_; }
    int TrackEnd() const { return trackEnd_; }
    int ThumbOffset() const { return thumbOffset_; }
    // The part under a point (thumb, up button, down button in that order), or -1.
    int PartAt(int x, int y) const;
    // The position a thumb drag from the grab point to this coordinate along the bar gives.
    int DragValue(int coordinate) const;

    int HoverPart() const { return hoverPart_; }
    int PressedPart() const { return pressedPart_; }
    bool ThumbDragging() const { return thumbDragging_; }
    TRepeatState RepeatState() const { return repeatState_; }
    // The auto-repeat timer while it runs, else null. Tests step it by calling OnTimer.
    rt::TTimer* RepeatTimer() const;

    void FindSkinObject() override;
    void WndProc(rt::TMessage& message) override;

protected:
    void PaintDefault(rt::TBitmap& buffer) override;
    void PaintSkinned(rt::TBitmap& buffer) override;
    void MouseDown(rt::TMouseButton button, rt::TShiftState shift, int x, int y) override;
    void MouseMove(rt::TShiftState shift, int x, int y) override;
    void MouseUp(rt::TMouseButton button, rt::TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    void KeyDown(int& key, rt::TShiftState shift) override;
    bool WantsFocus() const override { return canFocused_; }
    void EnabledChanged() override { Invalidate(); }

private:
    bool Vertical() const { return kind_ == sbVertical; }
    // Thumb from the track, the thumb's length across and along, and the fraction to use.
    void PlaceThumb(int length, int across);
    void StepDown();
    void StepUp();
    void UpdateHover(int x, int y);
    void StartTimer(int interval);
    void StopTimer();
    void TimerTick();
    bool BeforeThumb(int x, int y) const;
    bool BeyondThumb(int x, int y) const;

    TskScrollBarKind kind_ = sbHorizontal;
    int min_ = 0, max_ = 100, position_ = 0, pageSize_ = 0;
    int smallChange_ = 1, largeChange_ = 1;
    bool both_ = false;
    int bothMarkerWidth_ = 19;
    std::string savedSkinDataName_;
    bool canFocused_ = false;

    TPart parts_[3];
    rt::TRect trackRect_;
    int trackStart_ = 0, trackEnd_ = 0, thumbOffset_ = 0;

    rt::TRect trackArea_, upButtonRect_, activeUpButtonRect_, downUpButtonRect_;
    rt::TRect downButtonRect_, activeDownButtonRect_, downDownButtonRect_;
    rt::TRect thumbRect_, activeThumbRect_, downThumbRect_;
    int thumbOffset1_ = 0, thumbOffset2_ = 0;
    rt::TRect glyphRect_, activeGlyphRect_, downGlyphRect_;

    int hoverPart_ = -1, pressedPart_ = -1;
    bool thumbDragging_ = false;
    int grabCoord_ = 0, grabOffset_ = 0;
    rt::TPoint lastMouse_;
    bool mouseDown_ = false;
    TRepeatState repeatState_ = rsNone;
    bool firstTick_ = false;
    std::unique_ptr<rt::TTimer> timer_;
};

}  // namespace sk
