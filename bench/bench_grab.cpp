// Placeholder until the grab command is written.
#include <cstdio>
#include "BenchCommands.h"
int RunGrab(int, char**) {
    std::fprintf(stderr, "framora-bench: 'grab' is not built yet\n");
    return 2;
}
