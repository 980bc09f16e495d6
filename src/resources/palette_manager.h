#pragma once

namespace vs::resources {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class PaletteManager {
public:
    PaletteManager() { instance_ = this; }
    ~PaletteManager() {
        if (instance_ == this) instance_ = nullptr;
    }
    PaletteManager(const PaletteManager&) = delete;
    PaletteManager& operator=(const PaletteManager&) = delete;
    static PaletteManager* instance() { return instance_; }

private:
    static inline PaletteManager* instance_ = nullptr;
};

}  // namespace vs::resources
