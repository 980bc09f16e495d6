#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/lobject.h"

namespace vs::platform {

// Window message ids, with the numbers the game's window procedure has always used.
enum : uint32_t {
    kWmDestroy = 0x0002,
    kWmSetFocus = 0x0007,
    kWmKillFocus = 0x0008,
    kWmPaint = 0x000F,
    kWmClose = 0x0010,
    kWmQuit = 0x0012,
    kWmActivateApp = 0x001C,
    kWmKeyDown = 0x0100,
    kWmKeyUp = 0x0101,
    kWmChar = 0x0102,
    kWmSysKeyDown = 0x0104,
    kWmSysKeyUp = 0x0105,
    kWmSysChar = 0x0106,
    kWmImeStartComposition = 0x010D,
    kWmImeEndComposition = 0x010E,
    kWmImeComposition = 0x010F,
    kWmMouseMove = 0x0200,
    kWmLButtonDown = 0x0201,
    kWmLButtonUp = 0x0202,
    kWmRButtonDown = 0x0204,
    kWmRButtonUp = 0x0205,
    kWmMouseWheel = 0x020A,
    kWmImeNotify = 0x0282,
    kWmUser = 0x0400,

    // The program's own messages to its main window.
    kMsgSocket = kWmUser + 0,        // socket notification (low word of lParam: 1 read, 32 close)
    kMsgRawData = kWmUser + 2,       // terminal bytes from the connection worker
    kMsgPacketData = kWmUser + 3,    // a deciphered payload from the connection worker
    kMsgFatalError = kWmUser + 5,    // a fatal error code in wParam
    kMsgPostedObject = kWmUser + 6,  // an object from another thread, code in wParam
    kMsgNextTrack = kWmUser + 7,     // music: the current track ended
    kMsgRandomTrack = kWmUser + 8,   // music: start the next track, random when asked
    kMsgWorkerError = kWmUser + 16,  // a worker thread failed; its error text in `text`
};

// A window message. Payloads are owned by the message, so a message that is never dispatched
// (a full stop, a quitting program) frees them with itself.
struct Message {
    uint32_t id = 0;
    uint64_t wParam = 0;
    int64_t lParam = 0;
    uint32_t time = 0;
    std::vector<uint8_t> data;              // received bytes (kMsgRawData, kMsgPacketData)
    std::unique_ptr<base::LObject> object;  // posted object (kMsgPostedObject)
    std::string text;                       // UTF-8 text (kMsgWorkerError)

    Message() = default;
    Message(uint32_t id_, uint64_t w = 0, int64_t l = 0) : id(id_), wParam(w), lParam(l) {}
    Message(Message&&) noexcept = default;
    Message& operator=(Message&&) noexcept = default;
};

// Mouse positions travel in lParam as two signed 16-bit words: x low, y high.
constexpr int64_t packPoint(int x, int y) {
    return int64_t((uint32_t(uint16_t(int16_t(y))) << 16) | uint16_t(int16_t(x)));
}
constexpr int lowWordSigned(int64_t v) { return int16_t(uint16_t(uint64_t(v) & 0xFFFF)); }
constexpr int highWordSigned(int64_t v) { return int16_t(uint16_t((uint64_t(v) >> 16) & 0xFFFF)); }
constexpr uint32_t lowWord(int64_t v) { return uint32_t(uint64_t(v) & 0xFFFF); }

}  // namespace vs::platform
