#pragma once

namespace vs::world {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class MonsterImageLib {
  public:
    MonsterImageLib() { instance_ = this; }
    ~MonsterImageLib() {
        if (instance_ == this) instance_ = nullptr;
    }
    MonsterImageLib(const MonsterImageLib&) = delete;
    MonsterImageLib& operator=(const MonsterImageLib&) = delete;
    static MonsterImageLib* instance() { return instance_; }

  private:
    static inline MonsterImageLib* instance_ = nullptr;
};

}  // namespace vs::world
