#include "devserver/dev_server.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "app/settings.h"
#include "base/byte_io.h"
#include "base/log.h"
#include "devserver/wire_text.h"
#include "platform/tcp_socket.h"

namespace vs::devserver {

namespace {

using base::strprintf;
using platform::NetResult;

constexpr size_t kMaxNegotiation = 1024;
constexpr size_t kReadBytes = 64 * 1024;
// IAC DO TERMINAL-TYPE.
constexpr uint8_t kDoTerminalType[] = {255, 253, 24};
// IAC SB TERMINAL-TYPE IS ... IAC SE, and IAC WONT TERMINAL-TYPE.
constexpr std::string_view kTypeStart("\xFF\xFA\x18\x00", 4);
constexpr std::string_view kTypeEnd = "\xFF\xF0";
constexpr std::string_view kWontTerminalType = "\xFF\xFC\x18";
constexpr uint8_t kGreeting[] = {'m', 'a', 'r', 'v', 'u', 0};
constexpr size_t kVersionPacketBytes = 7;

// Opcodes of client commands that carry passwords, with the number of u8-texts before the
// first password and the number of passwords.
struct PasswordFields {
    uint8_t opcode;
    int before, count;
};
constexpr PasswordFields kPasswordFields[] = {
    {0x02, 1, 1},  // new character: name, password
    {0x03, 1, 1},  // login: name, password
    {0x26, 1, 2},  // change password: name, old, new
};

// Line framing decodes whole groups of three bytes: a payload may carry up to two more.
bool startsAs(net::Framing framing, std::span<const uint8_t> payload,
              std::span<const uint8_t> expected) {
    const size_t slack = framing == net::Framing::Lines ? 2 : 0;
    return payload.size() >= expected.size() && payload.size() <= expected.size() + slack &&
           std::equal(expected.begin(), expected.end(), payload.begin());
}

std::string printable(std::string_view s) {
    std::string out;
    for (char c : s) out += (c >= 32 && c < 127) ? c : '.';
    return out;
}

}  // namespace

// ---- options -----------------------------------------------------------------------------------

std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string& error) {
    Options o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string* {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return nullptr;
            }
            return &args[++i];
        };
        if (a == "--port") {
            const std::string* v = value();
            if (!v) return std::nullopt;
            if (*v == "0") {
                o.port = 0;
            } else if (auto p = app::parsePort(*v)) {
                o.port = *p;
            } else {
                error = "--port takes 0 to 65535";
                return std::nullopt;
            }
        } else if (a == "--address") {
            const std::string* v = value();
            if (!v) return std::nullopt;
            auto address = app::parseDottedAddress(*v);
            if (!address) {
                error = "--address takes a dotted IPv4 address";
                return std::nullopt;
            }
            o.address = *address;
        } else if (a == "--framing") {
            const std::string* v = value();
            if (!v) return std::nullopt;
            if (*v != "binary" && *v != "line") {
                error = "--framing takes binary or line";
                return std::nullopt;
            }
            o.framing = *v == "binary" ? net::Framing::Binary : net::Framing::Lines;
        } else if (a == "--require-version") {
            const std::string* v = value();
            if (!v) return std::nullopt;
            char* end = nullptr;
            const long n = std::strtol(v->c_str(), &end, 10);
            if (v->empty() || *end || n < 0 || n > 0xFFFF) {
                error = "--require-version takes a version number such as 310";
                return std::nullopt;
            }
            o.requireVersion = int(n);
        } else if (a == "--seed") {
            const std::string* v = value();
            if (!v) return std::nullopt;
            char* end = nullptr;
            const unsigned long n = std::strtoul(v->c_str(), &end, 10);
            if (v->empty() || *end || n > 0xFFFFFFFFul) {
                error = "--seed takes a number";
                return std::nullopt;
            }
            o.seed = uint32_t(n);
        } else if (a == "--hostile-world") {
            o.hostileWorld = true;
        } else if (a == "--refuse-version") {
            o.refuseVersion = true;
        } else if (a == "--game-port") {
            const std::string* v = value();
            if (!v) return std::nullopt;
            if (*v == "0") {
                o.gamePort = 0;
            } else if (auto p = app::parsePort(*v)) {
                o.gamePort = *p;
            } else {
                error = "--game-port takes 0 to 65535";
                return std::nullopt;
            }
        } else if (a == "--db") {
            const std::string* v = value();
            if (!v) return std::nullopt;
            o.db = *v;
        } else if (a == "--trace") {
            o.trace = true;
        } else if (a == "--script") {
            const std::string* v = value();
            if (!v) return std::nullopt;
            o.script = *v;
        } else {
            error = "unknown argument: " + a;
            return std::nullopt;
        }
    }
    return o;
}

