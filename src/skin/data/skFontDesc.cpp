#include "skin/data/skFontDesc.h"

#include "skin/data/skUtils.h"

namespace sk {

rt::TColor TskFontDesc::ColorOf(TskFontState state) const {
    switch (state) {
        case TskFontState::Normal:
            return Color;
        case TskFontState::Active:
            return ActiveColor;
        case TskFontState::Down:
            return DownColor;
        case TskFontState::Disabled:
            return DisabledColor;
        case TskFontState::Focus:
            return FocusColor;
        case TskFontState::MouseIn:
            return MouseInColor;
    }
    return Color;
}

void TskFontDesc::ApplyTo(rt::TFont& font, TskFontState state, bool useSkinFace) const {
    const rt::TColor color = ColorOf(state);
    if (useSkinFace) font = MakeSkinFont(Name, Height, Style, color);
    font.Color = color;
}

rt::TFont TskFontDesc::MakeFont(TskFontState state) const {
    return MakeSkinFont(Name, Height, Style, ColorOf(state));
}

}  // namespace sk
