#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Application.h"
#include "runtime/EditCtrls.h"
#include "runtime/testing/TestInput.h"

namespace {

class Stop : public rt::TCustomControl {
public:
    explicit Stop(rt::TComponent* owner) : rt::TCustomControl(owner) {
        TabStop = true;
        SetBounds(0, 0, 40, 20);
    }
};

class FocusTraversal : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<rt::TForm>(nullptr);
        form_->SetBounds(50, 50, 400, 300);
        form_->Show();
        rt::Application()->ProcessMessages();
    }
    template <class T>
    T* Add(const std::string& name, rt::TWinControl* parent = nullptr) {
        auto* c = new T(form_.get());
        c->SetName(name);
        c->SetParent(parent != nullptr ? parent : form_.get());
        return c;
    }
    // Presses Tab (or Shift+Tab) count times and names the focused control after each press.
    std::vector<std::string> Walk(int count, bool back = false) {
        std::vector<std::string> seen;
        for (int i = 0; i < count; ++i) {
            QWidget* target = QApplication::focusWidget();
            if (target == nullptr) target = QApplication::activeWindow();
            const int key = back ? Qt::Key_Backtab : Qt::Key_Tab;
            const auto mods = back ? Qt::ShiftModifier : Qt::NoModifier;
            QKeyEvent press(QEvent::KeyPress, key, mods, "\t");
            QApplication::sendEvent(target, &press);
            QKeyEvent release(QEvent::KeyRelease, key, mods, "\t");
            QApplication::sendEvent(target, &release);
            rt::TWinControl* f = form_->ActiveControl();
            seen.push_back(f != nullptr ? f->Name() : "-");
        }
        return seen;
    }
    std::unique_ptr<rt::TForm> form_;
};

TEST_F(FocusTraversal, TabVisitsStopsInTabOrderSkippingHiddenDisabledAndNonStops) {
    auto* a = Add<Stop>("a");
    auto* hidden = Add<Stop>("hidden");
    auto* panel = Add<Stop>("panel");
    panel->TabStop = false;
    panel->SetBounds(0, 100, 200, 100);
    auto* inner = Add<Stop>("inner", panel);
    auto* disabled = Add<Stop>("disabled");
    auto* edit = Add<rt::TEdit>("edit");
    auto* b = Add<Stop>("b");
    hidden->Hide();
    disabled->SetEnabled(false);
    (void)inner;
    (void)edit;
    // b moves to the front of the order.
    b->SetTabOrder(0);
    EXPECT_EQ(b->TabOrder(), 0);
    EXPECT_EQ(a->TabOrder(), 1);

    a->SetFocus();
    EXPECT_EQ(Walk(5), (std::vector<std::string>{"inner", "edit", "b", "a", "inner"}));
    EXPECT_EQ(Walk(3, true), (std::vector<std::string>{"a", "b", "edit"}));

    // A hidden parent hides its children from the walk; a shown control joins it again.
    panel->Hide();
    hidden->Show();
    a->SetFocus();
    EXPECT_EQ(Walk(3), (std::vector<std::string>{"hidden", "edit", "b"}));
}

TEST_F(FocusTraversal, TabOrderClampsAndFollowsRemoval) {
    auto* a = Add<Stop>("a");
    auto* b = Add<Stop>("b");
    auto* c = Add<Stop>("c");
    a->SetTabOrder(99);
    EXPECT_EQ(a->TabOrder(), 2);
    c->SetTabOrder(-5);
    EXPECT_EQ(c->TabOrder(), 0);
    EXPECT_EQ(b->TabOrder(), 1);
    b->SetParent(nullptr);
    EXPECT_EQ(b->TabOrder(), -1);
    EXPECT_EQ(a->TabOrder(), 1);
    delete b;
    EXPECT_EQ(form_->FindNextControl(c, true), a);
    EXPECT_EQ(form_->FindNextControl(a, true), c) << "wraps";
    EXPECT_EQ(form_->FindNextControl(nullptr, false), a) << "from nowhere backwards: the last";
}

TEST_F(FocusTraversal, NoStopLeavesTheFocusAlone) {
    auto* only = Add<Stop>("only");
    only->TabStop = false;
    EXPECT_EQ(form_->FindNextControl(nullptr, true), nullptr);
    auto* one = Add<Stop>("one");
    one->SetFocus();
    EXPECT_EQ(Walk(2), (std::vector<std::string>{"one", "one"}));
}

}  // namespace
