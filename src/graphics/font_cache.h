#pragma once

namespace vs::graphics {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class FontCache {
public:
    FontCache() { instance_ = this; }
    ~FontCache() {
        if (instance_ == this) instance_ = nullptr;
    }
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;
    static FontCache* instance() { return instance_; }

private:
    static inline FontCache* instance_ = nullptr;
};

}  // namespace vs::graphics
