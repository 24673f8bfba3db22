// Loading a compressed skin: inflate, bitmap decoding, description parsing and every skin
// object, against a bare zlib inflate of the same container. Measured for the three built-in
// skins the main window carries, and for a generated skin of the make-up of the original
// built-ins (8-bit pictures, a 24-bit one, a 1-bit mask, a description of a few hundred
// objects, about 250 kB inflated). Then the skin switch in the running main window: the three
// change messages and the repaint of every control.

#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zlib.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "BuiltinSkins.h"
#include "app/MainFrm.h"
#include "runtime/Application.h"
#include "runtime/BmpCodec.h"
#include "runtime/Classes.h"
#include "skin/data/skSkinData.h"

namespace {

// Art-like pixels: soft gradients with a little texture, in at most `colours` colours.
void WritePicture(const std::string& path, int w, int h, int bits, int colours, int seed) {
    rt::BmpImage img;
    img.width = w;
    img.height = h;
    img.bitCount = bits;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (bits == 1) {
                bool inside = x > 3 && y > 3 && x < w - 4 && y < h - 4;
                img.pixels.push_back(inside || (x + y) % 7 == 0 ? 0 : 0xFFFFFF);
                continue;
            }
            double v = 0.5 + 0.25 * std::sin((x + seed) * 0.05) + 0.2 * std::cos(y * 0.07) +
                       0.05 * (((x * 7 + y * 13 + seed) % 5) - 2) / 2.0;
            int level = std::clamp(int(v * colours), 0, colours - 1);
            int r = level * 255 / std::max(1, colours - 1);
            std::uint32_t c = std::uint32_t(r) << 16 | std::uint32_t((r + seed * 40) & 255) << 8 |
                              std::uint32_t((255 - r) & 255);
            img.pixels.push_back(c);
        }
    }
    std::vector<std::uint8_t> bytes = rt::EncodeBmp(img);
    rt::WriteFileBytesAtomic(path, bytes.data(), bytes.size());
}

std::string Description(int activeCount) {
    std::string t =
        "[VERSION]\r\nver=1\r\nskinname=Bench\r\nskinauthor=Framora\r\n\r\n[PICTURES]\r\n"
        "picture=main.bmp\r\ninactivepicture=\r\nmask=mask.bmp\r\n";
    t += "activepicturescount=" + std::to_string(activeCount) + "\r\n";
    for (int i = 0; i < activeCount; ++i)
        t += std::to_string(i) + "=active" + std::to_string(i) + ".bmp\r\n";
    t += "\r\n[FORMINFO]\r\nlefttoppoint=10,30\r\nrighttoppoint=290,30\r\nleftbottompoint=10,"
         "190\r\nrightbottompoint=290,190\r\nclientrect=10,30,290,190\r\nborderwidth=4\r\n"
         "inactiveeffect=iedarkness\r\n\r\n[POPUPWINDOW]\r\nwindowpictureindex=0\r\n"
         "itemsrect=4,4,60,60\r\n\r\n[HINTWINDOW]\r\nwindowpictureindex=0\r\nclientrect=2,2,"
         "30,30\r\n\r\n";
    const char* objectKinds[] = {"stdbutton", "caption", "menuitem", "mainmenubaritem", "button"};
    const char* controlKinds[] = {"button",    "panel",   "trackbar", "gauge",      "label",
                                  "scrollbar", "listbox", "edit",     "checkradio", "combobox"};
    const int objects = 40, controls = 110;
    t += "[SKINOBJECTS]\r\ncount=" + std::to_string(objects) + "\r\n";
    for (int i = 0; i < objects; ++i)
        t += std::to_string(i) + "=obj" + std::to_string(i) + ":" + objectKinds[i % 5] + "\r\n";
    t += "\r\n[SKINCONTROLS]\r\ncount=" + std::to_string(controls) + "\r\n";
    for (int i = 0; i < controls; ++i)
        t += std::to_string(i) + "=ctl" + std::to_string(i) + ":" + controlKinds[i % 10] + "\r\n";
    // Sections of about 190 bytes: the description comes to about 29 kB, as in the built-ins.
    auto section = [&](const std::string& name, int i) {
        t += "\r\n[" + name + "]\r\npictureindex=" + std::to_string(i % activeCount) +
             "\r\nskinrect=0,0,48,20\r\nactiveskinrect=48,0,96,20\r\nlefttoppoint=3,3\r\n"
             "rightbottompoint=45,17\r\nclientrect=3,3,45,17\r\nfontname=Tahoma\r\n"
             "fontstyle=fsbold\r\nactivefontcolor=16777215\r\nmorphkind=mkgradient\r\n";
    };
    for (int i = 0; i < objects; ++i) section("obj" + std::to_string(i), i);
    for (int i = 0; i < controls; ++i) section("ctl" + std::to_string(i), i);
    return t;
}

