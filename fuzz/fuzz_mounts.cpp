// The mount table reader on arbitrary text: it never crashes or hangs, "/" is always the first
// volume and home (when it is a folder below "/") the second, every volume's path is absolute,
// and each volume holds itself.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "runtime/ShellFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const rt::TMountEntry& e : rt::ParseMountTable(text))
        if (e.Path.empty() || e.Path[0] != '/') std::abort();
    const auto volumes = rt::VolumesFromMountTable(text, "/home/user", {{"/dev/sda1", "Disk"}});
    if (volumes.size() < 2 || volumes[0].Path != "/" || volumes[1].Path != "/home/user")
        std::abort();
    for (const rt::TVolume& v : volumes) {
        if (v.Path.empty() || v.Path[0] != '/' || v.Name.empty()) std::abort();
        if (v.DriveType < rt::dtRemovable || v.DriveType > rt::dtRamDisk) std::abort();
        const int i = rt::VolumeOf(volumes, v.Path + "/x");
        if (i < 0 || volumes[std::size_t(i)].Path.size() < v.Path.size()) std::abort();
    }
    return 0;
}
