#include "net/connection.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "app/crash_reporter.h"
#include "app/settings.h"
#include "app/shell.h"
#include "app/version.h"
#include "base/log.h"
#include "platform/message.h"
#include "platform/tcp_socket.h"
#include "platform/window.h"
#include "resources/archive_manager.h"
#include "resources/dat_file.h"

namespace vs::net {

namespace {

using platform::Ipv4Address;
using platform::NetResult;

// What an open or connectTo request carries besides its address and port.
struct OpenDetails final : base::LObject {
    uint32_t generation = 0;
    std::string list;  // the text of "CONNADDR", for an open with fallback
};

int32_t packAddress(const Ipv4Address& a) {
    uint32_t v;
    std::memcpy(&v, a.data(), 4);
    return int32_t(v);
}

Ipv4Address unpackAddress(int32_t v) {
    Ipv4Address a;
    std::memcpy(a.data(), &v, 4);
    return a;
}

std::string dotted(const Ipv4Address& a) {
    return base::strprintf("%d.%d.%d.%d", a[0], a[1], a[2], a[3]);
}

void postToWindow(platform::Message m) {
    if (auto* w = platform::Window::instance()) w->post(std::move(m));
}

std::string addressListText() {
    auto* archives = resources::ArchiveManager::instance();
    if (!archives || !archives->Exists("CONNADDR")) return {};
    const resources::DATFile file("CONNADDR");
    const auto bytes = file.View();
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

Connection::Connection()
    : app::WorkerThread(2048, "connection"), receiveBuffer_(kReceiveBufferBytes) {
    instance_ = this;
}

Connection::~Connection() {
    // The worker uses this object's members: it has to be gone before they are.
    stop(std::numeric_limits<uint32_t>::max());
    socket_.reset();
    if (instance_ == this) instance_ = nullptr;
}

std::optional<Connection::AddressLine> Connection::parseAddressLine(std::string_view line) {
    constexpr std::string_view kBlanks = " \t\r\n";
    std::string_view fields[2];
    size_t n = 0, at = 0;
    while (n < 2) {
        at = line.find_first_not_of(kBlanks, at);
        if (at == std::string_view::npos) break;
        const size_t end = std::min(line.find_first_of(kBlanks, at), line.size());
        fields[n++] = line.substr(at, end - at);
        at = end;
    }
    if (n < 2) return std::nullopt;
    AddressLine out;
    out.host = std::string(fields[0]);
    out.port = app::parsePort(fields[1]).value_or(0);
    return out;
}

// ---- UI thread ---------------------------------------------------------------------------------

void Connection::postOpen(int32_t code) {
    recordAnsweredServer();
    Ipv4Address address{};
    int32_t port = 0;
    if (auto* s = app::Settings::instance()) {
        address = s->serverAddress();
        port = s->basePort() + std::rand() % std::max<int32_t>(1, s->portCount());
    }
    postConnect(code, address, port, code == kOpenWithFallback ? addressListText() : std::string());
}

void Connection::postConnect(int32_t code, const Ipv4Address& address, int32_t port,
                             std::string list) {
    auto details = std::make_unique<OpenDetails>();
    details->generation = cancelGeneration_;
    details->list = std::move(list);
    Request r;
    r.code = code;
    r.first = packAddress(address);
    r.second = port;
    r.object = std::move(details);
    post(std::move(r));
}

void Connection::open() {
    postOpen(kOpen);
}

void Connection::openWithFallback() {
    postOpen(kOpenWithFallback);
}

void Connection::close() {
    recordAnsweredServer();
    ++cancelGeneration_;
    post(kClose);
}

void Connection::connectTo(const Ipv4Address& address, uint16_t port) {
    postConnect(kConnectTo, address, port, {});
}

void Connection::readArrived() {
    post(kRead);
}

void Connection::postPacket(std::vector<uint8_t> packet) {
    Request r;
    r.code = kSend;
    r.data = std::move(packet);
    post(std::move(r));
}

void Connection::send(std::span<const uint8_t> payload) {
    if (sendBlocked_) return;
    std::vector<uint8_t> packet(payload.begin(), payload.end());
    packet.push_back(0);
    postPacket(std::move(packet));
}

void Connection::sendVersion() {
    if (sendBlocked_) return;
    app::VersionInfo v = app::programVersion();
    if (auto* shell = app::Shell::instance()) v = {shell->version(), shell->build()};
    const auto version = uint16_t(v.version), build = uint16_t(v.build);
    postPacket({0x00, uint8_t(version >> 8), uint8_t(version), 0xC5, uint8_t(build >> 8),
                uint8_t(build), 0x00});
}

void Connection::uploadPendingCrashReport() {
    // Blocked, the report stays on disk for the next server.
    if (sendBlocked_) return;
    auto* reporter = app::CrashReporter::instance();
    if (!reporter) return;
    // The packet already ends in the zero byte that send() would add.
    reporter->uploadPending([this](std::vector<uint8_t> packet) { postPacket(std::move(packet)); });
}

void Connection::setRaw(bool raw) {
    post(kSetRaw, raw ? 1 : 0);
}

void Connection::sendText(std::string_view bytes) {
    Request r;
    r.code = kSendText;
    r.data.assign(bytes.begin(), bytes.end());
    post(std::move(r));
}

void Connection::sendByte(uint8_t byte) {
    post(kSendByte, byte);
}

bool Connection::isConnected() {
    if (!running()) return false;
    const bool connected = waitReply(postWithReply(kQueryConnected)) != 0;
    recordAnsweredServer();
    return connected;
}

void Connection::recordAnsweredServer() {
    std::optional<Answered> a;
    {
        std::lock_guard lock(answeredMutex_);
        a.swap(answered_);
    }
    auto* s = app::Settings::instance();
    if (!a || !s) return;
    // A later open() without fallback (the reconnect dialog) reaches the same server.
    s->setConnectedServer(a->index, a->address, a->port);
    s->setServerAddress(a->address);
    s->setBasePort(a->port);
    s->setServerIndex(a->index);
}

// ---- worker ------------------------------------------------------------------------------------

bool Connection::cancelled(uint32_t generation) const {
    return stopRequested() || cancelGeneration_ != generation;
}

void Connection::handle(Request& r) {
    const auto* details = dynamic_cast<const OpenDetails*>(r.object.get());
    const uint32_t generation = details ? details->generation : cancelGeneration_.load();
    switch (r.code) {
        case kOpen:
        case kOpenWithFallback:
            resetReceiveState();
            connectWithFallback(unpackAddress(r.first), r.second,
                                r.code == kOpenWithFallback && details ? &details->list : nullptr,
                                generation);
            pause(generation);
            break;
        case kClose:
            closeSocket();
            break;
        case kConnectTo:
            closeSocket();
            resetReceiveState();
            connectWithFallback(unpackAddress(r.first), r.second, nullptr, generation);
            pause(generation);
            break;
        case kRead:
            readPass();
            break;
        case kSend:
            sendFrames(r.data);
            break;
        case kSetRaw:
            raw_ = r.first != 0;
            break;
        case kSendText:
            write(r.data);
            break;
        case kSendByte: {
            const auto byte = uint8_t(r.first);
            write({&byte, 1});
            break;
        }
        default:
            app::WorkerThread::handle(r);
            break;
    }
}

int32_t Connection::handleWithReply(Request& r) {
    if (r.code == kQueryConnected) return socket_ ? 1 : 0;
    handle(r);
    return 0;
}

void Connection::waitForWork(int timeoutMs) {
    if (queued() > 0 || stopRequested()) return;
    if (!socket_) {
        app::WorkerThread::waitForWork(timeoutMs);
        return;
    }
    // One wait for both: a request, or bytes (or the end) from the server.
    platform::PollEntry e{socket_->handle()};
    platform::pollHandles({&e, 1}, &wake(), timeoutMs);
    if (e.readable) readPass();
}

void Connection::resetReceiveState() {
    reader_.reset();
    writer_.reset();
}

Connection::Attempt Connection::connect(const Ipv4Address& address, int32_t port,
                                        uint32_t generation) {
    closeSocket();
    socket_ = platform::TcpSocket::create(kSocketBufferBytes);
    if (!socket_) {
        VS_WARN("connection: no socket");
        return Attempt::NoSocket;
    }
    if (port > 0 && port <= 0xFFFF) {
        const platform::Interrupt interrupt{&wake(),
                                            [this, generation] { return cancelled(generation); }};
        const NetResult r = socket_->connect(address, uint16_t(port), kConnectTimeoutMs, interrupt);
        if (r == NetResult::Ok) {
            VS_INFO("connected to %s:%d", dotted(address).c_str(), int(port));
            return Attempt::Connected;
        }
        VS_INFO("cannot connect to %s:%d", dotted(address).c_str(), int(port));
    }
    closeSocket();
    return Attempt::Failed;
}

void Connection::connectWithFallback(const Ipv4Address& address, int32_t port,
                                     const std::string* list, uint32_t generation) {
    // An address of 0 is "none set" (connecting to it would reach this machine).
    if (address != Ipv4Address{}) {
        const Attempt a = connect(address, port, generation);
        if (a != Attempt::Failed || !list) return;
    } else if (!list) {
        closeSocket();
        return;
    }
    auto* resolver = platform::HostResolver::instance();
    int32_t index = 0;
    for (size_t at = 0; at < list->size() && !cancelled(generation);) {
        const size_t end = std::min(list->find_first_of("\r\n", at), list->size());
        const std::string_view line = std::string_view(*list).substr(at, end - at);
        at = end + 1;
        const auto entry = parseAddressLine(line);
        if (!entry) continue;
        // Names and dotted addresses alike, as the system's resolver reads them.
        const auto resolved = resolver ? resolver->resolveIpv4(entry->host) : std::nullopt;
        if (!resolved) {
            VS_INFO("server %s does not resolve", entry->host.c_str());
            continue;
        }
        switch (connect(*resolved, entry->port, generation)) {
            case Attempt::Connected: {
                std::lock_guard lock(answeredMutex_);
                answered_ = Answered{index, *resolved, entry->port};
                return;
            }
            case Attempt::NoSocket:
                return;
            case Attempt::Failed:
                ++index;
                break;
        }
    }
    closeSocket();
}

void Connection::pause(uint32_t generation) {
    using namespace std::chrono;
    const auto end = steady_clock::now() + milliseconds(pauseMs_.load());
    while (!cancelled(generation)) {
        const auto left = duration_cast<milliseconds>(end - steady_clock::now()).count();
        if (left <= 0) return;
        wake().wait(int(left));
    }
}

void Connection::closeSocket() {
    socket_.reset();
}

void Connection::peerClosed() {
    VS_INFO("connection closed by the server");
    closeSocket();
    // The window procedure turns the close notice into the connection-closed event.
    postToWindow(platform::Message(platform::kMsgSocket, 0, kSocketClosed));
}

void Connection::readPass() {
    if (!socket_) return;
    size_t got = 0;
    if (raw_) {
        std::vector<uint8_t> bytes(kRawReadBytes);
        switch (socket_->receive(bytes, got)) {
            case NetResult::Ok: {
                bytes.resize(got);
                platform::Message m(platform::kMsgRawData);
                m.data = std::move(bytes);
                postToWindow(std::move(m));
                return;
            }
            case NetResult::WouldBlock:
                return;
            default:
                // The end shows in terminal mode too: otherwise the socket would stay readable
                // for ever with nothing to read.
                peerClosed();
                return;
        }
    }
    reader_.setFraming(lineFraming_ ? Framing::Lines : Framing::Binary);
    const PayloadSink sink = [](std::vector<uint8_t> payload) {
        platform::Message m(platform::kMsgPacketData);
        m.data = std::move(payload);
        postToWindow(std::move(m));
    };
    // Everything that has arrived, but a stop still ends the pass.
    while (socket_ && !stopRequested()) {
        switch (socket_->receive(receiveBuffer_, got)) {
            case NetResult::Ok:
                reader_.feed({receiveBuffer_.data(), got}, sink);
                break;
            case NetResult::WouldBlock:
                return;
            default:
                peerClosed();
                return;
        }
    }
}

void Connection::sendFrames(std::span<const uint8_t> packet) {
    writer_.setFraming(lineFraming_ ? Framing::Lines : Framing::Binary);
    // Framed and enciphered even without a socket, as every send moves the counter.
    for (const auto& bytes : writer_.write(packet)) write(bytes);
}

void Connection::write(std::span<const uint8_t> bytes) {
    if (!socket_ || bytes.empty()) return;
    const platform::Interrupt interrupt{&wake(), [this] { return stopRequested(); }};
    if (socket_->sendAll(bytes, interrupt) != NetResult::Ok)
        VS_DEBUG("connection: a write of %zu bytes failed", bytes.size());
}

}  // namespace vs::net
