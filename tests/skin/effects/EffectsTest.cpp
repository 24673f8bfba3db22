#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <tuple>

#include "skin/data/skEffects.h"

using sk::TskEffectBmp;

namespace {

// Gray image: every channel of pixel (x, y) is value(x, y).
TskEffectBmp Gray(int w, int h, const std::function<int(int, int)>& value) {
    TskEffectBmp b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t v = std::uint32_t(value(x, y));
            b.SetPixel(x, y, v << 16 | v << 8 | v);
        }
    return b;
}

TskEffectBmp Solid(int w, int h, std::uint32_t rgb) {
    TskEffectBmp b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixel(x, y, rgb);
    return b;
}

// Blue channel of each pixel of row y.
std::vector<int> Row(const TskEffectBmp& b, int y) {
    std::vector<int> out;
    for (int x = 0; x < b.Width(); ++x) out.push_back(int(b.Pixel(x, y) & 0xFF));
    return out;
}

std::vector<int> Column(const TskEffectBmp& b, int x) {
    std::vector<int> out;
    for (int y = 0; y < b.Height(); ++y) out.push_back(int(b.Pixel(x, y) & 0xFF));
    return out;
}

}  // namespace

TEST(EffectBmp, LayoutAndRoundTripThroughBitmap) {
    EXPECT_EQ(TskEffectBmp(5, 2).Stride(), 16u);
    EXPECT_EQ(TskEffectBmp(4, 2).Stride(), 12u);
    EXPECT_EQ(TskEffectBmp(7, 1).Stride(), 24u);

    rt::TBitmap src(3, 2);
    src.ScanLine(0)[0] = 0x123456;
    src.ScanLine(1)[2] = 0xABCDEF;
    TskEffectBmp e(src);
    const std::uint8_t* row1 = e.ScanLine(1);
    EXPECT_EQ(row1[6], 0xEF);  // blue first
    EXPECT_EQ(row1[7], 0xCD);
    EXPECT_EQ(row1[8], 0xAB);
    EXPECT_EQ(e.ToBitmap().Pixels(), src.Pixels());

    rt::TBitmap canvasBmp(4, 4);
    e.Draw(canvasBmp.Canvas(), 2, 3);  // only the top-left 2 x 1 fits
    EXPECT_EQ(canvasBmp.ScanLine(3)[2], 0x123456u);
    EXPECT_EQ(canvasBmp.ScanLine(3)[3], 0xFFFFFFu);
    EXPECT_EQ(canvasBmp.ScanLine(2)[2], 0xFFFFFFu);
}

TEST(EffectBmp, ChannelEffectsRoundHalvesToEven) {
    struct Case {
        const char* name;
        std::function<void(TskEffectBmp&)> apply;
        int in, out;
    };
    const Case cases[] = {
        {"brightness 0.5 black", [](TskEffectBmp& b) { b.ChangeBrightness(0.5); }, 0, 128},
        {"brightness 0.5 white", [](TskEffectBmp& b) { b.ChangeBrightness(0.5); }, 255, 255},
        {"brightness 0.5 of 1", [](TskEffectBmp& b) { b.ChangeBrightness(0.5); }, 1, 128},
        {"brightness 2 clamps to 1", [](TskEffectBmp& b) { b.ChangeBrightness(2); }, 7, 255},
        {"brightness -1 clamps to 0", [](TskEffectBmp& b) { b.ChangeBrightness(-1); }, 7, 7},
        {"darkness 0.3 of 200", [](TskEffectBmp& b) { b.ChangeDarkness(0.3); }, 200, 140},
        {"darkness 0.5 of 255", [](TskEffectBmp& b) { b.ChangeDarkness(0.5); }, 255, 128},
        {"darkness 0.5 of 1", [](TskEffectBmp& b) { b.ChangeDarkness(0.5); }, 1, 0},
        {"darkness 0.5 of 3", [](TskEffectBmp& b) { b.ChangeDarkness(0.5); }, 3, 2},
        {"darkness 5 clamps to 1", [](TskEffectBmp& b) { b.ChangeDarkness(5); }, 99, 0},
        {"invert", [](TskEffectBmp& b) { b.Invert(); }, 1, 254},
    };
    for (const Case& c : cases) {
        TskEffectBmp b = Gray(3, 2, [&](int, int) { return c.in; });
        c.apply(b);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(b.Pixel(x, y), std::uint32_t(c.out) * 0x010101u) << c.name;
    }
}

