#include <gtest/gtest.h>

#include <memory>

#include "runtime/Application.h"
#include "runtime/KeyRouting.h"
#include "skin/controls/DialogControlsSkin.h"
#include "skin/controls/skSkinButton.h"

using namespace dialogskin;

namespace {

// A text field as the dialog keys see it: it takes the focus and typed characters.
class TestEdit : public rt::TCustomControl {
public:
    explicit TestEdit(rt::TComponent* owner) : rt::TCustomControl(owner) {
        SetBounds(0, 0, 80, 20);
    }
    void WndProc(rt::TMessage& m) override {
        if (m.Msg == rt::WM_GETDLGCODE) {
            m.Result = rt::DLGC_WANTCHARS;
            return;
        }
        if (m.Msg == rt::WM_CHAR) text += char(m.WParam);
        rt::TCustomControl::WndProc(m);
    }
    std::string text;

protected:
    bool WantsFocus() const override { return true; }
};

class Buttons : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<rt::TForm>(nullptr);
        form_->SetClientSize(400, 200);
        data_ = new sk::TskSkinData(form_.get());
        stored_ = MakeStoredSkin();
        data_->LoadStoredSkin(stored_.get());
        // Focus needs an active window; the window system activates a shown one shortly after.
        form_->Show();
        rt::Application()->ProcessMessages();
        ASSERT_TRUE(form_->Active());
    }
    sk::TskSkinButton* Button(const std::string& caption, int* clicks, bool skinned = false) {
        auto* b = new sk::TskSkinButton(form_.get());
        b->SetCaption(caption);
        b->SetBounds(10 + 80 * count_++, 100, 75, 25);
        b->SetParent(form_.get());
        if (skinned) b->SetSkinData(data_);
        if (clicks != nullptr) b->OnClick = [clicks](rt::TComponent*) { ++*clicks; };
        return b;
    }
    TestEdit* Edit() {
        auto* e = new TestEdit(form_.get());
        e->SetParent(form_.get());
        return e;
    }
    static void Key(rt::TControl* focused, int vk, rt::TShiftState shift = 0, char32_t ch = 0) {
        rt::DeliverKeyDown(*focused, vk, shift, ch);
    }
    static void Fire(rt::TTimer* t) {
        ASSERT_NE(t, nullptr);
        t->OnTimer(t);
    }

    std::unique_ptr<rt::TForm> form_;
    sk::TskSkinData* data_ = nullptr;
    std::unique_ptr<sk::TskStoredSkin> stored_;
    int count_ = 0;
};

TEST_F(Buttons, EnterAndEscapeReachTheDefaultAndCancelButtons) {
    int ok = 0, cancel = 0, other = 0;
    TestEdit* edit = Edit();
    auto* okButton = Button("OK", &ok);
    auto* cancelButton = Button("Cancel", &cancel);
    auto* otherButton = Button("Other", &other);
    okButton->SetDefault(true);
    cancelButton->Cancel = true;
    edit->SetFocus();
    ASSERT_TRUE(edit->Focused());
    EXPECT_TRUE(okButton->DefaultActive());
    EXPECT_TRUE(okButton->MouseInside()) << "the default button looks hot beside a text field";

    Key(edit, rt::VK_RETURN);
    EXPECT_EQ(ok, 1);
    Key(edit, rt::VK_ESCAPE);
    EXPECT_EQ(cancel, 1);
    for (rt::TShiftState held : {rt::ssShift, rt::ssCtrl, rt::ssAlt}) {
        Key(edit, rt::VK_ESCAPE, held);
        EXPECT_EQ(cancel, 1) << "Escape with a modifier held " << held;
    }

    // With the focus on another button, Enter clicks that one and the default stops looking hot.
    otherButton->SetFocus();
    EXPECT_FALSE(okButton->DefaultActive());
    EXPECT_FALSE(okButton->MouseInside());
    Key(otherButton, rt::VK_RETURN);
    EXPECT_EQ(other, 1);
    EXPECT_EQ(ok, 1);

    // A disabled default button does not answer.
    edit->SetFocus();
    okButton->SetEnabled(false);
    Key(edit, rt::VK_RETURN);
    EXPECT_EQ(ok, 1);
    EXPECT_EQ(edit->text, "") << "Enter is no character for the text field";
}

