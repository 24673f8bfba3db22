#include "runtime/EditCtrls.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>

#include "runtime/Application.h"
#include "runtime/ControlWidget.h"
#include "runtime/KeyRouting.h"
#include "runtime/QtBridge.h"

namespace rt {

namespace {

QColor QColorOf(TColor c) { return QColor::fromRgb(QRgb(ColorToPixel(c))); }

TShiftState KeyShift(Qt::KeyboardModifiers m) { return ShiftOf(m, Qt::NoButton); }

// The character a key event types, 0 for none (control characters other than Enter count as
// none: the platform edit acts on them as keys).
char32_t TypedChar(const QKeyEvent& e) {
    if (e.key() == Qt::Key_Return || e.key() == Qt::Key_Enter) return 13;
    const QString text = e.text();
    if (text.isEmpty()) return 0;
    const char32_t c = text.toUcs4().value(0);
    return c >= 0x20 && c != 0x7F ? c : 0;
}

QLineEdit* LineEditOf(const TControl& c) { return static_cast<QLineEdit*>(ImplOf(c).platform); }

}  // namespace

// Puts the platform edit's events through the control: keys through the form's key routing
// and the edit's handlers, the mouse as client messages, the focus as the control's.
class EditFilter : public QObject {
public:
    explicit EditFilter(TCustomEdit* edit) : edit_(edit) {}
    void Detach() { edit_ = nullptr; }

    bool eventFilter(QObject*, QEvent* e) override {
        if (edit_ == nullptr) return false;
        switch (e->type()) {
            case QEvent::KeyPress:
                return Key(static_cast<QKeyEvent*>(e));
            case QEvent::KeyRelease: {
                auto* k = static_cast<QKeyEvent*>(e);
                const int vk = VirtualKeyOf(k->key());
                if (vk != 0 && !k->isAutoRepeat())
                    GuardedCall([&] { DeliverKeyUp(*edit_, vk, KeyShift(k->modifiers())); });
                return false;
            }
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseMove:
                Mouse(static_cast<QMouseEvent*>(e));
                return false;
            case QEvent::FocusIn:
                mouseFocus_ = static_cast<QFocusEvent*>(e)->reason() == Qt::MouseFocusReason;
                NoteFocusIn(edit_);
                return false;
            case QEvent::FocusOut:
                GuardedCall([&] { edit_->Perform(WM_KILLFOCUS, 0, 0); });
                return false;
            default:
                return false;
        }
    }

    bool MouseFocus() const { return mouseFocus_; }

private:
    bool Key(QKeyEvent* e) {
        const int vk = VirtualKeyOf(e->key());
        const char32_t ch = TypedChar(*e);
        const TShiftState shift = KeyShift(e->modifiers());
        if (vk == 0 && ch == 0) return false;
        QPointer<QObject> alive(this);
        TCustomEdit* edit = edit_;
        // A key without a virtual key (".", ",", "-", "~" ...) has no key-down step: only its
        // character goes through the edit's handlers.
        edit->keyPassed_ = vk == 0;
        edit->charPassed_ = 0;
        GuardedCall([&] { DeliverKeyDown(*edit, vk, shift, ch == 13 ? char32_t(13) : ch); });
        if (alive == nullptr || edit_ == nullptr) return true;
        // Enter ends at OnKeyPress; Tab and what the form or a handler took end here too.
        if (vk == VK_RETURN || vk == VK_TAB || !edit->keyPassed_) return true;
        if (ch == 0 || (shift & (ssCtrl | ssAlt)) != 0) return false;
        if (edit->charPassed_ == 0) return true;
        if (edit->charPassed_ == ch) return false;
        // OnKeyPress typed another character instead.
        const char32_t typed = edit->charPassed_;
        if (typed >= 0x20 && !edit->ReadOnly())
            LineEditOf(*edit)->insert(QString::fromUcs4(&typed, 1));
        return true;
    }

    void Mouse(QMouseEvent* e) {
        const unsigned msg = MouseMessage(e->type(), e->button(), true);
        const QPoint p = e->position().toPoint();
        NoteCursorPos(e->globalPosition().toPoint());
        if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick)
            mouseFocus_ = true;
        GuardedCall([&] {
            edit_->Perform(msg, MouseKeys(e->modifiers(), e->buttons()), MakeLParam(p.x(), p.y()));
        });
    }

