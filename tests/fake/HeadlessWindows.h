// A headless dialog manager for native tests: the dialogs of res/*.rc open as records with
// their controls, and a script of steps plays the user while they are modal.
//
//     HeadlessWindows ui;                       // templates, menus, strings from res/Quellor.rc
//     FakeRunnerParts runner;                   // and whatever other fakes the test needs
//     port::Platform platform = port::Current();
//     ui.FillInto(platform);
//     runner.FillInto(platform);
//     port::ScopedInstall install(platform);
//
//     ui.Then([&] {                             // runs inside the modal loop of dialog 102
//           EXPECT_EQ(ui.Text(IDC_STATUS), u"...");
//           ui.Click(IDC_SETKEY_BUTTON);        // opens 130: the next step runs inside it
//       })
//       .Then([&] {
//           ui.Type(IDC_KEY_EDIT, u" key ");
//           ui.PressEnter();                    // 130 ends; back in 102 for the next step
//       })
//       .Then([&] { ui.CloseBox(); });          // 102 ends
//     CQuellorDlg dlg;
//     dlg.DoModal();                            // or AfxWinMain() for the whole application
//     EXPECT_EQ(ui.Find(IDD_SETKEY_DIALOG)->result, IDOK);
//
// Each modal loop takes the next step of the script until its dialog has ended; a loop that
// finds the script empty fails the test and ends its dialog with -1, so no test hangs. Steps
// that a running step adds run next, in the order added, before the steps already waiting: a
// step can say what happens inside the dialog it is about to open.
//
// The dialog manager's standard processing is modelled where the system relies on it: a close
// request (close box, Alt+F4, the system menu's close item: SC_CLOSE) becomes WM_CLOSE and then
// IDCANCEL while the Cancel button is enabled or absent; Esc sends IDCANCEL; Enter sends the
// focused push button's command, else the default button's (IDOK when there is none); an
// automatic radio button clears the others of its group (from the control with WS_GROUP at or
// before it to the next one); WM_SETICON, minimising and restoring change the window.
//
// Timers run on a virtual clock: Advance(ms) delivers the ticks that fall due, in time order.
// Arming an armed identifier replaces it (new period, countdown restarts). Busy(ms) lets time
// pass while the UI thread is busy: a timer that fell due meanwhile ticks once, not once per
// period.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ResourceScript.h"
#include "platform/Platform.h"
#include "platform/Windows.h"

struct HeadlessControl {
    int id = -1;
    port::Handle handle = port::kNoHandle;
    std::u16string className;
    std::u16string text;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    bool checked = false;

    bool Visible() const;
    bool Enabled() const;
    bool IsPushButton() const;
    bool IsAutoRadio() const;
    bool IsEdit() const;
};

struct HeadlessTimer {
    uint32_t periodMs = 0;
    uint64_t dueAt = 0;  // on the virtual clock
};

struct HeadlessMenuItem {
    uint32_t flags = 0;  // MF_SEPARATOR, MF_GRAYED ...
    uintptr_t id = 0;
    std::u16string text;
    friend bool operator==(const HeadlessMenuItem&, const HeadlessMenuItem&) = default;
};

struct HeadlessDialog {
    uint32_t templateId = 0;
    port::Handle hwnd = port::kNoHandle;
    port::Handle owner = port::kNoHandle;
    std::u16string caption;
    uint32_t style = 0;
    rc::Menu menu;  // the menu bar; id 0 when none
    std::vector<HeadlessControl> controls;

    bool open = true;
    bool endRequested = false;
    intptr_t result = 0;  // the end code, once ended
    bool enabled = true;  // false while a dialog it owns is modal
    bool iconic = false;
    int focusId = 0;    // 0: no control has the focus
    port::Rect client;  // in pixels; a test may set it
    std::map<uintptr_t, HeadlessTimer> timers;
    std::vector<HeadlessMenuItem> systemMenu;  // empty without WS_SYSMENU
    port::Handle bigIcon = port::kNoHandle;
    port::Handle smallIcon = port::kNoHandle;
    std::map<int, intptr_t> longs;  // SetWindowLongPtr values
    int invalidations = 0;
    int paints = 0;

