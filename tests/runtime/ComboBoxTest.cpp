#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Application.h"
#include "runtime/ComboBox.h"
#include "runtime/Screen.h"
#include "runtime/testing/TestInput.h"

namespace {

namespace ti = rt::testing;

void Type(int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QKeyEvent press(QEvent::KeyPress, qtKey, mods, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, mods, text);
    QApplication::sendEvent(target, &release);
}

TEST(DropDownRect, BelowTheBoxUnlessThatPassesTheBottomEdge) {
    const rt::TRect area = rt::Rect(0, 0, 800, 600);
    struct Case {
        const char* name;
        rt::TRect box;
        int width, height;
        rt::TRect expected;
    };
    const Case cases[] = {
        {"room below", rt::Bounds(100, 100, 150, 21), 150, 130, rt::Bounds(100, 121, 150, 130)},
        {"at the bottom edge", rt::Bounds(100, 560, 150, 21), 150, 130,
         rt::Bounds(100, 430, 150, 130)},
        {"fits exactly below", rt::Bounds(100, 449, 150, 21), 150, 130,
         rt::Bounds(100, 470, 150, 130)},
        {"less room above than below stays below", rt::Bounds(100, 40, 150, 21), 150, 700,
         rt::Bounds(100, 61, 150, 700)},
        {"kept inside at the right edge", rt::Bounds(700, 100, 150, 21), 200, 50,
         rt::Bounds(600, 121, 200, 50)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rt::DropDownRect(c.box, c.width, c.height, area), c.expected) << c.name;
}

class ComboBox : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<rt::TForm>(nullptr);
        form_->SetBounds(60, 60, 300, 200);
        combo_ = new rt::TComboBox(form_.get());
        combo_->SetParent(form_.get());
        combo_->SetBounds(10, 10, 150, 21);
        combo_->SetItems({"apple", "banana", "Blueberry", "cherry", "date", "elder", "fig", "grape",
                          "hazel", "kiwi"});
        combo_->DropDownCount = 4;
        combo_->OnChange = [this](rt::TComponent*) { changes_.push_back(combo_->ItemIndex()); };
        form_->Show();
        rt::Application()->ProcessMessages();
        combo_->SetFocus();
        ASSERT_TRUE(combo_->Focused());
    }
    std::unique_ptr<rt::TForm> form_;
    rt::TComboBox* combo_ = nullptr;
    std::vector<int> changes_;
};

TEST_F(ComboBox, KeysChooseItemsAndRunOnChangeOnlyOnAChange) {
    struct Step {
        const char* name;
        int key;
        Qt::KeyboardModifiers mods;
        QString text;
        int index;
    };
    const Step steps[] = {
        {"Down from none", Qt::Key_Down, Qt::NoModifier, {}, 0},
        {"Up at the first stays", Qt::Key_Up, Qt::NoModifier, {}, 0},
        {"End", Qt::Key_End, Qt::NoModifier, {}, 9},
        {"Right at the last stays", Qt::Key_Right, Qt::NoModifier, {}, 9},
        {"Page Up", Qt::Key_PageUp, Qt::NoModifier, {}, 6},
        {"Home", Qt::Key_Home, Qt::NoModifier, {}, 0},
        {"b: the next item with b", Qt::Key_B, Qt::NoModifier, "b", 1},
        {"b again steps on, ignoring case", Qt::Key_B, Qt::NoModifier, "b", 2},
        {"b again wraps", Qt::Key_B, Qt::NoModifier, "b", 1},
        {"a character no item starts with", Qt::Key_Z, Qt::NoModifier, "z", 1},
    };
    for (const Step& s : steps) {
        Type(s.key, s.mods, s.text);
        EXPECT_EQ(combo_->ItemIndex(), s.index) << s.name;
    }
    EXPECT_EQ(changes_, (std::vector<int>{0, 9, 6, 0, 1, 2, 1}));
    EXPECT_FALSE(combo_->DroppedDown());
}

TEST_F(ComboBox, TheOpenListMovesItsHighlightUntilEnterTakesItOrEscDropsIt) {
    combo_->SetItemIndex(1);
    Type(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(combo_->DroppedDown());
    EXPECT_EQ(combo_->ListHighlight(), 1);
    Type(Qt::Key_Down);
    Type(Qt::Key_Down);
    EXPECT_EQ(combo_->ListHighlight(), 3);
    EXPECT_EQ(combo_->ItemIndex(), 1) << "nothing is chosen while the list is open";
    Type(Qt::Key_Escape, Qt::NoModifier, "\x1b");
    EXPECT_FALSE(combo_->DroppedDown());
    EXPECT_EQ(combo_->ItemIndex(), 1);
    EXPECT_TRUE(changes_.empty());

    Type(Qt::Key_F4);
    ASSERT_TRUE(combo_->DroppedDown());
    // Past the last visible item the list scrolls.
    Type(Qt::Key_End);
    EXPECT_EQ(combo_->ListHighlight(), 9);
    EXPECT_EQ(combo_->TopIndex(), 6);
    Type(Qt::Key_H, Qt::NoModifier, "h");
    EXPECT_EQ(combo_->ListHighlight(), 8);
    Type(Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_FALSE(combo_->DroppedDown());
    EXPECT_EQ(combo_->ItemIndex(), 8);
    EXPECT_EQ(changes_, (std::vector<int>{8}));
}

TEST_F(ComboBox, MouseOpensChoosesAndAClickElsewhereCloses) {
    const rt::TPoint box = combo_->ClientToScreen({0, 0});
    ti::MouseClick({box.X + 140, box.Y + 10});
    ASSERT_TRUE(combo_->DroppedDown());
    rt::TComboListWindow* list = combo_->ListWindow();
    EXPECT_EQ(list->Top(), box.Y + 21);
    EXPECT_EQ(list->Height(), 4 * combo_->ItemHeight() + 2);
    const rt::TPoint third = list->ClientToScreen({20, 1 + 2 * combo_->ItemHeight() + 3});
    ti::MouseMove(third);
    EXPECT_EQ(combo_->ListHighlight(), 2);
    ti::MouseClick(third);
    EXPECT_FALSE(combo_->DroppedDown());
    EXPECT_EQ(combo_->ItemIndex(), 2);

    ti::MouseClick({box.X + 140, box.Y + 10});
    ASSERT_TRUE(combo_->DroppedDown());
    ti::MouseClick({box.X + 200, box.Y + 120});
    EXPECT_FALSE(combo_->DroppedDown());
    EXPECT_EQ(combo_->ItemIndex(), 2);
    EXPECT_EQ(changes_, (std::vector<int>{2}));
}

TEST_F(ComboBox, TheListOpensAboveABoxAtTheScreensBottomEdge) {
    const rt::TRect work = rt::WorkArea().IsEmpty() ? rt::ScreenRect() : rt::WorkArea();
    const rt::TPoint client = form_->ClientToScreen({0, 0});
    // The box's bottom edge 5 pixels above the screen's.
    const int dy = work.Bottom - 5 - (client.Y + 31);
    form_->SetBounds(form_->Left(), form_->Top() + dy, form_->Width(), form_->Height());
    rt::Application()->ProcessMessages();
    const rt::TPoint box = combo_->ClientToScreen({0, 0});
    ASSERT_EQ(box.Y + 21, work.Bottom - 5);
    Type(Qt::Key_F4);
    ASSERT_TRUE(combo_->DroppedDown());
    EXPECT_EQ(combo_->ListWindow()->Top() + combo_->ListWindow()->Height(), box.Y);
    Type(Qt::Key_F4);
    EXPECT_FALSE(combo_->DroppedDown());
}

}  // namespace
