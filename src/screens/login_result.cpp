#include "screens/login_result.h"

#include <algorithm>

#include "base/text.h"
#include "net/wire.h"

namespace vs::screens {

std::optional<LoginResult> ParseLoginResult(std::span<const uint8_t> payload) {
    if (payload.size() < 2 || payload[0] != net::kServerLoginCheck) return std::nullopt;
    LoginResult r;
    r.code = payload[1];
    if (payload.size() > 2) {
        const size_t length = std::min<size_t>(payload[2], payload.size() - 3);
        r.text = base::CodePage::current().decode(payload.subspan(3, length));
    }
    return r;
}

FocusTarget LoginFocus(uint8_t code) {
    if (code == 15) return FocusTarget::Password;
    if (code == 14 || (code >= 16 && code <= 21 && code != 19)) return FocusTarget::Name;
    return FocusTarget::Keep;
}

FocusTarget PasswordChangeFocus(uint8_t code) {
    if (code >= 5 && code <= 9) return FocusTarget::NewPassword;
    if (code == 15) return FocusTarget::OldPassword;
    if (code == 3 || code == 4 || code == 14 || (code >= 16 && code <= 18) || code == 20 ||
        code == 21)
        return FocusTarget::Name;
    return FocusTarget::Keep;
}

FocusTarget NewUserFocus(uint8_t code) {
    if ((code >= 5 && code <= 9) || code == 15) return FocusTarget::Password;
    if ((code >= 10 && code <= 13) || code == 19) return FocusTarget::Keep;
    if (code >= 3 && code <= 21) return FocusTarget::Name;
    return FocusTarget::Keep;
}

NewPasswordCheck CheckNewPassword(std::u16string_view password, std::u16string_view confirmation) {
    if (std::none_of(password.begin(), password.end(),
                     [](char16_t c) { return c >= u'0' && c <= u'9'; }))
        return NewPasswordCheck::NoDigit;
    return password == confirmation ? NewPasswordCheck::Ok : NewPasswordCheck::Mismatch;
}

}  // namespace vs::screens
