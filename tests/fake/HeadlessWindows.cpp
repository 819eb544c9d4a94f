#include "HeadlessWindows.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "framework/CString.h"

namespace {

constexpr uint32_t WS_VISIBLE = 0x10000000;
constexpr uint32_t WS_DISABLED = 0x08000000;
constexpr uint32_t WS_GROUP = 0x00020000;
constexpr uint32_t WS_TABSTOP = 0x00010000;
constexpr uint32_t WS_SYSMENU = 0x00080000;
constexpr uint32_t WS_MINIMIZEBOX = 0x00020000;
constexpr uint32_t WS_MAXIMIZEBOX = 0x00010000;

constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_SETTEXT = 0x000C;
constexpr uint32_t WM_GETTEXT = 0x000D;
constexpr uint32_t WM_GETTEXTLENGTH = 0x000E;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUERYENDSESSION = 0x0011;
constexpr uint32_t WM_ENDSESSION = 0x0016;
constexpr uint32_t WM_QUERYDRAGICON = 0x0037;
constexpr uint32_t WM_HELP = 0x0053;
constexpr uint32_t WM_SETICON = 0x0080;
constexpr uint32_t WM_NCDESTROY = 0x0082;
constexpr uint32_t WM_INITDIALOG = 0x0110;
constexpr uint32_t WM_COMMAND = 0x0111;
constexpr uint32_t WM_SYSCOMMAND = 0x0112;
constexpr uint32_t WM_TIMER = 0x0113;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t BM_GETCHECK = 0x00F0;
constexpr uint32_t BM_SETCHECK = 0x00F1;
constexpr uint32_t BM_CLICK = 0x00F5;
constexpr uint16_t BN_CLICKED = 0;
constexpr uint16_t EN_CHANGE = 0x0300;
constexpr uint32_t SC_SIZE = 0xF000;
constexpr uint32_t SC_MOVE = 0xF010;
constexpr uint32_t SC_MINIMIZE = 0xF020;
constexpr uint32_t SC_MAXIMIZE = 0xF030;
constexpr uint32_t SC_CLOSE = 0xF060;
constexpr uint32_t SC_RESTORE = 0xF120;
constexpr uint32_t MF_GRAYED = 0x0001;
constexpr uint32_t MF_SEPARATOR = 0x0800;
constexpr int IDCANCEL = 2;
constexpr int IDOK = 1;
constexpr port::Handle kIconBase = 0x7000000;

uintptr_t MakeWParam(int low, int high) {
    return (static_cast<uintptr_t>(high & 0xFFFF) << 16) | static_cast<uintptr_t>(low & 0xFFFF);
}
intptr_t MakeLParam(int low, int high) { return static_cast<intptr_t>(MakeWParam(low, high)); }

bool ReturnsValueDirectly(uint32_t message) {
    return message == WM_INITDIALOG || message == WM_QUERYDRAGICON;
}

}  // namespace

bool HeadlessControl::Visible() const { return (style & WS_VISIBLE) != 0; }
bool HeadlessControl::Enabled() const { return (style & WS_DISABLED) == 0; }
bool HeadlessControl::IsPushButton() const { return className == u"Button" && (style & 0xF) <= 1; }
bool HeadlessControl::IsAutoRadio() const { return className == u"Button" && (style & 0xF) == 9; }
bool HeadlessControl::IsEdit() const { return className == u"Edit"; }

HeadlessControl* HeadlessDialog::Control(int id) {
    for (HeadlessControl& control : controls) {
        if (control.id == id) return &control;
    }
    return nullptr;
}

const HeadlessControl* HeadlessDialog::Control(int id) const {
    return const_cast<HeadlessDialog*>(this)->Control(id);
}

std::u16string HeadlessDialog::Text(int id) const {
    const HeadlessControl* control = Control(id);
    if (control == nullptr) {
        ADD_FAILURE() << "dialog " << templateId << " has no control " << id;
        return {};
    }
    return control->text;
}

bool HeadlessDialog::Checked(int id) const {
    const HeadlessControl* control = Control(id);
    if (control == nullptr) {
        ADD_FAILURE() << "dialog " << templateId << " has no control " << id;
        return false;
    }
    return control->checked;
}

