#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "skin/data/skUtils.h"

using rt::Point;
using rt::Rect;
using rt::TBitmap;

namespace {

std::int32_t Field(const std::vector<std::uint8_t>& block, std::size_t offset) {
    std::int32_t v;
    std::memcpy(&v, block.data() + offset, 4);
    return v;
}

TBitmap Filled(int w, int h, std::uint32_t rgb) {
    TBitmap b(w, h);
    for (auto& p : b.Pixels()) p = rgb;
    return b;
}

// Every black pixel of the mask inside the region, every other pixel and everything around
// the mask outside: the region's rectangles are painted into a grid one cell wider on each side.
void ExpectRegionMatchesMask(const rt::TRegion& region, const TBitmap& mask, int dx, int dy) {
    const int w = mask.Width() + 2, h = mask.Height() + 2;
    std::vector<char> inside(std::size_t(w) * std::size_t(h), 0);
    for (const rt::TRect& r : region.Rects()) {
        ASSERT_GE(r.Left, dx - 1);
        ASSERT_GE(r.Top, dy - 1);
        ASSERT_LE(r.Right, dx + mask.Width() + 1);
        ASSERT_LE(r.Bottom, dy + mask.Height() + 1);
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                inside[std::size_t(y - dy + 1) * std::size_t(w) + std::size_t(x - dx + 1)] = 1;
    }
    for (int y = -1; y <= mask.Height(); ++y)
        for (int x = -1; x <= mask.Width(); ++x) {
            bool black = x >= 0 && y >= 0 && x < mask.Width() && y < mask.Height() &&
                         (mask.ScanLine(y)[x] & 0xFFFFFF) == 0;
            ASSERT_EQ(inside[std::size_t(y + 1) * std::size_t(w) + std::size_t(x + 1)] != 0, black)
                << x << "," << y;
        }
    // The grid and Contains agree on a sample of points.
    for (int y = -1; y <= mask.Height(); y += 3)
        for (int x = -1; x <= mask.Width(); x += 5)
            ASSERT_EQ(region.Contains(x + dx, y + dy),
                      inside[std::size_t(y + 1) * std::size_t(w) + std::size_t(x + 1)] != 0);
}

}  // namespace

TEST(MaskRegion, BlockHeaderAndRowsOfWhiteAndBlackMasks) {
    std::vector<std::uint8_t> white = sk::CreateRegionData(Filled(7, 4, 0xFFFFFF), 3, -2);
    ASSERT_EQ(white.size(), 32u);
    EXPECT_EQ(Field(white, 0), 32);
    EXPECT_EQ(Field(white, 4), 1);
    EXPECT_EQ(Field(white, 8), 0);
    EXPECT_EQ(Field(white, 12), 0);
    EXPECT_EQ(Field(white, 16), 3);
    EXPECT_EQ(Field(white, 20), -2);
    EXPECT_EQ(Field(white, 24), 10);
    EXPECT_EQ(Field(white, 28), 2);

    std::vector<std::uint8_t> black = sk::CreateRegionData(Filled(7, 4, 0x000000), 3, -2);
    ASSERT_EQ(black.size(), 32u + 4 * 16);
    EXPECT_EQ(Field(black, 8), 4);
    for (int i = 0; i < 4; ++i) {
        std::size_t o = 32 + std::size_t(i) * 16;
        EXPECT_EQ(Field(black, o), 3);
        EXPECT_EQ(Field(black, o + 4), i - 2);
        EXPECT_EQ(Field(black, o + 8), 10);
        EXPECT_EQ(Field(black, o + 12), i - 1);
    }

    EXPECT_TRUE(sk::CreateRegionData(TBitmap(), 0, 0).empty());
    EXPECT_TRUE(sk::CreateRegionFromMask(TBitmap()).IsEmpty());
}

TEST(MaskRegion, OnlyPureBlackPixelsAreInside) {
    TBitmap mask(23, 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 23; ++x) {
            std::uint32_t v = (x * 7 + y * 3) % 5;
            // 0 black; 1 almost black in one channel each; the rest light.
            mask.ScanLine(y)[x] = v == 0 ? 0u : v == 1 ? (1u << (8 * (x % 3))) : 0xC0C0C0u;
        }
    mask.ScanLine(4)[0] = 0;   // a run at the left edge
    mask.ScanLine(4)[22] = 0;  // and one at the right edge
    ExpectRegionMatchesMask(sk::CreateRegionFromMask(mask), mask, 0, 0);

    std::vector<std::uint8_t> moved = sk::CreateRegionData(mask, -4, 6);
    ExpectRegionMatchesMask(rt::TRegion::FromRegionData(moved.data(), moved.size()), mask, -4, 6);
}

