// The picture-header reader of copied cuts on arbitrary bytes: the first byte picks the codec
// (MPEG-4 Part 2, MPEG-2, H.264, MPEG-1), the next gives the length of the stream header, then
// packets follow, each with a two-byte length. Reading, configuration and ranking must never
// crash, and every rank must be a place in the stream.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "media/PictureScan.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    av_log_set_level(AV_LOG_QUIET);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    static const AVCodecID kCodecs[] = {AV_CODEC_ID_MPEG4, AV_CODEC_ID_MPEG2VIDEO, AV_CODEC_ID_H264,
                                        AV_CODEC_ID_MPEG1VIDEO};
    const AVCodecID codec = kCodecs[data[0] % 4];
    std::size_t at = 2;
    const std::size_t headerSize = std::min<std::size_t>(data[1], size - at);
    AVCodecParameters* par = avcodec_parameters_alloc();
    par->codec_type = AVMEDIA_TYPE_VIDEO;
    par->codec_id = codec;
    if (headerSize > 0) {
        par->extradata =
            static_cast<std::uint8_t*>(av_mallocz(headerSize + AV_INPUT_BUFFER_PADDING_SIZE));
        std::memcpy(par->extradata, data + at, headerSize);
        par->extradata_size = static_cast<int>(headerSize);
    }
    at += headerSize;
    {
        media::PictureInspector inspector(par);
        std::vector<media::PictureFacts> facts;
        while (at + 2 <= size) {
            std::size_t n = std::size_t(data[at]) << 8 | data[at + 1];
            at += 2;
            n = std::min(n, size - at);
            // Packets reach the inspector padded, as FFmpeg hands them out.
            std::vector<std::uint8_t> packet(data + at, data + at + n);
            packet.resize(n + AV_INPUT_BUFFER_PADDING_SIZE, 0);
            if (facts.empty()) inspector.TakeConfigFrom(packet.data(), static_cast<int>(n));
            facts.push_back(inspector.Inspect(packet.data(), static_cast<int>(n)));
            at += n;
        }
        std::vector<std::int64_t> ranks;
        for (bool complete : {false, true}) {
            if (!media::RankPictures(codec, false, facts, complete, ranks)) continue;
            for (std::int64_t r : ranks)
                if (r != media::kNoRank && (r < 0 || r >= static_cast<std::int64_t>(ranks.size())))
                    std::abort();
        }
    }
    avcodec_parameters_free(&par);
    return 0;
}
