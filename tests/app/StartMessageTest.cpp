// A message given at start, before any window shows, is still the program's skinned box in the
// user's stored skin.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "app/MainFrm.h"
#include "app/StartMessage.h"
#include "common/TempDir.h"
#include "runtime/Application.h"
#include "runtime/Messages.h"
#include "runtime/SysUtils.h"

namespace fs = std::filesystem;

namespace {

// The main windows of the application; other tests of this program may keep one.
std::set<app::TMainForm*> MainForms() {
    std::set<app::TMainForm*> found;
    rt::TApplication* a = rt::Application();
    for (int i = 0; i < a->FormCount(); ++i)
        if (auto* f = dynamic_cast<app::TMainForm*>(a->Forms(i))) found.insert(f);
    return found;
}

TEST(StartMessage, ShowsInTheSkinnedBoxOfTheStoredSkinChoice) {
    testutil::TempDir tmp("framora-start");
    const std::string dir = tmp.path().string() + "/";
    fs::copy_file(fs::path(FRAMORA_SOURCE_DIR) / "resources/noframe.jpg", dir + "noframe.jpg");
    const std::string settings =
        dir + rt::ExtractFileName(app::SettingsFileFor(rt::ApplicationFileName()));
    std::ofstream(settings) << "[Options]\nSkin=3\n";

    const std::set<app::TMainForm*> before = MainForms();
    auto holderForm = [&]() -> app::TMainForm* {
        for (app::TMainForm* f : MainForms())
            if (before.count(f) == 0) return f;
        return nullptr;
    };
    bool asked = false;
    rt::Application()->MessageBoxHandler = [&](const std::string& text, const std::string& caption,
                                               int flags) {
        asked = true;
        EXPECT_EQ(text, "Already running");
        EXPECT_EQ(caption, "Framora");
        EXPECT_EQ(flags, rt::MB_OK | rt::MB_ICONWARNING);
        EXPECT_TRUE(rt::Application()->ProgramMessageBox != nullptr)
            << "the skinned box is the application's box meanwhile";
        app::TMainForm* holder = holderForm();
        EXPECT_NE(holder, nullptr);
        if (holder != nullptr) {
            EXPECT_FALSE(holder->Visible()) << "no window shows but the message";
            EXPECT_EQ(holder->skSkinData1->CompressedStoredSkin(), holder->Wistler)
                << "the stored choice 3";
        }
        return int(rt::mrOk);
    };
    EXPECT_EQ(app::ShowStartMessage("Already running", rt::MB_OK | rt::MB_ICONWARNING, dir),
              rt::mrOk);
    rt::Application()->MessageBoxHandler = nullptr;
    EXPECT_TRUE(asked);
    EXPECT_EQ(holderForm(), nullptr) << "the holding window goes with the message";
    EXPECT_TRUE(rt::Application()->ProgramMessageBox == nullptr);
    std::ifstream in(settings);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "[Options]\nSkin=3\n")
        << "the settings are only read";
}

}  // namespace
