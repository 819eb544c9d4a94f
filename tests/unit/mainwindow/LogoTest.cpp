// The logo: where it is stored, when it is fetched again, how it is painted, what a click in
// the left third opens.
#include "MainWindowFixture.h"

namespace mainwindow {
namespace {

using LogoTest = MainWindowTest;

TEST_F(LogoTest, PathIsInTheTemporaryDirectoryWhenItExistsElseBesideTheProgram) {
    struct Case {
        const char* name;
        std::u16string tempPath;
        std::u16string modulePath;
        bool tempExists;
        std::u16string expected;
        std::vector<std::u16string> asked;  // only the temporary directory is tested
    };
    const Case cases[] = {
        {"temporary directory exists",
         u"C:\\Temp\\",
         u"D:\\Panel\\panel.exe",
         true,
         u"C:\\Temp\\applogo.png",
         {u"C:\\Temp"}},
        {"temporary directory missing",
         u"C:\\Temp\\",
         u"D:\\Panel\\panel.exe",
         false,
         u"D:\\Panel\\applogo.png",
         {u"C:\\Temp"}},
        {"no temporary directory at all",
         u"",
         u"D:\\Panel\\panel.exe",
         false,
         u"D:\\Panel\\applogo.png",
         {u""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeFiles paths;
        paths.tempPath = c.tempPath;
        paths.modulePath = c.modulePath;
        paths.directories.clear();
        if (c.tempExists) paths.directories.insert(u"C:\\Temp");
        FakeShell downloads;
        HeadlessWindows local;
        port::Platform platform = port::Current();
        paths.FillInto(platform);
        downloads.FillInto(platform);
        local.FillInto(platform);
        port::ScopedInstall install(platform);

        CQuellorDlg window;
        local.Then([&] { local.CloseBox(); });
        window.DoModal();
        ASSERT_EQ(downloads.downloads.size(), 1u);
        EXPECT_EQ(downloads.downloads[0].path, c.expected);
        EXPECT_EQ(paths.directoryQueries, c.asked);
    }
}

TEST_F(LogoTest, OnlyASuccessfulDownloadAsksForARepaint) {
    shell.nextResults = {FakeShell::kInetDownloadFailure, 0, FakeShell::kInetDownloadFailure, 1};
    clock.uptimeMs = 86400001;
    ui.Then([&] {
        EXPECT_EQ(Main().invalidations, 0);  // start-up download failed
        ui.Tick(1);
        EXPECT_EQ(Main().invalidations, 1);
        ui.Tick(1);
        EXPECT_EQ(Main().invalidations, 1);
        ui.Tick(1);  // S_FALSE is no failure
        EXPECT_EQ(Main().invalidations, 2);
        EXPECT_EQ(shell.downloads.size(), 4u);
        for (const FakeShell::Download& d : shell.downloads) {
            EXPECT_EQ(d.url, QUELLOR_LOGO_URL);
            EXPECT_EQ(d.path, u"C:\\Temp\\applogo.png");
        }
    });
    Run();
}

TEST_F(LogoTest, RefreshOnlyOnceTheMachineIsUpForMoreThanADay) {
    struct Case {
        uint64_t uptimeMs;
        size_t downloads;
    };
    const Case cases[] = {{0, 0}, {86399999, 0}, {86400000, 0}, {86400001, 1}, {900000000, 1}};
    ui.Then([&] {
        for (const Case& c : cases) {
            clock.uptimeMs = c.uptimeMs;
            const size_t before = shell.downloads.size();
            ui.Tick(1);
            EXPECT_EQ(shell.downloads.size() - before, c.downloads) << "uptime " << c.uptimeMs;
        }
        // The timer itself ticks every 15 minutes.
        clock.uptimeMs = 100000000;
        const size_t before = shell.downloads.size();
        ui.Advance(900000);
        EXPECT_EQ(shell.downloads.size() - before, 1u);
        ASSERT_NE(Main().Timer(1), nullptr);
    });
    Run();
}

struct PaintCase {
    const char* name;
    int clientWidth;
    int clientHeight;
    bool fileExists;
    bool hasAlpha;
    bool drawn;
    port::BlitRect dst;
};

void PrintTo(const PaintCase& c, std::ostream* os) { *os << c.name; }

class LogoPaint : public MainWindowTest, public ::testing::WithParamInterface<PaintCase> {};

TEST_P(LogoPaint, StretchesThePictureOverTheLeftThird) {
    const PaintCase& c = GetParam();
    if (c.fileExists) images.files[u"C:\\Temp\\applogo.png"] = {200, 50, c.hasAlpha};
    ui.Then([&] {
        Main().client = {0, 0, c.clientWidth, c.clientHeight};
        ui.Paint();
        ui.Paint();
        // Decoded afresh at every paint and freed before the paint ends.
        EXPECT_EQ(images.loads, (std::vector<std::u16string>{u"C:\\Temp\\applogo.png",
                                                             u"C:\\Temp\\applogo.png"}));
        EXPECT_EQ(images.LiveBitmaps(), 0);
        ASSERT_EQ(images.blits.size(), c.drawn ? 2u : 0u);
        for (const FakeImages::Blit& blit : images.blits) {
            EXPECT_EQ(blit.dst, c.dst);
            EXPECT_EQ(blit.src, (port::BlitRect{0, 0, 200, 50}));
            EXPECT_EQ(blit.blended, c.hasAlpha);
            EXPECT_NE(blit.dc, port::kNoHandle);
        }
        EXPECT_TRUE(ui.iconsDrawn.empty());
    });
    Run();
}

INSTANTIATE_TEST_SUITE_P(
    Client, LogoPaint,
    ::testing::Values(PaintCase{"Opaque500x300", 500, 300, true, false, true, {0, 0, 166, 300}},
                      PaintCase{"Alpha500x300", 500, 300, true, true, true, {0, 0, 166, 300}},
                      PaintCase{"Width3", 3, 10, true, false, true, {0, 0, 1, 10}},
                      PaintCase{"Width2", 2, 10, true, true, false, {}},
                      PaintCase{"NoFile", 500, 300, false, false, false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// A failed download leaves the earlier file, and that is what is painted.
TEST_F(LogoTest, FailedDownloadPaintsTheEarlierFile) {
    shell.result = FakeShell::kInetDownloadFailure;
    images.files[u"C:\\Temp\\applogo.png"] = {64, 64, true};
    ui.Then([&] {
        Main().client = {0, 0, 500, 300};
        ui.Paint();
        ASSERT_EQ(images.blits.size(), 1u);
        EXPECT_EQ(images.blits[0].path, u"C:\\Temp\\applogo.png");
    });
    Run();
}

TEST_F(LogoTest, MinimisedPaintDrawsTheCentredIconOnly) {
    images.files[u"C:\\Temp\\applogo.png"] = {200, 50, false};
    struct Case {
        int cxIcon;
        int cyIcon;
        int x;
        int y;
    };
    // A minimised window's client area is empty, so the offsets are negative; they are
    // truncated toward zero: (0 - 12 + 1) / 2 is -5, not -6.
    const Case cases[] = {{12, 32, -5, -15}, {48, 16, -23, -7}, {32, 32, -15, -15}};
    ui.Then([&] {
        Main().client = {0, 0, 500, 300};
        ui.Minimize();
        for (const Case& c : cases) {
            ui.systemMetrics = {{11, c.cxIcon}, {12, c.cyIcon}};
            ui.iconsDrawn.clear();
            ui.Paint();
            ASSERT_EQ(ui.iconsDrawn.size(), 1u);
            EXPECT_EQ(ui.iconsDrawn[0].x, c.x) << c.cxIcon;
            EXPECT_EQ(ui.iconsDrawn[0].y, c.y) << c.cyIcon;
            EXPECT_EQ(ui.iconsDrawn[0].icon, ui.LoadIcon(128));
            EXPECT_NE(ui.iconsDrawn[0].dc, port::kNoHandle);
        }
        EXPECT_TRUE(images.loads.empty());
        EXPECT_TRUE(images.blits.empty());

        // Restored, the logo is painted again and no icon.
        ui.Restore();
        ui.iconsDrawn.clear();
        ui.Paint();
        EXPECT_TRUE(ui.iconsDrawn.empty());
        EXPECT_EQ(images.blits.size(), 1u);
    });
    Run();
}

TEST_F(LogoTest, ClickInTheLeftThirdOpensTheHomePage) {
    struct Case {
        int width;
        int x;
        int y;
        bool opens;
    };
    const Case cases[] = {
        {500, 0, 0, true},      {500, 165, 0, true}, {500, 166, 0, false}, {500, 165, 299, true},
        {500, 400, 150, false}, {2, 0, 0, false},    {3, 0, 5, true},      {3, 1, 5, false},
    };
    ui.Then([&] {
        for (const Case& c : cases) {
            Main().client = {0, 0, c.width, 300};
            const size_t before = shell.opens.size();
            ui.LButtonDown(c.x, c.y);
            EXPECT_EQ(shell.opens.size() - before, c.opens ? 1u : 0u)
                << "width " << c.width << " at " << c.x << "," << c.y;
        }
        // No logo file: the click opens the home page all the same.
        ASSERT_FALSE(shell.opens.empty());
        for (const FakeShell::Open& open : shell.opens) {
            EXPECT_EQ(open.owner, port::kNoHandle);
            EXPECT_EQ(open.verb, u"open");
            EXPECT_EQ(open.file, QUELLOR_HOME_URL);
            EXPECT_TRUE(open.parametersWereNull);
            EXPECT_TRUE(open.directoryWasNull);
            EXPECT_EQ(open.show, 1);  // SW_SHOWNORMAL
        }
    });
    Run();
}

}  // namespace
}  // namespace mainwindow
