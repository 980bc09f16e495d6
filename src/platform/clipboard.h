#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registered.h"

namespace vs::platform {

// The desktop clipboard in the program's terms: plain text is code-page bytes with lines
// separated by CR LF, and the program's own styled-text block is an opaque byte string. Every
// call may fail (another program holds the clipboard); a failed call changes nothing and says so.
class Clipboard : public Registered<Clipboard> {
  public:
    static constexpr size_t kMaxRead = 1 << 20;
    static constexpr const char* kPrivateFormat = "Quilm.StyledUnicodeText";

    virtual ~Clipboard() = default;

    // Empties the clipboard and puts the text on it.
    virtual bool setText(std::string_view codePageBytes) = 0;
    virtual bool hasText() = 0;
    // nullopt when there is no text or it cannot be read (also beyond kMaxRead).
    virtual std::optional<std::string> text() = 0;
    virtual bool hasPrivate() = 0;
    virtual std::optional<std::vector<uint8_t>> privateData() = 0;
};

}  // namespace vs::platform
