// Controls: geometry, visibility, painting through one bitmap, the default message handling,
// alignment of children, window timers, and the popup window kind.
#include "runtime/Controls.h"

#include <QPainter>
#include <algorithm>

#include "runtime/Application.h"
#include "runtime/ControlWidget.h"

namespace rt {

namespace {

// Where a parent's client area begins inside its widget (a child control's own frame).
TPoint ClientOrigin(const TWinControl* parent) {
    if (parent == nullptr || ImplOf(*parent).frame != nullptr || !ImplOf(*parent).nonClient)
        return {0, 0};
    return {ImplOf(*parent).client.Left, ImplOf(*parent).client.Top};
}

TShiftState ShiftFromKeys(std::intptr_t k) {
    TShiftState s = 0;
    if (k & MK_LBUTTON) s |= ssLeft;
    if (k & MK_RBUTTON) s |= ssRight;
    if (k & MK_MBUTTON) s |= ssMiddle;
    if (k & MK_SHIFT) s |= ssShift;
    if (k & MK_CONTROL) s |= ssCtrl;
    return s;
}

// Whether w or a widget inside it has its window's keyboard focus.
bool HoldsFocus(const QWidget* w) {
    const QWidget* f = w->window()->focusWidget();
    return f != nullptr && (f == w || w->isAncestorOf(f));
}

// A focused control that is disabled or hidden leaves its window without a focused widget (our
// widgets take no part in Qt's own focus chain), and every key of the form would be lost; the
// form itself takes the focus instead, so that its keys and Tab keep working.
void HandFocusToForm(TControl& control) {
    TForm* form = control.ParentForm();
    if (form == nullptr || form == &control || form->Destroying() || control.Destroying()) return;
    // Disabling clears the focus; hiding leaves it on the hidden widget.
    QWidget* client = ImplOf(*form).widget;
    if (client->window()->focusWidget() == nullptr || HoldsFocus(ImplOf(control).widget))
        client->setFocus(Qt::OtherFocusReason);
}

}  // namespace

TControl::TControl(TComponent* owner) : TComponent(owner), impl_(std::make_unique<ControlImpl>()) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    impl_->widget = new ControlWidget(this, false);
    impl_->widget->hide();
    font_.Color = clWindowText;
}

TControl::~TControl() {
    // Children first, while this control is still whole.
    DestroyComponents();
    if (parent_ != nullptr) parent_->RemoveControl(this);
    if (impl_->widget != nullptr) {
        for (const auto& t : impl_->timers) impl_->widget->killTimer(t.second);
        impl_->widget->Detach();
        delete impl_->widget;
        impl_->widget = nullptr;
    }
    if (impl_->frame != nullptr) {
        impl_->frame->Detach();
        delete impl_->frame;
        impl_->frame = nullptr;
    }
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent_ != nullptr) parent_->RemoveControl(this);
    parent_ = parent;
    QWidget* w = impl_->widget;
    if (parent_ != nullptr) {
        parent_->InsertControl(this);
        w->setParent(parent_->impl_->widget);
        const TPoint o = ClientOrigin(parent_);
        w->setGeometry(left_ + o.X, top_ + o.Y, width_, height_);
        w->setVisible(visible_);
        w->raise();
        parent_->Realign();
    } else {
        w->setParent(nullptr);
        w->hide();
    }
}

TForm* TControl::ParentForm() const {
    const TControl* c = this;
    while (c != nullptr) {
        if (auto* f = dynamic_cast<const TForm*>(c)) return const_cast<TForm*>(f);
        c = c->parent_;
    }
    return nullptr;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    QWidget* w = impl_->widget;
    const TPoint o = ClientOrigin(parent_);
    const QRect g(left + o.X, top + o.Y, width, height);
    if (w->geometry() != g) w->setGeometry(g);
    // A control with a frame of its own places its client area again at every new size.
    if (resized && impl_->frame == nullptr && (impl_->nonClient || impl_->platform != nullptr))
        static_cast<TWinControl*>(this)->FrameChanged();
    if (resized) {
        Resize();
        if (auto* wc = dynamic_cast<TWinControl*>(this)) wc->Realign();
        Invalidate();
    }
    if (parent_ != nullptr && align_ != TAlign::alNone && resized) parent_->Realign();
}

