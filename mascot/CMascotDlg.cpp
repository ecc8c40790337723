#include "CMascotDlg.h"

#include "CBalloonDlg.h"
#include "LoadPaletteBitmap.h"
#include "resource.h"

#include <utility>

CMascotDlg::CMascotDlg(CWnd* pOwner) : CPicturePopup(IDD_MASCOT, pOwner) {}

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
    static const MessageMap map(CPicturePopup::GetMessageMap(), entries);
    return &map;
}

BOOL CMascotDlg::OnInitDialog()
{
    if (!CPicturePopup::OnInitDialog())
        return FALSE;
    Place(kBesideOwner, kBesideOwner);
    if (!m_pBalloon)
        MakeBalloon();
    InvalidateRect(nullptr, FALSE);
    UpdateWindow();
    return TRUE;
}

BOOL CMascotDlg::LoadPicture(CDC* pDC, CBitmap* pImage)
{
    // The palette comes from the picture's colour table, the same at every
    // DPI: the first one made is the one kept.
    CPalette palette;
    if (LoadPaletteBitmap(pImage, &palette, pDC, IDB_MASCOT) != 1 || !pImage->m_hObject)
        return FALSE;
    if (!m_palette.m_hObject)
        m_palette = std::move(palette);
    return TRUE;
}

void CMascotDlg::OnPictureRescaled()
{
    Place(kBesideOwner, kBesideOwner);
}

void CMascotDlg::MakeBalloon()
{
    CreateModeless(m_pBalloon, this);
}

// On the owner's top edge: this far in from its left edge (at 96 DPI) ...
constexpr int kInFromOwnersLeft = 16;
// ... with the bottom edge this far below the owner's top edge.
constexpr int kSunkIntoOwner = 6;
// Where the mascot stands when it has no owner, in screen pixels.
constexpr POINT kWithoutOwner = {320, 240};

void CMascotDlg::Place(int x, int y)
{
    // Only the pair asks for the computed place; either alone is a coordinate.
    if (x == kBesideOwner && y == kBesideOwner) {
        if (m_pOwner) {
            RECT owner;
            m_pOwner->GetWindowRect(&owner);
            x = owner.left + Scale(kInFromOwnersLeft);
            y = owner.top - m_height + Scale(kSunkIntoOwner);
        } else {
            x = kWithoutOwner.x;
            y = kWithoutOwner.y;
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
    // Windows batches a thread's drawing calls; the batch goes out first.
    ::GdiFlush();
    // Wine copies a window's drawing to the screen when the thread waits
    // idle for messages, and on a look at a non-empty queue only if it has
    // not been idle for a while, so a bare Sleep (or a Peek that finds the
    // timers' messages) may leave the old remark up for the whole pause. A
    // message wait counts as idle whatever its timeout; with no handles, no
    // wake types and no time it returns at once, on Windows as under Wine.
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, 0);
    // The pause itself is a Sleep: nothing is dispatched until the box
    // closes, and nothing ends it early (a long message wait under Wine was
    // seen to return within a few milliseconds on a busy machine).
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
    m_palette.DeleteObject();
    DeletePicture();
}
