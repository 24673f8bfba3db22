// The window model's cost while sizing: each step gives a shown form with the plain frame a
// new size (size limits, WM_NCCALCSIZE, realign, WM_SIZE) and repaints it at once, frame and
// client, from 532 x 336 up to 1920 x 1080 and back; and the repaint of one 17 x 17 piece of
// the frame outside a full paint, as an animation step does. Offscreen; reported per second.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "runtime/Application.h"
#include "runtime/Controls.h"

namespace {

std::unique_ptr<rt::TForm> gForm;

void BM_SizeStep(benchmark::State& state) {
    rt::TForm& f = *gForm;
    const int steps = 32;
    int i = 0, dir = 1;
    for (auto _ : state) {
        const int w = 532 + (1920 - 532) * i / steps, h = 336 + (1080 - 336) * i / steps;
        f.SetBounds(0, 0, w, h);
        f.RepaintNonClient(rt::Rect(0, 0, w, h));
        f.Repaint();
        i += dir;
        if (i == steps || i == 0) dir = -dir;
    }
    state.counters["steps/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_FramePieceNow(benchmark::State& state) {
    rt::TForm& f = *gForm;
    f.SetBounds(0, 0, 1920, 1080);
    f.RepaintNonClient(rt::Rect(0, 0, 1920, 1080));
    int n = 0;
    for (auto _ : state) {
        const rt::TColor c = (n++ & 1) != 0 ? rt::clRed : rt::clBlue;
        f.PaintNonClientNow(rt::Rect(1880, 4, 1897, 21), [c](rt::TCanvas& canvas) {
            canvas.Brush.Color = c;
            canvas.FillRect(rt::Rect(1880, 4, 1897, 21));
        });
    }
    state.counters["pieces/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_SizeStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FramePieceNow)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    rt::TApplication app(argc, argv);
    gForm = std::make_unique<rt::TForm>(nullptr);
    gForm->SetCaption("Benchmark");
    gForm->BorderStyle = rt::TFormBorderStyle::bsSizeable;
    gForm->Show();
    app.ProcessMessages();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    gForm.reset();
    return 0;
}