TEST(EffectBmp, GrayScaleWeightsTheChannels) {
    const struct {
        std::uint32_t rgb;
        int gray;
    } cases[] = {
        {0x00FF00, 150},                  // 0.59 * 255 = 150.45
        {0xFFFFFF, 255}, {0xFF0000, 76},  // 76.5 rounds to the even 76
        {0x0000FF, 28},                   // 28.05
        {0x0A141E, 18},                   // 3 + 11.8 + 3.3 = 18.1
        {0x000000, 0},
    };
    for (const auto& c : cases) {
        TskEffectBmp b = Solid(2, 2, c.rgb);
        b.GrayScale();
        EXPECT_EQ(b.Pixel(1, 1), std::uint32_t(c.gray) * 0x010101u) << std::hex << c.rgb;
    }
}

TEST(EffectBmp, ColorNoiseMovesAllChannelsOfAPixelTogether) {
    TskEffectBmp b = Solid(64, 64, 0x606468);
    b.AddColorNoise(50);
    std::set<int> offsets;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            std::uint32_t p = b.Pixel(x, y);
            int dr = int(p >> 16) - 0x60, dg = int((p >> 8) & 0xFF) - 0x64,
                db = int(p & 0xFF) - 0x68;
            ASSERT_EQ(dr, dg);
            ASSERT_EQ(dr, db);
            ASSERT_GE(dr, -25);
            ASSERT_LE(dr, 24);
            offsets.insert(dr);
        }
    EXPECT_GT(offsets.size(), 40u);  // 50 values, 4096 draws

    TskEffectBmp edges = Gray(32, 32, [](int x, int) { return x % 2 ? 255 : 0; });
    edges.AddColorNoise(50);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            int v = int(edges.Pixel(x, y) & 0xFF);
            if (x % 2) {
                EXPECT_GE(v, 255 - 25);
            } else {
                EXPECT_LE(v, 24);
            }
        }

    for (int amount : {0, 1, -5}) {
        TskEffectBmp same = Solid(8, 8, 0x102030);
        same.AddColorNoise(amount);
        EXPECT_EQ(same.Pixel(3, 3), 0x102030u) << amount;
    }
}

TEST(EffectBmp, SplitBlurReadsPixelsAlreadyWritten) {
    // Worked by hand: rows top down, pixels left to right, each the truncated mean of the four
    // diagonal neighbours at distance 1; outside rows and columns become the pixel's own.
    const int start[2][3] = {{0, 40, 80}, {120, 160, 200}};
    TskEffectBmp b = Gray(3, 2, [&](int x, int y) { return start[y][x]; });
    b.SplitBlur(1);
    EXPECT_EQ(Row(b, 0), (std::vector<int>{80, 120, 140}));
    EXPECT_EQ(Row(b, 1), (std::vector<int>{120, 135, 148}));

    TskEffectBmp flat = Solid(7, 5, 0x0AC825);
    flat.SplitBlur(1);
    flat.SplitBlur(3);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) ASSERT_EQ(flat.Pixel(x, y), 0x0AC825u);

    TskEffectBmp noChange = Gray(4, 4, [](int x, int y) { return x * 16 + y; });
    TskEffectBmp copy = noChange;
    noChange.SplitBlur(0);
    EXPECT_EQ(noChange.ToBitmap().Pixels(), copy.ToBitmap().Pixels());
    // Farther than the image: every neighbour is the pixel itself.
    noChange.SplitBlur(1 << 30);
    EXPECT_EQ(noChange.ToBitmap().Pixels(), copy.ToBitmap().Pixels());
}

