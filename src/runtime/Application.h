#pragma once
// The application object: form list, main form, message processing and the default error
// report.

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Controls.h"

namespace rt {

enum TMsgDlgFlags : int {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNO = 0x4,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40
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

    // Creates a form owned by the application; the first one becomes the main form.
    template <class T>
    T* CreateForm() {
        auto form = std::make_unique<T>(nullptr);
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

    // Shows a message box and returns the button pressed (mrOk, mrCancel, mrYes, mrNo).
    int MessageBox(const std::string& text, const std::string& caption, int flags);
    // Replaces the message box (the skinned one, or a test's recorder); empty restores the
    // plain one, a form with the default frame.
    std::function<int(const std::string& text, const std::string& caption, int flags)>
        MessageBoxHandler;

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

    // Milliseconds a hint waits before it shows.
    int HintPause = 500;

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
};

// The one application object, or null before it exists.
TApplication* Application();

// A plain message box with the application's title as caption.
void ShowMessage(const std::string& text);

// Calls fn, and routes any exception to the application's default error report.
void GuardedCall(const std::function<void()>& fn);

}  // namespace rt
