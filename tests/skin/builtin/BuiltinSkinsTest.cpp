// The three built-in skins as the program ships them: loaded from the main window's containers,
// every object its windows look up must be there with the class its painter needs, and every
// rectangle must lie where its painter will cut or place it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <set>

#include "BuiltinSkins.h"
#include "app/MainFrm.h"
#include "common/TempDir.h"
#include "skin/data/skSkinData.h"
#include "skin/data/skUtils.h"

namespace fs = std::filesystem;

namespace {

// The main window, made once: its three containers are the built-in skins.
app::TMainForm& Window() {
    static testutil::TempDir dir("framora-builtin");
    static std::unique_ptr<app::TMainForm> form =
        std::make_unique<app::TMainForm>(nullptr, dir.path().string() + "/");
    return *form;
}

sk::TskCompressedStoredSkin* Container(const std::string& name) {
    app::TMainForm& f = Window();
    for (const app::TMainForm::TSkinChoice& c : app::TMainForm::SkinChoices())
        if (c.Stored != nullptr && name == c.Name) return f.*c.Stored;
    ADD_FAILURE() << "the main window holds no skin named " << name;
    return nullptr;
}

class BuiltinSkin : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        data_ = std::make_unique<sk::TskSkinData>(nullptr);
        data_->LoadCompressedStoredSkin(Container(GetParam()));
        ASSERT_FALSE(data_->Empty());
    }

    template <class T>
    const T* Control(const std::string& name) const {
        const int i = data_->GetControlIndex(name);
        return i < 0 ? nullptr
                     : dynamic_cast<const T*>(data_->Skin().CtrlList[std::size_t(i)].get());
    }
    template <class T>
    const T* Object(const std::string& name) const {
        const int i = data_->GetIndex(name);
        return i < 0 ? nullptr
                     : dynamic_cast<const T*>(data_->Skin().ObjectList[std::size_t(i)].get());
    }
    const rt::TBitmap* Picture(int index) const {
        if (index < 0 || index >= int(data_->Skin().ActivePictures.size())) return nullptr;
        return data_->Skin().ActivePictures[std::size_t(index)].get();
    }
    // The pixels of r in a picture, row by row.
    static std::vector<std::uint32_t> Pixels(const rt::TBitmap& b, const rt::TRect& r) {
        std::vector<std::uint32_t> out;
        for (int y = r.Top; y < r.Bottom; ++y)
            out.insert(out.end(), b.ScanLine(y) + r.Left, b.ScanLine(y) + r.Right);
        return out;
    }

    std::unique_ptr<sk::TskSkinData> data_;
};

template <class T>
std::pair<std::string, std::function<bool(const sk::TskDataSkinControl*)>> C(const char* name) {
    return {name,
            [](const sk::TskDataSkinControl* c) { return dynamic_cast<const T*>(c) != nullptr; }};
}
template <class T>
std::pair<std::string, std::function<bool(const sk::TskDataSkinObject*)>> O(const char* name) {
    return {name,
            [](const sk::TskDataSkinObject* o) { return dynamic_cast<const T*>(o) != nullptr; }};
}

