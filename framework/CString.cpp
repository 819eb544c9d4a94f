#include "CString.h"

#include <cassert>

#include "platform/CodePage.h"
#include "platform/Platform.h"

CString::CString(const char16_t* text) : m_text(text ? text : u"") {}

CString::CString(const char16_t* text, int length)
    : m_text(text, static_cast<size_t>(length < 0 ? 0 : length)) {}

CString CString::FromUtf8(std::string_view utf8) {
    std::u16string out;
    size_t i = 0;
    while (i < utf8.size()) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        char32_t cp;
        size_t extra;
        if (c < 0x80) {
            cp = c;
            extra = 0;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            extra = 3;
        } else {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        bool ok = true;
        for (size_t k = 1; k <= extra; ++k) {
            if (i + k >= utf8.size()) {
                ok = false;
                break;
            }
            unsigned char cc = static_cast<unsigned char>(utf8[i + k]);
            if ((cc & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!ok) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        i += extra + 1;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return CString(std::move(out));
}

std::string CString::ToUtf8() const {
    std::string out;
    for (size_t i = 0; i < m_text.size(); ++i) {
        char32_t cp = m_text[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < m_text.size() && m_text[i + 1] >= 0xDC00 &&
            m_text[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (m_text[i + 1] - 0xDC00);
            ++i;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

CString& CString::operator+=(const CString& other) {
    m_text += other.m_text;
    return *this;
}

CString& CString::operator+=(const char16_t* other) {
    if (other) m_text += other;
    return *this;
}

CString& CString::operator+=(char16_t unit) {
    m_text += unit;
    return *this;
}

CString& CString::Append(const char16_t* units, int count) {
    if (units && count > 0) m_text.append(units, static_cast<size_t>(count));
    return *this;
}

int CString::Find(const CString& what, int start) const {
    if (start < 0 || start > GetLength()) return -1;
    size_t at = m_text.find(what.m_text, static_cast<size_t>(start));
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(char16_t unit, int start) const {
    if (start < 0 || start > GetLength()) return -1;
    size_t at = m_text.find(unit, static_cast<size_t>(start));
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

CString CString::Left(int count) const {
    if (count <= 0) return CString();
    return CString(m_text.substr(0, static_cast<size_t>(count)));
}

CString CString::Mid(int first) const {
    if (first < 0) first = 0;
    if (first >= GetLength()) return CString();
    return CString(m_text.substr(static_cast<size_t>(first)));
}

CString CString::Mid(int first, int count) const {
    if (first < 0) first = 0;
    if (first >= GetLength() || count <= 0) return CString();
    return CString(m_text.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

// The code units that the Windows wide-character class test counts as spaces: below U+0100
// the C0 separators, blank, NEL and no-break space; above, what the platform's character-type
// table marks C1_SPACE, so that a key trims as Windows itself would trim it.
bool CString::IsSpace(char16_t c) {
    if (c < 0x0100) {
        return (c >= 0x0009 && c <= 0x000D) || c == 0x0020 || c == 0x0085 || c == 0x00A0;
    }
    uint16_t type = 0;
    return port::codePage().GetStringType(port::kCtCtype1, &c, 1, &type) &&
           (type & port::kC1Space) != 0;
}

CString& CString::Trim() {
    size_t first = 0;
    while (first < m_text.size() && IsSpace(m_text[first])) ++first;
    size_t last = m_text.size();
    while (last > first && IsSpace(m_text[last - 1])) --last;
    m_text = m_text.substr(first, last - first);
    return *this;
}

void CString::FormatList(const char16_t* format, const FormatArg* args, size_t count) {
    std::u16string out;
    size_t next = 0;
    for (const char16_t* p = format ? format : u""; *p; ++p) {
        if (*p != u'%') {
            out += *p;
            continue;
        }
        char16_t directive = p[1];
        if (directive == 0) {
            out += u'%';
            break;
        }
        ++p;
        if (directive == u'%') {
            out += u'%';
            continue;
        }
        assert(next < count && "more directives than arguments");
        const FormatArg& arg = next < count ? args[next] : args[count];
        ++next;
        switch (directive) {
            case u's':
                assert(arg.kind == FormatArg::Kind::Text);
                out += arg.text;
                break;
            case u'd':
            case u'u': {
                unsigned long long magnitude;
                if (arg.kind == FormatArg::Kind::Signed) {
                    if (arg.signedValue < 0) out += u'-';
                    magnitude = arg.signedValue < 0
                                    ? 0ULL - static_cast<unsigned long long>(arg.signedValue)
                                    : static_cast<unsigned long long>(arg.signedValue);
                } else {
                    assert(arg.kind == FormatArg::Kind::Unsigned);
                    magnitude = arg.unsignedValue;
                }
                char16_t digits[24];
                int n = 0;
                do {
                    digits[n++] = static_cast<char16_t>(u'0' + magnitude % 10);
                    magnitude /= 10;
                } while (magnitude != 0);
                while (n > 0) out += digits[--n];
                break;
            }
            default:
                assert(false && "unsupported format directive");
                break;
        }
    }
    m_text = std::move(out);
}