const char* optionsHelp() {
    return "usage: vestrel-devserver [options]\n"
           "\n"
           "  --port N              TCP port to listen on (default 2323; 0: any free port)\n"
           "  --address A           IPv4 address to listen on (default 127.0.0.1)\n"
           "  --framing F           binary or line: the framing chosen for every client\n"
           "  --refuse-version      refuse every client version\n"
           "  --require-version N   tell clients whose version is not N to patch to N\n"
           "  --game-port N         the port clients are transferred to (0: any free port;\n"
           "                        default: any free port unless a script plays)\n"
           "  --db FILE             the account database (default: one in memory)\n"
           "  --trace               log every payload in both directions\n"
           "  --script FILE         play FILE against the first client, then stop;\n"
           "                        exit status 0 when it passed, 1 when it failed\n"
           "  --seed N              the living world's random seed (default 1)\n"
           "  --hostile-world       the world also sends malformed and extreme messages\n";
}

std::string describePayload(std::span<const uint8_t> payload) {
    std::vector<uint8_t> shown(payload.begin(), payload.end());
    // Passwords never reach the log.
    for (const auto& f : kPasswordFields) {
        if (shown.empty() || shown[0] != f.opcode) continue;
        base::ByteReader r(std::span<const uint8_t>(shown).subspan(1));
        for (int i = 0; i < f.before; ++i) r.skip(r.u8());
        for (int i = 0; i < f.count && r.ok(); ++i) {
            const size_t length = r.u8();
            const size_t at = 1 + r.position();
            if (!r.skip(length)) break;
            std::fill_n(shown.begin() + std::ptrdiff_t(at), length, uint8_t('*'));
        }
    }
    std::string hex, text;
    for (uint8_t b : shown) {
        hex += strprintf("%02X ", b);
        text += (b >= 32 && b < 127) ? char(b) : '.';
    }
    return strprintf("%zu bytes: %s|%s|", shown.size(), hex.c_str(), text.c_str());
}

std::string describeTraffic(std::span<const uint8_t> payload, bool fromClient) {
    if (fromClient) {
        if (auto c = net::parseClientCommand(payload)) return describeCommand(*c);
    } else if (auto m = net::parseServerMessage(payload)) {
        return describeMessage(*m);
    }
    return describePayload(payload);
}

// ---- a session ---------------------------------------------------------------------------------

Session::Session(Server& server, int id, std::unique_ptr<platform::TcpSocket> socket,
                 bool viaGamePort)
    : server_(server), id_(id), socket_(std::move(socket)), viaGamePort_(viaGamePort) {
    reader_.setFraming(server.options().framing);
    writer_.setFraming(server.options().framing);
    // A transferred client is in packet mode already.
    if (viaGamePort_)
        phase_ = Phase::Transfer;
    else
        queue(kDoTerminalType);
}

Session::~Session() = default;

void Session::queue(std::span<const uint8_t> bytes) {
    if (closing_ || dead_) return;
    out_.insert(out_.end(), bytes.begin(), bytes.end());
    flush();
}

void Session::send(std::span<const uint8_t> payload) {
    if (payload.empty() || closing_ || dead_) return;
    server_.tracePayload(*this, false, payload);
    for (const auto& bytes : writer_.write(payload)) queue(bytes);
}

void Session::close() {
    if (closing_) return;
    closing_ = true;
    flush();
}

void Session::flush() {
    while (!dead_ && sent_ < out_.size()) {
        size_t n = 0;
        const NetResult r = socket_->sendSome(std::span(out_).subspan(sent_), n);
        if (r == NetResult::WouldBlock) return;
        if (r != NetResult::Ok) {
            server_.log(strprintf("[%d] write failed; dropping the client", id_));
            dead_ = true;
            return;
        }
        sent_ += n;
    }
    out_.clear();
    sent_ = 0;
    if (closing_) dead_ = true;
}

