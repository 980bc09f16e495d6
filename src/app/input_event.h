#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/lobject.h"
#include "base/rect.h"

namespace vs::app {

// The event record every handler receives. Which fields mean something depends on the kind.
struct InputEvent {
    enum Kind : uint8_t {
        kMouseMove = 0,
        kLeftDown = 1,
        kLeftDouble = 2,
        kLeftUp = 3,
        kRightDown = 4,
        kRightDouble = 5,
        kRightUp = 6,
        kWheel = 7,
        kKeyDown = 8,
        kText = 9,
        kImeOpen = 10,
        kImeStart = 11,
        kImeString = 12,
        kImeEnd = 13,
        kImeCandidates = 14,
        kImeCandidatesClosed = 15,
        kData = 17,
        kPosted = 18,
        kConnectionClosed = 21,
        kEmpty = 255,
    };
    enum Modifier : uint8_t { kAlt = 1, kCtrl = 2, kShift = 4 };
    static constexpr size_t kMaxText = 127;  // units of a kind-9 text
    static constexpr size_t kMaxComposition = 127;  // units of a composition string

    uint8_t kind = kEmpty;
    // Mouse (0..7): position in the receiving handler's coordinates, and on the screen.
    int32_t y = 0;
    int32_t x = 0;
    int32_t screenY = 0;
    int32_t screenX = 0;
    uint8_t modifiers = 0;
    int32_t wheel = 0;  // notches, positive away from the user (kind 7)
    uint32_t time = 0;
    // Keyboard and text (8..15).
    uint8_t keyCode = 0;
    std::u16string text;
    int32_t openFlag = 0;                          // kind 10
    int32_t selection = 0;                         // kind 14, relative to the page shown
    std::shared_ptr<base::LObject> candidates;     // kind 14, the candidate page
    // Received data (17): 1 raw terminal bytes, 0 a packet; the bytes belong to the event.
    uint8_t subKind = 0;
    std::vector<uint8_t> data;
    // Posted object (18): the window procedure destroys it right after delivery.
    int32_t code = 0;
    base::LObject* object = nullptr;

    bool isMouse() const { return kind <= kWheel; }
    bool isKeyboard() const { return kind == kKeyDown || kind == kText; }
    bool isTextEntry() const { return kind >= kImeOpen && kind <= 16; }
    bool isConnection() const { return kind >= 19 && kind <= 21; }
};

// Receives events from the dispatcher. Each On-operation returns true when it consumed the event.
class EventHandler {
public:
    virtual ~EventHandler();
    virtual bool OnMouse(const InputEvent&) { return false; }
    virtual bool OnKey(const InputEvent&) { return false; }
    virtual bool OnText(const InputEvent&) { return false; }
    virtual bool OnPacket(const InputEvent&) { return false; }
    virtual bool OnConnectionEvent(const InputEvent&) { return false; }
    virtual bool OnPostedEvent(const InputEvent&) { return false; }
    // Hands the handler to the dispatcher, just before `sibling` (or as a new topmost root).
    virtual void RegisterBefore(EventHandler* sibling);
    // Positions relative to the parent, and on the screen.
    virtual base::Point GetPosition() const { return {}; }
    virtual base::Point GetScreenPosition() const { return {}; }
    virtual bool IsShowing() const { return true; }
};

}  // namespace vs::app
