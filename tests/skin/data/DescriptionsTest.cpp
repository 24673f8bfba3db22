#include <gtest/gtest.h>

#include <set>

#include "SkinTestUtil.h"
#include "skin/data/skDataControls.h"
#include "skin/data/skDataObjects.h"

namespace {

using namespace sk;

using skintest::Ini;

// A value for key number i of the given form, written as SaveToIni writes it and different
// from the key's default.
std::string DistinctValue(TskValueForm form, int i) {
    switch (form) {
        case TskValueForm::Integer:
        case TskValueForm::Color:
        case TskValueForm::PictureIndex:
            return std::to_string(100 + i);
        case TskValueForm::Boolean:
            return "1";
        case TskValueForm::Point:
            return std::to_string(i + 1) + "," + std::to_string(i + 2);
        case TskValueForm::Rect:
            return std::to_string(i + 1) + "," + std::to_string(i + 2) + "," +
                   std::to_string(i + 30) + "," + std::to_string(i + 40);
        case TskValueForm::Text:
            return "text" + std::to_string(i);
        case TskValueForm::FontStyle:
            return i % 2 ? "fsbold,fsunderline" : "fsitalic";
        case TskValueForm::Alignment:
            return i % 2 ? "taleftjustify" : "tarightjustify";
        case TskValueForm::InactiveEffect:
            return "ienoise";
        case TskValueForm::MorphKind:
            return i % 2 ? "mkpush" : "mkleftslide";
        case TskValueForm::Command:
            return i % 2 ? "cmsysmenu" : "cmrollup";
    }
    return {};
}

template <class Desc>
void CheckKeyTable(const Desc& d, const std::string& kind) {
    std::vector<TskKeyInfo> keys = d.Keys();
    std::set<std::string> seen;
    for (const TskKeyInfo& k : keys)
        EXPECT_TRUE(seen.insert(rt::LowerCase(k.Key)).second)
            << kind << ": key read twice " << k.Key;

    // An empty section gives every key its default.
    TskIniFile empty;
    std::unique_ptr<Desc> fresh;
    if constexpr (std::is_same_v<Desc, TskDataSkinControl>)
        fresh = CreateSkinControl(kind, "obj");
    else
        fresh = CreateSkinObject(kind, "obj");
    fresh->LoadFromIni(empty);
    TskIniFile saved;
    fresh->SaveToIni(saved);
    ASSERT_EQ(saved.Keys("obj").size(), keys.size()) << kind;
    for (const TskKeyInfo& k : keys)
        EXPECT_EQ(saved.ReadString("obj", k.Key, "?"), k.Default) << kind << "." << k.Key;

    // Every key written with its own value reads back into its own field.
    std::string text = "[obj]\r\n";
    for (std::size_t i = 0; i < keys.size(); ++i)
        text += keys[i].Key + "=" + DistinctValue(keys[i].Form, int(i)) + "\r\n";
    TskIniFile source = Ini(text);
    fresh->LoadFromIni(source);
    TskIniFile out;
    out.WriteString("obj", "stale", "x");
    fresh->SaveToIni(out);
    EXPECT_FALSE(out.ValueExists("obj", "stale")) << "SaveToIni erases the section first";
    for (std::size_t i = 0; i < keys.size(); ++i) {
        std::string expected = DistinctValue(keys[i].Form, int(i));
        if (kind == "updown" &&
            (keys[i].Form == TskValueForm::Point || keys[i].Key == "clientrect"))
            expected = keys[i].Default;
        EXPECT_EQ(out.ReadString("obj", keys[i].Key, "?"), expected) << kind << "." << keys[i].Key;
    }
}

TEST(Descriptions, EveryControlKindReadsAndWritesEachKeyOnce) {
    EXPECT_EQ(SkinControlKinds().size(), 28u);
    for (const std::string& kind : SkinControlKinds()) {
        SCOPED_TRACE(kind);
        auto d = CreateSkinControl(kind, "obj");
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->IDName, "obj");
        CheckKeyTable<TskDataSkinControl>(*d, kind);
    }
}

TEST(Descriptions, EveryObjectKindReadsAndWritesEachKeyOnce) {
    EXPECT_EQ(SkinObjectKinds().size(), 7u);
    for (const std::string& kind : SkinObjectKinds()) {
        SCOPED_TRACE(kind);
        auto d = CreateSkinObject(kind, "obj");
        ASSERT_NE(d, nullptr);
        CheckKeyTable<TskDataSkinObject>(*d, kind);
    }
}

