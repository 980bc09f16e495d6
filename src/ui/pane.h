#pragma once
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "app/event_dispatcher.h"
#include "app/frame_clock.h"
#include "app/input_event.h"
#include "base/dirty_area.h"
#include "base/rect.h"
#include "graphics/canvas.h"

namespace vs::ui {

class Layer;
struct LayerNode;

// Every element on the screen: a canvas with its own off-screen surface, a handler in the
// dispatcher's tree and a timer client. A pane repaints only what was invalidated; its layer
// composes it onto the screen once per frame. Panes are neither copied nor moved: their address
// is their identity.
class Pane : public graphics::Canvas, public app::EventHandler, public app::TimerClient {
  public:
    static constexpr int32_t kMaxSurfaceSide = 16384;
    // How the screen composes a pane: 0 copy, 1 keyed (value 0 transparent), 2 and 3 blended,
    // 4 not at all.
    enum DrawMode : uint8_t { kCopy = 0, kKeyed = 1, kBlend = 2, kKeyedBlend = 3, kHidden = 4 };

    explicit Pane(uint8_t drawMode = kCopy);
    ~Pane() override;
    Pane(const Pane&) = delete;
    Pane& operator=(const Pane&) = delete;

    // --- virtual operations, in the system's order --------------------------------------------
    // Resizes the surface (keeping what both sizes share) and adjusts the clip areas. Throws
    // DDError for a side beyond kMaxSurfaceSide.
    void SetBounds(const base::Rect& bounds) override;
    virtual void Show();
    virtual void Hide();
    // The pane of the parent node: the screen for a top-level pane; none when detached.
    virtual Pane* GetParent() const;
    virtual void Invalidate(const base::Rect& rect);
    virtual void Invalidate() { Invalidate(GetBounds()); }
    virtual void QueryValue(int32_t index, int16_t& out) const {
        if (index == -1) out = 0;
    }
    virtual base::Rect GetBoundsInParent() const;
    virtual void SetRect(const base::Rect& rect);
    virtual void Attach(const base::Rect& rect, Pane* sibling, Pane* parent, Layer* layer);
    virtual void AttachBehind(const base::Rect& rect, Pane* sibling, Pane* parent, Layer* layer);
    virtual void Detach();
    virtual void RegisterHandler(Pane* sibling, Pane* parent);
    virtual void UnregisterHandler();
    virtual void Paint() {}
    // Puts the part `src` of the pane (its own coordinates) onto the screen at `dst`. Panes that
    // compose themselves (the map view) override it.
    virtual void ComposeOnto(graphics::Canvas& screen, const base::Rect& src,
                             const base::Rect& dst);
    // A free-standing pane attaches and registers itself here, once it is fully built.
    virtual void OnOpen() {}

    // --- EventHandler -------------------------------------------------------------------------
    base::Point GetPosition() const override { return position_; }
    // Up to the layer root; (−1000, −1000) when detached.
    base::Point GetScreenPosition() const override;
    // Visible with a clip, attached, and no drawing ancestor hidden or hiding its children:
    // what cannot be seen cannot be clicked.
    bool IsShowing() const override;

    bool OnTimer(int32_t, int32_t, int32_t) override { return true; }

    // --- non-virtual operations ---------------------------------------------------------------
    // Deferred destruction: out of the trees now, destroyed at the start of the next frame step.
    void Close();
    bool IsClosing() const { return closing_; }
    void SetDrawMode(uint8_t mode);
    uint8_t DrawModeValue() const { return drawMode_; }
    void TakeFocus();
    void DropFocus();
    bool HasFocus() const;
    void SetImeMode(int32_t mode);
    int32_t ImeMode() const { return imeMode_; }
    bool NeedsPaint() const;
    void BeginPaint();
    void EndPaint();
    bool IsPainting() const { return painting_; }
    void Validate(const base::Rect& rect) { dirty_ -= rect; }
    // The surface changed outside Paint: compose this part again without repainting.
    void MarkDirty(const base::Rect& rect);

    bool IsVisible() const { return visible_; }
    bool ChildrenHidden() const { return childrenHidden_; }
    void SetChildrenHidden(bool on);
    bool AlwaysRepaint() const { return alwaysRepaint_; }
    void SetAlwaysRepaint(bool on) { alwaysRepaint_ = on; }
    const base::DirtyArea& DirtyRegion() const { return dirty_; }
    Layer* GetLayer() const { return layer_; }
    LayerNode* Node() const { return node_; }
    void SetPosition(base::Point p) { position_ = p; }

    // Children owned by this pane go with it.
    template <class T, class... Args>
    T& MakeChild(Args&&... args) {
        auto child = std::make_unique<T>(std::forward<Args>(args)...);
        T& ref = *child;
        AdoptChild(std::move(child));
        return ref;
    }
    void AdoptChild(std::unique_ptr<Pane> child);
    // Hands an owned child over (to the close list); null when this pane does not own it.
    std::unique_ptr<Pane> ReleaseChild(Pane* child);
    Pane* Owner() const { return owner_; }
    // Called by the layer when the pane's node goes.
    void DetachedFromLayer() { layer_ = nullptr, node_ = nullptr; }

  private:
    friend class Layer;
    friend struct LayerNode;
    void attachAt(const base::Rect& rect, Pane* sibling, Pane* parent, Layer* layer, bool behind);

    Layer* layer_ = nullptr;
    LayerNode* node_ = nullptr;
    base::Point position_;
    bool visible_ = true;
    uint8_t drawMode_;
    bool childrenHidden_ = false;
    base::DirtyArea dirty_;
    bool painting_ = false;
    base::Rect savedClip_;
    int32_t imeMode_ = 0;
    bool closing_ = false;
    bool alwaysRepaint_ = false;
    Pane* owner_ = nullptr;
    std::vector<std::unique_ptr<Pane>> children_;
};

}  // namespace vs::ui
