#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "CutProbe.h"
#include "MediaDetTestUtil.h"
#include "common/Fixtures.h"
#include "media/AvHolders.h"
#include "media/MediaDet.h"

namespace fs = std::filesystem;
using media::MediaDet;
using media::MediaError;
using namespace mediatest;

namespace {

// A ramp of grey levels, one level per frame, at 29.97 frames per second with a keyframe
// every 12 frames and B-frames: neighbouring frames differ, and interval edges fall between
// decimal times.
constexpr const char* kRampVideo =
    "-f lavfi -i \"color=c=black:s=160x120:r=30000/1001:d=4,format=yuv420p,"
    "geq=lum='16+mod(N*7,220)':cb=128:cr=128\"";
constexpr double kRampFps = 30000.0 / 1001.0;

fs::path RampAvi() {
    return fixtures::Make("h1-ramp-mpeg4.avi",
                          std::string(kRampVideo) + " -c:v mpeg4 -g 12 -bf 2 -q:v 2");
}

// MPEG-2 program stream: its streams start at about half a second, not at 0.
fs::path RampMpg() {
    return fixtures::Make("h1-ramp-mpeg2.mpg",
                          std::string(kRampVideo) +
                              " -f lavfi -i sine=frequency=440:duration=4"
                              " -c:v mpeg2video -g 12 -bf 2 -q:v 2 -c:a mp2 -f mpeg");
}

fs::path Avi59() {
    return fixtures::Make(
        "h1-mpeg4-mp3-59.8s.avi",
        "-f lavfi -i testsrc2=size=320x240:rate=25:duration=59.8 "
        "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=59.8 "
        "-c:v mpeg4 -q:v 10 -c:a libmp3lame -b:a 64k -avoid_negative_ts disabled");
}

// FFmpeg's own decode of frame `index` (counted from the first decoded frame), scaled the
// same way: the oracle for which picture a time must give.
Picture OracleFrame(const fs::path& video, int index, int w, int h, const TempDir& dir) {
    fs::path out = dir / ("oracle-" + std::to_string(index) + ".bmp");
    std::string cmd = "ffmpeg -nostdin -loglevel error -y -i '" + video.string() +
                      "' -vf 'select=eq(n\\," + std::to_string(index) +
                      "),scale=" + std::to_string(w) + ":" + std::to_string(h) +
                      "' -fps_mode passthrough -frames:v 1 -pix_fmt bgr24 '" + out.string() + "'";
    if (std::system(cmd.c_str()) != 0) throw std::runtime_error("ffmpeg failed: " + cmd);
    auto pic = LoadBmp24(out);
    if (!pic) throw std::runtime_error("ffmpeg wrote no 24-bit BMP: " + cmd);
    return *pic;
}

int CountFrames(const fs::path& video) {
    std::string cmd =
        "ffprobe -v error -select_streams v:0 -count_frames -show_entries "
        "stream=nb_read_frames -of csv=p=0 '" +
        video.string() + "'";
    FILE* pipe = ::popen(cmd.c_str(), "r");
    if (pipe == nullptr) return -1;
    int n = -1;
    if (std::fscanf(pipe, "%d", &n) != 1) n = -1;
    ::pclose(pipe);
    return n;
}

std::string OpenError(const std::string& path) {
    MediaDet det;
    try {
        det.put_Filename(path);
    } catch (const MediaError& e) {
        return e.what();
    }
    return "";
}

// Visits every stream the way the main window's Open does.
struct Probe {
    int streams = 0;
    std::vector<media::Guid> types;
    std::vector<double> lengths;
    std::vector<double> rates;
};
Probe ProbeAll(MediaDet& det) {
    Probe p;
    p.streams = det.get_OutputStreams();
    for (int i = 0; i < p.streams; ++i) {
        det.put_CurrentStream(i);
        p.types.push_back(det.get_StreamType());
        p.lengths.push_back(det.get_StreamLength());
        p.rates.push_back(det.get_FrameRate());
    }
    return p;
}

}  // namespace

