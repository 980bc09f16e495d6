#pragma once
#include <string>

#include "platform/settings_store.h"

namespace vs::platform {

// The settings for tests: in memory only. flush() keeps a copy of the text it would write, and
// can be made to fail.
class MemorySettingsStore final : public SettingsStore {
public:
    MemorySettingsStore() { registerSelf(this); }
    ~MemorySettingsStore() override { unregisterSelf(this); }

    bool flush() override {
        ++flushes_;
        if (failFlush_) return false;
        flushed_ = text();
        return true;
    }

    void failFlush(bool fail) { failFlush_ = fail; }
    int flushes() const { return flushes_; }
    const std::string& flushedText() const { return flushed_; }
    // Replaces every value with the ones of a text (as a file backend would load it).
    void loadText(std::string_view text) { tree_ = parseSettingsText(text); }

private:
    int flushes_ = 0;
    bool failFlush_ = false;
    std::string flushed_;
};

}  // namespace vs::platform
