// A dialog from a template in the program's resources, modal (DoModal) or
// modeless (Create).
#pragma once

#include "CWnd.h"

#include <new>

class CDataExchange;

class CDialog : public CWnd {
public:
    CDialog(UINT templateId, CWnd* parent);

    // Runs the dialog in a modal loop of our own, so that PreTranslateMessage
    // sees every queued message. Returns the EndDialog result, -1 when the
    // window could not be created.
    INT_PTR DoModal();

    // Creates the modeless dialog; OnInitDialog runs inside this call.
    BOOL Create(UINT templateId, CWnd* parent);

    void EndDialog(int result);

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* dx);
    virtual void OnOK();
    virtual void OnCancel();

    const MessageMap* GetMessageMap() const override;

    UINT m_templateId;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND CreateFromTemplate(HWND owner);
    HWND OwnerForModal() const;
    static bool PressFocusedToggle(const MSG& msg);
    BOOL PumpMessage();

    bool m_inModalLoop = false;
    int m_modalResult = -1;
};

// Makes a self-deleting modeless window owned by owner and keeps it in slot,
// which already holds the object while the window is being made. A window
// that could not be made never deleted itself: the object is deleted here
// and slot is left null, so that the next attempt starts afresh.
template <class Window>
void CreateModeless(Window*& slot, CWnd* owner)
{
    slot = new (std::nothrow) Window(owner);
    if (slot && !slot->Create()) {
        delete slot;
        slot = nullptr;
    }
}
