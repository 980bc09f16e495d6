#include "devserver/login_flow.h"

#include <random>
#include <variant>

#include "base/log.h"
#include "base/text.h"
#include "net/client_commands.h"
#include "net/server_messages.h"

namespace vs::devserver {

namespace {

using base::strprintf;

constexpr uint32_t kLoopback = 0x7F000001;
constexpr size_t kTokenBytes = 16;

std::string randomToken() {
    std::random_device device;
    std::string token;
    for (size_t i = 0; i < kTokenBytes; ++i) token += strprintf("%02x", device() & 0xFF);
    return token;
}

const char* textOf(AccountCode code) {
    switch (code) {
        case kAccepted:
            return "";
        case kNameTaken:
            return "That name is already taken.";
        case kBadName:
            return "A name has 2 to 15 letters and digits and starts with a letter.";
        case kBadPassword:
            return "A password has 4 to 15 characters, at least one of them a digit.";
        case kOutOfRange:
            return "That figure, nation or totem does not exist.";
        case kNoNameChecked:
            return "Choose a name first.";
        case kNoSuchAccount:
            return "There is no character of that name.";
        case kWrongPassword:
            return "The password is wrong.";
        case kAlreadyInWorld:
            return "That character is already in the world.";
    }
    return "";
}

std::string utf8(const std::u16string& s) {
    return base::utf16ToUtf8(s);
}

}  // namespace

std::vector<net::ServerEntry> LoginFlow::demoServers(uint16_t gamePort) {
    return {
        {1, kLoopback, gamePort, u"Vestrel", u"The demo village", u""},
        {2, kLoopback, gamePort, u"Quiet Vale", u"The same village, by the back door", u""},
    };
}

LoginFlow::LoginFlow(AccountStore& accounts, Handler* world)
    : accounts_(accounts), world_(world), tokenSource_(randomToken) {}

std::string LoginFlow::accountOf(const Session& s) const {
    const auto it = clients_.find(s.id());
    return it != clients_.end() && it->second.inWorld ? it->second.account : std::string();
}

bool LoginFlow::accountInWorld(int64_t id) const {
    for (const auto& [sid, c] : clients_)
        if (c.inWorld && c.accountId == id) return true;
    return false;
}

std::string LoginFlow::issueToken() {
    std::string token = tokenSource_();
    tokens_.insert(token);
    return token;
}

bool LoginFlow::admit(Session& s, std::span<const uint8_t> payload) {
    const auto command = net::parseCmdTransferToken(payload);
    if (!command) return false;
    // The token, then the zero byte that ends a client packet and, in line framing, up to two
    // bytes of padding.
    const auto& bytes = command->token;
    for (auto it = tokens_.begin(); it != tokens_.end(); ++it) {
        const std::string& t = *it;
        if (bytes.size() < t.size() || bytes.size() > t.size() + 3 ||
            !std::equal(t.begin(), t.end(), bytes.begin()))
            continue;
        tokens_.erase(it);
        clients_[s.id()];
        return true;
    }
    s.server().log(strprintf("[%d] unknown transfer token", s.id()));
    return false;
}

void LoginFlow::joined(Session& s) {
    clients_[s.id()];
    if (!s.viaGamePort()) sendServerList(s);
}

void LoginFlow::sendServerList(Session& s) {
    net::MsgServerList list;
    list.servers = demoServers(s.server().gamePort());
    s.send(net::build(list));
}

void LoginFlow::reply(Session& s, AccountCode code, const std::string& text) {
    net::MsgLoginCheck answer;
    answer.result = code;
    answer.text = base::utf8ToUtf16(text);
    s.send(net::build(answer));
}

void LoginFlow::received(Session& s, std::span<const uint8_t> payload) {
    Client& c = clients_[s.id()];
    if (c.inWorld) {
        if (world_) world_->received(s, payload);
        return;
    }
    const auto command = net::parseClientCommand(payload);
    if (!command) {
        s.server().log(strprintf("[%d] malformed command dropped: %s", s.id(),
                                 describePayload(payload).c_str()));
        return;
    }
    if (const auto* check = std::get_if<net::CmdNameCheck>(&*command)) {
        const std::string name = utf8(check->name), password = utf8(check->password);
        const AccountCode code = accounts_.checkNew(name, password);
        c.nameChecked = code == kAccepted;
        c.newName = c.nameChecked ? name : "";
        c.newPassword = c.nameChecked ? password : "";
        reply(s, code, textOf(code));
    } else if (const auto* create = std::get_if<net::CmdCreateCharacter>(&*command)) {
        if (!c.nameChecked) return reply(s, kNoNameChecked, textOf(kNoNameChecked));
        const NewCharacter figure{create->style, create->female, create->nation, create->totem};
        const AccountCode code = accounts_.create(c.newName, c.newPassword, figure);
        if (code == kAccepted) {
            s.server().log(strprintf("[%d] account \"%s\" created", s.id(), c.newName.c_str()));
            c.nameChecked = false;
            c.newName.clear();
            c.newPassword.clear();
            return reply(s, code, "Your character was created. Welcome!");
        }
        reply(s, code, textOf(code));
    } else if (std::holds_alternative<net::CmdNewCharacterCancelled>(*command)) {
        c.nameChecked = false;
        c.newName.clear();
        c.newPassword.clear();
    } else if (const auto* login = std::get_if<net::CmdLogin>(&*command)) {
        Account a;
        AccountCode code = accounts_.login(utf8(login->name), utf8(login->password), &a);
        if (code == kAccepted && accountInWorld(a.id)) code = kAlreadyInWorld;
        reply(s, code, textOf(code));
        if (code != kAccepted) return;
        s.server().log(strprintf("[%d] \"%s\" entered the world", s.id(), a.name.c_str()));
        c.inWorld = true;
        c.accountId = a.id;
        c.account = a.name;
        if (world_) world_->joined(s);
    } else if (const auto* change = std::get_if<net::CmdChangePassword>(&*command)) {
        const AccountCode code = accounts_.changePassword(
            utf8(change->name), utf8(change->oldPassword), utf8(change->newPassword));
        reply(s, code, code == kAccepted ? "The password was changed." : textOf(code));
    } else if (const auto* choose = std::get_if<net::CmdChooseServer>(&*command)) {
        const uint16_t gamePort = s.server().gamePort();
        bool known = false;
        for (const auto& e : demoServers(gamePort)) known = known || e.id == choose->index;
        if (!known || gamePort == 0) return sendServerList(s);
        const std::string token = issueToken();
        net::MsgTileCheck go;
        go.address = kLoopback;
        go.port = gamePort;
        go.token.assign(token.begin(), token.end());
        s.send(net::build(go));
    } else if (!std::holds_alternative<net::CmdKeepAlive>(*command)) {
        s.server().log(strprintf("[%d] %s ignored on the title screen", s.id(),
                                 net::clientCommandName(net::opcodeOf(*command))));
    }
}

void LoginFlow::left(Session& s) {
    const auto it = clients_.find(s.id());
    if (it == clients_.end()) return;
    if (it->second.inWorld && world_) world_->left(s);
    clients_.erase(it);
}

void LoginFlow::tick() {
    if (world_) world_->tick();
}

int LoginFlow::dueInMs() {
    return world_ ? world_->dueInMs() : -1;
}

}  // namespace vs::devserver
