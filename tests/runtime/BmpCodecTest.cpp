#include <gtest/gtest.h>

#include "common/BmpBuilder.h"
#include "runtime/BmpCodec.h"
#include "runtime/Graphics.h"

using namespace testutil;

namespace {

struct DecodeCase {
    const char* name;
    BmpParts parts;
    int width, height;
    std::vector<std::uint32_t> pixels;  // top row first
};

BmpParts Parts(std::int32_t w, std::int32_t h, std::uint16_t bits, Bytes pixels,
               std::vector<std::uint32_t> palette = {}) {
    BmpParts p;
    p.width = w;
    p.height = h;
    p.bitCount = bits;
    p.pixels = std::move(pixels);
    p.palette = std::move(palette);
    p.clrUsed = std::uint32_t(p.palette.size());
    return p;
}

std::vector<DecodeCase> DecodeCases() {
    std::vector<DecodeCase> c;
    // Rows are stored bottom-up unless the height is negative; each row pads to 4 bytes.
    c.push_back({"OneBitTwoRows",
                 Parts(10, 2, 1, {0xC0, 0x40, 0, 0, 0x81, 0x80, 0, 0}, {0x000000, 0xFFFFFF}),
                 10,
                 2,
                 {0xFFFFFF, 0,        0, 0, 0, 0, 0, 0xFFFFFF, 0xFFFFFF, 0,
                  0xFFFFFF, 0xFFFFFF, 0, 0, 0, 0, 0, 0,        0,        0xFFFFFF}});
    c.push_back({"FourBit",
                 Parts(3, 1, 4, {0x12, 0x00, 0, 0}, {0x111111, 0x222222, 0x333333}),
                 3,
                 1,
                 {0x222222, 0x333333, 0x111111}});
    c.push_back(
        {"EightBitShortPalette", Parts(2, 1, 8, {2, 1, 0, 0}, {0xA, 0xB, 0xC}), 2, 1, {0xC, 0xB}});
    {
        // A colour count of 0 means the whole 256-entry table.
        std::vector<std::uint32_t> pal(256);
        for (std::uint32_t i = 0; i < 256; ++i) pal[i] = i << 8;
        BmpParts p = Parts(2, 1, 8, {255, 7, 0, 0}, pal);
        p.clrUsed = 0;
        c.push_back({"EightBitFullPaletteByZero", p, 2, 1, {0xFF00, 0x0700}});
    }
    c.push_back(
        {"IndexPastPaletteIsBlack", Parts(2, 1, 8, {0, 9, 0, 0}, {0x123456}), 2, 1, {0x123456, 0}});
    c.push_back(
        {"SixteenBit555", Parts(2, 1, 16, {0x00, 0x7C, 0x1F, 0x00}), 2, 1, {0xFF0000, 0x0000FF}});
    {
        BmpParts p = Parts(2, 1, 16, {0xE0, 0x07, 0x00, 0xF8});
        p.compression = 3;
        p.masks = {0xF800, 0x07E0, 0x001F};
        c.push_back({"SixteenBit565Bitfields", p, 2, 1, {0x00FF00, 0xFF0000}});
    }
    c.push_back({"TwentyFourBottomUp",
                 Parts(1, 2, 24, {1, 2, 3, 0, 4, 5, 6, 0}),
                 1,
                 2,
                 {0x060504, 0x030201}});
    c.push_back({"TwentyFourTopDown",
                 Parts(1, -2, 24, {1, 2, 3, 0, 4, 5, 6, 0}),
                 1,
                 2,
                 {0x030201, 0x060504}});
    c.push_back(
        {"ThirtyTwoIgnoresAlpha", Parts(1, 1, 32, {0x10, 0x20, 0x30, 0xFF}), 1, 1, {0x302010}});
    {
        BmpParts p = Parts(1, 1, 32, {0x30, 0x20, 0x10, 0x00});
        p.infoSize = 124;
        p.compression = 3;
        p.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0};
        c.push_back({"ThirtyTwoBitfieldsV5Header", p, 1, 1, {0x302010}});
    }
    {
        BmpParts p = Parts(2, 1, 24, {1, 2, 3, 4, 5, 6, 0, 0});
        p.infoSize = 108;
        c.push_back({"V4Header", p, 2, 1, {0x030201, 0x060504}});
    }
    {
        BmpParts p = Parts(2, 1, 8, {1, 0, 0, 0}, {0x0000FF, 0x00FF00});
        p.infoSize = 12;
        c.push_back({"CoreHeaderThreeBytePalette", p, 2, 1, {0x00FF00, 0x0000FF}});
    }
    {
        BmpParts p = Parts(1, 1, 24, {9, 8, 7, 0});
        p.gap = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
        c.push_back({"PixelOffsetHonoured", p, 1, 1, {0x070809}});
    }
    return c;
}

