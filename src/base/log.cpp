#include "base/log.h"

#include <atomic>
#include <cstdio>
#include <mutex>

namespace vs::base {

namespace {
std::atomic<int> gLevel{int(LogLevel::Warning)};
std::mutex gWriteMutex;
constexpr const char* kNames[] = {"error", "warning", "info", "debug"};
}  // namespace

void setLogLevel(LogLevel level) { gLevel = int(level); }
LogLevel logLevel() { return LogLevel(gLevel.load(std::memory_order_relaxed)); }

bool parseLogLevel(std::string_view text, LogLevel& out) {
    for (int i = 0; i < 4; ++i) {
        if (text == kNames[i]) {
            out = LogLevel(i);
            return true;
        }
    }
    if (text == "warn") return out = LogLevel::Warning, true;
    return false;
}

std::string vstrprintf(const char* fmt, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (n <= 0) return {};
    std::string s(size_t(n) + 1, '\0');
    std::vsnprintf(s.data(), s.size(), fmt, args);
    s.resize(size_t(n));
    return s;
}

std::string strprintf(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string s = vstrprintf(fmt, args);
    va_end(args);
    return s;
}

void logWrite(LogLevel level, const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string s = vstrprintf(fmt, args);
    va_end(args);
    std::lock_guard lock(gWriteMutex);
    std::fprintf(stderr, "vestrel %s: %s\n", kNames[int(level)], s.c_str());
}

}  // namespace vs::base
