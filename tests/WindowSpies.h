// The windows the program makes for itself, with their protected members in
// reach. A test that makes one makes it of these classes; for one the
// program made, a member pointer taken here reads the same member from
// outside: `mascot->*&TestMascot::m_image`. The pop-ups count their live
// objects, so that a test sees them delete themselves.
#pragma once

#include "CAboutDlg.h"
#include "CBalloonDlg.h"
#include "CDrawDlg.h"
#include "CMascotDlg.h"
#include "resource.h"

#include <gtest/gtest.h>

// The main dialog, behaving exactly as the program's, with the draw's and
// the banner's state in reach, and the cursor a number came up under.
class TestDrawDlg : public CDrawDlg {
public:
    using CDrawDlg::DeleteBannerFrames;
    using CDrawDlg::kFrameCount;
    using CDrawDlg::m_banner;
    using CDrawDlg::m_bannerTimer;
    using CDrawDlg::m_frameIndex;
    using CDrawDlg::m_frames;
    using CDrawDlg::m_slots;
    using CDrawDlg::m_spinning;
    using CDrawDlg::m_spinTimer;
    using CDrawDlg::m_tooltip;
    using CDrawDlg::ShowBannerFrame;

    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }

    // The cursor when a number last came up.
    HCURSOR cursorShowingNumber = nullptr;
    void ShowNumber(int slot, int value) override
    {
        cursorShowingNumber = ::GetCursor();
        CDrawDlg::ShowNumber(slot, value);
    }
};

class TestAbout : public CAboutDlg {
public:
    using CAboutDlg::m_pMascot;
    using CAboutDlg::m_tooltip;
};

// A pop-up that counts its live objects.
template <class Window>
class Counted : public Window {
public:
    explicit Counted(CWnd* owner) : Window(owner) { ++s_live; }
    ~Counted() override { --s_live; }

    static inline int s_live = 0;
};

class TestMascot : public Counted<CMascotDlg> {
public:
    using Counted::Counted;
    using CMascotDlg::m_dpi;
    using CMascotDlg::m_image;
    using CMascotDlg::m_palette;
    using CMascotDlg::m_pBalloon;
    using CMascotDlg::m_shape;
};

class TestBalloon : public Counted<CBalloonDlg> {
public:
    using Counted::Counted;
    using CBalloonDlg::m_chatterTimer;
    using CBalloonDlg::m_font;
    using CBalloonDlg::m_hideTimer;
    using CBalloonDlg::m_image;
    using CBalloonDlg::m_shape;
    using CBalloonDlg::m_text;
};

// Each test with the main dialog made afresh, modeless.
class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dlg.Create(IDD_DRAW_DIALOG, nullptr));
        hWnd = dlg.m_hWnd;
    }
    void TearDown() override
    {
        if (dlg.m_hWnd)
            dlg.DestroyWindow();
    }
    void Click(int id) { ::SendMessageW(dlg.Item(id), BM_CLICK, 0, 0); }

    TestDrawDlg dlg;
    HWND hWnd = nullptr;
};
