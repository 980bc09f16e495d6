#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "net/packet_framing.h"
#include "platform/host_resolver.h"
#include "platform/wake_event.h"

namespace vs::platform {
class TcpListener;
class TcpSocket;
}  // namespace vs::platform

namespace vs::devserver {

struct Options {
    platform::Ipv4Address address{127, 0, 0, 1};
    uint16_t port = 2323;  // 0: any free port
    net::Framing framing = net::Framing::Binary;
    bool trace = false;
    // Every client version is refused (result 1).
    bool refuseVersion = false;
    // Only this client version is accepted; others are told to patch to it (result 2).
    std::optional<int> requireVersion;
    // The port of the game server that clients are transferred to: -1 none, 0 any free port.
    // Its clients start in packet mode and must first present a transfer token.
    int gamePort = -1;
    // The account database; empty: one in memory for the run.
    std::string db;
    // Script mode: the script file played against the first client (script.h).
    std::string script;
    // The living world (world.h): its random seed, and whether it also sends faulty messages.
    uint32_t seed = 1;
    bool hostileWorld = false;
};

// The command line without the program name; nothing (and the reason) when it is not understood.
std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string& error);
const char* optionsHelp();

// Where the server writes its log and trace lines.
using LogSink = std::function<void(const std::string& line)>;

class Server;

// One client, from its connection to its end.
class Session {
  public:
    enum class Phase {
        Negotiating,  // the terminal: waits for the answer to DO TERMINAL-TYPE
        Greeting,     // packet mode: waits for "marvu"
        Version,      // waits for the version packet
        Transfer,     // game port: waits for the transfer token
        Playing,      // accepted: payloads go to the handler
    };

    int id() const { return id_; }
    Phase phase() const { return phase_; }
    const std::string& terminalType() const { return terminalType_; }
    int clientVersion() const { return version_; }
    int clientBuild() const { return build_; }
    bool closing() const { return closing_; }
    Server& server() const { return server_; }
    // Came in through the game port (after a transfer).
    bool viaGamePort() const { return viaGamePort_; }

    // One payload (opcode first), enciphered where its opcode asks for it, framed as the
    // server's option says, written as soon as the socket takes it.
    void send(std::span<const uint8_t> payload);
    // Ends the connection once everything queued is written.
    void close();

    Session(Server& server, int id, std::unique_ptr<platform::TcpSocket> socket,
            bool viaGamePort = false);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

  private:
    friend class Server;
    void queue(std::span<const uint8_t> bytes);
    void received(std::span<const uint8_t> bytes);
    void negotiate(std::span<const uint8_t> bytes);
    void payload(std::vector<uint8_t> payload);
    void flush();
    bool wantsWrite() const { return sent_ < out_.size(); }

    Server& server_;
    int id_;
    std::unique_ptr<platform::TcpSocket> socket_;
    bool viaGamePort_ = false;
    Phase phase_ = Phase::Negotiating;
    std::string terminal_;  // bytes of the negotiation so far
    std::string terminalType_;
    int version_ = 0, build_ = 0;
    net::PacketReader reader_{net::sentInClear};
    net::PacketWriter writer_{net::receivedInClear};
    std::vector<uint8_t> out_;
    size_t sent_ = 0;
    bool closing_ = false;
    bool dead_ = false;
};

// What the server does with clients that play. The default does nothing; the world the server
// simulates and its scripts join here.
class Handler {
  public:
    virtual ~Handler() = default;
    // Every client payload as it arrived, before the server looks at it (the greeting and the
    // version too): for tests and traces.
    virtual void arrived(Session&, std::span<const uint8_t> payload) { (void)payload; }
    // A client of the game port: whether its first payload is a valid transfer token. Refused
    // clients are closed.
    virtual bool admit(Session&, std::span<const uint8_t> payload) {
        (void)payload;
        return false;
    }
    // The client passed its greeting and version checks, or was admitted on the game port.
    virtual void joined(Session&) {}
    // A payload of a client that plays, deciphered (opcode first). In line framing it may end
    // in up to two bytes of padding from its last group.
    virtual void received(Session&, std::span<const uint8_t> payload) { (void)payload; }
    virtual void left(Session&) {}
    // After every step of the server, and when dueInMs() has passed.
    virtual void tick() {}
    // How long the server may wait for its sockets before tick() has work; -1: no limit.
    virtual int dueInMs() { return -1; }
};

// The development game server: one thread around one poll, any number of clients.
class Server {
  public:
    explicit Server(Options options, Handler* handler = nullptr, LogSink log = {});
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    bool listen(std::string& error);
    uint16_t port() const;
    // 0 without a game port.
    uint16_t gamePort() const;
    const Options& options() const { return options_; }
    // A handler that needs the server to exist first.
    void setHandler(Handler* handler) { handler_ = handler ? handler : &noHandler_; }

    // Waits at most timeoutMs (-1: no limit) for the sockets, then accepts, reads and writes.
    void step(int timeoutMs);
    // Steps until stop(), waking for the handler's ticks.
    void run();
    // Any thread, or a signal handler.
    void stop();

    size_t sessionCount() const { return sessions_.size(); }
    Session* session(size_t i) { return i < sessions_.size() ? sessions_[i].get() : nullptr; }

    // A line in the log; with the trace option only.
    void log(const std::string& line);
    void trace(const std::string& line);
    void tracePayload(const Session& s, bool fromClient, std::span<const uint8_t> payload);

  private:
    friend class Session;
    void accept(platform::TcpListener& listener, bool gamePort);
    void joined(Session& s);
    void received(Session& s, std::span<const uint8_t> payload);

    Options options_;
    Handler* handler_;
    Handler noHandler_;
    LogSink log_;
    std::unique_ptr<platform::TcpListener> listener_;
    std::unique_ptr<platform::TcpListener> gameListener_;
    std::vector<std::unique_ptr<Session>> sessions_;
    int nextId_ = 1;
    std::atomic<bool> stop_{false};
    platform::WakeEvent wake_;
};

// A payload as the trace shows it: hex bytes and the printable ones, passwords masked.
std::string describePayload(std::span<const uint8_t> payload);
// A payload as the trace shows it: a command (fromClient) or message by name with its fields
// (wire_text.h), passwords masked; in hex when the catalogue does not read it.
std::string describeTraffic(std::span<const uint8_t> payload, bool fromClient);

}  // namespace vs::devserver
