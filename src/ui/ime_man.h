#pragma once
#include <cstdint>

#include "platform/message.h"

namespace vs::ui {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class ImeMan {
  public:
    ImeMan() { instance_ = this; }
    ~ImeMan() {
        if (instance_ == this) instance_ = nullptr;
    }
    ImeMan(const ImeMan&) = delete;
    ImeMan& operator=(const ImeMan&) = delete;
    static ImeMan* instance() { return instance_; }
    // The input method manager sees every window message first; true when it handled one.
    bool HandleMessage(const platform::Message& m, int64_t& result);
    void Reset() {}
    int state() const { return 2; }

  private:
    static inline ImeMan* instance_ = nullptr;
};

}  // namespace vs::ui
