#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "SkinTestUtil.h"
#include "runtime/BmpCodec.h"
#include "runtime/Messages.h"
#include "skin/data/skSkinData.h"

using namespace skintest;

namespace {

struct Received {
    std::string form;
    unsigned msg;
    std::intptr_t wParam;
    std::intptr_t lParam;
    bool emptyThen;
};

// A form stand-in that subscribes to the skin data objects it is given and writes down every
// call it hears as the skin message a form makes of it, with the sender's state at that
// moment; no window system is needed.
class RecordingForm : public rt::TComponent {
public:
    RecordingForm(std::string name, std::vector<Received>& log)
        : TComponent(nullptr), label_(std::move(name)), log_(log) {}
    std::function<void(const rt::TMessage&)> OnMessage;

    void Listen(sk::TskSkinData* data) {
        sk::TskSkinObserver o;
        o.Before = [this](sk::TskSkinData& d) { Hear(sk::SM_BEFORECHANGESKIN, d); };
        o.Changed = [this](sk::TskSkinData& d) { Hear(sk::SM_CHANGESKIN, d); };
        o.After = [this](sk::TskSkinData& d) { Hear(sk::SM_AFTERCHANGESKIN, d); };
        tokens_.push_back(data->Subscribe(std::move(o), this));
    }
    void StopListening() { tokens_.clear(); }

private:
    void Hear(unsigned msg, sk::TskSkinData& d) {
        rt::TMessage m{msg, rt::PtrParam(&d), sk::kSkinMessageLParam, 0};
        log_.push_back({label_, m.Msg, m.WParam, m.LParam, d.Empty()});
        if (OnMessage) OnMessage(m);
    }
    std::string label_;
    std::vector<Received>& log_;
    std::vector<sk::TskSkinSubscription> tokens_;
};

Bytes SmallBmp(int bits = 8) {
    rt::BmpImage img;
    img.width = 3;
    img.height = 2;
    img.bitCount = bits;
    img.pixels = {0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000};
    return rt::EncodeBmp(img);
}

const char* const kMinimalText =
    "[VERSION]\r\nskinname=Minimal\r\n[PICTURES]\r\n[FORMINFO]\r\n"
    "[SKINOBJECTS]\r\ncount=0\r\n[SKINCONTROLS]\r\ncount=0\r\n";

// A skin image stream with all pictures absent, no active pictures and the given text.
Bytes ImageWithText(const std::string& text, std::int32_t version = 1) {
    Bytes b;
    Put32(b, std::uint32_t(version));
    Put8(b, 1);
    Put8(b, 1);
    Put8(b, 1);
    Put32(b, 0);
    Append(b, text);
    return b;
}

void SetContainerBytes(sk::TskCompressedStoredSkin& c, const Bytes& zlib) {
    rt::TMemoryStream s;
    s.WriteBuffer(zlib.data(), std::int64_t(zlib.size()));
    s.SetPosition(0);
    c.LoadPropertyData(s);
}

std::unique_ptr<sk::TskCompressedStoredSkin> ContainerOf(const Bytes& image) {
    auto c = std::make_unique<sk::TskCompressedStoredSkin>(nullptr);
    SetContainerBytes(*c, Compress(image));
    return c;
}

std::unique_ptr<sk::TskCompressedStoredSkin> TestSkinContainer() {
    auto c = std::make_unique<sk::TskCompressedStoredSkin>(nullptr);
    c->LoadFromIniFile(TestSkinDir() + "skin.ini");
    return c;
}

class SkinDataTest : public ::testing::Test {
protected:
    std::vector<Received> log;
    std::unique_ptr<RecordingForm> owner = std::make_unique<RecordingForm>("owner", log);
    sk::TskSkinData* data = Listened(rt::Make<sk::TskSkinData>(owner.get()));

    sk::TskSkinData* Listened(sk::TskSkinData* d) {
        owner->Listen(d);
        return d;
    }

