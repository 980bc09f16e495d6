#include "base/text.h"

#include <gtest/gtest.h>

namespace vs::base {
namespace {

TEST(Utf, RoundTripsEveryPlane) {
    const std::u16string s = u"a\u00e9\u4e2d\U0001F600z";
    EXPECT_EQ(utf8ToUtf16(utf16ToUtf8(s)), s);
    EXPECT_EQ(utf16ToUtf8(u"\u00e9"), "\xC3\xA9");
}

TEST(Utf, MalformedInputBecomesReplacement) {
    struct Case {
        std::string in;
        std::u16string out;
    } cases[] = {
        {"\xC3", u"\uFFFD"},              // cut short
        {"\xC0\xAF", u"\uFFFD\uFFFD"},    // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // an encoded surrogate
        {"a\xFF" "b", u"a\uFFFDb"},
    };
    for (const auto& c : cases) EXPECT_EQ(utf8ToUtf16(c.in), c.out);
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(CodePage, Windows1252ByDefault) {
    const CodePage& cp = CodePage::current();
    EXPECT_TRUE(cp.valid());
    EXPECT_EQ(cp.encode(u"caf\u00e9"), "caf\xE9");
    EXPECT_EQ(cp.decode(std::string_view("caf\xE9\x80")), u"caf\u00e9\u20ac");
    // Outside the code page: one '?' per character, surrogate pairs included.
    EXPECT_EQ(cp.encode(u"a\u4e2d\U0001F600b"), "a??b");
}

TEST(CodePage, CutsOnCharacterBoundaries) {
    CodePage korean("949");
    ASSERT_TRUE(korean.valid());
    const std::u16string text = u"\uAC00\uAC00\uAC00";  // two bytes each
    EXPECT_EQ(korean.encode(text).size(), 6u);
    EXPECT_EQ(korean.encodeLimited(text, 5).size(), 4u);  // never half a character
    EXPECT_EQ(korean.decode(korean.encode(text)), text);
    // A lead byte without its trail byte at the end decodes to '?'.
    EXPECT_EQ(korean.decode(std::string_view("a\xB0")), u"a?");
}

TEST(CodePage, UnknownNameIsRejected) {
    EXPECT_FALSE(CodePage("no-such-code-page").valid());
    EXPECT_FALSE(CodePage::setCurrent("no-such-code-page"));
    EXPECT_TRUE(CodePage::current().valid());
}

}  // namespace
}  // namespace vs::base
