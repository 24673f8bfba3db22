#pragma once
// Skinned containers and texts: the panel (border, optional caption bar with a check box and a
// roll-up marker), the group box, the windowed label and the window-less standard label.

#include <string>
#include <vector>

#include "runtime/StdCtrls.h"
#include "skin/controls/skSkinCtrls.h"

namespace sk {

enum TskSkinBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };

class TskSkinPanel : public TskSkinCustomControl {
public:
    explicit TskSkinPanel(rt::TComponent* owner);

    bool AutoEnabledControls = true;
    bool CheckedMode() const { return checkedMode_; }
    void SetCheckedMode(bool value);
    bool Checked() const { return checked_; }
    // Stores, repaints in check mode, drives the children's Enabled, then fires OnChecked.
    void SetChecked(bool value);
    TskAlignment DefaultAlignment() const { return defaultAlignment_; }
    void SetDefaultAlignment(TskAlignment value);
    int DefaultCaptionHeight() const { return defaultCaptionHeight_; }
    virtual void SetDefaultCaptionHeight(int value);
    TskSkinBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TskSkinBorderStyle value);
    bool CaptionMode() const { return captionMode_; }
    virtual void SetCaptionMode(bool value);
    bool RollUpMode() const { return rollUpMode_; }
    void SetRollUpMode(bool value);
    bool RollUpState() const { return rollUpState_; }
    // Only with RollUpMode: rolls the panel up to its caption or down again.
    void SetRollUpState(bool value);
    const rt::TBitmap& Glyph() const { return glyph_; }
    void SetGlyph(const rt::TBitmap& glyph);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    rt::TNotifyEvent OnChecked;

    const rt::TRect& FitCaptionRect() const { return fitCaptionRect_; }
    int SavedHeight() const { return savedHeight_; }

    // Where aligned children go.
    rt::TRect ClientRect() const override;
    void FindSkinObject() override;
    void ApplySkin() override;
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void Paint(rt::TCanvas& canvas) override;
    void PaintDefault(rt::TBitmap& buffer) override;
    void PaintSkinned(rt::TBitmap& buffer) override;
    void MouseUp(rt::TMouseButton button, rt::TShiftState shift, int x, int y) override;
    void TextChanged() override;
    void EnabledChanged() override { Invalidate(); }

private:
    void RollUp();
    void RollDown();
    // Glyph and caption text laid out in r; x by the alignment.
    void DrawCaptionContent(rt::TCanvas& c, const rt::TRect& r, int x0Left, TskAlignment align,
                            const rt::TFont& font, bool clip);
    int ContentWidth(const rt::TCanvas& c) const;

    bool checkedMode_ = false;
    bool checked_ = false;
    TskAlignment defaultAlignment_ = taLeftJustify;
    int defaultCaptionHeight_ = 22;
    TskSkinBorderStyle borderStyle_ = bvFrame;
    bool captionMode_ = false;
    bool rollUpMode_ = false;
    bool rollUpState_ = false;
    rt::TBitmap glyph_;
    int numGlyphs_ = 1;
    int spacing_ = 2;

    int savedHeight_ = -1;
    bool childrenHidden_ = false;
    std::vector<rt::TControl*> hiddenChildren_;
    rt::TRect fitCaptionRect_;

    rt::TRect captionRect_, checkImageRect_, uncheckImageRect_;
    TskAlignment alignment_ = taCenter;
    TskFontDesc font_ = DefaultControlFont();
    int bgPictureIndex_ = -1;
};

class TskSkinGroupBox : public TskSkinPanel {
public:
    explicit TskSkinGroupBox(rt::TComponent* owner);
};

class TskSkinLabel : public TskSkinCustomControl {
public:
    explicit TskSkinLabel(rt::TComponent* owner);

    TskSkinBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TskSkinBorderStyle value);
    TskAlignment Alignment() const { return alignment_; }
    void SetAlignment(TskAlignment value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);

    // Width the caption needs beyond the fitted client area in the skin font (0 for smFixed).
    int SkinExtraWidth() const;
    rt::TFont TextFont() const;

    void FindSkinObject() override;
    void FitSize(int& width, int& height) override;
    // An auto-sized label without a skin takes the width of its caption in the default look.
    void ApplySkin() override;

protected:
    void PaintDefault(rt::TBitmap& buffer) override;
    void PaintSkinned(rt::TBitmap& buffer) override;
    void PrepareSkinPaint() override;
    void TextChanged() override;

private:
    void AdjustWidth();
    void DrawText(rt::TCanvas& c, const rt::TRect& r) const;

    TskSkinBorderStyle borderStyle_ = bvFrame;
    TskAlignment alignment_ = taLeftJustify;
    bool autoSize_ = false;

    TskFontDesc font_ = DefaultControlFont();
};

// The class library's label, with its font taken from a skin object when there is one.
class TskSkinStdLabel : public rt::TLabel, public TskSkinnable {
public:
    explicit TskSkinStdLabel(rt::TComponent* owner);
    ~TskSkinStdLabel() override;

    bool UseSkinFont = true;
    const rt::TFont& DefaultFont() const { return defaultFont_; }
    void SetDefaultFont(const rt::TFont& font);
    TskSkinData* SkinData() const override { return skinData_; }
    void SetSkinData(TskSkinData* value);
    const std::string& SkinDataName() const { return skinDataName_; }
    void SetSkinDataName(const std::string& name);
    int SkinIndex() const { return skinIndex_; }

    void FindSkinObject();
    // The font the caption is drawn and measured with in the current skin state.
    rt::TFont TextFont() const override;

    void ApplySkin() override;

protected:
    void Paint(rt::TCanvas& canvas) override;
    void Notification(rt::TComponent* component, rt::TOperation operation) override;

private:
    TskSkinData* skinData_ = nullptr;
    std::string skinDataName_ = "stdlabel";
    TskHeldSkin held_;
    int skinIndex_ = -1;
    rt::TFont defaultFont_;
};

// Border of the default look by style, over the whole rectangle.
void DrawSkinBorder(rt::TCanvas& c, const rt::TRect& r, TskSkinBorderStyle style);

}  // namespace sk
