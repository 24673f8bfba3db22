#include <gtest/gtest.h>

// The skin data layer is pure logic: no application object, no window system.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
