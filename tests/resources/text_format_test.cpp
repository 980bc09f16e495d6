// Resource texts used as formats take only the arguments they are given, of the right kind.
#include <gtest/gtest.h>

#include "base/text.h"
#include "resources/text_format.h"

namespace vs::resources {
namespace {

TEST(FormatText, SubstitutesOnlyMatchingArguments) {
    struct Case {
        std::u16string format;
        std::u16string expected;
    };
    const std::u16string name = u"Sword";
    const Case withNameAndNumber[] = {
        {u"%s: %d", u"Sword: 42"},
        {u"%d %s", u"%d Sword"},                  // wrong kind: copied, the text still fits %s
        {u"%s %s %s", u"Sword %s %s"},            // more directives than a matching argument
        {u"100% sure, %s", u"100% sure, Sword"},  // a blank is no flag: "% s" is plain text
        {u"50%% off %s", u"50% off Sword"},
        {u"%n%p%s", u"%n%pSword"},
        {u"%8s|%-8s|", u"   Sword|%-8s|"},  // the number is not a text
        {u"%.3s", u"Swo"},
        {u"%s%", u"Sword%"},
        {u"%999999s%s", u"%999999sSword"},  // too wide: copied, and takes nothing
        {u"%ls and %lld", u"Sword and 42"},
        {u"", u""},
    };
    for (const auto& c : withNameAndNumber) {
        SCOPED_TRACE(base::utf16ToUtf8(c.format));
        EXPECT_EQ(FormatText(c.format, {name, 42}), c.expected);
    }
    const Case numbers[] = {
        {u"%02d:%02d", u"07:05"},   {u"%3u", u"  7"},         {u"%x %X", u"7 5"},
        {u"%c%c", u"\u0007\u0005"}, {u"%d %d %d", u"7 5 %d"},
    };
    for (const auto& c : numbers) {
        SCOPED_TRACE(base::utf16ToUtf8(c.format));
        EXPECT_EQ(FormatText(c.format, {7, 5}), c.expected);
    }
    EXPECT_EQ(FormatText(u"%u %d", {-1, int64_t(-5)}), u"4294967295 -5");
    EXPECT_EQ(FormatText(u"%c: %s", {int('a'), u"Axe"}), u"a: Axe");
    EXPECT_EQ(FormatText(u"%s", {}), u"%s");
}

TEST(FormatText, ListsTheDirectivesItReads) {
    EXPECT_EQ(FormatDirectives(u"%s: %d"), "sd");
    EXPECT_EQ(FormatDirectives(u"100%% of %5.2s%"), "s");
    EXPECT_EQ(FormatDirectives(u"%n %q plain"), "");
    EXPECT_EQ(FormatDirectives(u"%02u/%04u"), "uu");
}

}  // namespace
}  // namespace vs::resources
