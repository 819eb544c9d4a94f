#include "framework/CWnd.h"

#include "framework/AfxHandles.h"
#include "framework/AfxMessageFrame.h"
#include "platform/Windows.h"

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

AfxMessageFrame*& AfxCurrentMessageFrame() {
    // One UI thread: the frames of the messages being handled, innermost first.
    static AfxMessageFrame* current = nullptr;
    return current;
}

CWnd::CWnd() = default;
CWnd::~CWnd() = default;

void CWnd::SetDlgItemText(int nID, const CString& text) {
    port::windows().SetDlgItemText(ToPort(m_hWnd), nID, text.GetString());
}

int CWnd::GetDlgItemText(int nID, CString& text) const {
    text = CString(port::windows().GetDlgItemText(ToPort(m_hWnd), nID));
    return text.GetLength();
}

CWnd* CWnd::GetDlgItem(int nID) const {
    const port::Handle item = port::windows().GetDlgItem(ToPort(m_hWnd), nID);
    if (item == port::kNoHandle) {
        return nullptr;
    }
    std::unique_ptr<CWnd>& wrapper = m_dlgItems[nID];
    if (!wrapper) {
        wrapper = std::make_unique<CWnd>();
    }
    wrapper->m_hWnd = FromPort<HWND>(item);
    return wrapper.get();
}

void CWnd::SetWindowText(const CString& text) {
    port::windows().SetWindowText(ToPort(m_hWnd), text.GetString());
}

void CWnd::GetWindowText(CString& text) const {
    text = CString(port::windows().GetWindowText(ToPort(m_hWnd)));
}

int CWnd::MessageBox(const CString& text, const CString& caption, UINT nType) {
    return port::windows().MessageBox(ToPort(m_hWnd), text.GetString(), caption.GetString(), nType);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessage(m_hWnd, message, wParam, lParam);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, std::nullptr_t callback) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, callback);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

CMenu* CWnd::GetSystemMenu(BOOL bRevert) {
    const port::Handle menu = port::windows().GetSystemMenu(ToPort(m_hWnd), bRevert != FALSE);
    if (menu == port::kNoHandle) {
        return nullptr;
    }
    if (!m_systemMenu) {
        m_systemMenu = std::make_unique<CMenu>();
    }
    m_systemMenu->m_hMenu = FromPort<HMENU>(menu);
    return m_systemMenu.get();
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
    const LRESULT previous =
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));
    return reinterpret_cast<HICON>(previous);
}

BOOL CWnd::IsIconic() const { return port::windows().IsIconic(ToPort(m_hWnd)) ? TRUE : FALSE; }

void CWnd::GetClientRect(CRect* rect) const {
    port::Rect client;
    port::windows().GetClientRect(ToPort(m_hWnd), client);
    *rect = CRect(client.left, client.top, client.right, client.bottom);
}

void CWnd::InvalidateRect(const CRect* rect, BOOL bErase) {
    if (rect == nullptr) {
        port::windows().InvalidateRect(ToPort(m_hWnd), nullptr, bErase != FALSE);
        return;
    }
    const port::Rect area{rect->left, rect->top, rect->right, rect->bottom};
    port::windows().InvalidateRect(ToPort(m_hWnd), &area, bErase != FALSE);
}

void CWnd::Invalidate(BOOL bErase) { InvalidateRect(nullptr, bErase); }

LRESULT CWnd::Default() {
    for (AfxMessageFrame* frame = AfxCurrentMessageFrame(); frame != nullptr;
         frame = frame->previous) {
        if (frame->hwnd == m_hWnd) {
            frame->defaultRequested = true;
            break;
        }
    }
    return 0;
}

void CWnd::OnPaint() { Default(); }

LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return port::windows().SendMessage(ToPort(hWnd), message, wParam, lParam);
}

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT nElapse, std::nullptr_t) {
    return port::windows().SetTimer(ToPort(hWnd), nIDEvent, nElapse);
}

BOOL KillTimer(HWND hWnd, UINT_PTR nIDEvent) {
    return port::windows().KillTimer(ToPort(hWnd), nIDEvent) ? TRUE : FALSE;
}

BOOL SetDlgItemText(HWND hDlg, int nID, const CString& text) {
    return port::windows().SetDlgItemText(ToPort(hDlg), nID, text.GetString()) ? TRUE : FALSE;
}
