// Closing the program when its settings cannot be written: the user is told which file and
// why, and the program still ends (before, it stayed on hidden, holding the single-instance
// lock, and every later start woke it and ended without a window). Each case runs the program's
// own close in a process of its own, which must end by itself.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "app/MainFrm.h"
#include "common/DeviceNode.h"
#include "common/FileSizeLimit.h"
#include "common/TempDir.h"
#include "runtime/Application.h"
#include "runtime/Menus.h"

namespace fs = std::filesystem;

namespace {

struct Case {
    const char* what;
    // Makes the settings file unwritable; runs once the window is up.
    std::function<void(const fs::path& settings)> spoil;
    int error;  // the system's reason the message must give, or 0 for `reason`
    const char* reason;
    bool needsNonRoot;
};

// Runs the program's window as its main form, closes it from its own loop and reports what the
// user was told on stderr; ends the process with 0 once the loop is over.
[[noreturn]] void CloseProgram(const Case& c) {
    ::alarm(60);  // a program that does not end fails the case rather than hanging the test
    testutil::TempDir dir("framora-close");
    fs::copy_file(fs::path(FRAMORA_SOURCE_DIR) / "resources/noframe.jpg",
                  dir.path() / "noframe.jpg");
    std::string told;
    rt::Application()->MessageBoxHandler = [&](const std::string& text, const std::string&, int) {
        told += text + "\n";
        return int(rt::mrOk);
    };
    auto* form = rt::Application()->CreateForm<app::TMainForm>(dir.path().string() + "/");
    form->Show();
    c.spoil(form->SettingsFile());
    testutil::FileSizeLimit* full = nullptr;
    if (c.error == EFBIG) full = new testutil::FileSizeLimit(0);
    rt::TTimer timer(nullptr);
    timer.SetInterval(1);
    timer.OnTimer = [&](rt::TComponent*) {
        timer.SetEnabled(false);
        form->Close();
    };
    timer.SetEnabled(true);
    rt::Application()->Run();
    delete full;
    std::fprintf(stderr, "told: %s", told.c_str());
    std::fprintf(stderr, "window %s, loop ended\n", form->Visible() ? "shown" : "hidden");
    std::fflush(stderr);
    // Nothing below main's frame runs after this: the folder goes now.
    std::error_code ec;
    fs::permissions(dir.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir.path(), ec);
    ::_exit(0);
}

TEST(ClosingWithUnwritableSettings, ToldWhyAndTheProgramEnds) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const Case cases[] = {
        {"a folder in the settings file's place",
         [](const fs::path& p) { fs::create_directory(p); }, EISDIR, nullptr, false},
        {"a link into a missing folder",
         [](const fs::path& p) { fs::create_symlink(p.parent_path() / "gone" / "x.ini", p); },
         ENOENT, nullptr, false},
        {"a link to a device",
         [](const fs::path& p) {
             fs::create_symlink(testutil::DeviceForLinks(p.parent_path()), p);
         },
         0, "It is a device, not a file", false},
        {"a full disk", [](const fs::path&) {}, EFBIG, nullptr, false},
        {"a read-only program folder",
         [](const fs::path& p) {
             fs::permissions(p.parent_path(), fs::perms::owner_read | fs::perms::owner_exec,
                             fs::perm_options::replace);
         },
         EACCES, nullptr, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsNonRoot && ::geteuid() == 0) continue;  // root writes anyway
        if (c.reason != nullptr) {
            testutil::TempDir probe("framora-close");
            if (testutil::DeviceForLinks(probe.path()).empty()) continue;  // no device to use
        }
        const std::string reason = c.reason != nullptr ? c.reason : std::strerror(c.error);
        EXPECT_EXIT(CloseProgram(c), ::testing::ExitedWithCode(0),
                    "told: The settings could not be saved.*app_tests\\.ini: " + reason +
                        ".*window hidden, loop ended");
    }
}

}  // namespace
