#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "net/server_messages_session.h"
#include "screens/login_result.h"
#include "screens/style_strip.h"

namespace vs::screens {

class TitlePane;

// The text fields of the title's dialogs.
enum class Field { Name, Password, OldPassword, NewPassword, Confirmation };

// What the forms below ask of the dialog that shows them: its fields, its OK button, a message
// box, closing, and a timer of its own (gone with the dialog).
class FormView {
  public:
    virtual ~FormView() = default;
    virtual std::u16string FieldText(Field field) const = 0;
    virtual void FocusField(Field field) = 0;
    virtual void EnableOk(bool enabled) = 0;
    // A message box with "OK".
    virtual void ShowBox(std::u16string_view text) = 0;
    // The dialog closes, sliding out or at once.
    virtual void CloseForm(bool slide) = 0;
    // Calls the form's Due() after delayMs, unless the dialog has closed by then.
    virtual void ScheduleForm(uint32_t delayMs) = 0;
};

// Texts are read as at most this many characters.
inline constexpr size_t kFieldUnits = 15;
std::u16string FieldValue(const FormView& view, Field field);

// The login: name and password, sent after a random delay of up to half a second.
class LoginForm {
  public:
    static constexpr uint32_t kDelayBound = 500;
    LoginForm(TitlePane& title, FormView& view) : title_(title), view_(view) {}
    void UpdateControls();
    void Ok();
    // The delay has passed: the login goes out.
    void Due();
    // A result message; false when no login of this dialog waits for one.
    bool Result(const LoginResult& r);
    bool pending() const { return pending_; }

  private:
    TitlePane& title_;
    FormView& view_;
    std::u16string name_, password_;
    bool pending_ = false;
};

// The password change: name, old password, new password and its confirmation.
class PasswordForm {
  public:
    PasswordForm(TitlePane& title, FormView& view) : title_(title), view_(view) {}
    void UpdateControls();
    void Ok();
    bool Result(const LoginResult& r);
    bool pending() const { return pending_; }

  private:
    TitlePane& title_;
    FormView& view_;
    bool pending_ = false;
};

// The new character: name, password and confirmation, a figure among the styles, the sex, a
// nation and a totem. OK checks the name with the server first; an accepted check makes the
// creation follow at once.
class NewUserForm {
  public:
    enum class Stage { Idle, NameCheck, Creation };
    static constexpr int kNations = 2;
    static constexpr int kTotems = 4;
    static constexpr int kNationText = 208;
    static constexpr int kTotemText = 210;
    static constexpr std::u16string_view kCreatedText = u"삑사리!";

    // Nation, totem and sex start at random choices, the previews at a random style.
    NewUserForm(TitlePane& title, FormView& view, int styleCount);
    void UpdateControls();
    void Ok();
    void Cancel();
    bool Result(const LoginResult& r);

    StyleStrip& strip() { return strip_; }
    const StyleStrip& strip() const { return strip_; }
    bool female() const { return female_; }
    void SetFemale(bool female) { female_ = female; }
    int nation() const { return nation_; }
    void SetNation(int n);
    int totem() const { return totem_; }
    void SetTotem(int t);
    Stage stage() const { return stage_; }

  private:
    TitlePane& title_;
    FormView& view_;
    StyleStrip strip_;
    bool female_ = false;
    int nation_ = 0;
    int totem_ = 0;
    Stage stage_ = Stage::Idle;
    std::u16string name_;
};

// The server selection: the entries of the server list, one selected row or none.
class ServerForm {
  public:
    explicit ServerForm(TitlePane& title) : title_(title) {}
    // A new list replaces the rows; a selection whose row is gone, or shows another server, is
    // cleared.
    void SetList(std::vector<net::ServerEntry> servers);
    const std::vector<net::ServerEntry>& servers() const { return servers_; }
    // "name : description".
    static std::u16string RowText(const net::ServerEntry& e);
    int selected() const { return selected_; }
    void Select(int row);
    bool OkEnabled() const { return selected_ >= 0; }
    // Chooses the selected server: the command, the settings and the wait screen. False
    // without a selection.
    bool Choose();

  private:
    TitlePane& title_;
    std::vector<net::ServerEntry> servers_;
    int selected_ = -1;
};

}  // namespace vs::screens
