#pragma once
// The class library's splitter and bevel with a skin lookup of their own: the splitter paints
// itself from a "splitter" skin object and takes its thickness from it; the bevel takes its two
// line colours from a "bevel" object and can draw itself as a thin centred divider.

#include <string>

#include "runtime/ExtCtrls.h"
#include "skin/controls/skSkinCtrls.h"

namespace sk {

class TskSkinSplitter : public rt::TSplitter, public TskSkinnable {
public:
    explicit TskSkinSplitter(rt::TComponent* owner);
    ~TskSkinSplitter() override;

    TskSkinData* SkinData() const override { return skinData_; }
    // Stores, looks the skin object up and takes the thickness from it.
    void SetSkinData(TskSkinData* value);
    const std::string& SkinDataName() const { return skinDataName_; }
    void SetSkinDataName(const std::string& name);
    // Thickness without a skin object.
    int DefaultSize() const { return defaultSize_; }
    void SetDefaultSize(int value);
    int SkinIndex() const { return skinIndex_; }

    void ApplySkin() override;

protected:
    void Paint(rt::TCanvas& canvas) override;
    void Notification(rt::TComponent* component, rt::TOperation operation) override;

private:
    void FindSkinObject();

    TskSkinData* skinData_ = nullptr;
    std::string skinDataName_ = "vsplitter";
    int defaultSize_ = 10;
    TskHeldSkin held_;
    int skinIndex_ = -1;
    const rt::TBitmap* picture_ = nullptr;
    rt::TRect skinRect_;
    TskCornerSet corners_;
};

class TskSkinBevel : public rt::TBevel, public TskSkinnable {
public:
    explicit TskSkinBevel(rt::TComponent* owner);
    ~TskSkinBevel() override;

    TskSkinData* SkinData() const override { return skinData_; }
    // Stores and takes the colours from the skin object.
    void SetSkinData(TskSkinData* value);
    const std::string& SkinDataName() const { return skinDataName_; }
    void SetSkinDataName(const std::string& name);
    bool DividerMode() const { return dividerMode_; }
    void SetDividerMode(bool value);
    rt::TColor HighlightTone() const { return highlightTone_; }
    rt::TColor ShadowTone() const { return shadowTone_; }

    void ApplySkin() override;

protected:
    void Paint(rt::TCanvas& canvas) override;
    void Notification(rt::TComponent* component, rt::TOperation operation) override;

private:
    TskSkinData* skinData_ = nullptr;
    std::string skinDataName_ = "bevel";
    bool dividerMode_ = false;
    TskHeldSkin held_;
    int skinIndex_ = -1;
    rt::TColor highlightTone_ = rt::clBtnHighlight;
    rt::TColor shadowTone_ = rt::clBtnShadow;
};

}  // namespace sk
