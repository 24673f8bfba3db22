#pragma once
// The class library's splitter and bevel: a bar that resizes the aligned control beside it by
// dragging, and a frame or line drawn in two tones.

#include "runtime/Controls.h"

namespace rt {

class TSplitter : public TGraphicControl {
public:
    // Aligned left, 3 pixels wide, leaving at least 30 pixels to the control it resizes.
    explicit TSplitter(TComponent* owner);

    int MinSize = 30;
    TNotifyEvent OnMoved;

    // The control the splitter resizes: the visible sibling with the same alignment whose edge
    // touches the splitter's opposite edge; null when there is none.
    TControl* ResizedControl() const;
    bool Dragging() const { return dragging_; }

protected:
    void Paint(TCanvas& canvas) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    bool Horizontal() const { return Align() == TAlign::alTop || Align() == TAlign::alBottom; }

    bool dragging_ = false;
    TControl* control_ = nullptr;
    int grabScreen_ = 0, startSize_ = 0, maxSize_ = 0;
};

enum class TBevelShape {
    bsBox,
    bsFrame,
    bsTopLine,
    bsBottomLine,
    bsLeftLine,
    bsRightLine,
    bsSpacer
};
enum class TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* owner);

    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape value);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle value);

protected:
    void Paint(TCanvas& canvas) override;
    // The parent's own picture under the bevel: a bevel draws only lines.
    void PaintParentBackground(TCanvas& canvas);
    // The shape in the style's two tones: lowered puts the shadow top-left, raised the reverse.
    void PaintShape(TCanvas& canvas, TColor highlight, TColor shadow);

private:
    TBevelShape shape_ = TBevelShape::bsBox;
    TBevelStyle style_ = TBevelStyle::bsLowered;
};

// The frame a bevel draws: (l, b) - (l, t) - (r, t) in the first colour, then (r, t) - (r, b) -
// (l, b) in the second; like the window system's polylines, each leaves out its last point.
void DrawBevelFrame(TCanvas& canvas, const TRect& r, TColor first, TColor second);

}  // namespace rt
