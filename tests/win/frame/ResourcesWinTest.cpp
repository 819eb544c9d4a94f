// What the linked Quellor.exe carries: the manifest, the version block, the icon's pictures,
// and dialogs, menu and strings in Simplified Chinese exactly as our resource scripts say,
// which is also what the headless dialogs of the native tests read, and as the table of
// ExpectedResources says they must be.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "ExpectedResources.h"
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
    // The numbered resources of a type, in any language.
    std::vector<UINT> Ids(LPCWSTR type) const;
    // The dialogs, menus and strings that the program file carries in Simplified Chinese.
    rc::Resources Carried() const;
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

// Reads the little-endian words of a resource; past its end it yields zeros and says so.
struct Reader {
    const char* base;
    const char* p;
    const char* end;
    bool overrun = false;

    explicit Reader(const std::string& bytes)
        : base(bytes.data()), p(bytes.data()), end(bytes.data() + bytes.size()) {}
    void Take(void* out, size_t size) {
        if (static_cast<size_t>(end - p) < size) {
            overrun = true;
            p = end;
            memset(out, 0, size);
            return;
        }
        memcpy(out, p, size);
        p += size;
    }
    BYTE Byte() {
        BYTE value;
        Take(&value, 1);
        return value;
    }
    WORD Word() {
        WORD value;
        Take(&value, 2);
        return value;
    }
    DWORD Dword() {
        DWORD value;
        Take(&value, 4);
        return value;
    }
    short Short() { return static_cast<short>(Word()); }
    std::u16string String() {
        std::u16string text;
        while (WORD unit = Word()) text += static_cast<char16_t>(unit);
        return text;
    }
    bool OrdinalNext() const {
        return end - p >= 2 && static_cast<BYTE>(p[0]) == 0xFF && static_cast<BYTE>(p[1]) == 0xFF;
    }
    // A name or an ordinal; an ordinal in decimal, as the script reader gives a number.
    std::u16string NameOrOrdinal() {
        if (OrdinalNext()) {
            Word();
            const std::string number = std::to_string(Word());
            return std::u16string(number.begin(), number.end());
        }
        return String();
    }
    void Align4() {
        while ((p - base) % 4 != 0 && p < end) ++p;
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

// A DLGTEMPLATEEX, read as the dialog manager reads it.
rc::Dialog DialogOf(uint32_t id, const std::string& bytes) {
    rc::Dialog dialog;
    dialog.id = id;
    dialog.language = kChinese;  // the language it was found in
    Reader r(bytes);
    EXPECT_EQ(r.Word(), 1) << "dialog " << id << ": version";
    EXPECT_EQ(r.Word(), 0xFFFF) << "dialog " << id << ": not an extended template";
    r.Dword();  // help id
    dialog.exStyle = r.Dword();
    dialog.style = r.Dword();
    const WORD items = r.Word();
    dialog.x = r.Short();
    dialog.y = r.Short();
    dialog.cx = r.Short();
    dialog.cy = r.Short();
    if (r.OrdinalNext()) {
        r.Word();
        dialog.menuId = r.Word();
    } else {
        EXPECT_EQ(r.String(), u"") << "dialog " << id << ": a menu by name";
    }
    r.NameOrOrdinal();  // class
    dialog.caption = r.String();
    if ((dialog.style & DS_SETFONT) != 0) {
        dialog.fontSize = r.Word();
        dialog.fontWeight = r.Word();
        dialog.fontItalic = r.Byte() != 0;
        dialog.fontCharset = r.Byte();
        dialog.fontName = r.String();
    }
    for (WORD i = 0; i < items && !r.overrun; ++i) {
        rc::Control control;
        r.Align4();
        r.Dword();  // help id
        control.exStyle = r.Dword();
        control.style = r.Dword();
        control.x = r.Short();
        control.y = r.Short();
        control.cx = r.Short();
        control.cy = r.Short();
        control.id = static_cast<int>(r.Dword());
        control.className = ClassName(r.NameOrOrdinal());
        control.text = r.NameOrOrdinal();
        r.p += std::min<size_t>(r.Word(), r.end - r.p);  // creation data
        dialog.controls.push_back(std::move(control));
    }
    EXPECT_FALSE(r.overrun) << "dialog " << id << " ends early";
    return dialog;
}

// A MENUITEMTEMPLATE's items up to the one marked last, popups with theirs.
std::vector<rc::MenuItem> MenuItemsOf(Reader& r) {
    std::vector<rc::MenuItem> items;
    while (!r.overrun) {
        const WORD option = r.Word();
        rc::MenuItem item;
        item.grayed = (option & MF_GRAYED) != 0;
        if ((option & MF_POPUP) != 0) {
            item.text = r.String();
            item.items = MenuItemsOf(r);
        } else {
            item.id = r.Word();
            item.text = r.String();
            item.separator = (option & MF_SEPARATOR) != 0 || (item.id == 0 && item.text.empty());
        }
        items.push_back(std::move(item));
        if ((option & MF_END) != 0) break;
    }
    return items;
}

rc::Menu MenuOf(uint32_t id, const std::string& bytes) {
    rc::Menu menu;
    menu.id = id;
    Reader r(bytes);
    EXPECT_EQ(r.Word(), 0) << "menu " << id << ": not a plain menu template";
    r.p += std::min<size_t>(r.Word(), r.end - r.p);  // offset of the items
    menu.items = MenuItemsOf(r);
    EXPECT_FALSE(r.overrun) << "menu " << id << " ends early";
    return menu;
}

BOOL CALLBACK AddName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR ids) {
    if (IS_INTRESOURCE(name)) {
        reinterpret_cast<std::vector<UINT>*>(ids)->push_back(
            static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)));
    }
    return TRUE;
}

