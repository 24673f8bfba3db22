#include "app/StartMessage.h"

#include "app/MainFrm.h"
#include "runtime/Application.h"

namespace app {

int ShowStartMessage(const std::string& text, int flags, const std::string& appDir) {
    // The window reads the stored skin choice as it is made and installs its skinned box as
    // the application's message box until it is freed.
    TMainForm holder(nullptr, appDir);
    return rt::Application()->MessageBox(text, holder.Caption(), flags);
}

}  // namespace app
