#pragma once
// The file dialog's own pictures for desktops without an icon theme: a folder, a file, a video
// file and a volume, each 16 x 16 and 32 x 32, with a dark outline so that they keep a clean
// edge when their transparency is cut down to one bit.

#include <QImage>
#include <string>
#include <utility>
#include <vector>

namespace skinart {

enum class FileIcon { Folder, File, Video, Volume };

QImage DrawFileIcon(FileIcon icon, int size);
// "file-folder16.png", "file-folder32.png", ... "file-volume32.png".
std::vector<std::pair<std::string, std::vector<unsigned char>>> FileIconFiles();

}  // namespace skinart
