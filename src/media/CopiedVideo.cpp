#include "media/CopiedVideo.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <limits>
#include <optional>

#include "media/CutSource.h"
#include "media/EdgeEncoderThread.h"
#include "media/JoinCheck.h"
#include "media/SlotFiller.h"
#include "media/VideoEncoders.h"

namespace media {

namespace {

[[noreturn]] void Refuse(const std::string& why) { throw CopyRefused(why); }

// AVI keeps no presentation times, but the muxer wants them no earlier than decode times.
constexpr std::int64_t kReorderRoom = 16;
// Bytes of pictures that may wait to be written behind others.
constexpr std::int64_t kMaxHeldBytes = 64 << 20;

// The MPEG encoders end their stream with a sequence end code, which would end the stream for
// the decoder in the middle of the file: it is cut off.
void DropSequenceEnd(AVPacket* pkt, AVCodecID codec) {
    if (codec != AV_CODEC_ID_MPEG1VIDEO && codec != AV_CODEC_ID_MPEG2VIDEO) return;
    const std::uint8_t* end = pkt->data + pkt->size;
    if (pkt->size >= 4 && end[-4] == 0 && end[-3] == 0 && end[-2] == 1 && end[-1] == 0xB7)
        pkt->size -= 4;
}

// One edge of the cut: the pictures before the first copied one (the start) or after the last
// copied one (the end). Its decoder starts at a key packet and decodes until it has given every
// picture the edge and its check need; its pictures are encoded again on a thread of their own.
struct Edge {
    explicit Edge(bool isStart) : start(isStart) {}
    const bool start;
    CodecContextPtr dec;
    bool active = false;    // the decoder still has work
    std::int64_t from = 0;  // packet the decoder started at
    std::unique_ptr<SlotFiller> filler;
    std::unique_ptr<EdgeEncoderThread> encoder;
    bool filled = false;   // every picture of the edge was sent to its encoder
    bool flushed = false;  // and every packet of it written
    SlotFiller::Emit emit;
};

class CopiedVideoImpl : public CopiedVideo {
public:
    CopiedVideoImpl(const CutSpan& span, CopyPlan plan, CopySeams seams)
        : span_(span), plan_(std::move(plan)), seams_(std::move(seams)) {
        if (plan_.unpack) SetUpUnpacker();
        SetUpStart();
        if (plan_.HasTail()) SetUpEnd();
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
        if (bsf_)
            Unpack(copy.get());
        else
            Handle(copy.get());
    }

    bool Done() const override {
        return !start_.active && start_.flushed && copyDone_ &&
               (!plan_.HasTail() || (!end_.active && end_.flushed));
    }

    std::int64_t Written() const override { return written_; }
    // A copy is refused when the source ends before the stretch does.
    double SourceEnd() const override { return std::numeric_limits<double>::infinity(); }

    void Finish(std::int64_t pictures) override {
        if (pictures != plan_.pictures) Refuse("the source ends before the end mark");
        if (!ended_) AtEnd();
        if (!start_.flushed || !copyDone_) Refuse("the source ended before the copy was complete");
        if (plan_.HasTail() && !end_.flushed) Refuse("the source ended before the end mark");
        if (written_ != plan_.pictures)
            Refuse("the copy has " + std::to_string(written_) + " pictures instead of " +
                   std::to_string(plan_.pictures));
        for (std::int64_t slot : wanted_)
            if (references_.count(slot) == 0)
                Refuse("the source's picture " + std::to_string(slot) + " was not decoded");
    }

    void Check(CutWriter& writer) override {
        CheckJoins(writer, plan_.windows, layout_, references_);
    }

    std::int64_t CopiedPictures() const override { return copied_; }
    std::int64_t EncodedPictures() const override { return plan_.pictures - copied_; }

private:
    // --- Setting up ---

    // MPEG-4 packs B-frames into the packet before them; copied, each picture gets its own.
    void SetUpUnpacker() {
        const AVBitStreamFilter* filter = av_bsf_get_by_name("mpeg4_unpack_bframes");
        AVBSFContext* raw = nullptr;
        CheckAv(av_bsf_alloc(filter, &raw), "Cannot set up the B-frame unpacker");
        bsf_.reset(raw);
        CheckAv(avcodec_parameters_copy(bsf_->par_in, span_.stream->codecpar),
                "Cannot set up the B-frame unpacker");
        bsf_->time_base_in = span_.stream->time_base;
        CheckAv(av_bsf_init(bsf_.get()), "Cannot set up the B-frame unpacker");
    }

