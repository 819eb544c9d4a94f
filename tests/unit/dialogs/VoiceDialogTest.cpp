// The voice dialog: what each choice of the radio buttons writes, and the ways out that touch
// nothing.
#include <ostream>
#include <string>
#include <vector>

#include "DialogFixture.h"

namespace dialogs {
namespace {

struct VoiceCase {
    const char* name;
    std::vector<int> clicks;  // radio buttons, in order
    std::string voice;        // empty: nothing is written
};
void PrintTo(const VoiceCase& c, std::ostream* os) { *os << c.name; }

class VoiceChoiceTest : public DialogTest, public ::testing::WithParamInterface<VoiceCase> {};

TEST_P(VoiceChoiceTest, OkWritesTheSelectedVoice) {
    MainState before;
    ui.Then([&] {
        before = Snapshot();
        ASSERT_TRUE(ui.MenuCommand(ID_MENU_VOICE));
    });
    ui.Then([&] {
        EXPECT_EQ(ui.Active().templateId, static_cast<uint32_t>(IDD_SETVOICE_DIALOG));
        EXPECT_FALSE(ui.Checked(IDC_VOICE_MALE));
        EXPECT_FALSE(ui.Checked(IDC_VOICE_FEMALE));
        for (int id : GetParam().clicks) ui.Click(id);
        Mark();
        RecordMainWindowAtEachRun();
        ui.PressEnter();
    });
    ui.Then([&] {
        EXPECT_EQ(ui.Find(IDD_SETVOICE_DIALOG)->result, IDOK);
        if (GetParam().voice.empty()) {
            EXPECT_TRUE(SinceMark().empty());
            EXPECT_EQ(Snapshot(), before);
            return;
        }
        EXPECT_EQ(SinceMark(),
                  (std::vector<std::string>{VoiceEdit(GetParam().voice), kRestart}));
        ExpectRestartRoadAfterTheWrite();
    });
    Run();
}

INSTANTIATE_TEST_SUITE_P(
    Choices, VoiceChoiceTest,
    ::testing::Values(VoiceCase{"None", {}, ""},
                      VoiceCase{"Male", {IDC_VOICE_MALE}, "zh-CN-YunxiNeural"},
                      VoiceCase{"Female", {IDC_VOICE_FEMALE}, "zh-CN-XiaoyiNeural"},
                      VoiceCase{"MaleThenFemale", {IDC_VOICE_MALE, IDC_VOICE_FEMALE},
                                "zh-CN-XiaoyiNeural"},
                      VoiceCase{"FemaleThenMale", {IDC_VOICE_FEMALE, IDC_VOICE_MALE},
                                "zh-CN-YunxiNeural"}),
    [](const ::testing::TestParamInfo<VoiceCase>& info) { return info.param.name; });

using VoiceDialogTest = DialogTest;

TEST_F(VoiceDialogTest, ClickingOneRadioClearsTheOther) {
    ui.Then([&] { ui.MenuCommand(ID_MENU_VOICE); });
    ui.Then([&] {
        ui.Click(IDC_VOICE_MALE);
        ui.Click(IDC_VOICE_FEMALE);
        EXPECT_FALSE(ui.Checked(IDC_VOICE_MALE));
        EXPECT_TRUE(ui.Checked(IDC_VOICE_FEMALE));
        ui.PressEsc();
    });
    Run();
}

TEST_F(VoiceDialogTest, CancelEscAndCloseBoxTouchNothingAndReopeningShowsNoChoice) {
    const std::vector<std::function<void()>> ways = {
        [&] { ui.Click(IDCANCEL); }, [&] { ui.PressEsc(); }, [&] { ui.CloseBox(); }};
    MainState before;
    ui.Then([&] {
        before = Snapshot();
        Mark();
    });
    for (size_t way = 0; way < ways.size(); ++way) {
        ui.Then([&] { ui.MenuCommand(ID_MENU_VOICE); });
        ui.Then([&, way] {
            EXPECT_FALSE(ui.Checked(IDC_VOICE_MALE)) << way;
            EXPECT_FALSE(ui.Checked(IDC_VOICE_FEMALE)) << way;
            ui.Click(way % 2 == 0 ? IDC_VOICE_MALE : IDC_VOICE_FEMALE);
            ways[way]();
        });
        ui.Then([&, way] {
            EXPECT_EQ(ui.Find(IDD_SETVOICE_DIALOG)->result, IDCANCEL) << way;
            EXPECT_TRUE(SinceMark().empty()) << way;
            EXPECT_EQ(Snapshot(), before) << way;
        });
    }
    Run();
}

TEST_F(VoiceDialogTest, ReopeningAfterAChoiceShowsNoChoiceAndWritesAgain) {
    ui.Then([&] { ui.MenuCommand(ID_MENU_VOICE); });
    ui.Then([&] {
        ui.Click(IDC_VOICE_FEMALE);
        ui.Click(IDOK);
    });
    ui.Then([&] { ui.MenuCommand(ID_MENU_VOICE); });
    ui.Then([&] {
        EXPECT_FALSE(ui.Checked(IDC_VOICE_MALE));
        EXPECT_FALSE(ui.Checked(IDC_VOICE_FEMALE));
        ui.Click(IDC_VOICE_FEMALE);  // the voice the server already has
        Mark();
        ui.Click(IDOK);
    });
    ui.Then([&] {
        EXPECT_EQ(SinceMark(),
                  (std::vector<std::string>{VoiceEdit("zh-CN-XiaoyiNeural"), kRestart}));
    });
    Run();
}

}  // namespace
}  // namespace dialogs