TEST(MaskRegion, MoreThanTenThousandRunsAreAllKept) {
    TBitmap mask(300, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 300; ++x) mask.ScanLine(y)[x] = (x + y) % 2 ? 0xFFFFFFu : 0u;
    std::vector<std::uint8_t> block = sk::CreateRegionData(mask, 0, 0);
    EXPECT_EQ(Field(block, 8), 15000);
    EXPECT_EQ(block.size(), 32u + 15000u * 16u);
    ExpectRegionMatchesMask(sk::CreateRegionFromMask(mask), mask, 0, 0);
}

TEST(MaskRegion, NoRegionWhenTargetCornersCross) {
    TBitmap mask = Filled(10, 10, 0);
    const auto lt = Point(3, 3), rt = Point(7, 3), lb = Point(3, 7), rb = Point(7, 7);
    const auto cr = Rect(2, 2, 8, 8);
    EXPECT_FALSE(
        sk::CreateSkinRegion(lt, rt, lb, rb, cr, mask, 10, 10, Point(5, 3), Point(4, 3), lb, rb, cr)
            .has_value());
    EXPECT_FALSE(sk::CreateSkinRegion(lt, rt, lb, rb, cr, mask, 10, 10, lt, rt, Point(3, 2), rb, cr)
                     .has_value());
    auto same = sk::CreateSkinRegion(lt, rt, lb, rb, cr, mask, 10, 10, lt, rt, lb, rb, cr);
    ASSERT_TRUE(same.has_value());
    ExpectRegionMatchesMask(*same, mask, 0, 0);
}

namespace {

// A 20 x 16 window mask: rounded corners, a notch in the top-left piece, a notch in the
// upper left piece, a gap in the top band and a column missing down the left band.
TBitmap WindowMask() {
    const std::vector<std::string> rows = {
        "..##.###.##.########",  // top band (x 6..13) has gaps at 8 and 11
        ".###################", "####################", "###################.",
        ".###################",  // notch in the upper left piece
        "####################",
        ".##################.",  // left band rows 6..9: column 0 open, right band column 19
        ".##################.", ".##################.", ".##################.",
        "####################", "####################", "####################",
        "####################", "###################.", "#################...",
    };
    TBitmap b(20, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 20; ++x)
            b.ScanLine(y)[x] = rows[std::size_t(y)][std::size_t(x)] == '#' ? 0u : 0xFFFFFFu;
    return b;
}

}  // namespace

TEST(MaskRegion, ResizedRegionMatchesTheComposedMask) {
    const TBitmap mask = WindowMask();
    const auto lt = Point(6, 6), rt = Point(14, 6), lb = Point(6, 10), rb = Point(14, 10);
    const auto cr = Rect(3, 3, 17, 13);
    for (const auto& [dx, dy] :
         {std::pair{27, 17}, std::pair{0, 0}, std::pair{5, 2}, std::pair{1, 9}}) {
        const int w = 20 + dx, h = 16 + dy;
        const auto nlt = lt, nrt = Point(rt.X + dx, rt.Y), nlb = Point(lb.X, lb.Y + dy),
                   nrb = Point(rb.X + dx, rb.Y + dy);
        const auto ncr = Rect(cr.Left, cr.Top, cr.Right + dx, cr.Bottom + dy);
        TBitmap composed;
        sk::CreateSkinImage(lt, rt, lb, rb, cr, Rect(0, 0, 20, 16), mask, true, composed, w, h, nlt,
                            nrt, nlb, nrb, ncr);
        auto region = sk::CreateSkinRegion(lt, rt, lb, rb, cr, mask, w, h, nlt, nrt, nlb, nrb, ncr);
        ASSERT_TRUE(region.has_value());
        SCOPED_TRACE(std::to_string(dx) + "x" + std::to_string(dy));
        ExpectRegionMatchesMask(*region, composed, 0, 0);
    }
}
