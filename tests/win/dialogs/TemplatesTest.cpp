// The three sub-dialog templates as the real dialog manager builds them: texts, styles, the
// focus on opening, the tab order and the radio groups.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/win32/Win32.h"
#include "res/resource.h"

namespace {

INT_PTR CALLBACK PlainProc(HWND, UINT message, WPARAM, LPARAM) {
    // TRUE from WM_INITDIALOG: the dialog manager puts the focus on the first tab stop.
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// One template, created modeless for the length of a test.
class Template {
public:
    explicit Template(int id)
        : m_hwnd(CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), nullptr,
                                    PlainProc, 0)) {
        if (m_hwnd) ShowWindow(m_hwnd, SW_SHOW);
    }
    ~Template() {
        if (m_hwnd) DestroyWindow(m_hwnd);
    }
    Template(const Template&) = delete;
    Template& operator=(const Template&) = delete;

    HWND hwnd() const { return m_hwnd; }
    HWND item(int id) const { return GetDlgItem(m_hwnd, id); }

    std::u16string Text(HWND window) const {
        wchar_t buffer[256] = {};
        GetWindowTextW(window, buffer, 256);
        return std::u16string(win32::U(buffer));
    }
    std::u16string Caption() const { return Text(m_hwnd); }

    // Identifiers of the tab stops, starting at the focused control and following Tab.
    std::vector<int> TabCycle() const {
        std::vector<int> ids;
        HWND first = GetFocus();
        HWND at = first;
        for (int guard = 0; at && guard < 32; ++guard) {
            ids.push_back(GetDlgCtrlID(at));
            at = GetNextDlgTabItem(m_hwnd, at, FALSE);
            if (at == first) break;
        }
        return ids;
    }

