#include "CDrawApp.h"

#include "CDrawDlg.h"

CDrawApp theApp;

BOOL CDrawApp::InitInstance()
{
    Enable3dControlsStatic();

    CDrawDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;

    // No message loop of our own: the application ends with its dialog.
    return FALSE;
}
