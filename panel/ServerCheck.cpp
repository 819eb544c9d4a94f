// Whether the server is up, and the polling of timer 2 until it is.
#include "panel/LanAddress.h"
#include "panel/NetworkAccess.h"
#include "panel/QuellorDlg.h"
#include "runner/IsDistroRunning.h"
#include "runner/ProbeOtaEndpoint.h"
#include "runner/ServerCommands.h"

namespace {

constexpr int32_t kChecksPerSeries = 10;

}  // namespace

// It goes back to 0 only when the series ends, so arming timer 2 again while it runs keeps the
// count.
int32_t g_pollTicks = 0;

BOOL CheckServerRunning(CWnd* dlg) {
    if (!IsDistroRunning(server::kDistroName)) return FALSE;
    if (!ProbeOtaEndpoint()) return FALSE;

    CString running = u"\n\nAI 语音服务器运行中\n连接地址->http://";
    running += GetLanIpAddress();
    running += u":8003/tarvino/ota/";
    dlg->SetDlgItemText(IDC_STATUS, running);

    // The server may have come up behind a new WSL address: forward to it.
    SetupNetworkAccess();
    return TRUE;
}

void CQuellorDlg::OnPollTimer() {
    ++g_pollTicks;
    if (g_pollTicks > kChecksPerSeries) {
        // The series gave up: the status keeps its starting or restarting text.
        KillTimer(kPollTimer);
        g_pollTicks = 0;
        return;
    }
    if (CheckServerRunning(this)) {
        KillTimer(kPollTimer);
        g_pollTicks = 0;
    }
}
