#include <gtest/gtest.h>

#include <functional>

#include "CutFixtures.h"
#include "media/AvHolders.h"
#include "media/GraphBuilder.h"
#include "media/RenderEngine.h"
#include "media/Timeline.h"

namespace {

using namespace media;

TEST(TimelineTest, OperationsOfAnotherNodeKindAreRefused) {
    AMTimeline tl;
    auto group = tl.CreateEmptyNode(TIMELINE_MAJOR_TYPE_GROUP);
    auto track = tl.CreateEmptyNode(TIMELINE_MAJOR_TYPE_TRACK);
    auto source = tl.CreateEmptyNode(TIMELINE_MAJOR_TYPE_SOURCE);
    struct Case {
        const char* name;
        std::function<void()> call;
    };
    const Case cases[] = {
        {"media type on a track", [&] { track->SetMediaType(MEDIATYPE_Video); }},
        {"media type other than video or audio", [&] { group->SetMediaType(MEDIASUBTYPE_Avi); }},
        {"track inserted into a source", [&] { source->VTrackInsBefore(track, 0); }},
        {"source inserted as a track", [&] { group->VTrackInsBefore(source, 0); }},
        {"source added to a group", [&] { group->SrcAdd(source); }},
        {"track added as a source", [&] { track->SrcAdd(track); }},
        {"media times on a track", [&] { track->SetMediaTimes2(0, 1); }},
        {"media name on a group", [&] { group->SetMediaName("x.avi"); }},
        {"recompression from a track", [&] { group->SetRecompFormatFromSource(track); }},
        {"a track added as a group", [&] { tl.AddGroup(track); }},
        {"stop before start", [&] { source->SetMediaTimes2(3, 2); }},
        {"negative time", [&] { source->SetStartStop2(-1, 2); }},
        {"priority past the end", [&] { group->VTrackInsBefore(track, 1); }},
        {"unknown node kind", [&] { tl.CreateEmptyNode(static_cast<TIMELINE_MAJOR_TYPE>(8)); }},
    };
    for (const Case& c : cases) EXPECT_THROW(c.call(), MediaError) << c.name;
}

TEST(TimelineTest, TrackPriorityOrdersTracks) {
    AMTimeline tl;
    auto group = tl.CreateEmptyNode(TIMELINE_MAJOR_TYPE_GROUP);
    auto a = tl.CreateEmptyNode(TIMELINE_MAJOR_TYPE_TRACK);
    auto b = tl.CreateEmptyNode(TIMELINE_MAJOR_TYPE_TRACK);
    auto c = tl.CreateEmptyNode(TIMELINE_MAJOR_TYPE_TRACK);
    group->VTrackInsBefore(a, -1);
    group->VTrackInsBefore(b, 0);
    group->VTrackInsBefore(c, -1);
    EXPECT_EQ(group->Tracks(), (std::vector<AMTimelineObjPtr>{b, a, c}));
    EXPECT_THROW(group->VTrackInsBefore(a, 0), MediaError) << "a track in two places";
}

TEST(TimelineTest, ValidateSourceNamesNamesTheMissingFile) {
    AMTimeline tl;
    auto group = tl.CreateEmptyNode(TIMELINE_MAJOR_TYPE_GROUP);
    group->SetMediaType(MEDIATYPE_Video);
    tl.AddGroup(group);
    auto track = tl.CreateEmptyNode(TIMELINE_MAJOR_TYPE_TRACK);
    group->VTrackInsBefore(track, 0);
    auto source = tl.CreateEmptyNode(TIMELINE_MAJOR_TYPE_SOURCE);
    track->SrcAdd(source);
    source->SetMediaName(cutfixtures::VideoOnlyAvi().string());
    EXPECT_NO_THROW(tl.ValidateSourceNames(31));
    source->SetMediaName("/no/such/clip.avi");
    try {
        tl.ValidateSourceNames(31);
        ADD_FAILURE() << "missing source accepted";
    } catch (const MediaError& e) {
        EXPECT_NE(std::string(e.what()).find("/no/such/clip.avi"), std::string::npos);
    }
}

// One group per type over a video-only source: the audio group has no output pin.
TEST(RenderEngineTest, PinsFollowTheSourcesStreams) {
    auto tl = std::make_shared<AMTimeline>();
    for (const Guid& type : {MEDIATYPE_Video, MEDIATYPE_Audio}) {
        auto group = tl->CreateEmptyNode(TIMELINE_MAJOR_TYPE_GROUP);
        group->SetMediaType(type);
        tl->AddGroup(group);
        auto track = tl->CreateEmptyNode(TIMELINE_MAJOR_TYPE_TRACK);
        group->VTrackInsBefore(track, 0);
        auto source = tl->CreateEmptyNode(TIMELINE_MAJOR_TYPE_SOURCE);
        source->SetMediaTimes2(1, 2);
        source->SetMediaName(cutfixtures::VideoOnlyAvi().string());
        track->SrcAdd(source);
    }
    RenderEngine engine;
    EXPECT_THROW(engine.GetFilterGraph(), MediaError);
    engine.SetTimelineObject(tl);
    engine.ConnectFrontEnd();
    OutputPinPtr video = engine.GetGroupOutputPin(0);
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->majorType, MEDIATYPE_Video);
    EXPECT_EQ(video->mediaStart, 1);
    EXPECT_EQ(video->mediaStop, 2);
    EXPECT_EQ(engine.GetGroupOutputPin(1), nullptr);
    EXPECT_THROW(engine.GetGroupOutputPin(2), MediaError);

    CaptureGraphBuilder2 builder;
    builder.SetFiltergraph(engine.GetFilterGraph());
    EXPECT_THROW(builder.SetOutputFileName(MEDIATYPE_Video, "x.avi"), MediaError);
    EXPECT_THROW(engine.GetFilterGraph()->Run(), MediaError) << "ran without an output";
    AviMuxPtr mux = builder.SetOutputFileName(MEDIASUBTYPE_Avi, "/tmp/never-written.avi");
    EXPECT_THROW(builder.RenderStream(nullptr, mux), MediaError);
    EXPECT_THROW(engine.GetFilterGraph()->Run(), MediaError) << "ran with nothing connected";
    long code = -1;
    EXPECT_FALSE(engine.GetFilterGraph()->WaitForCompletion(0, code));
    EXPECT_EQ(code, 0);
}

}  // namespace
