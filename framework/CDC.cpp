#include "framework/CDC.h"

#include "framework/AfxHandles.h"
#include "framework/CWnd.h"

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) {
    return port::windows().DrawIcon(ToPort(m_hDC), x, y, ToPort(hIcon)) ? TRUE : FALSE;
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd->GetSafeHwnd()) {
    m_hDC = FromPort<HDC>(port::windows().BeginPaint(ToPort(m_hWnd), m_ps));
}

CPaintDC::~CPaintDC() { port::windows().EndPaint(ToPort(m_hWnd), m_ps); }