TEST_P(BuiltinSkin, EveryObjectAWindowLooksUpHasTheClassItsPainterNeeds) {
    using namespace sk;
    const std::vector<std::pair<std::string, std::function<bool(const TskDataSkinControl*)>>>
        controls = {C<TskDataSkinMainMenuBar>("mainmenubar"),
                    C<TskDataSkinButtonControl>("toolbutton"),
                    C<TskDataSkinMenuButtonControl>("toolmenubutton"),
                    C<TskDataSkinTrackBarControl>("htrackbar"),
                    C<TskDataSkinGaugeControl>("gauge"),
                    C<TskDataSkinPanelControl>("panel"),
                    C<TskDataSkinPanelControl>("groupbox"),
                    C<TskDataSkinPanelControl>("toolpanel"),
                    C<TskDataSkinLabelControl>("label"),
                    C<TskDataSkinStdLabelControl>("stdlabel"),
                    C<TskDataSkinButtonControl>("button"),
                    C<TskDataSkinButtonControl>("resizebutton"),
                    C<TskDataSkinEditControl>("edit"),
                    C<TskDataSkinComboBox>("combobox"),
                    C<TskDataSkinListBox>("listbox"),
                    C<TskDataSkinScrollBarControl>("vscrollbar"),
                    C<TskDataSkinScrollBarControl>("hscrollbar"),
                    C<TskDataSkinScrollBarControl>("bothhscrollbar"),
                    C<TskDataSkinTreeView>("treeview"),
                    C<TskDataSkinListView>("listview"),
                    C<TskDataSkinSplitterControl>("splitter"),
                    C<TskDataSkinSplitterControl>("vsplitter"),
                    C<TskDataSkinBevel>("bevel"),
                    C<TskDataSkinExPanelControl>("expanel"),
                    C<TskDataSkinCheckRadioControl>("checkradio")};
    for (const auto& [name, is] : controls) {
        const int i = data_->GetControlIndex(name);
        ASSERT_GE(i, 0) << name;
        EXPECT_TRUE(is(data_->Skin().CtrlList[std::size_t(i)].get()))
            << name << " has the wrong class";
    }
    const std::vector<std::pair<std::string, std::function<bool(const TskDataSkinObject*)>>>
        objects = {O<TskDataSkinStdButton>("closebutton"),
                   O<TskDataSkinStdButton>("maxbutton"),
                   O<TskDataSkinStdButton>("minbutton"),
                   O<TskDataSkinStdButton>("rollupbutton"),
                   O<TskDataSkinStdButton>("sysmenubutton"),
                   O<TskDataSkinCaption>("caption"),
                   O<TskDataSkinMenuItem>("menuitem"),
                   O<TskDataSkinMainMenuBarItem>("mainmenubaritem")};
    for (const auto& [name, is] : objects) {
        const int i = data_->GetIndex(name);
        ASSERT_GE(i, 0) << name;
        EXPECT_TRUE(is(data_->Skin().ObjectList[std::size_t(i)].get()))
            << name << " has the wrong class";
    }

    // The caption buttons carry the commands the frame runs.
    const std::map<std::string, TskStdCommand> commands = {{"closebutton", cmClose},
                                                           {"maxbutton", cmMaximize},
                                                           {"minbutton", cmMinimize},
                                                           {"rollupbutton", cmRollUp},
                                                           {"sysmenubutton", cmSysMenu}};
    for (const auto& [name, cmd] : commands)
        EXPECT_EQ(Object<TskDataSkinStdButton>(name)->Command, cmd) << name;
    // Objects that name other objects name ones that exist.
    EXPECT_NE(Object<TskDataSkinMainMenuBarItem>(
                  Control<TskDataSkinMainMenuBar>("mainmenubar")->MenuBarItem),
              nullptr);
    EXPECT_NE(Control<TskDataSkinListBox>(Control<TskDataSkinComboBox>("combobox")->ListBoxName),
              nullptr);
    const auto* list = Control<TskDataSkinListBox>("listbox");
    for (const std::string& bar :
         {list->VScrollBarName, list->HScrollBarName, list->BothHScrollBarName})
        EXPECT_NE(Control<TskDataSkinScrollBarControl>(bar), nullptr) << bar;
    // Popup menus and hints are skinned only when their window pictures exist.
    EXPECT_NE(Picture(data_->Skin().PopupWindow.WindowPictureIndex), nullptr);
    EXPECT_NE(Picture(data_->Skin().HintWindow.WindowPictureIndex), nullptr);
}

TEST_P(BuiltinSkin, MorphingIsOnWhereTheHotLookCanFadeIn) {
    for (const char* name : {"closebutton", "minbutton", "rollupbutton", "sysmenubutton",
                             "menuitem", "mainmenubaritem"}) {
        const sk::TskDataSkinObject* o =
            data_->Skin().ObjectList[std::size_t(data_->GetIndex(name))].get();
        EXPECT_TRUE(o->Morphing) << name;
        // Without an active picture and rectangle the frame turns morphing off again.
        EXPECT_NE(Picture(o->ActivePictureIndex), nullptr) << name;
        EXPECT_FALSE(o->ActiveSkinRect.IsEmpty()) << name;
    }
    for (const char* name : {"toolbutton", "toolmenubutton", "button"})
        EXPECT_TRUE(Control<sk::TskDataSkinButtonControl>(name)->Morphing) << name;
}

// Which rectangles are places inside the object rather than areas of a picture, and what they
// are relative to.
const std::map<std::string, std::string>& RelativeKeys() {
    static const std::map<std::string, std::string> keys = {{"clientrect", "skinrect"},
                                                            {"trackarea", "skinrect"},
                                                            {"progressarea", "skinrect"},
                                                            {"captionrect", "skinrect"},
                                                            {"checkimagearea", "skinrect"},
                                                            {"textarea", "skinrect"},
                                                            {"trackbuttonrect", "skinrect"},
                                                            {"itemsrect", "skinrect"},
                                                            {"textrect", "skinrect"},
                                                            {"itemtextrect", "itemrect"},
                                                            {"frametextrect", "framerect"},
                                                            {"rollvcaptionrect", "rollvskinrect"},
                                                            {"rollhcaptionrect", "rollhskinrect"}};
    return keys;
}

bool Inside(const rt::TRect& r, int w, int h) {
    return r.Left >= 0 && r.Top >= 0 && r.Right <= w && r.Bottom <= h;
}

