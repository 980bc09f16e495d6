#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/clipboard.h"

namespace vs::platform {

// The clipboard for tests: bytes per format, a log of the calls, and failures on demand.
class MemoryClipboard final : public Clipboard {
  public:
    MemoryClipboard() { registerSelf(this); }
    ~MemoryClipboard() override { unregisterSelf(this); }

    bool setText(std::string_view bytes) override {
        log_.push_back("set");
        if (failing_) return false;
        text_ = std::string(bytes);
        private_.reset();
        return true;
    }
    bool hasText() override { return !failing_ && text_.has_value(); }
    std::optional<std::string> text() override {
        log_.push_back("text");
        if (failing_) return std::nullopt;
        return text_;
    }
    bool hasPrivate() override { return !failing_ && private_.has_value(); }
    std::optional<std::vector<uint8_t>> privateData() override {
        log_.push_back("private");
        if (failing_) return std::nullopt;
        return private_;
    }

    // Test controls: what another program put there, and a clipboard that refuses every call.
    void put(std::optional<std::string> text, std::optional<std::vector<uint8_t>> block = {}) {
        text_ = std::move(text);
        private_ = std::move(block);
    }
    void setFailing(bool on) { failing_ = on; }
    const std::optional<std::string>& storedText() const { return text_; }
    const std::vector<std::string>& log() const { return log_; }

  private:
    std::optional<std::string> text_;
    std::optional<std::vector<uint8_t>> private_;
    std::vector<std::string> log_;
    bool failing_ = false;
};

}  // namespace vs::platform
