#include "media/CopyPlan.h"

#include <algorithm>
#include <cmath>

#include "media/CutSource.h"
#include "media/FFmpegCompat.h"
#include "media/FrameTiming.h"
#include "media/SlotFiller.h"

extern "C" {
#include <libavutil/video_enc_params.h>
}

namespace media {

namespace {

// Seconds beyond the end mark that are read ahead: enough for the pictures that are shown
// before the end but decoded after it.
constexpr double kReadAhead = 2.0;
// Pictures decoded while planning to learn the source's clock and quantisers.
constexpr int kCalibrationPictures = 4;
// Packets read ahead looking for the first key picture.
constexpr size_t kMaxBeforeKey = 3000;

[[noreturn]] void Refuse(const std::string& why) { throw CopyRefused(why); }

std::string CodecName(AVCodecID codec) { return avcodec_get_name(codec); }

struct Calibration {
    std::int64_t tag = -1;
    std::int64_t ts = 0;  // stream ticks, corrected as the cut's own clock corrects them
};

// Reads the stretch ahead from the place the cut starts reading, on the cut's own demuxer,
// which is put back there afterwards.
class Scanner {
public:
    // `unpack` runs MPEG-4 packets through the B-frame unpacker, which costs a search of every
    // packet's bytes and so is used only for streams found to be packed.
    Scanner(const CutSpan& span, int videoIndex, const std::atomic<bool>& cancel, CopyPlan& plan,
            bool unpack)
        : span_(span),
          cancel_(cancel),
          plan_(plan),
          videoIndex_(videoIndex),
          in_(span.input),
          st_(span.stream),
          clock_(span.input, span.stream) {
        clock_.SetShift(span.shift);
        // Only the pictures are read ahead; the demuxer skips the rest without reading it.
        for (unsigned i = 0; i < in_->nb_streams; ++i) {
            discard_.push_back(in_->streams[i]->discard);
            const bool kept = static_cast<int>(i) == videoIndex ||
                              (span.readAhead != nullptr && static_cast<int>(i) == span.soundIndex);
            if (!kept) in_->streams[i]->discard = AVDISCARD_ALL;
        }
        const AVCodecID codec = st_->codecpar->codec_id;
        plan_.parameters.reset(avcodec_parameters_alloc());
        if (!plan_.parameters) throw MediaError("Out of memory planning the cut");
        if (codec == AV_CODEC_ID_MPEG4 && unpack) {
            const AVBitStreamFilter* filter = av_bsf_get_by_name("mpeg4_unpack_bframes");
            if (filter == nullptr) Refuse("this FFmpeg cannot unpack MPEG-4 B-frames");
            AVBSFContext* raw = nullptr;
            CheckAv(av_bsf_alloc(filter, &raw), "Cannot set up the B-frame unpacker");
            bsf_.reset(raw);
            CheckAv(avcodec_parameters_copy(bsf_->par_in, st_->codecpar),
                    "Cannot set up the B-frame unpacker");
            bsf_->time_base_in = st_->time_base;
            CheckAv(av_bsf_init(bsf_.get()), "Cannot set up the B-frame unpacker");
            CheckAv(avcodec_parameters_copy(plan_.parameters.get(), bsf_->par_out),
                    "Cannot set up the B-frame unpacker");
            plan_.unpack = true;
        } else {
            CheckAv(avcodec_parameters_copy(plan_.parameters.get(), st_->codecpar),
                    "Cannot describe the source's pictures");
        }
        const AVCodecDescriptor* desc = avcodec_descriptor_get(codec);
        intraOnly_ = desc != nullptr && (desc->props & AV_CODEC_PROP_INTRA_ONLY) != 0;
        if (PictureInspector::Understands(codec))
            inspector_ = std::make_unique<PictureInspector>(plan_.parameters.get());
        dec_ = OpenDecoder(plan_.parameters.get(), st_->time_base, true);
        // Pictures a whole number of ticks apart, the same number the shared clock counts.
        const AVRational tb = st_->time_base;
        const std::int64_t num = static_cast<std::int64_t>(tb.den) * span.rate.den;
        const std::int64_t den = static_cast<std::int64_t>(tb.num) * span.rate.num;
        if (den <= 0 || num % den != 0 || num / den != clock_.FrameTicks())
            Refuse("the picture rate does not fit the stream's clock");
        plan_.tick = num / den;
    }
    ~Scanner() {
        for (unsigned i = 0; i < in_->nb_streams && i < discard_.size(); ++i)
            in_->streams[i]->discard = discard_[i];
    }
    Scanner(const Scanner&) = delete;
    Scanner& operator=(const Scanner&) = delete;