TEST_P(BuiltinSkin, EveryRectangleLiesInsideItsPictureOrItsObject) {
    // placedHere: keys that are places in the object for this class only (a scroll bar's
    // buttons, an edit's or a box's button), while other classes use them for picture areas.
    auto check = [&](const std::string& name, const std::vector<sk::TskKeyInfo>& keys, auto saveTo,
                     const rt::TBitmap* picture, const rt::TBitmap* skinPicture,
                     const std::set<std::string>& placedHere) {
        sk::TskIniFile ini;
        saveTo(ini);
        auto rect = [&](const std::string& key) { return ini.ReadRect(name, key, rt::TRect{}); };
        for (const sk::TskKeyInfo& k : keys) {
            if (k.Form != sk::TskValueForm::Rect) continue;
            const rt::TRect r = rect(k.Key);
            if (r.IsEmpty()) continue;
            auto rel = RelativeKeys().find(k.Key);
            const bool placed = rel != RelativeKeys().end() || placedHere.count(k.Key) > 0;
            if (placed) {
                const rt::TRect base = rect(rel != RelativeKeys().end() ? rel->second : "skinrect");
                EXPECT_TRUE(Inside(r, base.Width(), base.Height()))
                    << name << "." << k.Key << " leaves its object";
            } else {
                const rt::TBitmap* p = k.Key == "skinrect" ? skinPicture : picture;
                ASSERT_NE(p, nullptr) << name << "." << k.Key << " names no picture";
                EXPECT_TRUE(Inside(r, p->Width(), p->Height()))
                    << name << "." << k.Key << " leaves its picture";
            }
        }
    };
    int withPicture = 0;
    for (const auto& c : data_->Skin().CtrlList) {
        const rt::TBitmap* p = Picture(c->PictureIndex);
        if (c->PictureIndex != -1) {
            ASSERT_NE(p, nullptr) << c->IDName << ": picture index out of range";
            ++withPicture;
        }
        if (c->SkinRect.IsEmpty()) continue;
        std::set<std::string> placed;
        if (dynamic_cast<const sk::TskDataSkinEditControl*>(c.get()) ||
            dynamic_cast<const sk::TskDataSkinComboBox*>(c.get()))
            placed = {"buttonrect"};
        if (dynamic_cast<const sk::TskDataSkinScrollBarControl*>(c.get()))
            placed = {"upbuttonrect", "downbuttonrect"};
        check(
            c->IDName, c->Keys(), [&](sk::TskIniFile& ini) { c->SaveToIni(ini); }, p, p, placed);
    }
    EXPECT_GE(withPicture, 20);
    for (const auto& o : data_->Skin().ObjectList) {
        const rt::TBitmap* hot = Picture(o->ActivePictureIndex);
        ASSERT_NE(hot, nullptr) << o->IDName << ": picture index out of range";
        check(o->IDName, o->Keys(), [&](sk::TskIniFile& ini) { o->SaveToIni(ini); }, hot,
              o->SkinRectInAPicture || dynamic_cast<const sk::TskDataSkinMenuItem*>(o.get()) ||
                      dynamic_cast<const sk::TskDataSkinMainMenuItem*>(o.get())
                  ? hot
                  : &data_->Skin().Picture,
              {});
    }
    // The frame geometry stays inside the main picture.
    const int pw = data_->Skin().Picture.Width(), ph = data_->Skin().Picture.Height();
    for (const rt::TRect& r : {data_->FrameClientBox, data_->CaptionBox, data_->MaskRectArea})
        EXPECT_TRUE(Inside(r, pw, ph));
    EXPECT_TRUE(Inside(data_->Skin().PopupWindow.ItemsRect,
                       Picture(data_->Skin().PopupWindow.WindowPictureIndex)->Width(),
                       Picture(data_->Skin().PopupWindow.WindowPictureIndex)->Height()));
    EXPECT_TRUE(Inside(data_->Skin().HintWindow.ClientRect,
                       Picture(data_->Skin().HintWindow.WindowPictureIndex)->Width(),
                       Picture(data_->Skin().HintWindow.WindowPictureIndex)->Height()));
}

