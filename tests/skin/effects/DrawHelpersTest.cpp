#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/data/skUtils.h"

using rt::Rect;
using rt::TBitmap;

namespace {

// Rows of the bitmap: '#' where the pixel has the colour, '.' elsewhere.
std::vector<std::string> Marks(const TBitmap& b, std::uint32_t rgb) {
    std::vector<std::string> out;
    for (int y = 0; y < b.Height(); ++y) {
        std::string row;
        for (int x = 0; x < b.Width(); ++x) row += b.ScanLine(y)[x] == rgb ? '#' : '.';
        out.push_back(row);
    }
    return out;
}

}  // namespace

TEST(DrawHelpers, GlyphOfAStripIsDrawnTransparently) {
    // Three 3 x 2 glyphs; the key colour is each glyph's bottom-left pixel.
    TBitmap strip(9, 2);
    for (auto& p : strip.Pixels()) p = 0xFF00FF;
    strip.ScanLine(0)[1] = 0x000001;
    strip.ScanLine(0)[4] = 0x000002;
    strip.ScanLine(1)[5] = 0x000002;
    strip.ScanLine(0)[7] = 0x000003;
    TBitmap target(6, 4);
    sk::DrawGlyph(target.Canvas(), 2, 1, 2, 3, strip);
    EXPECT_EQ(Marks(target, 0x000002),
              (std::vector<std::string>{"......", "...#..", "....#.", "......"}));
    EXPECT_EQ(Marks(target, 0xFFFFFF)[1], "###.##");  // magenta left out
    EXPECT_EQ(Marks(target, 0xFF00FF), std::vector<std::string>(4, "......"));

    TBitmap untouched(6, 4);
    sk::DrawGlyph(untouched.Canvas(), 0, 0, 1, 0, strip);
    sk::DrawGlyph(untouched.Canvas(), 0, 0, 1, 3, TBitmap());
    sk::DrawGlyph(untouched.Canvas(), 0, 0, 1, 20, strip);  // glyphs narrower than a pixel
    EXPECT_EQ(Marks(untouched, 0xFFFFFF), std::vector<std::string>(4, "######"));
}

TEST(DrawHelpers, EllipsisKeepsTheLongestFittingStart) {
    TBitmap b(10, 10);
    rt::TCanvas& c = b.Canvas();
    const std::string text = "Wistler skin for the cutter";
    EXPECT_EQ(sk::EllipsisText(c, text, c.TextWidth(text)), text);
    const int width = c.TextWidth("Wistler s...");
    const std::string cut = sk::EllipsisText(c, text, width);
    ASSERT_GE(cut.size(), 3u);
    ASSERT_EQ(cut.substr(cut.size() - 3), "...");
    const std::string kept = cut.substr(0, cut.size() - 3);
    EXPECT_EQ(text.compare(0, kept.size(), kept), 0);
    EXPECT_LE(c.TextWidth(cut), width);
    EXPECT_GT(c.TextWidth(text.substr(0, kept.size() + 1) + "..."), width);
    EXPECT_EQ(sk::EllipsisText(c, text, 0), "...");

    // Multi-byte characters go whole.
    const std::string umlauts = "\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84";
    const std::string cutU = sk::EllipsisText(c, umlauts, c.TextWidth("\xC3\x84\xC3\x84..."));
    EXPECT_EQ(cutU.size() % 2, 1u);  // pairs of bytes plus "..."
    EXPECT_EQ(cutU.substr(cutU.size() - 3), "...");
}

// Tip two pixels from the centre (5, 5) in the arrow's direction, base one pixel behind it:
// the down arrow's rows are cy - n + 2 for half-widths n = 3..0.
TEST(DrawHelpers, ArrowsPointTheRightWay) {
    const struct {
        int direction;
        std::vector<std::string> shape;
    } cases[] = {
        {1,
         {"...........", "...........", "......#....", ".....##....", "....###....", "...####....",
          "....###....", ".....##....", "......#....", "...........", "..........."}},
        {2,
         {"...........", "...........", "....#......", "....##.....", "....###....", "....####...",
          "....###....", "....##.....", "....#......", "...........", "..........."}},
        {3,
         {"...........", "...........", "...........", ".....#.....", "....###....", "...#####...",
          "..#######..", "...........", "...........", "...........", "..........."}},
        {4,
         {"...........", "...........", "...........", "...........", "..#######..", "...#####...",
          "....###....", ".....#.....", "...........", "...........", "..........."}},
    };
    for (const auto& c : cases) {
        TBitmap b(11, 11);
        sk::DrawArrowImage(b.Canvas(), Rect(0, 0, 11, 11), rt::clRed, c.direction);
        EXPECT_EQ(Marks(b, 0xFF0000), c.shape) << c.direction;
    }
    // Centred in a rectangle away from the origin, whose centre rounds down.
    TBitmap b(12, 10);
    sk::DrawArrowImage(b.Canvas(), Rect(2, 1, 12, 10), rt::clRed, 4);
    EXPECT_EQ(Marks(b, 0xFF0000),
              (std::vector<std::string>{
                  "............", "............", "............", "............", "....#######.",
                  ".....#####..", "......###...", ".......#....", "............", "............"}));
}

TEST(DrawHelpers, TrackArrowFrameAndCheck) {
    TBitmap t(9, 7);
    sk::DrawTrackArrowImage(t.Canvas(), Rect(0, 0, 9, 7), rt::clBlack);
    EXPECT_EQ(Marks(t, 0),
              (std::vector<std::string>{".........", ".........", "..#####..", "...###...",
                                        "....#....", ".........", "........."}));

    TBitmap f(7, 6);
    sk::DrawFrame3D(f.Canvas(), Rect(1, 1, 6, 5), rt::clRed, rt::clBlue);
    EXPECT_EQ(Marks(f, 0xFF0000), (std::vector<std::string>{".......", ".####..", ".#.....",
                                                            ".#.....", ".......", "......."}));
    EXPECT_EQ(Marks(f, 0x0000FF), (std::vector<std::string>{".......", ".....#.", ".....#.",
                                                            ".....#.", ".#####.", "......."}));

    TBitmap ck(12, 12);
    sk::DrawCheckImage(ck.Canvas(), 2, 2, rt::clBlack);
    const auto m = Marks(ck, 0);
    for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(m[std::size_t(2 + 5 - j)][2], '#') << j;  // start of each stroke
        EXPECT_EQ(m[std::size_t(2 + 7 - j)][4], '#') << j;  // the bend
    }
    EXPECT_EQ(m[4][9], '.');  // the end point is left out, like every line
    EXPECT_EQ(m[5][8], '#');
    EXPECT_EQ(m[10][4], '.');
}

TEST(DrawHelpers, TextInRectStaysInsideTheRectangle) {
    TBitmap b(80, 30);
    const rt::TRect r = Rect(10, 5, 50, 25);
    b.Canvas().Font.Color = rt::clBlack;
    b.Canvas().Brush.Style = rt::TBrushStyle::bsClear;
    sk::DrawTextInRect(b.Canvas(), "Wistler skin for the cutter", r, 3);
    int inside = 0, leftOfIndent = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x) {
            const bool ink = b.ScanLine(y)[x] != 0xFFFFFFu;
            if (!ink) continue;
            ASSERT_TRUE(r.Contains({x, y})) << x << "," << y;
            ++inside;
            leftOfIndent += x < r.Left + 3 + 2;
        }
    EXPECT_GT(inside, 20);
    EXPECT_EQ(leftOfIndent, 0);
}
