// A scripted socket layer and IP Helper: answers each query as the test says and journals
// every call, so a test states the conversation it expects.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/Network.h"

namespace fake {

class FakeNetwork : public port::Network {
public:
    // One answer of the adapter query. On kErrorBufferOverflow `size` is the size reported as
    // needed; on 0 `adapters` is the list handed out; any other result is a plain failure.
    struct AdapterAnswer {
        uint32_t result = 0;
        uint32_t size = 0;
        std::vector<port::AdapterRecord> adapters;
    };

    // What one adapter query was given.
    struct AdapterQuery {
        uint32_t family = 0;
        uint32_t flags = 0;
        uint32_t size = 0;  // the size passed in
        bool hasBuffer = false;
    };

    // --- script ---
    int wsaStartupResult = 0;
    uint16_t wsaVersionGranted = 0x0202;
    int wsaCleanupResult = 0;

    // GetBestInterface: the answer and the index it reports.
    uint32_t bestInterfaceResult = 0;
    uint32_t bestInterfaceIndex = 0;

    // Adapter queries are answered in order; once the queue is empty every further query
    // answers kErrorNoData.
    std::deque<AdapterAnswer> adapterAnswers;
    static constexpr uint32_t kErrorNoData = 232;

    // inet_ntop fails (returns null, writes nothing) when set.
    bool inetNtopFails = false;

    // --- journal ---
    // Every call by name, in order: "WSAStartup", "WSACleanup", "inet_pton", "inet_ntop",
    // "GetBestInterface", "GetAdaptersAddresses".
    std::vector<std::string> calls;
    std::vector<uint16_t> wsaVersionsRequested;
    std::vector<std::string> ptonTexts;
    std::vector<std::array<uint8_t, 4>> bestInterfaceDestinations;
    std::vector<AdapterQuery> adapterQueries;
    std::vector<size_t> ntopSizes;

    // Script helpers.
    // One adapter with the given indices and unicast addresses, each "a.b.c.d" (IPv4) or
    // "v6" (an AF_INET6 record).
    static port::AdapterRecord Adapter(uint32_t ifIndex, uint32_t ipv6IfIndex,
                                       const std::vector<std::string>& addresses);
    void AnswerAdapters(std::vector<port::AdapterRecord> adapters);
    void AnswerOverflow(uint32_t sizeNeeded);
    void AnswerFailure(uint32_t result);

    int WSAStartup(uint16_t versionRequested, uint16_t& versionGranted) override;
    int WSACleanup() override;
    int InetPton(int family, const char* text, void* address) override;
    const char* InetNtop(int family, const void* address, char* text, size_t size) override;
    uint32_t GetBestInterface(const uint8_t destination[4], uint32_t& index) override;
    uint32_t GetAdaptersAddresses(uint32_t family, uint32_t flags, void* buffer, uint32_t& size,
                                  std::vector<port::AdapterRecord>& adapters) override;
};

}  // namespace fake
