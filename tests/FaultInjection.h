// Makes one chosen call of the program fail at its N-th use, or from its
// N-th use on, as when a resource runs out. The test executable's own import
// table is patched, so that every call the program's code makes to one of
// these functions goes through a counter first; the armed call returns the
// failure value and sets the last error the platform documents for it.
//
// The test's own code calls the same functions through the same table: it
// runs inside a FaultPause, whose calls are neither counted nor failed.
#pragma once

#include <windows.h>

#include <vector>

namespace fault {

// The functions that can be made to fail, in the order of kFunctionNames.
enum Function : int {
    kCreateCompatibleDC, kCreateCompatibleBitmap, kCreatePalette, kCreateRectRgn, kCombineRgn, kCreateFontW,
    kGetDC, kStretchDIBits, kCreateDialogIndirectParamW, kCreateWindowExW, kSetWindowRgn, kSetTimer,
    kFindResourceW, kLoadResource, kLoadBitmapW, kLoadIconW, kLoadStringW, kMalloc, kCalloc, kRealloc,
    // Looked up, not imported: reached through GetProcAddress.
    kSysAllocString, kLresultFromObject, kCreateStdAccessibleObject,
    kFunctionCount
};

extern const char* const kFunctionNames[kFunctionCount];

// Patches the import table; false if a function was not found in it.
bool Install();

// From now on counts the program's calls; the index-th call of function
// (1 for the first) fails, and with exhausted every later call of it too.
// An index of 0 fails nothing.
void Begin(Function function, long index, bool exhausted = false);
// Counts and follows what the program makes as Begin does, but fails no
// call and lets the timers tick at their own periods.
void Watch();
// Stops counting; every call passes from now on.
void End();

// From now on the program's lookups of the function of this name find
// nothing, as where its library lacks it.
void HideExport(const char* name);

long Calls(Function function);
bool Fired();
// How often the program realized a palette of its own in a device context.
long RealizedPalettes();
// How long the program last asked to sleep, in milliseconds; 0 if it did
// not wait idle for messages first, which is when Wine shows what was drawn.
DWORD LastSleep();
// Where the program last drew an icon; far off the screen if it drew none.
POINT LastIconAt();
// Whether the program lately handed this message of this window on to its
// default processing (the last 64 it handed on, whoever was counting).
bool Defaulted(HWND hWnd, UINT message);
// The period of the program's last timer of this window and id that was
// set, as it asked for it; 0 for none.
UINT TimerPeriod(HWND hWnd, UINT_PTR id);

// What the program made while counting and has not let go of: GDI objects
// it neither deleted nor gave to a window (a region to SetWindowRgn), names
// made for screen readers and not freed, and windows and timers whose
// window still exists. After the session, this is
// what it left behind. Handles are followed from their making to their
// deletion rather than looked up afterwards: the system hands the value of
// a deleted handle out again.
struct Made {
    HANDLE handle;  // for a timer, its window (INVALID_HANDLE_VALUE for a thread's timer)
    Function by;
    long call;  // which call of that function made it
};
std::vector<Made> StillHeld();

// The test's own work: its calls pass uncounted while one of these lives.
class FaultPause {
public:
    FaultPause();
    ~FaultPause();
    FaultPause(const FaultPause&) = delete;
    FaultPause& operator=(const FaultPause&) = delete;
};

}  // namespace fault
