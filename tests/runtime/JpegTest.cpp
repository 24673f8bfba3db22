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
