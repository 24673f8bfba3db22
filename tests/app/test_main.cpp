// The app tests need one application object for the whole run, offscreen.
#include <gtest/gtest.h>

#include <cstdlib>

#include "media/LibraryLogs.h"
#include "runtime/Application.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    rt::TApplication app(argc, argv);
    app.Title = "Framora";
    media::QuietLibraryLogs();
    return RUN_ALL_TESTS();
}