void TControl::SetVisible(bool v) {
    if (visible_ == v) return;
    // A form shows and hides as a window.
    if (impl_->frame != nullptr) {
        auto* form = static_cast<TForm*>(this);
        if (v)
            form->Show();
        else
            form->Hide();
        return;
    }
    visible_ = v;
    const bool hadFocus = !v && !impl_->popup && HoldsFocus(impl_->widget);
    if (impl_->popup)
        impl_->widget->setVisible(v);
    else if (parent_ != nullptr || !impl_->widget->isWindow())
        impl_->widget->setVisible(v && parent_ != nullptr);
    if (hadFocus) HandFocusToForm(*this);
    Perform(CM_VISIBLECHANGED, v ? 1 : 0, 0);
    if (parent_ != nullptr && align_ != TAlign::alNone) parent_->Realign();
}

void TControl::SetEnabled(bool v) {
    if (enabled_ == v) return;
    enabled_ = v;
    const bool hadFocus = !v && HoldsFocus(impl_->widget);
    impl_->widget->setEnabled(v);
    if (hadFocus) HandFocusToForm(*this);
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetCaption(const std::string& c) {
    if (caption_ == c) return;
    // Windowed controls hear of their new text as WM_SETTEXT, whose default handling stores it.
    if (IsWindowed()) {
        Perform(WM_SETTEXT, 0, PtrParam(c.c_str()));
        return;
    }
    caption_ = c;
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetAlign(TAlign a) {
    align_ = a;
    if (parent_ != nullptr) parent_->Realign();
}

void TControl::SetCursor(TCursor c) {
    cursor_ = c;
    impl_->widget->setCursor(ShapeOf(c));
}

void TControl::Invalidate() { impl_->widget->update(); }

void TControl::Repaint() { impl_->widget->repaint(); }

TBitmap TControl::PaintToBitmap() {
    // A child control's own frame first, then its client area over what the frame left there.
    if (impl_->nonClient && impl_->frame == nullptr && width_ > 0 && height_ > 0) {
        TBitmap whole(width_, height_);
        TNCPaintParams params{&whole.Canvas(), Rect(0, 0, width_, height_)};
        Perform(WM_NCPAINT, PtrParam(&params), 0);
        whole.Canvas().ClearClip();
        const TRect c = impl_->client;
        if (!c.IsEmpty()) {
            TBitmap client(c.Width(), c.Height());
            client.Canvas().CopyRect(Rect(0, 0, c.Width(), c.Height()), whole, c);
            Paint(client.Canvas());
            whole.Canvas().Draw(c.Left, c.Top, client);
        }
        return whole;
    }
    // A form paints its client area; its frame is the non-client painting's.
    TBitmap b = impl_->frame != nullptr ? TBitmap(impl_->widget->width(), impl_->widget->height())
                                        : TBitmap(width_, height_);
    if (!b.Empty()) Paint(b.Canvas());
    return b;
}

void TControl::PaintNow(void* qpainter) {
    TBitmap b = PaintToBitmap();
    if (b.Empty()) return;
    QImage img(reinterpret_cast<const uchar*>(b.Pixels().data()), b.Width(), b.Height(),
               qsizetype(b.Width()) * 4, QImage::Format_RGB32);
    static_cast<QPainter*>(qpainter)->drawImage(0, 0, img);
}

TPoint TControl::ClientToScreen(TPoint p) const {
    const TPoint o = impl_->nonClient && impl_->frame == nullptr
                         ? TPoint{impl_->client.Left, impl_->client.Top}
                         : TPoint{0, 0};
    QPoint q = impl_->widget->mapToGlobal(QPoint(p.X + o.X, p.Y + o.Y));
    return {q.x(), q.y()};
}

TPoint TControl::ScreenToClient(TPoint p) const {
    const TPoint o = impl_->nonClient && impl_->frame == nullptr
                         ? TPoint{impl_->client.Left, impl_->client.Top}
                         : TPoint{0, 0};
    QPoint q = impl_->widget->mapFromGlobal(QPoint(p.X, p.Y));
    return {q.x() - o.X, q.y() - o.Y};
}

bool TControl::MouseCapture() const { return QWidget::mouseGrabber() == impl_->widget; }

void TControl::SetMouseCapture(bool on) {
    if (on)
        impl_->widget->grabMouse();
    else if (MouseCapture())
        impl_->widget->releaseMouse();
}

void TControl::SetWindowRegion(const TRegion* region) {
    QWidget* w = impl_->Window();
    if (region == nullptr) {
        w->clearMask();
        return;
    }
    // Rectangles of a region may overlap and come in any order: unite them pairwise, level by
    // level, which stays fast for the thousands of runs a mask picture gives.
    std::vector<QRegion> parts;
    parts.reserve(region->Rects().size());
    for (const TRect& r : region->Rects())
        if (!r.IsEmpty()) parts.emplace_back(r.Left, r.Top, r.Width(), r.Height());
    while (parts.size() > 1) {
        std::vector<QRegion> next;
        next.reserve(parts.size() / 2 + 1);
        for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
            next.push_back(parts[i].united(parts[i + 1]));
        if (parts.size() % 2 != 0) next.push_back(parts.back());
        parts.swap(next);
    }
    QRegion q = parts.empty() ? QRegion() : parts.front();
    // An empty mask means "no mask" to Qt; a shape without pixels must hide everything, so it
    // becomes one pixel outside the widget.
    if (q.isEmpty()) q = QRegion(QRect(-1, -1, 1, 1));
    w->setMask(q);
    w->update();
}

void TControl::SetTimer(std::uintptr_t id, int ms) {
    KillTimer(id);
    int qtId = impl_->widget->startTimer(std::max(1, ms));
    if (qtId != 0) impl_->timers[id] = qtId;
}

void TControl::KillTimer(std::uintptr_t id) {
    auto it = impl_->timers.find(id);
    if (it == impl_->timers.end()) return;
    impl_->widget->killTimer(it->second);
    impl_->timers.erase(it);
}

std::intptr_t TControl::Perform(unsigned msg, std::intptr_t wParam, std::intptr_t lParam) {
    TMessage m{msg, wParam, lParam, 0};
    WindowProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& m) { DefaultHandler(m); }

void TControl::DefaultHandler(TMessage& m) {
    int x = LParamX(m.LParam), y = LParamY(m.LParam);
    switch (m.Msg) {
        case WM_PAINT: {
            ControlWidget* w = impl_->widget;
            if (w->inPaintEvent) {
                QPainter p(w);
                PaintNow(&p);
            } else {
                w->repaint();
            }
            break;
        }
        case WM_ERASEBKGND:
            m.Result = 1;
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            if (!enabled_) break;
            TMouseButton b = m.Msg == WM_LBUTTONDOWN   ? TMouseButton::mbLeft
                             : m.Msg == WM_RBUTTONDOWN ? TMouseButton::mbRight
                                                       : TMouseButton::mbMiddle;
            if (b == TMouseButton::mbLeft) pressed_ = true;
            if (WantsFocus()) impl_->widget->setFocus(Qt::MouseFocusReason);
            MouseDown(b, ShiftFromKeys(m.WParam), x, y);
            break;
        }
        case WM_SETTEXT:
            caption_ = m.LParam != 0 ? std::string(ParamPtr<const char>(m.LParam)) : std::string();
            Perform(CM_TEXTCHANGED, 0, 0);
            m.Result = 1;
            break;
        case WM_LBUTTONDBLCLK:
            if (!enabled_) break;
            pressed_ = true;
            MouseDown(TMouseButton::mbLeft, ShiftFromKeys(m.WParam) | ssDouble, x, y);
            DblClick();
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            if (!enabled_) break;
            TMouseButton b = m.Msg == WM_LBUTTONUP   ? TMouseButton::mbLeft
                             : m.Msg == WM_RBUTTONUP ? TMouseButton::mbRight
                                                     : TMouseButton::mbMiddle;
            bool click = b == TMouseButton::mbLeft && pressed_ && ClientRect().Contains({x, y});
            if (b == TMouseButton::mbLeft) pressed_ = false;
            MouseUp(b, ShiftFromKeys(m.WParam), x, y);
            if (click) Click();
            break;
        }
        case WM_MOUSEMOVE:
            MouseMove(ShiftFromKeys(m.WParam), x, y);
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            int key = int(m.WParam);
            KeyDown(key, TShiftState(m.LParam));
            break;
        }
        case CM_MOUSEENTER:
            MouseEnter();
            break;
        case CM_MOUSELEAVE:
            MouseLeave();
            break;
        case CM_ENABLEDCHANGED:
            EnabledChanged();
            break;
        case CM_TEXTCHANGED:
            TextChanged();
            break;
        case CM_FONTCHANGED:
            FontChanged();
            break;
        default:
            break;
    }
}

