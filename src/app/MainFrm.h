#pragma once
// The main window: the open file, its probe, the marks, the previews and the cut.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "media/MediaDet.h"
#include "runtime/Controls.h"
#include "runtime/IniFiles.h"
#include "runtime/Menus.h"
#include "runtime/StdCtrls.h"
#include "skin/controls/skSkinGauge.h"
#include "skin/controls/skSkinPanels.h"
#include "skin/controls/skSkinSpeedButton.h"
#include "skin/controls/skSkinTrackBar.h"
#include "skin/data/skSkinData.h"
#include "skin/dialogs/skFileDialog.h"
#include "skin/dialogs/skMessages.h"
#include "skin/form/skSkinForm.h"
#include "skin/form/skSkinHint.h"
#include "skin/form/skSkinMainMenuBar.h"
#include "skin/form/skSkinMenu.h"

namespace media {
class CutJob;
struct CutOutcome;
}  // namespace media

namespace app {

class TAboutForm;

// The gauge's text while a cut runs: "Cutting ... Please wait ..." until the amount of work is
// known, then "Cutting ... 42%", with the time left once the cut has run a second.
std::string CutProgressText(std::int64_t done, std::int64_t planned, double elapsedSeconds);
// The gauge's hint after a cut: how it was made ("1,489 pictures copied, 11 re-encoded", or
// "re-encoded: <reason>"), and where it ended when the source ended before the end mark.
std::string CutOutcomeHint(const media::CutOutcome& outcome);

// The message for a file that cannot be opened: "Cannot open "<file>"." and, on the next line,
// why, as one sentence. A reason that names the file again (the media layer's "Cannot open
// "<file>": it is not a media file ...") gives only what follows the name.
std::string OpenFailureText(const std::string& file, const std::string& reason);

// The settings file beside a program file: same folder, the file name lower-cased with the
// extension ".ini" (/opt/Cutter/Framora gives /opt/Cutter/framora.ini).
std::string SettingsFileFor(const std::string& programFile);

// The left edge of a marker under a track bar of width w and maximum m at value v:
// round((w - 15) / m * v) + 25, halves to even; 25 when m is 0.
int MarkerLeft(int width, int maximum, int value);

// A time of whole seconds as "m:ss", or "h:mm:ss" when it reaches an hour or `hours` asks.
std::string TimeText(int seconds, bool hours = false);
// The position readout: "0:06 / 0:11"; both with hours when the length has them.
std::string ReadoutText(int position, int length);

// The largest rectangle of the given aspect (width over height) centred in width x height;
// the whole area when the aspect is unknown (0).
rt::TRect FitAspect(int width, int height, double aspect);

class TMainForm : public rt::TForm {
public:
    // appDir: the program folder with its trailing separator; empty takes the running
    // program's folder.
    explicit TMainForm(rt::TComponent* owner, const std::string& appDir = {});
    ~TMainForm() override;

