#include "devserver/script.h"

#include <chrono>
#include <fstream>
#include <sstream>

#include "base/log.h"
#include "base/time.h"

namespace vs::devserver {

namespace {

using base::strprintf;
using Kind = ScriptStep::Kind;

constexpr uint32_t kMaxPauseMs = 3600 * 1000;
constexpr size_t kMaxScriptBytes = 16 * 1024 * 1024;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

bool hasWildcards(const TextValues& values) {
    for (const auto& v : values) {
        if (v.kind == TextValue::Kind::Any || v.kind == TextValue::Kind::Rest) return true;
        if (hasWildcards(v.items)) return true;
    }
    return false;
}

std::string hexOf(std::span<const uint8_t> bytes) {
    std::string s = "<";
    for (size_t i = 0; i < bytes.size(); ++i) s += strprintf(i ? " %02x" : "%02x", bytes[i]);
    return s + ">";
}

// A command as the log shows it: by name when the catalogue reads it, else in hex.
std::string shownCommand(std::span<const uint8_t> payload) {
    if (auto c = net::parseClientCommand(payload)) return describeCommand(*c);
    return hexOf(payload) + " (not a command the catalogue reads)";
}

// One line: its directive and what follows it.
class LineParser {
  public:
    LineParser(std::string_view line, int number) : line_(line), number_(number) {}

    std::optional<ScriptStep> parse(std::string& error) {
        size_t at = 0;
        while (at < line_.size() && isBlank(line_[at])) ++at;
        size_t end = at;
        while (end < line_.size() && !isBlank(line_[end])) ++end;
        const std::string_view word = line_.substr(at, end - at);
        rest_ = line_.substr(end);
        restColumn_ = end;
        step_.line = number_;
        bool ok = false;
        if (word == "send") {
            ok = send();
        } else if (word == "expect") {
            ok = expect();
        } else if (word == "wait" || word == "timeout") {
            step_.kind = word == "wait" ? Kind::Wait : Kind::Timeout;
            ok = milliseconds();
        } else if (word == "ignore") {
            ok = ignore();
        } else if (word == "close" || word == "hold") {
            step_.kind = word == "close" ? Kind::Close : Kind::Hold;
            ok = nothingMore();
        } else {
            why_ = "unknown directive " + std::string(word) +
                   " (send, expect, wait, timeout, ignore, close, hold)";
        }
        if (!ok) {
            error = strprintf("line %d: %s", number_, why_.c_str());
            return std::nullopt;
        }
        return step_;
    }

  private:
    // The word after the directive; values() reads what follows it.
    std::string word() {
        size_t at = 0;
        while (at < rest_.size() && isBlank(rest_[at])) ++at;
        size_t end = at;
        while (end < rest_.size() && !isBlank(rest_[end])) ++end;
        std::string w(rest_.substr(at, end - at));
        rest_ = rest_.substr(end);
        restColumn_ += end;
        if (w.empty()) why_ = "a name is missing";
        return w;
    }
    std::optional<TextValues> values() { return parseValues(rest_, why_, restColumn_); }

