#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clipboard.h"

namespace vs::platform {

// The desktop clipboard through SDL: UTF-8 text with bare line feeds. It has no private formats.
class SdlClipboard final : public Clipboard {
  public:
    SdlClipboard() { registerSelf(this); }
    ~SdlClipboard() override { unregisterSelf(this); }

    bool setText(std::string_view codePageBytes) override;
    bool hasText() override;
    std::optional<std::string> text() override;
    bool hasPrivate() override { return false; }
    std::optional<std::vector<uint8_t>> privateData() override { return std::nullopt; }
};

// Code-page text with CR LF to the desktop's UTF-8 with LF, and back ('?' for what the code page
// cannot hold; every bare LF becomes CR LF).
std::string clipboardToUtf8(std::string_view codePageBytes);
std::string clipboardFromUtf8(std::string_view utf8);

}  // namespace vs::platform
