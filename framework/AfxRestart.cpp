#include "framework/AfxRestart.h"

#include <string>

namespace {

constexpr std::u16string_view kRestartOption = u"/RestartByRestartManager:";

void AppendHex(std::u16string& out, uint64_t value, int digits) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
        out += kDigits[(value >> shift) & 0xF];
    }
}

bool IsBlank(char16_t unit) { return unit == u' ' || unit == u'\t'; }

// The command line after the program name, the way the C runtime splits off argv[0].
std::u16string Arguments(const std::u16string& line) {
    size_t pos = 0;
    if (!line.empty() && line[0] == u'"') {
        const size_t close = line.find(u'"', 1);
        pos = close == std::u16string::npos ? line.size() : close + 1;
    }
    while (pos < line.size() && !IsBlank(line[pos])) {
        ++pos;
    }
    while (pos < line.size() && IsBlank(line[pos])) {
        ++pos;
    }
    return line.substr(pos);
}

}  // namespace

CString AfxGuidText(const port::Guid& guid) {
    std::u16string text = u"{";
    AppendHex(text, guid.data1, 8);
    text += u'-';
    AppendHex(text, guid.data2, 4);
    text += u'-';
    AppendHex(text, guid.data3, 4);
    text += u'-';
    for (int i = 0; i < 8; ++i) {
        if (i == 2) {
            text += u'-';
        }
        AppendHex(text, guid.data4[i], 2);
    }
    text += u'}';
    return CString(text);
}

CString AfxRestartCommandLine(const CString& processCommandLine, const port::Guid& guid) {
    std::u16string args = Arguments(processCommandLine.Str());
    for (size_t at = args.find(kRestartOption); at != std::u16string::npos;
         at = args.find(kRestartOption, at)) {
        if (at != 0 && !IsBlank(args[at - 1])) {
            at += kRestartOption.size();
            continue;
        }
        size_t end = at;
        while (end < args.size() && !IsBlank(args[end])) {
            ++end;
        }
        // Together with the blanks before it, so no double blank remains.
        size_t begin = at;
        while (begin > 0 && IsBlank(args[begin - 1])) {
            --begin;
        }
        args.erase(begin, end - begin);
        at = begin;
    }
    return CString(args) + u" " + CString(std::u16string(kRestartOption)) + AfxGuidText(guid);
}
