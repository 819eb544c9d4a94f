// The simulated wsl.exe and netsh.exe, reached the way the panel reaches them: through
// cmd.exe started with ShellExecuteEx, and directly with CreateProcess, from a current
// directory that holds them.
#include <windows.h>
// shellapi.h below needs windows.h before it.
#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "SimState.h"

namespace {

class SimTools : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        dir_ = std::wstring(temp) + L"quellor-sim-" + std::to_wstring(GetCurrentProcessId()) +
               L"-" + std::to_wstring(counter_++);
        CreateDirectoryW(dir_.c_str(), nullptr);
        SetEnvironmentVariableW(L"QUELLOR_SIM_DIR", dir_.c_str());
        SetEnvironmentVariableW(L"WSL_UTF8", nullptr);
    }

    void TearDown() override {
        Hidden(L"wsl -t ROZivuvarud");
        WIN32_FIND_DATAW found;
        HANDLE h = FindFirstFileW((dir_ + L"\\*").c_str(), &found);
        if (h != INVALID_HANDLE_VALUE) {
            do DeleteFileW((dir_ + L"\\" + found.cFileName).c_str());
            while (FindNextFileW(h, &found));
            FindClose(h);
        }
        RemoveDirectoryW(dir_.c_str());
    }

    // As the hidden runner starts a command: cmd.exe /c LINE, no window; the exit code, or -1.
    static long long Hidden(const std::wstring& line, DWORD limitMs = 10000) {
        std::wstring parameters = L"/c " + line;
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_NOCLOSEPROCESS;
        info.lpFile = L"cmd.exe";
        info.lpParameters = parameters.c_str();
        info.nShow = SW_HIDE;
        if (!ShellExecuteExW(&info) || !info.hProcess) return -1;
        long long code = -1;
        DWORD exit = 0;
        if (WaitForSingleObject(info.hProcess, limitMs) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(info.hProcess, &exit))
            code = exit;
        else
            TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hProcess);
        return code;
    }

    // As the captured-output runner starts a command: CreateProcess with both output streams on
    // one pipe. The bytes written; the exit code in `code`.
    static std::string Captured(const std::wstring& line, DWORD* code = nullptr) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE read = nullptr, write = nullptr;
        if (!CreatePipe(&read, &write, &inherit, 0)) return "pipe failed";
        SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        startup.hStdOutput = write;
        startup.hStdError = write;
        PROCESS_INFORMATION process{};
        std::vector<wchar_t> copy(line.begin(), line.end());
        copy.push_back(0);
        BOOL started = CreateProcessW(nullptr, copy.data(), nullptr, nullptr, TRUE,
                                      CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
        CloseHandle(write);
        std::string out;
        if (!started) {
            CloseHandle(read);
            return "CreateProcess failed";
        }
        char buffer[1024];
        DWORD got = 0;
        while (ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got > 0)
            out.append(buffer, got);
        WaitForSingleObject(process.hProcess, 10000);
        DWORD exit = 0;
        GetExitCodeProcess(process.hProcess, &exit);
        if (code) *code = exit;
        CloseHandle(read);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        return out;
    }

    std::string File(const wchar_t* name) const {
        std::string bytes;
        sim::ReadFileBytes(dir_ + L"\\" + name, bytes);
        return bytes;
    }

    void WriteState(const std::string& text) const {
        sim::WriteFileAtomic(dir_ + L"\\state", text);
    }

    std::string StateValue(const std::string& key) const {
        std::string text = File(L"state");
        size_t at = text.find(key + "=");
        if (at == std::string::npos) return {};
        size_t end = text.find('\n', at);
        return text.substr(at + key.size() + 1, end - at - key.size() - 1);
    }

    // The argument field of each journal line, in order.
    std::vector<std::string> JournalArgs(const std::string& program) const {
        std::vector<std::string> args;
        std::string text = File(L"journal.log");
        size_t at = 0;
        while (at < text.size()) {
            size_t end = text.find('\n', at);
            std::string line = text.substr(at, end - at);
            size_t t1 = line.find('\t'), t2 = line.find('\t', t1 + 1), t3 = line.find('\t', t2 + 1);
            if (line.substr(t2 + 1, t3 - t2 - 1) == program) args.push_back(line.substr(t3 + 1));
            at = end + 1;
        }
        return args;
    }

    static std::string Utf16(const std::wstring& text) {
        return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    }

    std::wstring dir_;
    static inline int counter_ = 0;
};

