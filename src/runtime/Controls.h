#pragma once
// Controls and forms. Every control is backed by a Qt widget inside runtime; what a control
// shows is painted by its Paint override into one off-screen bitmap per paint, which is then
// copied to the screen in one operation. Qt events arrive as TMessage through WindowProc.
//
// A form is a frameless top-level window whose non-client area belongs to the program, as in
// the window system the skin engine was written for: WM_NCCALCSIZE places the client area
// inside the window rectangle, WM_NCHITTEST classifies every mouse position over the window
// that no child control covers (a child takes the mouse without asking), WM_NCPAINT paints the
// frame, and a press on HTCAPTION or a sizing code runs the move/size loop. The form's default
// window procedure gives a plain frame (see TForm).
//
// Mouse routing on a form: with the form holding the capture, or while buttons are held since
// a press on the client area, every mouse event is a client message (WM_MOUSEMOVE,
// WM_LBUTTONDOWN ..., client coordinates). Otherwise WM_NCHITTEST is asked (LParam: the screen
// point) and HTCLIENT gives client messages; any other answer gives WM_NCMOUSEMOVE,
// WM_NC[LRM]BUTTONDOWN/UP/DBLCLK with WParam = the hit code and LParam = the screen point, and
// WM_NCMOUSELEAVE when the mouse leaves the frame. The cursor follows the answer (sizing arrows
// for the eight sizing codes). The default procedure turns WM_NCLBUTTONDOWN on HTCAPTION into
// WM_SYSCOMMAND SC_MOVE | HTCAPTION and on a sizing code into SC_SIZE + WMSZ_*, which start
// the loop: WM_ENTERSIZEMOVE, then per mouse move WM_MOVING or WM_SIZING (the rectangle may be
// changed) and the new bounds (WM_GETMINMAXINFO, WM_MOVE, WM_SIZE), then WM_EXITSIZEMOVE; the
// loop takes the button release. A press on an inactive form first sends WM_MOUSEACTIVATE; a
// press on a child control first sends WM_PARENTNOTIFY to its form.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Classes.h"
#include "runtime/Graphics.h"
#include "runtime/Messages.h"

namespace rt {

class TWinControl;
class TForm;
struct ControlImpl;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
using TShiftState = unsigned;
enum class TCursor {
    crDefault,
    crArrow,
    crHandPoint,
    crSizeWE,
    crSizeNS,
    crSizeNWSE,
    crSizeNESW,
    crIBeam
};

using TMouseEvent =
    std::function<void(TComponent* sender, TMouseButton, TShiftState, int x, int y)>;
using TMouseMoveEvent = std::function<void(TComponent* sender, TShiftState, int x, int y)>;
using TKeyEvent = std::function<void(TComponent* sender, int& key, TShiftState)>;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    // The form this control sits on, or null.
    TForm* ParentForm() const;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    virtual TRect ClientRect() const { return Rect(0, 0, width_, height_); }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    // Every size change goes through here; subclasses may adjust the size (fit to a skin).
    virtual void SetBounds(int left, int top, int width, int height);

    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& c);
    TAlign Align() const { return align_; }
    void SetAlign(TAlign a);
    TColor Color() const { return color_; }
    void SetColor(TColor c) {
        color_ = c;
        ColorChanged();
    }
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& f) {
        font_ = f;
        Perform(CM_FONTCHANGED, 0, 0);
    }
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor c);
    std::string Hint;
    bool ShowHint = false;
    int Tag = 0;

    // Schedules a repaint; Repaint paints now.
    void Invalidate();
    void Repaint();
    // Paints the control into a fresh bitmap of its size, exactly as the screen would get it.
    TBitmap PaintToBitmap();

    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;
    bool MouseCapture() const;
    void SetMouseCapture(bool on);

    // Shapes the control's window: only the region's pixels show and take the mouse; null
    // removes the shape. A form's region is in window coordinates and shapes the whole window,
    // frame included; points outside it are not the form's (no hit test, no mouse messages).
    void SetWindowRegion(const TRegion* region);

    // Window timers: WM_TIMER with WParam = id reaches the window procedure every ms
    // milliseconds until KillTimer. Setting a running id again restarts it with the new
    // interval. Timers die with the control.
    void SetTimer(std::uintptr_t id, int ms);
    void KillTimer(std::uintptr_t id);

    // Sends a message straight to the control's window procedure and returns its result.
    std::intptr_t Perform(unsigned msg, std::intptr_t wParam, std::intptr_t lParam);
    // The replaceable window procedure; by default it calls WndProc.
    std::function<void(TMessage&)> WindowProc;
    virtual void WndProc(TMessage& message);
    // The default handling of a message (mouse, keys, paint, enter/leave ...).
    void DefaultHandler(TMessage& message);

    TNotifyEvent OnClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // Runs the click as if the user clicked (also used by actions).
    virtual void Click();

