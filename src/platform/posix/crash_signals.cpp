#include "platform/crash_signals.h"

#define UNW_LOCAL_ONLY
#include <fcntl.h>
#include <libunwind.h>
#include <pthread.h>
#include <signal.h>
#include <ucontext.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace vs::platform {

namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGTRAP};
constexpr size_t kAltStackSize = 64 * 1024;

std::atomic<CrashSignals::Handler> gHandler{nullptr};
struct sigaction gPrevious[sizeof kSignals / sizeof kSignals[0]];
bool gInstalled = false;
char gProgramPath[512];
CrashContext gContext;       // filled in the handler; static so the handler needs no stack for it
char gMaps[256 * 1024];      // /proc/self/maps, read in the handler
std::atomic<bool> gInHandler{false};

thread_local uintptr_t tStackLow = 0;
thread_local uintptr_t tStackHigh = 0;
thread_local void* tAltStack = nullptr;

uint64_t parseHex(const char*& p) {
    uint64_t v = 0;
    for (;;) {
        char c = *p;
        int d = (c >= '0' && c <= '9') ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
        if (d < 0) return v;
        v = (v << 4) | uint64_t(d);
        ++p;
    }
}

void walkFramePointers(CrashContext& c) {
    uint64_t pc = c.rip, fp = c.rbp;
    c.frameCount = 0;
    while (c.frameCount < CrashContext::kMaxFrames) {
        c.frames[c.frameCount] = pc;
        c.framePointers[c.frameCount] = fp;
        ++c.frameCount;
        // Only follow pointers that stay inside this thread's stack and grow outwards.
        if (fp % 8 != 0 || tStackHigh == 0 || fp < tStackLow || fp + 16 > tStackHigh) break;
        const uint64_t* frame = reinterpret_cast<const uint64_t*>(fp);
        uint64_t next = frame[0];
        pc = frame[1];
        if (next <= fp || pc == 0) break;
        fp = next;
    }
}

void handler(int sig, siginfo_t* info, void* raw) {
    auto* uc = static_cast<ucontext_t*>(raw);
    if (!gInHandler.exchange(true)) {
        CrashContext& c = gContext;
        c = CrashContext{};
        c.signal = sig;
        c.code = info ? info->si_code : 0;
        c.dataAddress = info ? uint64_t(reinterpret_cast<uintptr_t>(info->si_addr)) : 0;
        const greg_t* g = uc->uc_mcontext.gregs;
        c.rax = uint64_t(g[REG_RAX]);
        c.rbx = uint64_t(g[REG_RBX]);
        c.rcx = uint64_t(g[REG_RCX]);
        c.rdx = uint64_t(g[REG_RDX]);
        c.rsi = uint64_t(g[REG_RSI]);
        c.rdi = uint64_t(g[REG_RDI]);
        c.rip = uint64_t(g[REG_RIP]);
        c.rsp = uint64_t(g[REG_RSP]);
        c.rbp = uint64_t(g[REG_RBP]);
        c.eflags = uint64_t(g[REG_EFL]);
        const auto csgsfs = uint64_t(g[REG_CSGSFS]);
        c.cs = uint16_t(csgsfs);
        c.gs = uint16_t(csgsfs >> 16);
        c.fs = uint16_t(csgsfs >> 32);
        c.ss = uint16_t(csgsfs >> 48);
        c.faultAddress = c.rip;

        unw_cursor_t cursor;
        if (unw_init_local2(&cursor, uc, UNW_INIT_SIGNAL_FRAME) == 0) {
            c.framesFromUnwinder = true;
            do {
                unw_word_t ip = 0, sp = 0;
                unw_get_reg(&cursor, UNW_REG_IP, &ip);
                unw_get_reg(&cursor, UNW_REG_SP, &sp);
                if (ip == 0) break;
                c.frames[c.frameCount] = ip;
                c.framePointers[c.frameCount] = sp;
                ++c.frameCount;
            } while (c.frameCount < CrashContext::kMaxFrames && unw_step(&cursor) > 0);
        }
        if (c.frameCount == 0) {
            c.framesFromUnwinder = false;
            walkFramePointers(c);
        }
        if (auto h = gHandler.load()) h(c);
    }
    // Hand over to whoever handled the signal before us; the default action ends the process.
    for (size_t i = 0; i < sizeof kSignals / sizeof kSignals[0]; ++i) {
        if (kSignals[i] != sig) continue;
        const struct sigaction& prev = gPrevious[i];
        if ((prev.sa_flags & SA_SIGINFO) && prev.sa_sigaction) {
            prev.sa_sigaction(sig, info, raw);
            return;
        }
        if (prev.sa_handler != SIG_DFL && prev.sa_handler != SIG_IGN && prev.sa_handler) {
            prev.sa_handler(sig);
            return;
        }
    }
    signal(sig, SIG_DFL);
    raise(sig);
}

}  // namespace

