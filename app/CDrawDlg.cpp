#include "CDrawDlg.h"

#include "CAboutDlg.h"
#include "CDataExchange.h"
#include "CString.h"
#include "CWinApp.h"
#include "Dpi.h"
#include "LoadPaletteBitmap.h"
#include "RandomSource.h"
#include "resource.h"

namespace {

// The title first, then the ball from the left edge to the right.
const UINT kFrameIds[] = {IDB_BANNER_TITLE, IDB_BANNER1, IDB_BANNER2, IDB_BANNER3,
                          IDB_BANNER4, IDB_BANNER5, IDB_BANNER6};

}  // namespace

CDrawDlg::CDrawDlg()
    : CDialog(IDD_DRAW_DIALOG, nullptr),
      // A shared icon from the resources: the system frees it, not we.
      m_hIcon(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)))
{
}

CDrawDlg::~CDrawDlg() = default;

const MessageMap* CDrawDlg::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage<WM_SYSCOMMAND, &CDrawDlg::OnSysCommand>(),
        OnMessage<WM_PAINT, &CDrawDlg::OnPaint>(),
        OnMessage<WM_QUERYDRAGICON, &CDrawDlg::OnQueryDragIcon>(),
        OnCommand<IDC_START, BN_CLICKED, &CDrawDlg::OnStart>(),
        OnCommand<IDC_FIX_ALL, BN_CLICKED, &CDrawDlg::OnFixAll>(),
        OnCommand<IDC_FIX1, BN_CLICKED, &CDrawDlg::OnFix1>(),
        OnCommand<IDC_FIX2, BN_CLICKED, &CDrawDlg::OnFix2>(),
        OnCommand<IDC_FIX3, BN_CLICKED, &CDrawDlg::OnFix3>(),
        OnCommand<IDC_FIX4, BN_CLICKED, &CDrawDlg::OnFix4>(),
        OnCommand<IDC_FIX5, BN_CLICKED, &CDrawDlg::OnFix5>(),
        OnCommand<IDC_FIX6, BN_CLICKED, &CDrawDlg::OnFix6>(),
        OnMessage<WM_TIMER, &CDrawDlg::OnTimer>(),
        OnMessage<WM_DESTROY, &CDrawDlg::OnDestroy>(),
        OnMessage<WM_PALETTECHANGED, &CDrawDlg::OnPaletteChanged>(),
        OnMessage<WM_QUERYNEWPALETTE, &CDrawDlg::OnQueryNewPalette>(),
        OnCommand<IDC_BANNER, STN_CLICKED, &CDrawDlg::OnBannerClicked>(),
        OnMessage<WM_ACTIVATE, &CDrawDlg::OnActivate>(),
        OnMessage<WM_DPICHANGED, &CDrawDlg::OnDpiChanged>(),
    };
    static const MessageMap map(CDialog::GetMessageMap(), entries);
    return &map;
}

void CDrawDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_BANNER, m_banner);
    for (int i = kSlotCount - 1; i >= 0; --i)
        DDX_Control(dx, IDC_NUMBER1 + i, m_numbers[i]);
    for (int i = kSlotCount - 1; i >= 0; --i)
        DDX_Control(dx, IDC_FIX1 + i, m_fixButtons[i]);
    DDX_Control(dx, IDC_START, m_startButton);
    DDX_Control(dx, IDC_FIX_ALL, m_fixAllButton);
}

BOOL CDrawDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (UINT i = 0; i < kSlotCount; ++i)
        m_fixButtons[i].SetAccessibleName(IDS_FIX1_NAME + i);

    if (const HMENU systemMenu = GetSystemMenu(FALSE)) {
        CString about;
        about.LoadString(IDS_ABOUTBOX);
        if (!about.IsEmpty()) {
            ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    RandomSource::SeedFromClock();

    // The tip has two lines.
    m_tooltip.CreateForTool(this, &m_banner, IDS_BANNER_TIP);

    LoadBannerFrames(GetWindowDpi(m_hWnd));
    m_frameIndex = 0;
    ShowBannerFrame(0);
    KeepBannerInside();

    // Focus goes to the first tab stop, the Exit button.
    return TRUE;
}

BOOL CDrawDlg::PreTranslateMessage(MSG* msg)
{
    m_tooltip.RelayMouseMove(msg);
    return CDialog::PreTranslateMessage(msg);
}

void CDrawDlg::OnSysCommand(UINT command, LPARAM)
{
    // The low four bits of a system command are the system's own.
    if ((command & 0xFFF0) == IDM_ABOUTBOX) {
        // The draw's timers keep running behind the box.
        CAboutDlg about;
        about.DoModal();
        return;
    }
    Default();
}

void CDrawDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()));
    RECT client;
    GetClientRect(&client);
    const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CDrawDlg::OnQueryDragIcon()
{
    return m_hIcon;
}