TEST_P(BuiltinSkin, StateLooksHaveTheSizeOfTheNormalLook) {
    auto same = [](const rt::TRect& a, const rt::TRect& b) {
        return a.Width() == b.Width() && a.Height() == b.Height();
    };
    for (const char* name : {"toolbutton", "toolmenubutton", "button", "resizebutton"}) {
        const auto* b = Control<sk::TskDataSkinButtonControl>(name);
        for (const rt::TRect& r : {b->ActiveSkinRect, b->DownSkinRect, b->DisabledSkinRect})
            if (!r.IsEmpty()) {
                EXPECT_TRUE(same(r, b->SkinRect)) << name;
            }
    }
    for (const char* name :
         {"closebutton", "maxbutton", "minbutton", "rollupbutton", "sysmenubutton"}) {
        const auto* b = Object<sk::TskDataSkinStdButton>(name);
        for (const rt::TRect& r : {b->ActiveSkinRect, b->DownRect, b->DisableSkinRect,
                                   b->RestoreRect, b->RestoreActiveRect, b->RestoreDownRect})
            if (!r.IsEmpty()) {
                EXPECT_TRUE(same(r, b->SkinRect)) << name;
            }
    }
    const auto* item = Object<sk::TskDataSkinMenuItem>("menuitem");
    EXPECT_TRUE(same(item->ActiveSkinRect, item->SkinRect));
    const auto* bar = Object<sk::TskDataSkinMainMenuBarItem>("mainmenubaritem");
    EXPECT_TRUE(same(bar->ActiveSkinRect, bar->SkinRect));
    EXPECT_TRUE(same(bar->DownRect, bar->SkinRect));
    const auto* track = Control<sk::TskDataSkinTrackBarControl>("htrackbar");
    EXPECT_TRUE(same(track->ActiveButtonRect, track->ButtonRect));
    const auto* edit = Control<sk::TskDataSkinEditControl>("edit");
    EXPECT_TRUE(same(edit->ActiveSkinRect, edit->SkinRect));
    for (const char* name : {"vscrollbar", "hscrollbar", "bothhscrollbar"}) {
        const auto* s = Control<sk::TskDataSkinScrollBarControl>(name);
        EXPECT_TRUE(same(s->ActiveThumbRect, s->ThumbRect)) << name;
        EXPECT_TRUE(same(s->DownThumbRect, s->ThumbRect)) << name;
        EXPECT_TRUE(same(s->ActiveUpButtonRect, s->UpButtonRect)) << name;
        EXPECT_TRUE(same(s->DownUpButtonRect, s->UpButtonRect)) << name;
        EXPECT_TRUE(same(s->ActiveDownButtonRect, s->DownButtonRect)) << name;
        EXPECT_TRUE(same(s->DownDownButtonRect, s->DownButtonRect)) << name;
        EXPECT_TRUE(same(s->ActiveGlyphRect, s->GlyphRect)) << name;
    }
    const auto* box = Control<sk::TskDataSkinComboBox>("combobox");
    for (const rt::TRect& r :
         {box->ActiveButtonRect, box->DownButtonRect, box->UnEnabledButtonRect})
        EXPECT_TRUE(same(r, box->ButtonRect));
    EXPECT_TRUE(same(box->FocusItemRect, box->ItemRect));
    const auto* list = Control<sk::TskDataSkinListBox>("listbox");
    EXPECT_TRUE(same(list->ActiveItemRect, list->ItemRect));
    EXPECT_TRUE(same(list->FocusItemRect, list->ItemRect));
    const auto* check = Control<sk::TskDataSkinCheckRadioControl>("checkradio");
    EXPECT_TRUE(same(check->ActiveSkinRect, check->SkinRect));
    for (const rt::TRect& r :
         {check->UnCheckImageRect, check->ActiveCheckImageRect, check->ActiveUnCheckImageRect,
          check->UnEnabledCheckImageRect, check->UnEnabledUnCheckImageRect})
        EXPECT_TRUE(same(r, check->CheckImageRect));
    const auto* ex = Control<sk::TskDataSkinExPanelControl>("expanel");
    for (const rt::TRect& r : {ex->CloseButtonActiveRect, ex->CloseButtonDownRect})
        EXPECT_TRUE(same(r, ex->CloseButtonRect));
    for (const rt::TRect& r :
         {ex->HRollButtonActiveRect, ex->HRollButtonDownRect, ex->HRestoreButtonRect,
          ex->HRestoreButtonActiveRect, ex->HRestoreButtonDownRect})
        EXPECT_TRUE(same(r, ex->HRollButtonRect));
    const auto* caption = Object<sk::TskDataSkinCaption>("caption");
    if (!caption->FrameRect.IsEmpty()) {
        EXPECT_TRUE(same(caption->ActiveFrameRect, caption->FrameRect));
    }
}

