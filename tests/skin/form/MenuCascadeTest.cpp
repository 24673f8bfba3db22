#include <gtest/gtest.h>

#include "skin/form/MenuTestUtil.h"

using namespace menutest;

namespace {

const rt::TRect kScreen = rt::Rect(0, 0, 1024, 768);

class Cascade : public ::testing::Test {
protected:
    void SetUp() override {
        newItem_ = menu_.Add("&New");
        open_ = menu_.Add("&Open");
        menu_.Add("-");
        recent_ = menu_.Add("&Recent");
        first_ = menu_.Add("&First", recent_);
        second_ = menu_.Add("&Second", recent_);
        second_->Enabled = false;
        third_ = menu_.Add("&Third", recent_);
        exit_ = menu_.Add("E&xit");
        for (rt::TMenuItem* item : {newItem_, open_, recent_, first_, second_, third_, exit_})
            item->OnClick = [this](rt::TComponent* sender) {
                clicked_.push_back(static_cast<rt::TMenuItem*>(sender));
            };
        host_.cascade = &cascade_;
    }
    sk::TskSkinPopupView& Open(sk::TskSkinData* data = nullptr) {
        EXPECT_TRUE(
            cascade_.Popup(data, false, menu_.Root(), rt::Rect(10, 10, 60, 30), 0, kScreen));
        return cascade_.Popups(0);
    }
    // Moves the cursor to the middle of item `item` of popup `index`.
    void Hover(int index, int item) {
        const rt::TRect& r = cascade_.Popups(index).Items(item).ObjectRect;
        cascade_.MouseMove(index, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    void Release(int index, int item) {
        const rt::TRect& r = cascade_.Popups(index).Items(item).ObjectRect;
        cascade_.MouseUp(index, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    int Active(int index) { return cascade_.Popups(index).ActiveItem(); }

    TestMenu menu_;
    rt::TMenuItem *newItem_, *open_, *recent_, *first_, *second_, *third_, *exit_;
    std::vector<rt::TMenuItem*> clicked_;
    FakeHost host_;
    sk::TskMenuCascade cascade_{host_};
};

TEST_F(Cascade, KeyboardWalkWrapsAroundSkipsDividersAndNeverOpensByArrowing) {
    Open();
    EXPECT_EQ(host_.shown, 1);
    EXPECT_EQ(Active(0), 0);  // the first enabled item is highlighted
    cascade_.KeyDown(rt::VK_DOWN);
    EXPECT_EQ(Active(0), 1);
    cascade_.KeyDown(rt::VK_DOWN);
    EXPECT_EQ(Active(0), 3);  // over the divider onto "Recent"
    host_.Advance(2000);
    EXPECT_EQ(cascade_.PopupCount(), 1);
    EXPECT_EQ(cascade_.PendingItem(), nullptr);
    cascade_.KeyDown(rt::VK_DOWN);
    EXPECT_EQ(Active(0), 4);
    cascade_.KeyDown(rt::VK_DOWN);
    EXPECT_EQ(Active(0), 0);
    cascade_.KeyDown(rt::VK_UP);
    EXPECT_EQ(Active(0), 4);
    // Left with one popup and Right on a command are the menu bar's to handle.
    EXPECT_FALSE(cascade_.KeyDown(rt::VK_RIGHT));
    EXPECT_FALSE(cascade_.KeyDown(rt::VK_LEFT));
    EXPECT_FALSE(cascade_.ActiveItemHasSubItems());

    cascade_.KeyDown(rt::VK_UP);
    EXPECT_TRUE(cascade_.ActiveItemHasSubItems());
    EXPECT_TRUE(cascade_.KeyDown(rt::VK_RIGHT));
    ASSERT_EQ(cascade_.PopupCount(), 2);
    EXPECT_TRUE(cascade_.Popups(0).Items(3).Down);
    EXPECT_EQ(Active(1), 0);
    cascade_.KeyDown(rt::VK_DOWN);
    EXPECT_EQ(Active(1), 1);  // a disabled item can be walked onto
    cascade_.KeyDown(rt::VK_DOWN);
    cascade_.KeyDown(rt::VK_DOWN);
    EXPECT_EQ(Active(1), 0);
    EXPECT_TRUE(cascade_.KeyDown(rt::VK_LEFT));
    EXPECT_EQ(cascade_.PopupCount(), 1);
    EXPECT_FALSE(cascade_.Popups(0).Items(3).Down);
    EXPECT_EQ(Active(0), 3);

    cascade_.KeyDown(rt::VK_RETURN);
    EXPECT_EQ(cascade_.PopupCount(), 2);
    cascade_.KeyDown(rt::VK_ESCAPE);
    EXPECT_EQ(cascade_.PopupCount(), 1);
    EXPECT_FALSE(cascade_.Popups(0).Items(3).Down);
    EXPECT_EQ(host_.cascadeClosed, 0);
    cascade_.KeyDown(rt::VK_ESCAPE);
    EXPECT_EQ(cascade_.PopupCount(), 0);
    EXPECT_FALSE(cascade_.MenuVisible());
    EXPECT_EQ(host_.cascadeClosed, 1);
    EXPECT_EQ(host_.allClosed, 0);
    EXPECT_EQ(host_.closing, 3);
    // Opening "Recent" ran its own command each time; no command ran otherwise.
    EXPECT_EQ(clicked_, (std::vector<rt::TMenuItem*>{recent_, recent_}));
}

TEST_F(Cascade, AcceleratorsClickTheirItems) {
    Open();
    EXPECT_FALSE(cascade_.KeyDown('Q'));
    EXPECT_TRUE(cascade_.KeyDown('X'));
    EXPECT_EQ(clicked_, std::vector<rt::TMenuItem*>{exit_});
    EXPECT_EQ(cascade_.PopupCount(), 0);
    EXPECT_EQ(host_.allClosed, 1);

    clicked_.clear();
    Open();
    cascade_.KeyDown('R');
    ASSERT_EQ(cascade_.PopupCount(), 2);
    // A disabled item's accelerator highlights it and does nothing else.
    cascade_.KeyDown('S');
    EXPECT_EQ(Active(1), 1);
    EXPECT_EQ(cascade_.PopupCount(), 2);
    cascade_.KeyDown('T');
    EXPECT_EQ(clicked_, (std::vector<rt::TMenuItem*>{recent_, third_}));
    EXPECT_EQ(cascade_.PopupCount(), 0);
    EXPECT_EQ(host_.commands.back(), third_);
}

TEST_F(Cascade, HoveredSubMenuOpensAfterHalfASecondBesideItsItem) {
    Open();
    Hover(0, 3);
    EXPECT_EQ(cascade_.PendingItem(), &cascade_.Popups(0).Items(3));
    host_.Advance(490);
    EXPECT_EQ(cascade_.PopupCount(), 1);
    host_.Advance(10);
    ASSERT_EQ(cascade_.PopupCount(), 2);
    EXPECT_EQ(cascade_.PendingItem(), nullptr);
    EXPECT_FALSE(host_.Running(sk::mtOpen));
    const rt::TRect item = cascade_.Popups(0).ItemScreenRect(3);
    sk::TskSkinPopupView& sub = cascade_.Popups(1);
    EXPECT_EQ(sub.ShowX, item.Right + 1);
    EXPECT_EQ(sub.ShownTop, item.Top - sub.SizedItemsBox().Top);
    EXPECT_EQ(Active(1), 0);

    // Into the sub-menu and back over its own item: it stays open.
    Hover(1, 2);
    EXPECT_EQ(Active(1), 2);
    Hover(0, 3);
    EXPECT_EQ(cascade_.PopupCount(), 2);
    EXPECT_TRUE(cascade_.Popups(0).Items(3).Down);
    // Another item of the parent closes it.
    Hover(0, 1);
    EXPECT_EQ(cascade_.PopupCount(), 1);
    EXPECT_FALSE(cascade_.Popups(0).Items(3).Down);
    EXPECT_EQ(Active(0), 1);
    EXPECT_TRUE(clicked_ == std::vector<rt::TMenuItem*>{recent_});
}

TEST_F(Cascade, LeavingTheItemCancelsTheDelayAndAClickSkipsIt) {
    Open();
    Hover(0, 3);
    host_.Advance(300);
    Hover(0, 1);
    EXPECT_EQ(cascade_.PendingItem(), nullptr);
    EXPECT_FALSE(host_.Running(sk::mtOpen));
    host_.Advance(1000);
    EXPECT_EQ(cascade_.PopupCount(), 1);

    // Onto the divider: the item under the cursor is no longer "Recent", so nothing opens.
    Hover(0, 3);
    const rt::TRect& line = cascade_.Popups(0).Items(2).ObjectRect;
    cascade_.MouseMove(0, line.Left + 5, line.Top + 1);
    EXPECT_EQ(cascade_.Popups(0).HotItem, 2);
    EXPECT_EQ(Active(0), -1);
    host_.Advance(1000);
    EXPECT_EQ(cascade_.PopupCount(), 1);

    // A click opens at once.
    Hover(0, 3);
    Release(0, 3);
    EXPECT_EQ(cascade_.PopupCount(), 2);
    EXPECT_FALSE(host_.Running(sk::mtOpen));
    // A click on a command closes everything and runs it.
    Hover(1, 0);
    Release(1, 0);
    EXPECT_EQ(cascade_.PopupCount(), 0);
    EXPECT_EQ(host_.allClosed, 1);
    EXPECT_EQ(clicked_.back(), first_);
    // A release over a disabled item does nothing.
    Open();
    Hover(0, 3);
    Release(0, 3);
    Hover(1, 1);
    Release(1, 1);
    EXPECT_EQ(cascade_.PopupCount(), 2);
}

TEST_F(Cascade, TheFirstEnabledItemOfEveryPopupIsHighlighted) {
    newItem_->Enabled = false;
    first_->Enabled = false;
    Open();
    EXPECT_EQ(Active(0), 1);
    cascade_.KeyDown('R');
    EXPECT_EQ(Active(1), 2);  // "First" and "Second" are disabled
}

TEST_F(Cascade, ReplacingTheCascadeClosesTheOldOneFirst) {
    Open();
    cascade_.KeyDown('R');
    EXPECT_EQ(host_.cascadeClosed, 0);
    Open();
    EXPECT_EQ(host_.cascadeClosed, 1);
    EXPECT_EQ(host_.closing, 2);
    EXPECT_EQ(cascade_.PopupCount(), 1);
    // An item without visible sub-items opens nothing and leaves the cascade closed.
    EXPECT_FALSE(cascade_.Popup(nullptr, false, exit_, rt::Rect(0, 0, 0, 0), 0, kScreen));
    EXPECT_FALSE(cascade_.MenuVisible());
    EXPECT_EQ(host_.cascadeClosed, 2);
    for (rt::TMenuItem* item : {first_, second_, third_}) item->Visible = false;
    EXPECT_FALSE(cascade_.Popup(nullptr, false, recent_, rt::Rect(0, 0, 0, 0), 0, kScreen));
    EXPECT_EQ(host_.shown, 3);
}

TEST_F(Cascade, AParentItemWhoseCommandClosesTheMenusOpensNothing) {
    recent_->OnClick = [this](rt::TComponent*) { cascade_.CloseAll(); };
    Open();
    cascade_.KeyDown(rt::VK_DOWN);
    cascade_.KeyDown(rt::VK_DOWN);
    cascade_.KeyDown(rt::VK_RIGHT);
    EXPECT_EQ(cascade_.PopupCount(), 0);
    EXPECT_EQ(host_.allClosed, 1);
}

TEST_F(Cascade, SkinnedItemsCrossFadeInTenSteps) {
    auto stored = MakeStoredSkin({.morphing = true});
    sk::TskSkinData data(nullptr);
    data.LoadStoredSkin(stored.get());
    sk::TskSkinPopupView& v = Open(&data);
    ASSERT_TRUE(v.Morphs());
    EXPECT_TRUE(host_.Running(sk::mtMorph, &v));
    EXPECT_EQ(v.Items(0).MorphLevel, 0);
    host_.Advance(20);
    EXPECT_DOUBLE_EQ(v.Items(0).MorphLevel, 0.1);
    host_.Advance(200);
    EXPECT_DOUBLE_EQ(v.Items(0).MorphLevel, 1.0);
    EXPECT_FALSE(host_.Running(sk::mtMorph, &v));

    cascade_.KeyDown(rt::VK_DOWN);
    EXPECT_TRUE(host_.Running(sk::mtMorph, &v));
    host_.Advance(100);
    EXPECT_DOUBLE_EQ(v.Items(0).MorphLevel, 0.5);
    EXPECT_DOUBLE_EQ(v.Items(1).MorphLevel, 0.5);
    rt::TBitmap b = v.PaintToBitmap();
    const rt::TRect r = v.Items(1).ObjectRect;
    const rt::TColor middle = At(b, (r.Left + r.Right) / 2, r.Top);
    EXPECT_NE(middle, kTeal);
    EXPECT_NE(middle, kYellow);
    EXPECT_EQ(middle, rt::RGB(128, 192, 64));  // halfway from teal to yellow, halves to even
    host_.Advance(120);
    EXPECT_DOUBLE_EQ(v.Items(1).MorphLevel, 1.0);
    EXPECT_DOUBLE_EQ(v.Items(0).MorphLevel, 0.0);
    EXPECT_FALSE(host_.Running(sk::mtMorph, &v));
    b = v.PaintToBitmap();
    EXPECT_EQ(At(b, (r.Left + r.Right) / 2, r.Top), kYellow);
    cascade_.CloseAll();
}

}  // namespace
