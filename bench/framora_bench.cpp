// framora-bench: the program's media work from the command line, for timing.
#include <cstdio>
#include <cstring>
#include <exception>

#include "BenchCommands.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: framora-bench probe FILE\n"
                     "       framora-bench grab FILE SECONDS WIDTH HEIGHT OUT.bmp\n"
                     "       framora-bench cut [--reencode] SOURCE START END OUT.avi\n");
        return 2;
    }
    try {
        if (std::strcmp(argv[1], "probe") == 0) return RunProbe(argc - 1, argv + 1);
        if (std::strcmp(argv[1], "grab") == 0) return RunGrab(argc - 1, argv + 1);
        if (std::strcmp(argv[1], "cut") == 0) return RunCut(argc - 1, argv + 1);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "framora-bench: %s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "framora-bench: unknown command '%s'\n", argv[1]);
    return 2;
}