const HeadlessTimer* HeadlessDialog::Timer(uintptr_t id) const {
    const auto found = timers.find(id);
    return found == timers.end() ? nullptr : &found->second;
}

HeadlessWindows::HeadlessWindows(const rc::Resources& res) : resources(res) {}

HeadlessWindows::~HeadlessWindows() = default;

HeadlessWindows& HeadlessWindows::Then(Step step) {
    if (m_added.empty()) {
        m_script.push_back(std::move(step));
    } else {
        m_added.back().push_back(std::move(step));
    }
    return *this;
}

void HeadlessWindows::FlushAdded() {
    if (m_added.empty()) return;
    std::vector<Step>& added = m_added.back();
    m_script.insert(m_script.begin(), std::make_move_iterator(added.begin()),
                    std::make_move_iterator(added.end()));
    added.clear();
}

void HeadlessWindows::RunStep(Step step) {
    m_added.emplace_back();
    step();
    FlushAdded();
    m_added.pop_back();
}

// --- Lookup --------------------------------------------------------------------------------

HeadlessDialog* HeadlessWindows::DialogOf(port::Handle hwnd) {
    for (auto& dialog : m_dialogs) {
        if (dialog->hwnd == hwnd && dialog->open) return dialog.get();
    }
    return nullptr;
}

HeadlessControl* HeadlessWindows::ControlOf(port::Handle handle, HeadlessDialog** owner) {
    for (auto& dialog : m_dialogs) {
        if (!dialog->open) continue;
        for (HeadlessControl& control : dialog->controls) {
            if (control.handle == handle) {
                if (owner != nullptr) *owner = dialog.get();
                return &control;
            }
        }
    }
    return nullptr;
}

HeadlessDialog& HeadlessWindows::Active() {
    if (m_modal.empty()) {
        ADD_FAILURE() << "no dialog is open";
        static HeadlessDialog none;
        none = HeadlessDialog();
        return none;
    }
    return *m_modal.back();
}

bool HeadlessWindows::AnyOpen() const { return !m_modal.empty(); }

std::vector<uint32_t> HeadlessWindows::OpenDialogs() const {
    std::vector<uint32_t> ids;
    for (const HeadlessDialog* dialog : m_modal) ids.push_back(dialog->templateId);
    return ids;
}

HeadlessDialog* HeadlessWindows::Find(uint32_t templateId) {
    for (auto it = m_modal.rbegin(); it != m_modal.rend(); ++it) {
        if ((*it)->templateId == templateId) return *it;
    }
    for (auto it = m_dialogs.rbegin(); it != m_dialogs.rend(); ++it) {
        if ((*it)->templateId == templateId) return it->get();
    }
    return nullptr;
}

int HeadlessWindows::TimesOpened(uint32_t templateId) const {
    return static_cast<int>(std::count_if(m_dialogs.begin(), m_dialogs.end(), [&](const auto& d) {
        return d->templateId == templateId;
    }));
}

// --- The modal run -------------------------------------------------------------------------

