#include "StressActions.h"

#include "StressInvariants.h"
#include "TestWindows.h"
#include "resource.h"

#include <optional>
#include <vector>

// Where the system delivers a click at a screen point. Under Wine, real
// input goes where WindowFromPoint points: past disabled controls and
// statics without SS_NOTIFY to the dialog, and nowhere at all when the
// top-level window is disabled (WindowFromPoint then names that window).
HWND ClickTarget(POINT screen)
{
    const HWND target = ::WindowFromPoint(screen);
    if (!target || ::GetWindowThreadProcessId(target, nullptr) != ::GetCurrentThreadId())
        return nullptr;
    if (!::IsWindowEnabled(target) || !::IsWindowEnabled(::GetAncestor(target, GA_ROOT)))
        return nullptr;
    return target;
}

POINT PointIn(const RECT& rect, double u, double v)
{
    return {rect.left + static_cast<LONG>(u * (rect.right - rect.left)),
            rect.top + static_cast<LONG>(v * (rect.bottom - rect.top))};
}

void PostClick(HWND target, POINT screen, bool hover)
{
    ::ScreenToClient(target, &screen);
    const LPARAM at = MAKELPARAM(screen.x, screen.y);
    if (hover)
        ::PostMessageW(target, WM_MOUSEMOVE, 0, at);
    ::PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(target, WM_LBUTTONUP, 0, at);
}

namespace {

// A pixel of the window's shape in screen coordinates, chosen by u evenly
// over the shape's area; nothing for a window without a shape.
std::optional<POINT> PointInShape(HWND hWnd, double u)
{
    CRgn region;
    std::optional<POINT> found;
    region.CreateRectRgn(0, 0, 0, 0);
    const int kind = ::GetWindowRgn(hWnd, region);
    const DWORD size = kind == SIMPLEREGION || kind == COMPLEXREGION ? ::GetRegionData(region, 0, nullptr) : 0;
    std::vector<char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (size && ::GetRegionData(region, size, data) == size) {
        const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
        long long area = 0;
        for (DWORD i = 0; i < data->rdh.nCount; ++i)
            area += static_cast<long long>(rects[i].right - rects[i].left) * (rects[i].bottom - rects[i].top);
        long long index = static_cast<long long>(u * static_cast<double>(area));
        for (DWORD i = 0; i < data->rdh.nCount && !found; ++i) {
            const long long width = rects[i].right - rects[i].left;
            const long long pixels = width * (rects[i].bottom - rects[i].top);
            if (index < pixels)
                found = POINT{rects[i].left + static_cast<LONG>(index % width),
                              rects[i].top + static_cast<LONG>(index / width)};
            index -= pixels;
        }
    }
    if (found && !::PtInRegion(region, found->x, found->y))
        found.reset();
    if (found) {
        // The region is relative to the window's top left corner.
        const RECT rect = WindowRect(hWnd);
        found->x += rect.left;
        found->y += rect.top;
    }
    return found;
}

// A message for a window there is; nothing happens without one.
Result Post(HWND target, UINT message, WPARAM wParam, LPARAM lParam = 0)
{
    if (!target)
        return Result::Skipped;
    ::PostMessageW(target, message, wParam, lParam);
    return Result::Posted;
}

Result PostKey(HWND target, WPARAM key, UINT scan)
{
    const LPARAM down = 1 | static_cast<LPARAM>(scan) << 16;
    ::PostMessageW(target, WM_KEYDOWN, key, down);
    return Post(target, WM_KEYUP, key, down | 0xC0000000);
}

}  // namespace

// OK says farewell for two seconds when a mascot with its balloon is up,
// holding the thread: of the actions that would set it off, this share is
// carried out.
constexpr double kFarewellShare = 0.09;