// Stretched objects repeat the middle of their pictures: a middle whose columns (or rows)
// differ shows seams at every repeat.
TEST_P(BuiltinSkin, StretchedMiddlesRepeatWithoutSeams) {
    // Columns l .. r of the rows of `area` in the picture are all alike.
    auto columnsAlike = [](const rt::TBitmap& p, const rt::TRect& area, int l, int r) {
        for (int y = area.Top; y < area.Bottom; ++y)
            for (int x = l + 1; x < r; ++x)
                if (p.ScanLine(y)[x] != p.ScanLine(y)[l]) return false;
        return true;
    };
    auto rowsAlike = [](const rt::TBitmap& p, const rt::TRect& area, int t, int b) {
        for (int y = t + 1; y < b; ++y)
            for (int x = area.Left; x < area.Right; ++x)
                if (p.ScanLine(y)[x] != p.ScanLine(t)[x]) return false;
        return true;
    };
    // Horizontal strips of control objects: every state look of the object.
    for (const auto& c : data_->Skin().CtrlList) {
        const auto* cc = dynamic_cast<const sk::TskDataSkinCustomControl*>(c.get());
        const rt::TBitmap* p = Picture(c->PictureIndex);
        if (cc == nullptr || p == nullptr || c->SkinRect.IsEmpty()) continue;
        std::vector<rt::TRect> looks = {c->SkinRect};
        if (const auto* b = dynamic_cast<const sk::TskDataSkinButtonControl*>(c.get()))
            looks.insert(looks.end(), {b->ActiveSkinRect, b->DownSkinRect, b->DisabledSkinRect});
        if (const auto* e = dynamic_cast<const sk::TskDataSkinEditControl*>(c.get()))
            looks.push_back(e->ActiveSkinRect);
        const bool both = cc->RightBottomPoint.X != 0 && cc->RightBottomPoint.Y != 0;
        const bool horizontal = !both && (cc->RightTopPoint.X != 0 || cc->RightTopPoint.Y != 0);
        const bool vertical = !both && !horizontal && cc->LeftBottomPoint.Y != 0;
        const sk::TskDataSkinCustomControl& g = *cc;
        for (const rt::TRect& r : looks) {
            if (r.IsEmpty()) continue;
            const int x0 = r.Left, y0 = r.Top;
            if (horizontal) {
                EXPECT_TRUE(columnsAlike(*p, r, x0 + g.LeftTopPoint.X, x0 + g.RightTopPoint.X))
                    << c->IDName;
            }
            if (vertical) {
                EXPECT_TRUE(rowsAlike(*p, r, y0 + g.LeftTopPoint.Y, y0 + g.LeftBottomPoint.Y))
                    << c->IDName;
            }
            if (both) {
                const rt::TRect cr = g.ClientRect;
                EXPECT_TRUE(columnsAlike(*p, rt::Rect(x0, y0, r.Right, y0 + cr.Top),
                                         x0 + g.LeftTopPoint.X, x0 + g.RightTopPoint.X))
                    << c->IDName << " top";
                EXPECT_TRUE(columnsAlike(*p, rt::Rect(x0, y0 + cr.Bottom, r.Right, r.Bottom),
                                         x0 + g.LeftBottomPoint.X, x0 + g.RightBottomPoint.X))
                    << c->IDName << " bottom";
                EXPECT_TRUE(rowsAlike(*p, rt::Rect(x0, y0, x0 + cr.Left, r.Bottom),
                                      y0 + g.LeftTopPoint.Y, y0 + g.LeftBottomPoint.Y))
                    << c->IDName << " left";
                EXPECT_TRUE(rowsAlike(*p, rt::Rect(x0 + cr.Right, y0, r.Right, r.Bottom),
                                      y0 + g.RightTopPoint.Y, y0 + g.RightBottomPoint.Y))
                    << c->IDName << " right";
            }
        }
    }
    // A splitter aligned left or right stretches between its top and bottom ends.
    const auto* split = Control<sk::TskDataSkinSplitterControl>("vsplitter");
    const rt::TRect sr = split->SkinRect;
    EXPECT_TRUE(rowsAlike(*Picture(split->PictureIndex), sr, sr.Top + split->LeftTopPoint.Y,
                          sr.Top + split->LeftBottomPoint.Y));
    // Menu items, bar items and the menu bar stretch between their offsets.
    const auto* item = Object<sk::TskDataSkinMenuItem>("menuitem");
    const rt::TBitmap* ip = Picture(item->ActivePictureIndex);
    for (const rt::TRect& r : {item->SkinRect, item->ActiveSkinRect})
        EXPECT_TRUE(
            columnsAlike(*ip, r, r.Left + item->ItemLeftOffset, r.Right - item->ItemRightOffset));
    const rt::TRect dv = item->DividerRect;
    EXPECT_TRUE(columnsAlike(*ip, dv, dv.Left + item->DividerLeftOffset,
                             dv.Right - item->DividerRightOffset));
    const auto* bar = Object<sk::TskDataSkinMainMenuBarItem>("mainmenubaritem");
    const rt::TBitmap* bp = Picture(bar->ActivePictureIndex);
    for (const rt::TRect& r : {bar->SkinRect, bar->ActiveSkinRect, bar->DownRect})
        EXPECT_TRUE(
            columnsAlike(*bp, r, r.Left + bar->ItemLeftOffset, r.Right - bar->ItemRightOffset));
    const auto* menuBar = Control<sk::TskDataSkinMainMenuBar>("mainmenubar");
    const rt::TRect mb = menuBar->SkinRect;
    EXPECT_TRUE(columnsAlike(*Picture(menuBar->PictureIndex), mb, mb.Left + menuBar->ItemsRect.Left,
                             mb.Left + menuBar->ItemsRect.Right));
    // The frame: the top and bottom strips between the corners, the side strips between them.
    const rt::TBitmap& f = data_->Skin().Picture;
    const rt::TRect cb = data_->FrameClientBox;
    EXPECT_TRUE(columnsAlike(f, rt::Rect(0, 0, f.Width(), cb.Top), data_->FrameLeftTop.X,
                             data_->FrameRightTop.X));
    EXPECT_TRUE(columnsAlike(f, rt::Rect(0, cb.Bottom, f.Width(), f.Height()),
                             data_->FrameLeftBottom.X, data_->FrameRightBottom.X));
    EXPECT_TRUE(rowsAlike(f, rt::Rect(0, 0, cb.Left, f.Height()), data_->FrameLeftTop.Y,
                          data_->FrameLeftBottom.Y));
    EXPECT_TRUE(rowsAlike(f, rt::Rect(cb.Right, 0, f.Width(), f.Height()), data_->FrameRightTop.Y,
                          data_->FrameRightBottom.Y));
}

