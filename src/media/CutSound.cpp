#include "media/CutSound.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "media/CutSource.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

namespace media {

CutSound::CutSound(const AVStream* source, double zero, double start, std::int64_t samplesWanted)
    : source_(source), zero_(zero), start_(start), samplesWanted_(samplesWanted) {
    dec_ = OpenDecoder(source);
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE);
    if (codec == nullptr) throw MediaError("This FFmpeg has no 16-bit PCM encoder");
    CodecContextPtr enc(avcodec_alloc_context3(codec));
    if (!enc) throw MediaError("Out of memory opening the audio encoder");
    enc->sample_fmt = AV_SAMPLE_FMT_S16;
    enc->sample_rate = dec_->sample_rate;
    enc->time_base = AVRational{1, dec_->sample_rate};
    if (dec_->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
        av_channel_layout_default(&enc->ch_layout, dec_->ch_layout.nb_channels);
    } else {
        CheckAv(av_channel_layout_copy(&enc->ch_layout, &dec_->ch_layout),
                "Cannot set up the audio encoder");
    }
    CheckAv(avcodec_open2(enc.get(), codec, nullptr), "Cannot open the 16-bit PCM encoder");
    enc_ = std::move(enc);
}

CutSound::~CutSound() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
    av_channel_layout_uninit(&swrInLayout_);
}

void CutSound::AddStream(CutWriter& writer) {
    writer_ = &writer;
    ParametersPtr par(avcodec_parameters_alloc());
    if (!par) throw MediaError("Out of memory describing the audio stream");
    CheckAv(avcodec_parameters_from_context(par.get(), enc_.get()),
            "Cannot describe the audio stream");
    out_ = writer.AddStream(par.get(), enc_->time_base);
}

// Packets that may wait for the decoder before the reader waits for it in turn.
constexpr std::size_t kMaxQueuedPackets = 256;

void CutSound::OnPacket(const AVPacket* pkt) {
    if (!thread_.joinable()) thread_ = std::thread([this] { DecodeLoop(); });
    PacketPtr copy;
    if (pkt != nullptr) {
        copy = MakePacket();
        CheckAv(av_packet_ref(copy.get(), pkt), "Out of memory reading the sound");
    }
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return input_.size() < kMaxQueuedPackets || failure_; });
        if (!inputEnded_) {
            input_.push_back(std::move(copy));
            ++pending_;
            if (pkt == nullptr) inputEnded_ = true;
        }
    }
    changed_.notify_all();
    Drain(pkt == nullptr);
}

void CutSound::Settle() {
    if (thread_.joinable()) Drain(true);
}

void CutSound::DecodeLoop() {
    std::vector<Decoded> out;
    for (;;) {
        PacketPtr pkt;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return stopping_ || !input_.empty(); });
            if (stopping_) return;
            pkt = std::move(input_.front());
            input_.pop_front();
        }
        out.clear();
        std::exception_ptr failure;
        try {
            Decode(pkt.get(), out);
        } catch (...) {
            failure = std::current_exception();
        }
        {
            std::lock_guard lock(mutex_);
            for (Decoded& d : out) output_.push_back(std::move(d));
            --pending_;
            if (failure && !failure_) failure_ = failure;
        }
        changed_.notify_all();
    }
}

void CutSound::Decode(const AVPacket* pkt, std::vector<Decoded>& out) {
    // A damaged packet costs its sound, not the cut, as with any player.
    if (avcodec_send_packet(dec_.get(), pkt) < 0 && pkt != nullptr) return;
    for (;;) {
        int r = avcodec_receive_frame(dec_.get(), decoded_.get());
        if (r < 0) break;
        Convert(decoded_.get(), out);
        av_frame_unref(decoded_.get());
    }
}

void CutSound::Drain(bool wait) {
    std::vector<Decoded> ready;
    {
        std::unique_lock lock(mutex_);
        if (wait) changed_.wait(lock, [this] { return pending_ == 0 || failure_; });
        if (failure_) std::rethrow_exception(failure_);
        ready.swap(output_);
    }
    changed_.notify_all();
    for (const Decoded& d : ready) Place(d);
}

