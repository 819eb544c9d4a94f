// The HTTP classes the system code is written against, over the port's WinINet operations:
// a session, the answer file of a request, and the exception their failures raise. Failures
// are thrown as `CInternetException*`; the catcher frees the object with Delete().
#pragma once

#include <cstdint>

#include "framework/AfxTypes.h"
#include "platform/Http.h"

class CException {
public:
    CException() = default;
    CException(const CException&) = delete;
    CException& operator=(const CException&) = delete;
    // Frees an exception object that was thrown by pointer.
    void Delete() { delete this; }

protected:
    virtual ~CException() = default;
};

class CInternetException : public CException {
public:
    CInternetException(std::uintptr_t context, uint32_t error)
        : m_dwContext(context), m_dwError(error) {}

    std::uintptr_t m_dwContext;
    uint32_t m_dwError;  // the platform's error code
};

// Throws a new CInternetException with the port's last error.
[[noreturn]] void AfxThrowInternetException(std::uintptr_t context, uint32_t error);

// An answer being read. Owns its handle: Close() releases it, and so does deletion.
class CInternetFile {
public:
    CInternetFile(port::Handle file, std::uintptr_t context)
        : m_hFile(file), m_dwContext(context) {}
    virtual ~CInternetFile();
    CInternetFile(const CInternetFile&) = delete;
    CInternetFile& operator=(const CInternetFile&) = delete;

    // Copies at most `count` bytes of the body into `buffer`; returns how many. Throws on failure.
    uint32_t Read(void* buffer, uint32_t count);
    // Releases the handle; throws when the platform reports a failure. A second call does nothing.
    virtual void Close();

    port::Handle m_hFile;

protected:
    std::uintptr_t m_dwContext;
};

// The answer of an http request.
class CHttpFile : public CInternetFile {
public:
    using CInternetFile::CInternetFile;
};

class CInternetSession {
public:
    // Opens the session; throws CInternetException when the platform cannot.
    explicit CInternetSession(const char16_t* pstrAgent = nullptr, std::uintptr_t dwContext = 1,
                              uint32_t dwAccessType = port::kInternetOpenTypePreconfig,
                              const char16_t* pstrProxyName = nullptr,
                              const char16_t* pstrProxyBypass = nullptr, uint32_t dwFlags = 0);
    virtual ~CInternetSession();
    CInternetSession(const CInternetSession&) = delete;
    CInternetSession& operator=(const CInternetSession&) = delete;

    // Sets a 4-byte option of the session, such as a time limit in milliseconds.
    BOOL SetOption(uint32_t dwOption, uint32_t dwValue);
    // Sends the request and returns its answer, owned by the caller, or nullptr when the
    // platform yields none without naming an error. Throws CInternetException on failure.
    CInternetFile* OpenURL(const char16_t* pstrURL, std::uintptr_t dwContext = 1,
                           uint32_t dwFlags = port::kInternetFlagTransferAscii,
                           const char16_t* pstrHeaders = nullptr, uint32_t dwHeadersLength = 0);
    // Releases the session; a closed session stays closed.
    virtual void Close();

    port::Handle m_hSession = port::kNoHandle;

private:
    std::uintptr_t m_dwContext;
};
