// A stand-in for netsh.exe that keeps firewall rules and IPv4 port forwards in the state folder,
// one per line, as the machine would keep them: an add of a firewall rule adds one more rule
// (names need not be unique), a delete removes every rule of that name and fails when there is
// none; a forward is keyed by its listen address and port, an add replaces it.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "SimState.h"

namespace {

using Params = std::vector<std::pair<std::wstring, std::wstring>>;  // key (lower case), value

bool ParseParams(const std::vector<std::wstring>& args, size_t from, Params& params) {
    for (size_t i = from; i < args.size(); ++i) {
        size_t eq = args[i].find(L'=');
        if (eq == std::wstring::npos || eq == 0) return false;
        params.emplace_back(sim::Lower(args[i].substr(0, eq)), args[i].substr(eq + 1));
    }
    return true;
}

const std::wstring* Find(const Params& params, const wchar_t* key) {
    for (const auto& [k, v] : params)
        if (k == key) return &v;
    return nullptr;
}

// A stored entry: tab-separated key=value fields, UTF-8.
std::string Entry(const Params& params) {
    std::string line;
    for (const auto& [k, v] : params) line += (line.empty() ? "" : "\t") + sim::Utf8(k + L"=" + v);
    return line;
}

Params ParseEntry(const std::string& line) {
    Params params;
    size_t at = 0;
    while (at <= line.size()) {
        size_t tab = line.find('\t', at);
        if (tab == std::string::npos) tab = line.size();
        std::wstring field = sim::Wide(line.substr(at, tab - at));
        size_t eq = field.find(L'=');
        if (eq != std::wstring::npos)
            params.emplace_back(field.substr(0, eq), field.substr(eq + 1));
        at = tab + 1;
    }
    return params;
}

std::vector<std::string> LoadEntries(const wchar_t* file) {
    std::string text;
    sim::ReadFileBytes(sim::StatePath(file), text);
    std::vector<std::string> entries;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        if (end > at) entries.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return entries;
}

void SaveEntries(const wchar_t* file, const std::vector<std::string>& entries) {
    std::string text;
    for (const auto& e : entries) text += e + "\n";
    sim::WriteFileAtomic(sim::StatePath(file), text);
}

int Say(const char* text, int code) {
    sim::WriteOut(text);
    return code;
}

const char kBadValue[] = "A specified value is not valid.\r\n\r\n";

int FirewallAdd(const Params& params) {
    const std::wstring* name = Find(params, L"name");
    const std::wstring* dir = Find(params, L"dir");
    const std::wstring* action = Find(params, L"action");
    if (!name || name->empty() || !dir || !action) return Say(kBadValue, 1);
    if (sim::Lower(*dir) != L"in" && sim::Lower(*dir) != L"out") return Say(kBadValue, 1);
    std::wstring act = sim::Lower(*action);
    if (act != L"allow" && act != L"block" && act != L"bypass") return Say(kBadValue, 1);
    sim::Lock lock;
    auto rules = LoadEntries(L"firewall.txt");
    rules.push_back(Entry(params));
    SaveEntries(L"firewall.txt", rules);
    return Say("Ok.\r\n\r\n", 0);
}

int FirewallDelete(const Params& params) {
    const std::wstring* name = Find(params, L"name");
    if (!name) return Say(kBadValue, 1);
    sim::Lock lock;
    auto rules = LoadEntries(L"firewall.txt");
    size_t before = rules.size();
    std::erase_if(rules, [&](const std::string& rule) {
        Params stored = ParseEntry(rule);
        const std::wstring* storedName = Find(stored, L"name");
        if (!storedName || *storedName != *name) return false;
        // Further criteria narrow the match, as the real tool's do.
        for (const auto& [k, v] : params) {
            if (k == L"name") continue;
            const std::wstring* s = Find(stored, k.c_str());
            if (!s || sim::Lower(*s) != sim::Lower(v)) return false;
        }
        return true;
    });
    size_t removed = before - rules.size();
    if (removed == 0) return Say("\r\nNo rules match the specified criteria.\r\n\r\n", 1);
    SaveEntries(L"firewall.txt", rules);
    sim::WriteOut("\r\nDeleted " + std::to_string(removed) + " rule(s).\r\nOk.\r\n\r\n");
    return 0;
}

bool SameListener(const Params& stored, const std::wstring& address, const std::wstring& port) {
    const std::wstring* a = Find(stored, L"listenaddress");
    const std::wstring* p = Find(stored, L"listenport");
    return a && p && sim::Lower(*a) == sim::Lower(address) && *p == port;
}

int ForwardAdd(const Params& params) {
    const std::wstring* port = Find(params, L"listenport");
    const std::wstring* target = Find(params, L"connectaddress");
    if (!port || port->empty() || !target || target->empty())
        return Say("The parameter is incorrect.\r\n\r\n", 1);
    const std::wstring* address = Find(params, L"listenaddress");
    const std::wstring* connectPort = Find(params, L"connectport");
    std::wstring listen = address ? *address : L"*";
    Params entry = {{L"listenaddress", listen},
                    {L"listenport", *port},
                    {L"connectaddress", *target},
                    {L"connectport", connectPort ? *connectPort : *port}};
    sim::Lock lock;
    auto forwards = LoadEntries(L"portproxy.txt");
    std::erase_if(forwards,
                  [&](const std::string& f) { return SameListener(ParseEntry(f), listen, *port); });
    forwards.push_back(Entry(entry));
    SaveEntries(L"portproxy.txt", forwards);
    return Say("\r\n", 0);
}

int ForwardDelete(const Params& params) {
    const std::wstring* port = Find(params, L"listenport");
    if (!port || port->empty()) return Say("The parameter is incorrect.\r\n\r\n", 1);
    const std::wstring* address = Find(params, L"listenaddress");
    std::wstring listen = address ? *address : L"*";
    sim::Lock lock;
    auto forwards = LoadEntries(L"portproxy.txt");
    size_t before = forwards.size();
    std::erase_if(forwards,
                  [&](const std::string& f) { return SameListener(ParseEntry(f), listen, *port); });
    if (forwards.size() == before)
        return Say("The system cannot find the file specified.\r\n\r\n", 1);
    SaveEntries(L"portproxy.txt", forwards);
    return Say("\r\n", 0);
}

bool Words(const std::vector<std::wstring>& args, const std::vector<const wchar_t*>& words) {
    if (args.size() < words.size()) return false;
    size_t i = 0;
    for (const wchar_t* w : words)
        if (sim::Lower(args[i++]) != w) return false;
    return true;
}

}  // namespace

int main() {
    sim::Journal(L"netsh");
    std::wstring text = sim::ArgumentText(sim::RawCommandLine());
    std::vector<std::wstring> args = sim::SplitArguments(text);
    Params params;
    using Handler = int (*)(const Params&);
    struct Command {
        std::vector<const wchar_t*> words;
        Handler handler;
    };
    const Command commands[] = {
        {{L"advfirewall", L"firewall", L"add", L"rule"}, FirewallAdd},
        {{L"advfirewall", L"firewall", L"delete", L"rule"}, FirewallDelete},
        {{L"interface", L"portproxy", L"add", L"v4tov4"}, ForwardAdd},
        {{L"interface", L"portproxy", L"delete", L"v4tov4"}, ForwardDelete},
    };
    for (const auto& command : commands) {
        if (!Words(args, command.words)) continue;
        if (!ParseParams(args, command.words.size(), params)) return Say(kBadValue, 1);
        return command.handler(params);
    }
    sim::WriteOut("The following command was not found: " + sim::Utf8(text) + ".\r\n");
    return 1;
}
