#pragma once
// A device for tests to point links at. Root gets a node of its own in the test's folder (a
// copy of the null device): should the code under test wrongly replace what a link leads to,
// the system's /dev/null must not be what goes. Other users link to /dev/null itself, which
// they cannot replace. Empty when root may not make device nodes: then there is none to use.

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>

namespace testutil {

inline std::filesystem::path DeviceForLinks(const std::filesystem::path& folder) {
    if (::geteuid() != 0) return "/dev/null";
    const std::filesystem::path node = folder / "null-device";
    struct stat st {};
    if (::lstat(node.c_str(), &st) == 0 && S_ISCHR(st.st_mode)) return node;
    if (::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) return {};
    return node;
}

}  // namespace testutil
