#include "skin/form/skWindowGlyphs.h"

namespace sk {

namespace {

// A line from (x0, y0) up to, not including, (x1, y1).
void Line(rt::TCanvas& c, int x0, int y0, int x1, int y1) {
    c.MoveTo(x0, y0);
    c.LineTo(x1, y1);
}

// A box outline with right and bottom exclusive, its top edge two pixels thick.
void TitledBox(rt::TCanvas& c, int left, int top, int right, int bottom) {
    c.Brush.Color = c.Pen.Color;
    c.Brush.Style = rt::TBrushStyle::bsSolid;
    c.FrameRect(rt::Rect(left, top, right, bottom));
    c.FillRect(rt::Rect(left, top + 1, right, top + 2));
}

}  // namespace

void DrawWindowGlyph(rt::TCanvas& c, int x, int y, TskWindowGlyph glyph, rt::TColor color) {
    c.Pen.Color = color;
    c.Pen.Style = rt::TPenStyle::psSolid;
    c.Pen.Width = 1;
    const rt::TBrush keep = c.Brush;
    switch (glyph) {
        case wgClose:
            Line(c, x + 1, y + 1, x + 9, y + 9);
            Line(c, x + 2, y + 1, x + 10, y + 9);
            Line(c, x + 9, y + 1, x + 1, y + 9);
            Line(c, x + 8, y + 1, x, y + 9);
            break;
        case wgMaximize:
            TitledBox(c, x, y, x + 11, y + 10);
            break;
        case wgRestore:
            TitledBox(c, x + 2, y, x + 10, y + 6);
            TitledBox(c, x, y + 4, x + 7, y + 10);
            break;
        case wgMinimize:
            Line(c, x + 1, y + 8, x + 9, y + 8);
            Line(c, x + 1, y + 9, x + 9, y + 9);
            break;
        case wgSysMenu:
            c.Brush.Color = color;
            c.FrameRect(rt::Rect(x + 1, y + 3, x + 9, y + 6));
            break;
        case wgRollUp:
        case wgRollDown:
            // Rows of 9, 7, 5, 3 and 1 pixels; the wide row at the bottom points the tip up.
            for (int k = 0; k < 5; ++k) {
                const int row = glyph == wgRollUp ? y + 6 - k : y + 2 + k;
                Line(c, x + 1 + k, row, x + 10 - k, row);
            }
            break;
        case wgMinimizeToTray:
            c.Brush.Color = color;
            c.Brush.Style = rt::TBrushStyle::bsSolid;
            c.FillRect(rt::Rect(x + 2, y + 3, x + 7, y + 8));
            break;
    }
    c.Brush = keep;
}

}  // namespace sk
