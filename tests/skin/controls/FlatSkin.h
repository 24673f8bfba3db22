#pragma once
// What the control tests share: a palette of flat colours for their skins painted in code, so
// that a painted pixel tells which piece of the picture it came from; the stored skin made of
// the pictures and the description lines; counting painted pixels; and the mouse as messages.

#include <memory>
#include <string>
#include <vector>

#include "runtime/Classes.h"
#include "runtime/Controls.h"
#include "runtime/Graphics.h"
#include "runtime/Messages.h"
#include "skin/data/skStoredSkin.h"

namespace flatskin {

// Colours of the pictures' blocks (TColor, red in the low byte).
constexpr rt::TColor kRed = 0x0000FF;
constexpr rt::TColor kGreen = 0x00FF00;
constexpr rt::TColor kBlue = 0xFF0000;
constexpr rt::TColor kYellow = 0x00FFFF;
constexpr rt::TColor kMagenta = 0xFF00FF;
constexpr rt::TColor kCyan = 0xFFFF00;
constexpr rt::TColor kGray = 0x808080;
constexpr rt::TColor kOrange = 0x0080FF;
constexpr rt::TColor kPurple = 0x800080;
constexpr rt::TColor kNavy = 0x800000;
constexpr rt::TColor kLight = 0xE0E0E0;
constexpr rt::TColor kOlive = 0x008080;
constexpr rt::TColor kTeal = 0x808000;
constexpr rt::TColor kMaroon = 0x000080;
constexpr rt::TColor kBlack = 0x000000;
constexpr rt::TColor kWhite = 0xFFFFFF;

inline void Fill(rt::TBitmap& b, const rt::TRect& r, rt::TColor c) {
    b.Canvas().Brush.Color = c;
    b.Canvas().Brush.Style = rt::TBrushStyle::bsSolid;
    b.Canvas().FillRect(r);
}

// A stored skin of the given active pictures, in order, and description lines.
inline std::unique_ptr<sk::TskStoredSkin> StoredSkin(std::vector<rt::TBitmap> pictures,
                                                     const std::vector<std::string>& lines) {
    auto s = std::make_unique<sk::TskStoredSkin>(nullptr);
    for (rt::TBitmap& p : pictures)
        s->ActivePictures.push_back(std::make_unique<rt::TBitmap>(std::move(p)));
    rt::TStringList list;
    for (const std::string& l : lines) list.Add(l);
    s->SetIniStrings(list);
    return s;
}

inline rt::TColor PixelAt(rt::TBitmap& b, int x, int y) { return b.Canvas().Pixel(x, y); }

// Pixels of a colour inside r.
inline int Count(rt::TBitmap& b, const rt::TRect& r, rt::TColor c) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) n += PixelAt(b, x, y) == c ? 1 : 0;
    return n;
}

// The left button pressed, moved with it held and released at x, y of the control.
inline void Press(rt::TControl* c, int x, int y) {
    c->Perform(rt::WM_LBUTTONDOWN, rt::MK_LBUTTON, rt::MakeLParam(x, y));
}
inline void Move(rt::TControl* c, int x, int y) {
    c->Perform(rt::WM_MOUSEMOVE, rt::MK_LBUTTON, rt::MakeLParam(x, y));
}
inline void Release(rt::TControl* c, int x, int y) {
    c->Perform(rt::WM_LBUTTONUP, 0, rt::MakeLParam(x, y));
}
inline void Enter(rt::TControl* c) { c->Perform(rt::CM_MOUSEENTER, 0, 0); }
inline void Leave(rt::TControl* c) { c->Perform(rt::CM_MOUSELEAVE, 0, 0); }

}  // namespace flatskin
