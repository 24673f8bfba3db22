// A child control's own frame: the client rectangle that WM_NCCALCSIZE leaves inside the
// control, the frame painted through WM_NCPAINT into the control's one bitmap per paint, and
// the mouse over the frame hit tested and sent as non-client messages.
//
//   +---------------------------+  the control's widget covers the whole window and paints
//   | frame   +-----------+     |  frame and client from one bitmap; a wrapped platform
//   |         | client    | btn |  control (an edit) sits on the client rectangle and draws
//   |         +-----------+     |  over what the frame painted there
//   +---------------------------+
#include <QMouseEvent>
#include <QPointer>
#include <algorithm>

#include "runtime/Application.h"
#include "runtime/ControlWidget.h"

namespace rt {

TRect TWinControl::ClientInWindow() const {
    const ControlImpl& impl = Impl();
    return impl.nonClient ? impl.client : Rect(0, 0, width_, height_);
}

TRect TWinControl::ClientRect() const {
    const TRect c = ClientInWindow();
    return Rect(0, 0, c.Width(), c.Height());
}

void TWinControl::FrameChanged() {
    ControlImpl& impl = Impl();
    TNCCalcSizeParams p;
    p.Window = BoundsRect();
    p.Client = p.Window;
    Perform(WM_NCCALCSIZE, 0, PtrParam(&p));
    TRect c = p.Client;
    c.Left = std::clamp(c.Left, p.Window.Left, p.Window.Right);
    c.Top = std::clamp(c.Top, p.Window.Top, p.Window.Bottom);
    c.Right = std::clamp(c.Right, c.Left, p.Window.Right);
    c.Bottom = std::clamp(c.Bottom, c.Top, p.Window.Bottom);
    const TRect inWindow = Rect(c.Left - left_, c.Top - top_, c.Right - left_, c.Bottom - top_);
    const TRect before = ClientInWindow();
    impl.nonClient = inWindow != Rect(0, 0, width_, height_);
    impl.client = inWindow;
    if (impl.platform != nullptr)
        impl.platform->setGeometry(inWindow.Left, inWindow.Top, inWindow.Width(),
                                   inWindow.Height());
    if (before != inWindow) {
        // Children sit in client coordinates: their widgets move with the client's origin.
        for (TControl* child : controls_)
            child->SetBounds(child->Left(), child->Top(), child->Width(), child->Height());
        if (before.Width() != inWindow.Width() || before.Height() != inWindow.Height()) {
            Resize();
            Realign();
        }
    }
    Invalidate();
}

void TWinControl::InvalidateNonClient() { Invalidate(); }

bool ControlWidget::RouteNonClient(QMouseEvent* e) {
    if (owner_ == nullptr || owner_->Impl().frame != nullptr) return false;
    ControlImpl& impl = owner_->Impl();
    if (!impl.nonClient) return false;
    NoteCursorPos(e->globalPosition().toPoint());
    const QEvent::Type type = e->type();
    const bool down = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    const bool up = type == QEvent::MouseButtonRelease;
    const QPoint p = e->position().toPoint();
    const QPoint g = e->globalPosition().toPoint();
    if (type == QEvent::MouseMove && e->buttons() == Qt::NoButton) impl.ncPress = false;
    QPointer<ControlWidget> alive(this);
    auto leaveFrame = [&] {
        if (impl.lastNcHit < 0) return;
        impl.lastNcHit = -1;
        Send(WM_NCMOUSELEAVE, 0, 0);
    };
    auto toClient = [&] {
        leaveFrame();
        if (alive == nullptr || owner_ == nullptr) return true;
        const TRect c = owner_->Impl().client;
        DispatchInput(owner_, MouseMessage(type, e->button(), true),
                      MouseKeys(e->modifiers(), e->buttons()),
                      MakeLParam(p.x() - c.Left, p.y() - c.Top));
        return true;
    };
    const TRect& c = impl.client;
    const bool inClient = p.x() >= c.Left && p.x() < c.Right && p.y() >= c.Top && p.y() < c.Bottom;
    // A capture by the control, or a press that began on the client: client messages.
    if (!impl.ncPress && (owner_->MouseCapture() || inClient)) return toClient();
    int hit = HTNOWHERE;
    if (rect().contains(p)) hit = int(Send(WM_NCHITTEST, 0, MakeLParam(g.x(), g.y())));
    if (alive == nullptr || owner_ == nullptr) return true;
    if (hit == HTCLIENT && !impl.ncPress) return toClient();
    if (down) impl.ncPress = true;
    if (up && e->buttons() == Qt::NoButton) impl.ncPress = false;
    // Outside the control only the end of a press on the frame still belongs to it.
    if (hit == HTNOWHERE && !up && !impl.ncPress) {
        leaveFrame();
        return true;
    }
    impl.lastNcHit = hit;
    DispatchInput(owner_, MouseMessage(type, e->button(), false), hit, MakeLParam(g.x(), g.y()));
    return true;
}

}  // namespace rt