    bool IntraOnly() const { return intraOnly_; }
    bool Complete() const { return complete_; }
    const std::vector<Calibration>& Calibrations() const { return calibration_; }
    const std::vector<double>& Quantisers() const { return quantisers_; }
    const AVCodecContext* Decoder() const { return dec_.get(); }
    const AVFrame* SamplePicture() const { return sample_.get(); }
    const AVStream* Stream() const { return st_; }
    bool Inspects() const { return inspector_ != nullptr; }
    std::vector<std::uint8_t> Config() const {
        return inspector_ ? inspector_->Config() : std::vector<std::uint8_t>{};
    }

    // Reads ahead; false when it stopped at packed B-frames, which need unpacking.
    bool Run() {
        PacketPtr pkt = MakePacket();
        const double endTime =
            span_.start + static_cast<double>(span_.pictures) / av_q2d(span_.rate);
        bool reading = true;
        while (reading) {
            if (cancel_.load()) return true;
            if (packed_) return false;
            if (span_.watch != nullptr) span_.watch->Arm(kReadTimeout);
            int r = av_read_frame(in_, pkt.get());
            if (r == AVERROR_EOF) break;
            if (r == AVERROR(EAGAIN)) continue;
            if (r < 0) Refuse("the source cannot be read to its end: " + AvErrorText(r));
            if (span_.readAhead != nullptr) span_.readAhead->Keep(pkt.get());
            if (pkt->stream_index != videoIndex_) {
                av_packet_unref(pkt.get());
                continue;
            }
            if (pkt->dts != AV_NOPTS_VALUE &&
                static_cast<double>(pkt->dts + span_.shift - span_.origin) *
                        av_q2d(st_->time_base) >
                    endTime + kReadAhead) {
                reading = false;
            }
            Filter(pkt.get());
        }
        if (reading) {
            complete_ = true;
            Filter(nullptr);
            Decode(nullptr, -1);
        }
        return !packed_;
    }

    // Gives the decoder, the pictures it gave out and the results of the packets it was given
    // to the plan, unless it was drained at the end of the file and so cannot go on.
    void HandOverDecoder(CopyPlan& plan) {
        if (drained_) return;
        plan.decoder = std::move(dec_);
        plan.decoderPackets = sent_;
        plan.decoded = std::move(decoded_);
        plan.decoderErrors = std::move(sendErrors_);
    }

private:
    void Filter(AVPacket* pkt) {
        if (!bsf_) {
            if (pkt != nullptr) {
                Take(pkt);
                av_packet_unref(pkt);
            }
            return;
        }
        CheckAv(av_bsf_send_packet(bsf_.get(), pkt), "Cannot unpack MPEG-4 B-frames");
        PacketPtr out = MakePacket();
        while (av_bsf_receive_packet(bsf_.get(), out.get()) >= 0) {
            Take(out.get());
            av_packet_unref(out.get());
        }
    }

    void Take(AVPacket* pkt) {
        ScannedPacket sp;
        sp.dts = pkt->dts;
        sp.size = pkt->size;
        sp.key = (pkt->flags & AV_PKT_FLAG_KEY) != 0;
        if (inspector_) {
            if (plan_.packets.empty()) inspector_->TakeConfigFrom(pkt->data, pkt->size);
            sp.facts = inspector_->Inspect(pkt->data, pkt->size);
            if (!bsf_ && st_->codecpar->codec_id == AV_CODEC_ID_MPEG4 && sp.facts.pictures > 1) {
                packed_ = true;
                return;
            }
        } else {
            sp.facts.kind = sp.key ? PictureKind::Intra : PictureKind::Unknown;
            sp.facts.entry = sp.key;
        }
        const auto index = static_cast<std::int64_t>(plan_.packets.size());
        CheckRegular(sp);
        plan_.packets.push_back(sp);
        if (static_cast<int>(calibration_.size()) < kCalibrationPictures) {
            TagPacket(pkt, index);
            Decode(pkt, index);
        }
    }

