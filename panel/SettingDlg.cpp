#include "SettingDlg.h"

#include "panel/QuellorDlg.h"

IMPLEMENT_DYNAMIC(CSettingDlg, CDialogEx)

CSettingDlg::CSettingDlg(CWnd* pParent) : CDialogEx(IDD_SETTING_DIALOG, pParent) {}

CSettingDlg::~CSettingDlg() = default;

BEGIN_MESSAGE_MAP(CSettingDlg, CDialogEx)
    ON_WM_SIZE()
    ON_BN_CLICKED(IDOK, &CSettingDlg::OnSettingOk)
    ON_BN_CLICKED(IDCANCEL, &CSettingDlg::OnSettingCancel)
END_MESSAGE_MAP()

BOOL CSettingDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    // TRUE whatever the base said: the focus goes to the first tab stop, OK.
    return TRUE;
}

void CSettingDlg::OnSize(UINT, int, int) { Default(); }

void CSettingDlg::OnSettingOk() { CDialogEx::OnOK(); }

void CSettingDlg::OnSettingCancel() { CDialogEx::OnCancel(); }

void CQuellorDlg::OnSettings() {
    CSettingDlg dlg;
    dlg.DoModal();
}
