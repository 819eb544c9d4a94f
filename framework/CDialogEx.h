// The dialog class the system's dialogs derive from; it adds nothing to CDialog.
#pragma once

#include "framework/CDialog.h"

class CDialogEx : public CDialog {
    DECLARE_DYNAMIC(CDialogEx)
public:
    explicit CDialogEx(UINT nIDTemplate, CWnd* pParent = nullptr);

    DECLARE_MESSAGE_MAP()
};
