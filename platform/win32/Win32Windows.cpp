#include "Win32.h"

// The port names these operations after the Windows ones.
#undef SetWindowLongPtr
#undef GetWindowLongPtr
#undef SetWindowText
#undef GetWindowText
#undef GetCommandLine

#include <cstring>
#include <vector>

#include "Win32Platform.h"
#include "platform/Windows.h"

namespace win32 {
namespace {

// What DialogBoxParam hands the one dialog procedure through WM_INITDIALOG.
struct DialogStart {
    port::DialogProc proc;
    intptr_t param;
};

const wchar_t kProcProperty[] = L"Quellor.DialogProc";

// Forwards every message of a dialog to the port's dialog procedure, which is kept in a
// window property from WM_INITDIALOG until WM_NCDESTROY.
INT_PTR CALLBACK DialogTrampoline(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* start = reinterpret_cast<const DialogStart*>(lParam);
        ::SetPropW(hwnd, kProcProperty, reinterpret_cast<HANDLE>(start->proc));
        return start->proc(P(hwnd), message, wParam, start->param);
    }
    const auto proc = reinterpret_cast<port::DialogProc>(::GetPropW(hwnd, kProcProperty));
    if (proc == nullptr) {
        return FALSE;
    }
    const INT_PTR result = proc(P(hwnd), message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::RemovePropW(hwnd, kProcProperty);
    }
    return result;
}

HWND Wnd(port::Handle handle) { return reinterpret_cast<HWND>(handle); }

std::u16string TextOf(HWND window) {
    if (window == nullptr) {
        return {};
    }
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) {
        return {};
    }
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, buffer.data(), length + 1);
    return std::u16string(U(buffer.data()), static_cast<size_t>(copied > 0 ? copied : 0));
}

