#include "media/CutRender.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "base/AtomicFile.h"
#include "media/CopiedVideo.h"
#include "media/CutSound.h"
#include "media/CutSource.h"
#include "media/CutVideo.h"
#include "media/CutWriter.h"
#include "media/FrameTiming.h"
#include "media/OutputFile.h"

namespace media {

namespace {

// One pass over the source: its streams, the stretch in output pictures and sound samples, the
// place reading starts, and the loop that reads packets and hands them to the picture and
// sound sides.
class CutPass {
public:
    CutPass(const CutRequest& request, const SourceInput& file, const std::atomic<bool>& cancel)
        : request_(request), cancel_(cancel), watch_(&cancel) {
        in_ = OpenCutInput(file, request.source, watch_);
        if (request.video) vIndex_ = UsableStream(in_.get(), AVMEDIA_TYPE_VIDEO);
        if (request.audio) aIndex_ = UsableStream(in_.get(), AVMEDIA_TYPE_AUDIO);
        if (vIndex_ < 0 && aIndex_ < 0) {
            throw MediaError("The source file " + Quoted(request.source) +
                             " has no picture or sound that can be decoded");
        }
        span_.name = request.source;
        span_.file = &file;
        span_.input = in_.get();
        span_.watch = &watch_;
        span_.stream = in_->streams[vIndex_ >= 0 ? vIndex_ : aIndex_];
        span_.zero = SourceZero(in_.get(), span_.stream);
        span_.start = request.start;
        const double length = request.stop - request.start;
        double soundLength = length;
        if (vIndex_ >= 0) {
            FindFirstPicture();
            span_.rate = CutPictureRate(in_.get(), span_.stream);
            span_.pictures = std::max<std::int64_t>(1, std::llround(length * av_q2d(span_.rate)));
            soundLength = static_cast<double>(span_.pictures) / av_q2d(span_.rate);
        }
        if (aIndex_ >= 0) {
            AVStream* st = in_->streams[aIndex_];
            sound_ =
                std::make_unique<CutSound>(st, span_.zero, request.start,
                                           std::llround(soundLength * st->codecpar->sample_rate));
        }
        SeekToStart();
    }

    // Back to the place reading starts, after the copy's plan has read ahead from it.
    void Rewind() {
        if (!pictures_) return;
        watch_.Arm(kReadTimeout);
        pictures_->Rewind();
    }

    bool HasVideo() const { return vIndex_ >= 0; }
    int VideoIndex() const { return vIndex_; }
    const CutSpan& Span() const { return span_; }

    // The bit rate of the source's pictures, for an encoder that aims at the same.
    std::int64_t VideoBitRate() const {
        std::int64_t bitRate = in_->streams[vIndex_]->codecpar->bit_rate;
        if (bitRate <= 0 && in_->bit_rate > 0) {
            bitRate = in_->bit_rate;
            if (aIndex_ >= 0 && in_->streams[aIndex_]->codecpar->bit_rate > 0)
                bitRate -= in_->streams[aIndex_]->codecpar->bit_rate;
        }
        return bitRate;
    }

    // Writes the whole cut into `writer` with `video` as its picture side (null: no picture).
    void Run(CutWriter& writer, CutVideo* video) {
        if (video != nullptr) video->AddStream(writer);
        if (sound_) sound_->AddStream(writer);
        writer.Begin();
        pictures_.reset();
        finder_.reset();
        Pump(video);
        if (video != nullptr) video->Finish();
        if (sound_) sound_->Finish();
        writer.End();
    }

private:
    void CheckCancel() const {
        if (cancel_.load()) throw CutCancelled();
    }

    // Before each read or seek: a stop request ends the cut, and the call gets its own time.
    void BeforeRead() {
        CheckCancel();
        watch_.Arm(kReadTimeout);
    }

    std::string TooSlowText() const {
        return "Cannot read the source file " + Quoted(request_.source) + ": " + kTooSlow;
    }

    [[noreturn]] void ReadFailed(const std::string& what, int r) const {
        CheckCancel();
        throw MediaError(
            what + Quoted(request_.source) + ": " + (watch_.Expired() ? kTooSlow : AvErrorText(r)),
            r);
    }