TEST(EffectBmp, MorphBlendsTowardsOther) {
    const struct {
        int self, other;
        double k;
        int out;
    } cases[] = {
        {10, 11, 0.5, 10},  {11, 12, 0.5, 12},  {200, 17, 0, 200},    {200, 17, 1, 17},
        {0, 255, 0.25, 64}, {100, 50, 2.0, 50}, {100, 50, -1.0, 100},
    };
    for (const auto& c : cases) {
        TskEffectBmp self = Gray(3, 3, [&](int, int) { return c.self; });
        TskEffectBmp other = Gray(3, 3, [&](int, int) { return c.other; });
        self.Morph(other, c.k);
        EXPECT_EQ(self.Pixel(2, 2), std::uint32_t(c.out) * 0x010101u)
            << c.self << " " << c.other << " " << c.k;
    }
}

TEST(EffectBmp, MorphsBetweenDifferentSizesChangeNothing) {
    using Fn = void (TskEffectBmp::*)(const TskEffectBmp&, double);
    const Fn morphs[] = {&TskEffectBmp::Morph,          &TskEffectBmp::MorphGrad,
                         &TskEffectBmp::MorphLeftGrad,  &TskEffectBmp::MorphRightGrad,
                         &TskEffectBmp::MorphLeftSlide, &TskEffectBmp::MorphRightSlide,
                         &TskEffectBmp::MorphPush};
    for (const Fn f : morphs)
        for (const auto& [w, h] : {std::pair{5, 3}, std::pair{4, 4}}) {
            TskEffectBmp self = Solid(4, 3, 0x112233);
            TskEffectBmp other = Solid(w, h, 0xFFFFFF);
            (self.*f)(other, 0.5);
            EXPECT_EQ(self.Pixel(0, 0), 0x112233u);
            EXPECT_EQ(self.Pixel(3, 2), 0x112233u);
        }
}

TEST(EffectBmp, GradientMorphsWorkedByHand) {
    const auto self101 = [](int w, int h) { return Gray(w, h, [](int, int) { return 101; }); };
    const auto zero = [](int w, int h) { return Gray(w, h, [](int, int) { return 0; }); };

    // W 8, k 0.5: b 4, c 2, d 2, step 0.5, centre 4: columns 2..6 other, then 0.5 and 1.
    TskEffectBmp h = self101(8, 2);
    h.MorphGrad(zero(8, 2), 0.5);
    EXPECT_EQ(Row(h, 1), (std::vector<int>{101, 50, 0, 0, 0, 0, 0, 50}));

    TskEffectBmp full = self101(8, 1);
    full.MorphGrad(zero(8, 1), 1.0);
    EXPECT_EQ(Row(full, 0), std::vector<int>(8, 0));

    // H 9 > W: c = round(4.5) = 4, d 2, e 2, step 0.5, centre 4: rows 2..6 other.
    TskEffectBmp v = self101(2, 9);
    v.MorphGrad(zero(2, 9), 0.5);
    EXPECT_EQ(Column(v, 1), (std::vector<int>{101, 50, 0, 0, 0, 0, 0, 50, 101}));

    // H 3 > W 2, k 0.5: c 2, e 0 gives step 0, so every row becomes other.
    TskEffectBmp flat = self101(2, 3);
    flat.MorphGrad(zero(2, 3), 0.5);
    EXPECT_EQ(Column(flat, 0), (std::vector<int>{0, 0, 0}));

    const auto other200 = [](int w) { return Gray(w, 2, [](int, int) { return 200; }); };
    const auto self100 = [](int w) { return Gray(w, 2, [](int, int) { return 100; }); };
    TskEffectBmp left = self100(5);
    left.MorphLeftGrad(other200(5), 0.4);  // a 2: weights 0, 0.5, 1
    EXPECT_EQ(Row(left, 0), (std::vector<int>{200, 150, 100, 100, 100}));
    TskEffectBmp leftMin = self100(5);
    leftMin.MorphLeftGrad(other200(5), 0.0);  // a at least 1
    EXPECT_EQ(Row(leftMin, 1), (std::vector<int>{200, 100, 100, 100, 100}));

    TskEffectBmp right = self100(5);
    right.MorphRightGrad(other200(5), 0.4);  // a 3, step 1/2 from the right edge
    EXPECT_EQ(Row(right, 0), (std::vector<int>{100, 100, 100, 150, 200}));
    TskEffectBmp rightAll = self100(4);
    rightAll.MorphRightGrad(other200(4), 1.0);  // a 0, step 1/4
    EXPECT_EQ(Row(rightAll, 1), (std::vector<int>{125, 150, 175, 200}));
}

