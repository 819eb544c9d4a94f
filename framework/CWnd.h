// A window of the framework, by its handle, with the message map it answers through.
#pragma once

#include <map>
#include <memory>

#include "framework/AfxTypes.h"
#include "framework/CCmdTarget.h"
#include "framework/CMenu.h"
#include "framework/CString.h"

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }

    void SetDlgItemText(int nID, const CString& text);
    int GetDlgItemText(int nID, CString& text) const;  // the length of the text
    // The child control with that identifier, or nullptr. The object belongs to this window.
    CWnd* GetDlgItem(int nID) const;
    void SetWindowText(const CString& text);
    void GetWindowText(CString& text) const;

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // A message box owned by this window; the button pressed.
    int MessageBox(const CString& text, const CString& caption = CString(), UINT nType = MB_OK);
    // Only timers that tick as WM_TIMER messages: the system uses no timer callback.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, std::nullptr_t callback = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // The window's system menu, or nullptr when it has none. The object belongs to this window.
    CMenu* GetSystemMenu(BOOL bRevert);
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);  // the icon it replaces

    BOOL IsIconic() const;
    void GetClientRect(CRect* rect) const;
    void InvalidateRect(const CRect* rect, BOOL bErase = TRUE);
    void Invalidate(BOOL bErase = TRUE);

    // Asks for the platform's default processing of the message being handled, once the
    // handler returns.
    LRESULT Default();

    // The base handling of WM_PAINT: this framework has no windowless controls to paint, so it
    // is the default processing.
    virtual void OnPaint();

private:
    mutable std::map<int, std::unique_ptr<CWnd>> m_dlgItems;
    std::unique_ptr<CMenu> m_systemMenu;
};

// The same operations on a window given by its handle.
LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT nElapse, std::nullptr_t callback);
BOOL KillTimer(HWND hWnd, UINT_PTR nIDEvent);
BOOL SetDlgItemText(HWND hDlg, int nID, const CString& text);