std::vector<UINT> ExeResources::Ids(LPCWSTR type) const {
    std::vector<UINT> ids;
    EnumResourceNamesW(m_module, type, AddName, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

rc::Resources ExeResources::Carried() const {
    rc::Resources resources;
    for (UINT id : Ids(RT_DIALOG)) {
        const std::string dialog = Bytes(RT_DIALOG, id, kChinese);
        if (!dialog.empty()) resources.dialogs[id] = DialogOf(id, dialog);
    }
    for (UINT id : Ids(RT_MENU)) {
        const std::string menu = Bytes(RT_MENU, id, kChinese);
        if (!menu.empty()) resources.menus[id] = MenuOf(id, menu);
    }
    // A string block holds 16 counted UTF-16 strings: block n those of ids 16 (n - 1) on.
    for (UINT block : Ids(RT_STRING)) {
        const std::string bytes = Bytes(RT_STRING, block, kChinese);
        Reader r(bytes);
        for (UINT i = 0; i < 16; ++i) {
            std::u16string text(r.Word(), u'\0');
            for (char16_t& unit : text) unit = static_cast<char16_t>(r.Word());
            if (!text.empty()) resources.strings[(block - 1) * 16 + i] = text;
        }
        EXPECT_FALSE(r.overrun) << "string block " << block << " ends early";
    }
    return resources;
}

const rc::Resources& ScriptResources() {
    static const rc::Resources script =
        rc::Load(std::string("Z:") + QUELLOR_SOURCE_DIR "/res/Quellor.rc");
    return script;
}

// The menus' items, popups with theirs, equal in text, command, state and nesting.
void ExpectSameItems(const std::vector<rc::MenuItem>& got, const std::vector<rc::MenuItem>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE("item " + std::to_string(i + 1));
        EXPECT_EQ(got[i].text, want[i].text);
        EXPECT_EQ(got[i].id, want[i].id);
        EXPECT_EQ(got[i].separator, want[i].separator);
        EXPECT_EQ(got[i].grayed, want[i].grayed);
        ExpectSameItems(got[i].items, want[i].items);
    }
}

TEST_F(ExeResources, DialogsAreThoseOfTheScripts) {
    const rc::Resources& script = ScriptResources();
    const rc::Resources exe = Carried();
    ASSERT_EQ(script.dialogs.size(), 5u);
    EXPECT_EQ(exe.dialogs.size(), script.dialogs.size());
    for (const auto& [id, dialog] : script.dialogs) {
        SCOPED_TRACE("dialog " + std::to_string(id));
        EXPECT_EQ(dialog.language, kChinese);
        const auto found = exe.dialogs.find(id);
        ASSERT_NE(found, exe.dialogs.end());
        const rc::Dialog& linked = found->second;
        EXPECT_EQ(linked.exStyle, dialog.exStyle);
        EXPECT_EQ(linked.style, dialog.style);
        EXPECT_EQ(linked.x, dialog.x);
        EXPECT_EQ(linked.y, dialog.y);
        EXPECT_EQ(linked.cx, dialog.cx);
        EXPECT_EQ(linked.cy, dialog.cy);
        EXPECT_EQ(linked.menuId, dialog.menuId);
        EXPECT_EQ(linked.caption, dialog.caption);
        EXPECT_EQ(linked.fontSize, dialog.fontSize);
        EXPECT_EQ(linked.fontWeight, dialog.fontWeight);
        EXPECT_EQ(linked.fontItalic, dialog.fontItalic);
        EXPECT_EQ(linked.fontCharset, dialog.fontCharset);
        EXPECT_EQ(linked.fontName, dialog.fontName);
        ASSERT_EQ(linked.controls.size(), dialog.controls.size());
        for (size_t i = 0; i < dialog.controls.size(); ++i) {
            const rc::Control& control = dialog.controls[i];
            const rc::Control& carried = linked.controls[i];
            SCOPED_TRACE("control " + std::to_string(control.id));
            EXPECT_EQ(carried.exStyle, control.exStyle);
            EXPECT_EQ(carried.style, control.style);
            EXPECT_EQ(carried.x, control.x);
            EXPECT_EQ(carried.y, control.y);
            EXPECT_EQ(carried.cx, control.cx);
            EXPECT_EQ(carried.cy, control.cy);
            EXPECT_EQ(carried.id, control.id);
            EXPECT_EQ(carried.className, control.className);
            EXPECT_EQ(carried.text, control.text);
        }
    }
}

TEST_F(ExeResources, MenuAndStringsInChinese) {
    const rc::Resources& script = ScriptResources();
    const rc::Resources exe = Carried();
    ASSERT_EQ(exe.menus.size(), script.menus.size());
    for (const auto& [id, menu] : script.menus) {
        SCOPED_TRACE("menu " + std::to_string(id));
        const auto found = exe.menus.find(id);
        ASSERT_NE(found, exe.menus.end());
        ExpectSameItems(found->second.items, menu.items);
    }
    EXPECT_EQ(exe.strings, script.strings);
}

// The table holds what the scripts are held to natively; here the program file is.
TEST_F(ExeResources, ProgramFileIsAsDesigned) { rc::ExpectAsDesigned(Carried()); }

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
