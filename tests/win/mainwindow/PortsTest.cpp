// The real paths, download and image operations under Wine, held to what the panel's logo
// relies on.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "LoopbackServer.h"
#include "PngWriter.h"
#include "TestFiles.h"
#include "fake/FakeFiles.h"
#include "framework/CString.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Shell.h"
#include "platform/win32/Win32Platform.h"

namespace {

struct PathCase {
    const char16_t* input;
    const char16_t* expected;
    bool changed;
};

// The cases the logo path meets, and the roots that must survive.
const PathCase kPathCases[] = {
    {u"D:\\Panel\\panel.exe", u"D:\\Panel", true},
    {u"C:\\Temp\\", u"C:\\Temp", true},
    {u"C:\\users\\me\\Temp\\", u"C:\\users\\me\\Temp", true},
    {u"C:\\panel.exe", u"C:\\", true},
    {u"C:\\", u"C:\\", false},
    {u"panel.exe", u"", true},
    {u"", u"", false},
};

TEST(Files, PathRemoveFileSpecAgreesWithTheFakesRule) {
    for (const PathCase& c : kPathCases) {
        SCOPED_TRACE(std::string(CString(c.input).ToUtf8()));
        char16_t buffer[260] = {};
        std::u16string(c.input).copy(buffer, 259);
        EXPECT_EQ(win32::Files().PathRemoveFileSpec(buffer), c.changed);
        EXPECT_EQ(std::u16string(buffer), c.expected);

        std::u16string rule = c.input;
        EXPECT_EQ(RemoveFileSpec(rule), c.changed);
        EXPECT_EQ(rule, c.expected);
    }
}

TEST(Files, TempPathEndsInABackslashAndNamesADirectoryWithoutIt) {
    char16_t buffer[260] = {};
    const uint32_t length = win32::Files().GetTempPath(260, buffer);
    ASSERT_GT(length, 0u);
    ASSERT_EQ(buffer[length - 1], u'\\');
    EXPECT_TRUE(win32::Files().PathRemoveFileSpec(buffer));
    EXPECT_NE(buffer[0], u'\0');
    EXPECT_TRUE(win32::Files().PathIsDirectory(buffer));
}

TEST(Files, PathIsDirectory) {
    const std::u16string file = TempFile(u"quellor-not-a-dir.txt");
    ASSERT_TRUE(PutFile(file, "x"));
    EXPECT_FALSE(win32::Files().PathIsDirectory(u""));
    EXPECT_FALSE(win32::Files().PathIsDirectory(u"C:\\quellor-no-such-directory"));
    EXPECT_FALSE(win32::Files().PathIsDirectory(file.c_str()));
    EXPECT_TRUE(win32::Files().PathIsDirectory(u"C:\\windows"));
    RemoveFile(file);
}

TEST(Files, TempPathFollowsTmpEvenWhenItDoesNotExist) {
    wchar_t saved[1024] = {};
    const DWORD had = GetEnvironmentVariableW(L"TMP", saved, 1024);
    SetEnvironmentVariableW(L"TMP", L"C:\\quellor-missing-temp");
    char16_t buffer[260] = {};
    win32::Files().GetTempPath(260, buffer);
    SetEnvironmentVariableW(L"TMP", had > 0 ? saved : nullptr);

    EXPECT_EQ(std::u16string(buffer), u"C:\\quellor-missing-temp\\");
    win32::Files().PathRemoveFileSpec(buffer);
    EXPECT_FALSE(win32::Files().PathIsDirectory(buffer));
}

TEST(Files, ModuleFileNameIsThisProgram) {
    char16_t buffer[260] = {};
    const uint32_t length = win32::Files().GetModuleFileName(buffer, 260);
    ASSERT_GT(length, 4u);
    EXPECT_EQ(std::u16string(buffer).substr(length - 4), u".exe");
    win32::Files().PathRemoveFileSpec(buffer);
    EXPECT_TRUE(win32::Files().PathIsDirectory(buffer));
}

TEST(Clock, TickCountIsMillisecondsAndMoves) {
    const uint64_t before = win32::Clock().GetTickCount64();
    Sleep(300);
    const uint64_t after = win32::Clock().GetTickCount64();
    EXPECT_GE(after - before, 250u);
    EXPECT_LT(after - before, 5000u);
}

TEST(Shell, DownloadStoresTheServedBytesAndOverwrites) {
    LoopbackServer server;
    ASSERT_TRUE(server.Started());
    const std::string first = MakePng(3, 2, false, [](int, int) { return Rgba{255, 0, 0}; });
    const std::string second = MakePng(5, 1, true, [](int, int) { return Rgba{0, 0, 255, 9}; });
    const std::u16string path = TempFile(u"quellor-download.png");
    const std::u16string url = CString::FromUtf8(server.Url("/applogo.png")).Str();

    server.Serve("/applogo.png", first);
    EXPECT_GE(win32::Shell().URLDownloadToFile(url.c_str(), path.c_str()), 0);
    EXPECT_EQ(GetFile(path), first);

    server.Serve("/applogo.png", second);
    EXPECT_GE(win32::Shell().URLDownloadToFile(url.c_str(), path.c_str()), 0);
    EXPECT_EQ(GetFile(path), second);
    EXPECT_EQ(server.Requests("/applogo.png"), 2);
    RemoveFile(path);
}

TEST(Shell, DownloadFromNothingFailsAndKeepsTheOldFile) {
    unsigned short port = 0;
    {
        LoopbackServer closed;  // a port that was free a moment ago and is closed again
        ASSERT_TRUE(closed.Started());
        port = closed.Port();
    }
    const std::u16string path = TempFile(u"quellor-kept.png");
    ASSERT_TRUE(PutFile(path, "earlier picture"));
    const std::u16string url =
        CString::FromUtf8("http://127.0.0.1:" + std::to_string(port) + "/applogo.png").Str();
    EXPECT_LT(win32::Shell().URLDownloadToFile(url.c_str(), path.c_str()), 0);
    EXPECT_EQ(GetFile(path), "earlier picture");
    RemoveFile(path);
}

}  // namespace
