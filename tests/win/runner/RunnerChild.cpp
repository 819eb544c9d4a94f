// A child for the runner tests, with one behaviour per first argument (after an optional "-l",
// which only tells the runner to decode UTF-16):
//   utf16 | utf8      the distribution list in that encoding
//   utf16long         700 UTF-16 units with a two-unit word at unit 511, across the read size
//   mixed             lines to stdout and stderr in turn
//   big N             N bytes of a pattern, more than a pipe holds
//   grandchild        leaves a copy of itself holding stdout ("hold"), prints its id and ends
//   hold              sleeps 30 s, keeping the inherited stdout open
//   hang              writes a line and sleeps 60 s
//   sleep MS          sleeps MS milliseconds
//   exit N            ends with exit code N
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

const wchar_t kList[] =
    L"  NAME           STATE           VERSION\r\n* ROZivuvarud    Running         2\r\n"
    L"  \u5B50\u7CFB\u7EDF       Stopped         2\r\n";

void Write(HANDLE out, const void* bytes, size_t count) {
    DWORD written = 0;
    WriteFile(out, bytes, static_cast<DWORD>(count), &written, nullptr);
}

void Write(HANDLE out, const std::string& text) { Write(out, text.data(), text.size()); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int first = 1;
    if (first < argc && std::wcscmp(argv[first], L"-l") == 0) ++first;
    if (first >= argc) return 2;
    const std::wstring mode = argv[first];
    const wchar_t* arg = first + 1 < argc ? argv[first + 1] : L"0";
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);

    if (mode == L"utf16") {
        Write(out, kList, (sizeof(kList) / sizeof(wchar_t) - 1) * 2);
    } else if (mode == L"utf8") {
        char utf8[512];
        const int n =
            WideCharToMultiByte(CP_UTF8, 0, kList, -1, utf8, sizeof utf8, nullptr, nullptr);
        Write(out, utf8, static_cast<size_t>(n - 1));
    } else if (mode == L"utf16long") {
        std::wstring text(700, L'a');
        text[511] = L'\u8FD0';
        text[512] = L'\u884C';
        Write(out, text.data(), text.size() * 2);
    } else if (mode == L"mixed") {
        Write(out, "out1\r\n");
        Write(err, "err1\r\n");
        Write(out, "out2\r\n");
        Write(err, "err2\r\n");
    } else if (mode == L"big") {
        const long count = std::wcstol(arg, nullptr, 10);
        std::string pattern;
        for (long i = 0; i < count; ++i) pattern += static_cast<char>('a' + i % 26);
        // Small writes, so that the pipe fills up while the child still runs.
        for (long done = 0; done < count; done += 4096)
            Write(out, pattern.data() + done, static_cast<size_t>(std::min(4096L, count - done)));
    } else if (mode == L"grandchild") {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring line = L"\"" + std::wstring(self) + L"\" hold";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out;
        startup.hStdError = err;
        PROCESS_INFORMATION info{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                            nullptr, &startup, &info))
            return 3;
        Write(out, "pid=" + std::to_string(info.dwProcessId) + "\r\nhello\r\n");
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    } else if (mode == L"hold") {
        Sleep(30000);
    } else if (mode == L"hang") {
        Write(out, "partial\r\n");
        Sleep(60000);
    } else if (mode == L"sleep") {
        Sleep(static_cast<DWORD>(std::wcstoul(arg, nullptr, 10)));
    } else if (mode == L"exit") {
        return static_cast<int>(std::wcstoul(arg, nullptr, 10));
    } else {
        return 2;
    }
    return 0;
}
