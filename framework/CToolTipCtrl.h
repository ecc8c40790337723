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

    // Creates the tooltip with one tool, whose text is string tipId. The
    // maximum width is what makes the tooltip honour a line break in it.
    BOOL CreateForTool(CWnd* parent, CWnd* tool, UINT tipId);
    // For the owner's WM_DPICHANGED, after its default processing: the tip
    // takes the width for the new DPI and the owner's font at it.
    void OwnerDpiChanged(CWnd* owner, UINT dpi);
    // For the owner's PreTranslateMessage: the tool is not subclassed, so
    // the tooltip learns of the mouse from there.
    void RelayMouseMove(MSG* msg)
    {
        if (msg->message == WM_MOUSEMOVE && m_hWnd)
            RelayEvent(msg);
    }
};