    std::vector<unsigned> Messages() const {
        std::vector<unsigned> m;
        for (const Received& r : log)
            if (r.form == "owner") m.push_back(r.msg);
        return m;
    }
    sk::TskDataSkinControl* Control(const std::string& name) const {
        int i = data->GetControlIndex(name);
        return i < 0 ? nullptr : data->Skin().CtrlList[std::size_t(i)].get();
    }
};

constexpr unsigned kBefore = sk::SM_BEFORECHANGESKIN;
constexpr unsigned kChange = sk::SM_CHANGESKIN;
constexpr unsigned kAfter = sk::SM_AFTERCHANGESKIN;

TEST_F(SkinDataTest, LoadsTheTestSkinFromAContainer) {
    EXPECT_TRUE(data->Empty());
    auto c = TestSkinContainer();
    data->SetCompressedStoredSkin(c.get());
    ASSERT_FALSE(data->Empty());
    EXPECT_EQ(data->CompressedStoredSkin(), c.get());
    EXPECT_EQ(data->SkinName, "Test Skin");
    EXPECT_EQ(data->AuthorURL, "http://example.org/");
    EXPECT_EQ(data->Skin().Picture.Width(), 64);
    EXPECT_TRUE(data->Skin().InactivePicture.Empty());
    EXPECT_EQ(data->Skin().MaskBitmap.Height(), 48);
    ASSERT_EQ(data->Skin().ActivePictures.size(), 3u);
    EXPECT_EQ(data->Skin().ActivePictures[1]->PixelFormat, rt::TPixelFormat::pf24bit);
    EXPECT_EQ(data->Frame.Client, (rt::TRect{4, 20, 60, 44}));
    EXPECT_TRUE(data->LeftStretch);
    EXPECT_FALSE(data->RightStretch);
    EXPECT_EQ(data->BorderWidth, 4);
    EXPECT_EQ(data->InactiveEffect, sk::ieDarkness);
    EXPECT_EQ(data->Skin().PopupWindow.ScrollMarkerColor, 8421504);
    EXPECT_EQ(data->Skin().HintWindow.Font.Name, "Tahoma");
    ASSERT_EQ(data->Skin().ObjectList.size(), 5u);
    ASSERT_EQ(data->Skin().CtrlList.size(), 4u);
    auto* close = dynamic_cast<sk::TskDataSkinStdButton*>(
        data->Skin().ObjectList[std::size_t(data->GetIndex("closebutton"))].get());
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->Command, sk::cmClose);
    EXPECT_EQ(close->MorphKind, sk::mkGradient);
    auto* gauge = dynamic_cast<sk::TskDataSkinGaugeControl*>(Control("gauge"));
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(gauge->ProgressArea, (rt::TRect{2, 2, 18, 8}));
    EXPECT_EQ(data->GetIndex("Closebutton"), -1) << "names compare exactly";
    EXPECT_EQ(data->GetControlIndex("nothing"), -1);
    EXPECT_EQ(Messages(), (std::vector<unsigned>{kBefore, kChange, kAfter}));
}

TEST_F(SkinDataTest, MessagesGoToOwnerThenOtherFormsWithEmptyAtBefore) {
    RecordingForm other("other", log);
    other.Listen(data);
    auto c = TestSkinContainer();
    data->SetCompressedStoredSkin(c.get());
    ASSERT_EQ(log.size(), 6u);
    const char* order[] = {"owner", "other", "owner", "other", "owner", "other"};
    const unsigned msgs[] = {kBefore, kBefore, kChange, kChange, kAfter, kAfter};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(log[i].form, order[i]) << i;
        EXPECT_EQ(log[i].msg, msgs[i]) << i;
        EXPECT_EQ(log[i].wParam, reinterpret_cast<std::intptr_t>(data));
        EXPECT_EQ(log[i].lParam, 1000);
    }
    EXPECT_TRUE(log[0].emptyThen);
    EXPECT_FALSE(log[2].emptyThen);

    log.clear();
    data->ClearSkin();
    EXPECT_TRUE(data->Empty());
    EXPECT_TRUE(data->Skin().ObjectList.empty());
    EXPECT_TRUE(data->Skin().Picture.Empty());
    EXPECT_EQ(data->Skin().HintWindow.WindowPictureIndex, -1);
    EXPECT_EQ(data->SkinName, "Test Skin") << "texts stay until the next load";
    ASSERT_EQ(log.size(), 6u);
    for (const Received& r : log) EXPECT_TRUE(r.emptyThen);
    EXPECT_EQ(Messages(), (std::vector<unsigned>{kBefore, kChange, kAfter}));
}

