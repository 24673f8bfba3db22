// probe FILE: the detector's work when a file is opened, as one line of figures.
#include <cstdio>
#include <exception>

#include "BenchCommands.h"
#include "media/MediaDet.h"

int RunProbe(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: framora-bench probe FILE\n");
        return 2;
    }
    media::MediaDet det;
    det.put_Filename(argv[1]);
    // The same walk over the streams as the main window's Open: the last video stream wins.
    double length = 0.0;
    double fps = 0.0;
    const int streams = det.get_OutputStreams();
    for (int i = 0; i < streams; ++i) {
        det.put_CurrentStream(i);
        if (det.get_StreamType() == media::MEDIATYPE_Video) {
            length = det.get_StreamLength();
            fps = det.get_FrameRate();
        }
    }
    std::printf("streams=%d length=%.6f fps=%.6f\n", streams, length, fps);
    return 0;
}
