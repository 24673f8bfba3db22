// The skinned form on a real form: the window behind TskFormWindow, taking the form over, and
// the replaced window procedure that hands each message to the component's handler.
#include "skin/form/skSkinFormWindow.h"

#include <algorithm>

#include "runtime/Application.h"
#include "runtime/Screen.h"
#include "skin/controls/skSkinWalk.h"
#include "skin/data/skSkinData.h"
#include "skin/data/skSkinMessages.h"
#include "skin/form/skSkinForm.h"
#include "skin/form/skSkinMenu.h"

namespace sk {

void TskFormWindowOnForm::SetBounds(const rt::TRect& b) {
    form_.SetBounds(b.Left, b.Top, b.Width(), b.Height());
}

bool TskFormWindowOnForm::HasBorder() const {
    return form_.BorderStyle != rt::TFormBorderStyle::bsNone;
}

bool TskFormWindowOnForm::Sizeable() const {
    return form_.BorderStyle == rt::TFormBorderStyle::bsSizeable;
}

bool TskFormWindowOnForm::IsMainForm() const {
    return rt::Application() != nullptr && rt::Application()->MainForm() == &form_;
}

void TskFormWindowOnForm::MinimizeApplication() {
    if (rt::Application() != nullptr) rt::Application()->Minimize();
}

rt::TRect TskFormWindowOnForm::WorkArea() const { return rt::WorkArea(); }

rt::TRect TskFormWindowOnForm::ScreenRect() const { return rt::ScreenRect(); }

rt::TPoint TskFormWindowOnForm::CursorPos() const { return rt::GetCursorPos(); }

bool TskFormWindowOnForm::UnderCursor() const {
    return rt::WindowFromPoint(rt::GetCursorPos()) == &form_;
}

void TskFormWindowOnForm::ProcessMessages() {
    if (rt::Application() != nullptr) rt::Application()->ProcessMessages();
}

const rt::TBitmap* TskFormWindowOnForm::Icon() const {
    if (!form_.Icon.Empty()) return &form_.Icon;
    if (rt::Application() != nullptr && !rt::Application()->Icon.Empty())
        return &rt::Application()->Icon;
    return nullptr;
}

void TskSkinForm::AttachToForm(rt::TForm& form) {
    form_ = &form;
    previousProc_ = form.WindowProc;
    form.WindowProc = [this](rt::TMessage& m) { FormWindowProc(m); };
    previousShortCut_ = form.OnShortCut;
    form.OnShortCut = [this](rt::TComponent* sender, int key, rt::TShiftState shift) {
        if (ShortCut(key, shift)) return true;
        return previousShortCut_ ? previousShortCut_(sender, key, shift) : false;
    };
    SetWindow(std::make_unique<TskFormWindowOnForm>(form));
    Resubscribe();
    // The frame is ours now: the client rectangle follows its margins.
    form.FrameChanged();
}

void TskSkinForm::DeliverSkinMessage(unsigned msg, TskSkinData& data) {
    // The announcements reach the form's window procedure, as the window system's messages
    // would.
    if (form_ == nullptr) return;
    rt::TMessage m{msg, rt::PtrParam(&data), kSkinMessageLParam, 0};
    form_->WindowProc(m);
}

void TskSkinForm::Resubscribe() {
    std::vector<TskSkinData*> wanted;
    if (form_ != nullptr) {
        auto add = [&wanted](TskSkinData* d) {
            if (d != nullptr && std::find(wanted.begin(), wanted.end(), d) == wanted.end())
                wanted.push_back(d);
        };
        add(skinData_);
        add(menusSkinData_);
        if (rt::TWinControl* root = window_ != nullptr ? window_->ControlRoot() : nullptr)
            for (TskSkinData* d : UsedSkinData(*root)) add(d);
    }
    // Subscriptions that stay are kept, so a change being announced still reaches the form.
    std::vector<std::pair<TskSkinData*, TskSkinSubscription>> kept;
    for (auto& [data, token] : subscriptions_)
        if (token.Active() && std::find(wanted.begin(), wanted.end(), data) != wanted.end())
            kept.emplace_back(data, std::move(token));
    for (TskSkinData* d : wanted) {
        if (std::any_of(kept.begin(), kept.end(), [d](const auto& k) { return k.first == d; }))
            continue;
        TskSkinObserver o;
        o.Before = [this](TskSkinData& s) { DeliverSkinMessage(SM_BEFORECHANGESKIN, s); };
        o.Changed = [this](TskSkinData& s) { DeliverSkinMessage(SM_CHANGESKIN, s); };
        o.After = [this](TskSkinData& s) { DeliverSkinMessage(SM_AFTERCHANGESKIN, s); };
        kept.emplace_back(d, d->Subscribe(std::move(o), form_));
    }
    // The tokens left behind unsubscribe as they go.
    subscriptions_ = std::move(kept);
}

bool TskSkinForm::HearsSkinData(const TskSkinData* data) const {
    return std::any_of(subscriptions_.begin(), subscriptions_.end(),
                       [data](const auto& s) { return s.first == data && s.second.Active(); });
}

void TskSkinForm::DetachFromForm() {
    if (form_ == nullptr) return;
    rt::TForm& form = *form_;
    subscriptions_.clear();
    form.WindowProc = previousProc_;
    form.OnShortCut = previousShortCut_;
    window_.reset();
    ShareWindow();
    form_ = nullptr;
    // A form that lives on gets its plain frame back; one that is going away hears nothing more.
    if (!form.Destroying()) {
        form.SetWindowRegion(nullptr);
        form.FrameChanged();
    }
}

void TskSkinForm::CallPrevious(rt::TMessage& m) {
    if (previousProc_) previousProc_(m);
}

void TskSkinForm::FormWindowProc(rt::TMessage& m) {
    using namespace rt;
    if (form_ == nullptr) return;
    TForm& form = *form_;
    // Menus come first: activity outside them closes them, and Alt or F10 enter the bar.
    if (HandleMenuMessage(m)) return;
    const TPoint at = LParamToPoint(m.LParam);
    switch (m.Msg) {
        case WM_NCCALCSIZE:
            if (auto* p = ParamPtr<TNCCalcSizeParams>(m.LParam))
                p->Client = CalcClientRect(p->Window);
            return;
        case WM_NCHITTEST:
            m.Result = HitTest(at);
            return;
        case WM_NCPAINT:
            if (auto* p = ParamPtr<TNCPaintParams>(m.WParam);
                p != nullptr && p->Canvas != nullptr) {
                if (form.Width() != FrameWidth() || form.Height() != FrameHeight())
                    Resized(form.Width(), form.Height());
                PaintFrame(*p->Canvas);
            }
            return;
        case WM_ERASEBKGND:
            if (m.WParam == 0) break;
            PaintClient(*ParamPtr<TCanvas>(m.WParam), form.ClientRect());
            m.Result = 1;
            return;
        case WM_GETMINMAXINFO:
            CallPrevious(m);
            if (auto* info = ParamPtr<TMinMaxInfo>(m.LParam)) {
                info->MinTrackSize = MinTrackSize();
                info->MaxTrackSize = MaxTrackSize();
            }
            return;
        case WM_SIZE:
            CallPrevious(m);
            // While the window is dragged to a new size, WM_SIZING took the size already.
            if (form_ != nullptr &&
                (!InSizeMove() || form.Width() != FrameWidth() || form.Height() != FrameHeight()))
                Resized(form.Width(), form.Height());
            return;
        case WM_SIZING:
            CallPrevious(m);
            if (auto* r = ParamPtr<TRect>(m.LParam)) Sizing(*r);
            return;
        case WM_MOVING:
            if (auto* r = ParamPtr<TRect>(m.LParam)) Moving(*r);
            break;
        case WM_ENTERSIZEMOVE:
            EnterSizeMove();
            break;
        case WM_EXITSIZEMOVE:
            ExitSizeMove();
            break;
        case WM_ACTIVATE:
            CallPrevious(m);
            if (form_ != nullptr) Activate((m.WParam & 0xFFFF) != WA_INACTIVE);
            return;
        case WM_NCACTIVATE:
            NcActivate(m.WParam != 0);
            m.Result = 1;
            return;
        case WM_SETTEXT:
            CallPrevious(m);
            if (form_ != nullptr) TextChanged();
            return;
        case WM_SHOWWINDOW:
            ShowWindow(m.WParam != 0);
            break;
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
            // The previous procedure starts the move or size loop for the caption and the edges.
            CallPrevious(m);
            if (form_ != nullptr) NcMouseDown(at, int(m.WParam), m.Msg == WM_NCRBUTTONDOWN ? 1 : 0);
            return;
        case WM_NCLBUTTONUP:
        case WM_NCRBUTTONUP:
            CallPrevious(m);
            if (form_ != nullptr) NcMouseUp(at, m.Msg == WM_NCRBUTTONUP ? 1 : 0);
            return;
        case WM_NCMOUSEMOVE:
            CallPrevious(m);
            if (form_ != nullptr) NcMouseMove(at);
            return;
        case WM_NCLBUTTONDBLCLK:
        case WM_NCRBUTTONDBLCLK:
            CallPrevious(m);
            if (form_ != nullptr)
                NcDoubleClick(at, int(m.WParam), m.Msg == WM_NCRBUTTONDBLCLK ? 1 : 0);
            return;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            CallPrevious(m);
            if (form_ != nullptr) ClientMouseUp(m.Msg == WM_RBUTTONUP ? 1 : 0);
            return;
        case WM_TIMER:
            if (TimerTick(std::uintptr_t(m.WParam))) return;
            break;
        case WM_SYSCOMMAND:
            switch (int(m.WParam) & 0xFFF0) {
                // The window states are the component's own, never the window system's.
                case SC_MINIMIZE:
                    SetWindowState(TskWindowState::wsMinimized);
                    return;
                case SC_MAXIMIZE:
                    SetWindowState(TskWindowState::wsMaximized);
                    return;
                case SC_RESTORE:
                    if (Application() != nullptr && Application()->MainForm() == &form &&
                        Application()->IsMinimized())
                        break;
                    if (WindowState() != TskWindowState::wsNormal)
                        SetWindowState(TskWindowState::wsNormal);
                    else
                        SetRollUpState(false);
                    return;
                default:
                    break;
            }
            break;
        case WM_DESTROY:
            animator_.StopTimers();
            break;
        case WM_SYNCPAINT:
            if (RollUpState()) InvalidateFrame();
            break;
        case SM_BEFORECHANGESKIN:
        case SM_CHANGESKIN:
        case SM_AFTERCHANGESKIN:
            HandleSkinMessage(m);
            break;
        case WM_CLOSESKINMENU:
            // The engine reports its own closing; this is for menus opened with the form as
            // their opener.
            if (MenuOpen() && !SkinMenu()->MenuVisible()) MenuClosed();
            break;
        default:
            break;
    }
    if (form_ != nullptr) CallPrevious(m);
}

}  // namespace sk
