#include <gtest/gtest.h>

#include "SkinTestUtil.h"
#include "skin/data/skIniParser.h"

namespace {

using sk::TskIniFile;

using skintest::Ini;

TEST(IniSyntax, TrimsCommentsSectionsAndFirstEquals) {
    TskIniFile ini =
        Ini("orphan=before any section\r\n"
            "\r\n"
            "   [  Main Section  ]   \r\n"
            "; a comment=not a key\r\n"
            "   ;indented comment=no\r\n"
            "  Key One  =  a = b  \r\n"
            "no equals sign here\r\n"
            "empty=\r\n"
            "[other]\n"
            "x=1\r"
            "y=2\n");
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"Main Section", "other"}));
    EXPECT_EQ(ini.ReadString("main section", "key one", "?"), "a = b");
    EXPECT_EQ(ini.ReadString("MAIN SECTION", "KEY ONE", "?"), "a = b");
    EXPECT_FALSE(ini.ValueExists("Main Section", "; a comment"));
    EXPECT_FALSE(ini.ValueExists("Main Section", ";indented comment"));
    EXPECT_FALSE(ini.ValueExists("Main Section", "no equals sign here"));
    EXPECT_EQ(ini.Keys("Main Section"), (std::vector<std::string>{"Key One", "empty"}));
    EXPECT_EQ(ini.ReadString("Main Section", "empty", "default"), "");
    EXPECT_EQ(ini.ReadString("Main Section", "missing", "default"), "default");
    EXPECT_EQ(ini.ReadInteger("other", "x", 0), 1);
    EXPECT_EQ(ini.ReadInteger("other", "y", 0), 2);
    EXPECT_FALSE(ini.SectionExists("orphan"));
}

TEST(IniSyntax, FirstOfRepeatedKeysCountsAndRepeatedSectionsMerge) {
    TskIniFile ini = Ini("[a]\r\nk=1\r\nK=2\r\n[b]\r\n[A]\r\nm=3\r\n");
    EXPECT_EQ(ini.ReadInteger("a", "k", 0), 1);
    EXPECT_EQ(ini.ReadInteger("a", "m", 0), 3);
}

struct IntCase {
    const char* text;
    int expected;  // with default -7
};

TEST(IniValues, IntegersDecimalAndHexOrDefault) {
    const IntCase cases[] = {
        {"0", 0},
        {"-1", -1},
        {"+5", 5},
        {"2147483647", 2147483647},
        {"-2147483648", int(0x80000000u)},
        {"2147483648", -7},
        {"$FF", 255},
        {"$ff", 255},
        {"0x10", 16},
        {"0X1f", 31},
        {"$FFFFFFFF", -1},
        {"-$10", -16},
        {"$100000000", -7},
        {"", -7},
        {"12a", -7},
        {"1 2", -7},
        {"0x", -7},
        {"$", -7},
        {"-", -7},
        {"x10", -7},
        {"16777215", 16777215},
    };
    for (const IntCase& c : cases) {
        TskIniFile ini = Ini(std::string("[s]\r\nv=") + c.text + "\r\n");
        EXPECT_EQ(ini.ReadInteger("s", "v", -7), c.expected) << "'" << c.text << "'";
    }
}

TEST(IniValues, BooleanIsTrueOnlyForOne) {
    TskIniFile ini = Ini("[s]\r\na=1\r\nb=2\r\nc=0\r\nd=yes\r\ne=$1\r\n");
    EXPECT_TRUE(ini.ReadBool("s", "a", false));
    EXPECT_FALSE(ini.ReadBool("s", "b", true));
    EXPECT_FALSE(ini.ReadBool("s", "c", true));
    EXPECT_TRUE(ini.ReadBool("s", "d", true)) << "no number: the default";
    EXPECT_TRUE(ini.ReadBool("s", "e", false));
    EXPECT_FALSE(ini.ReadBool("s", "missing", false));
}

struct RectCase {
    const char* text;
    rt::TRect expected;
};

TEST(IniValues, RectanglesKeepOnlyDigits) {
    const RectCase cases[] = {
        {"2,23,102,59", {2, 23, 102, 59}},
        {" 2 , 23 , 102 , 59 ", {2, 23, 102, 59}},
        {"-5,-6,7,8", {5, 6, 7, 8}},  // signs are dropped: negatives read as absolute values
        {"a1b,2c,3,4x", {1, 2, 3, 4}},
        {"1,2,3,4,5", {1, 2, 3, 4}},  // surplus numbers are ignored
    };
    for (const RectCase& c : cases) {
        TskIniFile ini = Ini(std::string("[s]\r\nr=") + c.text + "\r\n");
        EXPECT_EQ(ini.ReadRect("s", "r", {}), c.expected) << c.text;
    }
}

