// The text type of the whole system: UTF-16 code units on every build, so that decoding,
// trimming and matching behave the same natively and on Windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

class CString {
public:
    CString() = default;
    CString(const char16_t* text);  // NOLINT: literals convert, as they do in the dialog framework
    CString(const char16_t* text, int length);
    CString(std::u16string text) : m_text(std::move(text)) {}  // NOLINT
    CString(std::u16string_view text) : m_text(text) {}        // NOLINT

    // UTF-8 in and out, for tests and for the few places that meet byte text.
    static CString FromUtf8(std::string_view utf8);
    std::string ToUtf8() const;

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    const char16_t* GetString() const { return m_text.c_str(); }
    const std::u16string& Str() const { return m_text; }
    char16_t GetAt(int index) const { return m_text[static_cast<size_t>(index)]; }
    char16_t operator[](int index) const { return GetAt(index); }

    CString& operator+=(const CString& other);
    CString& operator+=(const char16_t* other);
    CString& operator+=(char16_t unit);
    CString& Append(const char16_t* units, int count);

    // Position of the first occurrence of `what` at or after `start`, or -1.
    int Find(const CString& what, int start = 0) const;
    int Find(char16_t unit, int start = 0) const;
    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;

    // Removes leading and trailing white space, as the wide-character class test sees it.
    CString& Trim();
    static bool IsSpace(char16_t unit);

    // printf-style filling: %s inserts a text unchanged, %d and %u a number in decimal,
    // %% a percent sign. Nothing is escaped.
    template <typename... Args>
    void Format(const char16_t* format, const Args&... args) {
        const FormatArg list[] = {FormatArg(args)..., FormatArg()};
        FormatList(format, list, sizeof...(Args));
    }

    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char16_t* b) { return a.m_text == b; }
    friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }
    friend CString operator+(CString a, const CString& b) { return a += b; }
    friend CString operator+(CString a, const char16_t* b) { return a += b; }
    friend CString operator+(const char16_t* a, const CString& b) { return CString(a) += b; }

private:
    struct FormatArg {
        enum class Kind { None, Text, Signed, Unsigned } kind = Kind::None;
        std::u16string_view text;
        long long signedValue = 0;
        unsigned long long unsignedValue = 0;

        FormatArg() = default;
        FormatArg(const CString& s) : kind(Kind::Text), text(s.m_text) {}
        FormatArg(const char16_t* s) : kind(Kind::Text), text(s ? s : u"") {}
        template <typename T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
        FormatArg(T v) {
            if constexpr (std::is_signed_v<T>) {
                kind = Kind::Signed;
                signedValue = v;
            } else {
                kind = Kind::Unsigned;
                unsignedValue = v;
            }
        }
    };
    void FormatList(const char16_t* format, const FormatArg* args, size_t count);

    std::u16string m_text;
};
