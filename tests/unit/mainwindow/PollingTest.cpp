// Timer 2: at most 10 checks a series, a count that survives re-arming, and a fresh series
// after every kill. Checks are counted as runs of the distribution list.
#include "MainWindowFixture.h"

namespace mainwindow {
namespace {

using PollingTest = MainWindowTest;

TEST_F(PollingTest, ServerNeverUpMakesElevenChecksInAll) {
    ui.Then([&] {
        EXPECT_EQ(Checks(), 1);  // the start-up check
        for (int tick = 1; tick <= 10; ++tick) {
            ui.Advance(5000);
            EXPECT_EQ(Checks(), 1 + tick) << "tick " << tick;
            ASSERT_NE(Main().Timer(2), nullptr) << "tick " << tick;
        }
        ui.Advance(5000);  // tick 11 ends the series without a check
        EXPECT_EQ(Checks(), 11);
        EXPECT_EQ(Main().Timer(2), nullptr);
        ui.Advance(60000);
        EXPECT_EQ(Checks(), 11);
        EXPECT_EQ(ui.Text(IDC_STATUS), kStartingText);
    });
    Run();
}

// A series that gave up leaves the count at 0, so the next change polls again in full.
TEST_F(PollingTest, ArmingAfterASeriesGaveUpStartsANewSeriesOfTen) {
    ui.Then([&] {
        for (int tick = 1; tick <= 11; ++tick) ui.Advance(5000);
        ASSERT_EQ(Main().Timer(2), nullptr);
        ASSERT_EQ(Checks(), 11);

        dlg.SetTimer(2, 3000, nullptr);
        for (int tick = 1; tick <= 10; ++tick) {
            ui.Advance(3000);
            EXPECT_EQ(Checks(), 11 + tick) << "tick " << tick;
        }
        ASSERT_NE(Main().Timer(2), nullptr);
        ui.Advance(3000);
        EXPECT_EQ(Checks(), 21);
        EXPECT_EQ(Main().Timer(2), nullptr);
    });
    Run();
}

TEST_F(PollingTest, ArmingDuringASeriesKeepsItsCount) {
    ui.Then([&] {
        for (int tick = 1; tick <= 4; ++tick) ui.Advance(5000);
        ASSERT_EQ(Checks(), 5);
        // A key change restarts the server and arms timer 2 as the key dialog does.
        dlg.SetTimer(2, 3000, nullptr);
        ASSERT_NE(Main().Timer(2), nullptr);
        EXPECT_EQ(Main().Timer(2)->periodMs, 3000u);
        for (int tick = 1; tick <= 6; ++tick) {
            ui.Advance(3000);
            EXPECT_EQ(Checks(), 5 + tick);
        }
        ui.Advance(3000);  // the seventh tick after the change
        EXPECT_EQ(Checks(), 11);
        EXPECT_EQ(Main().Timer(2), nullptr);
    });
    Run();
}

TEST_F(PollingTest, SuccessOnTickTenShowsTheAddressAndStartsTheNextSeriesAtZero) {
    ui.Then([&] {
        for (int tick = 1; tick <= 9; ++tick) ui.Advance(5000);
        ASSERT_EQ(Checks(), 10);
        SetLanAddress("10.1.2.3");
        SetServer(Server::Up);
        const size_t before = Journal().size();
        ui.Advance(5000);
        EXPECT_EQ(Main().Timer(2), nullptr);
        EXPECT_EQ(ui.Text(IDC_STATUS), RunningText(u"10.1.2.3"));
        // The check, then the network set-up once more.
        const std::vector<std::string> journal = Journal();
        const std::vector<std::string> after(journal.begin() + before, journal.end());
        EXPECT_EQ(after, std::vector<std::string>{kDistroList} + kNetworkSetup);

        // The next change: a whole new series of 10 checks, 3000 ms apart.
        SetServer(Server::OtaDown);
        const int checks = Checks();
        dlg.SetTimer(2, 3000, nullptr);
        for (int tick = 1; tick <= 10; ++tick) ui.Advance(3000);
        EXPECT_EQ(Checks(), checks + 10);
        ASSERT_NE(Main().Timer(2), nullptr);
        ui.Advance(3000);
        EXPECT_EQ(Checks(), checks + 10);
        EXPECT_EQ(Main().Timer(2), nullptr);
        // A failed check leaves the running text alone.
        EXPECT_EQ(ui.Text(IDC_STATUS), RunningText(u"10.1.2.3"));
    });
    Run();
}

TEST_F(PollingTest, LogoTicksLeaveTheCountAlone) {
    ui.Then([&] {
        for (int round = 0; round < 10; ++round) {
            ui.Tick(1);
            ui.Tick(1);
            ui.Advance(5000);
        }
        EXPECT_EQ(Checks(), 11);
        ASSERT_NE(Main().Timer(2), nullptr) << "a logo tick counted as a poll tick";
        ui.Advance(5000);
        EXPECT_EQ(Main().Timer(2), nullptr);
        EXPECT_EQ(Checks(), 11);
    });
    Run();
}

// The running text is composed whatever the lookup gives; with no address it has nothing
// between the scheme and the port.
TEST_F(PollingTest, RunningTextWithoutAnAddress) {
    ui.Then([&] {
        SetLanAddress("");
        SetServer(Server::Up);
        ui.Advance(5000);
        EXPECT_EQ(ui.Text(IDC_STATUS), RunningText(u""));
        EXPECT_EQ(Main().Timer(2), nullptr);
    });
    Run();
}

}  // namespace
}  // namespace mainwindow
