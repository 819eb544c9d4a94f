// The sub-dialogs opened from the real main window over the whole fake platform, with the
// application's main-window pointer set as the application's start-up sets it. The start-up
// finds the distribution stopped, so a polling series of timer 2 (5000 ms) runs while the
// tests open their dialogs.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Afx.h"
#include "unit/mainwindow/MainWindowFixture.h"

namespace dialogs {

inline constexpr const char16_t* kRestartingText = u"AI 语音服务器正在重启...";

inline std::string KeyEdit(const std::string& key) {
    return "hidden 3000 wsl -d ROZivuvarud -u root -e bash -c \"yq -i "
           "'.LLM.ChatGLMLLM.api_key = \\\"" +
           key + "\\\"' /root/tarvino-server/data/.config.yaml\"";
}
inline std::string VoiceEdit(const std::string& voice) {
    return "hidden 3000 wsl -d ROZivuvarud -u root -e bash -c \"yq -i '.TTS.EdgeTTS.voice = "
           "\\\"" +
           voice + "\\\"' /root/tarvino-server/data/.config.yaml\"";
}
inline const std::string kRestart =
    "hidden 15000 wsl -d ROZivuvarud -u root -e bash -c \"docker compose -f "
    "/root/tarvino-server/docker-compose.yml restart\"";

class DialogTest : public mainwindow::MainWindowTest {
protected:
    DialogTest() {
        m_app = AfxGetApp();
        if (m_app == nullptr) {
            m_ownApp = std::make_unique<CWinApp>(u"Quellor");
            m_app = m_ownApp.get();
        }
        m_app->m_pMainWnd = &dlg;
    }
    ~DialogTest() override { m_app->m_pMainWnd = nullptr; }

    // The journal from here on, for the step that follows.
    void Mark() { m_mark = Journal().size(); }
    std::vector<std::string> SinceMark() const {
        const std::vector<std::string> all = Journal();
        return std::vector<std::string>(all.begin() + static_cast<long>(m_mark), all.end());
    }

    // From here on, what the main window shows and timer 2's period as each command runs.
    void RecordMainWindowAtEachRun() {
        runner.processes.SetResponder([this](const CString&) {
            m_statusAtRun.push_back(Main().Text(IDC_STATUS));
            m_pollPeriodAtRun.push_back(Main().Timer(2)->periodMs);
            return FakeProcesses::Reply{};
        });
    }
    // The road after a change: the write under the starting text, then the restarting text,
    // then the restart, and only then timer 2 armed with 3000 ms.
    void ExpectRestartRoadAfterTheWrite() {
        runner.processes.SetResponder(nullptr);
        EXPECT_EQ(m_statusAtRun,
                  (std::vector<std::u16string>{mainwindow::kStartingText, kRestartingText}));
        EXPECT_EQ(m_pollPeriodAtRun, (std::vector<uint32_t>{5000, 5000}));
        EXPECT_EQ(ui.Text(IDC_STATUS), kRestartingText);
        ASSERT_NE(Main().Timer(2), nullptr);
        EXPECT_EQ(Main().Timer(2)->periodMs, 3000u);
        EXPECT_EQ(Main().Timer(2)->dueAt, ui.Now() + 3000);
    }

    // What Cancel and the like must leave alone: the status text and both timers as armed.
    struct MainState {
        std::u16string status;
        bool poll = false;
        uint32_t pollPeriod = 0;
        uint64_t pollDue = 0;
        bool logo = false;
        uint64_t logoDue = 0;
        friend bool operator==(const MainState&, const MainState&) = default;
    };
    MainState Snapshot() {
        MainState state;
        state.status = Main().Text(IDC_STATUS);
        if (const HeadlessTimer* poll = Main().Timer(2)) {
            state.poll = true;
            state.pollPeriod = poll->periodMs;
            state.pollDue = poll->dueAt;
        }
        if (const HeadlessTimer* logo = Main().Timer(1)) {
            state.logo = true;
            state.logoDue = logo->dueAt;
        }
        return state;
    }

private:
    CWinApp* m_app = nullptr;
    std::unique_ptr<CWinApp> m_ownApp;
    size_t m_mark = 0;
    std::vector<std::u16string> m_statusAtRun;
    std::vector<uint32_t> m_pollPeriodAtRun;
};

}  // namespace dialogs
