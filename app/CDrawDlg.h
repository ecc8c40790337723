// The main dialog: six number labels with their fix toggles, Start,
// Fix-all and Exit, and the banner below them. It holds the draw (through
// DrawEngine) and routes clicks and the two timers to it.
#pragma once

#include "BannerFrame.h"
#include "CBannerStatic.h"
#include "CButton.h"
#include "CDialog.h"
#include "CStatic.h"
#include "CToolTipCtrl.h"
#include "DrawEngine.h"

class CDrawDlg : public CDialog, protected DrawEngine {
public:
    CDrawDlg();
    ~CDrawDlg() override;

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    const MessageMap* GetMessageMap() const override;

    void OnSysCommand(UINT command, LPARAM param);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnStart();
    void OnFixAll();
    void OnFix1();
    void OnFix2();
    void OnFix3();
    void OnFix4();
    void OnFix5();
    void OnFix6();
    void OnTimer(UINT_PTR id);
    void OnDestroy();
    void OnBannerClicked();
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    void OnPaletteChanged(CWnd* pFocusWnd);
    BOOL OnQueryNewPalette();
    void OnDpiChanged(UINT dpi, const RECT* suggested);

    // The banner strip: the title at rest, the ball rolling while the
    // numbers spin.
    // The frames at dpi, all or none.
    void LoadBannerFrames(UINT dpi);
    void DeleteBannerFrames();
    // 1 when frame n was shown; 0 for an index outside 0..6 or a frame
    // without a picture, leaving everything as it was.
    int ShowBannerFrame(int n);
    // Steps the index through 1..6; 1 when it wrapped from 6 back to 1.
    int AdvanceBannerFrame();
    void OnBannerTimer();
    // Grows the dialog where its client area ends before the banner
    // picture and a margin as wide as the one on its left.
    void KeepBannerInside();

    void Disable(CWnd& control);

    // DrawEngine's window operations.
    void ShowNumber(int slot, int value) override;
    void CheckFix(int slot) override;
    void SetFixChecks(bool checked) override;
    void DisableFix(int slot) override;
    void DisableFixAll() override;
    void EnableFixControls(bool enable) override;
    uint32_t StartTimer(uint32_t id, uint32_t periodMs) override;
    void StopTimer(uint32_t handle) override;
    void BeginWait() override;
    void EndWait() override;

    static constexpr int kFrameCount = 7;

    CToolTipCtrl m_tooltip;
    BannerFrame m_frames[kFrameCount];
    int m_frameIndex = 0;
    uint8_t m_active = 1;  // 1 while the dialog is the active window
    CBannerStatic m_banner;
    // Indexed by slot: slot i is label IDC_NUMBER1 + i and toggle IDC_FIX1 + i.
    CStatic m_numbers[kSlotCount];
    CButton m_fixButtons[kSlotCount];
    CButton m_startButton;
    CButton m_fixAllButton;
    HICON m_hIcon;
};
