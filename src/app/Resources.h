#pragma once
// Pictures that belong to the program's windows.

#include "runtime/Graphics.h"

namespace app {

// The 227 x 172 placeholder shown before a file is opened.
rt::TBitmap PlaceholderPicture();

enum class GlyphKind { MarkStart, MarkEnd, Cut };
// A 16 x 16 button glyph; its bottom-left pixel is the transparent colour.
rt::TBitmap MakeGlyph(GlyphKind kind);

}  // namespace app
