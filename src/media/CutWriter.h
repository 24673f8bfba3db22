#pragma once
// The AVI file a cut writes, through the atomic output file: streams, interleaved packets, and
// reading the finished file back before it is put in place.

#include <cstdint>
#include <memory>
#include <string>

#include "media/AvHolders.h"
#include "media/OutputFile.h"

namespace media {

// A failure of the output file itself (full disk, no permission, missing folder): any other way
// of cutting would fail the same way, so it ends the cut.
class OutputError : public MediaError {
public:
    using MediaError::MediaError;
};

class CutWriter {
public:
    // Creates the temporary file beside `output`; throws OutputError when the folder refuses it.
    CutWriter(const std::string& output, std::int64_t writeLimit);
    ~CutWriter();
    CutWriter(const CutWriter&) = delete;
    CutWriter& operator=(const CutWriter&) = delete;

    // Adds a stream described by `par`, counted in `timeBase`; call before Begin.
    AVStream* AddStream(const AVCodecParameters* par, AVRational timeBase);
    void Begin();
    // Writes `pkt` (its time stamps in its stream's time base) and takes its data.
    void Write(AVPacket* pkt);
    // Writes the index and flushes: the file is complete, but not yet under its name.
    void End();
    // Puts the file in place under the output name.
    void Commit();
    // Drops the unfinished file; returns its name when it could not be removed.
    std::string Discard() noexcept;

    // Opens the written file for reading (after End); the context reads through the temporary.
    InputFormatPtr OpenWritten();

    const std::string& OutputName() const { return output_; }

private:
    struct OutputDeleter {
        void operator()(AVFormatContext* p) const;
    };
    struct ReadBack;

    [[noreturn]] void ThrowWriteError(int r, const std::string& what) const;

    std::string output_;
    std::unique_ptr<AtomicOutputFile> file_;
    std::unique_ptr<AVFormatContext, OutputDeleter> out_;
    std::unique_ptr<ReadBack> readBack_;
};

}  // namespace media
