#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "devserver/dev_server.h"
#include "devserver/wire_text.h"

// Script mode: a readable list of server messages to send, pauses, and client commands the
// client must send, played against the first client that joins (README.md shows the format).
namespace vs::devserver {

struct ScriptStep {
    enum class Kind { Send, Expect, Wait, Timeout, Ignore, Close, Hold };
    Kind kind = Kind::Send;
    int line = 0;
    std::vector<uint8_t> payload;  // send: the built payload
    std::string shown;             // send and expect: the record as the log shows it
    std::vector<uint8_t> opcodes;  // expect: the command; ignore: the commands
    TextValues values;             // expect
    uint32_t ms = 0;               // wait and timeout
};

class Script {
  public:
    // Nothing, and "line N: ..." with the first problem, when a line is not understood.
    static std::optional<Script> parse(std::string_view text, std::string& error);
    static std::optional<Script> load(const std::string& path, std::string& error);
    const std::vector<ScriptStep>& steps() const { return steps_; }

  private:
    std::vector<ScriptStep> steps_;
};

// What a run acts on: one client's connection and the server's log.
class ScriptLink {
  public:
    virtual ~ScriptLink() = default;
    virtual void send(std::span<const uint8_t> payload) = 0;
    virtual void close() = 0;
    virtual void log(const std::string& line) = 0;
};

// One play of a script, step by step, on an injected millisecond clock.
class ScriptRun {
  public:
    enum class State { Running, Passed, Failed };
    static constexpr uint32_t kDefaultTimeoutMs = 10000;

    ScriptRun(const Script& script, ScriptLink& link);

    // Runs every step that can run now.
    void advance(uint32_t nowMs);
    // A payload from the client.
    void received(std::span<const uint8_t> payload, uint32_t nowMs);
    // The client went away.
    void left(uint32_t nowMs);
    // Milliseconds until advance() has something to do on its own; -1 when it waits for the
    // client only.
    int dueInMs(uint32_t nowMs) const;

    State state() const { return state_; }
    // The reason a run failed, with the script line.
    const std::string& failure() const { return failure_; }

  private:
    void fail(const ScriptStep& step, const std::string& why);
    bool expect(const ScriptStep& step, uint32_t nowMs);

    const Script& script_;
    ScriptLink& link_;
    size_t next_ = 0;
    State state_ = State::Running;
    std::string failure_;
    std::vector<std::vector<uint8_t>> arrived_;  // commands not yet looked at
    std::set<uint8_t> ignored_;
    uint32_t timeoutMs_ = kDefaultTimeoutMs;
    std::optional<uint32_t> due_;  // the end of a pause or of the wait for a command
    bool holding_ = false;
};

// The server's handler in script mode: plays the script against the first client that joins
// and reports the end once.
class ScriptPlayer final : public Handler {
  public:
    using Clock = std::function<uint32_t()>;
    using Finished = std::function<void(bool passed)>;
    // An empty clock is the steady clock.
    ScriptPlayer(Script script, Finished finished = {}, Clock clock = {});
    ~ScriptPlayer() override;

    void joined(Session& s) override;
    void received(Session& s, std::span<const uint8_t> payload) override;
    void left(Session& s) override;
    void tick() override;
    int dueInMs() override;

    ScriptRun::State state() const;
    std::string failure() const;

  private:
    class Link;
    void finishIfDone();

    Script script_;
    Finished finished_;
    Clock clock_;
    std::unique_ptr<Link> link_;
    std::unique_ptr<ScriptRun> run_;
    bool reported_ = false;
};

}  // namespace vs::devserver
