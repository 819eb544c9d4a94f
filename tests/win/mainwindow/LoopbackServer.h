// A small HTTP server on 127.0.0.1 for the tests: it answers GET requests for the paths it
// was given with their bytes, every other path with 404, and counts the requests it served.
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>

class LoopbackServer {
public:
    // Port 0 picks a free one. Check Started() before use.
    explicit LoopbackServer(unsigned short port = 0);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    bool Started() const { return m_listener != ~uintptr_t{0}; }
    unsigned short Port() const { return m_port; }
    std::string Url(const std::string& path) const;

    void Serve(const std::string& path, std::string body);
    int Requests(const std::string& path) const;

private:
    void Run();

    uintptr_t m_listener = ~uintptr_t{0};
    unsigned short m_port = 0;
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_mutex;
    std::map<std::string, std::string> m_bodies;
    std::map<std::string, int> m_requests;
    std::thread m_thread;
};
