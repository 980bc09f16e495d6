#pragma once

namespace vs::ui {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class CloseList {
public:
    CloseList() { instance_ = this; }
    ~CloseList() {
        if (instance_ == this) instance_ = nullptr;
    }
    CloseList(const CloseList&) = delete;
    CloseList& operator=(const CloseList&) = delete;
    static CloseList* instance() { return instance_; }
    // Nothing can be closed yet.
    void Empty() {}

private:
    static inline CloseList* instance_ = nullptr;
};

}  // namespace vs::ui
