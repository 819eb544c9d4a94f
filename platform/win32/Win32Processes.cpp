#include "Win32.h"
#include "Win32Platform.h"
#include "platform/Processes.h"

namespace win32 {
namespace {

static_assert(sizeof(SHELLEXECUTEINFOW) == port::kShellExecuteInfoSize);
static_assert(sizeof(SECURITY_ATTRIBUTES) == port::kSecurityAttributesSize);
static_assert(sizeof(STARTUPINFOW) == port::kStartupInfoSize);

class Win32Processes : public port::Processes {
public:
    bool ShellExecuteEx(port::ShellExecuteInfo& info) override {
        SHELLEXECUTEINFOW native{};
        native.cbSize = info.cbSize;
        native.fMask = info.fMask;
        native.hwnd = reinterpret_cast<HWND>(info.hwnd);
        native.lpVerb = W(info.lpVerb);
        native.lpFile = W(info.lpFile);
        native.lpParameters = W(info.lpParameters);
        native.lpDirectory = W(info.lpDirectory);
        native.nShow = info.nShow;
        const bool ok = Keep(::ShellExecuteExW(&native));
        info.hProcess = P(native.hProcess);
        return ok;
    }

    uint32_t GetLastError() override { return t_lastError; }

    uint32_t WaitForSingleObject(port::Handle process, uint32_t milliseconds) override {
        const DWORD result = ::WaitForSingleObject(H(process), milliseconds);
        if (result == WAIT_FAILED) Keep(FALSE);
        return result;
    }

    bool GetExitCodeProcess(port::Handle process, uint32_t& exitCode) override {
        DWORD code = 0;
        if (!Keep(::GetExitCodeProcess(H(process), &code))) return false;
        exitCode = code;
        return true;
    }

    bool TerminateProcess(port::Handle process, uint32_t exitCode) override {
        return Keep(::TerminateProcess(H(process), exitCode));
    }

    bool CloseHandle(port::Handle handle) override { return Keep(::CloseHandle(H(handle))); }

    bool CreatePipe(port::Handle& readEnd, port::Handle& writeEnd,
                    const port::SecurityAttributes& attributes, uint32_t size) override {
        SECURITY_ATTRIBUTES native{};
        native.nLength = attributes.nLength;
        native.lpSecurityDescriptor = nullptr;
        native.bInheritHandle = attributes.bInheritHandle ? TRUE : FALSE;
        HANDLE read = nullptr;
        HANDLE write = nullptr;
        if (!Keep(::CreatePipe(&read, &write, &native, size))) return false;
        readEnd = P(read);
        writeEnd = P(write);
        return true;
    }

    bool SetHandleInformation(port::Handle handle, uint32_t mask, uint32_t flags) override {
        return Keep(::SetHandleInformation(H(handle), mask, flags));
    }

    bool CreateProcess(char16_t* commandLine, bool inheritHandles, uint32_t creationFlags,
                       const port::StartupInfo& startup, port::ProcessInformation& info) override {
        STARTUPINFOW native{};
        native.cb = startup.cb;
        native.dwFlags = startup.dwFlags;
        native.wShowWindow = startup.wShowWindow;
        native.hStdInput = H(startup.hStdInput);
        native.hStdOutput = H(startup.hStdOutput);
        native.hStdError = H(startup.hStdError);
        PROCESS_INFORMATION process{};
        if (!Keep(::CreateProcessW(nullptr, W(commandLine), nullptr, nullptr,
                                   inheritHandles ? TRUE : FALSE, creationFlags, nullptr, nullptr,
                                   &native, &process))) {
            return false;
        }
        info.hProcess = P(process.hProcess);
        info.hThread = P(process.hThread);
        info.dwProcessId = process.dwProcessId;
        info.dwThreadId = process.dwThreadId;
        return true;
    }

    bool PeekNamedPipe(port::Handle readEnd, uint32_t& totalBytesAvailable) override {
        DWORD available = 0;
        if (!Keep(::PeekNamedPipe(H(readEnd), nullptr, 0, nullptr, &available, nullptr)))
            return false;
        totalBytesAvailable = available;
        return true;
    }

    bool ReadFile(port::Handle readEnd, void* buffer, uint32_t bytesToRead,
                  uint32_t& bytesRead) override {
        DWORD read = 0;
        const bool ok = Keep(::ReadFile(H(readEnd), buffer, bytesToRead, &read, nullptr));
        bytesRead = read;
        return ok;
    }

    void Sleep(uint32_t milliseconds) override { ::Sleep(milliseconds); }

    uint64_t GetTickCount64() override { return ::GetTickCount64(); }

private:
    // The error code is kept at the failure itself, so that the caller may close handles
    // before it asks for it.
    static bool Keep(BOOL ok) {
        if (!ok) t_lastError = ::GetLastError();
        return ok != FALSE;
    }

    static thread_local uint32_t t_lastError;
};

thread_local uint32_t Win32Processes::t_lastError = 0;

}  // namespace

port::Processes& Processes() {
    static Win32Processes processes;
    return processes;
}

}  // namespace win32
