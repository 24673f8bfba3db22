// The built-in skins come with the main window, which needs the application object.
#include <gtest/gtest.h>

#include <cstdlib>

#include "runtime/Application.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    rt::TApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
