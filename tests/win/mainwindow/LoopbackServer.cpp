#include "LoopbackServer.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace {

// Winsock for the life of the test program.
bool WinsockStarted() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

void SendAll(SOCKET socket, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const int n = send(socket, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
        if (n <= 0) return;
        sent += static_cast<size_t>(n);
    }
}

}  // namespace

LoopbackServer::LoopbackServer(unsigned short port) {
    if (!WinsockStarted()) return;
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET) return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(listener, 8) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(listener);
        return;
    }
    m_listener = static_cast<uintptr_t>(listener);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Run(); });
}

LoopbackServer::~LoopbackServer() {
    if (!Started()) return;
    m_stopping = true;
    // A connection of our own wakes the blocked accept, which then sees the stop.
    SOCKET wake = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (wake != INVALID_SOCKET) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(m_port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connect(wake, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        closesocket(wake);
    }
    m_thread.join();
    closesocket(static_cast<SOCKET>(m_listener));
}

std::string LoopbackServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

void LoopbackServer::Serve(const std::string& path, std::string body) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bodies[path] = std::move(body);
}

int LoopbackServer::Requests(const std::string& path) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto found = m_requests.find(path);
    return found == m_requests.end() ? 0 : found->second;
}

void LoopbackServer::Run() {
    while (!m_stopping) {
        SOCKET client = accept(static_cast<SOCKET>(m_listener), nullptr, nullptr);
        if (client == INVALID_SOCKET) break;
        if (m_stopping) {
            closesocket(client);
            break;
        }
        DWORD timeoutMs = 5000;
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs),
                   sizeof(timeoutMs));
        std::string request;
        char buffer[2048];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
            const int n = recv(client, buffer, sizeof(buffer), 0);
            if (n <= 0) break;
            request.append(buffer, static_cast<size_t>(n));
        }
        // "GET /path HTTP/1.1"
        std::string path;
        const size_t first = request.find(' ');
        if (first != std::string::npos) {
            const size_t second = request.find(' ', first + 1);
            if (second != std::string::npos) path = request.substr(first + 1, second - first - 1);
        }
        std::string body;
        bool found = false;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            ++m_requests[path];
            auto it = m_bodies.find(path);
            if (it != m_bodies.end()) {
                found = true;
                body = it->second;
            }
        }
        std::string answer = found ? "HTTP/1.1 200 OK\r\nContent-Type: image/png\r\n"
                                   : "HTTP/1.1 404 Not Found\r\nContent-Type: text/plain\r\n";
        answer += "Cache-Control: no-store\r\nConnection: close\r\nContent-Length: " +
                  std::to_string(body.size()) + "\r\n\r\n" + body;
        SendAll(client, answer);
        shutdown(client, SD_SEND);
        closesocket(client);
    }
}
