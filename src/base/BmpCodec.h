#pragma once
// Windows bitmap files (BMP) read and written by our own code. The reader treats its input as
// untrusted: every size is checked against the bytes present before it is used.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace base {

// A malformed bitmap, or pixels that cannot be written in the asked form.
class BmpError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct BmpImage {
    int width = 0;
    int height = 0;
    int bitCount = 0;                   // as stored: 1, 4, 8, 16, 24 or 32
    std::vector<std::uint32_t> pixels;  // width * height, 0x00RRGGBB, top row first
};

// Decodes one complete BMP file image from data[0..size). Returns the number of bytes the
// image occupies (the file header's size field, which must fit in size).
// Throws BmpError with a readable reason for anything malformed.
std::size_t DecodeBmp(const std::uint8_t* data, std::size_t size, BmpImage& out);

// Encodes pixels as a BMP file image with the given bit count (24 or 32 always; 1, 4 and 8 when
// the pixels fit a palette of that size, else throws BmpError). The size field equals
// the returned length.
std::vector<std::uint8_t> EncodeBmp(const BmpImage& image);

}  // namespace base
