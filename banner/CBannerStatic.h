// The banner's picture control: paints the frame it was last given and
// realizes that frame's palette on request. It owns neither: both belong
// to the main dialog's frames.
#pragma once

#include "CGdiObject.h"
#include "CStatic.h"

class CBannerStatic : public CStatic {
public:
    ~CBannerStatic() override = default;

    void SetPicture(CBitmap* pBitmap, CPalette* pPalette);
    void RealizePicturePalette();

protected:
    const MessageMap* GetMessageMap() const override;

    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);

private:
    CBitmap* m_pBitmap = nullptr;
    CPalette* m_pPalette = nullptr;
};
