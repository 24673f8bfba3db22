#include "media/CopiedVideo.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

#include "media/CutSource.h"
#include "media/PictureDigest.h"
#include "media/SlotFiller.h"
#include "media/VideoEncoders.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

namespace media {

namespace {

[[noreturn]] void Refuse(const std::string& why) { throw CopyRefused(why); }

// AVI keeps no presentation times, but the muxer wants them no earlier than decode times.
constexpr std::int64_t kReorderRoom = 16;
// Re-encoded pictures must come this close to the source's (peak signal-to-noise ratio, dB).
constexpr double kMinPsnr = 40.0;
// Bytes of pictures that may wait to be written behind others.
constexpr std::int64_t kMaxHeldBytes = 64 << 20;

// The source's picture for a slot that the check compares: a digest for copied pictures,
// which must come out identical, the picture itself for re-encoded ones.
struct Reference {
    bool copied = false;
    PictureDigest digest{};
    FramePtr picture;
};

struct OutputKey {
    std::int64_t index = 0;  // decode position in the output
    std::int64_t slot = 0;   // slot of the key picture
};

// One decoder of the source for an edge: it starts at a key packet and decodes until it has
// given every picture the edge and its check need.
struct EdgeDecoder {
    CodecContextPtr dec;
    bool active = false;
    std::int64_t from = 0;
};

// Bytes of each plane row, and rows, of a picture in an 8-bit or wider planar/packed format.
bool PlaneGeometry(const AVFrame* f, int plane, int& bytes, int& rows) {
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(f->format));
    if (d == nullptr) return false;
    int linesizes[4] = {};
    if (av_image_fill_linesizes(linesizes, static_cast<AVPixelFormat>(f->format), f->width) < 0)
        return false;
    bytes = linesizes[plane];
    rows = (plane == 1 || plane == 2) ? AV_CEIL_RSHIFT(f->height, d->log2_chroma_h) : f->height;
    return bytes > 0;
}

bool SameShape(const AVFrame* a, const AVFrame* b) {
    return a->format == b->format && a->width == b->width && a->height == b->height;
}

// Peak signal-to-noise ratio over all planes of two 8-bit pictures; infinity when identical.
double Psnr(const AVFrame* a, const AVFrame* b) {
    if (!SameShape(a, b)) return 0;
    double sum = 0;
    double count = 0;
    for (int p = 0; p < 4 && a->data[p] != nullptr; ++p) {
        int bytes = 0;
        int rows = 0;
        if (!PlaneGeometry(a, p, bytes, rows)) return 0;
        for (int y = 0; y < rows; ++y) {
            const std::uint8_t* ra = a->data[p] + static_cast<std::ptrdiff_t>(y) * a->linesize[p];
            const std::uint8_t* rb = b->data[p] + static_cast<std::ptrdiff_t>(y) * b->linesize[p];
            std::int64_t row = 0;
            for (int x = 0; x < bytes; ++x) {
                const int d = int(ra[x]) - int(rb[x]);
                row += d * d;
            }
            sum += static_cast<double>(row);
        }
        count += static_cast<double>(bytes) * rows;
    }
    if (sum == 0) return INFINITY;
    return 10.0 * std::log10(255.0 * 255.0 * count / sum);
}

bool Damaged(const AVFrame* f) {
    return f->decode_error_flags != 0 || (f->flags & AV_FRAME_FLAG_CORRUPT) != 0;
}

// An edge's encoder on a thread of its own, so that the pictures of the start are encoded while
// those after them are read and copied. Pictures go in in order (null: the end); the packets
// come out in order and are written on the caller's thread.
class EdgeEncoderThread {
public:
    // `before`, when set, is called on the thread before each picture is encoded (with its
    // time stamp, the slot) and before the encoder drains (-1).
    EdgeEncoderThread(CodecContextPtr enc, std::function<void(std::int64_t)> before)
        : enc_(std::move(enc)), before_(std::move(before)), thread_([this] { Loop(); }) {}
    ~EdgeEncoderThread() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    EdgeEncoderThread(const EdgeEncoderThread&) = delete;
    EdgeEncoderThread& operator=(const EdgeEncoderThread&) = delete;

