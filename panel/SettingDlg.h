// The advanced settings form: shown only; nothing entered in it is read, kept or applied.
#pragma once

#include "framework/Afx.h"
#include "res/resource.h"

class CSettingDlg : public CDialogEx {
    DECLARE_DYNAMIC(CSettingDlg)

public:
    explicit CSettingDlg(CWnd* pParent = nullptr);
    ~CSettingDlg() override;

    enum { IDD = IDD_SETTING_DIALOG };

protected:
    BOOL OnInitDialog() override;
    void OnSize(UINT nType, int cx, int cy);
    void OnSettingOk();
    void OnSettingCancel();

    DECLARE_MESSAGE_MAP()
};
