#pragma once
#include <string>

namespace vs::resources {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class StringTable {
public:
    StringTable() { instance_ = this; }
    ~StringTable() {
        if (instance_ == this) instance_ = nullptr;
    }
    StringTable(const StringTable&) = delete;
    StringTable& operator=(const StringTable&) = delete;
    static StringTable* instance() { return instance_; }
    // Every entry is empty until string tables are read.
    std::u16string Get(int id) const { (void)id; return {}; }

private:
    static inline StringTable* instance_ = nullptr;
};

}  // namespace vs::resources
