#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "runtime/Graphics.h"

namespace {

std::uint32_t Px(const rt::TBitmap& b, int x, int y) { return b.ScanLine(y)[x] & 0xFFFFFF; }

TEST(Canvas, PolylineLeavesOutTheLastPoint) {
    rt::TBitmap b(10, 3);
    b.Canvas().Brush.Color = rt::clWhite;
    b.Canvas().FillRect(rt::Rect(0, 0, 10, 3));
    b.Canvas().Pen.Color = rt::clRed;
    b.Canvas().Polyline({{1, 1}, {5, 1}});
    EXPECT_EQ(Px(b, 0, 1), 0xFFFFFFu);
    EXPECT_EQ(Px(b, 1, 1), 0xFF0000u);
    EXPECT_EQ(Px(b, 4, 1), 0xFF0000u);
    EXPECT_EQ(Px(b, 5, 1), 0xFFFFFFu);
}

TEST(Canvas, CopyRectCopiesOneToOneAndStretches) {
    rt::TBitmap src(2, 1);
    src.ScanLine(0)[0] = 0x112233;
    src.ScanLine(0)[1] = 0x445566;
    rt::TBitmap dst(4, 2);
    dst.Canvas().CopyRect(rt::Rect(1, 1, 3, 2), src, rt::Rect(0, 0, 2, 1));
    EXPECT_EQ(Px(dst, 1, 1), 0x112233u);
    EXPECT_EQ(Px(dst, 2, 1), 0x445566u);
    EXPECT_EQ(Px(dst, 0, 1), 0xFFFFFFu);
    rt::TBitmap big(4, 2);
    big.Canvas().CopyRect(rt::Rect(0, 0, 4, 2), src, rt::Rect(0, 0, 2, 1));
    EXPECT_EQ(Px(big, 0, 0), 0x112233u);
    EXPECT_EQ(Px(big, 3, 1), 0x445566u);
}

TEST(Canvas, TransparentDrawSkipsTheKeyColour) {
    rt::TBitmap glyph(2, 1);
    glyph.ScanLine(0)[0] = 0xFF00FF;
    glyph.ScanLine(0)[1] = 0x0000FF;
    glyph.Transparent = true;
    glyph.TransparentColor = rt::clFuchsia;
    rt::TBitmap dst(2, 1);
    dst.Canvas().Draw(0, 0, glyph);
    EXPECT_EQ(Px(dst, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(Px(dst, 1, 0), 0x0000FFu);
}

TEST(Canvas, DrawsTextInTheFontColour) {
    rt::TBitmap b(60, 20);
    b.Canvas().Brush.Color = rt::clWhite;
    b.Canvas().FillRect(rt::Rect(0, 0, 60, 20));
    b.Canvas().Font.Color = rt::clBlack;
    b.Canvas().Brush.Style = rt::TBrushStyle::bsClear;
    b.Canvas().TextOut(2, 2, "Cut");
    int dark = 0;
    for (std::uint32_t p : b.Pixels()) dark += (p & 0xFFFFFF) == 0;
    EXPECT_GT(dark, 10);
    EXPECT_GT(b.Canvas().TextWidth("Cut Cut"), b.Canvas().TextWidth("Cut"));
    EXPECT_GT(b.Canvas().TextHeight("Cut"), 8);
}

TEST(Canvas, TurnedTextReadsUpwardsFromItsPoint) {
    rt::TBitmap b(60, 120);
    rt::TCanvas& c = b.Canvas();
    c.Brush.Color = rt::clWhite;
    c.FillRect(rt::Rect(0, 0, 60, 120));
    c.Font.Name = "Arial";
    c.Font.Size = 12;
    c.Font.Color = rt::clBlack;
    const int tw = c.TextWidth("Wide text"), th = c.TextHeight("Wide text");
    c.Font.Orientation = 900;
    c.Brush.Style = rt::TBrushStyle::bsClear;
    c.TextOut(20, 100, "Wide text");
    rt::TRect box{60, 120, 0, 0};
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 60; ++x)
            if (c.Pixel(x, y) == rt::clBlack) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    // The text cell turned about (20, 100): across x 20 .. 20 + th, up from y 100 by tw.
    EXPECT_GE(box.Left, 20);
    EXPECT_LE(box.Right, 20 + th);
    EXPECT_LE(box.Bottom, 100);
    EXPECT_GE(box.Top, 100 - tw);
    EXPECT_GT(box.Height(), tw - 6);
}

TEST(Region, ReadsRegionDataAndRejectsBadBlocks) {
    std::uint8_t block[32 + 16] = {};
    auto put = [&](int off, std::int32_t v) { std::memcpy(block + off, &v, 4); };
    put(0, 32);
    put(4, 1);
    put(8, 1);
    put(32, 2);
    put(36, 3);
    put(40, 5);
    put(44, 4);
    rt::TRegion r = rt::TRegion::FromRegionData(block, sizeof block);
    EXPECT_TRUE(r.Contains(2, 3));
    EXPECT_TRUE(r.Contains(4, 3));
    EXPECT_FALSE(r.Contains(5, 3));
    EXPECT_FALSE(r.Contains(2, 4));
    put(8, 2);  // claims more rectangles than the block holds
    EXPECT_THROW(rt::TRegion::FromRegionData(block, sizeof block), rt::EInvalidGraphic);
    EXPECT_THROW(rt::TRegion::FromRegionData(block, 16), rt::EInvalidGraphic);
}

}  // namespace
