#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "devserver/accounts.h"
#include "devserver/dev_server.h"
#include "net/server_messages_session.h"

namespace vs::devserver {

// The title screen's side of the server: the server list and the transfer to the game port,
// new characters, logins and password changes against the account store. A client that has
// logged in is handed to the world (when there is one), which sees its later payloads.
class LoginFlow final : public Handler {
  public:
    // The demo list's entries (ids 1 and 2) both lead to the game port.
    static std::vector<net::ServerEntry> demoServers(uint16_t gamePort);

    explicit LoginFlow(AccountStore& accounts, Handler* world = nullptr);
    void setWorld(Handler* world) { world_ = world; }
    // Token bytes for a transfer; random unless a test sets its own source.
    void setTokenSource(std::function<std::string()> source) { tokenSource_ = std::move(source); }

    bool admit(Session& s, std::span<const uint8_t> payload) override;
    void joined(Session& s) override;
    void received(Session& s, std::span<const uint8_t> payload) override;
    void left(Session& s) override;
    void tick() override;
    int dueInMs() override;

    // A one-use token that admits a client to the game port.
    std::string issueToken();
    // The account a session plays, or empty.
    std::string accountOf(const Session& s) const;

  private:
    struct Client {
        bool inWorld = false;
        int64_t accountId = 0;
        std::string account;
        // The name check that was accepted, waiting for the creation.
        bool nameChecked = false;
        std::string newName, newPassword;
    };
    void reply(Session& s, AccountCode code, const std::string& text);
    void sendServerList(Session& s);
    bool accountInWorld(int64_t id) const;

    AccountStore& accounts_;
    Handler* world_;
    std::map<int, Client> clients_;  // by session id
    std::set<std::string> tokens_;   // issued, not yet used
    std::function<std::string()> tokenSource_;
};

}  // namespace vs::devserver