intptr_t HeadlessWindows::DialogBoxParam(uint32_t templateId, port::Handle owner,
                                         port::DialogProc proc, intptr_t initParam) {
    const auto found = resources.dialogs.find(templateId);
    if (found == resources.dialogs.end() || failingTemplates.count(templateId) != 0) {
        return -1;
    }
    const rc::Dialog& tpl = found->second;
    auto record = std::make_unique<HeadlessDialog>();
    HeadlessDialog& dialog = *record;
    dialog.templateId = templateId;
    dialog.hwnd = static_cast<port::Handle>(0x10000 * (m_dialogs.size() + 1));
    dialog.owner = owner;
    dialog.caption = tpl.caption;
    dialog.style = tpl.style;
    dialog.proc = proc;
    // Dialog units at the base units of the 9-point shell font, near enough for layout tests.
    dialog.client = {0, 0, tpl.cx * 7 / 4, tpl.cy * 2};
    if (tpl.menuId != 0) {
        const auto menu = resources.menus.find(tpl.menuId);
        if (menu != resources.menus.end()) dialog.menu = menu->second;
    }
    if ((tpl.style & WS_SYSMENU) != 0) {
        dialog.systemMenu.push_back({0, SC_RESTORE, u"还原(&R)"});
        dialog.systemMenu.push_back({0, SC_MOVE, u"移动(&M)"});
        dialog.systemMenu.push_back({MF_GRAYED, SC_SIZE, u"大小(&S)"});
        dialog.systemMenu.push_back(
            {(tpl.style & WS_MINIMIZEBOX) != 0 ? 0u : MF_GRAYED, SC_MINIMIZE, u"最小化(&N)"});
        dialog.systemMenu.push_back(
            {(tpl.style & WS_MAXIMIZEBOX) != 0 ? 0u : MF_GRAYED, SC_MAXIMIZE, u"最大化(&X)"});
        dialog.systemMenu.push_back({MF_SEPARATOR, 0, u""});
        dialog.systemMenu.push_back({0, SC_CLOSE, u"关闭(&C)\tAlt+F4"});
    }
    for (size_t i = 0; i < tpl.controls.size(); ++i) {
        const rc::Control& c = tpl.controls[i];
        HeadlessControl control;
        control.id = c.id;
        control.handle = dialog.hwnd + i + 1;
        control.className = c.className;
        control.text = c.text;
        control.style = c.style;
        control.exStyle = c.exStyle;
        dialog.controls.push_back(std::move(control));
    }
    m_dialogs.push_back(std::move(record));

    HeadlessDialog* ownerDialog = DialogOf(owner);
    const bool ownerWasEnabled = ownerDialog != nullptr && ownerDialog->enabled;
    if (ownerDialog != nullptr) ownerDialog->enabled = false;
    m_modal.push_back(&dialog);

    if (proc(dialog.hwnd, WM_INITDIALOG, 0, initParam) != 0) {
        FocusFirstTabStop(dialog);
    }
    while (!dialog.endRequested) {
        FlushAdded();
        if (m_script.empty()) {
            ADD_FAILURE() << "the script ran out while dialog " << templateId << " was open";
            dialog.endRequested = true;
            dialog.result = -1;
            break;
        }
        Step step = std::move(m_script.front());
        m_script.pop_front();
        RunStep(std::move(step));
    }

    proc(dialog.hwnd, WM_DESTROY, 0, 0);
    proc(dialog.hwnd, WM_NCDESTROY, 0, 0);
    dialog.timers.clear();
    dialog.open = false;
    m_modal.erase(std::find(m_modal.begin(), m_modal.end(), &dialog));
    if (ownerDialog != nullptr && ownerWasEnabled) ownerDialog->enabled = true;
    return dialog.result;
}

bool HeadlessWindows::EndDialog(port::Handle hwnd, intptr_t result) {
    HeadlessDialog* dialog = DialogOf(hwnd);
    if (dialog == nullptr) return false;
    dialog->endRequested = true;
    dialog->result = result;
    return true;
}

void HeadlessWindows::FocusFirstTabStop(HeadlessDialog& dialog) {
    for (const HeadlessControl& control : dialog.controls) {
        if (control.Visible() && control.Enabled() && (control.style & WS_TABSTOP) != 0) {
            dialog.focusId = control.id;
            return;
        }
    }
}

intptr_t HeadlessWindows::Deliver(HeadlessDialog& dialog, uint32_t message, uintptr_t wParam,
                                  intptr_t lParam) {
    const intptr_t handled = dialog.proc(dialog.hwnd, message, wParam, lParam);
    if (ReturnsValueDirectly(message)) {
        return handled != 0 ? handled : StandardProcessing(dialog, message, wParam, lParam);
    }
    if (handled == 0) return StandardProcessing(dialog, message, wParam, lParam);
    return dialog.longs[port::kDwlpMsgResult];
}

