#pragma once
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "net/server_messages_session.h"
#include "resources/palette.h"
#include "resources/pix_map.h"
#include "screens/title_services.h"
#include "ui/pane.h"

namespace vs::screens {

// The title screen: the picture, the version, six items (new character, login, password
// change, story, history, leave), the title music and the keep-alive. While it shows it
// answers the server's version, its list of servers, transfers and the end of the connection.
class TitlePane final : public ui::Pane {
  public:
    enum Item : int {
        kNewUser = 0,
        kLogin = 1,
        kPassword = 2,
        kStory = 3,
        kHistory = 4,
        kLeave = 5,
        kItemCount = 6,
        kNoItem = -1,
    };
    static constexpr int32_t kKeepAliveTimer = 1;
    static constexpr uint32_t kKeepAliveMs = 20000;
    static constexpr int kLeaveSound = 402;
    static constexpr int kOutOfDateText = 88;
    static constexpr int kUnreachableText = 157;
    static constexpr int32_t kVersionColour = 9;
    static constexpr const char* kPicture = "TITLE.EPF";
    static constexpr const char* kHighlights = "TITLESEL.EPF";
    static constexpr const char* kPalette = "NPAL2.PAL";
    static constexpr const char* kBadge = "LEVEL.BMP";

    static constexpr base::Rect ItemRect(int i) { return {467, 299 + 30 * i, 640, 329 + 30 * i}; }
    // The item under a point of the screen, or kNoItem.
    static int ItemAt(int32_t x, int32_t y);
    // "V3.1" for version 310.
    static std::u16string VersionText(int version);

    // The dialogs the items open, and the server dialog a list opens or refreshes. The dialogs
    // are registered under the title's handler and tracked by it (TrackDialog).
    struct Dialogs {
        std::function<void(TitlePane&)> newUser, login, password;
        std::function<void(TitlePane&, const std::vector<net::ServerEntry>&)> servers;
    };

    explicit TitlePane(TitleServices& services, Dialogs dialogs = {});
    ~TitlePane() override;
    static TitlePane* instance() { return instance_; }

    void OnOpen() override;
    void Paint() override;
    bool OnMouse(const app::InputEvent& e) override;
    bool OnKey(const app::InputEvent& e) override;
    bool OnPacket(const app::InputEvent& e) override;
    bool OnConnectionEvent(const app::InputEvent& e) override;
    bool OnTimer(int32_t code, int32_t first, int32_t second) override;

    int selected() const { return selected_; }
    void Select(int item);
    void Activate(int item);

    // Dialogs over the title: closed with it and when the connection ends.
    void TrackDialog(ui::Pane* dialog);
    void ForgetDialog(const ui::Pane* dialog);
    const std::vector<ui::Pane*>& dialogs() const { return dialogs_; }

    // The account name of the login under way (the main screen takes it).
    const std::u16string& accountName() const { return accountName_; }
    void SetAccountName(std::u16string name) { accountName_ = std::move(name); }
    TitleServices& services() { return services_; }
    bool hasBadge() const { return badge_.hasPixels(); }

  private:
    void versionAnswer(std::span<const uint8_t> payload);
    void redirect(std::span<const uint8_t> payload);
    void serverList(std::span<const uint8_t> payload);
    void connectionLost();
    void closeEverythingAbove();
    void loadBadge();

    static inline TitlePane* instance_ = nullptr;
    TitleServices& services_;
    Dialogs dialogsToOpen_;
    int selected_ = kNoItem;
    bool patchHanded_ = false;
    std::u16string accountName_;
    std::vector<ui::Pane*> dialogs_;
    resources::PixMap badge_;
    resources::DLPalette badgePalette_;
};

// The reconnect box of a lost connection, for the title and the world: string 154 with
// "Reconnect" (closes `screen` and opens a new connection screen) and "Leave" (ends the
// program).
void AskReconnect(TitleServices& services, ui::Pane& screen);

}  // namespace vs::screens
