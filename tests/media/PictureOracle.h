#pragma once
// FFmpeg's own decode of a whole video (the command-line tools, independent of the media
// layer), for checking which picture a preview or a cut shows.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "CutProbe.h"
#include "MediaDetTestUtil.h"

namespace oracle {

namespace fs = std::filesystem;
using mediatest::Picture;

// The shown pictures of the first video stream in display order, those before the first key
// picture left out as they lack their references, with their timestamps.
struct Decode {
    int64_t tbNum = 0;
    int64_t tbDen = 1;
    std::vector<int64_t> ts;
    std::vector<Picture> pictures;

    double Seconds(size_t i) const {
        return static_cast<double>(ts[i] - ts[0]) * static_cast<double>(tbNum) /
               static_cast<double>(tbDen);
    }
    // The picture on screen at `seconds` after the first one: the last that starts at or
    // before it, allowing for stamps rounded to the nearest tick where a frame spans several.
    size_t IndexAt(double seconds) const {
        int64_t frame = 0;
        for (size_t i = 1; i < ts.size() && i < 16; ++i)
            if (ts[i] > ts[i - 1] && (frame == 0 || ts[i] - ts[i - 1] < frame))
                frame = ts[i] - ts[i - 1];
        const double slack = frame > 2 ? 0.5 : 1e-6;
        const int64_t target =
            ts[0] + static_cast<int64_t>(std::floor(
                        seconds * static_cast<double>(tbDen) / static_cast<double>(tbNum) + slack));
        size_t index = 0;
        for (size_t i = 0; i < ts.size(); ++i)
            if (ts[i] <= target) index = i;
        return index;
    }
};

inline int64_t Number(const std::string& line, const std::string& key) {
    const auto at = line.find(key + "=");
    if (at == std::string::npos) return INT64_MIN;
    const std::string value = line.substr(at + key.size() + 1);
    if (value.empty() || !(std::isdigit(static_cast<unsigned char>(value[0])) || value[0] == '-'))
        return INT64_MIN;
    return std::strtoll(value.c_str(), nullptr, 10);
}

// Decodes `video` scaled to w x h; nullopt when FFmpeg finds no picture.
inline std::optional<Decode> DecodeAll(const fs::path& video, int w, int h) {
    const std::string q = cutprobe::Quote(video.string());
    const std::string listing = cutprobe::Capture(
        "ffprobe -v error -select_streams v:0 -show_entries "
        "stream=time_base:frame=key_frame,best_effort_timestamp,pkt_duration -of compact " +
        q);
    const std::string raw =
        cutprobe::Capture("ffmpeg -nostdin -v error -i " + q +
                          " -map 0:v:0 -fps_mode passthrough -vf scale=" + std::to_string(w) + ":" +
                          std::to_string(h) + " -pix_fmt bgr24 -f rawvideo -");
    Decode d;
    std::istringstream in(listing);
    std::string line;
    std::vector<int64_t> ts;
    std::vector<bool> key;
    int64_t lastDuration = 0;
    while (std::getline(in, line)) {
        if (line.rfind("stream|", 0) == 0) {
            const auto at = line.find("time_base=");
            if (at != std::string::npos)
                std::sscanf(line.c_str() + at, "time_base=%lld/%lld",
                            reinterpret_cast<long long*>(&d.tbNum),
                            reinterpret_cast<long long*>(&d.tbDen));
        } else if (line.rfind("frame|", 0) == 0) {
            int64_t t = Number(line, "best_effort_timestamp");
            // A picture without a timestamp follows the previous one by the spacing before
            // that one, else by the previous packet's duration.
            if (t == INT64_MIN && !ts.empty()) {
                int64_t step = ts.size() >= 2 ? ts.back() - ts[ts.size() - 2] : 0;
                if (step <= 0) step = std::max<int64_t>(lastDuration, 0);
                t = ts.back() + step;
            }
            if (t == INT64_MIN) t = 0;
            lastDuration = Number(line, "pkt_duration");
            ts.push_back(t);
            key.push_back(Number(line, "key_frame") == 1);
        }
    }
    const size_t bytes = static_cast<size_t>(w) * h * 3;
    if (ts.empty() || d.tbNum <= 0 || d.tbDen <= 0 || raw.size() != bytes * ts.size())
        return std::nullopt;
    const size_t firstKey =
        static_cast<size_t>(std::find(key.begin(), key.end(), true) - key.begin());
    for (size_t i = firstKey < ts.size() ? firstKey : 0; i < ts.size(); ++i) {
        d.ts.push_back(ts[i]);
        d.pictures.push_back(Picture{
            w, h, std::vector<uint8_t>(raw.begin() + i * bytes, raw.begin() + (i + 1) * bytes)});
    }
    return d;
}

// The first picture of `video` as FFmpeg decodes it, scaled to w x h.
inline std::optional<Picture> FirstPicture(const fs::path& video, int w, int h) {
    const std::string raw =
        cutprobe::Capture("ffmpeg -nostdin -v error -i " + cutprobe::Quote(video.string()) +
                          " -map 0:v:0 -frames:v 1 -vf scale=" + std::to_string(w) + ":" +
                          std::to_string(h) + " -pix_fmt bgr24 -f rawvideo -");
    if (raw.size() != static_cast<size_t>(w) * h * 3) return std::nullopt;
    return Picture{w, h, std::vector<uint8_t>(raw.begin(), raw.end())};
}

// Whether `pic` is picture `index` of the decode: within `tolerance` of it, and no neighbour
// nearby is clearly closer (pictures that look alike count as one).
inline bool IsPicture(const Decode& d, size_t index, const Picture& pic, double tolerance) {
    const double own = mediatest::MeanAbsDiff(pic, d.pictures[index]);
    if (own > tolerance) return false;
    const size_t from = index >= 3 ? index - 3 : 0;
    const size_t to = std::min(d.pictures.size(), index + 4);
    for (size_t j = from; j < to; ++j)
        if (mediatest::MeanAbsDiff(pic, d.pictures[j]) + 0.5 < own) return false;
    return true;
}

// The picture of the decode within three of `around` that `pic` is closest to.
inline size_t Closest(const Decode& d, size_t around, const Picture& pic) {
    const size_t from = around >= 3 ? around - 3 : 0;
    const size_t to = std::min(d.pictures.size(), around + 4);
    size_t best = from;
    for (size_t j = from; j < to; ++j)
        if (mediatest::MeanAbsDiff(pic, d.pictures[j]) <
            mediatest::MeanAbsDiff(pic, d.pictures[best]))
            best = j;
    return best;
}

}  // namespace oracle
