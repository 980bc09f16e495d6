#include "screens/world_placeholder.h"

#include "app/settings.h"
#include "app/shell.h"
#include "audio/sound_man.h"
#include "base/log.h"
#include "base/text.h"
#include "screens/title_pane.h"
#include "screens/wait_screen.h"
#include "ui/close_list.h"
#include "ui/ime_man.h"
#include "ui/layer.h"

namespace vs::screens {

namespace {
constexpr uint32_t kMusicFadeMs = 3000;
}  // namespace

WorldPlaceholderPane::WorldPlaceholderPane(TitleServices& services, std::u16string account)
    : services_(services), account_(std::move(account)) {
    instance_ = this;
}

WorldPlaceholderPane::~WorldPlaceholderPane() {
    if (instance_ == this) instance_ = nullptr;
}

void WorldPlaceholderPane::OnOpen() {
    auto* screen = ui::ScreenPane::instance();
    Attach(ui::ScreenPane::kScreenRect, nullptr, nullptr,
           screen ? screen->GetLayerById(ui::kBaseLayer) : nullptr);
    RegisterHandler(nullptr, nullptr);
}

void WorldPlaceholderPane::Paint() {
    SetTransferMode(0);
    SetPenColor(143);
    FillRect(GetBounds());
    SetTextBackMode(1);
    SetTextColor(128);
    SetAlignment(1);
    DrawTextInRect(account_, {0, 200, 640, 230});
    SetTextColor(132);
    DrawTextInRect(kNotBuilt, {0, 236, 640, 266});
    SetAlignment(0);
}

bool WorldPlaceholderPane::OnConnectionEvent(const app::InputEvent& e) {
    if (e.kind != app::InputEvent::kConnectionClosed || IsClosing()) return false;
    if (services_.closeConnection) services_.closeConnection();
    WaitScreen::CloseOpen();
    AskReconnect(services_, *this);
    return false;
}

void BuildMainScreen(TitlePane& title) {
    const std::u16string account = title.accountName();
    if (auto* settings = app::Settings::instance(); settings && !account.empty())
        settings->loadAccount(account);
    title.Close();
    WaitScreen::CloseOpen();
    // In the world keys are play keys: no field wants the input method.
    if (auto* ime = ui::ImeMan::instance()) ime->Request(nullptr, false);
    if (auto* sounds = audio::SoundMan::instance()) sounds->StopMusic(int(kMusicFadeMs));
    if (auto* shell = app::Shell::instance()) shell->setInGame(true);
    VS_INFO("\"%s\" is in the world", base::utf16ToUtf8(account).c_str());
    ui::OpenPane<WorldPlaceholderPane>(title.services(), account);
}

}  // namespace vs::screens
