// The application object: the one per process that the framework's entry runs.
#pragma once

#include "framework/AfxTypes.h"
#include "framework/CCmdTarget.h"
#include "framework/CString.h"

class CWnd;

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    // With no name the application is named after its program file, without the extension.
    explicit CWinApp(const char16_t* lpszAppName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The main window: the owner of every dialog built with no parent. Cleared again when that
    // window ends.
    CWnd* m_pMainWnd = nullptr;
    DWORD m_dwRestartManagerSupportFlags = 0;
    // Set by the framework's entry before InitApplication.
    CString m_strAppName;
    // Set by SetRegistryKey; the system keeps no profile value under it.
    CString m_strRegistryKey;

    virtual BOOL InitApplication();
    // The base start-up: with restart support it registers the run for restart.
    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();

    void SetRegistryKey(const CString& key);
    HICON LoadIcon(UINT nIDResource) const;

    // The standard help handler: the system ships no help, so a help request shows nothing.
    void OnHelp();

    DECLARE_MESSAGE_MAP()

private:
    friend int AfxWinMain();
    CString m_constructorName;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// The framework's run of the application, after the platform is installed: names the
// application, runs InitApplication and InitInstance, then Run or ExitInstance, and the
// framework's termination. Returns the process's exit code.
int AfxWinMain();
