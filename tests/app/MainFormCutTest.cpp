// The main window during a cut: real progress on the gauge, Esc to stop, the commands that would
// disturb the cut disabled, and how the cut was made in the gauge's hint. The render is held at
// chosen points (from its progress, never after a delay) while the window is looked at.
#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <regex>

#include "app/MainFrm.h"
#include "common/TempDir.h"
#include "media/CutFixtures.h"
#include "media/CutJob.h"
#include "runtime/Application.h"
#include "runtime/testing/TestInput.h"

namespace fs = std::filesystem;

namespace {

TEST(CutTexts, GaugeTextFollowsTheWork) {
    const struct {
        std::int64_t done, planned;
        double elapsed;
        const char* text;
    } cases[] = {
        {0, 0, 5, "Cutting ... Please wait ..."},
        {0, 1500, 0.2, "Cutting ... 0%"},
        {630, 1500, 0.9, "Cutting ... 42%"},
        {630, 1500, 4.2, "Cutting ... 42% (about 6 s left)"},
        {100, 1500, 10, "Cutting ... 6% (about 2 min 20 s left)"},
        {1500, 1500, 30, "Cutting ... 100%"},
        {1600, 1500, 30, "Cutting ... 100%"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(app::CutProgressText(c.done, c.planned, c.elapsed), c.text) << c.text;
}

TEST(CutTexts, HintSaysHowTheCutWasMade) {
    media::CutOutcome copied;
    copied.path = media::CutPath::Copied;
    copied.hasVideo = true;
    copied.copiedPictures = 1489;
    copied.encodedPictures = 11;
    media::CutOutcome reencoded;
    reencoded.hasVideo = true;
    reencoded.whyReencoded = "the pictures' time stamps are not regular";
    media::CutOutcome clamped = reencoded;
    clamped.clamped = true;
    clamped.writtenSeconds = 2;
    EXPECT_EQ(app::CutOutcomeHint(copied), "1,489 pictures copied, 11 re-encoded");
    EXPECT_EQ(app::CutOutcomeHint(reencoded),
              "re-encoded: the pictures' time stamps are not regular");
    EXPECT_EQ(app::CutOutcomeHint(clamped),
              "re-encoded: the pictures' time stamps are not regular; the source ends before the "
              "end mark, the cut ends at 2.0 s");
}

// Holds the render at one point until the test lets it go on (or a minute has passed, so that a
// failing test cannot hang the run).
class Gate {
public:
    void Arrive() {
        std::unique_lock lock(m_);
        if (reached_) return;
        reached_ = true;
        cv_.wait_for(lock, std::chrono::seconds(60), [this] { return open_; });
    }
    bool Reached() {
        std::lock_guard lock(m_);
        return reached_;
    }
    void Open() {
        {
            std::lock_guard lock(m_);
            open_ = true;
        }
        cv_.notify_all();
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    bool reached_ = false;
    bool open_ = false;
};

class MainWindowCut : public ::testing::Test {
protected:
    void SetUp() override {
        gate_ = std::make_unique<Gate>();
        tmp_ = std::make_unique<testutil::TempDir>("framora-wcut");
        dir_ = tmp_->path();
        fs::create_directory(dir_ / "out");
        rt::Application()->MessageBoxHandler = [this](const std::string& text, const std::string&,
                                                      int) {
            messages_.push_back(text);
            return int(rt::mrOk);
        };
        sk::TskSkinOpenDialog::Driver = [this](sk::TskSkinOpenDialog& d) {
            d.FileName = d.IsSave() ? saveAnswer_ : openAnswer_;
            return !d.FileName.empty();
        };
        form_ = std::make_unique<app::TMainForm>(nullptr, dir_.string() + "/");
    }
    void TearDown() override {
        gate_->Open();
        form_.reset();
        sk::TskSkinOpenDialog::Driver = nullptr;
        rt::Application()->MessageBoxHandler = nullptr;
        tmp_.reset();
    }

    // Opens `source` (a copy in the test's folder), marks start..end and makes the output name.
    void Prepare(const fs::path& fixture, int start, int end) {
        ASSERT_FALSE(fixture.empty());
        source_ = dir_ / "source.avi";
        fs::copy_file(fixture, source_);
        openAnswer_ = source_.string();
        form_->Open1Click(form_->Open1);
        ASSERT_EQ(form_->FSourceFile, source_.string());
        form_->TrackBar1->SetPosition(end);
        form_->actSelEndExecute(nullptr);
        form_->TrackBar1->SetPosition(start);
        form_->actSelStrartExecute(nullptr);
        saveAnswer_ = (dir_ / "out" / "cut.avi").string();
    }

    // Holds the render once `when` holds for its progress.
    void HoldWhen(std::function<bool(std::int64_t, std::int64_t, bool)> when,
                  std::function<void()> then = {}) {
        form_->CutHookForTesting = [this, when, then](std::int64_t d, std::int64_t p, bool c) {
            if (gate_->Reached() || !when(d, p, c)) return;
            if (then) then();
            gate_->Arrive();
        };
    }

    bool WaitHeld() {
        return rt::testing::WaitFor([this] { return gate_->Reached(); }, 60000);
    }
    bool WaitEnd() {
        return rt::testing::WaitFor([this] { return !form_->Cutting(); }, 120000);
    }

    void ExpectCommands(bool enabled) {
        for (auto* b : {form_->skSkinSpeedButton1, form_->skSkinSpeedButton2,
                        form_->skSkinSpeedButton3, form_->skSkinSpeedButton4})
            EXPECT_EQ(b->Enabled(), enabled) << b->Caption();
        EXPECT_EQ(form_->Open1->Enabled, enabled);
        EXPECT_EQ(form_->Close1->Enabled, enabled);
        EXPECT_EQ(form_->actSelStrart->Enabled, enabled);
        EXPECT_EQ(form_->actSelEnd->Enabled, enabled);
        // What does not disturb a cut stays at hand.
        EXPECT_TRUE(form_->skSkinMenuSpeedButton1->Enabled());
        EXPECT_TRUE(form_->skSkinSpeedButton5->Enabled());
        EXPECT_TRUE(form_->About1->Enabled);
        EXPECT_TRUE(form_->mSkinWistler->Enabled);
    }

    std::unique_ptr<testutil::TempDir> tmp_;
    fs::path dir_;
    fs::path source_;
    std::unique_ptr<app::TMainForm> form_;
    std::vector<std::string> messages_;
    std::string openAnswer_, saveAnswer_;
    std::unique_ptr<Gate> gate_;
};

// The gauge's percentage only rises and reaches 100% before the file is put in place, on a
// copied and on a re-encoded cut; afterwards its hint says how the cut was made.
TEST_F(MainWindowCut, ProgressRisesToTheEndAndTheHintTellsHow) {
    const struct {
        const char* name;
        fs::path (*source)();
        int start, end;
        const char* hint;
    } cases[] = {
        {"copied", &cutfixtures::CopyableAvi, 1, 7, R"(^\d+ pictures copied, \d+ re-encoded$)"},
        {"re-encoded", &cutfixtures::LongAvi, 0, 8, "^re-encoded: .+"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        Prepare(c.source(), c.start, c.end);
        HoldWhen([](std::int64_t, std::int64_t, bool committing) { return committing; });
        form_->skSkinSpeedButton4Click(form_->skSkinSpeedButton4);
        std::vector<int> seen;
        const bool hundred = rt::testing::WaitFor(
            [&] {
                const std::string text = form_->ProgressBar1->ProgressText();
                if (text.find('%') != std::string::npos)
                    seen.push_back(form_->ProgressBar1->Value());
                return gate_->Reached() && text == "Cutting ... 100%";
            },
            60000);
        EXPECT_TRUE(hundred) << form_->ProgressBar1->ProgressText();
        gate_->Open();
        ASSERT_TRUE(WaitEnd());
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end())) << "the gauge went back";
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.back(), 100);
        EXPECT_EQ(form_->ProgressBar1->ProgressText(), "Succeeded!");
        EXPECT_TRUE(std::regex_search(form_->ProgressBar1->Hint, std::regex(c.hint)))
            << form_->ProgressBar1->Hint;
        EXPECT_TRUE(form_->ProgressBar1->ShowHint);
        EXPECT_TRUE(fs::exists(dir_ / "out" / "cut.avi"));
        EXPECT_TRUE(messages_.empty());
    }
}

// Esc at 10%, at 50% and just before the file is put in place: the cut stops, the gauge says
// so, and the output folder holds the older file as it was and nothing else.
TEST_F(MainWindowCut, EscStopsTheCutAndLeavesNothing) {
    const struct {
        const char* name;
        int percent;  // -1: at the commit
    } cases[] = {{"10%", 10}, {"50%", 50}, {"commit", -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        Prepare(cutfixtures::LongAvi(), 0, 10);
        std::ofstream(dir_ / "out" / "cut.avi") << "older";
        const int percent = c.percent;
        HoldWhen([percent](std::int64_t d, std::int64_t p, bool committing) {
            return percent < 0 ? committing : p > 0 && d * 100 >= p * percent;
        });
        form_->Show();
        ASSERT_TRUE(
            rt::testing::WaitFor([&] { return rt::testing::ActiveWindow() == form_.get(); }));
        form_->skSkinSpeedButton4Click(form_->skSkinSpeedButton4);
        ASSERT_TRUE(WaitHeld());
        rt::testing::KeyClick(rt::VK_ESCAPE);
        rt::testing::ProcessEvents();
        EXPECT_EQ(form_->ProgressBar1->ProgressText(), "Stopping ...");
        gate_->Open();
        ASSERT_TRUE(WaitEnd());
        EXPECT_EQ(form_->ProgressBar1->ProgressText(), "Stopped.");
        EXPECT_TRUE(messages_.empty()) << messages_.front();
        std::ifstream in(dir_ / "out" / "cut.avi");
        std::string older;
        std::getline(in, older);
        EXPECT_EQ(older, "older");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "out"), fs::directory_iterator()), 1);
        ExpectCommands(true);
    }
}

