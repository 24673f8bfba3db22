#pragma once
// The check of a copied cut before its file is put in place: the pictures around every join are
// decoded from the written file, as a player would, and compared with the source's: copied ones
// must be identical, re-encoded ones close.

#include <cstdint>
#include <map>
#include <vector>

#include "media/AvHolders.h"
#include "media/CopyPlan.h"
#include "media/PictureDigest.h"

namespace media {

class CutWriter;

// The source's picture for a slot that the check compares: a digest for copied pictures,
// which must come out identical, the picture itself for re-encoded ones.
struct Reference {
    bool copied = false;
    PictureDigest digest{};
    FramePtr picture;
};
using References = std::map<std::int64_t, Reference>;

struct OutputKey {
    std::int64_t index = 0;  // decode position in the output
    std::int64_t slot = 0;   // slot of the key picture
};

// Where the copier put its pictures in the file.
struct WrittenLayout {
    std::vector<OutputKey> keys;
    std::vector<std::int64_t> slots;  // slot of each written packet, by decode position
};

// Whether the decoder flagged a picture as decoded with errors.
bool Damaged(const AVFrame* f);

// Re-encoded pictures must come this close to the source's (peak signal-to-noise ratio, dB).
inline constexpr double kMinPsnr = 40.0;

// Peak signal-to-noise ratio over all planes of two 8-bit pictures; infinity when identical,
// 0 when they differ in format or size.
double Psnr(const AVFrame* a, const AVFrame* b);

// Decodes the pictures of every window from the written file and compares each with its
// reference. Throws CopyRefused when any differs, is missing, out of place, shown at the wrong
// time or fails to decode.
void CheckJoins(CutWriter& writer, const std::vector<CheckWindow>& windows,
                const WrittenLayout& layout, const References& references);

}  // namespace media
