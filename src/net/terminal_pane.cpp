#include "net/terminal_pane.h"

#include <cstdio>
#include <cstring>

#include "app/settings.h"
#include "app/shell.h"
#include "base/log.h"
#include "base/text.h"
#include "graphics/display.h"
#include "net/connection.h"
#include "platform/message_box.h"
#include "resources/string_table.h"

namespace vs::net {

namespace {

constexpr uint8_t kBell = 7, kEscape = 27, kIac = 255, kDo = 253, kTerminalType = 24;
// A chunk holding this after its first two bytes is no terminal output: it is skipped whole.
constexpr std::string_view kRegistryScript = "%I\n</RunRegistry=";
// IAC WILL TERMINAL-TYPE, IAC SB TERMINAL-TYPE; then IS (0), the type, IAC SE.
constexpr std::string_view kWillTerminalType = "\xFF\xFB\x18\xFF\xFA\x18";
constexpr std::string_view kTerminalTypeDumb = "dumb\xFF\xF0";
constexpr uint8_t kWont = 252;
constexpr uint8_t kGreeting[] = {'m', 'a', 'r', 'v', 'u'};

std::u16string text(int id) {
    auto* strings = resources::StringTable::instance();
    return strings ? strings->Get(id) : std::u16string();
}

}  // namespace

bool TerminalScanner::scan(std::span<const uint8_t> data, Actions& actions) {
    if (done_) return false;
    for (const uint8_t b : data) {
        switch (state_) {
            case 0:
                if (b == kBell) {
                    actions.ring();
                } else if (b == kEscape) {
                    const auto rest =
                        data.size() > 2 ? data.subspan(2) : std::span<const uint8_t>();
                    if (rest.size() >= kRegistryScript.size() &&
                        std::memcmp(rest.data(), kRegistryScript.data(), kRegistryScript.size()) ==
                            0)
                        return false;
                    state_ = 1;
                } else if (b == kIac) {
                    state_ = 4;
                }
                break;
            case 1:
                if (b == '(' || b == ')' || b == '*' || b == '+') {
                    state_ = 3;  // a character set selection: its one byte is skipped
                } else if (b == 'C' || b == 'S') {
                    actions.selectFraming(b == 'C' ? Framing::Binary : Framing::Lines);
                    state_ = 6;
                } else {
                    state_ = 0;
                }
                break;
            case 3:
                state_ = 0;
                break;
            case 4:
                state_ = b == kDo ? 5 : 0;
                break;
            case 5:
                if (b == kTerminalType) {
                    actions.sendText(kWillTerminalType);
                    actions.sendByte(0);
                    actions.sendText(kTerminalTypeDumb);
                } else {
                    // All three bytes, option 0 too.
                    const char wont[3] = {char(kIac), char(kWont), char(b)};
                    actions.sendText({wont, 3});
                }
                state_ = 0;
                break;
            case 6:
                done_ = true;
                actions.enterPacketMode();
                return true;
        }
    }
    return false;
}

void InterimTerminalPrompt::showWaiting(std::u16string_view text) {
    VS_INFO("%s", base::utf16ToUtf8(text).c_str());
}

void InterimTerminalPrompt::askReconnect(std::u16string_view text,
                                         std::function<void(bool)> answer) {
    VS_INFO("%s", base::utf16ToUtf8(text).c_str());
    auto* box = platform::MessageBox::instance();
    if (!box) {
        answer(false);
        return;
    }
    static constexpr std::u16string_view kButtons[] = {u"Reconnect", u"Leave"};
    answer(box->ask(text, caption_, kButtons) == 0);
}

TerminalPane::TerminalPane(Connection& connection, TerminalPrompt& prompt, Hooks hooks)
    : connection_(connection), prompt_(prompt), hooks_(std::move(hooks)) {
    // Full screen in colour 0 and nothing else: until panes draw there is nothing to paint.
    if (auto* d = app::EventDispatcher::instance()) d->insert(this);
    connection_.setRaw(true);
    connection_.synchronise();
    auto* settings = app::Settings::instance();
    auto* clock = app::FrameClock::instance();
    if (settings && settings->autoConnect() && clock) clock->schedule(this, kConnectTimer, 0);
    if (auto* display = graphics::Display::instance()) display->ShowCursor();
}

TerminalPane::~TerminalPane() {
    if (auto* d = app::EventDispatcher::instance()) d->remove(this);
}

bool TerminalPane::OnPacket(const app::InputEvent& e) {
    if (closed_ || e.subKind != 1) return false;
    scanner_.scan(e.data, *this);
    return true;
}

bool TerminalPane::OnTimer(int32_t code, int32_t, int32_t) {
    if (code != kConnectTimer || closed_) return false;
    prompt_.showWaiting(text(kConnectingText));
    connection_.openWithFallback();
    const bool connected = connection_.isConnected();
    prompt_.hideWaiting();
    if (connected) return true;
    prompt_.askReconnect(text(kUnreachableText), [this](bool reconnect) {
        if (!reconnect) {
            if (auto* shell = app::Shell::instance()) shell->requestExit();
        } else if (auto* clock = app::FrameClock::instance()) {
            clock->schedule(this, kConnectTimer, 0);
        }
    });
    return true;
}

void TerminalPane::ring() {
    std::fputc(kBell, stderr);
    std::fflush(stderr);
}

void TerminalPane::sendText(std::string_view bytes) {
    connection_.sendText(bytes);
}

void TerminalPane::sendByte(uint8_t byte) {
    connection_.sendByte(byte);
}

void TerminalPane::selectFraming(Framing framing) {
    connection_.setLineFraming(framing == Framing::Lines);
}

void TerminalPane::enterPacketMode() {
    connection_.setRaw(false);
    connection_.synchronise();
    showing_ = false;
    VS_INFO("terminal: passing to packet mode (%s framing)",
            connection_.lineFraming() ? "line" : "binary");
    if (hooks_.openTitleScreen) hooks_.openTitleScreen();
    if (hooks_.playSound) hooks_.playSound(kPacketModeSound, 100);
    connection_.send(kGreeting);
    connection_.sendVersion();
    closed_ = true;
    if (auto* d = app::EventDispatcher::instance()) d->remove(this);
}

}  // namespace vs::net
