#pragma once
#include <utility>
#include <vector>

#include "platform/random_source.h"

namespace vs::audio {

// A new order: each next item picked at random (rand() mod remaining) from those not yet moved.
template <class T>
std::vector<T> shuffled(std::vector<T> items) {
    std::vector<T> out;
    out.reserve(items.size());
    while (!items.empty()) {
        const size_t i = size_t(platform::randomNumber()) % items.size();
        out.push_back(std::move(items[i]));
        items.erase(items.begin() + long(i));
    }
    return out;
}

}  // namespace vs::audio
