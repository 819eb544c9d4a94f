#include "SetVoiceDlg.h"

#include "panel/QuellorDlg.h"
#include "panel/ServerRestart.h"
#include "runner/ServerCommands.h"
#include "runner/SetTtsVoice.h"

IMPLEMENT_DYNAMIC(CSetVoiceDlg, CDialogEx)

CSetVoiceDlg::CSetVoiceDlg(CWnd* pParent) : CDialogEx(IDD_SETVOICE_DIALOG, pParent) {}

CSetVoiceDlg::~CSetVoiceDlg() = default;

BEGIN_MESSAGE_MAP(CSetVoiceDlg, CDialogEx)
ON_BN_CLICKED(IDOK, &CSetVoiceDlg::OnSetVoiceOk)
ON_BN_CLICKED(IDCANCEL, &CSetVoiceDlg::OnSetVoiceCancel)
END_MESSAGE_MAP()

void CSetVoiceDlg::OnSetVoiceOk() {
    CString voice;
    if (GetDlgItem(IDC_VOICE_MALE)->SendMessage(BM_GETCHECK, 0, 0) == 1) {
        voice = server::kVoiceMale;
    } else if (GetDlgItem(IDC_VOICE_FEMALE)->SendMessage(BM_GETCHECK, 0, 0) == 1) {
        voice = server::kVoiceFemale;
    } else {
        CDialogEx::OnOK();
        return;
    }

    SetTtsVoice(voice);
    RestartServerAndPoll();
    CDialogEx::OnOK();
}

void CSetVoiceDlg::OnSetVoiceCancel() { CDialogEx::OnCancel(); }

void CQuellorDlg::OnSetVoice() {
    CSetVoiceDlg dlg;
    dlg.DoModal();
}
