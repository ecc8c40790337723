#include "FaultInjection.h"

#include <oleacc.h>
#include <oleauto.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <tuple>
#include <type_traits>
#include <utility>

namespace fault {

const char* const kFunctionNames[kFunctionCount] = {
    "CreateCompatibleDC", "CreateCompatibleBitmap", "CreatePalette", "CreateRectRgn", "CombineRgn", "CreateFontW",
    "GetDC", "StretchDIBits", "CreateDialogIndirectParamW", "CreateWindowExW", "SetWindowRgn", "SetTimer",
    "FindResourceW", "LoadResource", "LoadBitmapW", "LoadIconW", "LoadStringW", "malloc", "calloc", "realloc",
    "SysAllocString", "LresultFromObject", "CreateStdAccessibleObject",
};

namespace {

// Every failure value is 0 or null, but LresultFromObject's error code. The
// last error is the one the documentation names where it says to ask
// GetLastError; the GDI functions document none and leave it alone.
enum class Error : DWORD {
    Untouched = 0,
    NoMemory = ERROR_NOT_ENOUGH_MEMORY,
    NoResource = ERROR_RESOURCE_NAME_NOT_FOUND,
    NoResourceData = ERROR_RESOURCE_DATA_NOT_FOUND,
    Errno = 0xFFFFFFFF,  // malloc, calloc, realloc: errno is ENOMEM
};

// What a successful call hands the program, to be given back.
enum class Makes { Nothing, Object, Window };

struct Point {
    const char* dll;
    const char* name;
    Error error;
    Makes makes;
    void* hook;
    void* real;
};

// The functions that are only watched: how the program lets go of objects.
enum Watched {
    kDeleteObject, kDeleteDC, kReleaseDC, kRealizePalette, kMsgWait, kSleep, kDrawIcon, kGetProcAddress,
    kCallWindowProcW, kWatchedCount
};

long g_calls[kFunctionCount];
int g_armed = kFunctionCount;
long g_armedIndex = 0;
bool g_exhausted = false;
bool g_timersTick = false;
bool g_counting = false;
bool g_fired = false;
int g_paused = 0;

// The periods the program last asked for, newest last.
struct Asked {
    HWND hWnd;
    UINT_PTR id;
    UINT period;
};
constexpr size_t kAskedKept = 16;
Asked g_asked[kAskedKept];
size_t g_askedCount = 0;

long g_realized = 0;   // palettes of the program's own realized
DWORD g_slept = 0;     // the program's last pause, if it waited idle first
bool g_idled = false;  // the program waited idle for messages since its last pause
POINT g_iconAt{};      // where the program last drew an icon
// The messages the program last handed on to a window's default processing.
MSG g_defaulted[64];
size_t g_defaultedCount = 0;

Point g_points[kFunctionCount];
Point g_watched[kWatchedCount];

// What the program holds. No allocation in here: malloc is hooked.
class HeldSet {
public:
    void Clear() { m_count = 0; }
    void Add(HANDLE handle, Function by)
    {
        if (m_count < kCapacity)
            m_items[m_count++] = {handle, by, g_calls[by]};
    }
    void Remove(HANDLE handle)
    {
        for (size_t i = 0; i < m_count; ++i)
            if (m_items[i].handle == handle) {
                m_items[i] = m_items[--m_count];
                return;
            }
    }
    size_t Count() const { return m_count; }
    const Made& At(size_t i) const { return m_items[i]; }

private:
    static constexpr size_t kCapacity = 16384;
    Made m_items[kCapacity];
    size_t m_count = 0;
};

HeldSet g_objects;  // GDI objects, until deleted or given to a window
HeldSet g_windows;  // windows, and timers by their windows

bool ProgramCalls() { return g_counting && !g_paused; }

// Where the failing call came from, for finding the code a failed run went
// through: the return addresses as the linker placed them.
// tests/fault_sweep.sh names their functions.
void PrintCallers()
{
    void* frames[12];
    const USHORT count = ::RtlCaptureStackBackTrace(2, 12, frames, nullptr);
    const auto* base = reinterpret_cast<const BYTE*>(::GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    std::fprintf(stderr, "fault: callers");
    for (USHORT i = 0; i < count; ++i) {
        const auto offset = static_cast<unsigned long long>(static_cast<const BYTE*>(frames[i]) - base);
        std::fprintf(stderr, " 0x%llx", offset + nt->OptionalHeader.ImageBase);
    }
    std::fprintf(stderr, "\n");
}

// Whether this call, the program's, is the one that fails.
bool Fails(Function f)
{
    if (!ProgramCalls())
        return false;
    const long call = ++g_calls[f];
    if (f != g_armed || g_armedIndex == 0 || call < g_armedIndex || (call > g_armedIndex && !g_exhausted))
        return false;
    // Once is enough to say where: an exhausted run fails many calls.
    if (!g_fired)
        PrintCallers();
    g_fired = true;
    switch (g_points[f].error) {
    case Error::Untouched:
        break;
    case Error::Errno:
        errno = ENOMEM;
        break;
    default:
        ::SetLastError(static_cast<DWORD>(g_points[f].error));
    }
    return true;
}

template <Function F, class Signature>
struct Hook;

template <Function F, class R, class... Args>
struct Hook<F, R (*)(Args...)> {
    static R Call(Args... args)
    {
        if (Fails(F))
            return R{};
        const R result = reinterpret_cast<R (*)(Args...)>(g_points[F].real)(args...);
        if constexpr (std::is_pointer_v<R>) {
            if (result && ProgramCalls() && g_points[F].makes != Makes::Nothing)
                (g_points[F].makes == Makes::Object ? g_objects : g_windows).Add(result, F);
        }
        return result;
    }
};

// The program's timers are set for real, but while counting with the
// longest period there is: they never tick by themselves, the session posts
// their ticks, and so every run makes the same calls in the same order.
UINT_PTR SetTimerWithoutTicks(HWND hWnd, UINT_PTR id, UINT elapse, TIMERPROC proc)
{
    if (Fails(kSetTimer))
        return 0;
    const bool program = ProgramCalls();
    const UINT_PTR timer = reinterpret_cast<decltype(&::SetTimer)>(g_points[kSetTimer].real)(
        hWnd, id, program && !g_timersTick ? USER_TIMER_MAXIMUM : elapse, proc);
    // A window's timers go with it; one on no window would outlive them all.
    if (timer && program) {
        g_windows.Add(hWnd ? static_cast<HANDLE>(hWnd) : INVALID_HANDLE_VALUE, kSetTimer);
        g_asked[g_askedCount++ % kAskedKept] = {hWnd, id, elapse};
    }
    return timer;
}

// Handing an object to a screen reader fails with an error code, not 0.
LRESULT WINAPI LresultFromObjectFailing(REFIID riid, WPARAM flags, LPUNKNOWN object)
{
    if (Fails(kLresultFromObject))
        return E_OUTOFMEMORY;
    return reinterpret_cast<decltype(&::LresultFromObject)>(g_points[kLresultFromObject].real)(riid, flags, object);
}

// The system's object is held by reference: one of ours keeps it, to be
// asked whether the program still holds one too.
HRESULT WINAPI CreateStdAccessibleObjectKept(HWND hWnd, LONG id, REFIID iid, void** object)
{
    if (Fails(kCreateStdAccessibleObject))
        return E_OUTOFMEMORY;
    const HRESULT result = reinterpret_cast<decltype(&::CreateStdAccessibleObject)>(
        g_points[kCreateStdAccessibleObject].real)(hWnd, id, iid, object);
    if (SUCCEEDED(result) && *object && ProgramCalls()) {
        static_cast<IUnknown*>(*object)->AddRef();
        g_objects.Add(*object, kCreateStdAccessibleObject);
    }
    return result;
}

// A region the window took is the window's to delete.
int SetWindowRgnAndLetGo(HWND hWnd, HRGN region, BOOL redraw)
{
    if (Fails(kSetWindowRgn))
        return 0;
    const int result = reinterpret_cast<decltype(&::SetWindowRgn)>(g_points[kSetWindowRgn].real)(hWnd, region, redraw);
    if (result)
        g_objects.Remove(region);
    return result;
}

// A watched function, called through to the system's.
template <Watched W, class R, class... Args>
R Real(Args... args)
{
    return reinterpret_cast<R(WINAPI*)(Args...)>(g_watched[W].real)(args...);
}

// The program lets go of what it made: the last argument is no longer held
// once the call has done its work.
template <Watched W, class R, class... Args>
R WINAPI LetGo(Args... args)
{
    const R done = Real<W, R>(args...);
    if (done)
        g_objects.Remove(std::get<sizeof...(Args) - 1>(std::tie(args...)));
    return done;
}

UINT WINAPI WatchRealizePalette(HDC dc)
{
    if (ProgramCalls() && ::GetCurrentObject(dc, OBJ_PAL) != ::GetStockObject(DEFAULT_PALETTE))
        ++g_realized;
    return Real<kRealizePalette, UINT>(dc);
}

DWORD WINAPI WatchMsgWait(DWORD count, const HANDLE* handles, BOOL all, DWORD milliseconds, DWORD wake)
{
    g_idled = g_idled || ProgramCalls();
    return Real<kMsgWait, DWORD>(count, handles, all, milliseconds, wake);
}

void WINAPI WatchSleep(DWORD milliseconds)
{
    if (ProgramCalls())
        g_slept = std::exchange(g_idled, false) ? milliseconds : 0;
    Real<kSleep, void>(milliseconds);
}

BOOL WINAPI WatchDrawIcon(HDC dc, int x, int y, HICON icon)
{
    if (ProgramCalls())
        g_iconAt = {x, y};
    return Real<kDrawIcon, BOOL>(dc, x, y, icon);
}

LRESULT WINAPI WatchCallWindowProc(WNDPROC proc, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_defaulted[g_defaultedCount++ % std::size(g_defaulted)] = {hWnd, message, wParam, lParam, 0, {}};
    return Real<kCallWindowProcW, LRESULT>(proc, hWnd, message, wParam, lParam);
}

// The names the program gives screen readers are strings of the automation
// library, which it looks up rather than imports.
decltype(&::SysFreeString) g_sysFreeString = nullptr;

void WINAPI TrackSysFreeString(BSTR text)
{
    g_objects.Remove(text);
    g_sysFreeString(text);
}

const char* g_hiddenExport = nullptr;  // set by HideExport
FARPROC WINAPI WatchGetProcAddress(HMODULE module, LPCSTR name)
{
    const FARPROC found = Real<kGetProcAddress, FARPROC>(module, name);
    if (!found || IS_INTRESOURCE(name))
        return found;
    if (g_hiddenExport && std::strcmp(name, g_hiddenExport) == 0)
        return nullptr;
    for (const Function f : {kSysAllocString, kLresultFromObject, kCreateStdAccessibleObject})
        if (std::strcmp(name, kFunctionNames[f]) == 0) {
            g_points[f].real = reinterpret_cast<void*>(found);
            return reinterpret_cast<FARPROC>(g_points[f].hook);
        }
    if (std::strcmp(name, "SysFreeString") == 0) {
        g_sysFreeString = reinterpret_cast<decltype(&::SysFreeString)>(reinterpret_cast<void (*)()>(found));
        return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&TrackSysFreeString));
    }
    return found;
}

template <Function F, class Signature>
void Define(const char* dll, Error error, Makes makes, Signature hook = &Hook<F, Signature>::Call)
{
    g_points[F] = {dll, kFunctionNames[F], error, makes, reinterpret_cast<void*>(hook), nullptr};
}

void DefineAll()
{
    Define<kCreateCompatibleDC, decltype(&::CreateCompatibleDC)>("gdi32.dll", Error::Untouched, Makes::Object);
    Define<kCreateCompatibleBitmap, decltype(&::CreateCompatibleBitmap)>("gdi32.dll", Error::Untouched, Makes::Object);
    Define<kCreatePalette, decltype(&::CreatePalette)>("gdi32.dll", Error::Untouched, Makes::Object);
    Define<kCreateRectRgn, decltype(&::CreateRectRgn)>("gdi32.dll", Error::Untouched, Makes::Object);
    Define<kCombineRgn, decltype(&::CombineRgn)>("gdi32.dll", Error::Untouched, Makes::Nothing);
    Define<kCreateFontW, decltype(&::CreateFontW)>("gdi32.dll", Error::Untouched, Makes::Object);
    // A context from GetDC is held until ReleaseDC gives it back.
    Define<kGetDC, decltype(&::GetDC)>("user32.dll", Error::Untouched, Makes::Object);
    Define<kStretchDIBits, decltype(&::StretchDIBits)>("gdi32.dll", Error::Untouched, Makes::Nothing);
    Define<kCreateDialogIndirectParamW, decltype(&::CreateDialogIndirectParamW)>("user32.dll", Error::NoMemory,
                                                                                 Makes::Window);
    Define<kCreateWindowExW, decltype(&::CreateWindowExW)>("user32.dll", Error::NoMemory, Makes::Window);
    Define<kSetWindowRgn, decltype(&::SetWindowRgn)>("user32.dll", Error::Untouched, Makes::Nothing,
                                                     &SetWindowRgnAndLetGo);
    Define<kSetTimer, decltype(&::SetTimer)>("user32.dll", Error::NoMemory, Makes::Nothing, &SetTimerWithoutTicks);
    Define<kFindResourceW, decltype(&::FindResourceW)>("kernel32.dll", Error::NoResource, Makes::Nothing);
    Define<kLoadResource, decltype(&::LoadResource)>("kernel32.dll", Error::NoResourceData, Makes::Nothing);
    Define<kLoadBitmapW, decltype(&::LoadBitmapW)>("user32.dll", Error::Untouched, Makes::Object);
    Define<kLoadIconW, decltype(&::LoadIconW)>("user32.dll", Error::NoResource, Makes::Nothing);
    Define<kLoadStringW, decltype(&::LoadStringW)>("user32.dll", Error::NoResource, Makes::Nothing);
    Define<kMalloc, decltype(&std::malloc)>("msvcrt.dll", Error::Errno, Makes::Nothing);
    Define<kCalloc, decltype(&std::calloc)>("msvcrt.dll", Error::Errno, Makes::Nothing);
    // A failing realloc returns null and leaves the block as it was.
    Define<kRealloc, decltype(&std::realloc)>("msvcrt.dll", Error::Errno, Makes::Nothing);
    Define<kSysAllocString, decltype(&::SysAllocString)>(nullptr, Error::Untouched, Makes::Object);
    Define<kLresultFromObject, decltype(&::LresultFromObject)>(nullptr, Error::Untouched, Makes::Nothing,
                                                               &LresultFromObjectFailing);
    Define<kCreateStdAccessibleObject, decltype(&::CreateStdAccessibleObject)>(nullptr, Error::Untouched, Makes::Object,
                                                                               &CreateStdAccessibleObjectKept);
    const auto watch = [](Watched w, const char* dll, const char* name, auto hook) {
        g_watched[w] = {dll, name, Error::Untouched, Makes::Nothing, reinterpret_cast<void*>(hook), nullptr};
    };
    watch(kDeleteObject, "gdi32.dll", "DeleteObject", &LetGo<kDeleteObject, BOOL, HGDIOBJ>);
    watch(kDeleteDC, "gdi32.dll", "DeleteDC", &LetGo<kDeleteDC, BOOL, HDC>);
    watch(kReleaseDC, "user32.dll", "ReleaseDC", &LetGo<kReleaseDC, int, HWND, HDC>);
    watch(kRealizePalette, "gdi32.dll", "RealizePalette", &WatchRealizePalette);
    watch(kMsgWait, "user32.dll", "MsgWaitForMultipleObjects", &WatchMsgWait);
    watch(kSleep, "kernel32.dll", "Sleep", &WatchSleep);
    watch(kDrawIcon, "user32.dll", "DrawIcon", &WatchDrawIcon);
    watch(kGetProcAddress, "kernel32.dll", "GetProcAddress", &WatchGetProcAddress);
    watch(kCallWindowProcW, "user32.dll", "CallWindowProcW", &WatchCallWindowProc);
}

// Points the module's import slot for dll!name at hook; returns what the
// slot held, or null where the module imports no such function.
void* Patch(HMODULE module, const char* dll, const char* name, void* hook)
{
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        if (::lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0)
            continue;
        const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) != 0)
                continue;
            DWORD protection;
            if (!::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection))
                return nullptr;
            void* real = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(hook);
            ::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            return real;
        }
    }
    return nullptr;
}

