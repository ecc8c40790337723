// poke: presses buttons in, and reads labels from, a dialog of another process.
//
//   poke.exe "<window title>" step step ...
//     wait MS    wait up to MS ms for a visible top-level window with that exact title
// ID is a control's name from res/resource.h (IDC_START), IDOK, IDCANCEL, or a number.
//     click ID   click the button with that control ID
//     sleep MS   pause
//     text ID    print the control's text (UTF-8, one line)
//     rect       print the window's screen rectangle as "X Y W H"
//     ctrlrect ID  print the control's screen rectangle as "X Y W H"
//     enabled ID print 1 if the control is enabled, else 0
//     checked ID print 1 if the button is checked, else 0
//     visible    print 1 if a visible window with that title exists, else 0
//     windows    print "X Y W H ENABLED CLASS TITLE" for each visible top-level
//                window of the window's process (its pop-ups have no title)
//     close      ask the window to close
//
// Exit codes: 0 ok, 1 bad usage, 2 window not found, 3 control not found or not answering.
//
// Built by CMake (target poke), which makes the table of control names from res/resource.h.

#include <windows.h>

#include <cwchar>
#include <string>

#include "resource.h"

namespace {

// A hung or busy target must not hang the test run with it.
const UINT kReplyTimeoutMs = 2000;

// Prints one line. Into a pipe or file (how scripts read us) the bytes go out
// as UTF-8 untouched, whatever Wine's code pages are. A terminal is a Wine
// console, which would re-read those bytes as code page 437; given UTF-16 it
// converts to the terminal's own charset instead.
void write_line(DWORD which, const std::wstring& text)
{
    HANDLE out = GetStdHandle(which);
    DWORD written = 0, mode = 0;
    std::wstring line = text + L"\n";
    if (GetConsoleMode(out, &mode)) {
        WriteConsoleW(out, line.c_str(), (DWORD)line.size(), &written, nullptr);
        return;
    }
    int n = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), (int)line.size(), nullptr, 0, nullptr, nullptr);
    std::string bytes(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), (int)line.size(), bytes.data(), n, nullptr, nullptr);
    WriteFile(out, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
}

int fail(int code, const std::wstring& message)
{
    write_line(STD_ERROR_HANDLE, L"poke: " + message);
    return code;
}

struct Search {
    const wchar_t* title;
    HWND found;
};