TEST(Descriptions, KindWordsSelectClassesExactly) {
    EXPECT_NE(
        dynamic_cast<TskDataSkinMenuButtonControl*>(CreateSkinControl("menubutton", "a").get()),
        nullptr);
    EXPECT_NE(dynamic_cast<TskDataSkinCustomControl*>(CreateSkinControl("splitter", "a").get()),
              nullptr);
    EXPECT_EQ(dynamic_cast<TskDataSkinCustomControl*>(CreateSkinControl("stdlabel", "a").get()),
              nullptr);
    EXPECT_NE(dynamic_cast<TskDataSkinListBox*>(CreateSkinControl("checklistbox", "a").get()),
              nullptr);
    EXPECT_NE(dynamic_cast<TskDataSkinStdButton*>(CreateSkinObject("mainmenubarbutton", "a").get()),
              nullptr);
    EXPECT_NE(
        dynamic_cast<TskDataSkinMainMenuItem*>(CreateSkinObject("mainmenubaritem", "a").get()),
        nullptr);
    EXPECT_EQ(CreateSkinControl("Button", "a"), nullptr);
    EXPECT_EQ(CreateSkinControl("caption", "a"), nullptr);
    EXPECT_EQ(CreateSkinObject("panel", "a"), nullptr);
    EXPECT_EQ(CreateSkinObject("", ""), nullptr);
}

TEST(Descriptions, ParentKeysComeFirst) {
    auto d = CreateSkinControl("menubutton", "m");
    std::vector<std::string> keys;
    for (const TskKeyInfo& k : d->Keys()) keys.push_back(k.Key);
    const std::vector<std::string> expected = {
        "pictureindex",    "maskpictureindex", "skinrect",          "lefttoppoint",
        "righttoppoint",   "leftbottompoint",  "rightbottompoint",  "clientrect",
        "fontname",        "fontheight",       "fontstyle",         "fontcolor",
        "activefontcolor", "downfontcolor",    "disabledfontcolor", "activeskinrect",
        "downskinrect",    "disabledskinrect", "morphing",          "morphkind",
        "trackbuttonrect"};
    EXPECT_EQ(keys, expected);

    auto s = CreateSkinObject("stdbutton", "s");
    keys.clear();
    for (const TskKeyInfo& k : s->Keys()) keys.push_back(k.Key);
    const std::vector<std::string> expectedStd = {"hint",
                                                  "activepictureindex",
                                                  "skinrectinapicture",
                                                  "skinrect",
                                                  "activeskinrect",
                                                  "morphing",
                                                  "morphkind",
                                                  "downrect",
                                                  "disableskinrsect",
                                                  "command",
                                                  "restorerect",
                                                  "restoreactiverect",
                                                  "restoredownrect",
                                                  "restoreinactiverect"};
    EXPECT_EQ(keys, expectedStd);
}

TEST(Descriptions, ConstructorSetsIndicesAndZeroGeometry) {
    TskDataSkinPanelControl p("p");
    EXPECT_EQ(p.PictureIndex, -1);
    EXPECT_EQ(p.MaskPictureIndex, -1);
    EXPECT_EQ(p.BgPictureIndex, -1);
    EXPECT_EQ(p.SkinRect, rt::TRect{});
    EXPECT_EQ(p.Corners.LeftTop, rt::TPoint{});
    TskDataSkinButton b("b");
    EXPECT_EQ(b.ActivePictureIndex, -1);
}

TEST(Descriptions, UpDownAlwaysHasZeroCornersAndClient) {
    TskIniFile ini =
        Ini("[ud]\r\nskinrect=1,2,3,4\r\nlefttoppoint=5,5\r\nrightbottompoint=9,9\r\n"
            "clientrect=1,1,8,8\r\nupbuttonrect=0,0,10,10\r\n");
    TskDataSkinUpDownControl ud("ud");
    ud.LoadFromIni(ini);
    EXPECT_EQ(ud.SkinRect, (rt::TRect{1, 2, 3, 4}));
    EXPECT_EQ(ud.UpButtonRect, (rt::TRect{0, 0, 10, 10}));
    EXPECT_EQ(ud.Corners.LeftTop, rt::TPoint{});
    EXPECT_EQ(ud.Corners.RightBottom, rt::TPoint{});
    EXPECT_EQ(ud.Corners.Client, rt::TRect{});
}

TEST(Descriptions, UserObjectReadsOnlySkinRect) {
    TskIniFile ini =
        Ini("[u]\r\nskinrect=1,2,3,4\r\nactivepictureindex=3\r\nmorphing=1\r\nhint=hello\r\n"
            "activeskinrect=5,6,7,8\r\n");
    TskDataUserObject u("u");
    u.LoadFromIni(ini);
    EXPECT_EQ(u.SkinRect, (rt::TRect{1, 2, 3, 4}));
    EXPECT_EQ(u.ActivePictureIndex, -1);
    EXPECT_FALSE(u.Morphing);
    EXPECT_EQ(u.Hint, "");
    EXPECT_EQ(u.ActiveSkinRect, rt::TRect{});
}

