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
