// Winsock and IP Helper, passed through; only the adapter list is decoded into the port's
// records.
#include <cstring>

#include "Win32.h"
#include "Win32Platform.h"
#include "platform/Network.h"
#include "platform/Platform.h"

namespace win32 {
namespace {

class Win32Network final : public port::Network {
public:
    int WSAStartup(uint16_t versionRequested, uint16_t& versionGranted) override {
        WSADATA data = {};
        const int result = ::WSAStartup(versionRequested, &data);
        if (result == 0) versionGranted = data.wVersion;
        return result;
    }

    int WSACleanup() override { return ::WSACleanup(); }

    int InetPton(int family, const char* text, void* address) override {
        return ::inet_pton(family, text, address);
    }

    const char* InetNtop(int family, const void* address, char* text, size_t size) override {
        return ::inet_ntop(family, const_cast<void*>(address), text, size);
    }

    uint32_t GetBestInterface(const uint8_t destination[4], uint32_t& index) override {
        IPAddr address = 0;
        std::memcpy(&address, destination, sizeof address);
        DWORD found = 0;
        const DWORD result = ::GetBestInterface(address, &found);
        if (result == NO_ERROR) index = found;
        return result;
    }

    uint32_t GetAdaptersAddresses(uint32_t family, uint32_t flags, void* buffer, uint32_t& size,
                                  std::vector<port::AdapterRecord>& adapters) override {
        ULONG length = size;
        const ULONG result = ::GetAdaptersAddresses(
            family, flags, nullptr, static_cast<IP_ADAPTER_ADDRESSES*>(buffer), &length);
        size = length;
        if (result != NO_ERROR) return result;
        adapters.clear();
        for (const IP_ADAPTER_ADDRESSES* a = static_cast<const IP_ADAPTER_ADDRESSES*>(buffer);
             a != nullptr; a = a->Next) {
            port::AdapterRecord record;
            record.IfIndex = a->IfIndex;
            record.Ipv6IfIndex = a->Ipv6IfIndex;
            for (const IP_ADAPTER_UNICAST_ADDRESS* u = a->FirstUnicastAddress; u != nullptr;
                 u = u->Next) {
                port::UnicastAddress address;
                const SOCKADDR* socketAddress = u->Address.lpSockaddr;
                if (socketAddress != nullptr) {
                    address.family = socketAddress->sa_family;
                    if (socketAddress->sa_family == AF_INET) {
                        const auto* in = reinterpret_cast<const sockaddr_in*>(socketAddress);
                        std::memcpy(address.ipv4, &in->sin_addr, sizeof address.ipv4);
                    }
                }
                record.unicastAddresses.push_back(address);
            }
            adapters.push_back(std::move(record));
        }
        return result;
    }
};

}  // namespace

port::Network& Network() {
    static Win32Network network;
    return network;
}

}  // namespace win32