intptr_t HeadlessWindows::StandardProcessing(HeadlessDialog& dialog, uint32_t message,
                                             uintptr_t wParam, intptr_t lParam) {
    switch (message) {
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_CLOSE:
                    Deliver(dialog, WM_CLOSE, 0, 0);
                    break;
                case SC_MINIMIZE:
                    if ((dialog.style & WS_MINIMIZEBOX) != 0 && !dialog.iconic) {
                        dialog.iconic = true;
                        Deliver(dialog, WM_SIZE, 1, 0);
                    }
                    break;
                case SC_RESTORE:
                    if (dialog.iconic) {
                        dialog.iconic = false;
                        Deliver(dialog, WM_SIZE, 0,
                                MakeLParam(dialog.client.right, dialog.client.bottom));
                    }
                    break;
                default:
                    break;  // moving needs no model; there is no maximise box or sizing border
            }
            return 0;
        case WM_CLOSE: {
            // The dialog manager answers a close request with IDCANCEL unless Cancel is disabled.
            HeadlessControl* cancel = dialog.Control(IDCANCEL);
            if (cancel == nullptr || cancel->Enabled()) {
                Deliver(dialog, WM_COMMAND, MakeWParam(IDCANCEL, BN_CLICKED),
                        cancel != nullptr ? static_cast<intptr_t>(cancel->handle) : 0);
            }
            return 0;
        }
        case WM_SETICON: {
            port::Handle& slot = wParam != 0 ? dialog.bigIcon : dialog.smallIcon;
            const port::Handle previous = slot;
            slot = static_cast<port::Handle>(lParam);
            return static_cast<intptr_t>(previous);
        }
        case WM_QUERYENDSESSION:
            return 1;
        default:
            return 0;
    }
}

intptr_t HeadlessWindows::SendMessage(port::Handle window, uint32_t message, uintptr_t wParam,
                                      intptr_t lParam) {
    if (HeadlessDialog* dialog = DialogOf(window)) {
        return Deliver(*dialog, message, wParam, lParam);
    }
    HeadlessDialog* owner = nullptr;
    HeadlessControl* control = ControlOf(window, &owner);
    if (control == nullptr) return 0;
    switch (message) {
        case BM_GETCHECK:
            return control->checked ? 1 : 0;
        case BM_SETCHECK:
            control->checked = wParam == 1;
            return 0;
        case BM_CLICK:
            ClickControl(*owner, *control);
            return 0;
        case WM_SETTEXT:
            control->text = lParam != 0 ? std::u16string(reinterpret_cast<const char16_t*>(lParam))
                                        : std::u16string();
            return 1;
        case WM_GETTEXTLENGTH:
            return static_cast<intptr_t>(control->text.size());
        default:
            return 0;
    }
}

// --- Input ---------------------------------------------------------------------------------

void HeadlessWindows::SendCommand(HeadlessDialog& dialog, int id, uint16_t code) {
    const HeadlessControl* control = dialog.Control(id);
    Deliver(dialog, WM_COMMAND, MakeWParam(id, code),
            control != nullptr ? static_cast<intptr_t>(control->handle) : 0);
}

void HeadlessWindows::Command(int id) {
    if (!AnyOpen()) {
        ADD_FAILURE() << "command " << id << " with no dialog open";
        return;
    }
    SendCommand(Active(), id, BN_CLICKED);
}

void HeadlessWindows::ClickControl(HeadlessDialog& dialog, HeadlessControl& control) {
    if (!control.Visible() || !control.Enabled()) {
        ADD_FAILURE() << "control " << control.id << " of dialog " << dialog.templateId
                      << " is hidden or disabled and takes no click";
        return;
    }
    if (control.className == u"Button") {
        const uint32_t kind = control.style & 0xF;
        if (kind == 9) {  // automatic radio button: one of its group is selected
            const auto self = std::find_if(dialog.controls.begin(), dialog.controls.end(),
                                           [&](const auto& c) { return &c == &control; });
            auto first = self;
            while (first != dialog.controls.begin() && (first->style & WS_GROUP) == 0) --first;
            auto last = self + 1;
            while (last != dialog.controls.end() && (last->style & WS_GROUP) == 0) ++last;
            for (auto it = first; it != last; ++it) {
                if (it->IsAutoRadio()) it->checked = false;
            }
            control.checked = true;
        } else if (kind == 3 || kind == 6) {
            control.checked = !control.checked;
        }
        if (kind != 7) {
            dialog.focusId = control.id;
            SendCommand(dialog, control.id, BN_CLICKED);
        }
        return;
    }
    if (control.IsEdit()) dialog.focusId = control.id;
}

