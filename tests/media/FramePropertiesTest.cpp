// Colour properties that a damaged stream sets to numbers FFmpeg does not define.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "MediaDetTestUtil.h"
#include "common/Fixtures.h"
#include "common/TempDir.h"
#include "media/AvHolders.h"
#include "media/FrameProperties.h"
#include "media/MediaDet.h"

namespace fs = std::filesystem;

namespace {

template <class Enum>
void SetRaw(Enum& field, int value) {
    std::memcpy(&field, &value, sizeof value);
}

template <class Enum>
int Raw(const Enum& field) {
    int v;
    std::memcpy(&v, &field, sizeof v);
    return v;
}

TEST(SanitizeColorProperties, UndefinedValuesBecomeUnspecified) {
    media::FramePtr f = media::MakeFrame();
    const struct {
        int colorspace, range, primaries, trc, location;
        int expColorspace, expRange, expPrimaries, expTrc, expLocation;
    } cases[] = {
        // Defined values stay as they are.
        {AVCOL_SPC_BT709, AVCOL_RANGE_JPEG, AVCOL_PRI_BT470BG, AVCOL_TRC_SMPTE2084,
         AVCHROMA_LOC_TOPLEFT, AVCOL_SPC_BT709, AVCOL_RANGE_JPEG, AVCOL_PRI_BT470BG,
         AVCOL_TRC_SMPTE2084, AVCHROMA_LOC_TOPLEFT},
        {AVCOL_SPC_RGB, AVCOL_RANGE_MPEG, AVCOL_PRI_EBU3213, AVCOL_TRC_ARIB_STD_B67,
         AVCHROMA_LOC_BOTTOM, AVCOL_SPC_RGB, AVCOL_RANGE_MPEG, AVCOL_PRI_EBU3213,
         AVCOL_TRC_ARIB_STD_B67, AVCHROMA_LOC_BOTTOM},
        // Past the end, negative, in the primaries' gap, or reserved.
        {65, 3, 15, 200, 7, AVCOL_SPC_UNSPECIFIED, AVCOL_RANGE_UNSPECIFIED, AVCOL_PRI_UNSPECIFIED,
         AVCOL_TRC_UNSPECIFIED, AVCHROMA_LOC_UNSPECIFIED},
        {-1, -7, AVCOL_PRI_RESERVED, AVCOL_TRC_RESERVED0, -1, AVCOL_SPC_UNSPECIFIED,
         AVCOL_RANGE_UNSPECIFIED, AVCOL_PRI_UNSPECIFIED, AVCOL_TRC_UNSPECIFIED,
         AVCHROMA_LOC_UNSPECIFIED},
        {AVCOL_SPC_RESERVED, AVCOL_RANGE_NB, AVCOL_PRI_NB, AVCOL_TRC_NB, AVCHROMA_LOC_NB,
         AVCOL_SPC_UNSPECIFIED, AVCOL_RANGE_UNSPECIFIED, AVCOL_PRI_UNSPECIFIED,
         AVCOL_TRC_UNSPECIFIED, AVCHROMA_LOC_UNSPECIFIED},
    };
    for (const auto& c : cases) {
        SetRaw(f->colorspace, c.colorspace);
        SetRaw(f->color_range, c.range);
        SetRaw(f->color_primaries, c.primaries);
        SetRaw(f->color_trc, c.trc);
        SetRaw(f->chroma_location, c.location);
        media::SanitizeColorProperties(f.get());
        EXPECT_EQ(Raw(f->colorspace), c.expColorspace) << c.colorspace;
        EXPECT_EQ(Raw(f->color_range), c.expRange) << c.range;
        EXPECT_EQ(Raw(f->color_primaries), c.expPrimaries) << c.primaries;
        EXPECT_EQ(Raw(f->color_trc), c.expTrc) << c.trc;
        EXPECT_EQ(Raw(f->chroma_location), c.expLocation) << c.location;
    }
}

// An MPEG-2 stream whose sequence display extension carries matrix 65 and primaries and
// transfer 200: the decoder hands these numbers on, and the grab must not read them as
// colour spaces (undefined behaviour, which the sanitizer build stops at).
TEST(SanitizeColorProperties, GrabOfAStreamWithUndefinedColoursWorks) {
    const fs::path clean = fixtures::Make(
        "colour-bt709.m2v",
        "-f lavfi -i testsrc2=s=176x144:r=25:d=1 -c:v mpeg2video -q:v 4 -color_primaries bt709 "
        "-color_trc bt709 -colorspace bt709 -f mpeg2video");
    ASSERT_FALSE(clean.empty());
    std::ifstream in(clean, std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    int patched = 0;
    // 00 00 01 B5, then the sequence display extension's identifier 2 with its colour flag.
    for (std::size_t i = 0; i + 7 < bytes.size(); ++i) {
        if (bytes[i] == 0 && bytes[i + 1] == 0 && bytes[i + 2] == 1 &&
            static_cast<unsigned char>(bytes[i + 3]) == 0xB5 &&
            (static_cast<unsigned char>(bytes[i + 4]) & 0xF1) == 0x21) {
            bytes[i + 5] = static_cast<char>(200);
            bytes[i + 6] = static_cast<char>(200);
            bytes[i + 7] = 65;
            ++patched;
        }
    }
    ASSERT_GT(patched, 0) << "the encoder wrote no colour description";
    testutil::TempDir dir("framora-colour");
    const fs::path damaged = dir / "colour65.m2v";
    std::ofstream(damaged, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));

    media::MediaDet det;
    det.put_Filename(damaged.string());
    det.WriteBitmapBits(0.5, 88, 72, (dir / "grab.bmp").string());
    EXPECT_TRUE(mediatest::LoadBmp24(dir / "grab.bmp").has_value());
}

}  // namespace
