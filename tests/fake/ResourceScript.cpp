#include "ResourceScript.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "framework/CString.h"

namespace rc {
namespace {

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
    std::fprintf(stderr, "resource script %s: %s\n", where.c_str(), what.c_str());
    std::abort();
}

// The Windows numbers our scripts name, beside those of resource.h.
const std::map<std::string, long long>& Predefined() {
    static const std::map<std::string, long long> names = {
        {"IDOK", 1},
        {"IDCANCEL", 2},
        {"IDABORT", 3},
        {"IDRETRY", 4},
        {"IDIGNORE", 5},
        {"IDYES", 6},
        {"IDNO", 7},
        {"IDC_STATIC", -1},
        {"WS_OVERLAPPED", 0},
        {"WS_POPUP", 0x80000000LL},
        {"WS_CHILD", 0x40000000},
        {"WS_MINIMIZE", 0x20000000},
        {"WS_VISIBLE", 0x10000000},
        {"WS_DISABLED", 0x08000000},
        {"WS_CLIPSIBLINGS", 0x04000000},
        {"WS_CLIPCHILDREN", 0x02000000},
        {"WS_MAXIMIZE", 0x01000000},
        {"WS_CAPTION", 0x00C00000},
        {"WS_BORDER", 0x00800000},
        {"WS_DLGFRAME", 0x00400000},
        {"WS_VSCROLL", 0x00200000},
        {"WS_HSCROLL", 0x00100000},
        {"WS_SYSMENU", 0x00080000},
        {"WS_THICKFRAME", 0x00040000},
        {"WS_GROUP", 0x00020000},
        {"WS_TABSTOP", 0x00010000},
        {"WS_MINIMIZEBOX", 0x00020000},
        {"WS_MAXIMIZEBOX", 0x00010000},
        {"WS_EX_DLGMODALFRAME", 0x1},
        {"WS_EX_TOPMOST", 0x8},
        {"WS_EX_CLIENTEDGE", 0x200},
        {"WS_EX_STATICEDGE", 0x20000},
        {"WS_EX_APPWINDOW", 0x40000},
        {"DS_3DLOOK", 0x4},
        {"DS_FIXEDSYS", 0x8},
        {"DS_SETFONT", 0x40},
        {"DS_MODALFRAME", 0x80},
        {"DS_SETFOREGROUND", 0x200},
        {"DS_CENTER", 0x800},
        {"DS_SHELLFONT", 0x48},
        {"BS_PUSHBUTTON", 0},
        {"BS_DEFPUSHBUTTON", 1},
        {"BS_CHECKBOX", 2},
        {"BS_AUTOCHECKBOX", 3},
        {"BS_RADIOBUTTON", 4},
        {"BS_3STATE", 5},
        {"BS_AUTO3STATE", 6},
        {"BS_GROUPBOX", 7},
        {"BS_AUTORADIOBUTTON", 9},
        {"SS_LEFT", 0},
        {"SS_CENTER", 1},
        {"SS_RIGHT", 2},
        {"SS_ICON", 3},
        {"SS_LEFTNOWORDWRAP", 0xC},
        {"SS_NOPREFIX", 0x80},
        {"SS_NOTIFY", 0x100},
        {"SS_CENTERIMAGE", 0x200},
        {"SS_SUNKEN", 0x1000},
        {"ES_LEFT", 0},
        {"ES_CENTER", 1},
        {"ES_RIGHT", 2},
        {"ES_MULTILINE", 4},
        {"ES_PASSWORD", 0x20},
        {"ES_AUTOVSCROLL", 0x40},
        {"ES_AUTOHSCROLL", 0x80},
        {"ES_READONLY", 0x800},
        {"ES_WANTRETURN", 0x1000},
        {"LANG_NEUTRAL", 0},
        {"SUBLANG_NEUTRAL", 0},
        {"SUBLANG_DEFAULT", 1},
        {"LANG_ENGLISH", 0x09},
        {"SUBLANG_ENGLISH_US", 1},
        {"LANG_CHINESE", 0x04},
        {"SUBLANG_CHINESE_SIMPLIFIED", 0x02},
        {"RT_MANIFEST", 24},
        {"CREATEPROCESS_MANIFEST_RESOURCE_ID", 1},
        {"VS_VERSION_INFO", 1},
    };
    return names;
}

constexpr uint32_t kChildVisible = 0x40000000 | 0x10000000;

struct Token {
    enum class Kind { Ident, Number, String, Punct, End } kind = Kind::End;
    std::string text;  // identifier or punctuation
    long long number = 0;
    std::u16string string;
    std::string where;
};

std::string ReadFile(const std::string& path, const std::string& where) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Fail(where, "cannot read " + path);
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }

