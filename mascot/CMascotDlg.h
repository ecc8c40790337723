// The mascot: a borderless pop-up cut to the outline of a red ball, standing
// on its owner's top edge, with its speech balloon beside it. The user can
// neither move nor close it; it goes when its owner goes, and deletes
// itself when its window is destroyed.
#pragma once

#include "CGdiObject.h"
#include "CPicturePopup.h"

class CBalloonDlg;

class CMascotDlg : public CPicturePopup {
public:
    explicit CMascotDlg(CWnd* pOwner);
    ~CMascotDlg() override;

    // Moves, sizes and shows the window, and the balloon follows. The
    // point (kBesideOwner, kBesideOwner) asks for the place on the owner's
    // top edge (or a fixed place without an owner).
    void Place(int x, int y);
    // The farewell, held on screen for kFarewellMs with the thread blocked.
    void SayFarewell();

    static constexpr int kBesideOwner = 32000;
    static constexpr DWORD kFarewellMs = 2048;

protected:
    BOOL OnInitDialog() override;
    BOOL LoadPicture(CDC* pDC, CBitmap* pImage) override;
    void OnPictureRescaled() override;

    const MessageMap* GetMessageMap() const override;

    void OnDestroy();
    void OnPaint();
    void OnLButtonDown(UINT flags, POINT point);
    void OnPaletteChanged(CWnd* pFocusWnd);
    BOOL OnQueryNewPalette();
    BOOL OnEraseBkgnd(CDC* pDC);

    CBalloonDlg* m_pBalloon = nullptr;
    CPalette m_palette;

private:
    void MakeBalloon();
};
