// The test binaries' main: GoogleTest plus a watchdog, so a test that hangs (a thread that never
// answers, a loop that never ends) fails with its name instead of stalling the suite.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include "base/log.h"

namespace {

class Watchdog final : public testing::EmptyTestEventListener {
public:
    explicit Watchdog(int seconds) : limit_(seconds) {
        thread_ = std::thread([this] { run(); });
    }
    ~Watchdog() override {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }
    void OnTestStart(const testing::TestInfo& info) override {
        std::lock_guard lock(mutex_);
        name_ = std::string(info.test_suite_name()) + "." + info.name();
        started_ = std::chrono::steady_clock::now();
        running_ = true;
    }
    void OnTestEnd(const testing::TestInfo&) override {
        std::lock_guard lock(mutex_);
        running_ = false;
    }

private:
    void run() {
        std::unique_lock lock(mutex_);
        while (!done_) {
            cv_.wait_for(lock, std::chrono::seconds(1));
            if (running_ && std::chrono::steady_clock::now() - started_ > std::chrono::seconds(limit_)) {
                std::fprintf(stderr, "\nwatchdog: %s ran longer than %d s; aborting\n", name_.c_str(), limit_);
                std::fflush(stderr);
                std::_Exit(3);
            }
        }
    }
    int limit_;
    std::mutex mutex_;
    std::condition_variable cv_;
    bool done_ = false;
    bool running_ = false;
    std::string name_;
    std::chrono::steady_clock::time_point started_;
    std::thread thread_;
};

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (const char* level = std::getenv("VS_TEST_LOG")) {
        vs::base::LogLevel l;
        if (vs::base::parseLogLevel(level, l)) vs::base::setLogLevel(l);
    } else {
        vs::base::setLogLevel(vs::base::LogLevel::Error);
    }
    int seconds = 120;
    if (const char* s = std::getenv("VS_TEST_WATCHDOG")) seconds = std::atoi(s);
    testing::UnitTest::GetInstance()->listeners().Append(new Watchdog(seconds));
    return RUN_ALL_TESTS();
}
