#include "media/CutJob.h"

#include <chrono>

#include "media/AvHolders.h"

namespace media {

std::shared_ptr<AMTimeline> BuildCutTimeline(const std::string& sourceFile, double startTime,
                                             double endTime) {
    const double length = endTime - startTime;
    auto timeline = std::make_shared<AMTimeline>();
    auto addGroup = [&](const Guid& type, long priority) {
        AMTimelineObjPtr group = timeline->CreateEmptyNode(TIMELINE_MAJOR_TYPE_GROUP);
        group->SetMediaType(type);
        timeline->AddGroup(group);
        AMTimelineObjPtr track = timeline->CreateEmptyNode(TIMELINE_MAJOR_TYPE_TRACK);
        group->VTrackInsBefore(track, priority);
        AMTimelineObjPtr source = timeline->CreateEmptyNode(TIMELINE_MAJOR_TYPE_SOURCE);
        source->SetStartStop2(0, length);
        source->SetMediaTimes2(startTime, endTime);
        source->SetMediaName(sourceFile);
        track->SrcAdd(source);
        return std::make_pair(group, source);
    };
    auto [videoGroup, videoSource] = addGroup(MEDIATYPE_Video, 0);
    addGroup(MEDIATYPE_Audio, -1);
    videoGroup->SetRecompFormatFromSource(videoSource);
    return timeline;
}

CutRequest RequestFromTimeline(const AMTimeline& timeline, const std::string& outputName) {
    if (outputName.empty()) throw MediaError("No output file name was given");
    CutRequest request;
    request.output = outputName;
    request.video = false;
    request.audio = false;
    const AMTimelineObj* first = nullptr;
    for (long g = 0; g < timeline.GetGroupCount(); ++g) {
        const AMTimelineObjPtr& group = timeline.Group(g);
        const bool video = group->MediaType() == MEDIATYPE_Video;
        if (!video && !(group->MediaType() == MEDIATYPE_Audio))
            throw MediaError("Group " + std::to_string(g) + " has no media type");
        const AMTimelineObj* source = nullptr;
        for (const auto& track : group->Tracks()) {
            for (const auto& s : track->Sources()) {
                if (source != nullptr)
                    throw MediaError("A group can hold one source only; group " +
                                     std::to_string(g) + " holds more");
                source = s.get();
            }
        }
        if (source == nullptr) continue;
        if (first == nullptr) {
            first = source;
        } else if (source->MediaName() != first->MediaName() ||
                   source->MediaStart() != first->MediaStart() ||
                   source->MediaStop() != first->MediaStop()) {
            throw MediaError(
                "The picture and the sound must come from the same stretch of one source file");
        }
        bool& wanted = video ? request.video : request.audio;
        if (wanted) throw MediaError("Two groups ask for the same kind of stream");
        wanted = true;
        if (video) request.videoLikeSource = group->RecompressesLikeSource();
    }
    if (first == nullptr) throw MediaError("Nothing to cut: the timeline has no source");
    if (first->MediaName().empty()) throw MediaError("A source has no file name");
    request.source = first->MediaName();
    request.start = first->MediaStart();
    request.stop = first->MediaStop();
    return request;
}

CutJob::~CutJob() { Stop(); }

void CutJob::Start(const std::string& sourceFile, double startTime, double endTime,
                   const std::string& outputName) {
    if (started_) throw MediaError("This cut was already started");
    std::shared_ptr<AMTimeline> timeline = BuildCutTimeline(sourceFile, startTime, endTime);
    CutRequest request = RequestFromTimeline(*timeline, outputName);
    timeline_ = std::move(timeline);
    Start(request);
}

void CutJob::Start(const CutRequest& given) {
    if (started_) throw MediaError("This cut was already started");
    CutRequest request = given;
    if (writeLimit_ >= 0) request.writeLimit = writeLimit_;
    started_ = true;
    worker_ = std::thread([this, request] {
        try {
            CutOutcome outcome = RenderCut(request, progress_);
            Finish(EC_COMPLETE, {}, std::move(outcome));
        } catch (const CutCancelled& e) {
            Finish(EC_USERABORT, e.what(), {});
        } catch (const std::exception& e) {
            // A stop that interrupts FFmpeg mid-call surfaces as that call's failure.
            if (progress_.StopRequested()) {
                Finish(EC_USERABORT, CutCancelled().what(), {});
            } else {
                Finish(EC_ERRORABORT, e.what(), {});
            }
        } catch (...) {
            Finish(EC_ERRORABORT, "The cut failed for an unknown reason", {});
        }
    });
}

void CutJob::Finish(long code, std::string text, CutOutcome outcome) {
    std::lock_guard lock(mutex_);
    code_ = code;
    errorText_ = std::move(text);
    outcome_ = std::move(outcome);
    done_.notify_all();
}

void CutJob::Stop() {
    progress_.Stop();
    if (worker_.joinable()) worker_.join();
}

bool CutJob::WaitForCompletion(long timeoutMs, long& code) {
    std::unique_lock lock(mutex_);
    done_.wait_for(lock, std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs),
                   [this] { return code_ != 0; });
    code = code_;
    return code_ != 0;
}

std::string CutJob::ErrorText() const {
    std::lock_guard lock(mutex_);
    return errorText_;
}

CutOutcome CutJob::Outcome() const {
    std::lock_guard lock(mutex_);
    return outcome_;
}

}  // namespace media
