#include "WindowWatch.h"

#include <windows.h>

namespace {

POINT Resolve(const WatchPoint& point, const RECT& client) {
    return {point.x < 0 ? client.right + point.x : point.x,
            point.y < 0 ? client.bottom + point.y : point.y};
}

uint32_t PixelAt(HWND window, POINT point) {
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, point.x, point.y);
    ReleaseDC(window, dc);
    if (colour == CLR_INVALID) return 0xFFFFFFFFu;
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

}  // namespace

WindowWatch::WindowWatch(std::u16string title, uint32_t awaited, WatchPoint first,
                         std::vector<WatchPoint> reads, std::vector<WatchPoint> clicks,
                         uint32_t timeoutMs)
    : m_title(std::move(title)),
      m_colour(awaited),
      m_first(first),
      m_reads(std::move(reads)),
      m_clicks(std::move(clicks)),
      m_timeoutMs(timeoutMs),
      m_thread([this] { Run(); }) {}

WindowWatch::~WindowWatch() { Join(); }

void WindowWatch::Join() {
    if (m_thread.joinable()) m_thread.join();
}

void WindowWatch::Run() {
    const ULONGLONG deadline = GetTickCount64() + m_timeoutMs;
    const wchar_t* title = reinterpret_cast<const wchar_t*>(m_title.c_str());
    HWND window = nullptr;
    while (GetTickCount64() < deadline) {
        window = FindWindowW(nullptr, title);
        if (window != nullptr && IsWindowVisible(window)) break;
        window = nullptr;
        Sleep(50);
    }
    if (window == nullptr) return;
    m_found = true;

    RECT client{};
    GetClientRect(window, &client);
    m_clientWidth = client.right;
    while (GetTickCount64() < deadline) {
        if (PixelAt(window, Resolve(m_first, client)) == m_colour) {
            m_awaited = true;
            break;
        }
        Sleep(100);
    }
    for (const WatchPoint& point : m_reads)
        m_pixels.push_back(PixelAt(window, Resolve(point, client)));
    for (const WatchPoint& point : m_clicks) {
        const POINT at = Resolve(point, client);
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
}
