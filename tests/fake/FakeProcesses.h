// A scripted stand-in for processes and pipes, on a clock of its own.
//
// High level: every start is journalled (Runs(), Commands()) and answered by a Reply, looked
// up first among the exact commands given to ReplyTo/ReplyOutput/ReplyExitCode and then asked
// of the responder (default: exit code 0, no output, ends at once). For a hidden start the
// command is the text after "/c " of cmd.exe's parameters, for a captured start the whole
// command line.
//
// Low level: a Reply also scripts when the child ends, what it writes when, whether a
// grandchild keeps the pipe open, a forced wait result, an unreadable exit code, a failed
// start; the pipe operations can be made to fail; every handle is tracked, so a test can
// check the order of closing and that nothing stays open.
//
// Time is virtual: it moves only by Sleep, by waits that run out or see the child end, and by
// reads that have to wait for the next write. A read that would block for ever fails the test.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "framework/CString.h"
#include "platform/Processes.h"

class FakeProcesses : public port::Processes {
public:
    static constexpr uint64_t kNever = std::numeric_limits<uint64_t>::max();

    enum class Kind { Hidden, Captured };

    struct Run {
        Kind kind = Kind::Hidden;
        CString command;
        // The limit of the first wait on the process; 0 while it has not been waited on.
        uint32_t timeoutMs = 0;
    };

    // Bytes the child writes to its pipe `atMs` after its start.
    struct Write {
        uint64_t atMs = 0;
        std::string bytes;
    };

    struct Reply {
        uint32_t exitCode = 0;
        // Written at the start, for captured runs.
        std::string output;
        // The child does not end by itself: every wait runs out, until it is terminated.
        bool timesOut = false;

        // Finer scripting.
        uint64_t endsAfterMs = 0;        // when the child ends by itself (unless timesOut)
        std::vector<Write> laterWrites;  // written while the child runs
        uint64_t pipeHeldForMs = 0;      // a grandchild holds the write end this long
                                         // after the start (kNever: for ever)
        // While it holds the write end, that grandchild floods the pipe: every read takes
        // `floodEveryMs` and finds `floodBytes` written meanwhile, whether the child still runs
        // or not, so the pipe never runs dry.
        uint64_t floodEveryMs = 0;
        std::string floodBytes;
        std::optional<uint32_t> waitResult;  // every wait yields this at once
        bool exitCodeUnreadable = false;
        std::optional<uint32_t> startError;  // the start fails with this error code
        bool noProcessHandle = false;        // a hidden start succeeds but hands back no handle
    };

    struct ShellStart {
        uint32_t cbSize = 0;
        uint32_t fMask = 0;
        port::Handle hwnd = port::kNoHandle;
        bool hasVerb = false;
        CString file;
        CString parameters;
        bool hasDirectory = false;
        int nShow = -1;
    };

    struct ProcessStart {
        CString commandLine;
        bool inheritHandles = false;
        uint32_t creationFlags = 0;
        port::StartupInfo startup;
        // The runner's write end of the pipe that stdout/stderr name was still open.
        bool stdHandleIsOpenPipeWriteEnd = false;
    };

    struct PipeCreation {
        port::SecurityAttributes attributes;
        uint32_t size = 0;
    };

    struct Termination {
        CString command;
        uint32_t exitCode = 0;
        bool wasRunning = false;
    };

    FakeProcesses();

    // --- high level ---
    void SetResponder(std::function<Reply(const CString& command)> responder);
    void ReplyTo(const CString& command, Reply reply);
    void ReplyOutput(const CString& command, std::string bytes);
    void ReplyExitCode(const CString& command, uint32_t exitCode);
    std::vector<Run> Runs() const { return m_runs; }
    std::vector<CString> Commands() const;
    void ClearJournal();

    // --- low level ---
    void FailCreatePipe(uint32_t errorCode) { m_createPipeError = errorCode; }
    void FailSetHandleInformation(uint32_t errorCode) { m_setInfoError = errorCode; }
    // The next `count` reads fail, or succeed taking no bytes.
    void FailReads(int count) { m_failReads = count; }
    void EmptyReads(int count) { m_emptyReads = count; }

    uint64_t Now() const { return m_now; }
    void AdvanceClock(uint64_t ms) { m_now += ms; }

