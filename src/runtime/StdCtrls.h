#pragma once
// The plain controls the windows place until their skinned counterparts take over. Each paints
// the default look: button face, with a one-pixel navy frame and a lighter or darker fill
// while hot or pressed.

#include <string>

#include "runtime/Controls.h"
#include "runtime/Menus.h"

namespace rt {

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);
    bool AutoSize = true;
    bool Transparent = false;
    bool WordWrap = false;
    // Sizes the label to its caption when AutoSize is on.
    void AdjustSize();

protected:
    void Paint(TCanvas& canvas) override;
    void TextChanged() override;
};

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    TBitmap& Picture() { return picture_; }
    const TBitmap& Picture() const { return picture_; }
    void SetPicture(const TBitmap& b);
    // Loads a BMP or JPEG file; on failure throws and keeps the current picture.
    void LoadFromFile(const std::string& path);
    bool Stretch = false;

protected:
    void Paint(TCanvas& canvas) override;

private:
    TBitmap picture_;
};

class TShape : public TGraphicControl {
public:
    explicit TShape(TComponent* owner);
    TColor BrushColor = clWhite;
    TColor PenColor = clBlack;

protected:
    void Paint(TCanvas& canvas) override;
};

class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* owner);
    TBitmap& Glyph() { return glyph_; }
    // Clicking runs the action when one is linked, else OnClick.
    TAction* Action = nullptr;
    void Click() override;
    bool Hot() const { return hot_; }
    bool Pressed() const { return down_; }

protected:
    void Paint(TCanvas& canvas) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    TBitmap glyph_;
    bool hot_ = false;
    bool down_ = false;
};

// Draws the default look's button background (frame and fill) into r.
void PaintDefaultFace(TCanvas& canvas, const TRect& r, bool hot, bool pressed);
// Draws text with the class library's "&" accelerator marks removed.
std::string StripAccelerators(const std::string& caption);

}  // namespace rt
