#pragma once
#include "graphics/display.h"

namespace vs::ui {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class Layer : public graphics::DisplayLayer {
public:
    Layer() { instance_ = this; }
    ~Layer() override {
        if (instance_ == this) instance_ = nullptr;
    }
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;
    static Layer* instance() { return instance_; }

private:
    static inline Layer* instance_ = nullptr;
};

}  // namespace vs::ui
