#pragma once
// One cut: the stretch start..end of a source file written as an AVI file. The editing timeline
// (a video group and an audio group, each holding the stretch) is read into one cut request,
// which a render worker thread writes while the caller watches its progress.

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "media/CutRender.h"
#include "media/Timeline.h"

namespace media {

// Event codes of WaitForCompletion.
inline constexpr long EC_COMPLETE = 1;
inline constexpr long EC_USERABORT = 2;
inline constexpr long EC_ERRORABORT = 3;

// The timeline a cut builds: video group 0 and audio group 1, each with one track holding the
// stretch start..end of `sourceFile` placed at 0, the video group recompressing like its source.
std::shared_ptr<AMTimeline> BuildCutTimeline(const std::string& sourceFile, double startTime,
                                             double endTime);

// The request a timeline asks for: every group's single source must name one stretch of one
// file; a group without a source asks for no stream of its type. The source's streams and the
// output are checked by the render itself, once. Throws MediaError for any other timeline.
CutRequest RequestFromTimeline(const AMTimeline& timeline, const std::string& outputName);

class CutJob {
public:
    CutJob() = default;
    // Stops a render that is still running; its output is then discarded.
    ~CutJob();
    CutJob(const CutJob&) = delete;
    CutJob& operator=(const CutJob&) = delete;

    // Builds the timeline and its request and starts the render. Throws MediaError when the
    // timeline cannot be built (times out of order); anything the render finds (an unreadable
    // source, an output that is the source) ends it with EC_ERRORABORT and ErrorText().
    void Start(const std::string& sourceFile, double startTime, double endTime,
               const std::string& outputName);
    void Start(const CutRequest& request);

    // Waits up to `timeoutMs`; `code` stays 0 while the cut runs, then EC_COMPLETE, or
    // EC_ERRORABORT with ErrorText() saying why, or EC_USERABORT after a stop. Returns code != 0.
    bool WaitForCompletion(long timeoutMs, long& code);
    // Asks a running cut to stop and returns at once; it ends promptly and leaves no output.
    void RequestStop() { progress_.Stop(); }
    // Stops a running cut and waits for the worker.
    void Stop();
    std::string ErrorText() const;
    // How the finished cut was made (after EC_COMPLETE).
    CutOutcome Outcome() const;
    // Pictures written and planned so far, readable from any thread while the cut runs.
    const CutProgress& Progress() const { return progress_; }

    // Testing: the output fails as on a full disk after `bytes` bytes. Call before Start.
    void SetWriteLimitForTesting(std::int64_t bytes) { writeLimit_ = bytes; }
    // Testing: called on the render thread after each step (see CutProgress). Call before Start.
    void SetProgressHookForTesting(std::function<void(std::int64_t, std::int64_t, bool)> hook) {
        progress_.hookForTesting = std::move(hook);
    }

    // The job's timeline (after Start with times).
    const std::shared_ptr<AMTimeline>& Timeline() const { return timeline_; }

private:
    void Finish(long code, std::string text, CutOutcome outcome);

    std::shared_ptr<AMTimeline> timeline_;
    std::int64_t writeLimit_ = -1;
    CutProgress progress_;
    std::thread worker_;
    mutable std::mutex mutex_;
    std::condition_variable done_;
    bool started_ = false;
    long code_ = 0;
    std::string errorText_;
    CutOutcome outcome_;
};

}  // namespace media
