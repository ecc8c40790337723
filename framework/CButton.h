// A button bound to a dialog's control.
#pragma once

#include "CWnd.h"

class CButton : public CWnd {
public:
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
};
