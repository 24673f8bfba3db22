// Opening and closing the main window's File popup and its skin popup through the menu
// engine's cascade: each open builds the popup (items, size, layout, region), places it and
// paints it once into its off-screen bitmap, as its window will on showing; then every popup
// closes. Once with a small skin painted in code, once without a skin. Reported as time per
// open; afterwards the resident memory before and after 1,000 more opens of each.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "../tests/skin/form/MenuTestSkin.h"
#include "MemoryGrowth.h"
#include "runtime/Application.h"
#include "runtime/Menus.h"
#include "skin/form/skMenuCascade.h"

namespace {

class PaintingHost : public sk::TskMenuCascadeHost {
public:
    void PopupShown(int, sk::TskSkinPopupView& view) override {
        view.Paint(buffer_);
        benchmark::DoNotOptimize(buffer_.Pixels().data());
    }
    void PopupClosing(int, sk::TskSkinPopupView&) override {}
    void PopupChanged(int, sk::TskSkinPopupView&) override {}
    void SetTimer(sk::TskMenuTimer, sk::TskSkinPopupView*, bool) override {}
    void CascadeClosed() override {}
    void AllClosed() override {}

private:
    rt::TBitmap buffer_;
};

struct Menus {
    rt::TPopupMenu file{nullptr};
    rt::TPopupMenu skins{nullptr};
    Menus() {
        auto add = [](rt::TPopupMenu& m, const char* caption, bool radio = false) {
            auto* item = new rt::TMenuItem(&m);
            item->Caption = caption;
            item->RadioItem = radio;
            m.Items()->Add(item);
            return item;
        };
        add(file, "&Open");
        add(file, "&Close");
        add(file, "-");
        add(file, "E&xit");
        add(skins, "WinAqua", true)->SetChecked(true);
        add(skins, "Winxpblue", true);
        add(skins, "Wistler", true);
        add(skins, "-");
        add(skins, "No Skin", true);
    }
};

std::unique_ptr<Menus> gMenus;
std::unique_ptr<sk::TskStoredSkin> gStored;
std::unique_ptr<sk::TskSkinData> gSkin;

const rt::TRect kScreen = rt::Rect(0, 0, 1280, 800);

void OpenAndClose(sk::TskMenuCascade& cascade, sk::TskSkinData* data, rt::TPopupMenu& menu) {
    cascade.Popup(data, false, menu.Items(), rt::Rect(20, 40, 80, 60), 0, kScreen);
    cascade.CloseAll();
}

void Run(benchmark::State& state, sk::TskSkinData* data) {
    PaintingHost host;
    sk::TskMenuCascade cascade(host);
    rt::TPopupMenu& menu = state.range(0) == 0 ? gMenus->file : gMenus->skins;
    for (auto _ : state) OpenAndClose(cascade, data, menu);
}

void BM_OpenSkinned(benchmark::State& state) { Run(state, gSkin.get()); }
void BM_OpenDefault(benchmark::State& state) { Run(state, nullptr); }

BENCHMARK(BM_OpenSkinned)->Arg(0)->Arg(1)->ArgName("skinmenu")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenDefault)->Arg(0)->Arg(1)->ArgName("skinmenu")->Unit(benchmark::kMicrosecond);

void ReportMemory() {
    PaintingHost host;
    sk::TskMenuCascade cascade(host);
    auto thousand = [&] {
        for (int i = 0; i < 1000; ++i)
            for (sk::TskSkinData* data : {gSkin.get(), static_cast<sk::TskSkinData*>(nullptr)}) {
                OpenAndClose(cascade, data, gMenus->file);
                OpenAndClose(cascade, data, gMenus->skins);
            }
    };
    ReportMemoryGrowth(thousand);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    rt::TApplication app(argc, argv);
    gMenus = std::make_unique<Menus>();
    gStored = menutest::MakeStoredSkin();
    gSkin = std::make_unique<sk::TskSkinData>(nullptr);
    gSkin->LoadStoredSkin(gStored.get());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ReportMemory();
    gSkin.reset();
    gMenus.reset();
    return 0;
}
