#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "net/cipher.h"

namespace vs::net {

// Binary frames: 0xAA, the payload length (big-endian u16), the payload.
constexpr uint8_t kFrameStart = 0xAA;
constexpr size_t kMaxFramePayload = 0xFFFF;
// Received payloads are collected in a buffer of this size; a longer frame is skipped.
constexpr size_t kReceiveBufferSize = 40000;
// Line framing: at most this many payload bytes per line, three bytes to four characters.
constexpr size_t kLineBytes = 30;

// Receives each complete payload.
using PayloadSink = std::function<void(std::vector<uint8_t>)>;
// Which opcodes travel in clear in the direction a reader or writer serves. The client's own
// are the defaults; the development server builds the other side with the other rule.
using ClearRule = bool (*)(Framing, uint8_t);

// The client's side of sending: enciphers a payload unless its opcode travels in clear, and
// frames it. The send counter runs for the life of this object; reset() (a new socket) only
// starts the line numbers again.
class PacketWriter {
public:
    explicit PacketWriter(ClearRule inClear = sentInClear) : inClear_(inClear) {}
    void setFraming(Framing framing) { framing_ = framing; }
    Framing framing() const { return framing_; }
    void reset() { lineNumber_ = 0; }

    // The writes for one payload, in order: one frame in binary framing, one text line per
    // element in line framing. Nothing for an empty payload or one too long for a frame.
    std::vector<std::vector<uint8_t>> write(std::span<const uint8_t> payload);

    uint8_t sendCounter() const { return counter_; }
    void setSendCounter(uint8_t c) { counter_ = c; }
    uint8_t lineNumber() const { return lineNumber_; }

private:
    std::vector<uint8_t> wireForm(std::span<const uint8_t> payload);

    ClearRule inClear_;
    Framing framing_ = Framing::Binary;
    uint8_t counter_ = 0;
    uint8_t lineNumber_ = 0;
};

// Reads binary frames from a byte stream split anyhow. A frame of length 0, or one longer than
// the receive buffer, is skipped whole; reading then goes on at the next 0xAA.
class BinaryFrameReader {
public:
    explicit BinaryFrameReader(ClearRule inClear = receivedInClear) : inClear_(inClear) {}
    void reset();
    void feed(std::span<const uint8_t> bytes, const PayloadSink& sink);
    size_t skippedFrames() const { return skipped_; }

private:
    enum class State : uint8_t { Idle, Length1, Length2, Body, Skip, Resync };
    ClearRule inClear_;
    State state_ = State::Idle;
    size_t length_ = 0, count_ = 0;
    std::vector<uint8_t> buffer_;
    size_t skipped_ = 0;
};

// Reads line-framed payloads from a character stream split anyhow. A payload whose line numbers
// or group counts do not add up is dropped.
class LineFrameReader {
public:
    explicit LineFrameReader(ClearRule inClear = receivedInClear) : inClear_(inClear) {}
    void reset();
    void feed(std::span<const uint8_t> bytes, const PayloadSink& sink);
    uint8_t expectedLine() const { return expectedLine_; }
    size_t droppedPayloads() const { return dropped_; }

private:
    ClearRule inClear_;
    bool inFrame_ = false;
    std::string text_;
    uint8_t expectedLine_ = 0;
    size_t dropped_ = 0;
};

// The decoded bytes (before deciphering) of the text stored for one line-framed payload: the
// characters after the '*', without the final '.'. Line numbers are checked against and move
// `expectedLine`. Nothing when the text is bad.
std::optional<std::vector<uint8_t>> decodeLineText(std::string_view text, uint8_t& expectedLine);

// Both readers behind the framing the server chose; payloads come out deciphered.
class PacketReader {
public:
    explicit PacketReader(ClearRule inClear = receivedInClear)
        : binary_(inClear), lines_(inClear) {}
    void setFraming(Framing framing) { framing_ = framing; }
    Framing framing() const { return framing_; }
    void reset() {
        binary_.reset();
        lines_.reset();
    }
    void feed(std::span<const uint8_t> bytes, const PayloadSink& sink) {
        framing_ == Framing::Binary ? binary_.feed(bytes, sink) : lines_.feed(bytes, sink);
    }
    const BinaryFrameReader& binary() const { return binary_; }
    const LineFrameReader& lines() const { return lines_; }

private:
    Framing framing_ = Framing::Binary;
    BinaryFrameReader binary_;
    LineFrameReader lines_;
};

}  // namespace vs::net