    void Send(FramePtr frame) {
        {
            std::unique_lock lock(mutex_);
            // A few decoded pictures wait at most: each holds a picture's memory.
            changed_.wait(lock, [this] { return input_.size() < kMaxWaiting || failure_; });
            input_.push_back(std::move(frame));
            ++pending_;
        }
        changed_.notify_all();
    }

    // The packets encoded so far; with `wait`, once every picture sent is encoded. Rethrows
    // the encoder's failure.
    std::vector<PacketPtr> Take(bool wait) {
        std::vector<PacketPtr> out;
        {
            std::unique_lock lock(mutex_);
            if (wait) changed_.wait(lock, [this] { return pending_ == 0 || failure_; });
            if (failure_) std::rethrow_exception(failure_);
            out.swap(output_);
        }
        changed_.notify_all();
        return out;
    }

    // Whether the end was encoded and its packets taken.
    bool Ended() {
        std::lock_guard lock(mutex_);
        return ended_ && output_.empty();
    }

private:
    static constexpr std::size_t kMaxWaiting = 8;

    void Loop() {
        for (;;) {
            FramePtr frame;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return stopping_ || !input_.empty(); });
                if (stopping_) return;
                frame = std::move(input_.front());
                input_.pop_front();
            }
            std::vector<PacketPtr> packets;
            std::exception_ptr failure;
            try {
                if (before_) before_(frame ? frame->pts : -1);
                EncodePicture(enc_.get(), frame.get(), [&](AVPacket* pkt) {
                    PacketPtr copy = MakePacket();
                    CheckAv(av_packet_ref(copy.get(), pkt), "Out of memory encoding a picture");
                    packets.push_back(std::move(copy));
                });
            } catch (...) {
                failure = std::current_exception();
            }
            {
                std::lock_guard lock(mutex_);
                for (PacketPtr& p : packets) output_.push_back(std::move(p));
                if (failure && !failure_) failure_ = failure;
                if (!frame) ended_ = true;
                --pending_;
            }
            changed_.notify_all();
        }
    }

    CodecContextPtr enc_;
    std::function<void(std::int64_t)> before_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<FramePtr> input_;
    std::vector<PacketPtr> output_;
    std::int64_t pending_ = 0;
    bool ended_ = false;
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::thread thread_;
};

class CopiedVideoImpl : public CopiedVideo {
public:
    CopiedVideoImpl(const CutSpan& span, CopyPlan plan, CopySeams seams)
        : span_(span), plan_(std::move(plan)), seams_(std::move(seams)) {
        if (plan_.unpack) {
            const AVBitStreamFilter* filter = av_bsf_get_by_name("mpeg4_unpack_bframes");
            AVBSFContext* raw = nullptr;
            CheckAv(av_bsf_alloc(filter, &raw), "Cannot set up the B-frame unpacker");
            bsf_.reset(raw);
            CheckAv(avcodec_parameters_copy(bsf_->par_in, span.stream->codecpar),
                    "Cannot set up the B-frame unpacker");
            bsf_->time_base_in = span.stream->time_base;
            CheckAv(av_bsf_init(bsf_.get()), "Cannot set up the B-frame unpacker");
        }
        // The head decoder starts where the re-encoding cut would, and always runs: it also
        // gives the first copied pictures for the check. It is the plan's, which decoded the
        // first packets already, when the plan could hand it over.
        if (plan_.decoder) {
            head_.dec = std::move(plan_.decoder);
            headGiven_ = plan_.decoderPackets;
        } else {
            head_.dec = OpenDecoder(plan_.parameters.get(), span.stream->time_base, true);
        }
        head_.active = true;
        head_.from = plan_.first;
        headFiller_ = std::make_unique<SlotFiller>(span, 0, plan_.headSlots);
        headFilled_ = !plan_.HasHead();
        headFlushed_ = headFilled_;
        if (plan_.HasTail()) {
            tail_.dec = OpenDecoder(plan_.parameters.get(), span.stream->time_base, true);
            tail_.active = true;
            tail_.from = plan_.tailDecodeFrom;
            tailFiller_ = std::make_unique<SlotFiller>(span, plan_.tailStart, plan_.pictures);
        }
        for (std::int64_t slot = 0; slot < plan_.pictures; ++slot)
            if (plan_.InWindow(slot)) wanted_.push_back(slot);
    }

