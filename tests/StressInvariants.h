// What must hold of the running program after every random user action:
// the draw's state against its controls, the windows of the thread, and
// the pictures and fonts of the About box's mascot, which must go with it.
#pragma once

#include "WindowSpies.h"

#include <string>
#include <vector>

// Every top-level window of this thread but the system's IME windows, sorted
// by what it is.
struct Census {
    bool mainSeen = false;
    std::vector<CAboutDlg*> abouts;
    std::vector<CMascotDlg*> mascots;
    std::vector<CBalloonDlg*> balloons;
    std::vector<HWND> tooltips;
    std::vector<std::wstring> strays;  // class names of anything else
    int total = 0;
};

Census TakeCensus(HWND main);

// The About box on screen, if any.
CAboutDlg* AboutOnScreen(HWND main);

class StressInvariants {
public:
    // With partsMayFail (the fault sweep), a missing palette or timer is a
    // part that failed, as the program's convention allows, and not a
    // broken rule; everything else must hold all the same.
    explicit StressInvariants(TestDrawDlg& dlg, bool partsMayFail = false)
        : m_dlg(dlg), m_partsMayFail(partsMayFail) {}

    // The rules broken now; empty when all of them hold.
    std::vector<std::string> Check();

    long openings = 0, mascots = 0, drawsStarted = 0, drawsFinished = 0;

private:
    enum class Phase { Idle, Spinning, Stopped };

    void Require(bool ok, const std::string& what);
    void CheckDraw();
    void CheckWindows();
    void CheckMascot(CMascotDlg* mascot, HWND about, const Census& census);
    void CheckWorn(HWND hWnd, const CBitmap& image, const char* what);
    void Record(HGDIOBJ object, DWORD type, const char* what, bool optional = false);

    TestDrawDlg& m_dlg;
    const bool m_partsMayFail;
    std::vector<std::string> m_problems;
    Phase m_phase = Phase::Idle;
    bool m_everSpun = false;
    // What the About box on screen has shown so far.
    struct Opening {
        HWND about = nullptr;
        HWND mascot = nullptr;
        std::vector<HGDIOBJ> objects;
    } m_opening;
};
