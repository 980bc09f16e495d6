#include "screens/title_pane.h"

#include <algorithm>
#include <filesystem>

#include "app/error.h"
#include "app/settings.h"
#include "app/shell.h"
#include "audio/sound_man.h"
#include "base/log.h"
#include "base/text.h"
#include "net/client_commands_session.h"
#include "net/server_messages_session.h"
#include "net/wire.h"
#include "platform/virtual_keys.h"
#include "resources/bitmap8.h"
#include "resources/disk_file.h"
#include "screens/screen_art.h"
#include "screens/story_viewer.h"
#include "screens/transfer_screen.h"
#include "screens/wait_screen.h"
#include "ui/close_list.h"
#include "ui/layer.h"

namespace vs::screens {

namespace {

constexpr int kReconnectText = 154;

platform::Ipv4Address addressBytes(uint32_t address) {
    return {uint8_t(address >> 24), uint8_t(address >> 16), uint8_t(address >> 8),
            uint8_t(address)};
}

}  // namespace

int TitlePane::ItemAt(int32_t x, int32_t y) {
    for (int i = 0; i < kItemCount; ++i)
        if (ItemRect(i).contains(base::Point{x, y})) return i;
    return kNoItem;
}

std::u16string TitlePane::VersionText(int version) {
    return base::utf8ToUtf16(base::strprintf("V%d.%d", version / 100, version / 10 % 10));
}

TitlePane::TitlePane(TitleServices& services, Dialogs dialogs)
    : services_(services), dialogsToOpen_(std::move(dialogs)) {
    instance_ = this;
}

TitlePane::~TitlePane() {
    if (instance_ == this) instance_ = nullptr;
}

void TitlePane::OnOpen() {
    app::setPhase(2);
    auto* sounds = audio::SoundMan::instance();
    auto* settings = app::Settings::instance();
    if (sounds && settings) {
        // Music type 0 is the title's own tune, repeating until the game starts; the others
        // keep what plays.
        if (settings->musicType() == 0)
            sounds->PlayMusic(audio::SoundMan::kTitleTrack, 100, 0);
        else
            sounds->PlayMusic(0, 100, 1);
    }
    if (auto* clock = app::FrameClock::instance())
        clock->schedule(this, kKeepAliveTimer, kKeepAliveMs);
    loadBadge();
    auto* screen = ui::ScreenPane::instance();
    Attach(ui::ScreenPane::kScreenRect, nullptr, nullptr,
           screen ? screen->GetLayerById(ui::kBaseLayer) : nullptr);
    RegisterHandler(nullptr, nullptr);
}

void TitlePane::loadBadge() {
    std::error_code ec;
    if (!std::filesystem::exists(kBadge, ec)) return;
    try {
        resources::DiskFile file;
        file.Open(kBadge);
        std::vector<uint8_t> bytes;
        file.ReadAll(bytes);
        if (resources::DecodeBitmap8(bytes, badge_, badgePalette_)) badge_.BuildMask();
    } catch (const app::Error&) {
        VS_DEBUG("%s: not readable", kBadge);
    }
}

void TitlePane::Paint() {
    SetTransferMode(0);
    SetPenColor(0);
    FillRect(GetBounds());
    DrawSpriteFrame(*this, kPicture, 0, kPalette, {}, 0);
    if (badge_.hasPixels()) {
        const base::Rect b = badge_.bounds();
        DrawPixMap(badge_, b, b.offset(640 - b.width() - b.left, -b.top), 1, &badgePalette_);
    }
    auto* shell = app::Shell::instance();
    SetTextColor(kVersionColour);
    SetTextBackMode(1);
    MoveTo(10, 20);
    DrawText(VersionText(shell ? shell->version() : 310));
    if (selected_ != kNoItem) DrawSpriteFrame(*this, kHighlights, selected_, kPalette);
}

void TitlePane::Select(int item) {
    if (item == selected_) return;
    if (selected_ != kNoItem) Invalidate(ItemRect(selected_));
    selected_ = item;
    if (selected_ != kNoItem) Invalidate(ItemRect(selected_));
}

void TitlePane::Activate(int item) {
    switch (item) {
        case kNewUser:
            if (dialogsToOpen_.newUser) dialogsToOpen_.newUser(*this);
            break;
        case kLogin:
            if (dialogsToOpen_.login) dialogsToOpen_.login(*this);
            break;
        case kPassword:
            if (dialogsToOpen_.password) dialogsToOpen_.password(*this);
            break;
        case kStory:
        case kHistory:
            ui::OpenPane<StoryViewer>(item == kStory ? "STORY.EPF" : "HISTORY.EPF");
            break;
        case kLeave:
            if (auto* sounds = audio::SoundMan::instance()) sounds->PlaySound(kLeaveSound, 100);
            if (services_.closeConnection) services_.closeConnection();
            closeEverythingAbove();
            Close();
            // No direct start exists: leaving always comes back to a new connection screen.
            if (services_.openConnectionScreen) services_.openConnectionScreen();
            break;
        default:
            break;
    }
}

bool TitlePane::OnMouse(const app::InputEvent& e) {
    if (e.kind == app::InputEvent::kMouseMove) {
        if (const int item = ItemAt(e.x, e.y); item != kNoItem) Select(item);
    } else if (e.kind == app::InputEvent::kLeftUp) {
        // A release anywhere activates the item last moved over.
        if (selected_ != kNoItem) Activate(selected_);
    }
    return true;
}

bool TitlePane::OnKey(const app::InputEvent& e) {
    if (e.kind != app::InputEvent::kKeyDown) return false;
    switch (e.keyCode) {
        case platform::kVkReturn:
            if (selected_ != kNoItem) Activate(selected_);
            return true;
        case platform::kVkLeft:
        case platform::kVkUp:
            Select(selected_ <= 0 ? kItemCount - 1 : selected_ - 1);
            return true;
        case platform::kVkRight:
        case platform::kVkDown:
            Select(selected_ == kNoItem || selected_ == kItemCount - 1 ? 0 : selected_ + 1);
            return true;
        default:
            return false;
    }
}

bool TitlePane::OnTimer(int32_t code, int32_t, int32_t) {
    if (code != kKeepAliveTimer) return false;
    if (!TransferScreen::Showing() && services_.send) {
        const auto keepAlive = net::build(net::CmdKeepAlive{});
        services_.send(keepAlive);
    }
    if (auto* clock = app::FrameClock::instance())
        clock->schedule(this, kKeepAliveTimer, kKeepAliveMs);
    return true;
}

bool TitlePane::OnPacket(const app::InputEvent& e) {
    if (e.subKind != 0 || e.data.empty() || IsClosing()) return false;
    const std::span<const uint8_t> p = e.data;
    switch (p[0]) {
        case net::kServerVersionCheck:
            versionAnswer(p);
            break;
        case net::kServerTileCheck:
            redirect(p);
            break;
        case net::kServerServerList:
            serverList(p);
            break;
        case net::kServerTransferNotice:
            // Only the notice without an address shows the transfer screen.
            if (auto m = net::parseTransferNotice(p); m && !m->transfers()) TransferScreen::Open();
            break;
        case net::kServerAskPicture:
        case net::kServerNameListFlag:
            TransferScreen::CloseOpen();
            break;
        case net::kServerWebNotice:
            WaitScreen::CloseOpen();
            break;
        default:
            return false;
    }
    return false;
}

void TitlePane::versionAnswer(std::span<const uint8_t> payload) {
    if (payload.size() < 2) return;
    const uint8_t result = payload[1];
    if (result == net::MsgVersionCheck::kRefused) {
        if (services_.showMessage) services_.showMessage(Text(kOutOfDateText), {});
    } else if (result == net::MsgVersionCheck::kPatch ||
               result == net::MsgVersionCheck::kNewPatcher) {
        auto answer = net::parseVersionCheck(payload);
        if (!answer || patchHanded_) return;
        patchHanded_ = true;
        if (services_.versionAnswer) services_.versionAnswer(*answer);
    }
}

void TitlePane::redirect(std::span<const uint8_t> payload) {
    const auto m = net::parseTileCheck(payload);
    if (!m) return;
    if (!m->transfers()) {
        TransferScreen::Open();
        return;
    }
    if (services_.connectTo) services_.connectTo(addressBytes(m->address), m->port);
    const bool connected = services_.isConnected && services_.isConnected();
    if (!connected) {
        VS_WARN("the transfer to the next server failed");
        auto quit = services_.quit;
        if (services_.showMessage)
            services_.showMessage(Text(kUnreachableText), [quit] {
                if (quit) quit();
            });
        else if (quit)
            quit();
        return;
    }
    if (services_.send) {
        net::CmdTransferToken token;
        token.token = m->token;
        services_.send(net::build(token));
    }
    if (services_.uploadPendingCrashReport) services_.uploadPendingCrashReport();
    WaitScreen::CloseOpen();
}

void TitlePane::serverList(std::span<const uint8_t> payload) {
    const auto m = net::parseServerList(payload);
    // A list without one complete entry changes nothing: its dialog could never close.
    if (!m || m->servers.empty()) return;
    WaitScreen::CloseOpen();
    if (auto* settings = app::Settings::instance()) {
        std::vector<app::ServerEntry> list;
        for (const net::ServerEntry& s : m->servers)
            list.push_back({s.id, addressBytes(s.address), s.port, s.name, s.description, s.more});
        settings->setServerList(std::move(list), settings->serverListVersion());
    }
    if (dialogsToOpen_.servers) dialogsToOpen_.servers(*this, m->servers);
}

bool TitlePane::OnConnectionEvent(const app::InputEvent& e) {
    if (e.kind != app::InputEvent::kConnectionClosed || IsClosing()) return false;
    connectionLost();
    return false;
}

void TitlePane::closeEverythingAbove() {
    WaitScreen::CloseOpen();
    TransferScreen::CloseOpen();
    if (auto* story = StoryViewer::instance()) story->Close();
    const std::vector<ui::Pane*> open = dialogs_;
    dialogs_.clear();
    for (ui::Pane* d : open) d->Close();
}

void TitlePane::connectionLost() {
    if (services_.closeConnection) services_.closeConnection();
    closeEverythingAbove();
    AskReconnect(services_, *this);
}

void TitlePane::TrackDialog(ui::Pane* dialog) {
    if (dialog && std::find(dialogs_.begin(), dialogs_.end(), dialog) == dialogs_.end())
        dialogs_.push_back(dialog);
}

void TitlePane::ForgetDialog(const ui::Pane* dialog) {
    dialogs_.erase(std::remove(dialogs_.begin(), dialogs_.end(), dialog), dialogs_.end());
}

void AskReconnect(TitleServices& services, ui::Pane& screen) {
    if (!services.askReconnect) return;
    TitleServices* s = &services;
    ui::Pane* owner = &screen;
    services.askReconnect(Text(kReconnectText), [s, owner](bool reconnect) {
        if (!reconnect) {
            if (s->quit) s->quit();
            return;
        }
        owner->Close();
        if (s->openConnectionScreen) s->openConnectionScreen();
    });
}

}  // namespace vs::screens
