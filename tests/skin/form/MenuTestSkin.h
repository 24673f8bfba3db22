#pragma once
// A skin painted in code for the popup-menu tests: flat colour blocks, so that every pixel of a
// painted popup tells which piece of the skin it came from.

#include <memory>
#include <string>
#include <vector>

#include "runtime/Graphics.h"
#include "skin/data/skSkinData.h"
#include "skin/data/skStoredSkin.h"

namespace menutest {

constexpr rt::TColor kRed = 0x0000FF;
constexpr rt::TColor kBlue = 0xFF0000;
constexpr rt::TColor kYellow = 0x00FFFF;
constexpr rt::TColor kMagenta = 0xFF00FF;
constexpr rt::TColor kGray = 0x808080;
constexpr rt::TColor kNavy = 0x800000;
constexpr rt::TColor kLight = 0xE0E0E0;
constexpr rt::TColor kOlive = 0x008080;
constexpr rt::TColor kTeal = 0x808000;
constexpr rt::TColor kWhite = 0xFFFFFF;
constexpr rt::TColor kPurple = 0x800080;
constexpr rt::TColor kOrange = 0x0080FF;
constexpr rt::TColor kMaroon = 0x000080;

// Item colours of the skin: text white, red while active, gray when disabled.
constexpr rt::TColor kItemInk = kWhite;
constexpr rt::TColor kItemActiveInk = kRed;
constexpr rt::TColor kItemDisabledInk = kGray;

inline void Fill(rt::TBitmap& b, const rt::TRect& r, rt::TColor c) {
    b.Canvas().Brush.Color = c;
    b.Canvas().Brush.Style = rt::TBrushStyle::bsSolid;
    b.Canvas().FillRect(r);
}

// Picture 0, the popup window, 40 x 40: a 5-pixel maroon border around a light items box
// (5,5,35,35).
inline rt::TBitmap PaintWindow() {
    rt::TBitmap p(40, 40);
    Fill(p, rt::Rect(0, 0, 40, 40), kMaroon);
    Fill(p, rt::Rect(5, 5, 35, 35), kLight);
    return p;
}

// Picture 1, the window mask: black (inside) but for a white 3 x 3 top-left corner.
inline rt::TBitmap PaintMask() {
    rt::TBitmap m(40, 40);
    Fill(m, rt::Rect(0, 0, 40, 40), rt::clBlack);
    Fill(m, rt::Rect(0, 0, 3, 3), kWhite);
    return m;
}

// Picture 2, the menu item, 60 x 44: normal look 0,0,60,20 (ends olive, middle teal), active
// look 0,20,60,40 (ends navy, middle yellow), divider 0,40,60,44 (ends gray, middle magenta).
inline rt::TBitmap PaintItem() {
    rt::TBitmap p(60, 44);
    Fill(p, rt::Rect(0, 0, 60, 20), kOlive);
    Fill(p, rt::Rect(4, 0, 56, 20), kTeal);
    Fill(p, rt::Rect(0, 20, 60, 40), kNavy);
    Fill(p, rt::Rect(4, 20, 56, 40), kYellow);
    Fill(p, rt::Rect(0, 40, 60, 44), kGray);
    Fill(p, rt::Rect(4, 40, 56, 44), kMagenta);
    return p;
}

struct SkinOptions {
    bool popupWindow = true;  // the [POPUPWINDOW] section names a window picture
    bool menuItem = true;     // SKINOBJECTS lists a menu item
    bool morphing = false;
    int itemPicture = 2;  // the menu item's activepictureindex
};

inline std::vector<std::string> DescriptionLines(const SkinOptions& o) {
    std::vector<std::string> lines = {
        "[VERSION]",
        "ver=1",
        "skinname=Menu test skin",
        "[PICTURES]",
        "activepicturescount=3",
        "[FORMINFO]",
        "[POPUPWINDOW]",
        o.popupWindow ? "windowpictureindex=0" : "windowpictureindex=-1",
        "maskpictureindex=1",
        "lefttoppoint=5,5",
        "righttoppoint=35,5",
        "leftbottompoint=5,35",
        "rightbottompoint=35,35",
        "itemsrect=5,5,35,35",
        "scrollmarkercolor=8388736",
        "scrollmarkeractivecolor=33023",
        "[SKINOBJECTS]",
        o.menuItem ? "count=1" : "count=0",
        "0=menuitem:menuitem",
        "[SKINCONTROLS]",
        "count=0",
        "[menuitem]",
        "activepictureindex=" + std::to_string(o.itemPicture),
        "skinrect=0,0,60,20",
        "activeskinrect=0,20,60,40",
        "dividerrect=0,40,60,44",
        "itemleftoffset=4",
        "itemrightoffset=4",
        "dividerleftoffset=4",
        "dividerrightoffset=4",
        "textrect=4,0,56,20",
        "fontname=Arial",
        "fontheight=14",
        "fontcolor=16777215",
        "activefontcolor=255",
        "unenabledfontcolor=8421504",
        o.morphing ? "morphing=1" : "morphing=0",
    };
    return lines;
}

inline std::unique_ptr<sk::TskStoredSkin> MakeStoredSkin(const SkinOptions& o = {}) {
    auto s = std::make_unique<sk::TskStoredSkin>(nullptr);
    s->ActivePictures.push_back(std::make_unique<rt::TBitmap>(PaintWindow()));
    s->ActivePictures.push_back(std::make_unique<rt::TBitmap>(PaintMask()));
    s->ActivePictures.push_back(std::make_unique<rt::TBitmap>(PaintItem()));
    rt::TStringList lines;
    for (const std::string& l : DescriptionLines(o)) lines.Add(l);
    s->SetIniStrings(lines);
    return s;
}

}  // namespace menutest
