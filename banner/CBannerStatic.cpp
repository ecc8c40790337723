#include "CBannerStatic.h"

#include "ScopedSelection.h"

const MessageMap* CBannerStatic::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage<WM_PAINT, &CBannerStatic::OnPaint>(),
        OnMessage<WM_ERASEBKGND, &CBannerStatic::OnEraseBkgnd>(),
    };
    static const MessageMap map(CStatic::GetMessageMap(), entries);
    return &map;
}

void CBannerStatic::SetPicture(CBitmap* pBitmap, CPalette* pPalette)
{
    m_pBitmap = pBitmap;
    m_pPalette = pPalette;
    InvalidateRect(nullptr, FALSE);
}

void CBannerStatic::RealizePicturePalette()
{
    RealizePaletteAndRepaint(m_pPalette);
}

void CBannerStatic::OnPaint()
{
    CPaintDC dc(this);
    if (!m_pBitmap || !m_pBitmap->m_hObject)
        return;

    RECT client;
    GetClientRect(&client);
    BITMAP info;
    m_pBitmap->GetBitmap(&info);

    CCompatibleDC memory(&dc);
    if (!memory.m_hDC)
        return;
    ScopedSelection selection(memory, m_pBitmap->m_hObject);
    if (!selection.Selected())
        return;

    // No palette in the paint context: the device bitmap's pixels are
    // copied as they are, right when the frame's palette is the realized one.
    const int oldMode = dc.SetStretchBltMode(COLORONCOLOR);
    dc.StretchBlt(client.left, client.top, client.right - client.left, client.bottom - client.top, &memory, 0, 0,
                  info.bmWidth, info.bmHeight, SRCCOPY);
    dc.SetStretchBltMode(oldMode);
}

BOOL CBannerStatic::OnEraseBkgnd(CDC*)
{
    return static_cast<BOOL>(Default());
}