void Session::received(std::span<const uint8_t> bytes) {
    if (phase_ == Phase::Negotiating) {
        negotiate(bytes);
        return;
    }
    reader_.feed(bytes, [this](std::vector<uint8_t> p) { payload(std::move(p)); });
}

void Session::negotiate(std::span<const uint8_t> bytes) {
    terminal_.append(bytes.begin(), bytes.end());
    bool answered = false;
    if (const size_t at = terminal_.find(kTypeStart); at != std::string::npos) {
        const size_t end = terminal_.find(kTypeEnd, at + kTypeStart.size());
        if (end != std::string::npos) {
            terminalType_ = terminal_.substr(at + kTypeStart.size(), end - at - kTypeStart.size());
            answered = true;
        }
    } else if (terminal_.find(kWontTerminalType) != std::string::npos) {
        answered = true;
    }
    if (!answered) {
        if (terminal_.size() > kMaxNegotiation) {
            server_.log(strprintf("[%d] no terminal answer; closing", id_));
            close();
        }
        return;
    }
    terminal_.clear();
    const bool binary = server_.options().framing == net::Framing::Binary;
    server_.trace(strprintf("[%d] terminal \"%s\"; selecting %s framing", id_,
                            printable(terminalType_).c_str(), binary ? "binary" : "line"));
    // The escape that selects the framing, and the byte the terminal reads before it switches.
    const uint8_t select[] = {27, uint8_t(binary ? 'C' : 'S'), '\n'};
    queue(select);
    phase_ = Phase::Greeting;
}

void Session::payload(std::vector<uint8_t> p) {
    server_.tracePayload(*this, true, p);
    server_.handler_->arrived(*this, p);
    const net::Framing framing = server_.options().framing;
    switch (phase_) {
        case Phase::Greeting:
            if (!startsAs(framing, p, kGreeting)) {
                server_.log(strprintf("[%d] no greeting; closing", id_));
                close();
                return;
            }
            server_.trace(strprintf("[%d] greeting", id_));
            phase_ = Phase::Version;
            return;
        case Phase::Version: {
            // Exactly the seven bytes of the version packet (line framing may pad them).
            const auto version = net::parseCmdVersion(p);
            const bool framed =
                p.size() == kVersionPacketBytes ||
                (framing == net::Framing::Lines && p.size() <= kVersionPacketBytes + 2);
            if (!version || !framed || p[3] != 0xC5) {
                server_.log(strprintf("[%d] not a version packet; closing", id_));
                close();
                return;
            }
            version_ = version->version;
            build_ = version->build;
            const Options& o = server_.options();
            net::MsgVersionCheck answer;
            if (o.refuseVersion) {
                answer.result = answer.kRefused;
            } else if (o.requireVersion && *o.requireVersion != version_) {
                answer.result = answer.kPatch;
                answer.newVersion = uint16_t(*o.requireVersion);
                const std::string base = "http://127.0.0.1/patch/";
                answer.locations.push_back({net::Bytes(base.begin(), base.end())});
            }
            const bool accepted = answer.result == answer.kAccepted;
            server_.trace(strprintf("[%d] version %d build %d: %s", id_, version_, build_,
                                    accepted                           ? "accepted"
                                    : answer.result == answer.kRefused ? "refused"
                                                                       : "patch"));
            send(net::build(answer));
            if (accepted) {
                phase_ = Phase::Playing;
                server_.joined(*this);
            }
            return;
        }
        case Phase::Transfer:
            if (!server_.handler_->admit(*this, p)) {
                server_.log(strprintf("[%d] no valid transfer token; closing", id_));
                close();
                return;
            }
            server_.trace(strprintf("[%d] transferred", id_));
            phase_ = Phase::Playing;
            server_.joined(*this);
            return;
        case Phase::Playing:
            server_.received(*this, p);
            return;
        case Phase::Negotiating:
            return;
    }
}

// ---- the server --------------------------------------------------------------------------------

