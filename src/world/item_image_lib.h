#pragma once

namespace vs::world {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class ItemImageLib {
public:
    ItemImageLib() { instance_ = this; }
    ~ItemImageLib() {
        if (instance_ == this) instance_ = nullptr;
    }
    ItemImageLib(const ItemImageLib&) = delete;
    ItemImageLib& operator=(const ItemImageLib&) = delete;
    static ItemImageLib* instance() { return instance_; }

private:
    static inline ItemImageLib* instance_ = nullptr;
};

}  // namespace vs::world
