#pragma once
// The render side of editing: the render engine turns a timeline into a filter graph with one
// output pin per group, the graph builder connects pins to an AVI multiplexer, and the graph
// (as media control and media event) runs the render on a worker thread.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "media/Guids.h"
#include "media/Timeline.h"

namespace media {

// Event codes of WaitForCompletion.
inline constexpr long EC_COMPLETE = 1;
inline constexpr long EC_USERABORT = 2;
inline constexpr long EC_ERRORABORT = 3;

// A group's output: the stream of one type out of one stretch of one source.
struct OutputPin {
    long group = 0;
    Guid majorType{};
    std::string source;
    double mediaStart = 0.0;
    double mediaStop = 0.0;
    bool likeSource = false;
};
using OutputPinPtr = std::shared_ptr<const OutputPin>;

// The AVI multiplexer writing one output file.
class AviMux {
public:
    explicit AviMux(std::string fileName) : fileName_(std::move(fileName)) {}
    const std::string& FileName() const { return fileName_; }
    const std::vector<OutputPinPtr>& Inputs() const { return inputs_; }
    void Connect(const OutputPinPtr& pin);

    // Testing: every write past `bytes` bytes of output fails as on a full disk; -1 turns it
    // off. Takes effect at the next Run.
    void SetWriteLimitForTesting(std::int64_t bytes) { writeLimit_ = bytes; }
    std::int64_t WriteLimit() const { return writeLimit_; }

private:
    std::string fileName_;
    std::vector<OutputPinPtr> inputs_;
    std::int64_t writeLimit_ = -1;
};
using AviMuxPtr = std::shared_ptr<AviMux>;

// The filter graph, with its media control (Run, Stop) and media event (WaitForCompletion).
class FilterGraph {
public:
    FilterGraph() = default;
    ~FilterGraph();
    FilterGraph(const FilterGraph&) = delete;
    FilterGraph& operator=(const FilterGraph&) = delete;

    // Starts rendering into the multiplexer on a worker thread. Throws MediaError when the
    // graph cannot render (no multiplexer, nothing connected, pins of different stretches).
    void Run();
    // Cancels a running render promptly and waits for the worker; a stopped render leaves no
    // output file. Stopping a finished or idle graph only releases the worker.
    void Stop();
    // Waits up to `timeoutMs` for the end of the render. `code` is 0 while it runs (or was
    // never started), then EC_COMPLETE, EC_USERABORT or EC_ERRORABORT. Returns code != 0.
    bool WaitForCompletion(long timeoutMs, long& code);
    // Why the render failed, in plain words; empty after success.
    std::string ErrorText() const;

    // Used by the graph builder.
    AviMuxPtr AddAviMux(const std::string& fileName);
    bool Owns(const AviMuxPtr& mux) const { return mux && mux == mux_; }

private:
    void Finish(long code, std::string text);

    AviMuxPtr mux_;
    std::thread worker_;
    std::atomic<bool> cancel_{false};
    mutable std::mutex mutex_;
    std::condition_variable done_;
    bool running_ = false;
    long code_ = 0;
    std::string errorText_;
};
using FilterGraphPtr = std::shared_ptr<FilterGraph>;

class RenderEngine {
public:
    void SetTimelineObject(std::shared_ptr<AMTimeline> timeline);
    // Builds the graph's front end: opens each group's source and decides its output pin.
    // Throws MediaError when a source cannot be opened.
    void ConnectFrontEnd();
    FilterGraphPtr GetFilterGraph() const;
    // The group's output pin, or nullptr when its sources have no stream of the group's type.
    OutputPinPtr GetGroupOutputPin(long group) const;

private:
    std::shared_ptr<AMTimeline> timeline_;
    FilterGraphPtr graph_;
    std::vector<OutputPinPtr> pins_;
};

}  // namespace media
