#include "media/PictureScan.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace media {

namespace {

// Calls f with the index of the byte after 00 00 01, for each start code in `data` that has a
// byte after it, until f returns false. memchr finds the candidates' 01 bytes: a cut reads
// every packet of the stretch, and a byte-by-byte loop cost as much as copying them.
template <typename F>
void ForEachStartCode(const std::uint8_t* data, int size, F f) {
    int i = 2;
    while (i + 1 < size) {
        const void* one = std::memchr(data + i, 1, static_cast<size_t>(size - 1 - i));
        if (one == nullptr) return;
        i = static_cast<int>(static_cast<const std::uint8_t*>(one) - data);
        if (data[i - 1] == 0 && data[i - 2] == 0) {
            if (!f(i + 1)) return;
            i += 3;
        } else {
            ++i;
        }
    }
}

// MSB-first bit reader for MPEG-1/2/4 headers (no emulation prevention there).
class Bits {
public:
    Bits(const std::uint8_t* data, int size) : data_(data), size_(size) {}
    unsigned Read(int n) {
        unsigned v = 0;
        for (int k = 0; k < n; ++k) {
            unsigned bit = 0;
            if (pos_ < static_cast<std::int64_t>(size_) * 8)
                bit = (data_[pos_ >> 3] >> (7 - (pos_ & 7))) & 1u;
            else
                overrun_ = true;
            v = (v << 1) | bit;
            ++pos_;
        }
        return v;
    }
    bool Overrun() const { return overrun_; }

private:
    const std::uint8_t* data_;
    int size_;
    std::int64_t pos_ = 0;
    bool overrun_ = false;
};

bool IsMpeg4Vol(std::uint8_t code) { return code >= 0x20 && code <= 0x2F; }

}  // namespace

PictureInspector::PictureInspector(const AVCodecParameters* par) : codec_(par->codec_id) {
    if (par->extradata != nullptr && par->extradata_size > 0) {
        config_ = ConfigOf(par->extradata, par->extradata_size);
        if (codec_ == AV_CODEC_ID_MPEG4) ReadMpeg4Vol(par->extradata, par->extradata_size);
    }
    if (codec_ == AV_CODEC_ID_H264) {
        parser_.reset(av_parser_init(AV_CODEC_ID_H264));
        parserContext_.reset(avcodec_alloc_context3(nullptr));
        if (!parser_ || !parserContext_) throw MediaError("Out of memory reading H.264 headers");
        parser_->flags |= PARSER_FLAG_COMPLETE_FRAMES;
        CheckAv(avcodec_parameters_to_context(parserContext_.get(), par),
                "Cannot read H.264 headers");
    }
}

bool PictureInspector::Understands(AVCodecID codec) {
    return codec == AV_CODEC_ID_MPEG4 || codec == AV_CODEC_ID_MPEG1VIDEO ||
           codec == AV_CODEC_ID_MPEG2VIDEO || codec == AV_CODEC_ID_H264;
}

void PictureInspector::TakeConfigFrom(const std::uint8_t* data, int size) {
    if (!config_.empty()) return;
    config_ = ConfigOf(data, size);
    if (codec_ == AV_CODEC_ID_MPEG4) ReadMpeg4Vol(data, size);
}

std::vector<std::uint8_t> PictureInspector::ConfigOf(const std::uint8_t* data, int size) const {
    std::vector<std::uint8_t> out;
    if (codec_ == AV_CODEC_ID_MPEG4) {
        // Everything before the first VOP, when it holds a VOL.
        int end = size;
        bool vol = false;
        ForEachStartCode(data, size, [&](int at) {
            if (data[at] == 0xB6) {
                end = at - 3;
                return false;
            }
            vol = vol || IsMpeg4Vol(data[at]);
            return true;
        });
        if (vol) out.assign(data, data + end);
    } else if (codec_ == AV_CODEC_ID_MPEG1VIDEO || codec_ == AV_CODEC_ID_MPEG2VIDEO) {
        // The sequence header with its extensions, up to the group or picture that follows.
        int begin = -1;
        int end = size;
        ForEachStartCode(data, size, [&](int at) {
            if (begin < 0) {
                if (data[at] == 0xB3) begin = at - 3;
                return true;
            }
            if (data[at] == 0xB8 || data[at] == 0x00) {
                end = at - 3;
                return false;
            }
            return true;
        });
        if (begin >= 0) out.assign(data + begin, data + end);
    } else if (codec_ == AV_CODEC_ID_H264) {
        // Every sequence and picture parameter set, each with a four-byte start code.
        std::vector<int> starts;
        ForEachStartCode(data, size, [&](int at) {
            starts.push_back(at);
            return true;
        });
        for (size_t k = 0; k < starts.size(); ++k) {
            const int type = data[starts[k]] & 0x1F;
            if (type != 7 && type != 8) continue;
            int end = k + 1 < starts.size() ? starts[k + 1] - 3 : size;
            while (end > starts[k] && data[end - 1] == 0) --end;
            const std::uint8_t code[] = {0, 0, 0, 1};
            out.insert(out.end(), code, code + 4);
            out.insert(out.end(), data + starts[k], data + end);
        }
        bool sps = false;
        bool pps = false;
        ForEachStartCode(out.data(), static_cast<int>(out.size()), [&](int at) {
            sps = sps || (out[at] & 0x1F) == 7;
            pps = pps || (out[at] & 0x1F) == 8;
            return true;
        });
        if (!sps || !pps) out.clear();
    }
    return out;
}

