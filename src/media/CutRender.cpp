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

// The most bytes of packets the copy's plan keeps so that the stretch is read once. A longer
// stretch is read twice, the second time mostly from the system's file cache, which costs far
// less than holding it: a 1080p cut already holds about 100 MB of pictures in its decoders and
// encoders.
constexpr std::int64_t kMaxReadAhead = 48 << 20;
// Seconds read besides the stretch: from the key picture before the start, and after the end.
constexpr double kReadAheadSlack = 6.0;

// The bytes the plan keeps for a stretch of `seconds` of `in`, from the source's mean bit rate
// (the file's size over its length where the demuxer does not say) with a quarter to spare for
// busier scenes; 0 when the stretch would not fit, so that nothing is held in vain.
std::int64_t ReadAheadBudget(const AVFormatContext* in, const SourceInput& file, double seconds) {
    double bytesPerSecond = 0;
    if (in->bit_rate > 0) {
        bytesPerSecond = static_cast<double>(in->bit_rate) / 8;
    } else if (in->duration > 0) {
        bytesPerSecond =
            static_cast<double>(file.Size()) / (static_cast<double>(in->duration) / AV_TIME_BASE);
    }
    if (!(bytesPerSecond > 0)) return 0;
    const double estimate = (seconds + kReadAheadSlack) * bytesPerSecond * 1.25;
    if (!(estimate <= static_cast<double>(kMaxReadAhead))) return 0;
    return std::max<std::int64_t>(static_cast<std::int64_t>(estimate), 1 << 20);
}

// One pass over the source: its streams, the stretch in output pictures and sound samples, the
// place reading starts, and the loop that reads packets and hands them to the picture and
// sound sides.
class CutPass {
public:
    CutPass(const CutRequest& request, const SourceInput& file, const std::atomic<bool>& cancel,
            CutProgress& progress)
        : request_(request), file_(file), cancel_(cancel), progress_(progress), watch_(&cancel) {
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
        span_.soundIndex = aIndex_;
        span_.stream = in_->streams[vIndex_ >= 0 ? vIndex_ : aIndex_];
        span_.zero = SourceZero(in_.get(), span_.stream);
        span_.start = request.start;
        const double length = request.stop - request.start;
        readAhead_ =
            ReadAhead(request.readAheadForTesting >= 0 ? request.readAheadForTesting
                                                       : ReadAheadBudget(in_.get(), file, length));
        if (readAhead_.Valid()) span_.readAhead = &readAhead_;
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
        readAhead_.Reset();
        if (!pictures_) return;
        watch_.Arm(kReadTimeout);
        pictures_->Rewind();
    }

