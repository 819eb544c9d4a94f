// The key dialog: what reaches the server's configuration for what the user types, the order of
// the steps after OK, the ways out that touch nothing, and the keys it refuses.
#include <ostream>
#include <string>
#include <vector>

#include "DialogFixture.h"

namespace dialogs {
namespace {

constexpr const char16_t* kHelpText =
    u"本程序当前使用了智普（https://llm.quellor.example）大语言模型提供的免费 Key。"
    u"自己动手申请智普免费 Key，只需两步：一、简单注册；二、登录后直接生成 Key,"
    u"然后将此 Key 拷贝到以下文本框，确定即可。";

using KeyDialogTest = DialogTest;

struct TypedKey {
    const char* name;
    std::u16string typed;
    std::string written;
};
void PrintTo(const TypedKey& c, std::ostream* os) { *os << c.name; }

class KeyWriteTest : public DialogTest, public ::testing::WithParamInterface<TypedKey> {};

TEST_P(KeyWriteTest, TrimsWritesRestartsAndPolls) {
    ui.Then([&] {
        ASSERT_EQ(Main().Timer(2)->periodMs, 5000u);
        ui.Click(IDC_SETKEY_BUTTON);
    });
    ui.Then([&] {
        EXPECT_EQ(ui.Active().templateId, static_cast<uint32_t>(IDD_SETKEY_DIALOG));
        EXPECT_EQ(ui.Text(IDC_KEY_HELP), kHelpText);
        EXPECT_EQ(ui.Text(IDC_KEY_EDIT), u"");
        EXPECT_EQ(ui.Active().focusId, IDOK);
        if (!GetParam().typed.empty()) ui.Type(IDC_KEY_EDIT, GetParam().typed);
        Mark();
        RecordMainWindowAtEachRun();
        ui.PressEnter();
    });
    ui.Then([&] {
        EXPECT_EQ(SinceMark(), (std::vector<std::string>{KeyEdit(GetParam().written), kRestart}));
        ExpectRestartRoadAfterTheWrite();
        EXPECT_EQ(ui.Find(IDD_SETKEY_DIALOG)->result, IDOK);
        EXPECT_TRUE(ui.messageBoxes.empty());
    });
    Run();
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyWriteTest,
    ::testing::Values(
        TypedKey{"Empty", u"", ""},
        TypedKey{"WhiteSpaceOnly", u" \t\u3000 ", ""},
        TypedKey{"PlainKey", u"0123abcd.EFGH-ij_kl", "0123abcd.EFGH-ij_kl"},
        TypedKey{"TabsAndIdeographicSpacesAround", u"\t\u3000 ab12.cd-34_ef \u3000\t",
                 "ab12.cd-34_ef"},
        TypedKey{"OtherSpacesAround", u"\u00A0\u2003\r\nkey\u0085\u202F", "key"},
        TypedKey{"BlankInsideKept", u"  ab cd  ", "ab cd"},
        TypedKey{"NonAsciiKept", u"密钥.v1", "密钥.v1"},
        TypedKey{"HexAndMixedCase", u"0123456789abcdef0123456789abcdef.AbCdEfGhIjKlMnOp",
                 "0123456789abcdef0123456789abcdef.AbCdEfGhIjKlMnOp"},
        TypedKey{"PrefixedWithHyphensAndUnderscore", u"sk-Ab_c-D9e", "sk-Ab_c-D9e"},
        // The bound counts the key as written, after the trim.
        TypedKey{"AtTheLengthBound", u"  " + std::u16string(1000, u'k') + u"  ",
                 std::string(1000, 'k')}),
    [](const ::testing::TestParamInfo<TypedKey>& info) { return info.param.name; });

TEST_F(KeyDialogTest, CancelEscAndCloseBoxTouchNothing) {
    const std::vector<std::function<void()>> ways = {
        [&] { ui.Click(IDCANCEL); }, [&] { ui.PressEsc(); }, [&] { ui.CloseBox(); }};
    MainState before;
    ui.Then([&] {
        ui.Advance(1000);
        before = Snapshot();
        Mark();
    });
    for (size_t way = 0; way < ways.size(); ++way) {
        ui.Then([&] { ui.Click(IDC_SETKEY_BUTTON); });
        ui.Then([&, way] {
            ui.Type(IDC_KEY_EDIT, u"new-key");
            ways[way]();
        });
        ui.Then([&, way] {
            EXPECT_EQ(ui.Find(IDD_SETKEY_DIALOG)->result, IDCANCEL) << way;
            EXPECT_EQ(ui.OpenDialogs(), std::vector<uint32_t>{IDD_QUELLOR_DIALOG}) << way;
            EXPECT_TRUE(SinceMark().empty()) << way;
            EXPECT_EQ(Snapshot(), before) << way;
        });
    }
    Run();
    EXPECT_EQ(ui.TimesOpened(IDD_SETKEY_DIALOG), 3);
}

TEST_F(KeyDialogTest, EachOpeningStartsEmptyAndEachOkWritesAgain) {
    for (const char16_t* key : {u"first-key", u"second-key"}) {
        ui.Then([&] { ui.Click(IDC_SETKEY_BUTTON); });
        ui.Then([&, key] {
            EXPECT_EQ(ui.Text(IDC_KEY_EDIT), u"");
            ui.Type(IDC_KEY_EDIT, key);
            Mark();
            ui.Click(IDOK);
        });
        ui.Then([&, key] {
            EXPECT_EQ(SinceMark(),
                      (std::vector<std::string>{KeyEdit(CString(key).ToUtf8()), kRestart}));
        });
    }
    Run();
}

TEST_F(KeyDialogTest, FailedWriteAndRestartStillShowRestartingAndArmTimer) {
    FakeProcesses::Reply fails;
    fails.exitCode = 1;
    FakeProcesses::Reply hangs;
    hangs.timesOut = true;
    runner.processes.ReplyTo(u"wsl -d ROZivuvarud -u root -e bash -c \"yq -i "
                             u"'.LLM.ChatGLMLLM.api_key = \\\"k\\\"' "
                             u"/root/tarvino-server/data/.config.yaml\"",
                             fails);
    runner.processes.ReplyTo(u"wsl -d ROZivuvarud -u root -e bash -c \"docker compose -f "
                             u"/root/tarvino-server/docker-compose.yml restart\"",
                             hangs);
    ui.Then([&] { ui.Click(IDC_SETKEY_BUTTON); });
    ui.Then([&] {
        ui.Type(IDC_KEY_EDIT, u"k");
        Mark();
        ui.Click(IDOK);
    });
    ui.Then([&] {
        EXPECT_EQ(SinceMark(), (std::vector<std::string>{KeyEdit("k"), kRestart}));
        EXPECT_EQ(runner.processes.Terminations().size(), 1u);  // cmd.exe of the restart
        EXPECT_EQ(ui.Text(IDC_STATUS), kRestartingText);
        ASSERT_NE(Main().Timer(2), nullptr);
        EXPECT_EQ(Main().Timer(2)->periodMs, 3000u);
        EXPECT_EQ(ui.Find(IDD_SETKEY_DIALOG)->result, IDOK);
        EXPECT_TRUE(ui.messageBoxes.empty());
    });
    Run();
}

// The start-up series has made 5 checks when the key changes: 6 more at 3000 ms end it, and a
// check that finds the server up on the way replaces the restarting text.
TEST_F(KeyDialogTest, OkDuringAPollingSeriesKeepsItsCount) {
    ui.Then([&] {
        for (int tick = 0; tick < 4; ++tick) ui.Advance(5000);
        ASSERT_EQ(Checks(), 5);
        ui.Click(IDC_SETKEY_BUTTON);
    });
    ui.Then([&] {
        ui.Advance(5000);  // the series goes on while the dialog waits
        ASSERT_EQ(Checks(), 6);
        ui.Click(IDOK);
    });
    ui.Then([&] {
        for (int tick = 1; tick <= 5; ++tick) {
            ui.Advance(3000);
            EXPECT_EQ(Checks(), 6 + tick);
        }
        ui.Advance(3000);  // the 11th tick of the series: no check, timer killed
        EXPECT_EQ(Checks(), 11);
        EXPECT_EQ(Main().Timer(2), nullptr);
        EXPECT_EQ(ui.Text(IDC_STATUS), kRestartingText);
    });
    Run();
}

TEST_F(KeyDialogTest, ServerBackAfterRestartShowsRunningText) {
    ui.Then([&] { ui.Click(IDC_SETKEY_BUTTON); });
    ui.Then([&] { ui.Click(IDOK); });
    ui.Then([&] {
        ui.Advance(3000);
        EXPECT_EQ(ui.Text(IDC_STATUS), kRestartingText);
        SetServer(mainwindow::Server::Up);
        ui.Advance(3000);
        EXPECT_EQ(ui.Text(IDC_STATUS), mainwindow::RunningText(u"192.168.1.20"));
        EXPECT_EQ(Main().Timer(2), nullptr);
    });
    Run();
}

// A key that one of the layers of the command line would read as syntax: cmd.exe (elevated),
// wsl's argument rules, bash or yq.
struct HostileKey {
    const char* name;
    std::u16string typed;
};
void PrintTo(const HostileKey& c, std::ostream* os) { *os << c.name; }

class HostileKeyTest : public DialogTest, public ::testing::WithParamInterface<HostileKey> {};

TEST_P(HostileKeyTest, IsRefusedWithNothingRunAndTheDialogLeftOpen) {
    MainState before;
    ui.Then([&] {
        before = Snapshot();
        Mark();
        ui.Click(IDC_SETKEY_BUTTON);
    });
    ui.Then([&] {
        ui.Type(IDC_KEY_EDIT, GetParam().typed);
        ui.PressEnter();
        EXPECT_EQ(ui.Active().templateId, static_cast<uint32_t>(IDD_SETKEY_DIALOG));
        EXPECT_EQ(ui.Text(IDC_KEY_EDIT), GetParam().typed);  // as typed, not trimmed
        ASSERT_EQ(ui.messageBoxes.size(), 1u);
        const HeadlessMessageBox& box = ui.messageBoxes[0];
        EXPECT_EQ(box.owner, ui.Active().hwnd);
        EXPECT_EQ(box.caption, u"无效的 Key");
        for (const char16_t* named : {u"\"", u"'", u"\\", u"%", u"&", u"|", u"<", u">", u"^",
                                      u"!", u"控制字符", u"1000"}) {
            EXPECT_NE(box.text.find(named), std::u16string::npos) << CString(named).ToUtf8();
        }
        EXPECT_TRUE(SinceMark().empty());
        EXPECT_EQ(Snapshot(), before);

        // The user mends the key and tries again.
        ui.Type(IDC_KEY_EDIT, u" mended-key ");
        ui.Click(IDOK);
    });
    ui.Then([&] {
        EXPECT_EQ(ui.messageBoxes.size(), 1u);
        EXPECT_EQ(SinceMark(), (std::vector<std::string>{KeyEdit("mended-key"), kRestart}));
        EXPECT_EQ(ui.Find(IDD_SETKEY_DIALOG)->result, IDOK);
    });
    Run();
}

INSTANTIATE_TEST_SUITE_P(
    Keys, HostileKeyTest,
    ::testing::Values(
        // Each refused character on its own.
        HostileKey{"DoubleQuote", u"ab\"cd"},
        HostileKey{"SingleQuote", u"it's"},
        HostileKey{"Backslash", u"ab\\cd"},
        HostileKey{"Percent", u"50%off"},
        HostileKey{"Ampersand", u"ab&cd"},
        HostileKey{"Pipe", u"a|b"},
        HostileKey{"LessThan", u"a<b"},
        HostileKey{"GreaterThan", u"a>b"},
        HostileKey{"Caret", u"a^b"},
        HostileKey{"Exclamation", u"key!PATH!"},
        HostileKey{"C0Control", u"ab\u0001cd"},
        HostileKey{"TabInside", u"ab\tcd"},
        HostileKey{"Delete", u"ab\u007Fcd"},
        HostileKey{"C1Control", u"ab\u009Bcd"},
        // What an attack looks like.
        HostileKey{"CommandAfterAmpersand", u"abc&calc.exe"},
        HostileKey{"QuoteClosingTheScript", u"x\" & del /q C:\\Windows\\* & \""},
        HostileKey{"PercentVariable", u"%USERPROFILE%"},
        HostileKey{"AmongSpaces", u"  good-part & bad  "},
        // Longer than a command line can carry whole.
        HostileKey{"OneOverTheBound", std::u16string(1001, u'k')},
        HostileKey{"NineThousandCharacters", std::u16string(9000, u'k')}),
    [](const ::testing::TestParamInfo<HostileKey>& info) { return info.param.name; });

}  // namespace
}  // namespace dialogs