    TCustomEdit* edit_;
    bool mouseFocus_ = false;
};

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
    color_ = clWindow;
    auto* line = new QLineEdit(Impl().widget);
    line->setFrame(false);
    line->setContextMenuPolicy(Qt::NoContextMenu);
    line->setAttribute(Qt::WA_MacShowFocusRect, false);
    filter_ = new EditFilter(this);
    line->installEventFilter(filter_);
    Impl().platform = line;
    Impl().widget->setFocusProxy(line);
    QObject::connect(line, &QLineEdit::textChanged, line, [this](const QString& text) {
        caption_ = text.toStdString();
        modified_ = true;
        GuardedCall([&] { Perform(CM_TEXTCHANGED, 0, 0); });
        GuardedCall([&] { Change(); });
    });
    line->show();
    SetBounds(0, 0, 121, 21);
    FrameChanged();
    UpdatePlatformLook();
}

TCustomEdit::~TCustomEdit() {
    // The platform edit goes with the widget; it must not call back into a half-gone control.
    if (QLineEdit* line = LineEditOf(*this)) {
        line->removeEventFilter(filter_);
        QObject::disconnect(line, nullptr, nullptr, nullptr);
    }
    filter_->Detach();
    delete filter_;
    Impl().widget->setFocusProxy(nullptr);
    Impl().platform = nullptr;
}

void TCustomEdit::SetReadOnly(bool value) {
    readOnly_ = value;
    LineEditOf(*this)->setReadOnly(value);
}

void TCustomEdit::SetMaxLength(int value) {
    maxLength_ = std::max(0, value);
    LineEditOf(*this)->setMaxLength(maxLength_ == 0 ? 32767 : maxLength_);
}

void TCustomEdit::SetAlignment(TAlignment value) {
    alignment_ = value;
    const Qt::Alignment a = value == TAlignment::taRightJustify ? Qt::AlignRight
                            : value == TAlignment::taCenter     ? Qt::AlignHCenter
                                                                : Qt::AlignLeft;
    LineEditOf(*this)->setAlignment(a | Qt::AlignVCenter);
}

void TCustomEdit::SetPasswordChar(char32_t value) {
    passwordChar_ = value;
    LineEditOf(*this)->setEchoMode(value != 0 ? QLineEdit::Password : QLineEdit::Normal);
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
    borderStyle_ = value;
    FrameChanged();
}

void TCustomEdit::SetEditTransparent(bool value) {
    transparent_ = value;
    UpdatePlatformLook();
    Invalidate();
}

void TCustomEdit::SetMargins(int left, int right) {
    marginLeft_ = std::max(0, left);
    marginRight_ = std::max(0, right);
    LineEditOf(*this)->setTextMargins(marginLeft_, 0, marginRight_, 0);
}

int TCustomEdit::SelStart() const {
    const QLineEdit* line = LineEditOf(*this);
    return line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
}

void TCustomEdit::SetSelStart(int value) {
    LineEditOf(*this)->deselect();
    LineEditOf(*this)->setCursorPosition(value);
}

int TCustomEdit::SelLength() const { return int(LineEditOf(*this)->selectedText().size()); }

void TCustomEdit::SetSelLength(int value) {
    QLineEdit* line = LineEditOf(*this);
    line->setSelection(SelStart(), std::max(0, value));
}

std::string TCustomEdit::SelText() const { return LineEditOf(*this)->selectedText().toStdString(); }

void TCustomEdit::SetSelText(const std::string& text) {
    if (!readOnly_) LineEditOf(*this)->insert(QString::fromStdString(text));
}

void TCustomEdit::SelectAll() { LineEditOf(*this)->selectAll(); }

void TCustomEdit::CopyToClipboard() { LineEditOf(*this)->copy(); }

void TCustomEdit::CutToClipboard() {
    if (!readOnly_) LineEditOf(*this)->cut();
}

void TCustomEdit::PasteFromClipboard() {
    if (!readOnly_) LineEditOf(*this)->paste();
}

void TCustomEdit::Undo() {
    if (!readOnly_) LineEditOf(*this)->undo();
}

bool TCustomEdit::CanUndo() const { return !readOnly_ && LineEditOf(*this)->isUndoAvailable(); }

void TCustomEdit::Clear() {
    if (!readOnly_) SetText(std::string());
}

