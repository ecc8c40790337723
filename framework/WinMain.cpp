// The program's entry point: everything happens inside the application
// object's InitInstance, which runs the main dialog modally.
#include "CWinApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    CWinApp* app = AfxGetApp();
    if (app)
        app->InitInstance();
    return 0;
}
