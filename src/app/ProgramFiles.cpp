#include "app/ProgramFiles.h"

#include <filesystem>

#include "app/Links.h"
#include "runtime/Classes.h"
#include "runtime/SysUtils.h"

// The installed data folder relative to the installed program's folder; the build sets it
// from the install layout (GNUInstallDirs).
#ifndef FRAMORA_RELATIVE_DATA_DIR
#define FRAMORA_RELATIVE_DATA_DIR "../share/framora"
#endif

namespace app {

namespace {

std::string WithSeparator(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

// Any of the shipped files in the folder marks it as theirs.
bool HoldsShippedFiles(const std::string& dir) {
    return rt::FileExists(dir + kVersionFile) || rt::FileExists(dir + "noframe.jpg") ||
           rt::DirectoryExists(dir + "Help");
}

}  // namespace

std::string ShippedFilesDir(const std::string& appDir) {
    const std::string dir = WithSeparator(appDir);
    if (dir.empty() || HoldsShippedFiles(dir)) return dir;
    const std::string installed = WithSeparator(
        (std::filesystem::path(dir) / FRAMORA_RELATIVE_DATA_DIR).lexically_normal().string());
    return rt::DirectoryExists(installed) ? installed : dir;
}

std::string WritableDataDir(const std::string& appDir, const std::string& filesDir) {
    const std::string dir = WithSeparator(appDir);
    if (WithSeparator(filesDir) == dir && rt::IsWritableDir(dir)) return dir;
    return rt::UserDataDir("framora");
}

}  // namespace app
