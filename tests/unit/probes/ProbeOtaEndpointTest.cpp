#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake/FakeCodePage.h"
#include "fake/FakeHttp.h"
#include "platform/CodePage.h"
#include "runner/ProbeOtaEndpoint.h"

namespace {

using Kind = FakeHttp::Kind;

class ProbeOtaEndpointTest : public testing::Test {
protected:
    ProbeOtaEndpointTest() : m_install(Parts()) {}

    port::Platform Parts() {
        port::Platform platform;
        http.FillInto(platform);
        platform.codePage = &codePage;
        return platform;
    }

    std::vector<Kind> Kinds() const {
        std::vector<Kind> kinds;
        for (const auto& call : http.Calls()) kinds.push_back(call.kind);
        return kinds;
    }

    FakeHttp http;
    FakeCodePage codePage;

private:
    port::ScopedInstall m_install;
};

const std::string kAnswer =
    R"({"server":{"time":1718000000},"websocket":{"url":"ws://192.168.1.20:8000/tarvino/v1/"}})";

TEST_F(ProbeOtaEndpointTest, OneRequestWithTheAgentLimitsAndAddressThenEverythingClosed) {
    http.SetAnswer(kAnswer);
    EXPECT_TRUE(ProbeOtaEndpoint());

    EXPECT_EQ(Kinds(),
              (std::vector<Kind>{Kind::Open, Kind::SetOption, Kind::SetOption, Kind::SetOption,
                                 Kind::OpenUrl, Kind::Read, Kind::Close, Kind::Close}));
    const auto& calls = http.Calls();
    const port::Handle session = calls[0].handle;
    EXPECT_EQ(calls[0].text, u"brenlow-se");
    EXPECT_EQ(calls[0].accessType, port::kInternetOpenTypePreconfig);
    EXPECT_TRUE(calls[0].proxyWasNull);
    EXPECT_TRUE(calls[0].proxyBypassWasNull);
    EXPECT_EQ(calls[0].flags, 0u);

    const uint32_t limits[][2] = {{port::kInternetOptionConnectTimeout, 3000},
                                  {port::kInternetOptionSendTimeout, 1000},
                                  {port::kInternetOptionReceiveTimeout, 1000}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(calls[1 + i].handle, session);
        EXPECT_EQ(calls[1 + i].option, limits[i][0]);
        EXPECT_EQ(calls[1 + i].value, limits[i][1]);
    }

    const auto& request = calls[4];
    EXPECT_EQ(request.session, session);
    EXPECT_EQ(request.text, u"http://localhost:8003/tarvino/ota/");
    EXPECT_TRUE(request.headersWereNull);
    EXPECT_EQ(request.headersLength, 0u);
    EXPECT_EQ(request.flags, port::kInternetFlagTransferAscii);
    EXPECT_EQ(request.context, 1u);

    EXPECT_EQ(calls[5].handle, request.handle);
    EXPECT_EQ(calls[5].bytesToRead, 255u);
    EXPECT_EQ(calls[6].handle, request.handle);  // the answer first, then the session
    EXPECT_EQ(calls[7].handle, session);
    EXPECT_TRUE(http.OpenHandles().empty());

    // Exactly the bytes read are converted, from the thread's ANSI code page.
    ASSERT_EQ(codePage.Calls().size(), 1u);
    EXPECT_EQ(codePage.Calls()[0].codePage, port::kCpThreadAcp);
    EXPECT_EQ(codePage.Calls()[0].flags, 0u);
    EXPECT_EQ(codePage.Calls()[0].bytes, kAnswer);
}

TEST_F(ProbeOtaEndpointTest, OnlyTheFirst255BytesBeforeAnyZeroByteAreJudged) {
    const std::string path = ":8000/tarvino/v1/";
    struct Case {
        const char* what;
        std::string answer;
        bool up;
    };
    const Case cases[] = {
        {"path inside the address", "ws://10.0.0.7" + path, true},
        {"path alone", path, true},
        {"path ends at byte 255", std::string(255 - path.size(), 'x') + path, true},
        {"path across byte 255", std::string(250, 'x') + path, false},
        {"path after byte 255", std::string(300, 'x') + path, false},
        {"zero byte before the path", std::string("ws://10.0.0.7") + '\0' + path, false},
        {"empty body", "", false},
        {"other letter case", "ws://10.0.0.7:8000/Tarvino/V1/", false},
        {"other port", "ws://10.0.0.7:8001/tarvino/v1/", false},
        {"without the last slash", "ws://10.0.0.7:8000/tarvino/v1", false},
    };
    for (const Case& c : cases) {
        http.SetAnswer(c.answer);
        EXPECT_EQ(ProbeOtaEndpoint() != 0, c.up) << c.what;
    }
    EXPECT_TRUE(http.OpenHandles().empty());
}

TEST_F(ProbeOtaEndpointTest, ReadsOnceEvenWhenTheAnswerComesInPieces) {
    const std::vector<std::vector<std::string>> answers = {
        {"ws://10.0.0.7", ":8000/tarvino/v1/"},
        {"", "ws://10.0.0.7:8000/tarvino/v1/"},  // the first read brings nothing
    };
    for (const auto& chunks : answers) {
        http.SetChunks(chunks);
        EXPECT_FALSE(ProbeOtaEndpoint());
    }
    EXPECT_EQ(http.CallsOf(Kind::Read).size(), 2u);
}

// Each failure gives false, releases what was opened (each handle once) and throws nothing.
TEST_F(ProbeOtaEndpointTest, FailuresGiveFalseAndReleaseEverything) {
    struct Case {
        const char* what;
        void (*script)(FakeHttp&);
        std::vector<Kind> after;  // the calls after the three time limits
    };
    const Case cases[] = {
        {"nothing listening", [](FakeHttp& h) { h.SetDown(); }, {Kind::OpenUrl, Kind::Close}},
        {"no answer object",
         [](FakeHttp& h) { h.AnswerWithNoObject(); },
         {Kind::OpenUrl, Kind::Close}},
        {"read fails",
         [](FakeHttp& h) {
             h.SetAnswer(kAnswer);
             h.FailRead();
         },
         {Kind::OpenUrl, Kind::Read, Kind::Close, Kind::Close}},
        {"closing the answer fails",
         [](FakeHttp& h) {
             h.SetAnswer(kAnswer);
             h.FailCloseOfAnswer(FakeHttp::kErrorTimeout);
         },
         {Kind::OpenUrl, Kind::Read, Kind::Close, Kind::Close}},
    };
    for (const Case& c : cases) {
        FakeHttp fresh;
        c.script(fresh);
        port::Platform platform = port::Current();
        fresh.FillInto(platform);
        port::ScopedInstall install(platform);

        EXPECT_FALSE(ProbeOtaEndpoint()) << c.what;
        std::vector<Kind> kinds;
        for (size_t i = 4; i < fresh.Calls().size(); ++i) kinds.push_back(fresh.Calls()[i].kind);
        EXPECT_EQ(kinds, c.after) << c.what;
        EXPECT_TRUE(fresh.OpenHandles().empty()) << c.what;
        EXPECT_EQ(fresh.CallsOf(Kind::Close).back().handle, fresh.Calls()[0].handle) << c.what;
    }
}

TEST_F(ProbeOtaEndpointTest, SessionThatCannotBeOpenedCountsAsNotUp) {
    http.FailOpen(12007);
    EXPECT_FALSE(ProbeOtaEndpoint());
    EXPECT_EQ(Kinds(), std::vector<Kind>{Kind::Open});
    EXPECT_EQ(http.RequestCount(), 0);
}

}  // namespace
