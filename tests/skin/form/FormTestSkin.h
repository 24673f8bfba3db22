#pragma once
// A frame skin painted in code for the frame tests: flat colour blocks, so every pixel of a
// painted frame tells which piece of the picture it came from, an optional mask with two cut
// corners, and a description with a caption, the five standard buttons and user objects in
// every corner region.

#include <memory>
#include <string>
#include <vector>

#include "runtime/Graphics.h"
#include "skin/data/skSkinData.h"
#include "skin/data/skStoredSkin.h"

namespace formtest {

// Frame picture, 120 x 80; client rectangle 4,24,116,76; corner points (30,40) (90,40)
// (30,60) (90,60).
//   top strip (rows 0-23):    x 0-29 kTopLeft, 30-59 kTopMidA, 60-89 kTopMidB, 90-119 kTopRight
//   bottom strip (rows 76-79): x 0-29 kBotLeft, 30-59 kBotMidA, 60-89 kBotMidB, 90-119 kBotRight
//   left margin (x 0-3):     rows 24-39 kLeftUp, 40-49 kLeftMidA, 50-59 kLeftMidB, 60-75 kLeftLow
//   right margin (x 116-119): rows 24-39 kRightUp, 40-49 kRightMidA, 50-59 kRightMidB,
//                             60-75 kRightLow
//   client: kClient, with one kClientDot pixel at its top-left (4,24)
constexpr rt::TColor kTopLeft = 0x0000FF;
constexpr rt::TColor kTopMidA = 0x00FF00;
constexpr rt::TColor kTopMidB = 0xFF0000;
constexpr rt::TColor kTopRight = 0x00FFFF;
constexpr rt::TColor kBotLeft = 0x000080;
constexpr rt::TColor kBotMidA = 0x404040;
constexpr rt::TColor kBotMidB = 0xC0C0C0;
constexpr rt::TColor kBotRight = 0x008000;
constexpr rt::TColor kLeftUp = 0x800000;
constexpr rt::TColor kLeftMidA = 0x008080;
constexpr rt::TColor kLeftMidB = 0x808000;
constexpr rt::TColor kLeftLow = 0x808080;
constexpr rt::TColor kRightUp = 0x800080;
constexpr rt::TColor kRightMidA = 0x0080FF;
constexpr rt::TColor kRightMidB = 0xFFFF00;
constexpr rt::TColor kRightLow = 0xFF00FF;
constexpr rt::TColor kClient = 0xE0E0E0;
constexpr rt::TColor kClientDot = 0x563412;
constexpr rt::TColor kInactive = 0x505050;

// Active picture 1 (100 x 76), the buttons' own looks and the caption's active look.
constexpr rt::TColor kCloseNormal = 0x0000C0;
constexpr rt::TColor kCloseActive = 0x00C000;
constexpr rt::TColor kCloseDown = 0xC00000;
constexpr rt::TColor kCloseDisabled = 0x00C0C0;
constexpr rt::TColor kMaxNormal = 0x400000;
constexpr rt::TColor kMaxActive = 0x004000;
constexpr rt::TColor kRestore = 0x000040;
constexpr rt::TColor kRestoreActive = 0x404000;
constexpr rt::TColor kRestoreDown = 0x004040;
constexpr rt::TColor kRestoreInactive = 0x400040;
constexpr rt::TColor kMinNormal = 0x202020;
constexpr rt::TColor kMinActive = 0x606060;
constexpr rt::TColor kRollNormal = 0xA0A0A0;
constexpr rt::TColor kRollActive = 0x0000A0;
constexpr rt::TColor kSysNormal = 0x00A000;
constexpr rt::TColor kSysActive = 0xA00000;
constexpr rt::TColor kCaptionActive = 0x8080FF;

constexpr int kPictureWidth = 120;
constexpr int kPictureHeight = 80;

inline void Fill(rt::TBitmap& b, const rt::TRect& r, rt::TColor c) {
    b.Canvas().Brush.Style = rt::TBrushStyle::bsSolid;
    b.Canvas().Brush.Color = c;
    b.Canvas().FillRect(r);
}

inline rt::TBitmap PaintFramePicture() {
    rt::TBitmap p(kPictureWidth, kPictureHeight);
    Fill(p, rt::Rect(4, 24, 116, 76), kClient);
    Fill(p, rt::Rect(4, 24, 5, 25), kClientDot);
    Fill(p, rt::Rect(0, 0, 30, 24), kTopLeft);
    Fill(p, rt::Rect(30, 0, 60, 24), kTopMidA);
    Fill(p, rt::Rect(60, 0, 90, 24), kTopMidB);
    Fill(p, rt::Rect(90, 0, 120, 24), kTopRight);
    Fill(p, rt::Rect(0, 76, 30, 80), kBotLeft);
    Fill(p, rt::Rect(30, 76, 60, 80), kBotMidA);
    Fill(p, rt::Rect(60, 76, 90, 80), kBotMidB);
    Fill(p, rt::Rect(90, 76, 120, 80), kBotRight);
    Fill(p, rt::Rect(0, 24, 4, 40), kLeftUp);
    Fill(p, rt::Rect(0, 40, 4, 50), kLeftMidA);
    Fill(p, rt::Rect(0, 50, 4, 60), kLeftMidB);
    Fill(p, rt::Rect(0, 60, 4, 76), kLeftLow);
    Fill(p, rt::Rect(116, 24, 120, 40), kRightUp);
    Fill(p, rt::Rect(116, 40, 120, 50), kRightMidA);
    Fill(p, rt::Rect(116, 50, 120, 60), kRightMidB);
    Fill(p, rt::Rect(116, 60, 120, 76), kRightLow);
    return p;
}

inline rt::TBitmap PaintButtonPicture() {
    rt::TBitmap p(100, 76);
    Fill(p, rt::Rect(0, 0, 100, 76), rt::clWhite);
    Fill(p, rt::Rect(0, 0, 16, 14), kCloseNormal);
    Fill(p, rt::Rect(16, 0, 32, 14), kCloseActive);
    Fill(p, rt::Rect(32, 0, 48, 14), kCloseDown);
    Fill(p, rt::Rect(48, 0, 64, 14), kCloseDisabled);
    Fill(p, rt::Rect(64, 0, 80, 14), kSysNormal);
    Fill(p, rt::Rect(80, 0, 96, 14), kSysActive);
    Fill(p, rt::Rect(0, 14, 16, 28), kMaxNormal);
    Fill(p, rt::Rect(16, 14, 32, 28), kMaxActive);
    Fill(p, rt::Rect(32, 14, 48, 28), kRestore);
    Fill(p, rt::Rect(48, 14, 64, 28), kRestoreActive);
    Fill(p, rt::Rect(64, 14, 80, 28), kRestoreDown);
    Fill(p, rt::Rect(80, 14, 96, 28), kRestoreInactive);
    Fill(p, rt::Rect(0, 28, 16, 42), kMinNormal);
    Fill(p, rt::Rect(16, 28, 32, 42), kMinActive);
    Fill(p, rt::Rect(0, 42, 16, 56), kRollNormal);
    Fill(p, rt::Rect(16, 42, 32, 56), kRollActive);
    Fill(p, rt::Rect(0, 56, 76, 76), kCaptionActive);
    return p;
}

// Black except two cut top corners: the pixels with x + y < 4 from each top corner are white.
inline rt::TBitmap PaintFrameMask() {
    rt::TBitmap m(kPictureWidth, kPictureHeight);
    Fill(m, rt::Rect(0, 0, kPictureWidth, kPictureHeight), rt::clBlack);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4 - y; ++x) {
            m.Canvas().SetPixel(x, y, rt::clWhite);
            m.Canvas().SetPixel(kPictureWidth - 1 - x, y, rt::clWhite);
        }
    return m;
}

