// The windows the program makes for itself, with their protected members in
// reach. A test that makes one makes it of these classes; for one the
// program made, a member pointer taken here reads the same member from
// outside: `mascot->*&TestMascot::m_image`. The pop-ups count their live
// objects, so that a test sees them delete themselves.
#pragma once

#include "CAboutDlg.h"
#include "CBalloonDlg.h"
#include "CMascotDlg.h"

class TestAbout : public CAboutDlg {
public:
    using CAboutDlg::m_pMascot;
    using CAboutDlg::m_tooltip;
};

class TestMascot : public CMascotDlg {
public:
    explicit TestMascot(CWnd* owner) : CMascotDlg(owner) { ++s_live; }
    ~TestMascot() override { --s_live; }
    using CMascotDlg::m_image;
    using CMascotDlg::m_palette;
    using CMascotDlg::m_pBalloon;
    using CMascotDlg::m_shape;

    static inline int s_live = 0;
};

class TestBalloon : public CBalloonDlg {
public:
    explicit TestBalloon(CWnd* owner) : CBalloonDlg(owner) { ++s_live; }
    ~TestBalloon() override { --s_live; }
    using CBalloonDlg::m_chatterTimer;
    using CBalloonDlg::m_font;
    using CBalloonDlg::m_hideTimer;
    using CBalloonDlg::m_image;
    using CBalloonDlg::m_shape;
    using CBalloonDlg::m_text;

    static inline int s_live = 0;
};
