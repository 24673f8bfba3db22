#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/AboutFrm.h"
#include "app/Links.h"
#include "app/MainFrm.h"
#include "common/TempDir.h"
#include "runtime/Application.h"
#include "runtime/ExtCtrls.h"
#include "runtime/Graphics.h"
#include "runtime/SysUtils.h"
#include "runtime/testing/TestInput.h"

namespace fs = std::filesystem;

namespace {

// The modal result a test gives when its input did not close the window.
constexpr int kStuck = 99;

// A program folder of its own, with what the desktop would open and what the program would say
// recorded instead.
class ProgramFolder : public ::testing::Test {
protected:
    void SetUp() override {
        tmp_ = std::make_unique<testutil::TempDir>("framora-about");
        dir_ = tmp_->path().string() + "/";
        rt::ShellOpenHandler = [this](const std::string& target) {
            opened_.push_back(target);
            return desktopOpens_;
        };
        rt::Application()->MessageBoxHandler = [this](const std::string& text, const std::string&,
                                                      int) {
            messages_.push_back(text);
            return int(rt::mrOk);
        };
    }

    void TearDown() override {
        rt::ShellOpenHandler = nullptr;
        rt::Application()->MessageBoxHandler = nullptr;
        tmp_.reset();
    }

    void WriteInit(const std::string& text) const { std::ofstream(dir_ + "init.ini") << text; }

    std::unique_ptr<testutil::TempDir> tmp_;
    std::string dir_;
    std::vector<std::string> opened_;
    std::vector<std::string> messages_;
    bool desktopOpens_ = true;
};

TEST_F(ProgramFolder, VersionComesFromInitIniElseTheDefault) {
    EXPECT_EQ(app::VersionText(dir_), "Framora 1.0") << "no file";
    WriteInit("[software]\nhomepage=framora.test\n");
    EXPECT_EQ(app::VersionText(dir_), "Framora 1.0") << "no key";
    WriteInit("[other]\nversion=Other 3\n[software]\nversion=Framora 2.1 beta\n");
    EXPECT_EQ(app::VersionText(dir_), "Framora 2.1 beta");
    WriteInit(std::string("\xEF\xBB\xBF[software]\r\nversion=Framora 2.2\r\n"));
    EXPECT_EQ(app::VersionText(dir_), "Framora 2.2") << "BOM and CR LF line ends";
}

TEST(LinkUrl, OpensOnlyWebPagesAndMail) {
    const std::pair<const char*, const char*> cases[] = {
        {"https://framora.test/", "https://framora.test/"},
        {"  HTTP://framora.test/a  ", "HTTP://framora.test/a"},
        {"framora.test/download", "https://framora.test/download"},
        {"help@framora.test", "mailto:help@framora.test"},
        {"mailto:help@framora.test?subject=Framora", "mailto:help@framora.test?subject=Framora"},
        {"", ""},
        {"https://", ""},
        {"file:///etc/passwd", ""},
        {"javascript:alert(1)", ""},
        {"smb://server/share", ""},
        {"framora.test/a b", ""},
        {"/usr/bin/xterm", ""},
        {"-framora.test", ""},
    };
    for (const auto& [value, url] : cases) EXPECT_EQ(app::LinkUrl(value), url) << value;
}

TEST_F(ProgramFolder, ALinkWithoutAddressSaysSoAndOpensNothing) {
    app::OpenLink(app::HomepageUrl(dir_));
    app::OpenLink(app::SupportUrl(dir_));
    EXPECT_TRUE(opened_.empty());
    EXPECT_EQ(messages_, std::vector<std::string>(2, app::kNoAddressMessage)) << "no init.ini";

    messages_.clear();
    WriteInit("[software]\nhomepage=\nsupport=help@framora.test\n");
    app::OpenLink(app::HomepageUrl(dir_));
    app::OpenLink(app::SupportUrl(dir_));
    EXPECT_EQ(messages_, std::vector<std::string>{app::kNoAddressMessage}) << "empty homepage";
    EXPECT_EQ(opened_, std::vector<std::string>{"mailto:help@framora.test"});
}

TEST_F(ProgramFolder, TheShippedInitIniNamesTheDefaultVersionAndNoAddress) {
    fs::copy_file(fs::path(FRAMORA_SOURCE_DIR) / "resources/init.ini", dir_ + "init.ini");
    EXPECT_EQ(app::VersionText(dir_), "Framora 1.0");
    EXPECT_EQ(app::HomepageUrl(dir_), "");
    EXPECT_EQ(app::SupportUrl(dir_), "");
}

TEST_F(ProgramFolder, HelpOpensThePageBesideTheProgramOrNothing) {
    app::OpenHelp(dir_);
    fs::create_directory(dir_ + "Help");
    app::OpenHelp(dir_);
    EXPECT_TRUE(opened_.empty());
    EXPECT_TRUE(messages_.empty()) << "a missing help says nothing";

    std::ofstream(dir_ + "Help/index.html") << "<html></html>";
    app::OpenHelp(dir_);
    EXPECT_EQ(opened_, std::vector<std::string>{dir_ + "Help/index.html"});
    EXPECT_TRUE(messages_.empty());
}

TEST_F(ProgramFolder, ADesktopThatCannotOpenTheTargetIsReported) {
    desktopOpens_ = false;
    fs::create_directory(dir_ + "Help");
    std::ofstream(dir_ + "Help/index.html") << "<html></html>";
    app::OpenHelp(dir_);
    app::OpenLink("https://framora.test/");
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[0],
              "Cannot open \"" + dir_ + "Help/index.html\": no program on this desktop opens it.");
    EXPECT_EQ(messages_[1],
              "Cannot open \"https://framora.test/\": no program on this desktop opens it.");
}