const wchar_t kListStopped[] =
    L"  NAME           STATE           VERSION\r\n* ROZivuvarud    Stopped         2\r\n";
const wchar_t kListRunning[] =
    L"  NAME           STATE           VERSION\r\n* ROZivuvarud    Running         2\r\n";
const wchar_t kKeepAlive[] =
    L"start /b wsl -d ROZivuvarud -u root -e bash -c \"tail -f /dev/null\"";

TEST_F(SimTools, JournalsEachRunWithItsArgumentsAsReceivedThroughCmd) {
    const std::wstring lines[] = {
        L"netsh advfirewall firewall delete rule name=\"开放TCP - 8000\"",
        L"netsh advfirewall firewall add rule name=\"开放TCP - 8000\" dir=in action=allow "
        L"protocol=TCP localport=8000",
        L"wsl -d ROZivuvarud -u root -e bash -c \"yq -i '.server.websocket = "
        L"\\\"ws://192.168.1.20:8000/tarvino/v1/\\\"' /root/tarvino-server/data/.config.yaml\"",
        L"wsl -t ROZivuvarud",
    };
    for (const auto& line : lines) Hidden(line);
    // start /b hands its program the rest of the line.
    Hidden(kKeepAlive);
    for (int i = 0; i < 100 && StateValue("keepalive").empty(); ++i) Sleep(50);
    Hidden(L"wsl -t ROZivuvarud");
    std::string journal = File(L"journal.log");
    std::vector<std::string> got;
    size_t at = 0;
    while (at < journal.size()) {
        size_t end = journal.find('\n', at);
        std::string line = journal.substr(at, end - at);
        size_t t1 = line.find('\t'), t2 = line.find('\t', t1 + 1), t3 = line.find('\t', t2 + 1);
        ASSERT_NE(t3, std::string::npos) << line;
        // Seconds with milliseconds, then the process id.
        EXPECT_EQ(line[t1 - 4], '.') << line;
        EXPECT_GT(std::stoul(line.substr(t1 + 1, t2 - t1 - 1)), 0u) << line;
        got.push_back(line.substr(t2 + 1, t3 - t2 - 1) + " " + line.substr(t3 + 1));
        at = end + 1;
    }
    ASSERT_EQ(got.size(), std::size(lines) + 2);
    for (size_t i = 0; i < std::size(lines); ++i) EXPECT_EQ(got[i], sim::Utf8(lines[i]));
    EXPECT_EQ(got[4], sim::Utf8(kKeepAlive + 9));
    EXPECT_EQ(got[5], "wsl -t ROZivuvarud");
}

TEST_F(SimTools, ListsTheDistributionInUtf16OrUtf8WithItsState) {
    DWORD code = 99;
    EXPECT_EQ(Captured(L"wsl -l -v", &code), Utf16(kListStopped));
    EXPECT_EQ(code, 0u);

    WriteState("distro=Running\n");
    EXPECT_EQ(Captured(L"wsl -l -v"), Utf16(kListRunning));

    SetEnvironmentVariableW(L"WSL_UTF8", L"1");
    EXPECT_EQ(Captured(L"wsl -l -v"), sim::Utf8(kListRunning));
}

TEST_F(SimTools, RouteProbePrintsTheChosenRouteOrTheNatDefault) {
    const wchar_t probe[] = L"wsl -d ROZivuvarud -u root -e ip route get 8.8.8.8";
    EXPECT_EQ(Captured(probe),
              "8.8.8.8 via 172.29.96.1 dev eth0 src 172.29.100.139 uid 0 \n    cache \n");
    sim::WriteFileAtomic(dir_ + L"\\route.txt",
                         "8.8.8.8 via 192.168.1.1 dev eth0 src 192.168.1.20 \n");
    EXPECT_EQ(Captured(probe), "8.8.8.8 via 192.168.1.1 dev eth0 src 192.168.1.20 \n");
}

