#pragma once
// The skinned drop-down list combo box: the class library's combo box (keys, list window,
// choosing) painted from a "combobox" skin object, or in the default look without one.
//
// The box is a three-piece strip of "skinrect" as wide as the control (ends from
// "lefttoppoint".x and the skin width - "righttoppoint".x), its height kept at the skin's. The
// chosen item shows in "clientrect" (right edge moving with the width); "buttonrect" is the
// button's place (moving with the right end when it lies there), and "activebuttonrect",
// "downbuttonrect", "unenabledbuttonrect" are its hot, pressed (list open) and disabled
// images; its normal look is part of the strip. The focused box shows the chosen item on
// "focusitemrect" in "focusfontcolor".
//
// The list: every item is a three-piece strip of "itemrect" ("itemleftoffset",
// "itemrightoffset"), the highlighted one of "focusitemrect", the text in "itemtextrect" of
// the item in "fontcolor" / "focusfontcolor"; when the items do not fit, a skinned vertical
// scroll bar ("vscrollbar") scrolls them.

#include <string>

#include "runtime/ComboBox.h"
#include "skin/controls/skSkinCtrls.h"
#include "skin/controls/skSkinScrollBar.h"

namespace sk {

class TskSkinComboBox : public rt::TCustomComboBox, public TskSkinnable {
public:
    explicit TskSkinComboBox(rt::TComponent* owner);
    ~TskSkinComboBox() override;

    TskSkinData* SkinData() const override { return skinData_; }
    void SetSkinData(TskSkinData* value);
    const std::string& SkinDataName() const { return skinDataName_; }
    void SetSkinDataName(const std::string& value);
    const rt::TFont& DefaultFont() const { return defaultFont_; }
    void SetDefaultFont(const rt::TFont& value);
    bool UseSkinFont() const { return useSkinFont_; }
    void SetUseSkinFont(bool value);
    int DefaultHeight() const { return defaultHeight_; }
    void SetDefaultHeight(int value);
    // The scroll bar's skin object in the list.
    std::string ScrollBarSkinDataName = "vscrollbar";

    int SkinIndex() const { return skinIndex_; }
    // The open list's scroll bar, or null while every item fits.
    TskSkinScrollBar* ListScrollBar() const;
    bool ButtonHot() const { return buttonHot_; }

    void ApplySkin() override;
    void SetBounds(int left, int top, int width, int height) override;
    void WndProc(rt::TMessage& message) override;
    rt::TRect ListItemsRect() const override;

protected:
    void FindSkinObject();
    void Notification(rt::TComponent* component, rt::TOperation operation) override;
    void PaintBox(rt::TCanvas& canvas) override;
    void PaintList(rt::TCanvas& canvas, const rt::TRect& client) override;
    rt::TRect ButtonRect() const override;
    rt::TRect BoxItemRect() const override;
    void DrawItem(rt::TCanvas& canvas, int index, const rt::TRect& rect,
                  rt::TOwnerDrawState state) override;
    rt::TColor ListFontColor() const override;
    rt::TColor HighlightFontColor() const override;
    void ListOpened() override;
    void ListClosed() override;
    void ListScrolled() override;

private:
    // Lets go of the description, its picture and the skin they come from.
    void DropSkinObject();
    bool Skinned() const { return skinIndex_ != -1 && picture_ != nullptr; }
    // The strip of `piece` across width w with the item ends.
    void DrawItemStrip(rt::TCanvas& canvas, const rt::TRect& piece, const rt::TRect& r) const;
    void UpdateItemHeight();

    TskSkinData* skinData_ = nullptr;
    std::string skinDataName_ = "combobox";
    rt::TFont defaultFont_;
    bool useSkinFont_ = true;
    int defaultHeight_ = 21;
    TskSkinScrollBar* bar_ = nullptr;  // owned by the list window

    int skinIndex_ = -1;
    // The skin the description and picture below come from, held until the next lookup.
    TskSkinRef held_;
    const rt::TBitmap* picture_ = nullptr;
    rt::TRect skinRect_, clientRect_;
    int leftWidth_ = 0, rightWidth_ = 0;
    rt::TRect itemRect_, focusItemRect_, itemTextRect_;
    int itemLeftOffset_ = 0, itemRightOffset_ = 0;
    TskFontDesc font_ = DefaultControlFont();
    rt::TRect buttonRect_, activeButtonRect_, downButtonRect_, unEnabledButtonRect_;
    bool buttonHot_ = false;
};

}  // namespace sk
