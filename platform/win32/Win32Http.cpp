#include "Win32.h"
#include "Win32Platform.h"
#include "platform/Http.h"

namespace win32 {
namespace {

class Win32Http final : public port::Http {
public:
    port::Handle InternetOpen(const char16_t* agent, uint32_t accessType, const char16_t* proxy,
                              const char16_t* proxyBypass, uint32_t flags) override {
        return P(::InternetOpenW(W(agent), accessType, W(proxy), W(proxyBypass), flags));
    }
    bool InternetSetOption(port::Handle internet, uint32_t option, uint32_t value) override {
        DWORD data = value;
        return ::InternetSetOptionW(H(internet), option, &data, sizeof(data)) != FALSE;
    }
    port::Handle InternetOpenUrl(port::Handle session, const char16_t* url, const char16_t* headers,
                                 uint32_t headersLength, uint32_t flags,
                                 std::uintptr_t context) override {
        return P(::InternetOpenUrlW(H(session), W(url), W(headers), headersLength, flags,
                                    static_cast<DWORD_PTR>(context)));
    }
    bool InternetReadFile(port::Handle file, void* buffer, uint32_t bytesToRead,
                          uint32_t& bytesRead) override {
        DWORD read = 0;
        BOOL ok = ::InternetReadFile(H(file), buffer, bytesToRead, &read);
        bytesRead = read;
        return ok != FALSE;
    }
    bool InternetCloseHandle(port::Handle internet) override {
        return ::InternetCloseHandle(H(internet)) != FALSE;
    }
    uint32_t GetLastError() override { return ::GetLastError(); }
};

}  // namespace

port::Http& Http() {
    static Win32Http http;
    return http;
}

}  // namespace win32
