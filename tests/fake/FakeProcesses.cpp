#include "FakeProcesses.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kErrorInvalidHandle = 6;
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorBrokenPipe = 109;
constexpr uint32_t kErrorReadFault = 30;
constexpr uint32_t kStillActive = 259;
constexpr uint32_t kInfinite = 0xFFFFFFFF;

uint64_t SaturatingAdd(uint64_t a, uint64_t b) {
    return b > FakeProcesses::kNever - a ? FakeProcesses::kNever : a + b;
}

}  // namespace

FakeProcesses::FakeProcesses() {
    m_responder = [](const CString&) { return Reply{}; };
}

void FakeProcesses::SetResponder(std::function<Reply(const CString& command)> responder) {
    m_responder = std::move(responder);
}

void FakeProcesses::ReplyTo(const CString& command, Reply reply) {
    m_exact[command] = std::move(reply);
}

void FakeProcesses::ReplyOutput(const CString& command, std::string bytes) {
    Reply reply;
    reply.output = std::move(bytes);
    ReplyTo(command, std::move(reply));
}

void FakeProcesses::ReplyExitCode(const CString& command, uint32_t exitCode) {
    Reply reply;
    reply.exitCode = exitCode;
    ReplyTo(command, std::move(reply));
}

std::vector<CString> FakeProcesses::Commands() const {
    std::vector<CString> commands;
    for (const Run& run : m_runs) commands.push_back(run.command);
    return commands;
}

void FakeProcesses::ClearJournal() {
    m_runs.clear();
    for (Child& child : m_children) child.run = static_cast<size_t>(-1);
}

std::vector<std::string> FakeProcesses::OpenHandles() const {
    std::vector<std::string> open;
    for (const auto& [handle, entry] : m_handles) {
        if (entry.open) open.push_back(entry.label);
    }
    return open;
}

FakeProcesses::Reply FakeProcesses::Lookup(const CString& command) {
    auto exact = m_exact.find(command);
    if (exact != m_exact.end()) return exact->second;
    return m_responder ? m_responder(command) : Reply{};
}

port::Handle FakeProcesses::NewHandle(const std::string& label, int child, int pipe) {
    port::Handle handle = m_nextHandle;
    m_nextHandle += 4;
    m_handles[handle] = HandleEntry{label, true, child, pipe};
    return handle;
}

FakeProcesses::HandleEntry* FakeProcesses::Find(port::Handle handle) {
    auto it = m_handles.find(handle);
    if (it == m_handles.end() || !it->second.open) return nullptr;
    return &it->second;
}

int FakeProcesses::StartChild(Kind kind, const CString& command, const Reply& reply) {
    Child child;
    child.run = m_runs.size() - 1;
    child.reply = reply;
    child.startMs = m_now;
    child.endMs = reply.timesOut ? kNever : SaturatingAdd(m_now, reply.endsAfterMs);
    (void)kind;
    (void)command;
    m_children.push_back(std::move(child));
    return static_cast<int>(m_children.size() - 1);
}

bool FakeProcesses::Alive(const Child& child) const {
    return !child.terminated && m_now < child.endMs;
}

uint64_t FakeProcesses::EndOf(const Child& child) const {
    return child.terminated ? std::min(child.terminatedMs, child.endMs) : child.endMs;
}

void FakeProcesses::Deliver(Pipe& pipe) {
    uint64_t writerEnd = pipe.child >= 0 ? EndOf(m_children[pipe.child]) : 0;
    while (pipe.nextWrite < pipe.writes.size() && pipe.writes[pipe.nextWrite].atMs <= m_now) {
        const Write& write = pipe.writes[pipe.nextWrite++];
        // A terminated child writes nothing more.
        if (write.atMs <= writerEnd) pipe.data += write.bytes;
    }
}

bool FakeProcesses::Ended(const Pipe& pipe) const {
    if (!pipe.data.empty()) return false;
    if (m_handles.at(pipe.write).open) return false;
    if (pipe.child >= 0 && Alive(m_children[pipe.child])) return false;
    if (m_now < pipe.heldUntilMs) return false;
    return true;
}

uint64_t FakeProcesses::NextEvent(const Pipe& pipe) const {
    uint64_t next = kNever;
    if (pipe.child >= 0) {
        const Child& child = m_children[pipe.child];
        if (Alive(child)) next = std::min(next, EndOf(child));
        if (pipe.nextWrite < pipe.writes.size() && Alive(child))
            next = std::min(next, pipe.writes[pipe.nextWrite].atMs);
    }
    if (m_now < pipe.heldUntilMs) next = std::min(next, pipe.heldUntilMs);
    return next;
}

