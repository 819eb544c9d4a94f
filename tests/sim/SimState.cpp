#include "SimState.h"

#include <cstdio>

namespace sim {

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), size);
    return out;
}

namespace {

std::wstring Environment(const wchar_t* name) {
    wchar_t buffer[32768];
    DWORD length = GetEnvironmentVariableW(name, buffer, 32768);
    if (length == 0 || length >= 32768) return {};
    return std::wstring(buffer, length);
}

// Wine maps a Unix path to a drive path itself; without that helper, Z: is the root.
std::wstring FromUnixPath(const std::wstring& path) {
    using ToDos = wchar_t* (*)(const char*);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto toDos = kernel ? reinterpret_cast<ToDos>(reinterpret_cast<void*>(
                              GetProcAddress(kernel, "wine_get_dos_file_name")))
                        : nullptr;
    if (toDos) {
        wchar_t* dos = toDos(Utf8(path).c_str());
        if (dos) {
            std::wstring result(dos);
            HeapFree(GetProcessHeap(), 0, dos);
            return result;
        }
    }
    std::wstring result = L"Z:" + path;
    for (auto& c : result)
        if (c == L'/') c = L'\\';
    return result;
}

HANDLE StdHandle(DWORD which) {
    HANDLE h = GetStdHandle(which);
    return (h == nullptr || h == INVALID_HANDLE_VALUE) ? nullptr : h;
}

void WriteTo(DWORD which, const std::string& bytes) {
    HANDLE h = StdHandle(which);
    if (!h || bytes.empty()) return;
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

std::wstring StateDir() {
    static std::wstring dir = [] {
        std::wstring d = Environment(L"QUELLOR_SIM_DIR");
        if (!d.empty() && d[0] == L'/') d = FromUnixPath(d);
        if (d.empty()) {
            wchar_t module[MAX_PATH];
            DWORD n = GetModuleFileNameW(nullptr, module, MAX_PATH);
            d.assign(module, n);
            size_t slash = d.find_last_of(L"\\/");
            d = slash == std::wstring::npos ? L"." : d.substr(0, slash);
        }
        while (d.size() > 3 && (d.back() == L'\\' || d.back() == L'/')) d.pop_back();
        CreateDirectoryW(d.c_str(), nullptr);
        return d;
    }();
    return dir;
}

std::wstring StatePath(const wchar_t* name) { return StateDir() + L"\\" + name; }

bool ReadFileBytes(const std::wstring& path, std::string& bytes) {
    bytes.clear();
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(h);
    return true;
}

bool WriteFileAtomic(const std::wstring& path, const std::string& bytes) {
    std::wstring temp = path + L".tmp" + std::to_wstring(GetCurrentProcessId());
    HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = bytes.empty() ||
              (WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
               written == bytes.size());
    CloseHandle(h);
    if (ok) ok = MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    if (!ok) DeleteFileW(temp.c_str());
    return ok;
}

bool AppendFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), FILE_APPEND_DATA,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    CloseHandle(h);
    return ok;
}

Lock::Lock() {
    file_ = CreateFileW(StatePath(L"lock").c_str(), GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) {
        file_ = nullptr;
        return;
    }
    OVERLAPPED at{};
    LockFileEx(file_, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at);
}

Lock::~Lock() {
    if (!file_) return;
    OVERLAPPED at{};
    UnlockFileEx(file_, 0, 1, 0, &at);
    CloseHandle(file_);
}

namespace {

const std::map<std::string, std::string>& Defaults() {
    static const std::map<std::string, std::string> defaults = {
        {"distro", "Stopped"},           {"boot", "0"},
        {"server_up_at_ms", "never"},    {"boot_delay_ms", "0"},
        {"restart_delay_ms", "0"},       {"keepalive", ""},
        {"keepalive_max_ms", "1800000"},
    };
    return defaults;
}

}  // namespace

State State::Load() {
    State state;
    state.values_ = Defaults();
    std::string text;
    ReadFileBytes(StatePath(L"state"), text);
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t eq = line.find('=');
        if (eq != std::string::npos && line[0] != '#')
            state.values_[line.substr(0, eq)] = line.substr(eq + 1);
        at = end + 1;
    }
    return state;
}

bool State::Save() const {
    std::string text;
    for (const auto& [key, value] : values_) text += key + "=" + value + "\n";
    return WriteFileAtomic(StatePath(L"state"), text);
}

std::string State::Get(const std::string& key) const {
    auto it = values_.find(key);
    return it == values_.end() ? std::string() : it->second;
}

void State::Set(const std::string& key, const std::string& value) { values_[key] = value; }

int64_t State::GetInt(const std::string& key, int64_t fallback) const {
    std::string text = Get(key);
    if (text.empty()) return fallback;
    char* end = nullptr;
    long long value = std::strtoll(text.c_str(), &end, 10);
    return (end && *end == '\0') ? value : fallback;
}

int64_t NowMs() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    uint64_t ticks = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<int64_t>((ticks - 116444736000000000ULL) / 10000);
}

std::wstring RawCommandLine() { return GetCommandLineW(); }

std::wstring ArgumentText(const std::wstring& line) {
    size_t i = 0;
    // The program token: a quoted stretch or everything up to the first blank or tab.
    if (i < line.size() && line[i] == L'"') {
        size_t close = line.find(L'"', 1);
        i = close == std::wstring::npos ? line.size() : close + 1;
    } else {
        while (i < line.size() && line[i] != L' ' && line[i] != L'\t') ++i;
    }
    while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) ++i;
    return line.substr(i);
}

std::vector<std::wstring> SplitArguments(const std::wstring& text) {
    std::vector<std::wstring> args;
    size_t i = 0, n = text.size();
    while (true) {
        while (i < n && (text[i] == L' ' || text[i] == L'\t')) ++i;
        if (i >= n) break;
        std::wstring arg;
        bool quoted = false;
        while (i < n) {
            wchar_t c = text[i];
            if (c == L'\\') {
                size_t run = 0;
                while (i < n && text[i] == L'\\') ++run, ++i;
                if (i < n && text[i] == L'"') {
                    arg.append(run / 2, L'\\');
                    if (run % 2) {
                        arg += L'"';
                        ++i;
                    }
                } else {
                    arg.append(run, L'\\');
                }
            } else if (c == L'"') {
                if (quoted && i + 1 < n && text[i + 1] == L'"') {
                    arg += L'"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else if ((c == L' ' || c == L'\t') && !quoted) {
                break;
            } else {
                arg += c;
                ++i;
            }
        }
        args.push_back(arg);
    }
    return args;
}

void Journal(const wchar_t* program) {
    int64_t now = NowMs();
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%lld.%03lld\t%lu\t", static_cast<long long>(now / 1000),
                  static_cast<long long>(now % 1000), GetCurrentProcessId());
    std::string line = stamp + Utf8(program) + "\t" + Utf8(ArgumentText(RawCommandLine())) + "\n";
    Lock lock;
    AppendFileBytes(StatePath(L"journal.log"), line);
}

void WriteOut(const std::string& bytes) { WriteTo(STD_OUTPUT_HANDLE, bytes); }
void WriteErr(const std::string& bytes) { WriteTo(STD_ERROR_HANDLE, bytes); }

std::wstring Lower(std::wstring text) {
    for (auto& c : text)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return text;
}

}  // namespace sim
