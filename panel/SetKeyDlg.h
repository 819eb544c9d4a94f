// The key dialog: replaces the LLM API key in the server's configuration, then restarts the
// server and has the main window poll it again.
#pragma once

#include "framework/Afx.h"
#include "res/resource.h"

class CSetKeyDlg : public CDialogEx {
    DECLARE_DYNAMIC(CSetKeyDlg)

public:
    explicit CSetKeyDlg(CWnd* pParent = nullptr);
    ~CSetKeyDlg() override;

    enum { IDD = IDD_SETKEY_DIALOG };

protected:
    BOOL OnInitDialog() override;
    void OnSetKeyOk();
    void OnSetKeyCancel();

    DECLARE_MESSAGE_MAP()
};

// Shown in the main window's status control from a change of key or voice until a server
// check finds the server up again.
inline constexpr const char16_t* kRestartingText = u"AI 语音服务器正在重启...";

// The road after a change of key or voice: the restarting text in the main window, the
// compose restart, and timer 2 armed on the main window with 3000 ms. Results are not
// examined; the polling alone judges whether the server came back.
void RestartServerAndPoll();
