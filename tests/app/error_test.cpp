#include "app/error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "app/memory_man.h"
#include "app/version.h"

namespace vs::app {
namespace {

TEST(Error, TextsAndCaptions) {
    struct Case {
        std::u16string text, caption;
        std::u16string expectText, expectCaption;
    } cases[] = {
        {Win32Error(2).text(), Win32Error(2).caption(), u"Win32Error : (2)No such file or directory", u"Error"},
        {Win32Error(99999).text(), u"", u"Win32Error : 0d0001869F", u""},
        {MyError(u"boom").text(), MyError(u"boom").caption(), u"boom", u"Error"},
        {PasswordError(u"p").text(), PasswordError(u"p").caption(), u"p", u"Password Warning"},
        {FileError(std::string_view("CHAR.DAT")).text(), u"", u"File not found : CHAR.DAT", u""},
        {DDError(0x887601C2u).text(), u"", u"DirectDrawError: 0x887601C2", u""},
        {InternetError().text(), u"", u"General internet error", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.text, c.expectText);
        EXPECT_EQ(c.caption, c.expectCaption);
    }
}

TEST(Error, FileErrorKeepsSeventyEightCharacters) {
    std::string name(100, 'x');
    std::u16string text = FileError(std::string_view(name)).text();
    EXPECT_EQ(text.size(), 78u);
    EXPECT_EQ(text.substr(0, 17), u"File not found : ");
}

TEST(Error, TopLevelCatchersDescribeEverything) {
    auto describe = [](auto thrower) {
        try {
            thrower();
        } catch (...) {
            return describeCurrentException();
        }
        return CaughtError{};
    };
    EXPECT_EQ(describe([] { throw PasswordError(u"no"); }).caption, u"Password Warning");
    EXPECT_EQ(describe([] { throw std::bad_alloc(); }).text, Win32Error(ENOMEM).text());
    EXPECT_EQ(describe([] { throw 42; }).text, u"Unknown error");
}

TEST(MemoryMan, ExhaustionRaisesOutOfMemory) {
    try {
        // More than any machine has: the allocator says no.
        MemoryMan::allocate(size_t(1) << 62);
        FAIL() << "allocation succeeded";
    } catch (const Win32Error& e) {
        EXPECT_EQ(e.code(), ENOMEM);
    }
    void* p = MemoryMan::allocateZeroed(16);
    EXPECT_EQ(static_cast<unsigned char*>(p)[15], 0);
    p = MemoryMan::reallocate(p, 32);
    MemoryMan::release(p);
}

TEST(Version, FormulaFromTheProjectVersion) {
    struct Case {
        const char* text;
        int version, build;
    } cases[] = {
        {"4.2.7", 427, 0}, {"3.1.0", 310, 0}, {"4.2.7.9", 427, 9}, {"13.22.37", 327, 0},
        {"", 310, 0}, {"4.2", 310, 0}, {"a.b.c", 310, 0},
    };
    for (const auto& c : cases) {
        VersionInfo v = versionFromString(c.text);
        EXPECT_EQ(v.version, c.version) << c.text;
        EXPECT_EQ(v.build, c.build) << c.text;
    }
    EXPECT_EQ(programVersion().version, 310);
}

}  // namespace
}  // namespace vs::app
