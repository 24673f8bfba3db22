// framora-skinart: draws the built-in skins and writes one skin folder per skin.
//
//   framora-skinart <out-dir> [<stamp-file> [<skin>...]]
//       writes <out-dir>/<SkinName>/skin.ini and the bitmaps it names, for the skins named
//       (every style without names). A file whose bytes are already there is left untouched,
//       so that the build repacks only skins that changed; the stamp file, when given, is
//       written on every run.
//   framora-skinart --icons <out-dir>
//       writes the program's icon into <out-dir>: one PNG per size and the SVG (Icon.h).
//   framora-skinart --message-icons <out-dir>
//       writes the message box's four pictures into <out-dir> (MessageIcons.h).
//   framora-skinart --file-icons <out-dir>
//       writes the file dialog's own pictures into <out-dir> (FileIcons.h).
//   framora-skinart --tool-glyphs <out-dir>
//       writes the file dialog's tool bar glyphs into <out-dir> (ToolGlyphs.h).

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "FileIcons.h"
#include "Icon.h"
#include "MessageIcons.h"
#include "SkinBuilder.h"
#include "Styles.h"
#include "ToolGlyphs.h"

namespace {

namespace fs = std::filesystem;

bool SameBytes(const fs::path& path, const std::vector<unsigned char>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::vector<unsigned char> old((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
    return old == bytes;
}

// Writes through a temporary file and a rename, so that an interrupted build never leaves half
// a bitmap behind.
bool WriteIfChanged(const fs::path& path, const std::vector<unsigned char>& bytes) {
    if (SameBytes(path, bytes)) return true;
    const fs::path tmp = path.string() + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out.flush()) return false;
    }
    std::error_code ec;
    fs::rename(tmp, path, ec);
    return !ec;
}

}  // namespace

namespace skinart {

std::vector<std::unique_ptr<Style>> AllStyles() {
    std::vector<std::unique_ptr<Style>> all;
    all.push_back(MakeWinAqua());
    all.push_back(MakeWinxpblue());
    all.push_back(MakeWistler());
    return all;
}

}  // namespace skinart

int main(int argc, char** argv) {
    const std::string mode = argc == 3 ? argv[1] : "";
    if (mode == "--icons" || mode == "--message-icons" || mode == "--file-icons" ||
        mode == "--tool-glyphs") {
        const fs::path out = argv[2];
        std::error_code ec;
        fs::create_directories(out, ec);
        const auto files = mode == "--icons"           ? skinart::ProgramIconFiles()
                           : mode == "--message-icons" ? skinart::MessageIconFiles()
                           : mode == "--file-icons"    ? skinart::FileIconFiles()
                                                       : skinart::ToolGlyphFiles();
        if (files.empty()) {
            std::fprintf(stderr, "framora-skinart: cannot encode the icons\n");
            return 1;
        }
        for (const auto& [name, bytes] : files) {
            if (!WriteIfChanged(out / name, bytes)) {
                std::fprintf(stderr, "framora-skinart: cannot write %s\n",
                             (out / name).string().c_str());
                return 1;
            }
        }
        return 0;
    }
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: framora-skinart <out-dir> [<stamp-file> [<skin>...]]\n"
                     "       framora-skinart --icons <out-dir>\n"
                     "       framora-skinart --message-icons <out-dir>\n"
                     "       framora-skinart --file-icons <out-dir>\n"
                     "       framora-skinart --tool-glyphs <out-dir>\n");
        return 2;
    }
    const fs::path out = argv[1];
    // The build names the skins it embeds; a name the tool has no style for stops the build
    // rather than leaving a skin undrawn.
    std::vector<std::unique_ptr<skinart::Style>> styles = skinart::AllStyles();
    if (argc > 3) {
        std::vector<std::unique_ptr<skinart::Style>> named;
        for (int i = 3; i < argc; ++i) {
            auto it = std::find_if(styles.begin(), styles.end(),
                                   [&](const auto& s) { return s && s->Name == argv[i]; });
            if (it == styles.end()) {
                std::fprintf(stderr, "framora-skinart: no style draws the skin \"%s\"\n", argv[i]);
                return 1;
            }
            named.push_back(std::move(*it));
        }
        styles = std::move(named);
    }
    for (const auto& style : styles) {
        const fs::path dir = out / style->Name;
        std::error_code ec;
        fs::create_directories(dir, ec);
        for (const auto& [name, bytes] : skinart::BuildSkin(*style)) {
            if (!WriteIfChanged(dir / name, bytes)) {
                std::fprintf(stderr, "framora-skinart: cannot write %s\n",
                             (dir / name).string().c_str());
                return 1;
            }
        }
    }
    if (argc >= 3) {
        std::ofstream stamp(argv[2], std::ios::trunc);
        stamp << "skins drawn\n";
        if (!stamp) return 1;
    }
    return 0;
}
