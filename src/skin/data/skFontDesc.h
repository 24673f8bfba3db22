#pragma once
// The text font a skin describes for a control or an object: face, height, style and one text
// colour per state. A description reads only the state colours its kind has keys for; the
// others stay 0.

#include <string>
#include <utility>

#include "runtime/Graphics.h"

namespace sk {

// The states a skin can give its own text colour.
enum class TskFontState {
    Normal,    // "fontcolor"
    Active,    // "activefontcolor": hot item, active window, selected tab or item
    Down,      // "downfontcolor": pressed
    Disabled,  // "disabledfontcolor", spelled "unenabledfontcolor" by some kinds
    Focus,     // "focusfontcolor": the focused item or tab
    MouseIn,   // "mouseinfontcolor": the tab under the mouse
};

struct TskFontDesc {
    std::string Name;  // empty: the skins' usual face
    int Height = 0;    // character cell height in pixels, negative: em height, 0: default size
    rt::TFontStyles Style = 0;
    rt::TColor Color = 0;
    rt::TColor ActiveColor = 0;
    rt::TColor DownColor = 0;
    rt::TColor DisabledColor = 0;
    rt::TColor FocusColor = 0;
    rt::TColor MouseInColor = 0;

    rt::TColor ColorOf(TskFontState state) const;

    // Gives `font` the text colour of `state`; with useSkinFace also the described face, height
    // and style, else it keeps its own (a control whose UseSkinFont is off).
    void ApplyTo(rt::TFont& font, TskFontState state, bool useSkinFace = true) const;
    // The described font in the colour of `state`.
    rt::TFont MakeFont(TskFontState state = TskFontState::Normal) const;

    bool operator==(const TskFontDesc&) const = default;
};

// A description of the face and height with every colour 0.
inline TskFontDesc FontFace(std::string name, int height) {
    TskFontDesc font;
    font.Name = std::move(name);
    font.Height = height;
    return font;
}

// What a control shows before a skin describes its font: the face and height a description
// reads when its keys are missing.
inline TskFontDesc DefaultControlFont() { return FontFace("Arial", 14); }

}  // namespace sk
