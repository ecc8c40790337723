// Identifiers shared by the resource script and the code.
#pragma once

// Main dialog
#define IDD_DRAW_DIALOG             102
#define IDR_MAINFRAME               128
#define IDS_ABOUTBOX                101
#define IDS_BANNER_TIP              102
#define IDS_FIX1_NAME               105     // to IDS_FIX1_NAME + 5: what a screen reader calls each toggle
#define IDM_ABOUTBOX                0x0010
#define IDC_NUMBER1                 1000
#define IDC_NUMBER2                 1001
#define IDC_NUMBER3                 1002
#define IDC_NUMBER4                 1003
#define IDC_NUMBER5                 1004
#define IDC_NUMBER6                 1005
#define IDC_FIX1                    1006
#define IDC_FIX2                    1007
#define IDC_FIX3                    1008
#define IDC_FIX4                    1009
#define IDC_FIX5                    1010
#define IDC_FIX6                    1011
#define IDC_START                   1012
#define IDC_FIX_ALL                 1013
#define IDC_BANNER                  1015
#define ID_TIMER_SPIN               32000
#define ID_TIMER_BANNER             32001

// Banner pictures, in the order the ball rolls (the title comes first)
#define IDB_BANNER6                 136
#define IDB_BANNER1                 137
#define IDB_BANNER2                 138
#define IDB_BANNER3                 139
#define IDB_BANNER4                 140
#define IDB_BANNER5                 141
#define IDB_BANNER_TITLE            142

// About box
#define IDD_ABOUTBOX                100
#define IDS_ABOUT_ICON_TIP          103
#define IDS_ABOUT_ICON_NAME         111
#define IDC_ABOUT_ICON              1014

// Mascot and its speech balloon
#define IDD_MASCOT                  131
#define IDB_MASCOT                  133
#define IDD_BALLOON                 134
#define IDB_BALLOON                 135
#define ID_TIMER_BALLOON_HIDE       32100
#define ID_TIMER_BALLOON_CHATTER    32101

// What the mascot says
#define IDS_CREDIT                  104
#define IDS_REMARK_FIRST            200
#define IDS_REMARK_LAST             249
#define IDS_GREETING                680
#define IDS_FAREWELL                681
#define IDS_NOTICE_PICTURES         700
#define IDS_NOTICE_REMARKS          701
#define IDS_NOTICE_REDISTRIBUTION   702
