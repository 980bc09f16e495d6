#include "client/ime_script.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "base/log.h"
#include "base/text.h"
#include "platform/text_input.h"
#include "platform/window.h"

namespace vs::client {

namespace {

constexpr size_t kMaxSteps = 10000;
constexpr size_t kMaxItems = 64;
constexpr uint32_t kMaxTime = 24u * 3600u * 1000u;

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

template <class T>
bool number(std::string_view s, T& out, T lo, T hi) {
    T v{};
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi) return false;
    out = v;
    return true;
}

}  // namespace

bool parseImeScript(std::string_view script, std::vector<ImeScriptStep>& out, std::string& error) {
    out.clear();
    size_t lineNo = 0;
    for (size_t pos = 0; pos <= script.size();) {
        const size_t nl = std::min(script.find('\n', pos), script.size());
        const std::string_view line = script.substr(pos, nl - pos);
        pos = nl + 1;
        ++lineNo;
        const auto w = words(line);
        if (w.empty() || w[0][0] == '#') continue;
        auto fail = [&](const char* why) {
            error = "line " + std::to_string(lineNo) + ": " + why;
            out.clear();
            return false;
        };
        if (out.size() >= kMaxSteps) return fail("too many steps");
        ImeScriptStep step;
        if (!number(w[0], step.at, 0u, kMaxTime)) return fail("a time in milliseconds first");
        if (w.size() < 2) return fail("a command after the time");
        const std::string_view cmd = w[1];
        const size_t args = w.size() - 2;
        if (cmd == "compose") {
            step.kind = ImeScriptStep::kCompose;
            if (args != 2) return fail("compose TEXT CURSOR");
            step.text = base::utf8ToUtf16(w[2]);
            if (!number(w[3], step.number, 0, 127)) return fail("a cursor of 0 to 127");
        } else if (cmd == "commit") {
            step.kind = ImeScriptStep::kCommit;
            if (args != 1) return fail("commit TEXT");
            step.text = base::utf8ToUtf16(w[2]);
        } else if (cmd == "end" || cmd == "close") {
            step.kind = cmd == "end" ? ImeScriptStep::kEnd : ImeScriptStep::kClose;
            if (args != 0) return fail("no arguments");
        } else if (cmd == "candidates") {
            step.kind = ImeScriptStep::kCandidates;
            if (args < 1 || args - 1 > kMaxItems) return fail("candidates SELECTION ITEM...");
            if (!number(w[2], step.number, 0, int32_t(kMaxItems))) return fail("a selection");
            for (size_t i = 3; i < w.size(); ++i) step.items.push_back(base::utf8ToUtf16(w[i]));
        } else if (cmd == "open") {
            step.kind = ImeScriptStep::kOpen;
            if (args != 1 || !number(w[2], step.number, 0, 1)) return fail("open 0 or 1");
        } else {
            return fail("an unknown command");
        }
        out.push_back(std::move(step));
    }
    return true;
}

std::vector<platform::Message> imeScriptMessages(const ImeScriptStep& step, bool& composing) {
    std::vector<platform::Message> out;
    switch (step.kind) {
        case ImeScriptStep::kCompose:
            if (!composing) out.emplace_back(platform::kWmImeStartComposition);
            composing = true;
            out.push_back(platform::compositionMessage(step.text, step.number));
            break;
        case ImeScriptStep::kCommit:
            out.push_back(platform::resultMessage(step.text));
            if (composing) out.emplace_back(platform::kWmImeEndComposition);
            composing = false;
            break;
        case ImeScriptStep::kEnd:
            out.emplace_back(platform::kWmImeEndComposition);
            composing = false;
            break;
        case ImeScriptStep::kCandidates: {
            auto list = std::make_unique<platform::CandidateList>();
            list->candidates = step.items;
            list->selection = step.number;
            out.push_back(platform::candidatesMessage(std::move(list), false));
            break;
        }
        case ImeScriptStep::kClose:
            out.push_back(platform::closeCandidatesMessage());
            break;
        case ImeScriptStep::kOpen:
            out.push_back(platform::openStatusMessage(step.number != 0));
            break;
    }
    return out;
}

ImeScriptPlayer::ImeScriptPlayer(std::vector<ImeScriptStep> steps) : steps_(std::move(steps)) {
    auto* fc = app::FrameClock::instance();
    if (!fc) return;
    for (size_t i = 0; i < steps_.size(); ++i) fc->schedule(this, int32_t(i), steps_[i].at);
}

ImeScriptPlayer::~ImeScriptPlayer() {
    if (auto* fc = app::FrameClock::instance()) fc->cancelAll(this);
}

std::unique_ptr<ImeScriptPlayer> ImeScriptPlayer::Load(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        VS_ERROR("input method script %s: cannot read it", file.c_str());
        return nullptr;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::vector<ImeScriptStep> steps;
    std::string error;
    if (!parseImeScript(text.str(), steps, error)) {
        VS_ERROR("input method script %s: %s", file.c_str(), error.c_str());
        return nullptr;
    }
    return std::make_unique<ImeScriptPlayer>(std::move(steps));
}

bool ImeScriptPlayer::OnTimer(int32_t code, int32_t, int32_t) {
    if (code < 0 || size_t(code) >= steps_.size()) return true;
    auto* window = platform::Window::instance();
    if (!window) return true;
    for (platform::Message& m : imeScriptMessages(steps_[size_t(code)], composing_)) {
        if (auto* fc = app::FrameClock::instance()) m.time = fc->now();
        window->post(std::move(m));
    }
    return true;
}

}  // namespace vs::client
