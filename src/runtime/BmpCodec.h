#pragma once
// Windows bitmap files in the class library's terms: the codec of src/base, whose errors reach
// callers as the class library's picture error.

#include "base/BmpCodec.h"
#include "runtime/Classes.h"

namespace rt {

using BmpImage = base::BmpImage;

// Decodes one complete BMP file image; returns the bytes it occupies. Throws EInvalidGraphic.
inline std::size_t DecodeBmp(const std::uint8_t* data, std::size_t size, BmpImage& out) {
    try {
        return base::DecodeBmp(data, size, out);
    } catch (const base::BmpError& e) {
        throw EInvalidGraphic(e.what());
    }
}

// Encodes pixels as a BMP file image; throws EInvalidGraphic when they cannot be written so.
inline std::vector<std::uint8_t> EncodeBmp(const BmpImage& image) {
    try {
        return base::EncodeBmp(image);
    } catch (const base::BmpError& e) {
        throw EInvalidGraphic(e.what());
    }
}

}  // namespace rt
