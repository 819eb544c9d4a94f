// The main window over the whole fake platform: headless dialogs, scripted commands, HTTP,
// network, paths, shell, clock and images. A test scripts what the user does while the window
// is open with ui.Then(...) and runs it with Run().
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake/FakeClock.h"
#include "fake/FakeFiles.h"
#include "fake/FakeHttp.h"
#include "fake/FakeImages.h"
#include "fake/FakeNetwork.h"
#include "fake/FakeRunnerPlatform.h"
#include "fake/FakeShell.h"
#include "fake/HeadlessWindows.h"
#include "panel/QuellorDlg.h"

namespace mainwindow {

inline constexpr const char16_t* kStartingText = u"AI 语音服务器正在启动...";
inline constexpr const char16_t* kNoticeText =
    u"尊敬的用户，您好，您当前的大语言模型使用的是作者用于测试的智普免费 Key，"
    u"为了确保您全程体验的稳定性和安全性，请尽快点击下方按钮，置换自己的智普免费 Key...";
inline std::u16string RunningText(const std::u16string& address) {
    return u"\n\nAI 语音服务器运行中\n连接地址->http://" + address + u":8003/tarvino/ota/";
}

// What the journal shows for one run of the network set-up when the distribution is not
// behind NAT: the four firewall commands and the route probe.
inline const std::vector<std::string> kNetworkSetup = {
    "hidden 3000 netsh advfirewall firewall delete rule name=\"开放TCP - 8000\"",
    "hidden 3000 netsh advfirewall firewall add rule name=\"开放TCP - 8000\" dir=in "
    "action=allow protocol=TCP localport=8000",
    "hidden 3000 netsh advfirewall firewall delete rule name=\"开放TCP - 8003\"",
    "hidden 3000 netsh advfirewall firewall add rule name=\"开放TCP - 8003\" dir=in "
    "action=allow protocol=TCP localport=8003",
    "captured wsl -d ROZivuvarud -u root -e ip route get 8.8.8.8",
};
inline const std::string kDistroList = "captured wsl -l -v";
inline const std::string kKeepAlive =
    "hidden 10000 start /b wsl -d ROZivuvarud -u root -e bash -c \"tail -f /dev/null\"";
inline std::string WebSocketEdit(const std::string& address) {
    return "hidden 3000 wsl -d ROZivuvarud -u root -e bash -c \"yq -i '.server.websocket = "
           "\\\"ws://" +
           address + ":8000/tarvino/v1/\\\"' /root/tarvino-server/data/.config.yaml\"";
}
inline const std::string kShutdown = "hidden 5000 wsl -t ROZivuvarud";

inline std::vector<std::string> operator+(std::vector<std::string> a,
                                          const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The distribution state the first check and the polling see.
enum class Server { DistroStopped, OtaDown, Up };

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() : m_install(Fill()) {
        // The count is the process's, not the window's: a case ended mid-series leaves it
        // behind.
        g_pollTicks = 0;
        SetLanAddress("192.168.1.20");
        SetServer(Server::DistroStopped);
        clock.uptimeMs = 3600000;
    }

    // Every lookup from now on finds this address; an empty one makes every lookup fail.
    void SetLanAddress(const std::string& address) {
        net.adapterAnswers.clear();
        if (address.empty()) return;
        net.bestInterfaceIndex = 7;
        for (int i = 0; i < 64; ++i) {
            net.adapterAnswers.push_back({0, 0, {fake::FakeNetwork::Adapter(7, 7, {address})}});
        }
    }

    void SetServer(Server state) {
        const std::u16string list =
            u"  NAME           STATE      VERSION\r\n* ROZivuvarud    " +
            std::u16string(state == Server::DistroStopped ? u"Stopped" : u"Running") + u"    2\r\n";
        runner.processes.ReplyOutput(u"wsl -l -v", Utf16Bytes(list));
        if (state == Server::Up) {
            http.SetAnswer("{\"websocket\":\"ws://192.168.1.20:8000/tarvino/v1/\"}");
        } else {
            http.SetDown();
        }
    }

    // Opens the main window, plays the script, and closes it with the close box at the end.
    void Run() {
        ui.Then([this] { ui.CloseBox(); });
        dlg.DoModal();
        EXPECT_EQ(ui.RemainingSteps(), 0u);
    }

    // Each run as "hidden <limit> <command>" or "captured <command>".
    std::vector<std::string> Journal() const {
        std::vector<std::string> out;
        for (const FakeProcesses::Run& run : runner.processes.Runs()) {
            if (run.kind == FakeProcesses::Kind::Hidden) {
                out.push_back("hidden " + std::to_string(run.timeoutMs) + " " +
                              run.command.ToUtf8());
            } else {
                out.push_back("captured " + run.command.ToUtf8());
            }
        }
        return out;
    }
    int Checks() const {
        int count = 0;
        for (const std::string& line : Journal()) count += line == kDistroList ? 1 : 0;
        return count;
    }

    HeadlessDialog& Main() { return *ui.Find(IDD_QUELLOR_DIALOG); }

    static std::string Utf16Bytes(const std::u16string& text) {
        std::string bytes;
        for (char16_t unit : text) {
            bytes += static_cast<char>(unit & 0xFF);
            bytes += static_cast<char>(unit >> 8);
        }
        return bytes;
    }

    HeadlessWindows ui;
    FakeRunnerParts runner;
    FakeHttp http;
    fake::FakeNetwork net;
    FakeFiles files;
    FakeShell shell;
    FakeClock clock;
    FakeImages images;

private:
    port::Platform Fill() {
        port::Platform platform = port::Current();
        ui.FillInto(platform);
        runner.FillInto(platform);
        http.FillInto(platform);
        platform.network = &net;
        files.FillInto(platform);
        shell.FillInto(platform);
        clock.FillInto(platform);
        images.FillInto(platform);
        return platform;
    }
    port::ScopedInstall m_install;

protected:
    CQuellorDlg dlg;  // built once the fakes are installed: it loads its icon
};

}  // namespace mainwindow
