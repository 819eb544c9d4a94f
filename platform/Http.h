// HTTP requests, as WinINet offers them.
#pragma once

#include <cstdint>

#include "Platform.h"

namespace port {

inline constexpr uint32_t kInternetOpenTypePreconfig = 0;
inline constexpr uint32_t kInternetOptionConnectTimeout = 2;
inline constexpr uint32_t kInternetOptionSendTimeout = 5;
inline constexpr uint32_t kInternetOptionReceiveTimeout = 6;
inline constexpr uint32_t kInternetFlagTransferAscii = 0x1;

class Http {
public:
    virtual ~Http() = default;

    virtual Handle InternetOpen(const char16_t* agent, uint32_t accessType,
                                const char16_t* proxy, const char16_t* proxyBypass,
                                uint32_t flags) = 0;
    // A 4-byte option value, such as a time limit in milliseconds.
    virtual bool InternetSetOption(Handle internet, uint32_t option, uint32_t value) = 0;
    virtual Handle InternetOpenUrl(Handle session, const char16_t* url, const char16_t* headers,
                                   uint32_t headersLength, uint32_t flags,
                                   std::uintptr_t context) = 0;
    virtual bool InternetReadFile(Handle file, void* buffer, uint32_t bytesToRead,
                                  uint32_t& bytesRead) = 0;
    virtual bool InternetCloseHandle(Handle internet) = 0;
    virtual uint32_t GetLastError() = 0;
};

}  // namespace port