bool FakeProcesses::ShellExecuteEx(port::ShellExecuteInfo& info) {
    ShellStart start;
    start.cbSize = info.cbSize;
    start.fMask = info.fMask;
    start.hwnd = info.hwnd;
    start.hasVerb = info.lpVerb != nullptr;
    start.file = info.lpFile ? CString(info.lpFile) : CString();
    start.parameters = info.lpParameters ? CString(info.lpParameters) : CString();
    start.hasDirectory = info.lpDirectory != nullptr;
    start.nShow = info.nShow;
    m_shellStarts.push_back(start);

    CString command = start.parameters;
    if (command.Left(3) == u"/c ") command = command.Mid(3);
    m_runs.push_back(Run{Kind::Hidden, command, 0});
    Reply reply = Lookup(command);
    info.hProcess = port::kNoHandle;
    if (reply.startError) {
        m_lastError = *reply.startError;
        return false;
    }
    int child = StartChild(Kind::Hidden, command, reply);
    if (!reply.noProcessHandle) info.hProcess = NewHandle("process", child, -1);
    return true;
}

uint32_t FakeProcesses::WaitForSingleObject(port::Handle process, uint32_t milliseconds) {
    HandleEntry* entry = Find(process);
    if (entry == nullptr || entry->child < 0) {
        m_lastError = kErrorInvalidHandle;
        return port::kWaitFailed;
    }
    Child& child = m_children[entry->child];
    if (child.run < m_runs.size() && m_runs[child.run].timeoutMs == 0)
        m_runs[child.run].timeoutMs = milliseconds;
    if (child.reply.waitResult) {
        if (*child.reply.waitResult == port::kWaitFailed) m_lastError = kErrorInvalidHandle;
        return *child.reply.waitResult;
    }
    if (!Alive(child)) return port::kWaitObject0;
    uint64_t end = EndOf(child);
    if (end <= SaturatingAdd(m_now, milliseconds)) {
        m_now = end;
        return port::kWaitObject0;
    }
    if (milliseconds == kInfinite) {
        ADD_FAILURE() << "WaitForSingleObject would wait for ever";
        return port::kWaitFailed;
    }
    m_now += milliseconds;
    return port::kWaitTimeout;
}

bool FakeProcesses::GetExitCodeProcess(port::Handle process, uint32_t& exitCode) {
    HandleEntry* entry = Find(process);
    if (entry == nullptr || entry->child < 0) {
        m_lastError = kErrorInvalidHandle;
        return false;
    }
    const Child& child = m_children[entry->child];
    if (child.reply.exitCodeUnreadable) {
        m_lastError = kErrorAccessDenied;
        return false;
    }
    if (Alive(child))
        exitCode = kStillActive;
    else if (child.terminated && child.terminatedMs < child.endMs)
        exitCode = child.terminationCode;
    else
        exitCode = child.reply.exitCode;
    return true;
}

bool FakeProcesses::TerminateProcess(port::Handle process, uint32_t exitCode) {
    HandleEntry* entry = Find(process);
    if (entry == nullptr || entry->child < 0) {
        m_lastError = kErrorInvalidHandle;
        return false;
    }
    Child& child = m_children[entry->child];
    bool running = Alive(child);
    CString command = child.run < m_runs.size() ? m_runs[child.run].command : CString();
    m_terminations.push_back(Termination{command, exitCode, running});
    if (!running) {
        m_lastError = kErrorAccessDenied;
        return false;
    }
    child.terminated = true;
    child.terminatedMs = m_now;
    child.terminationCode = exitCode;
    return true;
}

bool FakeProcesses::CloseHandle(port::Handle handle) {
    HandleEntry* entry = Find(handle);
    if (entry == nullptr) {
        ADD_FAILURE() << "CloseHandle of a handle that is not open: " << handle;
        m_lastError = kErrorInvalidHandle;
        return false;
    }
    entry->open = false;
    m_closed.push_back(entry->label);
    return true;
}

bool FakeProcesses::CreatePipe(port::Handle& readEnd, port::Handle& writeEnd,
                               const port::SecurityAttributes& attributes, uint32_t size) {
    m_pipeCreations.push_back(PipeCreation{attributes, size});
    if (m_createPipeError) {
        m_lastError = *m_createPipeError;
        return false;
    }
    int pipe = static_cast<int>(m_pipes.size());
    m_pipes.emplace_back();
    readEnd = NewHandle("pipe read", -1, pipe);
    writeEnd = NewHandle("pipe write", -1, pipe);
    m_pipes.back().read = readEnd;
    m_pipes.back().write = writeEnd;
    return true;
}

