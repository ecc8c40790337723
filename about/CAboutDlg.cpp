#include "CAboutDlg.h"

#include "CDataExchange.h"
#include "CMascotDlg.h"
#include "CString.h"
#include "RandomSource.h"
#include "resource.h"

#include <new>

// No parent: the framework makes the main dialog its owner.
CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX, nullptr) {}

CAboutDlg::~CAboutDlg() = default;

const MessageMap* CAboutDlg::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage<WM_DESTROY, &CAboutDlg::OnDestroy>(),
        OnCommand<IDC_ABOUT_ICON, STN_CLICKED, &CAboutDlg::OnIconClicked>(),
        OnMessage<WM_MOVE, &CAboutDlg::OnMove>(),
    };
    static const MessageMap map(CDialog::GetMessageMap(), entries);
    return &map;
}

void CAboutDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_ABOUT_ICON, m_icon);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    // The icon is the tool, by its window; the tooltip does not subclass
    // it, so mouse moves reach the tooltip through PreTranslateMessage.
    if (m_tooltip.Create(this)) {
        m_tooltip.SetMaxTipWidth(256);
        CString tip;
        tip.LoadString(IDS_ABOUT_ICON_TIP);
        m_tooltip.AddTool(&m_icon, tip);
    }
    // Focus to the OK button, the one control that takes it.
    return TRUE;
}

BOOL CAboutDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_MOUSEMOVE && m_tooltip.m_hWnd)
        m_tooltip.RelayEvent(msg);
    return CDialog::PreTranslateMessage(msg);
}

void CAboutDlg::OnDestroy()
{
    Default();
}

void CAboutDlg::OnIconClicked()
{
    if (m_pMascot)
        return;
    m_pMascot = new (std::nothrow) CMascotDlg(this);
    // A mascot whose window could not be made never deleted itself; the
    // next click tries again.
    if (m_pMascot && !m_pMascot->Create()) {
        delete m_pMascot;
        m_pMascot = nullptr;
    }
}

void CAboutDlg::OnMove(int, int)
{
    Default();
    if (m_pMascot)
        m_pMascot->Place(CMascotDlg::kBesideOwner, CMascotDlg::kBesideOwner);
}

void CAboutDlg::OnOK()
{
    if (m_pMascot)
        m_pMascot->SayFarewell();
    RandomSource::SeedFromClock();
    CDialog::OnOK();
}
