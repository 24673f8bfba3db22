#pragma once
// Pictures that belong to the program's windows.

#include "runtime/Graphics.h"

namespace app {

// The 227 x 172 placeholder shown before a file is opened.
rt::TBitmap PlaceholderPicture();

enum class GlyphKind { MarkStart, MarkEnd, Cut };
// Images in a button glyph strip: the glyph, then its disabled look.
constexpr int kGlyphImages = 2;
// A strip of two 16 x 16 images of a button glyph, normal and disabled (engraved in grey); its
// bottom-left pixel is the transparent colour.
rt::TBitmap MakeGlyph(GlyphKind kind);

}  // namespace app
