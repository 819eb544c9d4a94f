// Modal dialogs from the program's templates. One dialog procedure serves every dialog: it
// keeps the object in the window's user data from WM_INITDIALOG on and answers each message
// through the object's message map; a message no entry takes, or whose handler asks for
// Default(), gets the dialog manager's standard processing.
#pragma once

#include "framework/CWnd.h"
#include "platform/Platform.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    // With no parent the application's main window becomes the owner.
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Creates the dialog, runs its modal loop and returns its end code; -1 when it could not
    // be created.
    virtual INT_PTR DoModal();
    // Runs when the dialog and its controls exist, before it is first shown. TRUE lets the
    // dialog manager give the focus to the first control that takes it.
    virtual BOOL OnInitDialog();
    // IDOK: UpdateData(TRUE), then EndDialog(IDOK).
    virtual void OnOK();
    // IDCANCEL: EndDialog(IDCANCEL).
    virtual void OnCancel();
    void EndDialog(int nResult);
    // No control is bound to a member anywhere, so the exchange always succeeds.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    UINT m_nIDHelp;  // the template identifier

    // The dialog procedure's two ways into the object.
    intptr_t HandleInitDialog(port::Handle hwnd);
    intptr_t HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()
};