    // Times count from the first picture, as for the preview, so the cut starts on the picture
    // the preview of its start showed.
    void FindFirstPicture() {
        finder_ = OpenDecoder(span_.stream);
        pictures_ = std::make_unique<PictureReader>(
            in_.get(), vIndex_, finder_.get(),
            ReadGuard{[this] {
                          // Asked before each read and after one was interrupted: an expired
                          // deadline means the last read or seek took too long.
                          CheckCancel();
                          if (watch_.Expired()) throw MediaError(TooSlowText());
                          watch_.Arm(kReadTimeout);
                      },
                      [this](const std::string& reason) {
                          throw MediaError("Cannot read the pictures of the source file " +
                                           Quoted(request_.source) + ": " + reason);
                      }});
        span_.origin = span_.stream->start_time != AV_NOPTS_VALUE ? span_.stream->start_time : 0;
        FramePtr first = MakeFrame();
        std::int64_t ts = 0;
        if (pictures_->First(first.get(), ts, true)) span_.origin = ts;
        span_.zero = static_cast<double>(span_.origin) * av_q2d(span_.stream->time_base);
    }

    // Reading starts where the first picture shown is on screen at the start, early enough for
    // the sound just before it too; both ways of cutting read from there.
    void SeekToStart() {
        if (!pictures_) {
            BeforeRead();
            SeekBeforeStart(in_.get(), aIndex_, span_.zero, request_.start);
            CheckCancel();
            return;
        }
        const std::int64_t target = TickAfter(span_.origin, request_.start, span_.stream->time_base,
                                              PictureClock(in_.get(), span_.stream).FrameTicks());
        FramePtr first = MakeFrame();
        std::int64_t ts = 0;
        pictures_->SeekTo(target, first.get(), ts);
        span_.shift = pictures_->Shift();
        pictures_->Rewind();
    }

    void Pump(CutVideo* video) {
        auto videoDone = [&] { return video == nullptr || video->Done(); };
        auto soundDone = [&] { return !sound_ || sound_->Done(); };
        PacketPtr packet = MakePacket();
        bool eof = false;
        int againCount = 0;
        while (!(videoDone() && soundDone()) && !eof) {
            BeforeRead();
            int r = av_read_frame(in_.get(), packet.get());
            if (r == AVERROR(EAGAIN) && ++againCount < 1000) continue;
            if (r == AVERROR_EOF) {
                eof = true;
                break;
            }
            if (r < 0) ReadFailed("Cannot read the source file ", r);
            againCount = 0;
            if (packet->stream_index == vIndex_ && !videoDone()) {
                video->OnPacket(packet.get());
            } else if (packet->stream_index == aIndex_ && !soundDone()) {
                sound_->OnPacket(packet.get());
            }
            av_packet_unref(packet.get());
        }
        CheckCancel();
        if (eof) {
            if (!videoDone()) video->OnPacket(nullptr);
            if (!soundDone()) sound_->OnPacket(nullptr);
        }
    }

    const CutRequest& request_;
    const std::atomic<bool>& cancel_;
    SourceWatch watch_;
    CutInput in_;
    int vIndex_ = -1;
    int aIndex_ = -1;
    CutSpan span_;
    std::unique_ptr<CutSound> sound_;
    // The decoder and reader that find the first picture and the place reading starts.
    CodecContextPtr finder_;
    std::unique_ptr<PictureReader> pictures_;
};

// Drops the unfinished output of an attempt that did not commit it, keeping the name of a file
// that could not be removed so that the user can be told.
class AttemptOutput {
public:
    explicit AttemptOutput(std::string& leftOver) : leftOver_(leftOver) {}
    ~AttemptOutput() {
        if (!writer_) return;
        std::string name = writer_->Discard();
        if (!name.empty()) leftOver_ = name;
    }
    AttemptOutput(const AttemptOutput&) = delete;
    AttemptOutput& operator=(const AttemptOutput&) = delete;

