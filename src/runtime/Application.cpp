#include "runtime/Application.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "runtime/ControlWidget.h"

namespace rt {

namespace {
TApplication* gApplication = nullptr;
}

struct AppImpl {
    std::unique_ptr<QApplication> qt;
};

TApplication* Application() { return gApplication; }

TApplication::TApplication(int& argc, char** argv) : impl_(std::make_unique<AppImpl>()) {
    impl_->qt = std::make_unique<QApplication>(argc, argv);
    gApplication = this;
}

TApplication::~TApplication() {
    // Forms go first (newest first), while the Qt application still exists.
    while (!owned_.empty()) owned_.pop_back();
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
    QMessageBox box;
    box.setWindowTitle(QString::fromStdString(caption));
    box.setText(QString::fromStdString(text));
    int icon = flags & 0xF0;
    box.setIcon(icon == MB_ICONERROR      ? QMessageBox::Critical
                : icon == MB_ICONWARNING  ? QMessageBox::Warning
                : icon == MB_ICONQUESTION ? QMessageBox::Question
                : icon != 0               ? QMessageBox::Information
                                          : QMessageBox::NoIcon);
    int buttons = flags & 0x0F;
    if (buttons == MB_YESNO)
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    else if (buttons == MB_OKCANCEL)
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    else
        box.setStandardButtons(QMessageBox::Ok);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return mrYes;
        case QMessageBox::No:
            return mrNo;
        case QMessageBox::Cancel:
            return mrCancel;
        default:
            return mrOk;
    }
}

bool TApplication::IsMinimized() const {
    return mainForm_ != nullptr && mainForm_->WindowState() == TWindowState::wsMinimized;
}

void TApplication::Restore() {
    if (mainForm_ != nullptr) mainForm_->SetWindowState(TWindowState::wsNormal);
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
