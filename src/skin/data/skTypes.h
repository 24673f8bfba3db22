#pragma once
// The enumerations that skin descriptions carry, shared by the data layer and every painter.

#include <cstdint>

namespace sk {

// How a skin renders the picture of an inactive form ("inactiveeffect" of "FORMINFO").
enum TskInactiveEffect : std::uint8_t {
    ieBrightness = 0,
    ieDarkness = 1,
    ieGrayScale = 2,
    ieNoise = 3,
    ieSplitBlur = 4,
    ieInvert = 5
};

// Cross-fading between the state images of a button or menu item ("morphkind").
enum TskMorphKind : std::uint8_t {
    mkDefault = 0,
    mkGradient = 1,
    mkLeftGradient = 2,
    mkRightGradient = 3,
    mkLeftSlide = 4,
    mkRightSlide = 5,
    mkPush = 6
};

// The command of a standard caption button ("command").
enum TskStdCommand : std::uint8_t {
    cmClose = 0,
    cmMaximize = 1,
    cmMinimize = 2,
    cmSysMenu = 3,
    cmDefault = 4,
    cmRollUp = 5
};

// Horizontal text alignment ("alignment").
enum TskAlignment : std::uint8_t { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

}  // namespace sk