TEST_F(SimTools, RefusesOtherDistributionsAndUnknownArguments) {
    struct Case {
        const wchar_t* line;
        long long code;
    } cases[] = {
        {L"wsl -t Ubuntu", 1},
        {L"wsl -d Ubuntu -u root -e ip route get 8.8.8.8", 1},
        {L"wsl -d ROZivuvarud -u nobody -e ip route get 8.8.8.8", 1},
        {L"wsl --frobnicate", 1},
        {L"wsl -d ROZivuvarud -u root -e bash -c \"rm -rf /\"", 127},
        {L"wsl -d ROZivuvarud -u root -e bash -c \"yq -i '.a = \\\"b\\\"' /etc/other.yaml\"", 1},
        {L"netsh advfirewall reset", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(Hidden(c.line), c.code) << sim::Utf8(c.line);
    EXPECT_EQ(File(L"config.yaml"), "");
}

TEST_F(SimTools, FirewallRulesBehaveAsTheMachineKeepsThem) {
    const std::wstring del = L"netsh advfirewall firewall delete rule name=\"开放TCP - 8000\"";
    const std::wstring add =
        L"netsh advfirewall firewall add rule name=\"开放TCP - 8000\" dir=in "
        L"action=allow protocol=TCP localport=8000";
    const std::string rule =
        sim::Utf8(L"name=开放TCP - 8000\tdir=in\taction=allow\tprotocol=TCP\tlocalport=8000\n");
    EXPECT_EQ(Hidden(del), 1) << "delete of a missing rule fails";
    EXPECT_EQ(Hidden(add), 0);
    EXPECT_EQ(File(L"firewall.txt"), rule);
    EXPECT_EQ(Hidden(add), 0) << "a second add makes a second rule of the same name";
    EXPECT_EQ(File(L"firewall.txt"), rule + rule);
    EXPECT_EQ(Hidden(del), 0);
    EXPECT_EQ(File(L"firewall.txt"), "");
    EXPECT_EQ(Hidden(add), 0);
    EXPECT_EQ(Hidden(L"netsh advfirewall firewall delete rule name=\"开放TCP - 8003\""), 1);
    EXPECT_EQ(File(L"firewall.txt"), rule) << "a delete touches only its own name";
    EXPECT_EQ(Hidden(L"netsh advfirewall firewall add rule name=\"x\" dir=sideways action=allow"),
              1);
}

TEST_F(SimTools, PortForwardsAreKeyedByListenerAndReplacedByAdd) {
    const std::wstring del =
        L"netsh interface portproxy delete v4tov4 listenport=8000 listenaddress=0.0.0.0";
    const std::wstring add =
        L"netsh interface portproxy add v4tov4 listenport=8000 "
        L"listenaddress=0.0.0.0 connectport=8000 connectaddress=";
    EXPECT_EQ(Hidden(del), 1);
    EXPECT_EQ(Hidden(add + L"172.29.100.139"), 0);
    EXPECT_EQ(Hidden(add + L"localhost"), 0);
    EXPECT_EQ(
        File(L"portproxy.txt"),
        "listenaddress=0.0.0.0\tlistenport=8000\tconnectaddress=localhost\tconnectport=8000\n");
    EXPECT_EQ(Hidden(add), 1) << "an empty connect address is refused";
    EXPECT_EQ(Hidden(del), 0);
    EXPECT_EQ(File(L"portproxy.txt"), "");
}

TEST_F(SimTools, ConfigurationEditSetsTheDottedKeyAndKeepsTheRest) {
    sim::WriteFileAtomic(dir_ + L"\\config.yaml",
                         "# server settings\n"
                         "server:\n"
                         "  ip: 0.0.0.0\n"
                         "  websocket: ws://old/\n"
                         "LLM:\n"
                         "  ChatGLMLLM:\n"
                         "    api_key: old-key\n"
                         "  Other:\n"
                         "    api_key: keep\n");
    auto edit = [](const std::wstring& key, const std::wstring& value) {
        return L"wsl -d ROZivuvarud -u root -e bash -c \"yq -i '" + key + L" = \\\"" + value +
               L"\\\"' /root/tarvino-server/data/.config.yaml\"";
    };
    EXPECT_EQ(Hidden(edit(L".server.websocket", L"ws://192.168.1.20:8000/tarvino/v1/")), 0);
    EXPECT_EQ(Hidden(edit(L".LLM.ChatGLMLLM.api_key", L"my key 1")), 0);
    EXPECT_EQ(Hidden(edit(L".TTS.EdgeTTS.voice", L"zh-CN-XiaoyiNeural")), 0);
    EXPECT_EQ(File(L"config.yaml"),
              "# server settings\n"
              "server:\n"
              "  ip: 0.0.0.0\n"
              "  websocket: \"ws://192.168.1.20:8000/tarvino/v1/\"\n"
              "LLM:\n"
              "  ChatGLMLLM:\n"
              "    api_key: \"my key 1\"\n"
              "  Other:\n"
              "    api_key: keep\n"
              "TTS:\n"
              "  EdgeTTS:\n"
              "    voice: \"zh-CN-XiaoyiNeural\"\n");
    EXPECT_EQ(Hidden(edit(L".LLM.ChatGLMLLM.api_key", L"")), 0);
    EXPECT_NE(File(L"config.yaml").find("    api_key: \"\"\n"), std::string::npos);
}

TEST_F(SimTools, KeepAliveRunsTheDistributionUntilTerminate) {
    WriteState("boot_delay_ms=60000\n");
    ULONGLONG before = GetTickCount64();
    EXPECT_EQ(Hidden(kKeepAlive), 0);
    EXPECT_LT(GetTickCount64() - before, 5000u) << "cmd.exe returns, the keep-alive goes on";
    // The background wsl may still be starting when cmd.exe has ended.
    for (int i = 0; i < 100 && StateValue("keepalive").empty(); ++i) Sleep(50);
    EXPECT_EQ(StateValue("distro"), "Running");
    long long upAt = std::stoll(StateValue("server_up_at_ms"));
    EXPECT_NEAR(static_cast<double>(upAt - sim::NowMs()), 60000.0, 5000.0);

    std::string pid = StateValue("keepalive");
    ASSERT_FALSE(pid.empty());
    HANDLE keepAlive = OpenProcess(SYNCHRONIZE, FALSE, std::stoul(pid));
    ASSERT_NE(keepAlive, nullptr);
    EXPECT_EQ(WaitForSingleObject(keepAlive, 300), static_cast<DWORD>(WAIT_TIMEOUT));

    EXPECT_EQ(Hidden(L"wsl -t ROZivuvarud"), 0);
    EXPECT_EQ(WaitForSingleObject(keepAlive, 5000), WAIT_OBJECT_0);
    CloseHandle(keepAlive);
    EXPECT_EQ(StateValue("distro"), "Stopped");
    EXPECT_EQ(StateValue("server_up_at_ms"), "never");
    EXPECT_EQ(StateValue("keepalive"), "");
    EXPECT_EQ(Hidden(L"wsl -t ROZivuvarud"), 0) << "terminating a stopped distribution succeeds";
}

TEST_F(SimTools, RestartTakesTheServerDownForTheChosenDelay) {
    WriteState("distro=Running\nserver_up_at_ms=0\nrestart_delay_ms=4000\n");
    EXPECT_EQ(Hidden(L"wsl -d ROZivuvarud -u root -e bash -c \"docker compose -f "
                     L"/root/tarvino-server/docker-compose.yml restart\""),
              0);
    long long upAt = std::stoll(StateValue("server_up_at_ms"));
    EXPECT_NEAR(static_cast<double>(upAt - sim::NowMs()), 4000.0, 2000.0);
    EXPECT_EQ(StateValue("distro"), "Running");

    WriteState("distro=Running\nserver_up_at_ms=0\nrestart_delay_ms=-1\n");
    Hidden(
        L"wsl -d ROZivuvarud -u root -e bash -c \"docker compose -f "
        L"/root/tarvino-server/docker-compose.yml restart\"");
    EXPECT_EQ(StateValue("server_up_at_ms"), "never") << "a negative delay never comes back";
}

}  // namespace