    void AddStream(CutWriter& writer) override {
        writer_ = &writer;
        ParametersPtr par(avcodec_parameters_alloc());
        if (!par) throw MediaError("Out of memory describing the video stream");
        CheckAv(avcodec_parameters_copy(par.get(), plan_.parameters.get()),
                "Cannot describe the video stream");
        const AVOutputFormat* avi = av_guess_format("avi", nullptr, nullptr);
        const AVCodecTag* const* tags = avi->codec_tag;
        if (par->codec_tag != 0 && av_codec_get_id(tags, par->codec_tag) != par->codec_id)
            par->codec_tag = 0;
        par->bit_rate = 0;
        AVRational sar = av_guess_sample_aspect_ratio(span_.input, span_.stream, nullptr);
        if (sar.num > 0 && sar.den > 0) par->sample_aspect_ratio = sar;
        AVRational tb;
        av_reduce(&tb.num, &tb.den, span_.rate.den, span_.rate.num, 65535);
        out_ = writer.AddStream(par.get(), tb);
    }

    void OnPacket(const AVPacket* pkt) override {
        if (pkt == nullptr) {
            AtEnd();
            return;
        }
        PacketPtr copy = MakePacket();
        CheckAv(av_packet_ref(copy.get(), pkt), "Out of memory reading the source");
        if (!bsf_) {
            Handle(copy.get());
            return;
        }
        CheckAv(av_bsf_send_packet(bsf_.get(), copy.get()), "Cannot unpack MPEG-4 B-frames");
        PacketPtr out = MakePacket();
        while (av_bsf_receive_packet(bsf_.get(), out.get()) >= 0) {
            Handle(out.get());
            av_packet_unref(out.get());
        }
    }

    bool Done() const override {
        return !head_.active && headFlushed_ && copyDone_ &&
               (!plan_.HasTail() || (!tail_.active && tailFlushed_));
    }

    std::int64_t Written() const override { return written_; }
    // A copy is refused when the source ends before the stretch does.
    double SourceEnd() const override { return std::numeric_limits<double>::infinity(); }

    void Finish(std::int64_t pictures) override {
        if (pictures != plan_.pictures) Refuse("the source ends before the end mark");
        if (!ended_) AtEnd();
        if (!headFlushed_ || !copyDone_) Refuse("the source ended before the copy was complete");
        if (plan_.HasTail() && !tailFlushed_) Refuse("the source ended before the end mark");
        if (written_ != plan_.pictures)
            Refuse("the copy has " + std::to_string(written_) + " pictures instead of " +
                   std::to_string(plan_.pictures));
        for (std::int64_t slot : wanted_)
            if (references_.count(slot) == 0)
                Refuse("the source's picture " + std::to_string(slot) + " was not decoded");
    }

    void Check(CutWriter& writer) override;

    std::int64_t CopiedPictures() const override { return copied_; }
    std::int64_t EncodedPictures() const override { return plan_.pictures - copied_; }

private:
    void Handle(AVPacket* pkt) {
        const std::int64_t i = next_++;
        if (i >= static_cast<std::int64_t>(plan_.packets.size()))
            Refuse("the copy needs pictures beyond those planned");
        const ScannedPacket& sp = plan_.packets[i];
        if (sp.dts != pkt->dts || sp.size != pkt->size)
            Refuse("the source reads differently the second time");
        TagPacket(pkt, i);
        TakeOverPlanDecoder();
        if (head_.active && i >= headGiven_) Feed(head_, pkt, i, true);
        if (i >= plan_.entry && i <= plan_.last && !plan_.IsDropped(i)) Copy(pkt, i);
        if (tail_.active && i >= tail_.from) Feed(tail_, pkt, i, false);
        // Once no more packets are needed, the cut waits for the edges' encoders.
        const bool needsPackets = head_.active || tail_.active || !(queuedLast_ || copyDone_);
        Collect(!needsPackets);
    }

