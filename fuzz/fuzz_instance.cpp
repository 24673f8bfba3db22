// The single-instance request parser on arbitrary lines: whatever it takes must format back
// to a line that parses to the same request.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "runtime/SingleInstance.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    std::optional<rt::TInstanceMessage> message = rt::ParseInstanceMessage(line);
    if (!message) return 0;
    const std::string again = rt::FormatInstanceMessage(*message);
    if (again.empty() || again.back() != '\n' || again.size() > rt::kMaxInstanceLine) std::abort();
    std::optional<rt::TInstanceMessage> back =
        rt::ParseInstanceMessage(std::string_view(again).substr(0, again.size() - 1));
    if (!back || !(*back == *message)) std::abort();
    return 0;
}
