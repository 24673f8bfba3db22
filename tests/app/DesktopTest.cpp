// Framora as a desktop program: its command line, where it finds its shipped files and keeps
// its own, files dropped on its window, and the installed program run from a scratch prefix.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/CommandLine.h"
#include "app/Links.h"
#include "app/MainFrm.h"
#include "app/ProgramFiles.h"
#include "app/Resources.h"
#include "common/ChildProcess.h"
#include "common/Fixtures.h"
#include "common/ProgramRun.h"
#include "common/TempDir.h"
#include "runtime/Application.h"
#include "runtime/Desktop.h"
#include "runtime/FileHandOver.h"
#include "runtime/testing/TestInput.h"

extern char** environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Action = app::TCommandLine::TAction;

namespace {

using namespace testutil;

TEST(CommandLine, ParsesAsTheHelpSays) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        Action action;
        std::string file;
    };
    const Case cases[] = {
        {"nothing", {}, Action::Run, ""},
        {"a file", {"clip.avi"}, Action::Run, "/home/u/clip.avi"},
        {"an absolute file", {"/v/a b.mpg"}, Action::Run, "/v/a b.mpg"},
        {"help", {"--help"}, Action::Help, ""},
        {"short help", {"-h"}, Action::Help, ""},
        {"version", {"--version"}, Action::Version, ""},
        {"short version", {"-v"}, Action::Version, ""},
        {"help wins over a bad option", {"--bogus", "--help"}, Action::Help, ""},
        {"after -- a dash is a file", {"--", "-clip.avi"}, Action::Run, "/home/u/-clip.avi"},
        {"after -- help is a file", {"--", "--help"}, Action::Run, "/home/u/--help"},
        {"unknown option", {"--bogus"}, Action::Error, ""},
        {"a lone dash", {"-"}, Action::Error, ""},
        {"two files", {"a.avi", "b.avi"}, Action::Error, ""},
        {"an empty name", {""}, Action::Error, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const app::TCommandLine cl = app::ParseCommandLine(c.args, "/home/u");
        EXPECT_EQ(cl.action, c.action);
        EXPECT_EQ(cl.file, c.file);
        EXPECT_EQ(cl.error.empty(), c.action != Action::Error);
    }
}

const fs::path kProgram = fs::path(FRAMORA_BINARY_DIR) / "bin" / "framora";