bool StressActions::FarewellHeldBack(HWND target, double gate)
{
    CAboutDlg* about = AboutOnScreen(m_dlg.m_hWnd);
    CMascotDlg* mascot = about ? about->*&TestAbout::m_pMascot : nullptr;
    if (!mascot || !(mascot->*&TestMascot::m_pBalloon) || target != ::GetDlgItem(about->m_hWnd, IDOK))
        return false;
    farewells += gate < kFarewellShare;
    return gate >= kFarewellShare;
}

Result StressActions::ClickAt(POINT screen, double gate, std::string& note)
{
    const HWND target = ClickTarget(screen);
    if (!target) {
        ++clicksSwallowed;
        note = "nothing";
        return Result::Done;
    }
    // Exit ends the run: only the finish presses it.
    if (target == m_dlg.Item(IDOK) || FarewellHeldBack(target, gate))
        return Result::Skipped;
    ++clicksDelivered;
    note = Utf8(ClassOf(target)) + " " + std::to_string(::GetDlgCtrlID(target));
    // The pointer goes there too, so that hovering and the tooltips see
    // what a real mouse would show them.
    ::SetCursorPos(screen.x, screen.y);
    PostClick(target, screen, true);
    return Result::Posted;
}

Result StressActions::ClickItem(HWND dialog, int id, const Action& a, std::string& note)
{
    const HWND item = dialog ? ::GetDlgItem(dialog, id) : nullptr;
    if (!item)
        return Result::Skipped;
    return ClickAt(PointIn(WindowRect(item), a.u[1], a.u[2]), a.u[3], note);
}

