// StartupTimer: measures dialog programs from the outside, as a user meets
// them, so the figures include the loader, the resources and the first paint.
//
//   StartupTimer startup N  LABEL_A EXE_A TITLE_A  LABEL_B EXE_B TITLE_B
//       Starts A and B in turn, N times each, after one unrecorded warm-up
//       of each. Times CreateProcess -> visible window, and -> first idle.
//   StartupTimer cpu LABEL EXE TITLE SECONDS ACTION       ACTION: none | spin | drawn
//       Processor time of the program over SECONDS once ACTION is done.
//   StartupTimer memory LABEL EXE TITLE ACTION            ACTION: none | drawn
//       Working set once ACTION is done.
//
// spin presses Start; drawn presses Start, then Fix-all, and waits for the
// banner to come to rest.
//
// Output lines are "result KEY VALUE" for scripts to collect, plus
// "mark begin|end|sample EXE" and "mark started LABEL EXE" at the moments
// a script outside Wine should sample the Linux processes: Wine 8 reports no processor time for other
// processes through GetProcessTimes (it gives zero), and part of the work
// is done by the wineserver and the X server, which only the host can see.
// After each mark the program stays untouched for kMarkGraceMs so that the
// sample is taken before anything else happens.
//
// Exit codes: 0 ok, 1 bad usage, 2 a program did not start or show its window,
// 3 a program did not behave as the measurement assumes.

#include <windows.h>
#include <psapi.h>

#include "resource.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

const int kNumberCount = 6;
const double kSpinPeriodMs = 64.0;
// The banner finishes its pass of six 768 ms frames after the numbers stop.
const DWORD kBannerSettleMs = 6 * 768 + 1500;
const DWORD kShowTimeoutMs = 30000;
const UINT kReplyTimeoutMs = 2000;
const DWORD kMarkGraceMs = 500;

LARGE_INTEGER g_frequency;

double now_ms()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(g_frequency.QuadPart);
}

// Wide arguments as UTF-8, for the output that scripts read.
std::string utf8(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string bytes(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), (int)text.size(), bytes.data(), n, nullptr, nullptr);
    return bytes;
}

void result(const std::wstring& key, double value)
{
    std::printf("result %s %.3f\n", utf8(key).c_str(), value);
    std::fflush(stdout);
}

void mark(const char* what, const std::wstring& exe)
{
    std::printf("mark %s %s\n", what, utf8(exe).c_str());
    std::fflush(stdout);
}

int fail(int code, const std::wstring& message)
{
    std::fprintf(stderr, "StartupTimer: %s\n", utf8(message).c_str());
    return code;
}

struct Child {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
};

bool start(const std::wstring& exe, Child* child)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + exe + L"\"";
    return CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &child->process) != 0;
}

// By process as well as by title: a window left over from an earlier run,
// or another copy, must not stop the clock.
HWND find_visible(const Child& child, const wchar_t* title)
{
    for (HWND w = FindWindowExW(nullptr, nullptr, nullptr, title); w; w = FindWindowExW(nullptr, w, nullptr, title)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == child.process.dwProcessId && IsWindowVisible(w))
            return w;
    }
    return nullptr;
}

bool wait_visible(Child* child, const wchar_t* title)
{
    double start = now_ms();
    while (!(child->window = find_visible(*child, title))) {
        if (WaitForSingleObject(child->process.hProcess, 0) == WAIT_OBJECT_0)
            return false;
        if (now_ms() - start > kShowTimeoutMs)
            return false;
        // Wine sleeps for about 1 ms here; that is the clock's resolution.
        Sleep(1);
    }
    return true;
}

// Politely first, so the program runs its own shutdown as it would for a user.
void finish(Child* child)
{
    if (child->window)
        PostMessageW(child->window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(child->process.hProcess, 10000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "StartupTimer: program did not close; terminating it\n");
        TerminateProcess(child->process.hProcess, 1);
        WaitForSingleObject(child->process.hProcess, 5000);
    }
    CloseHandle(child->process.hThread);
    CloseHandle(child->process.hProcess);
    *child = Child{};
}

bool click(HWND window, int id)
{
    HWND control = GetDlgItem(window, id);
    DWORD_PTR ignored;
    return control && SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_NORMAL, kReplyTimeoutMs, &ignored);
}

