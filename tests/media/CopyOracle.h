#pragma once
// Checks of a copied cut against the cut that re-encodes every picture, with the ffmpeg
// command line as the independent oracle: the same pictures in the same places, the copied
// ones identical to the source's, the whole file decoding cleanly, and the same sound.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "CutProbe.h"
#include "media/CutRender.h"

namespace copyoracle {

namespace fs = std::filesystem;

// MD5 of every decoded picture, in display order.
inline std::vector<std::string> FrameDigests(const fs::path& file) {
    std::istringstream in(cutprobe::Capture("ffmpeg -nostdin -v error -i " +
                                            cutprobe::Quote(file.string()) +
                                            " -map 0:v:0 -f framemd5 - 2>/dev/null"));
    std::vector<std::string> out;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        out.push_back(line.substr(line.rfind(',') + 1));
    }
    return out;
}

// Peak signal-to-noise ratio of each picture of `a` against the picture at the same place in
// `b` after its first `skip` pictures (dB; 1000 for identical pictures), as far as both go.
inline std::vector<double> FramePsnr(const fs::path& a, const fs::path& b, std::int64_t skip = 0) {
    std::istringstream in(cutprobe::Capture(
        "ffmpeg -nostdin -v error -i " + cutprobe::Quote(a.string()) + " -i " +
        cutprobe::Quote(b.string()) +
        " -lavfi '[0:v:0]setpts=N/TB[x];[1:v:0]trim=start_frame=" + std::to_string(skip) +
        ",setpts=N/TB[y];[x][y]psnr=shortest=1:stats_file=-' " + "-f null - 2>/dev/null"));
    std::vector<double> out;
    std::string line;
    while (std::getline(in, line)) {
        const auto at = line.find("psnr_avg:");
        if (at == std::string::npos) continue;
        const std::string value = line.substr(at + 9, line.find(' ', at) - at - 9);
        out.push_back(value == "inf" ? 1000.0 : std::atof(value.c_str()));
    }
    return out;
}

// What the decoder says about `file` when it decodes all of it (empty when nothing is wrong).
inline std::string DecodeErrors(const fs::path& file) {
    return cutprobe::Capture("ffmpeg -nostdin -v error -i " + cutprobe::Quote(file.string()) +
                             " -f null - 2>&1");
}

inline std::string Sound(const fs::path& file) {
    return cutprobe::Capture("ffmpeg -nostdin -v error -i " + cutprobe::Quote(file.string()) +
                             " -map 0:a:0? -f s16le - 2>/dev/null");
}

struct Cuts {
    media::CutOutcome copied;
    media::CutOutcome reencoded;
};

// Cuts start..stop of `source` into `dir` as the program does and, when that copied pictures,
// again with copying turned off, and checks that the first matches the second: the same number of
// pictures, each close to the one in the same place (a neighbour would be far off), the pictures
// the cut says it copied identical to the source's, the re-encoded ones above 40 dB against the
// source's pictures in their places, a file that decodes as cleanly as the source,
// and the same sound to the sample.
inline Cuts CheckCopiedCut(const fs::path& source, double start, double stop, const fs::path& dir) {
    Cuts cuts;
    std::atomic<bool> cancel{false};
    media::CutRequest request;
    request.source = source.string();
    request.start = start;
    request.stop = stop;
    request.output = (dir / "copied.avi").string();
    cuts.copied = media::RenderCut(request, cancel);
    // A cut that was not copied is the re-encoding cut itself, which other tests check.
    if (cuts.copied.path == media::CutPath::Reencoded) return cuts;
    request.copyAllowed = false;
    request.output = (dir / "reencoded.avi").string();
    cuts.reencoded = media::RenderCut(request, cancel);
    const fs::path copied = dir / "copied.avi";
    const fs::path reencoded = dir / "reencoded.avi";

    if (DecodeErrors(source).empty()) {
        EXPECT_EQ(DecodeErrors(copied), "");
    }
    const auto out = FrameDigests(copied);
    const auto reference = FrameDigests(reencoded);
    EXPECT_EQ(out.size(), reference.size()) << "pictures in the copied and re-encoded cuts";
    EXPECT_EQ(static_cast<std::int64_t>(out.size()),
              cuts.copied.copiedPictures + cuts.copied.encodedPictures);

    {
        // Copied pictures are recognised by their digest, at one offset into the source.
        const auto all = FrameDigests(source);
        std::int64_t offset = -1;
        for (size_t n = 0; n < out.size() && offset < 0; ++n) {
            auto it = std::find(all.begin(), all.end(), out[n]);
            if (it != all.end()) offset = (it - all.begin()) - static_cast<std::int64_t>(n);
        }
        std::int64_t identical = 0;
        for (size_t n = 0; n < out.size() && offset >= 0; ++n) {
            const std::int64_t at = offset + static_cast<std::int64_t>(n);
            if (at < static_cast<std::int64_t>(all.size()) && all[at] == out[n]) ++identical;
        }
        EXPECT_EQ(identical, cuts.copied.copiedPictures)
            << "copied pictures identical to the source's";
        // The re-encoded edges against the source's own pictures in their places.
        if (offset >= 0) {
            const auto edges = FramePsnr(copied, source, offset);
            EXPECT_EQ(edges.size(), out.size());
            for (size_t n = 0; n < edges.size(); ++n) {
                EXPECT_GT(edges[n], 40.0) << "picture " << n << " against the source's";
                if (edges[n] <= 40.0) break;
            }
        }

        const auto psnr = FramePsnr(copied, reencoded);
        EXPECT_EQ(psnr.size(), out.size());
        for (size_t n = 0; n < psnr.size(); ++n) {
            EXPECT_GT(psnr[n], 30.0) << "picture " << n << " is not the re-encoded cut's";
            if (psnr[n] <= 30.0) break;
        }
    }
    EXPECT_TRUE(Sound(copied) == Sound(reencoded)) << "the sound differs";
    return cuts;
}

}  // namespace copyoracle
