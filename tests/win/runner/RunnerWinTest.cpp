// Both runners over the real Windows port: real cmd.exe, real pipes, a child of our own.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/CString.h"
#include "platform/DebugOutput.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Platform.h"
#include "runner/CommonExec1.h"
#include "runner/CommonExec2.h"

namespace {

void PrintTo(const CString& text, std::ostream* out) { *out << '"' << text.ToUtf8() << '"'; }

const CString kList =
    u"  NAME           STATE           VERSION\r\n* ROZivuvarud    Running         2\r\n"
    u"  \u5B50\u7CFB\u7EDF       Stopped         2\r\n";

// Keeps every line for the test and still hands it to the debugger.
class RecordingDebugOutput : public port::DebugOutput {
public:
    void OutputDebugString(const char16_t* text) override {
        lines.emplace_back(text);
        win32::DebugOutput().OutputDebugString(text);
    }
    bool Has(const CString& line) const {
        for (const CString& l : lines)
            if (l == line) return true;
        return false;
    }
    std::vector<CString> lines;
};

// The child program, quoted, as the first token of a command line.
CString Child() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::u16string text(reinterpret_cast<const char16_t*>(path), length);
    text.resize(text.rfind(u'\\') + 1);
    return CString(u"\"") + CString(text) + u"runner_child.exe\"";
}

class Stopwatch {
public:
    double Ms() const {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_start)
            .count();
    }

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

class RunnerWinTest : public ::testing::Test {
protected:
    RunnerWinTest() : m_install(MakePlatform()) {}

    RecordingDebugOutput output;

private:
    port::Platform MakePlatform() {
        port::Platform platform;
        platform.processes = &win32::Processes();
        platform.debugOutput = &output;
        platform.codePage = &win32::CodePage();
        return platform;
    }
    port::ScopedInstall m_install;
};

TEST_F(RunnerWinTest, CmdExitCodesDecideTheResult) {
    struct Case {
        const char16_t* command;
        bool result;
        const char16_t* line;
    };
    const Case cases[] = {
        {u"exit 0", true, u"[CommonExec1] Exit code: 0\n"},
        {u"exit 1", false, u"[CommonExec1] Exit code: 1\n"},
        {u"exit 259", false, u"[CommonExec1] Exit code: 259\n"},
        {u"exit -1", false, u"[CommonExec1] Exit code: 4294967295\n"},
        {u"echo \"quoted & piped\" | more > nul", true, u"[CommonExec1] Exit code: 0\n"},
    };
    for (const Case& c : cases) {
        output.lines.clear();
        EXPECT_EQ(CommonExec1(c.command, 10000), c.result) << CString(c.command).ToUtf8();
        ASSERT_EQ(output.lines.size(), 2u);
        EXPECT_EQ(output.lines[0],
                  CString(u"[CommonExec1] Command: ") + c.command + u", timeout=10000ms\n");
        EXPECT_EQ(output.lines[1], c.line);
    }
    // The program's own exit code comes back through cmd.exe.
    EXPECT_FALSE(CommonExec1(Child() + u" exit 42", 10000));
    EXPECT_EQ(output.lines.back(), u"[CommonExec1] Exit code: 42\n");
}

TEST_F(RunnerWinTest, TimeOutEndsCmdAndReturnsAfterTheLimit) {
    const Stopwatch watch;
    EXPECT_FALSE(CommonExec1(Child() + u" sleep 6000", 1500));
    const double elapsed = watch.Ms();
    EXPECT_TRUE(output.Has(u"[CommonExec1] Timeout after 1s\n"));
    EXPECT_GE(elapsed, 1400.0);
    EXPECT_LT(elapsed, 4000.0);
}

TEST_F(RunnerWinTest, CaptureMixesStdoutAndStderrInTheOrderWritten) {
    const CString text = CommonExec2(Child() + u" mixed");
    EXPECT_EQ(text, u"out1\r\nerr1\r\nout2\r\nerr2\r\n");
    EXPECT_EQ(output.lines.back(), CString(u"[CommonExec2] Output: ") + text + u"\n");
}

TEST_F(RunnerWinTest, MissingProgramIsReportedWithTheSystemsErrorCode) {
    EXPECT_EQ(CommonExec2(u"no-such-program-q7.exe"), u"");
    ASSERT_EQ(output.lines.size(), 2u);
    EXPECT_EQ(output.lines[1], u"[CommonExec2] CreateProcess failed, GetLastError=2\n");
}

