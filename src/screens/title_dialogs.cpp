#include "screens/title_dialogs.h"

#include "app/settings.h"
#include "base/log.h"
#include "platform/virtual_keys.h"
#include "screens/screen_art.h"
#include "screens/title_pane.h"
#include "ui/button.h"
#include "ui/close_list.h"
#include "ui/dialog_placement.h"
#include "ui/label.h"
#include "ui/layer.h"
#include "ui/list_host.h"
#include "ui/message_box.h"
#include "ui/picture.h"
#include "ui/sprite_button.h"
#include "world/human_image_lib.h"

namespace vs::screens {

namespace {

constexpr const char* kDialogPalette = "NPAL3.PAL";

bool isKey(const app::InputEvent& e, uint8_t vk) {
    return e.kind == app::InputEvent::kKeyDown && e.keyCode == vk;
}

}  // namespace

// ---- a text field ------------------------------------------------------------------------------

FormField::FormField(const base::Rect& r, bool password)
    : TextEditPane(r.width(), r.height(), r.width(), r.height(), 128, 0, false, false, 0, 0),
      rect(r) {
    SetMaxLength(int32_t(kFieldUnits));
    SetMaxLines(1);
    if (password) SetPassword();
}

bool FormField::OnKey(const app::InputEvent& e) {
    if (isKey(e, platform::kVkTab)) {
        if (onTab) onTab();
        return true;
    }
    // Enter and Escape press the dialog's OK and Cancel: the focus takes every key first.
    if (isKey(e, platform::kVkReturn) || isKey(e, platform::kVkEscape))
        return onDialogKey ? onDialogKey(e) : false;
    if (e.kind == app::InputEvent::kText &&
        (e.text == u"\r" || e.text == u"\n" || e.text == u"\t" || e.text == u"\x1b"))
        return false;
    const bool used = TextEditPane::OnKey(e);
    if (onChange) onChange();
    return used;
}

bool FormField::OnMouse(const app::InputEvent& e) {
    if (e.kind == app::InputEvent::kLeftDown && onFocus) onFocus();
    return TextEditPane::OnMouse(e);
}

// ---- what the dialogs share --------------------------------------------------------------------

TitleDialog::TitleDialog(TitlePane& title, std::u16string_view name, int16_t slot)
    : Dialog(name, slot), title_(title) {
    live_.insert(this);
}

TitleDialog::~TitleDialog() {
    live_.erase(this);
    if (TitlePane::instance() == &title_) title_.ForgetDialog(this);
}

void TitleDialog::AddPictureAndButtons(const char* picture, const char* palette,
                                       const base::Rect& ok, const base::Rect& cancel) {
    if (picture) {
        const base::Point size = ui::SpriteFrameSize(picture, 0);
        Add<ui::Picture>(base::Rect{0, 0, size.x, size.y}, picture, 0, palette);
    }
    ok_ = AddControl(std::make_unique<ui::SpriteButton>(ok, kOkButton));
    cancel_ = AddControl(std::make_unique<ui::SpriteButton>(cancel, kCancelButton));
    SetDefaultControl(ok_);
    SetCancelControl(cancel_);
}

FormField& TitleDialog::AddField(Field field, const base::Rect& rect, bool password) {
    FormField& f = MakeChild<FormField>(rect, password);
    f.onChange = [this] { Changed(); };
    f.onDialogKey = [this](const app::InputEvent& e) { return OnKey(e); };
    f.onFocus = [this, field] { FocusField(field); };
    f.onTab = [this, field] {
        for (size_t i = 0; i < fields_.size(); ++i) {
            if (fields_[i].field != field) continue;
            FocusField(fields_[(i + 1) % fields_.size()].field);
            return;
        }
    };
    fields_.push_back({field, &f});
    return f;
}

void TitleDialog::OpenAt(const base::Rect& rect) {
    auto* screen = ui::ScreenPane::instance();
    Attach(rect, nullptr, nullptr, screen ? screen->GetLayerById(ui::kDialogLayer) : nullptr);
    RegisterHandler(nullptr, &title_);
    for (const Entry& e : fields_) {
        e.pane->Attach(e.pane->rect, nullptr, this, nullptr);
        e.pane->RegisterHandler(nullptr, this);
    }
    title_.TrackDialog(this);
    UpdateControls();
    AfterChange();
}

FormField* TitleDialog::FieldOf(Field field) const {
    for (const Entry& e : fields_)
        if (e.field == field) return e.pane;
    return nullptr;
}

std::u16string TitleDialog::FieldText(Field field) const {
    const FormField* f = FieldOf(field);
    return f ? f->Text() : std::u16string();
}

void TitleDialog::FocusField(Field field) {
    for (const Entry& e : fields_) e.pane->SetEditable(true, e.field == field);
    if (FormField* f = FieldOf(field)) f->TakeFocus();
}

void TitleDialog::EnableOk(bool enabled) {
    ui::Control* ok = GetControl(ok_);
    if (!ok || ok->IsEnabled() == enabled) return;
    enabled ? ok->Enable() : ok->Disable();
}

void TitleDialog::ShowBox(std::u16string_view text) {
    // The box takes the keys while it is up; the field that had them gets them back.
    Field back = Field::Name;
    bool restore = false;
    for (const Entry& e : fields_) {
        if (e.pane->HasFocus()) back = e.field, restore = true;
    }
    if (auto* d = app::EventDispatcher::instance()) d->setFocus(nullptr);
    const TitleDialog* self = this;
    ui::MessageBox::Show(text, this, u"OK", {}, [this, self, back, restore] {
        if (restore && live_.count(self) && !IsClosing()) FocusField(back);
    });
}

void TitleDialog::CloseForm(bool slide) {
    if (IsClosing()) return;
    if (slide) ui::SlideClose(*this);
    Close();
}

void TitleDialog::ScheduleForm(uint32_t delayMs) {
    if (auto* clock = app::FrameClock::instance()) clock->schedule(this, kDelayTimer, delayMs);
}

bool TitleDialog::OnTimer(int32_t code, int32_t, int32_t) {
    if (code != kDelayTimer) return false;
    Due();
    return true;
}

void TitleDialog::OnCommand(int32_t index, int32_t code) {
    if (code != ui::kPartButton && code != ui::kStatePressed) return;
    if (index == ok_) {
        OkPressed();
    } else if (index == cancel_) {
        CancelPressed();
    }
}

bool TitleDialog::OnPacket(const app::InputEvent& e) {
    if (e.subKind != 0 || IsClosing()) return false;
    if (auto r = ParseLoginResult(e.data)) Answer(*r);
    return false;
}

// ---- login -------------------------------------------------------------------------------------

LoginDialog::LoginDialog(TitlePane& title) : TitleDialog(title, u"Login"), form_(title, *this) {
    instance_ = this;
    AddPictureAndButtons("DLGLOGIN.EPF", kDialogPalette, {68, 137, 140, 153}, {145, 137, 217, 153});
    AddField(Field::Name, {125, 72, 223, 85}, false);
    AddField(Field::Password, {125, 92, 223, 105}, true);
}

LoginDialog::~LoginDialog() {
    if (instance_ == this) instance_ = nullptr;
}

void LoginDialog::OnOpen() {
    auto* settings = app::Settings::instance();
    if (settings && settings->lastAccount())
        FieldOf(Field::Name)->InsertText(*settings->lastAccount());
    OpenAt({356, 191, 640, 378});
    FocusField(FieldText(Field::Name).empty() ? Field::Name : Field::Password);
    ui::SlideOpen(*this);
}

// ---- password change ---------------------------------------------------------------------------

PasswordDialog::PasswordDialog(TitlePane& title)
    : TitleDialog(title, u"Password"), form_(title, *this) {
    instance_ = this;
    AddPictureAndButtons("DLGPASS.EPF", kDialogPalette, {83, 177, 155, 193}, {160, 177, 232, 193});
    AddField(Field::Name, {154, 72, 252, 85}, false);
    AddField(Field::OldPassword, {154, 92, 252, 105}, true);
    AddField(Field::NewPassword, {154, 112, 252, 125}, true);
    AddField(Field::Confirmation, {154, 132, 252, 145}, true);
}

PasswordDialog::~PasswordDialog() {
    if (instance_ == this) instance_ = nullptr;
}

void PasswordDialog::OnOpen() {
    OpenAt({326, 191, 640, 418});
    FocusField(Field::Name);
    ui::SlideOpen(*this);
}

// ---- new character -----------------------------------------------------------------------------

// One walking preview: the style at its place in the strip, in the chosen sex; the selected
// one inside the capsule.
class NewUserDialog::Preview final : public ui::Control {
  public:
    Preview(const base::Rect& rect, NewUserDialog& dialog, int place)
        : Control(rect), dialog_(dialog), place_(place) {}
    void Paint() override {
        SetTransferMode(0);
        SetPenColor(0);
        FillRect(GetBounds());
        const StyleStrip& strip = dialog_.form_.strip();
        if (place_ >= strip.shown()) return;
        DrawPreview(*this, GetBounds(), strip.styleAt(place_), dialog_.form_.female(),
                    dialog_.walk_);
        if (strip.selected() == place_)
            ui::DrawSpriteFrame(*this, "CAPSULE.EPF", 0, 0, 0, 1, NewUserDialog::kPalette);
    }
    uint8_t HitTest(int32_t x, int32_t y) const override {
        return GetBounds().contains(base::Point{x, y}) ? ui::kPartButton : ui::kPartNone;
    }

