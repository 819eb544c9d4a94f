#include "panel/ServerRestart.h"

#include "panel/QuellorDlg.h"
#include "runner/CommonExec1.h"
#include "runner/ServerCommands.h"

void RestartServerAndPoll() {
    CWnd* mainWnd = AfxGetApp()->m_pMainWnd;
    mainWnd->SetDlgItemText(IDC_STATUS, kRestartingText);

    CString restart;
    restart.Format(server::kComposeRestart, server::kDistroName, server::kDistroUser);
    CommonExec1(restart, server::kRestartTimeoutMs);

    // The polling series goes on with the shorter period; its count is not touched here.
    mainWnd->SetTimer(CQuellorDlg::kPollTimer, CQuellorDlg::kRestartPollMs, nullptr);
}
