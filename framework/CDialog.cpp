#include "framework/CDialog.h"

#include "framework/AfxHandles.h"
#include "framework/AfxMessageFrame.h"
#include "framework/CWinApp.h"
#include "platform/Windows.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

namespace {

// The messages whose dialog procedure result is their value, not a handled flag.
bool ReturnsValueDirectly(UINT message) {
    return message == WM_INITDIALOG || message == WM_QUERYDRAGICON;
}

intptr_t DialogProcedure(port::Handle hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam);

}  // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd) {}

INT_PTR CDialog::DoModal() {
    CWinApp* app = AfxGetApp();
    HWND owner = nullptr;
    if (m_pParentWnd != nullptr) {
        owner = m_pParentWnd->GetSafeHwnd();
    } else if (app != nullptr && app->m_pMainWnd != nullptr && app->m_pMainWnd != this) {
        owner = app->m_pMainWnd->GetSafeHwnd();
    }
    const INT_PTR result = port::windows().DialogBoxParam(
        m_nIDHelp, ToPort(owner), &DialogProcedure, reinterpret_cast<intptr_t>(this));
    // Also when the dialog could not be created, which sends no WM_NCDESTROY.
    m_hWnd = nullptr;
    if (app != nullptr && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
    }
    return result;
}

BOOL CDialog::OnInitDialog() { return TRUE; }

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int nResult) { port::windows().EndDialog(ToPort(m_hWnd), nResult); }

BOOL CDialog::UpdateData(BOOL) { return TRUE; }

intptr_t CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    AfxScopedMessageFrame frame(m_hWnd, message);
    LRESULT result = 0;
    bool handled = DispatchMessageMap(message, wParam, lParam, result);
    CWinApp* app = AfxGetApp();
    if (!handled && message == WM_COMMAND && app != nullptr) {
        // Commands no window takes go on to the application object.
        handled = app->DispatchMessageMap(message, wParam, lParam, result);
    }
    if (!handled && message == WM_HELP) {
        // A help request becomes the help command of the main window.
        CWnd* target = app != nullptr && app->m_pMainWnd != nullptr ? app->m_pMainWnd : this;
        target->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(ID_HELP), 0), 0);
        handled = true;
    }
    if (message == WM_NCDESTROY) {
        port::windows().SetWindowLongPtr(ToPort(m_hWnd), port::kDwlpUser, 0);
        m_hWnd = nullptr;
        if (app != nullptr && app->m_pMainWnd == this) {
            app->m_pMainWnd = nullptr;
        }
        return FALSE;
    }
    if (!handled || frame.DefaultRequested()) {
        return FALSE;
    }
    if (ReturnsValueDirectly(message)) {
        return result;
    }
    port::windows().SetWindowLongPtr(ToPort(m_hWnd), port::kDwlpMsgResult, result);
    return TRUE;
}

intptr_t CDialog::HandleInitDialog(port::Handle hwnd) {
    m_hWnd = FromPort<HWND>(hwnd);
    AfxScopedMessageFrame frame(m_hWnd, WM_INITDIALOG);
    return OnInitDialog();
}

namespace {

intptr_t DialogProcedure(port::Handle hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        port::windows().SetWindowLongPtr(hwnd, port::kDwlpUser, lParam);
        return dialog->HandleInitDialog(hwnd);
    }
    auto* dialog =
        reinterpret_cast<CDialog*>(port::windows().GetWindowLongPtr(hwnd, port::kDwlpUser));
    if (dialog == nullptr) {
        return FALSE;  // before WM_INITDIALOG or after WM_NCDESTROY
    }
    return dialog->HandleMessage(message, wParam, lParam);
}

}  // namespace
