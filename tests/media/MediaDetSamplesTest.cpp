// Real-world files, damaged ones among them: each opens with plausible figures or fails with
// readable text, and none crashes or hangs.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "MediaDetTestUtil.h"
#include "common/Fixtures.h"
#include "media/AvHolders.h"
#include "media/MediaDet.h"

namespace fs = std::filesystem;

namespace {

bool IsVideoName(const fs::path& p) {
    std::string ext = p.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
    return ext == ".avi" || ext == ".mpg" || ext == ".mpeg" || ext == ".vob" || ext == ".dv";
}

}  // namespace

TEST(MediaDetSamples, EveryFileOpensOrFailsCleanly) {
    if (std::string why = fixtures::SamplesMissing(); !why.empty()) GTEST_SKIP() << why;
    const fs::path root = fixtures::SamplesDir();
    std::vector<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file() && IsVideoName(e.path())) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty());

    // A hang is a failure that the test could not otherwise report: SIGALRM ends the process.
    ::alarm(600);
    const fs::path out =
        fs::temp_directory_path() / ("framora-sample-" + std::to_string(::getpid()) + ".bmp");
    int opened = 0;
    for (const fs::path& file : files) {
        const std::string name = file.lexically_relative(root).string();
        SCOPED_TRACE(name);
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
            std::snprintf(buf, sizeof buf, " %s %.3f s", video ? "video" : "audio", len);
            figures += buf;
            if (video) {
                std::snprintf(buf, sizeof buf, " %.6g fps", fps);
                figures += buf;
            }
        }
        std::string grabs;
        if (videoLength >= 0) {
            for (double t : {0.0, videoLength / 2, videoLength + 5}) {
                std::error_code ec;
                fs::remove(out, ec);
                try {
                    det.WriteBitmapBits(t, 360, 270, out.string());
                    auto pic = mediatest::LoadBmp24(out);
                    EXPECT_TRUE(pic && pic->width == 360 && pic->height == 270) << "at " << t;
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
    ::alarm(0);
}

// Bytes overwritten at random in headers, index and frames: every copy opens or fails with
// text, and grabs either write a picture or fail with text.
TEST(MediaDetSamples, DamagedCopiesOfGeneratedFiles) {
    const fs::path sources[] = {
        fixtures::Make("h1-small-mpeg4-mp3.avi",
                       "-f lavfi -i testsrc2=size=96x64:rate=25:duration=3 "
                       "-f lavfi -i sine=duration=3 -c:v mpeg4 -g 10 -bf 2 -c:a libmp3lame"),
        fixtures::Make("h1-small-mpeg2-mp2.mpg",
                       "-f lavfi -i testsrc2=size=96x64:rate=25:duration=3 "
                       "-f lavfi -i sine=duration=3 -c:v mpeg2video -g 10 -c:a mp2 -f mpeg"),
    };
    ::alarm(600);
    mediatest::TempDir dir;
    std::srand(20261207);
    int opened = 0, pictures = 0, copies = 0;
    for (const fs::path& source : sources) {
        ASSERT_FALSE(source.empty());
        std::ifstream in(source, std::ios::binary);
        const std::vector<char> original{std::istreambuf_iterator<char>(in), {}};
        ASSERT_GT(original.size(), 4096u);
        for (int copy = 0; copy < 25; ++copy) {
            std::vector<char> bytes = original;
            // Half the copies are hit near the start, where headers and the first frames are.
            const size_t span = copy % 2 == 0 ? std::min<size_t>(bytes.size(), 2048) : bytes.size();
            for (int hit = 0; hit < 1 + copy % 8; ++hit)
                bytes[static_cast<size_t>(std::rand()) % span] = static_cast<char>(std::rand());
            const fs::path damaged = dir / ("damaged" + source.extension().string());
            std::ofstream(damaged, std::ios::binary | std::ios::trunc)
                .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            SCOPED_TRACE(source.filename().string() + " copy " + std::to_string(copy));
            media::MediaDet det;
            ++copies;
            try {
                det.put_Filename(damaged.string());
                ++opened;
                for (int i = 0; i < det.get_OutputStreams(); ++i) {
                    det.put_CurrentStream(i);
                    EXPECT_TRUE(std::isfinite(det.get_StreamLength()));
                }
                for (double t : {0.0, 1.3, 99.0}) {
                    try {
                        det.WriteBitmapBits(t, 48, 32, (dir / "f.bmp").string());
                        EXPECT_TRUE(mediatest::LoadBmp24(dir / "f.bmp").has_value());
                        ++pictures;
                    } catch (const media::MediaError& e) {
                        EXPECT_GT(std::string(e.what()).size(), 0u);
                    }
                }
            } catch (const media::MediaError& e) {
                EXPECT_GT(std::string(e.what()).size(), 0u);
            }
        }
    }
    std::printf("[ damaged ] %d of %d copies opened, %d pictures written\n", opened, copies,
                pictures);
    ::alarm(0);
}
