#include "screens/title_forms.h"

#include "app/password_guard.h"
#include "app/settings.h"
#include "net/client_commands_session.h"
#include "net/wire.h"
#include "screens/screen_art.h"
#include "screens/title_pane.h"
#include "screens/wait_screen.h"
#include "screens/world_placeholder.h"

namespace vs::screens {

namespace {

void send(TitlePane& title, const std::vector<uint8_t>& payload) {
    if (title.services().send) title.services().send(payload);
}

void focus(FormView& view, FocusTarget target) {
    switch (target) {
        case FocusTarget::Keep:
            return;
        case FocusTarget::Name:
            return view.FocusField(Field::Name);
        case FocusTarget::Password:
            return view.FocusField(Field::Password);
        case FocusTarget::OldPassword:
            return view.FocusField(Field::OldPassword);
        case FocusTarget::NewPassword:
            return view.FocusField(Field::NewPassword);
    }
}

void showText(FormView& view, const std::u16string& text) {
    if (!text.empty()) view.ShowBox(text);
}

// The digit rule, then the confirmation; false (with the box and the focus) when refused.
bool newPasswordAccepted(FormView& view, Field password, Field confirmation) {
    switch (CheckNewPassword(FieldValue(view, password), FieldValue(view, confirmation))) {
        case NewPasswordCheck::Ok:
            return true;
        case NewPasswordCheck::NoDigit:
            view.FocusField(password);
            view.ShowBox(kNeedsDigitText);
            return false;
        case NewPasswordCheck::Mismatch:
            view.FocusField(password);
            view.ShowBox(Text(kMismatchText));
            return false;
    }
    return false;
}

platform::Ipv4Address addressBytes(uint32_t a) {
    return {uint8_t(a >> 24), uint8_t(a >> 16), uint8_t(a >> 8), uint8_t(a)};
}

}  // namespace

std::u16string FieldValue(const FormView& view, Field field) {
    std::u16string text = view.FieldText(field);
    if (text.size() > kFieldUnits) text.resize(kFieldUnits);
    return text;
}

// ---- login -------------------------------------------------------------------------------------

void LoginForm::UpdateControls() {
    view_.EnableOk(!view_.FieldText(Field::Name).empty() &&
                   !view_.FieldText(Field::Password).empty());
}

void LoginForm::Ok() {
    if (pending_) return;
    name_ = FieldValue(view_, Field::Name);
    password_ = FieldValue(view_, Field::Password);
    if (name_.empty() || password_.empty()) return;
    app::PasswordGuard::storePassword(password_);
    title_.SetAccountName(name_);
    WaitScreen::Open();
    pending_ = true;
    view_.ScheduleForm(title_.services().randomBelow(kDelayBound));
}

void LoginForm::Due() {
    if (!pending_) return;
    send(title_, net::build(net::CmdLogin{{name_, password_}}));
}

bool LoginForm::Result(const LoginResult& r) {
    if (!pending_) return false;
    pending_ = false;
    if (r.code == 0) {
        view_.CloseForm(true);
        if (auto* settings = app::Settings::instance()) settings->setLastAccount(name_);
        BuildMainScreen(title_);
        return true;
    }
    WaitScreen::CloseOpen();
    focus(view_, LoginFocus(r.code));
    showText(view_, r.text);
    return true;
}

// ---- password change ---------------------------------------------------------------------------

void PasswordForm::UpdateControls() {
    bool filled = true;
    for (Field f : {Field::Name, Field::OldPassword, Field::NewPassword, Field::Confirmation})
        filled = filled && !view_.FieldText(f).empty();
    view_.EnableOk(filled);
}

void PasswordForm::Ok() {
    if (pending_ || !newPasswordAccepted(view_, Field::NewPassword, Field::Confirmation)) return;
    net::CmdChangePassword c;
    c.name = FieldValue(view_, Field::Name);
    c.oldPassword = FieldValue(view_, Field::OldPassword);
    c.newPassword = FieldValue(view_, Field::NewPassword);
    WaitScreen::Open();
    pending_ = true;
    send(title_, net::build(c));
}

bool PasswordForm::Result(const LoginResult& r) {
    if (!pending_) return false;
    pending_ = false;
    WaitScreen::CloseOpen();
    if (r.code == 0) {
        showText(view_, r.text);
        view_.CloseForm(true);
        return true;
    }
    focus(view_, PasswordChangeFocus(r.code));
    showText(view_, r.text);
    return true;
}

// ---- new character -----------------------------------------------------------------------------

NewUserForm::NewUserForm(TitlePane& title, FormView& view, int styleCount)
    : title_(title), view_(view), strip_(styleCount, title.services().randomBelow(1u << 16)) {
    const TitleServices& s = title.services();
    nation_ = int(s.randomBelow(kNations));
    totem_ = int(s.randomBelow(kTotems));
    female_ = s.randomBelow(2) == 1;
}

void NewUserForm::SetNation(int n) {
    if (n >= 0 && n < kNations) nation_ = n;
}

void NewUserForm::SetTotem(int t) {
    if (t >= 0 && t < kTotems) totem_ = t;
}

void NewUserForm::UpdateControls() {
    bool filled = true;
    for (Field f : {Field::Name, Field::Password, Field::Confirmation})
        filled = filled && !view_.FieldText(f).empty();
    view_.EnableOk(filled);
}

void NewUserForm::Ok() {
    if (stage_ != Stage::Idle || !newPasswordAccepted(view_, Field::Password, Field::Confirmation))
        return;
    net::CmdNameCheck check;
    name_ = check.name = FieldValue(view_, Field::Name);
    check.password = FieldValue(view_, Field::Password);
    WaitScreen::Open();
    stage_ = Stage::NameCheck;
    send(title_, net::build(check));
}

void NewUserForm::Cancel() {
    send(title_, net::build(net::CmdNewCharacterCancelled{}));
    view_.CloseForm(false);
}

bool NewUserForm::Result(const LoginResult& r) {
    const Stage stage = stage_;
    if (stage == Stage::Idle) return false;
    stage_ = Stage::Idle;
    if (stage == Stage::NameCheck && r.code == 0) {
        // The wait screen stays up for the creation.
        net::CmdCreateCharacter c;
        c.style = uint8_t(strip_.selectedStyle());
        c.female = female_;
        c.nation = uint8_t(nation_);
        c.totem = uint8_t(totem_);
        if (auto* settings = app::Settings::instance()) settings->setLastAccount(name_);
        stage_ = Stage::Creation;
        send(title_, net::build(c));
        return true;
    }
    // Every other answer ends the request: the dialog stays usable for another try.
    WaitScreen::CloseOpen();
    if (r.code != 0) {
        if (stage == Stage::NameCheck) focus(view_, NewUserFocus(r.code));
        showText(view_, r.text);
        return true;
    }
    view_.ShowBox(r.text.empty() ? std::u16string(kCreatedText) : r.text);
    view_.CloseForm(true);
    return true;
}

// ---- server selection --------------------------------------------------------------------------

void ServerForm::SetList(std::vector<net::ServerEntry> servers) {
    if (selected_ >= 0) {
        const net::ServerEntry& old = servers_[size_t(selected_)];
        const bool same = size_t(selected_) < servers.size() &&
                          servers[size_t(selected_)].id == old.id &&
                          servers[size_t(selected_)].name == old.name;
        if (!same) selected_ = -1;
    }
    servers_ = std::move(servers);
}

std::u16string ServerForm::RowText(const net::ServerEntry& e) {
    return e.name + u" : " + e.description;
}

void ServerForm::Select(int row) {
    selected_ = row >= 0 && size_t(row) < servers_.size() ? row : -1;
}

bool ServerForm::Choose() {
    if (selected_ < 0) return false;
    const net::ServerEntry& e = servers_[size_t(selected_)];
    send(title_, net::build(net::CmdChooseServer{e.id}));
    if (auto* settings = app::Settings::instance()) {
        settings->setServerIndex(e.id);
        settings->setConnectedServer(e.id, addressBytes(e.address), e.port);
    }
    WaitScreen::Open();
    return true;
}

}  // namespace vs::screens