TEST(MediaDetProbe, Mpeg4Mp3AviOf59_8Seconds) {
    fs::path avi = Avi59();
    ASSERT_FALSE(avi.empty());
    MediaDet det;
    det.put_Filename(avi.string());
    EXPECT_EQ(det.get_Filename(), avi.string());
    Probe p = ProbeAll(det);
    ASSERT_EQ(p.streams, 2);
    EXPECT_EQ(p.types[0], media::MEDIATYPE_Video);
    EXPECT_EQ(p.types[1], media::MEDIATYPE_Audio);
    EXPECT_NEAR(p.lengths[0], 59.8, 0.04);  // within one frame at 25 fps
    EXPECT_NEAR(p.lengths[1], 59.8, 0.1);
    EXPECT_DOUBLE_EQ(p.rates[0], 25.0);
    EXPECT_EQ(p.rates[1], 0.0);
}

TEST(MediaDetProbe, DisplayAspectIncludesTheSampleAspect) {
    const struct {
        const char *name, *args;
        double aspect;
    } cases[] = {
        {"square 4:3", "-f lavfi -i testsrc=size=160x120:rate=25 -t 1 -c:v mpeg4", 4.0 / 3.0},
        {"square 16:9", "-f lavfi -i testsrc=size=320x180:rate=25 -t 1 -c:v mpeg4", 16.0 / 9.0},
        {"anamorphic 4:3 shown 16:9",
         "-f lavfi -i testsrc=size=240x180:rate=25 -t 1 -vf setsar=4/3 -c:v mpeg4", 16.0 / 9.0},
        {"MPEG-2 flagged 16:9",
         "-f lavfi -i testsrc=size=352x288:rate=25 -t 1 -aspect 16:9 -c:v mpeg2video -f mpeg",
         16.0 / 9.0},
    };
    for (const auto& c : cases) {
        const std::string ext =
            std::string(c.args).find("-f mpeg") != std::string::npos ? ".mpg" : ".avi";
        fs::path file = fixtures::Make(std::string("aspect") + ext, c.args);
        ASSERT_FALSE(file.empty()) << c.name;
        MediaDet det;
        det.put_Filename(file.string());
        EXPECT_NEAR(det.get_DisplayAspect(), c.aspect, 0.01) << c.name;
    }
    // Sound has no pictures, so no aspect.
    fs::path tone = fixtures::Make("aspect-tone.wav", "-f lavfi -i sine=frequency=300 -t 1");
    ASSERT_FALSE(tone.empty());
    MediaDet det;
    det.put_Filename(tone.string());
    EXPECT_EQ(det.get_DisplayAspect(), 0.0);
}

