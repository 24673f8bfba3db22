#include "media/CutJob.h"

#include "media/AvHolders.h"

namespace media {

CutJob::~CutJob() { Stop(); }

void CutJob::Start(const std::string& sourceFile, double startTime, double endTime,
                   const std::string& outputName) {
    if (graph_) throw MediaError("This cut was already started");
    const double length = endTime - startTime;

    auto timeline = std::make_shared<AMTimeline>();

    AMTimelineObjPtr videoGroup = timeline->CreateEmptyNode(TIMELINE_MAJOR_TYPE_GROUP);
    videoGroup->SetMediaType(MEDIATYPE_Video);
    timeline->AddGroup(videoGroup);
    AMTimelineObjPtr videoTrack = timeline->CreateEmptyNode(TIMELINE_MAJOR_TYPE_TRACK);
    videoGroup->VTrackInsBefore(videoTrack, 0);
    AMTimelineObjPtr videoSource = timeline->CreateEmptyNode(TIMELINE_MAJOR_TYPE_SOURCE);
    videoSource->SetStartStop2(0, length);
    videoSource->SetMediaTimes2(startTime, endTime);
    videoSource->SetMediaName(sourceFile);
    videoTrack->SrcAdd(videoSource);

    AMTimelineObjPtr audioGroup = timeline->CreateEmptyNode(TIMELINE_MAJOR_TYPE_GROUP);
    audioGroup->SetMediaType(MEDIATYPE_Audio);
    timeline->AddGroup(audioGroup);
    AMTimelineObjPtr audioTrack = timeline->CreateEmptyNode(TIMELINE_MAJOR_TYPE_TRACK);
    audioGroup->VTrackInsBefore(audioTrack, -1);
    AMTimelineObjPtr audioSource = timeline->CreateEmptyNode(TIMELINE_MAJOR_TYPE_SOURCE);
    audioSource->SetStartStop2(0, length);
    audioSource->SetMediaTimes2(startTime, endTime);
    audioSource->SetMediaName(sourceFile);
    audioTrack->SrcAdd(audioSource);

    videoGroup->SetRecompFormatFromSource(videoSource);

    auto engine = std::make_shared<RenderEngine>();
    engine->SetTimelineObject(timeline);
    engine->ConnectFrontEnd();
    FilterGraphPtr graph = engine->GetFilterGraph();

    CaptureGraphBuilder2 builder;
    builder.SetFiltergraph(graph);
    AviMuxPtr mux = builder.SetOutputFileName(MEDIASUBTYPE_Avi, outputName);
    mux->SetWriteLimitForTesting(writeLimit_);

    const long groups = timeline->GetGroupCount();
    for (long g = 0; g < groups; ++g) {
        if (OutputPinPtr pin = engine->GetGroupOutputPin(g)) builder.RenderStream(pin, mux);
    }

    timeline->ValidateSourceNames(SFN_VALIDATEF_CHECK | SFN_VALIDATEF_POPUP | SFN_VALIDATEF_TELLME |
                                  SFN_VALIDATEF_REPLACE | SFN_VALIDATEF_USELOCAL);

    graph->Run();
    timeline_ = std::move(timeline);
    engine_ = std::move(engine);
    graph_ = std::move(graph);
}

bool CutJob::WaitForCompletion(long timeoutMs, long& code) {
    if (!graph_) throw MediaError("The cut was not started");
    return graph_->WaitForCompletion(timeoutMs, code);
}

void CutJob::Stop() {
    if (graph_) graph_->Stop();
}

std::string CutJob::ErrorText() const { return graph_ ? graph_->ErrorText() : std::string(); }

}  // namespace media
