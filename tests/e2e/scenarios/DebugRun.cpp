// debug_run OUTPUT PROGRAM [ARGUMENTS]: starts PROGRAM as a debugger does and writes every text
// that it sends to the debugger output into OUTPUT, as UTF-8, each followed by the record
// separator 0x1E. Ends with the program and returns its exit code.
#include <windows.h>

#include "SimState.h"

#include <string>
#include <vector>

namespace {

using sim::Utf8;

// A debugger sees either UTF-16 text or text in the ANSI code page; both end in a zero.
std::string ReadDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
    size_t unit = info.fUnicode ? 2 : 1;
    std::vector<char> bytes(static_cast<size_t>(info.nDebugStringLength) * unit + 2, 0);
    SIZE_T got = 0;
    ReadProcessMemory(process, info.lpDebugStringData, bytes.data(),
                      static_cast<SIZE_T>(info.nDebugStringLength) * unit, &got);
    if (info.fUnicode) {
        std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()));
        return Utf8(text);
    }
    std::string ansi(bytes.data());
    int size =
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), size);
    return Utf8(wide);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 100;
    HANDLE out = CreateFileW(argv[1], GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 101;
    std::wstring line = L"\"" + std::wstring(argv[2]) + L"\"";
    for (int i = 3; i < argc; ++i) line += L" " + std::wstring(argv[i]);
    std::vector<wchar_t> copy(line.begin(), line.end());
    copy.push_back(0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    if (!CreateProcessW(argv[2], copy.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS,
                        nullptr, nullptr, &startup, &child)) {
        CloseHandle(out);
        return 102;
    }
    DWORD exitCode = 103;
    for (bool running = true; running;) {
        DEBUG_EVENT event{};
        if (!WaitForDebugEvent(&event, INFINITE)) break;
        DWORD status = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
            case OUTPUT_DEBUG_STRING_EVENT: {
                std::string text = ReadDebugString(child.hProcess, event.u.DebugString) + "\x1e";
                DWORD written = 0;
                WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
                break;
            }
            case CREATE_PROCESS_DEBUG_EVENT:
                if (event.u.CreateProcessInfo.hFile) CloseHandle(event.u.CreateProcessInfo.hFile);
                break;
            case LOAD_DLL_DEBUG_EVENT:
                if (event.u.LoadDll.hFile) CloseHandle(event.u.LoadDll.hFile);
                break;
            case EXCEPTION_DEBUG_EVENT:
                // The first breakpoint is the debugger's own; everything else is the program's.
                if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
                    status = DBG_EXCEPTION_NOT_HANDLED;
                break;
            case EXIT_PROCESS_DEBUG_EVENT:
                exitCode = event.u.ExitProcess.dwExitCode;
                running = false;
                break;
            default:
                break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    }
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    CloseHandle(out);
    return static_cast<int>(exitCode);
}
