// The real paths, download and image operations under Wine, held to what the panel's logo
// relies on.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "LoopbackServer.h"
#include "PngWriter.h"
#include "fake/FakeFiles.h"
#include "framework/Image.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Images.h"
#include "platform/Shell.h"
#include "platform/win32/Win32Platform.h"

namespace {

const wchar_t* W(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::u16string TempDir() {
    char16_t buffer[260] = {};
    win32::Files().GetTempPath(260, buffer);
    return buffer;
}

std::u16string TempFile(const char16_t* name) { return TempDir() + name; }

void PutFile(const std::u16string& path, const std::string& bytes) {
    HANDLE file = CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

std::string GetFile(const std::u16string& path) {
    std::string bytes;
    HANDLE file = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

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
    PutFile(file, "x");
    EXPECT_FALSE(win32::Files().PathIsDirectory(u""));
    EXPECT_FALSE(win32::Files().PathIsDirectory(u"C:\\quellor-no-such-directory"));
    EXPECT_FALSE(win32::Files().PathIsDirectory(file.c_str()));
    EXPECT_TRUE(win32::Files().PathIsDirectory(u"C:\\windows"));
    DeleteFileW(W(file));
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
    Sleep(50);
    const uint64_t after = win32::Clock().GetTickCount64();
    EXPECT_GE(after - before, 40u);
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
    DeleteFileW(W(path));
}

TEST(Shell, DownloadFromNothingFailsAndKeepsTheOldFile) {
    unsigned short port = 0;
    {
        LoopbackServer closed;  // a port that was free a moment ago and is closed again
        ASSERT_TRUE(closed.Started());
        port = closed.Port();
    }
    const std::u16string path = TempFile(u"quellor-kept.png");
    PutFile(path, "earlier picture");
    const std::u16string url =
        CString::FromUtf8("http://127.0.0.1:" + std::to_string(port) + "/applogo.png").Str();
    EXPECT_LT(win32::Shell().URLDownloadToFile(url.c_str(), path.c_str()), 0);
    EXPECT_EQ(GetFile(path), "earlier picture");
    DeleteFileW(W(path));
}

class Images : public ::testing::Test {
protected:
    void SetUp() override {
        port::Platform platform;
        platform.images = &win32::Images();
        m_install = std::make_unique<port::ScopedInstall>(platform);

        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = kCanvas;
        info.bmiHeader.biHeight = -kCanvas;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_dc = CreateCompatibleDC(nullptr);
        m_canvas = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS,
                                    reinterpret_cast<void**>(&m_bits), nullptr, 0);
        ASSERT_NE(m_canvas, nullptr);
        m_previous = SelectObject(m_dc, m_canvas);
        for (int i = 0; i < kCanvas * kCanvas; ++i) m_bits[i] = 0x00FFFFFF;  // white
    }
    void TearDown() override {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_canvas);
        DeleteDC(m_dc);
    }
    // The canvas pixel as 0xRRGGBB.
    uint32_t Pixel(int x, int y) {
        GdiFlush();
        return m_bits[y * kCanvas + x] & 0x00FFFFFF;
    }
    port::Handle Dc() const { return reinterpret_cast<port::Handle>(m_dc); }

    static constexpr int kCanvas = 32;
    std::unique_ptr<port::ScopedInstall> m_install;
    HDC m_dc = nullptr;
    HBITMAP m_canvas = nullptr;
    HGDIOBJ m_previous = nullptr;
    uint32_t* m_bits = nullptr;
};

TEST_F(Images, DecodesByContentWithSizeAndAlpha) {
    const std::u16string opaque = TempFile(u"quellor-opaque.png");
    const std::u16string alpha = TempFile(u"quellor-alpha.png");
    const std::u16string broken = TempFile(u"quellor-broken.png");
    PutFile(opaque, MakePng(200, 50, false, [](int, int) { return Rgba{1, 2, 3}; }));
    PutFile(alpha, MakePng(7, 9, true, [](int, int) { return Rgba{1, 2, 3, 128}; }));
    PutFile(broken, "<html>not a picture</html>");

    CImage image;
    ASSERT_EQ(image.Load(opaque.c_str()), 0);
    EXPECT_EQ(image.GetWidth(), 200);
    EXPECT_EQ(image.GetHeight(), 50);
    EXPECT_FALSE(image.HasAlpha());
    ASSERT_EQ(image.Load(alpha.c_str()), 0);
    EXPECT_EQ(image.GetWidth(), 7);
    EXPECT_EQ(image.GetHeight(), 9);
    EXPECT_TRUE(image.HasAlpha());
    EXPECT_LT(image.Load(broken.c_str()), 0);
    EXPECT_TRUE(image.IsNull());
    EXPECT_LT(image.Load(TempFile(u"quellor-missing.png").c_str()), 0);

    // Nothing holds the files open: a download may replace them at any time.
    ASSERT_EQ(image.Load(opaque.c_str()), 0);
    EXPECT_TRUE(DeleteFileW(W(opaque)));
    DeleteFileW(W(alpha));
    DeleteFileW(W(broken));
}

TEST_F(Images, OpaquePictureIsCopiedStretched) {
    const std::u16string path = TempFile(u"quellor-stretch.png");
    // Left column red, right column blue, 2 x 1, stretched to 20 x 10.
    PutFile(path, MakePng(2, 1, false, [](int x, int) {
                  return x == 0 ? Rgba{255, 0, 0} : Rgba{0, 0, 255};
              }));
    CImage image;
    ASSERT_EQ(image.Load(path.c_str()), 0);
    EXPECT_TRUE(image.Draw(Dc(), 0, 0, 20, 10, 0, 0, 2, 1));
    EXPECT_EQ(Pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(Pixel(9, 9), 0xFF0000u);
    EXPECT_EQ(Pixel(10, 0), 0x0000FFu);
    EXPECT_EQ(Pixel(19, 9), 0x0000FFu);
    EXPECT_EQ(Pixel(20, 0), 0xFFFFFFu);  // right of the destination: untouched
    EXPECT_EQ(Pixel(0, 10), 0xFFFFFFu);  // below it: untouched
    DeleteFileW(W(path));
}

TEST_F(Images, AlphaPictureIsBlendedOverWhatIsThere) {
    const std::u16string path = TempFile(u"quellor-blend.png");
    // Transparent, opaque green, half-transparent black.
    PutFile(path, MakePng(3, 1, true, [](int x, int) {
                  if (x == 0) return Rgba{255, 0, 0, 0};
                  if (x == 1) return Rgba{0, 255, 0, 255};
                  return Rgba{0, 0, 0, 128};
              }));
    CImage image;
    ASSERT_EQ(image.Load(path.c_str()), 0);
    EXPECT_TRUE(image.Draw(Dc(), 0, 0, 3, 1, 0, 0, 3, 1));
    EXPECT_EQ(Pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(Pixel(1, 0), 0x00FF00u);
    const uint32_t half = Pixel(2, 0);
    for (int shift : {0, 8, 16}) {
        const int channel = static_cast<int>((half >> shift) & 0xFF);
        EXPECT_NEAR(channel, 127, 2) << "channel at bit " << shift;
    }
    DeleteFileW(W(path));
}

}  // namespace
