#pragma once
#include <cstdlib>

#include "platform/registered.h"

namespace vs::platform {

// Random numbers for the game's choices (shuffled and random music). Tests register a scripted
// source; without one the C runtime's generator is used, which start-up seeds with the time.
class RandomSource : public Registered<RandomSource> {
  public:
    virtual ~RandomSource() = default;
    // A number in 0..RAND_MAX.
    virtual int next() = 0;
};

inline int randomNumber() {
    auto* source = RandomSource::instance();
    return source ? source->next() : std::rand();
}

}  // namespace vs::platform
