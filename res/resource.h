// Resource identifiers, shared by Quellor.rc and the C++ code.
#pragma once

#define IDD_ABOUTBOX            100
#define IDS_ABOUTBOX            101
#define IDD_QUELLOR_DIALOG      102
#define IDP_SOCKETS_INIT_FAILED 103
#define IDR_MAINFRAME           128
#define IDR_MAINMENU            129
#define IDD_SETKEY_DIALOG       130
#define IDD_SETTING_DIALOG      131
#define IDD_SETVOICE_DIALOG     134

// Main window (template 102).
#define IDC_SETKEY_BUTTON       1000
#define IDC_STATUS              1007
#define IDC_NOTICE              1008

// Key dialog (template 130).
#define IDC_KEY_EDIT            1001
#define IDC_KEY_HELP            1002
#define IDC_KEY_LABEL           1003

// Settings form (template 131); its numbers are its own, unrelated to the main window's.
#define IDC_SETTING_FEMALE      1004
#define IDC_SETTING_MALE        1005
#define IDC_SETTING_LLM_MODEL   1006
#define IDC_SETTING_LLM_KEY     1007
#define IDC_SETTING_LLM_ADDRESS 1008
#define IDC_SETTING_ASR_MODEL   1009
#define IDC_SETTING_ASR_KEY     1010
#define IDC_SETTING_ASR_ADDRESS 1011
#define IDC_SETTING_VOICE_GROUP 1012

// Voice dialog (template 134).
#define IDC_VOICE_MALE          1013
#define IDC_VOICE_FEMALE        1014

// Menu 129.
#define ID_MENU_VOICE           32774
#define ID_MENU_SETTINGS        32775

// System menu item that opens the About box.
#define IDM_ABOUTBOX            0x0010