// The six number labels; they tell whether the draw is spinning or at rest.
std::wstring numbers(HWND window)
{
    std::wstring all;
    for (int i = 0; i < kNumberCount; ++i) {
        wchar_t text[32] = L"";
        DWORD_PTR copied = 0;
        HWND control = GetDlgItem(window, IDC_NUMBER1 + i);
        if (control)
            SendMessageTimeoutW(control, WM_GETTEXT, 32, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                                kReplyTimeoutMs, &copied);
        all += text;
        all += L' ';
    }
    return all;
}

bool act(HWND window, const std::wstring& action)
{
    if (action == L"none") {
        Sleep(1000);
        return true;
    }
    if (action == L"spin") {
        if (!click(window, IDC_START))
            return false;
        // Let the first ticks and the banner's first frame go by.
        Sleep(1000);
        return true;
    }
    if (action == L"drawn") {
        if (!click(window, IDC_START))
            return false;
        Sleep(1000);
        if (!click(window, IDC_FIX_ALL))
            return false;
        Sleep(kBannerSettleMs);
        return true;
    }
    return false;
}

double cpu_ms(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return -1;
    auto ticks = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;  // 100 ns units
}

struct Spread {
    double median, p25, p75, min, max;
};

double quantile(const std::vector<double>& sorted, double q)
{
    double at = q * static_cast<double>(sorted.size() - 1);
    size_t below = static_cast<size_t>(at);
    size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (at - static_cast<double>(below)) * (sorted[above] - sorted[below]);
}

Spread spread(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return {quantile(values, 0.5), quantile(values, 0.25), quantile(values, 0.75), values.front(), values.back()};
}

void report(const std::wstring& key, const std::vector<double>& values)
{
    Spread s = spread(values);
    result(key + L".median", s.median);
    result(key + L".p25", s.p25);
    result(key + L".p75", s.p75);
    result(key + L".min", s.min);
    result(key + L".max", s.max);
}

struct Program {
    std::wstring label, exe, title;
};

// One start: how long until the window is visible, and until the program
// first waits for input after that (its first paint is done by then). A
// recorded start is marked once the program is idle, so that a script
// outside Wine can read the processor time the start took: on a busy
// machine that figure is steadier than the clock.
bool time_start(const Program& program, double* visible_ms, double* idle_ms, bool recorded)
{
    Child child;
    double t0 = now_ms();
    if (!start(program.exe, &child))
        return false;
    bool shown = wait_visible(&child, program.title.c_str());
    double t1 = now_ms();
    WaitForInputIdle(child.process.hProcess, kShowTimeoutMs);
    double t2 = now_ms();
    if (shown && recorded) {
        std::printf("mark started %s %s\n", utf8(program.label).c_str(), utf8(program.exe).c_str());
        std::fflush(stdout);
        Sleep(kMarkGraceMs);
    }
    finish(&child);
    *visible_ms = t1 - t0;
    *idle_ms = t2 - t0;
    return shown;
}

int run_startup(int runs, const Program& a, const Program& b)
{
    double visible, idle;
    // The first start of each pays for cold caches in Wine and the OS.
    if (!time_start(a, &visible, &idle, false) || !time_start(b, &visible, &idle, false))
        return fail(2, L"a program did not show its window");

    std::vector<double> a_visible, b_visible, a_idle, b_idle, visible_ratios, idle_ratios;
    for (int i = 0; i < runs; ++i) {
        // Alternating, and swapping who goes first, spreads slow spells of a
        // noisy machine over both programs alike.
        const Program& first = i % 2 ? b : a;
        const Program& second = i % 2 ? a : b;
        double v1, i1, v2, i2;
        if (!time_start(first, &v1, &i1, true) || !time_start(second, &v2, &i2, true))
            return fail(2, L"a program did not show its window");
        double av = i % 2 ? v2 : v1, ai = i % 2 ? i2 : i1;
        double bv = i % 2 ? v1 : v2, bi = i % 2 ? i1 : i2;
        a_visible.push_back(av);
        a_idle.push_back(ai);
        b_visible.push_back(bv);
        b_idle.push_back(bi);
        visible_ratios.push_back(av / bv);
        idle_ratios.push_back(ai / bi);
    }
    result(L"startup.runs", runs);
    report(L"startup." + a.label + L".visible_ms", a_visible);
    report(L"startup." + b.label + L".visible_ms", b_visible);
    report(L"startup." + a.label + L".idle_ms", a_idle);
    report(L"startup." + b.label + L".idle_ms", b_idle);
    // Each pair ran back to back, so its ratio is the least disturbed figure.
    report(L"startup.ratio.visible", visible_ratios);
    report(L"startup.ratio.idle", idle_ratios);
    return 0;
}

