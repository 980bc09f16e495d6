#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/error.h"
#include "graphics/canvas.h"
#include "support/pixel_formats.h"
#include "ui/ui_fixture.h"

namespace vs::test {
namespace {

using graphics::PixelFormat;

class CompositionTest : public UiFixture, public testing::WithParamInterface<PixelFormat> {
  protected:
    void SetUp() override { graphics::selectPixelFormat(GetParam()); }

    // Every showing pane composed from scratch onto black, clipped by its ancestors.
    graphics::Surface recompose() {
        graphics::Surface ref(640, 480);
        graphics::Canvas canvas;
        canvas.AttachSurface(ref.pixels(), ref.pitch(), ui::ScreenPane::kScreenRect);
        canvas.SetClipArea(ui::ScreenPane::kScreenRect);
        for (ui::Layer* layer : raw) walk(layer->Root(), {}, ui::ScreenPane::kScreenRect, canvas);
        return ref;
    }
    void walk(ui::LayerNode& node, base::Point at, Rect within, graphics::Canvas& canvas) {
        for (auto& c : node.children) {
            ui::Pane& p = *c->pane;
            if (!p.IsVisible() || p.ClipArea().empty()) continue;
            const base::Point pos = at + p.GetPosition();
            const Rect vis =
                p.ClipArea().intersect(p.GetBounds()).offset(pos.x, pos.y).intersect(within);
            if (p.DrawModeValue() != ui::Pane::kHidden && !vis.empty())
                canvas.CopyBits(p, vis.offset(-pos.x, -pos.y), vis, p.DrawModeValue());
            if (!p.ChildrenHidden()) walk(*c, pos, vis, canvas);
        }
    }
    testing::AssertionResult sameAsRecomposed(const std::string& what) {
        const graphics::Surface ref = recompose();
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                if (back.at(x, y) != ref.at(x, y))
                    return testing::AssertionFailure()
                           << what << ": (" << x << ", " << y << ") is " << std::hex
                           << back.at(x, y) << ", a full composition gives " << ref.at(x, y);
        return testing::AssertionSuccess();
    }
};

// Random sequences of everything that changes what the screen shows; after every frame the
// incrementally composed screen must equal a composition of every showing pane from scratch.
TEST_P(CompositionTest, IncrementalFramesEqualAFullRecomposition) {
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        std::mt19937 rng(seed);
        auto pick = [&rng](int lo, int hi) {
            return std::uniform_int_distribution<int>(lo, hi)(rng);
        };
        // Owned by the close list or by their parent; a destroyed pane leaves the list itself.
        std::vector<PatternPane*> panes;
        int nextId = 1;
        auto randomRect = [&](int maxW, int maxH) {
            const int w = pick(0, maxW), h = pick(0, maxH);
            return Rect::fromSize(pick(-40, 640), pick(-40, 480), w, h);
        };
        auto open = [&]() {
            const uint8_t mode = uint8_t(pick(0, 4));
            PatternPane* parent = !panes.empty() && pick(0, 2) == 0
                                      ? panes[size_t(pick(0, int(panes.size()) - 1))]
                                      : nullptr;
            PatternPane* p;
            if (parent && parent->GetLayer()) {
                p = &parent->MakeChild<PatternPane>(nextId++, mode);
                p->Attach(
                    Rect::fromSize(pick(-20, 120), pick(-20, 120), pick(1, 160), pick(1, 120)),
                    nullptr, parent, nullptr);
            } else {
                p = static_cast<PatternPane*>(
                    &closeList.Keep(std::make_unique<PatternPane>(nextId++, mode)));
                p->Attach(randomRect(300, 240), nullptr, nullptr, raw[size_t(pick(0, 5))]);
            }
            p->tracked_ = &panes;
            panes.push_back(p);
        };
        for (int i = 0; i < 6; ++i) open();
        frame();
        ASSERT_TRUE(sameAsRecomposed("first frame, seed " + std::to_string(seed)));
        for (int step = 0; step < 150; ++step) {
            std::string what;
            for (int ops = pick(1, 3); ops > 0; --ops) {
                std::erase_if(panes, [](PatternPane* p) {
                    if (!p->IsClosing() && p->GetLayer()) return false;
                    p->tracked_ = nullptr;
                    return true;
                });
                if (panes.empty() || pick(0, 9) == 0) {
                    open();
                    what += "open ";
                    continue;
                }
                PatternPane& p = *panes[size_t(pick(0, int(panes.size()) - 1))];
                const Rect b = p.GetBounds();
                what += std::to_string(p.id_) + ":";
                switch (pick(0, 8)) {
                    case 0:
                        p.Change(
                            Rect::fromSize(pick(0, 100), pick(0, 100), pick(1, 200), pick(1, 200)));
                        what += "invalidate ";
                        break;
                    case 1:
                        p.SetRect(b.offset(p.GetPosition().x + pick(-50, 50),
                                           p.GetPosition().y + pick(-50, 50)));
                        what += "move ";
                        break;
                    case 2:
                        p.SetRect(Rect::fromSize(p.GetPosition().x, p.GetPosition().y, pick(0, 300),
                                                 pick(0, 240)));
                        what += "resize ";
                        break;
                    case 3:
                        p.IsVisible() ? p.Hide() : p.Show();
                        what += "hide/show ";
                        break;
                    case 4:
                        p.SetDrawMode(uint8_t(pick(0, 4)));
                        what += "mode ";
                        break;
                    case 5:
                        p.Close();
                        what += "close ";
                        break;
                    case 6: {
                        // New pixels put in outside Paint.
                        const Rect r =
                            Rect::fromSize(pick(0, 60), pick(0, 60), pick(1, 80), pick(1, 80))
                                .intersect(b);
                        if (p.Lock()) {
                            for (int y = r.top; y < r.bottom; ++y)
                                for (int x = r.left; x < r.right; ++x)
                                    p.Picture().pixels16()[y * p.Picture().rowWidth() + x] =
                                        uint16_t(x * 31 + y);
                            p.Unlock();
                        }
                        p.MarkDirty(r);
                        what += "mark ";
                        break;
                    }
                    case 7:
                        p.SetChildrenHidden(!p.ChildrenHidden());
                        what += "children ";
                        break;
                    default:
                        open();
                        what += "open ";
                        break;
                }
            }
            frame();
            ASSERT_TRUE(sameAsRecomposed("seed " + std::to_string(seed) + " step " +
                                         std::to_string(step) + ": " + what));
        }
        for (PatternPane* p : panes) {
            if (!p->Owner()) p->Close();
        }
        frame();
        for (PatternPane* p : panes) p->tracked_ = nullptr;
    }
}

TEST_P(CompositionTest, AnOpaquePaneThatRepaintsSparesTheLayersBeneathOnlyWhenItIsComposed) {
    PatternPane below(1, ui::Pane::kCopy), cover(2, ui::Pane::kCopy);
    below.Attach({0, 0, 640, 480}, nullptr, nullptr, raw[ui::kBaseLayer]);
    cover.Attach({100, 100, 300, 300}, nullptr, nullptr, raw[ui::kWorldLayer]);
    frame();
    const int composed = below.composes_;
    cover.Change(cover.GetBounds());
    frame();
    EXPECT_EQ(below.composes_, composed) << "redrawn under an opaque pane";
    EXPECT_EQ(below.paints_, 1);

    // Hidden or not composed at all, the same repaint must let the picture beneath through.
    for (uint8_t mode : {uint8_t(ui::Pane::kHidden), uint8_t(ui::Pane::kKeyed)}) {
        cover.SetDrawMode(mode);
        frame();
        EXPECT_TRUE(sameAsRecomposed("mode " + std::to_string(mode)));
    }
    cover.SetDrawMode(ui::Pane::kCopy);
    cover.Hide();
    cover.Change(cover.GetBounds());
    frame();
    EXPECT_TRUE(sameAsRecomposed("hidden"));
}

TEST_P(CompositionTest, AClosedPaneLeavesNoPixelsAndItsAreaIsPresented) {
    PatternPane below(1, ui::Pane::kCopy);
    below.Attach({0, 0, 640, 480}, nullptr, nullptr, raw[ui::kBaseLayer]);
    auto& dialog = static_cast<PatternPane&>(closeList.Keep(std::make_unique<PatternPane>(2)));
    dialog.Attach({200, 150, 400, 300}, nullptr, nullptr, raw[ui::kDialogLayer]);
    frame();
    dialog.Close();
    Rect total;
    EXPECT_TRUE(frame(&total));
    EXPECT_TRUE(total.contains(Rect{200, 150, 400, 300}));
    EXPECT_TRUE(sameAsRecomposed("after close"));
}

VS_INSTANTIATE_IN_BOTH_FORMATS(CompositionTest);

}  // namespace
}  // namespace vs::test