bool PatchAll(Point* points, size_t count)
{
    const HMODULE module = ::GetModuleHandleW(nullptr);
    for (size_t i = 0; i < count; ++i) {
        if (!points[i].dll)
            continue;  // looked up by the program: handed out by WatchGetProcAddress
        points[i].real = Patch(module, points[i].dll, points[i].name, points[i].hook);
        if (!points[i].real)
            return false;
    }
    return true;
}

}  // namespace

bool Install()
{
    DefineAll();
    // A test that asks for names frees them itself, through its own import.
    if (void* real = Patch(::GetModuleHandleW(nullptr), "oleaut32.dll", "SysFreeString",
                           reinterpret_cast<void*>(&TrackSysFreeString)))
        g_sysFreeString = reinterpret_cast<decltype(&::SysFreeString)>(real);
    return PatchAll(g_points, kFunctionCount) && PatchAll(g_watched, kWatchedCount);
}

void Begin(Function function, long index, bool exhausted)
{
    for (long& calls : g_calls)
        calls = 0;
    g_armed = function;
    g_armedIndex = index;
    g_exhausted = exhausted;
    g_timersTick = false;
    g_fired = false;
    g_realized = 0;
    g_slept = 0;
    g_iconAt = {-99999, -99999};
    g_objects.Clear();
    g_windows.Clear();
    g_counting = true;
}

