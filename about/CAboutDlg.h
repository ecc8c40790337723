// The About box: name, version and credits, and the application icon,
// which hides a switch: a click summons the mascot.
#pragma once

#include "CDialog.h"
#include "CStatic.h"
#include "CToolTipCtrl.h"

class CMascotDlg;

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override;

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    const MessageMap* GetMessageMap() const override;

    void OnDestroy();
    void OnIconClicked();
    void OnMove(int x, int y);
    void OnDpiChanged(UINT dpi, const RECT* suggested);

    CToolTipCtrl m_tooltip;
    // At most one per opening. Not owned: the mascot deletes itself when
    // its window goes, which is with this box's window.
    CMascotDlg* m_pMascot = nullptr;
    CStatic m_icon;
};