    bool send() {
        step_.kind = Kind::Send;
        size_t at = 0;
        while (at < rest_.size() && isBlank(rest_[at])) ++at;
        if (at < rest_.size() && rest_[at] == '<') {
            auto v = values();
            if (!v) return false;
            if (v->size() != 1 || v->front().kind != TextValue::Kind::Bytes ||
                v->front().bytes.empty()) {
                why_ = "a raw payload is one <...> of at least one byte";
                return false;
            }
            step_.payload = v->front().bytes;
            step_.shown = hexOf(step_.payload);
            return true;
        }
        const std::string name = word();
        if (name.empty()) return false;
        const auto opcode = serverOpcodeNamed(name);
        if (!opcode) {
            why_ = "no server message is named " + name;
            return false;
        }
        const auto v = values();
        if (!v) return false;
        auto message = scanServerMessage(*opcode, *v, why_);
        if (!message) {
            why_ = name + ": " + why_;
            return false;
        }
        step_.payload = net::build(*message);
        step_.shown = describeMessage(*message);
        return true;
    }
    bool expect() {
        step_.kind = Kind::Expect;
        const std::string name = word();
        if (name.empty()) return false;
        const auto opcode = commandOpcodeNamed(name);
        if (!opcode) {
            why_ = "no client command is named " + name;
            return false;
        }
        auto v = values();
        if (!v) return false;
        step_.values = std::move(*v);
        // Without wildcards the values must make a whole command.
        if (!hasWildcards(step_.values)) {
            auto command = scanClientCommand(*opcode, step_.values, why_);
            if (!command) {
                why_ = name + ": " + why_;
                return false;
            }
            step_.shown = describeCommand(*command);
        } else {
            step_.shown = commandScriptName(*opcode) + " " + formatValues(step_.values);
        }
        step_.opcodes = {*opcode};
        return true;
    }
    bool milliseconds() {
        auto v = values();
        if (!v) return false;
        if (v->size() != 1 || v->front().kind != TextValue::Kind::Number || v->front().number < 0 ||
            v->front().number > kMaxPauseMs) {
            why_ = strprintf("one number of milliseconds (0 to %u) expected", kMaxPauseMs);
            return false;
        }
        step_.ms = uint32_t(v->front().number);
        return true;
    }
    bool ignore() {
        step_.kind = Kind::Ignore;
        for (;;) {
            size_t at = 0;
            while (at < rest_.size() && isBlank(rest_[at])) ++at;
            if (at == rest_.size() || rest_[at] == '#') break;
            const std::string name = word();
            const auto opcode = commandOpcodeNamed(name);
            if (!opcode) {
                why_ = "no client command is named " + name;
                return false;
            }
            step_.opcodes.push_back(*opcode);
        }
        if (step_.opcodes.empty()) why_ = "ignore names one command or more";
        return !step_.opcodes.empty();
    }
    bool nothingMore() {
        auto v = values();
        if (!v) return false;
        if (!v->empty()) why_ = "nothing may follow";
        return v->empty();
    }

    std::string_view line_;
    int number_;
    std::string_view rest_;
    size_t restColumn_ = 0;
    ScriptStep step_;
    std::string why_;
};

}  // namespace

// ---- the script --------------------------------------------------------------------------------

std::optional<Script> Script::parse(std::string_view text, std::string& error) {
    Script script;
    int number = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        size_t at = 0;
        while (at < line.size() && isBlank(line[at])) ++at;
        if (at == line.size() || line[at] == '#') continue;
        auto step = LineParser(line, number).parse(error);
        if (!step) return std::nullopt;
        script.steps_.push_back(std::move(*step));
    }
    return script;
}

std::optional<Script> Script::load(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be read";
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (text.str().size() > kMaxScriptBytes) {
        error = path + ": too large for a script";
        return std::nullopt;
    }
    auto script = parse(text.str(), error);
    if (!script) error = path + ": " + error;
    return script;
}

// ---- one run -----------------------------------------------------------------------------------

ScriptRun::ScriptRun(const Script& script, ScriptLink& link) : script_(script), link_(link) {}

void ScriptRun::fail(const ScriptStep& step, const std::string& why) {
    state_ = State::Failed;
    failure_ = strprintf("line %d: %s", step.line, why.c_str());
    link_.log("script failed: " + failure_);
}

void ScriptRun::advance(uint32_t nowMs) {
    const auto& steps = script_.steps();
    while (state_ == State::Running && !holding_ && next_ < steps.size()) {
        const ScriptStep& step = steps[next_];
        switch (step.kind) {
            case Kind::Send:
                link_.send(step.payload);
                link_.log(strprintf("line %d: sent %s", step.line, step.shown.c_str()));
                break;
            case Kind::Wait:
                if (!due_) due_ = nowMs + step.ms;
                if (!base::timeReached(nowMs, *due_)) return;
                due_.reset();
                break;
            case Kind::Timeout:
                timeoutMs_ = step.ms;
                break;
            case Kind::Ignore:
                ignored_.insert(step.opcodes.begin(), step.opcodes.end());
                break;
            case Kind::Expect:
                if (!expect(step, nowMs)) return;
                break;
            case Kind::Close:
                link_.log(strprintf("line %d: closing", step.line));
                link_.close();
                state_ = State::Passed;
                return;
            case Kind::Hold:
                link_.log(strprintf("line %d: holding until the client leaves", step.line));
                holding_ = true;
                return;
        }
        ++next_;
    }
    if (state_ == State::Running && next_ == steps.size()) {
        state_ = State::Passed;
        link_.log("script passed");
    }
}