    port::DialogProc proc = nullptr;

    HeadlessControl* Control(int id);
    const HeadlessControl* Control(int id) const;
    std::u16string Text(int id) const;  // a control's text; fails the test for a missing id
    bool Checked(int id) const;
    const HeadlessTimer* Timer(uintptr_t id) const;  // nullptr when not armed
};

struct HeadlessMessageBox {
    port::Handle owner = port::kNoHandle;
    std::u16string text;
    std::u16string caption;
    uint32_t type = 0;
};

struct HeadlessIconDraw {
    port::Handle dc = port::kNoHandle;
    int x = 0;
    int y = 0;
    port::Handle icon = port::kNoHandle;
};

class HeadlessWindows : public port::Windows {
public:
    explicit HeadlessWindows(const rc::Resources& resources = rc::Program());
    ~HeadlessWindows() override;

    void FillInto(port::Platform& platform) { platform.windows = this; }

    // --- The script -----------------------------------------------------------------------
    using Step = std::function<void()>;
    HeadlessWindows& Then(Step step);
    size_t RemainingSteps() const { return m_script.size(); }

    // --- Input to the active dialog (the innermost open one) ------------------------------
    // WM_COMMAND with BN_CLICKED from the control of that id (or none), without any check.
    void Command(int id);
    // A mouse click on a visible, enabled control: a push button sends its command; an
    // automatic radio button or check box changes its state first.
    void Click(int id);
    // A pick from the menu bar: false, and nothing sent, when the item is missing or grayed.
    bool MenuCommand(int id);
    // The title bar's close box, Alt+F4 and the system menu's close item: each is SC_CLOSE.
    void CloseBox();
    void AltF4();
    void SystemMenuClose();
    // Any item of the system menu, or a system command as the platform sends it.
    void SystemCommand(uint32_t command, intptr_t lParam = 0);
    void Minimize();  // SC_MINIMIZE
    void Restore();   // SC_RESTORE
    void PressEsc();
    void PressEnter();
    void PressF1();  // WM_HELP
    // Replaces the text of an edit as typing would, with EN_CHANGE.
    void Type(int id, std::u16string_view text);
    void SetFocus(int id);
    void Paint();  // WM_PAINT
    void LButtonDown(int x, int y);
    port::Handle QueryDragIcon();
    // Log-off: WM_QUERYENDSESSION and WM_ENDSESSION to the active dialog; then Windows ends the
    // process, which here ends every open dialog with -1 and no further message.
    void EndSession();

    // --- Time -----------------------------------------------------------------------------
    void Advance(uint32_t ms);
    void Busy(uint32_t ms);
    uint64_t Now() const { return m_now; }
    // A tick of an armed timer of the innermost window that has it, now.
    void Tick(uintptr_t timerId);

    // --- What the test reads --------------------------------------------------------------
    HeadlessDialog& Active();  // fails the test when no dialog is open
    bool AnyOpen() const;
    std::vector<uint32_t> OpenDialogs() const;  // template ids, outermost first
    // The innermost open dialog of that template, else the last one that ended; nullptr when
    // it never opened.
    HeadlessDialog* Find(uint32_t templateId);
    const std::vector<std::unique_ptr<HeadlessDialog>>& AllDialogs() const { return m_dialogs; }
    int TimesOpened(uint32_t templateId) const;
    std::u16string Text(int id) { return Active().Text(id); }
    bool Checked(int id) { return Active().Checked(id); }

