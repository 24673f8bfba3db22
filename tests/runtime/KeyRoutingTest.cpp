#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <memory>
#include <vector>

#include "runtime/Application.h"
#include "runtime/KeyRouting.h"

namespace {

// Records what reaches it; answers dialog keys and characters when told to.
class Recorder : public rt::TCustomControl {
public:
    explicit Recorder(rt::TComponent* owner, int dialogCode = 0)
        : rt::TCustomControl(owner), dialogCode_(dialogCode) {
        SetBounds(0, 0, 50, 20);
    }
    void WndProc(rt::TMessage& m) override {
        switch (m.Msg) {
            case rt::WM_GETDLGCODE:
                m.Result = dialogCode_;
                return;
            case rt::CM_DIALOGKEY:
                log.push_back("dialogkey " + std::to_string(m.WParam));
                if (m.WParam == answerKey) m.Result = 1;
                return;
            case rt::CM_DIALOGCHAR:
                log.push_back("dialogchar " + std::string(1, char(m.WParam)) +
                              ((m.LParam & rt::ssAlt) != 0 ? " alt" : ""));
                return;
            case rt::CM_FOCUSCHANGED:
                focusedTo = reinterpret_cast<rt::TWinControl*>(m.LParam);
                return;
            case rt::WM_KEYDOWN:
                log.push_back("keydown " + std::to_string(m.WParam));
                return;
            case rt::WM_KEYUP:
                log.push_back("keyup " + std::to_string(m.WParam));
                return;
            case rt::WM_CHAR:
                log.push_back("char " + std::string(1, char(m.WParam)));
                return;
            default:
                rt::TCustomControl::WndProc(m);
        }
    }
    std::vector<std::string> log;
    std::intptr_t answerKey = -1;
    rt::TWinControl* focusedTo = nullptr;

private:
    int dialogCode_;
};

class KeyRouting : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<rt::TForm>(nullptr);
        form_->SetBounds(0, 0, 300, 200);
        field_ = new Recorder(form_.get(), rt::DLGC_WANTCHARS);
        field_->SetParent(form_.get());
        button_ = new Recorder(form_.get());
        button_->SetParent(form_.get());
        form_->Show();
        rt::Application()->ProcessMessages();
        ASSERT_TRUE(form_->Active());
    }
    // A key as the window system delivers it, to the widget with the focus.
    static void Type(int qtKey, Qt::KeyboardModifiers mods, const QString& text,
                     bool repeat = false) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QKeyEvent press(QEvent::KeyPress, qtKey, mods, text, repeat);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, qtKey, mods, text, repeat);
        QApplication::sendEvent(target, &release);
    }

    std::unique_ptr<rt::TForm> form_;
    Recorder* field_ = nullptr;
    Recorder* button_ = nullptr;
};

TEST_F(KeyRouting, DialogKeysGoToTheFormsControlsFirst) {
    field_->SetFocus();
    ASSERT_EQ(form_->ActiveControl(), field_);
    EXPECT_EQ(button_->focusedTo, field_) << "every control hears where the focus went";

    Type(Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(field_->log, (std::vector<std::string>{"dialogkey 13", "keydown 13", "keyup 13"}));
    EXPECT_EQ(button_->log, (std::vector<std::string>{"dialogkey 13"}));

    // A control that answers ends the round: the focused control never sees the key.
    field_->log.clear();
    button_->log.clear();
    button_->answerKey = rt::VK_ESCAPE;
    Type(Qt::Key_Escape, Qt::NoModifier, "\x1b");
    EXPECT_EQ(field_->log, (std::vector<std::string>{"dialogkey 27", "keyup 27"}));

    // Other keys go to the focused control alone.
    field_->log.clear();
    Type(Qt::Key_Left, Qt::NoModifier, "");
    EXPECT_EQ(field_->log, (std::vector<std::string>{"keydown 37", "keyup 37"}));
}

TEST_F(KeyRouting, CharactersAreAcceleratorsUnlessTheFocusedControlTakesText) {
    field_->SetFocus();
    Type(Qt::Key_A, Qt::NoModifier, "a");
    EXPECT_EQ(field_->log, (std::vector<std::string>{"keydown 65", "char a", "keyup 65"}));
    EXPECT_TRUE(button_->log.empty());

    Type(Qt::Key_A, Qt::AltModifier, "");
    EXPECT_EQ(button_->log, (std::vector<std::string>{"dialogchar a alt"}));

    button_->log.clear();
    button_->SetFocus();
    Type(Qt::Key_B, Qt::NoModifier, "b");
    EXPECT_EQ(button_->log,
              (std::vector<std::string>{"keydown 66", "char b", "dialogchar b", "keyup 66"}));
    EXPECT_EQ(field_->log.back(), "dialogchar b");

    // Ctrl + letter is a shortcut, never an accelerator.
    field_->log.clear();
    Type(Qt::Key_C, Qt::ControlModifier, "\x03");
    EXPECT_EQ(field_->log, std::vector<std::string>{});
}

TEST_F(KeyRouting, HeldKeyRepeatsPressesButReleasesOnce) {
    button_->SetFocus();
    QWidget* target = QApplication::focusWidget();
    for (int i = 0; i < 3; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", i > 0);
        QApplication::sendEvent(target, &press);
        if (i < 2) {
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ", true);
            QApplication::sendEvent(target, &release);
        }
    }
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ", false);
    QApplication::sendEvent(target, &release);
    int downs = 0, ups = 0;
    for (const std::string& e : button_->log) {
        downs += e == "keydown 32";
        ups += e == "keyup 32";
    }
    EXPECT_EQ(downs, 3);
    EXPECT_EQ(ups, 1);
}

TEST(Accelerators, CharacterAfterASingleAmpersand) {
    const struct {
        char32_t ch;
        const char* caption;
        bool accel;
    } cases[] = {
        {U'o', "&OK", true},
        {U'O', "&ok", true},
        {U'k', "&OK", false},
        {U'q', "Save && &quit", true},
        {U's', "Save && quit", false},
        {U'&', "a &&b", false},
        {U'x', "trailing &", false},
        {U'\u00e9', "caf&\u00e9", true},
        {U'a', "", false},
    };
    for (const auto& c : cases) EXPECT_EQ(rt::IsAccel(c.ch, c.caption), c.accel) << c.caption;
}

TEST(CanFocus, NeedsEveryParentVisibleAndEnabled) {
    rt::TForm form(nullptr);
    auto* panel = new rt::TCustomControl(&form);
    panel->SetParent(&form);
    auto* inner = new rt::TCustomControl(&form);
    inner->SetParent(panel);
    EXPECT_TRUE(inner->CanFocus()) << "the form itself may still be hidden";
    panel->SetEnabled(false);
    EXPECT_FALSE(inner->CanFocus());
    panel->SetEnabled(true);
    panel->Hide();
    EXPECT_FALSE(inner->CanFocus());
    auto* orphan = new rt::TCustomControl(&form);
    EXPECT_FALSE(orphan->CanFocus()) << "not on a form";
}

}  // namespace