int run_cpu(const Program& program, double seconds, const std::wstring& action)
{
    Child child;
    if (!start(program.exe, &child) || !wait_visible(&child, program.title.c_str())) {
        finish(&child);
        return fail(2, program.exe + L" did not show its window");
    }
    WaitForInputIdle(child.process.hProcess, kShowTimeoutMs);
    if (!act(child.window, action)) {
        finish(&child);
        return fail(3, L"could not do '" + action + L"' in " + program.exe);
    }

    std::wstring before = numbers(child.window);
    double cpu0 = cpu_ms(child.process.hProcess);
    double t0 = now_ms();
    mark("begin", program.exe);
    Sleep(static_cast<DWORD>(seconds * 1000));
    double cpu1 = cpu_ms(child.process.hProcess);
    double t1 = now_ms();
    mark("end", program.exe);
    Sleep(kMarkGraceMs);
    std::wstring after = numbers(child.window);
    bool alive = WaitForSingleObject(child.process.hProcess, 0) == WAIT_TIMEOUT;
    finish(&child);

    if (cpu0 < 0 || cpu1 < 0)
        return fail(3, L"GetProcessTimes failed");
    if (!alive)
        return fail(3, program.exe + L" ended during the measurement");
    // Guards the premise: a "spinning" program whose numbers stood still, or
    // a "drawn" one whose numbers moved, would make the figure meaningless.
    bool changed = before != after;
    if ((action == L"spin" && !changed) || (action == L"drawn" && changed))
        return fail(3, L"numbers " + std::wstring(changed ? L"changed" : L"did not change") + L" during '" + action +
                           L"': " + before + L"-> " + after);

    const std::wstring key = L"cpu." + program.label + L"." + action;
    double used = cpu1 - cpu0, wall = t1 - t0;
    result(key + L".wall_ms", wall);
    result(key + L".ticks", wall / kSpinPeriodMs);
    result(key + L".win_cpu_ms", used);
    return 0;
}

int run_memory(const Program& program, const std::wstring& action)
{
    Child child;
    if (!start(program.exe, &child) || !wait_visible(&child, program.title.c_str())) {
        finish(&child);
        return fail(2, program.exe + L" did not show its window");
    }
    WaitForInputIdle(child.process.hProcess, kShowTimeoutMs);
    if (!act(child.window, action)) {
        finish(&child);
        return fail(3, L"could not do '" + action + L"' in " + program.exe);
    }
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    bool ok = GetProcessMemoryInfo(child.process.hProcess, &counters, sizeof counters) != 0;
    mark("sample", program.exe);
    Sleep(kMarkGraceMs);
    finish(&child);
    if (!ok || counters.PeakWorkingSetSize == 0)
        return fail(3, L"GetProcessMemoryInfo gave nothing");

    const std::wstring key = L"memory." + program.label + L"." + action;
    result(key + L".peak_working_set_kib", counters.PeakWorkingSetSize / 1024.0);
    result(key + L".working_set_kib", counters.WorkingSetSize / 1024.0);
    return 0;
}

bool parse_number(const wchar_t* text, double* value)
{
    wchar_t* end = nullptr;
    *value = wcstod(text, &end);
    return end != text && *end == L'\0' && *value > 0;
}

int usage()
{
    return fail(1, L"usage: StartupTimer startup N LABEL EXE TITLE LABEL EXE TITLE\n"
                   L"       StartupTimer cpu LABEL EXE TITLE SECONDS (none|spin|drawn)\n"
                   L"       StartupTimer memory LABEL EXE TITLE (none|drawn)");
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    QueryPerformanceFrequency(&g_frequency);
    std::wstring mode = argc > 1 ? argv[1] : L"";
    double number = 0;

    if (mode == L"startup" && argc == 9 && parse_number(argv[2], &number))
        return run_startup(static_cast<int>(number), {argv[3], argv[4], argv[5]}, {argv[6], argv[7], argv[8]});
    if (mode == L"cpu" && argc == 7 && parse_number(argv[5], &number))
        return run_cpu({argv[2], argv[3], argv[4]}, number, argv[6]);
    if (mode == L"memory" && argc == 6)
        return run_memory({argv[2], argv[3], argv[4]}, argv[5]);
    return usage();
}
