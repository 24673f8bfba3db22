#pragma once
// What the ffmpeg command line (the independent oracle) sees in a file, for the cut tests.

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace cutprobe {

inline std::string Quote(const std::string& s) { return "'" + s + "'"; }

// Runs a shell command and returns its standard output.
inline std::string Capture(const std::string& cmd) {
    std::string out;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (p == nullptr) return out;
    std::array<char, 4096> buf{};
    size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
    ::pclose(p);
    return out;
}

inline double Rational(const std::string& s) {
    auto slash = s.find('/');
    if (slash == std::string::npos) return std::atof(s.c_str());
    double den = std::atof(s.c_str() + slash + 1);
    return den == 0 ? 0 : std::atof(s.substr(0, slash).c_str()) / den;
}

// "key=value" lines of one ffprobe section.
inline std::string Field(const std::string& text, const std::string& key) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    return {};
}

struct VideoInfo {
    std::string codec;
    int width = 0;
    int height = 0;
    double fps = 0;
    std::string sar;
    long frames = 0;  // counted by decoding
    double Length() const { return fps > 0 ? frames / fps : 0; }
};

struct AudioInfo {
    std::string codec;
    int sampleRate = 0;
    int channels = 0;
    long samples = 0;  // counted by decoding
    double Length() const { return sampleRate > 0 ? double(samples) / sampleRate : 0; }
};

inline std::optional<VideoInfo> Video(const std::filesystem::path& file) {
    std::string text = Capture(
        "ffprobe -v error -select_streams v:0 -count_frames -show_entries "
        "stream=codec_name,width,height,r_frame_rate,sample_aspect_ratio,nb_read_frames "
        "-of default=nw=1 " +
        Quote(file.string()));
    if (Field(text, "codec_name").empty()) return std::nullopt;
    VideoInfo v;
    v.codec = Field(text, "codec_name");
    v.width = std::atoi(Field(text, "width").c_str());
    v.height = std::atoi(Field(text, "height").c_str());
    v.fps = Rational(Field(text, "r_frame_rate"));
    v.sar = Field(text, "sample_aspect_ratio");
    v.frames = std::atol(Field(text, "nb_read_frames").c_str());
    return v;
}

inline std::optional<AudioInfo> Audio(const std::filesystem::path& file) {
    std::string text = Capture(
        "ffprobe -v error -select_streams a:0 -show_entries "
        "stream=codec_name,sample_rate,channels -of default=nw=1 " +
        Quote(file.string()));
    if (Field(text, "codec_name").empty()) return std::nullopt;
    AudioInfo a;
    a.codec = Field(text, "codec_name");
    a.sampleRate = std::atoi(Field(text, "sample_rate").c_str());
    a.channels = std::atoi(Field(text, "channels").c_str());
    std::string bytes = Capture("ffmpeg -nostdin -v error -i " + Quote(file.string()) +
                                " -map 0:a:0 -f s16le -acodec pcm_s16le - | wc -c");
    if (a.channels > 0) a.samples = std::atol(bytes.c_str()) / (2L * a.channels);
    return a;
}

// One picture, scaled down to gray, decoded by ffmpeg: the first of `file`, or the one at
// `seconds` with ffmpeg's accurate input seek.
inline std::vector<unsigned char> GrayFrame(const std::filesystem::path& file,
                                            std::optional<double> seconds = std::nullopt) {
    std::string seek = seconds ? "-ss " + std::to_string(*seconds) + " " : std::string();
    std::string data = Capture("ffmpeg -nostdin -v error " + seek + "-i " + Quote(file.string()) +
                               " -frames:v 1 -vf scale=64:48 -pix_fmt gray -f rawvideo -");
    return std::vector<unsigned char>(data.begin(), data.end());
}

inline double MeanDifference(const std::vector<unsigned char>& a,
                             const std::vector<unsigned char>& b) {
    if (a.empty() || a.size() != b.size()) return 1e9;
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) sum += std::abs(int(a[i]) - int(b[i]));
    return sum / double(a.size());
}

inline std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace cutprobe
