#pragma once

namespace vs::world {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class LightImageLib {
public:
    LightImageLib() { instance_ = this; }
    ~LightImageLib() {
        if (instance_ == this) instance_ = nullptr;
    }
    LightImageLib(const LightImageLib&) = delete;
    LightImageLib& operator=(const LightImageLib&) = delete;
    static LightImageLib* instance() { return instance_; }

private:
    static inline LightImageLib* instance_ = nullptr;
};

}  // namespace vs::world
