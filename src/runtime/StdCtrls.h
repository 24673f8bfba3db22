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

// Draws the default look's button background (frame and fill) into r.
void PaintDefaultFace(TCanvas& canvas, const TRect& r, bool hot, bool pressed);
// Draws text with the class library's "&" accelerator marks removed.
std::string StripAccelerators(const std::string& caption);

}  // namespace rt
