#include "platform/tcp_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

namespace vs::platform {

namespace {

using Clock = std::chrono::steady_clock;

int openStreamSocket() {
    return ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
}

sockaddr_in socketAddress(const Ipv4Address& a, uint16_t port) {
    sockaddr_in sin{};
    sin.sin_family = AF_INET;
    sin.sin_port = htons(port);
    std::memcpy(&sin.sin_addr.s_addr, a.data(), 4);  // already in network order
    return sin;
}

// Polls one handle until it can be written (or read), the time is up or the wait is cancelled.
NetResult waitFor(int fd, bool write, int timeoutMs, const Interrupt& interrupt) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        int left = -1;
        if (timeoutMs >= 0) {
            const auto ms =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now())
                    .count();
            if (ms <= 0) return NetResult::TimedOut;
            left = int(ms);
        }
        PollEntry e{fd, write, !write};
        bool woken = false;
        pollHandles({&e, 1}, interrupt.wake, left, &woken);
        if (write ? e.writable : e.readable) return NetResult::Ok;
        if (woken && interrupt.cancelled && interrupt.cancelled()) return NetResult::Interrupted;
    }
}

class PosixTcpSocket final : public TcpSocket {
  public:
    explicit PosixTcpSocket(int fd) : fd_(fd) {}
    ~PosixTcpSocket() override { ::close(fd_); }

    NetResult connect(const Ipv4Address& address, uint16_t port, int timeoutMs,
                      const Interrupt& interrupt) override {
        const sockaddr_in sin = socketAddress(address, port);
        if (::connect(fd_, reinterpret_cast<const sockaddr*>(&sin), sizeof sin) == 0)
            return NetResult::Ok;
        if (errno != EINPROGRESS && errno != EINTR) return NetResult::Failed;
        const NetResult waited = waitFor(fd_, true, timeoutMs, interrupt);
        if (waited != NetResult::Ok) return waited;
        int error = 0;
        socklen_t len = sizeof error;
        if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &len) != 0 || error != 0)
            return NetResult::Failed;
        return NetResult::Ok;
    }

    NetResult sendAll(std::span<const uint8_t> bytes, const Interrupt& interrupt) override {
        for (size_t done = 0; done < bytes.size();) {
            size_t sent = 0;
            const NetResult r = sendSome(bytes.subspan(done), sent);
            if (r == NetResult::WouldBlock) {
                const NetResult waited = waitFor(fd_, true, -1, interrupt);
                if (waited != NetResult::Ok) return waited;
            } else if (r != NetResult::Ok) {
                return r;
            }
            done += sent;
        }
        return NetResult::Ok;
    }

    NetResult sendSome(std::span<const uint8_t> bytes, size_t& sent) override {
        sent = 0;
        for (;;) {
            // No SIGPIPE for a peer that went away: the error is reported instead.
            const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (n >= 0) {
                sent = size_t(n);
                return NetResult::Ok;
            }
            if (errno == EINTR) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) return NetResult::WouldBlock;
            return NetResult::Failed;
        }
    }

    NetResult receive(std::span<uint8_t> into, size_t& got) override {
        got = 0;
        for (;;) {
            const ssize_t n = ::recv(fd_, into.data(), into.size(), 0);
            if (n > 0) {
                got = size_t(n);
                return NetResult::Ok;
            }
            if (n == 0) return into.empty() ? NetResult::WouldBlock : NetResult::Closed;
            if (errno == EINTR) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) return NetResult::WouldBlock;
            return NetResult::Failed;
        }
    }

    int handle() const override { return fd_; }

  private:
    int fd_;
};

class PosixTcpListener final : public TcpListener {
  public:
    PosixTcpListener(int fd, uint16_t port) : fd_(fd), port_(port) {}
    ~PosixTcpListener() override { ::close(fd_); }

    uint16_t port() const override { return port_; }

    std::unique_ptr<TcpSocket> accept() override {
        for (;;) {
            const int fd = ::accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd >= 0) {
                const int one = 1;
                ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
                return std::make_unique<PosixTcpSocket>(fd);
            }
            // A connection that was reset while it waited is simply not there any more.
            if (errno == EINTR || errno == ECONNABORTED) continue;
            return nullptr;
        }
    }

    int handle() const override { return fd_; }

  private:
    int fd_;
    uint16_t port_;
};

}  // namespace

std::unique_ptr<TcpSocket> TcpSocket::create(int bufferBytes) {
    const int fd = openStreamSocket();
    if (fd < 0) return nullptr;
    if (bufferBytes > 0) {
        ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &bufferBytes, sizeof bufferBytes);
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bufferBytes, sizeof bufferBytes);
    }
    // Payloads are small and each is written whole: send them at once.
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return std::make_unique<PosixTcpSocket>(fd);
}

std::unique_ptr<TcpListener> TcpListener::listen(const Ipv4Address& address, uint16_t port,
                                                 int backlog, std::string* error) {
    auto fail = [&](const char* what, int fd) -> std::unique_ptr<TcpListener> {
        if (error) *error = std::string(what) + ": " + std::strerror(errno);
        if (fd >= 0) ::close(fd);
        return nullptr;
    };
    const int fd = openStreamSocket();
    if (fd < 0) return fail("socket", fd);
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    const sockaddr_in sin = socketAddress(address, port);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&sin), sizeof sin) != 0)
        return fail("bind", fd);
    if (::listen(fd, backlog) != 0) return fail("listen", fd);
    sockaddr_in bound{};
    socklen_t len = sizeof bound;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &len) != 0)
        return fail("getsockname", fd);
    return std::make_unique<PosixTcpListener>(fd, ntohs(bound.sin_port));
}

int pollHandles(std::span<PollEntry> entries, WakeEvent* wake, int timeoutMs, bool* woken) {
    std::vector<pollfd> fds;
    fds.reserve(entries.size() + 1);
    for (auto& e : entries) {
        e.readable = e.writable = false;
        fds.push_back(
            {e.handle, short((e.wantRead ? POLLIN : 0) | (e.wantWrite ? POLLOUT : 0)), 0});
    }
    if (wake) fds.push_back({wake->fd(), POLLIN, 0});
    if (woken) *woken = false;
    int r;
    do {
        r = ::poll(fds.data(), nfds_t(fds.size()), timeoutMs);
    } while (r < 0 && errno == EINTR);
    if (r <= 0) return 0;
    int ready = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const short got = fds[i].revents;
        entries[i].readable =
            entries[i].wantRead && (got & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0;
        // A failed connect shows as an error: the caller learns why from the socket.
        entries[i].writable = entries[i].wantWrite && (got & (POLLOUT | POLLERR | POLLHUP)) != 0;
        if (entries[i].readable || entries[i].writable) ++ready;
    }
    if (wake && (fds.back().revents & POLLIN)) {
        wake->clear();
        if (woken) *woken = true;
    }
    return ready;
}

}  // namespace vs::platform
