#pragma once
#include <cstdint>
#include <string_view>

#include "base/rect.h"
#include "platform/message_queue.h"
#include "platform/registered.h"

namespace vs::platform {

// How the window shows the 640 x 480 picture: scaled by a whole factor (0: the largest that fits
// the desktop), in a desktop window or over the whole screen.
struct WindowMode {
    int scale = 0;
    bool fullscreen = false;
};

// The main window and its message queue. The queue may be posted to from any thread; everything
// else is called on the UI thread.
class Window : public Registered<Window> {
public:
    virtual ~Window() = default;

    // Taken by create(); the settings decide it before the window exists.
    void setMode(const WindowMode& mode) { mode_ = mode; }
    const WindowMode& mode() const { return mode_; }

    // Creates the (hidden) main window; false when the system refuses.
    virtual bool create(std::u16string_view title, int width, int height) = 0;
    virtual bool isCreated() const = 0;
    virtual void setTitle(std::u16string_view title) = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual void minimize() = 0;
    virtual void restore() = 0;
    virtual void bringToFront() = 0;
    // Destroys the window; the window procedure then receives kWmDestroy.
    virtual void destroy() = 0;

    // Any thread.
    void post(Message m) {
        queue_.post(std::move(m));
        wake();
    }
    void postQuit(int code) { post(Message(kWmQuit, uint64_t(code))); }
    void signalQuitEvent() {
        queue_.signalQuitEvent();
        wake();
    }

    // UI thread: waits up to timeoutMs for input or the quit event; then peek() drains messages.
    virtual WaitResult wait(uint32_t timeoutMs) = 0;
    bool peek(Message& out) { return queue_.take(out); }
    size_t queuedMessages() const { return queue_.size(); }

    // Pointer and keyboard.
    virtual void setCapture(bool on) = 0;
    virtual void showSystemCursor(bool show) = 0;
    virtual void clipCursor(const base::Rect* area) = 0;  // nullptr: no clip
    virtual void warpMouse(int x, int y) = 0;
    virtual bool keyToggled(uint8_t virtualKey) = 0;  // Caps Lock, Num Lock, Scroll Lock state
    virtual bool keyDownNow(uint8_t virtualKey) = 0;  // the key is held at this moment
    virtual uint32_t doubleClickTime() = 0;

protected:
    // Interrupts a wait() running on the UI thread; called after every post from any thread.
    virtual void wake() {}
    MessageQueue queue_;
    WindowMode mode_;
};

}  // namespace vs::platform
