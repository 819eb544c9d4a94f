// Message maps: one table per class binds messages and commands to the class's handlers; one
// dispatch routine walks the tables from the object's own class to its bases. Each entry holds
// a small function generated for its handler, so a handler of the wrong signature does not
// compile and no member pointer is ever cast.
//
//     BEGIN_MESSAGE_MAP(CMyDlg, CDialogEx)
//         ON_WM_TIMER()
//         ON_BN_CLICKED(IDC_BUTTON, &CMyDlg::OnButton)
//     END_MESSAGE_MAP()
#pragma once

#include "framework/AfxTypes.h"
#include "framework/CObject.h"

class CCmdTarget;

// Matches a WM_COMMAND of notification code 0 (menu, button click) or 1 (accelerator).
inline constexpr UINT kAfxAnyCommandCode = 0xFFFFFFFF;

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;  // WM_COMMAND only: the notification code
    UINT nID;    // WM_COMMAND only: the first and last command identifier
    UINT nLastID;
    LRESULT (*pfn)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);  // nullptr ends a table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // nullptr at the root
    const AFX_MSGMAP_ENTRY* lpEntries;
};

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    // Runs the first entry of the maps that matches; false when none does.
    bool DispatchMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The entry that would handle the message, or nullptr.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, WPARAM wParam) const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

// clang-format off
#define DECLARE_MESSAGE_MAP()                        \
protected:                                           \
    static const AFX_MSGMAP* GetThisMessageMap();    \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                          \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }   \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                   \
        using ThisClass [[maybe_unused]] = theClass;                                    \
        using TheBaseClass = baseClass;                                                 \
        static const AFX_MSGMAP_ENTRY messageEntries[] = {
#define END_MESSAGE_MAP()                                                               \
    {0, 0, 0, 0, nullptr}};                                                             \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,             \
                                          &messageEntries[0]};                          \
    return &messageMap;                                                                 \
    }

#define AFX_MSG_THUNK(body) \
    [](CCmdTarget * target, [[maybe_unused]] WPARAM wParam, \
       [[maybe_unused]] LPARAM lParam) -> LRESULT { \
        auto* self = static_cast<ThisClass*>(target); \
        body; \
    }

#define ON_COMMAND(id, memberFxn)                                                   \
    {WM_COMMAND, kAfxAnyCommandCode, static_cast<UINT>(id), static_cast<UINT>(id), \
     AFX_MSG_THUNK((self->*(memberFxn))(); return 0)},
#define ON_BN_CLICKED(id, memberFxn)                                      \
    {WM_COMMAND, BN_CLICKED, static_cast<UINT>(id), static_cast<UINT>(id), \
     AFX_MSG_THUNK((self->*(memberFxn))(); return 0)},
#define ON_WM_SYSCOMMAND() \
    {WM_SYSCOMMAND, 0, 0, 0, AFX_MSG_THUNK(self->OnSysCommand(static_cast<UINT>(wParam), lParam); return 0)},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, AFX_MSG_THUNK(self->OnPaint(); return 0)},
#define ON_WM_QUERYDRAGICON() \
    {WM_QUERYDRAGICON, 0, 0, 0, AFX_MSG_THUNK(return reinterpret_cast<LRESULT>(self->OnQueryDragIcon()))},
#define ON_WM_SIZE()                                                                   \
    {WM_SIZE, 0, 0, 0,                                                                 \
     AFX_MSG_THUNK(self->OnSize(static_cast<UINT>(wParam), LOWORD(static_cast<uintptr_t>(lParam)), \
                                HIWORD(static_cast<uintptr_t>(lParam)));               \
                   return 0)},
#define ON_WM_LBUTTONDOWN()                                                   \
    {WM_LBUTTONDOWN, 0, 0, 0,                                                 \
     AFX_MSG_THUNK(self->OnLButtonDown(static_cast<UINT>(wParam),             \
                                       CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))); \
                   return 0)},
#define ON_WM_TIMER() \
    {WM_TIMER, 0, 0, 0, AFX_MSG_THUNK(self->OnTimer(static_cast<UINT_PTR>(wParam)); return 0)},
// clang-format on
