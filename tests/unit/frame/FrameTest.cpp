// The main window's frame: its commands, the About box, the OK that does nothing and every
// way of closing, over the headless dialogs and the scripted platform.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "panel/QuellorApp.h"
#include "unit/mainwindow/MainWindowFixture.h"

namespace mainwindow {
namespace {

constexpr uint32_t kSysMinimize = 0xF020;
constexpr uint32_t kSysRestore = 0xF120;

class FrameTest : public MainWindowTest {
protected:
    // The sub-dialogs reach the main window through the application, as in a real run.
    FrameTest() { theApp.m_pMainWnd = &dlg; }
    ~FrameTest() override { theApp.m_pMainWnd = nullptr; }

    // The journal from the point the window was first shown.
    std::vector<std::string> JournalSince(size_t mark) const {
        const std::vector<std::string> all = Journal();
        return std::vector<std::string>(all.begin() + static_cast<long>(std::min(mark, all.size())),
                                        all.end());
    }
    size_t m_mark = 0;
    void MarkJournal() { m_mark = Journal().size(); }
};

struct CloseWay {
    const char* name;
    std::function<void(HeadlessWindows&)> close;
};

class CloseWayTest : public FrameTest, public ::testing::WithParamInterface<CloseWay> {};

// Each way of closing runs the shutdown command once, after which the window has ended.
TEST_P(CloseWayTest, ShutsTheDistributionDownOnceThenEnds) {
    ui.Then([&] {
        MarkJournal();
        GetParam().close(ui);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(JournalSince(m_mark), std::vector<std::string>{kShutdown});
    EXPECT_FALSE(ui.AnyOpen());
    EXPECT_EQ(ui.RemainingSteps(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    EveryWay, CloseWayTest,
    ::testing::Values(CloseWay{"CloseBox", [](HeadlessWindows& ui) { ui.CloseBox(); }},
                      CloseWay{"AltF4", [](HeadlessWindows& ui) { ui.AltF4(); }},
                      CloseWay{"SystemMenuClose",
                               [](HeadlessWindows& ui) { ui.SystemMenuClose(); }},
                      CloseWay{"Esc", [](HeadlessWindows& ui) { ui.PressEsc(); }}),
    [](const auto& info) { return std::string(info.param.name); });

// A shutdown that fails or outlasts its limit still ends the window, with no message.
TEST_F(FrameTest, FailedOrHangingShutdownStillEndsTheWindow) {
    for (const bool hangs : {false, true}) {
        SCOPED_TRACE(hangs ? "hangs" : "fails");
        FakeProcesses::Reply reply;
        reply.exitCode = 1;
        reply.timesOut = hangs;
        runner.processes.ReplyTo(u"wsl -t ROZivuvarud", reply);
        ui.Then([&] { ui.CloseBox(); });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(Journal().back(), kShutdown);
        EXPECT_TRUE(ui.messageBoxes.empty());
    }
}

// Enter where it gives IDOK, and IDOK itself: the window stays and nothing runs.
TEST_F(FrameTest, OkDoesNothing) {
    ui.Then([&] {
          MarkJournal();
          ui.Command(IDOK);
          ui.SetFocus(IDC_NOTICE);  // no push button has the focus: Enter is the default button
          ui.PressEnter();
      }).Then([&] {
        EXPECT_EQ(ui.OpenDialogs(), std::vector<uint32_t>{IDD_QUELLOR_DIALOG});
        EXPECT_TRUE(JournalSince(m_mark).empty());
    });
    Run();
}

// 0x0010 and every command up to 0x001F open the About box; its neighbours do not.
TEST_F(FrameTest, AboutRangeOfTheSystemMenu) {
    struct Case {
        uint32_t command;
        bool opensAbout;
    };
    const Case cases[] = {{0x0010, true},  {0x0011, true},  {0x0018, true}, {0x001F, true},
                          {0x000F, false}, {0x0020, false}, {0xF010, false}};
    for (const Case& c : cases) {
        ui.Then([&, c] {
            const int before = ui.TimesOpened(IDD_ABOUTBOX);
            if (c.opensAbout) {
                ui.Then([&] {
                    EXPECT_EQ(ui.Active().templateId, static_cast<uint32_t>(IDD_ABOUTBOX));
                    EXPECT_EQ(ui.Active().caption, u"关于 Quellor");
                    ui.PressEnter();
                });
            }
            ui.SystemCommand(c.command);
            EXPECT_EQ(ui.TimesOpened(IDD_ABOUTBOX) - before, c.opensAbout ? 1 : 0)
                << "command 0x" << std::hex << c.command;
            EXPECT_EQ(ui.OpenDialogs(), std::vector<uint32_t>{IDD_QUELLOR_DIALOG});
        });
    }
    Run();
}

// The About box ends by its OK, Esc or close box through the base handling, owned by the main
// window, and none of these reaches the main window's exit.
TEST_F(FrameTest, AboutBoxEndsByItsOwnButtons) {
    struct Case {
        const char* name;
        std::function<void()> press;
        intptr_t result;
    };
    const Case cases[] = {{"OK", [&] { ui.Click(IDOK); }, IDOK},
                          {"Esc", [&] { ui.PressEsc(); }, IDCANCEL},
                          {"close box", [&] { ui.CloseBox(); }, IDCANCEL}};
    for (const Case& c : cases) {
        ui.Then([&] {
              MarkJournal();
              ui.SystemCommand(IDM_ABOUTBOX);
          })
            .Then([&] {
                EXPECT_EQ(ui.Active().owner, Main().hwnd);
                EXPECT_FALSE(Main().enabled);
                c.press();
            })
            .Then([&] {
                SCOPED_TRACE(c.name);
                EXPECT_EQ(ui.Find(IDD_ABOUTBOX)->result, c.result);
                EXPECT_TRUE(Main().enabled);
                EXPECT_TRUE(JournalSince(m_mark).empty());
            });
    }
    Run();
}

// Timers of the main window keep ticking while the About box is open.
TEST_F(FrameTest, PollingGoesOnWhileTheAboutBoxIsOpen) {
    int checksBefore = 0;
    ui.Then([&] { ui.SystemCommand(IDM_ABOUTBOX); }).Then([&] {
        checksBefore = Checks();
        ui.Advance(5000);
        EXPECT_EQ(Checks(), checksBefore + 1);
        ui.PressEsc();
    });
    Run();
}

// The commands of the button and the menu bar reach their dialogs; the grayed item cannot be
// picked, though its command is bound all the same.
TEST_F(FrameTest, CommandsOpenTheirDialogs) {
    struct Case {
        int command;
        uint32_t opens;
    };
    const Case cases[] = {{IDC_SETKEY_BUTTON, IDD_SETKEY_DIALOG},
                          {ID_MENU_VOICE, IDD_SETVOICE_DIALOG},
                          {ID_MENU_SETTINGS, IDD_SETTING_DIALOG}};
    for (const Case& c : cases) {
        ui.Then([&, c] {
              ui.Then([&, c] {
                  EXPECT_EQ(ui.OpenDialogs(), (std::vector<uint32_t>{IDD_QUELLOR_DIALOG, c.opens}));
                  ui.PressEsc();
              });
              ui.Command(c.command);
          }).Then([&, c] { EXPECT_EQ(ui.TimesOpened(c.opens), 1) << c.command; });
    }
    ui.Then([&] {
        EXPECT_FALSE(ui.MenuCommand(ID_MENU_SETTINGS));
        EXPECT_EQ(ui.TimesOpened(IDD_SETTING_DIALOG), 1);
        ui.Then([&] {
            EXPECT_EQ(ui.Active().templateId, static_cast<uint32_t>(IDD_SETVOICE_DIALOG));
            ui.PressEsc();
        });
        EXPECT_TRUE(ui.MenuCommand(ID_MENU_VOICE));
        ui.Then([&] { ui.PressEsc(); });
        ui.Click(IDC_SETKEY_BUTTON);
        EXPECT_EQ(ui.TimesOpened(IDD_SETKEY_DIALOG), 2);
    });
    Run();
}

// The drag icon is icon 128; minimising and restoring keep their effect through the
// default processing; there is no way to maximise.
TEST_F(FrameTest, DragIconAndStandardSystemCommands) {
    ui.Then([&] {
        EXPECT_NE(ui.QueryDragIcon(), port::kNoHandle);
        EXPECT_EQ(ui.QueryDragIcon(), ui.LoadIcon(IDR_MAINFRAME));
        ui.Minimize();
        EXPECT_TRUE(Main().iconic);
        ui.Restore();
        EXPECT_FALSE(Main().iconic);
        EXPECT_EQ(Main().style & 0x00010000u, 0u);  // no maximise box
        EXPECT_EQ(Main().style & 0x00040000u, 0u);  // no sizing border
    });
    Run();
}

// Logging off runs nothing of the system's own: no shutdown command.
TEST_F(FrameTest, LogOffIssuesNoShutdown) {
    ui.Then([&] {
        MarkJournal();
        ui.EndSession();
    });
    dlg.DoModal();
    EXPECT_TRUE(JournalSince(m_mark).empty());
}

}  // namespace
}  // namespace mainwindow
