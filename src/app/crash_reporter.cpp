#include "app/crash_reporter.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include "app/frame_clock.h"
#include "app/shell.h"
#include "platform/crash_signals.h"
#include "platform/paths.h"

namespace vs::app {

namespace {

std::atomic<int> gVersion{310};
std::atomic<int> gBuild{0};
std::atomic<bool> g565{true};
char gReportPath[4096];
char gReport[32 * 1024];
char gHome[1024];

// A tiny formatter that only writes into a fixed buffer: safe inside a signal handler.
class Out {
public:
    Out(char* b, size_t cap) : b_(b), cap_(cap) {}
    Out& str(const char* s) {
        while (*s) put(*s++);
        return *this;
    }
    Out& line(const char* s) { return str(s).nl(); }
    Out& nl() {
        put('\r');
        put('\n');
        return *this;
    }
    Out& hex(uint64_t v, int width) {
        char t[16];
        for (int i = width - 1; i >= 0; --i, v >>= 4) t[i] = "0123456789ABCDEF"[v & 15];
        for (int i = 0; i < width; ++i) put(t[i]);
        return *this;
    }
    Out& dec(int64_t v) {
        char t[24];
        int n = 0;
        bool neg = v < 0;
        uint64_t u = neg ? uint64_t(-(v + 1)) + 1 : uint64_t(v);
        do t[n++] = char('0' + u % 10), u /= 10;
        while (u);
        if (neg) put('-');
        while (n) put(t[--n]);
        return *this;
    }
    size_t size() const { return n_; }

private:
    void put(char c) {
        if (n_ < cap_) b_[n_++] = c;
    }
    char* b_;
    size_t cap_;
    size_t n_ = 0;
};

// Module paths under the player's home directory go out as their file name only.
const char* shownPath(const char* path) {
    size_t h = strlen(gHome);
    if (h > 1 && strncmp(path, gHome, h) == 0 && path[h] == '/') {
        const char* base = strrchr(path, '/');
        return base ? base + 1 : path;
    }
    return path;
}

}  // namespace

std::filesystem::path CrashReporter::defaultReportPath() {
    return platform::stateHome() / "vestrel" / "MCrash.nfo";
}

CrashReporter::CrashReporter(std::filesystem::path reportPath) : path_(std::move(reportPath)) {
    std::error_code ec;
    std::filesystem::create_directories(path_.parent_path(), ec);
    const std::string p = path_.string();
    std::strncpy(gReportPath, p.c_str(), sizeof gReportPath - 1);
    std::strncpy(gHome, platform::environment("HOME").c_str(), sizeof gHome - 1);
    instance_ = this;
    platform::CrashSignals::install(&CrashReporter::onCrash);
}

CrashReporter::~CrashReporter() {
    platform::CrashSignals::uninstall();
    if (instance_ == this) instance_ = nullptr;
}

void CrashReporter::setVersion(int version, int build) {
    gVersion = version;
    gBuild = build;
}

void CrashReporter::setPixelFormat565(bool is565) { g565 = is565; }

uint32_t CrashReporter::exceptionCode(int signal, int code) {
    switch (signal) {
        case 11:  // SIGSEGV
            return 0xC0000005;
        case 7:  // SIGBUS
            return code == 1 /* BUS_ADRALN */ ? 0x80000002 : 0xC0000006;
        case 4:  // SIGILL
            return (code == 5 || code == 6) /* ILL_PRVOPC, ILL_PRVREG */ ? 0xC0000096 : 0xC000001D;
        case 8:  // SIGFPE
            switch (code) {
                case 1: return 0xC0000094;  // FPE_INTDIV
                case 2: return 0xC0000095;  // FPE_INTOVF
                case 3: return 0xC000008E;  // FPE_FLTDIV
                case 4: return 0xC0000091;  // FPE_FLTOVF
                case 5: return 0xC0000093;  // FPE_FLTUND
                case 6: return 0xC000008F;  // FPE_FLTRES
                case 7: return 0xC0000090;  // FPE_FLTINV
                case 8: return 0xC000008C;  // FPE_FLTSUB
                default: return 0xC0000090;
            }
        case 5:  // SIGTRAP
            return code == 2 /* TRAP_TRACE */ ? 0x80000004 : 0x80000003;
        default:
            return 0xE0000000u | uint32_t(signal & 0xFF);
    }
}

const char* CrashReporter::exceptionName(uint32_t code) {
    switch (code) {
        case 0x80000001: return "GUARD_PAGE";
        case 0x80000002: return "DATATYPE_MISALIGNMENT";
        case 0x80000003: return "BREAKPOINT";
        case 0x80000004: return "SINGLE_STEP";
        case 0xC0000005: return "ACCESS_VIOLATION";
        case 0xC0000006: return "IN_PAGE_ERROR";
        case 0xC0000008: return "INVALID_HANDLE";
        case 0xC000001D: return "ILLEGAL_INSTRUCTION";
        case 0xC0000025: return "NONCONTINUABLE_EXCEPTION";
        case 0xC0000026: return "INVALID_DISPOSITION";
        case 0xC000008C: return "ARRAY_BOUNDS_EXCEEDED";
        case 0xC000008D: return "FLT_DENORMAL_OPERAND";
        case 0xC000008E: return "FLT_DIVIDE_BY_ZERO";
        case 0xC000008F: return "FLT_INEXACT_RESULT";
        case 0xC0000090: return "FLT_INVALID_OPERATION";
        case 0xC0000091: return "FLT_OVERFLOW";
        case 0xC0000092: return "FLT_STACK_CHECK";
        case 0xC0000093: return "FLT_UNDERFLOW";
        case 0xC0000094: return "INT_DIVIDE_BY_ZERO";
        case 0xC0000095: return "INT_OVERFLOW";
        case 0xC0000096: return "PRIV_INSTRUCTION";
        case 0xC00000FD: return "STACK_OVERFLOW";
        default: return "UNKNOWN_SIGNAL";
    }
}

size_t CrashReporter::format(const platform::CrashContext& c, char* buf, size_t cap) {
    Out o(buf, cap);
    o.dec(gVersion).str(".").dec(gBuild).str(".Eng.R").nl();
    const uint32_t code = exceptionCode(c.signal, c.code);
    o.str("Exception code: ").hex(code, 8).str(" ").str(exceptionName(code)).nl();
    const char* program = platform::CrashSignals::programPath();
    auto location = [&](uint64_t address) {
        platform::CodeLocation loc = platform::CrashSignals::locate(address);
        if (!loc.found) std::strcpy(loc.path, "?");
        return loc;
    };
    platform::CodeLocation fault = location(c.faultAddress);
    o.str("Fault address:  ").hex(c.faultAddress, 8).str(" ").hex(uint64_t(fault.section), 2).str(":")
        .hex(fault.offset, 8).str(" ").str(shownPath(fault.path)).nl();
    o.nl().line("Registers:");
    o.str("EAX:").hex(c.rax, 8).nl().str("EBX:").hex(c.rbx, 8).nl().str("ECX:").hex(c.rcx, 8).nl();
    o.str("EDX:").hex(c.rdx, 8).nl().str("ESI:").hex(c.rsi, 8).nl().str("EDI:").hex(c.rdi, 8).nl();
    o.str("CS:EIP:").hex(c.cs, 4).str(":").hex(c.rip, 8).nl();
    o.str("SS:ESP:").hex(c.ss, 4).str(":").hex(c.rsp, 8).str("  EBP:").hex(c.rbp, 8).nl();
    o.str("DS:").hex(c.ds, 4).str("  ES:").hex(c.es, 4).str("  FS:").hex(c.fs, 4).str("  GS:").hex(c.gs, 4).nl();
    o.str("Flags:").hex(c.eflags, 8).str(" Time:").dec(int64_t(int32_t(FrameClock::sinceStart())))
        .str(" Phase:").dec(phase()).str(" 565:").dec(g565 ? 1 : 0).nl().nl();
    o.line(c.framesFromUnwinder ? "Call stack" : "Call stack:");
    o.line("Address   Frame     Logical addr  Module");
    for (int i = 0; i < c.frameCount; ++i) {
        platform::CodeLocation loc = location(c.frames[i]);
        o.hex(c.frames[i], 8).str("  ").hex(c.framePointers[i], 8).str("  ").hex(uint64_t(loc.section), 4)
            .str(":").hex(loc.offset, 8).str(" ").str(shownPath(loc.path)).nl();
        if (loc.found && program[0] && std::strcmp(loc.path, program) == 0) o.hex(loc.offset, 8).nl();
    }
    o.str("-----------------------------------------------");
    return o.size();
}

void CrashReporter::onCrash(const platform::CrashContext& c) {
    if (!instance_) return;
    size_t n = format(c, gReport, sizeof gReport);
    // A report that cannot be written is skipped; the previous handler still runs.
    platform::CrashSignals::writeFile(gReportPath, gReport, n);
}

void CrashReporter::uploadPending(const std::function<void(std::vector<uint8_t>)>& send) {
    std::error_code ec;
    if (!std::filesystem::exists(path_, ec)) return;
    std::vector<uint8_t> bytes;
    {
        std::ifstream in(path_, std::ios::binary);
        bytes.resize(4096);
        in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
        bytes.resize(size_t(in.gcount()));
    }
    if (!bytes.empty()) {
        std::vector<uint8_t> packet = {0x42, 0x01, uint8_t(bytes.size() >> 8), uint8_t(bytes.size())};
        packet.insert(packet.end(), bytes.begin(), bytes.end());
        packet.push_back(0);
        send(std::move(packet));
    }
    std::filesystem::remove(path_, ec);
}

}  // namespace vs::app