TEST(MediaDetProbe, FilesWithoutVideoOrWithCoverArt) {
    struct Case {
        const char* name;
        const char* args;
        double length;
    } cases[] = {
        {"h1-audio-only-mp3.avi",
         "-f lavfi -i sine=frequency=440:duration=12.5 -c:a libmp3lame -b:a 64k", 12.5},
        {"h1-audio-only.wav", "-f lavfi -i sine=frequency=440:duration=7.25 -c:a pcm_s16le", 7.25},
        // A cover picture is an attached picture, not a video stream.
        {"h1-cover-art.mp3",
         "-f lavfi -i sine=frequency=440:duration=3 -f lavfi -i color=c=red:s=64x64:d=1 "
         "-map 0:a -map 1:v -frames:v 1 -c:a libmp3lame -c:v png -disposition:v attached_pic",
         3.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::path file = fixtures::Make(c.name, c.args);
        ASSERT_FALSE(file.empty());
        MediaDet det;
        det.put_Filename(file.string());
        Probe p = ProbeAll(det);
        ASSERT_EQ(p.streams, 1);
        EXPECT_EQ(p.types[0], media::MEDIATYPE_Audio);
        EXPECT_NEAR(p.lengths[0], c.length, 0.1);
        EXPECT_EQ(p.rates[0], 0.0);

        TempDir dir;
        try {
            det.WriteBitmapBits(0, 360, 270, (dir / "f.bmp").string());
            ADD_FAILURE() << "a file without video gave a picture";
        } catch (const MediaError& e) {
            EXPECT_NE(std::string(e.what()).find("no video stream"), std::string::npos) << e.what();
        }
        EXPECT_FALSE(fs::exists(dir / "f.bmp"));
    }
}

TEST(MediaDetProbe, MpegProgramStreamWithMpeg2AndMp2) {
    fs::path mpg = RampMpg();
    ASSERT_FALSE(mpg.empty());
    MediaDet det;
    det.put_Filename(mpg.string());
    Probe p = ProbeAll(det);
    ASSERT_EQ(p.streams, 2);
    EXPECT_EQ(p.types[0], media::MEDIATYPE_Video);
    EXPECT_EQ(p.types[1], media::MEDIATYPE_Audio);
    // Durations of a program stream are estimated from its timestamps.
    EXPECT_NEAR(p.lengths[0], 4.0, 0.15);
    EXPECT_NEAR(p.lengths[1], 4.0, 0.15);
    EXPECT_NEAR(p.rates[0], kRampFps, 1e-3);
}

TEST(MediaDetProbe, FailuresNameTheReason) {
    TempDir dir;
    {
        std::ofstream(dir / "notes.avi") << "These are meeting notes, not a film.\n";
        std::ofstream(dir / "empty.avi");
        fs::create_directory(dir / "folder.avi");
        // A list that would make the demuxer open another file is no video.
        std::ofstream(dir / "list.avi")
            << "ffconcat version 1.0\nfile '" << RampAvi().string() << "'\n";
    }
    // Opening a pipe would wait for a writer forever.
    ASSERT_EQ(::mkfifo((dir / "pipe.avi").c_str(), 0600), 0);
    struct Case {
        std::string path;
        const char* expected;
    } cases[] = {
        {(dir / "missing.avi").string(), "does not exist"},
        {(dir / "notes.avi").string(), "not a media file"},
        {(dir / "empty.avi").string(), "empty"},
        {(dir / "folder.avi").string(), "folder"},
        {(dir / "list.avi").string(), "not a media file"},
        {(dir / "pipe.avi").string(), "not a regular file"},
        {"", "no file name"},
    };
    for (const Case& c : cases) {
        std::string text = OpenError(c.path);
        EXPECT_NE(text.find(c.expected), std::string::npos)
            << c.path << " gave: \"" << text << "\"";
    }
}

TEST(MediaDetProbe, UnreadableFileIsPermissionDenied) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads files regardless of their permissions";
    TempDir dir;
    fs::path avi = Avi59();
    ASSERT_FALSE(avi.empty());
    fs::copy_file(avi, dir / "locked.avi");
    fs::permissions(dir / "locked.avi", fs::perms::none);
    std::string text = OpenError((dir / "locked.avi").string());
    EXPECT_NE(text.find("permission denied"), std::string::npos) << text;
}

TEST(MediaDetProbe, FailedOpenKeepsThePreviousFile) {
    fs::path avi = Avi59();
    ASSERT_FALSE(avi.empty());
    TempDir dir;
    std::ofstream(dir / "bad.avi") << "RIFF but nothing else";
    MediaDet det;
    det.put_Filename(avi.string());
    det.put_CurrentStream(1);
    EXPECT_THROW(det.put_Filename((dir / "bad.avi").string()), MediaError);
    EXPECT_EQ(det.get_Filename(), avi.string());
    EXPECT_EQ(det.get_OutputStreams(), 2);
    EXPECT_EQ(det.get_CurrentStream(), 1);
    EXPECT_EQ(det.get_StreamType(), media::MEDIATYPE_Audio);
    det.WriteBitmapBits(1.0, 64, 48, (dir / "still.bmp").string());
    EXPECT_TRUE(LoadBmp24(dir / "still.bmp").has_value());
}

