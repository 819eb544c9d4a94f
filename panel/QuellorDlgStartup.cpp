// The main window's start-up sequence.
#include "panel/LanAddress.h"
#include "panel/NetworkAccess.h"
#include "panel/QuellorDlg.h"
#include "runner/CommonExec1.h"
#include "runner/ServerCommands.h"

namespace {

constexpr const char16_t* kNoticeText =
    u"尊敬的用户，您好，您当前的大语言模型使用的是作者用于测试的智普免费 Key，"
    u"为了确保您全程体验的稳定性和安全性，请尽快点击下方按钮，置换自己的智普免费 Key...";
constexpr const char16_t* kStartingText = u"AI 语音服务器正在启动...";

}  // namespace

BOOL CQuellorDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();

    // The About item at the end of the system menu.
    CMenu* pSysMenu = GetSystemMenu(FALSE);
    if (pSysMenu != nullptr) {
        const CString strAboutMenu = AfxLoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    ChooseLogoPath();
    DownloadLogo();
    SetTimer(kLogoTimer, kLogoTimerMs, nullptr);

    SetupNetworkAccess();

    SetDlgItemText(IDC_NOTICE, kNoticeText);
    SetDlgItemText(IDC_STATUS, kStartingText);

    if (CheckServerRunning(this)) return TRUE;

    // An empty LAN address would leave "ws://:8000/..." in the server's configuration, which
    // no device can use; the configured address is kept then.
    const CString lanAddress = GetLanIpAddress();
    if (!lanAddress.IsEmpty()) {
        const CString webSocket = server::kWebSocketScheme + lanAddress + server::kWebSocketPath;
        CommonExec1(server::ConfigEditCommand(server::kEditWebSocket, webSocket),
                    server::kEditTimeoutMs);
    }

    CString keepAlive;
    keepAlive.Format(server::kKeepAlive, server::kDistroName, server::kDistroUser);
    CommonExec1(keepAlive, server::kKeepAliveTimeoutMs);

    SetTimer(kPollTimer, kStartPollMs, nullptr);
    return TRUE;
}
