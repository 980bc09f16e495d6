#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/frame_clock.h"
#include "app/input_event.h"

namespace vs::app {

// Key codes of the program: printable ASCII as itself, and these.
enum KeyCode : uint8_t {
    kKeyBackspace = 8,
    kKeyTab = 9,
    kKeyEnter = 13,
    kKeyEscape = 27,
    kKeySpace = 32,
    kKeyLeft = 128,
    kKeyUp = 129,
    kKeyRight = 130,
    kKeyDown = 131,
    kKeyDelete = 132,
    kKeyF1 = 133,  // .. F12 = 144
    kKeyF4 = 136,
    kKeyHome = 145,
    kKeyEnd = 146,
    kKeyPageUp = 147,
    kKeyPageDown = 148,
    kKeyScrollLock = 149,
};

// The character a US keyboard types for a virtual key, with or without Shift; 0 for none.
char usLayoutCharacter(uint8_t virtualKey, bool shift);

// Keyboard and mouse state; turns the window procedure's calls into events for the dispatcher.
class InputMan final : public TimerClient {
public:
    InputMan();
    ~InputMan() override;
    InputMan(const InputMan&) = delete;
    InputMan& operator=(const InputMan&) = delete;
    static InputMan* instance() { return instance_; }

    void mouseMove(int32_t y, int32_t x, uint32_t time);
    void startRepeat();
    void stopRepeat();
    void leftDown(uint32_t time);
    void leftUp(uint32_t time);
    void rightDown(uint32_t time);
    void rightUp(uint32_t time);
    void wheel(uint32_t time, int32_t notches);
    void keyDown(uint32_t virtualKey, uint32_t time);
    void keyUp(uint32_t virtualKey, uint32_t time);
    void text(std::u16string_view text, uint32_t time);
    void setCapsLock(bool toggled) { capsLock_ = toggled; }
    void setNumLock(bool toggled) { numLock_ = toggled; }
    void reset();
    void data(uint8_t subKind, std::vector<uint8_t> bytes);
    void dataCopy(const uint8_t* bytes, size_t length);
    // Any thread: posts the object to the main window (message 1030) for the UI thread.
    static void postObject(int32_t code, std::unique_ptr<base::LObject> object);

    // Input method events, produced by the input method manager only.
    void imeOpen(bool open, uint32_t time);
    void imeStart(uint32_t time);
    void imeString(std::u16string_view text, uint32_t time);
    void imeEnd(uint32_t time);
    void imeCandidates(int32_t selection, std::shared_ptr<base::LObject> page, uint32_t time);
    void imeCandidatesClosed(uint32_t time);

    int32_t mouseY() const { return y_; }
    int32_t mouseX() const { return x_; }
    uint8_t modifiers() const { return modifiers_; }
    bool keyHeld(uint8_t virtualKey) const { return keyState_[virtualKey] & 0x80; }
    bool capsLock() const { return capsLock_; }
    bool numLock() const { return numLock_; }
    uint8_t unshiftedCode(uint8_t virtualKey) const { return unshifted_[virtualKey]; }

    bool OnTimer(int32_t code, int32_t first, int32_t second) override;

private:
    void postMouse(uint8_t kind, uint32_t time, int32_t wheel = 0);
    void click(bool left, uint32_t time);

    static inline InputMan* instance_ = nullptr;
    int32_t y_ = 240;
    int32_t x_ = 320;
    uint32_t doubleClickTime_ = 500;
    bool clickPending_ = false;  // an explicit flag: a click at time 0 is still a click
    uint8_t lastClickButton_ = 0;  // 1 left, 0 right
    int32_t lastClickY_ = 0, lastClickX_ = 0;
    uint32_t lastClickTime_ = 0;
    std::array<uint8_t, 256> modifierTable_{};
    std::array<uint8_t, 256> unshifted_{};
    std::array<uint8_t, 256> keyState_{};
    uint8_t modifiers_ = 0;
    bool capsLock_ = false;
    bool numLock_ = false;
};

}  // namespace vs::app
