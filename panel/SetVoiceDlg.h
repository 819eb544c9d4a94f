// The voice dialog: writes the male or the female TTS voice into the server's configuration,
// then restarts the server and has the main window poll it again.
#pragma once

#include "framework/Afx.h"
#include "res/resource.h"

class CSetVoiceDlg : public CDialogEx {
    DECLARE_DYNAMIC(CSetVoiceDlg)

public:
    explicit CSetVoiceDlg(CWnd* pParent = nullptr);
    ~CSetVoiceDlg() override;

    enum { IDD = IDD_SETVOICE_DIALOG };

protected:
    void OnSetVoiceOk();
    void OnSetVoiceCancel();

    DECLARE_MESSAGE_MAP()
};
