#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "base/dirty_area.h"
#include "base/rect.h"
#include "graphics/display.h"
#include "ui/pane.h"

namespace vs::ui {

// A pane's place in its layer's tree, with what the layer last composed of it.
struct LayerNode {
    LayerNode* parent = nullptr;
    std::vector<std::unique_ptr<LayerNode>> children;  // later ones are drawn over earlier ones
    Pane* pane = nullptr;
    base::Rect boundsInParent;   // as last composed
    base::Rect visibleInParent;  // the pane's clip at its position, as last composed
    base::Rect screenRect;       // what of the pane could reach the screen, as last composed
    bool showing = false;
    bool childrenHidden = false;
    bool dirty = false;
    base::DirtyArea dirtyArea;  // pane coordinates; screen coordinates for the root
};

// The six layers, bottom to top.
enum LayerId : int {
    kBaseLayer = 0,
    kWorldLayer = 1,
    kDialogLayer = 2,
    kBrowserLayer = 3,
    kOverlayLayer = 4,
    kTopLayer = 5,
    kLayerCount = 6,
};

class ScreenPane;

// One tree of panes under the screen. Detaching a pane removes its whole subtree.
class Layer : public graphics::DisplayLayer {
  public:
    explicit Layer(ScreenPane* screen = nullptr);
    ~Layer() override;
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    LayerNode& Root() { return root_; }
    ScreenPane* Screen() const { return screen_; }
    // Closes every top-level pane of the layer.
    void CloseAll();

  private:
    friend class Pane;
    friend class ScreenPane;
    void insert(Pane& pane, Pane* sibling, Pane* parent, bool behind);
    void remove(Pane& pane);
    // Marks of panes that changed their surfaces outside Paint, for the next frame.
    void markDirty(const base::Rect& screenArea, bool exposesBelow);

    ScreenPane* screen_;
    LayerNode root_;
    base::DirtyArea pendingRoot_, pendingExposure_;
    // Nodes removed while the layer is being composed wait here until it is done.
    std::vector<std::unique_ptr<LayerNode>> graveyard_;
    bool composing_ = false;
};

// The screen as a pane: the root of every layer, drawn on the display's back buffer. Its own
// dirty area is what the layers must compose again (areas uncovered by hidden or closed panes).
// It composes the display's layers once per presented frame.
class ScreenPane final : public Pane, public graphics::FrameComposer {
  public:
    static constexpr base::Rect kScreenRect{0, 0, graphics::Display::kWidth,
                                            graphics::Display::kHeight};
    ScreenPane();
    ~ScreenPane() override;
    static ScreenPane* instance() { return instance_; }

    base::Point GetScreenPosition() const override { return {}; }
    bool IsShowing() const override { return true; }
    void Invalidate(const base::Rect& rect) override;
    void Invalidate() override { Invalidate(kScreenRect); }

    bool ComposeFrame(graphics::Display& display, base::Rect& total) override;
    // The layers given bottom to top, composed into `back` (640 × 480); answers whether
    // anything was composed and unites every changed screen area into `total`.
    bool Compose(graphics::Surface& back, std::span<Layer* const> layers, base::Rect& total);

    // The six layers the program keeps, once they exist.
    void SetLayer(int id, Layer* layer) { layers_.at(size_t(id)) = layer; }
    Layer* GetLayerById(int id) const {
        return id >= 0 && id < kLayerCount ? layers_[size_t(id)] : nullptr;
    }

  private:
    struct LayerWork;
    void collect(Layer& layer, LayerWork& work, base::DirtyArea& exposed);
    void draw(Layer& layer, base::Rect& total);

    static inline ScreenPane* instance_ = nullptr;
    std::array<Layer*, kLayerCount> layers_{};
};

}  // namespace vs::ui
