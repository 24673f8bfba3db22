#pragma once
// A small skin painted in code for the control tests: one picture of flat colour blocks, so
// that every pixel of a painted control tells where it came from, one mask, and a description.

#include <memory>
#include <string>
#include <vector>

#include "FlatSkin.h"
#include "runtime/Graphics.h"
#include "skin/data/skSkinData.h"
#include "skin/data/skStoredSkin.h"

namespace controltest {

using namespace flatskin;

// Picture 0, 160 x 100:
//  htrackbar  skin rect 0,0,104,18: columns 0-3 red, 4-99 green, 100-103 blue; thumb 0,20,19,38
//             yellow, active thumb 20,20,39,38 magenta.
//  gauge      skin rect 0,40,40,50 gray; fill piece 40,40,50,46: 2 orange, 6 cyan, 2 purple.
//  panel/both skin rect 0,60,16,76: 3-pixel navy ring around a light 10 x 10 client.
//  label      skin rect 60,80,80,92: columns 60-61 olive, 62-77 teal, 78-79 olive.
//  fixed      skin rect 80,80,96,96 green, mask picture 1.
//  vert       skin rect 100,76,110,96: rows 76-78 red, 79-92 green, 93-95 blue.
inline rt::TBitmap PaintPicture() {
    rt::TBitmap p(160, 100);
    Fill(p, rt::Rect(0, 0, 160, 100), rt::clWhite);
    Fill(p, rt::Rect(0, 0, 4, 18), kRed);
    Fill(p, rt::Rect(4, 0, 100, 18), kGreen);
    Fill(p, rt::Rect(100, 0, 104, 18), kBlue);
    Fill(p, rt::Rect(0, 20, 19, 38), kYellow);
    Fill(p, rt::Rect(20, 20, 39, 38), kMagenta);
    Fill(p, rt::Rect(0, 40, 40, 50), kGray);
    Fill(p, rt::Rect(40, 40, 42, 46), kOrange);
    Fill(p, rt::Rect(42, 40, 48, 46), kCyan);
    Fill(p, rt::Rect(48, 40, 50, 46), kPurple);
    Fill(p, rt::Rect(0, 60, 16, 76), kNavy);
    Fill(p, rt::Rect(3, 63, 13, 73), kLight);
    Fill(p, rt::Rect(60, 80, 80, 92), kOlive);
    Fill(p, rt::Rect(62, 80, 78, 92), kTeal);
    Fill(p, rt::Rect(80, 80, 96, 96), kGreen);
    Fill(p, rt::Rect(100, 76, 110, 79), kRed);
    Fill(p, rt::Rect(100, 79, 110, 93), kGreen);
    Fill(p, rt::Rect(100, 93, 110, 96), kBlue);
    return p;
}

// Picture 1, 16 x 16: the left half black (inside the region), the right half white.
inline rt::TBitmap PaintMask() {
    rt::TBitmap m(16, 16);
    Fill(m, rt::Rect(0, 0, 16, 16), rt::clWhite);
    Fill(m, rt::Rect(0, 0, 8, 16), rt::clBlack);
    return m;
}

inline std::vector<std::string> DescriptionLines(const std::string& trackName = "htrackbar") {
    return {
        "[VERSION]",
        "ver=1",
        "skinname=Control test skin",
        "[PICTURES]",
        "activepicturescount=2",
        "[FORMINFO]",
        "lefttoppoint=0,0",
        "[SKINOBJECTS]",
        "count=0",
        "[SKINCONTROLS]",
        "count=10",
        "0=" + trackName + ":trackbar",
        "1=gauge:gauge",
        "2=panel:panel",
        "3=label:label",
        "4=fixed:label",
        "5=vert:label",
        "6=both:label",
        "7=stdlabel:stdlabel",
        "8=weird:stdlabel",
        "9=nopicture:label",
        "[" + trackName + "]",
        "pictureindex=0",
        "skinrect=0,0,104,18",
        "lefttoppoint=4,0",
        "righttoppoint=100,0",
        "clientrect=4,0,100,18",
        "trackarea=1,0,103,18",
        "buttonrect=0,20,19,38",
        "activebuttonrect=20,20,39,38",
        "[gauge]",
        "pictureindex=0",
        "skinrect=0,40,40,50",
        "lefttoppoint=2,0",
        "righttoppoint=38,0",
        "clientrect=2,0,38,10",
        "progressarea=2,2,38,8",
        "progressrect=40,40,50,46",
        "beginoffset=2",
        "endoffset=2",
        "fontname=Arial",
        "fontheight=12",
        "fontcolor=255",
        "[panel]",
        "pictureindex=0",
        "skinrect=0,60,16,76",
        "lefttoppoint=3,3",
        "righttoppoint=13,3",
        "leftbottompoint=3,13",
        "rightbottompoint=13,13",
        "clientrect=3,3,13,13",
        "[label]",
        "pictureindex=0",
        "skinrect=60,80,80,92",
        "lefttoppoint=2,0",
        "righttoppoint=18,0",
        "clientrect=2,0,18,12",
        "fontname=Arial",
        "fontheight=14",
        "fontcolor=16777215",
        "[fixed]",
        "pictureindex=0",
        "maskpictureindex=1",
        "skinrect=80,80,96,96",
        "clientrect=2,2,14,14",
        "[vert]",
        "pictureindex=0",
        "skinrect=100,76,110,96",
        "lefttoppoint=0,3",
        "leftbottompoint=0,17",
        "clientrect=0,3,10,17",
        "[both]",
        "pictureindex=0",
        "maskpictureindex=1",
        "skinrect=0,60,16,76",
        "lefttoppoint=3,3",
        "righttoppoint=13,3",
        "leftbottompoint=3,13",
        "rightbottompoint=13,13",
        "clientrect=3,3,13,13",
        "[stdlabel]",
        "fontname=Arial",
        "fontheight=20",
        "fontcolor=255",
        "[weird]",
        "fontcolor=255",
        "[nopicture]",
        "pictureindex=7",
        "skinrect=0,0,10,10",
    };
}

// The container for the test skin; trackName renames the track bar object.
inline std::unique_ptr<sk::TskStoredSkin> MakeStoredSkin(
    const std::string& trackName = "htrackbar") {
    return StoredSkin({PaintPicture(), PaintMask()}, DescriptionLines(trackName));
}

}  // namespace controltest