class BmpDecode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(BmpDecode, GivesThePixelsTopRowFirst) {
    const DecodeCase& c = GetParam();
    Bytes file = BuildBmp(c.parts);
    file.push_back(0x55);  // the next field of a container: not part of the image
    rt::BmpImage img;
    std::size_t used = rt::DecodeBmp(file.data(), file.size(), img);
    EXPECT_EQ(used, file.size() - 1);
    EXPECT_EQ(img.width, c.width);
    EXPECT_EQ(img.height, c.height);
    EXPECT_EQ(img.bitCount, c.parts.bitCount);
    EXPECT_EQ(img.pixels, c.pixels);
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpDecode, ::testing::ValuesIn(DecodeCases()),
                         [](const auto& info) { return std::string(info.param.name); });

struct BadCase {
    const char* name;
    Bytes file;
    const char* reason;  // part of the error text
};

Bytes Valid8() { return BuildBmp(Parts(4, 2, 8, Bytes(8, 0), {0, 0xFFFFFF})); }

std::vector<BadCase> BadCases() {
    std::vector<BadCase> c;
    auto with = [](auto change) {
        BmpParts p = Parts(4, 2, 8, Bytes(8, 0), {0, 0xFFFFFF});
        change(p);
        return BuildBmp(p);
    };
    c.push_back({"Truncated", Bytes{'B', 'M', 0, 0}, "ends before"});
    {
        Bytes b = Valid8();
        b[0] = 'X';
        c.push_back({"NoSignature", b, "signature"});
    }
    c.push_back({"SizeFieldLargerThanData", with([](BmpParts& p) { p.fileSizeOverride = 4096; }),
                 "larger than the data"});
    c.push_back({"SizeFieldSmallerThanHeaders", with([](BmpParts& p) { p.fileSizeOverride = 30; }),
                 "smaller than its headers"});
    c.push_back({"SizeFieldCutsThePixels",
                 with([](BmpParts& p) { p.fileSizeOverride = 14 + 40 + 8 + 4; }),
                 "pixel rows run past"});
    c.push_back({"ZeroWidth", with([](BmpParts& p) { p.width = 0; }), "width"});
    c.push_back({"NegativeWidth", with([](BmpParts& p) { p.width = -4; }), "width"});
    c.push_back({"ZeroHeight", with([](BmpParts& p) { p.height = 0; }), "zero height"});
    c.push_back(
        {"AbsurdDimensions", with([](BmpParts& p) { p.width = p.height = 100000; }), "too large"});
    // 2^31 - 1 by 2^31 rows: width times stride overflows 32 bits (and 32 bits per pixel
    // would overflow 64-bit byte counts in a naive reader).
    c.push_back({"StrideTimesHeightOverflow", with([](BmpParts& p) {
                     p.bitCount = 32;
                     p.palette.clear();
                     p.clrUsed = 0;
                     p.width = 0x7FFFFFFF;
                     p.height = std::int32_t(0x80000000u);
                 }),
                 "too large"});
    c.push_back({"TallButNarrowRowsMissing", with([](BmpParts& p) {
                     p.width = 1;
                     p.height = -(64 << 20);
                 }),
                 "pixel rows run past"});
    c.push_back({"BitCountTwo", with([](BmpParts& p) { p.bitCount = 2; }), "bit count"});
    c.push_back({"BitCountZero", with([](BmpParts& p) { p.bitCount = 0; }), "bit count"});
    c.push_back({"Rle8", with([](BmpParts& p) { p.compression = 1; }), "compression"});
    c.push_back({"Jpeg", with([](BmpParts& p) { p.compression = 4; }), "compression"});
    c.push_back(
        {"BitfieldsOnEightBits", with([](BmpParts& p) { p.compression = 3; }), "bit fields"});
    c.push_back(
        {"PaletteLargerThanBitCount", with([](BmpParts& p) { p.clrUsed = 1000; }), "colour table"});
    {
        // The colour table claims 256 entries but the image ends after two.
        BmpParts p = Parts(1, 1, 8, {}, {0, 0xFFFFFF});
        p.clrUsed = 256;
        c.push_back({"PaletteRunsPastEnd", BuildBmp(p), "colour table runs past"});
    }
    c.push_back(
        {"UnknownHeaderSize", with([](BmpParts& p) { p.infoSize = 20; }), "information header"});
    c.push_back(
        {"PixelOffsetInsideHeaders", with([](BmpParts& p) { p.offBitsOverride = 20; }), "offset"});
    c.push_back({"PixelOffsetPastEnd", with([](BmpParts& p) { p.offBitsOverride = 100000; }),
                 "pixel rows run past"});
    return c;
}

