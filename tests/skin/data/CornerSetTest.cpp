#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "SkinTestUtil.h"
#include "skin/data/skCornerSet.h"
#include "skin/data/skDataControls.h"
#include "skin/data/skDataObjects.h"
#include "skin/data/skSkinData.h"

namespace {

using namespace sk;
using rt::Point;
using rt::Rect;

using skintest::Ini;

const char* const kCornerKeys =
    "lefttoppoint=3,4\r\nrighttoppoint=30,4\r\nleftbottompoint=3,20\r\n"
    "rightbottompoint=30,20\r\n";
const TskCornerSet kCorners{Point(3, 4), Point(30, 4), Point(3, 20), Point(30, 20),
                            Rect(5, 6, 28, 18)};

struct CornerCase {
    const char* kind;
    std::string clientKey;  // the key the description reads its client rectangle from
    std::function<TskCornerSet(const TskIniFile&)> read;
    // Writes the set back.
    std::function<TskIniFile(const TskCornerSet&)> write;
};

template <class D>
CornerCase Control(const char* kind) {
    return {kind, "clientrect",
            [kind](const TskIniFile& ini) {
                auto d = CreateSkinControl(kind, "obj");
                d->LoadFromIni(ini);
                return dynamic_cast<D&>(*d).Corners;
            },
            [kind](const TskCornerSet& set) {
                auto d = CreateSkinControl(kind, "obj");
                dynamic_cast<D&>(*d).Corners = set;
                TskIniFile out;
                d->SaveToIni(out);
                return out;
            }};
}

template <class W>
CornerCase Window(const char* kind, const char* clientKey) {
    return {kind, clientKey,
            [](const TskIniFile& ini) {
                W w;
                w.LoadFromIni(ini, "obj");
                return w.Corners;
            },
            [](const TskCornerSet& set) {
                W w;
                w.Corners = set;
                TskIniFile out;
                w.SaveToIni(out, "obj");
                return out;
            }};
}

// Every description with corners reads the same four keys and its client key into one set,
// and writes them back under the same keys.
TEST(CornerSet, DescriptionsReadAndWriteTheirCornerKeys) {
    const CornerCase cases[] = {
        Control<TskDataSkinButtonControl>("button"),
        Control<TskDataSkinPanelControl>("panel"),
        Control<TskDataSkinScrollBarControl>("scrollbar"),
        Control<TskDataSkinTabControl>("tab"),
        Window<TskDataSkinHintWindow>("hint window", "clientrect"),
        Window<TskDataSkinPopupWindow>("popup window", "itemsrect"),
    };
    for (const CornerCase& c : cases) {
        SCOPED_TRACE(c.kind);
        const TskIniFile ini = Ini(std::string("[obj]\r\n") + kCornerKeys + c.clientKey +
                                   "=5,6,28,18\r\nskinrect=0,0,33,24\r\n");
        EXPECT_EQ(c.read(ini), kCorners);
        const TskIniFile out = c.write(kCorners);
        EXPECT_EQ(out.ReadString("obj", "lefttoppoint", "?"), "3,4");
        EXPECT_EQ(out.ReadString("obj", "righttoppoint", "?"), "30,4");
        EXPECT_EQ(out.ReadString("obj", "leftbottompoint", "?"), "3,20");
        EXPECT_EQ(out.ReadString("obj", "rightbottompoint", "?"), "30,20");
        EXPECT_EQ(out.ReadString("obj", c.clientKey, "?"), "5,6,28,18");
        EXPECT_EQ(c.read(out), kCorners);
    }
}

// The frame reads the same keys from "FORMINFO" and then pulls its points into its client
// box; the other descriptions keep what the skin says.
TEST(CornerSet, FramePointsArePulledIntoTheClientBox) {
    const TskIniFile ini =
        Ini(std::string("[FORMINFO]\r\n") + kCornerKeys + "clientrect=6,8,25,15\r\n");
    TskSkinData data(nullptr);
    data.LoadFormInfo(ini);
    EXPECT_EQ(data.Frame, (TskCornerSet{Point(6, 8), Point(25, 8), Point(6, 15), Point(25, 15),
                                        Rect(6, 8, 25, 15)}));
    // Points already inside stay where the skin puts them.
    data.LoadFormInfo(
        Ini(std::string("[FORMINFO]\r\n") + kCornerKeys + "clientrect=1,1,40,30\r\n"));
    TskCornerSet inside = kCorners;
    inside.Client = Rect(1, 1, 40, 30);
    EXPECT_EQ(data.Frame, inside);

    TskDataSkinHintWindow hint;
    hint.LoadFromIni(ini, "FORMINFO");
    EXPECT_EQ(hint.Corners.LeftTop, Point(3, 4));
}

TEST(CornerSet, GrownMovesTheRightAndBottomSides) {
    struct Case {
        int dx, dy;
        TskCornerSet expected;
    };
    const Case cases[] = {
        {0, 0, kCorners},
        {10, 0, {Point(3, 4), Point(40, 4), Point(3, 20), Point(40, 20), Rect(5, 6, 38, 18)}},
        {0, 7, {Point(3, 4), Point(30, 4), Point(3, 27), Point(30, 27), Rect(5, 6, 28, 25)}},
        {-2, -3, {Point(3, 4), Point(28, 4), Point(3, 17), Point(28, 17), Rect(5, 6, 26, 15)}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kCorners.Grown(c.dx, c.dy), c.expected) << c.dx << "," << c.dy;
}

// A hostile skin's coordinates near the integer limits stop there instead of wrapping around
// (which the sanitizer build would also report as overflow).
TEST(CornerSet, GrownSaturatesAtTheIntegerLimits) {
    TskCornerSet far{Point(0, 0), Point(INT_MAX - 1, 0), Point(0, INT_MIN + 1),
                     Point(INT_MAX, INT_MAX), Rect(0, 0, INT_MAX, INT_MIN)};
    const TskCornerSet up = far.Grown(10, 10);
    EXPECT_EQ(up.RightTop.X, INT_MAX);
    EXPECT_EQ(up.LeftBottom.Y, INT_MIN + 11);
    EXPECT_EQ(up.RightBottom, Point(INT_MAX, INT_MAX));
    EXPECT_EQ(up.Client, Rect(0, 0, INT_MAX, INT_MIN + 10));
    const TskCornerSet down = far.Grown(-10, -10);
    EXPECT_EQ(down.LeftBottom.Y, INT_MIN);
    EXPECT_EQ(down.Client.Bottom, INT_MIN);
    EXPECT_EQ(down.RightTop.X, INT_MAX - 11);
}

}  // namespace
