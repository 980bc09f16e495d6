#pragma once
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "app/event_dispatcher.h"
#include "app/frame_clock.h"
#include "net/cipher.h"

namespace vs::net {

class Connection;

// Reads what the server sends while the connection is a terminal: a bell, a minimal telnet
// negotiation, and the escape that selects a packet framing.
class TerminalScanner {
  public:
    class Actions {
      public:
        virtual ~Actions() = default;
        virtual void ring() = 0;
        virtual void sendText(std::string_view bytes) = 0;
        virtual void sendByte(uint8_t byte) = 0;
        virtual void selectFraming(Framing framing) = 0;
        virtual void enterPacketMode() = 0;
    };

    // One chunk of received bytes. True when it passed to packet mode: the rest of the chunk is
    // not looked at, and later chunks are not either.
    bool scan(std::span<const uint8_t> data, Actions& actions);
    int state() const { return state_; }
    bool done() const { return done_; }

  private:
    int state_ = 0;
    bool done_ = false;
};

// The boxes the terminal phase shows while it connects.
class TerminalPrompt {
  public:
    virtual ~TerminalPrompt() = default;
    // A note without buttons, up while the connection is made.
    virtual void showWaiting(std::u16string_view text) = 0;
    virtual void hideWaiting() = 0;
    // The question with "Reconnect" and "Leave"; answer(true) for Reconnect, now or later.
    virtual void askReconnect(std::u16string_view text,
                              std::function<void(bool reconnect)> answer) = 0;
};

// Stands in until the game's own message box exists: the note only goes to the log (the
// system's box cannot be up without a button while the program goes on), the question to the
// system's message box. Without one, the answer is Leave.
class InterimTerminalPrompt final : public TerminalPrompt {
  public:
    explicit InterimTerminalPrompt(std::u16string caption) : caption_(std::move(caption)) {}
    void showWaiting(std::u16string_view text) override;
    void hideWaiting() override {}
    void askReconnect(std::u16string_view text, std::function<void(bool)> answer) override;

  private:
    std::u16string caption_;
};

// The first screen after the logo: a black, full-screen terminal that connects, answers the
// server's negotiation and hands over to the title screen once the server selects a framing.
class TerminalPane final : public app::EventHandler,
                           public app::TimerClient,
                           private TerminalScanner::Actions {
  public:
    // What the terminal hands over to the layers above it.
    struct Hooks {
        std::function<void()> openTitleScreen;
        std::function<void(int sound, int volume)> playSound;
    };
    static constexpr int kConnectingText = 156;
    static constexpr int kUnreachableText = 157;
    static constexpr int kPacketModeSound = 401;
    static constexpr int32_t kConnectTimer = 0;

    TerminalPane(Connection& connection, TerminalPrompt& prompt, Hooks hooks);
    ~TerminalPane() override;
    TerminalPane(const TerminalPane&) = delete;
    TerminalPane& operator=(const TerminalPane&) = delete;

    // Terminal bytes (data events of sub-kind 1).
    bool OnPacket(const app::InputEvent& e) override;
    bool OnTimer(int32_t code, int32_t first, int32_t second) override;
    bool IsShowing() const override { return showing_; }
    // After the switch to packet mode the pane is closed: it takes no more events and its owner
    // may destroy it.
    bool closed() const { return closed_; }

  private:
    void ring() override;
    void sendText(std::string_view bytes) override;
    void sendByte(uint8_t byte) override;
    void selectFraming(Framing framing) override;
    void enterPacketMode() override;

    Connection& connection_;
    TerminalPrompt& prompt_;
    Hooks hooks_;
    TerminalScanner scanner_;
    bool showing_ = true;
    bool closed_ = false;
};

}  // namespace vs::net
