#include "CommonExec1.h"

#include "platform/DebugOutput.h"
#include "platform/Processes.h"

namespace {

void Log(const CString& line) { port::debugOutput().OutputDebugString(line.GetString()); }

}  // namespace

bool CommonExec1(const CString& command, uint32_t timeoutMs) {
    port::Processes& processes = port::processes();

    // The start request points into this text: it lives until the call returns.
    const CString parameters = CString(u"/c ") + command;

    port::ShellExecuteInfo info{};
    info.cbSize = port::kShellExecuteInfoSize;
    info.fMask = port::kSeeMaskNoCloseProcess;
    info.hwnd = port::kNoHandle;
    info.lpVerb = nullptr;
    info.lpFile = u"cmd.exe";
    info.lpParameters = parameters.GetString();
    info.lpDirectory = nullptr;
    info.nShow = port::kSwHide;

    CString line;
    line.Format(u"[CommonExec1] Command: %s, timeout=%ums\n", command, timeoutMs);
    Log(line);

    if (!processes.ShellExecuteEx(info)) {
        const uint32_t error = processes.GetLastError();
        line.Format(u"[CommonExec1] ShellExecuteEx failed, GetLastError=%u\n", error);
        Log(line);
        return false;
    }
    if (info.hProcess == port::kNoHandle) {
        Log(u"[CommonExec1] No process handle\n");
        return false;
    }

    const uint32_t waitResult = processes.WaitForSingleObject(info.hProcess, timeoutMs);
    if (waitResult == port::kWaitObject0) {
        uint32_t exitCode = 0;
        if (!processes.GetExitCodeProcess(info.hProcess, exitCode)) {
            processes.CloseHandle(info.hProcess);
            return false;
        }
        line.Format(u"[CommonExec1] Exit code: %u\n", exitCode);
        Log(line);
        processes.CloseHandle(info.hProcess);
        return exitCode == 0;
    }

    if (waitResult == port::kWaitTimeout) {
        line.Format(u"[CommonExec1] Timeout after %us\n", timeoutMs / 1000u);
        Log(line);
    } else {
        Log(u"[CommonExec1] WaitForSingleObject failed\n");
    }
    // Only cmd.exe is ended; a program it started goes on.
    processes.TerminateProcess(info.hProcess, 1);
    processes.CloseHandle(info.hProcess);
    return false;
}
