// What the linked Quellor.exe carries: the manifest, the version block, the icon's pictures,
// and dialogs, menu and strings in Simplified Chinese exactly as our resource scripts say,
// which is also what the headless dialogs of the native tests read.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ResourceScript.h"

namespace {

std::wstring g_exe;

std::wstring Windows(const std::string& path) {
    // Wine reaches the Linux file system through drive Z:.
    std::string full = !path.empty() && path[0] == '/' ? "Z:" + path : path;
    return std::wstring(full.begin(), full.end());
}

const WORD kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

class ExeResources : public ::testing::Test {
protected:
    void SetUp() override {
        m_module = LoadLibraryExW(g_exe.c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(m_module, nullptr) << "cannot load the program file";
    }
    void TearDown() override {
        if (m_module != nullptr) FreeLibrary(m_module);
    }
    // The bytes of a resource, empty when it is missing.
    std::string Bytes(LPCWSTR type, UINT id, WORD language) const {
        HRSRC found = FindResourceExW(m_module, type, MAKEINTRESOURCEW(id), language);
        if (found == nullptr) return {};
        HGLOBAL loaded = LoadResource(m_module, found);
        const char* data = static_cast<const char*>(LockResource(loaded));
        return std::string(data, SizeofResource(m_module, found));
    }
    HMODULE m_module = nullptr;
};

TEST_F(ExeResources, ManifestAsksForCommonControls6AdministratorAndDpiAwareness) {
    const std::string manifest = Bytes(RT_MANIFEST, 1, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    ASSERT_FALSE(manifest.empty());
    for (const char* part :
         {"name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"",
          "processorArchitecture=\"amd64\"", "publicKeyToken=\"6595b64144ccf1df\"",
          "language=\"*\"", "level=\"requireAdministrator\"", "uiAccess=\"false\"",
          ">true</dpiAware>"}) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
}

TEST_F(ExeResources, VersionBlock) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(g_exe.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(g_exe.c_str(), 0, size, block.data()));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(static_cast<WORD*>(value)[0], 0x0804);
    EXPECT_EQ(static_cast<WORD*>(value)[1], 1200);
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &length));
    const auto* fixed = static_cast<VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    const struct {
        const wchar_t* key;
        const wchar_t* text;
    } strings[] = {{L"FileVersion", L"1.0.0.1"},
                   {L"ProductVersion", L"1.0.0.1"},
                   {L"FileDescription", L"Quellor"},
                   {L"ProductName", L"Calbrin"}};
    for (const auto& s : strings) {
        const std::wstring path = std::wstring(L"\\StringFileInfo\\080404b0\\") + s.key;
        ASSERT_TRUE(VerQueryValueW(block.data(), path.c_str(), &value, &length)) << path.size();
        EXPECT_EQ(std::wstring(static_cast<wchar_t*>(value)), s.text);
    }
}

// 16, 24, 32 and 48 pixels in 4-, 8- and 32-bit colour, and 256 pixels in 32-bit colour.
TEST_F(ExeResources, IconHoldsEveryPicture) {
    const std::string group = Bytes(RT_GROUP_ICON, 128, kChinese);
    ASSERT_GE(group.size(), 6u);
    const WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
    std::vector<std::pair<int, int>> pictures;
    for (WORD i = 0; i < count; ++i) {
        const char* entry = group.data() + 6 + 14 * i;
        const int width = static_cast<unsigned char>(entry[0]);
        const WORD bits = *reinterpret_cast<const WORD*>(entry + 6);
        pictures.push_back({width == 0 ? 256 : width, bits});
    }
    std::vector<std::pair<int, int>> expected;
    for (int size : {16, 24, 32, 48}) {
        for (int bits : {4, 8, 32}) expected.push_back({size, bits});
    }
    expected.push_back({256, 32});
    EXPECT_EQ(pictures, expected);
}

// Reads a DLGTEMPLATEEX as the dialog manager does.
struct Reader {
    const char* p;
    WORD Word() {
        WORD value;
        memcpy(&value, p, 2);
        p += 2;
        return value;
    }
    DWORD Dword() {
        DWORD value;
        memcpy(&value, p, 4);
        p += 4;
        return value;
    }
    std::u16string String() {
        std::u16string text;
        while (WORD unit = Word()) text += static_cast<char16_t>(unit);
        return text;
    }
    // A name or an ordinal; ordinals as "#n".
    std::u16string NameOrOrdinal() {
        WORD first;
        memcpy(&first, p, 2);
        if (first == 0xFFFF) {
            p += 2;
            const std::string number = std::to_string(Word());
            return std::u16string(number.begin(), number.end());
        }
        return String();
    }
    void Align(const char* base) {
        while ((p - base) % 4 != 0) ++p;
    }
};

