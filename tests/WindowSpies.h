// Protected members of the windows the program makes for itself, reached
// from tests through member pointers taken in these derived classes:
// `mascot->*&MascotSpy::m_image` is the legal way to read them from outside.
// None of these classes is ever instantiated.
#pragma once

#include "CAboutDlg.h"
#include "CBalloonDlg.h"
#include "CMascotDlg.h"

struct AboutSpy : CAboutDlg {
    using CAboutDlg::m_pMascot;
};

struct MascotSpy : CMascotDlg {
    using CMascotDlg::m_image;
    using CMascotDlg::m_palette;
    using CMascotDlg::m_pBalloon;
};

struct BalloonSpy : CBalloonDlg {
    using CBalloonDlg::m_font;
    using CBalloonDlg::m_image;
    using CBalloonDlg::m_text;
};
