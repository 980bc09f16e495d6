#include "app/event_dispatcher.h"

#include <algorithm>

#include "app/idle_watcher.h"
#include "app/shell.h"
#include "base/log.h"
#include "base/text.h"
#include "base/time.h"
#include "platform/virtual_keys.h"
#include "platform/window.h"

namespace vs::app {

namespace {
constexpr uint8_t kScrollLockCode = 149;
}

EventHandler::~EventHandler() {
    if (auto* d = EventDispatcher::instance()) d->remove(this);
}

void EventHandler::RegisterBefore(EventHandler* sibling) {
    if (auto* d = EventDispatcher::instance()) d->insert(this, sibling, nullptr);
}

EventDispatcher::EventDispatcher() {
    nodes_.push_back(Node{});  // the root, with no handler
    instance_ = this;
}

EventDispatcher::~EventDispatcher() {
    if (instance_ == this) instance_ = nullptr;
}

int32_t EventDispatcher::find(const EventHandler* handler) const {
    if (!handler) return -1;
    auto it = index_.find(handler);
    return it == index_.end() ? -1 : it->second;
}

bool EventDispatcher::isRegistered(const EventHandler* handler) const { return find(handler) >= 0; }

EventHandler* EventDispatcher::parentOf(const EventHandler* handler) const {
    int32_t n = find(handler);
    if (n < 0) return nullptr;
    int32_t p = nodes_[size_t(n)].parent;
    return p > 0 ? nodes_[size_t(p)].handler : nullptr;
}

void EventDispatcher::insert(EventHandler* handler, EventHandler* before, EventHandler* parent) {
    if (!handler) return;
    if (find(handler) >= 0) remove(handler);
    const auto n = int32_t(nodes_.size());
    Node node;
    node.handler = handler;
    const int32_t b = find(before);
    if (b >= 0) {
        Node& sib = nodes_[size_t(b)];
        node.parent = sib.parent;
        node.next = b;
        node.prev = sib.prev;
        nodes_.push_back(node);
        Node& s2 = nodes_[size_t(b)];
        if (s2.prev >= 0)
            nodes_[size_t(s2.prev)].next = n;
        else
            nodes_[size_t(s2.parent)].firstChild = n;
        s2.prev = n;
    } else {
        int32_t p = find(parent);
        if (p < 0) p = 0;
        node.parent = p;
        node.next = nodes_[size_t(p)].firstChild;
        nodes_.push_back(node);
        Node& par = nodes_[size_t(p)];
        if (par.firstChild >= 0)
            nodes_[size_t(par.firstChild)].prev = n;
        else
            par.lastChild = n;
        par.firstChild = n;
    }
    index_[handler] = n;
}

void EventDispatcher::unlink(int32_t n) {
    Node& node = nodes_[size_t(n)];
    Node& par = nodes_[size_t(node.parent)];
    if (node.prev >= 0)
        nodes_[size_t(node.prev)].next = node.next;
    else
        par.firstChild = node.next;
    if (node.next >= 0)
        nodes_[size_t(node.next)].prev = node.prev;
    else
        par.lastChild = node.prev;
    // The node keeps its own links, so a walk standing on it can go on to its next sibling.
}

void EventDispatcher::markRemoved(int32_t n) {
    Node& node = nodes_[size_t(n)];
    if (node.removed) return;
    node.removed = true;
    EventHandler* h = node.handler;
    index_.erase(h);
    if (focus_ == h || coordinate_ == h) focus_ = coordinate_ = nullptr;
    modal_.erase(std::remove(modal_.begin(), modal_.end(), h), modal_.end());
    for (int32_t c = node.firstChild; c >= 0; c = nodes_[size_t(c)].next) markRemoved(c);
}

void EventDispatcher::remove(EventHandler* handler) {
    int32_t n = find(handler);
    if (n < 0) {
        // Not in the tree, but it may still be named as focus or modal.
        if (focus_ == handler || coordinate_ == handler) focus_ = coordinate_ = nullptr;
        modal_.erase(std::remove(modal_.begin(), modal_.end(), handler), modal_.end());
        if (current_ == handler) current_ = nullptr;
        return;
    }
    unlink(n);
    markRemoved(n);
    if (current_ == handler) current_ = nullptr;
}

void EventDispatcher::frameWork() {
    bool any = false;
    for (const Node& node : nodes_) any = any || node.removed;
    if (!any) return;
    std::vector<int32_t> map(nodes_.size(), -1);
    std::vector<Node> kept;
    kept.reserve(nodes_.size());
    for (size_t i = 0; i < nodes_.size(); ++i) {
        if (i == 0 || !nodes_[i].removed) {
            map[i] = int32_t(kept.size());
            kept.push_back(nodes_[i]);
        }
    }
    // A kept node's links only ever name kept nodes: unlinking repaired them on removal.
    auto remap = [&](int32_t v) { return v < 0 ? -1 : map[size_t(v)]; };
    for (Node& node : kept) {
        node.parent = remap(node.parent);
        node.firstChild = remap(node.firstChild);
        node.lastChild = remap(node.lastChild);
        node.next = remap(node.next);
        node.prev = remap(node.prev);
    }
    nodes_.swap(kept);
    index_.clear();
    for (size_t i = 1; i < nodes_.size(); ++i) index_[nodes_[i].handler] = int32_t(i);
}

void EventDispatcher::setFocus(EventHandler* handler) {
    focus_ = handler;
    coordinate_ = handler ? current_ : nullptr;
}

bool EventDispatcher::hasFocus(const EventHandler* handler) const {
    return handler && (handler == focus_ || handler == coordinate_);
}

void EventDispatcher::pushModal(EventHandler* handler) {
    if (!handler) return;
    modal_.erase(std::remove(modal_.begin(), modal_.end(), handler), modal_.end());
    modal_.insert(modal_.begin(), handler);
}

void EventDispatcher::popModal(EventHandler* handler) {
    modal_.erase(std::remove(modal_.begin(), modal_.end(), handler), modal_.end());
}

EventHandler* EventDispatcher::topModal() const {
    for (EventHandler* h : modal_) {
        if (h->IsShowing()) return h;
    }
    return nullptr;
}

void EventDispatcher::swallowNextCharacter() {
    swallow_ = true;
    if (auto* fc = FrameClock::instance()) {
        fc->cancel(this, 0);
        fc->schedule(this, 0, 10);
    }
}

bool EventDispatcher::OnTimer(int32_t code, int32_t, int32_t) {
    if (code == 0) swallow_ = false;
    return true;
}

void EventDispatcher::beginLoop() {
    if (auto* fc = FrameClock::instance()) tickBase_ = fc->now();
}

bool EventDispatcher::deliver(EventHandler* h, InputEvent& e) {
    if (!h) return false;
    if ((e.isMouse() || e.isKeyboard()) && !h->IsShowing()) return false;
    if (e.isMouse()) {
        base::Point p = h->GetScreenPosition();
        e.y = e.screenY - p.y;
        e.x = e.screenX - p.x;
    }
    EventHandler* saved = current_;
    current_ = h;
    bool handled = true;
    switch (e.kind) {
        case InputEvent::kMouseMove:
        case InputEvent::kLeftDown:
        case InputEvent::kLeftDouble:
        case InputEvent::kLeftUp:
        case InputEvent::kRightDown:
        case InputEvent::kRightDouble:
        case InputEvent::kRightUp:
        case InputEvent::kWheel: handled = h->OnMouse(e); break;
        case InputEvent::kKeyDown:
        case InputEvent::kText: handled = h->OnKey(e); break;
        case InputEvent::kData: handled = h->OnPacket(e); break;
        case InputEvent::kPosted: handled = h->OnPostedEvent(e); break;
        default:
            if (e.isTextEntry())
                handled = h->OnText(e);
            else if (e.isConnection())
                handled = h->OnConnectionEvent(e);
            break;
    }
    current_ = saved;
    return handled;
}

bool EventDispatcher::offerChildren(int32_t n, InputEvent& e) {
    // By index: handlers may insert (growing the array) or remove nodes while we walk.
    int32_t c = nodes_[size_t(n)].firstChild;
    while (c >= 0) {
        if (!nodes_[size_t(c)].removed) {
            if (offerChildren(c, e)) return true;
            if (!nodes_[size_t(c)].removed && deliver(nodes_[size_t(c)].handler, e)) return true;
        }
        c = nodes_[size_t(c)].next;
    }
    return false;
}

bool EventDispatcher::screenshotKey(const InputEvent& e) {
    if (e.kind != InputEvent::kKeyDown || e.keyCode != kScrollLockCode) return false;
    if (screenshotHook_) {
        auto* w = platform::Window::instance();
        screenshotHook_(w && w->keyDownNow(platform::kVkLShift));
    }
    return true;
}

void EventDispatcher::setCursorShown(bool shown) {
    if (cursorShown_ == shown) return;
    cursorShown_ = shown;
    if (cursorHook_) cursorHook_(shown);
}

void EventDispatcher::cursorAutoHide(const InputEvent& e) {
    const bool moved = e.screenY != lastMouseY_ || e.screenX != lastMouseX_;
    if (e.kind != InputEvent::kMouseMove) {
        if (!cursorShown_) {
            setCursorShown(true);
            lastMoveTime_ = e.time;
        }
    } else if (cursorShown_) {
        if (moved)
            lastMoveTime_ = e.time;
        else if (base::timeDiff(e.time, lastMoveTime_ + kCursorHideDelay) > 0)
            setCursorShown(false);
    } else if (moved) {
        setCursorShown(true);
    }
    lastMouseY_ = e.screenY;
    lastMouseX_ = e.screenX;
}

bool EventDispatcher::route(InputEvent& e) {
    if (screenshotKey(e)) return true;
    EventHandler* modal = topModal();
    if (e.isKeyboard()) {
        if (auto* idle = IdleWatcher::instance()) idle->activity();
        if (swallow_ && e.kind == InputEvent::kText && e.text.size() == 1) {
            swallow_ = false;
            return true;
        }
        if (focus_ && focus_->IsShowing()) return deliver(focus_, e);
        if (modal) {
            int32_t m = find(modal);
            if (m >= 0 && offerChildren(m, e)) return true;
            return deliver(modal, e);
        }
        return offerChildren(0, e);
    }
    if (!e.isMouse()) return offerChildren(0, e);

    if (auto* idle = IdleWatcher::instance()) idle->activity();
    cursorAutoHide(e);
    if (focus_ && coordinate_ && coordinate_->IsShowing()) return deliver(coordinate_, e);
    if (modal) {
        int32_t m = find(modal);
        if (m >= 0 && offerChildren(m, e)) return true;
        return deliver(modal, e);
    }
    return offerChildren(0, e);
}

void EventDispatcher::post(InputEvent& e) {
    if (e.kind == 19) return;
    if (auto* shell = Shell::instance(); shell && shell->isQuitting()) return;
    if (e.isMouse()) {
        e.screenY = e.y;
        e.screenX = e.x;
    }
    if (base::logEnabled(base::LogLevel::Debug) && e.kind != InputEvent::kMouseMove) {
        if (e.isMouse())
            VS_DEBUG("event %u at (%d, %d) modifiers %u wheel %d time %u", e.kind, e.screenX,
                     e.screenY, e.modifiers, e.wheel, e.time);
        else if (e.isKeyboard())
            VS_DEBUG("event %u key %u text \"%s\" modifiers %u time %u", e.kind, e.keyCode,
                     base::utf16ToUtf8(e.text).c_str(), e.modifiers, e.time);
        else
            VS_DEBUG("event %u", e.kind);
    }
    if (traceHook_) traceHook_(e);
    route(e);
}

}  // namespace vs::app
