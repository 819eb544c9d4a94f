// Temporary: handlers whose real bodies are still being written. Whoever lands a handler
// deletes its line here in the same change.
#include "panel/QuellorDlg.h"

BOOL CQuellorDlg::OnInitDialog() { return CDialogEx::OnInitDialog(); }
void CQuellorDlg::OnPaint() { Default(); }
void CQuellorDlg::OnLButtonDown(UINT, CPoint) { Default(); }
void CQuellorDlg::OnTimer(UINT_PTR) { Default(); }
void CQuellorDlg::OnSetKey() {}
void CQuellorDlg::OnSetVoice() {}
void CQuellorDlg::OnSettings() {}
