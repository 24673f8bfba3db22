// The one main of every test program. Programs that make windows or measure text get one
// offscreen application object for the whole run; media programs keep FFmpeg's own log lines
// about damaged input off the output (failures reach the tests as errors anyway).
#include <gtest/gtest.h>

#include <cstdlib>

#ifdef FRAMORA_TEST_APPLICATION
#include "runtime/Application.h"
#endif
#ifdef FRAMORA_TEST_MEDIA
#include "media/LibraryLogs.h"
#endif

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
#ifdef FRAMORA_TEST_MEDIA
    media::QuietLibraryLogs();
#endif
#ifdef FRAMORA_TEST_APPLICATION
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    rt::TApplication app(argc, argv);
    app.Title = "Framora";
    return RUN_ALL_TESTS();
#else
    return RUN_ALL_TESTS();
#endif
}
