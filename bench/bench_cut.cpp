// framora-bench cut [--reencode] SOURCE START END OUT.avi: the program's cut, timed from outside.
// It prints how the cut was made (copied with re-encoded edges, or re-encoded), which the
// gauge's hint also tells; --reencode turns copying off, --stop-at PERCENT stops the cut there
// and tells how long the render took to end after the stop request.
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
    int stopAt = -1;
    for (;;) {
        if (argc > 1 && std::strcmp(argv[1], "--reencode") == 0) {
            reencode = true;
        } else if (argc > 2 && std::strcmp(argv[1], "--stop-at") == 0) {
            stopAt = std::atoi(argv[2]);
            ++argv;
            --argc;
        } else {
            break;
        }
        ++argv;
        --argc;
    }
    if (argc != 5) {
        std::fprintf(stderr,
                     "usage: framora-bench cut [--reencode] [--stop-at PERCENT] SOURCE START END "
                     "OUT.avi\n");
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
    media::CutProgress progress;
    // With --stop-at, the time from the stop request to the end of the render.
    std::chrono::steady_clock::time_point stopAsked{};
    if (stopAt >= 0) {
        progress.hookForTesting = [&](std::int64_t done, std::int64_t planned, bool) {
            if (stopAsked.time_since_epoch().count() == 0 && planned > 0 &&
                done * 100 >= planned * stopAt) {
                stopAsked = std::chrono::steady_clock::now();
                progress.Stop();
            }
        };
    }
    media::CutOutcome outcome;
    try {
        outcome = media::RenderCut(request, progress);
    } catch (const media::CutCancelled&) {
        const auto end = std::chrono::steady_clock::now();
        std::printf("cut %s stopped at %d%%: the render ended %.1f ms after the stop request\n",
                    argv[1], stopAt,
                    std::chrono::duration<double, std::milli>(end - stopAsked).count());
        return 0;
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
