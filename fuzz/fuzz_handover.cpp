// The file hand-over request a running instance reads from its socket: never crashes, and a
// request it takes names an absolute UTF-8 file that travels back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "runtime/FileHandOver.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const auto file = rt::ParseOpenRequest(line);
    if (!file) return 0;
    if (file->empty() || (*file)[0] != '/' || !rt::IsUtf8(*file)) std::abort();
    const std::string again = rt::FormatOpenRequest(*file);
    if (again.empty() ||
        rt::ParseOpenRequest(std::string_view(again).substr(0, again.size() - 1)) != file)
        std::abort();
    return 0;
}
