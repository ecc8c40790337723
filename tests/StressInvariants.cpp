#include "StressInvariants.h"

#include "TestWindows.h"
#include "resource.h"

#include <algorithm>
#include <iterator>
#include <set>

// The system gives a thread with windows a hidden IME window of class
// "IME", and newer Wine adds the input method's own window (class "Wine IME"),
// owned by it. COM gives a thread in a single-threaded apartment a hidden
// window of its own, once a screen reader has asked for a name (newer Wine
// asks of itself, now and then). None is the program's, and they come and
// go as the system pleases.
Census TakeCensus(HWND main)
{
    Census census;
    const auto ours = [](HWND window) {
        const HWND owner = ::GetWindow(window, GW_OWNER);
        return ClassOf(window) != L"IME" && !(owner && ClassOf(owner) == L"IME") &&
               ClassOf(window) != L"OleMainThreadWndClass";
    };
    for (HWND hWnd : ThreadWindows(ours)) {
        CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
        ++census.total;
        if (hWnd == main)
            census.mainSeen = true;
        else if (auto* about = dynamic_cast<CAboutDlg*>(wnd))
            census.abouts.push_back(about);
        else if (auto* mascot = dynamic_cast<CMascotDlg*>(wnd))
            census.mascots.push_back(mascot);
        else if (auto* balloon = dynamic_cast<CBalloonDlg*>(wnd))
            census.balloons.push_back(balloon);
        else if (ClassOf(hWnd) == L"tooltips_class32")
            census.tooltips.push_back(hWnd);
        else
            census.strays.push_back(ClassOf(hWnd));
    }
    return census;
}

CAboutDlg* AboutOnScreen(HWND main)
{
    const Census census = TakeCensus(main);
    return census.abouts.empty() ? nullptr : census.abouts.front();
}

std::vector<std::string> StressInvariants::Check()
{
    m_problems.clear();
    CheckDraw();
    CheckWindows();
    return m_problems;
}

void StressInvariants::Require(bool ok, const std::string& what)
{
    if (!ok)
        m_problems.push_back(what);
}

