#include "panel/QuellorApp.h"

#include <memory>

#include "panel/QuellorDlg.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CQuellorApp, CWinApp)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CQuellorApp::CQuellorApp() {
    // Restart support only: no recovery, no autosave, no reopening of files.
    m_dwRestartManagerSupportFlags = AFX_RESTART_MANAGER_SUPPORT_RESTART;
}

CQuellorApp theApp;

BOOL CQuellorApp::InitInstance() {
    INITCOMMONCONTROLSEX InitCtrls;
    InitCtrls.dwSize = sizeof(InitCtrls);
    InitCtrls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&InitCtrls);

    CWinApp::InitInstance();

    if (!AfxSocketInit()) {
        AfxMessageBox(IDP_SOCKETS_INIT_FAILED);
        return FALSE;
    }

    AfxEnableControlContainer();

    auto pShellManager = std::make_unique<CShellManager>();

    CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CMFCVisualManagerWindows));

    SetRegistryKey(u"应用程序向导生成的本地应用程序");

    CQuellorDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();

    pShellManager.reset();

    ControlBarCleanUp();

    // The main window has ended: no message loop of the framework's own is to run.
    return FALSE;
}
