// Times one start of a dialog program from inside Wine, as a user meets it: from CreateProcess until
// its window is visible, and until it first waits for input. It prints both (ms) and keeps the program
// open until its own input ends, while the script outside reads the processor time the start took
// (Wine gives zero for another process's GetProcessTimes). "periods": the draw's timer periods, slots.
//   bench_startup_timer TITLE EXE | periods
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "DrawEngine.h"

namespace {

const DWORD kShowTimeoutMs = 30000;

double NowMs()
{
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// By process as well as by title: the programs measured share their title, and a
// window left over from an earlier start must not stop the clock.
HWND FindVisible(DWORD process, const wchar_t* title)
{
    for (HWND w = FindWindowExW(nullptr, nullptr, nullptr, title); w; w = FindWindowExW(nullptr, w, nullptr, title)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == process && IsWindowVisible(w))
            return w;
    }
    return nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 2 && std::wcscmp(argv[1], L"periods") == 0) {
        std::printf("%u %u %d\n", DrawEngine::kSpinPeriodMs, DrawEngine::kBannerPeriodMs, DrawEngine::kSlotCount);
        return 0;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_startup_timer TITLE EXE | periods\n");
        return 1;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    HWND window = nullptr;
    const double t0 = NowMs();
    if (!CreateProcessW(argv[2], nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child))
        return 2;
    // Wine waits about 1 ms here: that is the clock's resolution.
    while (!(window = FindVisible(child.dwProcessId, argv[1])) && NowMs() - t0 < kShowTimeoutMs &&
           WaitForSingleObject(child.hProcess, 1) == WAIT_TIMEOUT) {
    }
    const double t1 = NowMs();
    WaitForInputIdle(child.hProcess, kShowTimeoutMs);
    if (window) {
        std::printf("%.3f %.3f\n", t1 - t0, NowMs() - t0);
        std::fflush(stdout);
        std::getchar();
        // Politely, so the program runs its own shutdown as it would for a user.
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(child.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(child.hProcess, 1);
    WaitForSingleObject(child.hProcess, 5000);
    return window ? 0 : 2;
}
