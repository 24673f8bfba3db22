// framora-bench cut SOURCE START END OUT.avi: the program's cut, timed from outside.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchCommands.h"
#include "media/CutJob.h"

int RunCut(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: framora-bench cut SOURCE START END OUT.avi\n");
        return 2;
    }
    char* endA = nullptr;
    char* endB = nullptr;
    const double start = std::strtod(argv[2], &endA);
    const double end = std::strtod(argv[3], &endB);
    if (*endA != '\0' || *endB != '\0') {
        std::fprintf(stderr, "framora-bench cut: START and END are seconds\n");
        return 2;
    }
    const auto t0 = std::chrono::steady_clock::now();
    media::CutJob job;
    job.Start(argv[1], start, end, argv[4]);
    long code = 0;
    while (!job.WaitForCompletion(100, code)) {
    }
    job.Stop();
    const double secs =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (code != media::EC_COMPLETE) {
        std::fprintf(stderr, "framora-bench cut: failed (event code %ld): %s\n", code,
                     job.ErrorText().c_str());
        return 1;
    }
    std::printf("cut %s %.3f..%.3f s -> %s in %.3f s\n", argv[1], start, end, argv[4], secs);
    return 0;
}
