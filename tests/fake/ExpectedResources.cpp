#include "ExpectedResources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "framework/CString.h"

namespace rc {
namespace {

// The Windows style bits the table speaks of; the native build has no <windows.h>.
constexpr uint32_t kWsPopup = 0x80000000;
constexpr uint32_t kWsChild = 0x40000000;
constexpr uint32_t kWsVisible = 0x10000000;
constexpr uint32_t kWsCaption = 0x00C00000;
constexpr uint32_t kWsBorder = 0x00800000;
constexpr uint32_t kWsSysMenu = 0x00080000;
constexpr uint32_t kWsThickFrame = 0x00040000;
constexpr uint32_t kWsGroup = 0x00020000;
constexpr uint32_t kWsTabStop = 0x00010000;
constexpr uint32_t kWsMinimizeBox = 0x00020000;  // the bits of WS_GROUP and WS_TABSTOP, on a
constexpr uint32_t kWsMaximizeBox = 0x00010000;  // top-level window
constexpr uint32_t kDsModalFrame = 0x80;
constexpr uint32_t kWsExAppWindow = 0x00040000;
constexpr uint32_t kBsPushButton = 0x0;
constexpr uint32_t kBsDefPushButton = 0x1;
constexpr uint32_t kBsGroupBox = 0x7;
constexpr uint32_t kBsAutoRadioButton = 0x9;
constexpr uint32_t kSsLeft = 0x0;
constexpr uint32_t kSsCenter = 0x1;
constexpr uint32_t kSsIcon = 0x3;
constexpr uint32_t kSsNoPrefix = 0x80;
constexpr uint32_t kSsSunken = 0x1000;
constexpr uint32_t kEsLeft = 0x0;
constexpr uint32_t kEsAutoHScroll = 0x80;

constexpr uint16_t kChinese = 0x0804;

// The frame bits a template is held to; the others (the font flags) are the compiler's concern.
constexpr uint32_t kFrameBits = kWsPopup | kWsVisible | kWsCaption | kWsSysMenu | kWsThickFrame |
                                kWsMinimizeBox | kWsMaximizeBox | kDsModalFrame;
constexpr uint32_t kModalFrame = kWsPopup | kWsCaption | kWsSysMenu | kDsModalFrame;

// A control's whole style word: every bit in it is one the table means.
constexpr uint32_t kShown = kWsChild | kWsVisible;
constexpr uint32_t kHidden = kWsChild;
constexpr uint32_t kDefaultButton = kShown | kBsDefPushButton | kWsTabStop;
constexpr uint32_t kButton = kShown | kBsPushButton | kWsTabStop;
constexpr uint32_t kLabel = kShown | kSsLeft | kWsGroup;
constexpr uint32_t kField = kShown | kEsLeft | kEsAutoHScroll | kWsBorder | kWsTabStop;
constexpr uint32_t kGroupBox = kShown | kBsGroupBox;
constexpr uint32_t kRadio = kShown | kBsAutoRadioButton;

struct ExpectedControl {
    int id;
    const char16_t* className;
    const char16_t* text;  // nullptr where the text is free
    int x, y, cx, cy;
    uint32_t style;
};

struct ExpectedFont {
    int weight;
    bool italic;
    int charset;
};

struct ExpectedDialog {
    uint32_t id;
    const char16_t* caption;
    uint32_t menuId;
    int cx, cy;
    const char16_t* fontName;
    int fontSize;
    std::optional<ExpectedFont> font;  // where weight, slant and character set are fixed
    uint32_t frame;                    // the bits of kFrameBits that are set
    uint32_t exStyle;
    std::vector<ExpectedControl> controls;
};

// One row a template, then one a control, in template order.
// clang-format off
const std::vector<ExpectedDialog>& Dialogs() {
    static const std::vector<ExpectedDialog> dialogs = {
        {100, u"关于 Quellor", 0, 170, 62, u"MS Shell Dlg", 9, std::nullopt, kModalFrame, 0, {
            {-1, u"Static", u"128", 14, 14, 20, 20, kShown | kSsIcon},  // icon 128
            {-1, u"Static", u"Quellor，版本 1.0", 47, 14, 114, 8, kLabel | kSsNoPrefix},
            {-1, u"Static", nullptr, 47, 26, 114, 8, kLabel},  // the copyright line
            {1, u"Button", u"确定", 113, 41, 50, 14, kDefaultButton | kWsGroup},
        }},
        // Hidden OK and Cancel only own the commands of Enter and of the close requests.
        {102, u"Calbrin", 129, 277, 108, u"MS Shell Dlg", 9, std::nullopt,
         kModalFrame | kWsVisible | kWsMinimizeBox, kWsExAppWindow, {
            {1, u"Button", u"确定", 226, 87, 21, 14, kHidden | kBsDefPushButton | kWsTabStop},
            {2, u"Button", u"取消", 247, 87, 20, 14, kHidden | kBsPushButton | kWsTabStop},
            {1000, u"Button", u"设置 Key", 160, 87, 49, 14, kButton},
            {1007, u"Static", u"运行状态", 93, 0, 174, 50,
             kShown | kSsCenter | kSsSunken | kWsGroup},
            {1008, u"Static", u"Static", 93, 50, 174, 33, kLabel},
        }},
        {130, u"设置 Key", 0, 245, 125, u"MS Shell Dlg", 8, std::nullopt, kModalFrame, 0, {
            {1, u"Button", u"确定", 65, 104, 50, 14, kDefaultButton},
            {2, u"Button", u"取消", 132, 104, 50, 14, kButton},
            {1002, u"Static", u"Static", 14, 16, 216, 52, kLabel},
            {1003, u"Static", u"免费 Key：", 12, 84, 39, 8, kLabel},
            {1001, u"Edit", u"", 55, 81, 177, 14, kField},
        }},
        // Only the labels start a group, so the radio buttons are one group from the top.
        {131, u"高级设置", 0, 287, 262, u"MS Shell Dlg", 8, ExpectedFont{400, false, 1},
         kModalFrame, 0, {
            {1, u"Button", u"确定", 85, 237, 50, 14, kDefaultButton},
            {2, u"Button", u"取消", 154, 237, 50, 14, kButton},
            {-1, u"Button", u"云端 ASR（适用于电脑配置低）", 7, 63, 272, 87, kGroupBox},
            {-1, u"Button", u"付费大模型（适用于提高回答能力）", 7, 138, 272, 88, kGroupBox},
            {1012, u"Button", u"音色", 7, 7, 272, 28, kGroupBox},
            {1004, u"Button", u"女声", 209, 18, 34, 10, kRadio},
            {1005, u"Button", u"男声", 55, 18, 35, 10, kRadio},
            {1006, u"Edit", u"", 56, 177, 183, 14, kField},
            {1007, u"Edit", u"", 56, 197, 183, 14, kField},
            {-1, u"Static", u"地址：", 7, 158, 39, 8, kLabel},
            {1008, u"Edit", u"", 56, 157, 183, 14, kField},
            {-1, u"Static", u"模型名：", 7, 179, 39, 8, kLabel},
            {-1, u"Static", u"Key：", 7, 200, 39, 8, kLabel},
            {1009, u"Edit", u"", 57, 100, 183, 14, kField},
            {1010, u"Edit", u"", 57, 120, 183, 14, kField},
            {-1, u"Static", u"地址：", 9, 82, 41, 8, kLabel},
            {1011, u"Edit", u"", 57, 80, 183, 14, kField},
            {-1, u"Static", u"模型名：", 9, 103, 41, 8, kLabel},
            {-1, u"Static", u"Key：", 9, 123, 41, 8, kLabel},
        }},
        // No control starts a group: the two radio buttons clear each other.
        {134, u"高级设置", 0, 206, 91, u"MS Shell Dlg", 8, std::nullopt, kModalFrame, 0, {
            {1, u"Button", u"确定", 46, 63, 50, 14, kDefaultButton},
            {2, u"Button", u"取消", 112, 63, 50, 14, kButton},
            {-1, u"Button", u"音色", 7, 7, 192, 42, kGroupBox},
            {1013, u"Button", u"男声", 50, 23, 35, 10, kRadio},
            {1014, u"Button", u"女声", 143, 24, 35, 10, kRadio},
        }},
    };
    return dialogs;
}
// clang-format on

struct ExpectedItem {
    const char16_t* text;
    uint32_t id;
    bool grayed;
};

// Menu 129, the main window's menu bar: one popup. Nothing enables the grayed item.
constexpr uint32_t kMenuId = 129;
constexpr const char16_t* kPopup = u"高级设置(&S)";
const ExpectedItem kItems[] = {
    {u"男女声(&T)", 32774, false},
    {u"大语言模型(&B)", 32775, true},
};

const struct {
    uint32_t id;
    const char16_t* text;
} kStrings[] = {
    {101, u"关于 Quellor(&A)..."},
    {103, u"Windows 套接字初始化失败。"},
};

// Texts as UTF-8, which a failure prints readably.
std::string U8(const std::u16string& text) { return CString(text.c_str()).ToUtf8(); }

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

void ExpectControl(const Control& got, const ExpectedControl& want) {
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(U8(got.className), U8(want.className));
    if (want.text != nullptr) {
        EXPECT_EQ(U8(got.text), U8(want.text));
    }
    EXPECT_EQ(got.x, want.x);
    EXPECT_EQ(got.y, want.y);
    EXPECT_EQ(got.cx, want.cx);
    EXPECT_EQ(got.cy, want.cy);
    EXPECT_EQ(Hex(got.style), Hex(want.style));
    // None has an extended style: an edit's border is WS_BORDER in the template, and turns into
    // a client edge only when the window is created.
    EXPECT_EQ(Hex(got.exStyle), Hex(0));
}

void ExpectDialog(const Dialog& got, const ExpectedDialog& want) {
    EXPECT_EQ(got.language, kChinese);
    EXPECT_EQ(U8(got.caption), U8(want.caption));
    EXPECT_EQ(got.menuId, want.menuId);
    EXPECT_EQ(got.cx, want.cx);
    EXPECT_EQ(got.cy, want.cy);
    EXPECT_EQ(U8(got.fontName), U8(want.fontName));
    EXPECT_EQ(got.fontSize, want.fontSize);
    if (want.font) {
        EXPECT_EQ(got.fontWeight, want.font->weight);
        EXPECT_EQ(got.fontItalic, want.font->italic);
        EXPECT_EQ(got.fontCharset, want.font->charset);
    }
    EXPECT_EQ(Hex(got.style & kFrameBits), Hex(want.frame));
    EXPECT_EQ(Hex(got.exStyle), Hex(want.exStyle));
    EXPECT_EQ(got.controls.size(), want.controls.size());
    const size_t both = std::min(got.controls.size(), want.controls.size());
    for (size_t i = 0; i < both; ++i) {
        SCOPED_TRACE("control " + std::to_string(i + 1) + " of the template, id " +
                     std::to_string(want.controls[i].id));
        ExpectControl(got.controls[i], want.controls[i]);
    }
}

void ExpectMenu(const Menu& got) {
    EXPECT_EQ(got.items.size(), 1u);
    if (got.items.empty()) return;
    const MenuItem& popup = got.items[0];
    EXPECT_EQ(U8(popup.text), U8(kPopup));
    EXPECT_EQ(popup.items.size(), std::size(kItems));
    const size_t both = std::min(popup.items.size(), std::size(kItems));
    for (size_t i = 0; i < both; ++i) {
        SCOPED_TRACE("item " + std::to_string(i + 1) + " of the popup");
        const MenuItem& item = popup.items[i];
        EXPECT_EQ(U8(item.text), U8(kItems[i].text));
        EXPECT_EQ(item.id, kItems[i].id);
        EXPECT_EQ(item.grayed, kItems[i].grayed);
        EXPECT_FALSE(item.separator);
        EXPECT_TRUE(item.items.empty()) << "a command, not a popup";
    }
}

}  // namespace

void ExpectAsDesigned(const Resources& resources) {
    for (const ExpectedDialog& want : Dialogs()) {
        SCOPED_TRACE("template " + std::to_string(want.id));
        const auto found = resources.dialogs.find(want.id);
        if (found == resources.dialogs.end()) {
            ADD_FAILURE() << "no such template";
            continue;
        }
        ExpectDialog(found->second, want);
    }

    {
        SCOPED_TRACE("menu " + std::to_string(kMenuId));
        const auto menu = resources.menus.find(kMenuId);
        if (menu == resources.menus.end()) {
            ADD_FAILURE() << "no such menu";
        } else {
            ExpectMenu(menu->second);
        }
    }

    for (const auto& want : kStrings) {
        SCOPED_TRACE("string " + std::to_string(want.id));
        const auto found = resources.strings.find(want.id);
        if (found == resources.strings.end()) {
            ADD_FAILURE() << "no such string";
        } else {
            EXPECT_EQ(U8(found->second), U8(want.text));
        }
    }
}

}  // namespace rc