Server::Server(Options options, Handler* handler, LogSink log)
    : options_(options), handler_(handler ? handler : &noHandler_), log_(std::move(log)) {
    if (!log_)
        log_ = [](const std::string& line) {
            std::fprintf(stdout, "devserver: %s\n", line.c_str());
            std::fflush(stdout);
        };
}

Server::~Server() {
    for (auto& s : sessions_) handler_->left(*s);
}

bool Server::listen(std::string& error) {
    listener_ = platform::TcpListener::listen(options_.address, options_.port, 16, &error);
    if (!listener_) return false;
    const auto& a = options_.address;
    log(strprintf("listening on %d.%d.%d.%d:%u (%s framing)", a[0], a[1], a[2], a[3], port(),
                  options_.framing == net::Framing::Binary ? "binary" : "line"));
    if (options_.gamePort >= 0) {
        gameListener_ = platform::TcpListener::listen(options_.address, uint16_t(options_.gamePort),
                                                      16, &error);
        if (!gameListener_) {
            listener_.reset();
            error = "game port: " + error;
            return false;
        }
        log(strprintf("game port %d.%d.%d.%d:%u", a[0], a[1], a[2], a[3], gamePort()));
    }
    return true;
}

uint16_t Server::port() const {
    return listener_ ? listener_->port() : 0;
}

uint16_t Server::gamePort() const {
    return gameListener_ ? gameListener_->port() : 0;
}

void Server::log(const std::string& line) {
    log_(line);
}

void Server::trace(const std::string& line) {
    if (options_.trace) log_(line);
}

void Server::tracePayload(const Session& s, bool fromClient, std::span<const uint8_t> payload) {
    if (!options_.trace) return;
    log_(strprintf("[%d] %s %s", s.id(), fromClient ? "<-" : "->",
                   describeTraffic(payload, fromClient).c_str()));
}

void Server::joined(Session& s) {
    handler_->joined(s);
}

void Server::received(Session& s, std::span<const uint8_t> payload) {
    handler_->received(s, payload);
}

void Server::accept(platform::TcpListener& listener, bool gamePort) {
    while (auto socket = listener.accept()) {
        const int id = nextId_++;
        log(strprintf("[%d] connected%s", id, gamePort ? " to the game port" : ""));
        sessions_.push_back(std::make_unique<Session>(*this, id, std::move(socket), gamePort));
    }
}

void Server::step(int timeoutMs) {
    if (!listener_) return;
    std::vector<platform::PollEntry> entries;
    entries.push_back({listener_->handle()});
    if (gameListener_) entries.push_back({gameListener_->handle()});
    const size_t first = entries.size();
    for (const auto& s : sessions_) entries.push_back({s->socket_->handle(), s->wantsWrite()});
    platform::pollHandles(entries, &wake_, timeoutMs);

    // Sessions first, by their place in the poll set; new clients join the end.
    std::vector<uint8_t> buffer(kReadBytes);
    for (size_t i = 0; i < sessions_.size(); ++i) {
        Session& s = *sessions_[i];
        const platform::PollEntry& e = entries[first + i];
        if (e.writable) s.flush();
        if (!e.readable || s.dead_) continue;
        for (;;) {
            size_t got = 0;
            const NetResult r = s.socket_->receive(buffer, got);
            if (r == NetResult::Ok) {
                s.received({buffer.data(), got});
                if (s.dead_) break;
                continue;
            }
            if (r != NetResult::WouldBlock) {
                log(strprintf("[%d] disconnected", s.id()));
                s.dead_ = true;
            }
            break;
        }
    }
    if (entries[0].readable) accept(*listener_, false);
    if (gameListener_ && entries[1].readable) accept(*gameListener_, true);
    for (auto it = sessions_.begin(); it != sessions_.end();) {
        if ((*it)->dead_) {
            if ((*it)->closing_) log(strprintf("[%d] closed", (*it)->id()));
            handler_->left(**it);
            it = sessions_.erase(it);
        } else {
            ++it;
        }
    }
    handler_->tick();
}

void Server::run() {
    while (!stop_) step(handler_->dueInMs());
}

void Server::stop() {
    stop_ = true;
    wake_.signal();
}

}  // namespace vs::devserver
