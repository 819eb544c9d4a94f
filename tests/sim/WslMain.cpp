// A stand-in for wsl.exe with one distribution, ROZivuvarud, whose state lives in the state
// folder (see README.md). It answers the distribution list, the route probe, the configuration
// edit, the compose restart, the keep-alive and the terminate command as the real tool does.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ConfigYaml.h"
#include "SimState.h"

namespace {

const wchar_t kDistro[] = L"ROZivuvarud";
const char kConfigPath[] = "/root/tarvino-server/data/.config.yaml";
const char kComposePath[] = "/root/tarvino-server/docker-compose.yml";
const char kDefaultRoute[] =
    "8.8.8.8 via 172.29.96.1 dev eth0 src 172.29.100.139 uid 0 \n    cache \n";

bool Utf8Output() {
    wchar_t value[8];
    DWORD n = GetEnvironmentVariableW(L"WSL_UTF8", value, 8);
    return n == 1 && value[0] == L'1';
}

// wsl's own texts: UTF-16LE unless WSL_UTF8=1.
std::string Own(const std::wstring& text) {
    if (Utf8Output()) return sim::Utf8(text);
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

int Fail(const std::wstring& message, int code = 1) {
    sim::WriteOut(Own(message));
    return code;
}

int List() {
    sim::State state = sim::State::Load();
    std::wstring stateWord = state.Running() ? L"Running" : L"Stopped";
    std::wstring name = kDistro;
    size_t width = (name.size() > 4 ? name.size() : 4) + 4;
    std::wstring out = L"  NAME" + std::wstring(width - 4, L' ') + L"STATE           VERSION\r\n";
    out += L"* " + name + std::wstring(width - name.size(), L' ') + stateWord +
           std::wstring(16 - stateWord.size(), L' ') + L"2\r\n";
    sim::WriteOut(Own(out));
    return 0;
}

void SetServerUpAfter(sim::State& state, int64_t delayMs) {
    state.Set("server_up_at_ms", delayMs < 0 ? "never" : std::to_string(sim::NowMs() + delayMs));
}

std::vector<std::string> PidList(const std::string& text) {
    std::vector<std::string> pids;
    size_t at = 0;
    while (at < text.size()) {
        size_t comma = text.find(',', at);
        if (comma == std::string::npos) comma = text.size();
        if (comma > at) pids.push_back(text.substr(at, comma - at));
        at = comma + 1;
    }
    return pids;
}

std::string JoinPids(const std::vector<std::string>& pids) {
    std::string out;
    for (const auto& pid : pids) out += (out.empty() ? "" : ",") + pid;
    return out;
}

int Terminate() {
    std::vector<std::string> keepAlives;
    {
        sim::Lock lock;
        sim::State state = sim::State::Load();
        keepAlives = PidList(state.Get("keepalive"));
        state.Set("distro", "Stopped");
        state.Set("server_up_at_ms", "never");
        state.Save();
    }
    // The keep-alive processes see the stop and end; a straggler is ended here.
    for (const auto& pid : keepAlives) {
        HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE,
                                     static_cast<DWORD>(std::strtoul(pid.c_str(), nullptr, 10)));
        if (!process) continue;
        if (WaitForSingleObject(process, 3000) != WAIT_OBJECT_0) TerminateProcess(process, 1);
        CloseHandle(process);
    }
    sim::WriteOut(Own(L"The operation completed successfully. \r\n"));
    return 0;
}

int KeepAlive() {
    const std::string self = std::to_string(GetCurrentProcessId());
    std::string boot;
    int64_t maxMs;
    {
        sim::Lock lock;
        sim::State state = sim::State::Load();
        if (!state.Running()) {
            state.Set("distro", "Running");
            state.Set("boot", std::to_string(state.GetInt("boot", 0) + 1));
            SetServerUpAfter(state, state.GetInt("boot_delay_ms", 0));
        }
        auto pids = PidList(state.Get("keepalive"));
        pids.push_back(self);
        state.Set("keepalive", JoinPids(pids));
        state.Save();
        boot = state.Get("boot");
        maxMs = state.GetInt("keepalive_max_ms", 1800000);
    }
    // tail -f /dev/null: lives while this boot of the distribution lasts, within a bound so a
    // forgotten run does not linger.
    int64_t until = sim::NowMs() + maxMs;
    int code = 0;
    while (sim::NowMs() < until) {
        Sleep(50);
        sim::State state = sim::State::Load();
        if (!state.Running() || state.Get("boot") != boot) {
            code = 1;
            break;
        }
    }
    sim::Lock lock;
    sim::State state = sim::State::Load();
    auto pids = PidList(state.Get("keepalive"));
    std::erase(pids, self);
    state.Set("keepalive", JoinPids(pids));
    state.Save();
    return code;
}

// bash's word splitting for the simple scripts the panel sends: blanks separate, single quotes
// take everything literally, double quotes and backslashes escape.
bool BashWords(const std::string& script, std::vector<std::string>& words) {
    words.clear();
    size_t i = 0, n = script.size();
    while (true) {
        while (i < n && (script[i] == ' ' || script[i] == '\t' || script[i] == '\n')) ++i;
        if (i >= n) return true;
        std::string word;
        while (i < n && script[i] != ' ' && script[i] != '\t' && script[i] != '\n') {
            char c = script[i];
            if (c == '\'') {
                size_t close = script.find('\'', i + 1);
                if (close == std::string::npos) return false;
                word += script.substr(i + 1, close - i - 1);
                i = close + 1;
            } else if (c == '"') {
                ++i;
                while (i < n && script[i] != '"') {
                    if (script[i] == '\\' && i + 1 < n &&
                        std::string("\"\\$`").find(script[i + 1]) != std::string::npos)
                        ++i;
                    word += script[i++];
                }
                if (i >= n) return false;
                ++i;
            } else if (c == '\\' && i + 1 < n) {
                word += script[i + 1];
                i += 2;
            } else {
                word += c;
                ++i;
            }
        }
        words.push_back(word);
    }
}

int EditConfig(const std::vector<std::string>& words) {
    if (words.size() != 4 || words[1] != "-i") {
        sim::WriteErr("Error: unknown command or flags for yq\n");
        return 1;
    }
    if (words[3] != kConfigPath) {
        sim::WriteErr("Error: open " + words[3] + ": no such file or directory\n");
        return 1;
    }
    std::vector<std::string> path;
    std::string value;
    if (!sim::ParseYqAssignment(words[2], path, value)) {
        sim::WriteErr("Error: '" + words[2] + "' cannot be parsed as an expression\n");
        return 1;
    }
    sim::Lock lock;
    std::string text;
    sim::ReadFileBytes(sim::StatePath(L"config.yaml"), text);
    sim::SetYamlString(text, path, value);
    return sim::WriteFileAtomic(sim::StatePath(L"config.yaml"), text) ? 0 : 1;
}

int Restart() {
    {
        sim::Lock lock;
        sim::State state = sim::State::Load();
        SetServerUpAfter(state, state.GetInt("restart_delay_ms", 0));
        state.Save();
    }
    sim::WriteErr(" Container tarvino-server  Restarting\n Container tarvino-server  Started\n");
    return 0;
}

int Bash(const std::vector<std::wstring>& args) {
    if (args.size() != 2 || args[0] != L"-c") {
        sim::WriteErr("bash: only -c SCRIPT is simulated\n");
        return 2;
    }
    std::vector<std::string> words;
    if (!BashWords(sim::Utf8(args[1]), words)) {
        sim::WriteErr("bash: -c: line 1: unexpected EOF while looking for matching quote\n");
        return 2;
    }
    if (words.empty()) return 0;
    if (words[0] == "yq") return EditConfig(words);
    if (words == std::vector<std::string>{"docker", "compose", "-f", kComposePath, "restart"})
        return Restart();
    if (words == std::vector<std::string>{"tail", "-f", "/dev/null"}) return KeepAlive();
    sim::WriteErr("bash: line 1: " + words[0] + ": command not found\n");
    return 127;
}

int Route(const std::vector<std::wstring>& args) {
    if (args.size() != 3 || args[0] != L"route" || args[1] != L"get") {
        sim::WriteErr("Command line is not complete. Try option \"help\"\n");
        return 1;
    }
    std::string route;
    if (!sim::ReadFileBytes(sim::StatePath(L"route.txt"), route)) route = kDefaultRoute;
    sim::WriteOut(route);
    return 0;
}

// -d NAME [-u USER] -e PROGRAM ARGS...
int InDistro(const std::vector<std::wstring>& args) {
    size_t i = 0;
    std::wstring name, user = L"root";
    while (i < args.size()) {
        const std::wstring& a = args[i];
        if ((a == L"-d" || a == L"--distribution") && i + 1 < args.size()) {
            name = args[i + 1];
            i += 2;
        } else if ((a == L"-u" || a == L"--user") && i + 1 < args.size()) {
            user = args[i + 1];
            i += 2;
        } else if (a == L"-e" || a == L"--exec") {
            ++i;
            break;
        } else {
            return Fail(
                L"Invalid command line argument: " + a +
                L"\r\nPlease use 'wsl.exe --help' to get a list of supported arguments.\r\n");
        }
    }
    if (name != kDistro)
        return Fail(
            L"There is no distribution with the supplied name.\r\n"
            L"Error code: Wsl/Service/WSL_E_DISTRO_NOT_FOUND\r\n");
    if (user != L"root") return Fail(L"User not found.\r\nError code: Wsl/Service/0x8007052b\r\n");
    if (i >= args.size()) return Fail(L"Only commands run with -e are simulated.\r\n");
    std::wstring program = args[i];
    std::vector<std::wstring> rest(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
    if (program == L"bash") return Bash(rest);
    if (program == L"ip") return Route(rest);
    sim::WriteErr("<3>WSL (1) ERROR: CreateProcessParseCommon:' " + sim::Utf8(program) +
                  "': execvpe failed: No such file or directory\n");
    return 1;
}

}  // namespace

int main() {
    sim::Journal(L"wsl");
    std::vector<std::wstring> args = sim::SplitArguments(sim::ArgumentText(sim::RawCommandLine()));
    if (args.empty()) return Fail(L"Only commands of the panel are simulated.\r\n");
    const std::wstring& first = args[0];
    if (args.size() == 2 && (first == L"-l" || first == L"--list") &&
        (args[1] == L"-v" || args[1] == L"--verbose"))
        return List();
    if (first == L"-t" || first == L"--terminate") {
        if (args.size() != 2 || args[1] != kDistro)
            return Fail(
                L"There is no distribution with the supplied name.\r\n"
                L"Error code: Wsl/Service/TerminateDistro/WSL_E_DISTRO_NOT_FOUND\r\n");
        return Terminate();
    }
    if (first == L"-d" || first == L"--distribution" || first == L"-u" || first == L"--user")
        return InDistro(args);
    return Fail(L"Invalid command line argument: " + first +
                L"\r\nPlease use 'wsl.exe --help' to get a list of supported arguments.\r\n");
}