void CrashSignals::prepareThread() {
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) == 0) {
        void* addr = nullptr;
        size_t size = 0;
        if (pthread_attr_getstack(&attr, &addr, &size) == 0) {
            tStackLow = reinterpret_cast<uintptr_t>(addr);
            tStackHigh = tStackLow + size;
        }
        pthread_attr_destroy(&attr);
    }
    if (!tAltStack) {
        // Kept for the thread's lifetime: a signal may arrive at any moment until it ends.
        static thread_local struct AltStack {
            char* memory = nullptr;
            ~AltStack() {
                if (!memory) return;
                stack_t off{};
                off.ss_flags = SS_DISABLE;
                sigaltstack(&off, nullptr);
                delete[] memory;
            }
        } alt;
        alt.memory = new char[kAltStackSize];
        stack_t ss{};
        ss.ss_sp = alt.memory;
        ss.ss_size = kAltStackSize;
        if (sigaltstack(&ss, nullptr) == 0) tAltStack = alt.memory;
    }
}

bool CrashSignals::install(Handler h) {
    ssize_t n = readlink("/proc/self/exe", gProgramPath, sizeof gProgramPath - 1);
    gProgramPath[n > 0 ? n : 0] = 0;
    gHandler = h;
    prepareThread();
    if (gInstalled) return true;
    struct sigaction sa{};
    sa.sa_sigaction = handler;
    sa.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&sa.sa_mask);
    bool ok = true;
    for (size_t i = 0; i < sizeof kSignals / sizeof kSignals[0]; ++i)
        ok = sigaction(kSignals[i], &sa, &gPrevious[i]) == 0 && ok;
    gInstalled = true;
    gInHandler = false;
    return ok;
}

void CrashSignals::uninstall() {
    if (!gInstalled) return;
    for (size_t i = 0; i < sizeof kSignals / sizeof kSignals[0]; ++i)
        sigaction(kSignals[i], &gPrevious[i], nullptr);
    gInstalled = false;
    gHandler = nullptr;
}

const char* CrashSignals::programPath() { return gProgramPath; }

bool CrashSignals::writeFile(const char* path, const char* data, size_t size) {
    int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    size_t done = 0;
    while (done < size) {
        ssize_t w = write(fd, data + done, size - done);
        if (w <= 0) break;
        done += size_t(w);
    }
    fsync(fd);
    close(fd);
    return done == size;
}

CodeLocation CrashSignals::locate(uint64_t address) {
    CodeLocation loc;
    int fd = open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return loc;
    size_t len = 0;
    for (;;) {
        ssize_t r = read(fd, gMaps + len, sizeof gMaps - 1 - len);
        if (r <= 0) break;
        len += size_t(r);
        if (len >= sizeof gMaps - 1) break;
    }
    close(fd);
    gMaps[len] = 0;

    // Each line: start-end perms offset dev inode path
    char lastPath[512] = {};
    int index = 0;
    for (const char* line = gMaps; *line;) {
        const char* end = line;
        while (*end && *end != '\n') ++end;
        const char* p = line;
        uint64_t start = parseHex(p);
        if (*p == '-') ++p;
        uint64_t stop = parseHex(p);
        // The path is the field after the inode: find the first '/' or '[' on the line.
        const char* path = p;
        while (path < end && *path != '/' && *path != '[') ++path;
        size_t plen = size_t(end - path);
        if (plen >= sizeof lastPath) plen = sizeof lastPath - 1;
        char current[512];
        memcpy(current, path, plen);
        current[plen] = 0;
        if (strcmp(current, lastPath) == 0) {
            ++index;
        } else {
            memcpy(lastPath, current, plen + 1);
            index = 1;
        }
        if (address >= start && address < stop) {
            memcpy(loc.path, current, plen + 1);
            loc.section = index;
            loc.offset = address - start;
            loc.found = true;
            return loc;
        }
        line = *end ? end + 1 : end;
    }
    return loc;
}

}  // namespace vs::platform