    // The start's decoder starts where the re-encoding cut would, and always runs: it also
    // gives the first copied pictures for the check. It is the plan's, which decoded the first
    // packets already, when the plan could hand it over.
    void SetUpStart() {
        if (plan_.decoder) {
            start_.dec = std::move(plan_.decoder);
            startGiven_ = plan_.decoderPackets;
        } else {
            start_.dec = OpenDecoder(plan_.parameters.get(), span_.stream->time_base, true);
        }
        start_.active = true;
        start_.from = plan_.first;
        // The plan's decoder may have been given less than the packets before where the
        // start's pictures decode from: it leaves the rest out and starts again there.
        if (plan_.headDecodeFrom > startGiven_) {
            skipTo_ = plan_.headDecodeFrom;
            start_.from = skipTo_;
        }
        start_.filler = std::make_unique<SlotFiller>(span_, 0, plan_.headSlots);
        start_.filled = !plan_.HasHead();
        start_.flushed = start_.filled;
        start_.emit = [this](std::int64_t slot, const AVFrame* f, std::int64_t) {
            Emit(start_, slot, f);
        };
    }

    // The end's decoder starts at the key packet before the first picture after the copy.
    void SetUpEnd() {
        end_.dec = OpenDecoder(plan_.parameters.get(), span_.stream->time_base, true);
        end_.active = true;
        end_.from = plan_.tailDecodeFrom;
        end_.filler = std::make_unique<SlotFiller>(span_, plan_.tailStart, plan_.pictures);
        end_.emit = [this](std::int64_t slot, const AVFrame* f, std::int64_t) {
            Emit(end_, slot, f);
        };
    }

    // --- Reading the source ---

    // Gives a packet (null: the end) to the unpacker and handles what comes out.
    void Unpack(AVPacket* pkt) {
        const int r = av_bsf_send_packet(bsf_.get(), pkt);
        if (pkt != nullptr) CheckAv(r, "Cannot unpack MPEG-4 B-frames");
        PacketPtr out = MakePacket();
        while (av_bsf_receive_packet(bsf_.get(), out.get()) >= 0) {
            Handle(out.get());
            av_packet_unref(out.get());
        }
    }

    // Each packet of the stretch goes to the edges' decoders that need it and is copied when
    // it lies between the edges.
    void Handle(AVPacket* pkt) {
        const std::int64_t i = next_++;
        if (i >= static_cast<std::int64_t>(plan_.packets.size()))
            Refuse("the copy needs pictures beyond those planned");
        const ScannedPacket& sp = plan_.packets[i];
        if (sp.dts != pkt->dts || sp.size != pkt->size)
            Refuse("the source reads differently the second time");
        TagPacket(pkt, i);
        TakeOverPlanDecoder();
        if (start_.active && i >= startGiven_ && i >= skipTo_) {
            // What the plan's decoder holds of the pictures before is of no use.
            if (i == skipTo_ && startGiven_ > 0) avcodec_flush_buffers(start_.dec.get());
            Feed(start_, pkt, i);
        }
        if (i >= plan_.entry && i <= plan_.last && !plan_.IsDropped(i)) Copy(pkt, i);
        if (end_.active && i >= end_.from) Feed(end_, pkt, i);
        // Once no more packets are needed, the cut waits for the edges' encoders.
        const bool needsPackets = start_.active || end_.active || !(queuedLast_ || copyDone_);
        Collect(start_, !needsPackets);
        Collect(end_, !needsPackets);
    }

    // The source ended: the decoders are drained, the edges filled with what they have, and
    // the cut waits for the edges' encoders.
    void AtEnd() {
        ended_ = true;
        TakeOverPlanDecoder();
        if (bsf_) Unpack(nullptr);
        for (Edge* e : {&start_, &end_})
            if (e->active) Feed(*e, nullptr, -1);
        for (Edge* e : {&start_, &end_}) {
            if (e->active && !e->filled && e->filler) {
                e->filler->Finish(e->emit);
                Flush(*e);
            }
            e->active = false;
        }
        Collect(start_, true);
        Collect(end_, true);
    }

    // --- Decoding the edges ---

    // The plan's decoder was given the first packets: what it refused counts as if the start's
    // decoder had, and the pictures it gave out are the start's first.
    void TakeOverPlanDecoder() {
        if (tookOver_) return;
        tookOver_ = true;
        for (const auto& [index, r] : plan_.decoderErrors)
            if (r != AVERROR_EOF && Matters(index, start_))
                Refuse("the source's picture cannot be decoded: " + AvErrorText(r));
        // When the start decodes from a later packet, they are none of its pictures.
        for (const FramePtr& f : plan_.decoded) {
            if (!start_.active || skipTo_ > 0) break;
            OnPicture(start_, f.get());
        }
        plan_.decoded.clear();
        plan_.decoderErrors.clear();
        if (!start_.active) start_.dec.reset();
    }

