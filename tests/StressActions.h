// The random user's actions on the running program: clicks where a mouse
// would land, keys, system commands, timer ticks and moves of the About box.
#pragma once

#include "WindowSpies.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

enum class Kind {
    ClickStart, ClickFixAll, ClickToggle, ClickLabel, ClickDialog, ClickBanner, PressButton, SpaceKey,
    SystemMenuAbout, SpinTick, BannerTick, ClickIcon, ClickOk, EscapeKey, CloseBox, MoveAbout,
    ClickMascot, ClickBalloon, HideTick, ChatterTick, DpiChange,
};

// Each kind's name and its weight in the random draw, in the order of Kind.
// The weights keep the About box up a little under half the time, and the
// mascot up during most of that.
struct KindInfo {
    const char* name;
    uint32_t weight;
};
inline constexpr KindInfo kKinds[] = {
    {"click Start", 40}, {"click Fix-all", 35}, {"click toggle", 200}, {"click label", 25}, {"click dialog", 25},
    {"click banner", 25}, {"BM_CLICK", 70}, {"Space", 25}, {"system menu About", 15}, {"spin tick", 30},
    {"banner tick", 20}, {"click About icon", 60}, {"click OK", 25}, {"Escape", 35}, {"close box", 15},
    {"move About", 70}, {"click mascot", 100}, {"click balloon", 80}, {"balloon hide tick", 20},
    {"chatter tick", 20}, {"DPI change", 4},
};
inline constexpr size_t kKindCount = std::size(kKinds);
static_assert(kKindCount == static_cast<size_t>(Kind::DpiChange) + 1, "a row for each kind");

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
