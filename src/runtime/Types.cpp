#include "runtime/Types.h"

namespace rt {

namespace {
// The classic Windows standard scheme, so skins and the default look match the original.
constexpr TColor kSystemColors[] = {
    0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
    0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4, 0x808080, 0x808080,
    0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000, 0xE1FFFF,
};
}  // namespace

TColor ColorToRGB(TColor c) {
    if ((std::uint32_t(c) & 0xFF000000u) == 0x80000000u) {
        std::uint32_t i = std::uint32_t(c) & 0xFFu;
        if (i < sizeof kSystemColors / sizeof kSystemColors[0]) return kSystemColors[i];
        return 0;
    }
    return c;
}

}  // namespace rt
