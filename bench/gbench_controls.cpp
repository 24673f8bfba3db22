// Full repaint of skinned controls, each into its own off-screen bitmap as the screen would get
// it, once skinned and once without a skin: the main window's set (track bar, gauge, two panels,
// two labels) and the dialog controls (push button, scroll bar, rolling caption panel) with a
// small skin painted in code, and the main window's six tool buttons with the built-in skin
// WinAqua. Unless told otherwise the runs are repeated in random interleaving, and after the
// table the median repaint time of each skinned set is printed as a multiple of the same set's
// default look.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../tests/skin/controls/ControlTestSkin.h"
#include "../tests/skin/controls/DialogControlsSkin.h"
#include "MedianRuns.h"
#include "app/MainFrm.h"
#include "runtime/Application.h"
#include "skin/controls/skSkinButton.h"
#include "skin/controls/skSkinExPanel.h"
#include "skin/controls/skSkinScrollBar.h"

namespace {

std::unique_ptr<app::TMainForm> gForm;
std::unique_ptr<sk::TskStoredSkin> gSkin;

// The dialog controls twice on one form: one set painting from a skin, one without.
struct DialogSet {
    sk::TskSkinButton* button = nullptr;
    sk::TskSkinScrollBar* scrollBar = nullptr;
    sk::TskSkinExPanel* panel = nullptr;
};
std::unique_ptr<rt::TForm> gDialog;
std::unique_ptr<sk::TskStoredSkin> gDialogSkin;
DialogSet gSkinned, gPlain;

DialogSet MakeDialogSet(sk::TskSkinData* data) {
    DialogSet s;
    s.button = new sk::TskSkinButton(gDialog.get());
    s.button->SetCaption("&Cancel");
    s.scrollBar = new sk::TskSkinScrollBar(gDialog.get());
    s.scrollBar->SetBounds(0, 40, 300, 19);
    s.scrollBar->SetRange(0, 99, 20, 40);
    s.panel = new sk::TskSkinExPanel(gDialog.get());
    s.panel->SetBounds(0, 80, 200, 150);
    s.panel->SetCaption("Folders");
    s.button->SetParent(gDialog.get());
    s.scrollBar->SetParent(gDialog.get());
    s.panel->SetParent(gDialog.get());
    if (data != nullptr) {
        s.button->SetSkinData(data);
        s.scrollBar->SetSkinData(data);
        s.panel->SetSkinData(data);
    }
    return s;
}

void Repaint(benchmark::State& state, const std::vector<rt::TControl*>& controls) {
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

// The main window's six tool buttons, in the built-in skin WinAqua and without a skin.
void ToolButtons(benchmark::State& state, bool skinned) {
    app::TMainForm& f = *gForm;
    if (skinned)
        f.mSkinWinAquaClick(nullptr);
    else
        f.mSkinNoSkinClick(nullptr);
    if ((f.skSkinSpeedButton1->SkinIndex() != -1) != skinned)
        state.SkipWithError("unexpected skin state");
    Repaint(state, {f.skSkinSpeedButton1, f.skSkinSpeedButton2, f.skSkinSpeedButton3,
                    f.skSkinSpeedButton4, f.skSkinMenuSpeedButton1, f.skSkinSpeedButton5});
}

std::vector<rt::TControl*> MainControls() {
    app::TMainForm& f = *gForm;
    f.ProgressBar1->SetProgressText("Cutting ... Please wait ...");
    f.ProgressBar1->SetValue(40);
    return {f.TrackBar1,    f.ProgressBar1, f.skSkinPanel1,
            f.skSkinPanel2, f.skSkinLabel1, f.skSkinLabel2};
}

void MainSet(benchmark::State& state, bool skinned) {
    if (skinned)
        gForm->skSkinData1->LoadStoredSkin(gSkin.get());
    else
        gForm->skSkinData1->ClearSkin();
    if (skinned && gForm->TrackBar1->SkinIndex() == -1) state.SkipWithError("skin not applied");
    Repaint(state, MainControls());
}

template <class T>
void DialogControl(benchmark::State& state, T* DialogSet::*member, bool skinned) {
    T* c = (skinned ? gSkinned : gPlain).*member;
    c->FindSkinObject();
    if ((c->SkinIndex() != -1) != skinned) state.SkipWithError("unexpected skin state");
    Repaint(state, {c});
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    rt::TApplication app(argc, argv);
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("framora-bench-controls-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    gForm = std::make_unique<app::TMainForm>(nullptr, dir.string() + "/");
    gSkin = controltest::MakeStoredSkin();
    gDialog = std::make_unique<rt::TForm>(nullptr);
    gDialog->SetBounds(0, 0, 400, 300);
    auto* dialogData = new sk::TskSkinData(gDialog.get());
    gDialogSkin = dialogskin::MakeStoredSkin();
    dialogData->LoadStoredSkin(gDialogSkin.get());
    gSkinned = MakeDialogSet(dialogData);
    gPlain = MakeDialogSet(nullptr);

    for (bool skinned : {false, true}) {
        const std::string look = skinned ? "Skinned" : "NoSkin";
        benchmark::RegisterBenchmark(("BM_Main" + look).c_str(), MainSet, skinned)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("BM_Button" + look).c_str(), DialogControl<sk::TskSkinButton>,
                                     &DialogSet::button, skinned)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("BM_ScrollBar" + look).c_str(),
                                     DialogControl<sk::TskSkinScrollBar>, &DialogSet::scrollBar,
                                     skinned)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("BM_ExPanel" + look).c_str(),
                                     DialogControl<sk::TskSkinExPanel>, &DialogSet::panel, skinned)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("BM_ToolButtons" + look).c_str(), ToolButtons, skinned)
            ->Unit(benchmark::kMicrosecond);
    }

    MedianReporter reporter;
    if (!RunInterleaved(argc, argv, 7, reporter)) return 1;

    // Processor time decides: on a shared machine the wall clock also counts other work.
    std::printf(
        "\nMedian repaint per control set, skinned / default look (target: at most 2.00):\n");
    std::printf("  %-12s %12s %12s %7s %12s\n", "set", "skinned cpu", "default cpu", "ratio",
                "ratio real");
    for (const char* set : {"Main", "Button", "ScrollBar", "ExPanel", "ToolButtons"}) {
        const std::string plainName = std::string("BM_") + set + "NoSkin";
        const std::string skinnedName = std::string("BM_") + set + "Skinned";
        const double plain = MedianReporter::Median(reporter.cpu, plainName);
        const double skinned = MedianReporter::Median(reporter.cpu, skinnedName);
        const double plainReal = MedianReporter::Median(reporter.real, plainName);
        const double skinnedReal = MedianReporter::Median(reporter.real, skinnedName);
        if (plain <= 0 || skinned <= 0 || plainReal <= 0) continue;
        std::printf("  %-12s %9.2f us %9.2f us %7.2f %12.2f%s\n", set, skinned, plain,
                    skinned / plain, skinnedReal / plainReal,
                    skinned / plain > 2.0 ? "  (above target)" : "");
    }
    gDialog.reset();
    gForm.reset();
    std::filesystem::remove_all(dir);
    return 0;
}
