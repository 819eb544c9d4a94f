// The About box: template 100, nothing of its own beyond the base's OK and Cancel.
#pragma once

#include "framework/Afx.h"
#include "res/resource.h"

class CAboutDlg : public CDialogEx {
public:
    CAboutDlg();

    enum { IDD = IDD_ABOUTBOX };

    DECLARE_MESSAGE_MAP()
};
