// The LAN lookup and the socket layer over the real Windows port. The runner script passes
// what Linux itself reports: every IPv4 address of this machine and the source address of
// its route towards 8.8.8.8 ("none" when it has no such route).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "panel/LanAddress.h"
#include "platform/Network.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Platform.h"

namespace {

std::vector<std::string> g_machineAddresses;
std::string g_routeSource;

class NetworkWinTest : public ::testing::Test {
protected:
    NetworkWinTest() : m_install(MakePlatform()) {}
    void SetUp() override {
        uint16_t granted = 0;
        ASSERT_EQ(port::network().WSAStartup(0x0202, granted), 0);
        EXPECT_EQ(granted, 0x0202);
    }
    void TearDown() override { EXPECT_EQ(port::network().WSACleanup(), 0); }

private:
    static port::Platform MakePlatform() {
        port::Platform platform;
        platform.network = &win32::Network();
        return platform;
    }
    port::ScopedInstall m_install;
};

bool IsDottedIpv4(const std::string& text) {
    unsigned a, b, c, d;
    char tail;
    return std::sscanf(text.c_str(), "%u.%u.%u.%u%c", &a, &b, &c, &d, &tail) == 4 && a < 256 &&
           b < 256 && c < 256 && d < 256;
}

std::string Joined(const std::vector<std::string>& list) {
    std::string out;
    for (const std::string& item : list) out += (out.empty() ? "" : " ") + item;
    return out;
}

TEST_F(NetworkWinTest, LanAddressIsTheSourceOfThisMachinesRouteTo8888) {
    const std::string found = GetLanIpAddress().ToUtf8();
    std::printf("GetLanIpAddress: '%s'; Linux route source: %s; Linux addresses: %s\n",
                found.c_str(), g_routeSource.c_str(), Joined(g_machineAddresses).c_str());
    if (g_routeSource == "none") {
        // Without any route towards 8.8.8.8 there is no best interface.
        EXPECT_EQ(found, "") << "this machine has no route to 8.8.8.8";
        return;
    }
    ASSERT_TRUE(IsDottedIpv4(found)) << "not a bare dotted IPv4 address: '" << found << "'";
    bool ofThisMachine = false;
    for (const std::string& address : g_machineAddresses) ofThisMachine |= address == found;
    EXPECT_TRUE(ofThisMachine) << found << " is none of " << Joined(g_machineAddresses);
    if (!g_routeSource.empty()) EXPECT_EQ(found, g_routeSource);
}

TEST_F(NetworkWinTest, AdapterQueryReportsTheSizeItNeedsAndThenDecodesTheList) {
    port::Network& network = port::network();
    const uint32_t flags = 0x000E;
    uint32_t size = 1;
    std::vector<uint8_t> tiny(size, 0);
    std::vector<port::AdapterRecord> adapters;
    ASSERT_EQ(network.GetAdaptersAddresses(port::kAfInet, flags, tiny.data(), size, adapters),
              port::kErrorBufferOverflow);
    EXPECT_GT(size, 1u);
    EXPECT_TRUE(adapters.empty());

    std::vector<uint8_t> buffer(size, 0);
    ASSERT_EQ(network.GetAdaptersAddresses(port::kAfInet, flags, buffer.data(), size, adapters),
              0u);
    ASSERT_FALSE(adapters.empty());
    // Every address of the machine that Linux reports is on some adapter, as AF_INET.
    std::vector<std::string> listed;
    for (const port::AdapterRecord& adapter : adapters) {
        for (const port::UnicastAddress& address : adapter.unicastAddresses) {
            if (address.family != port::kAfInet) continue;
            char text[22] = {};
            network.InetNtop(port::kAfInet, address.ipv4, text, sizeof text);
            listed.push_back(text);
        }
    }
    for (const std::string& address : g_machineAddresses) {
        EXPECT_NE(std::find(listed.begin(), listed.end(), address), listed.end())
            << address << " not among " << Joined(listed);
    }
}

TEST_F(NetworkWinTest, TextConversionsRoundTripInNetworkOrder) {
    port::Network& network = port::network();
    uint8_t bytes[4] = {};
    EXPECT_EQ(network.InetPton(port::kAfInet, "8.8.4.1", bytes), 1);
    EXPECT_EQ(bytes[0], 8);
    EXPECT_EQ(bytes[3], 1);
    EXPECT_EQ(network.InetPton(port::kAfInet, "8.8.8", bytes), 0);

    const uint8_t widest[4] = {255, 255, 255, 255};
    char text[22] = {};
    ASSERT_NE(network.InetNtop(port::kAfInet, widest, text, sizeof text), nullptr);
    EXPECT_STREQ(text, "255.255.255.255");
    char small[8] = {};
    EXPECT_EQ(network.InetNtop(port::kAfInet, widest, small, sizeof small), nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--addresses=", 0) == 0) {
            std::istringstream list(arg.substr(std::strlen("--addresses=")));
            for (std::string address; std::getline(list, address, ',');) {
                if (!address.empty()) g_machineAddresses.push_back(address);
            }
        } else if (arg.rfind("--route-source=", 0) == 0) {
            g_routeSource = arg.substr(std::strlen("--route-source="));
        }
    }
    return RUN_ALL_TESTS();
}
