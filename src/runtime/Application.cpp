#include "runtime/Application.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "runtime/ControlWidget.h"
#include "runtime/Menus.h"

namespace rt {

// MessageForm.cpp: the plain message box on a form of our own.
int RunPlainMessageBox(const std::string& text, const std::string& caption, int flags);

namespace {

TApplication* gApplication = nullptr;

// Every key and mouse event passes here once before its widget gets it: the application's
// message hooks see it first, then the form's short-cut handler, then the control.
class RtApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* e) override {
        auto* w = qobject_cast<QWidget*>(receiver);
        if (w != nullptr && gApplication != nullptr) {
            switch (e->type()) {
                case QEvent::KeyPress:
                case QEvent::KeyRelease: {
                    if (e->type() == QEvent::KeyPress) gApplication->CancelHint();
                    const KeyStep step = Key(w, static_cast<QKeyEvent*>(e));
                    if (step == KeyStep::Swallow) return true;
                    if (step == KeyStep::PassThenKeyMenu) {
                        QPointer<QWidget> form(keyMenuForm_ != nullptr ? ImplOf(*keyMenuForm_).frame
                                                                       : nullptr);
                        const bool result = QApplication::notify(receiver, e);
                        if (auto* frame = dynamic_cast<FrameWidget*>(form.data());
                            frame != nullptr && frame->Form() != nullptr)
                            GuardedCall(
                                [&] { frame->Form()->Perform(WM_SYSCOMMAND, SC_KEYMENU, 0); });
                        return result;
                    }
                    break;
                }
                case QEvent::MouseButtonPress:
                case QEvent::MouseButtonDblClick:
                    altAlone_ = false;
                    gApplication->CancelHint();
                    [[fallthrough]];
                case QEvent::MouseButtonRelease:
                case QEvent::MouseMove:
                    if (e->type() == QEvent::MouseMove) {
                        bool own = false;
                        gApplication->HintMouseMove(Owner(w, own));
                    }
                    if (ForeignMouse(w, static_cast<QMouseEvent*>(e))) return true;
                    break;
                case QEvent::Wheel:
                    gApplication->CancelHint();
                    break;
                case QEvent::Leave:
                    // Leaving a window of ours for the desktop; a move into another of our
                    // windows finds its control again.
                    if (w->isWindow()) gApplication->HintMouseLeft();
                    break;
                default:
                    break;
            }
        }
        return QApplication::notify(receiver, e);
    }

private:
    // The control a widget belongs to, and whether the widget is that control's own.
    static TControl* Owner(QWidget* w, bool& own) {
        for (QWidget* p = w; p != nullptr; p = p->parentWidget()) {
            if (TControl* c = ControlOf(p)) {
                own = p == w;
                return c;
            }
        }
        return nullptr;
    }

    enum class KeyStep { Pass, Swallow, PassThenKeyMenu };

    // The hooks and the form's short cuts see a key before its control; the control then gets
    // it from Qt (KeyRouting.cpp for ours, the wrapped platform control's own handling else).
    KeyStep Key(QWidget* receiver, QKeyEvent* e) {
        // The move/size loop takes its keys itself.
        if (dynamic_cast<FrameWidget*>(receiver) != nullptr) return KeyStep::Pass;
        const bool press = e->type() == QEvent::KeyPress;
        const int vk = VirtualKeyOf(e->key());
        if (press && vk != VK_MENU) altAlone_ = false;
        // A held key repeats as presses; its releases before the last are no key-ups.
        if (vk == 0 || (!press && e->isAutoRepeat())) return KeyStep::Pass;
        bool own = false;
        TControl* target = Owner(receiver, own);
        if (target == nullptr) return KeyStep::Pass;
        const TShiftState shift = ShiftOf(e->modifiers(), Qt::NoButton);
        TMsg m{target, press ? WM_KEYDOWN : WM_KEYUP, vk, std::intptr_t(shift)};
        if (press && vk == VK_MENU && !e->isAutoRepeat()) altAlone_ = true;
        if (gApplication->RunMessageHooks(m)) return KeyStep::Swallow;
        TForm* form = target->ParentForm();
        if (press && form != nullptr && form->OnShortCut) {
            bool handled = false;
            GuardedCall([&] { handled = form->OnShortCut(form, vk, shift); });
            if (handled) return KeyStep::Swallow;
        }
        // Alt pressed and released alone, and F10, ask the form for its keyboard menu.
        if (!press && form != nullptr && ((vk == VK_MENU && altAlone_) || vk == VK_F10)) {
            altAlone_ = false;
            keyMenuForm_ = form;
            return KeyStep::PassThenKeyMenu;
        }
        return KeyStep::Pass;
    }