void TControl::PaintParentBackground(TCanvas& canvas) {
    if (parent_ == nullptr) {
        canvas.Brush.Color = color_;
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.FillRect(Rect(0, 0, width_, height_));
        return;
    }
    // The parent paints at its own size; the clip keeps its work to the part under us.
    TBitmap under(parent_->width_, parent_->height_);
    const TRect mine = Bounds(left_, top_, width_, height_);
    under.Canvas().SetClipRect(mine);
    parent_->Paint(under.Canvas());
    under.Canvas().ClearClip();
    for (TControl* c : parent_->controls_) {
        if (c == this) break;
        if (!c->visible_ || c->IsWindowed()) continue;
        const TRect r = c->BoundsRect();
        if (r.Right <= mine.Left || r.Left >= mine.Right || r.Bottom <= mine.Top ||
            r.Top >= mine.Bottom)
            continue;
        under.Canvas().Draw(r.Left, r.Top, c->PaintToBitmap());
    }
    canvas.CopyRect(Rect(0, 0, width_, height_), under, mine);
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::Paint(TCanvas& canvas) {
    canvas.Brush.Color = color_;
    canvas.FillRect(ClientRect());
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::KeyDown(int& key, TShiftState shift) {
    if (auto* wc = dynamic_cast<TWinControl*>(this); wc != nullptr && wc->OnKeyDown)
        wc->OnKeyDown(this, key, shift);
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

void TWinControl::SetAlphaBlend(int alpha) {
    alpha_ = std::clamp(alpha, 0, 255);
    Impl().Window()->setWindowOpacity(alpha_ / 255.0);
}

TWinControl::~TWinControl() {
    DestroyComponents();
    // Children owned elsewhere leave this parent before its widget goes.
    while (!controls_.empty()) controls_.back()->SetParent(nullptr);
}

bool TWinControl::Focused() const { return Impl().widget->hasFocus(); }

void TWinControl::SetFocus() { Impl().widget->setFocus(Qt::OtherFocusReason); }

void TWinControl::InsertControl(TControl* c) {
    controls_.push_back(c);
    if (auto* wc = dynamic_cast<TWinControl*>(c)) tabList_.push_back(wc);
}

void TWinControl::RemoveControl(TControl* c) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), c), tabList_.end());
}

