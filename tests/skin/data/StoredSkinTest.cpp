#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "SkinTestUtil.h"
#include "runtime/BmpCodec.h"
#include "skin/data/skStoredSkin.h"

using namespace skintest;

namespace {

Bytes Inflated(const sk::TskCompressedStoredSkin& c) {
    rt::TMemoryStream out;
    c.DecompressToStream(out);
    return out.Bytes();
}

// Walks one BMP image of a skin image stream and checks its size field against the bitmap.
std::size_t CheckBmpAt(const Bytes& b, std::size_t at, const std::string& file) {
    EXPECT_LE(at + 14, b.size());
    EXPECT_EQ(b[at], 'B');
    EXPECT_EQ(b[at + 1], 'M');
    std::size_t len = Get32(b, at + 2);
    EXPECT_LE(at + len, b.size());
    rt::BmpImage fromStream, fromFile;
    // DecodeBmp returns the length the image occupies; it must be the size field exactly.
    EXPECT_EQ(rt::DecodeBmp(b.data() + at, b.size() - at, fromStream), len);
    Bytes onDisk = rt::ReadFileBytes(TestSkinDir() + file);
    rt::DecodeBmp(onDisk.data(), onDisk.size(), fromFile);
    EXPECT_EQ(fromStream.width, fromFile.width) << file;
    EXPECT_EQ(fromStream.pixels, fromFile.pixels) << file;
    EXPECT_EQ(fromStream.bitCount, fromFile.bitCount) << file;
    return at + len;
}

TEST(CompressedStoredSkin, FolderRoundTripGivesTheImageStreamLayout) {
    sk::TskCompressedStoredSkin c(nullptr);
    EXPECT_TRUE(c.IsEmpty());
    c.LoadFromIniFile(TestSkinDir() + "skin.ini");
    ASSERT_FALSE(c.IsEmpty());
    const Bytes& z = c.CompressedData().Bytes();
    EXPECT_EQ(z[0], 0x78);
    EXPECT_EQ(z[1], 0xDA) << "level 9";

    Bytes b = Inflated(c);
    ASSERT_GE(b.size(), 4u);
    EXPECT_EQ(Get32(b, 0), 1u) << "version";
    std::size_t at = 4;
    EXPECT_EQ(b[at++], 0) << "picture present";
    at = CheckBmpAt(b, at, "main.bmp");
    EXPECT_EQ(b[at++], 1) << "inactive picture absent: one byte, nothing else";
    EXPECT_EQ(b[at++], 0) << "mask present";
    at = CheckBmpAt(b, at, "mask.bmp");
    EXPECT_EQ(Get32(b, at), 3u) << "active picture count";
    at += 4;
    for (const char* f : {"buttons.bmp", "caption.bmp", "glyphs.bmp"}) at = CheckBmpAt(b, at, f);

    rt::TStringList lines;
    lines.LoadFromFile(TestSkinDir() + "skin.ini");
    EXPECT_EQ(std::string(b.begin() + std::ptrdiff_t(at), b.end()), lines.Text());
}

TEST(CompressedStoredSkin, IncompleteDescriptionLeavesTheContainerUnchanged) {
    sk::TskCompressedStoredSkin c(nullptr);
    c.LoadFromIniFile(TestSkinDir() + "skin.ini");
    Bytes before = c.CompressedData().Bytes();
    testutil::TempDir dir("framora-incomplete");
    std::ofstream((dir / "skin.ini").string()) << "[version]\r\n[pictures]\r\n[forminfo]\r\n"
                                                  "[skinobjects]\r\n";  // no SKINCONTROLS
    c.LoadFromIniFile((dir / "skin.ini").string());
    EXPECT_EQ(c.CompressedData().Bytes(), before);
}

TEST(CompressedStoredSkin, BadBitmapFileRaisesAndLeavesItEmpty) {
    struct Case {
        const char* name;
        const char* pictures;
    };
    const Case cases[] = {
        {"MissingFile", "picture=nothere.bmp\r\n"},
        {"NotABitmap", "picture=skin.ini\r\n"},
        {"MissingActiveKey", "activepicturescount=1\r\n"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        sk::TskCompressedStoredSkin c(nullptr);
        c.LoadFromIniFile(TestSkinDir() + "skin.ini");
        testutil::TempDir dir("framora-badbmp");
        std::ofstream((dir / "skin.ini").string())
            << "[VERSION]\r\n[PICTURES]\r\n"
            << k.pictures << "[FORMINFO]\r\n[SKINOBJECTS]\r\n[SKINCONTROLS]\r\n";
        EXPECT_THROW(c.LoadFromIniFile((dir / "skin.ini").string()), rt::Exception);
        EXPECT_TRUE(c.IsEmpty());
    }
}

TEST(CompressedStoredSkin, FormPropertyIsCountThenBytes) {
    sk::TskCompressedStoredSkin a(nullptr), b(nullptr);
    a.LoadFromIniFile(TestSkinDir() + "skin.ini");
    rt::TMemoryStream s;
    a.WriteFormProperty(s);
    EXPECT_EQ(Get32(s.Bytes(), 0), a.CompressedData().Bytes().size());
    EXPECT_EQ(s.Bytes().size(), 4 + a.CompressedData().Bytes().size());
    s.SetPosition(0);
    b.ReadFormProperty(s);
    EXPECT_EQ(b.CompressedData().Bytes(), a.CompressedData().Bytes());

    // A byte count larger than what follows is refused and changes nothing.
    Bytes lying = s.Bytes();
    Set32(lying, 0, std::uint32_t(lying.size()));
    rt::TMemoryStream bad;
    bad.WriteBuffer(lying.data(), std::int64_t(lying.size()));
    bad.SetPosition(0);
    sk::TskCompressedStoredSkin c(nullptr);
    EXPECT_THROW(c.ReadFormProperty(bad), rt::EReadError);
    EXPECT_TRUE(c.IsEmpty());
}

TEST(CompressedStoredSkin, DesignerFileNameBuildsFromTheFolder) {
    sk::TskCompressedStoredSkin c(nullptr);
    c.SetFileName(TestSkinDir() + "skin.ini");
    EXPECT_TRUE(c.IsEmpty()) << "at run time the name is only stored";
    EXPECT_EQ(c.FileName(), TestSkinDir() + "skin.ini");
    c.Designing = true;
    c.SetFileName(TestSkinDir() + "skin.ini");
    EXPECT_EQ(c.FileName(), "skin.ini");
    EXPECT_FALSE(c.IsEmpty());
}

TEST(ZStream, CorruptTruncatedAndOversizedData) {
    Bytes raw(200000);
    for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = std::uint8_t((i * 7) ^ (i >> 5));
    Bytes z = Compress(raw);
    EXPECT_EQ(Inflate(z), raw);

    // Ending early just ends the data.
    Bytes cut(z.begin(), z.begin() + std::ptrdiff_t(z.size() / 2));
    Bytes part = Inflate(cut);
    EXPECT_GT(part.size(), 0u);
    EXPECT_LT(part.size(), raw.size());
    EXPECT_TRUE(std::equal(part.begin(), part.end(), raw.begin()));

    Bytes garbage = z;
    garbage[0] = 0x12;
    try {
        Inflate(garbage);
        ADD_FAILURE() << "bad header accepted";
    } catch (const sk::EDecompressionError& e) {
        EXPECT_NE(std::string(e.what()).find("compression error"), std::string::npos);
    }
    Bytes flipped = z;
    for (std::size_t i = 10; i < 40; ++i) flipped[i] ^= 0xA5;
    EXPECT_THROW(Inflate(flipped), sk::EDecompressionError);

    rt::TMemoryStream in, out;
    in.WriteBuffer(z.data(), std::int64_t(z.size()));
    EXPECT_THROW(sk::DecompressStream(out, in, 100000), sk::EDecompressionError);
    EXPECT_LE(out.Bytes().size(), 100000u);
}

TEST(StoredSkin, LoadsFolderAndPicturesPropertyRoundTrips) {
    sk::TskStoredSkin a(nullptr);
    a.LoadFromIniFile(TestSkinDir() + "skin.ini");
    EXPECT_GT(a.IniStrings().Count(), 10);
    EXPECT_EQ(a.Picture.Width(), 64);
    EXPECT_TRUE(a.InactivePicture.Empty());
    EXPECT_EQ(a.MaskBitmap.PixelFormat, rt::TPixelFormat::pf1bit);
    ASSERT_EQ(a.ActivePictures.size(), 3u);

    rt::TMemoryStream s;
    a.SavePropertyData(s);
    const Bytes& b = s.Bytes();
    std::size_t at = 0;
    EXPECT_EQ(b[at++], 0);
    at = CheckBmpAt(b, at, "main.bmp");
    EXPECT_EQ(b[at++], 1);
    EXPECT_EQ(b[at++], 0);
    at = CheckBmpAt(b, at, "mask.bmp");
    EXPECT_EQ(Get32(b, at), 3u);
    at += 4;
    for (const char* f : {"buttons.bmp", "caption.bmp", "glyphs.bmp"}) at = CheckBmpAt(b, at, f);
    EXPECT_EQ(at, b.size()) << "no version and no text in the Pictures property";

    sk::TskStoredSkin c(nullptr);
    rt::TMemoryStream framed;
    a.WriteFormProperty(framed);
    framed.SetPosition(0);
    c.ReadFormProperty(framed);
    EXPECT_EQ(c.Picture.Pixels(), a.Picture.Pixels());
    ASSERT_EQ(c.ActivePictures.size(), 3u);
    EXPECT_EQ(c.ActivePictures[2]->Pixels(), a.ActivePictures[2]->Pixels());
}

TEST(StoredSkin, DamagedPicturesPropertyKeepsThePictures) {
    sk::TskStoredSkin a(nullptr);
    a.LoadFromIniFile(TestSkinDir() + "skin.ini");
    rt::TMemoryStream s;
    a.SavePropertyData(s);
    Bytes cut(s.Bytes().begin(), s.Bytes().end() - 10);
    rt::TMemoryStream damaged;
    damaged.WriteBuffer(cut.data(), std::int64_t(cut.size()));
    damaged.SetPosition(0);
    EXPECT_THROW(a.LoadPropertyData(damaged), rt::Exception);
    EXPECT_EQ(a.Picture.Width(), 64);
    EXPECT_EQ(a.ActivePictures.size(), 3u);
}

TEST(StoredSkin, AllAbsentAndNoActivePictures) {
    Bytes b = {1, 1, 1};
    Put32(b, 0);
    rt::TMemoryStream s;
    s.WriteBuffer(b.data(), std::int64_t(b.size()));
    s.SetPosition(0);
    sk::TskStoredSkin st(nullptr);
    st.LoadFromIniFile(TestSkinDir() + "skin.ini");
    st.LoadPropertyData(s);
    EXPECT_TRUE(st.Picture.Empty());
    EXPECT_TRUE(st.MaskBitmap.Empty());
    EXPECT_TRUE(st.ActivePictures.empty());
    rt::TMemoryStream again;
    st.SavePropertyData(again);
    EXPECT_EQ(again.Bytes(), b);
}

}  // namespace
