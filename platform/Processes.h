// Processes and pipes: the operations both command runners are written against.
#pragma once

#include <cstdint>

#include "Platform.h"

namespace port {

inline constexpr uint32_t kSeeMaskNoCloseProcess = 0x40;
inline constexpr int kSwHide = 0;
inline constexpr uint32_t kWaitObject0 = 0;
inline constexpr uint32_t kWaitTimeout = 258;
inline constexpr uint32_t kWaitFailed = 0xFFFFFFFF;
inline constexpr uint32_t kHandleFlagInherit = 0x1;
inline constexpr uint32_t kStartfUseShowWindow = 0x1;
inline constexpr uint32_t kStartfUseStdHandles = 0x100;
inline constexpr uint32_t kCreateNoWindow = 0x08000000;

// SHELLEXECUTEINFOW, as far as a caller sets or reads it; the rest is zero.
struct ShellExecuteInfo {
    uint32_t cbSize = 0;
    uint32_t fMask = 0;
    Handle hwnd = kNoHandle;
    const char16_t* lpVerb = nullptr;
    const char16_t* lpFile = nullptr;
    const char16_t* lpParameters = nullptr;
    const char16_t* lpDirectory = nullptr;
    int nShow = 0;
    Handle hProcess = kNoHandle;  // out
};

// SECURITY_ATTRIBUTES with no security descriptor.
struct SecurityAttributes {
    uint32_t nLength = 0;
    bool bInheritHandle = false;
};

// STARTUPINFOW, as far as a caller sets it; the rest is zero.
struct StartupInfo {
    uint32_t cb = 0;
    uint32_t dwFlags = 0;
    uint16_t wShowWindow = 0;
    Handle hStdInput = kNoHandle;
    Handle hStdOutput = kNoHandle;
    Handle hStdError = kNoHandle;
};

// PROCESS_INFORMATION.
struct ProcessInformation {
    Handle hProcess = kNoHandle;
    Handle hThread = kNoHandle;
    uint32_t dwProcessId = 0;
    uint32_t dwThreadId = 0;
};

// The record sizes of the 64-bit layout, which the runners put into cbSize, nLength and cb.
inline constexpr uint32_t kShellExecuteInfoSize = 112;
inline constexpr uint32_t kSecurityAttributesSize = 24;
inline constexpr uint32_t kStartupInfoSize = 104;

class Processes {
public:
    virtual ~Processes() = default;

    virtual bool ShellExecuteEx(ShellExecuteInfo& info) = 0;
    // The error code of the last failed operation of this interface on this thread.
    virtual uint32_t GetLastError() = 0;
    virtual uint32_t WaitForSingleObject(Handle process, uint32_t milliseconds) = 0;
    virtual bool GetExitCodeProcess(Handle process, uint32_t& exitCode) = 0;
    virtual bool TerminateProcess(Handle process, uint32_t exitCode) = 0;
    virtual bool CloseHandle(Handle handle) = 0;

    virtual bool CreatePipe(Handle& readEnd, Handle& writeEnd,
                            const SecurityAttributes& attributes, uint32_t size) = 0;
    virtual bool SetHandleInformation(Handle handle, uint32_t mask, uint32_t flags) = 0;
    // No application name, no process or thread attributes, the caller's environment and
    // current directory: the command line names the program.
    virtual bool CreateProcess(char16_t* commandLine, bool inheritHandles, uint32_t creationFlags,
                               const StartupInfo& startup, ProcessInformation& info) = 0;
    // Only the count of waiting bytes; fails once the pipe has ended and is empty.
    virtual bool PeekNamedPipe(Handle readEnd, uint32_t& totalBytesAvailable) = 0;
    virtual bool ReadFile(Handle readEnd, void* buffer, uint32_t bytesToRead,
                          uint32_t& bytesRead) = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
    // Milliseconds since the system started; bounds how long the output of a child is drained.
    virtual uint64_t GetTickCount64() = 0;
};

}  // namespace port
