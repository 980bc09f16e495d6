#pragma once

namespace vs::world {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class StaticObjImageLib {
public:
    StaticObjImageLib() { instance_ = this; }
    ~StaticObjImageLib() {
        if (instance_ == this) instance_ = nullptr;
    }
    StaticObjImageLib(const StaticObjImageLib&) = delete;
    StaticObjImageLib& operator=(const StaticObjImageLib&) = delete;
    static StaticObjImageLib* instance() { return instance_; }

private:
    static inline StaticObjImageLib* instance_ = nullptr;
};

}  // namespace vs::world
