#include "framework/CWinApp.h"

#include <vector>

#include "framework/AfxFunctions.h"
#include "framework/AfxHandles.h"
#include "framework/AfxRestart.h"
#include "framework/CWnd.h"
#include "platform/Files.h"
#include "platform/Windows.h"

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

namespace {

// Built during static initialisation, before any code of the framework runs.
CWinApp* g_app = nullptr;

// The program file's name without its directory and extension.
CString AppNameFromModule() {
    std::vector<char16_t> buffer(32768, u'\0');
    const uint32_t length =
        port::files().GetModuleFileName(buffer.data(), static_cast<uint32_t>(buffer.size()));
    std::u16string path(buffer.data(), length < buffer.size() ? length : 0);
    const size_t slash = path.find_last_of(u"\\/");
    std::u16string name = slash == std::u16string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of(u'.');
    if (dot != std::u16string::npos) {
        name.erase(dot);
    }
    return CString(name);
}

}  // namespace

CWinApp::CWinApp(const char16_t* lpszAppName) {
    if (lpszAppName != nullptr) {
        m_constructorName = lpszAppName;
    }
    if (g_app == nullptr) {
        g_app = this;
    }
}

CWinApp::~CWinApp() {
    if (g_app == this) {
        g_app = nullptr;
    }
}

BOOL CWinApp::InitApplication() { return TRUE; }

BOOL CWinApp::InitInstance() {
    if ((m_dwRestartManagerSupportFlags & AFX_RESTART_MANAGER_SUPPORT_RESTART) != 0) {
        port::Guid guid;
        port::windows().CoCreateGuid(guid);
        const CString commandLine =
            AfxRestartCommandLine(CString(port::windows().GetCommandLine()), guid);
        port::windows().RegisterApplicationRestart(commandLine.GetString(), 0);
    }
    return TRUE;
}

// No window outlives InitInstance in this framework's applications, so there is no message
// loop to run: the application ends at once.
int CWinApp::Run() { return ExitInstance(); }

int CWinApp::ExitInstance() { return 0; }

void CWinApp::SetRegistryKey(const CString& key) { m_strRegistryKey = key; }

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return FromPort<HICON>(port::windows().LoadIcon(nIDResource));
}

void CWinApp::OnHelp() {}

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app != nullptr ? g_app->m_pMainWnd : nullptr; }

int AfxWinMain() {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return -1;
    }
    app->m_strAppName =
        app->m_constructorName.IsEmpty() ? AppNameFromModule() : app->m_constructorName;
    int exitCode = 0;
    if (!app->InitApplication() || !app->InitInstance()) {
        exitCode = app->ExitInstance();
    } else {
        exitCode = app->Run();
    }
    AfxSocketTerm();
    return exitCode;
}