    // One packet per picture, on a grid of exactly one picture duration, from the first key
    // packet on (a seek into a program stream lands anywhere). Checked as the packets come, so
    // that an irregular source is re-encoded without reading it twice.
    void CheckRegular(const ScannedPacket& p) {
        if (!sawKeyPacket_) {
            // A seek lands on or just before a key picture; a stream without one in reach is
            // not read to its end.
            if (!p.key && plan_.packets.size() >= kMaxBeforeKey)
                Refuse("there is no key picture after the place the cut starts reading");
            if (!p.key) return;
            sawKeyPacket_ = true;
        } else if (p.dts == AV_NOPTS_VALUE || lastDts_ == AV_NOPTS_VALUE ||
                   p.dts - lastDts_ != plan_.tick) {
            Refuse("the pictures' time stamps are not regular (dropped or repeated pictures)");
        }
        lastDts_ = p.dts;
        if (p.dts == AV_NOPTS_VALUE) Refuse("a picture has no time stamp");
        if (p.size <= 0) Refuse("the stream has empty (dropped) pictures");
        if (p.facts.pictures != 1) Refuse("a packet holds no picture or more than one");
        if (!p.facts.coded) Refuse("the stream has pictures that are not coded");
        if (intraOnly_ && !p.key) Refuse("an intra-only stream has pictures that are not key");
    }

    // Decodes packet `index` (null, -1: the end) for the calibration. Damaged pictures before
    // the first key picture are no concern of the plan: what sending each packet returned is
    // kept for the copy's start, which decides whether its damage matters.
    void Decode(const AVPacket* pkt, std::int64_t index) {
        if (static_cast<int>(calibration_.size()) >= kCalibrationPictures) return;
        const int r = avcodec_send_packet(dec_.get(), pkt);
        if (pkt == nullptr) {
            drained_ = true;
        } else {
            sent_ = index + 1;
            if (r < 0) sendErrors_.emplace_back(index, r);
        }
        FramePtr f = MakeFrame();
        while (avcodec_receive_frame(dec_.get(), f.get()) >= 0) {
            decoded_.push_back(RefFrame(f.get()));
            const std::optional<std::int64_t> ts = clock_.Stamp(f.get(), span_.origin);
            if (ts && !clock_.Guessed() && f->best_effort_timestamp != AV_NOPTS_VALUE) {
                calibration_.push_back({FrameTag(f.get()), *ts});
                const double q = AverageQuantiser(f.get());
                if (q > 0 && f->pict_type != AV_PICTURE_TYPE_B) quantisers_.push_back(q);
                if (!sample_) sample_ = RefFrame(f.get());
            }
            av_frame_unref(f.get());
        }
    }

