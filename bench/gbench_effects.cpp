// Speed of the bitmap effects and morphs next to a plain copy of the same pixel buffer, and of
// the skin composition and mask scanning at window sizes. Prints each effect's speed as a
// fraction of the copy's after the usual table.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "skin/data/skEffects.h"
#include "skin/data/skUtils.h"

namespace {

constexpr int kW = 532, kH = 400;

rt::TBitmap Picture(int w, int h, int seed) {
    rt::TBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.ScanLine(y)[x] = std::uint32_t((x * 7 + seed) & 0xFF) << 16 |
                               std::uint32_t((y * 5 + x) & 0xFF) << 8 |
                               std::uint32_t((x ^ y ^ seed) & 0xFF);
    return b;
}

const sk::TskEffectBmp& Source() {
    static const sk::TskEffectBmp img(Picture(kW, kH, 0));
    return img;
}

const sk::TskEffectBmp& Other() {
    static const sk::TskEffectBmp img(Picture(kW, kH, 99));
    return img;
}

std::int64_t ImageBytes() { return std::int64_t(Source().Stride()) * kH; }

void BM_Memcpy(benchmark::State& state) {
    const sk::TskEffectBmp& src = Source();
    std::vector<std::uint8_t> dst(static_cast<std::size_t>(ImageBytes()));
    for (auto _ : state) {
        std::memcpy(dst.data(), src.ScanLine(0), dst.size());
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * ImageBytes());
}
BENCHMARK(BM_Memcpy);

template <typename F>
void RunEffect(benchmark::State& state, F effect) {
    sk::TskEffectBmp img = Source();
    for (auto _ : state) {
        effect(img);
        benchmark::DoNotOptimize(img.ScanLine(0));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * ImageBytes());
}

#define EFFECT(name, body)                                     \
    void BM_##name(benchmark::State& state) {                  \
        RunEffect(state, [](sk::TskEffectBmp& img) { body; }); \
    }                                                          \
    BENCHMARK(BM_##name);

EFFECT(ChangeBrightness, img.ChangeBrightness(0.5))
EFFECT(ChangeDarkness, img.ChangeDarkness(0.3))
EFFECT(GrayScale, img.GrayScale())
EFFECT(AddColorNoise, img.AddColorNoise(50))
EFFECT(SplitBlur, img.SplitBlur(1))
EFFECT(Invert, img.Invert())
EFFECT(Morph, img.Morph(Other(), 0.37))
EFFECT(MorphGrad, img.MorphGrad(Other(), 0.37))
EFFECT(MorphLeftGrad, img.MorphLeftGrad(Other(), 0.37))
EFFECT(MorphRightGrad, img.MorphRightGrad(Other(), 0.37))
EFFECT(MorphLeftSlide, img.MorphLeftSlide(Other(), 0.37))
EFFECT(MorphRightSlide, img.MorphRightSlide(Other(), 0.37))
EFFECT(MorphPush, img.MorphPush(Other(), 0.37))

// The same without the vector kernels, to show what they bring.
template <typename F>
void RunPlain(benchmark::State& state, F effect) {
    const bool before = sk::SetEffectVectorPaths(false);
    RunEffect(state, effect);
    sk::SetEffectVectorPaths(before);
}

#define PLAIN(name, body)                                     \
    void BM_##name##_plain(benchmark::State& state) {         \
        RunPlain(state, [](sk::TskEffectBmp& img) { body; }); \
    }                                                         \
    BENCHMARK(BM_##name##_plain);

PLAIN(ChangeDarkness, img.ChangeDarkness(0.3))
PLAIN(GrayScale, img.GrayScale())
PLAIN(Morph, img.Morph(Other(), 0.37))
PLAIN(MorphGrad, img.MorphGrad(Other(), 0.37))

// A window frame picture of a few flat colours, as skins drawn with a palette are.
rt::TBitmap SkinPicture() {
    rt::TBitmap b(120, 90);
    static const std::uint32_t palette[] = {0x203040, 0x5070A0, 0xC0C8D0, 0xE0E4E8, 0x000000};
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x) b.ScanLine(y)[x] = palette[((x / 3) + (y / 5)) % 5];
    return b;
}

void BM_CreateSkinImage(benchmark::State& state) {
    const rt::TBitmap pic = SkinPicture();
    const rt::TRect piece = rt::Rect(0, 0, 120, 90);
    const rt::TPoint lt{30, 30}, rtp{90, 30}, lb{30, 60}, rb{90, 60};
    const rt::TRect cr = rt::Rect(6, 24, 114, 84);
    const int dx = kW - 120, dy = kH - 90;
    rt::TBitmap target;
    for (auto _ : state) {
        sk::CreateSkinImage(lt, rtp, lb, rb, cr, piece, pic, true, target, kW, kH, lt,
                            {rtp.X + dx, rtp.Y}, {lb.X, lb.Y + dy}, {rb.X + dx, rb.Y + dy},
                            rt::Rect(cr.Left, cr.Top, cr.Right + dx, cr.Bottom + dy));
        benchmark::DoNotOptimize(target.ScanLine(0));
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(kW) * kH * 4);
}
BENCHMARK(BM_CreateSkinImage);

void BM_CreateRegionData(benchmark::State& state) {
    const int w = 800, h = 600, radius = 12;
    rt::TBitmap mask(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // Outside the quarter circles at the four corners is white.
            const int cx = x < radius ? radius : x >= w - radius ? w - radius - 1 : x;
            const int cy = y < radius ? radius : y >= h - radius ? h - radius - 1 : y;
            const int ddx = x - cx, ddy = y - cy;
            mask.ScanLine(y)[x] = ddx * ddx + ddy * ddy > radius * radius ? 0xFFFFFFu : 0u;
        }
    for (auto _ : state) {
        std::vector<std::uint8_t> block = sk::CreateRegionData(mask, 0, 0);
        benchmark::DoNotOptimize(block.data());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(w) * h * 4);
}
BENCHMARK(BM_CreateRegionData);

// Console output as usual, plus the bytes per second of every run kept for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}
    std::map<std::string, double> speed;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            auto it = r.counters.find("bytes_per_second");
            if (it != r.counters.end() && r.run_type == Run::RT_Iteration)
                speed[r.benchmark_name()] = double(it->second);
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    auto copy = reporter.speed.find("BM_Memcpy");
    if (copy == reporter.speed.end() || copy->second <= 0) return 0;
    std::printf("\nSpeed relative to memcpy of the %d x %d 24-bit buffer (%.2f GB/s):\n", kW, kH,
                copy->second / 1e9);
    int below = 0;
    for (const auto& [name, bps] : reporter.speed) {
        if (name == "BM_Memcpy" || name == "BM_CreateSkinImage" || name == "BM_CreateRegionData")
            continue;
        const double ratio = bps / copy->second;
        const bool plain = name.size() > 6 && name.compare(name.size() - 6, 6, "_plain") == 0;
        below += !plain && ratio < 0.25;
        std::printf("  %-22s %6.3f%s\n", name.c_str() + 3, ratio,
                    ratio < 0.25 ? "  (below 1/4)" : "");
    }
    std::printf("%d effect(s) below a quarter of the copy's speed (plain code not counted)\n",
                below);
    return 0;
}