class Win32Windows final : public port::Windows {
public:
    port::Handle LoadIcon(uint32_t resourceId) override {
        return P(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId)));
    }
    std::u16string LoadString(uint32_t stringId) override {
        const wchar_t* text = nullptr;
        // With a zero size, LoadStringW hands out the resource's own read-only text.
        const int length = ::LoadStringW(::GetModuleHandleW(nullptr), stringId,
                                         reinterpret_cast<LPWSTR>(&text), 0);
        if (length <= 0 || text == nullptr) {
            return {};
        }
        return std::u16string(U(text), static_cast<size_t>(length));
    }
    bool InitCommonControlsEx(uint32_t classes) override {
        INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), classes};
        return ::InitCommonControlsEx(&init) != FALSE;
    }

    intptr_t DialogBoxParam(uint32_t templateId, port::Handle owner, port::DialogProc proc,
                            intptr_t initParam) override {
        DialogStart start{proc, initParam};
        return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId),
                                 Wnd(owner), &DialogTrampoline, reinterpret_cast<LPARAM>(&start));
    }
    bool EndDialog(port::Handle dialog, intptr_t result) override {
        return ::EndDialog(Wnd(dialog), result) != FALSE;
    }
    intptr_t SetWindowLongPtr(port::Handle window, int index, intptr_t value) override {
        return ::SetWindowLongPtrW(Wnd(window), index, value);
    }
    intptr_t GetWindowLongPtr(port::Handle window, int index) override {
        return ::GetWindowLongPtrW(Wnd(window), index);
    }

    intptr_t SendMessage(port::Handle window, uint32_t message, uintptr_t wParam,
                         intptr_t lParam) override {
        return ::SendMessageW(Wnd(window), message, wParam, lParam);
    }
    port::Handle GetDlgItem(port::Handle dialog, int id) override {
        return P(::GetDlgItem(Wnd(dialog), id));
    }
    bool SetDlgItemText(port::Handle dialog, int id, const char16_t* text) override {
        return ::SetDlgItemTextW(Wnd(dialog), id, W(text)) != FALSE;
    }
    std::u16string GetDlgItemText(port::Handle dialog, int id) override {
        return TextOf(::GetDlgItem(Wnd(dialog), id));
    }
    bool SetWindowText(port::Handle window, const char16_t* text) override {
        return ::SetWindowTextW(Wnd(window), W(text)) != FALSE;
    }
    std::u16string GetWindowText(port::Handle window) override { return TextOf(Wnd(window)); }

    uintptr_t SetTimer(port::Handle window, uintptr_t id, uint32_t elapseMs) override {
        return ::SetTimer(Wnd(window), id, elapseMs, nullptr);
    }
    bool KillTimer(port::Handle window, uintptr_t id) override {
        return ::KillTimer(Wnd(window), id) != FALSE;
    }

    port::Handle GetSystemMenu(port::Handle window, bool revert) override {
        return P(::GetSystemMenu(Wnd(window), revert ? TRUE : FALSE));
    }
    bool AppendMenu(port::Handle menu, uint32_t flags, uintptr_t id,
                    const char16_t* text) override {
        return ::AppendMenuW(reinterpret_cast<HMENU>(menu), flags, id, W(text)) != FALSE;
    }

    bool IsIconic(port::Handle window) override { return ::IsIconic(Wnd(window)) != FALSE; }
    bool GetClientRect(port::Handle window, port::Rect& rect) override {
        RECT client{};
        const bool ok = ::GetClientRect(Wnd(window), &client) != FALSE;
        rect = {client.left, client.top, client.right, client.bottom};
        return ok;
    }
    bool InvalidateRect(port::Handle window, const port::Rect* rect, bool erase) override {
        if (rect == nullptr) {
            return ::InvalidateRect(Wnd(window), nullptr, erase ? TRUE : FALSE) != FALSE;
        }
        const RECT area{rect->left, rect->top, rect->right, rect->bottom};
        return ::InvalidateRect(Wnd(window), &area, erase ? TRUE : FALSE) != FALSE;
    }
    port::Handle BeginPaint(port::Handle window, port::PaintStruct& paint) override {
        static_assert(sizeof(PAINTSTRUCT) <= sizeof(paint.reserved));
        PAINTSTRUCT ps{};
        const HDC dc = ::BeginPaint(Wnd(window), &ps);
        std::memcpy(paint.reserved, &ps, sizeof(ps));
        paint.hdc = P(dc);
        paint.fErase = ps.fErase != FALSE;
        paint.rcPaint = {ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom};
        return paint.hdc;
    }
    bool EndPaint(port::Handle window, const port::PaintStruct& paint) override {
        PAINTSTRUCT ps{};
        std::memcpy(&ps, paint.reserved, sizeof(ps));
        return ::EndPaint(Wnd(window), &ps) != FALSE;
    }
    bool DrawIcon(port::Handle dc, int x, int y, port::Handle icon) override {
        return ::DrawIcon(reinterpret_cast<HDC>(dc), x, y, reinterpret_cast<HICON>(icon)) != FALSE;
    }
    int GetSystemMetrics(int index) override { return ::GetSystemMetrics(index); }

    int MessageBox(port::Handle owner, const char16_t* text, const char16_t* caption,
                   uint32_t type) override {
        return ::MessageBoxW(Wnd(owner), W(text), W(caption), type);
    }

    std::u16string GetCommandLine() override {
        const wchar_t* line = ::GetCommandLineW();
        return line != nullptr ? std::u16string(U(line)) : std::u16string();
    }
    int32_t CoCreateGuid(port::Guid& guid) override {
        GUID created{};
        const HRESULT result = ::CoCreateGuid(&created);
        guid.data1 = created.Data1;
        guid.data2 = created.Data2;
        guid.data3 = created.Data3;
        std::memcpy(guid.data4, created.Data4, sizeof(guid.data4));
        return result;
    }
    int32_t RegisterApplicationRestart(const char16_t* commandLine, uint32_t flags) override {
        return ::RegisterApplicationRestart(W(commandLine), flags);
    }
};

}  // namespace

port::Windows& Windows() {
    static Win32Windows windows;
    return windows;
}

}  // namespace win32
