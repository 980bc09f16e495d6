#include "ui/pane.h"

#include <algorithm>

#include "app/error.h"
#include "ui/close_list.h"
#include "ui/ime_man.h"
#include "ui/layer.h"
#include "ui/notice_bus.h"

namespace vs::ui {

using base::Point;
using base::Rect;

namespace {

// The code a surface request with impossible arguments fails with.
constexpr uint32_t kInvalidParams = 0x80070057;

app::EventDispatcher* dispatcher() {
    return app::EventDispatcher::instance();
}

// The clip after a resize: strips beyond the new edges go, strips the pane grew by come in,
// and a pane growing both ways (or sized for the first time) shows its whole new bounds.
Rect resizedClip(const Rect& clip, const Rect& old, const Rect& next) {
    const bool wider = next.left < old.left || next.right > old.right;
    const bool taller = next.top < old.top || next.bottom > old.bottom;
    if (old.empty() || (wider && taller)) return next;
    base::DirtyArea c(clip);
    c &= next;
    if (next.right > old.right) c |= Rect{old.right, next.top, next.right, next.bottom};
    if (next.left < old.left) c |= Rect{next.left, next.top, old.left, next.bottom};
    if (next.bottom > old.bottom) c |= Rect{next.left, old.bottom, next.right, next.bottom};
    if (next.top < old.top) c |= Rect{next.left, next.top, next.right, old.top};
    return c.rect();
}

}  // namespace

Pane::Pane(uint8_t drawMode) : drawMode_(drawMode) {}

Pane::~Pane() {
    // Children first: their nodes hang below ours.
    children_.clear();
    if (auto* d = dispatcher(); d && d->hasFocus(this)) d->setFocus(nullptr);
    Pane::Detach();
    if (auto* d = dispatcher()) d->remove(this);
    if (auto* bus = NoticeBus::instance()) bus->RemoveAll(this);
    if (auto* list = CloseList::instance()) list->Forget(this);
    if (auto* fc = app::FrameClock::instance()) fc->cancelAll(this);
    if (imeMode_ == 1) {
        if (auto* ime = ImeMan::instance()) ime->Request(this, false);
    }
}

void Pane::SetBounds(const Rect& bounds) {
    const Rect old = GetBounds();
    if (bounds == old) return;
    const int64_t w = int64_t(bounds.right) - bounds.left, h = int64_t(bounds.bottom) - bounds.top;
    if (w > kMaxSurfaceSide || h > kMaxSurfaceSide)
        throw app::DDError(kInvalidParams, "surface too large");
    SetClipArea(resizedClip(ClipArea(), old, bounds));
    if (!UserClip().empty()) SetUserClip(resizedClip(UserClip(), old, bounds));
    Canvas::SetBounds(bounds);
}

void Pane::Show() {
    visible_ = true;
    if (drawMode_ != kHidden) {
        Invalidate(GetBounds());
    } else if (Pane* parent = GetParent()) {
        // Nothing of the pane itself shows, but its children do again.
        parent->Invalidate(GetBoundsInParent());
    }
}

void Pane::Hide() {
    visible_ = false;
    if (Pane* parent = GetParent()) parent->Invalidate(GetBoundsInParent());
}

Pane* Pane::GetParent() const {
    return node_ && node_->parent ? node_->parent->pane : nullptr;
}

void Pane::Invalidate(const Rect& rect) {
    if (rect.empty() || dirty_.contains(rect)) return;
    dirty_ |= rect;
}

Rect Pane::GetBoundsInParent() const {
    return GetBounds().offset(position_.x, position_.y);
}

void Pane::SetRect(const Rect& rect) {
    // The size in 64 bits: a rectangle spanning the whole int32 range must not wrap into a small
    // one.
    const int64_t w = int64_t(rect.right) - rect.left, h = int64_t(rect.bottom) - rect.top;
    if (w > kMaxSurfaceSide || h > kMaxSurfaceSide)
        throw app::DDError(kInvalidParams, "surface too large");
    position_ = {rect.left, rect.top};
    SetBounds({0, 0, int32_t(std::max<int64_t>(w, 0)), int32_t(std::max<int64_t>(h, 0))});
}

void Pane::Attach(const Rect& rect, Pane* sibling, Pane* parent, Layer* layer) {
    attachAt(rect, sibling, parent, layer, false);
}

void Pane::AttachBehind(const Rect& rect, Pane* sibling, Pane* parent, Layer* layer) {
    attachAt(rect, sibling, parent, layer, true);
}

void Pane::attachAt(const Rect& rect, Pane* sibling, Pane* parent, Layer* layer, bool behind) {
    if (parent) layer = parent->layer_;
    if (node_) Detach();
    SetRect(rect);
    Invalidate(GetBounds());
    if (layer) layer->insert(*this, sibling, parent, behind);
}

void Pane::Detach() {
    if (auto* d = dispatcher(); d && d->hasFocus(this)) d->setFocus(nullptr);
    if (layer_) layer_->remove(*this);
    layer_ = nullptr;
    node_ = nullptr;
}

void Pane::RegisterHandler(Pane* sibling, Pane* parent) {
    if (auto* d = dispatcher()) d->insert(this, sibling, parent);
}

void Pane::UnregisterHandler() {
    if (auto* d = dispatcher()) {
        if (d->hasFocus(this)) d->setFocus(nullptr);
        d->remove(this);
    }
}

void Pane::ComposeOnto(graphics::Canvas& screen, const Rect& src, const Rect& dst) {
    const Point o = GetOrigin();
    const Rect& b = GetBounds();
    screen.CopyBits(*this, src.offset(o.x - b.left, o.y - b.top), dst, drawMode_);
}

Point Pane::GetScreenPosition() const {
    if (!node_) return {-1000, -1000};
    Point p = position_;
    for (const LayerNode* n = node_->parent; n && n->parent; n = n->parent)
        p = p + n->pane->position_;
    return p;
}

bool Pane::IsShowing() const {
    if (!visible_ || ClipArea().empty() || !node_) return false;
    for (const LayerNode* n = node_->parent; n && n->parent; n = n->parent) {
        const Pane& a = *n->pane;
        if (!a.visible_ || a.childrenHidden_ || a.ClipArea().empty()) return false;
    }
    return true;
}

void Pane::Close() {
    if (closing_) return;
    closing_ = true;
    if (auto* list = CloseList::instance()) {
        list->Add(this);
        return;
    }
    Detach();
    UnregisterHandler();
    if (auto* fc = app::FrameClock::instance()) fc->cancelAll(this);
}

void Pane::SetDrawMode(uint8_t mode) {
    if (mode == drawMode_) return;
    drawMode_ = mode;
    Invalidate(GetBounds());
}

void Pane::SetChildrenHidden(bool on) {
    if (on == childrenHidden_) return;
    childrenHidden_ = on;
    Invalidate(GetBounds());
}

void Pane::TakeFocus() {
    if (auto* d = dispatcher()) d->setFocus(this);
}

void Pane::DropFocus() {
    if (auto* d = dispatcher(); d && d->hasFocus(this)) d->setFocus(nullptr);
}

bool Pane::HasFocus() const {
    const auto* d = dispatcher();
    return d && d->focus() == this;
}

void Pane::SetImeMode(int32_t mode) {
    imeMode_ = mode;
    if (auto* ime = ImeMan::instance()) ime->Request(this, mode == 1);
}

bool Pane::NeedsPaint() const {
    return alwaysRepaint_ || !dirty_.rect().intersect(ClipArea()).empty();
}

void Pane::BeginPaint() {
    savedClip_ = ClipArea();
    base::DirtyArea clip(ClipArea());
    clip &= GetBounds();
    if (!alwaysRepaint_) clip &= dirty_;
    const Point o = GetOrigin();
    clip.offset(o.x, o.y);
    SetClipArea(clip.rect());
    Lock();
    painting_ = true;
}

void Pane::EndPaint() {
    SetClipArea(savedClip_);
    dirty_.clear();
    Unlock();
    painting_ = false;
}

void Pane::MarkDirty(const Rect& rect) {
    if (!node_ || !layer_) return;
    const Rect local = rect.intersect(GetBounds());
    if (local.empty()) return;
    // Only through the layer root: from there the marks reach the node clipped by every
    // ancestor, as all composition is.
    const Point p = GetScreenPosition();
    const bool opaque = drawMode_ == kCopy && HasSurface() && IsShowing();
    layer_->markDirty(local.offset(p.x, p.y), !opaque);
}

void Pane::AdoptChild(std::unique_ptr<Pane> child) {
    if (!child) return;
    child->owner_ = this;
    children_.push_back(std::move(child));
}

std::unique_ptr<Pane> Pane::ReleaseChild(Pane* child) {
    auto it = std::find_if(children_.begin(), children_.end(),
                           [child](const auto& c) { return c.get() == child; });
    if (it == children_.end()) return nullptr;
    std::unique_ptr<Pane> out = std::move(*it);
    children_.erase(it);
    out->owner_ = nullptr;
    return out;
}

}  // namespace vs::ui