void HeadlessWindows::Click(int id) {
    HeadlessDialog& dialog = Active();
    HeadlessControl* control = dialog.Control(id);
    if (control == nullptr) {
        ADD_FAILURE() << "dialog " << dialog.templateId << " has no control " << id;
        return;
    }
    ClickControl(dialog, *control);
}

bool HeadlessWindows::MenuCommand(int id) {
    HeadlessDialog& dialog = Active();
    std::function<const rc::MenuItem*(const std::vector<rc::MenuItem>&)> find =
        [&](const std::vector<rc::MenuItem>& items) -> const rc::MenuItem* {
        for (const rc::MenuItem& item : items) {
            if (!item.items.empty()) {
                if (item.grayed) continue;
                if (const rc::MenuItem* inner = find(item.items)) return inner;
            } else if (!item.separator && static_cast<int>(item.id) == id) {
                return &item;
            }
        }
        return nullptr;
    };
    const rc::MenuItem* item = find(dialog.menu.items);
    if (item == nullptr || item->grayed) return false;
    Deliver(dialog, WM_COMMAND, MakeWParam(id, 0), 0);
    return true;
}

void HeadlessWindows::SystemCommand(uint32_t command, intptr_t lParam) {
    if (!AnyOpen()) {
        ADD_FAILURE() << "system command with no dialog open";
        return;
    }
    Deliver(Active(), WM_SYSCOMMAND, command, lParam);
}

// The three close ways differ only in where the platform says they came from.
void HeadlessWindows::CloseBox() { SystemCommand(SC_CLOSE, MakeLParam(400, 10)); }
void HeadlessWindows::AltF4() { SystemCommand(SC_CLOSE, 0); }
void HeadlessWindows::SystemMenuClose() { SystemCommand(SC_CLOSE, MakeLParam(20, 120)); }
void HeadlessWindows::Minimize() { SystemCommand(SC_MINIMIZE); }
void HeadlessWindows::Restore() { SystemCommand(SC_RESTORE); }

void HeadlessWindows::PressEsc() {
    HeadlessDialog& dialog = Active();
    SendCommand(dialog, IDCANCEL, BN_CLICKED);
}

void HeadlessWindows::PressEnter() {
    HeadlessDialog& dialog = Active();
    const HeadlessControl* focus = dialog.Control(dialog.focusId);
    if (focus != nullptr && focus->IsPushButton()) {
        SendCommand(dialog, focus->id, BN_CLICKED);
        return;
    }
    int id = IDOK;
    for (const HeadlessControl& control : dialog.controls) {
        if (control.className == u"Button" && (control.style & 0xF) == 1) {
            id = control.id;
            break;
        }
    }
    SendCommand(dialog, id, BN_CLICKED);
}

void HeadlessWindows::PressF1() { Deliver(Active(), WM_HELP, 0, 0); }

void HeadlessWindows::Type(int id, std::u16string_view text) {
    HeadlessDialog& dialog = Active();
    HeadlessControl* control = dialog.Control(id);
    if (control == nullptr || !control->IsEdit() || !control->Visible() || !control->Enabled()) {
        ADD_FAILURE() << "dialog " << dialog.templateId << " has no usable edit " << id;
        return;
    }
    dialog.focusId = id;
    control->text = std::u16string(text);
    SendCommand(dialog, id, EN_CHANGE);
}

void HeadlessWindows::SetFocus(int id) { Active().focusId = id; }

void HeadlessWindows::Paint() { Deliver(Active(), WM_PAINT, 0, 0); }

void HeadlessWindows::LButtonDown(int x, int y) {
    Deliver(Active(), WM_LBUTTONDOWN, 1, MakeLParam(x, y));
}

port::Handle HeadlessWindows::QueryDragIcon() {
    return static_cast<port::Handle>(Deliver(Active(), WM_QUERYDRAGICON, 0, 0));
}

void HeadlessWindows::EndSession() {
    HeadlessDialog& dialog = Active();
    Deliver(dialog, WM_QUERYENDSESSION, 0, 0);
    Deliver(dialog, WM_ENDSESSION, 1, 0);
    for (HeadlessDialog* open : m_modal) {
        open->endRequested = true;
        open->result = -1;
    }
}

