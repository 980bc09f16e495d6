#pragma once

namespace vs::world {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class TileImageLib {
public:
    TileImageLib() { instance_ = this; }
    ~TileImageLib() {
        if (instance_ == this) instance_ = nullptr;
    }
    TileImageLib(const TileImageLib&) = delete;
    TileImageLib& operator=(const TileImageLib&) = delete;
    static TileImageLib* instance() { return instance_; }

private:
    static inline TileImageLib* instance_ = nullptr;
};

}  // namespace vs::world
