#pragma once
#include <cstddef>
#include <string>

namespace vs::app {

// Replaces every character the server does not accept in outgoing chat and mail with '?'.
class OutgoingTextFilter {
public:
    OutgoingTextFilter() { instance_ = this; }
    ~OutgoingTextFilter() {
        if (instance_ == this) instance_ = nullptr;
    }
    OutgoingTextFilter(const OutgoingTextFilter&) = delete;
    OutgoingTextFilter& operator=(const OutgoingTextFilter&) = delete;
    static OutgoingTextFilter* instance() { return instance_; }

    // Walks at most count units and stops at a 0 unit. Kept: LF, CR, 32..127 and the accented
    // letters 224, 226, 231, 232, 233, 235, 238, 239, 244, 249, 250, 251.
    static void filter(char16_t* text, size_t count);
    static void filter(std::u16string& text) { filter(text.data(), text.size()); }
    static bool accepted(char16_t c);

private:
    static inline OutgoingTextFilter* instance_ = nullptr;
};

}  // namespace vs::app