struct SkinOptions {
    bool mask = true;
    bool stretch = false;
    bool buttonsInLeft = false;
    bool buttonsRect = false;  // the buttons in their own area instead of the caption area
    const char* buttonsArea = "70,4,114,20";
    bool inactivePicture = false;
    bool autoInactive = false;
    bool morphing = true;
    int borderWidth = 3;
    // The user objects in every corner region (they cover the edges, so that a hovered one
    // keeps the edges from sizing).
    bool userObjects = true;
};

inline std::vector<std::string> DescriptionLines(const SkinOptions& o) {
    std::vector<std::string> l = {
        "[VERSION]",
        "ver=1",
        "skinname=Frame test skin",
        "[PICTURES]",
        "activepicturescount=2",
        "[FORMINFO]",
        "lefttoppoint=30,40",
        "righttoppoint=90,40",
        "leftbottompoint=30,60",
        "rightbottompoint=90,60",
        "clientrect=4,24,116,76",
        "maskrectarea=4,24,116,76",
        "hittestlefttoppoint=10,10",
        "hittestrighttoppoint=110,10",
        "hittestleftbottompoint=10,70",
        "hittestrightbottompoint=110,70",
        "captionrect=22,4,112,20",
        std::string("buttonsrect=") + (o.buttonsRect ? o.buttonsArea : "0,0,0,0"),
        "buttonsoffset=2",
        std::string("buttonsinleft=") + (o.buttonsInLeft ? "1" : "0"),
        "borderwidth=" + std::to_string(o.borderWidth),
        std::string("autorenderinginactiveimage=") + (o.autoInactive ? "1" : "0"),
        "inactiveeffect=ieinvert",
    };
    if (o.stretch)
        for (const char* k : {"leftstretch=1", "rightstretch=1", "topstretch=1", "bottomstretch=1"})
            l.push_back(k);
    const std::string morph = o.morphing ? "1" : "0";
    std::vector<std::string> names = {"caption:caption",        "closebutton:stdbutton",
                                      "maxbutton:stdbutton",    "minbutton:stdbutton",
                                      "rollupbutton:stdbutton", "sysmenubutton:stdbutton",
                                      "menuitem:menuitem",      "barbutton:mainmenubarbutton"};
    if (o.userObjects)
        for (const char* u : {"tl", "tr", "bl", "br", "tlbr", "blbr", "tlbl", "trbr", "middle"})
            names.push_back(std::string(u) + ":userobject");
    std::vector<std::string> objects = {"[SKINOBJECTS]", "count=" + std::to_string(names.size())};
    for (std::size_t i = 0; i < names.size(); ++i)
        objects.push_back(std::to_string(i) + "=" + names[i]);
    const std::vector<std::string> sections = {
        "[SKINCONTROLS]",
        "count=0",
        "[caption]",
        "skinrect=24,2,100,22",
        "activepictureindex=1",
        "activeskinrect=0,56,76,76",
        "textrect=4,2,72,18",
        "fontname=Arial",
        "fontheight=14",
        "fontcolor=8421504",
        "activefontcolor=16777215",
        "[closebutton]",
        "command=cmclose",
        "skinrectinapicture=1",
        "activepictureindex=1",
        "skinrect=0,0,16,14",
        "activeskinrect=16,0,32,14",
        "downrect=32,0,48,14",
        "disableskinrsect=48,0,64,14",
        "morphing=" + morph,
        "hint=Close",
        "[maxbutton]",
        "command=cmmaximize",
        "skinrectinapicture=1",
        "activepictureindex=1",
        "skinrect=0,14,16,28",
        "activeskinrect=16,14,32,28",
        "restorerect=32,14,48,28",
        "restoreactiverect=48,14,64,28",
        "restoredownrect=64,14,80,28",
        "restoreinactiverect=80,14,96,28",
        "[minbutton]",
        "command=cmminimize",
        "skinrectinapicture=1",
        "activepictureindex=1",
        "skinrect=0,28,16,42",
        "activeskinrect=16,28,32,42",
        "[rollupbutton]",
        "command=cmrollup",
        "skinrectinapicture=1",
        "activepictureindex=1",
        "skinrect=0,42,16,56",
        "activeskinrect=16,42,32,56",
        "[sysmenubutton]",
        "command=cmsysmenu",
        "skinrectinapicture=1",
        "activepictureindex=1",
        "skinrect=64,0,80,14",
        "activeskinrect=80,0,96,14",
        "[menuitem]",
        "skinrect=0,0,10,10",
        "[barbutton]",
        "command=cmclose",
        "[tl]",
        "skinrect=2,2,10,10",
        "[tr]",
        "skinrect=110,2,118,10",
        "[bl]",
        "skinrect=2,77,10,79",
        "[br]",
        "skinrect=110,77,118,79",
        "[tlbr]",
        "skinrect=1,1,119,79",
        "[blbr]",
        "skinrect=10,77,100,79",
        "[tlbl]",
        "skinrect=1,30,3,70",
        "[trbr]",
        "skinrect=117,30,119,70",
        "[middle]",
        "skinrect=40,45,50,55",
    };
    objects.insert(objects.end(), sections.begin(), sections.end());
    l.insert(l.end(), objects.begin(), objects.end());
    return l;
}

