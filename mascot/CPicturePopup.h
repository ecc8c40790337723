// A borderless pop-up that wears a picture and is cut to the picture's
// outline: the mascot and its speech balloon. It is as large as its
// picture at the window's DPI, ignores Enter, Escape and the close command,
// and deletes itself when its window is destroyed.
#pragma once

#include "CDialog.h"
#include "CGdiObject.h"

class CDC;

class CPicturePopup : public CDialog {
public:
    CPicturePopup(UINT templateId, CWnd* pOwner);

    // Creates the window; FALSE leaves the object to the caller to delete.
    BOOL Create();

protected:
    void DoDataExchange(CDataExchange*) override {}
    void PostNcDestroy() override;
    // Picture, outline and size at the window's DPI.
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

    const MessageMap* GetMessageMap() const override;

    void OnDpiChanged(UINT dpi, const RECT* suggested);

    // Loads the picture at its design size into pImage.
    virtual BOOL LoadPicture(CDC* pDC, CBitmap* pImage) = 0;
    // After a DPI change has given the window its new picture and outline.
    virtual void OnPictureRescaled() = 0;
    // A length given at 96 DPI, in this window's pixels.
    int Scale(int pixels) const;
    // For WM_DESTROY: the picture and the outline go with the window.
    void DeletePicture();
    // Ends an OnInitDialog that could not make the window whole: the window
    // is destroyed and Create returns FALSE.
    BOOL FailInitialisation();

    CWnd* m_pOwner;
    CRgn m_shape;  // a region traced but not yet the window's
    CBitmap m_image;
    int m_width = 0;
    int m_height = 0;
    UINT m_dpi;

private:
    BOOL WearPicture(UINT dpi);
};
