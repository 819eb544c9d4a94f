#include "Internet.h"

void AfxThrowInternetException(std::uintptr_t context, uint32_t error) {
    throw new CInternetException(context, error);
}

CInternetFile::~CInternetFile() {
    // Deletion releases a handle that is still open; a failure cannot be reported here.
    if (m_hFile != port::kNoHandle) port::http().InternetCloseHandle(m_hFile);
}

uint32_t CInternetFile::Read(void* buffer, uint32_t count) {
    uint32_t read = 0;
    if (!port::http().InternetReadFile(m_hFile, buffer, count, read)) {
        AfxThrowInternetException(m_dwContext, port::http().GetLastError());
    }
    return read;
}

void CInternetFile::Close() {
    if (m_hFile == port::kNoHandle) return;
    port::Handle file = m_hFile;
    // Forgotten first: a handle whose close failed is not closed a second time.
    m_hFile = port::kNoHandle;
    if (!port::http().InternetCloseHandle(file)) {
        AfxThrowInternetException(m_dwContext, port::http().GetLastError());
    }
}

CInternetSession::CInternetSession(const char16_t* pstrAgent, std::uintptr_t dwContext,
                                   uint32_t dwAccessType, const char16_t* pstrProxyName,
                                   const char16_t* pstrProxyBypass, uint32_t dwFlags)
    : m_dwContext(dwContext) {
    m_hSession =
        port::http().InternetOpen(pstrAgent, dwAccessType, pstrProxyName, pstrProxyBypass, dwFlags);
    if (m_hSession == port::kNoHandle) {
        AfxThrowInternetException(m_dwContext, port::http().GetLastError());
    }
}

CInternetSession::~CInternetSession() { Close(); }

BOOL CInternetSession::SetOption(uint32_t dwOption, uint32_t dwValue) {
    return port::http().InternetSetOption(m_hSession, dwOption, dwValue) ? TRUE : FALSE;
}

CInternetFile* CInternetSession::OpenURL(const char16_t* pstrURL, std::uintptr_t dwContext,
                                         uint32_t dwFlags, const char16_t* pstrHeaders,
                                         uint32_t dwHeadersLength) {
    port::Handle file = port::http().InternetOpenUrl(m_hSession, pstrURL, pstrHeaders,
                                                     dwHeadersLength, dwFlags, dwContext);
    if (file == port::kNoHandle) {
        uint32_t error = port::http().GetLastError();
        if (error == 0) return nullptr;
        AfxThrowInternetException(dwContext, error);
    }
    return new CHttpFile(file, dwContext);
}

void CInternetSession::Close() {
    if (m_hSession == port::kNoHandle) return;
    port::http().InternetCloseHandle(m_hSession);
    m_hSession = port::kNoHandle;
}
