#include "framework/AfxFunctions.h"

#include "framework/AfxHandles.h"
#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "platform/Network.h"
#include "platform/Windows.h"

namespace {
bool g_socketsStarted = false;
}

CString AfxLoadString(UINT nID) { return CString(port::windows().LoadString(nID)); }

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT) {
    if ((nType & MB_ICONMASK) == 0) {
        const UINT buttons = nType & MB_TYPEMASK;
        nType |= (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) ? MB_ICONQUESTION
                                                                    : MB_ICONEXCLAMATION;
    }
    CWinApp* app = AfxGetApp();
    const CString caption = app != nullptr ? app->m_strAppName : CString();
    CWnd* owner = AfxGetMainWnd();
    const CString text = AfxLoadString(nIDPrompt);
    return port::windows().MessageBox(owner != nullptr ? ToPort(owner->GetSafeHwnd()) : 0,
                                      text.GetString(), caption.GetString(), nType);
}

BOOL AfxSocketInit(void*) {
    if (g_socketsStarted) {
        return TRUE;
    }
    uint16_t granted = 0;
    if (port::network().WSAStartup(0x0101, granted) != 0) {
        return FALSE;
    }
    if (granted != 0x0101) {
        // Started, but not the version asked for: end it again.
        port::network().WSACleanup();
        return FALSE;
    }
    g_socketsStarted = true;
    return TRUE;
}

void AfxSocketTerm() {
    if (g_socketsStarted) {
        g_socketsStarted = false;
        port::network().WSACleanup();
    }
}

void AfxEnableControlContainer() {}

void ControlBarCleanUp() {}

int GetSystemMetrics(int nIndex) { return port::windows().GetSystemMetrics(nIndex); }

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce) {
    if (picce == nullptr || picce->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
        return FALSE;
    }
    return port::windows().InitCommonControlsEx(picce->dwICC) ? TRUE : FALSE;
}
