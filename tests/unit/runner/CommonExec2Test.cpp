#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PrintCString.h"
#include "fake/FakeRunnerPlatform.h"
#include "runner/CommonExec2.h"

namespace {

using Reply = FakeProcesses::Reply;

// Little-endian UTF-16 bytes of a text, as a program writes them to a pipe.
std::string Utf16Bytes(const CString& text) {
    std::string bytes;
    for (char16_t unit : text.Str()) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

const CString kList =
    u"  NAME           STATE           VERSION\r\n* ROZivuvarud    Running         2\r\n"
    u"  Ubuntu         Stopped         2\r\n";
const CString kRouteProbe = u"wsl -d ROZivuvarud -u root -e ip route get 8.8.8.8";

class CommonExec2Test : public ::testing::Test {
protected:
    CString Run(const CString& command, Reply reply) {
        fakes.processes.ReplyTo(command, std::move(reply));
        start = fakes.processes.Now();
        return CommonExec2(command);
    }
    uint64_t Elapsed() const { return fakes.processes.Now() - start; }
    std::vector<CString> Lines() const { return fakes.debugOutput.Lines(); }
    std::vector<std::string> Closed() const { return fakes.processes.ClosedHandles(); }

    FakeRunnerPlatform fakes;
    uint64_t start = 0;
};

const std::vector<std::string> kAllClosed = {"pipe write", "pipe read", "process", "thread"};

TEST_F(CommonExec2Test, ChildThatEndsAtOnceComesBackAtOnceWithItsOutput) {
    Reply reply;
    reply.output = "default via 172.20.0.1 dev eth0 src 172.20.5.9 uid 0\r\n";
    const CString text = Run(kRouteProbe, reply);

    EXPECT_EQ(text, u"default via 172.20.0.1 dev eth0 src 172.20.5.9 uid 0\r\n");
    EXPECT_EQ(Lines(),
              (std::vector<CString>{CString(u"[CommonExec2] Main Command: ") + kRouteProbe + u"\n",
                                    CString(u"[CommonExec2] Output: ") + text + u"\n"}));
    EXPECT_EQ(Elapsed(), 0u);
    EXPECT_TRUE(fakes.processes.Sleeps().empty());
    EXPECT_EQ(Closed(), kAllClosed);
    EXPECT_TRUE(fakes.processes.Terminations().empty());
    ASSERT_EQ(fakes.processes.Runs().size(), 1u);
    EXPECT_EQ(fakes.processes.Runs()[0].kind, FakeProcesses::Kind::Captured);
    EXPECT_EQ(fakes.processes.Runs()[0].timeoutMs, 3000u);
    ASSERT_EQ(fakes.codePage.Calls().size(), 1u);
    EXPECT_EQ(fakes.codePage.Calls()[0].codePage, port::kCpThreadAcp);
    EXPECT_EQ(fakes.codePage.Calls()[0].flags, 0u);
}

TEST_F(CommonExec2Test, PipeAndChildAreSetUpAsAHiddenChildWithOneOutputPipe) {
    Run(u"wsl -l -v", Reply{});

    ASSERT_EQ(fakes.processes.PipeCreations().size(), 1u);
    EXPECT_EQ(fakes.processes.PipeCreations()[0].attributes.nLength, 24u);
    EXPECT_TRUE(fakes.processes.PipeCreations()[0].attributes.bInheritHandle);
    EXPECT_EQ(fakes.processes.PipeCreations()[0].size, 0u);
    ASSERT_EQ(fakes.processes.HandleInformations().size(), 1u);
    EXPECT_EQ(fakes.processes.HandleInformations()[0].label, "pipe read");
    EXPECT_EQ(fakes.processes.HandleInformations()[0].mask, 1u);
    EXPECT_EQ(fakes.processes.HandleInformations()[0].flags, 0u);

    ASSERT_EQ(fakes.processes.ProcessStarts().size(), 1u);
    const FakeProcesses::ProcessStart& started = fakes.processes.ProcessStarts()[0];
    EXPECT_EQ(started.commandLine, u"wsl -l -v");
    EXPECT_TRUE(started.inheritHandles);
    EXPECT_EQ(started.creationFlags, 0x08000000u);
    EXPECT_EQ(started.startup.cb, 104u);
    EXPECT_EQ(started.startup.dwFlags, 0x101u);
    EXPECT_EQ(started.startup.wShowWindow, 0u);
    EXPECT_EQ(started.startup.hStdInput, port::kNoHandle);
    EXPECT_TRUE(started.stdHandleIsOpenPipeWriteEnd);
    EXPECT_EQ(started.startup.hStdError, started.startup.hStdOutput);

    EXPECT_EQ(Lines().back(), u"[CommonExec2] Output: \n");
    EXPECT_EQ(Closed(), kAllClosed);
}

TEST_F(CommonExec2Test, SetUpFailuresGiveEmptyTextAndCloseWhatWasOpened) {
    struct Case {
        const char* name;
        void (*script)(FakeProcesses&);
        const char16_t* line;
        std::vector<std::string> closed;
    };
    const Case cases[] = {
        {"pipe",
         [](FakeProcesses& p) { p.FailCreatePipe(8); },
         u"[CommonExec2] CreatePipe failed\n",
         {}},
        {"inherit flag",
         [](FakeProcesses& p) { p.FailSetHandleInformation(5); },
         u"[CommonExec2] SetHandleInformation failed\n",
         {"pipe read", "pipe write"}},
        {"process",
         [](FakeProcesses& p) {
             Reply reply;
             reply.startError = 2;
             reply.output = "never";
             p.ReplyTo(u"nosuch.exe -x", reply);
         },
         u"[CommonExec2] CreateProcess failed, GetLastError=2\n",
         {"pipe write", "pipe read"}},
        {"process, big code",
         [](FakeProcesses& p) {
             Reply reply;
             reply.startError = 4294967295u;
             p.ReplyTo(u"nosuch.exe -x", reply);
         },
         u"[CommonExec2] CreateProcess failed, GetLastError=4294967295\n",
         {"pipe write", "pipe read"}},
    };
    for (const Case& c : cases) {
        FakeRunnerPlatform local;
        c.script(local.processes);
        EXPECT_EQ(CommonExec2(u"nosuch.exe -x"), u"") << c.name;
        EXPECT_EQ(local.debugOutput.Lines(),
                  (std::vector<CString>{u"[CommonExec2] Main Command: nosuch.exe -x\n", c.line}))
            << c.name;
        EXPECT_EQ(local.processes.ClosedHandles(), c.closed) << c.name;
        EXPECT_TRUE(local.processes.OpenHandles().empty()) << c.name;
    }
}

TEST_F(CommonExec2Test, HyphenLowerCaseLAnywhereDecidesUtf16) {
    struct Case {
        const char16_t* command;
        bool wide;
    };
    const Case cases[] = {
        {u"wsl -l -v", true},
        {u"wsl --list --verbose", true},
        {u"bash -c \"cat /var/x-log\"", true},
        {u"tool a-lpha", true},
        {u"wsl -L -v", false},
        {u"wsl -d ROZivuvarud -u root -e ip route get 8.8.8.8", false},
        {u"wsl -- list", false},
        {u"", false},
    };
    for (const Case& c : cases) {
        FakeRunnerPlatform local;
        local.processes.ReplyOutput(c.command, Utf16Bytes(u"ab"));
        // In UTF-16 the zero high byte of 'a' ends an ANSI chunk after one character.
        EXPECT_EQ(CommonExec2(c.command), c.wide ? u"ab" : u"a") << CString(c.command).ToUtf8();
    }
}

TEST_F(CommonExec2Test, LongOutputArrivesInChunksAppendedInOrder) {
    std::string bytes;
    for (int i = 0; i < 2500; ++i) bytes += static_cast<char>('a' + i % 26);
    Reply reply;
    reply.output = bytes;
    EXPECT_EQ(Run(kRouteProbe, reply).ToUtf8(), bytes);

    std::vector<size_t> converted;
    for (const FakeCodePage::Call& call : fakes.codePage.Calls())
        converted.push_back(call.bytes.size());
    EXPECT_EQ(converted, (std::vector<size_t>{1023, 1023, 454}));
    for (uint32_t size : fakes.processes.ReadSizes()) EXPECT_EQ(size, 1023u);
}

TEST_F(CommonExec2Test, ZeroInsideAChunkEndsThatChunksTextOnly) {
    // The first chunk is the first 1023 bytes; the next one is decoded afresh.
    std::string ansi = std::string("abc") + '\0' + "def" + std::string(1100, 'x');
    std::string wide =
        Utf16Bytes(u"ab") + std::string(2, '\0') + Utf16Bytes(CString(std::u16string(600, u'y')));
    struct Case {
        const char16_t* command;
        std::string bytes;
        CString expected;
    };
    const Case cases[] = {
        {u"ansi", ansi, CString(u"abc") + CString(std::u16string(1107 - 1023, u'x'))},
        // 1023 bytes hold 511 units and one odd byte, carried to the next chunk.
        {u"wide -l", wide, CString(u"ab") + CString(std::u16string(600 - (511 - 3), u'y'))},
    };
    for (const Case& c : cases) {
        FakeRunnerPlatform local;
        local.processes.ReplyOutput(c.command, c.bytes);
        EXPECT_EQ(CommonExec2(c.command), c.expected) << CString(c.command).ToUtf8();
    }
}

TEST_F(CommonExec2Test, Utf16CharacterSplitByTheReadSizeSurvives) {
    // Unit 511 occupies bytes 1022 and 1023: the first read ends between them.
    std::u16string text(700, u'a');
    text[511] = u'\u8FD0';
    text[512] = u'\u884C';
    Reply reply;
    reply.output = Utf16Bytes(CString(text));
    EXPECT_EQ(Run(u"wsl -l -v", reply), CString(text));
}

TEST_F(CommonExec2Test, Utf16OddLastByteWithNoChunkAfterItIsDropped) {
    Reply reply;
    reply.output = Utf16Bytes(u"ok") + "Z";
    EXPECT_EQ(Run(u"wsl -l -v", reply), u"ok");
}

TEST_F(CommonExec2Test, DistributionListDecodesTheSameInUtf16AndInUtf8) {
    // Told WSL_UTF8=1, the list program writes UTF-8; a short first chunk does not decide.
    const std::string utf8 = kList.ToUtf8() + "\xE8\xBF\x90\xE8\xA1\x8C\r\n";
    const CString expected = kList + u"\u8FD0\u884C\r\n";
    struct Case {
        const char* name;
        std::vector<FakeProcesses::Write> writes;
    };
    const Case cases[] = {
        {"utf-16 at once", {{0, Utf16Bytes(expected)}}},
        {"utf-8 at once", {{0, utf8}}},
        {"utf-16, one byte first",
         {{0, Utf16Bytes(expected).substr(0, 1)}, {10, Utf16Bytes(expected).substr(1)}}},
        {"utf-8 split inside a character",
         {{0, utf8.substr(0, utf8.size() - 5)}, {10, utf8.substr(utf8.size() - 5)}}},
    };
    for (const Case& c : cases) {
        FakeRunnerPlatform local;
        Reply reply;
        reply.endsAfterMs = 20;
        reply.laterWrites = c.writes;
        local.processes.ReplyTo(u"wsl -l -v", reply);
        // The wait ends before the writes are read, so each write is a chunk of its own.
        EXPECT_EQ(CommonExec2(u"wsl -l -v"), expected) << c.name;
    }
}

TEST_F(CommonExec2Test, Utf8MultiByteCharacterAcrossTheReadSizeSurvives) {
    std::string bytes(1022, 'a');
    bytes += "\xE8\xBF\x90";  // bytes 1022..1024: the first read ends after the first of them
    bytes += "tail";
    Reply reply;
    reply.output = bytes;
    EXPECT_EQ(Run(u"wsl -l -v", reply), CString::FromUtf8(bytes));
}

TEST_F(CommonExec2Test, ChildEndingAfterTheWaitGivesAllItsOutputThenTimeout) {
    Reply reply;
    reply.endsAfterMs = 4000;
    reply.output = "first ";
    reply.laterWrites = {{3500, "second"}};
    EXPECT_EQ(Run(kRouteProbe, reply), u"first second");

    EXPECT_EQ(Lines(), (std::vector<CString>{
                           CString(u"[CommonExec2] Main Command: ") + kRouteProbe + u"\n",
                           u"[CommonExec2] Timeout\n", u"[CommonExec2] Output: first second\n"}));
    ASSERT_EQ(fakes.processes.Terminations().size(), 1u);
    EXPECT_EQ(fakes.processes.Terminations()[0].exitCode, 1u);
    EXPECT_FALSE(fakes.processes.Terminations()[0].wasRunning);
    EXPECT_EQ(Elapsed(), 4000u);
    for (uint32_t pause : fakes.processes.Sleeps()) EXPECT_EQ(pause, 50u);
    EXPECT_EQ(Closed(), kAllClosed);
}

TEST_F(CommonExec2Test, PipeHeldOpenAfterTheChildEndedDoesNotHang) {
    Reply reply;
    reply.output = "listed\r\n";
    reply.pipeHeldForMs = FakeProcesses::kNever;  // a background program keeps the write end
    FakeRunnerPlatform local;
    local.processes.ReplyTo(kRouteProbe, reply);
    const uint64_t before = local.processes.Now();
    EXPECT_EQ(CommonExec2(kRouteProbe), u"listed\r\n");
    EXPECT_EQ(local.processes.Now(), before);
    EXPECT_TRUE(local.processes.Sleeps().empty());
    EXPECT_TRUE(local.processes.Terminations().empty());
    EXPECT_EQ(local.debugOutput.Lines().size(), 2u);
    EXPECT_TRUE(local.processes.OpenHandles().empty());
}

// Whatever the wait gave, the drain ends 5000 ms after it: the caller is the window's thread.
TEST_F(CommonExec2Test, DrainIsBoundedWhenThePipeNeverEnds) {
    struct Case {
        const char* name;
        bool childRuns;        // else it ends by itself after `endsAfterMs`
        uint64_t endsAfterMs;  // within the wait (0) or after it
        bool flood;            // the program left behind keeps writing
        uint64_t waitMs;       // how long the wait lasts
    };
    const Case cases[] = {
        {"child runs for ever", true, 0, false, 3000},
        {"ended after the wait, grandchild holds the pipe", false, 3500, false, 3000},
        {"ended within the wait, grandchild keeps writing", false, 0, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRunnerPlatform local;
        Reply reply;
        reply.output = "partial";
        reply.timesOut = c.childRuns;
        reply.endsAfterMs = c.endsAfterMs;
        // Not for ever: were the drain unbounded, it would still end, and late.
        reply.pipeHeldForMs = c.flood ? 60000 : FakeProcesses::kNever;
        if (c.flood) {
            reply.floodEveryMs = 1;
            reply.floodBytes = ".";
        }
        local.processes.ReplyTo(kRouteProbe, reply);
        const uint64_t before = local.processes.Now();

        const CString text = CommonExec2(kRouteProbe);

        const uint64_t elapsed = local.processes.Now() - before;
        EXPECT_GE(elapsed, c.waitMs + 5000u);
        EXPECT_LT(elapsed, c.waitMs + 5000u + 100u);
        EXPECT_EQ(text.Left(7), u"partial");
        EXPECT_EQ(text.GetLength() > 7, c.flood);
        EXPECT_EQ(local.debugOutput.LinesStartingWith(u"[CommonExec2] Timeout\n").size(), 1u);
        EXPECT_EQ(local.debugOutput.Lines().back(),
                  CString(u"[CommonExec2] Output: ") + text + u"\n");
        ASSERT_EQ(local.processes.Terminations().size(), 1u);
        EXPECT_EQ(local.processes.Terminations()[0].exitCode, 1u);
        EXPECT_EQ(local.processes.Terminations()[0].wasRunning, c.childRuns);
        EXPECT_TRUE(local.processes.OpenHandles().empty());
    }
}

TEST_F(CommonExec2Test, FailedWaitReadsAtMostOneChunkAndLeavesTheChildAlone) {
    struct Case {
        const char* name;
        std::string output;
        bool childRuns;
        CString text;
        bool failedLine;
        size_t pauses;
    };
    const Case cases[] = {
        {"bytes waiting", std::string(2000, 'q'), true, CString(std::u16string(1023, u'q')), true,
         0},
        {"nothing waiting", "", true, u"", true, 1},
        {"pipe already ended", "", false, u"", false, 0},
    };
    for (const Case& c : cases) {
        FakeRunnerPlatform local;
        Reply reply;
        reply.waitResult = port::kWaitFailed;
        reply.output = c.output;
        reply.timesOut = c.childRuns;
        local.processes.ReplyTo(kRouteProbe, reply);
        EXPECT_EQ(CommonExec2(kRouteProbe), c.text) << c.name;
        std::vector<CString> expected = {CString(u"[CommonExec2] Main Command: ") + kRouteProbe +
                                         u"\n"};
        if (c.failedLine) expected.push_back(u"[CommonExec2] WaitForSingleObject failed\n");
        expected.push_back(CString(u"[CommonExec2] Output: ") + c.text + u"\n");
        EXPECT_EQ(local.debugOutput.Lines(), expected) << c.name;
        EXPECT_EQ(local.processes.Sleeps().size(), c.pauses) << c.name;
        EXPECT_TRUE(local.processes.Terminations().empty()) << c.name;
        EXPECT_EQ(local.processes.ClosedHandles(), kAllClosed) << c.name;
    }
}

TEST_F(CommonExec2Test, ReadThatFailsOrTakesNothingDoesNotEndTheDrain) {
    for (bool fail : {true, false}) {
        FakeRunnerPlatform local;
        local.processes.ReplyOutput(kRouteProbe, "abc");
        if (fail)
            local.processes.FailReads(1);
        else
            local.processes.EmptyReads(1);
        EXPECT_EQ(CommonExec2(kRouteProbe), u"abc") << fail;
        EXPECT_EQ(local.processes.ReadSizes().size(), 2u) << fail;
    }
}

TEST_F(CommonExec2Test, TextOfAFailingCommandIsReturnedAsIs) {
    Reply reply;
    reply.exitCode = 1;
    reply.output = "Error: \r\n\tno such distribution\n";
    EXPECT_EQ(Run(kRouteProbe, reply), u"Error: \r\n\tno such distribution\n");
}

}  // namespace
