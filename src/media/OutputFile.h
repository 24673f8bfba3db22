#pragma once
// The file a render writes: it only takes the output name once everything was written, so a
// failed, stopped or killed render never leaves half a file under that name nor touches a file
// that was already there.

#include <cstdint>
#include <string>

#include "base/AtomicFile.h"

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
    // Creates the unfinished file for `finalName` in its folder (base::AtomicFile: unnamed
    // where the file system allows, a link followed to the file it names); throws MediaError
    // when the folder does not take it. `writeLimit` >= 0 makes every write past that many
    // bytes fail with "No space left on device", which lets tests exercise a full disk.
    explicit AtomicOutputFile(std::string finalName, std::int64_t writeLimit = -1);
    ~AtomicOutputFile();
    AtomicOutputFile(const AtomicOutputFile&) = delete;
    AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;

    // I/O context writing to the unfinished file; owned by this object.
    AVIOContext* Io() const { return io_; }

    // Flushes, syncs and closes the file and puts it in place of the final name. Throws
    // MediaError (and removes the unfinished file) when any of those fails.
    void Commit();
    // Drops the unfinished file; returns its name when it has one and could not be removed.
    std::string Discard() noexcept;

    // Reads back up to `size` bytes at `offset` of what was written (after flushing Io()), so
    // that the written file can be checked before it is committed. Returns the count read, 0 at
    // the end of the file, or a negative AVERROR code.
    int ReadAt(std::int64_t offset, std::uint8_t* buf, int size) const;

    // The text for a failed write, e.g. "... No space left on device"; empty when none failed.
    const std::string& WriteErrorText() const { return writeError_; }
    // The unfinished file's name while it has one (empty for an unnamed file).
    std::string TempName() const { return file_.TempName(); }
    const std::string& FinalName() const { return finalName_; }

private:
    static int WritePacket(void* opaque, AvioWriteBuffer buf, int size);
    static std::int64_t Seek(void* opaque, std::int64_t offset, int whence);
    void FreeIo() noexcept;

    std::string finalName_;
    base::AtomicFile file_;
    AVIOContext* io_ = nullptr;
    std::int64_t writeLimit_;
    std::int64_t position_ = 0;
    std::int64_t written_ = 0;
    std::int64_t flushedTo_ = 0;
    std::string writeError_;
};

}  // namespace media
