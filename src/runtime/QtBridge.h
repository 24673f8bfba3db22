#pragma once
// Conversions between runtime types and Qt, for runtime's own sources only.

#include <QFont>
#include <string>

#include "runtime/Graphics.h"

namespace rt {

QFont ToQFont(const TFont& f);
// The installed face that stands in for a Windows font name.
std::string MapFontFamily(const std::string& name);

}  // namespace rt
