#include "platform/headless/headless_platform.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <thread>

#include "platform/instance_lock.h"

namespace vs::platform {
namespace {

TEST(HeadlessWindow, ScheduledMessagesArriveAtTheirTimeInOrder) {
    HeadlessPlatform hp;
    hp.clock.set(1000);
    hp.window.postAt(1012, Message(kWmMouseMove, 1));
    hp.window.postAt(1012, Message(kWmMouseMove, 2));
    hp.window.postAt(1003, Message(kWmKeyDown, 3));
    EXPECT_EQ(hp.window.wait(5), WaitResult::Input);
    EXPECT_EQ(hp.clock.nowMs(), 1003u);
    Message m;
    ASSERT_TRUE(hp.window.peek(m));
    EXPECT_EQ(m.wParam, 3u);
    EXPECT_EQ(m.time, 1003u);
    EXPECT_FALSE(hp.window.peek(m));
    EXPECT_EQ(hp.window.wait(5), WaitResult::Timeout);  // nothing due by 1008
    EXPECT_EQ(hp.clock.nowMs(), 1008u);
    EXPECT_EQ(hp.window.wait(5), WaitResult::Input);
    ASSERT_TRUE(hp.window.peek(m));
    EXPECT_EQ(m.wParam, 1u);
    ASSERT_TRUE(hp.window.peek(m));
    EXPECT_EQ(m.wParam, 2u);
}

TEST(HeadlessWindow, TheQuitEventComesFirstAndResetsItself) {
    HeadlessPlatform hp;
    hp.window.post(Message(kWmPaint));
    std::thread([&] { hp.window.signalQuitEvent(); }).join();
    EXPECT_EQ(hp.window.wait(5), WaitResult::QuitEvent);
    EXPECT_EQ(hp.window.wait(5), WaitResult::Input);
}

TEST(InstanceLock, OnlyOneHolderAtATime) {
    HeadlessPlatform hp;
    auto path = std::filesystem::temp_directory_path() / ("vs-lock-test-" + std::to_string(::getpid()));
    InstanceLock a, b;
    ASSERT_TRUE(a.acquire(path, 0, hp.clock));
    const uint32_t t0 = hp.clock.nowMs();
    EXPECT_FALSE(b.acquire(path, 5000, hp.clock));
    EXPECT_GE(hp.clock.nowMs() - t0, 5000u);
    a.release();
    EXPECT_TRUE(b.acquire(path, 0, hp.clock));
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace vs::platform
