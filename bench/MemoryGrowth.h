#pragma once
// Whether repeated work keeps memory: the work runs once to warm every cache, then again,
// and the resident memory before and after the second run is printed.

#include <unistd.h>

#include <cstdio>
#include <fstream>

inline long ResidentKb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

template <class Work>
void ReportMemoryGrowth(Work&& thousandOpens) {
    thousandOpens();
    const long before = ResidentKb();
    thousandOpens();
    std::printf("resident memory: %ld kB before and %ld kB after 1,000 more opens of each\n",
                before, ResidentKb());
}