class Reader {
public:
    explicit Reader(Resources& out) : m_out(out) {
        for (const auto& [name, value] : Predefined()) {
            m_out.symbols[name] = value;
        }
    }

    // Appends the tokens of a script, with those of the scripts it includes.
    void Script(const std::string& path) {
        const std::string text = ReadFile(path, path);
        size_t i = 0;
        int line = 1;
        bool lineStart = true;
        auto where = [&] { return path + ":" + std::to_string(line); };
        while (i < text.size()) {
            const char c = text[i];
            if (c == '\n') {
                ++line;
                ++i;
                lineStart = true;
                continue;
            }
            if (c == ' ' || c == '\t' || c == '\r') {
                ++i;
                continue;
            }
            if (text.compare(i, 2, "//") == 0) {
                while (i < text.size() && text[i] != '\n') ++i;
                continue;
            }
            if (text.compare(i, 2, "/*") == 0) {
                const size_t end = text.find("*/", i + 2);
                for (size_t k = i; k < (end == std::string::npos ? text.size() : end); ++k) {
                    if (text[k] == '\n') ++line;
                }
                i = end == std::string::npos ? text.size() : end + 2;
                continue;
            }
            if (c == '#' && lineStart) {
                const size_t end = text.find('\n', i);
                const std::string directive =
                    text.substr(i, (end == std::string::npos ? text.size() : end) - i);
                Directive(directive, path, where());
                i = end == std::string::npos ? text.size() : end;
                continue;
            }
            lineStart = false;
            Token token;
            token.where = where();
            if (c == '"' || (c == 'L' && i + 1 < text.size() && text[i + 1] == '"')) {
                if (c == 'L') ++i;
                ++i;
                std::string bytes;
                while (true) {
                    if (i >= text.size()) Fail(token.where, "unterminated string");
                    const char d = text[i];
                    if (d == '"') {
                        if (i + 1 < text.size() && text[i + 1] == '"') {
                            bytes += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (d == '\\' && i + 1 < text.size()) {
                        const char e = text[i + 1];
                        bytes += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
                        i += 2;
                        continue;
                    }
                    if (d == '\n') ++line;
                    bytes += d;
                    ++i;
                }
                token.kind = Token::Kind::String;
                token.string = CString::FromUtf8(bytes).Str();
            } else if (c >= '0' && c <= '9') {
                size_t used = 0;
                token.kind = Token::Kind::Number;
                token.number = std::stoll(text.substr(i, 24), &used, 0);
                i += used;
                while (i < text.size() &&
                       (text[i] == 'L' || text[i] == 'l' || text[i] == 'U' || text[i] == 'u')) {
                    ++i;
                }
            } else if (IsIdentStart(c)) {
                const size_t start = i;
                while (i < text.size() && IsIdentChar(text[i])) ++i;
                token.kind = Token::Kind::Ident;
                token.text = text.substr(start, i - start);
            } else {
                token.kind = Token::Kind::Punct;
                token.text = std::string(1, c);
                ++i;
            }
            m_tokens.push_back(std::move(token));
        }
    }

    void Parse() {
        Token end;
        end.kind = Token::Kind::End;
        end.where = "end of script";
        m_tokens.push_back(end);
        while (Peek().kind != Token::Kind::End) {
            Statement();
        }
    }

private:
    void Directive(const std::string& line, const std::string& path, const std::string& where) {
        std::istringstream in(line.substr(1));
        std::string word;
        in >> word;
        if (word == "include") {
            std::string rest;
            std::getline(in, rest);
            const size_t open = rest.find('"');
            if (open == std::string::npos) {
                return;  // <windows.h>: its numbers are in Predefined()
            }
            const size_t close = rest.find('"', open + 1);
            const std::string name = rest.substr(open + 1, close - open - 1);
            const std::string full = DirectoryOf(path) + "/" + name;
            if (name.size() > 2 && name.compare(name.size() - 2, 2, ".h") == 0) {
                Header(full);
            } else {
                Script(full);
            }
        } else if (word == "define") {
            Define(line, where);
        }
        // #pragma code_page and the like change nothing here: our scripts are UTF-8.
    }

    void Define(const std::string& line, const std::string& where) {
        std::istringstream in(line.substr(1));
        std::string word, name, value;
        in >> word >> name;
        std::getline(in, value);
        const size_t first = value.find_first_not_of(" \t(");
        if (name.empty() || first == std::string::npos) {
            return;
        }
        try {
            m_out.symbols[name] = std::stoll(value.substr(first), nullptr, 0);
        } catch (...) {
            Fail(where, "not a number: " + line);
        }
    }

    void Header(const std::string& path) {
        std::istringstream in(ReadFile(path, path));
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            ++number;
            const size_t first = line.find_first_not_of(" \t");
            if (first != std::string::npos && line.compare(first, 7, "#define") == 0) {
                Define(line.substr(first), path + ":" + std::to_string(number));
            }
        }
    }

    const Token& Peek(size_t ahead = 0) const {
        const size_t at = m_pos + ahead;
        return m_tokens[at < m_tokens.size() ? at : m_tokens.size() - 1];
    }
    const Token& Next() {
        const Token& token = Peek();
        if (token.kind != Token::Kind::End) ++m_pos;
        return token;
    }
    bool IsWord(const Token& token, const char* word) const {
        return token.kind == Token::Kind::Ident && token.text == word;
    }
    bool IsPunct(const Token& token, const char* punct) const {
        return token.kind == Token::Kind::Punct && token.text == punct;
    }
    bool IsBegin(const Token& token) const { return IsWord(token, "BEGIN") || IsPunct(token, "{"); }
    bool IsEnd(const Token& token) const { return IsWord(token, "END") || IsPunct(token, "}"); }
    bool Comma() {
        if (IsPunct(Peek(), ",")) {
            Next();
            return true;
        }
        return false;
    }
    void Expect(bool ok, const Token& token, const std::string& what) {
        if (!ok) Fail(token.where, "expected " + what);
    }

    // Bits set and bits cleared (NOT) by a style expression.
    struct Bits {
        long long set = 0;
        long long cleared = 0;
    };

    long long Primary() {
        const Token& token = Next();
        if (token.kind == Token::Kind::Number) return token.number;
        if (IsPunct(token, "-")) return -Primary();
        if (IsPunct(token, "(")) {
            const Bits bits = Expression();
            Expect(IsPunct(Next(), ")"), token, ")");
            return bits.set;
        }
        if (token.kind == Token::Kind::Ident) {
            const auto found = m_out.symbols.find(token.text);
            if (found == m_out.symbols.end()) Fail(token.where, "unknown name " + token.text);
            return found->second;
        }
        Fail(token.where, "expected a number");
    }

    Bits Expression() {
        Bits bits;
        while (true) {
            if (IsWord(Peek(), "NOT")) {
                Next();
                bits.cleared |= Primary();
            } else {
                bits.set |= Primary();
            }
            if (IsPunct(Peek(), "|") || IsPunct(Peek(), "+")) {
                Next();
                continue;
            }
            return bits;
        }
    }

    long long Number() { return Expression().set; }

    std::u16string String() {
        const Token& token = Next();
        Expect(token.kind == Token::Kind::String, token, "a string");
        return token.string;
    }

    void SkipBlock() {
        while (!IsBegin(Peek())) {
            Expect(Peek().kind != Token::Kind::End, Peek(), "BEGIN");
            Next();
        }
        int depth = 0;
        do {
            const Token& token = Next();
            Expect(token.kind != Token::Kind::End, token, "END");
            if (IsBegin(token)) ++depth;
            if (IsEnd(token)) --depth;
        } while (depth > 0);
    }

    void Statement() {
        const Token& first = Peek();
        if (IsWord(first, "LANGUAGE")) {
            Next();
            const long long primary = Number();
            Comma();
            const long long sub = Number();
            m_language = static_cast<uint16_t>(primary | (sub << 10));
            return;
        }
        if (IsWord(first, "STRINGTABLE")) {
            Next();
            while (!IsBegin(Peek())) Next();
            Next();
            while (!IsEnd(Peek())) {
                const long long id = Number();
                Comma();
                m_out.strings[static_cast<uint32_t>(id)] = String();
            }
            Next();
            return;
        }
        const long long id = Number();
        const Token& type = Next();
        if (IsWord(type, "DIALOGEX") || IsWord(type, "DIALOG")) {
            DialogStatement(static_cast<uint32_t>(id));
        } else if (IsWord(type, "MENU") || IsWord(type, "MENUEX")) {
            Menu menu;
            menu.id = static_cast<uint32_t>(id);
            while (!IsBegin(Peek())) Next();
            Next();
            menu.items = MenuItems();
            m_out.menus[menu.id] = std::move(menu);
        } else if (IsWord(type, "ICON")) {
            m_out.icons[static_cast<uint32_t>(id)] = CString(String()).ToUtf8();
        } else if (Peek().kind == Token::Kind::String) {
            Next();  // a resource from a file: the manifest and the like
        } else {
            SkipBlock();  // VERSIONINFO and other blocks
        }
    }

    std::vector<MenuItem> MenuItems() {
        std::vector<MenuItem> items;
        while (!IsEnd(Peek())) {
            const Token& keyword = Next();
            MenuItem item;
            if (IsWord(keyword, "POPUP")) {
                item.text = String();
                MenuOptions(item);
                Expect(IsBegin(Next()), keyword, "BEGIN of a popup");
                item.items = MenuItems();
            } else if (IsWord(keyword, "MENUITEM")) {
                if (IsWord(Peek(), "SEPARATOR")) {
                    Next();
                    item.separator = true;
                } else {
                    item.text = String();
                    Comma();
                    item.id = static_cast<uint32_t>(Number());
                    MenuOptions(item);
                }
            } else {
                Fail(keyword.where, "expected POPUP or MENUITEM");
            }
            items.push_back(std::move(item));
        }
        Next();
        return items;
    }

    void MenuOptions(MenuItem& item) {
        while (true) {
            if (Comma()) continue;
            const Token& token = Peek();
            if (IsWord(token, "GRAYED") || IsWord(token, "INACTIVE")) {
                item.grayed = true;
            } else if (!(IsWord(token, "CHECKED") || IsWord(token, "HELP") ||
                         IsWord(token, "MENUBREAK") || IsWord(token, "MENUBARBREAK"))) {
                return;
            }
            Next();
        }
    }

    void DialogStatement(uint32_t id) {
        Dialog dialog;
        dialog.id = id;
        dialog.language = m_language;
        dialog.x = static_cast<int>(Number());
        Comma();
        dialog.y = static_cast<int>(Number());
        Comma();
        dialog.cx = static_cast<int>(Number());
        Comma();
        dialog.cy = static_cast<int>(Number());
        if (Comma()) Number();  // help identifier
        while (!IsBegin(Peek())) {
            const Token& option = Next();
            if (IsWord(option, "STYLE")) {
                dialog.style = static_cast<uint32_t>(Expression().set);
            } else if (IsWord(option, "EXSTYLE")) {
                dialog.exStyle = static_cast<uint32_t>(Expression().set);
            } else if (IsWord(option, "CAPTION")) {
                dialog.caption = String();
            } else if (IsWord(option, "MENU")) {
                dialog.menuId = static_cast<uint32_t>(Number());
            } else if (IsWord(option, "FONT")) {
                dialog.fontSize = static_cast<int>(Number());
                Comma();
                dialog.fontName = String();
                if (Comma()) dialog.fontWeight = static_cast<int>(Number());
                if (Comma()) dialog.fontItalic = Number() != 0;
                if (Comma()) dialog.fontCharset = static_cast<int>(Number());
            } else if (IsWord(option, "LANGUAGE")) {
                Number();
                Comma();
                Number();
            } else {
                Fail(option.where, "unknown dialog option " + option.text);
            }
        }
        Next();
        while (!IsEnd(Peek())) {
            dialog.controls.push_back(ControlStatement());
        }
        Next();
        m_out.dialogs[id] = std::move(dialog);
    }

    Control ControlStatement() {
        const Token& keyword = Next();
        // `base` is always set; `unlessStyled` only when the statement gives no style, as the
        // resource compiler does it.
        struct Kind {
            const char* word;
            const char16_t* className;
            uint32_t base;
            uint32_t unlessStyled;
            bool hasText;
        };
        constexpr uint32_t kGroup = 0x00020000;
        constexpr uint32_t kTabStop = 0x00010000;
        constexpr uint32_t kBorder = 0x00800000;
        static const Kind kinds[] = {
            {"LTEXT", u"Static", 0x0, kGroup, true},
            {"CTEXT", u"Static", 0x1, kGroup, true},
            {"RTEXT", u"Static", 0x2, kGroup, true},
            {"PUSHBUTTON", u"Button", 0x0 | kTabStop, 0, true},
            {"DEFPUSHBUTTON", u"Button", 0x1 | kTabStop, 0, true},
            {"GROUPBOX", u"Button", 0x7, 0, true},
            {"CHECKBOX", u"Button", 0x2 | kTabStop, 0, true},
            {"AUTOCHECKBOX", u"Button", 0x3 | kTabStop, 0, true},
            {"RADIOBUTTON", u"Button", 0x4, 0, true},
            {"AUTORADIOBUTTON", u"Button", 0x9, 0, true},
            {"EDITTEXT", u"Edit", 0x0 | kBorder | kTabStop, 0, false},
        };
        Control control;
        if (IsWord(keyword, "CONTROL")) {
            control.text = TextOrName();
            Comma();
            control.id = static_cast<int>(Number());
            Comma();
            control.className = ClassName();
            Comma();
            const Bits style = Expression();
            control.style = static_cast<uint32_t>((kChildVisible | style.set) & ~style.cleared);
            Comma();
            Position(control);
            if (Comma()) control.exStyle = static_cast<uint32_t>(Number());
            return control;
        }
        if (IsWord(keyword, "ICON")) {
            control.className = u"Static";
            control.text = TextOrName();
            Comma();
            control.id = static_cast<int>(Number());
            Comma();
            control.x = static_cast<int>(Number());
            Comma();
            control.y = static_cast<int>(Number());
            uint32_t style = kChildVisible | 0x3;
            if (Comma()) {
                // The resource compiler drops the size of an ICON statement.
                Number();
                Comma();
                Number();
                if (Comma()) {
                    const Bits bits = Expression();
                    style = static_cast<uint32_t>((style | bits.set) & ~bits.cleared);
                    if (Comma()) control.exStyle = static_cast<uint32_t>(Number());
                }
            }
            control.style = style;
            return control;
        }
        for (const Kind& kind : kinds) {
            if (!IsWord(keyword, kind.word)) continue;
            control.className = kind.className;
            if (kind.hasText) {
                control.text = TextOrName();
                Comma();
            }
            control.id = static_cast<int>(Number());
            Comma();
            Position(control);
            uint32_t style = kChildVisible | kind.base;
            if (Comma()) {
                const Bits bits = Expression();
                style = static_cast<uint32_t>((style | bits.set) & ~bits.cleared);
                if (Comma()) control.exStyle = static_cast<uint32_t>(Number());
            } else {
                style |= kind.unlessStyled;
            }
            control.style = style;
            return control;
        }
        Fail(keyword.where, "unknown control statement " + keyword.text);
    }

    std::u16string TextOrName() {
        if (Peek().kind == Token::Kind::String) return String();
        return CString::FromUtf8(std::to_string(Number())).Str();
    }

    std::u16string ClassName() {
        std::u16string name;
        if (Peek().kind == Token::Kind::String) {
            name = String();
        } else {
            name = CString::FromUtf8(Next().text).Str();
        }
        std::u16string lower;
        for (char16_t c : name) lower += (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
        if (lower == u"button") return u"Button";
        if (lower == u"static") return u"Static";
        if (lower == u"edit") return u"Edit";
        return name;
    }

    void Position(Control& control) {
        control.x = static_cast<int>(Number());
        Comma();
        control.y = static_cast<int>(Number());
        Comma();
        control.cx = static_cast<int>(Number());
        Comma();
        control.cy = static_cast<int>(Number());
    }

    Resources& m_out;
    std::vector<Token> m_tokens;
    size_t m_pos = 0;
    uint16_t m_language = 0;
};

std::string ProgramScript() {
    // This file lies in tests/fake/ of the source tree; the scripts in res/.
    std::string here = __FILE__;
    const std::string dir = DirectoryOf(DirectoryOf(DirectoryOf(here)));
    return dir + "/res/Quellor.rc";
}

}  // namespace

Resources Load(const std::string& scriptPath) {
    Resources resources;
    Reader reader(resources);
    reader.Script(scriptPath);
    reader.Parse();
    return resources;
}

const Resources& Program() {
    static const Resources program = Load(ProgramScript());
    return program;
}

}  // namespace rc
