#pragma once
#include <memory>
#include <stdexcept>
#include <vector>

namespace vs::ui {

class Pane;

// Owns the free-standing panes (dialogs, message boxes, overlays) and destroys closed panes at
// the start of the next frame step, so that a pane can close itself from its own handler.
class CloseList {
  public:
    CloseList();
    ~CloseList();
    CloseList(const CloseList&) = delete;
    CloseList& operator=(const CloseList&) = delete;
    static CloseList* instance() { return instance_; }

    // Takes ownership of a free-standing pane until it is closed.
    Pane& Keep(std::unique_ptr<Pane> pane);
    bool Keeps(const Pane* pane) const;
    // Detaches and unregisters the pane, cancels its timers and lists it once. A pane owned by
    // this list or by its parent is destroyed by the next Empty.
    void Add(Pane* pane);
    bool Listed(const Pane* pane) const;
    size_t ListedCount() const { return closed_.size(); }
    // Destroys the listed panes; panes closed while that happens are destroyed too.
    void Empty();
    // A pane that goes by other means is no longer named here.
    void Forget(const Pane* pane);

  private:
    struct Entry {
        Pane* pane;
        std::unique_ptr<Pane> owned;
    };
    static inline CloseList* instance_ = nullptr;
    std::vector<std::unique_ptr<Pane>> kept_;
    std::vector<Entry> closed_;
};

// Builds a free-standing pane, hands it to the close list and lets it attach and register
// itself (its OnOpen). The pane is the list's until it closes.
template <class T, class... Args>
T& OpenPane(Args&&... args) {
    auto* list = CloseList::instance();
    if (!list) throw std::logic_error("a free-standing pane needs the close list");
    auto pane = std::make_unique<T>(std::forward<Args>(args)...);
    T& ref = *pane;
    list->Keep(std::move(pane));
    ref.OnOpen();
    return ref;
}

}  // namespace vs::ui