TEST(MediaDetProbe, StreamSelectionIsChecked) {
    MediaDet det;
    EXPECT_EQ(det.get_OutputStreams(), 0);
    EXPECT_THROW(det.put_CurrentStream(0), MediaError);
    EXPECT_THROW(det.get_StreamLength(), MediaError);
    fs::path avi = Avi59();
    ASSERT_FALSE(avi.empty());
    det.put_Filename(avi.string());
    EXPECT_THROW(det.put_CurrentStream(-1), MediaError);
    EXPECT_THROW(det.put_CurrentStream(2), MediaError);
    EXPECT_EQ(det.get_CurrentStream(), 0);
}

TEST(MediaDetProbe, TruncatedAviOpensOrFailsCleanly) {
    fs::path avi = Avi59();
    ASSERT_FALSE(avi.empty());
    std::vector<uint8_t> bytes = ReadAll(avi);
    TempDir dir;
    for (double part : {0.001, 0.02, 0.4}) {
        SCOPED_TRACE(part);
        fs::path cut = dir / "cut.avi";
        {
            std::ofstream out(cut, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(static_cast<double>(bytes.size()) * part));
        }
        MediaDet det;
        try {
            det.put_Filename(cut.string());
        } catch (const MediaError& e) {
            EXPECT_GT(std::string(e.what()).size(), 0u);
            continue;
        }
        Probe p = ProbeAll(det);
        for (double len : p.lengths) EXPECT_TRUE(std::isfinite(len) && len >= 0) << len;
        try {
            det.WriteBitmapBits(0, 64, 48, (dir / "f.bmp").string());
            EXPECT_TRUE(LoadBmp24(dir / "f.bmp").has_value());
        } catch (const MediaError& e) {
            EXPECT_GT(std::string(e.what()).size(), 0u);
        }
    }
}

// Raw MPEG video carries no timestamps and no length; FFmpeg guesses one from the bitrate (0.014
// s for 5.4 s of pictures) or gives none. The length is the span of the pictures FFmpeg
// decodes, and grabs still find their picture after the whole stream was read for it.
TEST(MediaDetProbe, RawMpegVideoHasItsTrueLength) {
    struct Case {
        const char* name;
        const char* args;
        double fps;
    } cases[] = {
        {"len-raw-mpeg1.mpg",
         "-f lavfi -i testsrc=s=320x240:r=30:d=5.4 -c:v mpeg1video -q:v 4 -f mpeg1video", 30},
        {"len-raw-mpeg2-bframes.mpg",
         "-f lavfi -i testsrc=s=320x240:r=25:d=7.2 -c:v mpeg2video -q:v 4 -g 15 -bf 2 "
         "-f mpeg2video",
         25},
        {"len-raw-mpeg2-ntsc.m2v",
         "-f lavfi -i testsrc=s=176x144:r=30000/1001:d=3 -c:v mpeg2video -q:v 4 -f mpeg2video",
         30000.0 / 1001.0},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = fixtures::Make(c.name, c.args);
        ASSERT_FALSE(file.empty());
        const int frames = CountFrames(file);
        ASSERT_GT(frames, 60);
        MediaDet det;
        det.put_Filename(file.string());
        Probe p = ProbeAll(det);
        ASSERT_EQ(p.streams, 1);
        EXPECT_NEAR(p.lengths[0], frames / c.fps, 0.5 / c.fps);
        EXPECT_NEAR(p.rates[0], c.fps, 1e-3);

        const double t = 2.0;
        det.WriteBitmapBits(t, 160, 120, (dir / "grab.bmp").string());
        auto got = LoadBmp24(dir / "grab.bmp");
        ASSERT_TRUE(got.has_value());
        const int index = static_cast<int>(std::floor(t * c.fps + 1e-9));
        EXPECT_LE(MeanAbsDiff(*got, OracleFrame(file, index, 160, 120, dir)), 1.5)
            << "expected frame " << index;
    }
}

