// The application start-up: the platform preparations, the socket failure, the one modal run
// of the main window and the restart registration.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/AfxRestart.h"
#include "framework/CMFCVisualManager.h"
#include "panel/QuellorApp.h"
#include "unit/mainwindow/MainWindowFixture.h"

namespace mainwindow {
namespace {

class AppTest : public MainWindowTest {
protected:
    AppTest() { net.wsaVersionGranted = 0x0101; }
};

// Socket layer refused or granting another version: one warning box captioned with the
// program file's name, and nothing else happens: no window, no command, no request.
TEST_F(AppTest, SocketFailureShowsOneBoxAndRunsNothing) {
    struct Case {
        const char* name;
        int result;
        uint16_t granted;
        const char16_t* module;
        const char16_t* caption;
    };
    const Case cases[] = {
        {"refused", 10091, 0, u"D:\\Panel\\panel.exe", u"panel"},
        {"version 2.2 granted", 0, 0x0202, u"C:\\Program Files\\Quellor\\Quellor.exe", u"Quellor"},
        {"renamed file", 10091, 0, u"C:\\x\\控制面板.v2.exe", u"控制面板.v2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.messageBoxes.clear();
        net.calls.clear();
        net.wsaStartupResult = c.result;
        net.wsaVersionGranted = c.granted;
        files.modulePath = c.module;

        AfxWinMain();

        ASSERT_EQ(ui.messageBoxes.size(), 1u);
        EXPECT_EQ(ui.messageBoxes[0].text, u"Windows 套接字初始化失败。");
        EXPECT_EQ(ui.messageBoxes[0].caption, c.caption);
        EXPECT_EQ(ui.messageBoxes[0].type, static_cast<uint32_t>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(ui.messageBoxes[0].owner, port::kNoHandle);
        EXPECT_TRUE(ui.AllDialogs().empty());
        EXPECT_TRUE(runner.processes.Runs().empty());
        EXPECT_EQ(http.RequestCount(), 0);
        // A layer that started with the wrong version is ended again; one that did not start
        // is not ended.
        const bool started = c.result == 0;
        EXPECT_EQ(std::count(net.calls.begin(), net.calls.end(), "WSACleanup"), started ? 1 : 0);
    }
}

// The whole run: preparations in order, the main window as the application's main window for
// its one modal run, then the clean-up; the socket layer ends with the framework.
TEST_F(AppTest, StartUpRunsTheMainWindowOnceThenEnds) {
    bool mainIsTheWindow = false;
    ui.Then([&] {
        mainIsTheWindow =
            theApp.m_pMainWnd != nullptr &&
            reinterpret_cast<port::Handle>(theApp.m_pMainWnd->GetSafeHwnd()) == ui.Active().hwnd;
        EXPECT_EQ(ui.OpenDialogs(), std::vector<uint32_t>{IDD_QUELLOR_DIALOG});
        ui.CloseBox();
    });

    AfxWinMain();

    EXPECT_EQ(ui.commonControlClasses, std::vector<uint32_t>{0xFF});
    EXPECT_EQ(net.wsaVersionsRequested, std::vector<uint16_t>{0x0101});
    EXPECT_EQ(theApp.m_dwRestartManagerSupportFlags, 1u);
    EXPECT_EQ(theApp.m_strRegistryKey, u"应用程序向导生成的本地应用程序");
    EXPECT_EQ(CMFCVisualManager::GetDefaultManagerClass(), RUNTIME_CLASS(CMFCVisualManagerWindows));
    EXPECT_EQ(ui.TimesOpened(IDD_QUELLOR_DIALOG), 1);
    EXPECT_TRUE(mainIsTheWindow);
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
    EXPECT_EQ(Journal().back(), kShutdown);
    EXPECT_EQ(net.calls.back(), "WSACleanup");
    EXPECT_TRUE(ui.messageBoxes.empty());
    EXPECT_FALSE(ui.AnyOpen());
    ASSERT_EQ(ui.restartRegistrations.size(), 1u);
    EXPECT_EQ(ui.restartRegistrations[0],
              u" /RestartByRestartManager:{01234567-89AB-CDEF-0123-456789ABCDEF}");
}

// A main window that cannot be created ends the run the same way, with no shutdown command.
TEST_F(AppTest, MainWindowThatCannotBeCreatedEndsTheRun) {
    ui.failingTemplates.insert(IDD_QUELLOR_DIALOG);
    AfxWinMain();
    EXPECT_TRUE(runner.processes.Runs().empty());
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
    EXPECT_EQ(net.calls.back(), "WSACleanup");
}

// The restart command line: this run's arguments, a blank, the option and the GUID. An earlier
// restart option is not carried over, so repeated restarts do not grow the line.
TEST(RestartCommandLine, ArgumentsThenTheRestartOption) {
    const port::Guid guid{0xDEADBEEF, 0x0001, 0xABCD, {0, 1, 2, 3, 4, 5, 6, 0xFF}};
    const std::u16string option =
        u"/RestartByRestartManager:{DEADBEEF-0001-ABCD-0001-0203040506FF}";
    struct Case {
        const char16_t* processLine;
        std::u16string expected;
    };
    const Case cases[] = {
        {u"\"C:\\Program Files\\Quellor\\Quellor.exe\"", u" " + option},
        {u"\"C:\\Program Files\\Quellor\\Quellor.exe\" /x  y", u"/x  y " + option},
        {u"Quellor.exe -a", u"-a " + option},
        {u"Quellor.exe /RestartByRestartManager:{OLD}", u" " + option},
        {u"Quellor.exe -a /RestartByRestartManager:{OLD} -b", u"-a -b " + option},
        {u"Quellor.exe -a/RestartByRestartManager:x", u"-a/RestartByRestartManager:x " + option},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AfxRestartCommandLine(c.processLine, guid).Str(), c.expected)
            << CString(c.processLine).ToUtf8();
    }
}

}  // namespace
}  // namespace mainwindow
