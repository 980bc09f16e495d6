#include "app/input_man.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/event_dispatcher.h"
#include "app/frame_clock.h"
#include "app/shell.h"
#include "platform/headless/headless_platform.h"
#include "platform/virtual_keys.h"

namespace vs::app {
namespace {

using namespace platform;

class FakeShell final : public Shell {
public:
    FakeShell() { registerShell(this); }
    ~FakeShell() override { unregisterShell(this); }
    void requestExit() override { ++exits; }
    bool isQuitting() const override { return quitting; }
    bool isActive() const override { return true; }
    void setPendingError(std::u16string) override {}
    int16_t version() const override { return 310; }
    int16_t build() const override { return 0; }
    bool inGame() const override { return false; }
    void setInGame(bool) override {}
    int exits = 0;
    bool quitting = false;
};

class Recorder : public EventHandler {
public:
    bool OnMouse(const InputEvent& e) override { return events.push_back(e), true; }
    bool OnKey(const InputEvent& e) override { return events.push_back(e), true; }
    bool OnPacket(const InputEvent& e) override { return events.push_back(e), true; }
    std::vector<InputEvent> events;
    std::vector<int> kinds() const {
        std::vector<int> k;
        for (const auto& e : events) k.push_back(e.kind);
        return k;
    }
};

class InputTest : public testing::Test {
protected:
    InputTest() { dispatcher.insert(&rec); }
    HeadlessPlatform hp;
    FrameClock clock{hp.clock};
    FakeShell shell;
    EventDispatcher dispatcher;
    InputMan input;
    Recorder rec;
};

TEST_F(InputTest, DoubleClicksByTimeDistanceAndButton) {
    struct Click {
        bool left;
        int x, y;
        uint32_t t;
    };
    struct Case {
        const char* name;
        std::vector<Click> clicks;
        std::vector<int> kinds;
    } cases[] = {
        {"two pixels apart", {{true, 10, 10, 1000}, {true, 11, 11, 1100}}, {1, 2}},
        {"three pixels apart", {{true, 10, 10, 1000}, {true, 12, 11, 1100}}, {1, 1}},
        {"just inside the time", {{true, 5, 5, 1000}, {true, 5, 5, 1499}}, {1, 2}},
        {"at the time", {{true, 5, 5, 1000}, {true, 5, 5, 1500}}, {1, 1}},
        {"left then right", {{true, 5, 5, 1000}, {false, 5, 5, 1100}}, {1, 4}},
        {"right double", {{false, 5, 5, 1000}, {false, 5, 5, 1100}}, {4, 5}},
        {"a right click between", {{true, 5, 5, 1000}, {false, 5, 5, 1050}, {true, 5, 5, 1100}}, {1, 4, 1}},
        {"third click starts anew", {{true, 5, 5, 1000}, {true, 5, 5, 1100}, {true, 5, 5, 1200}}, {1, 2, 1}},
        {"a first click at time 0", {{true, 5, 5, 0}, {true, 5, 5, 100}}, {1, 2}},
        {"across the clock's wrap", {{true, 5, 5, 0xFFFFFF00u}, {true, 5, 5, 0x20}}, {1, 2}},
    };
    for (const auto& c : cases) {
        InputMan fresh;  // no pending click from the previous case
        rec.events.clear();
        for (const auto& k : c.clicks) {
            fresh.mouseMove(k.y, k.x, k.t);
            k.left ? fresh.leftDown(k.t) : fresh.rightDown(k.t);
        }
        std::vector<int> got;
        for (const auto& e : rec.events)
            if (e.kind != InputEvent::kMouseMove) got.push_back(e.kind);
        EXPECT_EQ(got, c.kinds) << c.name;
    }
}

TEST_F(InputTest, ReleaseIsFollowedByAMoveAtTheSamePlace) {
    input.mouseMove(7, 9, 100);
    input.leftUp(101);
    input.rightUp(102);
    EXPECT_EQ(rec.kinds(), (std::vector<int>{0, 3, 0, 6, 0}));
    EXPECT_EQ(rec.events.back().x, 9);
    EXPECT_EQ(rec.events.back().y, 7);
}

TEST_F(InputTest, RepeatResendsTheMoveEveryTwentyMilliseconds) {
    input.mouseMove(1, 2, 0);
    input.startRepeat();
    rec.events.clear();
    for (int i = 0; i < 3; ++i) {
        hp.clock.advance(20);
        clock.update();
    }
    EXPECT_EQ(rec.kinds(), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(rec.events.back().time, clock.now());
    input.stopRepeat();
    hp.clock.advance(100);
    clock.update();
    EXPECT_EQ(rec.events.size(), 3u);
}

TEST_F(InputTest, KeyCodesAndModifiers) {
    struct Case {
        const char* name;
        std::vector<uint8_t> held;
        uint8_t vk;
        bool caps;
        uint8_t code;
        uint8_t modifiers;
    } cases[] = {
        {"a", {}, 'A', false, 'a', 0},
        {"Shift+a", {kVkShift}, 'A', false, 'A', 4},
        {"Caps Lock never changes case", {}, 'A', true, 'a', 0},
        {"Shift+a with Caps Lock", {kVkShift}, 'A', true, 'A', 4},
        {"Ctrl+A", {kVkControl}, 'A', false, 'a', 2},
        {"Ctrl+Shift+A", {kVkControl, kVkShift}, 'A', false, 'A', 6},
        {"Shift+1", {kVkShift}, '1', false, '!', 4},
        {"Shift+OEM 2", {kVkShift}, kVkOem2, false, '?', 4},
        {"Alt+OEM 1 takes the unshifted code", {kVkMenu}, kVkOem1, false, ';', 1},
        {"numpad 7", {}, kVkNumpad0 + 7, false, '7', 0},
        {"left arrow", {}, kVkLeft, false, 128, 0},
        {"Shift+Page Down", {kVkShift}, kVkNext, false, 148, 4},
        {"F12", {}, kVkF12, false, 144, 0},
        {"Enter", {}, kVkReturn, false, 13, 0},
        {"Escape", {}, kVkEscape, false, 27, 0},
        {"Shift itself", {}, kVkShift, false, 0, 4},
        {"an unknown key", {}, 0xE9, false, 0, 0},
    };
    for (const auto& c : cases) {
        InputMan fresh;
        fresh.setCapsLock(c.caps);
        for (uint8_t h : c.held) fresh.keyDown(h, 1);
        rec.events.clear();
        fresh.keyDown(c.vk, 2);
        ASSERT_EQ(rec.events.size(), 1u) << c.name;
        EXPECT_EQ(rec.events[0].kind, InputEvent::kKeyDown) << c.name;
        EXPECT_EQ(rec.events[0].keyCode, c.code) << c.name;
        EXPECT_EQ(rec.events[0].modifiers, c.modifiers) << c.name;
        EXPECT_EQ(rec.events[0].time, 2u) << c.name;
    }
}

TEST_F(InputTest, KeyUpClearsModifiersAndResetClearsEverything) {
    input.keyDown(kVkShift, 1);
    input.keyDown(kVkControl, 1);
    input.keyUp(kVkShift, 2);
    EXPECT_EQ(input.modifiers(), InputEvent::kCtrl);
    input.setNumLock(true);
    input.reset();
    EXPECT_EQ(input.modifiers(), 0);
    EXPECT_FALSE(input.keyHeld(kVkControl));
    EXPECT_FALSE(input.numLock());
    // Virtual key 0 posts nothing.
    rec.events.clear();
    input.keyDown(0, 3);
    EXPECT_TRUE(rec.events.empty());
}

TEST_F(InputTest, AltF4EndsTheProgram) {
    input.keyDown(kVkF4, 1);
    EXPECT_EQ(shell.exits, 0);
    input.keyDown(kVkMenu, 2);
    input.keyDown(kVkF4, 3);
    EXPECT_EQ(shell.exits, 1);
}

TEST_F(InputTest, SwallowedCharacterLivesTenMilliseconds) {
    dispatcher.swallowNextCharacter();
    input.text(u"x", 1);
    EXPECT_TRUE(rec.events.empty());
    input.text(u"y", 2);  // only one character is swallowed
    ASSERT_EQ(rec.events.size(), 1u);
    EXPECT_EQ(rec.events[0].text, u"y");
    dispatcher.swallowNextCharacter();
    hp.clock.advance(10);
    clock.update();
    input.text(u"z", 3);
    EXPECT_EQ(rec.events.size(), 2u);
}

TEST_F(InputTest, TextIsCutToItsLimit) {
    input.text(std::u16string(300, u'q'), 1);
    ASSERT_EQ(rec.events.size(), 1u);
    EXPECT_EQ(rec.events[0].text.size(), InputEvent::kMaxText);
}

TEST_F(InputTest, ScrollLockTakesAScreenshotAndIsConsumed) {
    std::vector<bool> shots;
    dispatcher.setScreenshotHook([&](bool bmp) { shots.push_back(bmp); });
    input.keyDown(kVkScroll, 1);
    hp.window.setHeld(kVkLShift, true);
    input.keyDown(kVkScroll, 2);
    EXPECT_EQ(shots, (std::vector<bool>{false, true}));
    EXPECT_TRUE(rec.events.empty());
    // Other events go their way.
    input.dataCopy(reinterpret_cast<const uint8_t*>("\x05"), 1);
    EXPECT_EQ(rec.events.size(), 1u);
    EXPECT_EQ(shots.size(), 2u);
}

TEST_F(InputTest, CursorHidesAfterThreeSecondsWithoutMovement) {
    std::vector<bool> shown;
    dispatcher.setCursorHook([&](bool s) { shown.push_back(s); });
    input.mouseMove(10, 10, 1000);
    input.mouseMove(10, 10, 4000);  // exactly 3000: not yet
    EXPECT_TRUE(shown.empty());
    input.mouseMove(10, 10, 4001);
    EXPECT_EQ(shown, std::vector<bool>{false});
    EXPECT_TRUE(dispatcher.cursorAutoHidden());
    input.leftDown(4002);  // a button shows it again
    EXPECT_EQ(shown, (std::vector<bool>{false, true}));
    input.mouseMove(10, 10, 7003);
    EXPECT_EQ(shown.size(), 3u);
    input.mouseMove(11, 10, 7004);  // any movement shows it
    EXPECT_EQ(shown, (std::vector<bool>{false, true, false, true}));
}

TEST_F(InputTest, QuittingDropsEventsButFreesTheirData) {
    shell.quitting = true;
    input.dataCopy(reinterpret_cast<const uint8_t*>("abc"), 3);
    input.mouseMove(1, 1, 1);
    EXPECT_TRUE(rec.events.empty());
}

TEST(UsLayout, CharactersByShift) {
    EXPECT_EQ(usLayoutCharacter('Q', false), 'q');
    EXPECT_EQ(usLayoutCharacter('0', true), ')');
    EXPECT_EQ(usLayoutCharacter(kVkOem7, true), '"');
    EXPECT_EQ(usLayoutCharacter(kVkSpace, true), ' ');
    EXPECT_EQ(usLayoutCharacter(kVkF1, false), 0);
}

}  // namespace
}  // namespace vs::app