TEST(Descriptions, CommandWords) {
    const std::pair<const char*, TskStdCommand> cases[] = {
        {"command=cmclose", cmClose},
        {"command=cmmaximize", cmMaximize},
        {"command=cmminimize", cmMinimize},
        {"command=cmsysmenu", cmSysMenu},
        {"command=cmdefault", cmDefault},
        {"command=cmrollup", cmRollUp},
        {"command=anything", cmRollUp},
        {"command=CMCLOSE", cmRollUp},
        {"", cmDefault},
    };
    for (const auto& [line, command] : cases) {
        TskDataSkinStdButton b("b");
        b.LoadFromIni(Ini(std::string("[b]\r\n") + line + "\r\n"));
        EXPECT_EQ(b.Command, command) << line;
    }
    TskDataSkinMainMenuBarButton rolled("r");
    rolled.Command = cmRollUp;
    TskIniFile out;
    rolled.SaveToIni(out);
    EXPECT_EQ(out.ReadString("r", "command", ""), "cmrollup");
}

TEST(Descriptions, StdLabelActiveColourDefaultsToBlue) {
    TskDataSkinStdLabelControl l("l");
    l.LoadFromIni(Ini("[l]\r\nfontcolor=\r\n"));
    EXPECT_EQ(l.Font.ActiveColor, 16711680);
    EXPECT_EQ(l.Font.Color, 0);
    EXPECT_EQ(l.Font.Name, "Arial");
    EXPECT_EQ(l.Font.Height, 14);
}

TEST(Descriptions, ListBoxScrollBarNamesDefault) {
    TskDataSkinListBox lb("lb");
    lb.LoadFromIni(Ini("[lb]\r\nhscrollbarname=myh\r\n"));
    EXPECT_EQ(lb.VScrollBarName, "vscrollbar");
    EXPECT_EQ(lb.HScrollBarName, "myh");
    EXPECT_EQ(lb.BothHScrollBarName, "bothhscrollbar");
    EXPECT_EQ(lb.CaptionFont.Name, "Arial");
}

TEST(Descriptions, MainMenuItemKeyCaseDoesNotMatter) {
    for (const char* key : {"unenabledfontColor", "unenabledfontcolor", "UNENABLEDFONTCOLOR"}) {
        TskDataSkinMainMenuBarItem item("i");
        item.LoadFromIni(Ini(std::string("[I]\r\n") + key + "=255\r\n"));
        EXPECT_EQ(item.Font.DisabledColor, 255) << key;
    }
}

TEST(Descriptions, BadRectangleFailsTheRead) {
    TskDataSkinPanelControl p("p");
    EXPECT_THROW(p.LoadFromIni(Ini("[p]\r\ncaptionrect=1,,2,3\r\n")), rt::EConvertError);
}

TEST(Descriptions, WindowDescriptions) {
    TskDataSkinHintWindow hint;
    EXPECT_EQ(hint.Font.Name, "Arial");
    EXPECT_EQ(hint.Font.Height, 12);
    EXPECT_EQ(hint.WindowPictureIndex, -1);
    hint.LoadFromIni(Ini("[HintWindow]\r\nclientrect=1,2,3,4\r\n"), "HINTWINDOW");
    EXPECT_EQ(hint.Font.Height, 14);
    EXPECT_EQ(hint.Corners.Client, (rt::TRect{1, 2, 3, 4}));

    TskDataSkinPopupWindow popup;
    popup.LoadFromIni(Ini("[popupwindow]\r\nwindowpictureindex=2\r\nitemsrect=1,1,9,9\r\n"
                          "scrollmarkercolor=$FF\r\n"),
                      "POPUPWINDOW");
    EXPECT_EQ(popup.WindowPictureIndex, 2);
    EXPECT_EQ(popup.MaskPictureIndex, -1);
    EXPECT_EQ(popup.Corners.Client, (rt::TRect{1, 1, 9, 9}));
    EXPECT_EQ(popup.ScrollMarkerColor, 255);
    TskIniFile out;
    popup.SaveToIni(out, "POPUPWINDOW");
    TskDataSkinPopupWindow back;
    back.LoadFromIni(out, "POPUPWINDOW");
    EXPECT_EQ(back.Corners.Client, popup.Corners.Client);
    EXPECT_EQ(back.ScrollMarkerColor, 255);
}

}  // namespace