// --help and --version answer without a display, as a terminal user runs them; a wrong
// command line says what is wrong and ends with status 2 without opening a window.
TEST(Program, AnswersItsOptionsWithoutADisplay) {
    const std::vector<std::string> noDisplay = {
        "DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=xcb"};
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int status;
        std::string out;  // what stdout starts with
        std::string err;  // what stderr holds
    };
    const Case cases[] = {
        {"help", {"--help"}, 0, "Usage: framora [FILE]\n", ""},
        {"version", {"--version"}, 0, "Framora 1.0\n", ""},
        {"unknown option", {"--bogus"}, 2, "", "framora: unknown option \"--bogus\""},
        {"two files", {"a.avi", "b.avi"}, 2, "", "framora: one file at a time"},
        {"a name that is not UTF-8", {"/v/\xE9t\xE9.avi"}, 2, "", "framora: the file name is not"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RunResult r = RunToEnd(kProgram, c.args, noDisplay);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_EQ(r.out.substr(0, c.out.size()), c.out);
        if (c.out.empty()) {
            EXPECT_EQ(r.out, "");
        }
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
    EXPECT_EQ(RunToEnd(kProgram, {"--help"}, noDisplay).out, app::HelpText());
}

// A scratch folder laid out as a program folder, an installed prefix, or neither.
TEST(ProgramFiles, AreFoundBesideTheProgramOrInTheInstalledDataFolder) {
    testutil::TempDir tmp("framora-layout");
    const fs::path data = tmp / "data";
    const char* oldData = std::getenv("XDG_DATA_HOME");
    const std::string saved = oldData != nullptr ? oldData : "";
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    const std::string userDir = data.string() + "/framora/";

    fs::create_directories(tmp / "build/bin");
    std::ofstream(tmp / "build/bin/init.ini") << "[software]\nversion=Beside\n";
    fs::create_directories(tmp / "usr/bin");
    fs::create_directories(tmp / "usr/share/framora/Help");
    std::ofstream(tmp / "usr/share/framora/init.ini") << "[software]\nversion=Installed\n";
    fs::create_directories(tmp / "bare/bin");
    // Files beside the program win over an installed folder next to it.
    fs::create_directories(tmp / "both/bin/Help");
    fs::create_directories(tmp / "both/share/framora");

    struct Case {
        const char* name;
        std::string appDir, filesDir, dataDir, version;
    };
    const std::string t = tmp.path().string();
    const Case cases[] = {
        {"build tree", t + "/build/bin/", t + "/build/bin/", t + "/build/bin/", "Beside"},
        {"installed", t + "/usr/bin/", t + "/usr/share/framora/", userDir, "Installed"},
        {"installed, no separator", t + "/usr/bin", t + "/usr/share/framora/", userDir,
         "Installed"},
        {"nothing anywhere", t + "/bare/bin/", t + "/bare/bin/", t + "/bare/bin/",
         app::kDefaultVersion},
        {"both", t + "/both/bin/", t + "/both/bin/", t + "/both/bin/", app::kDefaultVersion},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string files = app::ShippedFilesDir(c.appDir);
        EXPECT_EQ(files, c.filesDir);
        EXPECT_EQ(app::WritableDataDir(c.appDir, files), c.dataDir);
        EXPECT_EQ(app::VersionText(files), c.version);
    }
    EXPECT_TRUE(fs::is_directory(data / "framora"));

    if (::geteuid() != 0) {
        // A build tree that cannot be written keeps its files in the user's folder.
        fs::permissions(tmp / "build/bin", fs::perms::owner_write, fs::perm_options::remove);
        EXPECT_EQ(app::WritableDataDir(t + "/build/bin/", t + "/build/bin/"), userDir);
    }
    if (oldData != nullptr)
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
}

TEST(ProgramIcon, EverySizeIsBuiltIn) {
    std::set<int> sizes;
    for (const app::TProgramIconImage& image : app::ProgramIconImages()) {
        rt::TBitmap b;
        ASSERT_TRUE(rt::LoadPngBitmap({image.data, image.bytes}, b, rt::clFuchsia)) << image.size;
        EXPECT_EQ(b.Width(), image.size);
        EXPECT_EQ(b.Height(), image.size);
        // Transparent around the film, drawn inside it.
        EXPECT_EQ(b.Pixels().front(), rt::ColorToPixel(rt::clFuchsia)) << image.size;
        EXPECT_NE(b.ScanLine(b.Height() / 2)[b.Width() / 2], rt::ColorToPixel(rt::clFuchsia));
        sizes.insert(image.size);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 64, 128, 256}));
    EXPECT_EQ(app::ProgramIcon().Width(), 32);
    rt::TBitmap none;
    const unsigned char notPng[] = "GIF89a....";
    EXPECT_FALSE(rt::LoadPngBitmap({notPng, sizeof notPng}, none, rt::clFuchsia));
    EXPECT_TRUE(none.Empty());
}

// Files dragged from a file manager onto the main window.
class DropOnWindow : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy_file(fs::path(FRAMORA_SOURCE_DIR) / "resources/noframe.jpg", tmp_ / "noframe.jpg");
        rt::Application()->MessageBoxHandler = [this](const std::string& text, const std::string&,
                                                      int) {
            messages_.push_back(text);
            return int(rt::mrOk);
        };
        form_ = std::make_unique<app::TMainForm>(nullptr, tmp_.path().string() + "/");
        form_->Show();
        rt::testing::ProcessEvents();
    }
    void TearDown() override {
        form_.reset();
        rt::Application()->MessageBoxHandler = nullptr;
    }
    rt::TPoint Middle() const {
        return form_->ClientToScreen({form_->ClientWidth() / 2, form_->ClientHeight() / 2});
    }
    static fs::path Clip() {
        return fixtures::Make("drop5.avi",
                              "-f lavfi -i testsrc=size=160x120:rate=25 -t 5 -c:v mpeg4 -q:v 5");
    }

    testutil::TempDir tmp_{"framora-drop"};
    std::unique_ptr<app::TMainForm> form_;
    std::vector<std::string> messages_;
};

TEST_F(DropOnWindow, OpensTheFirstLocalFileAndRefusesTheRest) {
    const fs::path clip = Clip();
    ASSERT_FALSE(clip.empty());
    // Nothing local in the drag: refused, nothing changes.
    EXPECT_FALSE(rt::testing::DropUrls(Middle(), {"https://example.org/clip.avi"}));
    EXPECT_EQ(form_->FSourceFile, "");
    EXPECT_TRUE(rt::testing::DropUrls(
        Middle(), {"https://example.org/x.avi", "file://" + clip.string(), "file:///nowhere.avi"}));
    EXPECT_TRUE(rt::testing::WaitFor([&] { return form_->FSourceFile == clip.string(); }, 10000));
    EXPECT_GE(form_->TrackBar1->Max(), 4);
    EXPECT_TRUE(messages_.empty());
    // A file that cannot be opened is said so, and the open one stays.
    EXPECT_TRUE(rt::testing::DropUrls(Middle(), {"file:///nowhere/clip.avi"}));
    EXPECT_TRUE(rt::testing::WaitFor([&] { return !messages_.empty(); }, 10000));
    EXPECT_EQ(form_->FSourceFile, clip.string());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find("/nowhere/clip.avi"), std::string::npos);
}