void Watch()
{
    Begin(kMalloc, 0);
    g_timersTick = true;
}

void End() { g_counting = false; }

void HideExport(const char* name) { g_hiddenExport = name; }

long Calls(Function function) { return g_calls[function]; }
bool Fired() { return g_fired; }
long RealizedPalettes() { return g_realized; }
DWORD LastSleep() { return g_slept; }
POINT LastIconAt() { return g_iconAt; }

bool Defaulted(HWND hWnd, UINT message)
{
    for (const MSG& msg : g_defaulted)
        if (msg.hwnd == hWnd && msg.message == message)
            return true;
    return false;
}

UINT TimerPeriod(HWND hWnd, UINT_PTR id)
{
    for (size_t i = g_askedCount; i-- > 0 && g_askedCount - i <= kAskedKept;) {
        const Asked& asked = g_asked[i % kAskedKept];
        if (asked.hWnd == hWnd && asked.id == id)
            return asked.period;
    }
    return 0;
}

std::vector<Made> StillHeld()
{
    FaultPause pause;
    std::vector<Made> held;
    for (size_t i = 0; i < g_objects.Count(); ++i) {
        const Made& made = g_objects.At(i);
        const auto counted = static_cast<IUnknown*>(made.handle);
        if (made.by != kCreateStdAccessibleObject || (counted->AddRef(), counted->Release() > 1))
            held.push_back(made);
    }
    for (size_t i = 0; i < g_windows.Count(); ++i) {
        const Made& made = g_windows.At(i);
        if (made.handle == INVALID_HANDLE_VALUE || ::IsWindow(static_cast<HWND>(made.handle)))
            held.push_back(made);
    }
    return held;
}

FaultPause::FaultPause() { ++g_paused; }
FaultPause::~FaultPause() { --g_paused; }

}  // namespace fault