class BmpReject : public ::testing::TestWithParam<BadCase> {};

TEST_P(BmpReject, ThrowsInvalidGraphicWithReason) {
    const BadCase& c = GetParam();
    rt::BmpImage img;
    try {
        rt::DecodeBmp(c.file.data(), c.file.size(), img);
        FAIL() << "accepted";
    } catch (const rt::EInvalidGraphic& e) {
        EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Malformed, BmpReject, ::testing::ValuesIn(BadCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BmpEncode, RoundTripsEveryWritableDepth) {
    for (int bits : {1, 4, 8, 24, 32}) {
        SCOPED_TRACE(bits);
        rt::BmpImage img;
        img.width = 13;  // odd widths exercise the row padding
        img.height = 5;
        img.bitCount = bits;
        const int colours = bits <= 8 ? 1 << bits : 100000;
        for (int i = 0; i < img.width * img.height; ++i)
            img.pixels.push_back(std::uint32_t((i * 2654435761u) % std::uint32_t(colours)) * 37 &
                                 0xFFFFFF);
        Bytes file = rt::EncodeBmp(img);
        EXPECT_EQ(Get32(file, 2), file.size()) << "size field";
        EXPECT_EQ(Get32(file, 14), 40u) << "header size";
        std::uint32_t stride = (13u * std::uint32_t(bits) + 31) / 32 * 4;
        EXPECT_EQ(Get32(file, 34), stride * 5) << "biSizeImage";
        EXPECT_EQ(std::int32_t(Get32(file, 22)), 5) << "bottom-up";
        rt::BmpImage back;
        EXPECT_EQ(rt::DecodeBmp(file.data(), file.size(), back), file.size());
        EXPECT_EQ(back.pixels, img.pixels);
        EXPECT_EQ(back.bitCount, bits);
    }
}

TEST(BmpEncode, RefusesMoreColoursThanThePaletteHolds) {
    rt::BmpImage img;
    img.width = 257;
    img.height = 1;
    img.bitCount = 8;
    for (std::uint32_t i = 0; i < 257; ++i) img.pixels.push_back(i);
    EXPECT_THROW(rt::EncodeBmp(img), rt::EInvalidGraphic);
    img.pixels.back() = 0;
    EXPECT_NO_THROW(rt::EncodeBmp(img));
}

TEST(BmpEncode, RefusesEmptyOrInconsistentImages) {
    rt::BmpImage img;
    img.bitCount = 24;
    EXPECT_THROW(rt::EncodeBmp(img), rt::EInvalidGraphic);
    img.width = img.height = 2;
    img.pixels.resize(3);
    EXPECT_THROW(rt::EncodeBmp(img), rt::EInvalidGraphic);
}

TEST(BmpBitmap, LoadFromStreamStopsRightAfterTheImage) {
    rt::BmpImage img;
    img.width = 3;
    img.height = 2;
    img.bitCount = 8;
    img.pixels = {1, 2, 3, 4, 5, 6};
    Bytes file = rt::EncodeBmp(img);
    rt::TMemoryStream s;
    s.WriteBuffer(file.data(), std::int64_t(file.size()));
    s.WriteBuffer("tail", 4);
    s.SetPosition(0);
    rt::TBitmap bmp;
    bmp.LoadFromStream(s);
    EXPECT_EQ(s.Position(), std::int64_t(file.size()));
    EXPECT_EQ(bmp.Width(), 3);
    EXPECT_EQ(bmp.PixelFormat, rt::TPixelFormat::pf8bit);
    EXPECT_EQ(bmp.Pixels(), img.pixels);
}

}  // namespace
