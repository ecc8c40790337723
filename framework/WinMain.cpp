// The program's entry point: everything happens inside the application
// object's InitInstance, which runs the main dialog modally.
#include "CWinApp.h"
#include "FindFunction.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // Libraries loaded later come from the system folder only, never from
    // the folder the exe was started from (a downloads folder, say).
    // Looked up rather than imported: Windows 7 has the function only with
    // update KB2533623, and without it an exe importing it would not start.
    // Without it, CWinApp loads the common controls by their full path.
    using SetDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories =
        FindFunction<SetDirectoriesFunction>(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (setDefaultDllDirectories)
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);

    CWinApp* app = AfxGetApp();
    if (app)
        app->InitInstance();
    return 0;
}
