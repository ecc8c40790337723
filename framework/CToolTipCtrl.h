// A tooltip control owned by a dialog, with tools identified by window.
// It does not subclass its tools: the dialog relays mouse moves to it.
#pragma once

#include "CWnd.h"

#include <commctrl.h>

class CToolTipCtrl : public CWnd {
public:
    BOOL Create(CWnd* parent, DWORD style = 0);
    BOOL AddTool(CWnd* tool, LPCWSTR text);
    void SetMaxTipWidth(int width) { SendMessage(TTM_SETMAXTIPWIDTH, 0, width); }
    void RelayEvent(MSG* msg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg)); }
};
