// The window tests start as the program does: the common controls are
// loaded and registered before any window is made.
#include "CWinApp.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    CWinApp::Enable3dControlsStatic();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
