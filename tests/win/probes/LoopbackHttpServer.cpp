#include "LoopbackHttpServer.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;
// However a test goes, the server is gone this long after its start.
constexpr auto kLifetime = std::chrono::seconds(8);
constexpr long kPollMs = 50;

SOCKET S(std::uintptr_t s) { return static_cast<SOCKET>(s); }

bool Readable(SOCKET s, long ms) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval wait{0, ms * 1000};
    return select(0, &set, nullptr, nullptr, &wait) == 1;
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer(uint16_t port, std::string response, unsigned holdMs)
    : m_response(std::move(response)), m_holdMs(holdMs) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);

    sockaddr_in v4{};
    v4.sin_family = AF_INET;
    v4.sin_port = htons(port);
    v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sockaddr_in6 v6{};
    v6.sin6_family = AF_INET6;
    v6.sin6_port = htons(port);
    v6.sin6_addr = in6addr_loopback;

    const std::pair<const sockaddr*, int> addresses[] = {
        {reinterpret_cast<const sockaddr*>(&v4), static_cast<int>(sizeof(v4))},
        {reinterpret_cast<const sockaddr*>(&v6), static_cast<int>(sizeof(v6))},
    };
    for (const auto& [address, length] : addresses) {
        SOCKET s = socket(address->sa_family, SOCK_STREAM, IPPROTO_TCP);
        if (s == INVALID_SOCKET) continue;
        BOOL on = TRUE;
        // A previous test's connection may linger in TIME_WAIT on the same port.
        setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof(on));
        if (address->sa_family == AF_INET6) {
            setsockopt(s, IPPROTO_IPV6, IPV6_V6ONLY, reinterpret_cast<const char*>(&on),
                       sizeof(on));
        }
        if (bind(s, address, length) == 0 && listen(s, 4) == 0) {
            m_sockets.push_back(static_cast<std::uintptr_t>(s));
        } else {
            closesocket(s);
        }
    }
    m_thread = std::thread([this] { Serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    Stop();
    for (std::uintptr_t s : m_sockets) closesocket(S(s));
    WSACleanup();
}

void LoopbackHttpServer::Stop() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
}

std::vector<std::string> LoopbackHttpServer::Requests() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

std::string LoopbackHttpServer::Response(const std::string& status, const std::string& body) {
    return "HTTP/1.1 " + status +
           "\r\nContent-Type: application/json\r\nCache-Control: no-store\r\n"
           "Connection: close\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\n\r\n" + body;
}

void LoopbackHttpServer::Serve() {
    const auto end = Clock::now() + kLifetime;
    while (!m_stop && Clock::now() < end) {
        if (m_sockets.empty()) {
            Sleep(kPollMs);
            continue;
        }
        fd_set set;
        FD_ZERO(&set);
        for (std::uintptr_t s : m_sockets) FD_SET(S(s), &set);
        timeval wait{0, kPollMs * 1000};
        if (select(0, &set, nullptr, nullptr, &wait) <= 0) continue;
        for (std::uintptr_t s : m_sockets) {
            if (!FD_ISSET(S(s), &set)) continue;
            SOCKET client = accept(S(s), nullptr, nullptr);
            if (client == INVALID_SOCKET) continue;
            Answer(static_cast<std::uintptr_t>(client));
            closesocket(client);
        }
    }
}

void LoopbackHttpServer::Answer(std::uintptr_t client) {
    // The header block, read for at most two seconds.
    std::string request;
    const auto readEnd = Clock::now() + std::chrono::seconds(2);
    while (request.find("\r\n\r\n") == std::string::npos && !m_stop && Clock::now() < readEnd) {
        if (!Readable(S(client), kPollMs)) continue;
        char chunk[1024];
        int n = recv(S(client), chunk, sizeof(chunk), 0);
        if (n <= 0) break;
        request.append(chunk, static_cast<size_t>(n));
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_requests.push_back(request);
    }
    const auto holdEnd = Clock::now() + std::chrono::milliseconds(m_holdMs);
    while (!m_stop && Clock::now() < holdEnd) Sleep(kPollMs);
    if (m_stop && m_holdMs > 0) return;

    size_t sent = 0;
    while (sent < m_response.size()) {
        int n = send(S(client), m_response.data() + sent,
                     static_cast<int>(m_response.size() - sent), 0);
        if (n <= 0) break;
        sent += static_cast<size_t>(n);
    }
    shutdown(S(client), SD_SEND);
}
