#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/worker_thread.h"
#include "net/packet_framing.h"
#include "platform/host_resolver.h"

namespace vs::platform {
class TcpSocket;
}

namespace vs::net {

// The one link to the game server: a socket owned by a worker thread that connects, frames,
// enciphers, sends and receives. The UI thread only posts requests; received bytes come back as
// window messages (terminal bytes as kMsgRawData, payloads as kMsgPacketData), and the end of
// the connection from the server's side as a socket notice (kMsgSocket, close).
class Connection final : public app::WorkerThread {
  public:
    enum Code : int32_t {
        kOpen = 3,              // the server of the settings
        kOpenWithFallback = 4,  // ... or else the first of "CONNADDR" that answers
        kClose = 5,
        kConnectTo = 6,  // first: the IPv4 address, second: the port
        kRead = 7,
        kSend = 8,  // data: what is framed and enciphered (send() has added its zero byte)
        kSetRaw = 9,
        kSendText = 10,
        kSendByte = 11,
        kQueryConnected = 12,
    };
    // The low word of a socket notice that says the server ended the connection.
    static constexpr int64_t kSocketClosed = 32;
    static constexpr size_t kReceiveBufferBytes = 60000;
    static constexpr size_t kRawReadBytes = 1000;
    static constexpr int kSocketBufferBytes = 60000;
    static constexpr uint32_t kPauseAfterOpenMs = 1000;
    // The system would try for minutes; the terminal phase waits for the answer.
    static constexpr int kConnectTimeoutMs = 10000;

    Connection();
    ~Connection() override;
    static Connection* instance() { return instance_; }

    // ---- UI thread: each posts one request.
    void open();
    void openWithFallback();
    void close();
    void connectTo(const platform::Ipv4Address& address, uint16_t port);
    // Reads what has arrived now. The worker also reads by itself whenever data arrives.
    void readArrived();
    // The payload followed by one zero byte; nothing while sending is blocked.
    void send(std::span<const uint8_t> payload);
    void setRaw(bool raw);
    // The bytes as they are, unframed.
    void sendText(std::string_view bytes);
    void sendByte(uint8_t byte);
    // Waits for the worker's answer.
    bool isConnected();
    // The version packet (0x00, version, 0xC5, build, 0x00) of the running program.
    void sendVersion();
    // A waiting crash report, to a server the client was just transferred to.
    void uploadPendingCrashReport();

    // Set directly, from the UI thread.
    void setSendBlocked(bool blocked) { sendBlocked_ = blocked; }
    bool sendBlocked() const { return sendBlocked_; }
    void setLineFraming(bool lines) { lineFraming_ = lines; }
    bool lineFraming() const { return lineFraming_; }

    // Tests shorten the pause after an open.
    void setPauseAfterOpen(uint32_t ms) { pauseMs_ = ms; }

    // A "CONNADDR" line: host and port; nothing for a line of fewer than two fields.
    struct AddressLine {
        std::string host;
        uint16_t port = 0;  // 0 when the port is not a number the system accepts
    };
    static std::optional<AddressLine> parseAddressLine(std::string_view line);

  protected:
    void handle(Request& request) override;
    int32_t handleWithReply(Request& request) override;
    void waitForWork(int timeoutMs) override;

  private:
    enum class Attempt { Connected, Failed, NoSocket };
    struct Answered {
        int32_t index = 0;
        platform::Ipv4Address address{};
        uint16_t port = 0;
    };

    // Worker side.
    void resetReceiveState();
    Attempt connect(const platform::Ipv4Address& address, int32_t port, uint32_t generation);
    // Without a list, only the address (0: none) is tried.
    void connectWithFallback(const platform::Ipv4Address& address, int32_t port,
                             const std::string* list, uint32_t generation);
    void pause(uint32_t generation);
    void closeSocket();
    void readPass();
    void peerClosed();
    void sendFrames(std::span<const uint8_t> payload);
    void write(std::span<const uint8_t> bytes);
    bool cancelled(uint32_t generation) const;

    // UI side.
    void postOpen(int32_t code);
    void postConnect(int32_t code, const platform::Ipv4Address& address, int32_t port,
                     std::string list);
    void postPacket(std::vector<uint8_t> packet);
    void recordAnsweredServer();

    static inline Connection* instance_ = nullptr;

    std::unique_ptr<platform::TcpSocket> socket_;
    std::vector<uint8_t> receiveBuffer_;
    PacketReader reader_;
    // One writer for the life of the program: the send counter never starts again.
    PacketWriter writer_;
    bool raw_ = true;
    std::atomic<bool> lineFraming_{true};
    std::atomic<bool> sendBlocked_{false};
    std::atomic<uint32_t> pauseMs_{kPauseAfterOpenMs};
    // Moved by close() and stop so that a connect or pause in progress gives up.
    std::atomic<uint32_t> cancelGeneration_{0};

    // The server that answered from "CONNADDR", until the UI thread writes it to the settings.
    std::mutex answeredMutex_;
    std::optional<Answered> answered_;
};

}  // namespace vs::net
