#include "media/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "media/AvHolders.h"
#include "media/AvioSeek.h"

extern "C" {
#include <libavutil/mem.h>
}

namespace media {

namespace {

std::string ErrnoText(int err) { return std::strerror(err); }

constexpr int kIoBufferSize = 256 * 1024;
constexpr std::int64_t kWritebackStep = 4 << 20;

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

void RefuseOverwritingSource(const std::string& source, const std::string& output) {
    if (SameFile(source, output)) {
        throw MediaError("The output file \"" + output +
                         "\" is the source file itself; choose another name so the source is "
                         "not overwritten");
    }
}

namespace {

std::string CommitErrorText(const std::string& finalName, const base::FileError& e) {
    return "Cannot save the output file as \"" + finalName + "\": " + e.reason() + e.LeftOverNote();
}

base::AtomicFile CreateOutput(const std::string& finalName) {
    if (finalName.empty()) throw MediaError("No output file name was given");
    try {
        return base::AtomicFile(finalName);
    } catch (const base::FileError& e) {
        if (e.error() == ENAMETOOLONG || e.step() == base::FileError::Refuse)
            throw MediaError("Cannot create the output file \"" + finalName + "\": " + e.reason());
        throw MediaError("Cannot create the output file in the folder \"" + e.file() +
                         "\": " + e.reason());
    }
}

}  // namespace

AtomicOutputFile::AtomicOutputFile(std::string finalName, std::int64_t writeLimit)
    : finalName_(std::move(finalName)), file_(CreateOutput(finalName_)), writeLimit_(writeLimit) {
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferSize));
    if (buffer == nullptr) throw MediaError("Out of memory allocating the output buffer");
    io_ = avio_alloc_context(buffer, kIoBufferSize, 1, this, nullptr, &WritePacket, &Seek);
    if (io_ == nullptr) {
        av_free(buffer);
        throw MediaError("Out of memory allocating the output context");
    }
}

AtomicOutputFile::~AtomicOutputFile() { FreeIo(); }

int AtomicOutputFile::WritePacket(void* opaque, AvioWriteBuffer buf, int size) {
    auto* self = static_cast<AtomicOutputFile*>(opaque);
    if (self->writeLimit_ >= 0 && self->written_ + size > self->writeLimit_) {
        self->writeError_ =
            "Cannot write the output file \"" + self->finalName_ + "\": " + ErrnoText(ENOSPC);
        return AVERROR(ENOSPC);
    }
    int done = 0;
    while (done < size) {
        ssize_t n = ::pwrite(self->file_.Fd(), buf + done, static_cast<size_t>(size - done),
                             static_cast<off_t>(self->position_ + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            self->writeError_ =
                "Cannot write the output file \"" + self->finalName_ + "\": " + ErrnoText(err);
            return AVERROR(err);
        }
        done += static_cast<int>(n);
    }
    self->position_ += size;
    self->written_ += size;
    // Starts the disk writing what is written so far without waiting for it, so that the sync
    // before the file is put in place finds little left to do. Advice only: a failure costs time.
    if (self->written_ - self->flushedTo_ >= kWritebackStep) {
        (void)::sync_file_range(self->file_.Fd(), 0, 0, SYNC_FILE_RANGE_WRITE);
        self->flushedTo_ = self->written_;
    }
    return size;
}

std::int64_t AtomicOutputFile::Seek(void* opaque, std::int64_t offset, int whence) {
    auto* self = static_cast<AtomicOutputFile*>(opaque);
    whence &= ~AVSEEK_FORCE;
    std::int64_t size = 0;
    if (whence == AVSEEK_SIZE || whence == SEEK_END) {
        struct stat st {};
        if (::fstat(self->file_.Fd(), &st) != 0) return AVERROR(errno);
        size = st.st_size;
        if (whence == AVSEEK_SIZE) return size;
    }
    const std::int64_t target = AvioSeekTarget(self->position_, size, offset, whence);
    if (target < 0) return target;
    self->position_ = target;
    return target;
}

int AtomicOutputFile::ReadAt(std::int64_t offset, std::uint8_t* buf, int size) const {
    for (;;) {
        ssize_t n = ::pread(file_.Fd(), buf, static_cast<size_t>(size), static_cast<off_t>(offset));
        if (n >= 0) return static_cast<int>(n);
        if (errno != EINTR) return AVERROR(errno);
    }
}

void AtomicOutputFile::Commit() {
    avio_flush(io_);
    if (io_->error < 0) {
        std::string text = writeError_.empty() ? "Cannot write the output file \"" + finalName_ +
                                                     "\": " + AvErrorText(io_->error)
                                               : writeError_;
        throw MediaError(text + base::LeftOverNote(file_.Discard()), io_->error);
    }
    try {
        file_.Commit();
    } catch (const base::FileError& e) {
        throw MediaError(CommitErrorText(finalName_, e));
    }
}

std::string AtomicOutputFile::Discard() noexcept { return file_.Discard(); }

void AtomicOutputFile::FreeIo() noexcept {
    if (io_ == nullptr) return;
    av_freep(&io_->buffer);
    avio_context_free(&io_);
}

}  // namespace media
