#pragma once
// A skin painted in code for the dialog controls (push button, scroll bars, splitter, bevel,
// rolling panel): flat colour blocks, so that a painted pixel tells which piece it came from.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "FlatSkin.h"
#include "runtime/Graphics.h"
#include "skin/data/skSkinData.h"
#include "skin/data/skStoredSkin.h"

namespace dialogskin {

using namespace flatskin;

// Picture 0, 200 x 200 (coordinates in the picture):
//  button     0,0,30,20 normal, 30,0,60,20 active, 60,0,90,20 down, 90,0,120,20 disabled: a
//             3-pixel navy ring around green, yellow, orange and gray.
//  hscrollbar 0,30,100,45: down button red (0-14), track teal, up button blue (85-99);
//             active up 100,30,115,45 yellow; active down 115,30,130,45 cyan; down down
//             130,30,145,45 purple. Thumb 0,50,20,61: 3 orange, 14 olive, 3 orange; down thumb
//             20,50,40,61 maroon; glyph 40,50,44,54 black.
//  bothh...   0,65,120,80: as hscrollbar plus a gray corner 100-119.
//  vscrollbar 150,0,165,100: down button red (rows 0-14), track teal, up button blue; thumb
//             170,0,181,20 olive.
//  vsplitter  0,85,6,115: rows 85-87 red, 88-111 green, 112-114 blue.
//  expanel    0,120,60,170: navy caption band (rows 120-139) over a light body in a 3-pixel
//             gray border; rolled vertically 60,120,120,140 teal with gray 3-pixel ends; rolled
//             sideways 120,120,140,170 olive with gray 3-pixel ends; close 140,120 red, active
//             152,120 yellow, down 164,120 magenta (12 x 12); vertical roll 140,132 blue, down
//             152,132 cyan; vertical restore 164,132 green; sideways roll 140,144 orange,
//             sideways restore 152,144 purple.
inline rt::TBitmap PaintPicture() {
    rt::TBitmap p(200, 200);
    Fill(p, rt::Rect(0, 0, 200, 200), kWhite);
    const rt::TColor faces[] = {kGreen, kYellow, kOrange, kGray};
    for (int i = 0; i < 4; ++i) {
        Fill(p, rt::Rect(30 * i, 0, 30 * i + 30, 20), kNavy);
        Fill(p, rt::Rect(30 * i + 3, 3, 30 * i + 27, 17), faces[i]);
    }
    for (int y : {30, 65}) {
        Fill(p, rt::Rect(0, y, 15, y + 15), kRed);
        Fill(p, rt::Rect(15, y, 85, y + 15), kTeal);
        Fill(p, rt::Rect(85, y, 100, y + 15), kBlue);
    }
    Fill(p, rt::Rect(100, 65, 120, 80), kGray);
    Fill(p, rt::Rect(100, 30, 115, 45), kYellow);
    Fill(p, rt::Rect(115, 30, 130, 45), kCyan);
    Fill(p, rt::Rect(130, 30, 145, 45), kPurple);
    Fill(p, rt::Rect(0, 50, 20, 61), kOrange);
    Fill(p, rt::Rect(3, 50, 17, 61), kOlive);
    Fill(p, rt::Rect(20, 50, 40, 61), kMaroon);
    Fill(p, rt::Rect(40, 50, 44, 54), kBlack);
    Fill(p, rt::Rect(150, 0, 165, 15), kRed);
    Fill(p, rt::Rect(150, 15, 165, 85), kTeal);
    Fill(p, rt::Rect(150, 85, 165, 100), kBlue);
    Fill(p, rt::Rect(170, 0, 181, 20), kOlive);
    Fill(p, rt::Rect(0, 85, 6, 88), kRed);
    Fill(p, rt::Rect(0, 88, 6, 112), kGreen);
    Fill(p, rt::Rect(0, 112, 6, 115), kBlue);
    Fill(p, rt::Rect(0, 120, 60, 170), kGray);
    Fill(p, rt::Rect(3, 123, 57, 167), kLight);
    Fill(p, rt::Rect(3, 123, 57, 137), kNavy);
    Fill(p, rt::Rect(60, 120, 120, 140), kGray);
    Fill(p, rt::Rect(63, 120, 117, 140), kTeal);
    Fill(p, rt::Rect(120, 120, 140, 170), kGray);
    Fill(p, rt::Rect(120, 123, 140, 167), kOlive);
    const struct {
        int x, y;
        rt::TColor c;
    } buttons[] = {{140, 120, kRed},    {152, 120, kYellow}, {164, 120, kMagenta},
                   {140, 132, kBlue},   {152, 132, kCyan},   {164, 132, kGreen},
                   {140, 144, kOrange}, {152, 144, kPurple}};
    for (const auto& b : buttons) Fill(p, rt::Bounds(b.x, b.y, 12, 12), b.c);
    return p;
}

inline std::vector<std::string> DescriptionLines() {
    return {
        "[VERSION]",
        "ver=1",
        "skinname=Dialog controls test skin",
        "[PICTURES]",
        "activepicturescount=1",
        "[FORMINFO]",
        "lefttoppoint=0,0",
        "[SKINOBJECTS]",
        "count=0",
        "[SKINCONTROLS]",
        "count=10",
        "0=button:button",
        "1=mbutton:button",
        "2=hscrollbar:scrollbar",
        "3=bothhscrollbar:scrollbar",
        "4=vscrollbar:scrollbar",
        "5=vsplitter:splitter",
        "6=bevel:bevel",
        "7=expanel:expanel",
        "8=label:label",
        "9=flatsplitter:splitter",
        "[button]",
        "pictureindex=0",
        "skinrect=0,0,30,20",
        "lefttoppoint=3,3",
        "righttoppoint=27,3",
        "leftbottompoint=3,17",
        "rightbottompoint=27,17",
        "clientrect=3,3,27,17",
        "activeskinrect=30,0,60,20",
        "downskinrect=60,0,90,20",
        "disabledskinrect=90,0,120,20",
        "fontname=Arial",
        "fontheight=14",
        "fontcolor=0",
        "activefontcolor=255",
        "downfontcolor=16711680",
        "disabledfontcolor=8421504",
        "[mbutton]",
        "pictureindex=0",
        "skinrect=0,0,30,20",
        "lefttoppoint=3,3",
        "righttoppoint=27,3",
        "leftbottompoint=3,17",
        "rightbottompoint=27,17",
        "clientrect=3,3,27,17",
        "activeskinrect=30,0,60,20",
        "morphing=1",
        "morphkind=mkdefault",
        "[hscrollbar]",
        "pictureindex=0",
        "skinrect=0,30,100,45",
        "lefttoppoint=15,0",
        "righttoppoint=85,0",
        "clientrect=15,0,85,15",
        "trackarea=15,0,85,15",
        "upbuttonrect=85,0,100,15",
        "activeupbuttonrect=100,30,115,45",
        "downbuttonrect=0,0,15,15",
        "activedownbuttonrect=115,30,130,45",
        "downdownbuttonrect=130,30,145,45",
        "thumbrect=0,50,20,61",
        "downthumbrect=20,50,40,61",
        "thumboffset1=3",
        "thumboffset2=3",
        "glyphrect=40,50,44,54",
        "[bothhscrollbar]",
        "pictureindex=0",
        "skinrect=0,65,120,80",
        "lefttoppoint=15,0",
        "righttoppoint=85,0",
        "clientrect=15,0,85,15",
        "trackarea=15,0,85,15",
        "upbuttonrect=85,0,100,15",
        "downbuttonrect=0,0,15,15",
        "thumbrect=0,50,20,61",
        "[vscrollbar]",
        "pictureindex=0",
        "skinrect=150,0,165,100",
        "lefttoppoint=0,15",
        "leftbottompoint=0,85",
        "clientrect=0,15,15,85",
        "trackarea=0,15,15,85",
        "upbuttonrect=0,85,15,100",
        "downbuttonrect=0,0,15,15",
        "thumbrect=170,0,181,20",
        "[vsplitter]",
        "pictureindex=0",
        "skinrect=0,85,6,115",
        "lefttoppoint=2,3",
        "righttoppoint=4,3",
        "leftbottompoint=2,27",
        "[bevel]",
        "lightcolor=65535",
        "darkcolor=128",
        "[expanel]",
        "pictureindex=0",
        "skinrect=0,120,60,170",
        "lefttoppoint=3,20",
        "righttoppoint=57,20",
        "leftbottompoint=3,47",
        "rightbottompoint=57,47",
        "clientrect=3,20,57,47",
        "captionrect=3,3,57,17",
        "rollvskinrect=60,120,120,140",
        "rollleftoffset=3",
        "rollrightoffset=3",
        "rollvcaptionrect=3,3,57,17",
        "rollhskinrect=120,120,140,170",
        "rolltopoffset=3",
        "rollbottomoffset=3",
        "rollhcaptionrect=3,3,17,47",
        "closebuttonrect=140,120,152,132",
        "closebuttonactiverect=152,120,164,132",
        "closebuttondownrect=164,120,176,132",
        "vrollbuttonrect=140,132,152,144",
        "vrollbuttondownrect=152,132,164,144",
        "vrestorebuttonrect=164,132,176,144",
        "hrollbuttonrect=140,144,152,156",
        "hrestorebuttonrect=152,144,164,156",
        "fontname=Arial",
        "fontheight=12",
        "fontcolor=16777215",
        "[label]",
        "pictureindex=0",
        "skinrect=0,0,30,20",
        "[flatsplitter]",
        "pictureindex=0",
    };
}

// The same skin with a tree view, a list view and the list's header button ("resizebutton",
// over the picture's button piece); by default black text on white as the built-in skins have
// them, the tree's colours and the list's font height given otherwise.
struct ViewLook {
    int treeFontColor = 0;
    int treeBgColor = 16777215;
    int listFontHeight = 14;
};
inline std::vector<std::string> ViewDescriptionLines(const ViewLook& look = {}) {
    std::vector<std::string> lines = DescriptionLines();
    *std::find(lines.begin(), lines.end(), "count=10") = "count=13";
    auto last = std::find(lines.begin(), lines.end(), "9=flatsplitter:splitter");
    lines.insert(last + 1,
                 {"10=treeview:treeview", "11=listview:listview", "12=resizebutton:button"});
    lines.insert(lines.end(), {"[treeview]",
                               "fontname=Arial",
                               "fontheight=14",
                               "fontcolor=" + std::to_string(look.treeFontColor),
                               "bgcolor=" + std::to_string(look.treeBgColor),
                               "[listview]",
                               "fontname=Arial",
                               "fontheight=" + std::to_string(look.listFontHeight),
                               "fontcolor=0",
                               "bgcolor=16777215",
                               "[resizebutton]",
                               "pictureindex=0",
                               "skinrect=0,0,30,20",
                               "lefttoppoint=3,3",
                               "righttoppoint=27,3",
                               "leftbottompoint=3,17",
                               "rightbottompoint=27,17",
                               "clientrect=3,3,27,17",
                               "downskinrect=60,0,90,20",
                               "fontcolor=0",
                               "downfontcolor=16777215"});
    return lines;
}

inline std::unique_ptr<sk::TskStoredSkin> MakeStoredSkin() {
    return StoredSkin({PaintPicture()}, DescriptionLines());
}

}  // namespace dialogskin