void StressInvariants::CheckDraw()
{
    const TestDrawDlg& d = m_dlg;
    int fixedCount = 0;
    std::set<int> fixedNumbers;
    for (int i = 0; i < 6; ++i) {
        const std::string at = "slot " + std::to_string(i + 1) + ": ";
        const int slot = d.m_slots[i];
        const HWND toggle = m_dlg.Item(IDC_FIX1 + i);
        const bool checked = ::SendMessageW(toggle, BM_GETCHECK, 0, 0) == BST_CHECKED;
        const bool enabled = ::IsWindowEnabled(toggle) != FALSE;
        const std::wstring label = WindowText(m_dlg.Item(IDC_NUMBER1 + i));
        Require(slot <= 43, at + "fixed at " + std::to_string(slot));
        if (slot != 0) {
            ++fixedCount;
            Require(label == std::to_wstring(slot),
                    at + "shows " + Utf8(label) + " but is fixed at " + std::to_string(slot));
        }
        if (checked) {
            const int number = std::wcstol(label.c_str(), nullptr, 10);
            Require(number >= 1 && number <= 43, at + "checked with the label " + Utf8(label));
            Require(fixedNumbers.insert(number).second, at + "fixes " + Utf8(label) + " a second time");
        }
        if (d.m_spinning == 1)
            Require(slot != 0 ? checked && !enabled : !checked && enabled,
                    at + (slot != 0 ? "fixed" : "spinning") + ", but its toggle is " +
                        (checked ? "checked" : "unchecked") + " and " + (enabled ? "enabled" : "disabled"));
        else
            Require(!enabled && checked == (slot != 0), at + "toggle not locked at rest");
    }

    const bool fixAll = ::IsWindowEnabled(m_dlg.Item(IDC_FIX_ALL)) != FALSE;
    Phase phase = Phase::Stopped;
    if (d.m_spinning == 1)
        phase = Phase::Spinning;
    else if (fixedCount == 0 && !m_everSpun)
        phase = Phase::Idle;
    switch (phase) {
    case Phase::Idle:
        Require(!fixAll, "idle, but Fix-all is enabled");
        Require(d.m_spinTimer == 0 && d.m_bannerTimer == 0, "idle, but a timer runs");
        break;
    case Phase::Spinning:
        Require(fixAll, "spinning, but Fix-all is disabled");
        Require(fixedCount < 6, "spinning with all six fixed");
        // A timer the system refused is tried again at the next Start.
        Require(m_partsMayFail || d.m_spinTimer != 0, "spinning without the spin timer");
        Require(m_partsMayFail || d.m_bannerTimer != 0, "spinning without the banner timer");
        break;
    case Phase::Stopped:
        Require(fixedCount == 6, "stopped with " + std::to_string(fixedCount) + " of six fixed");
        Require(!fixAll, "stopped, but Fix-all is enabled");
        Require(d.m_spinTimer == 0, "stopped, but the spin timer runs");
        break;
    }
    Require(::IsWindowEnabled(m_dlg.Item(IDC_START)) && ::IsWindowEnabled(m_dlg.Item(IDOK)), "Start or Exit disabled");
    Require(d.m_frameIndex >= 0 && d.m_frameIndex < TestDrawDlg::kFrameCount,
            "banner frame " + std::to_string(d.m_frameIndex));
    Require(d.m_bannerTimer != 0 || d.m_frameIndex == 0, "the banner rests on a rolling frame");
    // Loaded all or none. The loader takes a picture whose bitmap or palette
    // could not be made: such a frame keeps the other.
    const auto loaded = std::count_if(std::begin(d.m_frames), std::end(d.m_frames), [](const BannerFrame& frame) {
        return frame.bitmap.m_hObject != nullptr || frame.palette.m_hObject != nullptr;
    });
    Require(loaded == 0 || loaded == TestDrawDlg::kFrameCount, "a banner strip with frames missing");

    if (phase == Phase::Spinning && m_phase != Phase::Spinning)
        ++drawsStarted;
    if (phase == Phase::Stopped && m_phase == Phase::Spinning)
        ++drawsFinished;
    m_everSpun = m_everSpun || phase == Phase::Spinning;
    m_phase = phase;
}

void StressInvariants::CheckWindows()
{
    const Census census = TakeCensus(m_dlg.m_hWnd);
    Require(census.mainSeen, "the main dialog is gone");
    for (const std::wstring& stray : census.strays)
        Require(false, "a window of class " + Utf8(stray));
    Require(census.abouts.size() <= 1, std::to_string(census.abouts.size()) + " About boxes");
    const HWND about = census.abouts.empty() ? nullptr : census.abouts.front()->m_hWnd;

    // An About box gone since the last check: its windows and pictures went with it.
    if (m_opening.about && m_opening.about != about) {
        Require(census.mascots.empty() && census.balloons.empty(), "a mascot or balloon outlived its About box");
        for (HWND tip : census.tooltips)
            Require(::GetWindow(tip, GW_OWNER) == m_dlg.m_hWnd, "a tooltip outlived its About box");
        for (HGDIOBJ object : m_opening.objects)
            Require(::GetObjectType(object) == 0, "a picture or font of the mascot outlived its About box");
        m_opening = {};
    }
    if (about && m_opening.about != about) {
        m_opening.about = about;
        ++openings;
    }

    Require(::IsWindowEnabled(m_dlg.m_hWnd) == !about,
            about ? "the main dialog is enabled under the About box" : "the main dialog stays disabled");
    int mainTips = 0, aboutTips = 0;
    for (HWND tip : census.tooltips) {
        const HWND owner = ::GetWindow(tip, GW_OWNER);
        mainTips += owner == m_dlg.m_hWnd;
        aboutTips += about && owner == about;
    }
    Require(mainTips + aboutTips == static_cast<int>(census.tooltips.size()), "a tooltip of no window of ours");
    Require(mainTips <= 1 && aboutTips <= 1, "a dialog with more than one tooltip");

    Require(census.mascots.size() <= 1, std::to_string(census.mascots.size()) + " mascots");
    CMascotDlg* mascot = census.mascots.empty() ? nullptr : census.mascots.front();
    if (about)
        Require(census.abouts.front()->*&TestAbout::m_pMascot == mascot, "the About box has lost its mascot");
    if (mascot)
        CheckMascot(mascot, about, census);
    else
        Require(census.balloons.empty(), "a balloon without a mascot");
}