// FindWindowW would also return a hidden window with the same title (e.g. a
// dialog created but not yet shown); steps only make sense on a visible one.
BOOL CALLBACK match_window(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    wchar_t title[512];
    if (!IsWindowVisible(hwnd) || GetWindowTextW(hwnd, title, 512) == 0)
        return TRUE;
    if (wcscmp(title, search->title) != 0)
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND find_window(const wchar_t* title)
{
    Search search{title, nullptr};
    EnumWindows(match_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring rect_text(HWND hwnd)
{
    RECT r;
    GetWindowRect(hwnd, &r);
    return std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " + std::to_wstring(r.right - r.left) + L" " +
           std::to_wstring(r.bottom - r.top);
}

// A process's pop-ups (tooltips, a mascot) are top-level windows of their own,
// not children of the dialog, so they are found by process.
BOOL CALLBACK print_window(HWND hwnd, LPARAM param)
{
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != static_cast<DWORD>(param) || !IsWindowVisible(hwnd))
        return TRUE;
    wchar_t class_name[256] = L"", title[512] = L"";
    GetClassNameW(hwnd, class_name, 256);
    GetWindowTextW(hwnd, title, 512);
    write_line(STD_OUTPUT_HANDLE, rect_text(hwnd) + (IsWindowEnabled(hwnd) ? L" 1 " : L" 0 ") + class_name + L" " + title);
    return TRUE;
}

// Every control name in res/resource.h, and the dialog buttons' own.
struct ControlName {
    const wchar_t* name;
    long id;
};
const ControlName kControlNames[] = {
#include "ControlNames.inc"
    {L"IDOK", IDOK},
    {L"IDCANCEL", IDCANCEL},
};

// Accepts only a whole decimal number, so a mistyped step is an error rather
// than a silent zero.
bool parse_number(const wchar_t* text, long* value)
{
    wchar_t* end = nullptr;
    *value = wcstol(text, &end, 10);
    return end != text && *end == L'\0';
}

bool parse_control(const wchar_t* text, long* id)
{
    for (const ControlName& control : kControlNames) {
        if (wcscmp(text, control.name) == 0) {
            *id = control.id;
            return true;
        }
    }
    return parse_number(text, id);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return fail(1, L"usage: poke.exe \"<window title>\" (wait MS | click ID | sleep MS | text ID | rect | ctrlrect ID |"
                       L" enabled ID | checked ID | visible | windows | close)...");
    const wchar_t* title = argv[1];
    HWND window = nullptr;

    for (int i = 2; i < argc; ++i) {
        std::wstring step = argv[i];
        bool takes_ms = step == L"wait" || step == L"sleep";
        bool takes_id = step == L"click" || step == L"text" || step == L"ctrlrect" || step == L"enabled" ||
                        step == L"checked";
        long number = 0;
        if (takes_ms && (i + 1 >= argc || !parse_number(argv[++i], &number)))
            return fail(1, L"step '" + step + L"' needs a number");
        if (takes_id && (i + 1 >= argc || !parse_control(argv[++i], &number)))
            return fail(1, L"step '" + step + L"' needs a control name or number");

        if (step == L"sleep") {
            Sleep((DWORD)number);
            continue;
        }
        if (step == L"wait") {
            DWORD start = GetTickCount();
            while (!(window = find_window(title)) && GetTickCount() - start < (DWORD)number)
                Sleep(50);
            if (!window)
                return fail(2, L"no window titled '" + std::wstring(title) + L"' after " + std::to_wstring(number) + L" ms");
            continue;
        }
        if (step == L"visible") {
            // A window that is gone is an answer here, not an error: scripts
            // poll this to see a box close.
            bool shown = window && IsWindow(window) ? IsWindowVisible(window) : find_window(title) != nullptr;
            write_line(STD_OUTPUT_HANDLE, shown ? L"1" : L"0");
            continue;
        }
        if (!takes_id && step != L"rect" && step != L"windows" && step != L"close")
            return fail(1, L"unknown step '" + step + L"'");

        // Without a wait step the window must already be there; it may also have
        // been closed by an earlier click, so check it is still alive.
        if (!window || !IsWindow(window))
            window = find_window(title);
        if (!window)
            return fail(2, L"no window titled '" + std::wstring(title) + L"'");

        if (step == L"rect") {
            write_line(STD_OUTPUT_HANDLE, rect_text(window));
            continue;
        }
        if (step == L"windows") {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            EnumWindows(print_window, static_cast<LPARAM>(process));
            continue;
        }
        if (step == L"close") {
            PostMessageW(window, WM_CLOSE, 0, 0);
            continue;
        }

        HWND control = GetDlgItem(window, (int)number);
        if (!control)
            return fail(3, L"no control " + std::to_wstring(number) + L" in '" + title + L"'");

        if (step == L"click") {
            // A click that opens a modal box (About, a message box) only returns
            // once that box closes. Timing out here is therefore normal: the click
            // was delivered and the handler is still running.
            DWORD_PTR result;
            SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_NORMAL, kReplyTimeoutMs, &result);
            continue;
        }
        if (step == L"ctrlrect") {
            write_line(STD_OUTPUT_HANDLE, rect_text(control));
            continue;
        }
        if (step == L"enabled") {
            write_line(STD_OUTPUT_HANDLE, IsWindowEnabled(control) ? L"1" : L"0");
            continue;
        }
        if (step == L"checked") {
            DWORD_PTR state = 0;
            if (!SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &state))
                return fail(3, L"control " + std::to_wstring(number) + L" does not answer");
            write_line(STD_OUTPUT_HANDLE, state == BST_CHECKED ? L"1" : L"0");
            continue;
        }

        // step == "text": ask the control itself, since GetWindowTextW does not
        // send WM_GETTEXT across processes and could miss owner-kept text.
        DWORD_PTR length = 0;
        if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &length))
            return fail(3, L"control " + std::to_wstring(number) + L" does not answer");
        std::wstring text(length + 1, L'\0');
        DWORD_PTR copied = 0;
        if (!SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                                 SMTO_ABORTIFHUNG, kReplyTimeoutMs, &copied))
            return fail(3, L"control " + std::to_wstring(number) + L" does not answer");
        text.resize(copied);
        write_line(STD_OUTPUT_HANDLE, text);
    }
    return 0;
}
