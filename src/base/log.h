#pragma once
#include <cstdarg>
#include <string>
#include <string_view>

namespace vs::base {

enum class LogLevel { Error = 0, Warning = 1, Info = 2, Debug = 3 };

// Messages at or below the level are written to standard error, one line each.
void setLogLevel(LogLevel level);
LogLevel logLevel();
bool parseLogLevel(std::string_view text, LogLevel& out);
inline bool logEnabled(LogLevel level) { return int(level) <= int(logLevel()); }

void logWrite(LogLevel level, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

// printf into a std::string.
std::string strprintf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string vstrprintf(const char* fmt, va_list args);

}  // namespace vs::base

#define VS_LOG(level, ...)                                                       \
    do {                                                                         \
        if (::vs::base::logEnabled(level)) ::vs::base::logWrite(level, __VA_ARGS__); \
    } while (0)
#define VS_ERROR(...) VS_LOG(::vs::base::LogLevel::Error, __VA_ARGS__)
#define VS_WARN(...) VS_LOG(::vs::base::LogLevel::Warning, __VA_ARGS__)
#define VS_INFO(...) VS_LOG(::vs::base::LogLevel::Info, __VA_ARGS__)
#define VS_DEBUG(...) VS_LOG(::vs::base::LogLevel::Debug, __VA_ARGS__)