protected:
    // Paint everything the control shows; the canvas belongs to a bitmap of the control's size.
    virtual void Paint(TCanvas& canvas);
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void DblClick() {}
    virtual void KeyDown(int& key, TShiftState shift);
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    virtual void Resize() {}
    virtual void EnabledChanged() { Invalidate(); }
    virtual void TextChanged() { Invalidate(); }
    virtual void FontChanged() { Invalidate(); }
    virtual void ColorChanged() { Invalidate(); }
    // Paints what shows under this control into its canvas: the parent's own painting and the
    // window-less siblings below this one. Transparent controls start their paint with it, so
    // that one bitmap per paint still holds every pixel.
    void PaintParentBackground(TCanvas& canvas);
    virtual bool WantsFocus() const { return false; }
    virtual bool IsWindowed() const { return false; }

    ControlImpl& Impl() const { return *impl_; }

private:
    friend class TWinControl;
    friend struct ControlImpl;
    friend class ControlWidget;
    friend class TApplication;
    friend ControlImpl& ImplOf(const TControl& control);
    void PaintNow(void* qpainter);
    std::unique_ptr<ControlImpl> impl_;

protected:
    // State shared with the control kinds of this layer.
    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    std::string caption_;
    TAlign align_ = TAlign::alNone;
    TColor color_ = clBtnFace;
    TFont font_;
    TCursor cursor_ = TCursor::crDefault;
    bool pressed_ = false;
};

// A control without a window of its own in the original platform; here it still has a widget,
// but it never takes focus.
class TGraphicControl : public TControl {
public:
    using TControl::TControl;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // Constant opacity 0..255 of a top-level window (a form, a popup) where the window system
    // can show it; without a compositor the window simply stays opaque.
    void SetAlphaBlend(int alpha);
    int AlphaBlend() const { return alpha_; }

    int ControlCount() const { return int(controls_.size()); }
    TControl* Controls(int i) const { return controls_.at(std::size_t(i)); }
    bool Focused() const;
    void SetFocus();
    // Whether the control could take the focus now: it and every parent up to its form are
    // visible and enabled (KeyRouting.cpp).
    bool CanFocus() const;
    // Tab takes the focus only to controls with TabStop; TabOrder is the control's place among
    // its parent's windowed children (0 first; a new child comes last). Setting it moves the
    // control there, clamped to the list (TabOrder.cpp).
    bool TabStop = false;
    int TabOrder() const;
    void SetTabOrder(int value);
    TKeyEvent OnKeyDown;

    // A child control may keep a frame of its own around its client area, as forms do:
    // FrameChanged asks WM_NCCALCSIZE (rectangles in the parent's client coordinates) and
    // places the client area there; WM_NCPAINT (TNCPaintParams, window coordinates) paints the
    // frame before each paint of the client, and the mouse over the frame is hit tested with
    // WM_NCHITTEST and gets the non-client mouse messages, as on a form (ChildFrame.cpp).
    virtual void FrameChanged();
    // The client rectangle in window coordinates ((0, 0) is the control's top-left).
    virtual TRect ClientInWindow() const;
    TRect ClientRect() const override;
    // Paints the frame again (with the client area, which shows through it).
    virtual void InvalidateNonClient();
    // Lays out aligned children again (after a size change of this control).
    void Realign();
    // Sends the message to every control below this one, depth first in child order, until one
    // sets a non-zero Result (KeyRouting.cpp).
    void Broadcast(TMessage& message);

protected:
    bool IsWindowed() const override { return true; }

private:
    friend class TControl;
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);
    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;  // the windowed children in tab order
    int alpha_ = 255;
    // Set while this control lays out its children: their size changes call back here.
    bool realigning_ = false;
};

class TCustomControl : public TWinControl {
public:
    using TWinControl::TWinControl;
};

// A popup window: a borderless top-level window that stays on top, has no taskbar entry and
// never takes activation or keyboard focus from the form that opened it (menus, hints,
// drop-down lists). Bounds are in screen coordinates; Show and Hide show it without
// activation. It gets client mouse messages like any control; keys stay with the active form,
// where an application message hook can pass them on.
class TPopupWindow : public TCustomControl {
public:
    explicit TPopupWindow(TComponent* owner);
};

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
enum class TPosition { poDesigned, poScreenCenter, poMainFormCenter };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

class TMainMenu;

class FrameWidget;