void PictureInspector::ReadMpeg4Vol(const std::uint8_t* data, int size) {
    ForEachStartCode(data, size, [&](int at) {
        if (!IsMpeg4Vol(data[at])) return true;
        Bits b(data + at + 1, size - at - 1);
        b.Read(1);  // random_accessible_vol
        b.Read(8);  // video_object_type_indication
        unsigned verid = 1;
        if (b.Read(1)) {
            verid = b.Read(4);
            b.Read(3);
        }
        if (b.Read(4) == 15) b.Read(16);  // extended pixel aspect ratio
        if (b.Read(1)) {                  // vol_control_parameters
            b.Read(3);
            if (b.Read(1)) b.Read(79);  // vbv parameters
        }
        const unsigned shape = b.Read(2);
        if (shape == 3 && verid != 1) b.Read(4);
        b.Read(1);
        const unsigned resolution = b.Read(16);
        if (b.Overrun() || resolution == 0) return false;
        timeIncrementBits_ = resolution > 1 ? av_log2(resolution - 1) + 1 : 1;
        // Shapes other than rectangular are not something a cut can copy.
        if (shape != 0) timeIncrementBits_ = -1;
        return false;
    });
}

PictureFacts PictureInspector::Inspect(const std::uint8_t* data, int size) {
    switch (codec_) {
        case AV_CODEC_ID_MPEG4:
            return InspectMpeg4(data, size);
        case AV_CODEC_ID_MPEG1VIDEO:
        case AV_CODEC_ID_MPEG2VIDEO:
            return InspectMpegVideo(data, size);
        case AV_CODEC_ID_H264:
            return InspectH264(data, size);
        default:
            return PictureFacts{};
    }
}

PictureFacts PictureInspector::InspectMpeg4(const std::uint8_t* data, int size) {
    PictureFacts facts;
    facts.pictures = 0;
    ForEachStartCode(data, size, [&](int at) {
        if (IsMpeg4Vol(data[at])) {
            facts.hasConfig = true;
            ReadMpeg4Vol(data + at - 3, size - at + 3);
        }
        if (data[at] != 0xB6) return true;
        if (++facts.pictures > 1) return true;
        Bits b(data + at + 1, size - at - 1);
        switch (b.Read(2)) {
            case 0:
                facts.kind = PictureKind::Intra;
                break;
            case 1:
            case 3:  // sprite (GMC) pictures refer to the previous picture like P-pictures
                facts.kind = PictureKind::Predicted;
                break;
            default:
                facts.kind = PictureKind::Bidirectional;
        }
        if (timeIncrementBits_ <= 0) {
            facts.kind = PictureKind::Unknown;
            return true;
        }
        while (b.Read(1) && !b.Overrun()) {
        }
        b.Read(1);
        b.Read(timeIncrementBits_);
        b.Read(1);
        facts.coded = b.Read(1) != 0;
        if (b.Overrun()) facts.kind = PictureKind::Unknown;
        return true;
    });
    facts.entry = facts.kind == PictureKind::Intra && facts.pictures == 1;
    return facts;
}

