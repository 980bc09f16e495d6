#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "base/fourcc.h"
#include "ui/ui_fixture.h"

namespace vs::test {
namespace {

class LifecycleTest : public UiFixture {
  protected:
    PatternPane& open(int id, int* destroyed) {
        auto& p = static_cast<PatternPane&>(closeList.Keep(std::make_unique<PatternPane>(id)));
        p.Attach({0, 0, 100, 100}, nullptr, nullptr, raw[ui::kDialogLayer]);
        p.RegisterHandler(nullptr, nullptr);
        p.destroyed_ = destroyed;
        return p;
    }
};

TEST_F(LifecycleTest, AClosedPaneLeavesTheTreesAtOnceAndIsDestroyedOnceNextFrame) {
    int destroyed = 0;
    PatternPane& p = open(1, &destroyed);
    frameClock.schedule(&p, 7, 100);
    p.Close();
    p.Close();  // from a second handler in the same frame
    EXPECT_FALSE(p.GetLayer());
    EXPECT_FALSE(dispatcher.isRegistered(&p));
    EXPECT_EQ(frameClock.pending(), 0u);
    EXPECT_EQ(closeList.ListedCount(), 1u);
    EXPECT_EQ(destroyed, 0);
    closeList.Empty();
    EXPECT_EQ(destroyed, 1);
    closeList.Empty();
    EXPECT_EQ(destroyed, 1);
}

// A pane whose destruction closes another one (as a dialog closes the menu it came from).
class ClosesOnDestruction final : public PatternPane {
  public:
    ClosesOnDestruction(int id, ui::Pane* other) : PatternPane(id), other_(other) {}
    ~ClosesOnDestruction() override { other_->Close(); }
    ui::Pane* other_;
};

TEST_F(LifecycleTest, PanesClosedWhileTheListIsEmptiedGoInTheSameFrameWithTheirChildren) {
    int destroyed = 0;
    PatternPane& menu = open(1, &destroyed);
    auto& child = menu.MakeChild<PatternPane>(11);
    child.Attach({5, 5, 20, 20}, nullptr, &menu, nullptr);
    child.RegisterHandler(nullptr, &menu);
    child.destroyed_ = &destroyed;
    frameClock.schedule(&child, 1, 500);
    auto& dialog = closeList.Keep(std::make_unique<ClosesOnDestruction>(2, &menu));
    dialog.Close();
    closeList.Empty();
    EXPECT_EQ(destroyed, 2);  // the menu and its child
    EXPECT_EQ(closeList.ListedCount(), 0u);
    EXPECT_EQ(frameClock.pending(), 0u);
    EXPECT_TRUE(raw[ui::kDialogLayer]->Root().children.empty());
}

TEST_F(LifecycleTest, AClosedChildGoesAndItsParentStays) {
    int destroyed = 0;
    PatternPane& parent = open(1, nullptr);
    auto& child = parent.MakeChild<PatternPane>(11);
    child.Attach({5, 5, 20, 20}, nullptr, &parent, nullptr);
    child.destroyed_ = &destroyed;
    child.Close();
    closeList.Empty();
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(parent.GetLayer(), raw[ui::kDialogLayer]);
    EXPECT_TRUE(parent.Node()->children.empty());
}

TEST_F(LifecycleTest, ReferencesToADestroyedPaneAreClearedByItsBase) {
    auto p = std::make_unique<PatternPane>(1);
    p->Attach({0, 0, 10, 10}, nullptr, nullptr, raw[ui::kBaseLayer]);
    p->RegisterHandler(nullptr, nullptr);
    dispatcher.pushModal(p.get());
    p->TakeFocus();
    PatternPane sender(2);
    bus.Subscribe(&sender, p.get(), base::fourcc("goog"));
    p.reset();
    EXPECT_EQ(dispatcher.focus(), nullptr);
    EXPECT_EQ(dispatcher.topModal(), nullptr);
    EXPECT_EQ(bus.Count(), 0u);
    bus.Broadcast(&sender, base::fourcc("goog"));  // reaches nobody, and nothing freed
}

// Hears notices; may unsubscribe another receiver or subscribe a new one while hearing one.
class Listener final : public base::LObject {
  public:
    void OnNotice(base::LObject*, uint32_t notice) override {
        heard.push_back(notice);
        if (action) action();
    }
    std::vector<uint32_t> heard;
    std::function<void()> action;
};

TEST_F(LifecycleTest, BroadcastsReachTheSendersSubscribersAndSurviveChangesDuringTheLoop) {
    const uint32_t goog = base::fourcc("goog"), term = base::fourcc("term");
    base::LObject sender, other;
    Listener all, googOnly, later, removed;
    bus.Subscribe(&sender, &all, 0, true);
    bus.Subscribe(&sender, &googOnly, goog);
    bus.Subscribe(&sender, &removed, goog);
    bus.Subscribe(&other, &later, goog);
    googOnly.action = [&] {
        bus.Unsubscribe(&sender, &removed, goog);
        bus.Subscribe(&sender, &later, goog);
    };
    bus.Broadcast(&sender, goog);
    EXPECT_EQ(all.heard, (std::vector<uint32_t>{goog}));
    EXPECT_EQ(googOnly.heard.size(), 1u);
    EXPECT_TRUE(removed.heard.empty());
    EXPECT_TRUE(later.heard.empty());  // joined during the broadcast: hears the next one

    googOnly.action = nullptr;
    bus.Broadcast(&sender, term);
    EXPECT_EQ(all.heard.size(), 2u);
    EXPECT_EQ(googOnly.heard.size(), 1u);
    bus.Broadcast(&sender, goog);
    EXPECT_EQ(later.heard.size(), 1u);

    bus.Unsubscribe(&sender, nullptr, 0, true);
    EXPECT_EQ(bus.Count(), 1u);  // only the other sender's
    bus.RemoveAll(&later);
    EXPECT_EQ(bus.Count(), 0u);
}

}  // namespace
}  // namespace vs::test
