// File > Open and File > Close of the main window, as the user does them: the open dialog
// answers with the given file, the window probes it, shows its pictures and closes it again.
// Reported as time per cycle, then the resident memory every 100 cycles over 500 more, after
// 20 cycles that warm every cache.
//
//     bench_openclose <media file> [benchmark options]

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "MemoryGrowth.h"
#include "app/MainFrm.h"
#include "media/LibraryLogs.h"
#include "runtime/Application.h"
#include "skin/dialogs/skFileDialog.h"

namespace fs = std::filesystem;

namespace {

std::unique_ptr<app::TMainForm> gForm;
std::string gFile;
int gFailures = 0;

void OpenAndClose() {
    gForm->Open1Click(gForm->Open1);
    rt::Application()->ProcessMessages();
    if (gForm->Caption().find(gFile) == std::string::npos) ++gFailures;
    gForm->Close1Click(gForm->Close1);
    rt::Application()->ProcessMessages();
}

void BM_OpenClose(benchmark::State& state) {
    for (auto _ : state) OpenAndClose();
    if (gFailures > 0) state.SkipWithError("the file did not open");
}

BENCHMARK(BM_OpenClose)->Unit(benchmark::kMillisecond);

void ReportMemory() {
    std::printf("resident memory before: %ld kB\n", ResidentKb());
    for (int i = 0; i < 20; ++i) OpenAndClose();
    const long start = ResidentKb();
    std::printf("resident memory after 20 warm-up cycles: %ld kB\n", start);
    for (int done = 100; done <= 500; done += 100) {
        for (int i = 0; i < 100; ++i) OpenAndClose();
        const long now = ResidentKb();
        std::printf("after %d more cycles: %ld kB (%+.1f kB a cycle)\n", done, now,
                    double(now - start) / done);
    }
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    rt::TApplication app(argc, argv);
    media::QuietLibraryLogs();
    if (argc < 2 || !fs::is_regular_file(argv[1])) {
        std::fprintf(stderr, "usage: %s <media file> [benchmark options]\n", argv[0]);
        return 2;
    }
    gFile = argv[1];
    app.MessageBoxHandler = [](const std::string& text, const std::string&, int) {
        std::fprintf(stderr, "message: %s\n", text.c_str());
        ++gFailures;
        return int(rt::mrOk);
    };
    sk::TskSkinOpenDialog::Driver = [](sk::TskSkinOpenDialog& d) {
        d.FileName = gFile;
        return true;
    };
    // The window keeps its settings and pictures in a folder of its own.
    const fs::path dir =
        fs::temp_directory_path() / ("framora-bench-openclose-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    fs::copy_file(fs::path(FRAMORA_SOURCE_DIR) / "resources/noframe.jpg", dir / "noframe.jpg",
                  fs::copy_options::overwrite_existing);
    gForm = std::make_unique<app::TMainForm>(nullptr, dir.string() + "/");
    gForm->Show();
    app.ProcessMessages();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ReportMemory();
    gForm.reset();
    sk::TskSkinOpenDialog::Driver = nullptr;
    fs::remove_all(dir);
    if (gFailures > 0) std::printf("%d opens failed\n", gFailures);
    return gFailures > 0 ? 1 : 0;
}
