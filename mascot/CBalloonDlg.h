// The mascot's speech balloon: a borderless pop-up cut to the outline of a
// speech bubble, right of the mascot. It shows one remark at a time for
// seven seconds, chatters every ten while nothing shows, and falls silent
// for good when clicked. It deletes itself when its window is destroyed.
#pragma once

#include "CDialog.h"
#include "CGdiObject.h"
#include "CString.h"

class CBalloonDlg : public CDialog {
public:
    explicit CBalloonDlg(CWnd* pOwner);
    ~CBalloonDlg() override;

    // Creates the window; FALSE leaves the object to the caller to delete.
    BOOL Create();
    // Beside the owner: left edge on its right edge, bottom edges level.
    void Place();
    // Shows string nID, or an idle remark for 0, for seven seconds.
    void Say(UINT nID);
    // The same, but 0 asks for a click remark. Returns the hide timer.
    UINT_PTR SayOnClick(UINT nID);

    static constexpr UINT kShowMs = 7000;
    static constexpr UINT kChatterMs = 10000;

protected:
    void DoDataExchange(CDataExchange*) override {}
    void PostNcDestroy() override;
    BOOL OnInitDialog() override;
    // Enter, Escape and the close command never close the balloon.
    void OnOK() override {}
    void OnCancel() override {}

    const MessageMap* GetMessageMap() const override;

    void OnDestroy();
    void OnPaint();
    void OnLButtonDown(UINT flags, POINT point);
    void OnTimer(UINT_PTR id);

    CWnd* m_pOwner;
    CRgn m_shape;
    CBitmap m_image;
    CFont m_font;
    int m_width = 0;
    int m_height = 0;
    CString m_text;
    UINT_PTR m_hideTimer = 0;
    UINT_PTR m_chatterTimer = 0;

private:
    void Show(UINT nID);
};