    // Errors of pictures before the one the decoder started at, or shown before it or before
    // the start, are no concern: they are neither copied nor shown.
    bool Matters(std::int64_t index, const Edge& e) const {
        if (index < e.from) return false;
        const std::int64_t rank = plan_.packets[index].rank;
        return rank == kNoRank || (rank >= plan_.r0 && rank >= plan_.packets[e.from].rank);
    }

    void Feed(Edge& e, const AVPacket* pkt, std::int64_t index) {
        if (seams_.decodeHook && pkt != nullptr) seams_.decodeHook(e.start);
        int r = avcodec_send_packet(e.dec.get(), pkt);
        if (r < 0 && r != AVERROR_EOF && pkt != nullptr && Matters(index, e))
            Refuse("the source's picture cannot be decoded: " + AvErrorText(r));
        FramePtr f = MakeFrame();
        while (e.active && avcodec_receive_frame(e.dec.get(), f.get()) >= 0) {
            OnPicture(e, f.get());
            av_frame_unref(f.get());
        }
        // A decoder that has done its work gives its pictures back at once.
        if (!e.active) e.dec.reset();
    }

    // The rank of a decoded picture that its decoder's clock stamped `ts`, checked against that
    // time. Pictures shown before the one the decoder started at lack their references and are
    // not used (nor does the re-encoding cut use them): kNoRank.
    std::int64_t RankOf(const AVFrame* f, std::int64_t ts, const Edge& e) const {
        const std::int64_t tag = FrameTag(f);
        if (tag < 0 || tag >= static_cast<std::int64_t>(plan_.packets.size()))
            Refuse("a decoded picture cannot be matched to its packet");
        const std::int64_t rank = plan_.packets[tag].rank;
        if (rank == kNoRank || rank < plan_.packets[e.from].rank) return kNoRank;
        if (rank < plan_.r0) return rank;
        if (std::abs(ts - (plan_.base + rank * plan_.tick)) * 4 > plan_.tick)
            Refuse("the pictures' time stamps do not follow their order");
        if (Damaged(f)) Refuse("a picture of the source decodes with errors");
        return rank;
    }

    // A decoded picture: kept for the check when it is one of the copied pictures by a join,
    // and offered to the edge's slots until they are filled.
    void OnPicture(Edge& e, const AVFrame* f) {
        const std::optional<std::int64_t> ts = e.filler->Stamp(f);
        if (!ts) return;
        const std::int64_t rank = RankOf(f, *ts, e);
        if (rank == kNoRank) return;
        if (rank >= plan_.entryRank && rank <= plan_.lastRank)
            Keep(plan_.SlotOfRank(rank), f, true);
        if (!e.filled) {
            NoteQuantiser(f);
            e.filler->Offer(f, *ts, e.emit);
            if (e.filler->Done()) Flush(e);
        }
        if (e.filled && !NeedsCopiedReferences(e)) e.active = false;
    }

