#pragma once
// The application object: form list, main form, message processing and the default error
// report.

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "runtime/Controls.h"
#include "runtime/Hints.h"

namespace rt {

class TTimer;

enum TMsgDlgFlags : int {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNO = 0x4,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
    // The second button is the default one (Enter) instead of the first.
    MB_DEFBUTTON2 = 0x100
};

struct AppImpl;

class TApplication {
public:
    // Creates the Qt application; one per process.
    TApplication(int& argc, char** argv);
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    std::string Title;
    // The program's icon, for forms without one of their own (empty: none).
    TBitmap Icon;

    TForm* MainForm() const { return mainForm_; }
    int FormCount() const { return int(forms_.size()); }
    TForm* Forms(int i) const { return forms_.at(std::size_t(i)); }

    // Creates a form owned by the application (with the arguments after the owner); the first
    // one becomes the main form.
    template <class T, class... Args>
    T* CreateForm(Args&&... args) {
        auto form = std::make_unique<T>(nullptr, std::forward<Args>(args)...);
        T* raw = form.get();
        owned_.push_back(std::move(form));
        if (mainForm_ == nullptr) mainForm_ = raw;
        return raw;
    }

    // Handles pending window messages and returns.
    void ProcessMessages();
    // Runs the message loop until the main form closes or Terminate is called.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }

    // The default error report: the exception's text in a message box.
    void HandleException(const std::exception& e);
    void HandleUnknownException();

    // Shows a message box and returns the button pressed (mrOk, mrCancel, mrYes, mrNo): through
    // MessageBoxHandler when set, else ProgramMessageBox when set, else the plain box, a form
    // with the default frame.
    int MessageBox(const std::string& text, const std::string& caption, int flags);
    using TMessageBoxFunc =
        std::function<int(const std::string& text, const std::string& caption, int flags)>;
    // Takes over every message box (a test's recorder, a scripted run).
    TMessageBoxFunc MessageBoxHandler;
    // The program's own message box (the main window puts its skinned box here). It throws only
    // before it has shown anything; the plain box then stands in.
    TMessageBoxFunc ProgramMessageBox;

    // Minimizing the application minimizes every visible form's window; Restore brings
    // them back. IsMinimized tells the main form's window-system state.
    void Minimize();
    bool IsMinimized() const;
    void Restore();
    void BringToFront();

    // Application message hooks (the menu engine's while a menu is open): each sees every
    // keyboard and mouse message before its target does, newest hook first, and swallows it
    // by returning true (keys: WM_KEYDOWN / WM_KEYUP with the shift state in LParam; mouse:
    // the client and non-client messages as the target will get them). A message that is not
    // swallowed reaches its target unchanged. Add returns an id for Remove; removing an
    // unknown or removed id does nothing, so removal is always safe.
    using TMessageHook = std::function<bool(TMsg& message)>;
    int AddMessageHook(TMessageHook hook);
    void RemoveMessageHook(int id);
    // Runs the hooks; true when one swallowed the message.
    bool RunMessageHooks(TMsg& message);

    // Hints. A control's Hint shows in the hint window once the mouse has rested on the control
    // for HintPause milliseconds (HintShortPause when the mouse comes from a shown hint), and
    // hides after HintHidePause, when the mouse leaves the control, or on a click or a key; it
    // shows again only after the mouse has left the control. The control is the one under the
    // mouse or its nearest parent with a Hint, and it must have ShowHint set.
    int HintPause = 500;
    int HintShortPause = 50;
    int HintHidePause = 2500;
    TShowHintEvent OnShowHint;
    bool ShowHint() const { return showHint_; }
    // Off frees the hint window and shows no hints; on makes the window again from the hint
    // window class.
    void SetShowHint(bool value);
    // The kind of hint window made from now on (empty: the plain THintWindow).
    void SetHintWindowClass(THintWindowClass make);
    // The hint window, made on first use; null while ShowHint is off.
    THintWindow* HintWindow();
    // Mouse rest detection: the runtime reports each mouse move over one of its windows with
    // the control under the mouse, and the mouse leaving them.
    void HintMouseMove(TControl* control);
    void HintMouseLeft();
    // Shows now the hint of the control under the screen point, as the end of the pause does
    // (after OnShowHint); false when there is none to show.
    bool ActivateHint(TPoint cursorPos);
    // Hides a shown hint and drops a waiting one (a click, a key).
    void CancelHint();

private:
    friend class TForm;
    void AddForm(TForm* f);
    void RemoveForm(TForm* f);

    std::unique_ptr<AppImpl> impl_;
    TForm* mainForm_ = nullptr;
    std::vector<TForm*> forms_;
    std::vector<std::unique_ptr<TForm>> owned_;
    std::vector<std::pair<int, TMessageHook>> hooks_;
    int nextHookId_ = 1;
    bool terminated_ = false;

    enum class THintPhase { Idle, Waiting, Shown, Done };
    void StartHintTimer(int ms);
    void StopHintTimer();
    void HideHintWindow();
    void HintTimerFired();
    bool showHint_ = true;
    THintWindowClass hintWindowClass_;
    std::unique_ptr<THintWindow> hintWindow_;
    std::unique_ptr<TTimer> hintTimer_;
    // The control whose hint waits or shows; only compared, never used, since it may be gone.
    TControl* hintControl_ = nullptr;
    THintPhase hintPhase_ = THintPhase::Idle;
    bool hintShortPause_ = false;
};

// The one application object, or null before it exists.
TApplication* Application();

// A plain message box with the application's title as caption.
void ShowMessage(const std::string& text);

// Calls fn, and routes any exception to the application's default error report.
void GuardedCall(const std::function<void()>& fn);

}  // namespace rt