TEST_F(SkinDataTest, OwnerFormHearsFirstWhateverTheOrderOfSubscription) {
    RecordingForm other("other", log);
    RecordingForm late("late", log);
    auto* lateData = rt::Make<sk::TskSkinData>(&late);
    owner->Listen(lateData);
    other.Listen(lateData);
    late.Listen(lateData);
    lateData->ClearSkin();
    ASSERT_EQ(log.size(), 9u);
    const char* order[] = {"late", "owner", "other"};
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(log[i].form, order[i % 3]) << i;
        EXPECT_EQ(log[i].wParam, reinterpret_cast<std::intptr_t>(lateData));
    }
}

TEST_F(SkinDataTest, AFormClosedDuringAnAnnouncementHearsNoMore) {
    auto other = std::make_unique<RecordingForm>("other", log);
    other->Listen(data);
    owner->OnMessage = [&](const rt::TMessage& m) {
        if (m.Msg == kBefore) other.reset();
    };
    data->ClearSkin();
    EXPECT_EQ(Messages(), (std::vector<unsigned>{kBefore, kChange, kAfter}));
    EXPECT_EQ(log.size(), 3u) << "the closed form got nothing";
}

TEST_F(SkinDataTest, AFormHearsOnlyTheSkinDataItSubscribedTo) {
    // Two skins on one owner, a second form using only the second: each change reaches the
    // forms that use the changing object and no other.
    auto* second = rt::Make<sk::TskSkinData>(owner.get());
    RecordingForm user("user", log);
    user.Listen(second);
    data->ClearSkin();
    EXPECT_EQ(log.size(), 3u);
    for (const Received& r : log) EXPECT_EQ(r.form, "owner");
    log.clear();
    second->ClearSkin();
    ASSERT_EQ(log.size(), 3u);
    for (const Received& r : log) {
        EXPECT_EQ(r.form, "user");
        EXPECT_EQ(r.wParam, reinterpret_cast<std::intptr_t>(second));
    }
    // Without any subscriber a change is announced to nobody.
    log.clear();
    user.StopListening();
    second->ClearSkin();
    EXPECT_TRUE(log.empty());
}

TEST_F(SkinDataTest, SubscriptionsChangedDuringACallTakeEffectAtTheirEdges) {
    // One that subscribes during a call hears from the next call on; one whose token goes
    // during a call (its own included) hears nothing more, and nothing dangles.
    RecordingForm late("late", log);
    auto self = std::make_unique<RecordingForm>("self", log);
    self->Listen(data);
    self->OnMessage = [&](const rt::TMessage& m) {
        if (m.Msg == kBefore) late.Listen(data);
        if (m.Msg == kChange) self->StopListening();
    };
    data->ClearSkin();
    std::vector<std::string> heard;
    for (const Received& r : log)
        if (r.form != "owner") heard.push_back(r.form + ":" + std::to_string(r.msg));
    EXPECT_EQ(heard,
              (std::vector<std::string>{"self:1225", "self:1226", "late:1226", "late:1227"}));
}

TEST_F(SkinDataTest, TokensOutliveTheirSkinDataAndMove) {
    auto* temp = rt::Make<sk::TskSkinData>(owner.get());
    int calls = 0;
    sk::TskSkinObserver o;
    o.Changed = [&calls](sk::TskSkinData&) { ++calls; };
    sk::TskSkinSubscription token = temp->Subscribe(std::move(o));
    EXPECT_TRUE(token.Active());
    sk::TskSkinSubscription moved = std::move(token);
    EXPECT_FALSE(token.Active());
    EXPECT_TRUE(moved.Active());
    temp->ClearSkin();
    EXPECT_EQ(calls, 1);
    delete temp;
    EXPECT_FALSE(moved.Active());
    moved.Reset();
    moved.Reset();
}

