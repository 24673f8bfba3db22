#pragma once
// The position an I/O context's seek asks for, shared by the program's own readers and writers.

#include <cstdint>
#include <cstdio>

extern "C" {
#include <libavutil/error.h>
}

namespace media {

// The absolute position for offset from whence (SEEK_SET, SEEK_CUR from position, SEEK_END
// from size), or AVERROR(EINVAL) for another whence, an overflow or a position before the start.
inline std::int64_t AvioSeekTarget(std::int64_t position, std::int64_t size, std::int64_t offset,
                                   int whence) {
    std::int64_t target = 0;
    switch (whence) {
        case SEEK_SET:
            target = offset;
            break;
        case SEEK_CUR:
            if (__builtin_add_overflow(position, offset, &target)) return AVERROR(EINVAL);
            break;
        case SEEK_END:
            if (__builtin_add_overflow(size, offset, &target)) return AVERROR(EINVAL);
            break;
        default:
            return AVERROR(EINVAL);
    }
    return target < 0 ? AVERROR(EINVAL) : target;
}

}  // namespace media
