// Real-world files, damaged ones among them: each opens with plausible figures or fails with
// readable text, and none crashes or hangs.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/Fixtures.h"
#include "media/AvHolders.h"
#include "media/MediaDet.h"

namespace fs = std::filesystem;

namespace {

// Ends the whole process when the test is still running after its time: a hang is a failure
// that a test could otherwise never report.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit)
        : thread_([this, limit] {
              std::unique_lock lock(mutex_);
              if (!cv_.wait_for(lock, limit, [this] { return done_; })) {
                  std::fprintf(stderr, "Watchdog: the test ran past its deadline (on %s)\n",
                               current_.c_str());
                  std::_Exit(3);
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        cv_.notify_one();
        thread_.join();
    }
    void Now(const std::string& what) {
        std::lock_guard lock(mutex_);
        current_ = what;
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool done_ = false;
    std::string current_;
    std::thread thread_;
};

bool IsVideoName(const fs::path& p) {
    std::string ext = p.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
    return ext == ".avi" || ext == ".mpg" || ext == ".mpeg" || ext == ".vob" || ext == ".dv";
}

bool LoadsAsBmp(const fs::path& p, int w, int h) {
    std::ifstream in(p, std::ios::binary);
    std::vector<unsigned char> b{std::istreambuf_iterator<char>(in), {}};
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return false;
    auto le32 = [&](size_t at) {
        return static_cast<long>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
                                 (static_cast<unsigned long>(b[at + 3]) << 24));
    };
    const long stride = (w * 3 + 3) & ~3;
    return le32(2) == static_cast<long>(b.size()) && le32(18) == w && le32(22) == h &&
           static_cast<long>(b.size()) == 54 + stride * h;
}

}  // namespace

TEST(MediaDetSamples, EveryFileOpensOrFailsCleanly) {
    const fs::path root = fixtures::SamplesDir();
    if (!fs::is_directory(root)) GTEST_SKIP() << "no sample folder at " << root;
    std::vector<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file() && IsVideoName(e.path())) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty());

    Watchdog watchdog(std::chrono::seconds(600));
    const fs::path out =
        fs::temp_directory_path() / ("framora-sample-" + std::to_string(::getpid()) + ".bmp");
    int opened = 0;
    for (const fs::path& file : files) {
        const std::string name = file.lexically_relative(root).string();
        SCOPED_TRACE(name);
        watchdog.Now(name);
        media::MediaDet det;
        try {
            det.put_Filename(file.string());
        } catch (const media::MediaError& e) {
            EXPECT_GT(std::string(e.what()).size(), 0u);
            std::printf("[ sample ] %-45s fails: %s\n", name.c_str(), e.what());
            continue;
        }
        ++opened;
        const int streams = det.get_OutputStreams();
        EXPECT_GE(streams, 1);
        double videoLength = -1;
        std::string figures;
        for (int i = 0; i < streams; ++i) {
            det.put_CurrentStream(i);
            const double len = det.get_StreamLength();
            const double fps = det.get_FrameRate();
            EXPECT_TRUE(std::isfinite(len) && len >= 0) << len;
            EXPECT_TRUE(std::isfinite(fps) && fps >= 0) << fps;
            const bool video = det.get_StreamType() == media::MEDIATYPE_Video;
            if (video)
                videoLength = len;
            else
                EXPECT_EQ(det.get_StreamType(), media::MEDIATYPE_Audio);
            char buf[64];
            std::snprintf(buf, sizeof buf, " %s %.3f s%s", video ? "video" : "audio", len,
                          video ? (" " + std::to_string(fps).substr(0, 6) + " fps").c_str() : "");
            figures += buf;
        }
        std::string grabs;
        if (videoLength >= 0) {
            for (double t : {0.0, videoLength / 2, videoLength + 5}) {
                std::error_code ec;
                fs::remove(out, ec);
                try {
                    det.WriteBitmapBits(t, 360, 270, out.string());
                    EXPECT_TRUE(LoadsAsBmp(out, 360, 270)) << "at " << t << " s";
                    grabs += " ok";
                } catch (const media::MediaError& e) {
                    EXPECT_GT(std::string(e.what()).size(), 0u);
                    EXPECT_FALSE(fs::exists(out));
                    grabs += std::string(" failed (") + e.what() + ")";
                }
            }
        }
        std::printf("[ sample ] %s:%s; grabs:%s\n", name.c_str(), figures.c_str(),
                    grabs.empty() ? " none (no video)" : grabs.c_str());
    }
    std::error_code ec;
    fs::remove(out, ec);
    EXPECT_GT(opened, 0);
}