    // Writes what the edges' encoders have given; with `wait`, once they have encoded all they
    // were sent.
    void Collect(bool wait) {
        if (headThread_) {
            for (PacketPtr& p : headThread_->Take(wait)) Encoded(p.get(), false);
            if (headThread_->Ended()) {
                headThread_.reset();
                HeadWritten();
            }
        }
        if (tailThread_) {
            for (PacketPtr& p : tailThread_->Take(wait)) Encoded(p.get(), true);
            if (tailThread_->Ended()) {
                tailThread_.reset();
                tailFlushed_ = true;
            }
        }
    }

    void AtEnd() {
        ended_ = true;
        TakeOverPlanDecoder();
        if (bsf_) {
            av_bsf_send_packet(bsf_.get(), nullptr);
            PacketPtr out = MakePacket();
            while (av_bsf_receive_packet(bsf_.get(), out.get()) >= 0) {
                Handle(out.get());
                av_packet_unref(out.get());
            }
        }
        if (head_.active) Feed(head_, nullptr, -1, true);
        if (tail_.active) Feed(tail_, nullptr, -1, false);
        if (head_.active && !headFilled_ && headFiller_) {
            headFiller_->Finish(headEmit_);
            FlushHead();
        }
        head_.active = false;
        if (tail_.active && !tailFilled_ && tailFiller_) {
            tailFiller_->Finish(tailEmit_);
            FlushTail();
        }
        tail_.active = false;
        Collect(true);
    }

    // The plan's decoder was given the first packets: what it refused counts as if the head
    // decoder had, and the pictures it gave out are the head's first.
    void TakeOverPlanDecoder() {
        if (tookOver_) return;
        tookOver_ = true;
        for (const auto& [index, r] : plan_.decoderErrors)
            if (r != AVERROR_EOF && Matters(index, head_))
                Refuse("the source's picture cannot be decoded: " + AvErrorText(r));
        for (const FramePtr& f : plan_.decoded) {
            if (!head_.active) break;
            OnHeadPicture(f.get());
        }
        plan_.decoded.clear();
        plan_.decoderErrors.clear();
        if (!head_.active) head_.dec.reset();
    }

    // Errors of pictures before the one the decoder started at, or shown before it or before
    // the start, are no concern: they are neither copied nor shown.
    bool Matters(std::int64_t index, const EdgeDecoder& d) const {
        if (index < d.from) return false;
        const std::int64_t rank = plan_.packets[index].rank;
        return rank == kNoRank || (rank >= plan_.r0 && rank >= plan_.packets[d.from].rank);
    }

    void Feed(EdgeDecoder& d, const AVPacket* pkt, std::int64_t index, bool head) {
        int r = avcodec_send_packet(d.dec.get(), pkt);
        if (r < 0 && r != AVERROR_EOF && pkt != nullptr && Matters(index, d))
            Refuse("the source's picture cannot be decoded: " + AvErrorText(r));
        FramePtr f = MakeFrame();
        while (d.active && avcodec_receive_frame(d.dec.get(), f.get()) >= 0) {
            if (head)
                OnHeadPicture(f.get());
            else
                OnTailPicture(f.get());
            av_frame_unref(f.get());
        }
        // A decoder that has done its work gives its pictures back at once.
        if (!d.active) d.dec.reset();
    }

