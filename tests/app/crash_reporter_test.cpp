#include "app/crash_reporter.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/error.h"
#include "app/outgoing_text_filter.h"
#include "app/password_guard.h"
#include "platform/crash_signals.h"

namespace vs::app {
namespace {

namespace fs = std::filesystem;

fs::path tempFile(const char* name) {
    return fs::temp_directory_path() / (std::string(name) + "-" + std::to_string(::getpid()));
}

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(CrashReport, FormatsItsLinesExactly) {
    platform::CrashContext c;
    c.signal = SIGSEGV;
    c.code = 1;
    c.faultAddress = c.rip = 0x1234;  // nowhere mapped
    c.rax = 0x1111222233334444ull;    // only the low 32 bits are printed
    c.rbx = 2, c.rcx = 3, c.rdx = 4, c.rsi = 5, c.rdi = 6, c.rsp = 0x7000, c.rbp = 0x7010;
    c.cs = 0x33, c.ss = 0x2B, c.eflags = 0x10246;
    c.frames[0] = 0x1234;
    c.framePointers[0] = 0x7000;
    c.frameCount = 1;
    c.framesFromUnwinder = true;
    CrashReporter::setVersion(310, 7);
    char buf[8192];
    std::string text(buf, CrashReporter::format(c, buf, sizeof buf));
    const std::string head =
        "310.7.Eng.R\r\n"
        "Exception code: C0000005 ACCESS_VIOLATION\r\n"
        "Fault address:  00001234 00:00000000 ?\r\n"
        "\r\nRegisters:\r\n"
        "EAX:33334444\r\nEBX:00000002\r\nECX:00000003\r\nEDX:00000004\r\nESI:00000005\r\nEDI:00000006\r\n"
        "CS:EIP:0033:00001234\r\n"
        "SS:ESP:002B:00007000  EBP:00007010\r\n"
        "DS:0000  ES:0000  FS:0000  GS:0000\r\n"
        "Flags:00010246 Time:";
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_NE(text.find(" Phase:"), std::string::npos);
    EXPECT_NE(text.find("\r\n\r\nCall stack\r\nAddress   Frame     Logical addr  Module\r\n"
                        "00001234  00007000  0000:00000000 ?\r\n"),
              std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 47), std::string(47, '-'));
    // A tiny buffer is filled, never overrun.
    char tiny[10];
    EXPECT_EQ(CrashReporter::format(c, tiny, sizeof tiny), sizeof tiny);
}

TEST(CrashReport, SignalsMapToExceptionCodes) {
    struct Case {
        int signal, code;
        uint32_t expected;
        const char* name;
    } cases[] = {
        {SIGSEGV, 1, 0xC0000005, "ACCESS_VIOLATION"}, {SIGFPE, 1, 0xC0000094, "INT_DIVIDE_BY_ZERO"},
        {SIGFPE, 3, 0xC000008E, "FLT_DIVIDE_BY_ZERO"}, {SIGILL, 1, 0xC000001D, "ILLEGAL_INSTRUCTION"},
        {SIGILL, 5, 0xC0000096, "PRIV_INSTRUCTION"},   {SIGBUS, 1, 0x80000002, "DATATYPE_MISALIGNMENT"},
        {SIGTRAP, 1, 0x80000003, "BREAKPOINT"},        {SIGTRAP, 2, 0x80000004, "SINGLE_STEP"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CrashReporter::exceptionCode(c.signal, c.code), c.expected) << c.name;
        EXPECT_STREQ(CrashReporter::exceptionName(c.expected), c.name);
    }
}

TEST(CrashReport, ARealFaultLeavesAReportAndStillKillsTheProcess) {
    const fs::path report = tempFile("vs-crash");
    fs::remove(report);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CrashReporter reporter(report);
        CrashReporter::setVersion(310, 0);
        // An unmapped address that is not null, so a null-pointer check cannot step in first.
        volatile uintptr_t where = 16;
        *reinterpret_cast<volatile int*>(where) = 1;
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    // Killed by its signal, or ended by a sanitizer's own fault handler that ran after ours.
    EXPECT_TRUE(WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) != 0));
    std::string text = readAll(report);
    EXPECT_EQ(text.rfind("310.0.Eng.R\r\nException code: C0000005 ACCESS_VIOLATION\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("Call stack"), std::string::npos);
    fs::remove(report);
}

TEST(CrashReport, UploadSendsAtMostFourKilobytesAndDeletesTheFile) {
    const fs::path report = tempFile("vs-crash-upload");
    CrashReporter reporter(report);
    {
        std::ofstream out(report, std::ios::binary);
        out << std::string(5000, 'x');
    }
    std::vector<std::vector<uint8_t>> sent;
    auto send = [&](std::vector<uint8_t> p) { sent.push_back(std::move(p)); };
    reporter.uploadPending(send);
    ASSERT_EQ(sent.size(), 1u);
    const auto& p = sent[0];
    ASSERT_EQ(p.size(), 4096u + 5);
    EXPECT_EQ(p[0], 0x42);
    EXPECT_EQ(p[1], 0x01);
    EXPECT_EQ(p[2], 0x10);
    EXPECT_EQ(p[3], 0x00);
    EXPECT_EQ(p[4], 'x');
    EXPECT_EQ(p.back(), 0);
    EXPECT_FALSE(fs::exists(report));
    // An empty report sends nothing but is removed; no report does nothing.
    std::ofstream(report).close();
    reporter.uploadPending(send);
    reporter.uploadPending(send);
    EXPECT_EQ(sent.size(), 1u);
    EXPECT_FALSE(fs::exists(report));
}

TEST(PasswordGuard, RefusesTextHoldingThePassword) {
    PasswordGuard::setTextSource([](std::string_view name) -> std::optional<std::string> {
        if (name == "PASS_ENG.STR") return std::string("Never tell anyone\r\nyour password.\r\nx\r\nhidden\r\n");
        return std::nullopt;
    });
    PasswordGuard::storePassword(u"");
    EXPECT_NO_THROW(PasswordGuard::checkOutgoing(u"anything at all"));  // an empty password matches nothing
    PasswordGuard::storePassword(u"s3cret");
    EXPECT_NO_THROW(PasswordGuard::checkOutgoing(u"S3CRET is not it"));
    try {
        PasswordGuard::checkOutgoing(u"my word is xs3cretx, ok");
        FAIL() << "not refused";
    } catch (const PasswordError& e) {
        EXPECT_EQ(e.caption(), u"Password Warning");
        // The third line is a single character: the lines after it are not read.
        EXPECT_EQ(e.text(), u"Never tell anyone\nyour password.\nx");
    }
    PasswordGuard::setTextSource(nullptr);
    EXPECT_THROW(PasswordGuard::checkOutgoing(u"s3cret"), PasswordError);
    PasswordGuard::storePassword(u"");
}

TEST(PasswordGuard, WarningLinesAndCaps) {
    EXPECT_EQ(PasswordGuard::warningText("a\r\nb\r\nc"), u"a");  // "a" holds one character
    EXPECT_EQ(PasswordGuard::warningText("ab\nc\nd"), u"ab\nc");
    EXPECT_EQ(PasswordGuard::warningText(std::string(300, 'q')).size(), 200u);
    std::string many;
    for (int i = 0; i < 20; ++i) many += std::string(150, 'w') + "\n";
    EXPECT_EQ(PasswordGuard::warningText(many).size(), 1024u);
}

TEST(OutgoingTextFilter, KeepsTheAcceptedCharacters) {
    std::u16string t = u"caf\u00e9 \u00e4\u4e2d\r\nok\u00fb";
    OutgoingTextFilter::filter(t);
    EXPECT_EQ(t, u"caf\u00e9 ??\r\nok\u00fb");
    std::u16string stop = u"a\u00e4";
    stop[0] = 0;
    OutgoingTextFilter::filter(stop);
    EXPECT_EQ(stop[1], u'\u00e4');  // nothing after a 0 unit is touched
}

}  // namespace
}  // namespace vs::app
