#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/event_dispatcher.h"
#include "app/input_event.h"
#include "platform/headless/headless_platform.h"

namespace vs::app {
namespace {

using Log = std::vector<std::string>;

class Handler : public EventHandler {
public:
    Handler(Log& log, std::string name, base::Point screen = {}) : log_(log), name_(std::move(name)), screen_(screen) {}
    bool OnMouse(const InputEvent& e) override { return take(e, "m"); }
    bool OnKey(const InputEvent& e) override { return take(e, "k"); }
    bool OnPacket(const InputEvent& e) override { return take(e, "p"); }
    bool IsShowing() const override { return showing; }
    base::Point GetScreenPosition() const override { return screen_; }

    bool consumes = false;
    bool showing = true;
    std::function<void()> during;
    InputEvent last;

private:
    bool take(const InputEvent& e, const char* what) {
        log_.push_back(name_ + ":" + what);
        last = e;
        if (during) during();
        return consumes;
    }
    Log& log_;
    std::string name_;
    base::Point screen_;
};

InputEvent key() {
    InputEvent e;
    e.kind = InputEvent::kKeyDown;
    e.keyCode = 'a';
    return e;
}
InputEvent mouse(int x, int y) {
    InputEvent e;
    e.kind = InputEvent::kLeftDown;
    e.x = x;
    e.y = y;
    return e;
}
InputEvent packet() {
    InputEvent e;
    e.kind = InputEvent::kData;
    e.data = {1, 2, 3};
    return e;
}

// Root children: A (older) and B (newer); A has A1; B has B1 (older) and B2 (newer).
class Routing : public testing::Test {
protected:
    Routing() {
        d.insert(&a);
        d.insert(&b);
        d.insert(&a1, nullptr, &a);
        d.insert(&b1, nullptr, &b);
        d.insert(&b2, nullptr, &b);
    }
    Log log;
    EventDispatcher d;
    Handler a{log, "A"}, b{log, "B", {100, 50}}, a1{log, "A1"}, b1{log, "B1"}, b2{log, "B2", {110, 60}};
};

TEST_F(Routing, WholeTreeNewestSiblingFirstChildrenBeforeParent) {
    d.post(packet());
    EXPECT_EQ(log, (Log{"B2:p", "B1:p", "B:p", "A1:p", "A:p"}));
}

TEST_F(Routing, TableOfFocusModalAndConsumers) {
    struct Case {
        const char* name;
        InputEvent event;
        Handler* focus;
        Handler* modal;
        Handler* consumer;
        Handler* hidden;
        Log expected;
    } cases[] = {
        {"consumed stops", key(), nullptr, nullptr, &b1, nullptr, {"B2:k", "B1:k"}},
        {"hidden skipped", key(), nullptr, nullptr, nullptr, &b2, {"B1:k", "B:k", "A1:k", "A:k"}},
        {"focus only", key(), &a1, nullptr, nullptr, nullptr, {"A1:k"}},
        {"hidden focus", key(), &a1, nullptr, nullptr, &a1, {"B2:k", "B1:k", "B:k", "A:k"}},
        {"modal subtree then modal", key(), nullptr, &b, nullptr, nullptr, {"B2:k", "B1:k", "B:k"}},
        {"focus before modal", key(), &a, &b, nullptr, nullptr, {"A:k"}},
        {"packets ignore the modal", packet(), nullptr, &b, nullptr, nullptr,
         {"B2:p", "B1:p", "B:p", "A1:p", "A:p"}},
        {"mouse through the modal", mouse(5, 5), nullptr, &a, nullptr, nullptr, {"A1:m", "A:m"}},
        {"hidden modal is no modal", key(), nullptr, &a, nullptr, &a, {"B2:k", "B1:k", "B:k", "A1:k"}},
    };
    for (auto& c : cases) {
        log.clear();
        for (Handler* h : {&a, &b, &a1, &b1, &b2}) {
            h->consumes = h == c.consumer;
            h->showing = h != c.hidden;
        }
        d.setFocus(c.focus);
        if (c.modal) d.pushModal(c.modal);
        InputEvent e = c.event;
        d.post(e);
        EXPECT_EQ(log, c.expected) << c.name;
        if (c.modal) d.popModal(c.modal);
        d.setFocus(nullptr);
    }
}

TEST_F(Routing, MouseArrivesInEachHandlersOwnCoordinates) {
    d.post(mouse(130, 70));
    EXPECT_EQ(b2.last.x, 20);
    EXPECT_EQ(b2.last.y, 10);
    EXPECT_EQ(b.last.x, 30);
    EXPECT_EQ(b.last.y, 20);
    EXPECT_EQ(a.last.x, 130);
    EXPECT_EQ(a.last.screenX, 130);
}

TEST_F(Routing, FocusSetDuringDeliveryTakesItsCoordinateHandler) {
    b2.during = [&] { d.setFocus(&b2); };
    d.post(mouse(130, 70));
    EXPECT_TRUE(d.hasFocus(&b2));
    EXPECT_EQ(d.coordinateHandler(), &b2);
    log.clear();
    d.post(mouse(111, 61));
    EXPECT_EQ(log, Log{"B2:m"});
    EXPECT_EQ(b2.last.x, 1);
    // Focus set from outside any delivery has no coordinate handler: mouse goes through the tree.
    d.setFocus(&a1);
    EXPECT_EQ(d.coordinateHandler(), nullptr);
    log.clear();
    b2.during = nullptr;
    b2.consumes = true;
    d.post(mouse(0, 0));
    EXPECT_EQ(log, Log{"B2:m"});
}

TEST_F(Routing, HandlersRemoveAndInsertWhileEventsRoute) {
    Handler late{log, "L"};
    b2.during = [&] {
        d.remove(&b2);   // itself
        d.remove(&b1);   // its next sibling
        d.insert(&late); // a new topmost root child: not offered this event
    };
    d.post(packet());
    EXPECT_EQ(log, (Log{"B2:p", "B:p", "A1:p", "A:p"}));
    d.frameWork();
    log.clear();
    b2.during = nullptr;
    d.post(packet());
    EXPECT_EQ(log, (Log{"L:p", "B:p", "A1:p", "A:p"}));
    EXPECT_EQ(d.nodeCount(), 5u);  // root, L, B, A, A1
}

TEST_F(Routing, RemovingASubtreeDropsFocusAndModalEntries) {
    d.setFocus(&b1);
    d.pushModal(&b2);
    d.pushModal(&a);
    d.pushModal(&b2);  // again: moves to the front
    EXPECT_EQ(d.topModal(), &b2);
    d.remove(&b);
    EXPECT_EQ(d.focus(), nullptr);
    EXPECT_EQ(d.topModal(), &a);
    EXPECT_FALSE(d.isRegistered(&b2));
    // A handler destroyed while registered leaves the tree.
    {
        Handler temp{log, "T"};
        d.insert(&temp, nullptr, &a);
    }
    log.clear();
    d.post(packet());
    EXPECT_EQ(log, (Log{"A1:p", "A:p"}));
}

TEST_F(Routing, RegisterBeforeASibling) {
    Handler x{log, "X"};
    d.insert(&x, &b1);  // placed just before B1 under B
    EXPECT_EQ(d.parentOf(&x), &b);
    d.post(packet());
    EXPECT_EQ(log, (Log{"B2:p", "X:p", "B1:p", "B:p", "A1:p", "A:p"}));
}

TEST_F(Routing, NestedDeliveryRestoresTheCurrentHandler) {
    EventHandler* seenAfter = nullptr;
    b1.during = [&] {
        if (d.currentHandler() != &b1) return;
        b1.during = nullptr;
        InputEvent inner = packet();
        d.post(inner);  // a handler that posts an event itself
        seenAfter = d.currentHandler();
    };
    d.post(packet());
    EXPECT_EQ(seenAfter, &b1);
    EXPECT_EQ(d.currentHandler(), nullptr);
}

}  // namespace
}  // namespace vs::app
