// A scripted HTTP port. Simple mode for server checks: SetAnswer(bytes) or SetDown(), and a
// count of requests. Scripted mode for the probe's own tests: a session that cannot be opened,
// a request that yields no answer object, an answer handed out in given chunks, a read or a
// close that fails; every call is recorded and open handles can be listed.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/Http.h"

class FakeHttp : public port::Http {
public:
    // WinINet's error codes, as the fake reports them.
    static constexpr uint32_t kErrorCannotConnect = 12029;
    static constexpr uint32_t kErrorTimeout = 12002;
    static constexpr uint32_t kErrorInvalidHandle = 6;

    // --- Simple mode ---
    // Every request is answered with these bytes (as many per read as the reader asks for).
    void SetAnswer(std::string bytes);
    // Every request fails, as when nothing listens on the port.
    void SetDown(uint32_t error = kErrorCannotConnect);
    // How many requests (InternetOpenUrl calls) were made.
    int RequestCount() const;
    // Puts this fake into a platform that a test installs.
    void FillInto(port::Platform& platform) { platform.http = this; }

    // --- Scripted mode ---
    // Opening a session fails with this error.
    void FailOpen(uint32_t error);
    // A request yields no answer object without naming an error.
    void AnswerWithNoObject();
    // Each request's answer, handed out chunk by chunk: one read takes at most what is left of
    // the current chunk. An empty chunk reads as zero bytes.
    void SetChunks(std::vector<std::string> chunks);
    // Every read fails with this error.
    void FailRead(uint32_t error = kErrorTimeout);
    // Closing an answer handle fails with this error (the handle is released all the same).
    void FailCloseOfAnswer(uint32_t error);

    enum class Kind { Open, SetOption, OpenUrl, Read, Close };
    struct Call {
        Kind kind = Kind::Open;
        // The handle operated on; for Open and OpenUrl the handle returned (0 when none).
        port::Handle handle = port::kNoHandle;
        std::u16string text;  // agent (Open) or address (OpenUrl)
        bool textWasNull = false;
        bool proxyWasNull = true;
        bool proxyBypassWasNull = true;
        bool headersWereNull = true;
        uint32_t accessType = 0;
        uint32_t flags = 0;
        uint32_t option = 0;
        uint32_t value = 0;
        uint32_t headersLength = 0;
        std::uintptr_t context = 0;
        uint32_t bytesToRead = 0;
        uint32_t bytesRead = 0;
        port::Handle session = port::kNoHandle;  // OpenUrl: the session it was made on
        bool succeeded = false;
    };
    const std::vector<Call>& Calls() const { return m_calls; }
    std::vector<Call> CallsOf(Kind kind) const;
    // Handles opened and not closed yet.
    std::vector<port::Handle> OpenHandles() const;

    // port::Http
    port::Handle InternetOpen(const char16_t* agent, uint32_t accessType, const char16_t* proxy,
                              const char16_t* proxyBypass, uint32_t flags) override;
    bool InternetSetOption(port::Handle internet, uint32_t option, uint32_t value) override;
    port::Handle InternetOpenUrl(port::Handle session, const char16_t* url, const char16_t* headers,
                                 uint32_t headersLength, uint32_t flags,
                                 std::uintptr_t context) override;
    bool InternetReadFile(port::Handle file, void* buffer, uint32_t bytesToRead,
                          uint32_t& bytesRead) override;
    bool InternetCloseHandle(port::Handle internet) override;
    uint32_t GetLastError() override { return m_lastError; }

private:
    enum class HandleKind { Session, Answer };
    struct Reading {
        size_t chunk = 0;
        size_t offset = 0;
    };

    port::Handle NewHandle(HandleKind kind);
    bool Fail(uint32_t error);

    uint32_t m_openError = 0;
    uint32_t m_requestError = 0;
    bool m_noObject = false;
    uint32_t m_readError = 0;
    uint32_t m_closeAnswerError = 0;
    std::vector<std::string> m_chunks;

    std::vector<Call> m_calls;
    std::map<port::Handle, HandleKind> m_open;
    std::map<port::Handle, Reading> m_readings;
    port::Handle m_nextHandle = 0x1000;
    uint32_t m_lastError = 0;
};