namespace vs::test {
namespace {

class PaneSurfaceTest : public UiFixture {};

TEST_F(PaneSurfaceTest, SurfacesFollowTheBoundsAndAbsurdSizesAreRefused) {
    PatternPane flat(1);
    flat.Attach({10, 10, 10, 50}, nullptr, nullptr, raw[ui::kBaseLayer]);
    frame();
    EXPECT_FALSE(flat.HasSurface());
    EXPECT_FALSE(flat.IsShowing());
    EXPECT_EQ(flat.paints_, 0);

    PatternPane tall(2);
    tall.Attach({0, 0, 100, 4096}, nullptr, nullptr, raw[ui::kBaseLayer]);
    EXPECT_EQ(tall.SurfaceRect(), (Rect{0, 0, 100, 4096}));  // as asked, never reshaped
    EXPECT_THROW(tall.SetRect({0, 0, 16385, 10}), app::DDError);
    EXPECT_THROW(tall.SetRect({INT32_MIN, 0, INT32_MAX, 10}), app::DDError);
    EXPECT_EQ(tall.GetBounds(), (Rect{0, 0, 100, 4096}));
    // Growing both ways shows the whole new surface; shrinking cuts the clip.
    tall.SetRect({0, 0, 50, 20});
    EXPECT_EQ(tall.ClipArea(), (Rect{0, 0, 50, 20}));
    tall.SetRect({0, 0, 80, 30});
    EXPECT_EQ(tall.ClipArea(), (Rect{0, 0, 80, 30}));
}

}  // namespace
}  // namespace vs::test