inline std::unique_ptr<sk::TskStoredSkin> MakeStoredSkin(const SkinOptions& o = {}) {
    auto s = std::make_unique<sk::TskStoredSkin>(nullptr);
    s->Picture = PaintFramePicture();
    if (o.mask) s->MaskBitmap = PaintFrameMask();
    if (o.inactivePicture) {
        s->InactivePicture = rt::TBitmap(kPictureWidth, kPictureHeight);
        Fill(s->InactivePicture, rt::Rect(0, 0, kPictureWidth, kPictureHeight), kInactive);
    }
    s->ActivePictures.push_back(std::make_unique<rt::TBitmap>(PaintFramePicture()));
    s->ActivePictures.push_back(std::make_unique<rt::TBitmap>(PaintButtonPicture()));
    rt::TStringList lines;
    for (const std::string& line : DescriptionLines(o)) lines.Add(line);
    s->SetIniStrings(lines);
    return s;
}

// A skin data object holding the test skin (owner null: it announces nothing).
inline std::unique_ptr<sk::TskSkinData> MakeSkinData(const SkinOptions& o = {}) {
    auto data = std::make_unique<sk::TskSkinData>(nullptr);
    auto stored = MakeStoredSkin(o);
    data->LoadStoredSkin(stored.get());
    return data;
}

inline rt::TColor At(const rt::TBitmap& b, int x, int y) {
    if (x < 0 || y < 0 || x >= b.Width() || y >= b.Height()) return rt::clNone;
    return rt::PixelToColor(b.ScanLine(y)[x]);
}

}  // namespace formtest
