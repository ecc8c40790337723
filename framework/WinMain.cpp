// The program's entry point: everything happens inside the application
// object's InitInstance, which runs the main dialog modally.
#include "CWinApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // Libraries loaded later come from the system folder only, never from
    // the folder the exe was started from (a downloads folder, say).
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);

    CWinApp* app = AfxGetApp();
    if (app)
        app->InitInstance();
    return 0;
}
