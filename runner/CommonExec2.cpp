#include "CommonExec2.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"
#include "platform/DebugOutput.h"
#include "platform/Processes.h"

namespace {

constexpr uint32_t kWaitMs = 3000;
constexpr uint32_t kPauseMs = 50;
constexpr uint32_t kReadSize = 1023;
// However the child and whatever inherited the pipe's write end behave, the drain ends this long
// after the wait: the caller is the window's only thread.
constexpr uint64_t kDrainLimitMs = 5000;

void Log(const CString& line) { port::debugOutput().OutputDebugString(line.GetString()); }

// Turns the chunks read from the pipe into text, one chunk at a time.
class OutputDecoder {
public:
    explicit OutputDecoder(bool wide) : m_mode(wide ? Mode::Undecided : Mode::Ansi) {}

    CString Decode(const char* bytes, uint32_t count) {
        switch (m_mode) {
            case Mode::Ansi:
                return DecodeAnsi(std::string_view(bytes, count));
            case Mode::Undecided:
            case Mode::Utf16:
            case Mode::Utf8:
                break;
        }
        m_carry.append(bytes, count);
        if (m_mode == Mode::Undecided) {
            if (m_carry.size() < 2) return {};
            // A UTF-16 list of Latin names holds a zero in every other byte; a program told to
            // write UTF-8 instead writes none.
            m_mode = m_carry.find('\0') != std::string::npos ? Mode::Utf16 : Mode::Utf8;
        }
        return m_mode == Mode::Utf16 ? TakeUtf16() : TakeUtf8();
    }

private:
    enum class Mode { Ansi, Undecided, Utf16, Utf8 };

    static CString DecodeAnsi(std::string_view chunk) {
        const std::string text(chunk.substr(0, chunk.find('\0')));
        if (text.empty()) return {};
        return CString(port::codePage().MultiByteToWideChar(port::kCpThreadAcp, 0, text.c_str()));
    }

    // Whole units only: an odd last byte waits for the next chunk, so a character split by the
    // read size is not corrupted.
    CString TakeUtf16() {
        const size_t units = m_carry.size() / 2;
        std::u16string text;
        for (size_t i = 0; i < units; ++i) {
            const auto low = static_cast<unsigned char>(m_carry[2 * i]);
            const auto high = static_cast<unsigned char>(m_carry[2 * i + 1]);
            const auto unit = static_cast<char16_t>(low | (high << 8));
            if (unit == 0) break;
            text += unit;
        }
        m_carry.erase(0, units * 2);
        return CString(std::move(text));
    }

    // Complete sequences only; an incomplete last one waits for the next chunk.
    CString TakeUtf8() {
        const size_t zero = m_carry.find('\0');
        if (zero != std::string::npos) {
            const CString text = CString::FromUtf8(std::string_view(m_carry).substr(0, zero));
            m_carry.clear();
            return text;
        }
        const size_t keep = IncompleteTail(m_carry);
        const CString text =
            CString::FromUtf8(std::string_view(m_carry).substr(0, m_carry.size() - keep));
        m_carry.erase(0, m_carry.size() - keep);
        return text;
    }

    static size_t IncompleteTail(const std::string& bytes) {
        const size_t size = bytes.size();
        for (size_t back = 1; back <= 4 && back <= size; ++back) {
            const auto byte = static_cast<unsigned char>(bytes[size - back]);
            if ((byte & 0xC0) == 0x80) continue;  // a continuation byte: look further back
            size_t length = 1;
            if ((byte & 0xE0) == 0xC0)
                length = 2;
            else if ((byte & 0xF0) == 0xE0)
                length = 3;
            else if ((byte & 0xF8) == 0xF0)
                length = 4;
            return length > back ? back : 0;
        }
        return 0;
    }

    Mode m_mode;
    std::string m_carry;
};

}  // namespace

