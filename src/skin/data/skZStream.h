#pragma once
// zlib streams for the compressed skin container: level 9 deflate into a stream, and inflate of
// a stream in 4096-byte pieces with a cap on the inflated size.

#include <cstdint>

#include "runtime/Classes.h"

namespace sk {

class ECompressionError : public rt::Exception {
public:
    using rt::Exception::Exception;
};
class EDecompressionError : public rt::Exception {
public:
    using rt::Exception::Exception;
};

// The inflated form of a skin is a few hundred kilobytes; anything past this is an attack or
// garbage, and inflation stops with an error.
constexpr std::int64_t kMaxInflatedSize = std::int64_t(64) << 20;

// Rewinds source and deflates all of it at level 9 into target at target's position.
// Throws ECompressionError "compression error" on a zlib failure.
void CompressStream(rt::TStream& source, rt::TStream& target);

// Rewinds source and inflates it into target at target's position. A zlib stream that ends
// early ends the inflated data there; corrupt data, or more than maxSize inflated bytes, throws
// EDecompressionError.
void DecompressStream(rt::TStream& target, rt::TStream& source,
                      std::int64_t maxSize = kMaxInflatedSize);

}  // namespace sk
