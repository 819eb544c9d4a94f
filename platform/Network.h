// Sockets and IP Helper: the socket start-up and the LAN address lookup.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace port {

inline constexpr int kAfInet = 2;
inline constexpr uint32_t kErrorBufferOverflow = 111;
inline constexpr uint32_t kGaaFlagSkipAnycast = 0x0002;
inline constexpr uint32_t kGaaFlagSkipMulticast = 0x0004;
inline constexpr uint32_t kGaaFlagSkipDnsServer = 0x0008;

// One unicast address of an adapter: its family and, for AF_INET, the 4-byte address.
struct UnicastAddress {
    uint16_t family = 0;
    uint8_t ipv4[4] = {0, 0, 0, 0};
};

// What the lookup reads of one IP_ADAPTER_ADDRESSES record, in the platform's list order.
struct AdapterRecord {
    uint32_t IfIndex = 0;
    uint32_t Ipv6IfIndex = 0;
    std::vector<UnicastAddress> unicastAddresses;
};

class Network {
public:
    virtual ~Network() = default;

    // WSAStartup: 0 on success, with the version the layer grants (low byte major).
    virtual int WSAStartup(uint16_t versionRequested, uint16_t& versionGranted) = 0;
    virtual int WSACleanup() = 0;

    virtual int InetPton(int family, const char* text, void* address) = 0;
    virtual const char* InetNtop(int family, const void* address, char* text, size_t size) = 0;
    // `destination` is the 4-byte address as it lies in memory (network byte order).
    virtual uint32_t GetBestInterface(const uint8_t destination[4], uint32_t& index) = 0;
    // GetAdaptersAddresses into the caller's `buffer` of `size` bytes (no reserved argument).
    // On 0 the list the buffer now holds is decoded into `adapters` (replacing what it held);
    // on kErrorBufferOverflow `size` holds the size needed.
    virtual uint32_t GetAdaptersAddresses(uint32_t family, uint32_t flags, void* buffer,
                                          uint32_t& size,
                                          std::vector<AdapterRecord>& adapters) = 0;
};

}  // namespace port
