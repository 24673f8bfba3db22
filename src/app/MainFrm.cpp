#include "app/MainFrm.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string_view>
#include <vector>

#include "BuiltinSkins.h"
#include "app/AboutFrm.h"
#include "app/Links.h"
#include "app/ProgramFiles.h"
#include "app/Resources.h"
#include "media/CutJob.h"
#include "runtime/Application.h"
#include "runtime/Desktop.h"
#include "runtime/IniFiles.h"
#include "runtime/SysUtils.h"

namespace app {

namespace {

constexpr const char* kCaption = "Framora";
constexpr const char* kMediaFilter =
    "All files (*.avi,*.mpg,*.mpeg)|*.avi;*.mpg;*.mpeg|AVI files (*.avi)|*.avi|MPEG files "
    "(*.mpg,*.mpeg)|*.mpg;*.mpeg";
constexpr int kPreviewWidth = 360;
constexpr int kPreviewHeight = 270;
constexpr int kToolFontHeight = 12;
// Between a tool button's glyph and its caption.
constexpr int kGlyphSpacing = 2;
// The size the pictures are shown at, in their lowered panels.
constexpr int kPictureWidth = 233;
constexpr int kPictureHeight = 177;
// The pictures inside their panels' lowered borders.
constexpr int kImageWidth = 231;
constexpr int kImageHeight = 175;
constexpr const char* kNoPicturesText = "This file has no pictures";
// The two mark buttons are 8 pixels wider than first laid out (the buttons after them move
// along by 16), so that "Mark Start Point" and its glyph keep clear of the button's edges.
constexpr int kMarkButtonWidth = 105;
// The track bar, a little wider than the pictures so its thumb's centre can reach their edges.
constexpr int kTrackLeft = 19, kTrackWidth = 491, kThumbLength = 12;
// The position readout: right-aligned with the picture panels' right edge, between the markers
// under the track bar and the buttons.
constexpr int kReadoutLeft = 360, kReadoutRight = 505, kReadoutTop = 266, kReadoutHeight = 13;
constexpr int kReadoutFontHeight = 12;
// The designed client area, kept in every skin's frame.
constexpr int kClientWidth = 532;
constexpr int kClientHeight = 336;

}  // namespace

// One stored skin, menu item and handler per built-in skin, in the table's order; the names
// the window's members carry are checked against it, so a skin added to the build without its
// member, or two swapped, stops the build.
constexpr TMainForm::TSkinChoice kSkinChoices[] = {
    {sk::kBuiltinSkins[0].Name, &TMainForm::WinAqua, &TMainForm::mSkinWinAqua,
     &TMainForm::mSkinWinAquaClick},
    {sk::kBuiltinSkins[1].Name, &TMainForm::Winxpblue, &TMainForm::mSkinWinxpblue,
     &TMainForm::mSkinWinxpblueClick},
    {sk::kBuiltinSkins[2].Name, &TMainForm::Wistler, &TMainForm::mSkinWistler,
     &TMainForm::mSkinWistlerClick},
    {"No Skin", nullptr, &TMainForm::mSkinNoSkin, &TMainForm::mSkinNoSkinClick}};
static_assert(std::size(sk::kBuiltinSkins) == std::size(kSkinChoices) - 1);
static_assert(std::string_view(sk::kBuiltinSkins[0].Name) == "WinAqua" &&
              std::string_view(sk::kBuiltinSkins[1].Name) == "Winxpblue" &&
              std::string_view(sk::kBuiltinSkins[2].Name) == "Wistler");

std::string SettingsFileFor(const std::string& programFile) {
    return rt::ChangeFileExt(
        rt::ExtractFilePath(programFile) + rt::LowerCase(rt::ExtractFileName(programFile)), ".ini");
}

rt::TRect FitAspect(int width, int height, double aspect) {
    if (!(aspect > 0.0) || width <= 0 || height <= 0) return rt::Rect(0, 0, width, height);
    // Measured in doubles first: an absurd aspect from a damaged file must not overflow.
    const double fullWidthHeight = double(width) / aspect;
    int w = width, h = height;
    if (fullWidthHeight <= double(height))
        h = std::max(1, int(std::lround(fullWidthHeight)));
    else
        w = std::clamp(int(std::lround(double(height) * aspect)), 1, width);
    return rt::Bounds((width - w) / 2, (height - h) / 2, w, h);
}

std::string OpenFailureText(const std::string& file, const std::string& reason) {
    const std::string head = "Cannot open \"" + file + "\"";
    std::string why = reason;
    if (why.compare(0, head.size(), head) == 0) {
        why.erase(0, head.size());
        why.erase(0, why.find_first_not_of(":. "));
    }
    if (!why.empty() && why[0] >= 'a' && why[0] <= 'z') why[0] = char(why[0] - 'a' + 'A');
    if (!why.empty() && why.back() != '.') why += '.';
    return why.empty() ? head + "." : head + ".\n" + why;
}

std::string TimeText(int seconds, bool hours) {
    seconds = std::max(0, seconds);
    const int h = seconds / 3600, m = seconds / 60 % 60, sec = seconds % 60;
    char buf[32];
    if (hours || h > 0)
        std::snprintf(buf, sizeof buf, "%d:%02d:%02d", h, m, sec);
    else
        std::snprintf(buf, sizeof buf, "%d:%02d", m, sec);
    return buf;
}

std::string ReadoutText(int position, int length) {
    // Both in one form, hours shown when the length needs them, so the text does not jump.
    const bool hours = length >= 3600;
    return TimeText(position, hours) + " / " + TimeText(length, hours);
}

int MarkerLeft(int width, int maximum, int value) {
    if (maximum == 0) return 25;
    // nearbyint rounds halves to the even neighbour under the default rounding mode.
    return int(std::nearbyint(double(width - 15) / double(maximum) * double(value))) + 25;
}

namespace {

// Names a control, sets its bounds and puts it on its parent.
void Place(rt::TControl* c, const char* name, int l, int t, int w, int h, rt::TWinControl* parent) {
    c->SetName(name);
    c->SetBounds(l, t, w, h);
    c->SetParent(parent);
}

}  // namespace

TMainForm::TMainForm(rt::TComponent* owner, const std::string& appDir) : rt::TForm(owner) {
    SetName("MainForm");
    WindowClassName = "Framora";
    FocusFirstOnShow = false;
    FAppDir = appDir.empty() ? rt::ExtractFilePath(rt::ApplicationFileName()) : appDir;
    if (!FAppDir.empty() && FAppDir.back() != '/') FAppDir += '/';
    FFilesDir = ShippedFilesDir(FAppDir);
    BuildLayout();
    rt::AcceptDroppedFiles(
        *this, [this](const std::vector<std::string>& files) { OpenFromOutside(files.front()); });
    waitingTimer_ = new rt::TTimer(this);
    waitingTimer_->SetEnabled(false);
    waitingTimer_->SetInterval(50);
    waitingTimer_->OnTimer = [this](rt::TComponent*) { OpenWaitingFile(); };
    OnCreate = [this](rt::TComponent* s) { FormCreate(s); };
    OnClose = [this](rt::TComponent* s, rt::TCloseAction& a) { FormClose(s, a); };
    DoCreate();
    // Esc stops a running cut before any other use of the key.
    OnShortCut = [this, next = OnShortCut](rt::TComponent* s, int key, rt::TShiftState shift) {
        if (key == rt::VK_ESCAPE && StopCut()) return true;
        return next ? next(s, key, shift) : false;
    };
}

TMainForm::~TMainForm() {
    // The media detector goes first; the form's components follow in the base destructor.
    FormDestroy(this);
}

void TMainForm::BuildMenus() {
    skSkinMainMenu1 = new sk::TskSkinMainMenu(this);
    auto item = [this](rt::TMenuItem* parent, const std::string& caption,
                       void (TMainForm::*handler)(rt::TComponent*)) {
        auto* m = new rt::TMenuItem(this);
        m->Caption = caption;
        if (handler != nullptr)
            m->OnClick = [this, handler](rt::TComponent* s) { (this->*handler)(s); };
        parent->Add(m);
        return m;
    };
    File1 = item(skSkinMainMenu1->Items(), "&File", nullptr);
    Open1 = item(File1, "Open", &TMainForm::Open1Click);
    Open1->ShortCut = rt::ShortCut('O', rt::ssCtrl);
    Close1 = item(File1, "Close", &TMainForm::Close1Click);
    Close1->ShortCut = rt::ShortCut('W', rt::ssCtrl);
    item(File1, "-", nullptr);
    Exit1 = item(File1, "Exit", &TMainForm::Exit1Click);
    Exit1->ShortCut = rt::ShortCut(rt::VK_F4, rt::ssAlt);
    Help1 = item(skSkinMainMenu1->Items(), "&Help", nullptr);
    Applictation1 = item(Help1, "Application help", &TMainForm::Applictation1Click);
    Applictation1->ShortCut = rt::ShortCut(rt::VK_F1, 0);
    item(Help1, "-", nullptr);
    Visithomepage1 = item(Help1, "Visit homepage ->", &TMainForm::Visithomepage1Click);
    Support1 = item(Help1, "Support", &TMainForm::Support1Click);
    item(Help1, "-", nullptr);
    About1 = item(Help1, "About...", &TMainForm::About1Click);

    skSkinPopupMenu1 = new sk::TskSkinPopupMenu(this);
    for (const TSkinChoice& c : kSkinChoices) {
        // A line parts the built-in skins from "No Skin".
        if (c.Stored == nullptr) item(skSkinPopupMenu1->Items(), "-", nullptr);
        rt::TMenuItem* m = item(skSkinPopupMenu1->Items(), c.Name, c.Click);
        m->RadioItem = true;
        this->*c.Item = m;
    }
    (this->*kSkinChoices[0].Item)->SetChecked(true);
}

void TMainForm::BuildLayout() {
    SetCaption(kCaption);
    // Installed before the skinned frame, which runs the menus' short cuts first and then this.
    OnShortCut = [this](rt::TComponent*, int key, rt::TShiftState shift) {
        return KeyCommand(key, shift);
    };
    BorderStyle = rt::TFormBorderStyle::bsSingle;
    Position = rt::TPosition::poScreenCenter;
    SetClientSize(kClientWidth, kClientHeight);
    BuildMenus();
    skSkinData1 = new sk::TskSkinData(this);
    skSkinData1->SetName("skSkinData1");
    BuildFrame();
    BuildSkins();
    BuildPictures();
    BuildTrackBar();
    BuildButtons();
    BuildGaugeAndDialogs();
    // The designed state: the first built-in skin, loaded while the window is created.
    skSkinData1->SetCompressedStoredSkin(this->*kSkinChoices[0].Stored);
    UpdateCommands();
}

// The message box and the built-in skins' containers.
void TMainForm::BuildSkins() {
    skSkinMessage1 = new sk::TskSkinMessage(this);
    skSkinMessage1->SetName("skSkinMessage1");
    skSkinMessage1->SetSkinData(skSkinData1);
    skSkinMessage1->SetCtrlSkinData(skSkinData1);
    skSkinMessage1->InstallAsApplicationMessageBox();
    auto stored = [this](const char* name, const std::vector<std::uint8_t>& bytes) {
        auto* c = new sk::TskCompressedStoredSkin(this);
        c->SetName(name);
        c->SetFileName("skin.ini");
        rt::TMemoryStream s;
        s.WriteBuffer(bytes.data(), std::int64_t(bytes.size()));
        s.SetPosition(0);
        c->ReadFormProperty(s);
        return c;
    };
    for (std::size_t i = 0; i < std::size(sk::kBuiltinSkins); ++i)
        this->*kSkinChoices[i].Stored =
            stored(sk::kBuiltinSkins[i].Name, sk::kBuiltinSkins[i].Bytes());
}

// The menu bar, and the two picture panels with their captions.
void TMainForm::BuildPictures() {
    skSkinMainMenuBar1 = new sk::TskSkinMainMenuBar(this);
    Place(skSkinMainMenuBar1, "skSkinMainMenuBar1", 0, 0, 532, 22, this);
    skSkinMainMenuBar1->SetMainMenu(skSkinMainMenu1);
    skSkinMainMenuBar1->SetSkinData(skSkinData1);
    skSkinMainMenuBar1->SetSkinForm(skSkinForm1);
    skSkinForm1->SetMainMenuBar(skSkinMainMenuBar1);

    auto label = [&](const char* name, const char* caption, int l) {
        auto* lb = new sk::TskSkinLabel(this);
        lb->SetBorderStyle(sk::bvNone);
        lb->SetCaption(caption);
        lb->SetAutoSize(true);
        Place(lb, name, l, 28, lb->Width(), lb->Height(), this);
        lb->SetSkinData(skSkinData1);
        return lb;
    };
    skSkinLabel1 = label("skSkinLabel1", "Start Frame", 23);
    skSkinLabel2 = label("skSkinLabel2", "End Frame", 272);

    placeholder_ = PlaceholderPicture();
    auto panel = [&](const char* name, int l) {
        auto* p = new sk::TskSkinPanel(this);
        p->SetBorderStyle(sk::bvLowered);
        Place(p, name, l, 49, kPictureWidth, kPictureHeight, this);
        p->SetSkinData(skSkinData1);
        return p;
    };
    skSkinPanel1 = panel("skSkinPanel1", 23);
    skSkinPanel2 = panel("skSkinPanel2", 272);
    Image1 = new rt::TImage(this);
    Image1->Stretch = true;
    Image1->SetPicture(placeholder_);
    Place(Image1, "Image1", 1, 1, kImageWidth, kImageHeight, skSkinPanel1);
    Image2 = new rt::TImage(this);
    Image2->Stretch = true;
    Image2->SetPicture(placeholder_);
    Place(Image2, "Image2", 1, 1, kImageWidth, kImageHeight, skSkinPanel2);
}

// The track bar, its position readout and the marks under it.
void TMainForm::BuildTrackBar() {
    TrackBar1 = new sk::TskSkinTrackBar(this);
    TrackBar1->SetMaxValue(100);
    TrackBar1->SetMinValue(0);
    TrackBar1->SetValue(0);
    TrackBar1->SetCanFocused(false);
    TrackBar1->JumpWhenClick = false;
    TrackBar1->MouseSupport = true;
    // The markers' centres lie at round((w - 15) f) + 26 in the window (f the value's fraction
    // of the range). A bar at x = 19 whose 12-pixel thumb travels from 1 to 2 pixels before
    // its right edge centres the thumb exactly there, and a width of 491 ends that travel
    // 3 pixels inside the picture panels' edges at either end; the built-in skins' track areas
    // are drawn to the same measures.
    TrackBar1->DefaultTrackInsets = rt::Rect(1, 2, 2, 2);
    TrackBar1->DefaultThumbLength = kThumbLength;
    Place(TrackBar1, "TrackBar1", kTrackLeft, 241, kTrackWidth, 17, this);
    TrackBar1->SetSkinData(skSkinData1);

    TrackBar1->Hint =
        "Position in the file: Left / Right one second, PgUp / PgDn ten, Home / End "
        "the ends";
    TrackBar1->OnChange = [this](rt::TComponent*) { UpdateReadout(); };

    // The position and the length, under the track bar's right end.
    lblPosition = new sk::TskSkinStdLabel(this);
    lblPosition->UseSkinFont = false;
    lblPosition->SetFont(sk::MakeSkinFont("Arial", kReadoutFontHeight, 0, rt::clWindowText));
    lblPosition->SetAutoSize(false);
    lblPosition->SetTransparent(true);
    lblPosition->SetAlignment(rt::TAlignment::taRightJustify);
    lblPosition->Hint = "Position / length of the file";
    Place(lblPosition, "lblPosition", kReadoutLeft, kReadoutTop, kReadoutRight - kReadoutLeft,
          kReadoutHeight, this);
    lblPosition->SetSkinData(skSkinData1);

    auto shape = [&](const char* name, int l, int t, int w, int h) {
        auto* s = new rt::TShape(this);
        s->BrushColor = rt::clRed;
        s->PenColor = rt::clRed;
        Place(s, name, l, t, w, h, this);
        s->Hide();
        return s;
    };
    shpStart = shape("shpStart", 24, 260, 2, 6);
    shpEnd = shape("shpEnd", 136, 260, 2, 6);
    shpProcess = shape("shpProcess", 25, 262, 112, 2);
}

// The marks' actions, the row of buttons and their hints.
void TMainForm::BuildButtons() {
    actSelStrart = new rt::TAction(this);
    actSelStrart->SetName("actSelStrart");
    actSelStrart->Caption = "Mark Start Point";
    actSelStrart->OnExecute = [this](rt::TComponent* s) { actSelStrartExecute(s); };
    actSelEnd = new rt::TAction(this);
    actSelEnd->SetName("actSelEnd");
    actSelEnd->Caption = "Mark End Point";
    actSelEnd->OnExecute = [this](rt::TComponent* s) { actSelEndExecute(s); };

    auto button = [&](sk::TskSkinSpeedButton* b, const char* name, const char* caption, int l,
                      int w) {
        b->SetCaption(caption);
        // The window's 8-point size: "Mark Start Point" and its glyph fit the 97-pixel button.
        b->SetDefaultFont(sk::MakeSkinFont("Arial", kToolFontHeight, 0, rt::clWindowText));
        Place(b, name, l, 280, w, 25, this);
        b->SetSkinData(skSkinData1);
        // Tab walks the row from left to right, the order in which it is placed; the window
        // shows with none of them focused (FocusFirstOnShow off).
        b->TabStop = true;
        return b;
    };
    auto speedButton = [&](const char* name, const char* caption, int l, int w) {
        return button(new sk::TskSkinSpeedButton(this), name, caption, l, w);
    };
    auto setGlyph = [](sk::TskSkinSpeedButton* b, GlyphKind kind) {
        b->SetGlyph(MakeGlyph(kind));
        b->SetNumGlyphs(kGlyphImages);
        b->SetSpacing(kGlyphSpacing);
    };
    skSkinSpeedButton1 =
        speedButton("skSkinSpeedButton1", "Mark Start Point", 24, kMarkButtonWidth);
    skSkinSpeedButton1->SetAction(actSelStrart);
    setGlyph(skSkinSpeedButton1, GlyphKind::MarkStart);
    skSkinSpeedButton2 = speedButton("skSkinSpeedButton2", "Mark End Point", 136, kMarkButtonWidth);
    skSkinSpeedButton2->SetAction(actSelEnd);
    setGlyph(skSkinSpeedButton2, GlyphKind::MarkEnd);
    skSkinSpeedButton3 = speedButton("skSkinSpeedButton3", "Clear", 248, 49);
    skSkinSpeedButton3->OnClick = [this](rt::TComponent* s) { skSkinSpeedButton3Click(s); };
    skSkinSpeedButton4 = speedButton("skSkinSpeedButton4", "Cut", 304, 49);
    setGlyph(skSkinSpeedButton4, GlyphKind::Cut);
    skSkinSpeedButton4->OnClick = [this](rt::TComponent* s) { skSkinSpeedButton4Click(s); };
    skSkinMenuSpeedButton1 = new sk::TskSkinMenuSpeedButton(this);
    button(skSkinMenuSpeedButton1, "skSkinMenuSpeedButton1", "Skin", 360, 41);
    skSkinMenuSpeedButton1->SetSkinPopupMenu(skSkinPopupMenu1);
    skSkinSpeedButton5 = speedButton("skSkinSpeedButton5", "About", 408, 49);
    skSkinSpeedButton5->OnClick = [this](rt::TComponent* s) { About1Click(s); };
    skSkinSpeedButton1->Hint = "Mark the start at the track bar's position (I)";
    skSkinSpeedButton2->Hint = "Mark the end at the track bar's position (O)";
    skSkinSpeedButton3->Hint = "Clear both marks (Del)";
    skSkinSpeedButton4->Hint = "Cut the marked stretch into a new AVI file (Ctrl+X)";
    skSkinMenuSpeedButton1->Hint = "Choose the window's skin";
    skSkinSpeedButton5->Hint = "About Framora";
    for (rt::TControl* c : std::initializer_list<rt::TControl*>{
             skSkinSpeedButton1, skSkinSpeedButton2, skSkinSpeedButton3, skSkinSpeedButton4,
             skSkinMenuSpeedButton1, skSkinSpeedButton5, TrackBar1, lblPosition})
        c->ShowHint = true;
    // Hints show in the skin's hint window.
    skSkinHint1 = new sk::TskSkinHint(this);
    skSkinHint1->SetName("skSkinHint1");
    skSkinHint1->SetSkinData(skSkinData1);
}

// The gauge at the bottom, and the open and save dialogs.
void TMainForm::BuildGaugeAndDialogs() {
    ProgressBar1 = new sk::TskSkinGauge(this);
    ProgressBar1->SetMinValue(0);
    ProgressBar1->SetMaxValue(100);
    ProgressBar1->SetValue(0);
    ProgressBar1->SetShowProgressText(true);
    ProgressBar1->SetShowPercent(false);
    Place(ProgressBar1, "ProgressBar1", 0, 319, 532, 17, this);
    ProgressBar1->SetAlign(rt::TAlign::alBottom);
    ProgressBar1->SetSkinData(skSkinData1);

    OpenDialog1 = new sk::TskSkinOpenDialog(this);
    OpenDialog1->SetName("OpenDialog1");
    OpenDialog1->Title = "Open file";
    OpenDialog1->Filter = kMediaFilter;
    OpenDialog1->FilterIndex = 0;
    SaveDialog1 = new sk::TskSkinSaveDialog(this);
    SaveDialog1->SetName("SaveDialog1");
    SaveDialog1->Title = "Save file";
    SaveDialog1->Filter = "All files (*.avi,*.mpg,*.mpeg)|*.avi;*.mpg;*.mpeg";
    SaveDialog1->FilterIndex = 0;
    // The cut never overwrites its own source, and the replace question names the file the
    // cut will really write.
    SaveDialog1->TargetFor = [this](const std::string& name) {
        return OutputPath(name, FSourceFile);
    };
    for (sk::TskSkinOpenDialog* d : {static_cast<sk::TskSkinOpenDialog*>(OpenDialog1),
                                     static_cast<sk::TskSkinOpenDialog*>(SaveDialog1)}) {
        d->SetSkinData(skSkinData1);
        d->SetCtrlSkinData(skSkinData1);
        d->LVHeaderSkinDataName = "resizebutton";
    }
}

void TMainForm::BuildFrame() {
    skSkinForm1 = new sk::TskSkinForm(this);
    skSkinForm1->SetName("skSkinForm1");
    skSkinForm1->SetBorderIcons(sk::biSystemMenu | sk::biMinimize | sk::biRollUp);
    skSkinForm1->SetShowIcon(false);
    skSkinForm1->MaximizeOnFullScreen = false;
    skSkinForm1->SetAlphaBlend(false);
    skSkinForm1->AlphaBlendAnimation = false;
    skSkinForm1->ShowObjectHint = false;
    skSkinForm1->SetDefMenuItemHeight(20);
    skSkinForm1->DefMenuItemFont = sk::MakeSkinFont("Arial", 14, 0, rt::clWindowText);
    skSkinForm1->UseSkinFontInMenu = true;
    skSkinForm1->UseDefaultSysMenu = true;
    skSkinForm1->Magnetic = false;
    skSkinForm1->MagneticSize = 5;
    // Each frame has its own margins; the window takes the size that keeps the designed
    // client area, unless it is rolled up or in another state than normal.
    skSkinForm1->OnChangeSkinData = [this](rt::TComponent*) {
        if (!skSkinForm1->RollUpState() &&
            skSkinForm1->WindowState() == sk::TskWindowState::wsNormal)
            SetClientSize(kClientWidth, kClientHeight);
    };
    skSkinForm1->SetSkinData(skSkinData1);
    skSkinForm1->SetMenusSkinData(skSkinData1);
    skSkinPopupMenu1->SetSkinForm(skSkinForm1);
}

std::string TMainForm::SettingsFile() const {
    std::string program = rt::ApplicationFileName();
    return FDataDir + rt::ExtractFileName(SettingsFileFor(program.empty() ? "Framora" : program));
}

std::string TMainForm::PreviewFile(int n) const {
    return FDataDir + "Frame" + std::to_string(n) + ".bmp";
}

void TMainForm::FormCreate(rt::TComponent*) {
    // A program folder we may not write to (a system-wide install) keeps the settings and the
    // previews in the user's data folder instead.
    FDataDir = WritableDataDir(FAppDir, FFilesDir);
    FStartMark = 0;
    FEndMark = 0;
    settings_ = std::make_unique<rt::TIniFile>(SettingsFile());
    ApplySkinChoice(settings_->ReadInteger("Options", "Skin", 1));
}

bool TMainForm::SaveSettings() {
    std::string failure;
    try {
        if (!settings_) settings_ = std::make_unique<rt::TIniFile>(SettingsFile());
        settings_->WriteInteger("Options", "Skin", CheckedSkinChoice());
        return true;
    } catch (const std::exception& e) {
        failure = e.what();
    }
    rt::Application()->MessageBox("The settings could not be saved.\n\n" + failure, Caption(),
                                  rt::MB_OK | rt::MB_ICONWARNING);
    return false;
}

void TMainForm::FormClose(rt::TComponent*, rt::TCloseAction& action) {
    // Written while the window still shows, so that a failure is told over it; whatever the
    // write does, the close goes on and the program ends.
    SaveSettings();
    Hide();
    // A running cut is finished first; the window closes for good when it ends.
    if (cutting_) {
        closeAfterCut_ = true;
        action = rt::TCloseAction::caNone;
    }
}

void TMainForm::ChooseSkin(int choice) {
    ApplySkinChoice(choice);
    // Stored at once (the file is replaced in one step), so a session that ends without the
    // window being closed keeps the choice too; a failure is told, and the skin stays in use.
    SaveSettings();
}

void TMainForm::FormDestroy(rt::TComponent*) { FMediaDet.reset(); }

void TMainForm::ApplySkinChoice(int choice) {
    if (choice < 1 || choice > int(std::size(kSkinChoices))) return;  // the designed state holds
    const TSkinChoice& c = kSkinChoices[choice - 1];
    if (c.Stored != nullptr)
        skSkinData1->SetCompressedStoredSkin(this->*c.Stored);
    else
        skSkinData1->ClearSkin();
    (this->*c.Item)->SetChecked(true);
}

int TMainForm::CheckedSkinChoice() const {
    for (std::size_t i = 0; i < std::size(kSkinChoices); ++i)
        if ((this->*kSkinChoices[i].Item)->Checked()) return int(i) + 1;
    return 1;
}

std::span<const TMainForm::TSkinChoice> TMainForm::SkinChoices() { return kSkinChoices; }

void TMainForm::mSkinWinAquaClick(rt::TComponent*) { ChooseSkin(1); }
void TMainForm::mSkinWinxpblueClick(rt::TComponent*) { ChooseSkin(2); }
void TMainForm::mSkinWistlerClick(rt::TComponent*) { ChooseSkin(3); }
void TMainForm::mSkinNoSkinClick(rt::TComponent*) { ChooseSkin(4); }

void TMainForm::Applictation1Click(rt::TComponent*) { OpenHelp(FFilesDir); }

void TMainForm::Visithomepage1Click(rt::TComponent*) { OpenLink(HomepageUrl(FFilesDir)); }

void TMainForm::Support1Click(rt::TComponent*) { OpenLink(SupportUrl(FFilesDir)); }

void TMainForm::About1Click(rt::TComponent*) {
    if (AboutForm != nullptr) AboutForm->ShowModal();
}

void TMainForm::WndProc(rt::TMessage& m) {
    if (m.Msg == rt::WM_ACTIVATEINSTANCE) {
        if (WindowState() == rt::TWindowState::wsMinimized)
            SetWindowState(rt::TWindowState::wsNormal);
        else
            BringToFront();
        return;
    }
    rt::TForm::WndProc(m);
}

void TMainForm::Open1Click(rt::TComponent*) {
    // Until the dialog has chosen a file, it starts in the open file's folder (one given on the
    // command line or dropped), else in the user's home folder rather than the program's.
    if (OpenDialog1->FileName.empty())
        OpenDialog1->InitialDir =
            FSourceFile.empty() ? rt::HomeDir() : rt::ExtractFilePath(FSourceFile);
    if (!OpenDialog1->Execute()) return;
    OpenFile(OpenDialog1->FileName);
}

void TMainForm::OpenFromOutside(const std::string& file) {
    // Opened from the message loop, never inside the caller (a drop, a socket's handler),
    // which a message box about the file would otherwise run in.
    waitingFile_ = file;
    waitingTimer_->SetEnabled(true);
}

void TMainForm::OpenWaitingFile() {
    if (waitingFile_.empty()) {
        waitingTimer_->SetEnabled(false);
        return;
    }
    // Opening under a running cut or behind a dialog would change the file they work on.
    if (Cutting() || rt::ModalWindowShowing()) {
        waitingTimer_->SetEnabled(true);
        return;
    }
    waitingTimer_->SetEnabled(false);
    const std::string file = std::move(waitingFile_);
    waitingFile_.clear();
    OpenFile(file);
}

void TMainForm::OpenFile(const std::string& file) {
    // Probe with a fresh detector so that a file that cannot be opened leaves the window,
    // the open file and its detector exactly as they were.
    auto det = std::make_unique<media::MediaDet>();
    double duration = 0, aspect = 0;
    bool hasVideo = false;
    try {
        det->put_Filename(file);
        int streams = det->get_OutputStreams();
        for (int i = 0; i < streams; ++i) {
            det->put_CurrentStream(i);
            media::Guid type = det->get_StreamType();
            if (type == media::MEDIATYPE_Video) {
                duration = det->get_StreamLength();
                aspect = det->get_DisplayAspect();
                hasVideo = true;
            }
        }
    } catch (const std::exception& e) {
        rt::Application()->MessageBox(OpenFailureText(file, e.what()), kCaption,
                                      rt::MB_OK | rt::MB_ICONERROR);
        return;
    }
    SetCaption(std::string(kCaption) + " - " + file);
    FMediaDet = std::move(det);
    FSourceFile = file;
    // A file without video has no length to move over: its range is 0 to 0.
    FDuration = hasVideo ? duration : 0;
    hasVideo_ = hasVideo;
    aspect_ = aspect;
    TrackBar1->SetMax(int(std::trunc(FDuration)));
    TrackBar1->SetMin(0);
    ResetGauge();

    // The marks stay for the new file (the same stretch of several takes), within its length;
    // the markers and pictures then show what a cut of this file takes.
    FStartMark = std::min(FStartMark, TrackBar1->Max());
    FEndMark = std::min(FEndMark, TrackBar1->Max());
    UpdateMarkers();
    UpdateCommands();
    UpdateReadout();
    if (!hasVideo) {
        ShowNoPictures();
        return;
    }
    PreviewGrab();
}

void TMainForm::LoadPreview(rt::TImage* image, const std::string& file) {
    if (!rt::FileExists(file)) return;
    rt::TBitmap grabbed;
    rt::LoadPictureFile(file, grabbed);
    // The grab fills the preview file's fixed size; the panel shows it at the picture's own
    // display aspect, centred on black.
    rt::TBitmap shown(kImageWidth, kImageHeight);
    shown.Canvas().Brush.Color = rt::clBlack;
    shown.Canvas().FillRect(rt::Rect(0, 0, kImageWidth, kImageHeight));
    shown.Canvas().StretchDraw(FitAspect(kImageWidth, kImageHeight, aspect_), grabbed);
    image->SetPicture(shown);
}

void TMainForm::ShowNoPictures() {
    rt::TBitmap b(kImageWidth, kImageHeight);
    rt::TCanvas& c = b.Canvas();
    c.Brush.Color = rt::clBlack;
    c.FillRect(rt::Rect(0, 0, kImageWidth, kImageHeight));
    c.Font = sk::MakeSkinFont("Arial", 14, 0, rt::clSilver);
    rt::TRect r = rt::Rect(8, 0, kImageWidth - 8, kImageHeight);
    c.Brush.Style = rt::TBrushStyle::bsClear;
    c.DrawText(kNoPicturesText, r, rt::DT_CENTER | rt::DT_VCENTER | rt::DT_SINGLELINE);
    Image1->SetPicture(b);
    Image2->SetPicture(b);
}

void TMainForm::ResetGauge() {
    ProgressBar1->SetValue(0);
    ProgressBar1->SetProgressText("");
}

void TMainForm::UpdateMarkers() {
    const auto left = [this](int v) { return MarkerLeft(TrackBar1->Width(), TrackBar1->Max(), v); };
    shpStart->SetLeft(left(FStartMark));
    shpEnd->SetLeft(left(FEndMark));
    shpProcess->SetBounds(shpStart->Left(), shpProcess->Top(),
                          std::max(0, shpEnd->Left() - shpStart->Left()), shpProcess->Height());
}

void TMainForm::UpdateCommands() {
    // A stretch to cut: a file open and an end after the start.
    skSkinSpeedButton4->SetEnabled(!cutting_ && FMediaDet != nullptr && FEndMark > FStartMark);
}

void TMainForm::ShowPlaceholder() {
    rt::TBitmap picture = placeholder_;
    // The file beside the program is what Close shows; the built-in picture stands in when it
    // is missing or unreadable.
    std::string noframe = FFilesDir + "noframe.jpg";
    if (rt::FileExists(noframe)) {
        try {
            rt::LoadPictureFile(noframe, picture, kPictureWidth, kPictureHeight);
        } catch (const rt::Exception&) {
            picture = placeholder_;
        }
    }
    Image1->SetPicture(picture);
    Image2->SetPicture(picture);
}

void TMainForm::Close1Click(rt::TComponent*) {
    skSkinSpeedButton3Click(skSkinSpeedButton3);
    SetCaption(kCaption);
    ShowPlaceholder();
    FSourceFile.clear();
    FMediaDet.reset();
    hasVideo_ = false;
    aspect_ = 0;
    ResetGauge();
    UpdateCommands();
    UpdateReadout();
}

void TMainForm::Exit1Click(rt::TComponent*) { Close(); }

bool TMainForm::KeyCommand(int key, rt::TShiftState shift) {
    const auto press = [](sk::TskSkinSpeedButton* b) {
        // A disabled button (no stretch to cut, a cut running) ignores its key as its click.
        if (b->Enabled()) b->Click();
        return true;
    };
    const auto move = [this](int to) {
        TrackBar1->SetValue(to);
        return true;
    };
    if (shift == rt::ssCtrl && key == 'X') return press(skSkinSpeedButton4);
    if (shift != 0) return false;
    const int v = TrackBar1->Value();
    switch (key) {
        case rt::VK_LEFT:
            return move(v - 1);
        case rt::VK_RIGHT:
            return move(v + 1);
        case rt::VK_PRIOR:
            return move(v - 10);
        case rt::VK_NEXT:
            return move(v + 10);
        case rt::VK_HOME:
            return move(TrackBar1->MinValue());
        case rt::VK_END:
            return move(TrackBar1->MaxValue());
        case 'I':
            return press(skSkinSpeedButton1);
        case 'O':
            return press(skSkinSpeedButton2);
        case rt::VK_DELETE:
            return press(skSkinSpeedButton3);
        default:
            return false;
    }
}

void TMainForm::UpdateReadout() {
    lblPosition->SetCaption(FMediaDet ? ReadoutText(TrackBar1->Value(), TrackBar1->MaxValue())
                                      : std::string());
}

void TMainForm::PlaceMarker(rt::TShape* shape, int value) {
    shape->SetLeft(MarkerLeft(TrackBar1->Width(), TrackBar1->Max(), value));
    shape->Show();
}

void TMainForm::PreviewGrab() {
    // A file without video has no frames to show: its pictures say so.
    if (!hasVideo_) return;
    std::string f1 = PreviewFile(1), f2 = PreviewFile(2);
    try {
        FMediaDet->WriteBitmapBits(FStartMark, kPreviewWidth, kPreviewHeight, f1);
        FMediaDet->WriteBitmapBits(FEndMark, kPreviewWidth, kPreviewHeight, f2);
    } catch (const std::exception& e) {
        ShowPlaceholder();
        rt::Application()->MessageBox(
            "Cannot show the frames at the marks of \"" + FSourceFile + "\".\n" + e.what(),
            kCaption, rt::MB_OK | rt::MB_ICONWARNING);
        return;
    }
    LoadPreview(Image1, f1);
    LoadPreview(Image2, f2);
}

void TMainForm::actSelStrartExecute(rt::TComponent*) {
    if (!FMediaDet) return;
    FStartMark = TrackBar1->Position();
    if (FStartMark > FEndMark) {
        shpEnd->Hide();
        shpProcess->Hide();
        FEndMark = FStartMark;
    }
    PlaceMarker(shpStart, TrackBar1->Position());
    shpProcess->SetBounds(shpStart->Left(), shpProcess->Top(), shpEnd->Left() - shpStart->Left(),
                          shpProcess->Height());
    UpdateCommands();
    PreviewGrab();
}

void TMainForm::actSelEndExecute(rt::TComponent*) {
    if (!FMediaDet) return;
    FEndMark = TrackBar1->Position();
    if (FEndMark < FStartMark) {
        PlaceMarker(shpStart, FEndMark);
        FStartMark = FEndMark;
    }
    if (FStartMark == 0) {
        shpStart->SetLeft(25);
        shpStart->Show();
    }
    PlaceMarker(shpEnd, FEndMark);
    shpProcess->SetBounds(shpStart->Left(), shpProcess->Top(), shpEnd->Left() - shpStart->Left(),
                          shpProcess->Height());
    shpProcess->Show();
    UpdateCommands();
    PreviewGrab();
}

void TMainForm::skSkinSpeedButton3Click(rt::TComponent*) {
    FStartMark = 0;
    FEndMark = 0;
    TrackBar1->SetPosition(0);
    actSelStrart->Execute();
    shpStart->Hide();
    shpEnd->Hide();
    shpProcess->Hide();
    ResetGauge();
    UpdateCommands();
}

std::string TMainForm::OutputPath(const std::string& saveName, const std::string& sourceName) {
    const std::string name = OutputName(saveName, sourceName);
    if (!name.empty() && name.front() == '/') return name;
    return rt::ExtractFilePath(saveName) + name;
}

std::string TMainForm::OutputName(const std::string& saveName, const std::string& sourceName) {
    std::string saveExt = rt::ExtractFileExt(saveName);
    // The cut is always an AVI file: a source of another kind (MPEG) lends ".avi" instead of
    // its own extension.
    std::string sourceExt = rt::ExtractFileExt(sourceName);
    if (!rt::SameText(sourceExt, ".avi")) sourceExt = ".avi";
    if (rt::SameText(saveExt, sourceExt)) return saveName;
    return rt::ExtractFileName(saveName) + sourceExt;
}

}  // namespace app
