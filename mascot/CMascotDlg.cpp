#include "CMascotDlg.h"

#include "CBalloonDlg.h"
#include "CreateColorKeyRegion.h"
#include "LoadPaletteBitmap.h"
#include "resource.h"

CMascotDlg::CMascotDlg(CWnd* pOwner) : CDialog(IDD_MASCOT, pOwner), m_pOwner(pOwner) {}

CMascotDlg::~CMascotDlg() = default;

const MessageMap* CMascotDlg::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage<WM_DESTROY, &CMascotDlg::OnDestroy>(),
        OnMessage<WM_PAINT, &CMascotDlg::OnPaint>(),
        OnMessage<WM_LBUTTONDOWN, &CMascotDlg::OnLButtonDown>(),
        OnMessage<WM_PALETTECHANGED, &CMascotDlg::OnPaletteChanged>(),
        OnMessage<WM_QUERYNEWPALETTE, &CMascotDlg::OnQueryNewPalette>(),
        OnMessage<WM_ERASEBKGND, &CMascotDlg::OnEraseBkgnd>(),
    };
    static const MessageMap map(CDialog::GetMessageMap(), entries);
    return &map;
}

BOOL CMascotDlg::Create()
{
    return CDialog::Create(IDD_MASCOT, m_pOwner);
}

BOOL CMascotDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CClientDC dc(this);

    if (!LoadPaletteBitmap(&m_image, &m_palette, &dc, IDB_MASCOT))
        return FALSE;
    if (!CreateColorKeyRegion(&m_shape, &m_image, &dc, CLR_KEY_TOPLEFT))
        return FALSE;
    SetWindowRgn(&m_shape, TRUE);

    BITMAP info;
    m_image.GetBitmap(&info);
    m_width = info.bmWidth;
    m_height = info.bmHeight;

    Place(kBesideOwner, kBesideOwner);
    if (!m_pBalloon)
        MakeBalloon();
    InvalidateRect(nullptr, FALSE);
    UpdateWindow();
    return TRUE;
}

void CMascotDlg::MakeBalloon()
{
    CreateModeless(m_pBalloon, this);
}

void CMascotDlg::Place(int x, int y)
{
    // Only the pair asks for the computed place; either alone is a coordinate.
    if (x == kBesideOwner && y == kBesideOwner) {
        if (m_pOwner) {
            // On the owner's top edge, 16 pixels in, sunk 6 pixels into it.
            RECT owner;
            m_pOwner->GetWindowRect(&owner);
            x = owner.left + 16;
            y = owner.top - m_height + 6;
        } else {
            x = 320;
            y = 240;
        }
    }
    SetWindowPos(&wndTop, x, y, m_width, m_height, SWP_SHOWWINDOW);
    if (m_pBalloon)
        m_pBalloon->Place();
}

void CMascotDlg::SayFarewell()
{
    if (!m_pBalloon)
        return;
    m_pBalloon->Say(IDS_FAREWELL);
    // Painted now: the message loop will not run again before the box closes.
    m_pBalloon->UpdateWindow();
    // Wine puts a window's drawing on the screen only when the thread next
    // looks at its queue; a look that takes nothing out makes it do so
    // before the sleep instead of after it.
    MSG peek;
    ::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE);
    ::Sleep(kFarewellMs);
}

void CMascotDlg::OnLButtonDown(UINT, POINT)
{
    if (!m_pBalloon)
        MakeBalloon();
    // A new balloon's greeting is replaced before it is ever painted.
    if (m_pBalloon)
        m_pBalloon->SayOnClick(0);
    Default();
}

void CMascotDlg::OnPaint()
{
    CPaintDC dc(this);
    // Nothing else is drawn, and no palette is selected: the picture's
    // pixels go to the screen as they are.
    if (m_image.m_hObject)
        dc.DrawBitmap(0, 0, m_width, m_height, m_image);
}

// The picture covers the whole window: nothing to erase first.
BOOL CMascotDlg::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

BOOL CMascotDlg::OnQueryNewPalette()
{
    RealizePaletteAndRepaint(&m_palette);
    return static_cast<BOOL>(Default());
}

void CMascotDlg::OnPaletteChanged(CWnd* pFocusWnd)
{
    Default();
    if (pFocusWnd != this)
        InvalidateRect(nullptr, FALSE);
}

void CMascotDlg::OnDestroy()
{
    Default();
    // The shape is the window's once SetWindowRgn took it; only a region
    // it refused is still ours.
    m_shape.DeleteObject();
    m_palette.DeleteObject();
    m_image.DeleteObject();
}

// The balloon, owned by this window, is destroyed before it and deletes
// itself; the About box that holds a pointer to this object is going too.
void CMascotDlg::PostNcDestroy()
{
    delete this;
}
