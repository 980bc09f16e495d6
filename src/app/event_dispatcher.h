#pragma once
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

#include "app/frame_clock.h"
#include "app/input_event.h"
#include "app/tick_scheduler.h"

namespace vs::app {

// The tree of event handlers and the routing of every event through it: the focus handler
// first, then the top modal handler's subtree, then the whole tree, children before their parent
// and the most recently registered sibling first. Events are delivered at once, on the UI thread.
class EventDispatcher final : public TimerClient {
public:
    EventDispatcher();
    ~EventDispatcher() override;
    EventDispatcher(const EventDispatcher&) = delete;
    EventDispatcher& operator=(const EventDispatcher&) = delete;
    static EventDispatcher* instance() { return instance_; }

    // Places the handler just before `before` when that is registered, else as the first
    // (topmost) child of `parent` (or of the root). A registered handler is moved.
    void insert(EventHandler* handler, EventHandler* before = nullptr, EventHandler* parent = nullptr);
    // Drops the handler and its whole subtree from routing, focus and the modal list.
    void remove(EventHandler* handler);
    bool isRegistered(const EventHandler* handler) const;
    EventHandler* parentOf(const EventHandler* handler) const;

    void setFocus(EventHandler* handler);
    bool hasFocus(const EventHandler* handler) const;
    EventHandler* focus() const { return focus_; }
    EventHandler* coordinateHandler() const { return coordinate_; }
    EventHandler* currentHandler() const { return current_; }

    void pushModal(EventHandler* handler);
    void popModal(EventHandler* handler);
    EventHandler* topModal() const;

    void swallowNextCharacter();
    bool swallowing() const { return swallow_; }

    // Routes the event unless the program is quitting (kind 19 is never routed).
    void post(InputEvent& event);
    void post(InputEvent&& event) { post(event); }

    // Main loop start, and the per-frame work (compaction of the handler array).
    void beginLoop();
    void frameWork();
    size_t nodeCount() const { return nodes_.size(); }

    // The 20 ms ticks of the frame step.
    TickScheduler& ticks() { return ticks_; }
    bool tickBaseSet() const { return tickBaseSet_; }
    uint32_t tickBase() const { return tickBase_; }
    uint32_t tickCount() const { return tickCount_; }
    void setTickBase(uint32_t base) { tickBase_ = base, tickBaseSet_ = true, tickCount_ = 0; }
    void setTickCount(uint32_t count) { tickCount_ = count; }

    // Cursor auto-hide: the pointer hides after 3000 ms without a move and shows again on any
    // movement, button or wheel. Only the auto-hide state changes; the hook tells the cursor.
    bool cursorAutoHidden() const { return !cursorShown_; }
    void setCursorHook(std::function<void(bool shown)> hook) { cursorHook_ = std::move(hook); }
    static constexpr uint32_t kCursorHideDelay = 3000;

    // Screenshot on the Scroll Lock key (BMP when left Shift is held, else JPEG).
    void setScreenshotHook(std::function<void(bool bmp)> hook) { screenshotHook_ = std::move(hook); }
    // Called for every routed event at debug level and by tests.
    void setTraceHook(std::function<void(const InputEvent&)> hook) { traceHook_ = std::move(hook); }

    bool OnTimer(int32_t code, int32_t first, int32_t second) override;

private:
    struct Node {
        int32_t parent = -1;
        int32_t lastChild = -1;
        int32_t firstChild = -1;
        int32_t next = -1;
        int32_t prev = -1;
        EventHandler* handler = nullptr;
        bool removed = false;
    };
    int32_t find(const EventHandler* handler) const;
    void unlink(int32_t n);
    void markRemoved(int32_t n);
    bool route(InputEvent& e);
    bool offerChildren(int32_t n, InputEvent& e);
    bool deliver(EventHandler* h, InputEvent& e);
    bool screenshotKey(const InputEvent& e);
    void cursorAutoHide(const InputEvent& e);
    void setCursorShown(bool shown);

    static inline EventDispatcher* instance_ = nullptr;
    std::vector<Node> nodes_;
    std::unordered_map<const EventHandler*, int32_t> index_;
    EventHandler* focus_ = nullptr;
    EventHandler* coordinate_ = nullptr;
    EventHandler* current_ = nullptr;
    std::vector<EventHandler*> modal_;  // newest first
    bool swallow_ = false;
    bool tickBaseSet_ = false;
    uint32_t tickBase_ = 0;
    uint32_t tickCount_ = 0;
    bool cursorShown_ = true;
    uint32_t lastMoveTime_ = 0;
    int32_t lastMouseY_ = -1, lastMouseX_ = -1;
    TickScheduler ticks_;
    std::function<void(bool)> cursorHook_;
    std::function<void(bool)> screenshotHook_;
    std::function<void(const InputEvent&)> traceHook_;
};

}  // namespace vs::app
