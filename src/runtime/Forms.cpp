// Forms: the window rectangle and the client area inside it, showing, closing, modal loops and
// the window system's states.
#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <algorithm>

#include "runtime/Application.h"
#include "runtime/ControlWidget.h"
#include "runtime/Controls.h"
#include "runtime/Screen.h"

namespace rt {

namespace {

// Window sizes travel as signed 16-bit values in LParam; nothing larger is a window size.
constexpr int kMaxTrack = 32767;

}  // namespace

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    ControlWidget* client = Impl().widget;
    auto* frame = new FrameWidget(this);
    Impl().frame = frame;
    client->setParent(frame);
    client->setFocusPolicy(Qt::StrongFocus);
    frame->setFocusProxy(client);
    client->show();
    visible_ = false;
    SetBounds(0, 0, 320, 240);
    if (Application() != nullptr) Application()->AddForm(this);
}

TForm::~TForm() {
    if (OnDestroy) GuardedCall([&] { OnDestroy(this); });
    // The window sends nothing more to a form that is going away; a running loop lets go of
    // the mouse.
    Impl().frame->Detach();
    Impl().frame->EndSizeMove(false);
    DestroyComponents();
    if (Application() != nullptr) Application()->RemoveForm(this);
}

TMinMaxInfo TForm::MinMaxInfo() {
    TRect work = WorkArea();
    TMinMaxInfo info;
    info.MaxSize = {work.Width(), work.Height()};
    info.MaxPosition = {work.Left, work.Top};
    info.MinTrackSize = {0, 0};
    info.MaxTrackSize = {kMaxTrack, kMaxTrack};
    Perform(WM_GETMINMAXINFO, 0, PtrParam(&info));
    return info;
}

TPoint TForm::ClampSize(int width, int height) {
    TMinMaxInfo info = MinMaxInfo();
    int minW = std::clamp(info.MinTrackSize.X, 0, kMaxTrack);
    int minH = std::clamp(info.MinTrackSize.Y, 0, kMaxTrack);
    int maxW = std::clamp(info.MaxTrackSize.X, minW, kMaxTrack);
    int maxH = std::clamp(info.MaxTrackSize.Y, minH, kMaxTrack);
    // The window manager hears the same limits, so its own sizing keeps to them.
    if (minTrack_ != TPoint{minW, minH} || maxTrack_ != TPoint{maxW, maxH}) {
        minTrack_ = {minW, minH};
        maxTrack_ = {maxW, maxH};
        Impl().frame->setMinimumSize(minW, minH);
        Impl().frame->setMaximumSize(maxW, maxH);
    }
    return {std::clamp(width, minW, maxW), std::clamp(height, minH, maxH)};
}

void TForm::SetBounds(int left, int top, int width, int height) {
    TPoint size = ClampSize(width, height);
    bool moved = left != left_ || top != top_;
    bool resized = size.X != width_ || size.Y != height_;
    left_ = left;
    top_ = top;
    width_ = size.X;
    height_ = size.Y;
    FrameWidget* frame = Impl().frame;
    if (frame->geometry() != QRect(left_, top_, width_, height_))
        frame->setGeometry(left_, top_, width_, height_);
    if (resized) {
        PlaceClient();
        frame->InvalidateNonClient(frame->rect());
        Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(ClientWidth(), ClientHeight()));
    }
    if (moved) {
        TPoint origin = WindowToScreen({client_.Left, client_.Top});
        Perform(WM_MOVE, 0, MakeLParam(origin.X, origin.Y));
    }
}

void TForm::PlaceClient() {
    TNCCalcSizeParams p;
    p.Window = Bounds(left_, top_, width_, height_);
    p.Client = p.Window;
    Perform(WM_NCCALCSIZE, 0, PtrParam(&p));
    TRect c = p.Client;
    c.Left = std::clamp(c.Left, p.Window.Left, p.Window.Right);
    c.Top = std::clamp(c.Top, p.Window.Top, p.Window.Bottom);
    c.Right = std::clamp(c.Right, c.Left, p.Window.Right);
    c.Bottom = std::clamp(c.Bottom, c.Top, p.Window.Bottom);
    TRect inWindow = Rect(c.Left - left_, c.Top - top_, c.Right - left_, c.Bottom - top_);
    bool resized = inWindow.Width() != client_.Width() || inWindow.Height() != client_.Height();
    client_ = inWindow;
    QRect g(client_.Left, client_.Top, client_.Width(), client_.Height());
    if (Impl().widget->geometry() != g) Impl().widget->setGeometry(g);
    if (resized) {
        Resize();
        Realign();
        Invalidate();
    }
}

void TForm::FrameChanged() {
    const TRect before = client_;
    PlaceClient();
    InvalidateNonClient();
    if (client_.Width() != before.Width() || client_.Height() != before.Height())
        Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(ClientWidth(), ClientHeight()));
}

TRect TForm::ClientRect() const { return Rect(0, 0, client_.Width(), client_.Height()); }

void TForm::SetClientSize(int width, int height) {
    // The frame's thickness, measured on a window large enough for any frame.
    constexpr int kProbe = 4096;
    TNCCalcSizeParams p;
    p.Window = Rect(0, 0, kProbe, kProbe);
    p.Client = p.Window;
    Perform(WM_NCCALCSIZE, 0, PtrParam(&p));
    int extraW = kProbe - std::clamp(p.Client.Width(), 0, kProbe);
    int extraH = kProbe - std::clamp(p.Client.Height(), 0, kProbe);
    SetBounds(Left(), Top(), width + extraW, height + extraH);
}

void TForm::InvalidateNonClient() { Impl().frame->InvalidateNonClient(Impl().frame->rect()); }

