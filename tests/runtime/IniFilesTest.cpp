// The settings file at scale and across changes by others.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "common/ChildProcess.h"
#include "common/TempDir.h"
#include "runtime/IniFiles.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Start-up reads the skin choice from a 10 MB settings file of 270,000 sections, close writes a
// new one: both must end in a child process long before its deadline (a parser that looks up
// every section among those before it never does).
TEST(IniFileScale, TenMegabytesOfSectionsReadAndWrittenInLinearTime) {
    testutil::TempDir dir("framora-ini");
    const fs::path file = dir / "framora.ini";
    int sections = 0;
    {
        std::string text;
        for (; text.size() < 10'000'000; ++sections) {
            const std::string n = std::to_string(sections);
            text += "[Section" + n + "]\r\nname=value " + n + "\r\n";
        }
        text += "[options]\r\nSKIN=3\r\n";
        std::ofstream(file, std::ios::binary) << text;
    }
    const std::string last = std::to_string(sections - 1);
    testutil::ChildGuard child(testutil::Fork([&] {
        rt::TIniFile ini(file);
        if (ini.ReadInteger("Options", "Skin", 1) != 3) return 2;
        ini.WriteInteger("Options", "Skin", 2);
        rt::TMemIniFile written(ReadAll(file));
        if (written.ReadInteger("Options", "Skin", 1) != 2) return 3;
        if (written.ReadString("section" + last, "NAME", "") != "value " + last) return 4;
        return 0;
    }));
    int status = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!child.TryWait(status) && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_LE(child.pid(), 0) << "reading and writing 10 MB of settings did not end in 120 s";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: wrong value read, 3: not written, 4: entries lost";
}

// Writing the value the file already holds leaves the file as it is (its comments and layout
// included); a file that someone else changed meanwhile is read again, and their entries stay.
TEST(IniFileChanges, UnchangedValueIsNotWrittenAndOthersChangesAreKept) {
    testutil::TempDir dir("framora-ini");
    const fs::path file = dir / "framora.ini";
    const std::string mine = "; chosen by hand\r\n[options]\r\n  skin = 2\r\n";
    std::ofstream(file, std::ios::binary) << mine;
    struct stat before {};
    ::stat(file.c_str(), &before);

    rt::TIniFile ini(file);
    EXPECT_EQ(ini.ReadInteger("Options", "Skin", 1), 2);
    ini.WriteInteger("Options", "Skin", 2);
    struct stat after {};
    ::stat(file.c_str(), &after);
    EXPECT_EQ(ReadAll(file), mine);
    EXPECT_EQ(after.st_ino, before.st_ino);

    std::ofstream(file, std::ios::binary) << "[Options]\r\nSkin=3\r\n[Other]\r\nx=1\r\n";
    EXPECT_EQ(ini.ReadInteger("Options", "Skin", 1), 3);
    ini.WriteInteger("Options", "Skin", 4);
    rt::TMemIniFile written(ReadAll(file));
    EXPECT_EQ(written.ReadInteger("Options", "Skin", 1), 4);
    EXPECT_EQ(written.ReadString("Other", "x", ""), "1");
}

}  // namespace