TEST(IniValues, PointsKeepOnlyDigits) {
    TskIniFile ini = Ini("[s]\r\np=10,23\r\nq=-3, 4y\r\n");
    EXPECT_EQ(ini.ReadPoint("s", "p", {}), (rt::TPoint{10, 23}));
    EXPECT_EQ(ini.ReadPoint("s", "q", {}), (rt::TPoint{3, 4}));
    EXPECT_EQ(ini.ReadPoint("s", "missing", {7, 8}), (rt::TPoint{7, 8}));
}

TEST(IniValues, EmptyNumberInPointOrRectIsAConversionError) {
    const char* bad[] = {"1,,3,4", "1,2,3", "a,b,c,d", "1,2,3,"};
    for (const char* text : bad) {
        TskIniFile ini = Ini(std::string("[s]\r\nr=") + text + "\r\n");
        try {
            ini.ReadRect("s", "r", {});
            ADD_FAILURE() << text << " accepted";
        } catch (const rt::EConvertError& e) {
            EXPECT_STREQ(e.what(), "'' is not a valid integer value") << text;
        }
    }
    TskIniFile ini = Ini("[s]\r\np=5\r\nbig=99999999999,1\r\n");
    EXPECT_THROW(ini.ReadPoint("s", "p", {}), rt::EConvertError);
    try {
        ini.ReadPoint("s", "big", {});
        ADD_FAILURE() << "overflow accepted";
    } catch (const rt::EConvertError& e) {
        EXPECT_STREQ(e.what(), "'99999999999' is not a valid integer value");
    }
}

TEST(IniValues, FontStylesAreSubstringTests) {
    using namespace rt;
    const std::pair<const char*, TFontStyles> cases[] = {
        {"fsitalic,fsbold", fsBold | fsItalic},
        {"fsitalicfsbold", fsBold | fsItalic},
        {"", 0},
        {"FSBOLD", 0},
        {"fsunderline;fsstrikeout", fsUnderline | fsStrikeOut},
    };
    for (const auto& [text, style] : cases) {
        TskIniFile ini = Ini(std::string("[s]\r\nf=") + text + "\r\n");
        EXPECT_EQ(ini.ReadFontStyle("s", "f", 0), style) << text;
    }
}

TEST(IniValues, WordsCompareExactly) {
    EXPECT_EQ(sk::StrToAlignment("taleftjustify"), sk::taLeftJustify);
    EXPECT_EQ(sk::StrToAlignment("tacenter"), sk::taCenter);
    EXPECT_EQ(sk::StrToAlignment("tarightjustify"), sk::taRightJustify);
    EXPECT_EQ(sk::StrToAlignment("TACENTER"), sk::taRightJustify);
    EXPECT_EQ(sk::StrToInactiveEffect("ieinvert"), sk::ieInvert);
    EXPECT_EQ(sk::StrToInactiveEffect("IEINVERT"), sk::ieBrightness);
    EXPECT_EQ(sk::StrToMorphKind("mkpush"), sk::mkPush);
    EXPECT_EQ(sk::StrToMorphKind("MkPush"), sk::mkDefault);
    EXPECT_EQ(sk::StrToCommand("cmsysmenu"), sk::cmSysMenu);
    EXPECT_EQ(sk::StrToCommand("cmrollup"), sk::cmRollUp);
    EXPECT_EQ(sk::StrToCommand("CMCLOSE"), sk::cmRollUp);

    // Missing keys give the default word; the key itself ignores case.
    TskIniFile ini = Ini("[FormInfo]\r\nINACTIVEEFFECT=iegrayscale\r\n");
    EXPECT_EQ(ini.ReadInactiveEffect("forminfo", "inactiveeffect", sk::ieBrightness),
              sk::ieGrayScale);
    EXPECT_EQ(ini.ReadAlignment("forminfo", "alignment", sk::taCenter), sk::taCenter);
    EXPECT_EQ(ini.ReadCommand("forminfo", "command", sk::cmDefault), sk::cmDefault);
}

TEST(IniWrite, WriteEraseAndLinesReadBack) {
    TskIniFile ini = Ini("[keep]\r\na=1\r\n[gone]\r\nb=2\r\n");
    ini.WriteString("KEEP", "A", "10");
    ini.WriteString("keep", "c", "3");
    ini.WriteString("new", "d", "4");
    ini.EraseSection("GONE");
    rt::TStringList lines;
    ini.GetStrings(lines);
    TskIniFile back(lines);
    EXPECT_EQ(back.Sections(), (std::vector<std::string>{"keep", "new"}));
    EXPECT_EQ(back.ReadInteger("keep", "a", 0), 10);
    EXPECT_EQ(back.ReadInteger("keep", "c", 0), 3);
    EXPECT_EQ(back.ReadInteger("new", "d", 0), 4);
    EXPECT_FALSE(back.SectionExists("gone"));
}

}  // namespace
