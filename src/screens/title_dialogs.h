#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "screens/figure_preview.h"
#include "screens/title_forms.h"
#include "ui/dialog.h"
#include "ui/text_edit_pane.h"

namespace vs::ui {
class ImageToggle;
class Label;
class ListHost;
}  // namespace vs::ui

namespace vs::screens {

class TitlePane;

// A one-line text field of a title dialog: at most 15 characters, masked for passwords. Enter
// and Escape go on to the dialog, Tab moves to the next field.
class FormField final : public ui::TextEditPane {
  public:
    FormField(const base::Rect& rect, bool password);
    bool OnKey(const app::InputEvent& e) override;
    bool OnMouse(const app::InputEvent& e) override;
    std::function<void()> onChange, onTab, onFocus;
    std::function<bool(const app::InputEvent&)> onDialogKey;
    base::Rect rect;
};

// What the four dialogs of the title share: the picture, OK and Cancel, text fields, the
// answers of the server, boxes and the closing slide. Registered under the title's handler and
// tracked by it.
class TitleDialog : public ui::Dialog, public FormView {
  public:
    static constexpr int kOkButton = 14;
    static constexpr int kCancelButton = 22;
    static constexpr int32_t kDelayTimer = 2;

    TitleDialog(TitlePane& title, std::u16string_view name, int16_t slot = -1);
    ~TitleDialog() override;

    // Attaches at the rectangle in the dialog layer, under the title.
    void OpenAt(const base::Rect& rect);

    void OnCommand(int32_t index, int32_t code) override;
    bool OnPacket(const app::InputEvent& e) override;
    bool OnTimer(int32_t code, int32_t first, int32_t second) override;

    // FormView
    std::u16string FieldText(Field field) const override;
    void FocusField(Field field) override;
    void EnableOk(bool enabled) override;
    void ShowBox(std::u16string_view text) override;
    void CloseForm(bool slide) override;
    void ScheduleForm(uint32_t delayMs) override;

    FormField* FieldOf(Field field) const;
    int32_t okIndex() const { return ok_; }
    int32_t cancelIndex() const { return cancel_; }

  protected:
    // The picture as control 0, then OK and Cancel.
    void AddPictureAndButtons(const char* picture, const char* palette, const base::Rect& ok,
                              const base::Rect& cancel);
    FormField& AddField(Field field, const base::Rect& rect, bool password);
    virtual void OkPressed() = 0;
    virtual void CancelPressed() { CloseForm(false); }
    virtual bool Answer(const LoginResult&) { return false; }
    virtual void Due() {}
    virtual void Refresh() {}
    void Changed() {
        Refresh();
        AfterChange();
    }
    TitlePane& title_;

  private:
    struct Entry {
        Field field;
        FormField* pane;
    };
    // The dialogs alive, for boxes that answer after their dialog has gone.
    static inline std::set<const TitleDialog*> live_;
    std::vector<Entry> fields_;
    std::vector<std::unique_ptr<FormField>> owned_;
    int32_t ok_ = -1, cancel_ = -1;
};

class LoginDialog final : public TitleDialog {
  public:
    explicit LoginDialog(TitlePane& title);
    void OnOpen() override;
    void UpdateControls() override { form_.UpdateControls(); }
    LoginForm& form() { return form_; }
    static LoginDialog* instance() { return instance_; }
    ~LoginDialog() override;

  private:
    void OkPressed() override { form_.Ok(); }
    bool Answer(const LoginResult& r) override { return form_.Result(r); }
    void Due() override { form_.Due(); }
    void Refresh() override { form_.UpdateControls(); }
    static inline LoginDialog* instance_ = nullptr;
    LoginForm form_;
};

class PasswordDialog final : public TitleDialog {
  public:
    explicit PasswordDialog(TitlePane& title);
    void OnOpen() override;
    void UpdateControls() override { form_.UpdateControls(); }
    PasswordForm& form() { return form_; }
    static PasswordDialog* instance() { return instance_; }
    ~PasswordDialog() override;

  private:
    void OkPressed() override { form_.Ok(); }
    bool Answer(const LoginResult& r) override { return form_.Result(r); }
    void Refresh() override { form_.UpdateControls(); }
    static inline PasswordDialog* instance_ = nullptr;
    PasswordForm form_;
};

// The new character dialog, "New User": full screen, with four walking previews.
class NewUserDialog final : public TitleDialog {
  public:
    static constexpr int32_t kWalkTimer = 3;
    static constexpr const char* kPalette = "NPAL3.PAL";

    explicit NewUserDialog(TitlePane& title);
    ~NewUserDialog() override;
    void OnOpen() override;
    void OnCommand(int32_t index, int32_t code) override;
    bool OnKey(const app::InputEvent& e) override;
    bool OnTimer(int32_t code, int32_t first, int32_t second) override;
    void UpdateControls() override;
    NewUserForm& form() { return form_; }
    const WalkInPlace& walk() const { return walk_; }
    static NewUserDialog* instance() { return instance_; }
    // The style count: the entries of the head table.
    static int StyleCount();

  private:
    class Preview;
    void OkPressed() override { form_.Ok(); }
    void CancelPressed() override { form_.Cancel(); }
    bool Answer(const LoginResult& r) override { return form_.Result(r); }
    void Refresh() override { UpdateControls(); }
    void showChoices();
    void move(bool right);

    static inline NewUserDialog* instance_ = nullptr;
    NewUserForm form_;
    WalkInPlace walk_;
    ui::ImageToggle* figures_[2] = {};
    ui::ImageToggle* arrows_[2] = {};
    Preview* previews_[4] = {};
    ui::ImageToggle* nations_[2] = {};
    ui::ImageToggle* totems_[4] = {};
    ui::Label* descriptions_[2] = {};
    int32_t firstPreview_ = -1;
};

// The server selection: the server list in rows of 14 pixels; OK while a row is selected.
class ServerDialog final : public TitleDialog {
  public:
    static constexpr int16_t kSlot = 13;
    static constexpr int32_t kRowHeight = 14;

    ServerDialog(TitlePane& title, std::vector<net::ServerEntry> servers);
    ~ServerDialog() override;
    void OnOpen() override;
    void OnCommand(int32_t index, int32_t code) override;
    void UpdateControls() override;
    // A new list while the dialog is open.
    void SetList(std::vector<net::ServerEntry> servers);
    ServerForm& form() { return form_; }
    ui::ListHost& list() { return *list_; }
    static ServerDialog* instance() { return instance_; }

  private:
    void OkPressed() override;
    void fillRows();
    static inline ServerDialog* instance_ = nullptr;
    ServerForm form_;
    ui::ListHost* list_ = nullptr;
    int32_t listIndex_ = -1;
};

// The title's dialogs, for TitlePane::Dialogs.
void OpenLoginDialog(TitlePane& title);
void OpenPasswordDialog(TitlePane& title);
void OpenNewUserDialog(TitlePane& title);
void ShowServerList(TitlePane& title, const std::vector<net::ServerEntry>& servers);

}  // namespace vs::screens
