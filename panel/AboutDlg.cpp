#include "panel/AboutDlg.h"

CAboutDlg::CAboutDlg() : CDialogEx(IDD_ABOUTBOX) {}

BEGIN_MESSAGE_MAP(CAboutDlg, CDialogEx)
END_MESSAGE_MAP()
