#include <gtest/gtest.h>

#include "runtime/Menus.h"

TEST(MenuItem, RadioItemsOfAGroupExcludeEachOther) {
    rt::TMainMenu menu(nullptr);
    auto* a = new rt::TMenuItem(&menu);
    auto* b = new rt::TMenuItem(&menu);
    for (auto* m : {a, b}) {
        m->RadioItem = true;
        menu.Items()->Add(m);
    }
    a->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    int clicks = 0;
    a->OnClick = [&](rt::TComponent*) { ++clicks; };
    a->Enabled = false;
    a->Click();
    EXPECT_EQ(clicks, 0);
}

TEST(MenuItem, ShortCutTextAndTheMenuItBelongsTo) {
    EXPECT_EQ(rt::ShortCutToText(rt::ShortCut('O', rt::ssCtrl)), "Ctrl+O");
    EXPECT_EQ(rt::ShortCutToText(rt::ShortCut(rt::VK_F4, rt::ssAlt)), "Alt+F4");
    EXPECT_EQ(rt::ShortCutToText(rt::ShortCut(rt::VK_DELETE, rt::ssShift | rt::ssCtrl)),
              "Shift+Ctrl+Del");
    EXPECT_EQ(rt::ShortCutToText(0), "");

    rt::TPopupMenu menu(nullptr);
    auto* file = new rt::TMenuItem(&menu);
    auto* open = new rt::TMenuItem(&menu);
    menu.Items()->Add(file);
    file->Add(open);
    EXPECT_EQ(open->GetParentMenu(), &menu);
    file->Remove(open);
    EXPECT_EQ(open->GetParentMenu(), nullptr);
}