    const CutSpan& span_;
    const std::atomic<bool>& cancel_;
    CopyPlan& plan_;
    int videoIndex_;
    AVFormatContext* in_;
    AVStream* st_;
    std::vector<AVDiscard> discard_;
    PictureClock clock_;
    BsfPtr bsf_;
    std::unique_ptr<PictureInspector> inspector_;
    bool intraOnly_ = false;
    bool complete_ = false;
    bool packed_ = false;
    CodecContextPtr dec_;
    bool drained_ = false;
    std::int64_t sent_ = 0;
    std::vector<FramePtr> decoded_;
    std::vector<std::pair<std::int64_t, int>> sendErrors_;
    bool sawKeyPacket_ = false;
    std::int64_t lastDts_ = AV_NOPTS_VALUE;
    std::vector<Calibration> calibration_;
    std::vector<double> quantisers_;
    FramePtr sample_;
};

std::vector<std::uint8_t> FirstPictureConfig(const CutSpan& span, int videoIndex,
                                             const CopyPlan& plan,
                                             const std::atomic<bool>& cancel) {
    SourceWatch watch(&cancel);
    const CutInput in = OpenCutInput(*span.file, span.name, watch);
    if (videoIndex >= static_cast<int>(in->nb_streams)) return {};
    for (unsigned i = 0; i < in->nb_streams; ++i)
        if (static_cast<int>(i) != videoIndex) in->streams[i]->discard = AVDISCARD_ALL;
    PacketPtr pkt = MakePacket();
    PictureInspector inspector(plan.parameters.get());
    for (;;) {
        watch.Arm(kReadTimeout);
        if (av_read_frame(in.get(), pkt.get()) < 0) break;
        if (pkt->stream_index == videoIndex) return inspector.ConfigOf(pkt->data, pkt->size);
        av_packet_unref(pkt.get());
    }
    return {};
}

std::vector<CheckWindow> Windows(const CopyPlan& plan) {
    std::vector<CheckWindow> w;
    auto add = [&](std::int64_t begin, std::int64_t end) {
        begin = std::max<std::int64_t>(begin, 0);
        end = std::min(end, plan.pictures);
        if (begin >= end) return;
        if (!w.empty() && begin <= w.back().end) {
            w.back().end = std::max(w.back().end, end);
        } else {
            w.push_back({begin, end});
        }
    };
    // Without re-encoded pictures at the start, the file's first pictures are checked too: they
    // are the first to meet the file's decoder configuration.
    if (!plan.HasHead()) add(0, kCheckPictures);
    if (plan.HasHead()) add(plan.headSlots - kCheckPictures, plan.headSlots + kCheckPictures);
    if (plan.HasTail()) add(plan.tailStart - kCheckPictures, plan.tailStart + kCheckPictures);
    return w;
}

}  // namespace

double AverageQuantiser(const AVFrame* f) {
    const AVFrameSideData* sd = av_frame_get_side_data(f, AV_FRAME_DATA_VIDEO_ENC_PARAMS);
    if (sd == nullptr) return 0;
    auto* par = reinterpret_cast<AVVideoEncParams*>(sd->data);
    double q = par->qp;
    if (par->nb_blocks > 0) {
        double sum = 0;
        for (unsigned i = 0; i < par->nb_blocks; ++i)
            sum += av_video_enc_params_block(par, i)->delta_qp;
        q += sum / par->nb_blocks;
    }
    // MPEG decoders give the quantiser scale, twice the code that their encoders take.
    return par->type == AV_VIDEO_ENC_PARAMS_MPEG2 ? q / 2 : q;
}

void ReadAhead::Keep(const AVPacket* pkt) {
    if (!valid_) return;
    bytes_ += pkt->size;
    if (bytes_ > budget_) {
        Reset();
        valid_ = false;
        return;
    }
    PacketPtr copy = MakePacket();
    CheckAv(av_packet_ref(copy.get(), pkt), "Out of memory reading the source");
    packets_.push_back(std::move(copy));
}

bool ReadAhead::Take(AVPacket* pkt) {
    if (packets_.empty()) return false;
    av_packet_move_ref(pkt, packets_.front().get());
    packets_.pop_front();
    return true;
}

void ReadAhead::Reset() {
    packets_.clear();
    bytes_ = 0;
    valid_ = budget_ > 0;
}

bool CopyPlan::IsDropped(std::int64_t index) const {
    return std::find(dropped.begin(), dropped.end(), index) != dropped.end();
}

bool CopyPlan::InWindow(std::int64_t slot) const {
    for (const CheckWindow& w : windows)
        if (slot >= w.begin && slot < w.end) return true;
    return false;
}

namespace {

// Codecs and streams a copy cannot carry, known before anything is read.
void RefuseUncopyableStream(const AVCodecParameters* par) {
    const AVCodecID codec = par->codec_id;
    const AVCodecDescriptor* desc = avcodec_descriptor_get(codec);
    const bool intraOnly = desc != nullptr && (desc->props & AV_CODEC_PROP_INTRA_ONLY) != 0;
    if (!intraOnly && !PictureInspector::Understands(codec))
        Refuse("pictures of " + CodecName(codec) + " cannot be told apart without decoding");
    const AVOutputFormat* avi = av_guess_format("avi", nullptr, nullptr);
    if (avi == nullptr || avformat_query_codec(avi, codec, FF_COMPLIANCE_NORMAL) != 1)
        Refuse("AVI cannot carry " + CodecName(codec));
    if (codec == AV_CODEC_ID_H264 && par->extradata_size > 0 && par->extradata[0] == 1)
        Refuse("H.264 with length-prefixed units cannot be copied into AVI");
}

// Reads the stretch's packets into the plan; a second pass from the start of the read unpacks
// MPEG-4 packed B-frames when the first finds them.
std::unique_ptr<Scanner> ScanStretch(const CutSpan& span, int videoIndex,
                                     const std::atomic<bool>& cancel,
                                     const std::function<void()>& rewind, CopyPlan& plan) {
    plan = CopyPlan{};
    plan.pictures = span.pictures;
    auto scanner = std::make_unique<Scanner>(span, videoIndex, cancel, plan, false);
    if (!scanner->Run()) {
        scanner.reset();
        rewind();
        plan = CopyPlan{};
        plan.pictures = span.pictures;
        scanner = std::make_unique<Scanner>(span, videoIndex, cancel, plan, true);
        if (!scanner->Run()) Refuse("packed B-frames remain packed");
    }
    if (cancel.load()) Refuse("cancelled");
    return scanner;
}

// Gives every packet from the first key packet on its rank in display order (what comes
// before that key packet is never shown). Returns the packet index of each rank, -1 for none.
std::vector<std::int64_t> RankPackets(CopyPlan& plan, AVCodecID codec, const Scanner& scanner) {
    const auto count = static_cast<std::int64_t>(plan.packets.size());
    plan.first = 0;
    while (plan.first < count && !plan.packets[plan.first].key) ++plan.first;
    if (plan.first == count)
        Refuse("there is no key picture after the place the cut starts reading");
    std::vector<PictureFacts> facts;
    for (std::int64_t i = plan.first; i < count; ++i) facts.push_back(plan.packets[i].facts);
    std::vector<std::int64_t> ranks;
    if (!RankPictures(codec, scanner.IntraOnly(), facts, scanner.Complete(), ranks))
        Refuse("the order of the pictures cannot be read");
    ranks.insert(ranks.begin(), static_cast<size_t>(plan.first), kNoRank);
    std::vector<std::int64_t> indexOfRank(static_cast<size_t>(count), -1);
    for (std::int64_t i = 0; i < count; ++i) {
        plan.packets[i].rank = ranks[i];
        if (ranks[i] != kNoRank) {
            if (ranks[i] < 0 || ranks[i] >= count || indexOfRank[ranks[i]] >= 0)
                Refuse("the order of the pictures cannot be read");
            indexOfRank[ranks[i]] = i;
        }
    }
    return indexOfRank;
}

// The clock: every decoded picture's time stamp against its rank must give one base.
void SetClock(CopyPlan& plan, const Scanner& scanner) {
    const auto count = static_cast<std::int64_t>(plan.packets.size());
    const auto& cal = scanner.Calibrations();
    if (cal.empty()) Refuse("no picture could be decoded after the start mark");
    bool haveBase = false;
    for (const Calibration& c : cal) {
        if (c.tag < 0 || c.tag >= count || plan.packets[c.tag].rank == kNoRank)
            Refuse("a decoded picture cannot be matched to its packet");
        const std::int64_t base = c.ts - plan.packets[c.tag].rank * plan.tick;
        if (haveBase && base != plan.base)
            Refuse("the pictures' time stamps do not follow their order");
        plan.base = base;
        haveBase = true;
    }
}

// Slot n shows the last picture that starts at or before its time, by the rule every cut and
// the preview follow; copying needs that to be picture r0 + n for every slot. Sets r0 and
// returns the rank of the last slot's picture.
std::int64_t PlaceSlots(const CutSpan& span, CopyPlan& plan,
                        const std::vector<std::int64_t>& indexOfRank) {
    if (plan.packets[plan.first].rank == kNoRank)
        Refuse("the first key picture has no place in the order");
    const auto count = static_cast<std::int64_t>(plan.packets.size());
    const SlotFiller slots(span, 0, span.pictures);
    auto onScreen = [&](std::int64_t slot) {
        const std::int64_t after = slots.SlotTick(slot) - plan.base;
        return after >= 0 ? after / plan.tick : -1 - (-after - 1) / plan.tick;
    };
    const std::int64_t r0 = onScreen(0);
    if (r0 < plan.packets[plan.first].rank)
        Refuse("the first picture after the start mark is late");
    // Checked before the walk over the slots, whose count an end far past the source makes huge.
    if (span.pictures > count - r0) Refuse("the source ends before the end mark");
    const std::int64_t jLast = r0 + span.pictures - 1;
    if (indexOfRank[jLast] < 0) Refuse("the source ends before the end mark");
    for (std::int64_t n = 1; n < span.pictures; ++n)
        if (onScreen(n) != r0 + n) Refuse("the cut's picture rate does not follow the source's");
    plan.r0 = r0;
    return jLast;
}

// Copying starts at the first entry picture on screen in the stretch, which needs the
// decoder configuration in front of it.
void FindEntry(const CutSpan& span, int videoIndex, const std::atomic<bool>& cancel,
               const Scanner& scanner, std::int64_t jLast, CopyPlan& plan) {
    const auto count = static_cast<std::int64_t>(plan.packets.size());
    plan.entry = -1;
    for (std::int64_t i = plan.first; i < count; ++i) {
        const ScannedPacket& p = plan.packets[i];
        if (p.facts.entry && p.rank != kNoRank && p.rank >= plan.r0 && p.rank <= jLast) {
            plan.entry = i;
            break;
        }
    }
    if (plan.entry < 0) Refuse("there is no key picture between the marks");
    plan.entryRank = plan.packets[plan.entry].rank;
    if (!scanner.Inspects()) return;
    plan.config = scanner.Config();
    // Some encoders write the configuration into the stream's first picture only.
    const bool entryHasConfig = plan.packets[plan.entry].facts.hasConfig;
    if (!entryHasConfig && plan.config.empty())
        plan.config = FirstPictureConfig(span, videoIndex, plan, cancel);
    if (!entryHasConfig && plan.config.empty())
        Refuse("the decoder configuration for the first copied picture is missing");
}

// Pictures decoded after the entry but shown before it belong to the re-encoded start; only
// pictures that nothing refers to can be left out of the copy.
void DropPicturesShownBeforeEntry(AVCodecID codec, CopyPlan& plan) {
    const auto count = static_cast<std::int64_t>(plan.packets.size());
    for (std::int64_t i = plan.entry + 1; i < count; ++i) {
        const ScannedPacket& p = plan.packets[i];
        if (p.rank == kNoRank || p.rank >= plan.entryRank) break;
        if (p.facts.kind != PictureKind::Bidirectional || codec == AV_CODEC_ID_H264)
            Refuse("a picture shown before the first copied one is needed by later pictures");
        plan.dropped.push_back(i);
    }
}

// The copy is the longest run in decode order whose pictures are shown one after the other
// and not after the end mark; the slots before and after it are re-encoded.
void PlaceCopy(std::int64_t jLast, CopyPlan& plan) {
    const auto count = static_cast<std::int64_t>(plan.packets.size());
    std::int64_t copied = 0;
    std::int64_t maxRank = -1;
    plan.last = plan.entry;
    plan.lastRank = plan.entryRank;
    for (std::int64_t i = plan.entry; i < count; ++i) {
        if (plan.IsDropped(i)) continue;
        const std::int64_t r = plan.packets[i].rank;
        if (r == kNoRank || r > jLast || r < plan.entryRank) break;
        ++copied;
        maxRank = std::max(maxRank, r);
        if (maxRank - plan.entryRank + 1 == copied) {
            plan.last = i;
            plan.lastRank = maxRank;
        }
    }
    plan.headSlots = plan.entryRank - plan.r0;
    // The start's pictures decode from the last entry picture shown no later than the first
    // slot's; what the reading gave before it is never shown (the reading starts a while
    // before the start mark, often a whole group of pictures earlier).
    plan.headDecodeFrom = plan.first;
    for (std::int64_t i = plan.first; i <= plan.entry; ++i) {
        const ScannedPacket& p = plan.packets[i];
        if (p.facts.entry && p.rank != kNoRank && p.rank <= plan.r0) plan.headDecodeFrom = i;
    }
    plan.tailStart = plan.SlotOfRank(plan.lastRank) + 1;
    if (!plan.HasTail()) return;
    // The tail decoder also decodes the last copied pictures, for the check of the join.
    const std::int64_t want = std::max(plan.entryRank, plan.lastRank + 1 - kCheckPictures);
    plan.tailDecodeFrom = plan.entry;
    for (std::int64_t i = plan.entry; i <= plan.last; ++i) {
        const ScannedPacket& p = plan.packets[i];
        if (p.facts.entry && p.rank != kNoRank && p.rank <= want) plan.tailDecodeFrom = i;
    }
}

// The re-encoded edges take the source's picture format, colours and quantiser, and their
// encoder must open with them.
void PrepareEdges(const CutSpan& span, const Scanner& scanner, CopyPlan& plan) {
    const AVCodecParameters* par = span.stream->codecpar;
    const AVCodecID codec = par->codec_id;
    if (!CanEncodeEdges(codec))
        Refuse("FFmpeg cannot encode " + CodecName(codec) + " to match the source");
    const AVFrame* sample = scanner.SamplePicture();
    const AVCodecContext* dec = scanner.Decoder();
    EdgeFormat& e = plan.edges;
    e.codec = codec;
    e.width = sample->width;
    e.height = sample->height;
    e.pixelFormat = static_cast<AVPixelFormat>(sample->format);
    e.sar = sample->sample_aspect_ratio;
    e.rate = span.rate;
    e.profile = par->profile;
    e.level = par->level;
    e.reorderDepth = std::max(par->video_delay, dec->has_b_frames);
    e.interlaced = FrameInterlaced(sample);
    e.topFieldFirst = FrameTopFieldFirst(sample);
    e.range = sample->color_range;
    e.space = sample->colorspace;
    e.primaries = sample->color_primaries;
    e.transfer = sample->color_trc;
    std::vector<double> q = scanner.Quantisers();
    if (!q.empty()) {
        std::nth_element(q.begin(), q.begin() + q.size() / 2, q.end());
        e.quantiser = q[q.size() / 2];
    }
    if (e.width != par->width || e.height != par->height)
        Refuse("the pictures' size differs from the stream's");
    try {
        // Only whether it opens: on one thread, without the tables of the encoder's own.
        EdgeFormat probe = e;
        probe.pictures = 1;
        OpenEdgeEncoder(probe);
    } catch (const MediaError& err) {
        Refuse(err.what());
    }
}

}  // namespace

CopyPlan PlanCopy(const CutSpan& span, int videoIndex, const std::atomic<bool>& cancel,
                  const std::function<void()>& rewind) {
    const AVCodecID codec = span.stream->codecpar->codec_id;
    RefuseUncopyableStream(span.stream->codecpar);
    CopyPlan plan;
    const auto scanner = ScanStretch(span, videoIndex, cancel, rewind, plan);
    const std::vector<std::int64_t> indexOfRank = RankPackets(plan, codec, *scanner);
    SetClock(plan, *scanner);
    const std::int64_t jLast = PlaceSlots(span, plan, indexOfRank);
    FindEntry(span, videoIndex, cancel, *scanner, jLast, plan);
    DropPicturesShownBeforeEntry(codec, plan);
    PlaceCopy(jLast, plan);
    if (plan.HasHead() || plan.HasTail()) PrepareEdges(span, *scanner, plan);
    plan.windows = Windows(plan);
    scanner->HandOverDecoder(plan);
    return plan;
}

}  // namespace media