// A control class as a template names it, by ordinal or by name in any case.
std::u16string ClassName(const std::u16string& raw) {
    std::u16string lower;
    for (char16_t c : raw) lower += (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
    if (raw == u"128" || lower == u"button") return u"Button";
    if (raw == u"129" || lower == u"edit") return u"Edit";
    if (raw == u"130" || lower == u"static") return u"Static";
    return raw;
}

TEST_F(ExeResources, DialogsAreThoseOfTheScripts) {
    const rc::Resources script = rc::Load(std::string("Z:") + QUELLOR_SOURCE_DIR "/res/Quellor.rc");
    ASSERT_EQ(script.dialogs.size(), 5u);
    for (const auto& [id, dialog] : script.dialogs) {
        SCOPED_TRACE("dialog " + std::to_string(id));
        EXPECT_EQ(dialog.language, kChinese);
        const std::string bytes = Bytes(RT_DIALOG, id, kChinese);
        ASSERT_FALSE(bytes.empty());
        Reader r{bytes.data()};
        EXPECT_EQ(r.Word(), 1);       // version
        EXPECT_EQ(r.Word(), 0xFFFF);  // extended template
        r.Dword();                    // help id
        EXPECT_EQ(r.Dword(), dialog.exStyle);
        EXPECT_EQ(r.Dword(), dialog.style);
        const WORD items = r.Word();
        EXPECT_EQ(static_cast<short>(r.Word()), dialog.x);
        EXPECT_EQ(static_cast<short>(r.Word()), dialog.y);
        EXPECT_EQ(static_cast<short>(r.Word()), dialog.cx);
        EXPECT_EQ(static_cast<short>(r.Word()), dialog.cy);
        const std::u16string menu = r.NameOrOrdinal();
        const std::string menuId = dialog.menuId != 0 ? std::to_string(dialog.menuId) : "";
        EXPECT_EQ(menu, std::u16string(menuId.begin(), menuId.end()));
        r.NameOrOrdinal();  // class
        EXPECT_EQ(r.String(), dialog.caption);
        EXPECT_EQ(r.Word(), dialog.fontSize);
        r.Word();  // weight
        r.Word();  // italic, charset
        EXPECT_EQ(r.String(), dialog.fontName);
        ASSERT_EQ(items, dialog.controls.size());
        for (const rc::Control& control : dialog.controls) {
            r.Align(bytes.data());
            r.Dword();  // help id
            EXPECT_EQ(r.Dword(), control.exStyle);
            EXPECT_EQ(r.Dword(), control.style) << "control " << control.id;
            EXPECT_EQ(static_cast<short>(r.Word()), control.x);
            EXPECT_EQ(static_cast<short>(r.Word()), control.y);
            EXPECT_EQ(static_cast<short>(r.Word()), control.cx);
            EXPECT_EQ(static_cast<short>(r.Word()), control.cy);
            EXPECT_EQ(static_cast<int>(r.Dword()), control.id);
            EXPECT_EQ(ClassName(r.NameOrOrdinal()), control.className) << "control " << control.id;
            EXPECT_EQ(r.NameOrOrdinal(), control.text) << "control " << control.id;
            r.p += r.Word();  // creation data
        }
    }
}

TEST_F(ExeResources, MenuAndStringsInChinese) {
    EXPECT_FALSE(Bytes(RT_MENU, 129, kChinese).empty());
    // String 101 and 103 lie in block 7 (ids 96..111), each counted UTF-16.
    const std::string block = Bytes(RT_STRING, 101 / 16 + 1, kChinese);
    ASSERT_FALSE(block.empty());
    std::vector<std::u16string> texts;
    const char* p = block.data();
    for (int i = 0; i < 16; ++i) {
        WORD length;
        memcpy(&length, p, 2);
        p += 2;
        texts.emplace_back(reinterpret_cast<const char16_t*>(p), length);
        p += 2 * length;
    }
    EXPECT_EQ(texts[101 % 16], u"关于 Quellor(&A)...");
    EXPECT_EQ(texts[103 % 16], u"Windows 套接字初始化失败。");
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: frame_win_tests PATH-OF-Quellor.exe\n");
        return 1;
    }
    g_exe = Windows(argv[1]);
    return RUN_ALL_TESTS();
}