bool FakeProcesses::SetHandleInformation(port::Handle handle, uint32_t mask, uint32_t flags) {
    HandleEntry* entry = Find(handle);
    m_handleInfos.push_back(HandleInformation{entry ? entry->label : "?", mask, flags});
    if (m_setInfoError) {
        m_lastError = *m_setInfoError;
        return false;
    }
    if (entry == nullptr) {
        m_lastError = kErrorInvalidHandle;
        return false;
    }
    return true;
}

bool FakeProcesses::CreateProcess(char16_t* commandLine, bool inheritHandles,
                                  uint32_t creationFlags, const port::StartupInfo& startup,
                                  port::ProcessInformation& info) {
    CString command = commandLine ? CString(commandLine) : CString();
    ProcessStart start{command, inheritHandles, creationFlags, startup, false};
    int pipe = -1;
    if (HandleEntry* entry = Find(startup.hStdOutput); entry && entry->label == "pipe write") {
        start.stdHandleIsOpenPipeWriteEnd = true;
        pipe = entry->pipe;
    }
    m_processStarts.push_back(start);
    m_runs.push_back(Run{Kind::Captured, command, 0});
    Reply reply = Lookup(command);
    if (reply.startError) {
        m_lastError = *reply.startError;
        return false;
    }
    int child = StartChild(Kind::Captured, command, reply);
    info.hProcess = NewHandle("process", child, -1);
    info.hThread = NewHandle("thread", -1, -1);
    info.dwProcessId = m_nextProcessId++;
    info.dwThreadId = m_nextProcessId++;
    if (pipe >= 0 && inheritHandles) {
        Pipe& p = m_pipes[pipe];
        p.child = child;
        m_children[child].pipe = pipe;
        if (!reply.output.empty()) p.writes.push_back(Write{m_now, reply.output});
        for (const Write& write : reply.laterWrites)
            p.writes.push_back(Write{SaturatingAdd(m_now, write.atMs), write.bytes});
        std::stable_sort(p.writes.begin(), p.writes.end(),
                         [](const Write& a, const Write& b) { return a.atMs < b.atMs; });
        p.heldUntilMs = reply.pipeHeldForMs ? SaturatingAdd(m_now, reply.pipeHeldForMs) : 0;
        p.floodEveryMs = reply.floodEveryMs;
        p.floodBytes = reply.floodBytes;
    }
    return true;
}

bool FakeProcesses::PeekNamedPipe(port::Handle readEnd, uint32_t& totalBytesAvailable) {
    HandleEntry* entry = Find(readEnd);
    if (entry == nullptr || entry->label != "pipe read") {
        m_lastError = kErrorInvalidHandle;
        return false;
    }
    Pipe& pipe = m_pipes[entry->pipe];
    Deliver(pipe);
    if (Ended(pipe)) {
        m_lastError = kErrorBrokenPipe;
        return false;
    }
    totalBytesAvailable = static_cast<uint32_t>(pipe.data.size());
    return true;
}

bool FakeProcesses::ReadFile(port::Handle readEnd, void* buffer, uint32_t bytesToRead,
                             uint32_t& bytesRead) {
    m_readSizes.push_back(bytesToRead);
    bytesRead = 0;
    HandleEntry* entry = Find(readEnd);
    if (entry == nullptr || entry->label != "pipe read") {
        m_lastError = kErrorInvalidHandle;
        return false;
    }
    if (m_failReads > 0) {
        --m_failReads;
        m_lastError = kErrorReadFault;
        return false;
    }
    if (m_emptyReads > 0) {
        --m_emptyReads;
        return true;
    }
    Pipe& pipe = m_pipes[entry->pipe];
    for (;;) {
        Deliver(pipe);
        if (!pipe.data.empty()) break;
        if (Ended(pipe)) {
            m_lastError = kErrorBrokenPipe;
            return false;
        }
        uint64_t next = NextEvent(pipe);
        if (next == kNever) {
            ADD_FAILURE() << "ReadFile would block for ever: nothing waits and the pipe stays open";
            m_lastError = kErrorBrokenPipe;
            return false;
        }
        m_now = std::max(m_now, next);
    }
    uint32_t n = static_cast<uint32_t>(std::min<size_t>(bytesToRead, pipe.data.size()));
    std::memcpy(buffer, pipe.data.data(), n);
    pipe.data.erase(0, n);
    bytesRead = n;
    if (pipe.floodEveryMs > 0 && m_now < pipe.heldUntilMs) {
        m_now += pipe.floodEveryMs;
        if (m_now < pipe.heldUntilMs) pipe.data += pipe.floodBytes;
    }
    return true;
}

void FakeProcesses::Sleep(uint32_t milliseconds) {
    m_sleeps.push_back(milliseconds);
    m_now += milliseconds;
}
