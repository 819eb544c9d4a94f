// The start-up sequence: what the window shows when it is first drawn, and which commands ran
// before it, in order.
#include "MainWindowFixture.h"

namespace mainwindow {
namespace {

struct OutcomeCase {
    const char* name;
    Server server;
    int otaRequests;
    std::vector<std::string> journal;  // up to the first display
    bool polling;
};

std::vector<OutcomeCase> OutcomeCases() {
    const std::vector<std::string> notUp = {kDistroList, WebSocketEdit("192.168.1.20"), kKeepAlive};
    return {
        {"DistroStopped", Server::DistroStopped, 0, kNetworkSetup + notUp, true},
        {"OtaDown", Server::OtaDown, 1, kNetworkSetup + notUp, true},
        {"Up", Server::Up, 1, kNetworkSetup + std::vector<std::string>{kDistroList} + kNetworkSetup,
         false},
    };
}

void PrintTo(const OutcomeCase& c, std::ostream* os) { *os << c.name; }

class StartupOutcome : public MainWindowTest, public ::testing::WithParamInterface<OutcomeCase> {};

TEST_P(StartupOutcome, FirstCheckDecidesTheRestOfTheSequence) {
    const OutcomeCase& c = GetParam();
    SetServer(c.server);
    ui.Then([&] {
        EXPECT_EQ(Journal(), c.journal);
        EXPECT_EQ(http.RequestCount(), c.otaRequests);
        EXPECT_EQ(ui.Text(IDC_NOTICE), kNoticeText);
        EXPECT_EQ(ui.Text(IDC_STATUS),
                  c.server == Server::Up ? RunningText(u"192.168.1.20") : kStartingText);

        const HeadlessTimer* logo = Main().Timer(1);
        ASSERT_NE(logo, nullptr);
        EXPECT_EQ(logo->periodMs, 900000u);
        const HeadlessTimer* poll = Main().Timer(2);
        if (c.polling) {
            ASSERT_NE(poll, nullptr);
            EXPECT_EQ(poll->periodMs, 5000u);
        } else {
            EXPECT_EQ(poll, nullptr);
        }
    });
    Run();
    EXPECT_EQ(Journal().back(), kShutdown);
}

INSTANTIATE_TEST_SUITE_P(Server, StartupOutcome, ::testing::ValuesIn(OutcomeCases()),
                         [](const auto& info) { return std::string(info.param.name); });

using StartupTest = MainWindowTest;

TEST_F(StartupTest, CompletesTheWindowBeforeTheNetworkSetUp) {
    ui.Then([&] {
        HeadlessDialog& main = Main();
        const std::vector<HeadlessMenuItem> tail(main.systemMenu.end() - 2, main.systemMenu.end());
        ASSERT_EQ(tail.size(), 2u);
        EXPECT_EQ(tail[0].flags & 0x0800u, 0x0800u);  // separator
        EXPECT_EQ(tail[1], (HeadlessMenuItem{0, 0x0010, u"关于 Quellor(&A)..."}));
        EXPECT_NE(main.bigIcon, port::kNoHandle);
        EXPECT_EQ(main.bigIcon, main.smallIcon);
        EXPECT_EQ(main.bigIcon, ui.LoadIcon(128));

        ASSERT_EQ(shell.downloads.size(), 1u);
        EXPECT_EQ(shell.downloads[0].url, QUELLOR_LOGO_URL);
        EXPECT_EQ(shell.downloads[0].path, u"C:\\Temp\\applogo.png");
    });
    // The download comes before any command runs.
    shell.onDownload = [&](const FakeShell::Download&) { EXPECT_TRUE(Journal().empty()); };
    Run();
}

// An empty LAN address would write "ws://:8000/tarvino/v1/" into the server's configuration;
// the write is left out, the rest goes on.
TEST_F(StartupTest, EmptyLanAddressWritesNoWebSocketAddress) {
    SetLanAddress("");
    ui.Then([&] {
        EXPECT_EQ(Journal(), (kNetworkSetup + std::vector<std::string>{kDistroList, kKeepAlive}));
        for (const std::string& line : Journal()) {
            EXPECT_EQ(line.find(".server.websocket"), std::string::npos) << line;
        }
        ASSERT_NE(Main().Timer(2), nullptr);
        EXPECT_EQ(Main().Timer(2)->periodMs, 5000u);
        EXPECT_EQ(ui.Text(IDC_STATUS), kStartingText);
    });
    Run();
}

TEST_F(StartupTest, NoCommandStartingStillShowsTheWindowWithBothTimers) {
    runner.processes.SetResponder([](const CString&) {
        FakeProcesses::Reply reply;
        reply.startError = 2;  // file not found
        return reply;
    });
    runner.processes.ReplyTo(u"wsl -l -v", [] {
        FakeProcesses::Reply reply;
        reply.startError = 2;
        return reply;
    }());
    shell.result = FakeShell::kInetDownloadFailure;
    ui.Then([&] {
        EXPECT_EQ(ui.Text(IDC_NOTICE), kNoticeText);
        EXPECT_EQ(ui.Text(IDC_STATUS), kStartingText);
        EXPECT_NE(Main().Timer(1), nullptr);
        EXPECT_NE(Main().Timer(2), nullptr);
        EXPECT_EQ(Main().invalidations, 0);
    });
    Run();
}

TEST_F(StartupTest, NoAboutItemWithoutItsTextOrWithoutASystemMenu) {
    struct Case {
        const char* name;
        bool removeString;
        bool removeSystemMenu;
    };
    for (const Case& c :
         {Case{"string 101 missing", true, false}, Case{"string 101 empty", false, false},
          Case{"no system menu", false, true}}) {
        SCOPED_TRACE(c.name);
        HeadlessWindows local;
        if (c.removeString) {
            local.resources.strings.erase(IDS_ABOUTBOX);
        } else if (!c.removeSystemMenu) {
            local.resources.strings[IDS_ABOUTBOX] = u"";
        }
        if (c.removeSystemMenu) {
            local.resources.dialogs[IDD_QUELLOR_DIALOG].style &= ~0x00080000u;  // WS_SYSMENU
        }
        port::Platform platform = port::Current();
        local.FillInto(platform);
        port::ScopedInstall install(platform);

        CQuellorDlg window;
        std::vector<HeadlessMenuItem> menu;
        local.Then([&] {
            menu = local.Active().systemMenu;
            EXPECT_EQ(local.Text(IDC_STATUS), kStartingText);
            EXPECT_NE(local.Active().Timer(2), nullptr);
        });
        local.Then([&] { local.CloseBox(); });
        window.DoModal();
        for (const HeadlessMenuItem& item : menu) EXPECT_NE(item.id, 0x0010u);
        if (!menu.empty()) {
            EXPECT_EQ(menu.back().flags & 0x0800u, 0u) << "separator appended";
        }
    }
}

}  // namespace
}  // namespace mainwindow
