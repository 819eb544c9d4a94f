// Temporary: handlers whose real bodies are still being written. Whoever lands a handler
// deletes its line here in the same change.
#include "panel/QuellorDlg.h"

void CQuellorDlg::OnSetKey() {}
void CQuellorDlg::OnSetVoice() {}
void CQuellorDlg::OnSettings() {}