    // Controls, as laid out.
    sk::TskSkinMainMenu* skSkinMainMenu1;
    rt::TMenuItem* File1;
    rt::TMenuItem* Open1;
    rt::TMenuItem* Close1;
    rt::TMenuItem* Exit1;
    rt::TMenuItem* Help1;
    rt::TMenuItem* Applictation1;
    rt::TMenuItem* Visithomepage1;
    rt::TMenuItem* Support1;
    rt::TMenuItem* About1;
    // The skin every skinned control of the window paints from (owned by the form).
    sk::TskSkinData* skSkinData1;
    // The window's frame, drawn from skSkinData1 (the default frame without a skin).
    sk::TskSkinForm* skSkinForm1;
    // Every message box of the program, drawn from skSkinData1 (the default look without a
    // skin): the application's message box while the window exists.
    sk::TskSkinMessage* skSkinMessage1;
    // The built-in skins, each holding one compressed skin built from a "skin.ini" folder.
    sk::TskCompressedStoredSkin* WinAqua;
    sk::TskCompressedStoredSkin* Winxpblue;
    sk::TskCompressedStoredSkin* Wistler;
    sk::TskSkinMainMenuBar* skSkinMainMenuBar1;
    sk::TskSkinLabel* skSkinLabel1;
    sk::TskSkinLabel* skSkinLabel2;
    sk::TskSkinPanel* skSkinPanel1;
    sk::TskSkinPanel* skSkinPanel2;
    rt::TImage* Image1;
    rt::TImage* Image2;
    sk::TskSkinTrackBar* TrackBar1;
    rt::TShape* shpStart;
    rt::TShape* shpEnd;
    rt::TShape* shpProcess;
    sk::TskSkinSpeedButton* skSkinSpeedButton1;
    sk::TskSkinSpeedButton* skSkinSpeedButton2;
    sk::TskSkinSpeedButton* skSkinSpeedButton3;
    sk::TskSkinSpeedButton* skSkinSpeedButton4;
    // Drops skSkinPopupMenu1 down.
    sk::TskSkinMenuSpeedButton* skSkinMenuSpeedButton1;
    sk::TskSkinSpeedButton* skSkinSpeedButton5;
    sk::TskSkinGauge* ProgressBar1;
    // The track bar's position and the file's length.
    sk::TskSkinStdLabel* lblPosition;
    sk::TskSkinHint* skSkinHint1;
    sk::TskSkinPopupMenu* skSkinPopupMenu1;
    rt::TMenuItem* mSkinWinAqua;
    rt::TMenuItem* mSkinWinxpblue;
    rt::TMenuItem* mSkinWistler;
    rt::TMenuItem* mSkinNoSkin;
    // "Open" and the cut's "Save", in the window's skin.
    sk::TskSkinOpenDialog* OpenDialog1;
    sk::TskSkinSaveDialog* SaveDialog1;
    rt::TAction* actSelStrart;
    rt::TAction* actSelEnd;

    // State.
    std::unique_ptr<media::MediaDet> FMediaDet;
    std::string FSourceFile;
    double FDuration = 0;
    std::string FAppDir;
    // The folder of the files the program ships with (init.ini, noframe.jpg, Help/): the
    // program folder, or the installed data folder (ProgramFiles.h).
    std::string FFilesDir;
    // Where the settings and the preview bitmaps go: the program folder when it can be
    // written, else the user's data folder.
    std::string FDataDir;
    int FStartMark = 0;
    int FEndMark = 0;
    // The About window, made after this window by the program's entry (none in some tests).
    TAboutForm* AboutForm = nullptr;

    void FormCreate(rt::TComponent* sender);
    void FormClose(rt::TComponent* sender, rt::TCloseAction& action);
    void FormDestroy(rt::TComponent* sender);
    void Open1Click(rt::TComponent* sender);
    void Close1Click(rt::TComponent* sender);
    void Exit1Click(rt::TComponent* sender);
    void actSelStrartExecute(rt::TComponent* sender);
    void actSelEndExecute(rt::TComponent* sender);
    void skSkinSpeedButton3Click(rt::TComponent* sender);
    // Cut: asks for the output name and starts the cut, which the window then watches from a
    // timer; returns at once.
    void skSkinSpeedButton4Click(rt::TComponent* sender);
    // Esc while cutting: stops the cut, which leaves nothing behind. False when none runs.
    bool StopCut();
    void Applictation1Click(rt::TComponent* sender);
    void Visithomepage1Click(rt::TComponent* sender);
    void Support1Click(rt::TComponent* sender);
    // Help > "About..." and the About button: the About window, modally.
    void About1Click(rt::TComponent* sender);
    void mSkinWinAquaClick(rt::TComponent* sender);
    void mSkinWinxpblueClick(rt::TComponent* sender);
    void mSkinWistlerClick(rt::TComponent* sender);
    void mSkinNoSkinClick(rt::TComponent* sender);

