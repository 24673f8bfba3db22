#pragma once
// The file a render writes: a temporary file in the target folder that only becomes the
// output name once everything was written, so a failed or stopped render never leaves half a
// file under that name nor touches a file that was already there.

#include <cstdint>
#include <string>

extern "C" {
#include <libavformat/avio.h>
#include <libavformat/version.h>
}

namespace media {

#if LIBAVFORMAT_VERSION_MAJOR >= 61
using AvioWriteBuffer = const std::uint8_t*;
#else
using AvioWriteBuffer = std::uint8_t*;
#endif

// True when both names lead to one existing file (same device and inode), whatever the path
// spelling: relative or absolute, "./", symbolic or hard links.
bool SameFile(const std::string& a, const std::string& b);

// Throws MediaError when `output` names the same file as `source`.
void RefuseOverwritingSource(const std::string& source, const std::string& output);

class AtomicOutputFile {
public:
    // Creates the temporary file beside `finalName`; throws MediaError when the folder does
    // not take it. `writeLimit` >= 0 makes every write past that many bytes fail with "No
    // space left on device", which lets tests exercise a full disk.
    explicit AtomicOutputFile(std::string finalName, std::int64_t writeLimit = -1);
    ~AtomicOutputFile();
    AtomicOutputFile(const AtomicOutputFile&) = delete;
    AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;

    // I/O context writing to the temporary file; owned by this object.
    AVIOContext* Io() const { return io_; }

    // Flushes, syncs and closes the temporary file and renames it over the final name.
    // Throws MediaError (and removes the temporary file) when any of those fails.
    void Commit();

    // Reads back up to `size` bytes at `offset` of what was written (after flushing Io()), so
    // that the written file can be checked before it is committed. Returns the count read, 0 at
    // the end of the file, or a negative AVERROR code.
    int ReadAt(std::int64_t offset, std::uint8_t* buf, int size) const;

    // The text for a failed write, e.g. "... No space left on device"; empty when none failed.
    const std::string& WriteErrorText() const { return writeError_; }
    const std::string& TempName() const { return tempName_; }
    const std::string& FinalName() const { return finalName_; }

private:
    static int WritePacket(void* opaque, AvioWriteBuffer buf, int size);
    static std::int64_t Seek(void* opaque, std::int64_t offset, int whence);
    void Discard() noexcept;
    void FreeIo() noexcept;

    std::string finalName_;
    std::string tempName_;
    int fd_ = -1;
    AVIOContext* io_ = nullptr;
    std::int64_t writeLimit_;
    std::int64_t position_ = 0;
    std::int64_t written_ = 0;
    std::string writeError_;
    bool committed_ = false;
};

}  // namespace media
