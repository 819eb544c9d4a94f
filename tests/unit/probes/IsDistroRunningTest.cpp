#include <gtest/gtest.h>

#include <string>

#include "fake/FakeRunnerPlatform.h"
#include "runner/IsDistroRunning.h"

namespace {

// wsl writes its list in UTF-16 little-endian.
std::string Utf16Bytes(const std::u16string& text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

TEST(IsDistroRunning, AsksWslForItsListOnceAndJudgesIt) {
    const std::u16string header = u"  NAME           STATE      VERSION\r\n";
    struct Case {
        std::u16string list;
        BOOL running;
    };
    const Case cases[] = {
        {header + u"* ROZivuvarud    Running    2\r\n", TRUE},
        {header + u"* ROZivuvarud    Stopped    2\r\n", FALSE},
    };
    for (const Case& c : cases) {
        FakeRunnerPlatform fakes;
        fakes.processes.ReplyOutput(u"wsl -l -v", Utf16Bytes(c.list));
        EXPECT_EQ(IsDistroRunning(u"ROZivuvarud"), c.running);
        const auto runs = fakes.processes.Runs();
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].kind, FakeProcesses::Kind::Captured);
        EXPECT_EQ(runs[0].command, u"wsl -l -v");
    }
}

TEST(IsDistroRunning, NoListIsNotRunning) {
    FakeRunnerPlatform fakes;
    fakes.processes.FailCreatePipe(5);
    EXPECT_FALSE(IsDistroRunning(u"ROZivuvarud"));
}

}  // namespace