  private:
    NewUserDialog& dialog_;
    int place_;
};

int NewUserDialog::StyleCount() {
    auto* figures = world::HumanImageLib::instance();
    return figures ? int(figures->headTable().count()) : 0;
}

NewUserDialog::NewUserDialog(TitlePane& title)
    : TitleDialog(title, u"New User"), form_(title, *this, StyleCount()) {
    instance_ = this;
    Add<ui::Picture>(base::Rect{0, 0, 640, 480}, "DLGNEW02.EPF", 0, kPalette);
    AddField(Field::Name, {128, 129, 272, 141}, false);
    AddField(Field::Password, {128, 166, 272, 178}, true);
    AddField(Field::Confirmation, {128, 203, 272, 215}, true);
    const base::Rect figureRects[2] = {{428, 103, 533, 131}, {428, 216, 533, 244}};
    for (int i = 0; i < 2; ++i)
        figures_[i] = &Add<ui::ImageToggle>(figureRects[i], "GENDER.EPF", kPalette, 3 * i,
                                            3 * i + 1, 3 * i + 2, true);
    const base::Rect arrowRects[2] = {{331, 163, 353, 185}, {599, 163, 621, 185}};
    for (int i = 0; i < 2; ++i) {
        arrows_[i] = &Add<ui::ImageToggle>(arrowRects[i], "DIREC.EPF", kPalette, 2 * i, 2 * i + 1,
                                           2 * i, false);
        arrows_[i]->SetRepeat([this, i] { move(i == 1); });
    }
    static constexpr int32_t kPreviewX[5] = {358, 417, 476, 535, 594};
    for (int i = 0; i < 4; ++i) {
        auto p = std::make_unique<Preview>(base::Rect{kPreviewX[i], 134, kPreviewX[i + 1], 210},
                                           *this, i);
        previews_[i] = p.get();
        const int32_t index = AddControl(std::move(p));
        if (i == 0) firstPreview_ = index;
    }
    for (int i = 0; i < 2; ++i)
        nations_[i] =
            &Add<ui::ImageToggle>(base::Rect{124 + 50 * i, 273, 171 + 50 * i, 320}, "NNATION.EPF",
                                  kPalette, 2 * i, 2 * i + 1, 2 * i + 1, true);
    for (int i = 0; i < 4; ++i)
        totems_[i] =
            &Add<ui::ImageToggle>(base::Rect{367 + 50 * i, 273, 414 + 50 * i, 320}, "NTOTEM.EPF",
                                  kPalette, 2 * i, 2 * i + 1, 2 * i + 1, true);
    descriptions_[0] = &Add<ui::Label>(base::Rect{41, 331, 307, 432}, u"", 128, 0, true);
    descriptions_[1] = &Add<ui::Label>(base::Rect{333, 331, 599, 432}, u"", 128, 0, true);
    AddPictureAndButtons(nullptr, kPalette, {248, 460, 320, 476}, {325, 460, 397, 476});
}

NewUserDialog::~NewUserDialog() {
    if (instance_ == this) instance_ = nullptr;
}

void NewUserDialog::OnOpen() {
    OpenAt({0, 0, 640, 480});
    // Full screen: it stays where it is.
    SetDragLimits({0, 0, 640, 480});
    showChoices();
    FocusField(Field::Name);
    if (auto* clock = app::FrameClock::instance())
        clock->schedule(this, kWalkTimer, WalkInPlace::kStepMs);
}

void NewUserDialog::showChoices() {
    const StyleStrip& strip = form_.strip();
    figures_[0]->SetSelected(!form_.female());
    figures_[1]->SetSelected(form_.female());
    for (int i = 0; i < 2; ++i) nations_[i]->SetSelected(form_.nation() == i);
    for (int i = 0; i < 4; ++i) totems_[i]->SetSelected(form_.totem() == i);
    descriptions_[0]->SetText(Text(NewUserForm::kNationText + form_.nation()));
    descriptions_[1]->SetText(Text(NewUserForm::kTotemText + form_.totem()));
    strip.leftEnabled() ? arrows_[0]->Enable() : arrows_[0]->Disable();
    strip.rightEnabled() ? arrows_[1]->Enable() : arrows_[1]->Disable();
    for (Preview* p : previews_) p->Invalidate();
}

void NewUserDialog::UpdateControls() {
    form_.UpdateControls();
}

void NewUserDialog::move(bool right) {
    right ? form_.strip().MoveRight() : form_.strip().MoveLeft();
    showChoices();
    AfterChange();
}

void NewUserDialog::OnCommand(int32_t index, int32_t code) {
    if (index >= firstPreview_ && index < firstPreview_ + 4) {
        form_.strip().Select(index - firstPreview_);
        showChoices();
        return;
    }
    if (code != ui::kPartButton && code != ui::kStatePressed) return;
    for (int i = 0; i < 2; ++i) {
        if (GetControl(index) == figures_[i]) form_.SetFemale(i == 1);
        if (GetControl(index) == arrows_[i]) return move(i == 1);
        if (GetControl(index) == nations_[i]) form_.SetNation(i);
    }
    for (int i = 0; i < 4; ++i)
        if (GetControl(index) == totems_[i]) form_.SetTotem(i);
    showChoices();
    TitleDialog::OnCommand(index, code);
}

bool NewUserDialog::OnKey(const app::InputEvent& e) {
    const int32_t f = FocusControl();
    if (e.kind == app::InputEvent::kKeyDown && f >= firstPreview_ && f < firstPreview_ + 4) {
        if (e.keyCode == platform::kVkLeft || e.keyCode == platform::kVkUp) {
            move(false);
            return true;
        }
        if (e.keyCode == platform::kVkRight || e.keyCode == platform::kVkDown) {
            move(true);
            return true;
        }
    }
    return TitleDialog::OnKey(e);
}

bool NewUserDialog::OnTimer(int32_t code, int32_t first, int32_t second) {
    if (code != kWalkTimer) return TitleDialog::OnTimer(code, first, second);
    walk_.Step();
    for (Preview* p : previews_) p->Invalidate();
    if (auto* clock = app::FrameClock::instance())
        clock->schedule(this, kWalkTimer, WalkInPlace::kStepMs);
    return true;
}

// ---- server selection --------------------------------------------------------------------------

namespace {

class ServerRow final : public ui::ListRow {
  public:
    explicit ServerRow(std::u16string text) : text_(std::move(text)) {}
    void Paint(graphics::Canvas& canvas, const base::Rect& rect, bool selected) override {
        if (selected) {
            canvas.SetPenColor(37);
            canvas.FillRect(rect);
        }
        canvas.SetTextBackMode(1);
        canvas.SetTextColor(selected ? 128 : 37);
        canvas.MoveTo(rect.left + 2, rect.top + 11);
        canvas.DrawText(text_);
    }

