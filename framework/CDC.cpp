#include "CDC.h"

#include "CWnd.h"
#include "ScopedSelection.h"

CClientDC::CClientDC(CWnd* wnd) : CDC(::GetDC(wnd->m_hWnd)), m_hWnd(wnd->m_hWnd) {}

CClientDC::~CClientDC()
{
    if (m_hDC)
        ::ReleaseDC(m_hWnd, m_hDC);
}

CPaintDC::CPaintDC(CWnd* wnd) : m_ps(), m_hWnd(wnd->m_hWnd)
{
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
}

// A null context asks for one compatible with the screen.
CCompatibleDC::CCompatibleDC(CDC* like) : CDC(::CreateCompatibleDC(like ? like->m_hDC : nullptr)) {}

CCompatibleDC::~CCompatibleDC()
{
    if (m_hDC)
        ::DeleteDC(m_hDC);
}

void CDC::DrawBitmap(int x, int y, int width, int height, HBITMAP bitmap)
{
    CCompatibleDC memory(this);
    ScopedSelection selection(memory, bitmap);
    if (selection.Selected())
        BitBlt(x, y, width, height, &memory, 0, 0, SRCCOPY);
}

UINT CDC::RealizeForeground(HPALETTE palette)
{
    UINT changed = 0;
    {
        ScopedSelection selection(*this, palette, FALSE, TRUE);
        changed = RealizePalette();
    }
    RealizePalette();
    return changed;
}
