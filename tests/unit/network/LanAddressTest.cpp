#include <gtest/gtest.h>

#include "fake/FakeNetwork.h"
#include "panel/LanAddress.h"
#include "platform/Platform.h"

namespace {

using fake::FakeNetwork;

class LanAddressTest : public ::testing::Test {
protected:
    LanAddressTest() : m_install(MakePlatform(&net)) {}

    static port::Platform MakePlatform(FakeNetwork* network) {
        port::Platform platform;
        platform.network = network;
        return platform;
    }

    std::vector<std::string> AdapterQueryCalls() const {
        std::vector<std::string> out;
        for (const std::string& call : net.calls) {
            if (call == "GetAdaptersAddresses") out.push_back(call);
        }
        return out;
    }

    FakeNetwork net;

private:
    port::ScopedInstall m_install;
};

TEST_F(LanAddressTest, AsksForTheRouteTo8888AndReturnsTheBareDottedAddress) {
    net.bestInterfaceIndex = 7;
    net.AnswerAdapters({FakeNetwork::Adapter(7, 7, {"192.168.1.20"})});

    EXPECT_EQ(GetLanIpAddress(), u"192.168.1.20");

    const std::vector<std::string> expected = {"inet_pton", "GetBestInterface",
                                               "GetAdaptersAddresses", "inet_ntop"};
    EXPECT_EQ(net.calls, expected);
    EXPECT_EQ(net.ptonTexts, std::vector<std::string>{"8.8.8.8"});
    ASSERT_EQ(net.bestInterfaceDestinations.size(), 1u);
    EXPECT_EQ(net.bestInterfaceDestinations[0], (std::array<uint8_t, 4>{8, 8, 8, 8}));
    ASSERT_EQ(net.adapterQueries.size(), 1u);
    EXPECT_EQ(net.adapterQueries[0].family, 2u);
    EXPECT_EQ(net.adapterQueries[0].flags, 0x000Eu);
    EXPECT_EQ(net.adapterQueries[0].size, 15000u);
    EXPECT_TRUE(net.adapterQueries[0].hasBuffer);
    EXPECT_EQ(net.ntopSizes, std::vector<size_t>{22});
}

TEST_F(LanAddressTest, NoRouteGivesEmptyTextWithoutAnAdapterQuery) {
    net.bestInterfaceResult = 1232;  // ERROR_NETWORK_UNREACHABLE
    net.AnswerAdapters({FakeNetwork::Adapter(0, 0, {"10.0.0.5"})});

    EXPECT_EQ(GetLanIpAddress(), u"");
    EXPECT_TRUE(AdapterQueryCalls().empty());
}

TEST_F(LanAddressTest, OverflowIsRetriedOnceWithTheReportedSize) {
    net.bestInterfaceIndex = 3;
    net.AnswerOverflow(40123);
    net.AnswerAdapters({FakeNetwork::Adapter(3, 3, {"10.1.2.3"})});

    EXPECT_EQ(GetLanIpAddress(), u"10.1.2.3");
    ASSERT_EQ(net.adapterQueries.size(), 2u);
    EXPECT_EQ(net.adapterQueries[1].size, 40123u);
    EXPECT_EQ(net.adapterQueries[1].flags, net.adapterQueries[0].flags);
    EXPECT_EQ(net.adapterQueries[1].family, net.adapterQueries[0].family);
}

// Each adapter query script ends with a list the lookup must never reach when the earlier
// answers already decide the result.
TEST_F(LanAddressTest, FailedAdapterQueriesGiveEmptyText) {
    struct Case {
        const char* name;
        std::vector<FakeNetwork::AdapterAnswer> answers;
        size_t queries;
    };
    const auto good = FakeNetwork::AdapterAnswer{0, 0, {FakeNetwork::Adapter(1, 1, {"10.0.0.9"})}};
    const Case cases[] = {
        {"first answer is another error", {{87, 0, {}}, good}, 1},
        {"second answer overflows again", {{111, 20000, {}}, {111, 30000, {}}, good}, 2},
        {"second answer is another error", {{111, 20000, {}}, {8, 0, {}}, good}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeNetwork network;
        network.bestInterfaceIndex = 1;
        network.adapterAnswers.assign(c.answers.begin(), c.answers.end());
        port::Platform platform;
        platform.network = &network;
        port::ScopedInstall install(platform);

        EXPECT_EQ(GetLanIpAddress(), u"");
        EXPECT_EQ(network.adapterQueries.size(), c.queries);
    }
}

TEST_F(LanAddressTest, AdapterChoice) {
    struct Case {
        const char* name;
        uint32_t best;
        std::vector<port::AdapterRecord> adapters;
        const char16_t* expected;
    };
    const Case cases[] = {
        {"matched through Ipv6IfIndex alone",
         9,
         {FakeNetwork::Adapter(4, 0, {"10.0.0.4"}), FakeNetwork::Adapter(0, 9, {"10.0.0.9"})},
         u"10.0.0.9"},
        {"first IPv4 of several, in the platform's order",
         5,
         {FakeNetwork::Adapter(5, 5, {"v6", "192.168.7.30", "192.168.7.10"})},
         u"192.168.7.30"},
        {"matching adapter without IPv4 passed over for a later match",
         6,
         {FakeNetwork::Adapter(6, 0, {"v6"}), FakeNetwork::Adapter(2, 2, {"172.16.0.2"}),
          FakeNetwork::Adapter(0, 6, {"192.168.50.6"})},
         u"192.168.50.6"},
        {"matching adapter with no addresses at all passed over",
         6,
         {FakeNetwork::Adapter(6, 6, {}), FakeNetwork::Adapter(6, 6, {"10.6.6.6"})},
         u"10.6.6.6"},
        {"adapters that are not the best interface never supply it",
         8,
         {FakeNetwork::Adapter(1, 1, {"10.0.0.1"}), FakeNetwork::Adapter(8, 8, {"v6"}),
          FakeNetwork::Adapter(2, 2, {"10.0.0.2"})},
         u""},
        {"empty adapter list", 8, {}, u""},
        {"highest dotted form fits the text buffer",
         1,
         {FakeNetwork::Adapter(1, 1, {"255.255.255.255"})},
         u"255.255.255.255"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeNetwork network;
        network.bestInterfaceIndex = c.best;
        network.AnswerAdapters(c.adapters);
        port::Platform platform;
        platform.network = &network;
        port::ScopedInstall install(platform);

        EXPECT_EQ(GetLanIpAddress(), c.expected);
    }
}

TEST_F(LanAddressTest, FailedTextConversionGivesEmptyText) {
    net.bestInterfaceIndex = 1;
    net.inetNtopFails = true;
    net.AnswerAdapters({FakeNetwork::Adapter(1, 1, {"10.0.0.1"})});

    EXPECT_EQ(GetLanIpAddress(), u"");
}

TEST_F(LanAddressTest, EachCallQueriesAfresh) {
    net.bestInterfaceIndex = 1;
    net.AnswerAdapters({FakeNetwork::Adapter(1, 1, {"10.0.0.1"})});
    net.AnswerAdapters({FakeNetwork::Adapter(1, 1, {"10.0.0.2"})});

    EXPECT_EQ(GetLanIpAddress(), u"10.0.0.1");
    EXPECT_EQ(GetLanIpAddress(), u"10.0.0.2");
    EXPECT_EQ(net.bestInterfaceDestinations.size(), 2u);
}

}  // namespace
