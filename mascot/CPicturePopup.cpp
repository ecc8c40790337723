#include "CPicturePopup.h"

#include "CreateColorKeyRegion.h"
#include "Dpi.h"

#include <utility>

CPicturePopup::CPicturePopup(UINT templateId, CWnd* pOwner)
    : CDialog(templateId, pOwner), m_pOwner(pOwner), m_dpi(kDesignDpi)
{
}

const MessageMap* CPicturePopup::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage<WM_DPICHANGED, &CPicturePopup::OnDpiChanged>(),
    };
    static const MessageMap map(CDialog::GetMessageMap(), entries);
    return &map;
}

BOOL CPicturePopup::Create()
{
    return CDialog::Create(m_templateId, m_pOwner);
}

BOOL CPicturePopup::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (WearPicture(GetWindowDpi(m_hWnd)))
        return TRUE;
    return FailInitialisation();
}

// A pop-up without its picture and outline would show as a plain
// rectangle: its window goes at once, so that Create reports the failure,
// the creator discards the object and the next attempt starts afresh.
BOOL CPicturePopup::FailInitialisation()
{
    DestroyWindow();
    return FALSE;
}

// The picture is loaded afresh and scaled from its design size, never from
// an earlier scaled copy: scaling twice would lose pixels for good. All of
// it is made aside and worn at once: a step that fails leaves the window
// with the picture, outline and size it had.
BOOL CPicturePopup::WearPicture(UINT dpi)
{
    CClientDC dc(this);
    CBitmap image;
    BITMAP info;
    if (!LoadPicture(&dc, &image) || !ScaleBitmapToDpi(&image, &dc, dpi) || !image.GetBitmap(&info))
        return FALSE;
    // Traced from the scaled picture itself, so that the outline and the
    // pixels agree exactly at every scale. A region the window refuses
    // stays in m_shape until the next try or the window's end.
    if (!CreateColorKeyRegion(&m_shape, &image, &dc, CLR_KEY_TOPLEFT) || !SetWindowRgn(&m_shape, TRUE))
        return FALSE;

    m_image = std::move(image);
    m_width = info.bmWidth;
    m_height = info.bmHeight;
    m_dpi = dpi;
    return TRUE;
}

int CPicturePopup::Scale(int pixels) const
{
    return ScaleToDpi(pixels, m_dpi);
}

void CPicturePopup::DeletePicture()
{
    // The shape is the window's once SetWindowRgn took it; only a region
    // it refused is still ours.
    m_shape.DeleteObject();
    m_image.DeleteObject();
}

// The suggested rectangle is not used: where the pop-up stands follows
// from its owner, and its size from its picture.
void CPicturePopup::OnDpiChanged(UINT dpi, const RECT*)
{
    if (!WearPicture(dpi))
        return;
    OnPictureRescaled();
    InvalidateRect(nullptr, FALSE);
}

// An owned pop-up is destroyed with its owner; nothing else holds this
// object by then but owners that are going too.
void CPicturePopup::PostNcDestroy()
{
    delete this;
}