void CDrawDlg::OnStart()
{
    Start();
}

void CDrawDlg::OnFixAll()
{
    FixAll();
}

void CDrawDlg::OnFix1() { FixSlot(0); }
void CDrawDlg::OnFix2() { FixSlot(1); }
void CDrawDlg::OnFix3() { FixSlot(2); }
void CDrawDlg::OnFix4() { FixSlot(3); }
void CDrawDlg::OnFix5() { FixSlot(4); }
void CDrawDlg::OnFix6() { FixSlot(5); }

void CDrawDlg::OnTimer(UINT_PTR id)
{
    if (id == ID_TIMER_SPIN)
        SpinTick();
    else if (id == ID_TIMER_BANNER)
        OnBannerTimer();
    Default();
}

void CDrawDlg::OnDestroy()
{
    Default();
    DeleteBannerFrames();
    // The handles are left as they are: the window is going away.
    if (m_spinTimer != 0)
        StopTimer(m_spinTimer);
    if (m_bannerTimer != 0)
        StopTimer(m_bannerTimer);
}

void CDrawDlg::OnOK()
{
    CDialog::OnOK();
}

void CDrawDlg::OnBannerClicked()
{
    // Posted, not sent: the About box's modal loop starts only after this
    // click has been handled.
    PostMessage(WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
}

void CDrawDlg::OnActivate(UINT state, CWnd*, BOOL)
{
    Default();
    m_active = state != WA_INACTIVE ? 1 : 0;
}

void CDrawDlg::OnPaletteChanged(CWnd* pFocusWnd)
{
    Default();
    // Compared with the dialog, not the banner: a change the banner's own
    // realization caused repaints it too.
    if (pFocusWnd != this)
        m_banner.InvalidateRect(nullptr, FALSE);
}

BOOL CDrawDlg::OnQueryNewPalette()
{
    m_banner.RealizePicturePalette();
    return static_cast<BOOL>(Default());
}

// The system scales the dialog's controls and font; the window takes the
// rectangle the system suggests for the new DPI, and the tooltip and the
// banner's pictures are ours to scale.
void CDrawDlg::OnDpiChanged(UINT dpi, const RECT* suggested)
{
    Default();
    if (suggested)
        SetWindowPos(nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    m_tooltip.OwnerDpiChanged(this, dpi);
    LoadBannerFrames(dpi);
    ShowBannerFrame(m_frameIndex);
    KeepBannerInside();
}

void CDrawDlg::LoadBannerFrames(UINT dpi)
{
    static_assert(sizeof kFrameIds / sizeof kFrameIds[0] == kFrameCount, "one resource per frame");
    // Compatible with the dialog's display, not with the banner control.
    CClientDC dc(this);
    for (int i = 0; i < kFrameCount; ++i) {
        // Scaled once here, so that painting copies the frame one to one.
        if (LoadPaletteBitmap(&m_frames[i].bitmap, &m_frames[i].palette, &dc, kFrameIds[i]) != 1 ||
            !ScaleBitmapToDpi(&m_frames[i].bitmap, &dc, dpi)) {
            // All or nothing: a strip with a hole in it would stutter.
            DeleteBannerFrames();
            return;
        }
    }
}

void CDrawDlg::DeleteBannerFrames()
{
    for (BannerFrame& frame : m_frames) {
        frame.bitmap.DeleteObject();
        frame.palette.DeleteObject();
    }
}

int CDrawDlg::ShowBannerFrame(int n)
{
    if (n < 0 || n >= kFrameCount || !m_frames[n].bitmap.m_hObject)
        return 0;
    m_frameIndex = n;
    m_banner.SetPicture(&m_frames[n].bitmap, &m_frames[n].palette);
    // An inactive dialog leaves the system palette to the active window.
    if (m_active)
        m_banner.RealizePicturePalette();
    BITMAP info;
    m_frames[n].bitmap.GetBitmap(&info);
    m_banner.SetWindowPos(nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER);
    return 1;
}

void CDrawDlg::KeepBannerInside()
{
    RECT banner;
    m_banner.GetWindowRect(&banner);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&banner), 2);
    RECT client;
    GetClientRect(&client);
    const int wider = banner.right + banner.left - client.right;
    const int taller = banner.bottom + banner.left - client.bottom;
    if (wider <= 0 && taller <= 0)
        return;
    RECT window;
    GetWindowRect(&window);
    SetWindowPos(nullptr, 0, 0, window.right - window.left + (wider > 0 ? wider : 0),
                 window.bottom - window.top + (taller > 0 ? taller : 0), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CDrawDlg::AdvanceBannerFrame()
{
    if (m_frameIndex < kFrameCount - 1) {
        ++m_frameIndex;
        return 0;
    }
    m_frameIndex = 1;
    return 1;
}

// The pass under way always runs to the last frame; only at the wrap, and
// only once the numbers have stopped, does the strip return to the title.
void CDrawDlg::OnBannerTimer()
{
    if (AdvanceBannerFrame() == 1 && m_spinning != 1) {
        StopTimerAndClear(m_bannerTimer);
        m_frameIndex = 0;
    }
    ShowBannerFrame(m_frameIndex);
}

void CDrawDlg::ShowNumber(int slot, int value)
{
    CString text;
    text.Format(L"%d", value);
    m_numbers[slot].SetWindowText(text);
}

void CDrawDlg::CheckFix(int slot)
{
    m_fixButtons[slot].SetCheck(BST_CHECKED);
}

void CDrawDlg::SetFixChecks(bool checked)
{
    for (CButton& toggle : m_fixButtons)
        toggle.SetCheck(checked ? BST_CHECKED : BST_UNCHECKED);
}

// A disabled control loses the keyboard focus and nobody gets it: a user
// who fixed a slot with the space bar could not type on. So the focus moves
// on to the next control first, as Tab would move it, but never round to
// Exit, which comes first in the tab order: after Fix-all the next Space
// would end the program. Start, the next thing to press, gets it instead.
void CDrawDlg::Disable(CWnd& control)
{
    if (::GetFocus() == control.m_hWnd) {
        HWND next = ::GetNextDlgTabItem(m_hWnd, control.m_hWnd, FALSE);
        if (!next || next == control.m_hWnd || ::GetDlgCtrlID(next) == IDOK)
            next = m_startButton.m_hWnd;
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
    }
    control.EnableWindow(FALSE);
}

void CDrawDlg::DisableFix(int slot)
{
    Disable(m_fixButtons[slot]);
}

void CDrawDlg::DisableFixAll()
{
    Disable(m_fixAllButton);
}

void CDrawDlg::EnableFixControls(bool enable)
{
    if (!enable) {
        Disable(m_fixAllButton);
        for (CButton& toggle : m_fixButtons)
            Disable(toggle);
        return;
    }
    m_fixAllButton.EnableWindow(TRUE);
    for (CButton& toggle : m_fixButtons)
        toggle.EnableWindow(TRUE);
}

uint32_t CDrawDlg::StartTimer(uint32_t id, uint32_t periodMs)
{
    return static_cast<uint32_t>(SetTimer(id, periodMs));
}

void CDrawDlg::StopTimer(uint32_t handle)
{
    KillTimer(handle);
}

void CDrawDlg::BeginWait()
{
    if (CWinApp* app = AfxGetApp())
        app->BeginWaitCursor();
}

void CDrawDlg::EndWait()
{
    if (CWinApp* app = AfxGetApp())
        app->EndWaitCursor();
}
