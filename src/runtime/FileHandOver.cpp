#include "runtime/FileHandOver.h"

namespace rt {

namespace {

constexpr std::string_view kVerb = "open ";

bool NeedsEscape(unsigned char c) { return c < 0x21 || c == 0x7F || c == '%'; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// A name the running instance may be asked to open.
bool AcceptableName(std::string_view name) {
    return !name.empty() && name[0] == '/' && name.find('\0') == std::string_view::npos &&
           IsUtf8(name);
}

}  // namespace

bool IsUtf8(std::string_view text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int len = 0;
        unsigned lo = 0x80, hi = 0xBF;  // the allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            if (c == 0xE0) lo = 0xA0;  // no overlong forms
            if (c == 0xED) hi = 0x9F;  // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            if (c == 0xF0) lo = 0x90;  // no overlong forms
            if (c == 0xF4) hi = 0x8F;  // nothing past U+10FFFF
        } else {
            return false;
        }
        if (n - i < std::size_t(len)) return false;
        if (s[i + 1] < lo || s[i + 1] > hi) return false;
        for (int k = 2; k < len; ++k)
            if (s[i + std::size_t(k)] < 0x80 || s[i + std::size_t(k)] > 0xBF) return false;
        i += std::size_t(len);
    }
    return true;
}

std::string FormatOpenRequest(const std::string& file) {
    if (!AcceptableName(file)) return {};
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string line(kVerb);
    for (const char ch : file) {
        const auto c = static_cast<unsigned char>(ch);
        if (NeedsEscape(c)) {
            line += '%';
            line += kHex[c >> 4];
            line += kHex[c & 15];
        } else {
            line += ch;
        }
    }
    line += '\n';
    return line.size() <= kMaxHandOverLine ? line : std::string();
}

std::optional<std::string> ParseOpenRequest(std::string_view line) {
    if (line.size() >= kMaxHandOverLine || line.substr(0, kVerb.size()) != kVerb)
        return std::nullopt;
    const std::string_view text = line.substr(kVerb.size());
    std::string name;
    name.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c != '%') {
            if (NeedsEscape(c)) return std::nullopt;
            name += static_cast<char>(c);
            continue;
        }
        if (text.size() - i < 3) return std::nullopt;
        const int h = HexValue(text[i + 1]), l = HexValue(text[i + 2]);
        if (h < 0 || l < 0 || (h == 0 && l == 0)) return std::nullopt;
        name += static_cast<char>(h * 16 + l);
        i += 2;
    }
    if (!AcceptableName(name)) return std::nullopt;
    return name;
}

}  // namespace rt
