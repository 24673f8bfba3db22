// grab FILE SECONDS WIDTH HEIGHT OUT.bmp: open the file and write the frame at a time.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "BenchCommands.h"
#include "media/MediaDet.h"

namespace {

bool ParseDouble(const char* s, double& out) {
    char* end = nullptr;
    errno = 0;
    out = std::strtod(s, &end);
    return errno == 0 && end != s && *end == '\0' && std::isfinite(out);
}

bool ParseInt(const char* s, int& out) {
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(s, &end, 10);
    if (errno != 0 || end == s || *end != '\0' || v <= 0 || v > 100000) return false;
    out = static_cast<int>(v);
    return true;
}

}  // namespace

int RunGrab(int argc, char** argv) {
    double seconds = 0.0;
    int width = 0;
    int height = 0;
    if (argc != 6 || !ParseDouble(argv[2], seconds) || !ParseInt(argv[3], width) ||
        !ParseInt(argv[4], height)) {
        std::fprintf(stderr, "usage: framora-bench grab FILE SECONDS WIDTH HEIGHT OUT.bmp\n");
        return 2;
    }
    media::MediaDet det;
    det.put_Filename(argv[1]);
    det.WriteBitmapBits(seconds, width, height, argv[5]);
    return 0;
}
