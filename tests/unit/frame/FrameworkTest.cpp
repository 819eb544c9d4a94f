// The dialog framework's own rules, seen through a small dialog of the test over the voice
// dialog's template: the order of the maps, Default(), the dialog manager's standard
// processing, the timers on the virtual clock and the automatic radio group.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake/HeadlessWindows.h"
#include "framework/Afx.h"
#include "res/resource.h"

namespace {

class CProbeDlg : public CDialogEx {
    DECLARE_DYNAMIC(CProbeDlg)
public:
    CProbeDlg() : CDialogEx(IDD_SETVOICE_DIALOG) {}
    std::vector<std::string> seen;

    void OnSysCommand(UINT nID, LPARAM) {
        seen.push_back("sys " + std::to_string(nID));
        Default();
    }
    void OnTimer(UINT_PTR nIDEvent) { seen.push_back("timer " + std::to_string(nIDEvent)); }
    void OnCancelled() {
        seen.push_back("cancel");
        CDialogEx::OnCancel();
    }

    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNAMIC(CProbeDlg, CDialogEx)

BEGIN_MESSAGE_MAP(CProbeDlg, CDialogEx)
ON_WM_SYSCOMMAND()
ON_WM_TIMER()
ON_BN_CLICKED(IDCANCEL, &CProbeDlg::OnCancelled)
END_MESSAGE_MAP()

class FrameworkTest : public ::testing::Test {
protected:
    FrameworkTest() : m_install(Fill()) {}
    port::Platform Fill() {
        port::Platform platform = port::Current();
        ui.FillInto(platform);
        return platform;
    }
    HeadlessWindows ui;
    port::ScopedInstall m_install;
    CProbeDlg dlg;
};

TEST_F(FrameworkTest, DerivedEntriesComeFirstAndTheBaseMapTakesTheRest) {
    struct Case {
        const char* name;
        void (HeadlessWindows::*press)();
        intptr_t result;
        std::vector<std::string> seen;
    };
    const Case cases[] = {
        {"Esc: the derived IDCANCEL", &HeadlessWindows::PressEsc, IDCANCEL, {"cancel"}},
        {"Enter: the base OnOK", &HeadlessWindows::PressEnter, IDOK, {}},
        // SC_CLOSE through OnSysCommand and Default() becomes WM_CLOSE, then IDCANCEL.
        {"close box", &HeadlessWindows::CloseBox, IDCANCEL, {"sys 61536", "cancel"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dlg.seen.clear();
        ui.Then([&] { (ui.*c.press)(); });
        EXPECT_EQ(dlg.DoModal(), c.result);
        EXPECT_EQ(dlg.seen, c.seen);
        EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
    }
}

TEST_F(FrameworkTest, RunTimeClassNamesTheChain) {
    EXPECT_STREQ(dlg.GetRuntimeClass()->m_lpszClassName, "CProbeDlg");
    EXPECT_EQ(dlg.GetRuntimeClass()->m_pBaseClass, RUNTIME_CLASS(CDialogEx));
    EXPECT_TRUE(dlg.IsKindOf(RUNTIME_CLASS(CDialog)));
    EXPECT_TRUE(dlg.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_FALSE(dlg.IsKindOf(RUNTIME_CLASS(CWinApp)));
}

// Arming an armed timer replaces it; ticks that fall due while the thread is busy come once.
TEST_F(FrameworkTest, TimersReplaceAndCollapse) {
    ui.Then([&] {
        EXPECT_EQ(dlg.SetTimer(1, 1000, nullptr), 1u);
        ui.Advance(2500);
        EXPECT_EQ(dlg.seen, (std::vector<std::string>{"timer 1", "timer 1"}));
        dlg.seen.clear();

        dlg.SetTimer(1, 300, nullptr);  // countdown restarts at 2500 with the new period
        ui.Advance(299);
        EXPECT_TRUE(dlg.seen.empty());
        ui.Advance(1);
        EXPECT_EQ(dlg.seen.size(), 1u);
        EXPECT_EQ(ui.Active().Timer(1)->periodMs, 300u);
        EXPECT_EQ(ui.Active().timers.size(), 1u);
        dlg.seen.clear();

        ui.Busy(5000);  // about 16 periods pass without a message being handled
        ui.Advance(0);
        EXPECT_EQ(dlg.seen.size(), 1u);
        dlg.seen.clear();

        EXPECT_TRUE(dlg.KillTimer(1));
        ui.Advance(10000);
        EXPECT_TRUE(dlg.seen.empty());
        EXPECT_EQ(ui.Active().Timer(1), nullptr);
        ui.PressEsc();
    });
    dlg.DoModal();
}

// Automatic radio buttons of one group clear each other; BM_GETCHECK reads the state.
TEST_F(FrameworkTest, AutomaticRadioGroup) {
    ui.Then([&] {
        EXPECT_FALSE(ui.Checked(IDC_VOICE_MALE));
        EXPECT_FALSE(ui.Checked(IDC_VOICE_FEMALE));
        ui.Click(IDC_VOICE_MALE);
        ui.Click(IDC_VOICE_FEMALE);
        EXPECT_FALSE(ui.Checked(IDC_VOICE_MALE));
        EXPECT_EQ(dlg.GetDlgItem(IDC_VOICE_FEMALE)->SendMessage(BM_GETCHECK), BST_CHECKED);
        EXPECT_EQ(dlg.GetDlgItem(IDC_VOICE_MALE)->SendMessage(BM_GETCHECK), BST_UNCHECKED);
        EXPECT_EQ(dlg.GetDlgItem(4242), nullptr);
        ui.PressEsc();
    });
    dlg.DoModal();
}

}  // namespace
