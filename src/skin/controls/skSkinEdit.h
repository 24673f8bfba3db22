#pragma once
// The skinned single-line edit. The class library's edit does the typing, caret and selection
// on the text area; the control paints its frame (and an optional button at its right end)
// itself in the non-client area, from an "edit" skin object or in the default look, with the
// text drawn transparently over it.
//
// Areas, in the control's coordinates:
//   with a skin object  text = "clientrect", its right edge moved by (width - skin width);
//                       button = "buttonrect", moved the same when it lies in the right end
//   without one         text = (2, 2, w - 2, h - 2), with ButtonMode (2, 2, w - 22, h - 2);
//                       button = (w - 20, 0, w, h)
//
//   skin picture:  |L|   middle   |R|      control:  |L|  middle tiled ...  |R|
//                  left end "lefttoppoint".x, right end skin width - "righttoppoint".x

#include <string>

#include "runtime/EditCtrls.h"
#include "skin/controls/skSkinCtrls.h"

namespace sk {

// The class library's edit as every skinned edit uses it: text drawn transparently over the
// frame, no platform border, margins 2 and 0, Enter kept from the form (it reaches OnKeyPress
// only), and with ReadOnly typing, Delete, cut, paste, clear and undo ignored.
class TskCustomEdit : public rt::TCustomEdit {
public:
    explicit TskCustomEdit(rt::TComponent* owner);

protected:
    int DialogCode() const override;
    void FontChanged() override;
};

// A non-client hit code of its own for the button, so that the platform edit never sees it.
constexpr int HTEDITBUTTON = rt::HTOBJECT;

class TskSkinCustomEdit : public TskCustomEdit, public TskSkinnable {
public:
    explicit TskSkinCustomEdit(rt::TComponent* owner);
    ~TskSkinCustomEdit() override;

    TskSkinData* SkinData() const override { return skinData_; }
    void SetSkinData(TskSkinData* value);
    const std::string& SkinDataName() const { return skinDataName_; }
    void SetSkinDataName(const std::string& value);
    const rt::TFont& DefaultFont() const { return defaultFont_; }
    void SetDefaultFont(const rt::TFont& value);
    bool UseSkinFont() const { return useSkinFont_; }
    void SetUseSkinFont(bool value);
    int DefaultWidth() const { return defaultWidth_; }
    void SetDefaultWidth(int value);
    int DefaultHeight() const { return defaultHeight_; }
    void SetDefaultHeight(int value);
    bool ButtonMode() const { return buttonMode_; }
    void SetButtonMode(bool value);

    rt::TNotifyEvent OnButtonClick;
    rt::TNotifyEvent OnMouseEnter;
    rt::TNotifyEvent OnMouseLeave;

    // The looked-up "edit" description, or null (-1 index) without one.
    int SkinIndex() const { return skinIndex_; }
    // Text area and button in window coordinates for the current size and skin.
    rt::TRect TextArea() const;
    rt::TRect ButtonArea() const;
    bool CursorInside() const { return cursorInside_; }
    bool ButtonHot() const { return buttonHot_; }
    bool ButtonDown() const { return buttonDown_; }

    void ApplySkin() override;
    // With a skin object the height stays the skin's.
    void SetBounds(int left, int top, int width, int height) override;
    void WndProc(rt::TMessage& message) override;

protected:
    void FindSkinObject();
    void Notification(rt::TComponent* component, rt::TOperation operation) override;
    void CalcNonClient(rt::TRect& client) override;
    void PaintNonClient(rt::TCanvas& canvas) override;
    void EnabledChanged() override;
    void PaintDefaultFrame(rt::TCanvas& canvas);
    void PaintSkinFrame(rt::TCanvas& canvas);
    // The font colour for the state: enabled / disabled, and active while focused or hot.
    void UpdateFontColor();

private:
    // Lets go of the description, its picture and the skin they come from.
    void DropSkinObject();
    void SetButtonHot(bool value);
    void SetButtonDown(bool value);

    TskSkinData* skinData_ = nullptr;
    std::string skinDataName_ = "edit";
    rt::TFont defaultFont_;
    bool useSkinFont_ = true;
    int defaultWidth_ = 0;
    int defaultHeight_ = 20;
    bool buttonMode_ = false;

    int skinIndex_ = -1;
    // The skin the description and picture below come from, held until the next lookup.
    TskSkinRef held_;
    const rt::TBitmap* picture_ = nullptr;
    rt::TRect skinRect_, activeSkinRect_, clientRect_;
    int leftWidth_ = 0, rightWidth_ = 0;
    TskFontDesc font_ = DefaultControlFont();
    rt::TRect buttonRect_, activeButtonRect_, downButtonRect_, unEnabledButtonRect_;

    bool cursorInside_ = false;
    bool buttonHot_ = false;
    bool buttonDown_ = false;
};

class TskSkinEdit : public TskSkinCustomEdit {
public:
    using TskSkinCustomEdit::TskSkinCustomEdit;
};

}  // namespace sk
