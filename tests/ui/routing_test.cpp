#include <gtest/gtest.h>

#include <vector>

#include "ui/ui_fixture.h"

namespace vs::test {
namespace {

using app::InputEvent;

// Two top-level panes, the newer with two children, all registered as the screens do it:
// Attach, then RegisterHandler under the drawing parent.
class RoutingTest : public UiFixture {
  protected:
    RoutingTest() {
        older.Attach({0, 0, 200, 200}, nullptr, nullptr, raw[ui::kBaseLayer]);
        older.RegisterHandler(nullptr, nullptr);
        newer.Attach({300, 100, 500, 300}, nullptr, nullptr, raw[ui::kDialogLayer]);
        newer.RegisterHandler(nullptr, nullptr);
        first.Attach({10, 10, 60, 60}, nullptr, &newer, nullptr);
        first.RegisterHandler(nullptr, &newer);
        second.Attach({70, 10, 120, 60}, nullptr, &newer, nullptr);
        second.RegisterHandler(nullptr, &newer);
        for (PatternPane* p : {&older, &newer, &first, &second}) p->log_ = &log;
    }
    std::vector<int> post(uint8_t kind, int x = 0, int y = 0) {
        log.clear();
        InputEvent e;
        e.kind = kind;
        e.x = x, e.y = y;
        dispatcher.post(e);
        return log;
    }

    std::vector<int> log;
    PatternPane older{1}, newer{2}, first{21}, second{22};
};

TEST_F(RoutingTest, ChildrenComeFirstNewestSiblingFirstAndAConsumerStopsDelivery) {
    using V = std::vector<int>;
    EXPECT_EQ(post(InputEvent::kKeyDown), (V{22, 21, 2, 1}));
    first.consume_ = true;
    EXPECT_EQ(post(InputEvent::kKeyDown), (V{22, 21}));
    first.consume_ = false;

    // Invisible panes are never clicked: a hidden drawing ancestor, a detached pane, an empty
    // clip all take a pane out of mouse and key routing, but not out of the packets.
    newer.Hide();
    EXPECT_EQ(post(InputEvent::kLeftDown), (V{1}));
    EXPECT_EQ(post(InputEvent::kData), (V{22, 21, 2, 1}));
    newer.Show();
    second.Detach();
    EXPECT_EQ(post(InputEvent::kKeyDown), (V{21, 2, 1}));
    first.SetRect({10, 10, 10, 60});
    EXPECT_EQ(post(InputEvent::kKeyDown), (V{2, 1}));
}

TEST_F(RoutingTest, MousePositionsArriveInTheHandlersOwnCoordinates) {
    post(InputEvent::kMouseMove, 395, 130);
    EXPECT_EQ(second.last_.x, 395 - 370);
    EXPECT_EQ(second.last_.y, 130 - 110);
    EXPECT_EQ(newer.last_.x, 95);
    EXPECT_EQ(older.last_.x, 395);
    EXPECT_EQ(older.last_.screenX, 395);
}

TEST_F(RoutingTest, TheFocusTakesKeysAndItsOwnerTakesTheMouseWhileTheyShow) {
    using V = std::vector<int>;
    // Taken while the parent handles an event: the parent becomes the focus owner.
    newer.onEvent_ = [this] { first.TakeFocus(); };
    post(InputEvent::kText);
    newer.onEvent_ = nullptr;
    ASSERT_TRUE(first.HasFocus());
    EXPECT_EQ(post(InputEvent::kKeyDown), (V{21}));  // not consumed, and still nobody else
    EXPECT_EQ(post(InputEvent::kLeftDown, 320, 120), (V{2}));
    EXPECT_EQ(newer.last_.x, 20);

    // A hidden owner gets nothing; the mouse goes round the tree as usual.
    newer.Hide();
    EXPECT_EQ(post(InputEvent::kLeftDown), (V{1}));
    newer.Show();
    // Without an event being delivered there is no owner, and the mouse is routed normally.
    second.TakeFocus();
    EXPECT_EQ(post(InputEvent::kLeftUp), (V{22, 21, 2, 1}));
    second.DropFocus();
    EXPECT_EQ(dispatcher.focus(), nullptr);
}

TEST_F(RoutingTest, TheFirstShowingModalTakesEverythingThroughItsSubtree) {
    using V = std::vector<int>;
    PatternPane hiddenDialog{3};
    hiddenDialog.Attach({0, 0, 50, 50}, nullptr, nullptr, raw[ui::kDialogLayer]);
    hiddenDialog.RegisterHandler(nullptr, nullptr);
    hiddenDialog.log_ = &log;
    dispatcher.pushModal(&newer);
    dispatcher.pushModal(&hiddenDialog);
    hiddenDialog.Hide();
    EXPECT_EQ(post(InputEvent::kKeyDown), (V{22, 21, 2}));
    EXPECT_EQ(post(InputEvent::kRightDown, 305, 105), (V{22, 21, 2}));
    EXPECT_EQ(newer.last_.x, 5);
    hiddenDialog.Show();
    EXPECT_EQ(post(InputEvent::kKeyDown), (V{3}));
    // A modal pane that goes leaves the list with its handler.
    hiddenDialog.UnregisterHandler();
    EXPECT_EQ(dispatcher.topModal(), &newer);
}

}  // namespace
}  // namespace vs::test
