#include "media/CutWriter.h"

#include "media/CutSource.h"

extern "C" {
#include <libavutil/mem.h>
}

namespace media {

// The I/O context that reads the written file back through AtomicOutputFile::ReadAt.
struct CutWriter::ReadBack {
    explicit ReadBack(const AtomicOutputFile& f) : file(f) {
        constexpr int kSize = 64 * 1024;
        auto* buffer = static_cast<unsigned char*>(av_malloc(kSize));
        if (buffer == nullptr) throw MediaError("Out of memory reading the output file back");
        io = avio_alloc_context(buffer, kSize, 0, this, &Read, nullptr, &Seek);
        if (io == nullptr) {
            av_free(buffer);
            throw MediaError("Out of memory reading the output file back");
        }
    }
    ~ReadBack() {
        av_freep(&io->buffer);
        avio_context_free(&io);
    }
    ReadBack(const ReadBack&) = delete;
    ReadBack& operator=(const ReadBack&) = delete;

    static int Read(void* opaque, std::uint8_t* buf, int size) {
        auto* self = static_cast<ReadBack*>(opaque);
        int n = self->file.ReadAt(self->position, buf, size);
        if (n == 0) return AVERROR_EOF;
        if (n > 0) self->position += n;
        return n;
    }
    static std::int64_t Seek(void* opaque, std::int64_t offset, int whence) {
        auto* self = static_cast<ReadBack*>(opaque);
        whence &= ~AVSEEK_FORCE;
        if (whence == AVSEEK_SIZE) return self->Size();
        std::int64_t target = offset;
        if (whence == SEEK_CUR) target += self->position;
        if (whence == SEEK_END) target += self->Size();
        if (target < 0 || (whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END))
            return AVERROR(EINVAL);
        self->position = target;
        return target;
    }
    std::int64_t Size() const { return avio_size(file.Io()); }

    const AtomicOutputFile& file;
    AVIOContext* io = nullptr;
    std::int64_t position = 0;
};

void CutWriter::OutputDeleter::operator()(AVFormatContext* p) const {
    if (p == nullptr) return;
    // The I/O context belongs to AtomicOutputFile.
    p->pb = nullptr;
    avformat_free_context(p);
}

CutWriter::CutWriter(const std::string& output, std::int64_t writeLimit) : output_(output) {
    try {
        file_ = std::make_unique<AtomicOutputFile>(output, writeLimit);
    } catch (const MediaError& e) {
        throw OutputError(e.what(), e.code());
    }
    AVFormatContext* raw = nullptr;
    CheckAv(avformat_alloc_output_context2(&raw, nullptr, "avi", nullptr),
            "Cannot set up the AVI writer");
    out_.reset(raw);
    out_->pb = file_->Io();
    out_->flags |= AVFMT_FLAG_CUSTOM_IO;
    // The muxer would otherwise flush the I/O buffer after every packet, one write call each;
    // nothing reads the file before it is finished, so the buffer is written when full.
    out_->flush_packets = 0;
    // Keeps the muxer from queueing many seconds of one stream while waiting for the other.
    out_->max_interleave_delta = 2 * AV_TIME_BASE;
}

CutWriter::~CutWriter() = default;

AVStream* CutWriter::AddStream(const AVCodecParameters* par, AVRational timeBase) {
    AVStream* st = avformat_new_stream(out_.get(), nullptr);
    if (st == nullptr) throw MediaError("Out of memory adding a stream to the output");
    CheckAv(avcodec_parameters_copy(st->codecpar, par), "Cannot describe an output stream");
    st->time_base = timeBase;
    if (par->codec_type == AVMEDIA_TYPE_VIDEO) {
        st->avg_frame_rate = AVRational{timeBase.den, timeBase.num};
        st->sample_aspect_ratio = par->sample_aspect_ratio;
    }
    return st;
}

void CutWriter::Begin() {
    int r = avformat_write_header(out_.get(), nullptr);
    if (r < 0) ThrowWriteError(r, "Cannot write the AVI header");
}

void CutWriter::Write(AVPacket* pkt) {
    int r = av_interleaved_write_frame(out_.get(), pkt);
    if (r < 0) ThrowWriteError(r, "Cannot write the output file " + Quoted(output_));
}

void CutWriter::End() {
    int r = av_write_trailer(out_.get());
    if (r < 0) ThrowWriteError(r, "Cannot finish the output file");
    avio_flush(file_->Io());
    if (file_->Io()->error < 0)
        ThrowWriteError(file_->Io()->error, "Cannot finish the output file");
}

void CutWriter::Commit() {
    readBack_.reset();
    out_.reset();
    try {
        file_->Commit();
    } catch (const MediaError& e) {
        throw OutputError(e.what(), e.code());
    }
}

std::string CutWriter::Discard() noexcept {
    readBack_.reset();
    out_.reset();
    return file_->Discard();
}

InputFormatPtr CutWriter::OpenWritten() {
    readBack_ = std::make_unique<ReadBack>(*file_);
    AVFormatContext* raw = avformat_alloc_context();
    if (raw == nullptr) throw MediaError("Out of memory reading the output file back");
    raw->pb = readBack_->io;
    raw->flags |= AVFMT_FLAG_CUSTOM_IO;
    int r = avformat_open_input(&raw, nullptr, av_find_input_format("avi"), nullptr);
    if (r < 0) throw MediaError("Cannot read the written file back: " + AvErrorText(r), r);
    InputFormatPtr in(raw);
    CheckAv(avformat_find_stream_info(in.get(), nullptr), "Cannot read the written file back");
    return in;
}

void CutWriter::ThrowWriteError(int r, const std::string& what) const {
    if (!file_->WriteErrorText().empty()) throw OutputError(file_->WriteErrorText(), r);
    if (out_ && out_->pb != nullptr && out_->pb->error < 0) r = out_->pb->error;
    throw OutputError(what + ": " + AvErrorText(r), r);
}

}  // namespace media
