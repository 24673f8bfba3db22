#pragma once
// The plain controls the windows place until their skinned counterparts take over. Each paints
// the default look: button face, with a one-pixel navy frame and a lighter or darker fill
// while hot or pressed.

#include <string>

#include "runtime/Controls.h"
#include "runtime/Menus.h"

namespace rt {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };

// The class library's label: a window-less caption. A transparent label shows what its parent
// paints under it; with ShowAccelChar an "&" underlines the next character, and that character
// offered to the form's controls as an accelerator (CM_DIALOGCHAR) focuses FocusControl.
class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);
    ~TLabel() override;

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* value);

    // With AutoSize, fits the bounds to the caption as drawn: the width and height of the text
    // (with WordWrap, wrapped at the current width); a right-justified label keeps its right
    // edge.
    void AdjustBounds();
    // The font the caption is drawn and measured with.
    virtual TFont TextFont() const { return Font(); }

    void WndProc(TMessage& message) override;

protected:
    void Paint(TCanvas& canvas) override;
    // Draws the caption into rect with TCanvas::DrawText flags, embossed when disabled; with
    // DT_CALCRECT it measures instead.
    virtual void DoDrawText(TCanvas& canvas, TRect& rect, unsigned flags);
    void TextChanged() override;
    void FontChanged() override;
    void EnabledChanged() override { Invalidate(); }
    void Notification(TComponent* component, TOperation operation) override;

private:
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool autoSize_ = true;
    TTextLayout layout_ = TTextLayout::tlTop;
    bool showAccelChar_ = true;
    bool transparent_ = false;
    bool wordWrap_ = false;
    TWinControl* focusControl_ = nullptr;
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
    // Shows what lies under the image around the picture and through a transparent picture's
    // transparent colour, instead of the parent's colour.
    bool Transparent = false;

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
// A dotted one-pixel rectangle that inverts what lies under it: the default look's mark of the
// control that has the focus.
void DrawFocusRect(TCanvas& canvas, const TRect& r);
// Draws text with the class library's "&" accelerator marks removed.
std::string StripAccelerators(const std::string& caption);

}  // namespace rt