TEST_F(Buttons, ClickSetsTheModalResultOfTheForm) {
    auto* ok = Button("OK", nullptr);
    ok->ModalResult = rt::mrOk;
    // The modal loop runs until a click inside it sets the result.
    rt::TTimer clicker(nullptr);
    clicker.SetInterval(1);
    clicker.OnTimer = [&](rt::TComponent*) {
        clicker.SetEnabled(false);
        Press(ok, 5, 5);
        Release(ok, 5, 5);
        // Should the click go astray, end the loop instead of waiting for ever.
        if (form_->ModalResult == rt::mrNone) form_->Close();
    };
    EXPECT_EQ(form_->ShowModal(), rt::mrOk);
    EXPECT_FALSE(form_->Visible());

    auto* none = Button("None", nullptr);
    form_->ModalResult = rt::mrCancel;
    none->Click();
    EXPECT_EQ(form_->ModalResult, rt::mrNone);

    auto* toggle = Button("Toggle", nullptr);
    toggle->ModalResult = rt::mrYes;
    toggle->SetGroupIndex(1);
    EXPECT_FALSE(toggle->CanFocused());
    toggle->Click();
    EXPECT_EQ(form_->ModalResult, rt::mrNone) << "a group button is no dialog button";
}

TEST_F(Buttons, AcceleratorFocusesAndClicks) {
    int ok = 0, amp = 0;
    TestEdit* edit = Edit();
    auto* okButton = Button("&OK", &ok);
    Button("Save && &quit", &amp);
    edit->SetFocus();

    Key(edit, 'O', rt::ssAlt, U'o');
    EXPECT_EQ(ok, 1);
    EXPECT_TRUE(okButton->Focused());

    // A plain letter in a dialog: only while the focused control takes no text.
    Key(okButton, 'Q', 0, U'q');
    EXPECT_EQ(amp, 1) << "\"&&\" is a plain ampersand; the accelerator is the q";
    edit->SetFocus();
    Key(edit, 'O', 0, U'o');
    EXPECT_EQ(ok, 1);
    EXPECT_EQ(edit->text, "o");
    Key(edit, 'S', rt::ssAlt, U's');
    EXPECT_EQ(amp, 1) << "s is not marked";
}

