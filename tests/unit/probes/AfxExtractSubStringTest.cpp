#include <gtest/gtest.h>

#include "framework/AfxExtractSubString.h"

namespace {

struct Case {
    const char16_t* text;
    int index;
    BOOL found;
    const char16_t* piece;
};

TEST(AfxExtractSubString, PicksPieceByIndexAndRefusesMissingOnes) {
    const Case cases[] = {
        {u"", 0, TRUE, u""},  // an empty text still has piece 0
        {u"", 1, FALSE, u""},
        {u"alpha", 0, TRUE, u"alpha"},  // no separator: the whole text
        {u"alpha", 1, FALSE, u""},
        {u"a\nb\nc", 1, TRUE, u"b"},
        {u"a\nb\nc", 2, TRUE, u"c"},  // the last piece runs to the end
        {u"a\nb\nc", 3, FALSE, u""},
        {u"a\n", 1, TRUE, u""},  // after the last separator: an empty piece that exists
        {u"a\n", 2, FALSE, u""},
        {u"\n\n", 1, TRUE, u""},
        {u"a\r\nb", 0, TRUE, u"a\r"},  // a carriage return stays with its line
        {u"a\nb", -1, FALSE, u""},
    };
    for (const Case& c : cases) {
        CString piece = u"left over";
        BOOL found = AfxExtractSubString(piece, c.text, c.index);
        SCOPED_TRACE(CString(c.text).ToUtf8() + " #" + std::to_string(c.index));
        EXPECT_EQ(found, c.found);
        EXPECT_EQ(piece, c.piece);
    }
}

TEST(AfxExtractSubString, OtherSeparatorAndSameStringAsSource) {
    CString piece;
    EXPECT_EQ(AfxExtractSubString(piece, u"x,y\nz,w", 1, u','), TRUE);
    EXPECT_EQ(piece, u"y\nz");

    CString text = u"first\nsecond";
    EXPECT_EQ(AfxExtractSubString(text, text, 1), TRUE);
    EXPECT_EQ(text, u"second");
}

}  // namespace
