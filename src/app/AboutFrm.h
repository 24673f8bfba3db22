#pragma once
// The About window: the program's icon, name and version, links to the homepage and to
// support, and a legal warning. Made hidden once, after the main window whose skin it
// paints with, and shown modally from the Help menu and the About button.

#include <string>

#include "runtime/Controls.h"
#include "runtime/ExtCtrls.h"
#include "runtime/StdCtrls.h"
#include "skin/controls/skSkinButton.h"
#include "skin/controls/skSkinSplitter.h"
#include "skin/data/skSkinData.h"
#include "skin/form/skSkinForm.h"

namespace app {

// The legal warning under the links.
constexpr const char* kLegalWarning =
    "Warning: Framora is protected by copyright law. Copying, selling or passing on this program "
    "or any part of it, other than as its licence allows, is not permitted and may lead to civil "
    "and criminal penalties; unauthorised copies will be prosecuted as far as the law allows.";

class TAboutForm : public rt::TForm {
public:
    // skinData: the main window's skin; appDir: the program folder with its trailing
    // separator, empty for the running program's.
    TAboutForm(rt::TComponent* owner, sk::TskSkinData* skinData, const std::string& appDir = {});

    // The frame, drawn from the main window's skin: system-menu and roll-up buttons, no icon.
    sk::TskSkinForm* skSkinForm1;
    rt::TImage* Image1;
    rt::TLabel* Label7;
    sk::TskSkinButton* skSkinButton1;
    sk::TskSkinBevel* Bevel1;
    rt::TLabel* Label9;
    rt::TLabel* Label10;
    sk::TskSkinBevel* Bevel2;
    rt::TLabel* Label12;
    rt::TLabel* Label13;

    // Reads the version text at every showing.
    void FormShow(rt::TComponent* sender);
    void skSkinButton1Click(rt::TComponent* sender);
    void Label9Click(rt::TComponent* sender);
    void Label10Click(rt::TComponent* sender);

    const std::string& AppDir() const { return appDir_; }

    static constexpr int kClientWidth = 344;
    static constexpr int kClientHeight = 239;

private:
    void BuildLayout(sk::TskSkinData* skinData);
    void BuildFrame(sk::TskSkinData* skinData);

    std::string appDir_;
};

}  // namespace app