void TWinControl::Realign() {
    TRect r = ClientRect();
    auto place = [&](TAlign a) {
        for (TControl* c : controls_) {
            if (c->align_ != a || !c->visible_) continue;
            switch (a) {
                case TAlign::alTop:
                    c->SetBounds(r.Left, r.Top, r.Width(), c->height_);
                    r.Top += c->height_;
                    break;
                case TAlign::alBottom:
                    c->SetBounds(r.Left, r.Bottom - c->height_, r.Width(), c->height_);
                    r.Bottom -= c->height_;
                    break;
                case TAlign::alLeft:
                    c->SetBounds(r.Left, r.Top, c->width_, r.Height());
                    r.Left += c->width_;
                    break;
                case TAlign::alRight:
                    c->SetBounds(r.Right - c->width_, r.Top, c->width_, r.Height());
                    r.Right -= c->width_;
                    break;
                case TAlign::alClient:
                    c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
                    break;
                case TAlign::alNone:
                    break;
            }
        }
    };
    // An aligned child's size change calls back here while we place it; a child that is a
    // container lays out its own children through its own flag.
    if (realigning_) return;
    realigning_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{realigning_};
    place(TAlign::alTop);
    place(TAlign::alBottom);
    place(TAlign::alLeft);
    place(TAlign::alRight);
    place(TAlign::alClient);
}

TPopupWindow::TPopupWindow(TComponent* owner) : TCustomControl(owner) {
    ControlWidget* w = Impl().widget;
    Impl().popup = true;
    // A tool-tip window is top-most, has no taskbar entry and is never activated by the
    // platform, not even on a click; it must not take the keyboard either.
    w->setParent(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                              Qt::WindowDoesNotAcceptFocus);
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    w->setAttribute(Qt::WA_X11DoNotAcceptFocus);
    w->setFocusPolicy(Qt::NoFocus);
    visible_ = false;
    w->hide();
}

}  // namespace rt
