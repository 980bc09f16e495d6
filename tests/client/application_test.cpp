#include "client/application.h"

#include <gtest/gtest.h>

#include "app/event_dispatcher.h"
#include "app/frame_clock.h"
#include "client/client_fixture.h"
#include "platform/instance_lock.h"

namespace vs::client {
namespace {

using namespace platform;
using Steps = std::vector<std::string>;

class ApplicationTest : public test::ClientFixture {};

const Steps kStartUp = {
    "network", "directory", "program path", "single instance", "+CrashReporter", "+ArchiveManager",
    "mount MISC.DAT", "mount CHAR.DAT", "mount TILE.DAT", "mount MON.DAT", "mount EFX.DAT",
    "mount SND.DAT", "mount music", "mount VESTREL.DAT", "mount NINT.DAT", "+StringTable",
    "+Settings", "splash", "main window", "+NoticeBus", "+ImageCache", "+FontCache", "+CloseList",
    "+ImeMan", "+DDrawDevice", "+Display", "+EventDispatcher", "+InputMan", "+Connection",
    "+SoundMan", "+MidiPlayer", "+PatchDownloader",
    // the game client's own
    "+IdleWatcher", "start Connection", "+ItemImageLib", "+TileImageLib", "+StaticObjImageLib",
    "+HumanImageLib", "+MonsterImageLib", "+EffectImageLib", "+LightImageLib",
    "+OutgoingTextFilter", "display setup", "+PaletteManager", "cursor", "display timers",
    "+Layer", "+Layer", "+Layer", "+Layer", "+Layer", "+Layer", "overlay pane", "logo video",
    "first screen"};

const Steps kShutDown = {
    "close Connection", "overlay pane gone", "-Layer", "-Layer", "-Layer", "-Layer", "-Layer",
    "-Layer", "-ItemImageLib", "-TileImageLib", "-StaticObjImageLib", "-HumanImageLib",
    "-MonsterImageLib", "-EffectImageLib", "-LightImageLib", "-IdleWatcher",
    "-OutgoingTextFilter", "-Connection",
    // the base shutdown
    "-PatchDownloader", "notify term", "-SoundMan", "-InputMan", "-Display", "-DDrawDevice",
    "-EventDispatcher", "-MidiPlayer", "save settings", "-Settings", "-FontCache", "-ImageCache",
    "-PaletteManager", "-ImeMan", "-CloseList", "-StringTable", "-NoticeBus", "-CrashReporter",
    "-ArchiveManager"};

TEST_F(ApplicationTest, StartsAndShutsDownInTheFixedOrders) {
    hp.window.postAt(hp.clock.nowMs() + 200, Message(kWmClose));
    EXPECT_EQ(runApplication(options), 0);
    Steps start(trace.begin(), trace.begin() + long(std::min(trace.size(), kStartUp.size())));
    EXPECT_EQ(start, kStartUp);
    EXPECT_EQ(traceFrom("close Connection"), kShutDown);
    EXPECT_TRUE(traced("request exit"));
    EXPECT_TRUE(hp.messageBox.shown().empty());
    EXPECT_EQ(std::filesystem::current_path(), dataDir());
}

TEST_F(ApplicationTest, AnErrorEscapingStartUpReachesTheMessageBox) {
    hp.window.failCreate(true);
    EXPECT_EQ(runApplication(options), 0);
    ASSERT_EQ(hp.messageBox.shown().size(), 1u);
    EXPECT_EQ(hp.messageBox.shown()[0].caption, u"Error");
    EXPECT_EQ(hp.messageBox.shown()[0].text.rfind(u"Win32Error : ", 0), 0u);
    // What was created is destroyed, in the shutdown order.
    EXPECT_EQ(traceFrom("-Settings"), (Steps{"-Settings", "-StringTable", "-CrashReporter", "-ArchiveManager"}));
}

TEST_F(ApplicationTest, ASecondInstanceWaitsFiveSecondsAndLeavesSilently) {
    InstanceLock first;
    ASSERT_TRUE(first.acquire(InstanceLock::defaultPath(), 0, hp.clock));
    const uint32_t before = hp.clock.nowMs();
    EXPECT_EQ(runApplication(options), 0);
    EXPECT_GE(hp.clock.nowMs() - before, Application::kSingleInstanceWaitMs);
    EXPECT_TRUE(hp.messageBox.shown().empty());
    EXPECT_EQ(trace.back(), "single instance");
}

TEST_F(ApplicationTest, AFatalErrorCodeEndsInOrderAndIsShownAfterShutdown) {
    hp.window.postAt(hp.clock.nowMs() + 100, Message(kMsgFatalError, 5));
    EXPECT_EQ(runApplication(options), 0);
    ASSERT_EQ(hp.messageBox.shown().size(), 1u);
    EXPECT_EQ(hp.messageBox.shown()[0].text, u"Error #005");
    EXPECT_EQ(hp.messageBox.shown()[0].caption, u"Error");
    EXPECT_TRUE(traced("-ArchiveManager"));
}

class Recorder : public app::EventHandler {
public:
    bool OnMouse(const app::InputEvent& e) override { return events.push_back(e), false; }
    bool OnPacket(const app::InputEvent& e) override { return events.push_back(e), false; }
    bool OnPostedEvent(const app::InputEvent& e) override { return events.push_back(e), false; }
    std::vector<app::InputEvent> events;
};

class WindowProcTest : public ApplicationTest {
protected:
    void SetUp() override {
        clock_ = std::make_unique<app::FrameClock>(hp.clock);
        client_ = std::make_unique<GameClient>(options);
        client_->startUp();
        app::EventDispatcher::instance()->insert(&rec);
    }
    void TearDown() override {
        app::EventDispatcher::instance()->remove(&rec);
        client_->shutDown();
        client_.reset();
        clock_.reset();
    }
    void send(uint32_t id, uint64_t w, int64_t l) {
        Message m(id, w, l);
        client_->windowProc(m);
    }
    std::unique_ptr<app::FrameClock> clock_;
    std::unique_ptr<GameClient> client_;
    Recorder rec;
};

TEST_F(WindowProcTest, WheelDeltasAccumulateIntoNotches) {
    auto wheel = [&](int delta) {
        send(kWmMouseWheel, uint64_t(uint16_t(int16_t(delta))) << 16, packPoint(10, 10));
    };
    auto notches = [&] {
        std::vector<int> n;
        for (const auto& e : rec.events)
            if (e.kind == app::InputEvent::kWheel) n.push_back(e.wheel);
        return n;
    };
    wheel(60);
    EXPECT_TRUE(notches().empty());
    wheel(60);
    EXPECT_EQ(notches(), std::vector<int>{1});
    rec.events.clear();
    wheel(-150);
    EXPECT_EQ(notches(), std::vector<int>{-1});
    rec.events.clear();
    wheel(-90);  // -30 kept from before: -120 in all
    EXPECT_EQ(notches(), std::vector<int>{-1});
}

TEST_F(WindowProcTest, MousePositionsAreClampedToTheScreen) {
    struct Case {
        int x, y, ex, ey;
    } cases[] = {{-5, -7, 0, 0}, {700, 500, 639, 479}, {639, 479, 639, 479}, {320, -32768, 320, 0}};
    for (const auto& c : cases) {
        rec.events.clear();
        send(kWmMouseMove, 0, packPoint(c.x, c.y));
        ASSERT_EQ(rec.events.size(), 1u);
        EXPECT_EQ(rec.events[0].screenX, c.ex);
        EXPECT_EQ(rec.events[0].screenY, c.ey);
    }
    send(kWmLButtonDown, 0, packPoint(5, 5));
    EXPECT_TRUE(hp.window.captured());
    send(kWmLButtonUp, 0, packPoint(5, 5));
    EXPECT_FALSE(hp.window.captured());
}

TEST_F(WindowProcTest, ReceivedDataAndPostedObjectsBecomeEvents) {
    Message data(kMsgPacketData);
    data.data = {0x42, 1, 2};
    client_->windowProc(data);
    Message posted(kMsgPostedObject, 77);
    posted.object = std::make_unique<base::LObject>();
    client_->windowProc(posted);
    EXPECT_EQ(posted.object, nullptr);  // destroyed right after delivery
    ASSERT_EQ(rec.events.size(), 2u);
    EXPECT_EQ(rec.events[0].kind, app::InputEvent::kData);
    EXPECT_EQ(rec.events[0].subKind, 0);
    EXPECT_EQ(rec.events[0].data, (std::vector<uint8_t>{0x42, 1, 2}));
    EXPECT_EQ(rec.events[1].kind, app::InputEvent::kPosted);
    EXPECT_EQ(rec.events[1].code, 77);
}

}  // namespace
}  // namespace vs::client
