#include <gtest/gtest.h>

#include <cstdlib>

#include "runtime/Application.h"

// Text measuring needs fonts, and fonts need the application object.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    rt::TApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
