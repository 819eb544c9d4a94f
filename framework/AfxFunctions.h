// The framework's free functions that the system's start-up and windows call.
#pragma once

#include "framework/AfxTypes.h"
#include "framework/CString.h"

// The text of a string resource; empty when it is missing.
CString AfxLoadString(UINT nID);

// Shows the text of string `nIDPrompt` in a message box captioned with the application's name,
// owned by the main window when there is one. Without an icon in `nType` the framework adds
// one: a question mark for the yes/no types, else the warning sign. `nIDHelp` is kept for the
// signature: the system has no help. Returns the button pressed.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));

// Starts Windows Sockets 1.1; true only when exactly that version is granted. The framework's
// termination ends the socket layer again.
BOOL AfxSocketInit(void* lpwsaData = nullptr);
// Ends what AfxSocketInit started, once; the framework's termination calls it.
void AfxSocketTerm();

// No dialog of the system hosts an ActiveX control, so there is nothing to enable.
void AfxEnableControlContainer();
// The framework's extended controls keep nothing here, so there is nothing to release.
void ControlBarCleanUp();

int GetSystemMetrics(int nIndex);
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce);
