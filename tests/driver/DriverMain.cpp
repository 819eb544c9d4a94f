// quellor_driver: finds a top-level window by its caption and reads or sends what a test needs.
//
//   quellor_driver [--timeout MS] COMMAND ARGS...
//
//   wait CAPTION                 waits until a visible window with that caption exists
//   wait-gone CAPTION            waits until no window with that caption exists
//   list                         prints every visible top-level window: handle, process id,
//                                class and caption, one per line (tab-separated)
//   controls CAPTION             prints the window's controls: id, class, visible (0/1),
//                                enabled (0/1), style (hex) and text, one per line
//   text CAPTION ID              prints the control's text (ID 0: the window's caption)
//   checked CAPTION ID           prints the button's state: 0, 1 or 2
//   click CAPTION ID             clicks the control (BM_CLICK): a button presses, a radio
//                                button is selected with its group rule
//   command CAPTION ID           posts WM_COMMAND with that identifier, as a button would
//   menu CAPTION ID              posts the menu bar command; exit 3 when the item is grayed
//                                or missing (Wine does not let another process read a menu:
//                                there the command is posted unchecked, with a warning)
//   syscommand CAPTION SC        posts WM_SYSCOMMAND (e.g. 16 for the About item)
//   close CAPTION                posts the close request of the close box (SC_CLOSE)
//   esc CAPTION / enter CAPTION  posts the key to the focused control, as the keyboard does
//   type CAPTION ID TEXT         replaces the edit's text (WM_SETTEXT)
//   capture CAPTION FILE.bmp     writes the window as it shows on the screen to a 24-bit BMP
//
// Texts go in and out as UTF-8. Every command waits up to --timeout ms (default 10000) for its
// window. Exit codes: 0 done, 1 usage, 2 window not found in time, 3 control or item not found,
// 4 the operation failed. Posted input returns at once; a test waits for its effect.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

DWORD g_timeoutMs = 10000;

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

void Print(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Asks the window itself, so that an edit of another process tells its current text.
std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
        return {};
    }
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 2, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, static_cast<WPARAM>(length + 1),
                        reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG, 5000, &copied);
    return std::wstring(buffer.data(), static_cast<size_t>(copied));
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

struct Search {
    const std::wstring* caption;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK FindByCaption(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (search->visibleOnly && !IsWindowVisible(window)) return TRUE;
    if (TextOf(window) == *search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindNow(const std::wstring& caption, bool visibleOnly) {
    Search search{&caption, visibleOnly, nullptr};
    EnumWindows(&FindByCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitFor(const std::wstring& caption) {
    const ULONGLONG end = GetTickCount64() + g_timeoutMs;
    while (true) {
        if (HWND window = FindNow(caption, true)) return window;
        if (GetTickCount64() >= end) return nullptr;
        Sleep(100);
    }
}

BOOL CALLBACK ListWindow(HWND window, LPARAM) {
    if (!IsWindowVisible(window)) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char head[64];
    std::snprintf(head, sizeof head, "%p\t%lu\t", static_cast<void*>(window),
                  static_cast<unsigned long>(pid));
    Print(head + Utf8(ClassOf(window)) + "\t" + Utf8(TextOf(window)));
    return TRUE;
}

BOOL CALLBACK ListControl(HWND control, LPARAM parent) {
    if (GetParent(control) != reinterpret_cast<HWND>(parent)) return TRUE;
    char head[96];
    std::snprintf(head, sizeof head, "%d\t", GetDlgCtrlID(control));
    char tail[64];
    std::snprintf(tail, sizeof tail, "\t%d\t%d\t%08lx\t", IsWindowVisible(control) ? 1 : 0,
                  IsWindowEnabled(control) ? 1 : 0,
                  static_cast<unsigned long>(GetWindowLongW(control, GWL_STYLE)));
    Print(head + Utf8(ClassOf(control)) + tail + Utf8(TextOf(control)));
    return TRUE;
}

bool WriteBmp(const wchar_t* path, HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as a BMP file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) != FALSE;
        SelectObject(memory, old);
        GdiFlush();
        const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
        const DWORD imageSize = stride * static_cast<DWORD>(height);
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        file.bfSize = file.bfOffBits + imageSize;
        info.bmiHeader.biSizeImage = imageSize;
        FILE* out = _wfopen(path, L"wb");
        if (out != nullptr && ok) {
            std::fwrite(&file, sizeof file, 1, out);
            std::fwrite(&info.bmiHeader, sizeof(BITMAPINFOHEADER), 1, out);
            std::fwrite(bits, 1, imageSize, out);
        }
        ok = ok && out != nullptr;
        if (out != nullptr) std::fclose(out);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

// The control that has the focus in the window's thread, or the window itself.
HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr) return info.hwndFocus;
    return window;
}

// Looks for the item in the menu and its popups; true when found, with its state.
bool FindMenuItem(HMENU menu, UINT id, bool& enabled) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            if (FindMenuItem(sub, id, enabled)) return true;
            continue;
        }
        if (GetMenuItemID(menu, i) == id) {
            const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
            enabled = (state & (MF_GRAYED | MF_DISABLED)) == 0;
            return true;
        }
    }
    return false;
}

