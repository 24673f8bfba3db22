#pragma once
// Looks of skin objects whose painters are not part of the program yet, rendered straight from
// the skin's pictures and rectangles by the rules their painters will follow: the menu bar,
// popup menus, hints and the controls still to come.
// Each function returns a bitmap of the object in one state.

#include <string>

#include "runtime/Graphics.h"
#include "skin/data/skSkinData.h"

namespace sheet {

// The menu bar of width w with the captions, item `hot` drawn hot (or down when `down`).
rt::TBitmap MenuBar(const sk::TskSkinData& d, int w, const std::vector<std::string>& items, int hot,
                    bool down);
// A popup menu of the captions ("-" a divider; a leading "*" marks a checked radio item), item
// `hot` highlighted.
rt::TBitmap PopupMenu(const sk::TskSkinData& d, const std::vector<std::string>& items, int hot,
                      rt::TColor outside);
rt::TBitmap HintWindow(const sk::TskSkinData& d, const std::string& text, rt::TColor outside);

rt::TBitmap Edit(const sk::TskSkinData& d, int w, bool active, const std::string& text);
rt::TBitmap ComboBox(const sk::TskSkinData& d, int w, int buttonState, const std::string& text);
rt::TBitmap ListBox(const sk::TskSkinData& d, int w, int h, const std::vector<std::string>& items);
rt::TBitmap Headers(const sk::TskSkinData& d, const std::vector<std::string>& captions, int state);
rt::TBitmap CheckRadio(const sk::TskSkinData& d, int w, bool checked, int state,
                       const std::string& caption);
rt::TBitmap ToolPanel(const sk::TskSkinData& d, int w);

}  // namespace sheet