TEST_F(SkinDataTest, AHeldSkinStaysWholeAcrossLoadsAndClears) {
    auto c = TestSkinContainer();
    data->SetCompressedStoredSkin(c.get());
    const sk::TskSkinRef held = data->Share();
    const rt::TBitmap* picture = held->ActivePicture(1);
    const auto pixels = picture->Pixels();
    data->SetCompressedStoredSkin(c.get());
    EXPECT_NE(data->Share(), held) << "each load publishes a new skin";
    data->ClearSkin();
    EXPECT_TRUE(data->Skin().ActivePictures.empty());
    ASSERT_EQ(held->ActivePictures.size(), 3u);
    EXPECT_EQ(held->ActivePicture(1), picture);
    EXPECT_EQ(picture->Pixels(), pixels);
    EXPECT_NE(dynamic_cast<const sk::TskDataSkinGaugeControl*>(
                  held->Control(held->GetControlIndex("gauge"))),
              nullptr);
}

TEST_F(SkinDataTest, EmptyContainerChangesNothingAndSameContainerReloads) {
    sk::TskCompressedStoredSkin empty(nullptr);
    data->SetCompressedStoredSkin(&empty);
    EXPECT_TRUE(log.empty());
    auto c = TestSkinContainer();
    data->SetCompressedStoredSkin(c.get());
    data->SetCompressedStoredSkin(c.get());
    EXPECT_EQ(Messages().size(), 6u);
    data->SetCompressedStoredSkin(nullptr);
    EXPECT_EQ(Messages().size(), 6u);
    EXPECT_FALSE(data->Empty());
    EXPECT_EQ(data->CompressedStoredSkin(), nullptr);
}

TEST_F(SkinDataTest, RemovedContainerIsForgottenButTheSkinStays) {
    auto c = TestSkinContainer();
    data->SetCompressedStoredSkin(c.get());
    c.reset();
    EXPECT_EQ(data->CompressedStoredSkin(), nullptr);
    EXPECT_FALSE(data->Empty());
    EXPECT_EQ(data->Skin().ActivePictures.size(), 3u);

    auto stored = std::make_unique<sk::TskStoredSkin>(nullptr);
    stored->LoadFromIniFile(TestSkinDir() + "skin.ini");
    data->SetStoredSkin(stored.get());
    stored.reset();
    EXPECT_EQ(data->StoredSkin(), nullptr);
    EXPECT_FALSE(data->Empty());
}

TEST_F(SkinDataTest, StoredSkinLoadsTheSameAndKeepsItsOwnPictures) {
    sk::TskStoredSkin stored(nullptr);
    stored.LoadFromIniFile(TestSkinDir() + "skin.ini");
    data->SetStoredSkin(&stored);
    ASSERT_FALSE(data->Empty());
    EXPECT_EQ(data->SkinName, "Test Skin");
    EXPECT_EQ(data->Skin().CtrlList.size(), 4u);
    ASSERT_EQ(data->Skin().ActivePictures.size(), 3u);
    EXPECT_NE(data->Skin().ActivePictures[0].get(), stored.ActivePictures[0].get());
    EXPECT_EQ(data->Skin().ActivePictures[0]->Pixels(), stored.ActivePictures[0]->Pixels());
    data->ClearSkin();
    EXPECT_EQ(stored.ActivePictures.size(), 3u);
    EXPECT_EQ(stored.Picture.Width(), 64);
}

TEST_F(SkinDataTest, StoredSkinWithoutTheFiveSectionsIsEmptyWithAllMessages) {
    sk::TskStoredSkin stored(nullptr);
    rt::TStringList lines;
    lines.SetText("[VERSION]\r\nskinname=x\r\n[PICTURES]\r\n[FORMINFO]\r\n[SKINOBJECTS]\r\n");
    stored.SetIniStrings(lines);
    data->SetStoredSkin(&stored);
    EXPECT_TRUE(data->Empty());
    EXPECT_EQ(Messages(), (std::vector<unsigned>{kBefore, kChange, kAfter}));
}

