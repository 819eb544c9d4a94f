#include "FakeNetwork.h"

#include <cstdio>
#include <cstring>

namespace fake {
namespace {

constexpr uint16_t kAfInet6 = 23;

bool ParseIpv4(const char* text, uint8_t out[4]) {
    unsigned a, b, c, d;
    char tail;
    if (std::sscanf(text, "%u.%u.%u.%u%c", &a, &b, &c, &d, &tail) != 4) return false;
    if (a > 255 || b > 255 || c > 255 || d > 255) return false;
    out[0] = static_cast<uint8_t>(a);
    out[1] = static_cast<uint8_t>(b);
    out[2] = static_cast<uint8_t>(c);
    out[3] = static_cast<uint8_t>(d);
    return true;
}

}  // namespace

port::AdapterRecord FakeNetwork::Adapter(uint32_t ifIndex, uint32_t ipv6IfIndex,
                                         const std::vector<std::string>& addresses) {
    port::AdapterRecord adapter;
    adapter.IfIndex = ifIndex;
    adapter.Ipv6IfIndex = ipv6IfIndex;
    for (const std::string& text : addresses) {
        port::UnicastAddress address;
        if (text == "v6") {
            address.family = kAfInet6;
        } else {
            address.family = port::kAfInet;
            ParseIpv4(text.c_str(), address.ipv4);
        }
        adapter.unicastAddresses.push_back(address);
    }
    return adapter;
}

void FakeNetwork::AnswerAdapters(std::vector<port::AdapterRecord> adapters) {
    adapterAnswers.push_back({0, 0, std::move(adapters)});
}

void FakeNetwork::AnswerOverflow(uint32_t sizeNeeded) {
    adapterAnswers.push_back({port::kErrorBufferOverflow, sizeNeeded, {}});
}

void FakeNetwork::AnswerFailure(uint32_t result) { adapterAnswers.push_back({result, 0, {}}); }

int FakeNetwork::WSAStartup(uint16_t versionRequested, uint16_t& versionGranted) {
    calls.push_back("WSAStartup");
    wsaVersionsRequested.push_back(versionRequested);
    if (wsaStartupResult == 0) versionGranted = wsaVersionGranted;
    return wsaStartupResult;
}

int FakeNetwork::WSACleanup() {
    calls.push_back("WSACleanup");
    return wsaCleanupResult;
}

int FakeNetwork::InetPton(int family, const char* text, void* address) {
    calls.push_back("inet_pton");
    ptonTexts.push_back(text ? text : "");
    if (family != port::kAfInet || text == nullptr) return 0;
    uint8_t bytes[4];
    if (!ParseIpv4(text, bytes)) return 0;
    std::memcpy(address, bytes, 4);
    return 1;
}

const char* FakeNetwork::InetNtop(int family, const void* address, char* text, size_t size) {
    calls.push_back("inet_ntop");
    ntopSizes.push_back(size);
    if (inetNtopFails || family != port::kAfInet) return nullptr;
    const auto* b = static_cast<const uint8_t*>(address);
    char formatted[16];
    std::snprintf(formatted, sizeof formatted, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
    if (std::strlen(formatted) + 1 > size) return nullptr;
    std::memcpy(text, formatted, std::strlen(formatted) + 1);
    return text;
}

uint32_t FakeNetwork::GetBestInterface(const uint8_t destination[4], uint32_t& index) {
    calls.push_back("GetBestInterface");
    bestInterfaceDestinations.push_back(
        {destination[0], destination[1], destination[2], destination[3]});
    if (bestInterfaceResult == 0) index = bestInterfaceIndex;
    return bestInterfaceResult;
}

uint32_t FakeNetwork::GetAdaptersAddresses(uint32_t family, uint32_t flags, void* buffer,
                                           uint32_t& size,
                                           std::vector<port::AdapterRecord>& adapters) {
    calls.push_back("GetAdaptersAddresses");
    adapterQueries.push_back({family, flags, size, buffer != nullptr});
    if (adapterAnswers.empty()) return kErrorNoData;
    AdapterAnswer answer = std::move(adapterAnswers.front());
    adapterAnswers.pop_front();
    if (answer.result == port::kErrorBufferOverflow) {
        size = answer.size;
    } else if (answer.result == 0) {
        adapters = std::move(answer.adapters);
    }
    return answer.result;
}

}  // namespace fake