TEST_F(Buttons, SpaceBarPressesAndClicksOnRelease) {
    int clicks = 0;
    auto* b = Button("Go", &clicks, true);
    b->SetFocus();
    ASSERT_TRUE(b->IsFocusedButton());
    Key(b, rt::VK_SPACE);
    EXPECT_TRUE(b->ShownDown());
    rt::TBitmap down = b->PaintToBitmap();
    EXPECT_EQ(PixelAt(down, 37, 5), kOrange) << "the down image while the space bar is held";
    Key(b, rt::VK_SPACE);  // the keyboard's own repeat
    EXPECT_EQ(clicks, 0);
    rt::DeliverKeyUp(*b, rt::VK_SPACE, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(b->Down());

    b->RepeatMode = true;
    Key(b, rt::VK_SPACE);
    Key(b, rt::VK_SPACE);
    rt::DeliverKeyUp(*b, rt::VK_SPACE, 0);
    EXPECT_EQ(clicks, 4) << "with RepeatMode every key-down clicks, and the release once more";

    // A stray release without a press on this button does nothing.
    rt::DeliverKeyUp(*b, rt::VK_SPACE, 0);
    EXPECT_EQ(clicks, 4);
}

TEST_F(Buttons, GroupButtonsTakeNoFocusAndToggle) {
    int a = 0, b = 0;
    auto* first = Button("A", &a);
    auto* second = Button("B", &b);
    auto* cancel = Button("C", nullptr);
    for (auto* g : {first, second}) g->SetGroupIndex(3);
    cancel->SetGroupIndex(4);
    cancel->Cancel = true;

    Press(first, 5, 5);
    EXPECT_EQ(a, 1) << "a group button clicks on the press";
    EXPECT_FALSE(first->Focused());
    Release(first, 5, 5);
    EXPECT_EQ(a, 1);
    EXPECT_TRUE(first->Down());

    Press(second, 5, 5);
    Release(second, 5, 5);
    EXPECT_TRUE(second->Down());
    EXPECT_FALSE(first->Down()) << "going down releases the other member";

    // Pressing a down member again does nothing without AllowAllUp.
    Press(second, 5, 5);
    Release(second, 5, 5);
    EXPECT_TRUE(second->Down());
    EXPECT_EQ(b, 1);
    for (auto* g : {first, second}) g->AllowAllUp = true;
    Press(second, 5, 5);
    Release(second, 5, 5);
    EXPECT_FALSE(second->Down());
    EXPECT_EQ(b, 2);
    first->SetDown(true);
    second->SetDown(true);
    EXPECT_TRUE(first->Down()) << "AllowAllUp keeps the others down";

    int escapes = 0;
    cancel->OnClick = [&](rt::TComponent*) { ++escapes; };
    Key(form_.get(), rt::VK_ESCAPE);
    Key(cancel, rt::VK_SPACE);
    rt::DeliverKeyUp(*cancel, rt::VK_SPACE, 0);
    EXPECT_EQ(escapes, 0) << "neither Escape nor the space bar reach a group button";
    EXPECT_FALSE(cancel->Down());
}

TEST_F(Buttons, MouseClickNeedsTheReleaseInside) {
    int clicks = 0;
    auto* b = Button("Go", &clicks, true);
    Press(b, 10, 10);
    EXPECT_TRUE(b->Focused()) << "a press takes the focus";
    EXPECT_TRUE(b->ShownDown());
    Move(b, 200, 10);
    EXPECT_FALSE(b->MouseInside());
    EXPECT_FALSE(b->ShownDown()) << "the pressed look goes with the pointer";
    Release(b, 200, 10);
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(b->Down());

    Press(b, 10, 10);
    Move(b, 200, 10);
    Move(b, 20, 10);
    EXPECT_TRUE(b->ShownDown());
    Release(b, 20, 10);
    EXPECT_EQ(clicks, 1) << "one click, not a second from the generic release handling";
}

TEST_F(Buttons, RepeatModeClicksWhileHeld) {
    int clicks = 0;
    auto* b = Button("Go", &clicks);
    b->RepeatMode = true;
    b->RepeatInterval = 100;
    Press(b, 5, 5);
    ASSERT_NE(b->RepeatTimer(), nullptr);
    EXPECT_EQ(b->RepeatTimer()->Interval(), 100);
    EXPECT_EQ(clicks, 0) << "the first repeat comes one period after the press";
    for (int i = 0; i < 3; ++i) Fire(b->RepeatTimer());
    EXPECT_EQ(clicks, 3);
    Move(b, 300, 5);
    EXPECT_EQ(b->RepeatTimer(), nullptr) << "off the button the repeat stops";
    Move(b, 5, 5);
    EXPECT_NE(b->RepeatTimer(), nullptr);
    Release(b, 5, 5);
    EXPECT_EQ(clicks, 4) << "one more click on the release inside";
    EXPECT_EQ(b->RepeatTimer(), nullptr);
}

TEST_F(Buttons, StatesByPixels) {
    auto* b = Button("", nullptr, true);
    ASSERT_NE(b->SkinIndex(), -1);
    const rt::TRect inside = rt::Rect(3, 3, 72, 22);
    rt::TBitmap idle = b->PaintToBitmap();
    EXPECT_EQ(PixelAt(idle, 0, 0), kNavy);
    EXPECT_EQ(Count(idle, inside, kGreen), inside.Width() * inside.Height());
    b->Perform(rt::CM_MOUSEENTER, 0, 0);
    rt::TBitmap hot = b->PaintToBitmap();
    EXPECT_EQ(Count(hot, inside, kYellow), inside.Width() * inside.Height());
    Press(b, 5, 5);
    rt::TBitmap down = b->PaintToBitmap();
    EXPECT_EQ(Count(down, inside, kOrange), inside.Width() * inside.Height());
    Release(b, 5, 5);
    b->Perform(rt::CM_MOUSELEAVE, 0, 0);
    b->SetEnabled(false);
    rt::TBitmap disabled = b->PaintToBitmap();
    EXPECT_EQ(Count(disabled, inside, kGray), inside.Width() * inside.Height());

    // The caption takes the state's font colour.
    b->SetEnabled(true);
    form_->SetFocus();
    b->SetCaption("WWW");
    rt::TBitmap text = b->PaintToBitmap();
    EXPECT_GT(Count(text, inside, kBlack), 10);
    EXPECT_EQ(Count(text, inside, kRed), 0);
    b->Perform(rt::CM_MOUSEENTER, 0, 0);
    text = b->PaintToBitmap();
    EXPECT_GT(Count(text, inside, kRed), 10);
    EXPECT_EQ(Count(text, inside, kBlack), 0);
}

TEST_F(Buttons, DefaultLookUsesTheOnePalette) {
    auto* b = Button("", nullptr);
    const rt::TColor shadow = rt::ColorToRGB(rt::clBtnShadow);
    const rt::TColor face = rt::ColorToRGB(rt::clBtnFace);
    struct Look {
        const char* state;
        rt::TColor frame, fill;
    };
    rt::TBitmap bmp = b->PaintToBitmap();
    Look idle{"idle", shadow, face};
    b->Perform(rt::CM_MOUSEENTER, 0, 0);
    rt::TBitmap hotBmp = b->PaintToBitmap();
    Look hot{"hot", rt::kDefaultFrame, rt::kDefaultHot};
    Press(b, 5, 5);
    rt::TBitmap downBmp = b->PaintToBitmap();
    Look down{"down", rt::kDefaultFrame, rt::kDefaultPressed};
    const std::pair<rt::TBitmap*, Look> looks[] = {{&bmp, idle}, {&hotBmp, hot}, {&downBmp, down}};
    for (const auto& [image, look] : looks) {
        EXPECT_EQ(PixelAt(*image, 0, 0), look.frame) << look.state;
        EXPECT_EQ(PixelAt(*image, 74, 24), look.frame) << look.state;
        EXPECT_EQ(PixelAt(*image, 37, 12), look.fill) << look.state;
    }
}

TEST_F(Buttons, CrossFadeStepsTowardsTheHotImage) {
    auto* b = Button("", nullptr, true);
    b->SetSkinDataName("mbutton");
    ASSERT_TRUE(b->ButtonSkin().Morphing);
    b->Perform(rt::CM_MOUSEENTER, 0, 0);
    ASSERT_NE(b->MorphTicker(), nullptr);
    EXPECT_EQ(b->MorphTicker()->Interval(), 20);
    for (int i = 1; i <= 10; ++i) {
        Fire(b->MorphTicker());
        EXPECT_DOUBLE_EQ(b->MorphFactor(), i / 10.0);
        if (i == 5) {
            // Halfway: green (0,255,0) and yellow (255,255,0) blended half and half.
            rt::TBitmap mid = b->PaintToBitmap();
            EXPECT_EQ(PixelAt(mid, 37, 12), rt::RGB(128, 255, 0));
        }
    }
    ASSERT_NE(b->MorphTicker(), nullptr);
    Fire(b->MorphTicker());
    EXPECT_EQ(b->MorphTicker(), nullptr) << "the tick after the last step stops the ticker";
    rt::TBitmap hot = b->PaintToBitmap();
    EXPECT_EQ(PixelAt(hot, 37, 12), kYellow);

    b->Perform(rt::CM_MOUSELEAVE, 0, 0);
    Fire(b->MorphTicker());
    EXPECT_DOUBLE_EQ(b->MorphFactor(), 0.9);
}

}  // namespace
