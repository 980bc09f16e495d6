#include "ui/close_list.h"

#include <algorithm>

#include "app/frame_clock.h"
#include "ui/pane.h"

namespace vs::ui {

CloseList::CloseList() {
    instance_ = this;
}

CloseList::~CloseList() {
    Empty();
    // Whatever is still open goes now, newest first; a pane closed meanwhile goes too.
    while (!kept_.empty()) {
        std::unique_ptr<Pane> p = std::move(kept_.back());
        kept_.pop_back();
        p.reset();
        Empty();
    }
    if (instance_ == this) instance_ = nullptr;
}

Pane& CloseList::Keep(std::unique_ptr<Pane> pane) {
    kept_.push_back(std::move(pane));
    return *kept_.back();
}

bool CloseList::Keeps(const Pane* pane) const {
    return std::any_of(kept_.begin(), kept_.end(),
                       [pane](const auto& p) { return p.get() == pane; });
}

bool CloseList::Listed(const Pane* pane) const {
    return std::any_of(closed_.begin(), closed_.end(),
                       [pane](const Entry& e) { return e.pane == pane; });
}

void CloseList::Add(Pane* pane) {
    if (!pane) return;
    pane->Detach();
    pane->UnregisterHandler();
    if (auto* fc = app::FrameClock::instance()) fc->cancelAll(pane);
    if (Listed(pane)) return;
    Entry e{pane, nullptr};
    auto it =
        std::find_if(kept_.begin(), kept_.end(), [pane](const auto& p) { return p.get() == pane; });
    if (it != kept_.end()) {
        e.owned = std::move(*it);
        kept_.erase(it);
    } else if (Pane* owner = pane->Owner()) {
        e.owned = owner->ReleaseChild(pane);
    }
    // A pane that somebody else owns as a member stays out of the trees; its owner destroys it.
    if (e.owned) closed_.push_back(std::move(e));
}

void CloseList::Empty() {
    // Destroying a pane may close others (its children, panes it was showing): repeat until
    // nothing is left.
    while (!closed_.empty()) {
        std::vector<Entry> batch;
        batch.swap(closed_);
        for (Entry& e : batch) e.owned.reset();
    }
}

void CloseList::Forget(const Pane* pane) {
    for (Entry& e : closed_) {
        if (e.pane == pane) e.pane = nullptr;
    }
}

}  // namespace vs::ui
