#include "CWinApp.h"

#include <commctrl.h>

namespace {
CWinApp* theOneApp = nullptr;
}

CWinApp* AfxGetApp()
{
    return theOneApp;
}

CWinApp::CWinApp()
{
    theOneApp = this;
}

CWinApp::~CWinApp()
{
    if (theOneApp == this)
        theOneApp = nullptr;
}

void CWinApp::Enable3dControlsStatic()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
}

void CWinApp::BeginWaitCursor()
{
    const HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    if (m_waitCursorCount++ == 0)
        m_cursorBeforeWait = previous;
}

void CWinApp::EndWaitCursor()
{
    if (m_waitCursorCount == 0)
        return;
    if (--m_waitCursorCount == 0)
        ::SetCursor(m_cursorBeforeWait);
}
