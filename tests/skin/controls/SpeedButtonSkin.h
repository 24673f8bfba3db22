#pragma once
// A skin painted in code for the speed buttons: flat colour blocks, so that a painted pixel
// tells which state image (and which part of it) it came from.

#include <memory>
#include <string>
#include <vector>

#include "FlatSkin.h"
#include "runtime/Graphics.h"
#include "skin/data/skSkinData.h"
#include "skin/data/skStoredSkin.h"

namespace speedskin {

using namespace flatskin;

// Picture 0, 160 x 40:
//  toolbutton      0,0,30,20 normal, 30,0 active, 60,0 down, 90,0 disabled: navy ends of 3
//                  pixels around a green, yellow, orange or gray middle.
//  toolmenubutton  0,20,40,40 normal, 40,20 active, 80,20 down: navy ends of 3 pixels, a middle
//                  of green, yellow or orange and an arrow part at 27-39 of teal, olive or
//                  purple.
inline rt::TBitmap PaintPicture() {
    rt::TBitmap p(160, 40);
    Fill(p, rt::Rect(0, 0, 160, 40), kWhite);
    const rt::TColor faces[] = {kGreen, kYellow, kOrange, kGray};
    for (int i = 0; i < 4; ++i) {
        Fill(p, rt::Rect(30 * i, 0, 30 * i + 30, 20), kNavy);
        Fill(p, rt::Rect(30 * i + 3, 0, 30 * i + 27, 20), faces[i]);
    }
    const rt::TColor arrows[] = {kTeal, kOlive, kPurple};
    for (int i = 0; i < 3; ++i) {
        Fill(p, rt::Rect(40 * i, 20, 40 * i + 40, 40), kNavy);
        Fill(p, rt::Rect(40 * i + 3, 20, 40 * i + 27, 40), faces[i]);
        Fill(p, rt::Rect(40 * i + 27, 20, 40 * i + 40, 40), arrows[i]);
    }
    return p;
}

using Lines = std::vector<std::string>;

// One button section: the font keys, then the geometry and the state rectangles.
inline Lines ButtonSection(const std::string& name, bool morphing, const Lines& geometry,
                           const Lines& states) {
    Lines s = {"[" + name + "]",
               "pictureindex=0",
               "fontname=Arial",
               "fontheight=14",
               "fontcolor=0",
               "activefontcolor=255",
               "downfontcolor=16711680",
               "disabledfontcolor=16777215",
               morphing ? "morphing=1" : "morphing=0",
               "morphkind=mkdefault"};
    s.insert(s.end(), geometry.begin(), geometry.end());
    s.insert(s.end(), states.begin(), states.end());
    return s;
}

inline Lines DescriptionLines() {
    Lines lines = {
        "[VERSION]",
        "ver=1",
        "skinname=Speed button test skin",
        "[PICTURES]",
        "activepicturescount=1",
        "[FORMINFO]",
        "lefttoppoint=0,0",
        "[SKINOBJECTS]",
        "count=0",
        "[SKINCONTROLS]",
        "count=4",
        "0=toolbutton:button",
        "1=morphbutton:button",
        "2=toolmenubutton:menubutton",
        "3=ninemenubutton:menubutton",
    };
    const Lines tool = {"skinrect=0,0,30,20", "lefttoppoint=3,0", "righttoppoint=27,0",
                        "clientrect=3,0,27,20"};
    const Lines toolStates = {"activeskinrect=30,0,60,20", "downskinrect=60,0,90,20",
                              "disabledskinrect=90,0,120,20"};
    const Lines menuStates = {"activeskinrect=40,20,80,40", "downskinrect=80,20,120,40",
                              "trackbuttonrect=27,0,40,20"};
    for (const Lines& section : {
             ButtonSection("toolbutton", false, tool, toolStates),
             ButtonSection("morphbutton", true, tool, toolStates),
             ButtonSection("toolmenubutton", false,
                           {"skinrect=0,20,40,40", "lefttoppoint=3,0", "righttoppoint=25,0",
                            "clientrect=3,0,25,20"},
                           menuStates),
             // A nine-piece button whose arrow part runs down its right edge.
             ButtonSection(
                 "ninemenubutton", false,
                 {"skinrect=0,20,40,40", "lefttoppoint=3,3", "righttoppoint=25,3",
                  "leftbottompoint=3,17", "rightbottompoint=25,17", "clientrect=3,3,25,17"},
                 menuStates),
         })
        lines.insert(lines.end(), section.begin(), section.end());
    return lines;
}

inline std::unique_ptr<sk::TskStoredSkin> MakeStoredSkin() {
    return StoredSkin({PaintPicture()}, DescriptionLines());
}

}  // namespace speedskin
