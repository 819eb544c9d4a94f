// Windows and dialogs: the operations the dialog framework is written against. Messages,
// styles and results carry the Windows numbers, so that the framework's logic is the same
// over the real dialog manager and over the headless one of the tests.
#pragma once

#include <cstdint>
#include <string>

#include "Platform.h"

namespace port {

// RECT: left and top inside, right and bottom outside.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// PAINTSTRUCT: the device context and what a paint handler may read; the rest belongs to the
// platform between BeginPaint and EndPaint.
struct PaintStruct {
    Handle hdc = kNoHandle;
    bool fErase = false;
    Rect rcPaint;
    alignas(8) unsigned char reserved[96] = {};
};

// GUID, as CoCreateGuid fills it.
struct Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    uint8_t data4[8] = {};
};

// A dialog procedure: TRUE when the message was handled, FALSE for the dialog manager's
// standard processing (WM_INITDIALOG and WM_QUERYDRAGICON return their value directly).
using DialogProc = intptr_t (*)(Handle dialog, uint32_t message, uintptr_t wParam, intptr_t lParam);

inline constexpr int kDwlpMsgResult = 0;
inline constexpr int kDwlpUser = 16;  // DWLP_USER of the 64-bit layout

class Windows {
public:
    virtual ~Windows() = default;

    // Resources of the program's own module.
    virtual Handle LoadIcon(uint32_t resourceId) = 0;  // a shared icon, kNoHandle when missing
    virtual std::u16string LoadString(uint32_t stringId) = 0;  // empty when missing
    virtual bool InitCommonControlsEx(uint32_t classes) = 0;

    // DialogBoxParamW on a template of the program's resources: -1 when it cannot be created.
    virtual intptr_t DialogBoxParam(uint32_t templateId, Handle owner, DialogProc proc,
                                    intptr_t initParam) = 0;
    virtual bool EndDialog(Handle dialog, intptr_t result) = 0;
    virtual intptr_t SetWindowLongPtr(Handle window, int index, intptr_t value) = 0;
    virtual intptr_t GetWindowLongPtr(Handle window, int index) = 0;

    virtual intptr_t SendMessage(Handle window, uint32_t message, uintptr_t wParam,
                                 intptr_t lParam) = 0;
    virtual Handle GetDlgItem(Handle dialog, int id) = 0;
    virtual bool SetDlgItemText(Handle dialog, int id, const char16_t* text) = 0;
    virtual std::u16string GetDlgItemText(Handle dialog, int id) = 0;  // the whole text
    virtual bool SetWindowText(Handle window, const char16_t* text) = 0;
    virtual std::u16string GetWindowText(Handle window) = 0;

    // SetTimer with no callback: the identifier, or 0 on failure. Arming an armed identifier
    // replaces that timer.
    virtual uintptr_t SetTimer(Handle window, uintptr_t id, uint32_t elapseMs) = 0;
    virtual bool KillTimer(Handle window, uintptr_t id) = 0;

    virtual Handle GetSystemMenu(Handle window, bool revert) = 0;
    virtual bool AppendMenu(Handle menu, uint32_t flags, uintptr_t id, const char16_t* text) = 0;

    virtual bool IsIconic(Handle window) = 0;
    virtual bool GetClientRect(Handle window, Rect& rect) = 0;
    virtual bool InvalidateRect(Handle window, const Rect* rect, bool erase) = 0;
    virtual Handle BeginPaint(Handle window, PaintStruct& paint) = 0;
    virtual bool EndPaint(Handle window, const PaintStruct& paint) = 0;
    virtual bool DrawIcon(Handle dc, int x, int y, Handle icon) = 0;
    virtual int GetSystemMetrics(int index) = 0;

    // MessageBoxW: the button pressed.
    virtual int MessageBox(Handle owner, const char16_t* text, const char16_t* caption,
                           uint32_t type) = 0;

    // The process's command line, program name included, as GetCommandLineW gives it.
    virtual std::u16string GetCommandLine() = 0;
    virtual int32_t CoCreateGuid(Guid& guid) = 0;  // an HRESULT
    virtual int32_t RegisterApplicationRestart(const char16_t* commandLine, uint32_t flags) = 0;
};

}  // namespace port
