// The floor Vuka6.exe is measured against: the main dialog's own template, with the same manifest
// and the same tooltip on the banner; Start begins one timer at the draw's spin period that writes
// six numbers into the six labels, as a spin does. What Vuka6 costs beyond this is its own.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "DrawEngine.h"
#include "resource.h"

namespace {

const UINT_PTR kSpinTimerId = 1;

// The tooltip needs the common controls: loaded as Vuka6 loads them, from the system folder.
void LoadCommonControls()
{
    const HMODULE library = LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!library)
        return;
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = reinterpret_cast<InitFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "InitCommonControlsEx")));
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    if (init)
        init(&controls);
}

void AddBannerTip(HWND dialog)
{
    const HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!tip)
        return;
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 256);
    wchar_t text[256] = L"";
    LoadStringW(GetModuleHandleW(nullptr), IDS_BANNER_TIP, text, 256);
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = dialog;
    info.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, IDC_BANNER));
    info.lpszText = text;
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        AddBannerTip(dialog);
        return TRUE;
    case WM_TIMER:
        for (int i = 0; i < DrawEngine::kSlotCount; ++i)
            SetDlgItemInt(dialog, IDC_NUMBER1 + i, 1 + std::rand() % DrawEngine::kHighestNumber, FALSE);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_START) {
            SetTimer(dialog, kSpinTimerId, DrawEngine::kSpinPeriodMs, nullptr);
            return TRUE;
        }
        // The dialog manager turns WM_CLOSE (the benchmark's way of ending a run) and Esc into
        // IDCANCEL. The timer ends with the window.
        if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    LoadCommonControls();
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_DRAW_DIALOG), nullptr, DialogProc, 0);
    return 0;
}
