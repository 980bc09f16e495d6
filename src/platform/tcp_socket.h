#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "platform/host_resolver.h"
#include "platform/wake_event.h"

namespace vs::platform {

enum class NetResult { Ok, WouldBlock, Closed, Failed, Interrupted, TimedOut };

// What may end a socket wait early. Every wait also watches the wake-up; when it fires, the
// wait ends if cancelled() says so, and otherwise goes on (the wake-up is consumed).
struct Interrupt {
    WakeEvent* wake = nullptr;
    std::function<bool()> cancelled;
};

// A TCP connection over IPv4. The system socket is non-blocking; the waits below are polls.
class TcpSocket {
  public:
    virtual ~TcpSocket() = default;
    // A new socket; bufferBytes > 0 sets the system's send and receive buffers. Nothing when
    // the system refuses one.
    static std::unique_ptr<TcpSocket> create(int bufferBytes = 0);

    // Waits at most timeoutMs (-1: as long as the system tries).
    virtual NetResult connect(const Ipv4Address& address, uint16_t port, int timeoutMs,
                              const Interrupt& interrupt) = 0;
    // Writes every byte, waiting while the system's buffer is full.
    virtual NetResult sendAll(std::span<const uint8_t> bytes, const Interrupt& interrupt) = 0;
    // One write of what the system takes now: Ok with sent > 0, WouldBlock or Failed.
    virtual NetResult sendSome(std::span<const uint8_t> bytes, size_t& sent) = 0;
    // One read of what has arrived: Ok with got > 0, WouldBlock, Closed (the peer ended the
    // connection) or Failed.
    virtual NetResult receive(std::span<uint8_t> into, size_t& got) = 0;
    // The system's handle, for a poll set.
    virtual int handle() const = 0;
};

class TcpListener {
  public:
    virtual ~TcpListener() = default;
    // Listens on address:port; port 0 takes a free port the system picks. Nothing (and the
    // reason in error) when the system refuses.
    static std::unique_ptr<TcpListener> listen(const Ipv4Address& address, uint16_t port,
                                               int backlog, std::string* error = nullptr);
    virtual uint16_t port() const = 0;
    // A connection that is waiting, or nothing.
    virtual std::unique_ptr<TcpSocket> accept() = 0;
    virtual int handle() const = 0;
};

struct PollEntry {
    int handle = -1;
    bool wantWrite = false;
    bool wantRead = true;
    bool readable = false;  // set: data, a waiting connection, the end or an error
    bool writable = false;  // set
};

// Waits until a handle is ready, the wake-up fires (it is then consumed and *woken set), or
// timeoutMs passes (-1: no limit). Returns the number of ready handles.
int pollHandles(std::span<PollEntry> entries, WakeEvent* wake, int timeoutMs,
                bool* woken = nullptr);

}  // namespace vs::platform