TEST_F(SkinDataTest, BlankLinesBeforeVersionAndTrailingLineEndsReadTheSame) {
    std::string padded = std::string(140, '\r') + "\n" + kMinimalText + "\r\n\r\n";
    std::string blanks;
    for (int i = 0; i < 70; ++i) blanks += "\r\n";
    for (const std::string& text : {blanks + kMinimalText + "\r\n", padded}) {
        auto c = ContainerOf(ImageWithText(text));
        data->SetCompressedStoredSkin(c.get());
        EXPECT_FALSE(data->Empty());
        EXPECT_EQ(data->SkinName, "Minimal");
    }
}

TEST_F(SkinDataTest, VersionOtherThanOneIsRejected) {
    auto good = TestSkinContainer();
    data->SetCompressedStoredSkin(good.get());
    log.clear();
    auto c = ContainerOf(ImageWithText(kMinimalText, 2));
    EXPECT_NO_THROW(data->SetCompressedStoredSkin(c.get()));
    EXPECT_TRUE(data->Empty());
    EXPECT_TRUE(data->Skin().ObjectList.empty());
    EXPECT_TRUE(data->Skin().ActivePictures.empty());
    EXPECT_EQ(Messages(), (std::vector<unsigned>{kBefore, kChange, kAfter}));
}

TEST_F(SkinDataTest, AbsentPicturesAndZeroOrNegativeCounts) {
    for (std::int32_t count : {0, -5}) {
        Bytes b;
        Put32(b, 1);
        Put8(b, 0);
        Append(b, SmallBmp());
        Put8(b, 1);  // inactive picture absent
        Put8(b, 0);
        Append(b, SmallBmp(1));
        Put32(b, std::uint32_t(count));
        Append(b, kMinimalText);  // the text follows at once
        auto c = ContainerOf(b);
        data->SetCompressedStoredSkin(c.get());
        ASSERT_FALSE(data->Empty()) << count;
        EXPECT_EQ(data->Skin().Picture.Width(), 3);
        EXPECT_TRUE(data->Skin().InactivePicture.Empty());
        EXPECT_EQ(data->Skin().MaskBitmap.PixelFormat, rt::TPixelFormat::pf1bit);
        EXPECT_TRUE(data->Skin().ActivePictures.empty());
        EXPECT_EQ(data->SkinName, "Minimal");
    }
}

struct Damage {
    const char* name;
    std::function<Bytes()> zlib;  // what the container holds, made when the case runs
    const char* what;
};

std::vector<Damage> DamagedContainers() {
    std::vector<Damage> d;
    Bytes good = ImageWithText(kMinimalText);
    d.push_back({"NotZlib", [] { return Bytes{'n', 'o', 't', ' ', 'z', 'l', 'i', 'b'}; },
                 "compression error"});
    {
        Bytes z = Compress(good);
        for (std::size_t i = 4; i < z.size() - 4; ++i) z[i] ^= 0x5A;
        d.push_back({"CorruptDeflate", [z] { return z; }, "compression error"});
    }
    d.push_back({"ShorterThanVersion", [] { return Compress(Bytes{1, 0}); }, "read error"});
    {
        Bytes b;
        Put32(b, 1);
        d.push_back({"EndsAfterVersion", [b] { return Compress(b); }, "read error"});
    }
    {
        Bytes b;
        Put32(b, 1);
        Put8(b, 0);
        Bytes bmp = SmallBmp();
        Set32(bmp, 2, std::uint32_t(bmp.size() + 1000));  // size field beyond the stream
        Append(b, bmp);
        d.push_back({"BmpSizeFieldLies", [b] { return Compress(b); }, "size field"});
    }
    {
        Bytes b;
        Put32(b, 1);
        Put8(b, 0);
        Bytes bmp = SmallBmp();
        bmp[28] = 2;  // bit count 2
        Append(b, bmp);
        Append(b, Bytes(20, 1));
        d.push_back({"BmpBadBitCount", [b] { return Compress(b); }, "bit count"});
    }
    {
        Bytes b;
        Put32(b, 1);
        Append(b, Bytes{1, 1, 1});
        Put32(b, 0x7FFFFFFF);
        Append(b, SmallBmp());
        d.push_back({"ActiveCountBeyondData", [b] { return Compress(b); }, "picture count"});
    }
    {
        Bytes b;
        Put32(b, 1);
        Append(b, Bytes{1, 1, 1});
        Put32(b, 2);
        Append(b, SmallBmp());
        d.push_back(
            {"MissingActivePicture", [b] { return Compress(b); }, "Bitmap image is not valid"});
    }
    d.push_back({"EmptyRectNumber",
                 [] {
                     return Compress(ImageWithText(std::string(kMinimalText) +
                                                   "[FORMINFO]\r\nclientrect=1,,2,3\r\n"));
                 },
                 "'' is not a valid integer value"});
    d.push_back({"InflationBomb",
                 [] {
                     // Sixty-five mebibytes of zeros squeeze into a few dozen kilobytes.
                     Bytes bomb = ImageWithText("");
                     bomb.resize(std::size_t(65) << 20, 0);
                     return Compress(bomb);
                 },
                 "exceeds"});
    return d;
}

