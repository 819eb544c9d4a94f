#include "panel/LanAddress.h"

#include <cstdint>
#include <vector>

#include "platform/Network.h"
#include "platform/Platform.h"

namespace {

// Only asked which interface routes towards it; nothing is sent there.
constexpr const char* kProbeAddress = "8.8.8.8";
constexpr uint32_t kInitialBufferSize = 15000;
constexpr uint32_t kAdapterFlags =
    port::kGaaFlagSkipAnycast | port::kGaaFlagSkipMulticast | port::kGaaFlagSkipDnsServer;
// Room for the longest dotted IPv4 text with its terminating zero.
constexpr size_t kTextBufferSize = 22;

// The first AF_INET unicast address of the first matching adapter that has one, or null.
const port::UnicastAddress* FindAddress(const std::vector<port::AdapterRecord>& adapters,
                                        uint32_t bestIndex) {
    for (const port::AdapterRecord& adapter : adapters) {
        if (adapter.IfIndex != bestIndex && adapter.Ipv6IfIndex != bestIndex) continue;
        for (const port::UnicastAddress& address : adapter.unicastAddresses) {
            if (address.family == port::kAfInet) return &address;
        }
    }
    return nullptr;
}

}  // namespace

CString GetLanIpAddress() {
    port::Network& network = port::network();

    uint8_t probe[4] = {0, 0, 0, 0};
    network.InetPton(port::kAfInet, kProbeAddress, probe);

    uint32_t bestIndex = 0;
    if (network.GetBestInterface(probe, bestIndex) != 0) return CString();

    uint32_t size = kInitialBufferSize;
    std::vector<uint8_t> buffer(size, 0);
    std::vector<port::AdapterRecord> adapters;
    uint32_t result =
        network.GetAdaptersAddresses(port::kAfInet, kAdapterFlags, buffer.data(), size, adapters);
    if (result == port::kErrorBufferOverflow) {
        // Exactly once, with the size the platform asked for; whatever the second answer is
        // stands, so a list that keeps growing cannot keep us looping.
        buffer.resize(size, 0);
        result = network.GetAdaptersAddresses(port::kAfInet, kAdapterFlags, buffer.data(), size,
                                              adapters);
    }
    if (result != 0) return CString();

    const port::UnicastAddress* address = FindAddress(adapters, bestIndex);
    if (address == nullptr) return CString();

    char text[kTextBufferSize] = {};
    network.InetNtop(port::kAfInet, address->ipv4, text, sizeof text);
    // Digits and dots only, the same bytes in every ANSI code page: widened unit by unit.
    CString lanAddress;
    for (const char* p = text; *p != '\0'; ++p)
        lanAddress += static_cast<char16_t>(static_cast<unsigned char>(*p));
    return lanAddress;
}