// An AVI's timestamps count its pictures at the rate of its stream header. With the header's
// lengths zeroed (a recording that was never finished) FFmpeg knows no length; with a header
// rate twice the rate the pictures were made at, the timestamps run twice as fast. Either way
// the length is the span of the timestamps.
TEST(MediaDetProbe, AviLengthFollowsItsTimestamps) {
    const fs::path avi = fixtures::Make(
        "len-mpeg4-mp3.avi",
        "-f lavfi -i testsrc=s=160x120:r=25:d=6 -f lavfi -i sine=d=6 -c:v mpeg4 -c:a libmp3lame");
    ASSERT_FALSE(avi.empty());
    const std::vector<uint8_t> original = ReadAll(avi);
    // The unpatched file's video duration as ffprobe reads it from the intact header.
    const double intact = std::atof(cutprobe::Capture("ffprobe -v error -select_streams v:0 "
                                                      "-show_entries stream=duration -of "
                                                      "csv=p=0 '" +
                                                      avi.string() + "'")
                                        .c_str());
    ASSERT_GT(intact, 5.9);
    // Field offsets inside the chunks, after their 8-byte header.
    auto patch = [&](const char* tag, size_t at, uint32_t value, bool all,
                     std::vector<uint8_t>& bytes) {
        const std::string fourcc(tag);
        for (size_t i = 0; i + 8 + at + 4 <= bytes.size(); ++i) {
            if (std::memcmp(bytes.data() + i, fourcc.data(), 4) != 0) continue;
            for (int k = 0; k < 4; ++k)
                bytes[i + 8 + at + static_cast<size_t>(k)] = static_cast<uint8_t>(value >> (8 * k));
            if (!all) return;
        }
    };
    struct Case {
        const char* name;
        double videoLength;
        std::vector<uint8_t> bytes;
    } cases[] = {{"no-length.avi", intact, original}, {"double-rate.avi", intact / 2, original}};
    patch("avih", 16, 0, false, cases[0].bytes);   // total frames
    patch("strh", 32, 0, true, cases[0].bytes);    // every stream's length
    patch("strh", 24, 50, false, cases[1].bytes);  // the video stream's rate
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(dir / c.name, std::ios::binary)
            .write(reinterpret_cast<const char*>(c.bytes.data()),
                   static_cast<std::streamsize>(c.bytes.size()));
        MediaDet det;
        det.put_Filename((dir / c.name).string());
        Probe p = ProbeAll(det);
        ASSERT_EQ(p.streams, 2);
        EXPECT_NEAR(p.lengths[0], c.videoLength, 1e-3);
        EXPECT_NEAR(p.lengths[1], 6.0, 0.1);
    }
}

// Which frame a time gives is checked against FFmpeg's own decode of the frame whose display
// interval [k / fps, (k + 1) / fps) holds the time, counted from the stream's first frame.
TEST(MediaDetGrab, FrameOnScreenAtTime) {
    struct Clip {
        const char* name;
        fs::path path;
    } clips[] = {{"MPEG-4 AVI", RampAvi()}, {"MPEG-2 program stream", RampMpg()}};
    const double times[] = {0.0, 0.02, 0.0333, 0.0334, 1.0, 2.5, 3.4, 1000.0, -2.0, HUGE_VAL};
    const int w = 160, h = 120;
    for (const Clip& clip : clips) {
        SCOPED_TRACE(clip.name);
        ASSERT_FALSE(clip.path.empty());
        const int frames = CountFrames(clip.path);
        ASSERT_GT(frames, 100);
        TempDir dir;
        // The ramp must tell neighbours apart, or this test could not see an off-by-one.
        ASSERT_GT(MeanAbsDiff(OracleFrame(clip.path, 74, w, h, dir),
                              OracleFrame(clip.path, 75, w, h, dir)),
                  5.0);

        MediaDet det;
        det.put_Filename(clip.path.string());
        det.put_CurrentStream(det.get_OutputStreams() - 1);  // audio: the grab finds the video
        for (double t : times) {
            SCOPED_TRACE(t);
            const int index = static_cast<int>(
                std::clamp(std::floor(t * kRampFps), 0.0, static_cast<double>(frames - 1)));
            fs::path out = dir / "grab.bmp";
            det.WriteBitmapBits(t, w, h, out.string());
            auto got = LoadBmp24(out);
            ASSERT_TRUE(got.has_value());
            EXPECT_LE(MeanAbsDiff(*got, OracleFrame(clip.path, index, w, h, dir)), 1.5)
                << "expected frame " << index;
        }
    }
}

