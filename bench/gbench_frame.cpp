// Live resizing of a form's frame: per step the new size's geometry and layout, the border
// strips, the window region from the mask and one frame paint onto the window's paint buffer.
// The skinned frame uses a skin painted in code with a mask; the default frame is the one
// without a skin. "Grow" steps a 532 x 336 form up to 1920 x 1080 and back; "Full" sizes
// between 1919 and 1920 x 1080, a new size every step. Reported as steps per second of CPU
// time, then the skinned-to-default cost ratios.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../tests/skin/form/FormFakes.h"
#include "../tests/skin/form/FormTestSkin.h"
#include "runtime/Application.h"
#include "skin/form/skSkinForm.h"

namespace {

constexpr int kSteps = 64;

struct Resizing {
    formtest::FakeWindow::State state;
    std::unique_ptr<sk::TskSkinData> skin;
    std::unique_ptr<sk::TskSkinForm> form;
    rt::TBitmap buffer{1920, 1080};

    explicit Resizing(bool skinned) {
        state.bounds = rt::Bounds(0, 0, 532, 336);
        state.caption = "Framora - clip.avi";
        state.workArea = state.screen = rt::Rect(0, 0, 1920, 1080);
        form = std::make_unique<sk::TskSkinForm>(nullptr);
        form->SetWindow(std::make_unique<formtest::FakeWindow>(state));
        if (skinned) {
            skin = formtest::MakeSkinData();
            form->SetSkinData(skin.get());
        }
        form->NcActivate(true);
    }

    // One step of a live resize to w x h.
    void Step(int w, int h) {
        rt::TRect r = rt::Bounds(0, 0, w, h);
        form->Sizing(r);
        state.bounds = r;
        form->PaintFrame(buffer.Canvas());
        benchmark::DoNotOptimize(buffer.Pixels().data());
    }
};

std::vector<rt::TPoint> GrowSizes() {
    std::vector<rt::TPoint> sizes;
    for (int i = 0; i <= kSteps; ++i)
        sizes.push_back({532 + (1920 - 532) * i / kSteps, 336 + (1080 - 336) * i / kSteps});
    for (int i = kSteps - 1; i > 0; --i) sizes.push_back(sizes[std::size_t(i)]);
    return sizes;
}

void Run(benchmark::State& st, bool skinned, bool full) {
    Resizing r(skinned);
    if (skinned && !r.form->Skinned()) st.SkipWithError("skin not applied");
    const std::vector<rt::TPoint> grow = GrowSizes();
    std::size_t i = 0;
    for (auto _ : st) {
        if (full)
            r.Step(1919 + int(i & 1), 1080);
        else
            r.Step(grow[i % grow.size()].X, grow[i % grow.size()].Y);
        ++i;
    }
    st.counters["steps/s"] =
        benchmark::Counter(double(st.iterations()), benchmark::Counter::kIsRate);
}

void BM_GrowSkinned(benchmark::State& st) { Run(st, true, false); }
void BM_GrowDefault(benchmark::State& st) { Run(st, false, false); }
void BM_FullSkinned(benchmark::State& st) { Run(st, true, true); }
void BM_FullDefault(benchmark::State& st) { Run(st, false, true); }

BENCHMARK(BM_GrowSkinned)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GrowDefault)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullSkinned)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullDefault)->Unit(benchmark::kMicrosecond);

// Collects the median CPU time per step of each benchmark (with repetitions, their median):
// on a shared machine the wall time mostly measures the other programs.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const std::string name = run.benchmark_name();
            const bool aggregate = run.run_type == Run::RT_Aggregate;
            if (aggregate && run.aggregate_name != "median") continue;
            const std::string base = name.substr(0, name.find('_', 3));
            times_[base] = run.GetAdjustedCPUTime();
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        auto ratio = [&](const char* a, const char* b) {
            if (times_.count(a) == 0 || times_.count(b) == 0 || times_[b] <= 0) return;
            std::printf("%s / %s cost (CPU time): %.2f\n", a, b, times_[a] / times_[b]);
        };
        ratio("BM_GrowSkinned", "BM_GrowDefault");
        ratio("BM_FullSkinned", "BM_FullDefault");
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    rt::TApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