Result StressActions::Apply(const Action& a, std::string& note)
{
    const int slot = static_cast<int>(a.u[0] * 6);
    CAboutDlg* about = AboutOnScreen(m_dlg.m_hWnd);
    const HWND aboutWnd = about ? about->m_hWnd : nullptr;
    CMascotDlg* mascot = about ? about->*&TestAbout::m_pMascot : nullptr;
    CBalloonDlg* balloon = mascot ? mascot->*&TestMascot::m_pBalloon : nullptr;
    const Kind kind = static_cast<Kind>(a.kind);
    switch (kind) {
    case Kind::ClickStart:
        return ClickItem(m_dlg.m_hWnd, IDC_START, a, note);
    case Kind::ClickFixAll:
        return ClickItem(m_dlg.m_hWnd, IDC_FIX_ALL, a, note);
    case Kind::ClickToggle:
        return ClickItem(m_dlg.m_hWnd, IDC_FIX1 + slot, a, note);
    case Kind::ClickLabel:
        return ClickItem(m_dlg.m_hWnd, IDC_NUMBER1 + slot, a, note);
    case Kind::ClickBanner:
        return ClickItem(m_dlg.m_hWnd, IDC_BANNER, a, note);
    case Kind::ClickDialog: {
        RECT client;
        ::GetClientRect(m_dlg.m_hWnd, &client);
        POINT point = PointIn(client, a.u[1], a.u[2]);
        ::ClientToScreen(m_dlg.m_hWnd, &point);
        return ClickAt(point, a.u[3], note);
    }
    case Kind::PressButton: {
        // What the keyboard or an accessibility tool does to an enabled button.
        const int ids[] = {IDC_START, IDC_FIX_ALL, IDC_FIX1, IDC_FIX2, IDC_FIX3, IDC_FIX4, IDC_FIX5, IDC_FIX6};
        const HWND button = m_dlg.Item(ids[static_cast<int>(a.u[1] * 8)]);
        if (!::IsWindowEnabled(m_dlg.m_hWnd) || !::IsWindowEnabled(button))
            return Result::Skipped;
        note = std::to_string(::GetDlgCtrlID(button));
        ::SendMessageW(button, BM_CLICK, 0, 0);
        return Result::Done;
    }
    case Kind::SpaceKey: {
        // Space presses the focused button, if the focus is on one.
        const HWND focus = ::GetFocus();
        if (!focus || ClassOf(focus) != L"Button" || focus == m_dlg.Item(IDOK) || FarewellHeldBack(focus, a.u[3]))
            return Result::Skipped;
        note = std::to_string(::GetDlgCtrlID(focus));
        return PostKey(focus, VK_SPACE, 0x39);
    }
    case Kind::SystemMenuAbout:
        // The system menu of a disabled window cannot be reached.
        return Post(::IsWindowEnabled(m_dlg.m_hWnd) ? m_dlg.m_hWnd : nullptr, WM_SYSCOMMAND, IDM_ABOUTBOX);
    // Only a running timer ticks.
    case Kind::SpinTick:
        return Post(m_dlg.m_spinTimer ? m_dlg.m_hWnd : nullptr, WM_TIMER, ID_TIMER_SPIN);
    case Kind::BannerTick:
        return Post(m_dlg.m_bannerTimer ? m_dlg.m_hWnd : nullptr, WM_TIMER, ID_TIMER_BANNER);
    case Kind::HideTick:
        return Post(balloon && balloon->*&TestBalloon::m_hideTimer ? balloon->m_hWnd : nullptr, WM_TIMER,
                    ID_TIMER_BALLOON_HIDE);
    case Kind::ChatterTick:
        return Post(balloon && balloon->*&TestBalloon::m_chatterTimer ? balloon->m_hWnd : nullptr, WM_TIMER,
                    ID_TIMER_BALLOON_CHATTER);
    case Kind::ClickIcon:
        return ClickItem(aboutWnd, IDC_ABOUT_ICON, a, note);
    case Kind::ClickOk:
        return ClickItem(aboutWnd, IDOK, a, note);
    case Kind::EscapeKey: {
        // The key goes to the focus; in the main dialog it would end the
        // program, which only the finish does.
        const HWND focus = ::GetFocus();
        if (!aboutWnd || !focus || ::GetAncestor(focus, GA_ROOT) == m_dlg.m_hWnd)
            return Result::Skipped;
        note = Utf8(ClassOf(focus));
        return PostKey(focus, VK_ESCAPE, 0x01);
    }
    case Kind::CloseBox:
        return Post(aboutWnd, WM_SYSCOMMAND, SC_CLOSE);
    case Kind::MoveAbout: {
        if (!aboutWnd)
            return Result::Skipped;
        const RECT box = WindowRect(aboutWnd);
        const int x = static_cast<int>(a.u[1] * (::GetSystemMetrics(SM_CXSCREEN) - (box.right - box.left)));
        const int y = static_cast<int>(a.u[2] * (::GetSystemMetrics(SM_CYSCREEN) - (box.bottom - box.top)));
        note = std::to_string(x) + "," + std::to_string(y);
        ::SetWindowPos(aboutWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return Result::Done;
    }
    case Kind::ClickMascot:
    case Kind::ClickBalloon: {
        CWnd* window = kind == Kind::ClickBalloon ? static_cast<CWnd*>(balloon) : mascot;
        const std::optional<POINT> point = window ? PointInShape(window->m_hWnd, a.u[1]) : std::nullopt;
        if (!point)
            return Result::Skipped;
        return ClickAt(*point, a.u[3], note);
    }
    case Kind::DpiChange: {
        // As when a window is dragged onto a monitor of another scale; the
        // suggested rectangle is where the window is now.
        static const UINT kDpis[] = {96, 120, 144, 192};
        const HWND windows[] = {m_dlg.m_hWnd, mascot ? mascot->m_hWnd : nullptr, balloon ? balloon->m_hWnd : nullptr};
        const HWND target = windows[static_cast<int>(a.u[0] * 3)];
        if (!target)
            return Result::Skipped;
        const UINT dpi = kDpis[static_cast<int>(a.u[1] * 4)];
        static RECT suggested;
        suggested = WindowRect(target);
        note = std::to_string(dpi);
        return Post(target, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    }
    }
    return Result::Skipped;
}

