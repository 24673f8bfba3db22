// The plain frame of a form's default window procedure, and the default handling of the
// window commands. A form shows it until a skinned frame takes the non-client messages over.
//
//   +--------------------------------------------+  3-pixel raised border
//   |#[caption text...                     ][x]#|  caption bar, rows 3 .. 21; close 16 x 14
//   |#+----------------------------------------+#|
//   |#|              client area               |#|  client: inset 3, 3 + 19, 3, 3
//   |#+----------------------------------------+#|
//   +--------------------------------------------+
#include <algorithm>
#include <string>

#include "runtime/Application.h"
#include "runtime/ControlWidget.h"
#include "runtime/Controls.h"
#include "runtime/Screen.h"
#include "runtime/StdCtrls.h"

namespace rt {

namespace {

constexpr int kBorder = 3;
constexpr int kCaption = 19;
constexpr int kCornerGrip = 16;  // how far along an edge its corner's sizing reaches
constexpr int kMinWidth = 120;

TRect CaptionRect(int w) { return Rect(kBorder, kBorder, w - kBorder, kBorder + kCaption); }
TRect CloseButtonRect(int w) {
    return Rect(w - kBorder - 2 - 16, kBorder + 2, w - kBorder - 2, kBorder + 2 + 14);
}

// One-pixel frame: top and left edges in tl, bottom and right edges in br.
void Frame3D(TCanvas& c, const TRect& r, TColor tl, TColor br) {
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = tl;
    c.FillRect(Rect(r.Left, r.Top, r.Right, r.Top + 1));
    c.FillRect(Rect(r.Left, r.Top, r.Left + 1, r.Bottom));
    c.Brush.Color = br;
    c.FillRect(Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
    c.FillRect(Rect(r.Right - 1, r.Top, r.Right, r.Bottom));
}

std::string Shorten(const TCanvas& c, const std::string& text, int room) {
    if (c.TextWidth(text) <= room) return text;
    std::string s = text;
    while (!s.empty() && c.TextWidth(s + "...") > room) s.pop_back();
    return s.empty() ? std::string() : s + "...";
}

}  // namespace

void TForm::PaintDefaultFrame(TCanvas& c) {
    const int w = Width(), h = Height();
    Frame3D(c, Rect(0, 0, w, h), cl3DLight, cl3DDkShadow);
    Frame3D(c, Rect(1, 1, w - 1, h - 1), clBtnHighlight, clBtnShadow);
    Frame3D(c, Rect(2, 2, w - 2, h - 2), clBtnFace, clBtnFace);
    const bool active = Active();
    TRect cap = CaptionRect(w);
    c.Brush.Color = active ? clActiveCaption : clInactiveCaption;
    c.FillRect(cap);

    TRect close = CloseButtonRect(w);
    const bool hot = hotButton_ == HTCLOSE;
    const bool down = hot && buttonDown_;
    if (hot) {
        PaintDefaultFace(c, close, true, down);
    } else {
        c.Brush.Color = clBtnFace;
        c.FillRect(close);
        Frame3D(c, close, clBtnHighlight, cl3DDkShadow);
        Frame3D(c, Rect(close.Left + 1, close.Top + 1, close.Right - 1, close.Bottom - 1),
                clBtnFace, clBtnShadow);
    }
    // The cross: two strokes two pixels thick, 8 x 7, centred (one pixel lower while pressed).
    c.Brush.Color = clBtnText;
    const int gx = close.Left + 4 + (down ? 1 : 0), gy = close.Top + 3 + (down ? 1 : 0);
    for (int i = 0; i < 7; ++i) {
        c.FillRect(Rect(gx + i, gy + i, gx + i + 2, gy + i + 1));
        c.FillRect(Rect(gx + 6 - i, gy + i, gx + 8 - i, gy + i + 1));
    }

    c.Font = TFont{};
    c.Font.Style = fsBold;
    c.Font.Color = active ? clCaptionText : clInactiveCaptionText;
    const int textLeft = cap.Left + 4;
    std::string text = Shorten(c, Caption(), close.Left - 4 - textLeft);
    if (!text.empty()) {
        c.Brush.Style = TBrushStyle::bsClear;
        c.TextOut(textLeft, cap.Top + (kCaption - c.TextHeight(text)) / 2, text);
        c.Brush.Style = TBrushStyle::bsSolid;
    }
}

bool TForm::DefaultFrameMessage(TMessage& m) {
    const bool framed = BorderStyle != TFormBorderStyle::bsNone;
    switch (m.Msg) {
        case WM_NCCALCSIZE: {
            auto* p = ParamPtr<TNCCalcSizeParams>(m.LParam);
            if (p != nullptr && framed)
                p->Client = Rect(p->Window.Left + kBorder, p->Window.Top + kBorder + kCaption,
                                 p->Window.Right - kBorder, p->Window.Bottom - kBorder);
            return true;
        }
        case WM_NCHITTEST: {
            const TPoint p = ScreenToWindow(LParamToPoint(m.LParam));
            const int w = Width(), h = Height();
            if (!Rect(0, 0, w, h).Contains(p)) {
                m.Result = HTNOWHERE;
            } else if (!framed || client_.Contains(p)) {
                m.Result = HTCLIENT;
            } else if (BorderStyle == TFormBorderStyle::bsSizeable &&
                       WindowState() == TWindowState::wsNormal &&
                       (p.X < kBorder || p.Y < kBorder || p.X >= w - kBorder ||
                        p.Y >= h - kBorder)) {
                const bool l = p.X < kCornerGrip, r = p.X >= w - kCornerGrip;
                const bool t = p.Y < kCornerGrip, b = p.Y >= h - kCornerGrip;
                m.Result = t && l               ? HTTOPLEFT
                           : t && r             ? HTTOPRIGHT
                           : b && l             ? HTBOTTOMLEFT
                           : b && r             ? HTBOTTOMRIGHT
                           : p.X < kBorder      ? HTLEFT
                           : p.X >= w - kBorder ? HTRIGHT
                           : p.Y < kBorder      ? HTTOP
                                                : HTBOTTOM;
            } else if (CloseButtonRect(w).Contains(p)) {
                m.Result = HTCLOSE;
            } else if (CaptionRect(w).Contains(p)) {
                m.Result = HTCAPTION;
            } else {
                m.Result = HTBORDER;
            }
            return true;
        }
        case WM_NCPAINT: {
            auto* p = ParamPtr<TNCPaintParams>(m.WParam);
            if (p != nullptr && p->Canvas != nullptr && framed) PaintDefaultFrame(*p->Canvas);
            return true;
        }
        case WM_NCACTIVATE:
            InvalidateNonClient();
            m.Result = 1;
            return true;
        case WM_GETMINMAXINFO: {
            auto* info = ParamPtr<TMinMaxInfo>(m.LParam);
            if (info != nullptr && framed) info->MinTrackSize = {kMinWidth, kCaption + 2 * kBorder};
            return true;
        }
        case WM_NCMOUSEMOVE:
        case WM_NCMOUSELEAVE: {
            const int hot = m.Msg == WM_NCMOUSEMOVE && m.WParam == HTCLOSE ? HTCLOSE : 0;
            if (hot != hotButton_) {
                hotButton_ = hot;
                RepaintNonClient(CloseButtonRect(Width()));
            }
            return true;
        }
        case WM_NCLBUTTONDOWN: {
            const int hit = int(m.WParam);
            if (hit == HTCAPTION) {
                Perform(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, m.LParam);
            } else if (IsSizingHitCode(hit)) {
                Perform(WM_SYSCOMMAND, SC_SIZE | (hit - HTLEFT + WMSZ_LEFT), m.LParam);
            } else if (hit == HTCLOSE) {
                buttonDown_ = true;
                hotButton_ = HTCLOSE;
                RepaintNonClient(CloseButtonRect(Width()));
            }
            return true;
        }
        case WM_NCLBUTTONUP: {
            const bool close = buttonDown_ && m.WParam == HTCLOSE;
            if (buttonDown_) {
                buttonDown_ = false;
                RepaintNonClient(CloseButtonRect(Width()));
            }
            if (close) Perform(WM_SYSCOMMAND, SC_CLOSE, m.LParam);
            return true;
        }
        case WM_LBUTTONUP:
            // A press on the close button that ends over the client area closes nothing.
            if (buttonDown_) {
                buttonDown_ = false;
                RepaintNonClient(CloseButtonRect(Width()));
            }
            return false;
        case WM_SYSCOMMAND: {
            const int cmd = int(m.WParam) & 0xFFF0;
            const TPoint at = m.LParam != 0 ? LParamToPoint(m.LParam) : GetCursorPos();
            TApplication* app = Application();
            const bool main = app != nullptr && app->MainForm() == this;
            switch (cmd) {
                case SC_MOVE:
                case SC_SIZE: {
                    const int edge = int(m.WParam) & 0xF;
                    const int hit = cmd == SC_MOVE ? HTCAPTION
                                    : edge >= WMSZ_LEFT && edge <= WMSZ_BOTTOMRIGHT
                                        ? edge - WMSZ_LEFT + HTLEFT
                                        : HTBOTTOMRIGHT;
                    Impl().frame->BeginSizeMove(hit, at);
                    break;
                }
                case SC_CLOSE:
                    Perform(WM_CLOSE, 0, 0);
                    break;
                case SC_MINIMIZE:
                    if (main)
                        app->Minimize();
                    else
                        SetWindowState(TWindowState::wsMinimized);
                    break;
                case SC_MAXIMIZE:
                    SetWindowState(TWindowState::wsMaximized);
                    break;
                case SC_RESTORE:
                    if (main && app->IsMinimized())
                        app->Restore();
                    else
                        SetWindowState(TWindowState::wsNormal);
                    break;
                default:
                    break;
            }
            return true;
        }
        case WM_CLOSE:
            Close();
            return true;
        case WM_MOUSEACTIVATE:
            m.Result = MA_ACTIVATE;
            return true;
        default:
            return false;
    }
}

}  // namespace rt