CString CommonExec2(const CString& command) {
    port::Processes& processes = port::processes();
    CString line;

    Log(u"[CommonExec2] Main Command: " + command + u"\n");

    port::SecurityAttributes attributes;
    attributes.nLength = port::kSecurityAttributesSize;
    attributes.bInheritHandle = true;
    port::Handle readEnd = port::kNoHandle;
    port::Handle writeEnd = port::kNoHandle;
    if (!processes.CreatePipe(readEnd, writeEnd, attributes, 0)) {
        Log(u"[CommonExec2] CreatePipe failed\n");
        return {};
    }
    if (!processes.SetHandleInformation(readEnd, port::kHandleFlagInherit, 0)) {
        Log(u"[CommonExec2] SetHandleInformation failed\n");
        processes.CloseHandle(readEnd);
        processes.CloseHandle(writeEnd);
        return {};
    }

    port::StartupInfo startup;
    startup.cb = port::kStartupInfoSize;
    startup.dwFlags = port::kStartfUseStdHandles | port::kStartfUseShowWindow;
    startup.wShowWindow = port::kSwHide;
    startup.hStdInput = port::kNoHandle;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    port::ProcessInformation process;
    bool created = false;
    {
        // The creation may write into the command line, so it gets a copy of its own.
        std::vector<char16_t> copy(command.Str().begin(), command.Str().end());
        copy.push_back(u'\0');
        created =
            processes.CreateProcess(copy.data(), true, port::kCreateNoWindow, startup, process);
    }
    // From here on only the child, and whatever it hands the handle to, holds the write end.
    processes.CloseHandle(writeEnd);
    if (!created) {
        const uint32_t error = processes.GetLastError();
        line.Format(u"[CommonExec2] CreateProcess failed, GetLastError=%u\n", error);
        Log(line);
        processes.CloseHandle(readEnd);
        return {};
    }

    const uint32_t waitResult = processes.WaitForSingleObject(process.hProcess, kWaitMs);
    const uint64_t drainStart = processes.GetTickCount64();

    std::array<char, kReadSize + 1> buffer{};
    const bool wide = command.Find(u"--list") >= 0 || command.Find(u"-l") >= 0;
    OutputDecoder decoder(wide);
    CString captured;

    uint32_t available = 0;
    bool pipeEnded = !processes.PeekNamedPipe(readEnd, available);
    while (!pipeEnded) {
        if (available > 0) {
            uint32_t count = 0;
            if (processes.ReadFile(readEnd, buffer.data(), kReadSize, count) && count > 0) {
                captured += decoder.Decode(buffer.data(), count);
            }
            if (waitResult != port::kWaitObject0 && waitResult != port::kWaitTimeout) {
                Log(u"[CommonExec2] WaitForSingleObject failed\n");
                break;
            }
        } else if (waitResult == port::kWaitObject0) {
            // The child has ended and all it wrote has been read. Whatever still holds the
            // write end (a program it left behind) may never write or close: a read now could
            // block for ever.
            break;
        } else {
            processes.Sleep(kPauseMs);
            if (waitResult != port::kWaitTimeout) {
                Log(u"[CommonExec2] WaitForSingleObject failed\n");
                break;
            }
        }
        if (processes.GetTickCount64() - drainStart >= kDrainLimitMs) {
            Log(u"[CommonExec2] Timeout\n");
            processes.TerminateProcess(process.hProcess, 1);
            break;
        }
        pipeEnded = !processes.PeekNamedPipe(readEnd, available);
    }
    if (pipeEnded && waitResult == port::kWaitTimeout) {
        Log(u"[CommonExec2] Timeout\n");
        processes.TerminateProcess(process.hProcess, 1);
    }

    processes.CloseHandle(readEnd);
    processes.CloseHandle(process.hProcess);
    processes.CloseHandle(process.hThread);

    Log(u"[CommonExec2] Output: " + captured + u"\n");
    return captured;
}
