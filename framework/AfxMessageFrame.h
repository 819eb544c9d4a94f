// The message a window is handling right now, so that Default() can ask for the platform's
// processing of it. Frames nest as handlers send messages; framework sources only.
#pragma once

#include "framework/AfxTypes.h"

struct AfxMessageFrame {
    HWND hwnd = nullptr;
    UINT message = 0;
    bool defaultRequested = false;
    AfxMessageFrame* previous = nullptr;
};

// The innermost frame of the UI thread, or nullptr.
AfxMessageFrame*& AfxCurrentMessageFrame();

class AfxScopedMessageFrame {
public:
    AfxScopedMessageFrame(HWND hwnd, UINT message) {
        m_frame.hwnd = hwnd;
        m_frame.message = message;
        m_frame.previous = AfxCurrentMessageFrame();
        AfxCurrentMessageFrame() = &m_frame;
    }
    ~AfxScopedMessageFrame() { AfxCurrentMessageFrame() = m_frame.previous; }
    AfxScopedMessageFrame(const AfxScopedMessageFrame&) = delete;
    AfxScopedMessageFrame& operator=(const AfxScopedMessageFrame&) = delete;

    bool DefaultRequested() const { return m_frame.defaultRequested; }

private:
    AfxMessageFrame m_frame;
};