void TForm::RepaintNonClient(const TRect& r) {
    Impl().frame->RepaintNonClient(QRect(r.Left, r.Top, r.Width(), r.Height()));
}

void TForm::PaintNonClientNow(const TRect& r, const std::function<void(TCanvas&)>& paint) {
    Impl().frame->PaintNonClientNow(r, paint);
}

void TForm::BeginSizeMove(int hit) { Impl().frame->BeginSizeMove(hit, GetCursorPos()); }

bool TForm::InSizeMove() const { return Impl().frame->InSizeMove(); }

TWindowState TForm::WindowState() const {
    QWidget* w = Impl().frame;
    if (w->isMinimized()) return TWindowState::wsMinimized;
    if (w->isMaximized()) return TWindowState::wsMaximized;
    return TWindowState::wsNormal;
}

void TForm::SetWindowState(TWindowState s) {
    QWidget* w = Impl().frame;
    switch (s) {
        case TWindowState::wsMinimized:
            w->showMinimized();
            break;
        case TWindowState::wsMaximized:
            w->showMaximized();
            break;
        case TWindowState::wsNormal:
            if (w->isMinimized() || w->isMaximized()) w->showNormal();
            break;
    }
}

void TForm::Show() {
    FrameWidget* w = Impl().frame;
    if (!w->isVisible()) {
        Perform(WM_SHOWWINDOW, 1, 0);
        if (Position == TPosition::poScreenCenter || Position == TPosition::poMainFormCenter) {
            TRect area = WorkArea();
            TForm* main = Application() != nullptr ? Application()->MainForm() : nullptr;
            if (Position == TPosition::poMainFormCenter && main != nullptr && main != this &&
                main->Impl().frame->isVisible())
                area = main->BoundsRect();
            if (!area.IsEmpty())
                SetBounds(area.Left + (area.Width() - Width()) / 2,
                          area.Top + (area.Height() - Height()) / 2, Width(), Height());
        }
    }
    visible_ = true;
    w->setWindowTitle(QString::fromStdString(Caption()));
    w->show();
    w->raise();
    w->activateWindow();
#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
    // A window shown again after it was hidden while active is still the platform's focus
    // window, so its activation changes nothing there and the widgets never hear of it.
    if (QGuiApplication::focusWindow() == w->windowHandle() && QApplication::activeWindow() != w)
        QApplication::setActiveWindow(w);
#endif
    NoteActivation(w);
    // A form shows with the focus on a control: the first in tab order unless one has it.
    if (FocusFirstOnShow && ActiveControl() == nullptr) SelectNext(nullptr, true);
    if (OnShow) OnShow(this);
}

void TForm::Hide() {
    FrameWidget* w = Impl().frame;
    visible_ = false;
    if (!w->isVisible()) return;
    Perform(WM_SHOWWINDOW, 0, 0);
    w->hide();
}

int TForm::ShowModal() {
    // Whatever the active form was doing with the mouse (a menu, a drag) stops here, and that
    // form is active again when the modal one closes.
    TForm* previous = LastActiveForm();
    if (previous == this || (previous != nullptr && !previous->Impl().frame->isVisible()))
        previous = nullptr;
    QPointer<FrameWidget> previousFrame = previous != nullptr ? previous->Impl().frame : nullptr;
    if (previous != nullptr) previous->Perform(WM_CANCELMODE, 0, 0);
    ModalResult = mrNone;
    modal_ = true;
    Impl().frame->setWindowModality(Qt::ApplicationModal);
    Show();
    while (ModalResult == mrNone && Impl().frame->isVisible()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    Hide();
    modal_ = false;
    Impl().frame->setWindowModality(Qt::NonModal);
    // The form may have gone while the modal loop ran.
    if (previousFrame != nullptr && previousFrame->Form() != nullptr && previousFrame->isVisible())
        previousFrame->Form()->BringToFront();
    if (ModalResult == mrNone) ModalResult = mrCancel;
    return ModalResult;
}

void TForm::Close() {
    if (modal_) {
        if (ModalResult == mrNone) ModalResult = mrCancel;
        return;
    }
    if (HandleCloseRequest()) Hide();
}

bool TForm::HandleCloseRequest() {
    if (closing_) return false;
    TCloseAction action = TCloseAction::caHide;
    if (modal_ && ModalResult == mrNone) ModalResult = mrCancel;
    closing_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{closing_};
    if (OnClose) OnClose(this, action);
    if (action == TCloseAction::caNone) return false;
    visible_ = false;
    if (Application() != nullptr && Application()->MainForm() == this) Application()->Terminate();
    return true;
}

void TForm::BringToFront() {
    Impl().frame->raise();
    Impl().frame->activateWindow();
    NoteActivation(Impl().frame);
}

bool TForm::Active() const { return Impl().frame->isActiveWindow(); }

void TForm::TextChanged() {
    Impl().frame->setWindowTitle(QString::fromStdString(Caption()));
    InvalidateNonClient();
    Invalidate();
}

void TForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

void TForm::Paint(TCanvas& canvas) {
    // The background goes through the window procedure, so that a frame that replaced it (a
    // skin) paints the client background too.
    Perform(WM_ERASEBKGND, PtrParam(&canvas), 0);
}

void TForm::WndProc(TMessage& m) {
    if (m.Msg == WM_ERASEBKGND && m.WParam != 0) {
        TCanvas& canvas = *ParamPtr<TCanvas>(m.WParam);
        canvas.Brush.Color = Color();
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.FillRect(ClientRect());
        m.Result = 1;
        return;
    }
    if (DefaultFrameMessage(m)) return;
    TWinControl::WndProc(m);
}

}  // namespace rt
