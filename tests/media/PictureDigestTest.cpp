// The digest that the copy's check compares decoded pictures by: it covers every visible byte
// of every plane and the picture's shape, and nothing of the padding after each row.
#include <gtest/gtest.h>

#include <cstdint>

#include "media/AvHolders.h"
#include "media/PictureDigest.h"

extern "C" {
#include <libavutil/frame.h>
}

namespace {

// A picture of odd size (so that rows end within their padding) filled with a pattern; the
// padding holds `padding` bytes.
media::FramePtr Picture(AVPixelFormat format, int width, int height, int align,
                        std::uint8_t padding) {
    media::FramePtr f = media::MakeFrame();
    f->format = format;
    f->width = width;
    f->height = height;
    if (av_frame_get_buffer(f.get(), align) < 0) return nullptr;
    for (int p = 0; p < 4 && f->data[p] != nullptr; ++p) {
        const int rows = p == 0 || p == 3 ? height : (height + 1) / 2;
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < f->linesize[p]; ++x)
                f->data[p][y * f->linesize[p] + x] = static_cast<std::uint8_t>(x * 7 + y * 13 + p);
        }
    }
    // What lies beyond the visible bytes of each row of the luma plane.
    for (int y = 0; y < height; ++y)
        for (int x = width; x < f->linesize[0]; ++x) f->data[0][y * f->linesize[0] + x] = padding;
    return f;
}

TEST(PictureDigestTest, VisibleBytesAndShapeCountPaddingDoesNot) {
    const media::FramePtr base = Picture(AV_PIX_FMT_YUV420P, 37, 21, 64, 0);
    ASSERT_TRUE(base);
    const media::PictureDigest reference = media::DigestPicture(base.get());

    // Rows without padding in memory: the same picture.
    const media::FramePtr padded = Picture(AV_PIX_FMT_YUV420P, 37, 21, 1, 0xAB);
    ASSERT_TRUE(padded);
    for (int p = 0; p < 3; ++p) {
        const int rows = p == 0 ? 21 : 11;
        const int bytes = p == 0 ? 37 : 19;
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < bytes; ++x)
                padded->data[p][y * padded->linesize[p] + x] =
                    base->data[p][y * base->linesize[p] + x];
    }
    ASSERT_NE(padded->linesize[0], base->linesize[0]);
    EXPECT_EQ(media::DigestPicture(padded.get()), reference);
    // Other bytes in the padding: the same picture.
    for (int y = 0; y < 21; ++y)
        for (int x = 37; x < base->linesize[0]; ++x)
            base->data[0][y * base->linesize[0] + x] = 0x5A;
    EXPECT_EQ(media::DigestPicture(base.get()), reference);

    // One visible byte changed in any plane, first or last of its plane: another picture.
    struct Change {
        int plane, x, y;
    };
    for (const Change c :
         {Change{0, 0, 0}, Change{0, 36, 20}, Change{1, 18, 10}, Change{2, 5, 3}}) {
        SCOPED_TRACE(testing::Message() << "plane " << c.plane << " at " << c.x << "," << c.y);
        std::uint8_t& byte = base->data[c.plane][c.y * base->linesize[c.plane] + c.x];
        byte ^= 1;
        EXPECT_NE(media::DigestPicture(base.get()), reference);
        byte ^= 1;
        EXPECT_EQ(media::DigestPicture(base.get()), reference);
    }

    // The same memory read as a narrower or another kind of picture.
    base->width = 36;
    EXPECT_NE(media::DigestPicture(base.get()), reference);
    base->width = 37;
    base->format = AV_PIX_FMT_YUVJ420P;
    EXPECT_NE(media::DigestPicture(base.get()), reference);
    base->format = AV_PIX_FMT_NONE;
    EXPECT_THROW(media::DigestPicture(base.get()), media::MediaError);
    base->format = AV_PIX_FMT_YUV420P;
}

}  // namespace
