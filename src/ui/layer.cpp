#include "ui/layer.h"

#include <algorithm>

namespace vs::ui {

using base::DirtyArea;
using base::Point;
using base::Rect;

namespace {

constexpr Rect kScreen = ScreenPane::kScreenRect;

std::vector<LayerNode*> childrenOf(const LayerNode& node) {
    std::vector<LayerNode*> out;
    out.reserve(node.children.size());
    for (const auto& c : node.children) out.push_back(c.get());
    return out;
}

bool showingSelf(const Pane& p) {
    return p.IsVisible() && !p.ClipArea().empty();
}

// Cuts the panes of a subtree loose from its nodes; returns the screen area it last covered.
Rect releaseSubtree(LayerNode& node) {
    Rect covered = node.screenRect;
    for (auto& c : node.children) covered = covered.unite(releaseSubtree(*c));
    if (node.pane) node.pane->DetachedFromLayer();
    node.pane = nullptr;
    return covered;
}

}  // namespace

// --- Layer ---------------------------------------------------------------------------------------

Layer::Layer(ScreenPane* screen) : screen_(screen ? screen : ScreenPane::instance()) {
    root_.pane = screen_;
    root_.boundsInParent = root_.screenRect = kScreen;
}

Layer::~Layer() {
    // Panes outlive their layer only during shutdown; they just become detached.
    for (auto& c : root_.children) releaseSubtree(*c);
}

void Layer::insert(Pane& pane, Pane* sibling, Pane* parent, bool behind) {
    LayerNode* into = parent && parent->node_ ? parent->node_ : &root_;
    auto node = std::make_unique<LayerNode>();
    node->parent = into;
    node->pane = &pane;
    node->boundsInParent = pane.GetBoundsInParent();
    node->visibleInParent = pane.ClipArea()
                                .intersect(pane.GetBounds())
                                .offset(pane.position_.x, pane.position_.y)
                                .intersect(node->boundsInParent);
    node->showing = pane.IsShowing();
    node->childrenHidden = pane.childrenHidden_;
    LayerNode* raw = node.get();
    auto& list = into->children;
    auto at = std::find_if(list.begin(), list.end(),
                           [sibling](const auto& c) { return sibling && c->pane == sibling; });
    if (at != list.end())
        list.insert(at + 1, std::move(node));
    else if (behind)
        list.insert(list.begin(), std::move(node));
    else
        list.push_back(std::move(node));
    pane.layer_ = this;
    pane.node_ = raw;
    raw->showing = pane.IsShowing();
}

void Layer::remove(Pane& pane) {
    LayerNode* node = pane.node_;
    if (!node || !node->parent) return;
    // What the subtree showed must be composed again from what lies beneath it.
    const Rect covered = releaseSubtree(*node);
    if (screen_ && !covered.empty()) screen_->Invalidate(covered);
    auto& list = node->parent->children;
    auto it =
        std::find_if(list.begin(), list.end(), [node](const auto& c) { return c.get() == node; });
    if (it == list.end()) return;
    std::unique_ptr<LayerNode> owned = std::move(*it);
    list.erase(it);
    if (composing_) graveyard_.push_back(std::move(owned));
}

void Layer::markDirty(const Rect& screenArea, bool exposesBelow) {
    pendingRoot_ |= screenArea;
    if (exposesBelow) pendingExposure_ |= screenArea;
}

void Layer::CloseAll() {
    for (LayerNode* c : childrenOf(root_)) {
        if (c->pane) c->pane->Close();
    }
}

// --- ScreenPane ----------------------------------------------------------------------------------

struct ScreenPane::LayerWork {
    DirtyArea root;             // what this layer composes again
    std::vector<Rect> blended;  // screen areas of its blended panes
};

ScreenPane::ScreenPane() : Pane(kHidden) {
    SetClipArea(kScreen);
    instance_ = this;
}

ScreenPane::~ScreenPane() {
    if (instance_ == this) instance_ = nullptr;
}

void ScreenPane::Invalidate(const Rect& rect) {
    Pane::Invalidate(rect.intersect(kScreen));
}

bool ScreenPane::ComposeFrame(graphics::Display& display, Rect& total) {
    std::vector<Layer*> layers;
    for (auto* l : display.Layers()) {
        if (auto* layer = dynamic_cast<Layer*>(l)) layers.push_back(layer);
    }
    return Compose(display.BackBuffer(), layers, total);
}

bool ScreenPane::Compose(graphics::Surface& back, std::span<Layer* const> layers, Rect& total) {
    AttachSurface(back.pixels(), back.pitch(), kScreen);
    SetClipArea(kScreen);
    DirtyArea exposed(DirtyRegion().rect().intersect(kScreen));
    Validate(kScreen);
    const size_t n = layers.size();
    std::vector<LayerWork> work(n);
    for (Layer* layer : layers) layer->composing_ = true;

    // Collection, top layer first: what each layer composes again, and what it leaves exposed
    // to the layers beneath.
    for (size_t i = n; i-- > 0;) collect(*layers[i], work[i], exposed);

    // Everything above a composed area is composed again. Copies and keyed copies put the same
    // pixels over what the screen already holds there, but a blended pane must be blended over
    // a picture composed afresh from the bottom, or it would be blended twice.
    std::vector<DirtyArea> drawn(n);
    auto grow = [&](size_t upTo) {
        for (size_t l = 0; l <= upTo; ++l) {
            drawn[l] = work[l].root;
            if (l > 0) drawn[l] |= drawn[l - 1];
        }
    };
    if (n > 0) grow(n - 1);
    for (size_t m = n; m-- > 1;) {
        for (const Rect& vis : work[m].blended) {
            const DirtyArea r = drawn[m] & vis;
            if (drawn[0].contains(r)) continue;
            for (size_t k = 0; k < m; ++k) work[k].root |= r;
            grow(m - 1);
        }
    }

    // Drawing, bottom layer first; what no pane covers is black.
    Rect composed;
    for (size_t i = 0; i < n; ++i) {
        if (i == 0) back.fill(drawn[0].rect().intersect(kScreen), 0);
        layers[i]->root_.dirtyArea = drawn[i];
        layers[i]->root_.dirty = !drawn[i].empty();
        draw(*layers[i], composed);
        layers[i]->root_.dirtyArea.clear();
        layers[i]->root_.dirty = false;
    }
    for (Layer* layer : layers) {
        layer->composing_ = false;
        layer->graveyard_.clear();
    }
    ReleaseSurface();
    if (n > 0) composed = composed.unite(drawn[n - 1].rect().intersect(kScreen));
    total = total.unite(composed);
    return !composed.empty();
}

void ScreenPane::collect(Layer& layer, LayerWork& work, DirtyArea& exposed) {
    work.root = exposed;
    work.root |= layer.pendingRoot_;
    exposed |= layer.pendingExposure_;
    layer.pendingRoot_.clear();
    layer.pendingExposure_.clear();

    struct Walk {
        LayerWork& work;
        DirtyArea& exposed;
        void run(LayerNode& node, Point at, const Rect& parentVisible, const Rect& parentClip,
                 bool chainShowing) {
            for (LayerNode* c : childrenOf(node)) {
                if (!c->pane) continue;
                Pane& p = *c->pane;
                const Point pos = at + p.GetPosition();
                const bool showing = chainShowing && showingSelf(p);
                const Rect local = p.ClipArea().intersect(p.GetBounds());
                // Where the subtree can reach the screen: within every ancestor's clip.
                const Rect visible =
                    showing ? local.offset(pos.x, pos.y).intersect(parentVisible) : Rect{};
                const bool opaque =
                    p.DrawModeValue() == kCopy && p.HasSurface() && !visible.empty();

                if (p.NeedsPaint()) {
                    const Rect area = (p.AlwaysRepaint() ? p.ClipArea() : p.DirtyRegion().rect())
                                          .intersect(p.ClipArea());
                    p.BeginPaint();
                    p.Paint();
                    p.EndPaint();
                    // A pane that cannot be seen changes nothing on the screen by repainting
                    // (hiding it already exposed what it covered). Only a pane that really
                    // covers the area spares the layers beneath it.
                    const Rect onScreen = area.offset(pos.x, pos.y);
                    if (showing) work.root |= onScreen;
                    if (opaque)
                        exposed -= onScreen.intersect(visible);
                    else if (showing && p.DrawModeValue() != kCopy)
                        exposed |= onScreen;
                }

                const Rect bounds = p.GetBoundsInParent();
                if (bounds != c->boundsInParent) {
                    const Rect now =
                        local.offset(p.GetPosition().x, p.GetPosition().y).intersect(bounds);
                    const Rect both =
                        now.unite(c->visibleInParent).intersect(parentClip).offset(at.x, at.y);
                    work.root |= both;
                    if (now != c->visibleInParent) exposed |= both;
                    c->boundsInParent = bounds;
                    c->visibleInParent = now;
                }
                c->showing = showing;
                c->childrenHidden = p.ChildrenHidden();
                c->screenRect = visible;
                const uint8_t mode = p.DrawModeValue();
                if ((mode == kBlend || mode == kKeyedBlend) && p.HasSurface() && !visible.empty())
                    work.blended.push_back(visible);
                if (!p.ChildrenHidden()) run(*c, pos, visible, p.ClipArea(), showing);
            }
        }
    };
    Walk{work, exposed}.run(layer.root_, {}, kScreen, kScreen, true);
}

void ScreenPane::draw(Layer& layer, Rect& total) {
    struct Walk {
        ScreenPane& screen;
        Rect& total;
        void run(LayerNode& node, Point at, const DirtyArea& parentDirty) {
            for (LayerNode* c : childrenOf(node)) {
                if (!c->pane) continue;
                Pane& p = *c->pane;
                DirtyArea mark = parentDirty & p.GetBoundsInParent();
                mark.offset(-p.GetPosition().x, -p.GetPosition().y);
                mark &= p.ClipArea();
                if (!mark.empty()) {
                    c->dirty = true;
                    c->dirtyArea |= mark;
                }
                const DirtyArea mine = c->dirtyArea;
                const bool dirty = c->dirty;
                c->dirty = false;
                c->dirtyArea.clear();
                if (!showingSelf(p)) continue;
                const Point pos = at + p.GetPosition();
                if (dirty && p.DrawModeValue() != kHidden) {
                    const Rect r = mine.rect().intersect(p.GetBounds()).intersect(p.ClipArea());
                    const Rect s = r.offset(pos.x, pos.y).intersect(kScreen);
                    if (getenv("VS_DBG") && s.contains(base::Point{371, 345}))
                        fprintf(stderr, "compose %p mode %d\n", (void*)&p, p.DrawModeValue());
                    if (!s.empty()) {
                        p.ComposeOnto(screen, s.offset(-pos.x, -pos.y), s);
                        total = total.unite(s);
                    }
                }
                if (!p.ChildrenHidden()) run(*c, pos, mine);
            }
        }
    };
    Walk{*this, total}.run(layer.root_, {}, layer.root_.dirtyArea);
}

}  // namespace vs::ui
