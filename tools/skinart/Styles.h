#pragma once
// The three built-in styles.

#include <memory>
#include <vector>

#include "Style.h"

namespace skinart {

// Aqua gel: glossy translucent-blue gel buttons, round caption buttons, pin-striped metal.
std::unique_ptr<Style> MakeWinAqua();
// A saturated blue caption with rounded top corners, a red-orange close button, a warm beige
// client and pill buttons with an orange hover edge.
std::unique_ptr<Style> MakeWinxpblue();
// Calm grey-blue: low contrast, thin rounded borders, flat buttons that light up gently.
std::unique_ptr<Style> MakeWistler();

std::vector<std::unique_ptr<Style>> AllStyles();

}  // namespace skinart
