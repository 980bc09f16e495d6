#pragma once
#include <cstddef>
#include <cstdint>

namespace vs::platform {

// What a fatal processor signal left behind, gathered inside the signal handler.
struct CrashContext {
    static constexpr int kMaxFrames = 64;
    int signal = 0;
    int code = 0;               // the signal's si_code
    uint64_t faultAddress = 0;  // the program counter at the fault
    uint64_t dataAddress = 0;   // the address the faulting access touched
    uint64_t rax = 0, rbx = 0, rcx = 0, rdx = 0, rsi = 0, rdi = 0, rip = 0, rsp = 0, rbp = 0;
    uint64_t eflags = 0;
    uint16_t cs = 0, ss = 0, ds = 0, es = 0, fs = 0, gs = 0;
    uint64_t frames[kMaxFrames] = {};         // program counters, innermost first
    uint64_t framePointers[kMaxFrames] = {};  // stack or frame pointer of each
    int frameCount = 0;
    bool framesFromUnwinder = false;  // false: the frame-pointer chain was walked
};

// Where an address lies: the file of its mapping, the mapping's number within that file
// (from 1) and the offset inside the mapping.
struct CodeLocation {
    char path[512] = {};
    int section = 0;
    uint64_t offset = 0;
    bool found = false;
};

// Fatal signals (SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGTRAP) on an alternate stack. The handler runs
// inside the signal handler: it may only do async-signal-safe work. After it returns, the
// previous handler runs (or the default action), so the process still dies with its signal.
class CrashSignals {
public:
    using Handler = void (*)(const CrashContext&);

    static bool install(Handler handler);
    static void uninstall();
    // Gives the calling thread its alternate signal stack and records its stack bounds (every
    // thread that may crash calls it once; install does it for the installing thread).
    static void prepareThread();
    // Async-signal-safe: reads the process's memory map through plain system calls.
    static CodeLocation locate(uint64_t address);
    // The path of the running program, captured at install time.
    static const char* programPath();
    // Async-signal-safe: replaces the file at path with the bytes. False when it cannot.
    static bool writeFile(const char* path, const char* data, size_t size);
};

}  // namespace vs::platform
