#pragma once
#include <string_view>

namespace vs::resources {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class ArchiveManager {
public:
    ArchiveManager() { instance_ = this; }
    ~ArchiveManager() {
        if (instance_ == this) instance_ = nullptr;
    }
    ArchiveManager(const ArchiveManager&) = delete;
    ArchiveManager& operator=(const ArchiveManager&) = delete;
    static ArchiveManager* instance() { return instance_; }
    // Nothing is mounted and nothing is refused until the archive reader exists.
    bool Mount(std::string_view name) { (void)name; return true; }

private:
    static inline ArchiveManager* instance_ = nullptr;
};

}  // namespace vs::resources
