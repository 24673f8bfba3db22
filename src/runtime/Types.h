#pragma once
// Geometry and colour in the terms the skin engine and the windows use.

#include <cstdint>

namespace rt {

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Right and bottom are exclusive: a rectangle 0,0,10,5 is 10 pixels wide and 5 high.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(TPoint p) const {
        return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
    }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Rect(int left, int top, int right, int bottom) {
    return TRect{left, top, right, bottom};
}
inline TRect Bounds(int left, int top, int width, int height) {
    return TRect{left, top, left + width, top + height};
}
inline TPoint Point(int x, int y) { return TPoint{x, y}; }
// r moved by dx, dy.
inline TRect OffsetRect(const TRect& r, int dx, int dy) {
    return TRect{r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

// 0x00BBGGRR, red in the low byte. Values with the high byte 0x80 name system colours.
using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;

constexpr TColor clScrollBar = TColor(0x80000000);
constexpr TColor clBackground = TColor(0x80000001);
constexpr TColor clActiveCaption = TColor(0x80000002);
constexpr TColor clInactiveCaption = TColor(0x80000003);
constexpr TColor clMenu = TColor(0x80000004);
constexpr TColor clWindow = TColor(0x80000005);
constexpr TColor clWindowFrame = TColor(0x80000006);
constexpr TColor clMenuText = TColor(0x80000007);
constexpr TColor clWindowText = TColor(0x80000008);
constexpr TColor clCaptionText = TColor(0x80000009);
constexpr TColor clActiveBorder = TColor(0x8000000A);
constexpr TColor clInactiveBorder = TColor(0x8000000B);
constexpr TColor clAppWorkSpace = TColor(0x8000000C);
constexpr TColor clHighlight = TColor(0x8000000D);
constexpr TColor clHighlightText = TColor(0x8000000E);
constexpr TColor clBtnFace = TColor(0x8000000F);
constexpr TColor clBtnShadow = TColor(0x80000010);
constexpr TColor clGrayText = TColor(0x80000011);
constexpr TColor clBtnText = TColor(0x80000012);
constexpr TColor clInactiveCaptionText = TColor(0x80000013);
constexpr TColor clBtnHighlight = TColor(0x80000014);
constexpr TColor cl3DDkShadow = TColor(0x80000015);
constexpr TColor cl3DLight = TColor(0x80000016);
constexpr TColor clInfoText = TColor(0x80000017);
constexpr TColor clInfoBk = TColor(0x80000018);

// The one palette every element without a skin paints with: a navy one-pixel frame, filled
// lighter while hot and darker while pressed (button face otherwise).
constexpr TColor kDefaultFrame = 0x800000;
constexpr TColor kDefaultHot = 0xD2BDB6;
constexpr TColor kDefaultPressed = 0xB59385;

// Resolves a system colour from the fixed table; plain colours pass unchanged.
TColor ColorToRGB(TColor c);

inline std::uint8_t GetRValue(TColor c) { return std::uint8_t(c & 0xFF); }
inline std::uint8_t GetGValue(TColor c) { return std::uint8_t((c >> 8) & 0xFF); }
inline std::uint8_t GetBValue(TColor c) { return std::uint8_t((c >> 16) & 0xFF); }
inline TColor RGB(int r, int g, int b) {
    return TColor((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

}  // namespace rt
