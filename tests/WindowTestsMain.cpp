// The window tests start as the program does: the common controls are
// loaded and registered before any window is made.
#include "CWinApp.h"
#include "TestWindows.h"

#include <gtest/gtest.h>

#include <cstdio>

TestApp g_app;

int main(int argc, char** argv)
{
    CWinApp::Enable3dControlsStatic();
    ::testing::InitGoogleTest(&argc, argv);
    // Sizes and places in the tests follow the display's scale.
    std::printf("display: %d DPI\n", ScreenDpi());
    return RUN_ALL_TESTS();
}
