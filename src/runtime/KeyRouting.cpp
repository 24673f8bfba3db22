#include "runtime/KeyRouting.h"

#include <QKeyEvent>

#include "runtime/Application.h"
#include "runtime/ControlWidget.h"

namespace rt {

namespace {

TShiftState ShiftOfKey(Qt::KeyboardModifiers m) {
    TShiftState s = 0;
    if (m & Qt::ShiftModifier) s |= ssShift;
    if (m & Qt::AltModifier) s |= ssAlt;
    if (m & Qt::ControlModifier) s |= ssCtrl;
    return s;
}

// The character a key event types; Alt + letter may come without text, so the key decides.
char32_t TypedChar(const QKeyEvent& e) {
    const QString text = e.text();
    if (!text.isEmpty()) {
        const char32_t c = text.toUcs4().value(0);
        if (c >= 0x20 && c != 0x7F) return c;
    }
    const int k = e.key();
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return char32_t('a' + (k - Qt::Key_A));
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return char32_t('0' + (k - Qt::Key_0));
    return 0;
}

char32_t LowerAscii(char32_t c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

// The code point at s[i] (UTF-8); i moves past it. Malformed bytes read as themselves.
char32_t DecodeAt(const std::string& s, std::size_t& i) {
    const auto b = static_cast<unsigned char>(s[i++]);
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    char32_t c = extra == 3 ? (b & 0x07) : extra == 2 ? (b & 0x0F) : extra == 1 ? (b & 0x1F) : b;
    for (; extra > 0 && i < s.size(); --extra) {
        const auto n = static_cast<unsigned char>(s[i]);
        if ((n & 0xC0) != 0x80) break;
        c = (c << 6) | (n & 0x3F);
        ++i;
    }
    return c;
}

// Dialog keys are Enter and Escape; everything else goes to the focused control alone.
bool IsDialogKey(int vk) { return vk == VK_RETURN || vk == VK_ESCAPE; }

bool Wants(TControl& c, int code) { return (c.Perform(WM_GETDLGCODE, 0, 0) & code) != 0; }

}  // namespace

bool IsAccel(char32_t ch, const std::string& caption) {
    for (std::size_t i = 0; i < caption.size();) {
        if (caption[i] != '&') {
            DecodeAt(caption, i);
            continue;
        }
        ++i;
        if (i >= caption.size()) return false;
        if (caption[i] == '&') {
            ++i;
            continue;
        }
        return LowerAscii(DecodeAt(caption, i)) == LowerAscii(ch);
    }
    return false;
}

void TWinControl::Broadcast(TMessage& m) {
    for (TControl* c : controls_) {
        c->WindowProc(m);
        if (m.Result != 0) return;
        if (auto* wc = dynamic_cast<TWinControl*>(c)) {
            wc->Broadcast(m);
            if (m.Result != 0) return;
        }
    }
}

bool TWinControl::CanFocus() const {
    TForm* form = ParentForm();
    if (form == nullptr) return false;
    for (const TControl* c = this; c != nullptr && c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

TWinControl* TForm::ActiveControl() const {
    // Depth first: the focused control is a leaf or a container without focused children.
    struct Walk {
        static TWinControl* Find(const TWinControl& parent) {
            for (int i = 0; i < parent.ControlCount(); ++i) {
                auto* wc = dynamic_cast<TWinControl*>(parent.Controls(i));
                if (wc == nullptr) continue;
                if (wc->Focused()) return wc;
                if (TWinControl* inner = Find(*wc)) return inner;
            }
            return nullptr;
        }
    };
    return Walk::Find(*this);
}

void DeliverKeyDown(TControl& focused, int vk, TShiftState shift, char32_t ch) {
    TForm* form = focused.ParentForm();
    // Tab and Shift+Tab move the focus through the form, unless the control types tabs.
    if (vk == VK_TAB && (shift & (ssCtrl | ssAlt)) == 0 && form != nullptr &&
        !Wants(focused, DLGC_WANTTAB)) {
        auto* current = dynamic_cast<TWinControl*>(&focused);
        form->SelectNext(current == form ? nullptr : current, (shift & ssShift) == 0);
        return;
    }
    if (vk != 0 && IsDialogKey(vk) && form != nullptr && !Wants(focused, DLGC_WANTALLKEYS)) {
        TMessage m{CM_DIALOGKEY, vk, std::intptr_t(shift), 0};
        form->Broadcast(m);
        if (m.Result != 0) return;
    }
    if (vk != 0) focused.Perform(WM_KEYDOWN, vk, std::intptr_t(shift));
    if (ch == 0 || (shift & ssCtrl) != 0) return;
    const bool alt = (shift & ssAlt) != 0;
    if (!alt) {
        focused.Perform(WM_CHAR, std::intptr_t(ch), std::intptr_t(shift));
        if (Wants(focused, DLGC_WANTCHARS)) return;
    }
    if (form != nullptr) {
        TMessage m{CM_DIALOGCHAR, std::intptr_t(ch), std::intptr_t(shift), 0};
        form->Broadcast(m);
    }
}

void DeliverKeyUp(TControl& focused, int vk, TShiftState shift) {
    if (vk != 0) focused.Perform(WM_KEYUP, vk, std::intptr_t(shift));
}

void NotifyFocusChanged(TForm& form, TWinControl* control) {
    TMessage m{CM_FOCUSCHANGED, 0, reinterpret_cast<std::intptr_t>(control), 0};
    form.Broadcast(m);
}

void ControlWidget::keyPressEvent(QKeyEvent* e) {
    // A wrapped platform control routes its keys itself; what it leaves over ends here.
    if (owner_ != nullptr && owner_->Impl().platform != nullptr) return;
    const int vk = VirtualKeyOf(e->key());
    const char32_t ch = TypedChar(*e);
    if (owner_ == nullptr || (vk == 0 && ch == 0)) {
        QWidget::keyPressEvent(e);
        return;
    }
    GuardedCall([&] { DeliverKeyDown(*owner_, vk, ShiftOfKey(e->modifiers()), ch); });
}

void ControlWidget::keyReleaseEvent(QKeyEvent* e) {
    // A held key repeats as press-release pairs here; only the last release is the real one.
    if (owner_ != nullptr && owner_->Impl().platform != nullptr) return;
    const int vk = VirtualKeyOf(e->key());
    if (owner_ == nullptr || vk == 0 || e->isAutoRepeat()) {
        QWidget::keyReleaseEvent(e);
        return;
    }
    GuardedCall([&] { DeliverKeyUp(*owner_, vk, ShiftOfKey(e->modifiers())); });
}

void ControlWidget::focusInEvent(QFocusEvent*) { NoteFocusIn(owner_); }

void NoteFocusIn(TControl* owner) {
    if (owner == nullptr) return;
    GuardedCall([&] { owner->Perform(WM_SETFOCUS, 0, 0); });
    TForm* form = owner->ParentForm();
    // While a form frees its controls the focus moves on through the ones still left.
    if (form == nullptr || form->Destroying()) return;
    auto* control = dynamic_cast<TWinControl*>(owner);
    GuardedCall([&] { NotifyFocusChanged(*form, control == form ? nullptr : control); });
}

}  // namespace rt
