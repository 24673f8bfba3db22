// Full repaint of the main window's skinned controls (track bar, gauge, two panels, two
// labels), each into its own off-screen bitmap as the screen would get it: once with a small
// skin loaded and once with no skin. Reported as repaints of the whole set per second.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "../tests/skin/controls/ControlTestSkin.h"
#include "app/MainFrm.h"
#include "runtime/Application.h"

namespace {

std::unique_ptr<app::TMainForm> gForm;
std::unique_ptr<sk::TskStoredSkin> gSkin;

void RepaintAll(benchmark::State& state) {
    app::TMainForm& f = *gForm;
    rt::TControl* controls[] = {f.TrackBar1,    f.ProgressBar1, f.skSkinPanel1,
                                f.skSkinPanel2, f.skSkinLabel1, f.skSkinLabel2};
    std::int64_t pixels = 0;
    for (auto _ : state) {
        for (rt::TControl* c : controls) {
            rt::TBitmap b = c->PaintToBitmap();
            benchmark::DoNotOptimize(b.Pixels().data());
            pixels += std::int64_t(b.Width()) * b.Height();
        }
    }
    state.counters["fps"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["px/frame"] =
        double(pixels) / double(std::max<std::int64_t>(1, state.iterations()));
}

void BM_ControlsNoSkin(benchmark::State& state) {
    gForm->skSkinData1->ClearSkin();
    gForm->ProgressBar1->SetProgressText("Cutting ... Please wait ...");
    gForm->ProgressBar1->SetValue(40);
    RepaintAll(state);
}

void BM_ControlsSkinned(benchmark::State& state) {
    gForm->skSkinData1->LoadStoredSkin(gSkin.get());
    gForm->ProgressBar1->SetProgressText("Cutting ... Please wait ...");
    gForm->ProgressBar1->SetValue(40);
    if (gForm->TrackBar1->SkinIndex() == -1) state.SkipWithError("skin not applied");
    RepaintAll(state);
}

BENCHMARK(BM_ControlsNoSkin)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ControlsSkinned)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    rt::TApplication app(argc, argv);
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("framora-bench-controls-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    gForm = std::make_unique<app::TMainForm>(nullptr, dir.string() + "/");
    gSkin = controltest::MakeStoredSkin();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gForm.reset();
    std::filesystem::remove_all(dir);
    return 0;
}