    // The rank of a decoded picture that its decoder's clock stamped `ts`, checked against that
    // time. Pictures shown before the one the decoder started at lack their references and are
    // not used (nor does the re-encoding cut use them): kNoRank.
    std::int64_t RankOf(const AVFrame* f, std::int64_t ts, const EdgeDecoder& d) const {
        const std::int64_t tag = FrameTag(f);
        if (tag < 0 || tag >= static_cast<std::int64_t>(plan_.packets.size()))
            Refuse("a decoded picture cannot be matched to its packet");
        const std::int64_t rank = plan_.packets[tag].rank;
        if (rank == kNoRank || rank < plan_.packets[d.from].rank) return kNoRank;
        if (rank < plan_.r0) return rank;
        if (std::abs(ts - (plan_.base + rank * plan_.tick)) * 4 > plan_.tick)
            Refuse("the pictures' time stamps do not follow their order");
        if (Damaged(f)) Refuse("a picture of the source decodes with errors");
        return rank;
    }

    void Keep(std::int64_t slot, const AVFrame* f, bool copied) {
        if (!plan_.InWindow(slot) || references_.count(slot) != 0) return;
        if (copied) {
            references_[slot] = Reference{true, DigestPicture(f), nullptr};
            return;
        }
        // A copy, so that the decoder's own pool is not held.
        FramePtr kept = MakeFrame();
        kept->format = f->format;
        kept->width = f->width;
        kept->height = f->height;
        CheckAv(av_frame_get_buffer(kept.get(), 0), "Out of memory keeping a picture");
        CheckAv(av_frame_copy(kept.get(), f), "Cannot keep a picture");
        references_[slot] = Reference{false, {}, std::move(kept)};
    }

    bool HaveReferences(std::int64_t fromSlot, std::int64_t toSlot) const {
        for (std::int64_t slot : wanted_)
            if (slot >= fromSlot && slot < toSlot && references_.count(slot) == 0) return false;
        return true;
    }

    void OnHeadPicture(const AVFrame* f) {
        const std::optional<std::int64_t> ts = headFiller_->Stamp(f);
        if (!ts) return;
        const std::int64_t rank = RankOf(f, *ts, head_);
        if (rank == kNoRank) return;
        if (rank >= plan_.entryRank && rank <= plan_.lastRank)
            Keep(plan_.SlotOfRank(rank), f, true);
        if (!headFilled_) {
            NoteQuantiser(f);
            headFiller_->Offer(f, *ts, headEmit_);
            if (headFiller_->Done()) FlushHead();
        }
        // The head decoder's work ends with the copied pictures that the start's check needs.
        const std::int64_t copyEnd = plan_.SlotOfRank(plan_.lastRank) + 1;
        if (headFilled_ && HaveReferences(0, std::min(copyEnd, plan_.headSlots + kCheckPictures)))
            head_.active = false;
    }

    void OnTailPicture(const AVFrame* f) {
        const std::optional<std::int64_t> ts = tailFiller_->Stamp(f);
        if (!ts) return;
        const std::int64_t rank = RankOf(f, *ts, tail_);
        if (rank == kNoRank) return;
        if (rank >= plan_.entryRank && rank <= plan_.lastRank)
            Keep(plan_.SlotOfRank(rank), f, true);
        if (!tailFilled_) {
            NoteQuantiser(f);
            tailFiller_->Offer(f, *ts, tailEmit_);
            if (tailFiller_->Done()) FlushTail();
        }
        if (tailFilled_) tail_.active = false;
    }

    void EmitEdge(std::unique_ptr<EdgeEncoderThread>& enc, bool start, std::int64_t slot,
                  const AVFrame* f) {
        const std::int64_t tag = FrameTag(f);
        if (plan_.packets[tag].rank != plan_.RankOfSlot(slot))
            Refuse("the pictures of the start do not follow one another");
        if (f->format != plan_.edges.pixelFormat || f->width != plan_.edges.width ||
            f->height != plan_.edges.height)
            Refuse("the source's pictures change format");
        Keep(slot, f, false);
        const double q = EdgeQuantiser();
        if (!enc) {
            EdgeFormat format = plan_.edges;
            format.quantiser = q;
            std::function<void(std::int64_t)> before;
            if (seams_.edgeHook)
                before = [hook = seams_.edgeHook, start](std::int64_t s) { hook(start, s); };
            enc = std::make_unique<EdgeEncoderThread>(OpenEdgeEncoder(format), std::move(before));
        }
        FramePtr frame = RefFrame(f);
        frame->pts = slot;
        frame->pict_type = AV_PICTURE_TYPE_NONE;
        frame->quality = EdgeQuality(plan_.edges, q);
        av_frame_remove_side_data(frame.get(), AV_FRAME_DATA_VIDEO_ENC_PARAMS);
        enc->Send(std::move(frame));
    }