TEST_P(BuiltinSkin, HotAndPressedLooksDifferFromTheNormalLook) {
    auto differ = [&](int picture, const rt::TRect& normal, const rt::TRect& other,
                      const std::string& what) {
        const rt::TBitmap* p = Picture(picture);
        ASSERT_NE(p, nullptr) << what;
        EXPECT_NE(Pixels(*p, normal), Pixels(*p, other)) << what << " looks like its normal state";
    };
    for (const char* name : {"toolbutton", "toolmenubutton", "button", "resizebutton"}) {
        const auto* b = Control<sk::TskDataSkinButtonControl>(name);
        differ(b->PictureIndex, b->SkinRect, b->ActiveSkinRect, std::string(name) + " hot");
        differ(b->PictureIndex, b->SkinRect, b->DownSkinRect, std::string(name) + " down");
        differ(b->PictureIndex, b->ActiveSkinRect, b->DownSkinRect,
               std::string(name) + " hot/down");
    }
    for (const char* name :
         {"closebutton", "maxbutton", "minbutton", "rollupbutton", "sysmenubutton"}) {
        const auto* b = Object<sk::TskDataSkinStdButton>(name);
        differ(b->ActivePictureIndex, b->SkinRect, b->ActiveSkinRect, std::string(name) + " hot");
        differ(b->ActivePictureIndex, b->SkinRect, b->DownRect, std::string(name) + " down");
        differ(b->ActivePictureIndex, b->SkinRect, b->DisableSkinRect,
               std::string(name) + " disabled");
        if (!b->RestoreRect.IsEmpty()) {
            differ(b->ActivePictureIndex, b->SkinRect, b->RestoreRect,
                   std::string(name) + " restore");
            differ(b->ActivePictureIndex, b->RestoreRect, b->RestoreActiveRect,
                   std::string(name) + " restore hot");
        }
    }
    const auto* item = Object<sk::TskDataSkinMenuItem>("menuitem");
    differ(item->ActivePictureIndex, item->SkinRect, item->ActiveSkinRect, "menu item hot");
    const auto* bar = Object<sk::TskDataSkinMainMenuBarItem>("mainmenubaritem");
    differ(bar->ActivePictureIndex, bar->SkinRect, bar->ActiveSkinRect, "bar item hot");
    differ(bar->ActivePictureIndex, bar->SkinRect, bar->DownRect, "bar item down");
    const auto* track = Control<sk::TskDataSkinTrackBarControl>("htrackbar");
    differ(track->PictureIndex, track->ButtonRect, track->ActiveButtonRect, "track bar thumb");
    const auto* edit = Control<sk::TskDataSkinEditControl>("edit");
    differ(edit->PictureIndex, edit->SkinRect, edit->ActiveSkinRect, "edit focused");
    for (const char* name : {"vscrollbar", "hscrollbar"}) {
        const auto* s = Control<sk::TskDataSkinScrollBarControl>(name);
        // The buttons' normal looks are part of the background at the buttons' places.
        const rt::TRect up = {
            s->SkinRect.Left + s->UpButtonRect.Left, s->SkinRect.Top + s->UpButtonRect.Top,
            s->SkinRect.Left + s->UpButtonRect.Right, s->SkinRect.Top + s->UpButtonRect.Bottom};
        differ(s->PictureIndex, up, s->ActiveUpButtonRect, std::string(name) + " up button hot");
        differ(s->PictureIndex, up, s->DownUpButtonRect, std::string(name) + " up button down");
        differ(s->PictureIndex, s->ThumbRect, s->ActiveThumbRect, std::string(name) + " thumb hot");
        differ(s->PictureIndex, s->ThumbRect, s->DownThumbRect, std::string(name) + " thumb down");
    }
    const auto* check = Control<sk::TskDataSkinCheckRadioControl>("checkradio");
    differ(check->PictureIndex, check->CheckImageRect, check->UnCheckImageRect,
           "check box checked");
    differ(check->PictureIndex, check->UnCheckImageRect, check->ActiveUnCheckImageRect,
           "check box hot");
}

