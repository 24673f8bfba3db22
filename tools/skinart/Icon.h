#pragma once
// The program's icon: a piece of film with one frame, cut through by a red marker. One list of
// shapes draws it into pictures of any size and writes it as an SVG document, so the two never
// differ.

#include <QImage>
#include <array>
#include <string>
#include <utility>
#include <vector>

namespace skinart {

// The sizes the icon theme gets as pictures (and the program carries inside itself).
inline constexpr std::array<int, 7> kIconSizes = {16, 24, 32, 48, 64, 128, 256};

// The icon at size x size pixels, transparent around it. Below 24 pixels a simpler drawing
// on a 16-pixel grid keeps the small picture sharp; above, one 32-unit drawing is scaled.
QImage DrawProgramIcon(int size);
// The 32-unit drawing as a scalable SVG document.
std::string ProgramIconSvg();
// The icon's files: "framora-<size>.png" for each of kIconSizes, then "framora.svg".
std::vector<std::pair<std::string, std::vector<unsigned char>>> ProgramIconFiles();

}  // namespace skinart