void TCustomEdit::ClearSelection() {
    if (!readOnly_) LineEditOf(*this)->del();
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

void TCustomEdit::KeyPress(char32_t& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

int TCustomEdit::DialogCode() const { return DLGC_WANTCHARS | DLGC_WANTARROWS; }

void TCustomEdit::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_GETDLGCODE:
            m.Result = DialogCode();
            return;
        case WM_KEYDOWN: {
            int key = int(m.WParam);
            KeyDown(key, TShiftState(m.LParam));
            keyPassed_ = key != 0;
            return;
        }
        case WM_KEYUP: {
            int key = int(m.WParam);
            if (OnKeyUp) OnKeyUp(this, key, TShiftState(m.LParam));
            return;
        }
        case WM_CHAR: {
            char32_t key = char32_t(m.WParam);
            KeyPress(key);
            charPassed_ = key;
            return;
        }
        case WM_SETTEXT: {
            const std::string text =
                m.LParam != 0 ? std::string(ParamPtr<const char>(m.LParam)) : std::string();
            m.Result = 1;
            if (text == caption_) return;
            // The platform edit reports the change, which runs OnChange.
            LineEditOf(*this)->setText(QString::fromStdString(text));
            modified_ = false;
            return;
        }
        case WM_SETFOCUS:
            if (AutoSelect && !filter_->MouseFocus()) SelectAll();
            if (OnEnter) OnEnter(this);
            break;
        case WM_KILLFOCUS:
            if (OnExit) OnExit(this);
            break;
        case WM_NCCALCSIZE: {
            auto* p = ParamPtr<TNCCalcSizeParams>(m.LParam);
            TRect client = Rect(p->Window.Left - Left(), p->Window.Top - Top(),
                                p->Window.Right - Left(), p->Window.Bottom - Top());
            CalcNonClient(client);
            p->Client = Rect(client.Left + Left(), client.Top + Top(), client.Right + Left(),
                             client.Bottom + Top());
            return;
        }
        case WM_NCPAINT:
            if (auto* p = ParamPtr<TNCPaintParams>(m.WParam); p != nullptr && p->Canvas != nullptr)
                PaintNonClient(*p->Canvas);
            return;
        case WM_NCHITTEST:
            m.Result = HTBORDER;
            return;
        default:
            break;
    }
    TWinControl::WndProc(m);
}

void TCustomEdit::CalcNonClient(TRect& client) {
    if (borderStyle_ == TBorderStyle::bsSingle)
        client = Rect(client.Left + 2, client.Top + 2, client.Right - 2, client.Bottom - 2);
}

void TCustomEdit::PaintNonClient(TCanvas& c) {
    const TRect r = Rect(0, 0, Width(), Height());
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = Enabled() ? color_ : clBtnFace;
    c.FillRect(r);
    if (borderStyle_ != TBorderStyle::bsSingle || r.Width() < 4 || r.Height() < 4) return;
    // Sunken: shadow and dark shadow above and left, highlight and face below and right.
    auto line = [&](int x0, int y0, int x1, int y1, TColor col) {
        c.Pen.Color = col;
        c.Pen.Style = TPenStyle::psSolid;
        c.MoveTo(x0, y0);
        c.LineTo(x1, y1);
    };
    const int w = r.Width(), h = r.Height();
    line(0, h - 1, 0, 0, clBtnShadow);
    line(0, 0, w, 0, clBtnShadow);
    line(1, h - 2, 1, 1, cl3DDkShadow);
    line(1, 1, w - 1, 1, cl3DDkShadow);
    line(0, h - 1, w, h - 1, clBtnHighlight);
    line(w - 1, h - 1, w - 1, -1, clBtnHighlight);
    line(1, h - 2, w - 1, h - 2, clBtnFace);
    line(w - 2, h - 2, w - 2, 0, clBtnFace);
}

void TCustomEdit::Paint(TCanvas& canvas) {
    if (transparent_) return;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = Enabled() ? color_ : clBtnFace;
    canvas.FillRect(ClientRect());
}

void TCustomEdit::FontChanged() {
    UpdatePlatformLook();
    Invalidate();
}

void TCustomEdit::EnabledChanged() {
    UpdatePlatformLook();
    Invalidate();
}

void TCustomEdit::TextChanged() { Invalidate(); }

void TCustomEdit::UpdatePlatformLook() {
    QLineEdit* line = LineEditOf(*this);
    line->setFont(ToQFont(Font()));
    QPalette pal = line->palette();
    const QColor text = QColorOf(Enabled() ? Font().Color : clGrayText);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::Text, text);
        pal.setColor(group, QPalette::Base,
                     transparent_ ? QColor(Qt::transparent) : QColorOf(color_));
        pal.setColor(group, QPalette::Highlight, QColorOf(clHighlight));
        pal.setColor(group, QPalette::HighlightedText, QColorOf(clHighlightText));
    }
    line->setPalette(pal);
    line->setAutoFillBackground(!transparent_);
    line->setAttribute(Qt::WA_TranslucentBackground, transparent_);
    line->update();
}

TEdit::TEdit(TComponent* owner) : TCustomEdit(owner) {}

}  // namespace rt
