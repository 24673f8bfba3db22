#include "media/RenderEngine.h"

#include <chrono>

#include "media/AvHolders.h"
#include "media/CutRender.h"
#include "media/OutputFile.h"

namespace media {

void AviMux::Connect(const OutputPinPtr& pin) {
    for (const auto& p : inputs_)
        if (p == pin || p->majorType == pin->majorType)
            throw MediaError("The multiplexer already has a stream of this type");
    inputs_.push_back(pin);
}

FilterGraph::~FilterGraph() { Stop(); }

AviMuxPtr FilterGraph::AddAviMux(const std::string& fileName) {
    if (mux_) throw MediaError("The graph already writes an output file");
    mux_ = std::make_shared<AviMux>(fileName);
    return mux_;
}

void FilterGraph::Run() {
    {
        std::lock_guard lock(mutex_);
        if (running_) return;
    }
    if (!mux_) throw MediaError("Nothing to run: no output file was set");
    if (mux_->Inputs().empty()) throw MediaError("Nothing to run: no stream was connected");

    CutRequest request;
    request.output = mux_->FileName();
    request.writeLimit = mux_->WriteLimit();
    request.video = false;
    request.audio = false;
    const OutputPin& first = *mux_->Inputs().front();
    request.source = first.source;
    request.start = first.mediaStart;
    request.stop = first.mediaStop;
    for (const auto& pin : mux_->Inputs()) {
        if (pin->source != first.source || pin->mediaStart != first.mediaStart ||
            pin->mediaStop != first.mediaStop) {
            throw MediaError(
                "The picture and the sound must come from the same stretch of one "
                "source file");
        }
        if (pin->majorType == MEDIATYPE_Video) {
            request.video = true;
            request.videoLikeSource = pin->likeSource;
        } else {
            request.audio = true;
        }
    }
    RefuseOverwritingSource(request.source, request.output);

    if (worker_.joinable()) worker_.join();
    cancel_ = false;
    {
        std::lock_guard lock(mutex_);
        running_ = true;
        code_ = 0;
        errorText_.clear();
    }
    worker_ = std::thread([this, request] {
        try {
            RenderCut(request, cancel_);
            Finish(EC_COMPLETE, {});
        } catch (const CutCancelled& e) {
            Finish(EC_USERABORT, e.what());
        } catch (const std::exception& e) {
            // A stop that interrupts FFmpeg mid-call surfaces as that call's failure.
            if (cancel_) {
                Finish(EC_USERABORT, CutCancelled().what());
            } else {
                Finish(EC_ERRORABORT, e.what());
            }
        } catch (...) {
            Finish(EC_ERRORABORT, "The cut failed for an unknown reason");
        }
    });
}

void FilterGraph::Finish(long code, std::string text) {
    std::lock_guard lock(mutex_);
    code_ = code;
    errorText_ = std::move(text);
    running_ = false;
    done_.notify_all();
}

void FilterGraph::Stop() {
    cancel_ = true;
    if (worker_.joinable()) worker_.join();
}

bool FilterGraph::WaitForCompletion(long timeoutMs, long& code) {
    std::unique_lock lock(mutex_);
    done_.wait_for(lock, std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs),
                   [this] { return code_ != 0; });
    code = code_;
    return code_ != 0;
}

std::string FilterGraph::ErrorText() const {
    std::lock_guard lock(mutex_);
    return errorText_;
}

void RenderEngine::SetTimelineObject(std::shared_ptr<AMTimeline> timeline) {
    if (!timeline) throw MediaError("No timeline was given to the render engine");
    timeline_ = std::move(timeline);
    graph_.reset();
    pins_.clear();
}

void RenderEngine::ConnectFrontEnd() {
    if (!timeline_) throw MediaError("The render engine has no timeline");
    auto graph = std::make_shared<FilterGraph>();
    std::vector<OutputPinPtr> pins;
    std::map<std::string, SourceStreams> probed;
    for (long g = 0; g < timeline_->GetGroupCount(); ++g) {
        const AMTimelineObjPtr& group = timeline_->Group(g);
        const bool video = group->MediaType() == MEDIATYPE_Video;
        if (!video && !(group->MediaType() == MEDIATYPE_Audio))
            throw MediaError("Group " + std::to_string(g) + " has no media type");
        std::vector<AMTimelineObjPtr> sources;
        for (const auto& track : group->Tracks())
            for (const auto& source : track->Sources()) sources.push_back(source);
        if (sources.size() > 1)
            throw MediaError("A group can hold one source only; group " + std::to_string(g) +
                             " holds " + std::to_string(sources.size()));
        OutputPinPtr pin;
        if (sources.size() == 1) {
            const AMTimelineObj& src = *sources.front();
            auto it = probed.find(src.MediaName());
            if (it == probed.end())
                it = probed.emplace(src.MediaName(), ProbeSourceStreams(src.MediaName())).first;
            if (video ? it->second.hasVideo : it->second.hasAudio) {
                auto p = std::make_shared<OutputPin>();
                p->group = g;
                p->majorType = group->MediaType();
                p->source = src.MediaName();
                p->mediaStart = src.MediaStart();
                p->mediaStop = src.MediaStop();
                p->likeSource = group->RecompressesLikeSource();
                pin = std::move(p);
            }
        }
        pins.push_back(std::move(pin));
    }
    graph_ = std::move(graph);
    pins_ = std::move(pins);
}

FilterGraphPtr RenderEngine::GetFilterGraph() const {
    if (!graph_) throw MediaError("The render engine's front end is not connected");
    return graph_;
}

OutputPinPtr RenderEngine::GetGroupOutputPin(long group) const {
    if (!graph_) throw MediaError("The render engine's front end is not connected");
    if (group < 0 || group >= static_cast<long>(pins_.size()))
        throw MediaError("There is no group " + std::to_string(group));
    return pins_[static_cast<size_t>(group)];
}

}  // namespace media
