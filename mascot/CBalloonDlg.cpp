#include "CBalloonDlg.h"

#include "CreateColorKeyRegion.h"
#include "JapaneseFaces.h"
#include "ScopedSelection.h"
#include "RandomSource.h"
#include "RemarkCatalogue.h"
#include "resource.h"

CBalloonDlg::CBalloonDlg(CWnd* pOwner) : CDialog(IDD_BALLOON, pOwner), m_pOwner(pOwner) {}

CBalloonDlg::~CBalloonDlg() = default;

const MessageMap* CBalloonDlg::GetMessageMap() const
{
    // No WM_ERASEBKGND handler: the picture covers whatever the dialog's
    // default background painting leaves.
    static const MessageMapEntry entries[] = {
        OnMessage<WM_DESTROY, &CBalloonDlg::OnDestroy>(),
        OnMessage<WM_PAINT, &CBalloonDlg::OnPaint>(),
        OnMessage<WM_LBUTTONDOWN, &CBalloonDlg::OnLButtonDown>(),
        OnMessage<WM_TIMER, &CBalloonDlg::OnTimer>(),
    };
    static const MessageMap map(CDialog::GetMessageMap(), entries);
    return &map;
}

BOOL CBalloonDlg::Create()
{
    return CDialog::Create(IDD_BALLOON, m_pOwner);
}

BOOL CBalloonDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CClientDC dc(this);

    if (!m_font.CreateFont(12, 0, 0, 0, FW_EXTRALIGHT, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FIXED_PITCH | FF_MODERN, InstalledFaceFor(L"ＭＳ ゴシック")))
        return FALSE;
    if (!m_image.LoadBitmap(IDB_BALLOON))
        return FALSE;
    if (!CreateColorKeyRegion(&m_shape, &m_image, &dc, CLR_KEY_TOPLEFT))
        return FALSE;
    SetWindowRgn(&m_shape, TRUE);

    BITMAP info;
    m_image.GetBitmap(&info);
    m_width = info.bmWidth;
    m_height = info.bmHeight;

    Place();
    UpdateWindow();
    Say(IDS_GREETING);
    m_chatterTimer = SetTimer(ID_TIMER_BALLOON_CHATTER, kChatterMs);
    return TRUE;
}

void CBalloonDlg::Place()
{
    if (!m_pOwner)
        return;
    RECT owner;
    m_pOwner->GetWindowRect(&owner);
    SetWindowPos(&wndTop, owner.right, owner.bottom - m_height, m_width, m_height, 0);
}

void CBalloonDlg::Say(UINT nID)
{
    Show(nID != 0 ? nID : PickIdleRemark(static_cast<unsigned>(RandomSource::Roll(57))));
}

UINT_PTR CBalloonDlg::SayOnClick(UINT nID)
{
    Show(nID != 0 ? nID : PickClickRemark(static_cast<unsigned>(RandomSource::Roll(51))));
    return m_hideTimer;
}

// Every remark replaces what shows and gets the full seven seconds from now.
void CBalloonDlg::Show(UINT nID)
{
    m_text.LoadString(nID);
    InvalidateRect(nullptr, FALSE);
    ShowWindow(SW_SHOW);
    if (m_hideTimer != 0)
        KillTimer(m_hideTimer);
    m_hideTimer = SetTimer(ID_TIMER_BALLOON_HIDE, kShowMs);
}

void CBalloonDlg::OnTimer(UINT_PTR id)
{
    if (id == ID_TIMER_BALLOON_HIDE) {
        ShowWindow(SW_HIDE);
        KillTimer(m_hideTimer);
        m_hideTimer = 0;
    } else if (id == ID_TIMER_BALLOON_CHATTER) {
        // A remark that is still showing is not cut short.
        if (m_hideTimer == 0)
            Say(0);
    }
    Default();
}

void CBalloonDlg::OnLButtonDown(UINT, POINT)
{
    // Dismissed: no idle chatter ever again; the pending hide timer fires
    // later on a hidden window and clears itself.
    if (m_chatterTimer != 0) {
        KillTimer(m_chatterTimer);
        m_chatterTimer = 0;
    }
    ShowWindow(SW_HIDE);
    Default();
}

void CBalloonDlg::OnPaint()
{
    CPaintDC dc(this);
    if (!m_image.m_hObject)
        return;
    dc.DrawBitmap(0, 0, m_width, m_height, m_image);
    if (m_text.IsEmpty())
        return;
    // Top left, line feeds honoured, no wrapping, clipped to the bubble's inside.
    RECT text;
    ::SetRect(&text, 35, 12, m_width - 10, m_height - 10);
    dc.SetBkMode(TRANSPARENT);
    ScopedSelection font(dc, m_font.m_hObject);
    dc.DrawText(m_text, -1, &text, 0);
}

void CBalloonDlg::OnDestroy()
{
    Default();
    if (m_hideTimer != 0) {
        KillTimer(m_hideTimer);
        m_hideTimer = 0;
    }
    if (m_chatterTimer != 0) {
        KillTimer(m_chatterTimer);
        m_chatterTimer = 0;
    }
    // The shape is the window's once SetWindowRgn took it; only a region
    // it refused is still ours.
    m_font.DeleteObject();
    m_shape.DeleteObject();
    m_image.DeleteObject();
}

void CBalloonDlg::PostNcDestroy()
{
    delete this;
}