struct BenchSkin {
    std::unique_ptr<sk::TskCompressedStoredSkin> container;
    std::size_t inflatedSize = 0;
    std::size_t textSize = 0;
};

BenchSkin& Skin() {
    static BenchSkin skin = [] {
        std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("framora-bench-skin-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        const std::string d = dir.string() + "/";
        WritePicture(d + "main.bmp", 320, 240, 8, 200, 0);
        WritePicture(d + "mask.bmp", 320, 240, 1, 2, 0);
        WritePicture(d + "active0.bmp", 300, 200, 8, 180, 1);
        WritePicture(d + "active1.bmp", 200, 120, 8, 120, 2);
        WritePicture(d + "active2.bmp", 60, 50, 24, 256, 3);
        WritePicture(d + "active3.bmp", 160, 60, 8, 64, 4);
        BenchSkin s;
        rt::TStringList lines;
        lines.SetText(Description(4));
        lines.SaveToFile(d + "skin.ini");
        s.textSize = lines.Text().size();
        s.container = std::make_unique<sk::TskCompressedStoredSkin>(nullptr);
        s.container->LoadFromIniFile(d + "skin.ini");
        std::filesystem::remove_all(dir);
        rt::TMemoryStream inflated;
        s.container->DecompressToStream(inflated);
        s.inflatedSize = inflated.Bytes().size();
        return s;
    }();
    return skin;
}

void BM_LoadWholeSkin(benchmark::State& state) {
    BenchSkin& skin = Skin();
    sk::TskSkinData data(nullptr);
    for (auto _ : state) {
        data.LoadCompressedStoredSkin(skin.container.get());
        benchmark::DoNotOptimize(data.Skin().CtrlList.data());
    }
    if (data.Empty() || data.Skin().CtrlList.size() != 110 || data.Skin().ObjectList.size() != 40)
        state.SkipWithError("the bench skin did not load completely");
    state.counters["inflated_kB"] = double(skin.inflatedSize) / 1000.0;
    state.counters["text_kB"] = double(skin.textSize) / 1000.0;
    state.counters["compressed_kB"] =
        double(skin.container->CompressedData().Bytes().size()) / 1000.0;
}

void BM_BareInflate(benchmark::State& state) {
    BenchSkin& skin = Skin();
    const auto& z = skin.container->CompressedData().Bytes();
    std::vector<std::uint8_t> out(skin.inflatedSize);
    for (auto _ : state) {
        uLongf len = uLongf(out.size());
        int rc = uncompress(out.data(), &len, z.data(), uLong(z.size()));
        if (rc != Z_OK || len != out.size()) state.SkipWithError("inflate failed");
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_StreamInflate(benchmark::State& state) {
    BenchSkin& skin = Skin();
    for (auto _ : state) {
        rt::TMemoryStream out;
        skin.container->DecompressToStream(out);
        benchmark::DoNotOptimize(out.Memory());
    }
}

BENCHMARK(BM_LoadWholeSkin)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareInflate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StreamInflate)->Unit(benchmark::kMicrosecond);

// The main window, shown offscreen; its containers hold the built-in skins.
app::TMainForm* g_form = nullptr;

sk::TskCompressedStoredSkin* Builtin(const std::string& name) {
    for (const app::TMainForm::TSkinChoice& c : app::TMainForm::SkinChoices())
        if (c.Stored != nullptr && name == c.Name) return g_form->*c.Stored;
    return nullptr;
}

std::size_t InflatedSize(const sk::TskCompressedStoredSkin& c) {
    rt::TMemoryStream out;
    c.DecompressToStream(out);
    return out.Bytes().size();
}

void BM_LoadBuiltin(benchmark::State& state, const std::string& name) {
    sk::TskCompressedStoredSkin* c = Builtin(name);
    sk::TskSkinData data(nullptr);
    for (auto _ : state) {
        data.LoadCompressedStoredSkin(c);
        benchmark::DoNotOptimize(data.Skin().CtrlList.data());
    }
    if (data.Empty() || data.SkinName != name) state.SkipWithError("the skin did not load");
    state.counters["compressed_kB"] = double(c->CompressedData().Bytes().size()) / 1000.0;
    state.counters["inflated_kB"] = double(InflatedSize(*c)) / 1000.0;
}

void BM_BareInflateBuiltin(benchmark::State& state, const std::string& name) {
    const auto& z = Builtin(name)->CompressedData().Bytes();
    std::vector<std::uint8_t> out(InflatedSize(*Builtin(name)));
    for (auto _ : state) {
        uLongf len = uLongf(out.size());
        int rc = uncompress(out.data(), &len, z.data(), uLong(z.size()));
        if (rc != Z_OK || len != out.size()) state.SkipWithError("inflate failed");
        benchmark::DoNotOptimize(out.data());
    }
}

// One skin change chosen from the Skin menu, with the repaint it causes.
void BM_SwitchSkinInMainWindow(benchmark::State& state) {
    void (app::TMainForm::*clicks[])(rt::TComponent*) = {&app::TMainForm::mSkinWinxpblueClick,
                                                         &app::TMainForm::mSkinWistlerClick,
                                                         &app::TMainForm::mSkinWinAquaClick};
    std::size_t i = 0;
    for (auto _ : state) {
        (g_form->*clicks[i++ % 3])(nullptr);
        rt::Application()->ProcessMessages();
    }
}

void RegisterBuiltins() {
    for (const sk::TskBuiltinSkin& builtIn : sk::kBuiltinSkins) {
        const std::string name = builtIn.Name;
        benchmark::RegisterBenchmark((std::string("BM_LoadBuiltin/") + name).c_str(),
                                     BM_LoadBuiltin, std::string(name))
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("BM_BareInflateBuiltin/") + name).c_str(),
                                     BM_BareInflateBuiltin, std::string(name))
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark("BM_SwitchSkinInMainWindow", BM_SwitchSkinInMainWindow)
        ->Unit(benchmark::kMillisecond);
}

// Console output plus the load-to-inflate ratio at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        // One figure per benchmark: the median when repeated, else the single run.
        for (const Run& r : runs) {
            const std::string name = r.run_name.function_name;
            const bool take = (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median") ||
                              (r.run_type == Run::RT_Iteration && r.repetitions <= 1);
            if (take) {
                perIteration_[name] = r.GetAdjustedRealTime();
                cpu_[name] = r.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        // Both clocks: on a shared machine the wall clock also counts other programs' time.
        auto ratio = [&](const std::string& load, const std::string& bare, const char* what) {
            auto l = perIteration_.find(load);
            auto b = perIteration_.find(bare);
            if (l != perIteration_.end() && b != perIteration_.end() && b->second > 0)
                std::printf("%s: whole load / bare inflate = %.2f wall, %.2f CPU (target <= 3)\n",
                            what, l->second / b->second, cpu_[load] / cpu_[bare]);
        };
        ratio("BM_LoadWholeSkin", "BM_BareInflate", "generated skin");
        for (const sk::TskBuiltinSkin& builtIn : sk::kBuiltinSkins)
            ratio(std::string("BM_LoadBuiltin/") + builtIn.Name,
                  std::string("BM_BareInflateBuiltin/") + builtIn.Name, builtIn.Name);
        auto sw = perIteration_.find("BM_SwitchSkinInMainWindow");
        if (sw != perIteration_.end())
            std::printf("skin switch in the main window: %.2f ms wall, %.2f ms CPU (target < 30)\n",
                        sw->second, cpu_["BM_SwitchSkinInMainWindow"]);
    }

private:
    std::map<std::string, double> perIteration_;
    std::map<std::string, double> cpu_;
};

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    rt::TApplication app(argc, argv);
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("framora-bench-app-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    {
        app::TMainForm form(nullptr, dir.string() + "/");
        form.Show();
        app.ProcessMessages();
        g_form = &form;
        RegisterBuiltins();
        RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        g_form = nullptr;
    }
    std::filesystem::remove_all(dir);
    benchmark::Shutdown();
    return 0;
}
