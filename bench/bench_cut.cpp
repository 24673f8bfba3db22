// Placeholder until the cut command is written.
#include <cstdio>
#include "BenchCommands.h"
int RunCut(int, char**) {
    std::fprintf(stderr, "framora-bench: 'cut' is not built yet\n");
    return 2;
}
