#pragma once
// Test media made on demand with the ffmpeg command line and kept in the build folder,
// so every test process after the first reuses the same file.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fixtures {

inline std::filesystem::path Dir() {
    std::filesystem::path d = std::filesystem::path(FRAMORA_BINARY_DIR) / "fixtures";
    std::filesystem::create_directories(d);
    return d;
}

// Returns the path of `name` in the fixture folder, running
// `ffmpeg -nostdin -loglevel error -y <args> <tmp>` first when it does not exist yet.
// The file is written under a temporary name and renamed, so parallel tests never see
// half a file. Returns an empty path when ffmpeg fails.
inline std::filesystem::path Make(const std::string& name, const std::string& args) {
    std::filesystem::path out = Dir() / name;
    if (std::filesystem::exists(out)) return out;
    std::filesystem::path tmp = Dir() / ("tmp-" + std::to_string(::getpid()) + "-" + name);
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

}  // namespace fixtures
