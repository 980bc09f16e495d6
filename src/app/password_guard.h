#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vs::app {

// Refuses outgoing text that contains the player's password. The password is kept scrambled in
// memory, at most 31 units.
class PasswordGuard {
public:
    static void storePassword(std::u16string_view password);
    // Throws PasswordError with the warning of "PASS_ENG.STR" when text contains the password.
    // An empty password matches nothing.
    static void checkOutgoing(std::u16string_view text);

    // Reads a text file from the game data by name (connected by the application; the warning
    // stays empty without it).
    using TextFileSource = std::function<std::optional<std::string>(std::string_view name)>;
    static void setTextSource(TextFileSource source);
    // The warning as it is shown: the first line, then each next line while the line before it
    // held more than one character; lines of at most 200 bytes, 1024 units in all.
    static std::u16string warningText(std::string_view file);
};

}  // namespace vs::app