    // Mouse messages to wrapped platform controls go through the hooks too; ours go through
    // them where the widgets turn events into messages.
    bool ForeignMouse(QWidget* receiver, QMouseEvent* e) {
        NoteCursorPos(e->globalPosition().toPoint());
        bool own = false;
        TControl* target = Owner(receiver, own);
        if (target == nullptr || own) return false;
        unsigned msg = WM_MOUSEMOVE;
        const bool right = e->button() == Qt::RightButton, middle = e->button() == Qt::MiddleButton;
        if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick)
            msg = right ? WM_RBUTTONDOWN : middle ? WM_MBUTTONDOWN : WM_LBUTTONDOWN;
        else if (e->type() == QEvent::MouseButtonRelease)
            msg = right ? WM_RBUTTONUP : middle ? WM_MBUTTONUP : WM_LBUTTONUP;
        TPoint p =
            target->ScreenToClient({int(e->globalPosition().x()), int(e->globalPosition().y())});
        TMsg m{target, msg, MouseKeys(e->modifiers(), e->buttons()), MakeLParam(p.X, p.Y)};
        return gApplication->RunMessageHooks(m);
    }

    bool altAlone_ = false;
    TForm* keyMenuForm_ = nullptr;
};

}  // namespace

struct AppImpl {
    std::unique_ptr<QApplication> qt;
};

TApplication* Application() { return gApplication; }

TApplication::TApplication(int& argc, char** argv) : impl_(std::make_unique<AppImpl>()) {
    impl_->qt = std::make_unique<RtApplication>(argc, argv);
    gApplication = this;
}

TApplication::~TApplication() {
    // Forms go first (newest first), while the Qt application still exists.
    while (!owned_.empty()) owned_.pop_back();
    hintTimer_.reset();
    hintWindow_.reset();
    gApplication = nullptr;
    impl_->qt.reset();
}

void TApplication::AddForm(TForm* f) { forms_.push_back(f); }

void TApplication::RemoveForm(TForm* f) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), f), forms_.end());
    if (mainForm_ == f) mainForm_ = nullptr;
}

void TApplication::ProcessMessages() { QApplication::processEvents(QEventLoop::AllEvents); }

void TApplication::Run() {
    if (terminated_) return;
    QApplication::exec();
}

void TApplication::Terminate() {
    terminated_ = true;
    QApplication::exit(0);
}

void TApplication::HandleException(const std::exception& e) {
    MessageBox(e.what(), Title.empty() ? "Error" : Title, MB_OK | MB_ICONERROR);
}

void TApplication::HandleUnknownException() {
    MessageBox("An unexpected error occurred.", Title.empty() ? "Error" : Title,
               MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, int flags) {
    if (MessageBoxHandler) return MessageBoxHandler(text, caption, flags);
    if (ProgramMessageBox) {
        try {
            return ProgramMessageBox(text, caption, flags);
        } catch (const std::exception&) {
            // The message still reaches the user, in the plain box.
        }
    }
    return RunPlainMessageBox(text, caption, flags);
}

void TApplication::Minimize() {
    for (TForm* f : forms_)
        if (f->Visible()) f->SetWindowState(TWindowState::wsMinimized);
}

bool TApplication::IsMinimized() const {
    return mainForm_ != nullptr && mainForm_->WindowState() == TWindowState::wsMinimized;
}

void TApplication::Restore() {
    for (TForm* f : forms_)
        if (f->WindowState() == TWindowState::wsMinimized)
            f->SetWindowState(TWindowState::wsNormal);
}

int TApplication::AddMessageHook(TMessageHook hook) {
    int id = nextHookId_++;
    hooks_.emplace_back(id, std::move(hook));
    return id;
}

void TApplication::RemoveMessageHook(int id) {
    hooks_.erase(
        std::remove_if(hooks_.begin(), hooks_.end(), [id](const auto& h) { return h.first == id; }),
        hooks_.end());
}

bool TApplication::RunMessageHooks(TMsg& message) {
    if (hooks_.empty()) return false;
    // A hook may add or remove hooks (a menu closing on a key): run over a copy.
    auto hooks = hooks_;
    for (auto it = hooks.rbegin(); it != hooks.rend(); ++it) {
        const int id = it->first;
        if (std::none_of(hooks_.begin(), hooks_.end(),
                         [id](const auto& h) { return h.first == id; }))
            continue;
        bool swallowed = false;
        GuardedCall([&] { swallowed = it->second(message); });
        if (swallowed) return true;
    }
    return false;
}

void TApplication::BringToFront() {
    if (mainForm_ != nullptr) mainForm_->BringToFront();
}

void ShowMessage(const std::string& text) {
    if (Application() != nullptr) Application()->MessageBox(text, Application()->Title, MB_OK);
}

void GuardedCall(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        if (Application() != nullptr) Application()->HandleException(e);
    } catch (...) {
        if (Application() != nullptr) Application()->HandleUnknownException();
    }
}

}  // namespace rt
