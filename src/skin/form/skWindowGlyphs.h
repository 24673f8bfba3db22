#pragma once
// The small window-command glyphs of the default look, drawn in one colour in a 10 x 10 cell:
// caption buttons without a skin and the system menu's items show them.

#include "runtime/Graphics.h"

namespace sk {

enum TskWindowGlyph {
    wgClose,
    wgMaximize,
    wgRestore,
    wgMinimize,
    wgSysMenu,
    wgRollUp,
    wgRollDown,
    wgMinimizeToTray
};

// Draws the glyph with its cell's top-left at (x, y).
void DrawWindowGlyph(rt::TCanvas& canvas, int x, int y, TskWindowGlyph glyph, rt::TColor color);

}  // namespace sk