// WCAG contrast ratio of two colours (0x00RRGGBB): 1 for equal, 21 for black on white.
double Contrast(std::uint32_t a, std::uint32_t b) {
    auto luminance = [](std::uint32_t c) {
        auto channel = [](std::uint32_t v) {
            const double x = double(v & 0xFF) / 255.0;
            return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c >> 16) + 0.7152 * channel(c >> 8) + 0.0722 * channel(c);
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The edges a user finds controls by stand out from what they sit on by at least 3:1: the
// strongest of the first columns of a look's middle row against the backdrop beside it.
TEST_P(BuiltinSkin, ControlEdgesStandOutFromWhatTheySitOn) {
    auto edge = [&](int picture, const rt::TRect& look, std::uint32_t backdrop, int row) {
        const rt::TBitmap* p = Picture(picture);
        double best = 1;
        for (int x = look.Left; x < look.Left + 4; ++x)
            best = std::max(best, Contrast(p->ScanLine(look.Top + row)[x] & 0xFFFFFF, backdrop));
        return best;
    };
    auto at = [&](int picture, int x, int y) {
        return Picture(picture)->ScanLine(y)[x] & 0xFFFFFF;
    };
    for (const char* name : {"toolbutton", "toolmenubutton"}) {
        const auto* b = Control<sk::TskDataSkinButtonControl>(name);
        const rt::TRect& r = b->SkinRect;
        // The rounded corner shows the client the button sits on.
        const std::uint32_t client = at(b->PictureIndex, r.Left, r.Top);
        EXPECT_GE(edge(b->PictureIndex, r, client, r.Height() / 2), 3.0) << name;
        // Font colours are 0x00BBGGRR, pictures 0x00RRGGBB.
        const auto c = std::uint32_t(b->FontColor);
        const std::uint32_t text = (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
        EXPECT_GE(Contrast(text, client), 3.0) << name << " text";
    }
    const auto* track = Control<sk::TskDataSkinTrackBarControl>("htrackbar");
    const rt::TRect& tr = track->SkinRect;
    // The groove starts 4 columns in; its top edge runs along the middle rows.
    double groove = 1;
    for (int y = tr.Top; y < tr.Bottom; ++y)
        groove = std::max(groove, Contrast(at(track->PictureIndex, tr.Left + tr.Width() / 2, y),
                                           at(track->PictureIndex, tr.Left, y)));
    EXPECT_GE(groove, 3.0) << "track bar groove";
    const auto* gauge = Control<sk::TskDataSkinGaugeControl>("gauge");
    const rt::TRect& gr = gauge->SkinRect;
    double trough = 1;
    for (int y = gr.Top; y < gr.Bottom; ++y)
        trough = std::max(trough, Contrast(at(gauge->PictureIndex, gr.Left + gr.Width() / 2, y),
                                           at(gauge->PictureIndex, gr.Left, y)));
    EXPECT_GE(trough, 3.0) << "gauge trough";
    // The chosen menu item against the menu: its plate's edge or the plate itself.
    const auto* item = Object<sk::TskDataSkinMenuItem>("menuitem");
    const rt::TRect& mi = item->SkinRect;
    const rt::TRect& hot = item->ActiveSkinRect;
    double chosen = 1;
    for (int y = 0; y < mi.Height(); ++y)
        for (int x = 0; x < mi.Width(); ++x)
            chosen =
                std::max(chosen, Contrast(at(item->ActivePictureIndex, hot.Left + x, hot.Top + y),
                                          at(item->ActivePictureIndex, mi.Left + x, mi.Top + y)));
    EXPECT_GE(chosen, 3.0) << "chosen menu item";
}

TEST_P(BuiltinSkin, MasksAreOneBitAndLeaveTheRoundedCornersOpen) {
    const rt::TBitmap& mask = data_->Skin().MaskBitmap;
    EXPECT_EQ(mask.PixelFormat, rt::TPixelFormat::pf1bit);
    ASSERT_EQ(mask.Width(), data_->Skin().Picture.Width());
    ASSERT_EQ(mask.Height(), data_->Skin().Picture.Height());
    const rt::TRegion shape = sk::CreateRegionFromMask(mask);
    const int w = mask.Width(), h = mask.Height();
    EXPECT_FALSE(shape.Contains(0, 0));
    EXPECT_FALSE(shape.Contains(w - 1, 0));
    EXPECT_TRUE(shape.Contains(w / 2, 0));
    EXPECT_TRUE(shape.Contains(0, h / 2));
    EXPECT_TRUE(shape.Contains(w - 1, h / 2));
    // The mask's rectangle area is wholly inside the shape: the region builder takes it whole.
    const rt::TRect a = data_->MaskRectArea;
    for (int y = a.Top; y < a.Bottom; ++y)
        for (int x = a.Left; x < a.Right; ++x) ASSERT_TRUE(shape.Contains(x, y)) << x << "," << y;
    // The corners lie in the fixed corner pieces, so that a wider window keeps them round.
    EXPECT_GT(data_->FrameLeftTop.X, 1);
    EXPECT_LT(data_->FrameRightTop.X, w - 1);
    for (int index :
         {data_->Skin().PopupWindow.MaskPictureIndex, data_->Skin().HintWindow.MaskPictureIndex}) {
        const rt::TBitmap* m = Picture(index);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->PixelFormat, rt::TPixelFormat::pf1bit);
        EXPECT_FALSE(sk::CreateRegionFromMask(*m).Contains(0, 0));
    }
}

// Every key the art tool writes is one the parser reads: a misspelt key would load as the
// key's default without a word.
TEST_P(BuiltinSkin, EveryKeyTheArtToolWritesIsOneTheParserReads) {
    std::ifstream in(fs::path(FRAMORA_SKIN_DIR) / GetParam() / "skin.ini", std::ios::binary);
    ASSERT_TRUE(in.good());
    sk::TskIniFile ini;
    ini.SetText(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));

    // Keys match whatever their letter case, as the parser matches them.
    auto lower = [](std::string s) {
        for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    std::map<std::string, std::set<std::string>> known;
    auto add = [&](const std::string& section, const std::vector<sk::TskKeyInfo>& keys) {
        for (const sk::TskKeyInfo& k : keys) known[section].insert(lower(k.Key));
    };
    auto addTable = [&](const std::string& section, auto table) {
        for (const auto& f : table) known[section].insert(lower(f.Key));
    };
    // "ver" names the format's version for people; the loader does not need it.
    known["VERSION"] = {"ver",         "skinname",  "skinauthor",
                        "authoremail", "authorurl", "skincomments"};
    known["PICTURES"] = {"picture", "inactivepicture", "mask", "activepicturescount"};
    for (std::size_t i = 0; i < data_->Skin().ActivePictures.size(); ++i)
        known["PICTURES"].insert(std::to_string(i));
    addTable("FORMINFO", sk::TskSkinData::FormInfoFields());
    addTable("POPUPWINDOW", sk::TskDataSkinPopupWindow::Fields());
    addTable("HINTWINDOW", sk::TskDataSkinHintWindow::Fields());
    known["SKINOBJECTS"].insert("count");
    for (std::size_t i = 0; i < data_->Skin().ObjectList.size(); ++i) {
        known["SKINOBJECTS"].insert(std::to_string(i));
        add(data_->Skin().ObjectList[i]->IDName, data_->Skin().ObjectList[i]->Keys());
    }
    known["SKINCONTROLS"].insert("count");
    for (std::size_t i = 0; i < data_->Skin().CtrlList.size(); ++i) {
        known["SKINCONTROLS"].insert(std::to_string(i));
        add(data_->Skin().CtrlList[i]->IDName, data_->Skin().CtrlList[i]->Keys());
    }

    int checked = 0;
    for (const std::string& section : ini.Sections()) {
        const auto it = known.find(section);
        if (it == known.end()) {
            ADD_FAILURE() << "[" << section << "] is read by no description";
            continue;
        }
        for (const std::string& key : ini.Keys(section)) {
            EXPECT_TRUE(it->second.count(lower(key)) != 0) << "[" << section << "] " << key;
            ++checked;
        }
    }
    EXPECT_GT(checked, 500);
}

TEST_P(BuiltinSkin, CompressedSkinStaysSmall) {
    EXPECT_LT(Container(GetParam())->CompressedData().Bytes().size(), 300u * 1000u);
    EXPECT_EQ(Container(GetParam())->FileName(), "skin.ini");
    EXPECT_EQ(data_->SkinName, GetParam());
}

std::vector<std::string> BuiltinNames() {
    std::vector<std::string> names;
    for (const sk::TskBuiltinSkin& skin : sk::kBuiltinSkins) names.push_back(skin.Name);
    return names;
}

INSTANTIATE_TEST_SUITE_P(Skins, BuiltinSkin, ::testing::ValuesIn(BuiltinNames()),
                         [](const auto& info) { return info.param; });

std::vector<unsigned char> Bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Two runs of the art tool write the same bytes, and the same bytes the build embedded.
TEST(SkinArt, DrawsTheSameBytesOnEveryRun) {
    testutil::TempDir dir("framora-skinart");
    const fs::path& base = dir.path();
    for (const char* run : {"a", "b"}) {
        const std::string cmd =
            std::string("'") + FRAMORA_SKINART + "' '" + (base / run).string() + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
    int files = 0;
    for (const std::string& skin : BuiltinNames()) {
        for (const auto& entry : fs::directory_iterator(base / "a" / skin)) {
            const fs::path name = entry.path().filename();
            EXPECT_EQ(Bytes(entry.path()), Bytes(base / "b" / skin / name)) << skin << "/" << name;
            ++files;
        }
        // Packing the fresh folder gives exactly the skin the program carries.
        sk::TskCompressedStoredSkin fresh(nullptr);
        fresh.LoadFromIniFile((base / "a" / skin / "skin.ini").string());
        EXPECT_EQ(fresh.CompressedData().Bytes(), Container(skin)->CompressedData().Bytes())
            << skin;
    }
    // Every skin of the table is drawn, each with its nine files.
    EXPECT_EQ(files, 9 * int(std::size(sk::kBuiltinSkins)));
}

}  // namespace
