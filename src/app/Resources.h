#pragma once
// Pictures that belong to the program's windows.

#include <cstddef>
#include <vector>

#include "runtime/Graphics.h"

namespace app {

// The 227 x 172 placeholder shown before a file is opened.
rt::TBitmap PlaceholderPicture();

// The program's icon as the build drew it (tools/skinart): one PNG image per size, smallest
// first, the same pictures the icon theme gets.
struct TProgramIconImage {
    int size;
    const unsigned char* data;
    std::size_t bytes;
};
const std::vector<TProgramIconImage>& ProgramIconImages();
// The program's 32 x 32 icon: a film frame cut by a red marker; transparent around it.
rt::TBitmap ProgramIcon();
// Gives every window of the program its icon.
void InstallProgramIcon();

enum class GlyphKind { MarkStart, MarkEnd, Cut };
// Images in a button glyph strip: the glyph, then its disabled look.
constexpr int kGlyphImages = 2;
// A strip of two 16 x 16 images of a button glyph, normal and disabled (engraved in grey); its
// bottom-left pixel is the transparent colour.
rt::TBitmap MakeGlyph(GlyphKind kind);

}  // namespace app