    bool Checked(int id) const {
        return SendMessageW(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void Click(int id) const { SendMessageW(item(id), BM_CLICK, 0, 0); }

    // Whether the client area is `width` by `height` dialog units.
    bool ClientIs(int width, int height) const {
        RECT client = {};
        GetClientRect(m_hwnd, &client);
        RECT units = {0, 0, width, height};
        MapDialogRect(m_hwnd, &units);
        return client.right == units.right && client.bottom == units.bottom;
    }

private:
    HWND m_hwnd;
};

LONG Style(HWND window) { return GetWindowLongW(window, GWL_STYLE); }

// An edit turns the border of its template into a sunken client edge when it is created.
bool Bordered(HWND window) {
    return (Style(window) & WS_BORDER) || (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

constexpr LONG kFrame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

TEST(SubDialogTemplates, KeyDialog) {
    Template dlg(IDD_SETKEY_DIALOG);
    ASSERT_NE(dlg.hwnd(), nullptr);
    EXPECT_EQ(dlg.Caption(), u"设置 Key");
    EXPECT_EQ(Style(dlg.hwnd()) & kFrame, kFrame);
    EXPECT_FALSE(Style(dlg.hwnd()) & WS_THICKFRAME);
    EXPECT_TRUE(dlg.ClientIs(245, 125));

    EXPECT_EQ(dlg.Text(dlg.item(IDOK)), u"确定");
    EXPECT_EQ(dlg.Text(dlg.item(IDCANCEL)), u"取消");
    EXPECT_EQ(dlg.Text(dlg.item(IDC_KEY_LABEL)), u"免费 Key：");
    EXPECT_EQ(dlg.Text(dlg.item(IDC_KEY_EDIT)), u"");
    EXPECT_EQ(Style(dlg.item(IDOK)) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_TRUE(Style(dlg.item(IDC_KEY_EDIT)) & ES_AUTOHSCROLL);
    EXPECT_TRUE(Bordered(dlg.item(IDC_KEY_EDIT)));
    EXPECT_TRUE(Style(dlg.item(IDC_KEY_HELP)) & WS_GROUP);
    EXPECT_TRUE(Style(dlg.item(IDC_KEY_LABEL)) & WS_GROUP);
    // A wrapping static: none of the single-line or centred kinds.
    EXPECT_EQ(Style(dlg.item(IDC_KEY_HELP)) & SS_TYPEMASK, SS_LEFT);

    // Enter right after opening presses OK, which has the focus.
    EXPECT_EQ(dlg.TabCycle(), (std::vector<int>{IDOK, IDCANCEL, IDC_KEY_EDIT}));
}

TEST(SubDialogTemplates, VoiceDialogRadiosExcludeEachOther) {
    Template dlg(IDD_SETVOICE_DIALOG);
    ASSERT_NE(dlg.hwnd(), nullptr);
    EXPECT_EQ(dlg.Caption(), u"高级设置");
    EXPECT_TRUE(dlg.ClientIs(206, 91));
    EXPECT_EQ(dlg.Text(dlg.item(IDC_VOICE_MALE)), u"男声");
    EXPECT_EQ(dlg.Text(dlg.item(IDC_VOICE_FEMALE)), u"女声");
    for (int id : {IDC_VOICE_MALE, IDC_VOICE_FEMALE}) {
        EXPECT_EQ(Style(dlg.item(id)) & BS_TYPEMASK, BS_AUTORADIOBUTTON);
        EXPECT_FALSE(Style(dlg.item(id)) & (WS_TABSTOP | WS_GROUP));
    }
    EXPECT_EQ(dlg.TabCycle(), (std::vector<int>{IDOK, IDCANCEL}));

    EXPECT_FALSE(dlg.Checked(IDC_VOICE_MALE));
    EXPECT_FALSE(dlg.Checked(IDC_VOICE_FEMALE));
    dlg.Click(IDC_VOICE_MALE);
    EXPECT_TRUE(dlg.Checked(IDC_VOICE_MALE));
    dlg.Click(IDC_VOICE_FEMALE);
    EXPECT_FALSE(dlg.Checked(IDC_VOICE_MALE));
    EXPECT_TRUE(dlg.Checked(IDC_VOICE_FEMALE));
}

TEST(SubDialogTemplates, SettingsFormFieldsAndTabOrder) {
    Template dlg(IDD_SETTING_DIALOG);
    ASSERT_NE(dlg.hwnd(), nullptr);
    EXPECT_EQ(dlg.Caption(), u"高级设置");
    EXPECT_TRUE(dlg.ClientIs(287, 262));
    EXPECT_EQ(dlg.Text(dlg.item(IDC_SETTING_VOICE_GROUP)), u"音色");

    const int edits[] = {IDC_SETTING_LLM_MODEL, IDC_SETTING_LLM_KEY, IDC_SETTING_LLM_ADDRESS,
                         IDC_SETTING_ASR_MODEL, IDC_SETTING_ASR_KEY, IDC_SETTING_ASR_ADDRESS};
    for (int id : edits) {
        EXPECT_EQ(dlg.Text(dlg.item(id)), u"") << id;
        EXPECT_TRUE(Style(dlg.item(id)) & ES_AUTOHSCROLL) << id;
        EXPECT_TRUE(Bordered(dlg.item(id))) << id;
    }
    EXPECT_EQ(dlg.TabCycle(), (std::vector<int>{IDOK, IDCANCEL, IDC_SETTING_LLM_MODEL,
                                                IDC_SETTING_LLM_KEY, IDC_SETTING_LLM_ADDRESS,
                                                IDC_SETTING_ASR_MODEL, IDC_SETTING_ASR_KEY,
                                                IDC_SETTING_ASR_ADDRESS}));

    EXPECT_FALSE(dlg.Checked(IDC_SETTING_FEMALE));
    EXPECT_FALSE(dlg.Checked(IDC_SETTING_MALE));
    dlg.Click(IDC_SETTING_FEMALE);
    dlg.Click(IDC_SETTING_MALE);
    EXPECT_FALSE(dlg.Checked(IDC_SETTING_FEMALE));
    EXPECT_TRUE(dlg.Checked(IDC_SETTING_MALE));
}

}  // namespace
