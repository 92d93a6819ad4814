// Test entry of the core libraries: no application object, so a core file
// that needs a window system or an event loop fails its test.
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
