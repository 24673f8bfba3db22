#pragma once
// The identifiers the media operations take and return.

#include <array>
#include <cstdint>

namespace media {

struct Guid {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::array<std::uint8_t, 8> Data4{};
    friend bool operator==(const Guid&, const Guid&) = default;
};

// {73646976-0000-0010-8000-00AA00389B71}
inline constexpr Guid MEDIATYPE_Video{
    0x73646976, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
// {73647561-0000-0010-8000-00AA00389B71}
inline constexpr Guid MEDIATYPE_Audio{
    0x73647561, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
// {E436EB88-524F-11CE-9F53-0020AF0BA770}
inline constexpr Guid MEDIASUBTYPE_Avi{
    0xE436EB88, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

}  // namespace media
