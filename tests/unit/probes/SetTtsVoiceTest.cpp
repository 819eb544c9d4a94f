#include <gtest/gtest.h>

#include "fake/FakeRunnerPlatform.h"
#include "runner/SetTtsVoice.h"

namespace {

struct LineCase {
    const char16_t* voice;
    const char16_t* line;
};

// The whole line handed to the hidden runner, with its 3000 ms limit.
TEST(SetTtsVoice, RunsTheVoiceEditThroughTheHiddenRunner) {
    const LineCase cases[] = {
        {u"zh-CN-XiaoyiNeural",
         u"wsl -d ROZivuvarud -u root -e bash -c \"yq -i '.TTS.EdgeTTS.voice = "
         u"\\\"zh-CN-XiaoyiNeural\\\"' /root/tarvino-server/data/.config.yaml\""},
        {u"zh-CN-YunxiNeural",
         u"wsl -d ROZivuvarud -u root -e bash -c \"yq -i '.TTS.EdgeTTS.voice = "
         u"\\\"zh-CN-YunxiNeural\\\"' /root/tarvino-server/data/.config.yaml\""},
        {u"",  // an empty value: two quotes with nothing between them
         u"wsl -d ROZivuvarud -u root -e bash -c \"yq -i '.TTS.EdgeTTS.voice = "
         u"\\\"\\\"' /root/tarvino-server/data/.config.yaml\""},
        {u"a voice with blanks",
         u"wsl -d ROZivuvarud -u root -e bash -c \"yq -i '.TTS.EdgeTTS.voice = "
         u"\\\"a voice with blanks\\\"' /root/tarvino-server/data/.config.yaml\""},
    };
    for (const LineCase& c : cases) {
        FakeRunnerPlatform fakes;
        EXPECT_TRUE(SetTtsVoice(c.voice));
        const auto runs = fakes.processes.Runs();
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].kind, FakeProcesses::Kind::Hidden);
        EXPECT_EQ(runs[0].command, c.line) << runs[0].command.ToUtf8();
        EXPECT_EQ(runs[0].timeoutMs, 3000u);
    }
}

TEST(SetTtsVoice, PassesOnTheRunnersFailure) {
    {
        FakeRunnerPlatform fakes;
        fakes.processes.SetResponder([](const CString&) {
            FakeProcesses::Reply reply;
            reply.exitCode = 1;
            return reply;
        });
        EXPECT_FALSE(SetTtsVoice(u"zh-CN-XiaoyiNeural"));
    }
    {
        FakeRunnerPlatform fakes;
        fakes.processes.SetResponder([](const CString&) {
            FakeProcesses::Reply reply;
            reply.timesOut = true;
            return reply;
        });
        EXPECT_FALSE(SetTtsVoice(u"zh-CN-XiaoyiNeural"));
        EXPECT_EQ(fakes.processes.Runs().size(), 1u);  // no retry
    }
}

}  // namespace
