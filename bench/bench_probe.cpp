// Placeholder until the probe command is written.
#include <cstdio>
#include "BenchCommands.h"
int RunProbe(int, char**) {
    std::fprintf(stderr, "framora-bench: 'probe' is not built yet\n");
    return 2;
}
