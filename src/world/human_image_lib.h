#pragma once

namespace vs::world {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class HumanImageLib {
  public:
    HumanImageLib() { instance_ = this; }
    ~HumanImageLib() {
        if (instance_ == this) instance_ = nullptr;
    }
    HumanImageLib(const HumanImageLib&) = delete;
    HumanImageLib& operator=(const HumanImageLib&) = delete;
    static HumanImageLib* instance() { return instance_; }

  private:
    static inline HumanImageLib* instance_ = nullptr;
};

}  // namespace vs::world
