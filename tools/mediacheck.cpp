// framora-mediacheck FILE FOLDER: what the program does with one media file, for the mutated
// media sweep (scripts/mutate-media.sh): probe it, query every stream, take the pictures at the
// start and in the middle into FOLDER, and cut up to two seconds of it into FOLDER. Prints one
// line per step and ends with
//   0 every step worked, 1 the file opened but a later step refused it with an error,
//   2 the probe refused it, 3 a step went on past its deadline, 4 files were left behind.
// Crashes and sanitizer reports are for the caller to see.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "media/AvHolders.h"
#include "media/CutJob.h"
#include "media/LibraryLogs.h"
#include "media/MediaDet.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FILE FOLDER\n", argv[0]);
        return 64;
    }
    const std::string file = argv[1];
    const fs::path folder = argv[2];
    media::QuietLibraryLogs();
    int result = 0;

    media::MediaDet det;
    double length = 0;
    bool video = false;
    try {
        det.put_Filename(file);
        for (int i = 0; i < det.get_OutputStreams(); ++i) {
            det.put_CurrentStream(i);
            const bool isVideo = det.get_StreamType() == media::MEDIATYPE_Video;
            std::printf("stream %d: %s, %.3f s, %.3f fps\n", i, isVideo ? "video" : "audio",
                        det.get_StreamLength(), det.get_FrameRate());
            if (isVideo && !video) {
                video = true;
                length = det.get_StreamLength();
            } else if (!video) {
                length = std::max(length, det.get_StreamLength());
            }
        }
    } catch (const media::MediaError& e) {
        std::printf("probe: %s\n", e.what());
        return 2;
    }

    std::set<std::string> expected;
    if (video) {
        for (int n : {1, 2}) {
            const std::string name = "Frame" + std::to_string(n) + ".bmp";
            try {
                det.WriteBitmapBits(n == 1 ? 0 : std::floor(length / 2), 360, 270,
                                    (folder / name).string());
                expected.insert(name);
                std::printf("grab %d: ok\n", n);
            } catch (const media::MediaError& e) {
                std::printf("grab %d: %s\n", n, e.what());
                result = 1;
            }
        }
    }

    const double end = std::min(2.0, std::floor(length));
    try {
        media::CutJob job;
        job.Start(file, 0, end, (folder / "cut.avi").string());
        long code = 0;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!job.WaitForCompletion(50, code)) {
            if (std::chrono::steady_clock::now() > until) {
                job.Stop();
                std::printf("cut: still running after 60 s\n");
                return 3;
            }
        }
        if (code == media::EC_COMPLETE) {
            expected.insert("cut.avi");
            std::printf("cut 0..%g s: ok\n", end);
        } else {
            std::printf("cut 0..%g s: %s\n", end, job.ErrorText().c_str());
            result = 1;
        }
    } catch (const media::MediaError& e) {
        std::printf("cut: %s\n", e.what());
        result = 1;
    }

    for (const auto& entry : fs::directory_iterator(folder)) {
        if (expected.count(entry.path().filename().string()) == 0) {
            std::printf("left behind: %s\n", entry.path().c_str());
            result = 4;
        }
    }
    return result;
}