class DamagedContainer : public SkinDataTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedContainer, LeavesTheSkinEmptyAfterOnlyBeforeChange) {
    auto good = TestSkinContainer();
    data->SetCompressedStoredSkin(good.get());
    log.clear();
    sk::TskCompressedStoredSkin bad(nullptr);
    SetContainerBytes(bad, GetParam().zlib());
    try {
        data->SetCompressedStoredSkin(&bad);
        ADD_FAILURE() << "loaded";
    } catch (const rt::Exception& e) {
        EXPECT_NE(std::string(e.what()).find(GetParam().what), std::string::npos) << e.what();
    }
    EXPECT_TRUE(data->Empty());
    EXPECT_TRUE(data->Skin().Picture.Empty());
    EXPECT_TRUE(data->Skin().ActivePictures.empty());
    EXPECT_TRUE(data->Skin().ObjectList.empty());
    EXPECT_TRUE(data->Skin().CtrlList.empty());
    EXPECT_EQ(Messages(), (std::vector<unsigned>{kBefore}));
}

INSTANTIATE_TEST_SUITE_P(Kinds, DamagedContainer, ::testing::ValuesIn(DamagedContainers()),
                         [](const auto& info) { return std::string(info.param.name); });

struct CornerCase {
    const char* name;
    const char* forminfo;
    rt::TPoint lt, rt, lb, rb;
};

TEST_F(SkinDataTest, FormInfoCornersArePulledIntoTheClientBox) {
    const CornerCase cases[] = {
        {"OutsideIsPulledToTheEdge",
         "lefttoppoint=1,1\r\nrighttoppoint=200,1\r\nleftbottompoint=1,100\r\n"
         "rightbottompoint=200,100\r\nclientrect=2,23,102,59\r\n",
         {2, 23},
         {102, 23},
         {2, 59},
         {102, 59}},
        {"InsideStays",
         "lefttoppoint=5,30\r\nrighttoppoint=90,30\r\nleftbottompoint=5,50\r\n"
         "rightbottompoint=90,50\r\nclientrect=2,23,102,59\r\n",
         {5, 30},
         {90, 30},
         {5, 50},
         {90, 50}},
        {"SameXLeavesAllAsWritten",
         "lefttoppoint=1,1\r\nrighttoppoint=200,1\r\nleftbottompoint=1,100\r\n"
         "rightbottompoint=1,100\r\nclientrect=2,23,102,59\r\n",
         {1, 1},
         {200, 1},
         {1, 100},
         {1, 100}},
        {"SameYLeavesAllAsWritten",
         "lefttoppoint=1,1\r\nrighttoppoint=200,1\r\nleftbottompoint=1,100\r\n"
         "rightbottompoint=200,1\r\nclientrect=2,23,102,59\r\n",
         {1, 1},
         {200, 1},
         {1, 100},
         {200, 1}},
    };
    for (const CornerCase& k : cases) {
        SCOPED_TRACE(k.name);
        sk::TskIniFile ini;
        ini.SetText(std::string("[FORMINFO]\r\n") + k.forminfo);
        data->LoadFormInfo(ini);
        EXPECT_EQ(data->Frame.LeftTop, k.lt);
        EXPECT_EQ(data->Frame.RightTop, k.rt);
        EXPECT_EQ(data->Frame.LeftBottom, k.lb);
        EXPECT_EQ(data->Frame.RightBottom, k.rb);
    }
}