// --- Time ----------------------------------------------------------------------------------

void HeadlessWindows::DeliverTick(HeadlessDialog& dialog, uintptr_t id) {
    auto timer = dialog.timers.find(id);
    if (timer == dialog.timers.end()) return;
    timer->second.dueAt = m_now + timer->second.periodMs;
    Deliver(dialog, WM_TIMER, id, 0);
}

void HeadlessWindows::Advance(uint32_t ms) {
    const uint64_t target = m_now + ms;
    while (true) {
        HeadlessDialog* next = nullptr;
        uintptr_t nextId = 0;
        uint64_t nextDue = target + 1;
        for (auto& dialog : m_dialogs) {
            if (!dialog->open) continue;
            for (const auto& [id, timer] : dialog->timers) {
                if (timer.dueAt < nextDue) {
                    next = dialog.get();
                    nextId = id;
                    nextDue = timer.dueAt;
                }
            }
        }
        if (next == nullptr) break;
        // A tick that fell due while the thread was busy comes now, once.
        m_now = std::max(m_now, nextDue);
        DeliverTick(*next, nextId);
    }
    m_now = std::max(m_now, target);
}

void HeadlessWindows::Busy(uint32_t ms) { m_now += ms; }

void HeadlessWindows::Tick(uintptr_t timerId) {
    for (auto it = m_modal.rbegin(); it != m_modal.rend(); ++it) {
        if ((*it)->timers.count(timerId) != 0) {
            DeliverTick(**it, timerId);
            return;
        }
    }
    ADD_FAILURE() << "no open window has timer " << timerId << " armed";
}

uintptr_t HeadlessWindows::SetTimer(port::Handle window, uintptr_t id, uint32_t elapseMs) {
    HeadlessDialog* dialog = DialogOf(window);
    if (dialog == nullptr) return 0;
    // Windows raises periods below 10 ms to 10 ms.
    const uint32_t period = std::max<uint32_t>(elapseMs, 10);
    dialog->timers[id] = HeadlessTimer{period, m_now + period};
    return id;
}

bool HeadlessWindows::KillTimer(port::Handle window, uintptr_t id) {
    HeadlessDialog* dialog = DialogOf(window);
    return dialog != nullptr && dialog->timers.erase(id) != 0;
}

// --- Windows, menus, painting ----------------------------------------------------------------

intptr_t HeadlessWindows::SetWindowLongPtr(port::Handle window, int index, intptr_t value) {
    HeadlessDialog* dialog = DialogOf(window);
    if (dialog == nullptr) return 0;
    const intptr_t previous = dialog->longs[index];
    dialog->longs[index] = value;
    return previous;
}

intptr_t HeadlessWindows::GetWindowLongPtr(port::Handle window, int index) {
    HeadlessDialog* dialog = DialogOf(window);
    return dialog != nullptr ? dialog->longs[index] : 0;
}

port::Handle HeadlessWindows::GetDlgItem(port::Handle window, int id) {
    HeadlessDialog* dialog = DialogOf(window);
    if (dialog == nullptr) return port::kNoHandle;
    const HeadlessControl* control = dialog->Control(id);
    return control != nullptr ? control->handle : port::kNoHandle;
}

bool HeadlessWindows::SetDlgItemText(port::Handle window, int id, const char16_t* text) {
    HeadlessDialog* dialog = DialogOf(window);
    HeadlessControl* control = dialog != nullptr ? dialog->Control(id) : nullptr;
    if (control == nullptr) return false;
    control->text = text != nullptr ? text : u"";
    return true;
}

std::u16string HeadlessWindows::GetDlgItemText(port::Handle window, int id) {
    HeadlessDialog* dialog = DialogOf(window);
    const HeadlessControl* control = dialog != nullptr ? dialog->Control(id) : nullptr;
    return control != nullptr ? control->text : std::u16string();
}