    // The skin menu's choices in menu order, numbered from 1 as the stored "Skin" setting:
    // the built-in skins of sk::kBuiltinSkins with their stored skin, then "No Skin" (none).
    struct TSkinChoice {
        const char* Name;
        sk::TskCompressedStoredSkin* TMainForm::*Stored;
        rt::TMenuItem* TMainForm::*Item;
        void (TMainForm::*Click)(rt::TComponent*);
    };
    static std::span<const TSkinChoice> SkinChoices();

    // Opens a video file, as File > "Open" does with the name its dialog returns.
    void OpenFile(const std::string& file);
    // A file handed in from outside (the command line, a later start, a drop on the window):
    // opened from the message loop straight after, or, while a cut runs or a dialog holds the
    // input, as soon as that ends; a newer file replaces one still waiting.
    void OpenFromOutside(const std::string& file);
    const std::string& WaitingFile() const { return waitingFile_; }

    std::string SettingsFile() const;
    // Writes the settings (the skin choice) to SettingsFile(); a failure is told in a message
    // box with the file's name and the reason, and gives false. Never throws.
    bool SaveSettings();
    std::string PreviewFile(int n) const;
    // The output name for a save-dialog name, given the open source's name.
    static std::string OutputName(const std::string& saveName, const std::string& sourceName);
    // The same as a whole path: a name without a folder lands in the save-dialog name's folder.
    static std::string OutputPath(const std::string& saveName, const std::string& sourceName);
    // True while a cut runs.
    bool Cutting() const { return cutting_; }
    // The running cut (null when none runs), for tests that watch it.
    const media::CutJob* RunningCut() const { return cutJob_.get(); }
    // Test seam: handed to every cut's render (see media::CutProgress::hookForTesting).
    std::function<void(std::int64_t, std::int64_t, bool)> CutHookForTesting;

    void WndProc(rt::TMessage& message) override;
    // The window's keys (besides the menus' short cuts): Left / Right, PgUp / PgDn, Home / End
    // move the track bar; I, O, Del and Ctrl+X press "Mark Start Point", "Mark End Point",
    // "Clear" and "Cut". True when the key was one of them.
    bool KeyCommand(int key, rt::TShiftState shift);

private:
    void OpenWaitingFile();
    std::string waitingFile_;
    rt::TTimer* waitingTimer_ = nullptr;
    void BuildLayout();
    void BuildFrame();
    void BuildMenus();
    void BuildSkins();
    void BuildPictures();
    void BuildTrackBar();
    void BuildButtons();
    void BuildGaugeAndDialogs();
    void PreviewGrab();
    void LoadPreview(rt::TImage* image, const std::string& file);
    void ShowPlaceholder();
    void PlaceMarker(rt::TShape* shape, int value);
    // Moves the markers to the marks in the track bar's current range; visibility stays.
    void UpdateMarkers();
    // "Cut" is usable while a file is open, a stretch is marked and no cut runs.
    void UpdateCommands();
    void UpdateReadout();
    // Says in both panels that the open file has no pictures.
    void ShowNoPictures();
    // The gauge's text and value of an earlier cut go.
    void ResetGauge();
    // Skin choice 1 to 3 loads that built-in skin, 4 clears the skin; each checks its menu item.
    // Any other value changes nothing.
    void ApplySkinChoice(int choice);
    int CheckedSkinChoice() const;
    // A skin chosen from the menu: applied and written to the settings.
    void ChooseSkin(int choice);

    rt::TBitmap placeholder_;
    // The settings file as read at creation; closing writes through it, so an unchanged file
    // is not read again.
    std::unique_ptr<rt::TIniFile> settings_;
    void WatchCut();
    void EndCut(long code);
    void EnableCutCommands(bool on);

    bool cutting_ = false;
    std::unique_ptr<media::CutJob> cutJob_;
    rt::TTimer* cutTimer_ = nullptr;
    std::chrono::steady_clock::time_point cutStarted_;
    // The window was closed during the cut: it closes for good when the cut has ended.
    bool closeAfterCut_ = false;
    // Whether the open file has a video stream to take preview frames from.
    bool hasVideo_ = false;
    // Display aspect of the open file's pictures; 0 when unknown.
    double aspect_ = 0;
};

}  // namespace app
