#pragma once

namespace vs::world {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class EffectImageLib {
public:
    EffectImageLib() { instance_ = this; }
    ~EffectImageLib() {
        if (instance_ == this) instance_ = nullptr;
    }
    EffectImageLib(const EffectImageLib&) = delete;
    EffectImageLib& operator=(const EffectImageLib&) = delete;
    static EffectImageLib* instance() { return instance_; }

private:
    static inline EffectImageLib* instance_ = nullptr;
};

}  // namespace vs::world
