#include "FakeHttp.h"

#include <algorithm>
#include <cstring>

void FakeHttp::SetAnswer(std::string bytes) {
    m_requestError = 0;
    m_noObject = false;
    m_chunks = {std::move(bytes)};
}

void FakeHttp::SetDown(uint32_t error) {
    m_requestError = error;
    m_noObject = false;
}

int FakeHttp::RequestCount() const { return static_cast<int>(CallsOf(Kind::OpenUrl).size()); }

void FakeHttp::FailOpen(uint32_t error) { m_openError = error; }

void FakeHttp::AnswerWithNoObject() {
    m_requestError = 0;
    m_noObject = true;
}

void FakeHttp::SetChunks(std::vector<std::string> chunks) {
    m_requestError = 0;
    m_noObject = false;
    m_chunks = std::move(chunks);
}

void FakeHttp::FailRead(uint32_t error) { m_readError = error; }

void FakeHttp::FailCloseOfAnswer(uint32_t error) { m_closeAnswerError = error; }

std::vector<FakeHttp::Call> FakeHttp::CallsOf(Kind kind) const {
    std::vector<Call> calls;
    for (const Call& call : m_calls) {
        if (call.kind == kind) calls.push_back(call);
    }
    return calls;
}

std::vector<port::Handle> FakeHttp::OpenHandles() const {
    std::vector<port::Handle> handles;
    for (const auto& [handle, kind] : m_open) handles.push_back(handle);
    return handles;
}

port::Handle FakeHttp::NewHandle(HandleKind kind) {
    port::Handle handle = m_nextHandle++;
    m_open[handle] = kind;
    return handle;
}

bool FakeHttp::Fail(uint32_t error) {
    m_lastError = error;
    return false;
}

port::Handle FakeHttp::InternetOpen(const char16_t* agent, uint32_t accessType,
                                    const char16_t* proxy, const char16_t* proxyBypass,
                                    uint32_t flags) {
    Call call;
    call.kind = Kind::Open;
    call.textWasNull = agent == nullptr;
    if (agent != nullptr) call.text = agent;
    call.proxyWasNull = proxy == nullptr;
    call.proxyBypassWasNull = proxyBypass == nullptr;
    call.accessType = accessType;
    call.flags = flags;
    if (m_openError != 0) {
        Fail(m_openError);
    } else {
        call.handle = NewHandle(HandleKind::Session);
        call.succeeded = true;
    }
    m_calls.push_back(call);
    return call.handle;
}

bool FakeHttp::InternetSetOption(port::Handle internet, uint32_t option, uint32_t value) {
    Call call;
    call.kind = Kind::SetOption;
    call.handle = internet;
    call.option = option;
    call.value = value;
    call.succeeded = m_open.count(internet) != 0;
    m_calls.push_back(call);
    return call.succeeded || Fail(kErrorInvalidHandle);
}

port::Handle FakeHttp::InternetOpenUrl(port::Handle session, const char16_t* url,
                                       const char16_t* headers, uint32_t headersLength,
                                       uint32_t flags, std::uintptr_t context) {
    Call call;
    call.kind = Kind::OpenUrl;
    call.session = session;
    call.textWasNull = url == nullptr;
    if (url != nullptr) call.text = url;
    call.headersWereNull = headers == nullptr;
    call.headersLength = headersLength;
    call.flags = flags;
    call.context = context;
    auto open = m_open.find(session);
    if (open == m_open.end() || open->second != HandleKind::Session) {
        Fail(kErrorInvalidHandle);
    } else if (m_requestError != 0) {
        Fail(m_requestError);
    } else if (m_noObject) {
        m_lastError = 0;
    } else {
        call.handle = NewHandle(HandleKind::Answer);
        m_readings[call.handle] = Reading{};
        call.succeeded = true;
    }
    m_calls.push_back(call);
    return call.handle;
}

bool FakeHttp::InternetReadFile(port::Handle file, void* buffer, uint32_t bytesToRead,
                                uint32_t& bytesRead) {
    Call call;
    call.kind = Kind::Read;
    call.handle = file;
    call.bytesToRead = bytesToRead;
    bytesRead = 0;
    auto reading = m_readings.find(file);
    if (reading == m_readings.end() || m_open.count(file) == 0) {
        m_calls.push_back(call);
        return Fail(kErrorInvalidHandle);
    }
    if (m_readError != 0) {
        m_calls.push_back(call);
        return Fail(m_readError);
    }
    Reading& at = reading->second;
    if (at.chunk < m_chunks.size()) {
        const std::string& chunk = m_chunks[at.chunk];
        size_t count = std::min<size_t>(bytesToRead, chunk.size() - at.offset);
        std::memcpy(buffer, chunk.data() + at.offset, count);
        bytesRead = static_cast<uint32_t>(count);
        at.offset += count;
        if (at.offset == chunk.size()) {
            ++at.chunk;
            at.offset = 0;
        }
    }
    call.bytesRead = bytesRead;
    call.succeeded = true;
    m_calls.push_back(call);
    return true;
}

bool FakeHttp::InternetCloseHandle(port::Handle internet) {
    Call call;
    call.kind = Kind::Close;
    call.handle = internet;
    auto open = m_open.find(internet);
    if (open == m_open.end()) {
        m_calls.push_back(call);
        return Fail(kErrorInvalidHandle);
    }
    bool answer = open->second == HandleKind::Answer;
    m_open.erase(open);
    m_readings.erase(internet);
    if (answer && m_closeAnswerError != 0) {
        m_calls.push_back(call);
        return Fail(m_closeAnswerError);
    }
    call.succeeded = true;
    m_calls.push_back(call);
    return true;
}
