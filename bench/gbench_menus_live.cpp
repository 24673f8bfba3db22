// The main window's menus as they open on the screen: the form's own menu engine shows the File
// popup and the skin popup in their popup windows (built, placed, region set, shown without
// activation, painted once pending events have run), then closes them again. In the WinAqua skin
// and in the default look. Reported as time per open, real and CPU; afterwards the resident
// memory before and after 1,000 more opens of each.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "MemoryGrowth.h"
#include "app/MainFrm.h"
#include "runtime/Application.h"
#include "skin/form/skSkinMenu.h"

namespace fs = std::filesystem;

namespace {

std::unique_ptr<app::TMainForm> gForm;

// Opens the popup of `menu` (0 File, 1 skin) below the window's top-left corner and closes it;
// false when nothing was shown.
bool OpenAndClose(sk::TskSkinData* data, int menu) {
    sk::TskSkinForm* f = gForm->skSkinForm1;
    rt::TMenuItem* items = menu == 0 ? gForm->File1 : gForm->skSkinPopupMenu1->Items();
    const rt::TPoint at = gForm->ClientToScreen({40, 40});
    f->PopupMenu(nullptr, data, false, items, rt::Rect(at.X, at.Y, at.X + 40, at.Y + 20));
    rt::Application()->ProcessMessages();
    sk::TskSkinPopupWindow* w = f->SkinMenu()->PopupWindow(0);
    const bool shown = w != nullptr && w->Visible();
    f->SkinMenu()->CloseAll();
    rt::Application()->ProcessMessages();
    return shown;
}

sk::TskSkinData* Skin(const benchmark::State& state) {
    return state.range(0) == 1 ? gForm->skSkinData1 : nullptr;
}

void BM_MenuOpen(benchmark::State& state) {
    sk::TskSkinData* data = Skin(state);
    const int menu = int(state.range(1));
    bool shown = true;
    for (auto _ : state) shown = OpenAndClose(data, menu) && shown;
    if (!shown) state.SkipWithError("a popup was not shown");
}

BENCHMARK(BM_MenuOpen)
    ->ArgsProduct({{1, 0}, {0, 1}})
    ->ArgNames({"skinned", "skinmenu"})
    ->Unit(benchmark::kMicrosecond);

void ReportMemory() {
    auto thousand = [] {
        for (int i = 0; i < 1000; ++i)
            for (sk::TskSkinData* data :
                 {gForm->skSkinData1, static_cast<sk::TskSkinData*>(nullptr)})
                for (int menu : {0, 1}) OpenAndClose(data, menu);
    };
    ReportMemoryGrowth(thousand);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    rt::TApplication app(argc, argv);
    // The window reads and writes its settings and its "no frame" picture in a folder of its own.
    const fs::path dir =
        fs::temp_directory_path() / ("framora-bench-menus-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    fs::copy_file(fs::path(FRAMORA_SOURCE_DIR) / "resources/noframe.jpg", dir / "noframe.jpg",
                  fs::copy_options::overwrite_existing);
    gForm = std::make_unique<app::TMainForm>(nullptr, dir.string() + "/");
    gForm->Show();
    app.ProcessMessages();
    std::printf("skin: %s\n", gForm->skSkinData1->SkinName.c_str());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ReportMemory();
    gForm.reset();
    fs::remove_all(dir);
    return 0;
}
