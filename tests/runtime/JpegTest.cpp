#include <gtest/gtest.h>

#include "runtime/Classes.h"
#include "runtime/Graphics.h"

namespace {

std::uint32_t Px(const rt::TBitmap& b, int x, int y) { return b.ScanLine(y)[x] & 0xFFFFFF; }

}  // namespace

TEST(Jpeg, DecodesThePlaceholderAndRejectsDamage) {
    std::vector<std::uint8_t> bytes =
        rt::ReadFileBytes(std::string(FRAMORA_SOURCE_DIR) + "/resources/noframe.jpg");
    rt::TJPEGImage j;
    j.LoadFromMemory(bytes.data(), bytes.size());
    EXPECT_EQ(j.Bitmap().Width(), 227);
    EXPECT_EQ(j.Bitmap().Height(), 172);
    EXPECT_EQ(Px(j.Bitmap(), 0, 0) & 0xF0F0F0, 0u) << "black background";

    std::vector<std::uint8_t> broken(bytes.begin(), bytes.begin() + 20);
    rt::TJPEGImage k;
    EXPECT_THROW(k.LoadFromMemory(broken.data(), broken.size()), rt::EInvalidGraphic);
    std::vector<std::uint8_t> noise(500, 0x5A);
    noise[0] = 0xFF;
    noise[1] = 0xD8;
    EXPECT_THROW(k.LoadFromMemory(noise.data(), noise.size()), rt::EInvalidGraphic);
}

namespace {

// The placeholder with the picture size in its frame header replaced: the data then ends long
// before the claimed picture does, which libjpeg fills in.
std::vector<std::uint8_t> Claiming(int width, int height) {
    std::vector<std::uint8_t> b =
        rt::ReadFileBytes(std::string(FRAMORA_SOURCE_DIR) + "/resources/noframe.jpg");
    for (std::size_t i = 0; i + 8 < b.size(); ++i) {
        if (b[i] == 0xFF && (b[i + 1] == 0xC0 || b[i + 1] == 0xC2)) {
            b[i + 5] = std::uint8_t(height >> 8);
            b[i + 6] = std::uint8_t(height);
            b[i + 7] = std::uint8_t(width >> 8);
            b[i + 8] = std::uint8_t(width);
            return b;
        }
    }
    ADD_FAILURE() << "no frame header";
    return b;
}

}  // namespace

// Shown at 233 x 177, a picture is decoded at the smallest scale that still covers that size:
// an 8192 x 8192 claim costs a 1024 x 1024 bitmap instead of a 256 MB one.
TEST(Jpeg, DecodesAtTheSmallestScaleThatCoversTheShownSize) {
    const struct {
        int width, height, expWidth, expHeight;
    } cases[] = {
        {8192, 8192, 1024, 1024},  // 1/8
        {2000, 1500, 250, 188},    // 1/8, rounded up
        {1000, 700, 375, 263},     // 2/8 would be 175 rows high: 3/8
        {227, 172, 227, 172},      // smaller than shown: never enlarged
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes = Claiming(c.width, c.height);
        rt::TJPEGImage j;
        j.LoadFromMemory(bytes.data(), bytes.size(), 233, 177);
        EXPECT_EQ(j.Bitmap().Width(), c.expWidth) << c.width;
        EXPECT_EQ(j.Bitmap().Height(), c.expHeight) << c.height;
    }
}
