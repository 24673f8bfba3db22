// The files the main window reads at start and close: a 10 MB settings file (start reads the
// skin choice, close writes a new one) and the placeholder picture, as shipped and as a small
// file claiming 8192 x 8192 pixels (decoded at the scale it is shown at, 233 x 177).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/Classes.h"
#include "runtime/Graphics.h"
#include "runtime/IniFiles.h"

namespace fs = std::filesystem;

namespace {

fs::path Scratch(const std::string& name) {
    fs::path dir = fs::temp_directory_path() / ("framora-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir / name;
}

fs::path TenMegabyteSettings() {
    static const fs::path file = [] {
        fs::path f = Scratch("framora.ini");
        std::string text;
        for (int i = 0; text.size() < 10'000'000; ++i) {
            const std::string n = std::to_string(i);
            text += "[Section" + n + "]\r\nname=value " + n + "\r\n";
        }
        text += "[Options]\r\nSkin=3\r\n";
        std::ofstream(f, std::ios::binary) << text;
        return f;
    }();
    return file;
}

void BM_SettingsStart(benchmark::State& state) {
    const std::string file = TenMegabyteSettings();
    for (auto _ : state) {
        rt::TIniFile ini(file);
        benchmark::DoNotOptimize(ini.ReadInteger("Options", "Skin", 1));
    }
}
BENCHMARK(BM_SettingsStart)->Unit(benchmark::kMillisecond);

// Start and close as the main window does them: one read, then one write of another choice.
void BM_SettingsStartAndClose(benchmark::State& state) {
    const std::string file = TenMegabyteSettings();
    int choice = 1;
    for (auto _ : state) {
        rt::TIniFile ini(file);
        benchmark::DoNotOptimize(ini.ReadInteger("Options", "Skin", 1));
        ini.WriteInteger("Options", "Skin", choice = choice % 4 + 1);
    }
}
BENCHMARK(BM_SettingsStartAndClose)->Unit(benchmark::kMillisecond);

std::vector<std::uint8_t> Placeholder(bool huge) {
    std::vector<std::uint8_t> b =
        rt::ReadFileBytes(std::string(FRAMORA_SOURCE_DIR) + "/resources/noframe.jpg");
    if (!huge) return b;
    for (std::size_t i = 0; i + 8 < b.size(); ++i)
        if (b[i] == 0xFF && (b[i + 1] == 0xC0 || b[i + 1] == 0xC2)) {
            b[i + 5] = b[i + 7] = 0x20;  // 8192
            b[i + 6] = b[i + 8] = 0x00;
            break;
        }
    return b;
}

void BM_Placeholder(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = Placeholder(state.range(0) != 0);
    for (auto _ : state) {
        rt::TJPEGImage j;
        j.LoadFromMemory(bytes.data(), bytes.size(), 233, 177);
        state.counters["bitmap_MB"] =
            double(j.Bitmap().Pixels().size() * sizeof(std::uint32_t)) / (1 << 20);
    }
}
BENCHMARK(BM_Placeholder)->ArgName("claims_8192")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(Scratch("").parent_path(), ec);
    return 0;
}