// The About window beside a main window that is the application's main form, as in the
// program. The application keeps its forms until it ends, so one main window serves every test.
class AboutWindow : public ProgramFolder {
protected:
    static void SetUpTestSuite() {
        if (main_ != nullptr) return;
        mainDir_ = new testutil::TempDir("framora-about-main");
        fs::copy_file(fs::path(FRAMORA_SOURCE_DIR) / "resources/noframe.jpg",
                      mainDir_->path() / "noframe.jpg");
        main_ = rt::Application()->CreateForm<app::TMainForm>(mainDir_->path().string() + "/");
    }

    void SetUp() override {
        ProgramFolder::SetUp();
        // The main window and the About window read one program folder, as in the program.
        dir_ = main_->FAppDir;
        ASSERT_EQ(rt::Application()->MainForm(), main_);
        main_->SetBounds(60, 40, main_->Width(), main_->Height());
        main_->Show();
        about_ = std::make_unique<app::TAboutForm>(nullptr, main_->skSkinData1, dir_);
        main_->AboutForm = about_.get();
    }

    void TearDown() override {
        main_->AboutForm = nullptr;
        about_.reset();
        main_->Hide();
        fs::remove(dir_ + "init.ini");
        ProgramFolder::TearDown();
    }

    // Runs `inside` once the About window has opened from `open` and holds the keyboard, and
    // returns the modal result.
    int WhileOpen(const std::function<void()>& open, const std::function<void()>& inside) {
        rt::TTimer timer(nullptr);
        timer.SetInterval(1);
        int waits = 0;
        timer.OnTimer = [&](rt::TComponent*) {
            // A loaded machine may take a while to hand the keyboard over.
            const bool ready = about_->Visible() && rt::testing::ActiveWindow() == about_.get();
            if (!ready && ++waits < 5000) return;
            timer.SetEnabled(false);
            EXPECT_TRUE(ready) << "the About window never became active";
            if (ready) inside();
            // Should the test's input go astray, end the loop instead of waiting for ever.
            if (about_->ModalResult == rt::mrNone) {
                ADD_FAILURE() << "the About window stayed open";
                about_->ModalResult = kStuck;
            }
        };
        open();
        return about_->ModalResult;
    }

    rt::TPoint CentreOf(rt::TControl& c) const {
        return c.ClientToScreen(rt::TPoint{c.Width() / 2, c.Height() / 2});
    }

    static inline testutil::TempDir* mainDir_ = nullptr;
    static inline app::TMainForm* main_ = nullptr;
    std::unique_ptr<app::TAboutForm> about_;
};

TEST_F(AboutWindow, KeepsItsClientAreaInEverySkin) {
    for (const app::TMainForm::TSkinChoice& c : app::TMainForm::SkinChoices()) {
        const char* name = c.Name;
        (main_->*c.Click)(nullptr);
        EXPECT_EQ(about_->ClientWidth(), 344) << name;
        EXPECT_EQ(about_->ClientHeight(), 239) << name;
        EXPECT_EQ(about_->skSkinButton1->SkinData(), main_->skSkinData1) << name;
    }
    main_->mSkinWinAquaClick(nullptr);
}

