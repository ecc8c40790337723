// The mascot's speech balloon: a borderless pop-up cut to the outline of a
// speech bubble, right of the mascot. It shows one remark at a time for
// seven seconds, chatters every ten while nothing shows, and falls silent
// for good when clicked. It deletes itself when its window is destroyed.
#pragma once

#include "CGdiObject.h"
#include "CPicturePopup.h"
#include "CString.h"

class CBalloonDlg : public CPicturePopup {
public:
    explicit CBalloonDlg(CWnd* pOwner);
    ~CBalloonDlg() override;

    // Beside the owner: left edge on its right edge, bottom edges level.
    void Place();
    // Shows string nID, or an idle remark for 0, for seven seconds.
    void Say(UINT nID);
    // The same, but 0 asks for a click remark.
    void SayOnClick(UINT nID);

    static constexpr UINT kShowMs = 7000;
    static constexpr UINT kChatterMs = 10000;

protected:
    BOOL OnInitDialog() override;
    BOOL LoadPicture(CDC* pDC, CBitmap* pImage) override;
    void OnPictureRescaled() override;

    const MessageMap* GetMessageMap() const override;

    void OnDestroy();
    void OnPaint();
    void OnLButtonDown(UINT flags, POINT point);
    void OnTimer(UINT_PTR id);

    CFont m_font;
    CString m_text;
    UINT_PTR m_hideTimer = 0;
    UINT_PTR m_chatterTimer = 0;

private:
    void Show(UINT nID);
    // The remark font at the window's DPI.
    BOOL CreateRemarkFont();
};