TEST(EffectBmp, SlidesAndPushMoveColumns) {
    const auto self = [] { return Gray(5, 2, [](int x, int) { return x + 1; }); };
    const TskEffectBmp other = Gray(5, 2, [](int x, int) { return 10 * (x + 1); });

    TskEffectBmp ls = self();
    ls.MorphLeftSlide(other, 0.4);  // b 2: other's right end slides in from the left
    EXPECT_EQ(Row(ls, 0), (std::vector<int>{40, 50, 3, 4, 5}));
    TskEffectBmp lsMax = self();
    lsMax.MorphLeftSlide(other, 1.0);  // b at most W - 1
    EXPECT_EQ(Row(lsMax, 1), (std::vector<int>{20, 30, 40, 50, 5}));

    TskEffectBmp rs = self();
    rs.MorphRightSlide(other, 0.4);
    EXPECT_EQ(Row(rs, 0), (std::vector<int>{1, 2, 3, 10, 20}));
    TskEffectBmp rsMin = self();
    rsMin.MorphRightSlide(other, 0.0);  // b at least 1
    EXPECT_EQ(Row(rsMin, 1), (std::vector<int>{1, 2, 3, 4, 10}));

    TskEffectBmp push = self();
    push.MorphPush(other, 0.4);  // a 2: self moves right by 3
    EXPECT_EQ(Row(push, 0), (std::vector<int>{30, 40, 50, 1, 2}));
    TskEffectBmp push0 = self();
    push0.MorphPush(other, 0.0);
    EXPECT_EQ(Row(push0, 1), (std::vector<int>{50, 1, 2, 3, 4}));
    TskEffectBmp push1 = self();
    push1.MorphPush(other, 1.0);  // a W - 1: all of other
    EXPECT_EQ(Row(push1, 0), (std::vector<int>{10, 20, 30, 40, 50}));
}

TEST(EffectBmp, OnePixelWideImagesStayWithinBounds) {
    for (double k : {0.0, 0.5, 1.0}) {
        TskEffectBmp a = Solid(1, 3, 0x101010), b = Solid(1, 3, 0x202020);
        a.MorphGrad(b, k);
        a.MorphLeftGrad(b, k);
        a.MorphRightGrad(b, k);
        a.MorphLeftSlide(b, k);
        a.MorphRightSlide(b, k);
        a.MorphPush(b, k);
        EXPECT_EQ(a.Pixel(0, 2), 0x202020u) << k;
    }
    TskEffectBmp empty(0, 0), other(0, 0);
    empty.MorphGrad(other, 0.5);
    empty.SplitBlur(1);
    empty.GrayScale();
    EXPECT_EQ(empty.Width(), 0);
}

namespace {

TskEffectBmp Noise(int w, int h, unsigned seed) {
    TskEffectBmp b(w, h);
    unsigned s = seed;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            s = s * 1664525u + 1013904223u;
            b.SetPixel(x, y, s >> 8);
        }
    return b;
}

std::uint8_t Ref(double v) { return std::uint8_t(std::clamp(std::nearbyint(v), 0.0, 255.0)); }

}  // namespace