    // The quantisers of the intra and predicted pictures around an edge set its quality;
    // B-pictures, quantised more coarsely, would make the edge a generation worse.
    void NoteQuantiser(const AVFrame* f) {
        if (f->pict_type == AV_PICTURE_TYPE_B) return;
        const double q = AverageQuantiser(f);
        if (q > 0) quantisers_.push_back(q);
    }

    double EdgeQuantiser() const {
        if (seams_.edgeQuantiser > 0) return seams_.edgeQuantiser;
        if (quantisers_.empty()) return plan_.edges.quantiser;
        std::vector<double> q = quantisers_;
        std::nth_element(q.begin(), q.begin() + q.size() / 2, q.end());
        return q[q.size() / 2];
    }

    // Every picture of the start was given to its encoder: it is told the end, and the copies
    // wait until its last packet is written.
    void FlushHead() {
        headFilled_ = true;
        quantisers_.clear();
        if (headThread_) {
            headThread_->Send(nullptr);
        } else {
            HeadWritten();
        }
    }

    void HeadWritten() {
        headFlushed_ = true;
        Release(copyQueue_);
        if (queuedLast_) SetCopyDone();
    }

    void FlushTail() {
        tailFilled_ = true;
        if (tailThread_) {
            tailThread_->Send(nullptr);
        } else {
            tailFlushed_ = true;
        }
    }

    void Encoded(AVPacket* pkt, bool tail) {
        const std::int64_t slot = pkt->pts;
        // The MPEG encoders end their stream with a sequence end code, which would end the
        // stream for the decoder in the middle of the file.
        if ((plan_.edges.codec == AV_CODEC_ID_MPEG1VIDEO ||
             plan_.edges.codec == AV_CODEC_ID_MPEG2VIDEO) &&
            pkt->size >= 4 && pkt->data[pkt->size - 4] == 0 && pkt->data[pkt->size - 3] == 0 &&
            pkt->data[pkt->size - 2] == 1 && pkt->data[pkt->size - 1] == 0xB7) {
            pkt->size -= 4;
        }
        if (tail && !copyDone_) {
            PacketPtr held = MakePacket();
            CheckAv(av_packet_ref(held.get(), pkt), "Out of memory holding a picture");
            Hold(tailQueue_, std::move(held), slot);
            return;
        }
        WriteVideo(pkt, slot);
    }

    void Copy(const AVPacket* src, std::int64_t index) {
        PacketPtr pkt = MakePacket();
        const ScannedPacket& sp = plan_.packets[index];
        if (index == plan_.entry && !sp.facts.hasConfig && !plan_.config.empty()) {
            // The first copied picture follows re-encoded ones, whose configuration differs.
            CheckAv(av_new_packet(pkt.get(), static_cast<int>(plan_.config.size()) + src->size),
                    "Out of memory copying a picture");
            std::memcpy(pkt->data, plan_.config.data(), plan_.config.size());
            std::memcpy(pkt->data + plan_.config.size(), src->data, static_cast<size_t>(src->size));
            pkt->flags = src->flags;
        } else {
            CheckAv(av_packet_ref(pkt.get(), src), "Out of memory copying a picture");
        }
        ++copied_;
        const std::int64_t slot = plan_.SlotOfRank(sp.rank);
        if (!headFlushed_) {
            Hold(copyQueue_, std::move(pkt), slot);
            if (index == plan_.last) {
                queuedLast_ = true;
                // Holding it may have waited for the start to be written.
                if (headFlushed_) SetCopyDone();
            }
            return;
        }
        WriteVideo(pkt.get(), slot);
        if (index == plan_.last) SetCopyDone();
    }

