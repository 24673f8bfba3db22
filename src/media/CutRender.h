#pragma once
// The work behind a running cut: write a stretch of one source file, picture and sound (as 16-bit
// PCM), into an AVI file. The source's compressed pictures are copied where that gives the same
// pictures as decoding and encoding them again, with only the edges of the stretch re-encoded;
// otherwise every picture is re-encoded. Runs on the render worker thread.

#include <atomic>
#include <cstdint>
#include <string>

#include "media/AvHolders.h"

namespace media {

// Which streams of a source can take part in a cut.
struct SourceStreams {
    bool hasVideo = false;
    bool hasAudio = false;
};

// Opens `name` and reports its decodable picture and sound; throws MediaError when the file
// cannot be opened or read as media.
SourceStreams ProbeSourceStreams(const std::string& name);

struct CutRequest {
    std::string source;
    // Seconds from the source's first picture (whose time stamp is not 0 in MPEG program
    // streams), counted as for the preview of the media detector.
    double start = 0.0;
    double stop = 0.0;
    bool video = true;
    bool audio = true;
    // Keep the source's video codec when FFmpeg can encode it into AVI fast enough; MPEG-4
    // otherwise.
    bool videoLikeSource = true;
    // Copy the source's pictures where possible (only with videoLikeSource); tests turn it off
    // to compare with the output of re-encoding everything.
    bool copyAllowed = true;
    std::string output;
    // Test seam: >= 0 makes the output fail with "no space" after that many bytes.
    std::int64_t writeLimit = -1;
    // Test seam: > 0 encodes the edges of a copied cut at this quantiser instead of one taken
    // from the source, so that the check of the written file can be made to fail.
    double edgeQuantiserForTesting = 0;
};

// Thrown by RenderCut when `cancel` was raised.
class CutCancelled : public MediaError {
public:
    explicit CutCancelled(const std::string& note = "")
        : MediaError("The cut was stopped before it was complete" +
                     (note.empty() ? "" : "." + note)) {}
};

// How a finished cut was made; for tests and benchmarks, not for users, to whom both ways are
// the same cut.
enum class CutPath { Reencoded, Copied };
struct CutOutcome {
    CutPath path = CutPath::Reencoded;
    // Why the pictures were not copied (empty when they were).
    std::string whyReencoded;
    std::int64_t copiedPictures = 0;
    std::int64_t encodedPictures = 0;
};

// Writes the cut, replacing `request.output` only once the whole file was written. A stretch of
// length 0 gives one frame (the picture at the start) and the sound of one frame's duration.
// Throws MediaError with readable text on failure and CutCancelled when cancelled; in both
// cases nothing is left under the output name and an existing file there is unchanged.
CutOutcome RenderCut(const CutRequest& request, const std::atomic<bool>& cancel);

}  // namespace media