// A file handed in while a dialog holds the input waits for it to close instead of changing
// the file under it.
TEST_F(DropOnWindow, AFileHandedInWhileADialogIsOpenWaitsForIt) {
    const fs::path clip = Clip();
    ASSERT_FALSE(clip.empty());
    bool sawWaiting = false;
    // A plain modal window stands in for any dialog: the file arrives while it is up.
    rt::TForm modal(nullptr);
    modal.SetBounds(10, 10, 100, 60);
    auto* timer = new rt::TTimer(&modal);
    timer->SetInterval(10);
    timer->OnTimer = [&](rt::TComponent*) {
        timer->SetEnabled(false);
        form_->OpenFromOutside(clip.string());
        sawWaiting = form_->WaitingFile() == clip.string() && form_->FSourceFile.empty();
        modal.ModalResult = rt::mrOk;
    };
    modal.ShowModal();
    EXPECT_TRUE(sawWaiting);
    EXPECT_TRUE(rt::testing::WaitFor([&] { return form_->FSourceFile == clip.string(); }, 10000));
    EXPECT_EQ(form_->WaitingFile(), "");
}

// Sends one line on the instance socket and reads the answer line; "" when the connection ends
// without one.
std::string SocketRequest(const fs::path& socket, const std::string& line) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return "no socket";
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, socket.c_str(), sizeof addr.sun_path - 1);
    std::string answer;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
        std::size_t sent = 0;
        while (sent < line.size()) {
            const ssize_t n = ::send(fd, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) break;
            sent += std::size_t(n);
        }
        pollfd p{fd, POLLIN, 0};
        char c = 0;
        while (::poll(&p, 1, 20000) == 1 && ::read(fd, &c, 1) == 1) {
            answer += c;
            if (c == '\n') break;
        }
    } else {
        answer = "no connection";
    }
    ::close(fd);
    return answer;
}

// The build installed into a scratch prefix, with a user data folder and a runtime folder of
// the test's own and a display name no other test uses.
class Installed : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string install = std::string("'") + FRAMORA_CMAKE_COMMAND + "' --install '" +
                                    FRAMORA_BINARY_DIR + "' --prefix '" + prefix_.string() +
                                    "' >/dev/null";
        ASSERT_EQ(std::system(install.c_str()), 0);
        fs::create_directories(tmp_ / "run");
        fs::permissions(tmp_ / "run", fs::perms::owner_all, fs::perm_options::replace);
    }

    std::vector<std::string> Env(const std::string& display) const {
        return {"XDG_DATA_HOME=" + data_.string(), "XDG_RUNTIME_DIR=" + (tmp_ / "run").string(),
                "DISPLAY=" + display, "QT_QPA_PLATFORM=offscreen"};
    }
    std::set<fs::path> Tree(const fs::path& root) const {
        std::set<fs::path> files;
        for (const auto& e : fs::recursive_directory_iterator(root)) files.insert(e.path());
        return files;
    }
    static fs::path Clip(const std::string& name, const std::string& source) {
        return fixtures::Make(name, "-f lavfi -i " + source + " -t 5 -c:v mpeg4 -q:v 5");
    }

    testutil::TempDir tmp_{"framora-install"};
    const fs::path prefix_ = tmp_ / "prefix";
    const fs::path program_ = prefix_ / "bin/framora";
    const fs::path data_ = tmp_ / "data";
};

