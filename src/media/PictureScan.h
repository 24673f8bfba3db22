#pragma once
// What a cut needs to know about compressed pictures without decoding them: their kind, where
// decoding can start, which packets carry the decoder's configuration, and the order in which
// the pictures are shown.

#include <cstdint>
#include <limits>
#include <vector>

#include "media/AvHolders.h"

namespace media {

enum class PictureKind : std::uint8_t { Unknown, Intra, Predicted, Bidirectional };

struct PictureFacts {
    PictureKind kind = PictureKind::Unknown;
    // Decoding can start here and nothing after it refers to pictures before it, except
    // B-pictures shown before it (MPEG-1, MPEG-2 and MPEG-4 Part 2 open groups of pictures).
    bool entry = false;
    // The packet carries the decoder configuration (MPEG-4 VOL, MPEG sequence header, H.264
    // sequence and picture parameter sets).
    bool hasConfig = false;
    // Pictures in the packet: 2 for MPEG-4 packed B-frames or separately coded fields.
    int pictures = 1;
    // False for an MPEG-4 VOP that is not coded (a repeat of the previous picture).
    bool coded = true;
    // H.264 picture order count.
    std::int64_t order = 0;
};

// Reads the headers of one stream's packets, in decode order.
class PictureInspector {
public:
    // `par` describes the stream (codec and extradata).
    explicit PictureInspector(const AVCodecParameters* par);

    // True when the codec is one whose pictures this class understands.
    static bool Understands(AVCodecID codec);

    PictureFacts Inspect(const std::uint8_t* data, int size);

    // Keeps the decoder configuration of `data` (the stream's first packet) when the stream's
    // extradata has none.
    void TakeConfigFrom(const std::uint8_t* data, int size);
    // The configuration a packet must be given when it starts a copy and has none of its own;
    // empty when unknown.
    const std::vector<std::uint8_t>& Config() const { return config_; }

    // Bytes of `data` that make up its decoder configuration (empty when it has none).
    std::vector<std::uint8_t> ConfigOf(const std::uint8_t* data, int size) const;

private:
    void ReadMpeg4Vol(const std::uint8_t* data, int size);
    PictureFacts InspectMpeg4(const std::uint8_t* data, int size);
    PictureFacts InspectMpegVideo(const std::uint8_t* data, int size);
    PictureFacts InspectH264(const std::uint8_t* data, int size);

    AVCodecID codec_;
    std::vector<std::uint8_t> config_;
    int timeIncrementBits_ = 0;  // MPEG-4; 0 until a VOL was read
    CodecContextPtr parserContext_;
    ParserPtr parser_;
};

inline constexpr std::int64_t kNoRank = std::numeric_limits<std::int64_t>::min();

// Gives each picture, listed in decode order, its place in display order (its rank), counted
// from the first. MPEG-1/2/4 show a B-picture at once and an intra or predicted picture when
// the next one of those arrives; H.264 shows pictures by picture order count between IDR
// pictures; intra-only streams in decode order. Pictures whose place cannot be known yet (the
// last anchor when `complete` is false; the tail of an unfinished H.264 period) get kNoRank.
// Returns false when the order is inconsistent (equal order counts, unknown kinds).
bool RankPictures(AVCodecID codec, bool intraOnly, const std::vector<PictureFacts>& pictures,
                  bool complete, std::vector<std::int64_t>& ranks);

}  // namespace media
