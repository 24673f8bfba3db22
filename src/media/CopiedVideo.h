#pragma once
// The picture side of a cut that copies the source's compressed pictures: the pictures from the
// first key picture after the start mark on are copied as they are, those before it and those
// at the end that cannot be copied without pictures beyond the end mark are decoded and encoded
// again in the source's codec. Before the file is put in place, the pictures around every join
// are decoded from it and compared with the source's.

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "media/CopyPlan.h"
#include "media/CutVideo.h"

namespace media {

// What tests change in a copied cut.
struct CopySeams {
    // > 0: the quantiser of the edges instead of one taken from the source.
    double edgeQuantiser = 0;
    // Called on an edge's encoder thread before each picture it encodes and before it drains
    // (slot -1); see CutRequest::edgeHookForTesting.
    std::function<void(bool start, std::int64_t slot)> edgeHook;
    // Called before an edge's decoder is given a packet of the source.
    std::function<void(bool start)> decodeHook;
};

class CopiedVideo : public CutVideo {
public:
    // Plans the copy of `span` (see PlanCopy); throws CopyRefused with the reason when it
    // cannot be copied.
    static std::unique_ptr<CopiedVideo> Make(const CutSpan& span, int videoIndex,
                                             const std::atomic<bool>& cancel,
                                             const std::function<void()>& rewind,
                                             CopySeams seams = {});

    // Decodes the pictures around the joins from the written file and compares them with the
    // source's: copied ones must be identical, re-encoded ones close. Throws CopyRefused when
    // any differs, is missing, out of place or fails to decode.
    virtual void Check(CutWriter& writer) = 0;

    virtual std::int64_t CopiedPictures() const = 0;
    virtual std::int64_t EncodedPictures() const = 0;
};

}  // namespace media