void CutSound::Convert(const AVFrame* f, std::vector<Decoded>& out) {
    if (f->nb_samples <= 0) return;
    const int outRate = enc_->sample_rate;
    if (!swr_ || f->sample_rate != swrInRate_ || f->format != swrInFormat_ ||
        av_channel_layout_compare(&f->ch_layout, &swrInLayout_) != 0) {
        AVChannelLayout inLayout{};
        if (f->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
            av_channel_layout_default(&inLayout, f->ch_layout.nb_channels);
        } else {
            CheckAv(av_channel_layout_copy(&inLayout, &f->ch_layout), "Cannot read audio layout");
        }
        SwrContext* raw = nullptr;
        int r =
            swr_alloc_set_opts2(&raw, &enc_->ch_layout, AV_SAMPLE_FMT_S16, outRate, &inLayout,
                                static_cast<AVSampleFormat>(f->format), f->sample_rate, 0, nullptr);
        av_channel_layout_uninit(&inLayout);
        SwrPtr swr(raw);
        CheckAv(r, "Cannot set up the audio conversion");
        CheckAv(swr_init(swr.get()), "Cannot set up the audio conversion");
        swr_ = std::move(swr);
        swrInRate_ = f->sample_rate;
        swrInFormat_ = f->format;
        av_channel_layout_uninit(&swrInLayout_);
        CheckAv(av_channel_layout_copy(&swrInLayout_, &f->ch_layout), "Cannot read audio layout");
    }
    const int channels = enc_->ch_layout.nb_channels;
    const int capacity = swr_get_out_samples(swr_.get(), f->nb_samples);
    if (capacity < 0) CheckAv(capacity, "Cannot convert the sound");
    Decoded d;
    d.pcm.resize(static_cast<size_t>(capacity) * channels * 2);
    std::uint8_t* outData = d.pcm.data();
    d.count =
        CheckAv(swr_convert(swr_.get(), &outData, capacity,
                            const_cast<const std::uint8_t**>(f->extended_data), f->nb_samples),
                "Cannot convert the sound");
    if (f->best_effort_timestamp != AV_NOPTS_VALUE) {
        d.time = static_cast<double>(f->best_effort_timestamp) * av_q2d(source_->time_base) - zero_;
    } else {
        d.time = nextTime_;
    }
    nextTime_ = d.time + static_cast<double>(f->nb_samples) / f->sample_rate;
    out.push_back(std::move(d));
}

void CutSound::Place(const Decoded& d) {
    if (Done()) return;
    const int channels = enc_->ch_layout.nb_channels;
    std::int64_t skip = 0;
    if (!placed_) {
        // Sample-accurate start: drop what lies before it, or fill a late start with silence.
        const std::int64_t offset = std::llround((d.time - start_) * enc_->sample_rate);
        if (offset <= -d.count) return;
        placed_ = true;
        if (offset > 0) WriteSamples(nullptr, offset);
        if (offset < 0) skip = -offset;
    }
    WriteSamples(d.pcm.data() + skip * channels * 2, d.count - skip);
}

void CutSound::WriteSamples(const std::uint8_t* data, std::int64_t count) {
    // 16-bit PCM is the samples as they are: packets are made here, as its encoder would make
    // them, without a frame and a copy for each.
    const int bytesPerSample = enc_->ch_layout.nb_channels * 2;
    const int chunkMax = 4096;
    while (count > 0 && !Done()) {
        const int n = static_cast<int>(
            std::min<std::int64_t>({count, samplesWanted_ - samplesOut_, chunkMax}));
        const int bytes = n * bytesPerSample;
        CheckAv(av_new_packet(packet_.get(), bytes), "Out of memory for a sound packet");
        if (data != nullptr) {
            std::memcpy(packet_->data, data, static_cast<size_t>(bytes));
            data += bytes;
        } else {
            std::memset(packet_->data, 0, static_cast<size_t>(bytes));
        }
        packet_->pts = samplesOut_;
        packet_->dts = samplesOut_;
        packet_->duration = n;
        packet_->flags |= AV_PKT_FLAG_KEY;
        packet_->stream_index = out_->index;
        av_packet_rescale_ts(packet_.get(), enc_->time_base, out_->time_base);
        writer_->Write(packet_.get());
        av_packet_unref(packet_.get());
        samplesOut_ += n;
        count -= n;
    }
}

int CutSound::SampleRate() const { return enc_->sample_rate; }

void CutSound::Finish(std::int64_t samples) {
    // Sound that ends before the stretch does is completed with silence, so both streams
    // last the marked length.
    Settle();
    samplesWanted_ = std::max(samplesOut_, std::min(samplesWanted_, samples));
    WriteSamples(nullptr, samplesWanted_ - samplesOut_);
}

}  // namespace media
