// The application: runs the main dialog modally and ends with it.
#pragma once

#include "CWinApp.h"

class CDrawApp : public CWinApp {
public:
    ~CDrawApp() override = default;
    BOOL InitInstance() override;
};

extern CDrawApp theApp;
