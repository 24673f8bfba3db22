#include <gtest/gtest.h>

#include <functional>

#include "CutFixtures.h"
#include "media/AvHolders.h"
#include "media/CutJob.h"
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

// The cut's timeline reads into one request; timelines the render cannot write are refused
// before anything opens a file.
TEST(CutRequestTest, TimelineBecomesOneRequest) {
    auto tl = BuildCutTimeline("/v/in.avi", 2.5, 7);
    ASSERT_EQ(tl->GetGroupCount(), 2);
    EXPECT_EQ(tl->Group(0)->MediaType(), MEDIATYPE_Video);
    EXPECT_EQ(tl->Group(1)->MediaType(), MEDIATYPE_Audio);
    const CutRequest r = RequestFromTimeline(*tl, "out.avi");
    EXPECT_EQ(r.source, "/v/in.avi");
    EXPECT_EQ(r.output, "out.avi");
    EXPECT_EQ(r.start, 2.5);
    EXPECT_EQ(r.stop, 7);
    EXPECT_TRUE(r.video);
    EXPECT_TRUE(r.audio);
    EXPECT_TRUE(r.videoLikeSource);

    struct Case {
        const char* name;
        std::function<void(AMTimeline&)> change;
        bool video, audio;
        bool refused;
    };
    auto sourceOf = [](AMTimeline& t, long g) { return t.Group(g)->Tracks()[0]->Sources()[0]; };
    const Case cases[] = {
        {"sound group without a source",
         [](AMTimeline& t) {
             AMTimelineObjPtr video = t.Group(0);
             t = AMTimeline();
             t.AddGroup(video);
             auto audio = t.CreateEmptyNode(TIMELINE_MAJOR_TYPE_GROUP);
             audio->SetMediaType(MEDIATYPE_Audio);
             audio->VTrackInsBefore(t.CreateEmptyNode(TIMELINE_MAJOR_TYPE_TRACK), -1);
             t.AddGroup(audio);
         },
         true, false, false},
        {"sound from another stretch", [&](AMTimeline& t) { sourceOf(t, 1)->SetMediaTimes2(2, 7); },
         true, true, true},
        {"sound from another file",
         [&](AMTimeline& t) { sourceOf(t, 1)->SetMediaName("/v/other.avi"); }, true, true, true},
        {"a source without a name",
         [&](AMTimeline& t) {
             sourceOf(t, 0)->SetMediaName("");
             sourceOf(t, 1)->SetMediaName("");
         },
         true, true, true},
    };
    for (const Case& c : cases) {
        auto t = BuildCutTimeline("/v/in.avi", 2.5, 7);
        c.change(*t);
        if (c.refused) {
            EXPECT_THROW(RequestFromTimeline(*t, "out.avi"), MediaError) << c.name;
            continue;
        }
        const CutRequest req = RequestFromTimeline(*t, "out.avi");
        EXPECT_EQ(req.video, c.video) << c.name;
        EXPECT_EQ(req.audio, c.audio) << c.name;
    }
    EXPECT_THROW(RequestFromTimeline(*tl, ""), MediaError) << "no output name";
    EXPECT_THROW(RequestFromTimeline(AMTimeline(), "out.avi"), MediaError) << "empty timeline";
    EXPECT_THROW(BuildCutTimeline("/v/in.avi", 3, 2), MediaError) << "marks out of order";
}

}  // namespace
