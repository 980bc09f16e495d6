#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vs::screens {

// The server's answer to a login, a new character or a password change: a code (0 accepted)
// and a text to show when it is not empty.
struct LoginResult {
    uint8_t code = 0;
    std::u16string text;
};
// Reads [02 code] with an optional u8-text. A reply without its text is complete, and a text
// whose length runs past the end gives the bytes that are there: a reply is never dropped, or
// the wait screen would stay up for good. Nothing for another opcode or a payload without its
// code.
std::optional<LoginResult> ParseLoginResult(std::span<const uint8_t> payload);

// Where a refused request puts the keyboard focus.
enum class FocusTarget { Keep, Name, Password, OldPassword, NewPassword };
FocusTarget LoginFocus(uint8_t code);
FocusTarget PasswordChangeFocus(uint8_t code);
FocusTarget NewUserFocus(uint8_t code);

// The rules for a new password: at least one digit, then equal to its confirmation.
enum class NewPasswordCheck { Ok, NoDigit, Mismatch };
NewPasswordCheck CheckNewPassword(std::u16string_view password, std::u16string_view confirmation);
// The text of the digit rule, as the dialogs show it.
inline constexpr std::u16string_view kNeedsDigitText = u"password must containt at least 1 number";
inline constexpr int kMismatchText = 90;

}  // namespace vs::screens