    // The start's decoder's work ends with the copied pictures that the start's check needs.
    bool NeedsCopiedReferences(const Edge& e) const {
        if (!e.start) return false;
        const std::int64_t copyEnd = plan_.SlotOfRank(plan_.lastRank) + 1;
        return !HaveReferences(0, std::min(copyEnd, plan_.headSlots + kCheckPictures));
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

    // --- Encoding the edges ---

    // The picture for an edge's slot goes to the edge's encoder, started at the first one.
    void Emit(Edge& e, std::int64_t slot, const AVFrame* f) {
        const std::int64_t tag = FrameTag(f);
        if (plan_.packets[tag].rank != plan_.RankOfSlot(slot))
            Refuse("the pictures of the start do not follow one another");
        if (f->format != plan_.edges.pixelFormat || f->width != plan_.edges.width ||
            f->height != plan_.edges.height)
            Refuse("the source's pictures change format");
        Keep(slot, f, false);
        const double q = EdgeQuantiser();
        if (!e.encoder) StartEncoder(e, q);
        FramePtr frame = RefFrame(f);
        frame->pts = slot;
        frame->pict_type = AV_PICTURE_TYPE_NONE;
        frame->quality = EdgeQuality(plan_.edges, q);
        av_frame_remove_side_data(frame.get(), AV_FRAME_DATA_VIDEO_ENC_PARAMS);
        e.encoder->Send(std::move(frame));
    }

    void StartEncoder(Edge& e, double q) {
        EdgeFormat format = plan_.edges;
        format.quantiser = q;
        format.pictures = e.start ? plan_.headSlots : plan_.pictures - plan_.tailStart;
        std::function<void(std::int64_t)> before;
        if (seams_.edgeHook)
            before = [hook = seams_.edgeHook, start = e.start](std::int64_t s) { hook(start, s); };
        e.encoder = std::make_unique<EdgeEncoderThread>(OpenEdgeEncoder(format), std::move(before));
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

    // Every picture of the edge was given to its encoder: it is told the end. The start's
    // quantisers are not the end's.
    void Flush(Edge& e) {
        e.filled = true;
        if (e.start) quantisers_.clear();
        if (e.encoder)
            e.encoder->Send(nullptr);
        else
            Written(e);
    }

    // Writes what the edge's encoder has given; with `wait`, once it has encoded all it was
    // sent.
    void Collect(Edge& e, bool wait) {
        if (!e.encoder) return;
        for (PacketPtr& p : e.encoder->Take(wait)) Encoded(e, p.get());
        if (e.encoder->Ended()) {
            e.encoder.reset();
            Written(e);
        }
    }

    // The end's packets wait for the copies; the start's go to the file at once.
    void Encoded(const Edge& e, AVPacket* pkt) {
        const std::int64_t slot = pkt->pts;
        DropSequenceEnd(pkt, plan_.edges.codec);
        if (!e.start && !copyDone_) {
            PacketPtr held = MakePacket();
            CheckAv(av_packet_ref(held.get(), pkt), "Out of memory holding a picture");
            Hold(endQueue_, std::move(held), slot);
            return;
        }
        WriteVideo(pkt, slot);
    }

    // Every packet of the edge is written; after the start, the copies that waited for it.
    void Written(Edge& e) {
        e.flushed = true;
        if (!e.start) return;
        Release(copyQueue_);
        if (queuedLast_) SetCopyDone();
    }

    // --- Copying the middle ---

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
        if (!start_.flushed) {
            Hold(copyQueue_, std::move(pkt), slot);
            if (index == plan_.last) {
                queuedLast_ = true;
                // Holding it may have waited for the start to be written.
                if (start_.flushed) SetCopyDone();
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
        if (&queue == &copyQueue_ && start_.filled && start_.encoder) {
            Collect(start_, true);
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
        Release(endQueue_);
    }

    void WriteVideo(AVPacket* pkt, std::int64_t slot) {
        pkt->stream_index = out_->index;
        pkt->dts = written_++;
        pkt->pts = slot + kReorderRoom;
        pkt->duration = 1;
        pkt->pos = -1;
        if ((pkt->flags & AV_PKT_FLAG_KEY) != 0) layout_.keys.push_back({pkt->dts, slot});
        layout_.slots.push_back(slot);
        writer_->Write(pkt);
    }

    CutSpan span_;
    CopyPlan plan_;
    CopySeams seams_;
    BsfPtr bsf_;
    CutWriter* writer_ = nullptr;
    AVStream* out_ = nullptr;

    std::int64_t next_ = 0;  // index of the next packet of the stretch
    bool ended_ = false;
    Edge start_{true};
    Edge end_{false};
    std::int64_t startGiven_ = 0;  // packets the plan's decoder was given for the start
    bool tookOver_ = false;        // and the pictures it gave out went to the start
    std::int64_t skipTo_ = 0;      // > 0: the packet the start's decoder starts again at
    std::vector<double> quantisers_;
    bool copyDone_ = false;
    bool queuedLast_ = false;  // the last copied packet waits in the queue
    Queue copyQueue_;
    Queue endQueue_;
    std::int64_t held_ = 0;
    std::int64_t written_ = 0;
    std::int64_t copied_ = 0;
    WrittenLayout layout_;
    std::vector<std::int64_t> wanted_;  // slots the check compares
    References references_;
};

}  // namespace

std::unique_ptr<CopiedVideo> CopiedVideo::Make(const CutSpan& span, int videoIndex,
                                               const std::atomic<bool>& cancel,
                                               const std::function<void()>& rewind,
                                               CopySeams seams) {
    return std::make_unique<CopiedVideoImpl>(span, PlanCopy(span, videoIndex, cancel, rewind),
                                             std::move(seams));
}

}  // namespace media
