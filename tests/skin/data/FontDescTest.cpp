#include <gtest/gtest.h>

#include <functional>

#include "SkinTestUtil.h"
#include "skin/data/skDataControls.h"
#include "skin/data/skDataObjects.h"
#include "skin/data/skFontDesc.h"
#include "skin/data/skUtils.h"

namespace {

using namespace sk;

using skintest::Ini;

TskFontDesc Desc(std::string name, int height, rt::TFontStyles style, rt::TColor color,
                 rt::TColor active = 0, rt::TColor down = 0, rt::TColor disabled = 0,
                 rt::TColor focus = 0, rt::TColor mouseIn = 0) {
    TskFontDesc f = FontFace(std::move(name), height);
    f.Style = style;
    f.Color = color;
    f.ActiveColor = active;
    f.DownColor = down;
    f.DisabledColor = disabled;
    f.FocusColor = focus;
    f.MouseInColor = mouseIn;
    return f;
}

// One description kind: its section text, how to read it, and which of its fonts to look at.
struct FontCase {
    const char* kind;
    std::string section;
    std::function<TskFontDesc(const TskIniFile&)> read;
    TskFontDesc expected;
};

template <class D>
std::function<TskFontDesc(const TskIniFile&)> ControlFont(const char* kind, TskFontDesc D::*font) {
    return [kind, font](const TskIniFile& ini) {
        auto d = CreateSkinControl(kind, "obj");
        d->LoadFromIni(ini);
        return dynamic_cast<D&>(*d).*font;
    };
}

template <class D>
std::function<TskFontDesc(const TskIniFile&)> ObjectFont(const char* kind) {
    return [kind](const TskIniFile& ini) {
        auto d = CreateSkinObject(kind, "obj");
        d->LoadFromIni(ini);
        return dynamic_cast<D&>(*d).Font;
    };
}

// Each kind spells its state colours its own way; each must land in the one state it names,
// and a state the kind has no key for stays 0.
TEST(FontDesc, DescriptionKeysReadIntoTheirStates) {
    const FontCase cases[] = {
        {"button",
         "fontname=Tahoma\r\nfontheight=11\r\nfontstyle=fsbold\r\nfontcolor=1\r\n"
         "activefontcolor=2\r\ndownfontcolor=3\r\ndisabledfontcolor=4\r\n",
         ControlFont("button", &TskDataSkinButtonControl::Font),
         Desc("Tahoma", 11, rt::fsBold, 1, 2, 3, 4)},
        {"checkradio",
         "fontname=Verdana\r\nfontcolor=$FF\r\nactivefontcolor=2\r\nunenabledfontcolor=5\r\n"
         "framefontcolor=9\r\n",
         ControlFont("checkradio", &TskDataSkinCheckRadioControl::Font),
         Desc("Verdana", 14, 0, 255, 2, 0, 5)},
        {"grid: cell font",
         "fontcolor=1\r\nselectfontcolor=2\r\nfocusfontcolor=3\r\nfixedfontname=Courier\r\n"
         "fixedfontheight=-9\r\nfixedfontstyle=fsitalic\r\nfixedfontcolor=7\r\n",
         ControlFont("grid", &TskDataSkinGridControl::Font), Desc("Arial", 14, 0, 1, 2, 0, 0, 3)},
        {"grid: fixed font",
         "fontcolor=1\r\nselectfontcolor=2\r\nfocusfontcolor=3\r\nfixedfontname=Courier\r\n"
         "fixedfontheight=-9\r\nfixedfontstyle=fsitalic\r\nfixedfontcolor=7\r\n",
         ControlFont("grid", &TskDataSkinGridControl::FixedFont),
         Desc("Courier", -9, rt::fsItalic, 7)},
        {"tab", "fontcolor=1\r\nactivefontcolor=2\r\nfocusfontcolor=3\r\nmouseinfontcolor=4\r\n",
         ControlFont("tab", &TskDataSkinTabControl::Font), Desc("Arial", 14, 0, 1, 2, 0, 0, 3, 4)},
        {"edit", "fontcolor=1\r\ndisabledfontcolor=2\r\nactivefontcolor=3\r\n",
         ControlFont("edit", &TskDataSkinEditControl::Font), Desc("Arial", 14, 0, 1, 3, 0, 2)},
        {"memo: the edit's font", "fontheight=16\r\nactivefontcolor=3\r\nbgcolor=5\r\n",
         ControlFont("memo", &TskDataSkinMemoControl::Font), Desc("Arial", 16, 0, 0, 3)},
        {"listbox: caption font",
         "fontcolor=1\r\ncaptionfontname=Impact\r\ncaptionfontheight=20\r\n"
         "captionfontstyle=fsunderline\r\ncaptionfontcolor=6\r\n",
         ControlFont("listbox", &TskDataSkinListBox::CaptionFont),
         Desc("Impact", 20, rt::fsUnderline, 6)},
        {"combobox", "fontcolor=1\r\nfocusfontcolor=2\r\nactivefontcolor=9\r\n",
         ControlFont("combobox", &TskDataSkinComboBox::Font), Desc("Arial", 14, 0, 1, 0, 0, 0, 2)},
        {"stdlabel without its active key", "fontcolor=1\r\n",
         ControlFont("stdlabel", &TskDataSkinStdLabelControl::Font),
         Desc("Arial", 14, 0, 1, 16711680)},
        {"treeview", "fontname=Mono\r\nfontcolor=1\r\nbgcolor=2\r\n",
         ControlFont("treeview", &TskDataSkinTextView::Font), Desc("Mono", 14, 0, 1)},
        {"caption object", "fontcolor=1\r\nactivefontcolor=2\r\nshadowcolor=3\r\n",
         ObjectFont<TskDataSkinCaption>("caption"), Desc("Arial", 14, 0, 1, 2)},
        {"menuitem object", "fontcolor=1\r\nactivefontcolor=2\r\nunenabledfontcolor=3\r\n",
         ObjectFont<TskDataSkinMenuItem>("menuitem"), Desc("Arial", 14, 0, 1, 2, 0, 3)},
        {"mainmenubaritem object",
         "fontcolor=1\r\nactivefontcolor=2\r\ndownfontcolor=3\r\nunenabledfontcolor=4\r\n",
         ObjectFont<TskDataSkinMainMenuItem>("mainmenubaritem"), Desc("Arial", 14, 0, 1, 2, 3, 4)},
        {"hint window", "fontname=Tahoma\r\nfontheight=12\r\nfontcolor=1\r\n",
         [](const TskIniFile& ini) {
             TskDataSkinHintWindow hint;
             hint.LoadFromIni(ini, "obj");
             return hint.Font;
         },
         Desc("Tahoma", 12, 0, 1)},
    };
    for (const FontCase& c : cases) {
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(c.read(Ini("[obj]\r\n" + c.section)), c.expected);
    }
}

// Writing goes through the same key table: the font's members come out under their own keys.
TEST(FontDesc, DescriptionsWriteTheFontUnderItsKeys) {
    TskDataSkinListBox lb("lb");
    lb.Font = Desc("Tahoma", 11, rt::fsBold, 1, 2, 3, 4, 5, 6);
    lb.CaptionFont = Desc("Impact", -20, rt::fsItalic, 7);
    TskIniFile out;
    lb.SaveToIni(out);
    const std::pair<const char*, const char*> expected[] = {
        {"fontname", "Tahoma"},           {"fontheight", "11"},
        {"fontstyle", "fsbold"},          {"fontcolor", "1"},
        {"activefontcolor", "2"},         {"focusfontcolor", "5"},
        {"captionfontname", "Impact"},    {"captionfontheight", "-20"},
        {"captionfontstyle", "fsitalic"}, {"captionfontcolor", "7"},
    };
    for (const auto& [key, value] : expected)
        EXPECT_EQ(out.ReadString("lb", key, "?"), value) << key;
    // A list box has no keys for the pressed, disabled and mouse-over colours.
    EXPECT_FALSE(out.ValueExists("lb", "downfontcolor"));
    EXPECT_FALSE(out.ValueExists("lb", "disabledfontcolor"));
    EXPECT_FALSE(out.ValueExists("lb", "mouseinfontcolor"));

    TskDataSkinMainMenuItem item("it");
    item.Font = Desc("Arial", 14, 0, 1, 2, 3, 4);
    TskIniFile menu;
    item.SaveToIni(menu);
    EXPECT_EQ(menu.ReadString("it", "unenabledfontColor", "?"), "4");
    TskDataSkinMainMenuItem back("it");
    back.LoadFromIni(menu);
    EXPECT_EQ(back.Font, item.Font);
}

TEST(FontDesc, ApplyGivesTheStateColourAndTheFaceOnlyWhenAsked) {
    const TskFontDesc d = Desc("Tahoma", 16, rt::fsBold | rt::fsItalic, 10, 11, 12, 13, 14, 15);
    const std::pair<TskFontState, rt::TColor> states[] = {
        {TskFontState::Normal, 10},   {TskFontState::Active, 11}, {TskFontState::Down, 12},
        {TskFontState::Disabled, 13}, {TskFontState::Focus, 14},  {TskFontState::MouseIn, 15},
    };
    const rt::TFont skinFace = MakeSkinFont("Tahoma", 16, rt::fsBold | rt::fsItalic, 0);
    rt::TFont own;
    own.Name = "Own Face";
    own.Size = 23;
    own.Style = rt::fsStrikeOut;
    own.Orientation = 900;
    for (const auto& [state, color] : states) {
        SCOPED_TRACE(int(state));
        EXPECT_EQ(d.ColorOf(state), color);

        rt::TFont withFace = own;
        d.ApplyTo(withFace, state, true);
        EXPECT_EQ(withFace.Name, "Tahoma");
        EXPECT_EQ(withFace.Size, skinFace.Size);
        EXPECT_EQ(withFace.Style, rt::fsBold | rt::fsItalic);
        EXPECT_EQ(withFace.Orientation, 0);
        EXPECT_EQ(withFace.Color, color);
        EXPECT_EQ(d.MakeFont(state), withFace);

        rt::TFont kept = own;
        d.ApplyTo(kept, state, false);
        rt::TFont expected = own;
        expected.Color = color;
        EXPECT_EQ(kept, expected);
    }
}

TEST(FontDesc, AnUnnamedFaceIsTheSkinsUsualFace) {
    TskFontDesc d;
    d.Color = 7;
    const rt::TFont f = d.MakeFont();
    EXPECT_EQ(f.Name, "Arial");
    EXPECT_EQ(f.Size, rt::TFont{}.Size);  // height 0 keeps the default size
    EXPECT_EQ(f.Color, 7);
}

}  // namespace