TEST_F(AboutWindow, EveryTextFitsItsLabel) {
    WriteInit("[software]\nversion=Framora 2.1 beta\n");
    about_->FormShow(about_.get());
    about_->Hide();
    rt::TBitmap scratch(1, 1);
    for (rt::TLabel* l :
         {about_->Label7, about_->Label9, about_->Label10, about_->Label12, about_->Label13}) {
        scratch.Canvas().Font = l->Font();
        rt::TRect need = rt::Rect(0, 0, l->Width(), 0);
        scratch.Canvas().DrawText(l->Caption(), need,
                                  rt::DT_CALCRECT | (l->WordWrap() ? rt::DT_WORDBREAK : 0u));
        EXPECT_LE(need.Width(), l->Width()) << l->Name();
        EXPECT_LE(need.Height(), l->Height()) << l->Name();
        EXPECT_LE(l->Left() + l->Width(), about_->ClientWidth()) << l->Name();
        EXPECT_LE(l->Top() + l->Height(), about_->ClientHeight()) << l->Name();
    }
    EXPECT_LE(about_->Label7->Left() + about_->Label7->Width(), about_->skSkinButton1->Left())
        << "the version runs into the OK button";

    // The warning reads on from one label into the next: nothing lost, and no gap that the
    // first label's next line could have filled.
    const std::string head = about_->Label12->Caption(), rest = about_->Label13->Caption();
    ASSERT_FALSE(rest.empty()) << "the warning fills the first label";
    EXPECT_EQ(head + " " + rest, app::kLegalWarning);
    scratch.Canvas().Font = about_->Label12->Font();
    rt::TRect more = rt::Rect(0, 0, about_->Label12->Width(), 0);
    scratch.Canvas().DrawText(head + " " + rest.substr(0, rest.find(' ')), more,
                              rt::DT_CALCRECT | rt::DT_WORDBREAK);
    EXPECT_GT(more.Height(), about_->Label12->Height());
}

TEST_F(AboutWindow, OpensModallyCentredOnTheMainWindowFromMenuAndButton) {
    WriteInit("[software]\nversion=Framora 2.1 beta\n");
    const rt::TRect m = main_->BoundsRect();
    auto opened = [&] {
        EXPECT_TRUE(about_->Visible());
        const rt::TRect a = about_->BoundsRect();
        EXPECT_LE(std::abs((a.Left + a.Right) - (m.Left + m.Right)), 1);
        EXPECT_LE(std::abs((a.Top + a.Bottom) - (m.Top + m.Bottom)), 1);
        EXPECT_EQ(about_->Label7->Caption(), "Framora 2.1 beta");
        rt::testing::KeyClick(rt::VK_RETURN);
    };
    EXPECT_EQ(WhileOpen([&] { main_->About1->Click(); }, opened), rt::mrOk) << "Help > About...";
    EXPECT_FALSE(about_->Visible());

    // The version is read again at the next showing; Esc closes it too.
    WriteInit("[software]\nversion=Framora 2.2\n");
    EXPECT_NE(WhileOpen([&] { main_->skSkinSpeedButton5->Click(); },
                        [&] {
                            EXPECT_EQ(about_->Label7->Caption(), "Framora 2.2");
                            rt::testing::KeyClick(rt::VK_ESCAPE);
                        }),
              kStuck)
        << "the About button";
    EXPECT_FALSE(about_->Visible());

    fs::remove(dir_ + "init.ini");
    EXPECT_EQ(WhileOpen([&] { main_->About1->Click(); },
                        [&] {
                            EXPECT_EQ(about_->Label7->Caption(), "Framora 1.0");
                            rt::testing::MouseClick(CentreOf(*about_->skSkinButton1));
                        }),
              rt::mrOk)
        << "OK clicked";
}

TEST_F(AboutWindow, HelpMenuOpensTheSameAddressesAsTheAboutWindow) {
    WriteInit("[software]\nhomepage=framora.test\n");
    main_->Visithomepage1->Click();
    main_->Support1->Click();
    main_->Applictation1->Click();
    EXPECT_EQ(opened_, std::vector<std::string>{"https://framora.test"});
    EXPECT_EQ(messages_, std::vector<std::string>{app::kNoAddressMessage}) << "no support address";

    // With the help page beside the program, Help > Application help and F1 open it.
    fs::create_directory(dir_ + "Help");
    std::ofstream(dir_ + "Help/index.html") << "<html></html>";
    opened_.clear();
    main_->Applictation1->Click();
    EXPECT_TRUE(main_->OnShortCut(main_, rt::VK_F1, 0));
    fs::remove_all(dir_ + "Help");
    EXPECT_EQ(opened_, (std::vector<std::string>(2, dir_ + "Help/index.html")));
}

TEST_F(AboutWindow, LinkLabelsOpenTheConfiguredAddresses) {
    WriteInit("[software]\nhomepage=https://framora.test/\nsupport=help@framora.test\n");
    WhileOpen([&] { main_->About1->Click(); },
              [&] {
                  EXPECT_EQ(rt::testing::CursorAt(CentreOf(*about_->Label9)),
                            rt::TCursor::crHandPoint);
                  rt::testing::MouseClick(CentreOf(*about_->Label9));
                  rt::testing::MouseClick(CentreOf(*about_->Label10));
                  about_->ModalResult = rt::mrOk;
              });
    EXPECT_EQ(opened_,
              (std::vector<std::string>{"https://framora.test/", "mailto:help@framora.test"}));
    EXPECT_TRUE(messages_.empty());
}

}  // namespace
