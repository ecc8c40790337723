#include "CWinApp.h"

#include "FindFunction.h"

#include <commctrl.h>

#include <cwchar>

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

HMODULE CWinApp::LoadSystemLibrary(const wchar_t* name)
{
    // The search flags came with SetDefaultDllDirectories; a Windows 7
    // without update KB2533623 knows neither and refuses the call.
    if (const HMODULE library = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return library;
    return LoadFromSystemFolder(name);
}

HMODULE CWinApp::LoadFromSystemFolder(const wchar_t* name)
{
    // A full path keeps the search away from the exe's folder just as well.
    wchar_t path[MAX_PATH];
    const size_t folderLength = ::GetSystemDirectoryW(path, MAX_PATH);
    const size_t nameLength = std::wcslen(name);
    if (folderLength == 0 || folderLength + 1 + nameLength >= MAX_PATH)
        return nullptr;
    path[folderLength] = L'\\';
    std::wmemcpy(path + folderLength + 1, name, nameLength + 1);
    return ::LoadLibraryW(path);
}

void CWinApp::Enable3dControlsStatic()
{
    // The common controls are not among the libraries Windows always loads
    // from its own folder, so they are loaded by hand from there: a
    // comctl32.dll planted beside the exe must never be picked up. The
    // manifest's activation context still selects version 6. The library
    // stays loaded for the life of the process: its window classes are in use.
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = FindFunction<InitFunction>(LoadSystemLibrary(L"comctl32.dll"), "InitCommonControlsEx");
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    if (init)
        init(&controls);
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
