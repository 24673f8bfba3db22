#pragma once
// Builds one skin folder from a style: the pictures and the description "skin.ini", with every
// rectangle of the description taken from the same placement the pictures are drawn into.

#include <map>
#include <string>
#include <vector>

#include "Style.h"

namespace skinart {

// File name -> bytes, "skin.ini" included.
using SkinFiles = std::map<std::string, std::vector<unsigned char>>;

// The files of every skin folder, in the order the description names them.
extern const char* const kSkinFileNames[9];

SkinFiles BuildSkin(const Style& style);

// What a builder file of its own gets to add control objects: the style, the description,
// the controls picture (at picture index `picture`) and the "SKINCONTROLS" entries.
struct ControlParts {
    const Style& style;
    Ini& ini;
    Atlas& controls;
    std::vector<std::string>& list;
    int picture;
};

// The edit with a button at its right end ("buttonedit") and the combo box's disabled button
// (SkinBuilderEdit.cpp; after the fields).
void AddEditControls(ControlParts& parts);

// Line height of the runtime's Arial (Liberation Sans) for a skin "fontheight".
int TextHeightFor(int fontHeight);

}  // namespace skinart