int Usage() {
    std::fputs("usage: quellor_driver [--timeout MS] COMMAND ARGS... (see the source)\n", stderr);
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> args(argv + 1, argv + argc);
    if (args.size() >= 2 && args[0] == L"--timeout") {
        g_timeoutMs = static_cast<DWORD>(std::wcstoul(args[1].c_str(), nullptr, 10));
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty()) return Usage();
    const std::wstring command = args[0];

    if (command == L"list") {
        EnumWindows(&ListWindow, 0);
        return 0;
    }
    if (args.size() < 2) return Usage();
    const std::wstring& caption = args[1];

    if (command == L"wait-gone") {
        const ULONGLONG end = GetTickCount64() + g_timeoutMs;
        while (FindNow(caption, false) != nullptr) {
            if (GetTickCount64() >= end) return 2;
            Sleep(100);
        }
        return 0;
    }

    HWND window = WaitFor(caption);
    if (window == nullptr) {
        std::fprintf(stderr, "no window \"%s\"\n", Utf8(caption).c_str());
        return 2;
    }
    if (command == L"wait") return 0;
    if (command == L"controls") {
        EnumChildWindows(window, &ListControl, reinterpret_cast<LPARAM>(window));
        return 0;
    }
    if (command == L"close") {
        return PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 4;
    }
    if (command == L"esc" || command == L"enter") {
        const WPARAM key = command == L"esc" ? VK_ESCAPE : VK_RETURN;
        HWND focus = FocusOf(window);
        const bool down = PostMessageW(focus, WM_KEYDOWN, key, 1) != FALSE;
        const bool up = PostMessageW(focus, WM_KEYUP, key, 0xC0000001) != FALSE;
        return down && up ? 0 : 4;
    }
    if (command == L"capture") {
        if (args.size() < 3) return Usage();
        return WriteBmp(args[2].c_str(), window) ? 0 : 4;
    }
    if (args.size() < 3) return Usage();
    const int id = static_cast<int>(std::wcstol(args[2].c_str(), nullptr, 0));

    if (command == L"syscommand") {
        return PostMessageW(window, WM_SYSCOMMAND, static_cast<WPARAM>(id), 0) ? 0 : 4;
    }
    if (command == L"command") {
        HWND control = GetDlgItem(window, id);
        return PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                            reinterpret_cast<LPARAM>(control))
                   ? 0
                   : 4;
    }
    if (command == L"menu") {
        HMENU menu = GetMenu(window);
        if (menu != nullptr && GetMenuItemCount(menu) > 0) {
            bool enabled = false;
            if (!FindMenuItem(menu, static_cast<UINT>(id), enabled) || !enabled) return 3;
        } else {
            // Wine keeps a menu inside its own process: its items cannot be read from here.
            std::fputs("menu state not readable; the command is posted\n", stderr);
        }
        return PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0) ? 0 : 4;
    }
    if (command == L"text" && id == 0) {
        Print(Utf8(TextOf(window)));
        return 0;
    }
    HWND control = GetDlgItem(window, id);
    if (control == nullptr) {
        std::fprintf(stderr, "no control %d\n", id);
        return 3;
    }
    if (command == L"text") {
        Print(Utf8(TextOf(control)));
        return 0;
    }
    if (command == L"checked") {
        Print(std::to_string(SendMessageW(control, BM_GETCHECK, 0, 0)));
        return 0;
    }
    if (command == L"click") {
        return PostMessageW(control, BM_CLICK, 0, 0) ? 0 : 4;
    }
    if (command == L"type") {
        if (args.size() < 4) return Usage();
        return SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[3].c_str())) ? 0
                                                                                               : 4;
    }
    return Usage();
}
