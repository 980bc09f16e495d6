#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/frame_clock.h"
#include "app/tick_scheduler.h"
#include "platform/headless/fake_clock.h"

namespace vs::app {
namespace {

struct Log {
    std::vector<std::string> entries;
};

class Recorder : public TimerClient {
public:
    Recorder(Log& log, std::string name) : log_(log), name_(std::move(name)) {}
    bool OnTimer(int32_t code, int32_t first, int32_t) override {
        log_.entries.push_back(name_ + ":" + std::to_string(code));
        if (rearmZeroTimes_ > 0) {
            --rearmZeroTimes_;
            FrameClock::instance()->schedule(this, code, 0, first);
        }
        if (onFire) onFire();
        return true;
    }
    int rearmZeroTimes_ = 0;
    std::function<void()> onFire;

private:
    Log& log_;
    std::string name_;
};

class FrameClockTest : public testing::Test {
protected:
    platform::FakeClock clock{1000};
    FrameClock fc{clock};
    Log log;
};

TEST_F(FrameClockTest, DueOrderWithEqualTimesInSchedulingOrder) {
    Recorder a(log, "a"), b(log, "b"), c(log, "c");
    fc.schedule(&b, 1, 20);
    fc.schedule(&a, 1, 10);
    fc.schedule(&c, 1, 20);
    fc.schedule(&a, 2, 20);
    clock.advance(9);
    fc.update();
    EXPECT_TRUE(log.entries.empty());
    clock.advance(11);
    fc.update();
    EXPECT_EQ(log.entries, (std::vector<std::string>{"a:1", "b:1", "c:1", "a:2"}));
}

TEST_F(FrameClockTest, DelayZeroRearmedWhileFiringFiresInTheSameUpdate) {
    Recorder a(log, "a");
    a.rearmZeroTimes_ = 2;
    fc.schedule(&a, 7, 5);
    clock.advance(5);
    fc.update();
    EXPECT_EQ(log.entries, (std::vector<std::string>{"a:7", "a:7", "a:7"}));
}

TEST_F(FrameClockTest, CancelByCodeByClientAndByDestruction) {
    Recorder a(log, "a");
    fc.schedule(&a, 1, 10);
    fc.schedule(&a, 2, 10);
    fc.cancel(&a, 1);
    {
        Recorder gone(log, "gone");
        fc.schedule(&gone, 1, 10);
    }
    Recorder b(log, "b");
    fc.schedule(&b, 3, 10);
    fc.cancelAll(&b);
    clock.advance(10);
    fc.update();
    EXPECT_EQ(log.entries, (std::vector<std::string>{"a:2"}));
}

TEST_F(FrameClockTest, ACallbackMayCancelOrDestroyAnotherClient) {
    Recorder a(log, "a");
    auto b = std::make_unique<Recorder>(log, "b");
    a.onFire = [&] { b.reset(); };
    fc.schedule(&a, 1, 10);
    fc.schedule(b.get(), 1, 10);
    clock.advance(10);
    fc.update();
    EXPECT_EQ(log.entries, (std::vector<std::string>{"a:1"}));
}

TEST_F(FrameClockTest, TimersSurviveTheClockWrap) {
    clock.set(0xFFFFFFF0u);
    fc.read();
    Recorder a(log, "a");
    fc.schedule(&a, 1, 0x20);  // due after the 32-bit clock wraps
    clock.set(0x00000005u);
    fc.update();
    EXPECT_TRUE(log.entries.empty());
    clock.set(0x00000010u);
    fc.update();
    EXPECT_EQ(log.entries, (std::vector<std::string>{"a:1"}));
    EXPECT_EQ(fc.now(), 0x10u);
}

class TickRecorder : public TickClient {
public:
    explicit TickRecorder(std::vector<uint32_t>& seen) : seen_(seen) {}
    void OnTick(uint32_t tick) override {
        seen_.push_back(tick);
        if (again) TickScheduler::instance()->scheduleAfter(this, 1);
    }
    bool again = false;

private:
    std::vector<uint32_t>& seen_;
};

TEST(TickScheduler, CatchUpReportsEachMissedTick) {
    TickScheduler s;
    std::vector<uint32_t> seen;
    TickRecorder r(seen);
    r.again = true;
    s.advance(2);
    s.scheduleNext(&r);  // due at 3
    s.advance(5);
    EXPECT_EQ(seen, (std::vector<uint32_t>{3, 4, 5}));
    EXPECT_EQ(s.currentTick(), 5u);
    s.advance(5);  // the same tick again changes nothing
    EXPECT_EQ(seen.size(), 3u);
}

TEST(TickScheduler, EqualTicksInSchedulingOrderAndCancelOnDestruction) {
    TickScheduler s;
    std::vector<uint32_t> a, b;
    TickRecorder ra(a);
    s.scheduleNext(&ra);
    {
        std::vector<uint32_t> c;
        TickRecorder rc(c);
        s.scheduleNext(&rc);
    }
    TickRecorder rb(b);
    s.scheduleNext(&rb);
    EXPECT_EQ(s.pending(), 2u);
    s.advance(1);
    EXPECT_EQ(a, std::vector<uint32_t>{1});
    EXPECT_EQ(b, std::vector<uint32_t>{1});
}

}  // namespace
}  // namespace vs::app
