#pragma once
// What FFmpeg reads a source from: a regular file opened once (so it cannot be swapped for a
// pipe or a device between a check and the open), or bytes in memory. Every read first asks the
// demuxer's interrupt callback, so a deadline or a stop request ends even a read that FFmpeg
// itself does not guard.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "media/AvHolders.h"

namespace media {

class SourceInput {
public:
    // Opens `path` for reading. Returns null and sets `reason` (e.g. "it is not a regular file",
    // "the file does not exist") when it is no readable, non-empty regular file.
    static std::unique_ptr<SourceInput> OpenFile(const std::string& path, std::string& reason);
    // Reads `size` bytes at `data`, which must outlive the input.
    static std::unique_ptr<SourceInput> FromMemory(const std::uint8_t* data, std::size_t size);
    ~SourceInput();
    SourceInput(const SourceInput&) = delete;
    SourceInput& operator=(const SourceInput&) = delete;

    // The I/O context of one demuxer: its own position in the input.
    class Reader {
    public:
        ~Reader();
        Reader(const Reader&) = delete;
        Reader& operator=(const Reader&) = delete;

    private:
        friend class SourceInput;
        explicit Reader(const SourceInput& in) : in_(in) {}
        static int Read(void* opaque, std::uint8_t* buf, int size);
        static std::int64_t Seek(void* opaque, std::int64_t offset, int whence);

        const SourceInput& in_;
        std::int64_t position_ = 0;
        AVIOContext* io_ = nullptr;
        AVIOInterruptCB interrupt_{};
    };

    // Whether the file was shortened, lengthened or written to since it was opened (its size
    // or modification time differ); a file in memory never changes.
    bool Changed() const;

    // Makes `ctx` (allocated, with its interrupt callback set, not yet opened) read from this
    // input through a new reader, which must outlive the context (close the context first).
    std::unique_ptr<Reader> Attach(AVFormatContext* ctx) const;

    // Bytes in the input as opened.
    std::int64_t Size() const;

private:
    SourceInput() = default;

    int fd_ = -1;
    const std::uint8_t* data_ = nullptr;
    std::int64_t size_ = 0;
    std::int64_t mtimeSec_ = 0;
    std::int64_t mtimeNsec_ = 0;
};

}  // namespace media