  private:
    std::u16string text_;
};

}  // namespace

ServerDialog::ServerDialog(TitlePane& title, std::vector<net::ServerEntry> servers)
    : TitleDialog(title, u"Servers", kSlot), form_(title) {
    instance_ = this;
    Add<ui::Picture>(base::Rect{0, 0, 379, 424}, "DLGSERV.EPF", 0, kDialogPalette);
    list_ = &Add<ui::ListHost>(base::Rect{36, 71, 341, 353}, kRowHeight);
    listIndex_ = IndexOf(list_);
    AddPictureAndButtons(nullptr, kDialogPalette, {115, 374, 187, 390}, {192, 374, 264, 390});
    form_.SetList(std::move(servers));
    fillRows();
}

ServerDialog::~ServerDialog() {
    if (instance_ == this) instance_ = nullptr;
}

void ServerDialog::OnOpen() {
    const base::Rect centred{(640 - 379) / 2, (480 - 424) / 2, (640 + 379) / 2, (480 + 424) / 2};
    OpenAt(ui::PlaceDialog(kSlot, centred));
    ui::SlideOpen(*this);
}

void ServerDialog::fillRows() {
    ui::ListPane& rows = list_->List();
    rows.Clear();
    for (const net::ServerEntry& e : form_.servers())
        rows.Append(std::make_unique<ServerRow>(ServerForm::RowText(e)));
    rows.Select(form_.selected());
}

void ServerDialog::SetList(std::vector<net::ServerEntry> servers) {
    form_.SetList(std::move(servers));
    fillRows();
    UpdateControls();
    AfterChange();
}

void ServerDialog::UpdateControls() {
    EnableOk(form_.OkEnabled());
    // Nothing but a choice closes this dialog.
    if (ui::Control* cancel = GetControl(cancelIndex()); cancel && cancel->IsEnabled())
        cancel->Disable();
}

void ServerDialog::OkPressed() {
    if (!form_.Choose()) return;
    CloseForm(true);
}

void ServerDialog::OnCommand(int32_t index, int32_t code) {
    if (index == listIndex_) {
        form_.Select(list_->List().Selected());
        UpdateControls();
        AfterChange();
        if (code == ui::kListChosen) OkPressed();
        return;
    }
    TitleDialog::OnCommand(index, code);
}

// ---- opening -----------------------------------------------------------------------------------

void OpenLoginDialog(TitlePane& title) {
    if (!LoginDialog::instance() || LoginDialog::instance()->IsClosing())
        ui::OpenPane<LoginDialog>(title);
}

void OpenPasswordDialog(TitlePane& title) {
    if (!PasswordDialog::instance() || PasswordDialog::instance()->IsClosing())
        ui::OpenPane<PasswordDialog>(title);
}

void OpenNewUserDialog(TitlePane& title) {
    if (!NewUserDialog::instance() || NewUserDialog::instance()->IsClosing())
        ui::OpenPane<NewUserDialog>(title);
}

void ShowServerList(TitlePane& title, const std::vector<net::ServerEntry>& servers) {
    if (ServerDialog* open = ServerDialog::instance(); open && !open->IsClosing()) {
        open->SetList(servers);
        return;
    }
    ui::OpenPane<ServerDialog>(title, servers);
}

}  // namespace vs::screens
