#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/lobject.h"
#include "base/rect.h"
#include "platform/registered.h"

namespace vs::platform {

// What the input method messages carry. A composition message (kWmImeComposition) has the flags
// in lParam, the composition cursor (UTF-16 units) in wParam and its text, UTF-8, in `text`.
enum : uint32_t {
    kGcsCompStr = 0x0008,
    kGcsCursorPos = 0x0080,
    kGcsResultStr = 0x0800,
};
// Notification codes of kWmImeNotify (wParam); a candidate notification carries a
// CandidateList object and the list's bit in lParam.
enum : uint32_t {
    kImnChangeCandidate = 0x0003,
    kImnCloseCandidate = 0x0004,
    kImnOpenCandidate = 0x0005,
    kImnSetOpenStatus = 0x0008,
    kImnOpenStatusWindow = 0x0002,
};
// The character was typed with Alt held (lParam of kWmChar).
constexpr int64_t kCharAltBit = int64_t(1) << 29;

// A candidate list as the input method reports it.
struct CandidateList : base::LObject {
    enum Style : uint32_t { kRead = 1, kCode = 2 };
    uint32_t style = kRead;
    std::vector<std::u16string> candidates;  // with kCode, one unit: a code-page character code
    int32_t selection = 0;
    int32_t pageStart = 0;
    int32_t pageSize = 0;
};

// The system input method of the main window. While it is available, it composes text from the
// keys it takes and the window receives composition messages; while it is not, keys type plain
// characters. It starts unavailable.
class TextInput : public Registered<TextInput> {
  public:
    virtual ~TextInput() = default;
    virtual void setAvailable(bool on) = 0;
    virtual bool available() const = 0;
    // Drops the composition in progress; a commit of the same text that follows is ignored.
    virtual void clearComposition(std::u16string_view dropped) = 0;
    // Where the game shows the composition, in its 640 x 480 pixels, so that the system places
    // its own candidate list beside it.
    virtual void setCompositionRect(const base::Rect& rect) = 0;
};

}  // namespace vs::platform
