#include <limits>
#include <string>

#include "media/CutSource.h"
#include "media/CutVideo.h"
#include "media/SlotFiller.h"
#include "media/VideoEncoders.h"

namespace media {

namespace {

class ReencodedVideo : public CutVideo {
public:
    ReencodedVideo(const CutSpan& span, const std::string& sourceName, std::int64_t bitRate,
                   bool likeSource)
        : span_(span), sourceName_(sourceName), filler_(span, 0, span.pictures) {
        dec_ = OpenDecoder(span.stream);
        AVRational sar = av_guess_sample_aspect_ratio(span.input, span.stream, nullptr);
        if (sar.num <= 0 || sar.den <= 0) sar = AVRational{0, 1};
        enc_ = OpenCutEncoder(span.stream, dec_.get(), span.rate, sar, bitRate, likeSource);
    }

    void AddStream(CutWriter& writer) override {
        writer_ = &writer;
        ParametersPtr par(avcodec_parameters_alloc());
        if (!par) throw MediaError("Out of memory describing the video stream");
        CheckAv(avcodec_parameters_from_context(par.get(), enc_.get()),
                "Cannot describe the video stream");
        out_ = writer.AddStream(par.get(), enc_->time_base);
    }

    void OnPacket(const AVPacket* pkt) override {
        // A damaged packet costs its frame, not the cut, as with any player.
        if (avcodec_send_packet(dec_.get(), pkt) < 0 && pkt != nullptr) return;
        while (!Done()) {
            int r = avcodec_receive_frame(dec_.get(), decoded_.get());
            if (r < 0) break;
            filler_.Offer(decoded_.get(), emit_);
            av_frame_unref(decoded_.get());
        }
    }

    bool Done() const override { return filler_.Done(); }
    std::int64_t Written() const override { return written_; }
    double SourceEnd() const override {
        return filler_.Done() ? std::numeric_limits<double>::infinity() : filler_.EndOfLast();
    }

    void Finish(std::int64_t pictures) override {
        if (filler_.NothingOnScreen()) {
            throw MediaError("The source file " + Quoted(sourceName_) + " has no picture at " +
                             std::to_string(span_.start) + " s");
        }
        filler_.EndAt(pictures);
        filler_.Finish(emit_);
        Encode(nullptr);
    }

private:
    void EmitPicture(std::int64_t slot, const AVFrame* src, std::int64_t picture) {
        if (src->format != enc_->pix_fmt || src->width != enc_->width ||
            src->height != enc_->height) {
            if (!converted_ || convertedPicture_ != picture) {
                sws_.reset(sws_getCachedContext(sws_.release(), src->width, src->height,
                                                static_cast<AVPixelFormat>(src->format),
                                                enc_->width, enc_->height, enc_->pix_fmt,
                                                SWS_BICUBIC, nullptr, nullptr, nullptr));
                if (!sws_) throw MediaError("Cannot convert the picture format for the encoder");
                FramePtr conv = MakeFrame();
                conv->format = enc_->pix_fmt;
                conv->width = enc_->width;
                conv->height = enc_->height;
                CheckAv(av_frame_get_buffer(conv.get(), 0), "Out of memory converting a picture");
                CheckAv(sws_scale(sws_.get(), src->data, src->linesize, 0, src->height, conv->data,
                                  conv->linesize),
                        "Cannot convert a picture");
                CheckAv(av_frame_copy_props(conv.get(), src), "Cannot convert a picture");
                converted_ = std::move(conv);
                convertedPicture_ = picture;
            }
            src = converted_.get();
        }
        FramePtr frame = RefFrame(src);
        frame->pts = slot;
        frame->pict_type = AV_PICTURE_TYPE_NONE;
        // The decoder leaves its own quantiser here, which a fixed-quality encoder would take.
        frame->quality = enc_->global_quality;
        frame->sample_aspect_ratio = enc_->sample_aspect_ratio;
        Encode(frame.get());
    }

    void Encode(const AVFrame* frame) {
        EncodePicture(enc_.get(), frame, [this](AVPacket* pkt) {
            pkt->stream_index = out_->index;
            av_packet_rescale_ts(pkt, enc_->time_base, out_->time_base);
            writer_->Write(pkt);
            ++written_;
        });
    }

    CutSpan span_;
    std::string sourceName_;
    SlotFiller filler_;
    CodecContextPtr dec_, enc_;
    FramePtr decoded_ = MakeFrame();
    CutWriter* writer_ = nullptr;
    AVStream* out_ = nullptr;
    std::int64_t written_ = 0;
    FramePtr converted_;
    std::int64_t convertedPicture_ = -1;
    SwsPtr sws_;
    SlotFiller::Emit emit_ = [this](std::int64_t slot, const AVFrame* f, std::int64_t picture) {
        EmitPicture(slot, f, picture);
    };
};

}  // namespace

std::unique_ptr<CutVideo> MakeReencodedVideo(const CutSpan& span, const std::string& sourceName,
                                             std::int64_t bitRate, bool likeSource) {
    return std::make_unique<ReencodedVideo>(span, sourceName, bitRate, likeSource);
}

}  // namespace media