    // --- Knobs and records ----------------------------------------------------------------
    rc::Resources resources;              // a copy: a test may remove a string or a style bit
    std::set<uint32_t> failingTemplates;  // DialogBoxParam answers -1 for these
    int messageBoxAnswer = 1;             // IDOK
    std::u16string commandLine = u"\"C:\\Panel\\Quellor.exe\"";
    port::Guid nextGuid{
        0x01234567, 0x89AB, 0xCDEF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
    std::map<int, int> systemMetrics{{11, 32}, {12, 32}};  // SM_CXICON, SM_CYICON

    std::vector<HeadlessMessageBox> messageBoxes;
    std::vector<std::u16string> restartRegistrations;
    std::vector<uint32_t> commonControlClasses;
    std::vector<HeadlessIconDraw> iconsDrawn;

    // --- port::Windows --------------------------------------------------------------------
    port::Handle LoadIcon(uint32_t resourceId) override;
    std::u16string LoadString(uint32_t stringId) override;
    bool InitCommonControlsEx(uint32_t classes) override;
    intptr_t DialogBoxParam(uint32_t templateId, port::Handle owner, port::DialogProc proc,
                            intptr_t initParam) override;
    bool EndDialog(port::Handle dialog, intptr_t result) override;
    intptr_t SetWindowLongPtr(port::Handle window, int index, intptr_t value) override;
    intptr_t GetWindowLongPtr(port::Handle window, int index) override;
    intptr_t SendMessage(port::Handle window, uint32_t message, uintptr_t wParam,
                         intptr_t lParam) override;
    port::Handle GetDlgItem(port::Handle dialog, int id) override;
    bool SetDlgItemText(port::Handle dialog, int id, const char16_t* text) override;
    std::u16string GetDlgItemText(port::Handle dialog, int id) override;
    bool SetWindowText(port::Handle window, const char16_t* text) override;
    std::u16string GetWindowText(port::Handle window) override;
    uintptr_t SetTimer(port::Handle window, uintptr_t id, uint32_t elapseMs) override;
    bool KillTimer(port::Handle window, uintptr_t id) override;
    port::Handle GetSystemMenu(port::Handle window, bool revert) override;
    bool AppendMenu(port::Handle menu, uint32_t flags, uintptr_t id, const char16_t* text) override;
    bool IsIconic(port::Handle window) override;
    bool GetClientRect(port::Handle window, port::Rect& rect) override;
    bool InvalidateRect(port::Handle window, const port::Rect* rect, bool erase) override;
    port::Handle BeginPaint(port::Handle window, port::PaintStruct& paint) override;
    bool EndPaint(port::Handle window, const port::PaintStruct& paint) override;
    bool DrawIcon(port::Handle dc, int x, int y, port::Handle icon) override;
    int GetSystemMetrics(int index) override;
    int MessageBox(port::Handle owner, const char16_t* text, const char16_t* caption,
                   uint32_t type) override;
    std::u16string GetCommandLine() override;
    int32_t CoCreateGuid(port::Guid& guid) override;
    int32_t RegisterApplicationRestart(const char16_t* commandLine, uint32_t flags) override;

private:
    HeadlessDialog* DialogOf(port::Handle hwnd);
    HeadlessControl* ControlOf(port::Handle handle, HeadlessDialog** dialog = nullptr);
    intptr_t Deliver(HeadlessDialog& dialog, uint32_t message, uintptr_t wParam, intptr_t lParam);
    intptr_t StandardProcessing(HeadlessDialog& dialog, uint32_t message, uintptr_t wParam,
                                intptr_t lParam);
    void SendCommand(HeadlessDialog& dialog, int id, uint16_t code);
    void ClickControl(HeadlessDialog& dialog, HeadlessControl& control);
    void FocusFirstTabStop(HeadlessDialog& dialog);
    void DeliverTick(HeadlessDialog& dialog, uintptr_t id);

    std::vector<std::unique_ptr<HeadlessDialog>> m_dialogs;
    std::vector<HeadlessDialog*> m_modal;  // open dialogs, outermost first
    std::deque<Step> m_script;
    // What each running step has added, innermost last; moved to the front of the script when
    // that step opens a dialog or returns.
    std::vector<std::vector<Step>> m_added;
    void FlushAdded();
    void RunStep(Step step);
    uint64_t m_now = 0;
    uintptr_t m_nextDc = 0x90000;
};