    // Packets wait for the ones that go before them in the file only for a few pictures; a
    // source whose pictures do not come out of the decoder would make them wait for ever.
    // Once every picture of the start is with its encoder, the copies wait for it instead: it
    // is only slow (a busy machine), and giving up would re-encode the whole stretch.
    using Queue = std::deque<std::pair<PacketPtr, std::int64_t>>;
    void Hold(Queue& queue, PacketPtr pkt, std::int64_t slot) {
        held_ += pkt->size;
        queue.emplace_back(std::move(pkt), slot);
        if (held_ <= kMaxHeldBytes) return;
        if (&queue == &copyQueue_ && headFilled_ && headThread_) {
            for (PacketPtr& p : headThread_->Take(true)) Encoded(p.get(), false);
            if (headThread_->Ended()) {
                headThread_.reset();
                HeadWritten();
            }
            if (held_ <= kMaxHeldBytes) return;
        }
        Refuse("too many pictures wait for the decoder");
    }

    void Release(Queue& queue) {
        for (auto& [pkt, slot] : queue) {
            held_ -= pkt->size;
            WriteVideo(pkt.get(), slot);
        }
        queue.clear();
    }

    void SetCopyDone() {
        copyDone_ = true;
        Release(tailQueue_);
    }

    void WriteVideo(AVPacket* pkt, std::int64_t slot) {
        pkt->stream_index = out_->index;
        pkt->dts = written_++;
        pkt->pts = slot + kReorderRoom;
        pkt->duration = 1;
        pkt->pos = -1;
        if ((pkt->flags & AV_PKT_FLAG_KEY) != 0) keys_.push_back({pkt->dts, slot});
        outputSlots_.push_back(slot);
        writer_->Write(pkt);
    }

    CutSpan span_;
    CopyPlan plan_;
    CopySeams seams_;
    BsfPtr bsf_;
    CutWriter* writer_ = nullptr;
    AVStream* out_ = nullptr;

    std::int64_t next_ = 0;
    bool ended_ = false;
    EdgeDecoder head_;
    std::int64_t headGiven_ = 0;  // packets the plan's decoder was given for the head
    bool tookOver_ = false;       // and the pictures it gave out went to the head
    EdgeDecoder tail_;
    std::unique_ptr<SlotFiller> headFiller_;
    std::unique_ptr<SlotFiller> tailFiller_;
    std::unique_ptr<EdgeEncoderThread> headThread_;
    std::unique_ptr<EdgeEncoderThread> tailThread_;
    bool headFilled_ = false;   // every picture of the start was sent to its encoder
    bool headFlushed_ = false;  // and every packet of it written
    bool tailFilled_ = false;
    bool tailFlushed_ = false;
    bool copyDone_ = false;
    bool queuedLast_ = false;
    std::vector<double> quantisers_;
    Queue copyQueue_;
    Queue tailQueue_;
    std::int64_t held_ = 0;
    std::int64_t written_ = 0;
    std::int64_t copied_ = 0;
    std::vector<OutputKey> keys_;
    std::vector<std::int64_t> outputSlots_;  // slot of each written packet, by decode position
    std::vector<std::int64_t> wanted_;
    std::map<std::int64_t, Reference> references_;

    SlotFiller::Emit headEmit_ = [this](std::int64_t slot, const AVFrame* f, std::int64_t) {
        EmitEdge(headThread_, true, slot, f);
    };
    SlotFiller::Emit tailEmit_ = [this](std::int64_t slot, const AVFrame* f, std::int64_t) {
        EmitEdge(tailThread_, false, slot, f);
    };
};