TEST(MediaDetGrab, BitmapHeaderAndSize) {
    fs::path avi = RampAvi();
    ASSERT_FALSE(avi.empty());
    MediaDet det;
    det.put_Filename(avi.string());
    TempDir dir;
    struct Size {
        int w, h;
    } sizes[] = {{360, 270}, {161, 97}, {1, 1}};
    for (Size s : sizes) {
        SCOPED_TRACE(std::to_string(s.w) + "x" + std::to_string(s.h));
        fs::path out = dir / "f.bmp";
        det.WriteBitmapBits(0.5, s.w, s.h, out.string());
        std::vector<uint8_t> b = ReadAll(out);
        const uint32_t stride = (static_cast<uint32_t>(s.w) * 3 + 3) & ~3u;
        const uint32_t image = stride * static_cast<uint32_t>(s.h);
        ASSERT_EQ(b.size(), 54u + image);
        EXPECT_EQ(b[0], 'B');
        EXPECT_EQ(b[1], 'M');
        EXPECT_EQ(Le32(b, 2), b.size());  // bfSize
        EXPECT_EQ(Le32(b, 6), 0u);        // reserved
        EXPECT_EQ(Le32(b, 10), 54u);      // bfOffBits
        EXPECT_EQ(Le32(b, 14), 40u);      // biSize
        EXPECT_EQ(static_cast<int32_t>(Le32(b, 18)), s.w);
        EXPECT_EQ(static_cast<int32_t>(Le32(b, 22)), s.h);  // positive: bottom-up
        EXPECT_EQ(Le16(b, 26), 1);
        EXPECT_EQ(Le16(b, 28), 24);
        EXPECT_EQ(Le32(b, 30), 0u);  // BI_RGB
        EXPECT_EQ(Le32(b, 34), image);
        for (int y = 0; y < s.h; ++y)
            for (uint32_t x = static_cast<uint32_t>(s.w) * 3; x < stride; ++x)
                ASSERT_EQ(b[54 + static_cast<size_t>(y) * stride + x], 0) << "row padding";
    }
}

TEST(MediaDetGrab, FailedGrabLeavesTheTargetAlone) {
    TempDir dir;
    fs::path avi = RampAvi();
    fs::path audio = fixtures::Make("h1-audio-only.wav",
                                    "-f lavfi -i sine=frequency=440:duration=7.25 -c:a pcm_s16le");
    ASSERT_FALSE(avi.empty());
    ASSERT_FALSE(audio.empty());
    const std::string before = "an earlier picture";
    std::ofstream(dir / "Frame1.bmp") << before;

    MediaDet det;
    det.put_Filename(audio.string());
    EXPECT_THROW(det.WriteBitmapBits(0, 360, 270, (dir / "Frame1.bmp").string()), MediaError);
    det.put_Filename(avi.string());
    EXPECT_THROW(det.WriteBitmapBits(0, 0, 270, (dir / "Frame1.bmp").string()), MediaError);
    EXPECT_THROW(det.WriteBitmapBits(0, 360, 270, (dir / "no-such-folder/Frame1.bmp").string()),
                 MediaError);
    // A folder in the way of the target: the temporary file must not stay behind.
    fs::create_directory(dir / "taken.bmp");
    fs::create_directory(dir / "taken.bmp" / "inside");
    EXPECT_THROW(det.WriteBitmapBits(0, 360, 270, (dir / "taken.bmp").string()), MediaError);

    std::vector<uint8_t> kept = ReadAll(dir / "Frame1.bmp");
    EXPECT_EQ(std::string(kept.begin(), kept.end()), before);
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Frame1.bmp", "taken.bmp"}));

    det.WriteBitmapBits(0, 360, 270, (dir / "Frame1.bmp").string());
    EXPECT_TRUE(LoadBmp24(dir / "Frame1.bmp").has_value());
}
