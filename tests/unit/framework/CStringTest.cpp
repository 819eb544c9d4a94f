#include "framework/CString.h"

#include <gtest/gtest.h>

#include "platform/Platform.h"
#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#else
#include "fake/FakeCodePage.h"
#endif

TEST(CStringFormat, FillsTextsAndNumbersUnchanged) {
    CString line;
    line.Format(u"wsl -d %s -u %s -e bash -c \"%s\"", CString(u"ROZivuvarud"), u"root",
                u"tail -f /dev/null");
    EXPECT_EQ(line, u"wsl -d ROZivuvarud -u root -e bash -c \"tail -f /dev/null\"");

    line.Format(u"code=%u, limit=%ums, %d%%", 4294967295u, 0u, -5);
    EXPECT_EQ(line, u"code=4294967295, limit=0ms, -5%");
}

TEST(CStringFormat, PercentSignsInsideArgumentsStay) {
    CString line;
    line.Format(u"[%s]", u"100% & %s");
    EXPECT_EQ(line, u"[100% & %s]");
}

// Above U+00FF the trim asks the platform's character-type table: natively the fake's copy of
// it, under Wine the real one.
class CStringTrim : public ::testing::Test {
protected:
    CStringTrim() : m_install(WithCodePage()) {}

private:
    static port::Platform WithCodePage() {
        port::Platform platform = port::Current();
#ifdef _WIN32
        platform.codePage = &win32::CodePage();
#else
        static FakeCodePage codePage;
        platform.codePage = &codePage;
#endif
        return platform;
    }
    port::ScopedInstall m_install;
};

TEST_F(CStringTrim, RemovesExactlyTheWideSpaceClass) {
    struct Case {
        const char16_t* in;
        const char16_t* out;
    } cases[] = {
        {u"", u""},
        {u" \t\r\n\v\f", u""},
        {u"\u3000\u00A0key\u0085\u2003", u"key"},
        {u"\u1680\u2000\u200A\u2028\u2029\u202F\u205Fkey\u3000", u"key"},
        {u"  a b  ", u"a b"},
        {u"\u200Bkey", u"\u200Bkey"},  // zero-width space is no space
        {u"\uFEFFkey", u"\uFEFFkey"},
        {u"\u001Fkey\u0084", u"\u001Fkey\u0084"},
    };
    for (const Case& c : cases) {
        CString s(c.in);
        EXPECT_EQ(s.Trim(), c.out) << CString(c.in).ToUtf8();
    }
}

TEST(CString, FindAndPieces) {
    CString s(u"abc src 172.1 x");
    EXPECT_EQ(s.Find(u"src "), 4);
    EXPECT_EQ(s.Find(u"zzz"), -1);
    EXPECT_EQ(s.Find(u' ', 8), 13);
    EXPECT_EQ(s.Mid(8), u"172.1 x");
    EXPECT_EQ(s.Mid(8, 5), u"172.1");
    EXPECT_EQ(s.Left(3), u"abc");
    EXPECT_EQ(s.Mid(99), u"");
}

TEST(CString, Utf8RoundTrip) {
    const char* text = "开放TCP - 8000 \xF0\x9F\x98\x80";
    EXPECT_EQ(CString::FromUtf8(text).ToUtf8(), text);
    EXPECT_EQ(CString::FromUtf8("开").GetLength(), 1);
}
