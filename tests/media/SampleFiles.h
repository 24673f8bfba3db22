#pragma once
// The real-world videos of the samples folder, one test case each: a slow or failing file
// then shows by name, and each gets the test runner's time limit to itself.

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "common/Fixtures.h"

namespace samplefiles {

// Every AVI, MPEG program stream, VOB and DV file under the samples folder, sorted; none when
// the folder is missing.
inline std::vector<std::filesystem::path> Videos() {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    std::error_code ec;
    const fs::path dir = fixtures::SamplesDir();
    if (!fs::is_directory(dir, ec)) return files;
    for (auto it = fs::recursive_directory_iterator(dir, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        std::string ext = it->path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (it->is_regular_file() &&
            (ext == ".avi" || ext == ".mpg" || ext == ".mpeg" || ext == ".vob" || ext == ".dv"))
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A test name for a sample: its folder and file name, letters and digits only.
struct Name {
    template <class Info>
    std::string operator()(const Info& info) const {
        std::string name =
            info.param.parent_path().filename().string() + "_" + info.param.filename().string();
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    }
};

}  // namespace samplefiles
