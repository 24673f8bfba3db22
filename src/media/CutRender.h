#pragma once
// The work behind a running cut: write a stretch of one source file, picture and sound (as 16-bit
// PCM), into an AVI file. The source's compressed pictures are copied where that gives the same
// pictures as decoding and encoding them again, with only the edges of the stretch re-encoded;
// otherwise every picture is re-encoded. Runs on the render worker thread.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "media/AvHolders.h"

namespace media {

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
    // Test seam: >= 0 sets the bytes of packets the copy's plan keeps for the cut (0: none,
    // the stretch is read again), instead of a budget taken from the stretch's size.
    std::int64_t readAheadForTesting = -1;
    // Test seam: called on an edge's encoder thread of a copied cut before it encodes each
    // picture (`start`: the edge before the copy; `slot`: the picture's place in the output),
    // and with slot -1 before it gives out its last pictures; a test holds an edge back there.
    std::function<void(bool start, std::int64_t slot)> edgeHookForTesting;
    // Test seam: called each time an edge's decoder of a copied cut is given a packet of the
    // source (`start`: the edge before the copy).
    std::function<void(bool start)> decodeHookForTesting;
};

// Thrown by RenderCut when `cancel` was raised.
class CutCancelled : public MediaError {
public:
    explicit CutCancelled(const std::string& note = "")
        : MediaError("The cut was stopped before it was complete" +
                     (note.empty() ? "" : "." + note)) {}
};

// Thrown when the source file ends or changes under a running cut: no other way of cutting
// would do better, so the cut ends with it.
class SourceChanged : public MediaError {
public:
    using MediaError::MediaError;
};

// How a finished cut was made.
enum class CutPath { Reencoded, Copied };
struct CutOutcome {
    CutPath path = CutPath::Reencoded;
    // Why the pictures were not copied (empty when they were).
    std::string whyReencoded;
    std::int64_t copiedPictures = 0;
    std::int64_t encodedPictures = 0;
    bool hasVideo = false;
    bool hasSound = false;
    // Set when the end mark lay past the source's real end: the cut ends there instead.
    bool clamped = false;
    double writtenSeconds = 0;  // length of the output
};

// The live state of one render, shared by the render thread (which advances it) and whoever
// watches the cut (which reads it and may ask it to stop). The counts are pictures (blocks of
// sound for a cut without pictures); Planned() is 0 while the amount is not known yet.
class CutProgress {
public:
    std::int64_t Done() const { return done_.load(); }
    std::int64_t Planned() const { return planned_.load(); }
    // Asks the render to stop; it ends promptly and leaves nothing behind.
    void Stop() { stop_ = true; }
    bool StopRequested() const { return stop_.load(); }
    const std::atomic<bool>& StopFlag() const { return stop_; }

    // Render side. Plan: the amount of work of the current attempt is now known; Update: this
    // much of it is done. A second attempt after a refused copy starts after what the first
    // did (Restart), so Done() never goes back.
    void Plan(std::int64_t planned);
    void Update(std::int64_t done);
    void Restart();
    // Before the finished file is put in place under its name.
    void Committing();

    // Test seam, called on the render thread after every step with Done() and Planned(), and
    // once more with `committing` set just before the file is put in place.
    std::function<void(std::int64_t done, std::int64_t planned, bool committing)> hookForTesting;

private:
    std::atomic<std::int64_t> done_{0};
    std::atomic<std::int64_t> planned_{0};
    std::int64_t base_ = 0;
    std::atomic<bool> stop_{false};
};

// The longest stretch a cut takes, in seconds: far beyond any real file, and small enough that
// every count of pictures or samples made from it stays exact.
inline constexpr double kMaxCutSeconds = 1e9;

// Writes the cut, replacing `request.output` only once the whole file was written. A stretch of
// length 0 gives one frame (the picture at the start) and the sound of one frame's duration.
// An end past the source's real end is taken back to it (the outcome says so). Throws
// MediaError with readable text on failure (SourceChanged when the source ends or changes
// while it is read) and CutCancelled when stopped; in every such case nothing is left under the
// output name and an existing file there is unchanged.
CutOutcome RenderCut(const CutRequest& request, CutProgress& progress);
CutOutcome RenderCut(const CutRequest& request, const std::atomic<bool>& cancel);

}  // namespace media
