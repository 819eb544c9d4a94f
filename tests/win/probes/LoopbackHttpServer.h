// A one-purpose HTTP server for tests, on the loopback addresses only (127.0.0.1 and ::1),
// in a thread of the test program. It answers every connection with the same raw bytes, and
// stops by itself a few seconds after its start even if nobody ends it.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LoopbackHttpServer {
public:
    // `holdMs`: how long to keep a connection after its request before answering.
    LoopbackHttpServer(uint16_t port, std::string response, unsigned holdMs = 0);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    // Whether at least one loopback address could be bound.
    bool Listening() const { return !m_sockets.empty(); }
    // Ends the server and waits for its thread; bounded by the poll step.
    void Stop();
    // The requests received so far (the header block of each).
    std::vector<std::string> Requests() const;

    // A whole answer: status line, the headers that keep clients from caching or reusing the
    // connection, and the body.
    static std::string Response(const std::string& status, const std::string& body);

private:
    void Serve();
    void Answer(std::uintptr_t client);

    std::string m_response;
    unsigned m_holdMs;
    std::vector<std::uintptr_t> m_sockets;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<std::string> m_requests;
    std::thread m_thread;
};
