// The settings form: reachable only by its command, since its menu item is grayed; whatever is
// entered in it changes nothing.
#include <string>
#include <vector>

#include "DialogFixture.h"

namespace dialogs {
namespace {

using SettingsFormTest = DialogTest;

constexpr int kEdits[] = {IDC_SETTING_LLM_MODEL, IDC_SETTING_LLM_KEY, IDC_SETTING_LLM_ADDRESS,
                          IDC_SETTING_ASR_MODEL, IDC_SETTING_ASR_KEY, IDC_SETTING_ASR_ADDRESS};

TEST_F(SettingsFormTest, GrayedMenuItemOpensNothing) {
    ui.Then([&] {
        EXPECT_FALSE(ui.MenuCommand(ID_MENU_SETTINGS));
        EXPECT_EQ(ui.OpenDialogs(), std::vector<uint32_t>{IDD_QUELLOR_DIALOG});
    });
    Run();
    EXPECT_EQ(ui.TimesOpened(IDD_SETTING_DIALOG), 0);
}

TEST_F(SettingsFormTest, EveryWayOutChangesNothingAndReopeningShowsAnEmptyForm) {
    struct Way {
        const char* name;
        std::function<void()> press;
        intptr_t result;
    };
    const std::vector<Way> ways = {
        {"OK", [&] { ui.Click(IDOK); }, IDOK},
        {"Enter in a field", [&] { ui.PressEnter(); }, IDOK},
        {"Cancel", [&] { ui.Click(IDCANCEL); }, IDCANCEL},
        {"Esc", [&] { ui.PressEsc(); }, IDCANCEL},
        {"close box", [&] { ui.CloseBox(); }, IDCANCEL},
    };
    MainState before;
    ui.Then([&] {
        before = Snapshot();
        Mark();
    });
    for (const Way& way : ways) {
        ui.Then([&] { ui.Command(ID_MENU_SETTINGS); });
        ui.Then([&] {
            EXPECT_EQ(ui.Active().templateId, static_cast<uint32_t>(IDD_SETTING_DIALOG));
            EXPECT_EQ(ui.Active().focusId, IDOK) << way.name;
            for (int id : kEdits) {
                EXPECT_EQ(ui.Text(id), u"") << way.name << " " << id;
                ui.Type(id, u"https://user.example/" + CString::FromUtf8(way.name).Str());
            }
            EXPECT_FALSE(ui.Checked(IDC_SETTING_FEMALE)) << way.name;
            EXPECT_FALSE(ui.Checked(IDC_SETTING_MALE)) << way.name;
            ui.Click(IDC_SETTING_FEMALE);
            ui.Click(IDC_SETTING_MALE);
            EXPECT_FALSE(ui.Checked(IDC_SETTING_FEMALE));
            EXPECT_TRUE(ui.Checked(IDC_SETTING_MALE));
            way.press();
        });
        ui.Then([&] {
            EXPECT_EQ(ui.Find(IDD_SETTING_DIALOG)->result, way.result) << way.name;
            EXPECT_TRUE(SinceMark().empty()) << way.name;
            EXPECT_EQ(Snapshot(), before) << way.name;
            EXPECT_TRUE(ui.messageBoxes.empty());
        });
    }
    Run();
    EXPECT_EQ(ui.TimesOpened(IDD_SETTING_DIALOG), static_cast<int>(ways.size()));
}

}  // namespace
}  // namespace dialogs
