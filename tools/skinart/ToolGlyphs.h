#pragma once
// The file dialog's tool bar glyphs: "Up" (24 x 24), the three sort buttons (19 x 16) and the
// four view styles (16 x 16). Drawn on whole pixels without smoothing, so that they stay crisp
// when their transparency is cut down to one bit; one palette of slate ink, a blue item fill
// and a green arrow, which reads on the light tool bars of every built-in skin.

#include <QImage>
#include <string>
#include <utility>
#include <vector>

namespace skinart {

// "SK_UP", "SK_SORTNAME", "SK_SORTSIZE", "SK_SORTDATE", "SK_LISTSTYLE", "SK_SMALLICONSTYLE",
// "SK_ICONSTYLE", "SK_REPORTSTYLE"; a null image for any other name.
QImage DrawToolGlyph(const std::string& name);
const std::vector<std::string>& ToolGlyphNames();
// "<name>.png" for each glyph.
std::vector<std::pair<std::string, std::vector<unsigned char>>> ToolGlyphFiles();

}  // namespace skinart
