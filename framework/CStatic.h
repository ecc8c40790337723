// A static control bound to a dialog's control.
#pragma once

#include "CWnd.h"

class CStatic : public CWnd {
};