PictureFacts PictureInspector::InspectMpegVideo(const std::uint8_t* data, int size) {
    PictureFacts facts;
    facts.pictures = 0;
    bool afterPicture = false;
    ForEachStartCode(data, size, [&](int at) {
        const std::uint8_t code = data[at];
        if (code == 0xB3) facts.hasConfig = true;
        if (code == 0x00) {
            afterPicture = true;
            if (++facts.pictures > 1) return true;
            Bits b(data + at + 1, size - at - 1);
            b.Read(10);
            switch (b.Read(3)) {
                case 1:
                    facts.kind = PictureKind::Intra;
                    break;
                case 2:
                    facts.kind = PictureKind::Predicted;
                    break;
                case 3:
                    facts.kind = PictureKind::Bidirectional;
                    break;
                default:
                    facts.kind = PictureKind::Unknown;
            }
        } else if (code == 0xB5 && afterPicture && at + 3 < size && (data[at + 1] >> 4) == 8) {
            // Picture coding extension: a field picture comes with its other field.
            Bits b(data + at + 1, size - at - 1);
            b.Read(4 + 16 + 2);
            if (b.Read(2) != 3) facts.pictures = std::max(facts.pictures, 2);
        }
        return true;
    });
    facts.entry = facts.kind == PictureKind::Intra && facts.pictures == 1;
    return facts;
}

PictureFacts PictureInspector::InspectH264(const std::uint8_t* data, int size) {
    PictureFacts facts;
    bool idr = false;
    bool otherSlice = false;
    bool sps = false;
    bool pps = false;
    ForEachStartCode(data, size, [&](int at) {
        switch (data[at] & 0x1F) {
            case 1:
                otherSlice = true;
                break;
            case 5:
                idr = true;
                break;
            case 7:
                sps = true;
                break;
            case 8:
                pps = true;
                break;
            default:
                break;
        }
        return true;
    });
    facts.hasConfig = sps && pps;
    std::uint8_t* out = nullptr;
    int outSize = 0;
    av_parser_parse2(parser_.get(), parserContext_.get(), &out, &outSize, data, size,
                     AV_NOPTS_VALUE, AV_NOPTS_VALUE, -1);
    switch (parser_->pict_type) {
        case AV_PICTURE_TYPE_I:
            facts.kind = PictureKind::Intra;
            break;
        case AV_PICTURE_TYPE_P:
            facts.kind = PictureKind::Predicted;
            break;
        case AV_PICTURE_TYPE_B:
            facts.kind = PictureKind::Bidirectional;
            break;
        default:
            facts.kind = PictureKind::Unknown;
    }
    if (!idr && !otherSlice) facts.kind = PictureKind::Unknown;
    facts.pictures = parser_->picture_structure == AV_PICTURE_STRUCTURE_FRAME ? 1 : 2;
    facts.order = parser_->output_picture_number;
    facts.entry = idr && !otherSlice && facts.pictures == 1;
    return facts;
}

bool RankPictures(AVCodecID codec, bool intraOnly, const std::vector<PictureFacts>& pictures,
                  bool complete, std::vector<std::int64_t>& ranks) {
    const auto count = static_cast<std::int64_t>(pictures.size());
    ranks.assign(pictures.size(), kNoRank);
    if (intraOnly) {
        std::iota(ranks.begin(), ranks.end(), 0);
        return true;
    }
    if (codec == AV_CODEC_ID_H264) {
        // Periods start at IDR pictures; order counts rank the pictures inside one. The last
        // period may go on past what was read, so its last pictures stay unranked.
        constexpr std::int64_t kReorderMargin = 16;
        std::int64_t base = 0;
        std::int64_t begin = 0;
        while (begin < count) {
            std::int64_t end = begin + 1;
            while (end < count && !pictures[end].entry) ++end;
            std::vector<std::int64_t> order(static_cast<size_t>(end - begin));
            std::iota(order.begin(), order.end(), begin);
            std::sort(order.begin(), order.end(), [&](std::int64_t a, std::int64_t b) {
                return pictures[a].order < pictures[b].order;
            });
            for (size_t k = 1; k < order.size(); ++k)
                if (pictures[order[k]].order == pictures[order[k - 1]].order) return false;
            const bool last = end == count && !complete;
            for (size_t k = 0; k < order.size(); ++k) {
                if (last && order[k] >= count - kReorderMargin) continue;
                ranks[order[k]] = base + static_cast<std::int64_t>(k);
            }
            base += end - begin;
            begin = end;
        }
        return true;
    }
    std::int64_t next = 0;
    std::int64_t pending = -1;
    for (std::int64_t i = 0; i < count; ++i) {
        switch (pictures[i].kind) {
            case PictureKind::Bidirectional:
                ranks[i] = next++;
                break;
            case PictureKind::Intra:
            case PictureKind::Predicted:
                if (pending >= 0) ranks[pending] = next++;
                pending = i;
                break;
            default:
                return false;
        }
    }
    if (pending >= 0 && complete) ranks[pending] = next++;
    return true;
}

}  // namespace media
