// Device contexts: the paint surface of a WM_PAINT and the icon drawing on it.
#pragma once

#include "framework/AfxTypes.h"
#include "platform/Windows.h"

class CWnd;

class CDC {
public:
    HDC m_hDC = nullptr;
    HDC GetSafeHdc() const { return m_hDC; }
    BOOL DrawIcon(int x, int y, HICON hIcon);
};

// Opened by BeginPaint when built, closed by EndPaint when destroyed.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

private:
    HWND m_hWnd;
    port::PaintStruct m_ps;
};
