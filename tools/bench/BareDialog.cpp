// The least a Win32 program can do to show a dialog: the startup, size and
// memory benchmarks measure Vuka6.exe against this.
#include <windows.h>

namespace {

// Matches the template's ID in BareDialog.rc.
const int kDialogId = 100;

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        // The dialog manager turns WM_CLOSE (the benchmark's way of ending
        // a run) and Esc into IDCANCEL.
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
    DialogBoxParamW(instance, MAKEINTRESOURCEW(kDialogId), nullptr, DialogProc, 0);
    return 0;
}