// The commands that would disturb a cut are off while it runs and on again after it, whether
// it succeeds or fails (here: its source is cut short under it).
TEST_F(MainWindowCut, CommandsAreDisabledOnlyWhileCutting) {
    for (bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "failing" : "succeeding");
        TearDown();
        SetUp();
        Prepare(cutfixtures::LongAvi(), 0, 8);
        HoldWhen([](std::int64_t d, std::int64_t p, bool) { return p > 0 && d * 4 >= p; },
                 [this, fails] {
                     if (fails) fs::resize_file(source_, fs::file_size(source_) / 8);
                 });
        ExpectCommands(true);
        form_->skSkinSpeedButton4Click(form_->skSkinSpeedButton4);
        ASSERT_TRUE(WaitHeld());
        EXPECT_TRUE(form_->Cutting());
        ExpectCommands(false);
        // A second click on Cut (as a key could give) starts nothing.
        saveAnswer_ = (dir_ / "out" / "second.avi").string();
        form_->skSkinSpeedButton4Click(form_->skSkinSpeedButton4);
        gate_->Open();
        ASSERT_TRUE(WaitEnd());
        ExpectCommands(true);
        EXPECT_FALSE(fs::exists(dir_ / "out" / "second.avi"));
        if (fails) {
            EXPECT_EQ(form_->ProgressBar1->ProgressText(), "Failed.");
            ASSERT_EQ(messages_.size(), 1u);
            EXPECT_NE(messages_[0].find("changed while it was being cut"), std::string::npos)
                << messages_[0];
            EXPECT_FALSE(fs::exists(dir_ / "out" / "cut.avi"));
        } else {
            EXPECT_EQ(form_->ProgressBar1->ProgressText(), "Succeeded!");
            EXPECT_TRUE(messages_.empty());
        }
    }
}

}  // namespace
