#include "media/FrameProperties.h"

#include <cstring>
#include <initializer_list>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
}

namespace media {

namespace {

// Reads the field's bits as a number: loading an out-of-range value as the enumeration itself
// is what must not happen.
template <class Enum>
int RawValue(const Enum& field) {
    static_assert(sizeof(Enum) == sizeof(int));
    int v;
    std::memcpy(&v, &field, sizeof v);
    return v;
}

// True for 0 <= v < end, except the listed values that the standards keep reserved.
bool Defined(int v, int end, std::initializer_list<int> reserved = {}) {
    if (v < 0 || v >= end) return false;
    for (int r : reserved)
        if (v == r) return false;
    return true;
}

}  // namespace

void SanitizeColorProperties(AVFrame* frame) {
    if (frame == nullptr) return;
    if (!Defined(RawValue(frame->colorspace), AVCOL_SPC_NB, {AVCOL_SPC_RESERVED}))
        frame->colorspace = AVCOL_SPC_UNSPECIFIED;
    if (!Defined(RawValue(frame->color_range), AVCOL_RANGE_NB))
        frame->color_range = AVCOL_RANGE_UNSPECIFIED;
    const int primaries = RawValue(frame->color_primaries);
    // The primaries leave a gap between SMPTE 432 and EBU 3213.
    if (!Defined(primaries, AVCOL_PRI_NB, {AVCOL_PRI_RESERVED0, AVCOL_PRI_RESERVED}) ||
        (primaries > AVCOL_PRI_SMPTE432 && primaries < AVCOL_PRI_EBU3213))
        frame->color_primaries = AVCOL_PRI_UNSPECIFIED;
    if (!Defined(RawValue(frame->color_trc), AVCOL_TRC_NB,
                 {AVCOL_TRC_RESERVED0, AVCOL_TRC_RESERVED}))
        frame->color_trc = AVCOL_TRC_UNSPECIFIED;
    if (!Defined(RawValue(frame->chroma_location), AVCHROMA_LOC_NB))
        frame->chroma_location = AVCHROMA_LOC_UNSPECIFIED;
}

}  // namespace media
