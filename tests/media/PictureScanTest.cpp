// Picture headers read without decoding, checked against what FFmpeg's decoders make of the
// same packets, and the display order worked out from them.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "common/Fixtures.h"
#include "media/AvHolders.h"
#include "media/CutSource.h"
#include "media/PictureScan.h"

namespace fs = std::filesystem;
using media::kNoRank;
using media::PictureFacts;
using media::PictureKind;

namespace {

PictureFacts Pic(PictureKind kind, bool entry = false, std::int64_t order = 0) {
    PictureFacts f;
    f.kind = kind;
    f.entry = entry;
    f.order = order;
    return f;
}
constexpr auto I = PictureKind::Intra;
constexpr auto P = PictureKind::Predicted;
constexpr auto B = PictureKind::Bidirectional;

TEST(RankPictures, MpegShowsBPicturesAtOnceAndAnchorsAtTheNextAnchor) {
    // Decode order I0 P3 B1 B2 P6 B4 B5.
    const std::vector<PictureFacts> pics{Pic(I, true), Pic(P), Pic(B), Pic(B),
                                         Pic(P),       Pic(B), Pic(B)};
    std::vector<std::int64_t> ranks;
    ASSERT_TRUE(media::RankPictures(AV_CODEC_ID_MPEG4, false, pics, true, ranks));
    EXPECT_EQ(ranks, (std::vector<std::int64_t>{0, 3, 1, 2, 6, 4, 5}));
    // Without the end of the stream the last anchor's place is not known yet.
    ASSERT_TRUE(media::RankPictures(AV_CODEC_ID_MPEG2VIDEO, false, pics, false, ranks));
    EXPECT_EQ(ranks, (std::vector<std::int64_t>{0, 3, 1, 2, kNoRank, 4, 5}));
    // Open group: B-pictures after an intra picture are shown before it.
    const std::vector<PictureFacts> open{Pic(I, true), Pic(B), Pic(B), Pic(P)};
    ASSERT_TRUE(media::RankPictures(AV_CODEC_ID_MPEG4, false, open, true, ranks));
    EXPECT_EQ(ranks, (std::vector<std::int64_t>{2, 0, 1, 3}));
}

TEST(RankPictures, H264OrdersEachIdrPeriodByPictureOrderCount) {
    const std::vector<PictureFacts> pics{Pic(I, true, 0),  Pic(P, false, 8), Pic(B, false, 4),
                                         Pic(B, false, 2), Pic(B, false, 6), Pic(I, true, 0),
                                         Pic(P, false, 4), Pic(B, false, 2)};
    std::vector<std::int64_t> ranks;
    ASSERT_TRUE(media::RankPictures(AV_CODEC_ID_H264, false, pics, true, ranks));
    EXPECT_EQ(ranks, (std::vector<std::int64_t>{0, 4, 2, 1, 3, 5, 7, 6}));
    // The last period may go on beyond what was read: its pictures stay unranked.
    ASSERT_TRUE(media::RankPictures(AV_CODEC_ID_H264, false, pics, false, ranks));
    EXPECT_EQ(ranks[7], kNoRank);
    EXPECT_EQ(ranks[0], 0);
}

TEST(RankPictures, InconsistentOrdersAreRefused) {
    std::vector<std::int64_t> ranks;
    EXPECT_FALSE(media::RankPictures(AV_CODEC_ID_H264, false,
                                     {Pic(I, true, 0), Pic(P, false, 4), Pic(B, false, 4)}, true,
                                     ranks));
    EXPECT_FALSE(media::RankPictures(AV_CODEC_ID_MPEG4, false,
                                     {Pic(I, true), Pic(PictureKind::Unknown)}, true, ranks));
    ASSERT_TRUE(
        media::RankPictures(AV_CODEC_ID_MJPEG, true, {Pic(I, true), Pic(I, true)}, true, ranks));
    EXPECT_EQ(ranks, (std::vector<std::int64_t>{0, 1}));
}

// Every packet of `file` inspected in decode order, and the decoder's picture types in display
// order.
struct Inspected {
    std::vector<PictureFacts> facts;
    std::vector<char> shown;
};

Inspected Inspect(const fs::path& file, bool unpack = false) {
    Inspected out;
    media::SourceWatch watch(nullptr);
    const std::unique_ptr<media::SourceInput> source = media::OpenSourceFile(file.string());
    const media::CutInput in = media::OpenCutInput(*source, file.string(), watch);
    const int v = media::UsableStream(in.get(), AVMEDIA_TYPE_VIDEO);
    AVStream* st = in->streams[v];
    media::BsfPtr bsf;
    media::ParametersPtr par(avcodec_parameters_alloc());
    avcodec_parameters_copy(par.get(), st->codecpar);
    if (unpack) {
        AVBSFContext* raw = nullptr;
        av_bsf_alloc(av_bsf_get_by_name("mpeg4_unpack_bframes"), &raw);
        bsf.reset(raw);
        avcodec_parameters_copy(bsf->par_in, st->codecpar);
        av_bsf_init(bsf.get());
    }
    media::PictureInspector inspector(par.get());
    media::CodecContextPtr dec = media::OpenDecoder(st);
    media::PacketPtr pkt = media::MakePacket();
    media::FramePtr frame = media::MakeFrame();
    auto take = [&](AVPacket* p) {
        if (p != nullptr) out.facts.push_back(inspector.Inspect(p->data, p->size));
        avcodec_send_packet(dec.get(), p);
        while (avcodec_receive_frame(dec.get(), frame.get()) >= 0) {
            out.shown.push_back(av_get_picture_type_char(frame->pict_type));
            av_frame_unref(frame.get());
        }
    };
    while (av_read_frame(in.get(), pkt.get()) >= 0) {
        if (pkt->stream_index == v) {
            if (bsf) {
                av_bsf_send_packet(bsf.get(), pkt.get());
                media::PacketPtr o = media::MakePacket();
                while (av_bsf_receive_packet(bsf.get(), o.get()) >= 0) {
                    take(o.get());
                    av_packet_unref(o.get());
                }
            } else {
                take(pkt.get());
            }
        }
        av_packet_unref(pkt.get());
    }
    take(nullptr);
    return out;
}

char KindChar(PictureKind k) {
    switch (k) {
        case PictureKind::Intra:
            return 'I';
        case PictureKind::Predicted:
            return 'P';
        case PictureKind::Bidirectional:
            return 'B';
        default:
            return '?';
    }
}

struct StreamCase {
    const char* name;
    const char* recipe;
    AVCodecID codec;
};

class PictureInspectorTest : public ::testing::TestWithParam<StreamCase> {};

// The kind read from each packet's header, put in display order by the ranks, is the kind the
// decoder reports for the picture it shows there.
TEST_P(PictureInspectorTest, KindsInDisplayOrderAreTheDecodersPictureTypes) {
    const StreamCase& c = GetParam();
    const fs::path file =
        fixtures::Make(std::string("scan_") + c.name + ".avi",
                       std::string("-f lavfi -i testsrc2=s=128x96:r=25:d=3 ") + c.recipe);
    ASSERT_FALSE(file.empty());
    const Inspected got = Inspect(file);
    std::vector<std::int64_t> ranks;
    ASSERT_TRUE(media::RankPictures(c.codec, false, got.facts, true, ranks));
    ASSERT_EQ(got.shown.size(), got.facts.size());
    std::string byHeader(got.facts.size(), '-');
    for (size_t i = 0; i < ranks.size(); ++i) {
        ASSERT_NE(ranks[i], kNoRank);
        byHeader[ranks[i]] = KindChar(got.facts[i].kind);
    }
    EXPECT_EQ(byHeader, std::string(got.shown.begin(), got.shown.end()));
    EXPECT_TRUE(got.facts.front().entry);
    EXPECT_TRUE(got.facts.front().hasConfig);
    for (const PictureFacts& f : got.facts) {
        EXPECT_EQ(f.pictures, 1);
        EXPECT_TRUE(f.coded);
        EXPECT_EQ(f.entry, f.kind == PictureKind::Intra) << "an intra picture that is not an entry";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Streams, PictureInspectorTest,
    ::testing::Values(StreamCase{"Mpeg4", "-c:v mpeg4 -g 12 -bf 2", AV_CODEC_ID_MPEG4},
                      StreamCase{"Mpeg2", "-c:v mpeg2video -g 12 -bf 2", AV_CODEC_ID_MPEG2VIDEO},
                      StreamCase{"H264", "-c:v libx264 -g 25", AV_CODEC_ID_H264}),
    [](const auto& info) { return std::string(info.param.name); });

// Packed B-frames (two pictures in one packet, an uncoded placeholder in the next) are seen as
// such, and the unpacking filter leaves one coded picture per packet.
TEST(PictureInspectorTest, PackedBFramesAreRecognisedAndUnpacked) {
    std::string why;
    const fs::path sample = fixtures::Sample("fate-suite/packed_bframes.avi", why);
    if (sample.empty()) GTEST_SKIP() << why;
    const Inspected packed = Inspect(sample);
    int doubles = 0;
    int placeholders = 0;
    for (const PictureFacts& f : packed.facts) {
        doubles += f.pictures == 2;
        placeholders += !f.coded;
    }
    EXPECT_GT(doubles, 0);
    EXPECT_GT(placeholders, 0);

    const Inspected unpacked = Inspect(sample, true);
    ASSERT_EQ(unpacked.facts.size(), packed.facts.size());
    std::vector<std::int64_t> ranks;
    ASSERT_TRUE(media::RankPictures(AV_CODEC_ID_MPEG4, false, unpacked.facts, true, ranks));
    std::string byHeader(unpacked.facts.size(), '-');
    for (size_t i = 0; i < ranks.size(); ++i) {
        EXPECT_EQ(unpacked.facts[i].pictures, 1);
        EXPECT_TRUE(unpacked.facts[i].coded);
        byHeader[ranks[i]] = KindChar(unpacked.facts[i].kind);
    }
    EXPECT_EQ(byHeader, std::string(unpacked.shown.begin(), unpacked.shown.end()));
}

}  // namespace
