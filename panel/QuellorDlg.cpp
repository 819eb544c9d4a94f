#include "panel/QuellorDlg.h"

#include "panel/AboutDlg.h"
#include "panel/QuellorApp.h"
#include "runner/CommonExec1.h"
#include "runner/ServerCommands.h"

CQuellorDlg::CQuellorDlg(CWnd* pParent) : CDialogEx(IDD_QUELLOR_DIALOG, pParent) {
    m_hIcon = theApp.LoadIcon(IDR_MAINFRAME);
}

// IDOK and IDCANCEL are bound as commands of any origin, so that no way of closing can reach
// the base class's OnCancel without the shutdown.
BEGIN_MESSAGE_MAP(CQuellorDlg, CDialogEx)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_WM_SIZE()
ON_WM_LBUTTONDOWN()
ON_WM_TIMER()
ON_COMMAND(IDOK, &CQuellorDlg::OnIdOk)
ON_COMMAND(IDCANCEL, &CQuellorDlg::OnExit)
ON_BN_CLICKED(IDC_SETKEY_BUTTON, &CQuellorDlg::OnSetKey)
ON_COMMAND(ID_MENU_VOICE, &CQuellorDlg::OnSetVoice)
ON_COMMAND(ID_MENU_SETTINGS, &CQuellorDlg::OnSettings)
END_MESSAGE_MAP()

void CQuellorDlg::OnSysCommand(UINT nID, LPARAM) {
    // The platform uses the low four bits of system commands for its own purposes.
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        Default();
    }
}

HCURSOR CQuellorDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CQuellorDlg::OnSize(UINT, int, int) { Default(); }

void CQuellorDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kLogoTimer) {
        OnLogoTimer();
    } else if (nIDEvent == kPollTimer) {
        OnPollTimer();
    }
    Default();
}

void CQuellorDlg::OnIdOk() {}

void CQuellorDlg::OnExit() {
    CString command;
    command.Format(server::kShutdown, server::kDistroName);
    CommonExec1(command, server::kShutdownTimeoutMs);
    CDialogEx::OnCancel();
}