void StressInvariants::CheckMascot(CMascotDlg* mascot, HWND about, const Census& census)
{
    Require(about && ::GetWindow(mascot->m_hWnd, GW_OWNER) == about, "a mascot without its About box");
    if (!m_opening.mascot) {
        m_opening.mascot = mascot->m_hWnd;
        ++mascots;
    }
    Require(m_opening.mascot == mascot->m_hWnd, "a second mascot in one opening");
    Record((mascot->*&TestMascot::m_image).m_hObject, OBJ_BITMAP, "the mascot's picture");
    Record((mascot->*&TestMascot::m_palette).m_hObject, OBJ_PAL, "the mascot's palette", m_partsMayFail);
    CheckWorn(mascot->m_hWnd, mascot->*&TestMascot::m_image, "the mascot");

    // On the box's top edge, 16 pixels in and sunk 6 at its own scale,
    // wherever the box went.
    const RECT box = WindowRect(about);
    const RECT stands = WindowRect(mascot->m_hWnd);
    const int dpi = static_cast<int>(mascot->*&TestMascot::m_dpi);
    Require(stands.left == box.left + Scaled(16, dpi) && stands.bottom == box.top + Scaled(6, dpi),
            "the mascot did not follow the box");

    CBalloonDlg* balloon = mascot->*&TestMascot::m_pBalloon;
    Require(census.balloons.size() <= 1, std::to_string(census.balloons.size()) + " balloons");
    for (CBalloonDlg* b : census.balloons)
        Require(b == balloon && ::GetWindow(b->m_hWnd, GW_OWNER) == mascot->m_hWnd,
                "a balloon its mascot does not know");
    if (!balloon)
        return;
    Record((balloon->*&TestBalloon::m_image).m_hObject, OBJ_BITMAP, "the balloon's picture");
    Record((balloon->*&TestBalloon::m_font).m_hObject, OBJ_FONT, "the balloon's font");
    CheckWorn(balloon->m_hWnd, balloon->*&TestBalloon::m_image, "the balloon");
    const RECT beside = WindowRect(balloon->m_hWnd);
    Require(beside.left == stands.right && beside.bottom == stands.bottom, "the balloon did not follow the mascot");
}

// A pop-up on screen shows its whole picture and nothing but: the window
// is the picture's size and cut to a shape that is not empty.
void StressInvariants::CheckWorn(HWND hWnd, const CBitmap& image, const char* what)
{
    if (!::IsWindowVisible(hWnd))
        return;
    BITMAP picture{};
    Require(image.GetBitmap(&picture) != 0, std::string(what) + " shows without its picture");
    const RECT rect = WindowRect(hWnd);
    Require(rect.right - rect.left == picture.bmWidth && rect.bottom - rect.top == picture.bmHeight,
            std::string(what) + " is not the size of its picture");
    CRgn shape;
    const int kind = shape.CreateRectRgn(0, 0, 0, 0) ? ::GetWindowRgn(hWnd, shape) : ERROR;
    Require(kind == SIMPLEREGION || kind == COMPLEXREGION,
            std::string(what) + (kind == NULLREGION ? " shows an empty outline" : " shows without its outline"));
}

void StressInvariants::Record(HGDIOBJ object, DWORD type, const char* what, bool optional)
{
    if (optional && !object)
        return;
    Require(::GetObjectType(object) == type, std::string(what) + " is missing");
    if (std::find(m_opening.objects.begin(), m_opening.objects.end(), object) == m_opening.objects.end())
        m_opening.objects.push_back(object);
}

