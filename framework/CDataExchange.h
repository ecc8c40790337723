// Binding a dialog's controls to member objects during OnInitDialog.
#pragma once

#include <windows.h>

class CWnd;

class CDataExchange {
public:
    explicit CDataExchange(CWnd* dialog) : m_pDlgWnd(dialog) {}

    CWnd* m_pDlgWnd;
};

// Subclasses control id of the dialog into control, once.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