// The installed program finds its shipped files in the prefix, opens a file given on its
// command line, writes its previews and settings into the user's data folder and nothing into
// the prefix, and closes cleanly (settings written) when the session ends it.
TEST_F(Installed, RunsFromAScratchPrefix) {
    const fs::path share = prefix_ / "share";
    for (const fs::path& f :
         {program_, share / "framora/init.ini", share / "framora/noframe.jpg",
          share / "framora/Help/index.html", share / "applications/org.framora.Framora.desktop",
          share / "metainfo/org.framora.Framora.metainfo.xml",
          share / "icons/hicolor/scalable/apps/framora.svg", share / "man/man1/framora.1.gz",
          share / "doc/framora/copyright"})
        EXPECT_TRUE(fs::is_regular_file(f)) << f;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const fs::path png = share / "icons/hicolor" /
                             (std::to_string(size) + "x" + std::to_string(size)) /
                             "apps/framora.png";
        const std::string bytes = ReadAll(png);
        rt::TBitmap b;
        ASSERT_TRUE(rt::LoadPngBitmap(
            {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, b, rt::clFuchsia))
            << png;
        EXPECT_EQ(b.Width(), size);
    }
    EXPECT_FALSE(fs::exists(prefix_ / "bin/init.ini"));
    const std::set<fs::path> installed = Tree(prefix_);

    // The in-process view of the same layout: the shipped files are the prefix's.
    EXPECT_EQ(app::ShippedFilesDir((prefix_ / "bin").string()),
              (prefix_ / "share/framora/").string());

    const fs::path clip = Clip("install5.avi", "testsrc=size=160x120:rate=25");
    ASSERT_FALSE(clip.empty());
    // Started from elsewhere with a name relative to its current folder.
    const fs::path cwd = fs::current_path();
    fs::current_path(clip.parent_path());
    ChildGuard child(Spawn(program_, {clip.filename().string()}, Env(":desk-install")));
    fs::current_path(cwd);

    EXPECT_TRUE(WaitForFile(data_ / "framora/Frame1.bmp")) << "the file was not opened";
    ::kill(child.pid(), SIGTERM);
    EXPECT_EQ(WaitExit(child), 0);
    const std::string settings = ReadAll(data_ / "framora/framora.ini");
    EXPECT_NE(settings.find("[Options]"), std::string::npos) << settings;
    EXPECT_NE(settings.find("Skin=1"), std::string::npos) << settings;
    EXPECT_EQ(Tree(prefix_), installed) << "the program wrote into its installation";
}

// A later start with a file hands it to the running program over the instance socket and
// ends; the running one opens it. Requests that are not a proper file hand-over (garbage, a
// relative or non-UTF-8 name, a line over the cap) are refused and change nothing.
TEST_F(Installed, ASecondStartHandsItsFileToTheFirst) {
    const fs::path first = Clip("handover-first.avi", "testsrc=size=160x120:rate=25");
    const fs::path red = Clip("handover-red.avi", "color=c=red:size=160x120:rate=25");
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(red.empty());
    const fs::path frame1 = data_ / "framora/Frame1.bmp";
    auto centreIsRed = [&] {
        try {
            rt::TBitmap b;
            b.LoadFromFile(frame1.string());
            const std::uint32_t p = b.ScanLine(b.Height() / 2)[b.Width() / 2];
            return ((p >> 16) & 0xFF) > 200 && ((p >> 8) & 0xFF) < 60 && (p & 0xFF) < 60;
        } catch (const std::exception&) {
            return false;
        }
    };

    ChildGuard running(Spawn(program_, {first.string()}, Env(":desk-handover")));
    ASSERT_TRUE(WaitForFile(frame1)) << "the first start did not open its file";
    const fs::path socket = tmp_ / "run" / "Framora-_desk-handover";
    ASSERT_TRUE(WaitForFile(socket));

    struct Case {
        const char* name;
        std::string line;
        std::string answer;  // "" : the connection ends unanswered
    };
    const std::string tooLong = "open /" + std::string(rt::kMaxHandOverLine, 'a') + "\n";
    const Case cases[] = {
        {"garbage", "\x01\x02 hello\n", "unknown\n"},
        {"open without a file", "open\n", "unknown\n"},
        {"a relative name", "open clip.avi\n", "unknown\n"},
        {"a name that is not UTF-8", "open /tmp/\xff\xfe.avi\n", "unknown\n"},
        {"a bad escape", "open /tmp/%zz.avi\n", "unknown\n"},
        {"over the line cap", tooLong, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SocketRequest(socket, c.line), c.answer);
    }
    EXPECT_FALSE(centreIsRed());

    // The second start hands over its file and ends at once.
    ChildGuard second(Spawn(program_, {red.string()}, Env(":desk-handover")));
    EXPECT_EQ(WaitExit(second), 0);
    const auto until = Clock::now() + std::chrono::seconds(60);
    while (!centreIsRed() && Clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(centreIsRed()) << "the running program did not open the handed-over file";
    int status = 0;
    EXPECT_FALSE(running.TryWait(status)) << "the running program ended";
}

}  // namespace