bool ScriptRun::expect(const ScriptStep& step, uint32_t nowMs) {
    while (!arrived_.empty() && ignored_.count(arrived_.front()[0])) {
        link_.log(
            strprintf("line %d: ignored %s", step.line, shownCommand(arrived_.front()).c_str()));
        arrived_.erase(arrived_.begin());
    }
    if (arrived_.empty()) {
        if (!due_) due_ = nowMs + timeoutMs_;
        if (base::timeReached(nowMs, *due_))
            fail(step,
                 strprintf("%s expected; nothing came in %u ms", step.shown.c_str(), timeoutMs_));
        return false;
    }
    due_.reset();
    const std::vector<uint8_t> payload = std::move(arrived_.front());
    arrived_.erase(arrived_.begin());
    const auto command = net::parseClientCommand(payload);
    if (!command) {
        fail(step,
             strprintf("%s expected, got %s", step.shown.c_str(), shownCommand(payload).c_str()));
        return false;
    }
    const std::string got = describeCommand(*command);
    if (net::opcodeOf(*command) != step.opcodes[0]) {
        fail(step, strprintf("%s expected, got %s", step.shown.c_str(), got.c_str()));
        return false;
    }
    if (auto why = mismatch(step.values, printValues(*command))) {
        fail(step,
             strprintf("%s expected, got %s (%s)", step.shown.c_str(), got.c_str(), why->c_str()));
        return false;
    }
    link_.log(strprintf("line %d: got %s", step.line, got.c_str()));
    return true;
}

void ScriptRun::received(std::span<const uint8_t> payload, uint32_t nowMs) {
    if (state_ != State::Running || holding_ || payload.empty()) return;
    arrived_.emplace_back(payload.begin(), payload.end());
    advance(nowMs);
}

void ScriptRun::left(uint32_t nowMs) {
    advance(nowMs);
    if (state_ != State::Running) return;
    if (holding_) {
        state_ = State::Passed;
        link_.log("script passed");
        return;
    }
    const auto& steps = script_.steps();
    fail(steps[std::min(next_, steps.size() - 1)], "the client left");
}

int ScriptRun::dueInMs(uint32_t nowMs) const {
    if (state_ != State::Running || holding_ || !due_) return -1;
    const int32_t left = int32_t(*due_ - nowMs);
    return left > 0 ? left : 0;
}

// ---- the handler -------------------------------------------------------------------------------

class ScriptPlayer::Link final : public ScriptLink {
  public:
    explicit Link(Session& s) : session(&s) {}
    void send(std::span<const uint8_t> payload) override {
        if (session) session->send(payload);
    }
    void close() override {
        if (session) session->close();
    }
    void log(const std::string& line) override {
        if (session) session->server().log(strprintf("[%d] %s", session->id(), line.c_str()));
    }
    Session* session;
};

ScriptPlayer::ScriptPlayer(Script script, Finished finished, Clock clock)
    : script_(std::move(script)), finished_(std::move(finished)), clock_(std::move(clock)) {
    if (!clock_) {
        clock_ = [] {
            using namespace std::chrono;
            return uint32_t(
                duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
        };
    }
}

ScriptPlayer::~ScriptPlayer() = default;

void ScriptPlayer::joined(Session& s) {
    if (run_) {
        s.server().log(
            strprintf("[%d] joined; the script plays for the first client only", s.id()));
        return;
    }
    link_ = std::make_unique<Link>(s);
    run_ = std::make_unique<ScriptRun>(script_, *link_);
    link_->log("script started");
    run_->advance(clock_());
    finishIfDone();
}

void ScriptPlayer::received(Session& s, std::span<const uint8_t> payload) {
    if (!run_ || link_->session != &s) return;
    run_->received(payload, clock_());
    finishIfDone();
}

void ScriptPlayer::left(Session& s) {
    if (!run_ || link_->session != &s) return;
    if (run_->state() == ScriptRun::State::Running) run_->left(clock_());
    link_->session = nullptr;
    finishIfDone();
}

void ScriptPlayer::tick() {
    if (!run_) return;
    run_->advance(clock_());
    finishIfDone();
}

int ScriptPlayer::dueInMs() {
    return run_ ? run_->dueInMs(clock_()) : -1;
}

ScriptRun::State ScriptPlayer::state() const {
    return run_ ? run_->state() : ScriptRun::State::Running;
}

std::string ScriptPlayer::failure() const {
    return run_ ? run_->failure() : std::string();
}

void ScriptPlayer::finishIfDone() {
    if (reported_ || state() == ScriptRun::State::Running) return;
    reported_ = true;
    if (finished_) finished_(state() == ScriptRun::State::Passed);
}

}  // namespace vs::devserver
