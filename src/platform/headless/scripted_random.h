#pragma once
#include <cstdint>
#include <deque>
#include <initializer_list>

#include "platform/random_source.h"

namespace vs::platform {

// Hands out the numbers a test scripted, then a fixed sequence, so every run chooses alike.
class ScriptedRandom final : public RandomSource {
  public:
    ScriptedRandom() { registerSelf(this); }
    ~ScriptedRandom() override { unregisterSelf(this); }

    int next() override {
        ++calls_;
        if (!script_.empty()) {
            const int v = script_.front();
            script_.pop_front();
            return v;
        }
        state_ = state_ * 1103515245u + 12345u;
        return int((state_ >> 16) & 0x7FFF);
    }

    void script(std::initializer_list<int> values) { script_.insert(script_.end(), values); }
    size_t calls() const { return calls_; }

  private:
    std::deque<int> script_;
    uint32_t state_ = 1;
    size_t calls_ = 0;
};

}  // namespace vs::platform
