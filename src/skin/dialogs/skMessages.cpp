#include "skin/dialogs/skMessages.h"

#include <algorithm>
#include <cstddef>

#include "runtime/Application.h"
#include "runtime/Desktop.h"
#include "runtime/Screen.h"
#include "skin/controls/skSkinButton.h"
#include "skin/controls/skSkinPanels.h"
#include "skin/data/skSkinData.h"
#include "skin/data/skUtils.h"
#include "skin/form/skSkinForm.h"

extern const unsigned char kMessagePicture_warning[];
extern const std::size_t kMessagePicture_warning_size;
extern const unsigned char kMessagePicture_error[];
extern const std::size_t kMessagePicture_error_size;
extern const unsigned char kMessagePicture_information[];
extern const std::size_t kMessagePicture_information_size;
extern const unsigned char kMessagePicture_question[];
extern const std::size_t kMessagePicture_question_size;

namespace sk {

namespace {

constexpr int kButtonWidth = 60;
constexpr int kButtonGap = 10;
constexpr int kDefaultButtonHeight = 25;
constexpr int kLabelLeft = 50;
constexpr int kLabelTop = 15;
// Never seen: the pictures' keyed pixels.
constexpr rt::TColor kPictureKey = 0xFF00FF;

// The one box that answers the application's message boxes.
TskSkinMessage* installedBox = nullptr;

bool Has(TskMsgDlgButtons set, int button) { return (set >> button) & 1u; }

// Closed without a button (Alt+F4), the box answers as its cancel button would have.
int RunModal(TskMessageForm& form) {
    const int result = form.ShowModal();
    if (result == rt::mrCancel && form.CancelButton != nullptr)
        return form.CancelButton->ModalResult;
    return result;
}

TskMsgDlgType TypeOf(int dlgType) {
    return dlgType >= mtWarning && dlgType <= mtCustom ? TskMsgDlgType(dlgType) : mtCustom;
}

}  // namespace

const std::array<TskMsgDlgButtonInfo, kMsgDlgButtonCount>& MsgDlgButtonTable() {
    static const std::array<TskMsgDlgButtonInfo, kMsgDlgButtonCount> table = {{
        {"Yes", "&Yes", rt::mrYes},
        {"No", "&No", rt::mrNo},
        {"OK", "OK", rt::mrOk},
        {"Cancel", "Cancel", rt::mrCancel},
        {"Abort", "&Abort", mrAbort},
        {"Retry", "&Retry", mrRetry},
        {"Ignore", "&Ignore", mrIgnore},
        {"All", "&All", mrAll},
        {"NoToAll", "N&oToAll", mrNoToAll},
        {"YesToAll", "&YesToAll", mrYesToAll},
        {"Help", "&Help", rt::mrNone},
    }};
    return table;
}

std::string MsgDlgCaption(TskMsgDlgType type) {
    switch (type) {
        case mtWarning:
            return "Warning";
        case mtError:
            return "Error";
        case mtInformation:
            return "Information";
        case mtConfirmation:
            return "Confirm";
        case mtCustom:
            break;
    }
    return rt::Application() != nullptr ? rt::Application()->Title : std::string();
}

rt::TBitmap MsgDlgPicture(TskMsgDlgType type) {
    rt::TImageBytes png{};
    switch (type) {
        case mtWarning:
            png = {kMessagePicture_warning, kMessagePicture_warning_size};
            break;
        case mtError:
            png = {kMessagePicture_error, kMessagePicture_error_size};
            break;
        case mtInformation:
            png = {kMessagePicture_information, kMessagePicture_information_size};
            break;
        case mtConfirmation:
            png = {kMessagePicture_question, kMessagePicture_question_size};
            break;
        case mtCustom:
            return {};
    }
    rt::TBitmap picture;
    // The pictures are made by the build with the program: a failure here is a broken build.
    if (!rt::LoadPngBitmap(png, picture, kPictureKey))
        throw rt::EInvalidGraphic("The message box's picture is missing.");
    return picture;
}

int MsgDlgDefaultButton(TskMsgDlgButtons buttons) {
    for (int b : {mbOK, mbYes, mbRetry})
        if (Has(buttons, b)) return b;
    return -1;
}

int MsgDlgCancelButton(TskMsgDlgButtons buttons) {
    for (int b : {mbCancel, mbNo, mbOK})
        if (Has(buttons, b)) return b;
    return -1;
}

TskMessageForm::TskMessageForm(rt::TComponent* owner) : rt::TForm(owner) {
    BorderStyle = rt::TFormBorderStyle::bsDialog;
    Position = rt::TPosition::poScreenCenter;
    SkinForm = new TskSkinForm(this);
    SkinForm->SetName("skSkinForm1");
    SkinForm->SetBorderIcons(0);
    SkinForm->SetShowIcon(false);
    SkinForm->UseDefaultSysMenu = false;
    SkinForm->MaximizeOnFullScreen = false;
    // A button gets the focus when the box shows, so that Enter answers the default button
    // and not whichever control the window system focuses first.
    OnShow = [this](rt::TComponent*) {
        if (DefaultButton != nullptr && DefaultButton->CanFocus()) DefaultButton->SetFocus();
    };
}

TskSkinButton* TskMessageForm::FindButton(const std::string& name) const {
    for (TskSkinButton* b : Buttons)
        if (b->Name() == name) return b;
    return nullptr;
}

TskSkinMessage::TskSkinMessage(rt::TComponent* owner) : rt::TComponent(owner) {
    defaultFont_ = MakeSkinFont("Arial", 14, 0, rt::clWindowText);
    defaultButtonFont_ = defaultFont_;
}

TskSkinMessage::~TskSkinMessage() {
    UninstallApplicationMessageBox();
    if (skinData_ != nullptr) RemoveFreeNotification(skinData_);
    if (ctrlSkinData_ != nullptr && ctrlSkinData_ != skinData_)
        RemoveFreeNotification(ctrlSkinData_);
}

void TskSkinMessage::SetSkinData(TskSkinData* value) {
    if (skinData_ != nullptr && skinData_ != ctrlSkinData_) RemoveFreeNotification(skinData_);
    skinData_ = value;
    if (value != nullptr) FreeNotification(value);
}

void TskSkinMessage::SetCtrlSkinData(TskSkinData* value) {
    if (ctrlSkinData_ != nullptr && ctrlSkinData_ != skinData_)
        RemoveFreeNotification(ctrlSkinData_);
    ctrlSkinData_ = value;
    if (value != nullptr) FreeNotification(value);
}

void TskSkinMessage::Notification(rt::TComponent* component, rt::TOperation operation) {
    rt::TComponent::Notification(component, operation);
    if (operation != rt::TOperation::opRemove || component == nullptr) return;
    if (component == static_cast<rt::TComponent*>(skinData_)) skinData_ = nullptr;
    if (component == static_cast<rt::TComponent*>(ctrlSkinData_)) ctrlSkinData_ = nullptr;
}

int TskSkinMessage::ButtonHeight() const {
    if (ctrlSkinData_ == nullptr || ctrlSkinData_->Empty()) return kDefaultButtonHeight;
    const int index = ctrlSkinData_->GetControlIndex(ButtonSkinDataName);
    if (index < 0) return kDefaultButtonHeight;
    const auto* button =
        dynamic_cast<const TskDataSkinButtonControl*>(ctrlSkinData_->Skin().Control(index));
    return button != nullptr ? button->SkinRect.Height() : kDefaultButtonHeight;
}

std::unique_ptr<TskMessageForm> TskSkinMessage::CreateMessageForm(const std::string& text,
                                                                  int dlgType,
                                                                  TskMsgDlgButtons buttons,
                                                                  int defaultButton,
                                                                  const std::string& caption) {
    const TskMsgDlgType type = TypeOf(dlgType);
    auto form = std::make_unique<TskMessageForm>(nullptr);
    TskSkinForm* frame = form->SkinForm;
    frame->SetAlphaBlend(AlphaBlend);
    frame->AlphaBlendAnimation = AlphaBlendAnimation;
    frame->SetAlphaBlendValue(AlphaBlendValue);
    frame->SetSkinData(skinData_);
    frame->SetMenusSkinData(ctrlSkinData_);

    const int buttonHeight = ButtonHeight();
    int count = 0;
    for (int b = 0; b < kMsgDlgButtonCount; ++b) count += Has(buttons, b) ? 1 : 0;
    const int rowWidth = count == 0 ? 0 : kButtonWidth * count + kButtonGap * (count - 1);

    form->SetCaption(type == mtCustom && !caption.empty() ? caption : MsgDlgCaption(type));

    auto* label = new TskSkinStdLabel(form.get());
    label->SetName("Message");
    label->SetShowAccelChar(false);
    label->SetFont(defaultFont_);
    label->SetDefaultFont(defaultFont_);
    label->UseSkinFont = UseSkinFont;
    label->SetSkinDataName(MessageLabelSkinDataName);
    label->SetAutoSize(true);
    label->SetCaption(text);
    label->SetLeft(kLabelLeft);
    label->SetTop(kLabelTop);
    label->SetParent(form.get());
    label->SetSkinData(ctrlSkinData_);
    form->Message = label;
    // A long text wraps at its spaces rather than making the box wider than most of the screen.
    const int wrapWidth = rt::WorkArea().Width() * 5 / 8 - kLabelLeft - 40;
    if (wrapWidth > 0 && label->Width() > wrapWidth) {
        label->SetWordWrap(true);
        label->SetWidth(wrapWidth);
        label->AdjustBounds();
    }
    const int labelRight = label->Left() + label->Width();

    if (type != mtCustom) {
        auto* image = new rt::TImage(form.get());
        image->SetName("Image");
        image->Transparent = true;
        image->SetPicture(MsgDlgPicture(type));
        image->SetBounds(5, std::max(10, label->Top() + label->Height() / 2 - 16), 32, 32);
        image->SetParent(form.get());
        form->Image = image;
    }

    int clientWidth = std::max(labelRight, rowWidth) + 40;
    const int clientHeight = buttonHeight + label->Height() + 50;
    form->SetClientSize(clientWidth, clientHeight);
    const rt::TPoint minSize = frame->MinTrackSize();
    const rt::TPoint maxSize = frame->MaxTrackSize();
    if (maxSize.X > 0 && maxSize.X < form->Width())
        form->SetBounds(form->Left(), form->Top(), maxSize.X, form->Height());
    else if (form->Width() < minSize.X)
        form->SetBounds(form->Left(), form->Top(), minSize.X, form->Height());
    clientWidth = form->ClientWidth();

    const int defaultIndex = defaultButton >= 0 && Has(buttons, defaultButton)
                                 ? defaultButton
                                 : MsgDlgDefaultButton(buttons);
    const int cancelIndex = MsgDlgCancelButton(buttons);
    int x = (clientWidth - rowWidth) / 2;
    const int top = clientHeight - buttonHeight - 10;
    for (int b = 0; b < kMsgDlgButtonCount; ++b) {
        if (!Has(buttons, b)) continue;
        const TskMsgDlgButtonInfo& info = MsgDlgButtonTable()[std::size_t(b)];
        auto* button = new TskSkinButton(form.get());
        button->SetName(info.name);
        button->SetCaption(info.caption);
        button->ModalResult = info.modalResult;
        button->SetCanFocused(true);
        button->SetDefaultHeight(buttonHeight);
        button->SetDefaultFont(defaultButtonFont_);
        button->SetUseSkinFont(UseSkinFont);
        button->SetSkinDataName(ButtonSkinDataName);
        button->SetParent(form.get());
        button->SetDefault(b == defaultIndex);
        button->Cancel = b == cancelIndex;
        button->SetBounds(x, top, kButtonWidth, buttonHeight);
        button->SetSkinData(ctrlSkinData_);
        if (b == mbHelp) {
            TskMessageForm* owner = form.get();
            button->OnClick = [this, owner](rt::TComponent*) {
                if (OnHelp) OnHelp(owner->HelpContext);
            };
        }
        if (b == defaultIndex) form->DefaultButton = button;
        if (b == cancelIndex) form->CancelButton = button;
        form->Buttons.push_back(button);
        x += kButtonWidth + kButtonGap;
    }
    return form;
}

int TskSkinMessage::ShowMessageBox(const std::string& text, int dlgType, TskMsgDlgButtons buttons,
                                   int helpContext, int defaultButton) {
    std::unique_ptr<TskMessageForm> form = CreateMessageForm(text, dlgType, buttons, defaultButton);
    form->HelpContext = helpContext;
    return RunModal(*form);
}

int TskSkinMessage::ShowApplicationMessage(const std::string& text, const std::string& caption,
                                           int flags) {
    TskMsgDlgType type = mtCustom;
    switch (flags & 0xF0) {
        case rt::MB_ICONWARNING:
            type = mtWarning;
            break;
        case rt::MB_ICONERROR:
            type = mtError;
            break;
        case rt::MB_ICONINFORMATION:
            type = mtInformation;
            break;
        case rt::MB_ICONQUESTION:
            type = mtConfirmation;
            break;
        default:
            break;
    }
    TskMsgDlgButtons set = MsgDlgSet(mbOK);
    int second = -1;
    switch (flags & 0x0F) {
        case rt::MB_OKCANCEL:
            set = MsgDlgSet(mbOK) | MsgDlgSet(mbCancel);
            second = mbCancel;
            break;
        case rt::MB_YESNO:
            set = MsgDlgSet(mbYes) | MsgDlgSet(mbNo);
            second = mbNo;
            break;
        default:
            break;
    }
    const int defaultButton = (flags & rt::MB_DEFBUTTON2) != 0 ? second : -1;
    std::unique_ptr<TskMessageForm> form =
        CreateMessageForm(text, type, set, defaultButton, caption);
    return RunModal(*form);
}

void TskSkinMessage::InstallAsApplicationMessageBox() {
    rt::TApplication* app = rt::Application();
    if (app == nullptr) return;
    app->ProgramMessageBox = [this](const std::string& text, const std::string& caption,
                                    int flags) {
        return ShowApplicationMessage(text, caption, flags);
    };
    installedBox = this;
    installed_ = true;
}

void TskSkinMessage::UninstallApplicationMessageBox() {
    if (!installed_) return;
    installed_ = false;
    if (installedBox != this) return;
    installedBox = nullptr;
    if (rt::TApplication* app = rt::Application()) app->ProgramMessageBox = nullptr;
}

}  // namespace sk
