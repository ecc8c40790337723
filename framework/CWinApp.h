// The application object. Exactly one exists; the program's entry point
// hands control to its InitInstance.
#pragma once

#include <windows.h>

class CWnd;

class CWinApp {
public:
    CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    // Returning FALSE ends the application.
    virtual BOOL InitInstance() = 0;

    // The three-dimensional look of the dialog controls: the common
    // controls, drawn in the visual style the manifest asks for.
    static void Enable3dControlsStatic();

    // A library from the system folder only, however old the Windows.
    static HMODULE LoadSystemLibrary(const wchar_t* name);
    // The way for a Windows without the library search flags: the library's
    // full path in the system folder. Null if that path is too long.
    static HMODULE LoadFromSystemFolder(const wchar_t* name);

    void BeginWaitCursor();
    void EndWaitCursor();

    CWnd* m_pMainWnd = nullptr;

private:
    int m_waitCursorCount = 0;
    HCURSOR m_cursorBeforeWait = nullptr;
};

// The one application object, or null before it is constructed.
CWinApp* AfxGetApp();
