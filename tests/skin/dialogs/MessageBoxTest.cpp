#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Application.h"
#include "runtime/ExtCtrls.h"
#include "runtime/Screen.h"
#include "runtime/testing/TestInput.h"
#include "skin/controls/FlatSkin.h"
#include "skin/controls/skSkinButton.h"
#include "skin/controls/skSkinPanels.h"
#include "skin/data/skSkinData.h"
#include "skin/dialogs/skMessages.h"
#include "skin/form/skSkinForm.h"

namespace {

namespace ti = rt::testing;
using sk::MsgDlgSet;
using sk::TskMessageForm;
using sk::TskSkinMessage;

// A skin with nothing but a push button 21 pixels high.
std::unique_ptr<sk::TskStoredSkin> ButtonSkin() {
    rt::TBitmap picture(40, 30);
    flatskin::Fill(picture, rt::Rect(0, 0, 40, 30), flatskin::kGreen);
    return flatskin::StoredSkin({picture}, {"[VERSION]",
                                            "ver=1",
                                            "skinname=Message box test skin",
                                            "[PICTURES]",
                                            "activepicturescount=1",
                                            "[FORMINFO]",
                                            "lefttoppoint=0,0",
                                            "[SKINOBJECTS]",
                                            "count=0",
                                            "[SKINCONTROLS]",
                                            "count=1",
                                            "0=button:button",
                                            "[button]",
                                            "pictureindex=0",
                                            "skinrect=0,0,30,21",
                                            "lefttoppoint=3,3",
                                            "righttoppoint=27,3",
                                            "leftbottompoint=3,18",
                                            "rightbottompoint=27,18",
                                            "clientrect=3,3,27,18"});
}

std::vector<std::string> Names(const TskMessageForm& box) {
    std::vector<std::string> names;
    for (sk::TskSkinButton* b : box.Buttons) names.push_back(b->Name());
    return names;
}

constexpr const char* kNoDisk = "There is no disk in Drive or Drive is not ready";

TEST(SkinMessage, SingleOkWarningIsDefaultCancelAndCentredUnderTheText) {
    TskSkinMessage message(nullptr);
    auto box = message.CreateMessageForm(kNoDisk, sk::mtWarning, MsgDlgSet(sk::mbOK));
    EXPECT_EQ(box->Caption(), "Warning");
    ASSERT_NE(box->Image, nullptr);
    const rt::TBitmap exclamation = sk::MsgDlgPicture(sk::mtWarning);
    ASSERT_EQ(box->Image->Picture().Width(), 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(box->Image->Picture().ScanLine(y)[x], exclamation.ScanLine(y)[x]);
    EXPECT_EQ(box->Image->Left(), 5);
    EXPECT_EQ(box->Image->Top(), std::max(10, 15 + box->Message->Height() / 2 - 16));

    ASSERT_EQ(Names(*box), std::vector<std::string>{"OK"});
    sk::TskSkinButton* ok = box->Buttons[0];
    EXPECT_TRUE(ok->Default());
    EXPECT_TRUE(ok->Cancel);
    EXPECT_EQ(ok->ModalResult, rt::mrOk);
    EXPECT_EQ(box->Message->Caption(), kNoDisk);
    EXPECT_EQ(box->Message->Left(), 50);
    EXPECT_EQ(box->Message->Top(), 15);
    const int labelRight = box->Message->Left() + box->Message->Width();
    EXPECT_GT(labelRight, 200) << "the label is sized to the text";
    EXPECT_EQ(box->ClientWidth(), labelRight + 40);
    EXPECT_EQ(box->ClientHeight(), 25 + box->Message->Height() + 50);
    EXPECT_EQ(ok->BoundsRect(),
              rt::Bounds((box->ClientWidth() - 60) / 2, box->ClientHeight() - 25 - 10, 60, 25));
}

TEST(SkinMessage, ButtonHeightComesFromTheSkinsButton) {
    TskSkinMessage message(nullptr);
    auto plain = message.CreateMessageForm(kNoDisk, sk::mtError, MsgDlgSet(sk::mbOK));
    EXPECT_EQ(plain->Buttons[0]->Height(), 25);

    sk::TskSkinData data(nullptr);
    auto skin = ButtonSkin();
    data.LoadStoredSkin(skin.get());
    ASSERT_FALSE(data.Empty());
    message.SetCtrlSkinData(&data);
    auto skinned = message.CreateMessageForm(kNoDisk, sk::mtError, MsgDlgSet(sk::mbOK));
    EXPECT_EQ(skinned->Buttons[0]->Height(), 21);
    EXPECT_EQ(skinned->ClientHeight(), plain->ClientHeight() - 4);
    EXPECT_EQ(skinned->Buttons[0]->Top(), skinned->ClientHeight() - 21 - 10);

    // A cleared skin and a skin that goes away both give the default height back.
    data.ClearSkin();
    EXPECT_EQ(message.ButtonHeight(), 25);
    data.LoadStoredSkin(skin.get());
    message.ButtonSkinDataName = "nosuchbutton";
    EXPECT_EQ(message.ButtonHeight(), 25);
    message.ButtonSkinDataName = "button";
    {
        sk::TskSkinData gone(nullptr);
        gone.LoadStoredSkin(skin.get());
        message.SetCtrlSkinData(&gone);
        EXPECT_EQ(message.ButtonHeight(), 21);
    }
    EXPECT_EQ(message.CtrlSkinData(), nullptr);
    EXPECT_EQ(message.ButtonHeight(), 25);
}

TEST(SkinMessage, EmptySetHasNoButtonAndTheTextSetsTheWidth) {
    TskSkinMessage message(nullptr);
    auto box = message.CreateMessageForm("Short", sk::mtCustom, 0);
    EXPECT_TRUE(box->Buttons.empty());
    EXPECT_EQ(box->Image, nullptr) << "a custom box has no picture";
    EXPECT_EQ(box->Caption(), rt::Application()->Title);
    EXPECT_EQ(box->ClientWidth(), box->Message->Left() + box->Message->Width() + 40);
}

TEST(SkinMessage, LongTextWrapsAtSpacesWithinTheScreen) {
    TskSkinMessage message(nullptr);
    std::string text = "The cut could not be written.\n";
    for (int i = 0; i < 40; ++i) text += "word" + std::to_string(i) + " ";
    auto box = message.CreateMessageForm(text, sk::mtError, MsgDlgSet(sk::mbOK));
    const int wrapWidth = rt::WorkArea().Width() * 5 / 8 - 90;
    EXPECT_LE(box->Message->Width(), wrapWidth);
    EXPECT_GT(box->Message->Width(), wrapWidth / 2);
    auto oneLine = message.CreateMessageForm("word", sk::mtError, MsgDlgSet(sk::mbOK));
    EXPECT_GE(box->Message->Height(), 4 * oneLine->Message->Height());
    EXPECT_EQ(box->ClientWidth(), box->Message->Left() + box->Message->Width() + 40);
    EXPECT_EQ(box->ClientHeight(), 25 + box->Message->Height() + 50);
}

TEST(SkinMessage, ButtonsLieInBitOrderWithTheirResultsAndRoles) {
    struct Case {
        sk::TskMsgDlgButtons set;
        int defaultButton;  // asked for; -1 keeps the rule
        std::vector<std::string> names;
        const char* isDefault;
        const char* isCancel;
    };
    const sk::TskMsgDlgButtons all = 0x7FF;
    const Case cases[] = {
        {MsgDlgSet(sk::mbOK) | MsgDlgSet(sk::mbCancel), -1, {"OK", "Cancel"}, "OK", "Cancel"},
        {MsgDlgSet(sk::mbYes) | MsgDlgSet(sk::mbNo), -1, {"Yes", "No"}, "Yes", "No"},
        {MsgDlgSet(sk::mbYes) | MsgDlgSet(sk::mbNo), sk::mbNo, {"Yes", "No"}, "No", "No"},
        {MsgDlgSet(sk::mbAbort) | MsgDlgSet(sk::mbRetry) | MsgDlgSet(sk::mbIgnore),
         -1,
         {"Abort", "Retry", "Ignore"},
         "Retry",
         ""},
        {MsgDlgSet(sk::mbHelp) | MsgDlgSet(sk::mbYesToAll), -1, {"YesToAll", "Help"}, "", ""},
        {MsgDlgSet(sk::mbOK), sk::mbCancel, {"OK"}, "OK", "OK"},
        {all,
         -1,
         {"Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore", "All", "NoToAll", "YesToAll",
          "Help"},
         "OK",
         "Cancel"},
    };
    TskSkinMessage message(nullptr);
    for (const Case& c : cases) {
        auto box = message.CreateMessageForm("Text", sk::mtConfirmation, c.set, c.defaultButton);
        ASSERT_EQ(Names(*box), c.names);
        const int n = int(c.names.size());
        int x = (box->ClientWidth() - (70 * n - 10)) / 2;
        for (sk::TskSkinButton* b : box->Buttons) {
            const auto& info = sk::MsgDlgButtonTable();
            const auto it = std::find_if(info.begin(), info.end(),
                                         [&](const auto& i) { return b->Name() == i.name; });
            EXPECT_EQ(b->Caption(), it->caption);
            EXPECT_EQ(b->ModalResult, it->modalResult);
            EXPECT_EQ(b->Left(), x) << b->Name();
            EXPECT_EQ(b->Width(), 60);
            EXPECT_EQ(b->Default(), b->Name() == c.isDefault) << b->Name();
            EXPECT_EQ(b->Cancel, b->Name() == c.isCancel) << b->Name();
            x += 70;
        }
    }
    auto seven = message.CreateMessageForm("Text", sk::mtInformation, 0x7F);
    EXPECT_EQ(seven->ClientWidth(), 7 * 60 + 6 * 10 + 40) << "the row is wider than the text";
    auto wide = message.CreateMessageForm(std::string(400, 'W'), sk::mtInformation, all);
    EXPECT_EQ(wide->Width(), wide->SkinForm->MaxTrackSize().X) << "no wider than the screen";
}

// Shows a box and answers it from inside its modal loop once it is the active window.
int Answer(const std::function<int()>& show, const std::function<void(TskMessageForm&)>& answer) {
    rt::TTimer timer(nullptr);
    timer.SetInterval(10);
    bool answered = false;
    timer.OnTimer = [&](rt::TComponent*) {
        auto* box = dynamic_cast<TskMessageForm*>(ti::ActiveWindow());
        if (box == nullptr || ti::FocusControl() == nullptr) return;
        timer.SetEnabled(false);
        answered = true;
        answer(*box);
    };
    const int result = show();
    EXPECT_TRUE(answered);
    return result;
}

rt::TPoint Centre(rt::TControl* c) { return c->ClientToScreen({c->Width() / 2, c->Height() / 2}); }

TEST(SkinMessage, KeysAndClicksAnswerWithTheButtonsResult) {
    rt::TForm owner(nullptr);
    owner.SetBounds(50, 50, 400, 300);
    owner.Show();
    ASSERT_TRUE(ti::WaitFor([&] { return owner.Active(); }));
    TskSkinMessage message(nullptr);
    const auto yesNo = MsgDlgSet(sk::mbYes) | MsgDlgSet(sk::mbNo);
    const auto okCancel = MsgDlgSet(sk::mbOK) | MsgDlgSet(sk::mbCancel);
    const auto ari = MsgDlgSet(sk::mbAbort) | MsgDlgSet(sk::mbRetry) | MsgDlgSet(sk::mbIgnore);
    auto key = [](int vk) { return [vk](TskMessageForm&) { ti::KeyClick(vk); }; };
    auto click = [](const char* name) {
        return [name](TskMessageForm& box) {
            sk::TskSkinButton* b = box.FindButton(name);
            ASSERT_NE(b, nullptr) << name;
            ti::MouseClick(Centre(b));
        };
    };
    struct Case {
        const char* name;
        sk::TskMsgDlgButtons set;
        int defaultButton;
        std::function<void(TskMessageForm&)> answer;
        int result;
    };
    const Case cases[] = {
        {"Enter on OK/Cancel", okCancel, -1, key(rt::VK_RETURN), rt::mrOk},
        {"Esc on OK/Cancel", okCancel, -1, key(rt::VK_ESCAPE), rt::mrCancel},
        {"Enter on Yes/No", yesNo, -1, key(rt::VK_RETURN), rt::mrYes},
        {"Esc on Yes/No", yesNo, -1, key(rt::VK_ESCAPE), rt::mrNo},
        {"Enter with No asked as default", yesNo, sk::mbNo, key(rt::VK_RETURN), rt::mrNo},
        {"Enter on Abort/Retry/Ignore", ari, -1, key(rt::VK_RETURN), sk::mrRetry},
        {"click on Ignore", ari, -1, click("Ignore"), sk::mrIgnore},
        {"click on No", yesNo, -1, click("No"), rt::mrNo},
        {"Esc on OK alone", MsgDlgSet(sk::mbOK), -1, key(rt::VK_ESCAPE), rt::mrOk},
        {"closing Yes/No", yesNo, -1,
         [](TskMessageForm& box) { box.Perform(rt::WM_SYSCOMMAND, rt::SC_CLOSE, 0); }, rt::mrNo},
    };
    for (const Case& c : cases) {
        const int r = Answer(
            [&] {
                return message.ShowMessageBox("Question?", sk::mtConfirmation, c.set, 0,
                                              c.defaultButton);
            },
            c.answer);
        EXPECT_EQ(r, c.result) << c.name;
    }
    // Help answers nothing: the box stays until another button closes it.
    int helped = -1;
    message.OnHelp = [&](int context) { helped = context; };
    const int r = Answer(
        [&] {
            return message.ShowMessageBox("Help?", sk::mtInformation,
                                          MsgDlgSet(sk::mbOK) | MsgDlgSet(sk::mbHelp), 7);
        },
        [&](TskMessageForm& box) {
            ti::MouseClick(Centre(box.FindButton("Help")));
            EXPECT_TRUE(box.Visible());
            ti::MouseClick(Centre(box.FindButton("OK")));
        });
    EXPECT_EQ(helped, 7);
    EXPECT_EQ(r, rt::mrOk);
    EXPECT_TRUE(ti::WaitFor([&] { return owner.Active(); })) << "the owner is active again";
}

TEST(SkinMessage, AnswersTheApplicationsMessageBoxesWhileInstalled) {
    rt::TApplication& app = *rt::Application();
    std::string seenCaption;
    std::vector<std::string> seenButtons;
    auto record = [&](TskMessageForm& box) {
        seenCaption = box.Caption();
        seenButtons = Names(box);
        ti::KeyClick(rt::VK_RETURN);
    };
    {
        TskSkinMessage message(nullptr);
        message.InstallAsApplicationMessageBox();
        struct Case {
            int flags;
            const char* caption;
            std::vector<std::string> buttons;
            int result;
        };
        const Case cases[] = {
            {rt::MB_OK | rt::MB_ICONERROR, "Error", {"OK"}, rt::mrOk},
            {rt::MB_OKCANCEL | rt::MB_ICONWARNING, "Warning", {"OK", "Cancel"}, rt::mrOk},
            {rt::MB_YESNO | rt::MB_ICONQUESTION, "Confirm", {"Yes", "No"}, rt::mrYes},
            {rt::MB_YESNO | rt::MB_ICONQUESTION | rt::MB_DEFBUTTON2,
             "Confirm",
             {"Yes", "No"},
             rt::mrNo},
            {rt::MB_OK | rt::MB_ICONINFORMATION, "Information", {"OK"}, rt::mrOk},
            {rt::MB_OK, "Given caption", {"OK"}, rt::mrOk},
        };
        for (const Case& c : cases) {
            const int r =
                Answer([&] { return app.MessageBox("Text", "Given caption", c.flags); }, record);
            EXPECT_EQ(r, c.result) << c.caption;
            EXPECT_EQ(seenCaption, c.caption);
            EXPECT_EQ(seenButtons, c.buttons) << c.caption;
        }
        // A test's handler still takes precedence.
        int handled = 0;
        app.MessageBoxHandler = [&](const std::string&, const std::string&, int) {
            ++handled;
            return int(rt::mrCancel);
        };
        EXPECT_EQ(app.MessageBox("Text", "Caption", rt::MB_OK), rt::mrCancel);
        EXPECT_EQ(handled, 1);
        app.MessageBoxHandler = nullptr;
    }
    EXPECT_FALSE(app.ProgramMessageBox) << "a destroyed box leaves the application";
}

}  // namespace