// The row kernels against the formulas written out per channel, over odd widths and many
// positions, so that every lane and every tail of the vector code is compared.
TEST(EffectBmp, KernelsAgreeWithThePlainFormulas) {
    for (int w : {1, 7, 33, 61}) {
        const TskEffectBmp a = Noise(w, 5, unsigned(w)), b = Noise(w, 5, unsigned(w) + 99);
        for (double k : {0.0, 0.05, 0.3, 0.37, 0.5, 0.61, 0.95, 1.0}) {
            TskEffectBmp m = a;
            m.Morph(b, k);
            TskEffectBmp br = a, dk = a;
            br.ChangeBrightness(k);
            dk.ChangeDarkness(k);
            for (int y = 0; y < 5; ++y)
                for (int i = 0; i < w * 3; ++i) {
                    const int s = a.ScanLine(y)[i], o = b.ScanLine(y)[i];
                    ASSERT_EQ(m.ScanLine(y)[i], Ref((1 - k) * s + k * o)) << w << " " << k;
                    ASSERT_EQ(br.ScanLine(y)[i], Ref((1 - k) * s + 255 * k)) << w << " " << k;
                    ASSERT_EQ(dk.ScanLine(y)[i], Ref((1 - k) * s)) << w << " " << k;
                }
        }
        TskEffectBmp g = a;
        g.GrayScale();
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint32_t p = a.Pixel(x, y);
                const std::uint8_t v =
                    Ref(0.3 * (p >> 16) + 0.59 * ((p >> 8) & 0xFF) + 0.11 * (p & 0xFF));
                ASSERT_EQ(g.Pixel(x, y), v * 0x010101u);
            }
    }
}

TEST(EffectBmp, SplitBlurAgreesWithThePixelByPixelWalk) {
    for (const auto& [w, h, amount] :
         {std::tuple{9, 7, 1}, std::tuple{40, 12, 2}, std::tuple{17, 9, -3}, std::tuple{6, 30, 4},
          std::tuple{5, 5, 3}}) {
        TskEffectBmp fast = Noise(w, h, unsigned(w * h));
        TskEffectBmp slow = fast;
        fast.SplitBlur(amount);
        const int a = amount;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int ys[2] = {y - a >= 0 && y - a < h ? y - a : y,
                                   y + a >= 0 && y + a < h ? y + a : y};
                const int xs[2] = {x - a >= 0 && x - a < w ? x - a : x,
                                   x + a >= 0 && x + a < w ? x + a : x};
                int sum[3] = {0, 0, 0};
                for (int yy : ys)
                    for (int xx : xs)
                        for (int c = 0; c < 3; ++c)
                            sum[c] += int((slow.Pixel(xx, yy) >> (8 * c)) & 0xFF);
                slow.SetPixel(x, y,
                              std::uint32_t(sum[2] / 4) << 16 | std::uint32_t(sum[1] / 4) << 8 |
                                  std::uint32_t(sum[0] / 4));
            }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(fast.Pixel(x, y), slow.Pixel(x, y)) << w << "x" << h;
    }
}

// The vector kernels give byte for byte what the plain per-byte code gives, for every effect
// and morph that has them, over widths that leave every kind of tail.
TEST(EffectBmp, VectorPathsMatchThePlainCode) {
    using Op = std::function<void(TskEffectBmp&, const TskEffectBmp&, double)>;
    const Op ops[] = {
        [](TskEffectBmp& s, const TskEffectBmp& o, double k) { s.Morph(o, k); },
        [](TskEffectBmp& s, const TskEffectBmp& o, double k) { s.MorphGrad(o, k); },
        [](TskEffectBmp& s, const TskEffectBmp& o, double k) { s.MorphLeftGrad(o, k); },
        [](TskEffectBmp& s, const TskEffectBmp& o, double k) { s.MorphRightGrad(o, k); },
        [](TskEffectBmp& s, const TskEffectBmp&, double k) { s.ChangeBrightness(k); },
        [](TskEffectBmp& s, const TskEffectBmp&, double k) { s.ChangeDarkness(k); },
        [](TskEffectBmp& s, const TskEffectBmp&, double) { s.GrayScale(); },
    };
    for (const auto& [w, h] : {std::pair{45, 11}, std::pair{13, 29}, std::pair{64, 3}})
        for (double k : {0.1, 0.3, 0.5, 0.77})
            for (std::size_t i = 0; i < std::size(ops); ++i) {
                const TskEffectBmp a = Noise(w, h, unsigned(w + h)), b = Noise(w, h, 7);
                TskEffectBmp fast = a, plain = a;
                ops[i](fast, b, k);
                const bool before = sk::SetEffectVectorPaths(false);
                ops[i](plain, b, k);
                sk::SetEffectVectorPaths(before);
                ASSERT_EQ(fast.ToBitmap().Pixels(), plain.ToBitmap().Pixels())
                    << "op " << i << " " << w << "x" << h << " k " << k;
            }
}