    CutWriter& Open(const CutRequest& request) {
        writer_ = std::make_unique<CutWriter>(request.output, request.writeLimit);
        return *writer_;
    }
    void Commit() {
        writer_->Commit();
        writer_.reset();
    }

private:
    std::string& leftOver_;
    std::unique_ptr<CutWriter> writer_;
};

// Copies what can be copied; returns false (with the reason) when the cut must be re-encoded.
bool TryCopiedCut(const CutRequest& request, const SourceInput& file,
                  const std::atomic<bool>& cancel, CutOutcome& outcome, std::string& leftOver) {
    AttemptOutput output(leftOver);
    try {
        CutPass pass(request, file, cancel);
        if (!pass.HasVideo()) {
            outcome.whyReencoded = "the source has no picture to copy";
            return false;
        }
        std::unique_ptr<CopiedVideo> video = CopiedVideo::Make(
            pass.Span(), pass.VideoIndex(), cancel, [&pass] { pass.Rewind(); },
            request.edgeQuantiserForTesting);
        pass.Rewind();
        CutWriter& writer = output.Open(request);
        pass.Run(writer, video.get());
        video->Check(writer);
        output.Commit();
        outcome.path = CutPath::Copied;
        outcome.whyReencoded.clear();
        outcome.copiedPictures = video->CopiedPictures();
        outcome.encodedPictures = video->EncodedPictures();
        return true;
    } catch (const CutCancelled&) {
        throw;
    } catch (const OutputError&) {
        throw;
    } catch (const std::exception& e) {
        if (cancel.load()) throw CutCancelled();
        // Anything the copy cannot handle, the re-encoding cut can: it decodes every picture
        // and tolerates damage the way a player does.
        outcome.whyReencoded = e.what();
        return false;
    }
}

CutOutcome RenderCutFrom(const CutRequest& request, const SourceInput& file,
                         const std::atomic<bool>& cancel, std::string& leftOver) {
    CutOutcome outcome;
    if (!request.video) {
        outcome.whyReencoded = "no picture was asked for";
    } else if (!request.videoLikeSource) {
        outcome.whyReencoded = "the output's picture format is not the source's";
    } else if (!request.copyAllowed) {
        outcome.whyReencoded = "copying was turned off";
    } else if (TryCopiedCut(request, file, cancel, outcome, leftOver)) {
        return outcome;
    }

    AttemptOutput output(leftOver);
    CutPass pass(request, file, cancel);
    std::unique_ptr<CutVideo> video;
    if (pass.HasVideo()) {
        video = MakeReencodedVideo(pass.Span(), request.source, pass.VideoBitRate(),
                                   request.videoLikeSource);
        outcome.encodedPictures = pass.Span().pictures;
    }
    CutWriter& writer = output.Open(request);
    pass.Run(writer, video.get());
    output.Commit();
    return outcome;
}

}  // namespace

SourceStreams ProbeSourceStreams(const std::string& name) {
    SourceWatch watch(nullptr);
    const std::unique_ptr<SourceInput> file = OpenSourceFile(name);
    const CutInput in = OpenCutInput(*file, name, watch);
    SourceStreams s;
    s.hasVideo = UsableStream(in.get(), AVMEDIA_TYPE_VIDEO) >= 0;
    s.hasAudio = UsableStream(in.get(), AVMEDIA_TYPE_AUDIO) >= 0;
    return s;
}

CutOutcome RenderCut(const CutRequest& request, const std::atomic<bool>& cancel) {
    if (!(request.stop >= request.start) || request.start < 0 || !std::isfinite(request.stop)) {
        throw MediaError(
            "The stretch to cut is invalid: it must start at 0 s or later and end "
            "no earlier than it starts");
    }
    RefuseOverwritingSource(request.source, request.output);
    // Opened once: the copy and the re-encoding that may follow it read the same file.
    const std::unique_ptr<SourceInput> file = OpenSourceFile(request.source);
    std::string leftOver;
    try {
        return RenderCutFrom(request, *file, cancel, leftOver);
    } catch (const MediaError& e) {
        // An unfinished file that could not be removed is named, so the user can remove it.
        const std::string note = base::LeftOverNote(leftOver);
        if (note.empty()) throw;
        if (cancel.load()) throw CutCancelled(note);
        throw MediaError(e.what() + note, e.code());
    }
}

}  // namespace media