bool HeadlessWindows::SetWindowText(port::Handle window, const char16_t* text) {
    if (HeadlessDialog* dialog = DialogOf(window)) {
        dialog->caption = text != nullptr ? text : u"";
        return true;
    }
    if (HeadlessControl* control = ControlOf(window)) {
        control->text = text != nullptr ? text : u"";
        return true;
    }
    return false;
}

std::u16string HeadlessWindows::GetWindowText(port::Handle window) {
    if (HeadlessDialog* dialog = DialogOf(window)) return dialog->caption;
    if (HeadlessControl* control = ControlOf(window)) return control->text;
    return {};
}

port::Handle HeadlessWindows::GetSystemMenu(port::Handle window, bool) {
    HeadlessDialog* dialog = DialogOf(window);
    if (dialog == nullptr || (dialog->style & WS_SYSMENU) == 0) return port::kNoHandle;
    return dialog->hwnd + 0xF000;
}

bool HeadlessWindows::AppendMenu(port::Handle menu, uint32_t flags, uintptr_t id,
                                 const char16_t* text) {
    HeadlessDialog* dialog = DialogOf(menu - 0xF000);
    if (dialog == nullptr || (dialog->style & WS_SYSMENU) == 0) return false;
    dialog->systemMenu.push_back(
        {flags, (flags & MF_SEPARATOR) != 0 ? 0 : id, text != nullptr ? text : u""});
    return true;
}

bool HeadlessWindows::IsIconic(port::Handle window) {
    HeadlessDialog* dialog = DialogOf(window);
    return dialog != nullptr && dialog->iconic;
}

bool HeadlessWindows::GetClientRect(port::Handle window, port::Rect& rect) {
    HeadlessDialog* dialog = DialogOf(window);
    if (dialog == nullptr) return false;
    rect = dialog->iconic ? port::Rect{0, 0, 0, 0} : dialog->client;
    return true;
}

bool HeadlessWindows::InvalidateRect(port::Handle window, const port::Rect*, bool) {
    HeadlessDialog* dialog = DialogOf(window);
    if (dialog == nullptr) return false;
    ++dialog->invalidations;
    return true;
}

port::Handle HeadlessWindows::BeginPaint(port::Handle window, port::PaintStruct& paint) {
    paint = port::PaintStruct();
    HeadlessDialog* dialog = DialogOf(window);
    if (dialog == nullptr) return port::kNoHandle;
    ++dialog->paints;
    paint.hdc = ++m_nextDc;
    paint.rcPaint = dialog->client;
    return paint.hdc;
}

bool HeadlessWindows::EndPaint(port::Handle, const port::PaintStruct&) { return true; }

bool HeadlessWindows::DrawIcon(port::Handle dc, int x, int y, port::Handle icon) {
    iconsDrawn.push_back({dc, x, y, icon});
    return icon != port::kNoHandle;
}

int HeadlessWindows::GetSystemMetrics(int index) {
    const auto found = systemMetrics.find(index);
    return found != systemMetrics.end() ? found->second : 0;
}

// --- Resources and the process ---------------------------------------------------------------

port::Handle HeadlessWindows::LoadIcon(uint32_t resourceId) {
    return resources.icons.count(resourceId) != 0 ? kIconBase + resourceId : port::kNoHandle;
}

std::u16string HeadlessWindows::LoadString(uint32_t stringId) {
    const auto found = resources.strings.find(stringId);
    return found != resources.strings.end() ? found->second : std::u16string();
}

bool HeadlessWindows::InitCommonControlsEx(uint32_t classes) {
    commonControlClasses.push_back(classes);
    return true;
}

int HeadlessWindows::MessageBox(port::Handle owner, const char16_t* text, const char16_t* caption,
                                uint32_t type) {
    messageBoxes.push_back(
        {owner, text != nullptr ? text : u"", caption != nullptr ? caption : u"", type});
    return messageBoxAnswer;
}

std::u16string HeadlessWindows::GetCommandLine() { return commandLine; }

int32_t HeadlessWindows::CoCreateGuid(port::Guid& guid) {
    guid = nextGuid;
    return 0;
}

int32_t HeadlessWindows::RegisterApplicationRestart(const char16_t* line, uint32_t) {
    restartRegistrations.push_back(line != nullptr ? line : u"");
    return 0;
}
