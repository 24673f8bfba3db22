#include "media/SourceInput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

extern "C" {
#include <libavutil/mem.h>
}

#include "media/AvioSeek.h"

namespace media {

namespace {

// As FFmpeg's own file reader.
constexpr int kBufferSize = 32768;

std::string OpenErrorReason(int err) {
    switch (err) {
        case ENOENT:
        case ENOTDIR:
            return "the file does not exist";
        case EACCES:
        case EPERM:
            return "permission denied, the file cannot be read";
        default:
            return std::strerror(err);
    }
}

}  // namespace

std::unique_ptr<SourceInput> SourceInput::OpenFile(const std::string& path, std::string& reason) {
    if (path.empty()) {
        reason = "no file name was given";
        return nullptr;
    }
    // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; it is checked right after.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        reason = errno == EISDIR ? "it is a folder, not a file" : OpenErrorReason(errno);
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        reason = OpenErrorReason(errno);
    } else if (S_ISDIR(st.st_mode)) {
        reason = "it is a folder, not a file";
    } else if (!S_ISREG(st.st_mode)) {
        reason = "it is not a regular file";
    } else if (st.st_size == 0) {
        reason = "the file is empty";
    } else {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        std::unique_ptr<SourceInput> in(new SourceInput);
        in->fd_ = fd;
        in->size_ = st.st_size;
        in->mtimeSec_ = st.st_mtim.tv_sec;
        in->mtimeNsec_ = st.st_mtim.tv_nsec;
        return in;
    }
    ::close(fd);
    return nullptr;
}

std::unique_ptr<SourceInput> SourceInput::FromMemory(const std::uint8_t* data, std::size_t size) {
    std::unique_ptr<SourceInput> in(new SourceInput);
    in->data_ = data;
    in->size_ = static_cast<std::int64_t>(size);
    return in;
}

SourceInput::~SourceInput() {
    if (fd_ >= 0) ::close(fd_);
}

std::int64_t SourceInput::Size() const {
    // A file that grows or shrinks while it is read is measured again.
    struct stat st {};
    if (fd_ >= 0 && ::fstat(fd_, &st) == 0) return st.st_size;
    return size_;
}

bool SourceInput::Changed() const {
    if (fd_ < 0) return false;
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return true;
    return st.st_size != size_ || st.st_mtim.tv_sec != mtimeSec_ ||
           st.st_mtim.tv_nsec != mtimeNsec_;
}

std::unique_ptr<SourceInput::Reader> SourceInput::Attach(AVFormatContext* ctx) const {
    std::unique_ptr<Reader> reader(new Reader(*this));
    auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferSize));
    if (buffer == nullptr) throw MediaError("Out of memory opening the source file");
    reader->io_ = avio_alloc_context(buffer, kBufferSize, 0, reader.get(), &Reader::Read, nullptr,
                                     &Reader::Seek);
    if (reader->io_ == nullptr) {
        av_free(buffer);
        throw MediaError("Out of memory opening the source file");
    }
    reader->interrupt_ = ctx->interrupt_callback;
    ctx->pb = reader->io_;
    ctx->flags |= AVFMT_FLAG_CUSTOM_IO;
    return reader;
}

SourceInput::Reader::~Reader() {
    if (io_ != nullptr) {
        av_freep(&io_->buffer);
        avio_context_free(&io_);
    }
}

int SourceInput::Reader::Read(void* opaque, std::uint8_t* buf, int size) {
    auto* self = static_cast<Reader*>(opaque);
    if (self->interrupt_.callback != nullptr && self->interrupt_.callback(self->interrupt_.opaque))
        return AVERROR_EXIT;
    if (size <= 0) return 0;
    const SourceInput& in = self->in_;
    if (in.fd_ < 0) {
        std::int64_t left = std::max<std::int64_t>(0, in.size_ - self->position_);
        if (left == 0) return AVERROR_EOF;
        int n = static_cast<int>(std::min<std::int64_t>(left, size));
        std::memcpy(buf, in.data_ + self->position_, static_cast<std::size_t>(n));
        self->position_ += n;
        return n;
    }
    for (;;) {
        ssize_t n = ::pread(in.fd_, buf, static_cast<std::size_t>(size),
                            static_cast<off_t>(self->position_));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return AVERROR(errno);
        if (n == 0) return AVERROR_EOF;
        self->position_ += n;
        return static_cast<int>(n);
    }
}

std::int64_t SourceInput::Reader::Seek(void* opaque, std::int64_t offset, int whence) {
    auto* self = static_cast<Reader*>(opaque);
    whence &= ~AVSEEK_FORCE;
    const std::int64_t size = self->in_.Size();
    if (whence == AVSEEK_SIZE) return size;
    const std::int64_t target = AvioSeekTarget(self->position_, size, offset, whence);
    if (target < 0) return target;
    self->position_ = target;
    return target;
}

}  // namespace media
