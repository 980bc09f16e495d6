#pragma once
#include <cstdint>

namespace vs::app {

// Not built yet: a later change gives this manager its work. It keeps its place in the start-up
// and shutdown order and does nothing.
class Settings {
public:
    Settings() { instance_ = this; }
    ~Settings() {
        if (instance_ == this) instance_ = nullptr;
    }
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;
    static Settings* instance() { return instance_; }
    void start();
    void save();
    int32_t musicType() const { return 0; }

private:
    static inline Settings* instance_ = nullptr;
};

}  // namespace vs::app
