// Our own resource scripts (res/*.rc) read back for the tests: the dialog templates with their
// controls, the menus and the string table, so that the headless dialogs show what the real
// ones show and nothing keeps a second copy of a template.
//
// It reads the subset our scripts use: #include of headers (their #define NAME number lines)
// and of other scripts, LANGUAGE, DIALOGEX with STYLE, EXSTYLE, CAPTION, MENU and FONT, the
// control statements DEFPUSHBUTTON, PUSHBUTTON, LTEXT, CTEXT, RTEXT, GROUPBOX, EDITTEXT,
// ICON and CONTROL, MENU with POPUP and MENUITEM, STRINGTABLE, ICON files; VERSIONINFO and
// other resources are skipped. Style expressions are names and numbers joined by | and NOT.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace rc {

struct Control {
    int id = -1;
    std::u16string className;  // "Button", "Static", "Edit"
    std::u16string text;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
};

struct Dialog {
    uint32_t id = 0;
    uint16_t language = 0;  // e.g. 0x0804
    std::u16string caption;
    uint32_t menuId = 0;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    int fontSize = 0;
    std::u16string fontName;
    int fontWeight = 0;
    bool fontItalic = false;
    int fontCharset = 1;  // DEFAULT_CHARSET, what the resource compiler writes when FONT gives none
    int x = 0, y = 0, cx = 0, cy = 0;
    std::vector<Control> controls;
};

struct MenuItem {
    std::u16string text;
    uint32_t id = 0;
    bool separator = false;
    bool grayed = false;
    std::vector<MenuItem> items;  // a popup's items
};

struct Menu {
    uint32_t id = 0;
    std::vector<MenuItem> items;
};

struct Resources {
    std::map<uint32_t, Dialog> dialogs;
    std::map<uint32_t, Menu> menus;
    std::map<uint32_t, std::u16string> strings;
    std::map<uint32_t, std::string> icons;  // id -> file name
    std::map<std::string, long long> symbols;
};

// Reads a script with what it includes; a fault of the script (an unknown name, a statement
// outside the subset) ends the test run with a message naming file and line.
Resources Load(const std::string& scriptPath);

// The program's own resources, res/Quellor.rc, read once.
const Resources& Program();

}  // namespace rc
