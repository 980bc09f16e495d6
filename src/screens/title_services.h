#pragma once
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "net/server_messages_session.h"
#include "platform/host_resolver.h"

namespace vs::screens {

// What the title screen, its dialogs and the world placeholder need from the rest of the
// program. The composition root fills it with the connection, the game's message boxes and the
// first screen; tests fill it with recorders. Every member may be left empty.
struct TitleServices {
    // ---- the link to the server
    std::function<void(std::span<const uint8_t> payload)> send;
    std::function<void()> closeConnection;
    // Reconnects to another server. It reports nothing: ask isConnected afterwards.
    std::function<void(const platform::Ipv4Address& address, uint16_t port)> connectTo;
    std::function<bool()> isConnected;
    std::function<void()> uploadPendingCrashReport;

    // ---- boxes
    // A message box with "OK"; onOk (when given) runs once it is answered.
    std::function<void(std::u16string_view text, std::function<void()> onOk)> showMessage;
    // The box with "Reconnect" and "Leave"; answer(true) for Reconnect.
    std::function<void(std::u16string_view text, std::function<void(bool reconnect)> answer)>
        askReconnect;

    // ---- the program
    // The server asks for a patch (version answers 2 and 3); handed over once.
    std::function<void(const net::MsgVersionCheck& answer)> versionAnswer;
    // A new connection screen (after Leave, or a reconnect).
    std::function<void()> openConnectionScreen;
    // Ends the program.
    std::function<void()> quit;
    // A number in [0, bound) (0 for a bound of 0): the random choices and delays of the
    // dialogs.
    std::function<uint32_t(uint32_t bound)> random;

    uint32_t randomBelow(uint32_t bound) const {
        return bound == 0 || !random ? 0 : random(bound) % bound;
    }
};

}  // namespace vs::screens
