#pragma once
// The plan of a copied cut, made before anything is written: the source's packets from the
// place the cut starts reading, in decode order, and which of them are copied, which pictures
// are re-encoded at the start and at the end, and where the output is checked.
//
//   source, display order:   ... r0 ........ rK1 ................. J ......... jLast ...
//   output slots:                0 .. m-1 | m (copied from K1) .. | tailStart .. pictures-1
//                                 head, re-encoded                  tail, re-encoded

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "media/AvHolders.h"
#include "media/CutVideo.h"
#include "media/PictureScan.h"
#include "media/VideoEncoders.h"

namespace media {

// Why a cut is not copied; the cut is re-encoded instead.
class CopyRefused : public MediaError {
public:
    using MediaError::MediaError;
};

struct ScannedPacket {
    std::int64_t dts = 0;
    int size = 0;
    bool key = false;
    PictureFacts facts;
    std::int64_t rank = kNoRank;
};

// A range of output slots whose pictures the check compares with the source's.
struct CheckWindow {
    std::int64_t begin = 0;
    std::int64_t end = 0;
};

struct CopyPlan {
    std::vector<ScannedPacket> packets;

    // Source packet parameters after unpacking MPEG-4 packed B-frames.
    ParametersPtr parameters;
    bool unpack = false;
    // The decoder configuration given to the first copied packet when it has none.
    std::vector<std::uint8_t> config;
    EdgeFormat edges;

    // Stream ticks (corrected as the cut's clock corrects them) of the picture with rank 0,
    // and of each picture: a picture of rank r starts at base + r * tick.
    std::int64_t base = 0;
    std::int64_t tick = 1;

    std::int64_t first = 0;  // first key packet: decoding starts there
    std::int64_t r0 = 0;     // rank of the picture in slot 0
    std::int64_t entry = 0;  // packet K1 where copying starts
    std::int64_t entryRank = 0;
    std::vector<std::int64_t> dropped;  // packets after K1 that are shown before it
    std::int64_t last = 0;              // last copied packet
    std::int64_t lastRank = 0;          // J: rank of the last copied picture
    std::int64_t pictures = 0;          // output slots
    std::int64_t headSlots = 0;         // m
    std::int64_t tailStart = 0;         // first slot after the copy
    std::int64_t headDecodeFrom = 0;    // entry packet the start's pictures decode from
    std::int64_t tailDecodeFrom = 0;    // key packet the tail decoder starts at
    std::vector<CheckWindow> windows;

    // The planning read's decoder, which decoded the stretch's first packets to learn the
    // clock: the copy's start goes on with it instead of decoding them again. Null when it was
    // drained at the end of the file. It was given packets 0 .. decoderPackets - 1 (tagged with
    // their index), gave out `decoded` in that order, and refused the packets in
    // `decoderErrors` (index, FFmpeg's result).
    CodecContextPtr decoder;
    std::int64_t decoderPackets = 0;
    std::vector<FramePtr> decoded;
    std::vector<std::pair<std::int64_t, int>> decoderErrors;

    bool HasHead() const { return headSlots > 0; }
    bool HasTail() const { return tailStart < pictures; }
    std::int64_t SlotOfRank(std::int64_t rank) const { return headSlots + rank - entryRank; }
    std::int64_t RankOfSlot(std::int64_t slot) const { return r0 + slot; }
    bool IsDropped(std::int64_t index) const;
    bool InWindow(std::int64_t slot) const;
};

// The mean quantiser of a decoded picture in the scale its codec's encoder takes (MPEG
// quantiser code, H.264 QP), from the parameters its decoder exported; 0 when there are none.
double AverageQuantiser(const AVFrame* f);

// Pictures compared on each side of a join.
inline constexpr int kCheckPictures = 3;

// Reads the stretch ahead from where the cut's demuxer stands (span.input, which the caller
// puts back there afterwards; `rewind` does that in between), without decoding it beyond the
// first pictures, and plans the copy. A demuxer of its own on span.file fetches a decoder
// configuration that the stretch lacks. Throws CopyRefused with the reason when the cut cannot
// be copied.
CopyPlan PlanCopy(const CutSpan& span, int videoIndex, const std::atomic<bool>& cancel,
                  const std::function<void()>& rewind);

}  // namespace media
