// The real main window under Wine: the logo comes from a loopback server into the temporary
// directory and is painted over the left third; a click there asks the shell for the home
// page. Commands are answered by a stand-in that starts nothing, so that no netsh or wsl runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LoopbackServer.h"
#include "PngWriter.h"
#include "TestFiles.h"
#include "WindowWatch.h"
#include "panel/QuellorDlg.h"
#include "platform/Processes.h"
#include "platform/Shell.h"
#include "platform/win32/Win32Platform.h"

namespace {

// Every start fails as when the program is missing: the runners give up at once.
class NoProcesses final : public port::Processes {
public:
    static constexpr uint32_t kFileNotFound = 2;
    bool ShellExecuteEx(port::ShellExecuteInfo&) override { return false; }
    uint32_t GetLastError() override { return kFileNotFound; }
    uint32_t WaitForSingleObject(port::Handle, uint32_t) override { return port::kWaitFailed; }
    bool GetExitCodeProcess(port::Handle, uint32_t&) override { return false; }
    bool TerminateProcess(port::Handle, uint32_t) override { return false; }
    bool CloseHandle(port::Handle) override { return false; }
    bool CreatePipe(port::Handle&, port::Handle&, const port::SecurityAttributes&,
                    uint32_t) override {
        return false;
    }
    bool SetHandleInformation(port::Handle, uint32_t, uint32_t) override { return false; }
    bool CreateProcess(char16_t*, bool, uint32_t, const port::StartupInfo&,
                       port::ProcessInformation&) override {
        return false;
    }
    bool PeekNamedPipe(port::Handle, uint32_t&) override { return false; }
    bool ReadFile(port::Handle, void*, uint32_t, uint32_t&) override { return false; }
    void Sleep(uint32_t) override {}
    uint64_t GetTickCount64() override { return 0; }
};

// Downloads for real; records what would be opened instead of starting a browser.
class NoBrowserShell final : public port::Shell {
public:
    int32_t URLDownloadToFile(const char16_t* url, const char16_t* path) override {
        return win32::Shell().URLDownloadToFile(url, path);
    }
    std::intptr_t ShellExecute(port::Handle owner, const char16_t* verb, const char16_t* file,
                               const char16_t*, const char16_t*, int show) override {
        opened.push_back(std::u16string(verb) + u" " + file + u" " +
                         (owner == port::kNoHandle ? u"no-owner" : u"owner") + u" " +
                         (show == port::kSwShowNormal ? u"normal" : u"other"));
        return 42;
    }
    std::vector<std::u16string> opened;
};

constexpr uint32_t kRed = 0xFF0000;

TEST(LogoWindow, DownloadedFromLoopbackPaintedInTheLeftThirdAndClickable) {
    LoopbackServer server(18731);
    ASSERT_TRUE(server.Started()) << "port 18731 is taken";
    const std::string logo = MakePng(6, 4, false, [](int, int) { return Rgba{255, 0, 0}; });
    server.Serve("/applogo.png", logo);
    const std::u16string logoPath = TempFile(u"applogo.png");
    RemoveFile(logoPath);

    NoProcesses processes;
    NoBrowserShell shell;
    port::Platform platform = win32::Platform();
    platform.processes = &processes;
    platform.shell = &shell;
    port::ScopedInstall install(platform);

    // Left third: near the top-left corner and just left of a third of the width; the rest
    // of the window shows no logo.
    WindowWatch watch(u"Calbrin", kRed, {4, 4}, {{4, 4}, {4, -4}, {-4, -4}}, {{4, 4}, {-4, 4}},
                      30000);
    CQuellorDlg dlg;
    dlg.DoModal();
    watch.Join();

    ASSERT_TRUE(watch.Found()) << "the main window never showed";
    // At least the start-up download; other programs of a parallel test run that were built
    // with the same logo address may ask too.
    EXPECT_GE(server.Requests("/applogo.png"), 1);
    EXPECT_EQ(GetFile(logoPath), logo) << "the logo is stored in the temporary directory";
    EXPECT_TRUE(watch.Awaited()) << "the logo never showed";
    ASSERT_EQ(watch.Pixels().size(), 3u);
    EXPECT_EQ(watch.Pixels()[0], kRed);
    EXPECT_EQ(watch.Pixels()[1], kRed);
    EXPECT_NE(watch.Pixels()[2], kRed);
    EXPECT_GT(watch.ClientWidth(), 12);
    // Only the click in the left third opens the home page.
    EXPECT_EQ(shell.opened,
              (std::vector<std::u16string>{u"open http://127.0.0.1:18731/ no-owner normal"}));
    RemoveFile(logoPath);
}

}  // namespace