// A top-level form. Left, Top, Width and Height are the window rectangle on the screen; the
// client rectangle lies inside it where WM_NCCALCSIZE put it, and children are placed in
// client coordinates.
//
// The default window procedure gives a plain frame: a 3-pixel raised border, a 19-pixel
// caption bar with the caption text (shortened with "...") and a close button; dragging the
// caption moves the window, the border sizes it when BorderStyle is bsSizeable, the close
// button closes it. bsNone has no frame at all. A skinned frame replaces WindowProc, answers
// the non-client messages itself and calls the previous procedure for the rest.
class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    // The window rectangle; the size is clamped to WM_GETMINMAXINFO's tracking sizes.
    void SetBounds(int left, int top, int width, int height) override;
    // The client area: (0, 0, ClientWidth, ClientHeight).
    TRect ClientRect() const override;
    int ClientWidth() const { return client_.Width(); }
    int ClientHeight() const { return client_.Height(); }
    // Sizes the window so that the client area gets this size.
    void SetClientSize(int width, int height);
    // The client rectangle in window coordinates ((0, 0) is the window's top-left).
    TRect ClientInWindow() const override { return client_; }
    // Screen point to window coordinates and back.
    TPoint ScreenToWindow(TPoint p) const { return {p.X - Left(), p.Y - Top()}; }
    TPoint WindowToScreen(TPoint p) const { return {p.X + Left(), p.Y + Top()}; }

    // Asks WM_NCCALCSIZE again, places the client area and repaints the frame: for a window
    // procedure whose frame geometry changed (a new skin, a replaced procedure).
    void FrameChanged() override;
    // Non-client painting. InvalidateNonClient repaints the whole frame with WM_NCPAINT soon;
    // RepaintNonClient sends WM_NCPAINT for one window rectangle now and shows the result.
    // PaintNonClientNow paints one part of the frame now without WM_NCPAINT: `paint` draws in
    // window coordinates, clipped to r, onto the bitmap that holds the frame as last painted,
    // and r goes to the screen in one copy (frame objects changing look, animation steps).
    void InvalidateNonClient() override;
    void RepaintNonClient(const TRect& r);
    void PaintNonClientNow(const TRect& r, const std::function<void(TCanvas&)>& paint);

    // The move/size loop, as WM_SYSCOMMAND SC_MOVE / SC_SIZE start it: hit HTCAPTION moves,
    // a sizing code sizes from that edge. With a mouse button held the loop ends on its
    // release; otherwise the window follows the mouse until a click or Enter. Esc puts the
    // window back. The window manager runs it where it accepts the request.
    void BeginSizeMove(int hit);
    bool InSizeMove() const;
    // The tracking sizes WM_GETMINMAXINFO gives now.
    TMinMaxInfo MinMaxInfo();

    TFormBorderStyle BorderStyle = TFormBorderStyle::bsSizeable;
    TPosition Position = TPosition::poDesigned;
    // The window system's own state of the window (a skinned frame keeps its own states and
    // leaves this normal, except that minimizing the main form minimizes the application).
    TWindowState WindowState() const;
    void SetWindowState(TWindowState s);
    // The native window's class name, used to find a running instance.
    std::string WindowClassName;
    // The form's own icon (empty: the application's icon stands in).
    TBitmap Icon;

    void Show();
    void Hide();
    // Runs a modal loop until ModalResult is set or the form closes; returns the result.
    int ShowModal();
    int ModalResult = mrNone;
    void Close();
    void BringToFront();
    bool Active() const;
    // The control of this form that has the focus, or null (KeyRouting.cpp).
    TWinControl* ActiveControl() const;
    // The form's controls that Tab visits, in tab order: depth first, each control before its
    // children, every parent's children by TabOrder. Only controls with TabStop that could take
    // the focus now count (TabOrder.cpp).
    std::vector<TWinControl*> TabOrderList() const;
    // The control after (or before) current in that order, wrapping; null when none can take
    // the focus. current may be null or any control: the search starts at its place.
    TWinControl* FindNextControl(TWinControl* current, bool forward) const;
    // Moves the focus as Tab (forward) and Shift+Tab do.
    void SelectNext(TWinControl* current, bool forward);
    // Show gives the focus to the first control in tab order unless one has it. A window of
    // tool buttons, whose keys are the window's own, turns this off: its buttons then show no
    // focus until Tab reaches them.
    bool FocusFirstOnShow = true;

    std::function<void(TComponent*)> OnCreate;
    std::function<void(TComponent*)> OnShow;
    std::function<void(TComponent*, TCloseAction&)> OnClose;
    std::function<void(TComponent*)> OnDestroy;
    // Sees every key down on the form's controls before the control does (after the
    // application's message hooks); returning true handles the key.
    std::function<bool(TComponent*, int key, TShiftState)> OnShortCut;

    // Written by layouts once the controls exist: runs OnCreate.
    void DoCreate();

    // WM_ERASEBKGND with WParam = the TCanvas* of the client paint fills the client area with
    // Color (TForm::Paint sends it).
    void WndProc(TMessage& message) override;

protected:
    void Paint(TCanvas& canvas) override;
    void TextChanged() override;

private:
    friend struct ControlImpl;
    friend class ControlWidget;
    friend class FrameWidget;
    bool HandleCloseRequest();
    // Asks WM_NCCALCSIZE for the current window size and places the client widget.
    void PlaceClient();
    TPoint ClampSize(int width, int height);
    // The plain frame of the default window procedure (DefaultFrame.cpp).
    bool DefaultFrameMessage(TMessage& m);
    void PaintDefaultFrame(TCanvas& canvas);
    bool closing_ = false;
    bool modal_ = false;
    TRect client_;
    TPoint minTrack_{0, 0}, maxTrack_{0, 0};  // last sizes given to the window manager
    int hotButton_ = 0;        // the plain frame's close button: hot (HTCLOSE) or not
    bool buttonDown_ = false;  // ... pressed
};

}  // namespace rt
