// framora-bench cut [--reencode] SOURCE START END OUT.avi: the program's cut, timed from outside.
// It prints how the cut was made (copied with re-encoded edges, or re-encoded), which the
// program itself never tells its users; --reencode turns copying off.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "BenchCommands.h"
#include "media/AvHolders.h"
#include "media/CutRender.h"
#include "media/LibraryLogs.h"

int RunCut(int argc, char** argv) {
    bool reencode = false;
    if (argc > 1 && std::strcmp(argv[1], "--reencode") == 0) {
        reencode = true;
        ++argv;
        --argc;
    }
    if (argc != 5) {
        std::fprintf(stderr, "usage: framora-bench cut [--reencode] SOURCE START END OUT.avi\n");
        return 2;
    }
    char* endA = nullptr;
    char* endB = nullptr;
    media::CutRequest request;
    request.source = argv[1];
    request.start = std::strtod(argv[2], &endA);
    request.stop = std::strtod(argv[3], &endB);
    request.output = argv[4];
    request.copyAllowed = !reencode;
    if (*endA != '\0' || *endB != '\0') {
        std::fprintf(stderr, "framora-bench cut: START and END are seconds\n");
        return 2;
    }
    media::QuietLibraryLogs();
    const auto t0 = std::chrono::steady_clock::now();
    std::atomic<bool> cancel{false};
    media::CutOutcome outcome;
    try {
        outcome = media::RenderCut(request, cancel);
    } catch (const media::MediaError& e) {
        std::fprintf(stderr, "framora-bench cut: failed: %s\n", e.what());
        return 1;
    }
    const double secs =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("cut %s %.3f..%.3f s -> %s in %.3f s: %s, %lld copied, %lld encoded%s%s\n", argv[1],
                request.start, request.stop, argv[4], secs,
                outcome.path == media::CutPath::Copied ? "copied" : "re-encoded",
                static_cast<long long>(outcome.copiedPictures),
                static_cast<long long>(outcome.encodedPictures),
                outcome.whyReencoded.empty() ? "" : ": ", outcome.whyReencoded.c_str());
    return 0;
}
