// The application object: its start-up prepares the platform and runs the main window once.
#pragma once

#include "framework/Afx.h"

class CQuellorApp : public CWinApp {
public:
    CQuellorApp();

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

extern CQuellorApp theApp;
