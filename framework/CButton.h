// A button bound to a dialog's control.
#pragma once

#include "CWnd.h"

class CButton : public CWnd {
public:
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
    int GetCheck() const { return static_cast<int>(::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0)); }
};
