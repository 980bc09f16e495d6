#pragma once
#include <cstddef>

namespace vs::resources {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class ImageCache {
public:
    ~ImageCache() {
        if (instance_ == this) instance_ = nullptr;
    }
    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;
    static ImageCache* instance() { return instance_; }
    explicit ImageCache(size_t budget) : budget_(budget) { instance_ = this; }
    size_t budget() const { return budget_; }

private:
    size_t budget_;

private:
    static inline ImageCache* instance_ = nullptr;
};

}  // namespace vs::resources
