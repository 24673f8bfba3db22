#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "common/FileSizeLimit.h"
#include "common/TempDir.h"
#include "runtime/Classes.h"
#include "runtime/IniFiles.h"

namespace fs = std::filesystem;

namespace {

TEST(TryStrToInt, AcceptsDecimalAndBothHexPrefixes) {
    const struct {
        const char* text;
        bool ok;
        int value;
    } cases[] = {
        {"12", true, 12},         {" 7 ", true, 7},
        {"-5", true, -5},         {"0x2", true, 2},
        {"$1F", true, 31},        {"0XfF", true, 255},
        {"0xFFFFFFFF", true, -1}, {"2147483647", true, 2147483647},
        {"2147483648", false, 0}, {"abc", false, 0},
        {"", false, 0},           {"12a", false, 0},
        {"0x", false, 0},         {"$", false, 0},
        {"1 2", false, 0},
    };
    for (const auto& c : cases) {
        int v = 0;
        EXPECT_EQ(rt::TryStrToInt(c.text, v), c.ok) << '"' << c.text << '"';
        if (c.ok) {
            EXPECT_EQ(v, c.value) << '"' << c.text << '"';
        }
    }
}

TEST(MemIniFile, SectionsAndKeysIgnoreCase) {
    rt::TMemIniFile ini("; comment\r\n[Options]\r\nSkin = 3\r\nPath=a=b\r\n\r\n[other]\r\nx=1\r\n");
    EXPECT_EQ(ini.ReadInteger("OPTIONS", "skin", 1), 3);
    EXPECT_EQ(ini.ReadString("options", "PATH", ""), "a=b");
    EXPECT_EQ(ini.ReadInteger("Options", "missing", 9), 9);
    EXPECT_EQ(ini.ReadInteger("nosection", "x", 4), 4);
    ini.WriteInteger("OTHER", "X", 2);
    ini.WriteString("New", "k", "v");
    rt::TMemIniFile again(ini.Text());
    EXPECT_EQ(again.ReadInteger("other", "x", 0), 2);
    EXPECT_EQ(again.ReadString("new", "K", ""), "v");
    EXPECT_EQ(again.Keys("other").size(), 1u);
}

class TempDir : public ::testing::Test {
protected:
    testutil::TempDir tmp_{"framora-rt"};
    const fs::path& dir_ = tmp_.path();
};

TEST_F(TempDir, IniFileWritesEntryByEntry) {
    std::string file = (dir_ / "framora.ini").string();
    rt::TIniFile ini(file);
    EXPECT_EQ(ini.ReadInteger("Options", "Skin", 1), 1);
    ini.WriteInteger("Options", "Skin", 4);
    ini.WriteString("Other", "Name", "x");
    EXPECT_EQ(rt::TIniFile(file).ReadInteger("options", "skin", 1), 4);
    EXPECT_EQ(rt::TIniFile(file).ReadString("other", "name", ""), "x");
}

TEST_F(TempDir, IniFileThatCannotBeWrittenSaysSo) {
    std::string file = (dir_ / "no-such-folder" / "framora.ini").string();
    rt::TIniFile ini(file);
    try {
        ini.WriteInteger("Options", "Skin", 2);
        FAIL() << "no error";
    } catch (const rt::EIniFileException& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Unable to write to " + file + ": " + std::strerror(ENOENT) + ".");
    }
}

TEST_F(TempDir, AtomicWriteKeepsTheOldFileOnFailure) {
    fs::path target = dir_ / "keep.bin";
    std::ofstream(target) << "original";
    {
        testutil::FileSizeLimit full(16);
        std::string big(100, 'x');
        EXPECT_THROW(rt::WriteFileBytesAtomic(target.string(), big.data(), big.size()),
                     rt::EWriteError);
    }
    std::ifstream in(target);
    std::string content;
    in >> content;
    EXPECT_EQ(content, "original");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST(StringList, SplitsAtEveryLineBreakKind) {
    rt::TStringList l;
    l.SetText("a\r\nb\rc\nd\r\n");
    ASSERT_EQ(l.Count(), 4);
    EXPECT_EQ(l.Strings(1), "b");
    EXPECT_EQ(l.Strings(3), "d");
    EXPECT_EQ(l.Text(), "a\r\nb\r\nc\r\nd\r\n");
    l.SetText("x\r\n\r\n");
    EXPECT_EQ(l.Count(), 2);
    EXPECT_EQ(l.IndexOf("X"), 0);
}

TEST(FileNames, SplitAsTheClassLibraryDoes) {
    EXPECT_EQ(rt::ExtractFilePath("/a/b/c.avi"), "/a/b/");
    EXPECT_EQ(rt::ExtractFileName("/a/b/c.avi"), "c.avi");
    EXPECT_EQ(rt::ExtractFileExt("/a/b.x/c"), "");
    EXPECT_EQ(rt::ExtractFileExt("/a/b/c.tar.GZ"), ".GZ");
    EXPECT_EQ(rt::ChangeFileExt("/a/b.x/Prog", ".ini"), "/a/b.x/Prog.ini");
}

struct Probe : rt::TComponent {
    explicit Probe(rt::TComponent* owner, std::vector<std::string>* log = nullptr)
        : rt::TComponent(owner), log_(log) {}
    ~Probe() override {
        if (log_ != nullptr) log_->push_back("freed " + Name());
    }
    void Notification(rt::TComponent* c, rt::TOperation op) override {
        if (op == rt::TOperation::opRemove && log_ != nullptr)
            log_->push_back(Name() + " heard " + c->Name());
    }
    std::vector<std::string>* log_;
};

TEST(Component, OwnerFreesChildrenAndRemovalIsAnnounced) {
    std::vector<std::string> log;
    auto owner = std::make_unique<Probe>(nullptr, &log);
    owner->SetName("owner");
    auto* a = new Probe(owner.get(), &log);
    a->SetName("a");
    auto watcher = std::make_unique<Probe>(nullptr, &log);
    watcher->SetName("w");
    a->FreeNotification(watcher.get());
    EXPECT_EQ(owner->FindComponent("A"), a);
    owner.reset();
    EXPECT_NE(std::find(log.begin(), log.end(), "w heard a"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "freed a"), log.end());
    // The watcher forgot `a`: freeing it now must not touch freed memory (ASan checks).
    watcher.reset();
}

TEST(MemoryStream, ReadsAndSeeksWithinBounds) {
    rt::TMemoryStream s;
    s.WriteBuffer("abcdef", 6);
    EXPECT_EQ(s.Size(), 6);
    s.SetPosition(4);
    char buf[4] = {};
    EXPECT_EQ(s.Read(buf, 4), 2);
    EXPECT_THROW(s.ReadBuffer(buf, 1), rt::EReadError);
    s.SetPosition(0);
    EXPECT_EQ(s.Read(buf, 3), 3);
    EXPECT_EQ(std::string(buf, 3), "abc");
}

}  // namespace
