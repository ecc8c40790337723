#include "CDataExchange.h"

#include "CWnd.h"

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    // Bound already: the exchange may run more than once, the binding not.
    if (control.m_hWnd)
        return;
    control.SubclassWindow(::GetDlgItem(dx->m_pDlgWnd->m_hWnd, id));
}
