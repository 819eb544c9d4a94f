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
