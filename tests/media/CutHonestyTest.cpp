// A cut holds what the source really has, or fails: a source cut short or written to while it
// is read, an end mark past the source's end, and ends no file can reach.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "CutFixtures.h"
#include "CutProbe.h"
#include "common/TempDir.h"
#include "media/CutJob.h"

namespace fs = std::filesystem;
using media::CutJob;

namespace {

long Finish(CutJob& job) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    long code = 0;
    while (!job.WaitForCompletion(50, code)) {
        if (std::chrono::steady_clock::now() > until) {
            job.Stop();
            ADD_FAILURE() << "the cut did not finish";
            return 0;
        }
    }
    job.Stop();
    return code;
}

std::vector<std::string> Names(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// The source changes once a third of the cut is written; the cut fails, saying so, and leaves
// the older output as it was.
TEST(CutHonesty, SourceChangedDuringTheCutFails) {
    struct Case {
        const char* name;
        fs::path (*source)();
        double start, end;
        void (*change)(const fs::path&);
    };
    const Case cases[] = {
        {"shortened, copied cut", &cutfixtures::CopyableAvi, 1, 7,
         [](const fs::path& p) { fs::resize_file(p, fs::file_size(p) / 2); }},
        {"shortened, re-encoded cut", &cutfixtures::LongAvi, 0, 20,
         [](const fs::path& p) { fs::resize_file(p, fs::file_size(p) / 4); }},
        {"written to in place", &cutfixtures::LongAvi, 0, 6,
         [](const fs::path& p) {
             std::fstream f(p, std::ios::in | std::ios::out | std::ios::binary);
             f.seekp(static_cast<std::streamoff>(fs::file_size(p) - 4096));
             f << std::string(4096, '\0');
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path fixture = c.source();
        ASSERT_FALSE(fixture.empty());
        testutil::TempDir dir("framora-changed");
        const fs::path source = dir / "source.avi";
        fs::copy_file(fixture, source);
        const fs::path out = dir / "out.avi";
        std::ofstream(out) << "older";
        CutJob job;
        bool changed = false;
        job.SetProgressHookForTesting([&](std::int64_t done, std::int64_t planned, bool) {
            if (changed || planned <= 0 || done * 3 < planned) return;
            changed = true;
            c.change(source);
        });
        job.Start(source, c.start, c.end, out);
        EXPECT_EQ(Finish(job), media::EC_ERRORABORT) << "succeeded with the wrong content";
        EXPECT_TRUE(changed);
        EXPECT_NE(job.ErrorText().find("changed while it was being cut"), std::string::npos)
            << job.ErrorText();
        EXPECT_EQ(cutprobe::ReadAll(out), "older");
        EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"out.avi", "source.avi"}));
    }
}

// An end mark past the source's end: the cut ends where the source does and says so, with no
// frozen picture or silence made up beyond it. Ends beyond any file are refused before any
// conversion.
TEST(CutHonesty, EndsPastTheSourceAreTakenBackOrRefused) {
    const fs::path source = cutfixtures::CopyableAvi();  // 8 s
    ASSERT_FALSE(source.empty());
    struct Case {
        const char* name;
        double start, end;
        bool refused;
    };
    const Case cases[] = {
        {"a little past the end", 6, 9.5, false},
        {"end of a damaged header", 6, 85899345, false},
        {"an end no file reaches", 6, 1e308, true},
        {"not a number", 6, std::numeric_limits<double>::quiet_NaN(), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testutil::TempDir dir("framora-end");
        const fs::path out = dir / "out.avi";
        CutJob job;
        try {
            job.Start(source, c.start, c.end, out);
        } catch (const media::MediaError& e) {
            EXPECT_TRUE(c.refused) << e.what();
            EXPECT_FALSE(fs::exists(out));
            continue;
        }
        const long code = Finish(job);
        if (c.refused) {
            EXPECT_EQ(code, media::EC_ERRORABORT);
            EXPECT_NE(job.ErrorText().find("invalid"), std::string::npos) << job.ErrorText();
            EXPECT_FALSE(fs::exists(out));
            continue;
        }
        ASSERT_EQ(code, media::EC_COMPLETE) << job.ErrorText();
        const media::CutOutcome o = job.Outcome();
        EXPECT_TRUE(o.clamped);
        EXPECT_NEAR(o.writtenSeconds, 2.0, 0.05);
        const auto video = cutprobe::Video(out);
        const auto audio = cutprobe::Audio(out);
        ASSERT_TRUE(video.has_value());
        ASSERT_TRUE(audio.has_value());
        EXPECT_EQ(video->frames, 50);
        EXPECT_NEAR(audio->Length(), 2.0, 0.05);
    }
}

}  // namespace
