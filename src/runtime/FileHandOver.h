#pragma once
// The request a later start sends to the running instance to have it open a file:
//
//     "open" " " name LF
//
// where name is the file's absolute name, in UTF-8, with "%", every byte below 0x21 and 0x7F
// written as "%" and two hexadecimal digits ("%00" is not allowed). The whole line is at most
// kMaxHandOverLine bytes with its LF. Anything else is not a file hand-over.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace rt {

constexpr std::size_t kMaxHandOverLine = 16384;

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, at most
// U+10FFFF).
bool IsUtf8(std::string_view text);

// The request line for the file, with its LF; empty when the name is not absolute, not UTF-8,
// holds a NUL, or would make the line longer than kMaxHandOverLine.
std::string FormatOpenRequest(const std::string& file);
// The file of one request line (without its LF); nothing when the line is not a well-formed
// file hand-over.
std::optional<std::string> ParseOpenRequest(std::string_view line);

}  // namespace rt