    const std::vector<ShellStart>& ShellStarts() const { return m_shellStarts; }
    const std::vector<ProcessStart>& ProcessStarts() const { return m_processStarts; }
    const std::vector<PipeCreation>& PipeCreations() const { return m_pipeCreations; }
    const std::vector<Termination>& Terminations() const { return m_terminations; }
    const std::vector<uint32_t>& Sleeps() const { return m_sleeps; }
    const std::vector<uint32_t>& ReadSizes() const { return m_readSizes; }
    // Each SetHandleInformation call: the handle's label, mask and flags.
    struct HandleInformation {
        std::string label;
        uint32_t mask = 0;
        uint32_t flags = 0;
    };
    const std::vector<HandleInformation>& HandleInformations() const { return m_handleInfos; }
    // Labels ("pipe read", "pipe write", "process", "thread") of handles closed, in order.
    const std::vector<std::string>& ClosedHandles() const { return m_closed; }
    std::vector<std::string> OpenHandles() const;

    // port::Processes
    bool ShellExecuteEx(port::ShellExecuteInfo& info) override;
    uint32_t GetLastError() override { return m_lastError; }
    uint32_t WaitForSingleObject(port::Handle process, uint32_t milliseconds) override;
    bool GetExitCodeProcess(port::Handle process, uint32_t& exitCode) override;
    bool TerminateProcess(port::Handle process, uint32_t exitCode) override;
    bool CloseHandle(port::Handle handle) override;
    bool CreatePipe(port::Handle& readEnd, port::Handle& writeEnd,
                    const port::SecurityAttributes& attributes, uint32_t size) override;
    bool SetHandleInformation(port::Handle handle, uint32_t mask, uint32_t flags) override;
    bool CreateProcess(char16_t* commandLine, bool inheritHandles, uint32_t creationFlags,
                       const port::StartupInfo& startup, port::ProcessInformation& info) override;
    bool PeekNamedPipe(port::Handle readEnd, uint32_t& totalBytesAvailable) override;
    bool ReadFile(port::Handle readEnd, void* buffer, uint32_t bytesToRead,
                  uint32_t& bytesRead) override;
    void Sleep(uint32_t milliseconds) override;
    uint64_t GetTickCount64() override { return m_now; }

private:
    struct Child {
        size_t run = 0;
        Reply reply;
        uint64_t startMs = 0;
        uint64_t endMs = kNever;  // when it ends by itself
        bool terminated = false;
        uint64_t terminatedMs = 0;
        uint32_t terminationCode = 0;
        int pipe = -1;
    };
    struct Pipe {
        port::Handle read = port::kNoHandle;
        port::Handle write = port::kNoHandle;
        std::string data;  // written and not yet read
        int child = -1;
        size_t nextWrite = 0;
        std::vector<Write> writes;  // absolute times, in order
        uint64_t heldUntilMs = 0;   // by a grandchild
        uint64_t floodEveryMs = 0;  // and flooded by it meanwhile
        std::string floodBytes;
    };
    struct HandleEntry {
        std::string label;
        bool open = true;
        int child = -1;
        int pipe = -1;
    };

    Reply Lookup(const CString& command);
    port::Handle NewHandle(const std::string& label, int child, int pipe);
    HandleEntry* Find(port::Handle handle);
    int StartChild(Kind kind, const CString& command, const Reply& reply);
    bool Alive(const Child& child) const;
    uint64_t EndOf(const Child& child) const;
    void Deliver(Pipe& pipe);
    bool Ended(const Pipe& pipe) const;
    uint64_t NextEvent(const Pipe& pipe) const;

    std::function<Reply(const CString&)> m_responder;
    std::map<CString, Reply> m_exact;
    std::vector<Run> m_runs;
    std::vector<Child> m_children;
    std::vector<Pipe> m_pipes;
    std::map<port::Handle, HandleEntry> m_handles;
    port::Handle m_nextHandle = 0x100;
    uint32_t m_nextProcessId = 1000;
    uint64_t m_now = 1000000;
    uint32_t m_lastError = 0;
    std::optional<uint32_t> m_createPipeError;
    std::optional<uint32_t> m_setInfoError;
    int m_failReads = 0;
    int m_emptyReads = 0;

    std::vector<ShellStart> m_shellStarts;
    std::vector<ProcessStart> m_processStarts;
    std::vector<PipeCreation> m_pipeCreations;
    std::vector<Termination> m_terminations;
    std::vector<uint32_t> m_sleeps;
    std::vector<uint32_t> m_readSizes;
    std::vector<HandleInformation> m_handleInfos;
    std::vector<std::string> m_closed;
};