TEST_F(SkinDataTest, FormInfoDefaultsAndCaseRules) {
    sk::TskIniFile ini;
    ini.SetText("[forminfo]\r\nINACTIVEEFFECT=IEINVERT\r\nMainMenuPopupUp=1\r\n");
    data->LoadFormInfo(ini);
    EXPECT_EQ(data->InactiveEffect, sk::ieBrightness) << "effect words compare exactly";
    EXPECT_TRUE(data->MainMenuPopupUp) << "keys ignore case";
    EXPECT_EQ(data->BackPictureIndex, -1);
    EXPECT_EQ(data->CaptionBox, rt::TRect{});
    ini.SetText("[FORMINFO]\r\ninactiveeffect=iesplitblur\r\n");
    data->LoadFormInfo(ini);
    EXPECT_EQ(data->InactiveEffect, sk::ieSplitBlur);
}

TEST_F(SkinDataTest, ObjectListsSkipWhatTheyCannotUse) {
    const char* text =
        "[SKINOBJECTS]\r\ncount=6\r\n0=button:button\r\n1=nocolon\r\n2=x:unknownkind\r\n"
        "3=dup:caption\r\n4=dup:menuitem\r\n"
        "[SKINCONTROLS]\r\ncount=2147483647\r\n0=button:button\r\n1=same:label\r\n"
        "2=same:panel\r\n3=Gauge:Gauge\r\n"
        "[button]\r\nskinrect=1,2,3,4\r\ndownrect=5,6,7,8\r\nfontheight=20\r\n"
        "[same]\r\nfontname=Shared\r\n";
    sk::TskIniFile ini = Ini(text);
    sk::TskSkin skin;
    sk::LoadSkinObjects(ini, skin);
    sk::LoadSkinControls(ini, skin);
    ASSERT_EQ(skin.ObjectList.size(), 3u);
    ASSERT_EQ(skin.CtrlList.size(), 3u);

    // One name in both lists: two different descriptions of one section.
    auto* frameButton = dynamic_cast<sk::TskDataSkinButton*>(
        skin.ObjectList[std::size_t(skin.GetIndex("button"))].get());
    auto* ctrlButton = dynamic_cast<sk::TskDataSkinButtonControl*>(
        skin.CtrlList[std::size_t(skin.GetControlIndex("button"))].get());
    ASSERT_NE(frameButton, nullptr);
    ASSERT_NE(ctrlButton, nullptr);
    EXPECT_EQ(frameButton->DownRect, (rt::TRect{5, 6, 7, 8}));
    EXPECT_EQ(ctrlButton->Font.Height, 20);
    EXPECT_EQ(ctrlButton->SkinRect, frameButton->SkinRect);

    // Two entries sharing a name: lookups give the first; both read the shared section.
    EXPECT_NE(dynamic_cast<sk::TskDataSkinCaption*>(
                  skin.ObjectList[std::size_t(skin.GetIndex("dup"))].get()),
              nullptr);
    int same = skin.GetControlIndex("same");
    EXPECT_NE(dynamic_cast<sk::TskDataSkinLabelControl*>(skin.CtrlList[std::size_t(same)].get()),
              nullptr);
    EXPECT_EQ(dynamic_cast<sk::TskDataSkinPanelControl&>(*skin.CtrlList[2]).Font.Name, "Shared");
    EXPECT_EQ(skin.GetControlIndex("Gauge"), -1) << "the kind word 'Gauge' names no class";
}

TEST_F(SkinDataTest, DestructionAnnouncesNothing) {
    auto c = TestSkinContainer();
    data->SetCompressedStoredSkin(c.get());
    log.clear();
    owner.reset();
    EXPECT_TRUE(log.empty());
}

}  // namespace
