#pragma once
#include <cstddef>
#include <span>
#include <string_view>

#include "platform/registered.h"

namespace vs::platform {

enum class MessageBoxButtons { Ok, OkCancel, YesNo };
enum class MessageBoxAnswer { Ok, Cancel, Yes, No };

// The system's modal message box, used before and after the game's own screens exist.
class MessageBox : public Registered<MessageBox> {
public:
    virtual ~MessageBox() = default;
    virtual MessageBoxAnswer show(std::u16string_view text, std::u16string_view caption,
                                  MessageBoxButtons buttons = MessageBoxButtons::Ok) = 0;
    // A box with buttons of the caller's own captions, the first one the default. Returns the
    // index of the button pressed; the last one (the way out) when the box cannot be shown.
    virtual size_t ask(std::u16string_view text, std::u16string_view caption,
                       std::span<const std::u16string_view> buttons) = 0;
};

}  // namespace vs::platform
