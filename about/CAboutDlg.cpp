#include "CAboutDlg.h"

#include "CDataExchange.h"
#include "CMascotDlg.h"
#include "RandomSource.h"
#include "resource.h"

// No parent: the framework makes the main dialog its owner.
CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX, nullptr) {}

CAboutDlg::~CAboutDlg() = default;

const MessageMap* CAboutDlg::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage<WM_DESTROY, &CAboutDlg::OnDestroy>(),
        OnCommand<IDC_ABOUT_ICON, STN_CLICKED, &CAboutDlg::OnIconClicked>(),
        OnMessage<WM_MOVE, &CAboutDlg::OnMove>(),
        OnMessage<WM_DPICHANGED, &CAboutDlg::OnDpiChanged>(),
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
    m_icon.SetAccessibleName(IDS_ABOUT_ICON_NAME);

    m_tooltip.CreateForTool(this, &m_icon, IDS_ABOUT_ICON_TIP);
    // Focus to the OK button, the one control that takes it.
    return TRUE;
}

BOOL CAboutDlg::PreTranslateMessage(MSG* msg)
{
    m_tooltip.RelayMouseMove(msg);
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
    // A mascot whose window could not be made leaves the pointer null: the
    // next click tries again.
    CreateModeless(m_pMascot, this);
}

void CAboutDlg::OnMove(int, int)
{
    Default();
    if (m_pMascot)
        m_pMascot->Place(CMascotDlg::kBesideOwner, CMascotDlg::kBesideOwner);
}

// The system scales the box's controls and font; its tooltip is ours.
void CAboutDlg::OnDpiChanged(UINT dpi, const RECT*)
{
    Default();
    m_tooltip.OwnerDpiChanged(this, dpi);
}

void CAboutDlg::OnOK()
{
    if (m_pMascot)
        m_pMascot->SayFarewell();
    RandomSource::SeedFromClock();
    CDialog::OnOK();
}
