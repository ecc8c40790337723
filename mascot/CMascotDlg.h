// The mascot: a borderless pop-up cut to the outline of a red ball, standing
// on its owner's top edge, with its speech balloon beside it. The user can
// neither move nor close it; it goes when its owner goes, and deletes
// itself when its window is destroyed.
#pragma once

#include "CDialog.h"
#include "CGdiObject.h"

class CBalloonDlg;

class CMascotDlg : public CDialog {
public:
    explicit CMascotDlg(CWnd* pOwner);
    ~CMascotDlg() override;

    // Creates the window; FALSE leaves the object to the caller to delete.
    BOOL Create();
    // Moves, sizes and shows the window, and the balloon follows. The
    // point (kBesideOwner, kBesideOwner) asks for the place on the owner's
    // top edge (or a fixed place without an owner).
    void Place(int x, int y);
    // The farewell, held on screen for kFarewellMs with the thread blocked.
    void SayFarewell();

    static constexpr int kBesideOwner = 32000;
    static constexpr DWORD kFarewellMs = 2048;

protected:
    void DoDataExchange(CDataExchange*) override {}
    void PostNcDestroy() override;
    BOOL OnInitDialog() override;
    // Enter, Escape and the close command never close the mascot.
    void OnOK() override {}
    void OnCancel() override {}

    const MessageMap* GetMessageMap() const override;

    void OnDestroy();
    void OnPaint();
    void OnLButtonDown(UINT flags, POINT point);
    void OnPaletteChanged(CWnd* pFocusWnd);
    BOOL OnQueryNewPalette();
    BOOL OnEraseBkgnd(CDC* pDC);

    CWnd* m_pOwner;
    CBalloonDlg* m_pBalloon = nullptr;
    CRgn m_shape;
    CBitmap m_image;
    CPalette m_palette;
    int m_width = 0;
    int m_height = 0;

private:
    void MakeBalloon();
};
