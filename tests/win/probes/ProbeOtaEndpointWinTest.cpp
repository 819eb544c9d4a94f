// The probe over real WinINet against a server of our own on the probe's fixed port 8003.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "LoopbackHttpServer.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Platform.h"
#include "runner/ProbeOtaEndpoint.h"

namespace {

constexpr uint16_t kOtaPort = 8003;
const std::string kPath = ":8000/tarvino/v1/";

class ProbeOtaEndpointWine : public testing::Test {
protected:
    ProbeOtaEndpointWine() : m_install(Parts()) {}

    static port::Platform Parts() {
        port::Platform platform;
        platform.http = &win32::Http();
        platform.codePage = &win32::CodePage();
        return platform;
    }

    // Milliseconds one probe takes, with its result.
    static long long TimedProbe(BOOL& up) {
        auto start = std::chrono::steady_clock::now();
        up = ProbeOtaEndpoint();
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - start)
            .count();
    }

private:
    port::ScopedInstall m_install;
};

TEST_F(ProbeOtaEndpointWine, JudgesTheFirst255BytesOfTheBodyWhateverTheStatus) {
    struct Case {
        const char* what;
        std::string status;
        std::string body;
        bool up;
    };
    const Case cases[] = {
        {"up", "200 OK", R"({"websocket":{"url":"ws://192.168.1.20)" + kPath + R"("}})", true},
        {"HTTP 500 that still names the path", "500 Internal Server Error",
         "error; websocket ws://192.168.1.20" + kPath, true},
        {"path in other letter case", "200 OK", "ws://192.168.1.20:8000/Tarvino/V1/", false},
        {"path past byte 255", "200 OK", std::string(260, ' ') + "ws://192.168.1.20" + kPath,
         false},
        {"zero byte before the path", "200 OK", std::string("ws://192.168.1.20\0", 18) + kPath,
         false},
    };
    for (const Case& c : cases) {
        LoopbackHttpServer server(kOtaPort, LoopbackHttpServer::Response(c.status, c.body));
        ASSERT_TRUE(server.Listening()) << "port 8003 is taken";
        EXPECT_EQ(ProbeOtaEndpoint() != 0, c.up) << c.what;
        server.Stop();

        const auto requests = server.Requests();
        ASSERT_EQ(requests.size(), 1u) << c.what;
        EXPECT_EQ(requests[0].rfind("GET /tarvino/ota/ HTTP/1.", 0), 0u) << requests[0];
        EXPECT_NE(requests[0].find("User-Agent: brenlow-se\r\n"), std::string::npos) << requests[0];
        EXPECT_NE(requests[0].find("Host: localhost:8003\r\n"), std::string::npos) << requests[0];
    }
}

TEST_F(ProbeOtaEndpointWine, NothingListeningIsNotUpAndQuick) {
    BOOL up = 1;
    long long ms = TimedProbe(up);
    EXPECT_FALSE(up);
    EXPECT_LT(ms, 3500) << "a refused connection waits no longer than the connect limit";
}

}  // namespace
