#pragma once
// One cut: the stretch start..end of a source file written as an AVI file, built from the
// editing objects (timeline, render engine, graph builder) and run on the render worker.

#include <cstdint>
#include <memory>
#include <string>

#include "media/GraphBuilder.h"
#include "media/RenderEngine.h"
#include "media/Timeline.h"

namespace media {

class CutJob {
public:
    CutJob() = default;
    // Stops a render that is still running; its output is then discarded.
    ~CutJob();
    CutJob(const CutJob&) = delete;
    CutJob& operator=(const CutJob&) = delete;

    // Builds the timeline (video group 0, audio group 1, both holding start..end of the
    // source), the render engine and the AVI multiplexer, and runs the graph. Throws
    // MediaError when any step fails; nothing is written then.
    void Start(const std::string& sourceFile, double startTime, double endTime,
               const std::string& outputName);

    // Waits up to `timeoutMs`; `code` stays 0 while the cut runs, then EC_COMPLETE, or
    // EC_ERRORABORT with ErrorText() saying why, or EC_USERABORT after Stop().
    bool WaitForCompletion(long timeoutMs, long& code);
    // Cancels a running cut promptly (no output is left) and releases the worker.
    void Stop();
    std::string ErrorText() const;

    // Testing: the output fails as on a full disk after `bytes` bytes. Call before Start.
    void SetWriteLimitForTesting(std::int64_t bytes) { writeLimit_ = bytes; }

    // The objects of the job, for callers that inspect them (valid after Start).
    const std::shared_ptr<AMTimeline>& Timeline() const { return timeline_; }
    const std::shared_ptr<RenderEngine>& Engine() const { return engine_; }

private:
    std::shared_ptr<AMTimeline> timeline_;
    std::shared_ptr<RenderEngine> engine_;
    FilterGraphPtr graph_;
    std::int64_t writeLimit_ = -1;
};

}  // namespace media
