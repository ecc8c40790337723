// The random user's actions on the running program: clicks where a mouse
// would land, keys, system commands, timer ticks and moves of the About box.
#pragma once

#include "WindowSpies.h"

#include <cstddef>
#include <cstdint>
#include <string>

enum class Kind {
    ClickStart, ClickFixAll, ClickToggle, ClickLabel, ClickDialog, ClickBanner, PressButton, SpaceKey,
    SystemMenuAbout, SpinTick, BannerTick, ClickIcon, ClickOk, EscapeKey, CloseBox, MoveAbout,
    ClickMascot, ClickBalloon, HideTick, ChatterTick, DpiChange,
};

struct KindInfo {
    Kind kind;
    const char* name;
    uint32_t weight;
};

extern const KindInfo kKinds[];
extern const size_t kKindCount;

// An action drawn from the generator: its kind and four numbers in [0, 1)
// that place it. Every draw takes exactly five numbers, whatever the state
// of the program, so a seed always gives the same sequence.
struct Action {
    size_t kind;
    double u[4];
};

// Skipped: not applicable now. Posted: it happens once the loop delivers
// its messages, so it is checked at the next tick.
enum class Result { Skipped, Done, Posted };

// Where the system delivers a click at a screen point, or null where the
// click is swallowed.
HWND ClickTarget(POINT screen);
POINT PointIn(const RECT& rect, double u, double v);
// A press and release of the left button at a screen point, posted to the
// window under it; with hover, the pointer's move there first.
void PostClick(HWND target, POINT screen, bool hover);

class StressActions {
public:
    explicit StressActions(TestDrawDlg& dlg) : m_dlg(dlg) {}

    // Carries the action out; note says what it met.
    Result Apply(const Action& a, std::string& note);

    long farewells = 0, clicksDelivered = 0, clicksSwallowed = 0;

private:
    // True when the action on target would set off the farewell and its
    // gate holds it back; counts the farewells let through.
    bool FarewellHeldBack(HWND target, double gate);
    Result ClickAt(POINT screen, double gate, std::string& note);
    Result ClickItem(HWND dialog, int id, const Action& a, std::string& note);

    TestDrawDlg& m_dlg;
};