void CopiedVideoImpl::Check(CutWriter& writer) {
    InputFormatPtr in = writer.OpenWritten();
    if (in->nb_streams == 0 || in->streams[0]->codecpar->codec_type != AVMEDIA_TYPE_VIDEO)
        Refuse("the written file has no picture stream");
    AVStream* st = in->streams[0];
    // As a player would: configured from the file's own header.
    CodecContextPtr dec = OpenDecoder(st->codecpar, st->time_base, true);
    PacketPtr pkt = MakePacket();
    FramePtr f = MakeFrame();
    const auto written = static_cast<std::int64_t>(outputSlots_.size());

    for (const CheckWindow& w : plan_.windows) {
        // Decode from the last key picture at or before the window.
        const OutputKey* from = nullptr;
        for (const OutputKey& k : keys_)
            if (k.slot <= w.begin) from = &k;
        if (from == nullptr)
            Refuse("the written file has no key picture before picture " + std::to_string(w.begin));
        avcodec_flush_buffers(dec.get());
        CheckAv(av_seek_frame(in.get(), 0, from->index, AVSEEK_FLAG_BACKWARD),
                "Cannot seek in the written file");
        std::int64_t expected = w.begin;
        // A player shows each picture at its time stamp: across the window, and so across
        // its join, time stamp and place must keep one distance.
        std::int64_t distance = 0;
        bool haveDistance = false;
        bool eof = false;
        while (expected < w.end) {
            int r = eof ? AVERROR_EOF : av_read_frame(in.get(), pkt.get());
            if (r == AVERROR_EOF) {
                if (eof) break;
                eof = true;
                avcodec_send_packet(dec.get(), nullptr);
            } else if (r < 0) {
                Refuse("the written file cannot be read back: " + AvErrorText(r));
            } else {
                const bool video = pkt->stream_index == 0;
                if (video) {
                    TagPacket(pkt.get(), pkt->dts);
                    r = avcodec_send_packet(dec.get(), pkt.get());
                    if (r < 0 && expected > w.begin)
                        Refuse("the written file does not decode: " + AvErrorText(r));
                }
                av_packet_unref(pkt.get());
                if (!video) continue;
            }
            while (expected < w.end && avcodec_receive_frame(dec.get(), f.get()) >= 0) {
                const std::int64_t tag = FrameTag(f.get());
                if (tag < 0 || tag >= written) Refuse("a written picture cannot be placed");
                const std::int64_t slot = outputSlots_[tag];
                if (slot < w.begin) {
                    av_frame_unref(f.get());
                    continue;
                }
                if (slot != expected)
                    Refuse("written picture " + std::to_string(expected) + " is out of place");
                if (f->best_effort_timestamp != AV_NOPTS_VALUE) {
                    const std::int64_t d = f->best_effort_timestamp - slot;
                    if (haveDistance && d != distance)
                        Refuse("written picture " + std::to_string(slot) +
                               " is shown at the wrong time");
                    distance = d;
                    haveDistance = true;
                } else if (!eof) {
                    // Only the pictures given out at the end of the file may lack one.
                    Refuse("a written picture has no time stamp");
                }
                if (Damaged(f.get())) Refuse("the written file decodes with errors");
                const Reference& ref = references_.at(slot);
                if (ref.copied && DigestPicture(f.get()) != ref.digest)
                    Refuse("copied picture " + std::to_string(slot) + " differs from the source's");
                if (!ref.copied && Psnr(f.get(), ref.picture.get()) < kMinPsnr) {
                    Refuse("re-encoded picture " + std::to_string(slot) +
                           " is too far from the source's (" +
                           std::to_string(Psnr(f.get(), ref.picture.get())) + " dB)");
                }
                ++expected;
                av_frame_unref(f.get());
            }
        }
        if (expected < w.end) Refuse("written picture " + std::to_string(expected) + " is missing");
    }
}

}  // namespace

std::unique_ptr<CopiedVideo> CopiedVideo::Make(const CutSpan& span, int videoIndex,
                                               const std::atomic<bool>& cancel,
                                               const std::function<void()>& rewind,
                                               CopySeams seams) {
    return std::make_unique<CopiedVideoImpl>(span, PlanCopy(span, videoIndex, cancel, rewind),
                                             std::move(seams));
}

}  // namespace media
