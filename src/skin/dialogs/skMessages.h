#pragma once
// The skinned message box: TskSkinMessage builds a TskMessageForm at each call (a skinned
// frame, a picture by the dialog type, the text in a skinned label and a centred row of skinned
// push buttons), shows it modally and returns the modal result of the button pressed.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Classes.h"
#include "runtime/Controls.h"
#include "runtime/Graphics.h"
#include "runtime/StdCtrls.h"

namespace sk {

class TskSkinData;
class TskSkinForm;
class TskSkinStdLabel;
class TskSkinButton;

enum TskMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Button i of a button set is bit i.
enum TskMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp
};
constexpr int kMsgDlgButtonCount = 11;
// The modal results of the buttons beyond the runtime's mrOk, mrCancel, mrYes and mrNo.
enum TskMsgDlgResult {
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10
};
using TskMsgDlgButtons = std::uint16_t;
constexpr TskMsgDlgButtons MsgDlgSet(TskMsgDlgBtn b) { return TskMsgDlgButtons(1u << b); }

struct TskMsgDlgButtonInfo {
    const char* name;
    const char* caption;
    int modalResult;
};
// Name, caption and modal result of each button, in bit order.
const std::array<TskMsgDlgButtonInfo, kMsgDlgButtonCount>& MsgDlgButtonTable();

// The caption a dialog type gives its box ("Warning", ...; the application's title for
// mtCustom), and its picture (empty for mtCustom): 32 x 32, transparent around the shape.
std::string MsgDlgCaption(TskMsgDlgType type);
rt::TBitmap MsgDlgPicture(TskMsgDlgType type);

// The button that answers Enter unless the caller names another, and the one that answers Esc;
// -1 when the set has none.
int MsgDlgDefaultButton(TskMsgDlgButtons buttons);
int MsgDlgCancelButton(TskMsgDlgButtons buttons);

class TskMessageForm : public rt::TForm {
public:
    explicit TskMessageForm(rt::TComponent* owner);

    TskSkinForm* SkinForm;
    TskSkinStdLabel* Message = nullptr;
    // Absent for mtCustom.
    rt::TImage* Image = nullptr;
    // The buttons of the set, in bit order.
    std::vector<TskSkinButton*> Buttons;
    // The button the focus starts on: the default one.
    TskSkinButton* DefaultButton = nullptr;
    TskSkinButton* CancelButton = nullptr;
    int HelpContext = 0;

    TskSkinButton* FindButton(const std::string& name) const;
};

class TskSkinMessage : public rt::TComponent {
public:
    explicit TskSkinMessage(rt::TComponent* owner);
    ~TskSkinMessage() override;

    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    int AlphaBlendValue = 200;
    TskSkinData* SkinData() const { return skinData_; }
    void SetSkinData(TskSkinData* value);
    TskSkinData* CtrlSkinData() const { return ctrlSkinData_; }
    void SetCtrlSkinData(TskSkinData* value);
    std::string ButtonSkinDataName = "button";
    std::string MessageLabelSkinDataName = "stdlabel";
    const rt::TFont& DefaultFont() const { return defaultFont_; }
    void SetDefaultFont(const rt::TFont& font) { defaultFont_ = font; }
    const rt::TFont& DefaultButtonFont() const { return defaultButtonFont_; }
    void SetDefaultButtonFont(const rt::TFont& font) { defaultButtonFont_ = font; }
    bool UseSkinFont = true;
    // The "Help" button's click, with the box's help context.
    std::function<void(int helpContext)> OnHelp;

    // Shows the box modally and returns the pressed button's modal result. defaultButton (a
    // TskMsgDlgBtn in the set) overrides which button answers Enter; -1 keeps the rule (OK,
    // else Yes, else Retry). Closing the box otherwise answers as its cancel button would
    // (mrCancel without one).
    int ShowMessageBox(const std::string& text, int dlgType, TskMsgDlgButtons buttons,
                       int helpContext, int defaultButton = -1);
    // Builds the box without showing it. caption, when not empty, stands for a custom box's
    // caption instead of the application's title.
    std::unique_ptr<TskMessageForm> CreateMessageForm(const std::string& text, int dlgType,
                                                      TskMsgDlgButtons buttons,
                                                      int defaultButton = -1,
                                                      const std::string& caption = {});
    // The height the buttons get: 25, or the height of the "button" object of CtrlSkinData.
    int ButtonHeight() const;

    // The application's message box (text, caption, MB_* flags) through this box: the icon
    // flag picks the dialog type (none: a custom box with the given caption), the button flags
    // the set, MB_DEFBUTTON2 the default button.
    int ShowApplicationMessage(const std::string& text, const std::string& caption, int flags);
    // Makes this box the application's message box until it is destroyed or uninstalled.
    void InstallAsApplicationMessageBox();
    void UninstallApplicationMessageBox();

protected:
    void Notification(rt::TComponent* component, rt::TOperation operation) override;

private:
    TskSkinData* skinData_ = nullptr;
    TskSkinData* ctrlSkinData_ = nullptr;
    rt::TFont defaultFont_;
    rt::TFont defaultButtonFont_;
    bool installed_ = false;
};

}  // namespace sk