    // After the copy's plan: what it read ahead is read from memory and the file from where
    // the plan stopped, unless it read too much to keep.
    void AfterPlan() {
        if (!readAhead_.Valid()) Rewind();
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

    // Whether Run has read from the pass: a second attempt then needs a pass of its own.
    bool Used() const { return used_; }

    // Writes the whole cut into `writer` with `video` as its picture side (null: no picture),
    // then checks that the pictures and sound written are those planned.
    void Run(CutWriter& writer, CutVideo* video, CutOutcome& outcome) {
        used_ = true;
        if (video != nullptr) video->AddStream(writer);
        if (sound_) sound_->AddStream(writer);
        writer.Begin();
        pictures_.reset();
        finder_.reset();
        progress_.Plan(video != nullptr ? span_.pictures : sound_->SamplesWanted());
        const bool eof = Pump(video);
        std::int64_t pictures = span_.pictures;
        std::int64_t samples = sound_ ? sound_->SamplesWanted() : 0;
        if (eof) EndOfSource(video, pictures, samples, outcome);
        if (video != nullptr) video->Finish(pictures);
        if (sound_) sound_->Finish(samples);
        writer.End();
        if (video != nullptr && video->Written() != pictures) {
            throw MediaError("The cut wrote " + std::to_string(video->Written()) +
                             " pictures instead of " + std::to_string(pictures));
        }
        if (sound_ && sound_->SamplesOut() != samples) {
            throw MediaError("The cut wrote " + std::to_string(sound_->SamplesOut()) +
                             " sound samples instead of " + std::to_string(samples));
        }
        progress_.Update(video != nullptr ? pictures : samples);
        outcome.hasVideo = video != nullptr;
        outcome.hasSound = sound_ != nullptr;
        outcome.writtenSeconds = video != nullptr
                                     ? static_cast<double>(pictures) / av_q2d(span_.rate)
                                     : static_cast<double>(samples) / sound_->SampleRate();
    }

    // Throws SourceChanged when the source file is not the one the cut started with.
    void RequireUnchanged() const {
        if (file_.Changed()) {
            throw SourceChanged("The source file " + Quoted(request_.source) +
                                " changed while it was being cut (it was shortened or written "
                                "to), so the cut would not hold what was marked");
        }
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
        // One thread: it decodes only the file's first picture and the first after the seek;
        // frame threads would be started for those two and decode the pictures after them too.
        finder_ = OpenDecoder(span_.stream, 1);
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

    // Reads until both sides are complete or the file ends; returns true at the end of the file.
    bool Pump(CutVideo* video) {
        auto videoDone = [&] { return video == nullptr || video->Done(); };
        auto soundDone = [&] { return !sound_ || sound_->Done(); };
        auto done = [&] { return video != nullptr ? video->Written() : sound_->SamplesOut(); };
        PacketPtr packet = MakePacket();
        bool eof = false;
        int againCount = 0;
        while (!eof) {
            // The sound is decoded beside the reading: once the pictures are complete, what is
            // still being decoded may complete the sound too.
            if (videoDone() && !soundDone()) sound_->Settle();
            if (videoDone() && soundDone()) break;
            BeforeRead();
            int r = readAhead_.Take(packet.get()) ? 0 : av_read_frame(in_.get(), packet.get());
            if (r == AVERROR(EAGAIN) && ++againCount < 1000) continue;
            if (r == AVERROR_EOF) {
                eof = true;
                break;
            }
            if (r < 0) {
                CheckCancel();
                RequireUnchanged();
                ReadFailed("Cannot read the source file ", r);
            }
            againCount = 0;
            if (packet->stream_index == vIndex_ && !videoDone()) {
                video->OnPacket(packet.get());
            } else if (packet->stream_index == aIndex_ && !soundDone()) {
                sound_->OnPacket(packet.get());
            }
            av_packet_unref(packet.get());
            progress_.Update(done());
        }
        CheckCancel();
        if (eof) {
            if (!videoDone()) video->OnPacket(nullptr);
            if (!soundDone()) sound_->OnPacket(nullptr);
        }
        return eof;
    }

    // The file ended before the stretch did, or just as it did. A file that changed since it
    // was opened ends the cut; otherwise the stretch ends where the later of picture and sound
    // really ends, so that nothing beyond the source is made up.
    void EndOfSource(CutVideo* video, std::int64_t& pictures, std::int64_t& samples,
                     CutOutcome& outcome) {
        RequireUnchanged();
        const double rate = av_q2d(span_.rate);
        const double length = video != nullptr
                                  ? static_cast<double>(span_.pictures) / rate
                                  : static_cast<double>(samples) / sound_->SampleRate();
        double end = 0;
        if (video != nullptr) end = std::max(end, video->SourceEnd());
        if (sound_) {
            end = std::max(end, sound_->Done() ? length
                                               : static_cast<double>(sound_->SamplesOut()) /
                                                     sound_->SampleRate());
        }
        if (!(end < length)) return;
        outcome.clamped = true;
        if (video != nullptr) {
            // The picture on screen at the real end is the last one written.
            pictures = std::clamp<std::int64_t>(
                static_cast<std::int64_t>(std::ceil(end * rate - 1e-6)), 1, span_.pictures);
            if (sound_) {
                samples = std::llround(static_cast<double>(pictures) / rate * sound_->SampleRate());
                samples = std::max(samples, sound_->SamplesOut());
            }
            progress_.Plan(pictures);
        } else {
            samples = sound_->SamplesOut();
            progress_.Plan(samples);
        }
    }

    const CutRequest& request_;
    const SourceInput& file_;
    const std::atomic<bool>& cancel_;
    CutProgress& progress_;
    bool used_ = false;
    ReadAhead readAhead_{0};
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
    // Puts the file in place, unless the cut was stopped or its source changed meanwhile.
    void Commit(const CutPass& pass, const std::atomic<bool>& cancel, CutProgress& progress) {
        progress.Committing();
        if (cancel.load()) throw CutCancelled();
        pass.RequireUnchanged();
        writer_->Commit();
        writer_.reset();
    }

private:
    std::string& leftOver_;
    std::unique_ptr<CutWriter> writer_;
};

// Why a cut cannot copy its pictures whatever the source holds; empty when it may try.
std::string WhyNotCopied(const CutRequest& request) {
    if (!request.video) return "no picture was asked for";
    if (!request.videoLikeSource) return "the output's picture format is not the source's";
    if (!request.copyAllowed) return "copying was turned off";
    return {};
}

// Copies what can be copied; returns false (with the reason) when the cut must be re-encoded.
bool TryCopiedCut(const CutRequest& request, CutPass& pass, const std::atomic<bool>& cancel,
                  CutProgress& progress, CutOutcome& outcome, std::string& leftOver) {
    AttemptOutput output(leftOver);
    try {
        if (!pass.HasVideo()) {
            outcome.whyReencoded = "the source has no picture to copy";
            return false;
        }
        std::unique_ptr<CopiedVideo> video = CopiedVideo::Make(
            pass.Span(), pass.VideoIndex(), cancel, [&pass] { pass.Rewind(); },
            CopySeams{request.edgeQuantiserForTesting, request.edgeHookForTesting,
                      request.decodeHookForTesting});
        pass.AfterPlan();
        CutWriter& writer = output.Open(request);
        pass.Run(writer, video.get(), outcome);
        video->Check(writer);
        output.Commit(pass, cancel, progress);
        outcome.path = CutPath::Copied;
        outcome.whyReencoded.clear();
        outcome.copiedPictures = video->CopiedPictures();
        outcome.encodedPictures = video->EncodedPictures();
        return true;
    } catch (const CutCancelled&) {
        throw;
    } catch (const OutputError&) {
        throw;
    } catch (const SourceChanged&) {
        throw;
    } catch (const std::exception& e) {
        if (cancel.load()) throw CutCancelled();
        pass.RequireUnchanged();
        // Anything the copy cannot handle, the re-encoding cut can: it decodes every picture
        // and tolerates damage the way a player does.
        outcome = CutOutcome{};
        outcome.whyReencoded = e.what();
        return false;
    }
}

CutOutcome RenderCutFrom(const CutRequest& request, const SourceInput& file,
                         const std::atomic<bool>& cancel, CutProgress& progress,
                         std::string& leftOver) {
    CutOutcome outcome;
    // One demuxer serves the copy and, when the copy is refused before anything was read for
    // it, the re-encoding too.
    auto pass = std::make_unique<CutPass>(request, file, cancel, progress);
    outcome.whyReencoded = WhyNotCopied(request);
    if (outcome.whyReencoded.empty()) {
        if (TryCopiedCut(request, *pass, cancel, progress, outcome, leftOver)) return outcome;
        if (pass->Used()) {
            progress.Restart();
            pass = std::make_unique<CutPass>(request, file, cancel, progress);
        } else {
            pass->AfterPlan();
        }
    }

    AttemptOutput output(leftOver);
    std::unique_ptr<CutVideo> video;
    if (pass->HasVideo()) {
        video = MakeReencodedVideo(pass->Span(), request.source, pass->VideoBitRate(),
                                   request.videoLikeSource);
    }
    CutWriter& writer = output.Open(request);
    pass->Run(writer, video.get(), outcome);
    output.Commit(*pass, cancel, progress);
    if (video) outcome.encodedPictures = video->Written();
    return outcome;
}

// Times are checked before anything is converted to pictures or samples.
void RequireSaneStretch(const CutRequest& request) {
    const double start = request.start;
    const double stop = request.stop;
    if (!std::isfinite(start) || !std::isfinite(stop) || start < 0 || stop < start) {
        throw MediaError(
            "The stretch to cut is invalid: it must start at 0 s or later and end "
            "no earlier than it starts");
    }
    if (stop > kMaxCutSeconds) {
        throw MediaError("The stretch to cut is invalid: its end (" + std::to_string(stop) +
                         " s) lies beyond any file");
    }
}

CutOutcome RenderCutWith(const CutRequest& request, const std::atomic<bool>& cancel,
                         CutProgress& progress) {
    RequireSaneStretch(request);
    RefuseOverwritingSource(request.source, request.output);
    // Opened once: the copy and the re-encoding that may follow it read the same file.
    const std::unique_ptr<SourceInput> file = OpenSourceFile(request.source);
    std::string leftOver;
    try {
        return RenderCutFrom(request, *file, cancel, progress, leftOver);
    } catch (const MediaError& e) {
        // An unfinished file that could not be removed is named, so the user can remove it. A
        // stop that interrupts FFmpeg mid-call surfaces as that call's failure.
        const std::string note = base::LeftOverNote(leftOver);
        if (cancel.load()) throw CutCancelled(note);
        if (note.empty()) throw;
        throw MediaError(e.what() + note, e.code());
    }
}

}  // namespace

void CutProgress::Plan(std::int64_t planned) {
    planned_ = base_ + std::max<std::int64_t>(planned, 0);
    if (hookForTesting) hookForTesting(done_.load(), planned_.load(), false);
}

void CutProgress::Update(std::int64_t done) {
    const std::int64_t now = base_ + std::max<std::int64_t>(done, 0);
    if (now > done_.load()) done_ = now;
    if (hookForTesting) hookForTesting(done_.load(), planned_.load(), false);
}

void CutProgress::Restart() { base_ = done_.load(); }

void CutProgress::Committing() {
    if (hookForTesting) hookForTesting(done_.load(), planned_.load(), true);
}

CutOutcome RenderCut(const CutRequest& request, CutProgress& progress) {
    return RenderCutWith(request, progress.StopFlag(), progress);
}

CutOutcome RenderCut(const CutRequest& request, const std::atomic<bool>& cancel) {
    CutProgress progress;
    return RenderCutWith(request, cancel, progress);
}

}  // namespace media
