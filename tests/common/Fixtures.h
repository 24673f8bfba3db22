#pragma once
// Test media made on demand with the ffmpeg command line and kept in the build folder,
// so every test process after the first reuses the same file.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fixtures {

inline std::filesystem::path Dir() {
    std::filesystem::path d = std::filesystem::path(FRAMORA_BINARY_DIR) / "fixtures";
    std::filesystem::create_directories(d);
    return d;
}

// The name a fixture is kept under: `name` with a hash of its recipe before the extension, so a
// changed recipe makes a new file instead of silently reusing the old one.
inline std::string KeyedName(const std::string& name, const std::string& args) {
    std::uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (unsigned char c : args) h = (h ^ c) * 1099511628211ull;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
    std::string::size_type dot = name.rfind('.');
    std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    std::string ext = dot == std::string::npos ? "" : name.substr(dot);
    return stem + "-" + std::string(hex, 12) + ext;
}

// Returns the path of the fixture made by `ffmpeg -nostdin -loglevel error -y <args> <file>`
// (named after `name` and the recipe), running ffmpeg first when it does not exist yet.
// The file is written under a temporary name and renamed, so parallel tests never see
// half a file. Returns an empty path when ffmpeg fails.
inline std::filesystem::path Make(const std::string& name, const std::string& args) {
    std::filesystem::path out = Dir() / KeyedName(name, args);
    if (std::filesystem::exists(out)) return out;
    std::filesystem::path tmp =
        Dir() / ("tmp-" + std::to_string(::getpid()) + "-" + out.filename().string());
    std::string cmd = "ffmpeg -nostdin -loglevel error -y " + args + " '" + tmp.string() + "'";
    if (std::system(cmd.c_str()) != 0) {
        std::filesystem::remove(tmp);
        return {};
    }
    std::filesystem::rename(tmp, out);
    return out;
}

// The samples folder of real-world files beside the project, when it exists.
inline std::filesystem::path SamplesDir() { return FRAMORA_SAMPLES_DIR; }

// Empty when the samples folder is there; else why the tests on real files cannot run, which
// also goes to the test log, so a run without the samples says so rather than passing quietly.
inline std::string SamplesMissing() {
    std::error_code ec;
    if (std::filesystem::is_directory(SamplesDir(), ec)) return {};
    std::string why = "the media samples folder " + SamplesDir().string() +
                      " is absent, so the tests on real files did not run (point "
                      "FRAMORA_SAMPLES_DIR at it when configuring)";
    std::fprintf(stderr, "NOTE: %s\n", why.c_str());
    return why;
}

// One sample file by its path in the samples folder; empty with the reason when it is absent.
inline std::filesystem::path Sample(const std::string& relative, std::string& whyMissing) {
    whyMissing = SamplesMissing();
    if (!whyMissing.empty()) return {};
    std::filesystem::path p = SamplesDir() / relative;
    std::error_code ec;
    if (std::filesystem::exists(p, ec)) return p;
    whyMissing = "the sample " + p.string() + " is absent";
    std::fprintf(stderr, "NOTE: %s\n", whyMissing.c_str());
    return {};
}

}  // namespace fixtures
