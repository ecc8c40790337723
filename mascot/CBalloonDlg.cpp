#include "CBalloonDlg.h"

#include "JapaneseFaces.h"
#include "ScopedSelection.h"
#include "RandomSource.h"
#include "RemarkCatalogue.h"
#include "resource.h"

#include <utility>

CBalloonDlg::CBalloonDlg(CWnd* pOwner) : CPicturePopup(IDD_BALLOON, pOwner) {}

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
    static const MessageMap map(CPicturePopup::GetMessageMap(), entries);
    return &map;
}

BOOL CBalloonDlg::OnInitDialog()
{
    if (!CPicturePopup::OnInitDialog())
        return FALSE;
    if (!CreateRemarkFont())
        return FailInitialisation();
    Place();
    UpdateWindow();
    Say(IDS_GREETING);
    m_chatterTimer = SetTimer(ID_TIMER_BALLOON_CHATTER, kChatterMs);
    return TRUE;
}

BOOL CBalloonDlg::LoadPicture(CDC*, CBitmap* pImage)
{
    return pImage->LoadBitmap(IDB_BALLOON);
}

// The remarks' cell height at 96 DPI: 6 lines fill the text area.
constexpr int kRemarkFontHeight = 12;

// Made aside: a font that cannot be made at a new size leaves the old one.
BOOL CBalloonDlg::CreateRemarkFont()
{
    CFont font;
    if (!font.CreateFont(Scale(kRemarkFontHeight), 0, 0, 0, FW_EXTRALIGHT, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FIXED_PITCH | FF_MODERN,
                         InstalledFaceFor(L"ＭＳ ゴシック")))
        return FALSE;
    m_font = std::move(font);
    return TRUE;
}

// Without a font at the new size the remarks still show, in the old one.
void CBalloonDlg::OnPictureRescaled()
{
    CreateRemarkFont();
    Place();
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

void CBalloonDlg::SayOnClick(UINT nID)
{
    Show(nID != 0 ? nID : PickClickRemark(static_cast<unsigned>(RandomSource::Roll(51))));
}

// Every remark replaces what shows and gets the full seven seconds from now.
void CBalloonDlg::Show(UINT nID)
{
    m_text.LoadString(nID);
    InvalidateRect(nullptr, FALSE);
    ShowWindow(SW_SHOW);
    KillTimerAndClear(m_hideTimer);
    m_hideTimer = SetTimer(ID_TIMER_BALLOON_HIDE, kShowMs);
}

void CBalloonDlg::OnTimer(UINT_PTR id)
{
    if (id == ID_TIMER_BALLOON_HIDE) {
        ShowWindow(SW_HIDE);
        KillTimerAndClear(m_hideTimer);
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
    KillTimerAndClear(m_chatterTimer);
    ShowWindow(SW_HIDE);
    Default();
}

// The bubble's inside, at 96 DPI: from (35, 12) to 10 pixels short of the
// picture's right and bottom edges; left of 35 is the tail.
constexpr RECT kTextMargins = {35, 12, 10, 10};

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
    ::SetRect(&text, Scale(kTextMargins.left), Scale(kTextMargins.top), m_width - Scale(kTextMargins.right),
              m_height - Scale(kTextMargins.bottom));
    dc.SetBkMode(TRANSPARENT);
    ScopedSelection font(dc, m_font.m_hObject);
    dc.DrawText(m_text, -1, &text, 0);
}

void CBalloonDlg::OnDestroy()
{
    Default();
    KillTimerAndClear(m_hideTimer);
    KillTimerAndClear(m_chatterTimer);
    m_font.DeleteObject();
    DeletePicture();
}
