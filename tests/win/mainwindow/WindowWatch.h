// Watches a top-level window of this process from a thread of its own, as a user's eyes and
// mouse would: waits until it shows a colour at a point, reads pixels, clicks, then closes it.
#pragma once

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

struct WatchPoint {
    int x = 0;  // client coordinates; negative counts from the right or bottom edge
    int y = 0;
};

class WindowWatch {
public:
    // Waits up to `timeoutMs` for the window titled `title` to show `awaited` (0xRRGGBB) at
    // `first`, then reads every point, sends each click as WM_LBUTTONDOWN and WM_LBUTTONUP,
    // and closes the window with WM_CLOSE (also when the colour never showed).
    WindowWatch(std::u16string title, uint32_t awaited, WatchPoint first,
                std::vector<WatchPoint> reads, std::vector<WatchPoint> clicks, uint32_t timeoutMs);
    ~WindowWatch();
    WindowWatch(const WindowWatch&) = delete;
    WindowWatch& operator=(const WindowWatch&) = delete;

    void Join();
    bool Found() const { return m_found; }
    bool Awaited() const { return m_awaited; }
    int ClientWidth() const { return m_clientWidth; }
    const std::vector<uint32_t>& Pixels() const { return m_pixels; }  // in the order of reads

private:
    void Run();

    std::u16string m_title;
    uint32_t m_colour;
    WatchPoint m_first;
    std::vector<WatchPoint> m_reads;
    std::vector<WatchPoint> m_clicks;
    uint32_t m_timeoutMs;
    bool m_found = false;
    bool m_awaited = false;
    int m_clientWidth = 0;
    std::vector<uint32_t> m_pixels;
    std::thread m_thread;
};
