#include <gtest/gtest.h>

#include <vector>

#include "PrintCString.h"
#include "fake/FakeRunnerPlatform.h"
#include "runner/CommonExec1.h"

namespace {

using Reply = FakeProcesses::Reply;

class CommonExec1Test : public ::testing::Test {
protected:
    std::vector<CString> Lines() const { return fakes.debugOutput.Lines(); }

    FakeRunnerPlatform fakes;
};

TEST_F(CommonExec1Test, StartRequestRunsTheCommandUnchangedThroughHiddenCmd) {
    const CString command = u"netsh a \"b c\" %s %d \\x";
    fakes.processes.ReplyExitCode(command, 0);

    EXPECT_TRUE(CommonExec1(command, 3000));

    ASSERT_EQ(fakes.processes.ShellStarts().size(), 1u);
    const FakeProcesses::ShellStart& start = fakes.processes.ShellStarts()[0];
    EXPECT_EQ(start.cbSize, 112u);
    EXPECT_EQ(start.fMask, 0x40u);
    EXPECT_EQ(start.hwnd, port::kNoHandle);
    EXPECT_FALSE(start.hasVerb);
    EXPECT_EQ(start.file, u"cmd.exe");
    EXPECT_EQ(start.parameters, CString(u"/c ") + command);
    EXPECT_FALSE(start.hasDirectory);
    EXPECT_EQ(start.nShow, 0);
    ASSERT_EQ(fakes.processes.Runs().size(), 1u);
    EXPECT_EQ(fakes.processes.Runs()[0].timeoutMs, 3000u);
    EXPECT_EQ(Lines(), (std::vector<CString>{
                           CString(u"[CommonExec1] Command: ") + command + u", timeout=3000ms\n",
                           u"[CommonExec1] Exit code: 0\n"}));
    EXPECT_TRUE(fakes.processes.OpenHandles().empty());
    EXPECT_TRUE(fakes.processes.Terminations().empty());
}

TEST_F(CommonExec1Test, EmptyCommandGivesCmdSlashCAlone) {
    EXPECT_TRUE(CommonExec1(u"", 0));
    EXPECT_EQ(fakes.processes.ShellStarts().at(0).parameters, u"/c ");
    EXPECT_EQ(Lines().at(0), u"[CommonExec1] Command: , timeout=0ms\n");
}

TEST_F(CommonExec1Test, ExitCodesAreWrittenInFullAndOnlyZeroSucceeds) {
    struct Case {
        uint32_t exitCode;
        bool result;
        const char16_t* line;
    };
    const Case cases[] = {
        {0, true, u"[CommonExec1] Exit code: 0\n"},
        {1, false, u"[CommonExec1] Exit code: 1\n"},
        {259, false, u"[CommonExec1] Exit code: 259\n"},
        {4294967295u, false, u"[CommonExec1] Exit code: 4294967295\n"},
    };
    for (const Case& c : cases) {
        FakeRunnerPlatform local;
        local.processes.ReplyExitCode(u"x", c.exitCode);
        EXPECT_EQ(CommonExec1(u"x", 15000), c.result) << c.exitCode;
        EXPECT_EQ(local.debugOutput.Lines(),
                  (std::vector<CString>{u"[CommonExec1] Command: x, timeout=15000ms\n", c.line}));
        EXPECT_EQ(local.processes.ClosedHandles(), std::vector<std::string>{"process"});
        EXPECT_TRUE(local.processes.Terminations().empty());
    }
}

TEST_F(CommonExec1Test, FailedStartIsLoggedWithItsErrorCodeAfterTheOpeningLine) {
    for (uint32_t error : {2u, 0u, 4294967295u}) {
        FakeRunnerPlatform local;
        Reply reply;
        reply.startError = error;
        local.processes.ReplyTo(u"x", reply);
        EXPECT_FALSE(CommonExec1(u"x", 999));
        CString failed;
        failed.Format(u"[CommonExec1] ShellExecuteEx failed, GetLastError=%u\n", error);
        EXPECT_EQ(local.debugOutput.Lines(),
                  (std::vector<CString>{u"[CommonExec1] Command: x, timeout=999ms\n", failed}));
        EXPECT_TRUE(local.processes.ClosedHandles().empty());
    }
}

TEST_F(CommonExec1Test, StartWithoutProcessHandleFailsWithoutWaiting) {
    Reply reply;
    reply.noProcessHandle = true;
    fakes.processes.ReplyTo(u"x", reply);
    EXPECT_FALSE(CommonExec1(u"x", 3000));
    EXPECT_EQ(Lines().back(), u"[CommonExec1] No process handle\n");
    EXPECT_EQ(Lines().size(), 2u);
    EXPECT_EQ(fakes.processes.Runs().at(0).timeoutMs, 0u);  // never waited on
    EXPECT_TRUE(fakes.processes.ClosedHandles().empty());
}

TEST_F(CommonExec1Test, UnreadableExitCodeFailsWithNoFurtherLineAndClosesTheHandle) {
    Reply reply;
    reply.exitCodeUnreadable = true;
    fakes.processes.ReplyTo(u"x", reply);
    EXPECT_FALSE(CommonExec1(u"x", 3000));
    EXPECT_EQ(Lines().size(), 1u);
    EXPECT_EQ(fakes.processes.ClosedHandles(), std::vector<std::string>{"process"});
    EXPECT_TRUE(fakes.processes.Terminations().empty());
}

TEST_F(CommonExec1Test, TimeOutIsReportedInWholeSecondsAndEndsCmdOnly) {
    struct Case {
        uint32_t limitMs;
        const char16_t* line;
    };
    const Case cases[] = {
        {3000, u"[CommonExec1] Timeout after 3s\n"},
        {15000, u"[CommonExec1] Timeout after 15s\n"},
        {999, u"[CommonExec1] Timeout after 0s\n"},
        {4294967294u, u"[CommonExec1] Timeout after 4294967s\n"},
    };
    for (const Case& c : cases) {
        FakeRunnerPlatform local;
        Reply reply;
        reply.timesOut = true;
        local.processes.ReplyTo(u"start /b wsl", reply);
        const uint64_t before = local.processes.Now();
        EXPECT_FALSE(CommonExec1(u"start /b wsl", c.limitMs));
        EXPECT_EQ(local.processes.Now() - before, c.limitMs) << "the limit passes unchanged";
        EXPECT_EQ(local.debugOutput.Lines().back(), c.line);
        EXPECT_EQ(local.debugOutput.Lines().size(), 2u);
        ASSERT_EQ(local.processes.Terminations().size(), 1u);
        EXPECT_EQ(local.processes.Terminations()[0].exitCode, 1u);
        EXPECT_EQ(local.processes.ClosedHandles(), std::vector<std::string>{"process"});
    }
}

TEST_F(CommonExec1Test, FailedWaitEndsCmdAndClosesTheHandle) {
    for (uint32_t result : {port::kWaitFailed, 0x80u /* abandoned */, 1u}) {
        FakeRunnerPlatform local;
        Reply reply;
        reply.waitResult = result;
        local.processes.ReplyTo(u"x", reply);
        EXPECT_FALSE(CommonExec1(u"x", 5000));
        EXPECT_EQ(local.debugOutput.Lines().back(), u"[CommonExec1] WaitForSingleObject failed\n");
        EXPECT_EQ(local.debugOutput.Lines().size(), 2u);
        ASSERT_EQ(local.processes.Terminations().size(), 1u);
        EXPECT_EQ(local.processes.Terminations()[0].exitCode, 1u);
        EXPECT_TRUE(local.processes.OpenHandles().empty());
    }
}

TEST_F(CommonExec1Test, CallsRunOneAfterAnotherInTheJournal) {
    fakes.processes.ReplyExitCode(u"b", 7);
    EXPECT_TRUE(CommonExec1(u"a", 3000));
    EXPECT_FALSE(CommonExec1(u"b", 10000));
    EXPECT_EQ(fakes.processes.Commands(), (std::vector<CString>{u"a", u"b"}));
    EXPECT_EQ(fakes.processes.Runs()[1].timeoutMs, 10000u);
    EXPECT_EQ(fakes.processes.Runs()[1].kind, FakeProcesses::Kind::Hidden);
}

}  // namespace
