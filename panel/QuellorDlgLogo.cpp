// The maker's logo over the left third of the main window: where it is stored, its download
// and refresh, its painting, and the click that opens the home page.
#include "framework/Image.h"
#include "panel/QuellorDlg.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Shell.h"

namespace {

// Refresh only on a machine that has been up for more than a day.
constexpr uint64_t kRefreshUptimeMs = 86400000;
constexpr uint32_t kPathUnits = 260;

// Left 0, top 0, a third of the client width (truncated), the whole client height.
CRect LogoArea(CWnd& wnd) {
    CRect client;
    wnd.GetClientRect(&client);
    return CRect(0, 0, client.Width() / 3, client.Height());
}

}  // namespace

void CQuellorDlg::ChooseLogoPath() {
    char16_t programPath[kPathUnits] = {};
    char16_t tempPath[kPathUnits] = {};
    port::files().GetModuleFileName(programPath, kPathUnits);
    port::files().GetTempPath(kPathUnits, tempPath);
    port::files().PathRemoveFileSpec(programPath);
    port::files().PathRemoveFileSpec(tempPath);  // only its trailing backslash goes

    // Only the temporary directory is tested; the program's own is taken as it is.
    m_strLogoPath =
        port::files().PathIsDirectory(tempPath) ? CString(tempPath) : CString(programPath);
    m_strLogoPath += u"\\applogo.png";
}

void CQuellorDlg::DownloadLogo() {
    if (port::shell().URLDownloadToFile(QUELLOR_LOGO_URL, m_strLogoPath.GetString()) >= 0) {
        InvalidateRect(nullptr, TRUE);
    }
}

void CQuellorDlg::OnLogoTimer() {
    if (port::clock().GetTickCount64() > kRefreshUptimeMs) DownloadLogo();
}

void CQuellorDlg::OnPaint() {
    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);

        const int cxIcon = GetSystemMetrics(SM_CXICON);
        const int cyIcon = GetSystemMetrics(SM_CYICON);
        CRect rect;
        GetClientRect(&rect);
        const int x = (rect.Width() - cxIcon + 1) / 2;
        const int y = (rect.Height() - cyIcon + 1) / 2;
        dc.DrawIcon(x, y, m_hIcon);
        return;
    }

    CPaintDC dc(this);
    const CRect area = LogoArea(*this);
    // Decoded afresh at every paint, so a download shows at the next one; freed before the
    // paint surface is closed.
    CImage image;
    if (image.Load(m_strLogoPath) >= 0) {
        image.Draw(dc.GetSafeHdc(), 0, 0, area.Width(), area.Height(), 0, 0, image.GetWidth(),
                   image.GetHeight());
    }
    CDialogEx::OnPaint();
}

void CQuellorDlg::OnLButtonDown(UINT /*nFlags*/, CPoint point) {
    if (LogoArea(*this).PtInRect(point)) {
        port::shell().ShellExecute(port::kNoHandle, u"open", QUELLOR_HOME_URL, nullptr, nullptr,
                                   port::kSwShowNormal);
    }
    Default();
}