TEST_F(RunnerWinTest, OutputLargerThanThePipeIsReturnedWhole) {
    const long count = 300000;
    std::string expected;
    for (long i = 0; i < count; ++i) expected += static_cast<char>('a' + i % 26);
    const Stopwatch watch;
    const CString text = CommonExec2(Child() + CString::FromUtf8(" big " + std::to_string(count)));
    const double elapsed = watch.Ms();
    EXPECT_EQ(text.GetLength(), count);
    EXPECT_TRUE(text.ToUtf8() == expected);
    // A child blocked on a full pipe cannot end within the wait: it takes the time-out path
    // once the runner has read it all.
    EXPECT_GE(elapsed, 2900.0);
    ASSERT_GE(output.lines.size(), 2u);
    EXPECT_EQ(output.lines[output.lines.size() - 2], u"[CommonExec2] Timeout\n");
    std::printf("big output: %.0f ms\n", elapsed);
}

TEST_F(RunnerWinTest, DistributionListIsReadInUtf16AndInUtf8) {
    EXPECT_EQ(CommonExec2(Child() + u" -l utf16"), kList);
    EXPECT_EQ(CommonExec2(Child() + u" -l utf8"), kList);
    std::u16string longText(700, u'a');
    longText[511] = u'\u8FD0';
    longText[512] = u'\u884C';
    EXPECT_EQ(CommonExec2(Child() + u" -l utf16long"), CString(longText));
}

TEST_F(RunnerWinTest, GrandchildHoldingThePipeDoesNotHoldTheCaller) {
    const Stopwatch watch;
    const CString text = CommonExec2(Child() + u" grandchild");
    const double elapsed = watch.Ms();
    EXPECT_LT(elapsed, 2000.0);
    EXPECT_GE(text.Find(u"hello\r\n"), 0) << text.ToUtf8();
    EXPECT_FALSE(output.Has(u"[CommonExec2] Timeout\n"));
    std::printf("grandchild holding the pipe: %.0f ms\n", elapsed);

    // End the grandchild we left behind.
    const std::string utf8 = text.ToUtf8();
    const DWORD pid =
        static_cast<DWORD>(std::strtoul(utf8.c_str() + utf8.find("pid=") + 4, nullptr, 10));
    HANDLE grandchild = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    ASSERT_NE(grandchild, nullptr);
    EXPECT_EQ(WaitForSingleObject(grandchild, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    TerminateProcess(grandchild, 0);
    WaitForSingleObject(grandchild, 5000);
    CloseHandle(grandchild);
}

TEST_F(RunnerWinTest, ChildThatNeverEndsIsCutOffAfterTheDrainLimit) {
    const Stopwatch watch;
    const CString text = CommonExec2(Child() + u" hang");
    const double elapsed = watch.Ms();
    EXPECT_EQ(text, u"partial\r\n");
    EXPECT_TRUE(output.Has(u"[CommonExec2] Timeout\n"));
    EXPECT_GE(elapsed, 7900.0);
    EXPECT_LT(elapsed, 11000.0);
    std::printf("never-ending child: %.0f ms\n", elapsed);
}

TEST_F(RunnerWinTest, ChildThatEndsAtOnceComesBackAtOnce) {
    // Baseline: cmd.exe started and waited for directly.
    double direct = 0;
    {
        const Stopwatch watch;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        wchar_t line[] = L"cmd.exe /c exit 0";
        ASSERT_TRUE(CreateProcessW(nullptr, line, nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                                   nullptr, nullptr, &startup, &info));
        WaitForSingleObject(info.hProcess, INFINITE);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        direct = watch.Ms();
    }
    double hidden = 0;
    {
        const Stopwatch watch;
        EXPECT_TRUE(CommonExec1(u"exit 0", 3000));
        hidden = watch.Ms();
    }
    double captured = 0;
    {
        const Stopwatch watch;
        EXPECT_EQ(CommonExec2(u"cmd /c exit 0"), u"");
        captured = watch.Ms();
    }
    std::printf("cmd /c exit 0: direct %.0f ms, CommonExec1 %.0f ms, CommonExec2 %.0f ms\n", direct,
                hidden, captured);
    EXPECT_LT(captured, 2500.0);
    EXPECT_LT(hidden, 2500.0);
}

}  // namespace
