// The main window: the frame, the start-up sequence, the server polling and the logo.
#pragma once

#include "framework/Afx.h"
#include "res/resource.h"

class CQuellorDlg : public CDialogEx {
public:
    explicit CQuellorDlg(CWnd* pParent = nullptr);

    enum { IDD = IDD_QUELLOR_DIALOG };

    // The window's timers and the periods their arming callers use.
    static constexpr UINT_PTR kLogoTimer = 1;
    static constexpr UINT kLogoTimerMs = 900000;
    static constexpr UINT_PTR kPollTimer = 2;
    static constexpr UINT kStartPollMs = 5000;
    static constexpr UINT kRestartPollMs = 3000;

protected:
    HICON m_hIcon;
    CString m_strLogoPath;

    BOOL OnInitDialog() override;  // the start-up sequence

    // Frame.
    void OnSysCommand(UINT nID, LPARAM lParam);
    HCURSOR OnQueryDragIcon();
    void OnSize(UINT nType, int cx, int cy);
    void OnIdOk();                    // Enter: nothing happens
    void OnExit();                    // every way of closing: shut the distribution down, then end
    void OnTimer(UINT_PTR nIDEvent);  // to the logo's or the polling's branch

    // Logo.
    void OnPaint();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void ChooseLogoPath();
    void DownloadLogo();
    void OnLogoTimer();

    // Server polling.
    void OnPollTimer();

    // Sub-dialogs.
    void OnSetKey();
    void OnSetVoice();
    void OnSettings();

    DECLARE_MESSAGE_MAP()
};

// Ticks of timer 2 in the current polling series, one count for the whole process, 0 at start.
// Only the timer-2 branch of OnTimer reads and writes it; tests set it to 0 before each case.
extern int32_t g_pollTicks;

// True when the distribution runs and the OTA endpoint answers; then shows the running text
// in `dlg` and sets the network access up again.
BOOL CheckServerRunning(CWnd* dlg);
