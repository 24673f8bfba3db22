#include "app/AboutFrm.h"

#include <utility>

#include "app/Links.h"
#include "app/Resources.h"
#include "runtime/SysUtils.h"

namespace app {

namespace {

// Where text stops fitting a word-wrapped box of the font: the words before it, and the rest.
std::pair<std::string, std::string> SplitToFit(const std::string& text, const rt::TFont& font,
                                               int width, int height) {
    rt::TBitmap scratch(1, 1);
    rt::TCanvas& c = scratch.Canvas();
    c.Font = font;
    auto fits = [&](std::size_t end) {
        rt::TRect r = rt::Rect(0, 0, width, 0);
        c.DrawText(text.substr(0, end), r, rt::DT_CALCRECT | rt::DT_WORDBREAK | rt::DT_NOPREFIX);
        return r.Height() <= height;
    };
    std::size_t head = 0;
    for (std::size_t end = text.find(' '); head < text.size(); end = text.find(' ', end + 1)) {
        if (end == std::string::npos) end = text.size();
        if (!fits(end)) break;
        head = end;
    }
    return {text.substr(0, head), rt::Trim(text.substr(head))};
}

}  // namespace

TAboutForm::TAboutForm(rt::TComponent* owner, sk::TskSkinData* skinData, const std::string& appDir)
    : rt::TForm(owner) {
    SetName("AboutForm");
    appDir_ = appDir.empty() ? rt::ExtractFilePath(rt::ApplicationFileName()) : appDir;
    if (!appDir_.empty() && appDir_.back() != '/') appDir_ += '/';
    BuildLayout(skinData);
    BuildFrame(skinData);
    OnShow = [this](rt::TComponent* s) { FormShow(s); };
    DoCreate();
}

void TAboutForm::BuildLayout(sk::TskSkinData* skinData) {
    SetCaption("About");
    BorderStyle = rt::TFormBorderStyle::bsSingle;
    Position = rt::TPosition::poMainFormCenter;
    SetClientSize(kClientWidth, kClientHeight);

    auto place = [this](rt::TControl* c, const char* name, int l, int t, int w, int h) {
        c->SetName(name);
        c->SetBounds(l, t, w, h);
        c->SetParent(this);
    };
    auto label = [&](const char* name, const std::string& caption, int l, int t, int w, int h) {
        auto* lb = new rt::TLabel(this);
        // The window's background (a skin's client picture) shows around the text.
        lb->SetTransparent(true);
        lb->SetCaption(caption);
        place(lb, name, l, t, w, h);
        return lb;
    };

    Image1 = new rt::TImage(this);
    Image1->Transparent = true;
    Image1->SetPicture(ProgramIcon());
    place(Image1, "Image1", 31, 9, 32, 32);

    Label7 = label("Label7", kDefaultVersion, 98, 16, 140, 16);
    rt::TFont bold = Label7->Font();
    bold.Style = rt::fsBold;
    bold.Size = 10;
    Label7->SetFont(bold);

    skSkinButton1 = new sk::TskSkinButton(this);
    skSkinButton1->SetCaption("&OK");
    skSkinButton1->SetDefault(true);
    skSkinButton1->Cancel = true;
    skSkinButton1->ModalResult = rt::mrOk;
    place(skSkinButton1, "skSkinButton1", 272, 13, 57, 25);
    skSkinButton1->SetSkinData(skinData);
    skSkinButton1->OnClick = [this](rt::TComponent* s) { skSkinButton1Click(s); };

    auto bevel = [&](const char* name, int t) {
        auto* b = new sk::TskSkinBevel(this);
        b->SetShape(rt::TBevelShape::bsTopLine);
        place(b, name, 8, t, 329, 2);
        b->SetSkinData(skinData);
        return b;
    };
    Bevel1 = bevel("Bevel1", 48);

    auto link = [&](const char* name, const char* caption, int l, int t,
                    void (TAboutForm::*handler)(rt::TComponent*)) {
        rt::TLabel* lb = label(name, caption, l, t, 0, 0);
        rt::TFont f = lb->Font();
        f.Color = rt::clBlue;
        f.Style = rt::fsUnderline;
        lb->SetFont(f);
        lb->SetCursor(rt::TCursor::crHandPoint);
        lb->OnClick = [this, handler](rt::TComponent* s) { (this->*handler)(s); };
        return lb;
    };
    // The two links share one left edge.
    Label9 = link("Label9", "Visite Homepage", 117, 80, &TAboutForm::Label9Click);
    Label10 = link("Label10", "Technical support", 117, 99, &TAboutForm::Label10Click);

    Bevel2 = bevel("Bevel2", 163);

    auto legal = [&](const char* name, int l, int t, int w, int h) {
        rt::TLabel* lb = label(name, "", l, t, w, h);
        lb->SetAutoSize(false);
        lb->SetWordWrap(true);
        lb->SetBounds(l, t, w, h);
        return lb;
    };
    Label12 = legal("Label12", 8, 169, 321, 39);
    Label13 = legal("Label13", 8, 208, 303, 26);
    // One warning, read on from the first label into the second without a gap between them.
    auto [head, rest] =
        SplitToFit(kLegalWarning, Label12->Font(), Label12->Width(), Label12->Height());
    Label12->SetCaption(head);
    Label13->SetCaption(rest);
    // Lines are shorter than the first label: its text sits on the second, so that the lines
    // keep one spacing across the two.
    Label12->SetLayout(rt::TTextLayout::tlBottom);
}

void TAboutForm::BuildFrame(sk::TskSkinData* skinData) {
    skSkinForm1 = new sk::TskSkinForm(this);
    skSkinForm1->SetName("skSkinForm1");
    skSkinForm1->SetBorderIcons(sk::biSystemMenu | sk::biRollUp);
    skSkinForm1->SetShowIcon(false);
    skSkinForm1->SetAlphaBlend(false);
    skSkinForm1->AlphaBlendAnimation = false;
    skSkinForm1->MaximizeOnFullScreen = false;
    skSkinForm1->ShowObjectHint = false;
    skSkinForm1->UseDefaultSysMenu = true;
    // Each skin's frame has its own margins: the window keeps its designed client area.
    skSkinForm1->OnChangeSkinData = [this](rt::TComponent*) {
        if (!skSkinForm1->RollUpState() &&
            skSkinForm1->WindowState() == sk::TskWindowState::wsNormal)
            SetClientSize(kClientWidth, kClientHeight);
    };
    skSkinForm1->SetSkinData(skinData);
    skSkinForm1->SetMenusSkinData(skinData);
}

void TAboutForm::FormShow(rt::TComponent*) { Label7->SetCaption(VersionText(appDir_)); }

void TAboutForm::skSkinButton1Click(rt::TComponent*) { Close(); }

void TAboutForm::Label9Click(rt::TComponent*) { OpenLink(HomepageUrl(appDir_)); }

void TAboutForm::Label10Click(rt::TComponent*) { OpenLink(SupportUrl(appDir_)); }

}  // namespace app
