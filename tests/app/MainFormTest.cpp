#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>

#include "app/MainFrm.h"
#include "common/Fixtures.h"
#include "common/TempDir.h"
#include "runtime/Application.h"
#include "runtime/Graphics.h"
#include "runtime/IniFiles.h"
#include "runtime/testing/TestInput.h"

namespace fs = std::filesystem;

namespace {

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

TEST(OutputName, FollowsTheSourceExtension) {
    using app::TMainForm;
    EXPECT_EQ(TMainForm::OutputName("/e/out/clip.avi", "/d/v/in.AVI"), "/e/out/clip.avi");
    EXPECT_EQ(TMainForm::OutputName("/e/out/clip.mpg", "/d/v/in.avi"), "clip.mpg.avi");
    EXPECT_EQ(TMainForm::OutputName("/e/out/clip", "/d/v/in.avi"), "clip.avi");
    EXPECT_EQ(TMainForm::OutputName("/e/out/b.mpg", "/d/v/a.mpg"), "/e/out/b.mpg");
    EXPECT_EQ(TMainForm::OutputName("/e/out/b.MPG", "/d/v/a.Mpeg"), "b.MPG.Mpeg");
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
        rt::TFileDialog::Driver = [this](rt::TFileDialog& d) {
            std::string next = d.IsSave() ? saveAnswer_ : openAnswer_;
            if (next.empty()) return false;
            d.FileName = next;
            return true;
        };
        form_ = std::make_unique<app::TMainForm>(nullptr, dir_.string() + "/");
    }

    void TearDown() override {
        form_.reset();
        rt::TFileDialog::Driver = nullptr;
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
    EXPECT_EQ(form_->TrackBar1->BoundsRect(), rt::Bounds(24, 241, 481, 17));
    EXPECT_EQ(form_->ProgressBar1->BoundsRect(), rt::Bounds(0, 319, 532, 17));
    EXPECT_EQ(form_->skSkinPanel2->BoundsRect(), rt::Bounds(272, 49, 233, 177));
    EXPECT_EQ(form_->Image1->BoundsRect(), rt::Bounds(1, 1, 231, 175));
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
    EXPECT_EQ(form_->Image1->Picture().Width(), 360);
    EXPECT_EQ(form_->Image2->Picture().Height(), 270);

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
    EXPECT_NE(messages_[0].find("notes.avi"), std::string::npos) << messages_[0];
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
    // No frame of the earlier file stays on show for a file without pictures.
    EXPECT_EQ(form_->Image1->Picture().Width(), 227);
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
    EXPECT_EQ(form_->shpEnd->Left(), app::MarkerLeft(481, 59, 10));
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

TEST_F(MainWindow, CutWithoutMarksDoesNothing) {
    bool asked = false;
    rt::TFileDialog::Driver = [&](rt::TFileDialog&) {
        asked = true;
        return false;
    };
    form_->skSkinSpeedButton4Click(form_->skSkinSpeedButton4);
    EXPECT_FALSE(asked);
}

}  // namespace
