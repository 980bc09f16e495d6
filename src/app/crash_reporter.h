#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vs::platform {
struct CrashContext;
}

namespace vs::app {

// Writes "MCrash.nfo" when the program dies of a processor fault, and hands a pending report to
// the next game server. Everything the signal handler needs is prepared at construction.
class CrashReporter {
public:
    // reportPath: where the report is written (default: $XDG_STATE_HOME/vestrel/MCrash.nfo).
    explicit CrashReporter(std::filesystem::path reportPath = defaultReportPath());
    ~CrashReporter();
    CrashReporter(const CrashReporter&) = delete;
    CrashReporter& operator=(const CrashReporter&) = delete;
    static CrashReporter* instance() { return instance_; }

    static std::filesystem::path defaultReportPath();
    const std::filesystem::path& reportPath() const { return path_; }

    // Values the report prints, kept as atomic snapshots the handler can read at any moment.
    static void setVersion(int version, int build);
    static void setPixelFormat565(bool is565);

    // After the transfer ticket: sends [0x42 0x01 length(2, big-endian) bytes 0x00] with at most
    // the first 4096 bytes of a waiting report, then deletes the file.
    void uploadPending(const std::function<void(std::vector<uint8_t>)>& send);

    // The report for a context, as the file holds it (CR LF line ends). Async-signal-safe: no
    // allocation, no stdio. Returns the length written into out (cut at capacity).
    static size_t format(const platform::CrashContext& context, char* out, size_t capacity);

    // The name the report gives a signal, from its number and code.
    static uint32_t exceptionCode(int signal, int code);
    static const char* exceptionName(uint32_t code);

private:
    static void onCrash(const platform::CrashContext& context);
    static inline CrashReporter* instance_ = nullptr;
    std::filesystem::path path_;
};

}  // namespace vs::app
