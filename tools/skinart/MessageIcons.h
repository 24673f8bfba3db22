#pragma once
// The message box's pictures: warning, error, information and question, 32 x 32, each with a
// dark outline so that it keeps a clean edge when its transparency is cut down to one bit.

#include <QImage>
#include <string>
#include <utility>
#include <vector>

namespace skinart {

enum class MessageIcon { Warning, Error, Information, Question };

QImage DrawMessageIcon(MessageIcon icon, int size = 32);
// "msg-warning.png", "msg-error.png", "msg-information.png", "msg-question.png".
std::vector<std::pair<std::string, std::vector<unsigned char>>> MessageIconFiles();

}  // namespace skinart
