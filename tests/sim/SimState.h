// What the simulated wsl.exe and netsh.exe share: the state folder, its lock, the state file,
// the journal, the command-line split and the console output.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sim {

// UTF-16 <-> UTF-8.
std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);

// The state folder: %QUELLOR_SIM_DIR% (a Unix path is taken as Wine's drive for it), else the
// folder of the program itself. Created when missing.
std::wstring StateDir();
std::wstring StatePath(const wchar_t* name);

// Whole-file helpers; a missing file reads as empty. Writes go to a temporary file that then
// replaces the old one, so that a reader never sees half a file.
bool ReadFileBytes(const std::wstring& path, std::string& bytes);
bool WriteFileAtomic(const std::wstring& path, const std::string& bytes);
bool AppendFileBytes(const std::wstring& path, const std::string& bytes);

// Held for every read-modify-write of the state folder, across processes.
class Lock {
public:
    Lock();
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    HANDLE file_;
};

// The state file: key=value lines. Missing keys read as their defaults.
class State {
public:
    static State Load();
    bool Save() const;

    std::string Get(const std::string& key) const;
    void Set(const std::string& key, const std::string& value);
    int64_t GetInt(const std::string& key, int64_t fallback) const;

    bool Running() const { return Get("distro") == "Running"; }

private:
    std::map<std::string, std::string> values_;
};

// Milliseconds since 1970-01-01 UTC, the clock the Linux side reads as well.
int64_t NowMs();

// The command line as received, and the text after its first token (the program).
std::wstring RawCommandLine();
std::wstring ArgumentText(const std::wstring& commandLine);

// Splits an argument text by the platform's standard rules (quotes group, a backslash run before
// a quote halves, "" inside quotes is a quote).
std::vector<std::wstring> SplitArguments(const std::wstring& text);

// One journal line for this run: time, process id, program name and the arguments as received.
void Journal(const wchar_t* program);

// Standard output and error; a missing handle writes nothing.
void WriteOut(const std::string& bytes);
void WriteErr(const std::string& bytes);

// Lower-case ASCII copy, for keywords that the tools take in any case.
std::wstring Lower(std::wstring text);

}  // namespace sim
