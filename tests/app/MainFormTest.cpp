#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>

#include "app/MainFrm.h"
#include "app/MainLayout.h"
#include "common/Fixtures.h"
#include "common/TempDir.h"
#include "runtime/Application.h"
#include "runtime/Graphics.h"
#include "runtime/IniFiles.h"
#include "runtime/Menus.h"
#include "runtime/testing/TestInput.h"
#include "skin/controls/skSkinEdit.h"

namespace fs = std::filesystem;

namespace {

void Touch(const fs::path& p) { std::ofstream(p) << "x"; }

struct NamedCase {
    const char* name;
    int width, maximum, value, left;
};

TEST(MarkerLeft, FollowsTheFormulaWithHalvesToEven) {
    const NamedCase cases[] = {
        {"designed width, value 1", 481, 59, 1, 33},
        {"start of the bar", 481, 59, 0, 25},
        {"end of the bar", 481, 59, 59, 491},
        {"half rounds down to even", 481, 4, 1, 141},  // 116.5 -> 116
        {"half rounds up to even", 481, 4, 3, 375},    // 349.5 -> 350
        {"maximum 0 puts the marker at the left end", 481, 0, 0, 25},
    };
    for (const auto& c : cases)
        EXPECT_EQ(app::MarkerLeft(c.width, c.maximum, c.value), c.left) << c.name;
}

TEST(SettingsFile, LowerCasesOnlyTheFileName) {
    EXPECT_EQ(app::SettingsFileFor("/opt/Cutter/Framora"), "/opt/Cutter/framora.ini");
    EXPECT_EQ(app::SettingsFileFor("/D/Apps/Cutter/Framora.EXE"), "/D/Apps/Cutter/framora.ini");
    EXPECT_EQ(app::SettingsFileFor("/usr/bin/framora"), "/usr/bin/framora.ini");
}

TEST(OpenFailureText, NamesTheFileOnceWithTheReasonAsASentence) {
    const struct {
        const char *reason, *text;
    } cases[] = {
        {"Cannot open \"/v/a.avi\": the file does not exist",
         "Cannot open \"/v/a.avi\".\nThe file does not exist."},
        {"Cannot open \"/v/a.avi\". It is not a regular file.",
         "Cannot open \"/v/a.avi\".\nIt is not a regular file."},
        // Another file's name is part of the reason and stays.
        {"Cannot open \"/v/b.avi\": gone",
         "Cannot open \"/v/a.avi\".\nCannot open \"/v/b.avi\": gone."},
        {"Out of memory", "Cannot open \"/v/a.avi\".\nOut of memory."},
        {"", "Cannot open \"/v/a.avi\"."},
        {"Cannot open \"/v/a.avi\"", "Cannot open \"/v/a.avi\"."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(app::OpenFailureText("/v/a.avi", c.reason), c.text) << c.reason;
}

TEST(OutputName, AviExtensionWhateverTheSource) {
    const struct {
        const char *save, *source, *output;
    } cases[] = {
        {"/e/out/clip.avi", "/d/v/in.AVI", "/e/out/clip.avi"},
        {"/e/out/clip.mpg", "/d/v/in.avi", "clip.mpg.avi"},
        {"/e/out/clip", "/d/v/in.avi", "clip.avi"},
        {"/e/out/clip.AVI", "/d/v/in.Avi", "/e/out/clip.AVI"},
        // An MPEG source's cut is an AVI file, and named so.
        {"/e/out/b.mpg", "/d/v/a.mpg", "b.mpg.avi"},
        {"/e/out/b.MPG", "/d/v/a.Mpeg", "b.MPG.avi"},
        {"/e/out/b.avi", "/d/v/a.mpeg", "/e/out/b.avi"},
        {"/e/out/b", "/d/v/a.mpg", "b.avi"},
        {"/e/out/b", "/d/v/noextension", "b.avi"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(app::TMainForm::OutputName(c.save, c.source), c.output)
            << c.save << " from " << c.source;
}

TEST(Readout, MinutesAndSecondsOrHoursWhenTheLengthHasThem) {
    const struct {
        int position, length;
        const char* text;
    } cases[] = {
        {6, 11, "0:06 / 0:11"},
        {0, 0, "0:00 / 0:00"},
        {59, 600, "0:59 / 10:00"},
        {3599, 3599, "59:59 / 59:59"},
        {0, 3600, "0:00:00 / 1:00:00"},
        {75, 4000, "0:01:15 / 1:06:40"},
        {36000, 40000, "10:00:00 / 11:06:40"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(app::ReadoutText(c.position, c.length), c.text) << c.position << " " << c.length;
}

TEST(FitAspect, CentresTheLargestRectangleOfTheAspect) {
    const struct {
        const char* name;
        double aspect;
        rt::TRect fit;
    } cases[] = {
        {"16:9 fills the width", 16.0 / 9.0, rt::Bounds(0, 22, 231, 130)},
        {"4:3 fills the width", 4.0 / 3.0, rt::Bounds(0, 1, 231, 173)},
        {"portrait fills the height", 9.0 / 16.0, rt::Bounds(66, 0, 98, 175)},
        {"unknown aspect fills the area", 0.0, rt::Bounds(0, 0, 231, 175)},
        {"an absurd aspect keeps one row", 1e6, rt::Bounds(0, 87, 231, 1)},
        {"an absurd aspect keeps one column", 1e-6, rt::Bounds(115, 0, 1, 175)},
    };
    for (const auto& c : cases) EXPECT_EQ(app::FitAspect(231, 175, c.aspect), c.fit) << c.name;
}

// A main window in a fresh program folder, with dialogs and message boxes scripted.
class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        tmp_ = std::make_unique<testutil::TempDir>("framora-app");
        dir_ = tmp_->path();
        fs::copy_file(fs::path(FRAMORA_SOURCE_DIR) / "resources/noframe.jpg", dir_ / "noframe.jpg");
        rt::Application()->MessageBoxHandler = [this](const std::string& text, const std::string&,
                                                      int) {
            messages_.push_back(text);
            return int(rt::mrOk);
        };
        sk::TskSkinOpenDialog::Driver = [this](sk::TskSkinOpenDialog& d) {
            std::string next = d.IsSave() ? saveAnswer_ : openAnswer_;
            if (next.empty()) return false;
            d.FileName = next;
            return true;
        };
        form_ = std::make_unique<app::TMainForm>(nullptr, dir_.string() + "/");
    }

    void TearDown() override {
        form_.reset();
        sk::TskSkinOpenDialog::Driver = nullptr;
        rt::Application()->MessageBoxHandler = nullptr;
        tmp_.reset();
    }

    void Open(const fs::path& file) {
        openAnswer_ = file.string();
        form_->Open1Click(form_->Open1);
    }

    static fs::path Clip598() {
        return fixtures::Make("clip59_8.avi",
                              "-f lavfi -i testsrc=size=160x120:rate=25 -f lavfi -i "
                              "sine=frequency=440:sample_rate=44100 -t 59.8 -c:v mpeg4 -q:v 5 "
                              "-c:a libmp3lame -b:a 64k");
    }

    // Other pictures than Clip598's, and shorter: 0 to 20 on the track bar.
    static fs::path Clip20() {
        return fixtures::Make(
            "clip20_4.avi", "-f lavfi -i testsrc2=size=160x120:rate=25 -t 20.4 -c:v mpeg4 -q:v 5");
    }

    // The preview file's picture of `file` at `seconds`, grabbed by a detector of its own.
    rt::TBitmap Grab(const fs::path& file, int seconds) {
        media::MediaDet det;
        det.put_Filename(file.string());
        const fs::path bmp = dir_ / "expected.bmp";
        det.WriteBitmapBits(seconds, 360, 270, bmp.string());
        rt::TBitmap b;
        rt::LoadPictureFile(bmp.string(), b);
        return b;
    }

    static rt::TBitmap FileBitmap(const fs::path& file) {
        rt::TBitmap b;
        rt::LoadPictureFile(file.string(), b);
        return b;
    }

    // Pixels of row y that are not black.
    static int Lit(const rt::TBitmap& b, int y) {
        int n = 0;
        for (int x = 0; x < b.Width(); ++x)
            n += (b.Pixels()[std::size_t(y * b.Width() + x)] & 0xFFFFFF) != 0;
        return n;
    }

    // Mean absolute difference of two pictures of one size, per channel.
    static double Difference(const rt::TBitmap& a, const rt::TBitmap& b) {
        if (a.Width() != b.Width() || a.Height() != b.Height()) return 255;
        double sum = 0;
        for (std::size_t i = 0; i < a.Pixels().size(); ++i)
            for (int s = 0; s < 24; s += 8)
                sum +=
                    std::abs(int((a.Pixels()[i] >> s) & 0xFF) - int((b.Pixels()[i] >> s) & 0xFF));
        return sum / (3.0 * double(a.Pixels().size()));
    }

    // Clicks Cut and lets the window watch the cut to its end.
    void Cut() {
        form_->skSkinSpeedButton4Click(form_->skSkinSpeedButton4);
        EXPECT_TRUE(rt::testing::WaitFor([this] { return !form_->Cutting(); }, 120000))
            << "the cut did not end";
    }

    std::unique_ptr<testutil::TempDir> tmp_;
    fs::path dir_;
    std::unique_ptr<app::TMainForm> form_;
    std::vector<std::string> messages_;
    std::string openAnswer_, saveAnswer_;
};

TEST_F(MainWindow, IsLaidOutAsDesigned) {
    EXPECT_EQ(form_->ClientWidth(), 532);
    EXPECT_EQ(form_->ClientHeight(), 336);
    EXPECT_EQ(form_->Caption(), "Framora");
    testutil::ExpectDesignedLayout(*form_, "as created");
    EXPECT_EQ(form_->skSkinSpeedButton4->Caption(), "Cut");
    EXPECT_EQ(form_->TrackBar1->Max(), 100);
    EXPECT_EQ(form_->TrackBar1->Position(), 0);
    EXPECT_FALSE(form_->shpStart->Visible());
    EXPECT_EQ(form_->Image1->Picture().Width(), 227);
    EXPECT_EQ(form_->Image1->Picture().Height(), 172);
}

TEST_F(MainWindow, OpenProbesTheFileAndShowsTheFirstFrame) {
    fs::path clip = Clip598();
    ASSERT_FALSE(clip.empty());
    Open(clip);
    EXPECT_TRUE(messages_.empty()) << messages_.front();
    EXPECT_EQ(form_->Caption(), "Framora - " + clip.string());
    EXPECT_EQ(form_->FSourceFile, clip.string());
    EXPECT_NEAR(form_->FDuration, 59.8, 0.05);
    EXPECT_EQ(form_->TrackBar1->Max(), 59);
    ASSERT_TRUE(fs::exists(dir_ / "Frame1.bmp"));
    // Shown at the panel's size: a 4:3 picture fills it but for a row at the top and bottom.
    EXPECT_EQ(form_->Image1->Picture().Width(), 231);
    EXPECT_EQ(form_->Image2->Picture().Height(), 175);
    EXPECT_EQ(Lit(form_->Image1->Picture(), 0), 0);
    EXPECT_GT(Lit(form_->Image1->Picture(), 2), 180);
    EXPECT_EQ(Difference(form_->Image1->Picture(), form_->Image2->Picture()), 0.0);

    form_->Close1Click(form_->Close1);
    EXPECT_EQ(form_->Caption(), "Framora");
    EXPECT_EQ(form_->FSourceFile, "");
    EXPECT_EQ(form_->FMediaDet, nullptr);
    EXPECT_EQ(form_->Image1->Picture().Width(), 227);
    EXPECT_EQ(form_->Image2->Picture().Width(), 227);
}

TEST_F(MainWindow, FailedOpenLeavesTheWindowAsItWas) {
    fs::path clip = Clip598();
    ASSERT_FALSE(clip.empty());
    Open(clip);
    ASSERT_TRUE(messages_.empty());
    rt::TBitmap before = form_->Image1->Picture();
    media::MediaDet* det = form_->FMediaDet.get();

    fs::path text = dir_ / "notes.avi";
    std::ofstream(text) << "this is not a video\n";
    Open(text);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "Cannot open \"" + text.string() +
                                "\".\nIt is not a media file, or its format is not recognised.")
        << "the file named once, the reason on its own line";
    EXPECT_EQ(form_->Caption(), "Framora - " + clip.string());
    EXPECT_EQ(form_->FSourceFile, clip.string());
    EXPECT_EQ(form_->FMediaDet.get(), det);
    EXPECT_EQ(form_->TrackBar1->Max(), 59);
    EXPECT_EQ(Difference(form_->Image1->Picture(), before), 0.0);

    Open(dir_ / "missing.avi");
    EXPECT_EQ(messages_.size(), 2u);
    EXPECT_EQ(form_->FSourceFile, clip.string());
}

TEST_F(MainWindow, AudioOnlyFileHasNoLength) {
    fs::path clip = Clip598();
    fs::path audio = fixtures::Make("tone.avi",
                                    "-f lavfi -i sine=frequency=300:sample_rate=22050 -t 3 "
                                    "-c:a pcm_s16le");
    ASSERT_FALSE(audio.empty());
    Open(clip);
    Open(audio);
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(form_->TrackBar1->Max(), 0);
    EXPECT_EQ(form_->FDuration, 0);
    // No frame of the earlier file stays on show for a file without pictures: the panels say
    // the file has none (light text on black).
    for (rt::TImage* image : {form_->Image1, form_->Image2}) {
        const rt::TBitmap& b = image->Picture();
        ASSERT_EQ(b.Width(), 231);
        EXPECT_EQ(Lit(b, 0), 0);
        int text = 0;
        for (int y = 80; y < 95; ++y) text += Lit(b, y);
        EXPECT_GT(text, 40) << "no text in the middle of the panel";
    }
    form_->actSelEndExecute(nullptr);
    EXPECT_EQ(form_->shpEnd->Left(), 25);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(MainWindow, MarksKeepStartBeforeEnd) {
    fs::path clip = Clip598();
    ASSERT_FALSE(clip.empty());
    // Without a file the marks do nothing.
    form_->TrackBar1->SetPosition(10);
    form_->actSelEndExecute(nullptr);
    EXPECT_EQ(form_->FEndMark, 0);
    EXPECT_FALSE(form_->shpEnd->Visible());

    Open(clip);
    form_->TrackBar1->SetPosition(10);
    form_->actSelEndExecute(nullptr);
    EXPECT_EQ(form_->FStartMark, 0);
    EXPECT_EQ(form_->FEndMark, 10);
    EXPECT_TRUE(form_->shpStart->Visible());
    EXPECT_EQ(form_->shpStart->Left(), 25);
    EXPECT_EQ(form_->shpEnd->Left(), app::MarkerLeft(form_->TrackBar1->Width(), 59, 10));
    EXPECT_EQ(form_->shpProcess->Width(), form_->shpEnd->Left() - 25);
    EXPECT_TRUE(form_->shpProcess->Visible());
    rt::TBitmap at0 = form_->Image1->Picture();
    rt::TBitmap at10 = form_->Image2->Picture();
    EXPECT_GT(Difference(at0, at10), 1.0) << "the two pictures show different times";

    // A start after the end moves the end along and hides the end marker and the bar.
    form_->TrackBar1->SetPosition(20);
    form_->actSelStrartExecute(nullptr);
    EXPECT_EQ(form_->FStartMark, 20);
    EXPECT_EQ(form_->FEndMark, 20);
    EXPECT_FALSE(form_->shpEnd->Visible());
    EXPECT_FALSE(form_->shpProcess->Visible());
    EXPECT_LT(Difference(form_->Image1->Picture(), form_->Image2->Picture()), 0.5);

    // An end before the start moves the start back.
    form_->TrackBar1->SetPosition(5);
    form_->actSelEndExecute(nullptr);
    EXPECT_EQ(form_->FStartMark, 5);
    EXPECT_EQ(form_->FEndMark, 5);
    EXPECT_EQ(form_->shpStart->Left(), form_->shpEnd->Left());
    EXPECT_EQ(form_->shpProcess->Width(), 0);

    // Opening another file keeps the marks.
    Open(clip);
    EXPECT_EQ(form_->FStartMark, 5);
    EXPECT_TRUE(form_->shpEnd->Visible());

    form_->skSkinSpeedButton3Click(nullptr);
    EXPECT_EQ(form_->FStartMark, 0);
    EXPECT_EQ(form_->FEndMark, 0);
    EXPECT_EQ(form_->TrackBar1->Position(), 0);
    EXPECT_FALSE(form_->shpStart->Visible());
    EXPECT_FALSE(form_->shpEnd->Visible());
    EXPECT_TRUE(messages_.empty());
}

// Opening another file keeps the marks, clamped to its length, and the markers and pictures
// show what a cut of the new file takes.
TEST_F(MainWindow, OpenKeepsTheMarksAndShowsTheNewFileAtThem) {
    fs::path a = Clip598(), b = Clip20();
    ASSERT_FALSE(a.empty());
    ASSERT_FALSE(b.empty());
    Open(a);
    form_->TrackBar1->SetPosition(5);
    form_->actSelStrartExecute(nullptr);
    form_->TrackBar1->SetPosition(30);
    form_->actSelEndExecute(nullptr);
    const rt::TBitmap aStart = FileBitmap(dir_ / "Frame1.bmp");

    Open(b);
    ASSERT_TRUE(messages_.empty()) << messages_.front();
    EXPECT_EQ(form_->TrackBar1->Max(), 20);
    EXPECT_EQ(form_->FStartMark, 5);
    EXPECT_EQ(form_->FEndMark, 20) << "a mark past the new length is clamped to it";
    const int w = form_->TrackBar1->Width();
    EXPECT_EQ(form_->shpStart->Left(), app::MarkerLeft(w, 20, 5));
    EXPECT_EQ(form_->shpEnd->Left(), app::MarkerLeft(w, 20, 20));
    EXPECT_EQ(form_->shpProcess->Left(), form_->shpStart->Left());
    EXPECT_EQ(form_->shpProcess->Width(), form_->shpEnd->Left() - form_->shpStart->Left());
    EXPECT_TRUE(form_->shpEnd->Visible());

    const rt::TBitmap start = FileBitmap(dir_ / "Frame1.bmp"),
                      end = FileBitmap(dir_ / "Frame2.bmp");
    EXPECT_LT(Difference(start, Grab(b, 5)), 0.5);
    EXPECT_LT(Difference(end, Grab(b, 20)), 0.5);
    EXPECT_GT(Difference(start, aStart), 5.0) << "the start picture is still the first file's";
    EXPECT_TRUE(form_->skSkinSpeedButton4->Enabled());

    // Both marks past a shorter file's end meet at its end: no stretch is left to cut.
    form_->TrackBar1->SetPosition(15);
    form_->actSelStrartExecute(nullptr);
    fs::path shortClip = fixtures::Make(
        "clip3.avi", "-f lavfi -i testsrc=size=160x120:rate=25 -t 3.5 -c:v mpeg4 -q:v 5");
    ASSERT_FALSE(shortClip.empty());
    Open(shortClip);
    EXPECT_EQ(form_->FStartMark, 3);
    EXPECT_EQ(form_->FEndMark, 3);
    EXPECT_LT(Difference(FileBitmap(dir_ / "Frame2.bmp"), Grab(shortClip, 3)), 0.5);
    EXPECT_FALSE(form_->skSkinSpeedButton4->Enabled());
}

TEST_F(MainWindow, OpenCloseAndClearTakeAnEarlierCutsTextAway) {
    fs::path clip = Clip598();
    ASSERT_FALSE(clip.empty());
    const struct {
        const char* name;
        std::function<void()> act;
    } cases[] = {
        {"Open", [&] { Open(clip); }},
        {"Clear", [&] { form_->skSkinSpeedButton3Click(form_->skSkinSpeedButton3); }},
        {"Close", [&] { form_->Close1Click(form_->Close1); }},
    };
    for (const auto& c : cases) {
        form_->ProgressBar1->SetProgressText("Succeeded!");
        form_->ProgressBar1->SetValue(40);
        c.act();
        EXPECT_EQ(form_->ProgressBar1->ProgressText(), "") << c.name;
        EXPECT_EQ(form_->ProgressBar1->Value(), 0) << c.name;
    }
}

TEST_F(MainWindow, CutIsUsableOnlyWhileAStretchIsMarked) {
    fs::path clip = Clip598();
    ASSERT_FALSE(clip.empty());
    auto cut = [this] { return form_->skSkinSpeedButton4->Enabled(); };
    EXPECT_FALSE(cut()) << "no file";
    Open(clip);
    EXPECT_FALSE(cut()) << "no marks";
    form_->TrackBar1->SetPosition(10);
    form_->actSelEndExecute(nullptr);
    EXPECT_TRUE(cut()) << "0 to 10";
    form_->actSelStrartExecute(nullptr);
    EXPECT_FALSE(cut()) << "10 to 10";
    form_->TrackBar1->SetPosition(12);
    form_->actSelEndExecute(nullptr);
    EXPECT_TRUE(cut()) << "10 to 12";
    form_->skSkinSpeedButton3Click(form_->skSkinSpeedButton3);
    EXPECT_FALSE(cut()) << "cleared";
    form_->actSelEndExecute(nullptr);
    form_->TrackBar1->SetPosition(7);
    form_->actSelEndExecute(nullptr);
    ASSERT_TRUE(cut());
    form_->Close1Click(form_->Close1);
    EXPECT_FALSE(cut()) << "closed";
    // The key of a disabled "Cut" asks nothing either.
    bool asked = false;
    sk::TskSkinOpenDialog::Driver = [&](sk::TskSkinOpenDialog&) {
        asked = true;
        return false;
    };
    EXPECT_TRUE(form_->KeyCommand('X', rt::ssCtrl));
    EXPECT_FALSE(asked);
}

// The window's keys reach it through the skinned frame, after the menus' short cuts.
TEST_F(MainWindow, KeysMoveTheBarAndMark) {
    fs::path clip = Clip598();
    ASSERT_FALSE(clip.empty());
    Open(clip);
    auto key = [this](int vk, rt::TShiftState shift = 0) {
        return form_->OnShortCut(form_.get(), vk, shift);
    };
    const struct {
        const char* name;
        int vk, from, to;
    } moves[] = {
        {"Right", rt::VK_RIGHT, 10, 11},     {"Left", rt::VK_LEFT, 10, 9},
        {"Left at 0", rt::VK_LEFT, 0, 0},    {"Right at the end", rt::VK_RIGHT, 59, 59},
        {"PgDn", rt::VK_NEXT, 10, 20},       {"PgUp", rt::VK_PRIOR, 25, 15},
        {"PgUp near 0", rt::VK_PRIOR, 4, 0}, {"PgDn near the end", rt::VK_NEXT, 55, 59},
        {"Home", rt::VK_HOME, 30, 0},        {"End", rt::VK_END, 30, 59},
    };
    for (const auto& m : moves) {
        form_->TrackBar1->SetPosition(m.from);
        EXPECT_TRUE(key(m.vk)) << m.name;
        EXPECT_EQ(form_->TrackBar1->Position(), m.to) << m.name;
        EXPECT_EQ(form_->lblPosition->Caption(), app::ReadoutText(m.to, 59)) << m.name;
    }
    // With Shift or Ctrl the bar's keys are not ours.
    form_->TrackBar1->SetPosition(10);
    EXPECT_FALSE(key(rt::VK_RIGHT, rt::ssShift));
    EXPECT_FALSE(key('I', rt::ssCtrl));
    EXPECT_EQ(form_->TrackBar1->Position(), 10);

    form_->TrackBar1->SetPosition(12);
    EXPECT_TRUE(key('O'));
    EXPECT_EQ(form_->FEndMark, 12);
    form_->TrackBar1->SetPosition(4);
    EXPECT_TRUE(key('I'));
    EXPECT_EQ(form_->FStartMark, 4);
    EXPECT_TRUE(form_->shpProcess->Visible());

    std::vector<std::string> asked;
    sk::TskSkinOpenDialog::Driver = [&](sk::TskSkinOpenDialog& d) {
        asked.push_back(d.IsSave() ? "save" : "open");
        return false;
    };
    EXPECT_TRUE(key('X', rt::ssCtrl));
    EXPECT_TRUE(key('O', rt::ssCtrl)) << "the File menu's Open";
    EXPECT_EQ(asked, (std::vector<std::string>{"save", "open"}));

    EXPECT_TRUE(key(rt::VK_DELETE));
    EXPECT_EQ(form_->FStartMark, 0);
    EXPECT_EQ(form_->FEndMark, 0);
    EXPECT_FALSE(form_->shpStart->Visible());
    EXPECT_TRUE(key('W', rt::ssCtrl)) << "the File menu's Close";
    EXPECT_EQ(form_->FSourceFile, "");
    EXPECT_EQ(form_->lblPosition->Caption(), "");
}

// Each command shows its key where the user looks for it: in its menu or in its hint.
TEST_F(MainWindow, KeysAreShownInMenusAndHints) {
    app::TMainForm& f = *form_;
    const struct {
        rt::TMenuItem* item;
        const char* key;
    } items[] = {{f.Open1, "Ctrl+O"}, {f.Close1, "Ctrl+W"}, {f.Applictation1, "F1"}};
    for (const auto& i : items) EXPECT_EQ(rt::ShortCutToText(i.item->ShortCut), i.key);
    const struct {
        rt::TControl* control;
        const char* key;
    } hints[] = {{f.skSkinSpeedButton1, "(I)"},
                 {f.skSkinSpeedButton2, "(O)"},
                 {f.skSkinSpeedButton3, "(Del)"},
                 {f.skSkinSpeedButton4, "(Ctrl+X)"},
                 {f.skSkinMenuSpeedButton1, ""},
                 {f.skSkinSpeedButton5, ""},
                 {f.TrackBar1, "PgUp"}};
    for (const auto& h : hints) {
        EXPECT_TRUE(h.control->ShowHint) << h.control->Name();
        EXPECT_FALSE(h.control->Hint.empty()) << h.control->Name();
        EXPECT_NE(h.control->Hint.find(h.key), std::string::npos) << h.control->Hint;
    }
    EXPECT_EQ(sk::FindHintComponent(form_.get()), f.skSkinHint1) << "hints are skinned";
}

// Previews show the picture's display aspect, centred on black.
TEST_F(MainWindow, PreviewsKeepThePicturesAspect) {
    const struct {
        const char *name, *file, *args;
        int top;
    } cases[] = {
        {"4:3", "aspect43.avi", "-f lavfi -i testsrc=size=160x120:rate=25 -t 2 -c:v mpeg4", 1},
        {"16:9", "aspect169.avi", "-f lavfi -i testsrc=size=320x180:rate=25 -t 2 -c:v mpeg4", 22},
        {"anamorphic 4:3 shown 16:9", "aspect-anamorphic.avi",
         "-f lavfi -i testsrc=size=240x180:rate=25 -t 2 -vf setsar=4/3 -c:v mpeg4", 22},
    };
    for (const auto& c : cases) {
        fs::path clip = fixtures::Make(c.file, c.args);
        ASSERT_FALSE(clip.empty()) << c.name;
        Open(clip);
        ASSERT_TRUE(messages_.empty()) << messages_.front();
        for (rt::TImage* image : {form_->Image1, form_->Image2}) {
            const rt::TBitmap& b = image->Picture();
            EXPECT_EQ(Lit(b, c.top - 1), 0) << c.name << ": the band above the picture";
            EXPECT_EQ(Lit(b, 175 - c.top), 0) << c.name << ": the band below the picture";
            EXPECT_GT(Lit(b, c.top + 1), 180) << c.name << ": the picture's first rows";
            EXPECT_GT(Lit(b, 174 - c.top - 1), 180) << c.name << ": the picture's last rows";
        }
    }
    // A real upright clip (1080 x 1920) stands between black bands left and right, and a
    // DVD still flagged 16:9 (720 x 576 at 64:45) is shown wide.
    const fs::path samples = fixtures::SamplesDir();
    const fs::path upright = samples / "file-scraper" / "valid__mpeg2_mp3.mpg";
    const fs::path dvd = samples / "fate-suite" / "dvd_still_frame.vob";
    if (!fs::exists(upright) || !fs::exists(dvd)) GTEST_SKIP() << "no media samples";
    Open(upright);
    ASSERT_TRUE(messages_.empty()) << messages_.front();
    const rt::TBitmap& b = form_->Image1->Picture();
    const rt::TRect fit = app::FitAspect(231, 175, 9.0 / 16.0);
    int band = 0, picture = 0;
    for (int y = 0; y < 175; ++y) {
        band += (b.Pixels()[std::size_t(y * 231 + fit.Left - 2)] & 0xFFFFFF) != 0;
        band += (b.Pixels()[std::size_t(y * 231 + fit.Right + 1)] & 0xFFFFFF) != 0;
        picture += (b.Pixels()[std::size_t(y * 231 + 115)] & 0xFFFFFF) != 0;
    }
    EXPECT_EQ(band, 0);
    EXPECT_GT(picture, 100);
    Open(dvd);
    ASSERT_TRUE(messages_.empty()) << messages_.front();
    EXPECT_EQ(Lit(form_->Image2->Picture(), 20), 0) << "above a 16:9 picture";
    EXPECT_EQ(Lit(form_->Image2->Picture(), 154), 0) << "below a 16:9 picture";
}

TEST_F(MainWindow, CloseWithoutFileResetsEverything) {
    std::filesystem::remove(dir_ / "noframe.jpg");
    form_->Close1Click(form_->Close1);
    EXPECT_EQ(form_->Caption(), "Framora");
    EXPECT_EQ(form_->FStartMark, 0);
    EXPECT_FALSE(form_->shpStart->Visible());
    // Without the file beside the program, the built-in placeholder stands in.
    EXPECT_EQ(form_->Image1->Picture().Width(), 227);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(MainWindow, SkinChoiceIsReadAtCreationAndWrittenAtClose) {
    const struct {
        const char* stored;
        int written;
    } cases[] = {{"3", 3}, {"9", 1}, {"abc", 1}, {"0x2", 2}, {"$4", 4}};
    for (const auto& c : cases) {
        form_.reset();
        { std::ofstream(dir_ / "app_tests.ini") << "[Options]\r\nSkin=" << c.stored << "\r\n"; }
        form_ = std::make_unique<app::TMainForm>(nullptr, dir_.string() + "/");
        ASSERT_EQ(form_->SettingsFile(), (dir_ / "app_tests.ini").string());
        rt::TCloseAction action = rt::TCloseAction::caHide;
        form_->FormClose(form_.get(), action);
        EXPECT_EQ(rt::TIniFile(form_->SettingsFile()).ReadInteger("Options", "Skin", -1), c.written)
            << "stored " << c.stored;
    }
}

TEST_F(MainWindow, SkinChoiceIsWrittenWhenMade) {
    const struct {
        void (app::TMainForm::*click)(rt::TComponent*);
        int written;
    } cases[] = {{&app::TMainForm::mSkinWistlerClick, 3},
                 {&app::TMainForm::mSkinNoSkinClick, 4},
                 {&app::TMainForm::mSkinWinxpblueClick, 2},
                 {&app::TMainForm::mSkinWinAquaClick, 1}};
    for (const auto& c : cases) {
        ((*form_).*c.click)(nullptr);
        EXPECT_EQ(rt::TIniFile(form_->SettingsFile()).ReadInteger("Options", "Skin", -1),
                  c.written);
    }
    EXPECT_TRUE(messages_.empty());

    // A settings file that cannot be written: the skin still changes, and the user is told.
    fs::remove(form_->SettingsFile());
    fs::create_directory(form_->SettingsFile());
    form_->mSkinWistlerClick(nullptr);
    EXPECT_EQ(form_->skSkinData1->SkinName, "Wistler");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find(form_->SettingsFile()), std::string::npos) << messages_[0];
}

TEST_F(MainWindow, CutWritesTheMarkedStretch) {
    fs::path clip = Clip598();
    ASSERT_FALSE(clip.empty());
    Open(clip);
    form_->TrackBar1->SetPosition(5);
    form_->actSelStrartExecute(nullptr);
    form_->TrackBar1->SetPosition(7);
    form_->actSelEndExecute(nullptr);
    // Saved with another extension: the name gets the source's and lands in the save folder.
    fs::create_directories(dir_ / "out");
    saveAnswer_ = (dir_ / "out" / "clip.mpg").string();
    Cut();
    EXPECT_TRUE(messages_.empty()) << messages_.front();
    EXPECT_EQ(form_->ProgressBar1->ProgressText(), "Succeeded!");
    EXPECT_EQ(form_->ProgressBar1->Value(), 0) << "the gauge stays partly filled";
    EXPECT_TRUE(form_->skSkinSpeedButton4->Enabled());
    EXPECT_TRUE(form_->Open1->Enabled);
    fs::path out = dir_ / "out" / "clip.mpg.avi";
    ASSERT_TRUE(fs::exists(out));
    std::string cmd =
        "ffprobe -v error -show_entries format=duration -of csv=p=0 '" + out.string() + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> p(popen(cmd.c_str(), "r"), pclose);
    char buf[64] = {};
    ASSERT_NE(fgets(buf, sizeof buf, p.get()), nullptr);
    EXPECT_NEAR(std::atof(buf), 2.0, 0.1);
}

TEST_F(MainWindow, FailedCutSaysWhyAndNeverSucceeded) {
    fs::path clip = Clip598();
    ASSERT_FALSE(clip.empty());
    Open(clip);
    form_->TrackBar1->SetPosition(1);
    form_->actSelEndExecute(nullptr);
    // Saving over the open source itself is refused before anything is written.
    fs::path copy = dir_ / "source.avi";
    fs::copy_file(clip, copy);
    Open(copy);
    auto size = fs::file_size(copy);
    saveAnswer_ = copy.string();
    Cut();
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(form_->ProgressBar1->ProgressText(), "Succeeded!");
    EXPECT_EQ(fs::file_size(copy), size);
    EXPECT_TRUE(form_->skSkinSpeedButton1->Enabled());
}

// Closed once the cut has written 25 pictures (the render waits there until the close was
// seen): the window hides at once, the settings are written, and the cut still finishes.
TEST_F(MainWindow, ClosingDuringACutHidesAtOnceAndFinishesTheFile) {
    fs::path clip = Clip598();
    ASSERT_FALSE(clip.empty());
    Open(clip);
    form_->Show();
    form_->TrackBar1->SetPosition(3);
    form_->actSelEndExecute(nullptr);
    saveAnswer_ = (dir_ / "during.avi").string();
    std::mutex m;
    std::condition_variable cv;
    bool reached = false, released = false;
    form_->CutHookForTesting = [&](std::int64_t done, std::int64_t, bool) {
        if (done < 25) return;
        std::unique_lock lock(m);
        if (!reached) {
            reached = true;
            cv.wait_for(lock, std::chrono::seconds(60), [&] { return released; });
        }
    };
    form_->skSkinSpeedButton4Click(form_->skSkinSpeedButton4);
    ASSERT_TRUE(rt::testing::WaitFor(
        [&] {
            std::lock_guard lock(m);
            return reached;
        },
        60000));
    ASSERT_TRUE(form_->Cutting());
    form_->Close();
    EXPECT_FALSE(form_->Visible()) << "the window waits for the cut to hide";
    EXPECT_TRUE(fs::exists(form_->SettingsFile()));
    {
        std::lock_guard lock(m);
        released = true;
    }
    cv.notify_all();
    EXPECT_TRUE(rt::testing::WaitFor([this] { return !form_->Cutting(); }, 120000));
    EXPECT_EQ(form_->ProgressBar1->ProgressText(), "Succeeded!");
    EXPECT_TRUE(fs::exists(dir_ / "during.avi"));
    EXPECT_TRUE(messages_.empty());
}

// The cut's save dialog itself, as the user meets it: the source is refused whatever name
// leads to it, an existing file is replaced only after a "Yes", and a new name is cut into the
// folder the dialog showed.
TEST_F(MainWindow, SaveDialogRefusesTheSourceAndAsksBeforeReplacing) {
    fs::path clip = Clip598();
    ASSERT_FALSE(clip.empty());
    fs::path source = dir_ / "source.avi";
    fs::copy_file(clip, source);
    Open(source);
    form_->TrackBar1->SetPosition(1);
    form_->actSelEndExecute(nullptr);
    Touch(dir_ / "taken.avi");
    const auto size = fs::file_size(source);

    sk::TskSkinOpenDialog::Driver = nullptr;
    std::vector<std::string> seen;
    sk::TskSkinOpenDialog::OnShownForTesting = [&](sk::TskOpenDlgForm& d) {
        EXPECT_TRUE(d.SaveMode());
        EXPECT_EQ(d.Directory(), dir_.string()) << "the first cut is offered beside its source";
        // The fixture answers every question with OK: neither Yes nor a replace.
        for (const char* typed : {"source.avi", "source", "taken.avi"}) {
            messages_.clear();
            d.FileNameEdit->SetText(typed);
            d.OpenButtonClick();
            EXPECT_EQ(d.ModalResult, rt::mrNone) << typed;
            seen.push_back(messages_.empty() ? "" : messages_.front());
        }
        d.FileNameEdit->SetText("new");
        d.OpenButtonClick();
    };
    form_->skSkinSpeedButton4Click(form_->skSkinSpeedButton4);
    sk::TskSkinOpenDialog::OnShownForTesting = nullptr;
    ASSERT_EQ(seen.size(), 3u);
    for (int i = 0; i < 2; ++i)
        EXPECT_NE(seen[std::size_t(i)].find("source.avi is the file being cut"), std::string::npos)
            << seen[std::size_t(i)];
    EXPECT_EQ(seen[2], "taken.avi already exists. Replace it?");
    ASSERT_TRUE(rt::testing::WaitFor([this] { return !form_->Cutting(); }, 120000));
    EXPECT_EQ(form_->ProgressBar1->ProgressText(), "Succeeded!");
    EXPECT_TRUE(fs::exists(dir_ / "new.avi")) << "the cut lands in the dialog's folder";
    EXPECT_EQ(fs::file_size(source), size);
    EXPECT_EQ(fs::file_size(dir_ / "taken.avi"), 1u);
}

TEST_F(MainWindow, CutWithoutMarksDoesNothing) {
    bool asked = false;
    sk::TskSkinOpenDialog::Driver = [&](sk::TskSkinOpenDialog&) {
        asked = true;
        return false;
    };
    form_->skSkinSpeedButton4Click(form_->skSkinSpeedButton4);
    EXPECT_FALSE(asked);
}

}  // namespace
