#pragma once
// Controls and forms. Every control is backed by a Qt widget inside runtime; what a control
// shows is painted by its Paint override into one off-screen bitmap per paint, which is then
// copied to the screen in one operation. Qt events arrive as TMessage through WindowProc.

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
        Invalidate();
    }
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& f) {
        font_ = f;
        Invalidate();
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
    // removes the shape (ControlRegion.cpp).
    void SetWindowRegion(const TRegion* region);

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
    virtual bool WantsFocus() const { return false; }
    virtual bool IsWindowed() const { return false; }

    ControlImpl& Impl() const { return *impl_; }

private:
    friend class TWinControl;
    friend struct ControlImpl;
    friend class ControlWidget;
    friend class TApplication;
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

    int ControlCount() const { return int(controls_.size()); }
    TControl* Controls(int i) const { return controls_.at(std::size_t(i)); }
    bool Focused() const;
    void SetFocus();
    // Whether the control could take the focus now: it and every parent up to its form are
    // visible and enabled (KeyRouting.cpp).
    bool CanFocus() const;
    bool TabStop = false;
    TKeyEvent OnKeyDown;
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
};

class TCustomControl : public TWinControl {
public:
    using TWinControl::TWinControl;
};

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
enum class TPosition { poDesigned, poScreenCenter, poMainFormCenter };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

class TMainMenu;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    void SetClientSize(int width, int height);
    int ClientWidth() const { return Width(); }
    int ClientHeight() const { return Height(); }
    TFormBorderStyle BorderStyle = TFormBorderStyle::bsSizeable;
    TPosition Position = TPosition::poDesigned;
    TWindowState WindowState() const;
    void SetWindowState(TWindowState s);
    // The native window's class name, used to find a running instance.
    std::string WindowClassName;

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

    std::function<void(TComponent*)> OnCreate;
    std::function<void(TComponent*)> OnShow;
    std::function<void(TComponent*, TCloseAction&)> OnClose;
    std::function<void(TComponent*)> OnDestroy;

    // Written by layouts once the controls exist: runs OnCreate.
    void DoCreate();

    // Window opacity 0..255 where the window system supports it.
    void SetAlphaBlend(int alpha);

protected:
    void Paint(TCanvas& canvas) override;
    void TextChanged() override;

private:
    friend struct ControlImpl;
    friend class ControlWidget;
    bool HandleCloseRequest();
    bool closing_ = false;
    bool modal_ = false;
};

}  // namespace rt
