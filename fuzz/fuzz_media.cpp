// Opening media through the detector on arbitrary bytes, read through the same kind of I/O
// context as a file: the probe, the stream queries and one grab either work or throw
// MediaError, and what they give is sane. The first byte picks the name the format may be
// guessed from and the time of the grab; the rest is the file.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/BmpCodec.h"
#include "media/AvHolders.h"
#include "media/LibraryLogs.h"
#include "media/MediaDet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = (media::QuietLibraryLogs(), true);
    (void)quiet;
    if (size < 1) return 0;
    static const char* const kNames[] = {"clip.avi", "clip.mpg", "clip.m2v", "clip"};
    const char* name = kNames[data[0] & 3];
    const double seconds = double((data[0] >> 2) & 7) * 0.5;

    media::MediaDet det;
    // Threads would cost more than the decoding of these small inputs.
    det.SetDecoderThreads(1);
    try {
        det.OpenBytes(data + 1, size - 1, name);
    } catch (const media::MediaError&) {
        return 0;
    }
    const int streams = det.get_OutputStreams();
    if (streams <= 0) std::abort();
    for (int i = 0; i < streams; ++i) {
        det.put_CurrentStream(i);
        const bool video = det.get_StreamType() == media::MEDIATYPE_Video;
        const double length = det.get_StreamLength(), rate = det.get_FrameRate();
        if (!std::isfinite(length) || length < 0 || !std::isfinite(rate) || rate < 0 ||
            (!video && rate != 0))
            std::abort();
    }
    try {
        std::vector<std::uint8_t> bmp = det.GetBitmapBits(seconds, 40, 30);
        base::BmpImage img;
        if (base::DecodeBmp(bmp.data(), bmp.size(), img) != bmp.size() || img.width != 40 ||
            img.height != 30)
            std::abort();
    } catch (const media::MediaError&) {
    }
    return 0;
}
