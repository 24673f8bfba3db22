#include <gtest/gtest.h>

#include "EmbeddedSkin_TestSkin.h"
#include "SkinTestUtil.h"
#include "skin/data/skEmbeddedSkins.h"
#include "skin/data/skSkinData.h"

using namespace skintest;

namespace {

TEST(EmbeddedSkin, BuildTimePackEqualsTheFolderBuild) {
    const Bytes* found = sk::FindEmbeddedSkin("TestSkin");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found, &EmbeddedSkin_TestSkin());
    EXPECT_EQ(sk::FindEmbeddedSkin("testskin"), nullptr);

    sk::TskCompressedStoredSkin fromFolder(nullptr);
    fromFolder.LoadFromIniFile(TestSkinDir() + "skin.ini");
    ASSERT_GE(found->size(), 4u);
    EXPECT_EQ(Get32(*found, 0), found->size() - 4) << "byte count, then the zlib stream";
    EXPECT_EQ(Bytes(found->begin() + 4, found->end()), fromFolder.CompressedData().Bytes());
}

TEST(EmbeddedSkin, LoadsIntoTheSkinData) {
    sk::TskCompressedStoredSkin c(nullptr);
    EXPECT_FALSE(sk::LoadEmbeddedSkin("NoSuchSkin", c));
    EXPECT_TRUE(c.IsEmpty());
    ASSERT_TRUE(sk::LoadEmbeddedSkin("TestSkin", c));
    rt::TComponent holder(nullptr);
    auto* data = rt::Make<sk::TskSkinData>(&holder);
    data->SetCompressedStoredSkin(&c);
    EXPECT_FALSE(data->Empty());
    EXPECT_EQ(data->SkinName, "Test Skin");
    EXPECT_EQ(data->Skin().CtrlList.size(), 4u);
}

}  // namespace
