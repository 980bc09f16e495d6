#include "net/packet_framing.h"

#include "base/log.h"

namespace vs::net {

namespace {

constexpr char kFirstGroupChar = ';';  // 59: the character of the value 0

char groupChar(unsigned v) {
    return char(kFirstGroupChar + (v & 63));
}
unsigned groupValue(char c) {
    return uint8_t(uint8_t(c) - uint8_t(kFirstGroupChar)) & 63;
}

void appendGroup(std::vector<uint8_t>& line, std::span<const uint8_t> g) {
    const unsigned c = g[0];
    const unsigned d = g.size() > 1 ? g[1] : 0;
    const unsigned e = g.size() > 2 ? g[2] : 0;
    line.push_back(uint8_t(groupChar(c >> 2)));
    if (g.size() == 1) {
        line.push_back(uint8_t(groupChar((c & 3) << 4)));
        line.push_back(uint8_t(kFirstGroupChar));
        line.push_back(uint8_t(kFirstGroupChar));
        return;
    }
    line.push_back(uint8_t(groupChar(((c << 4) & 63) | (d >> 4))));
    if (g.size() == 2) {
        line.push_back(uint8_t(groupChar((d & 15) << 2)));
        line.push_back(uint8_t(kFirstGroupChar));
        return;
    }
    line.push_back(uint8_t(groupChar(((d << 2) & 63) | (e >> 6))));
    line.push_back(uint8_t(groupChar(e & 63)));
}

// Characters the line reader never sees: controls other than LF, blanks, and 123..255.
bool ignoredInLines(uint8_t c) {
    return (c <= 9) || (c >= 11 && c <= 32) || c >= 123;
}

}  // namespace

// ---- sending -----------------------------------------------------------------------------------

std::vector<uint8_t> PacketWriter::wireForm(std::span<const uint8_t> payload) {
    if (inClear_(framing_, payload[0])) return {payload.begin(), payload.end()};
    return encipher(payload, counter_++);
}

std::vector<std::vector<uint8_t>> PacketWriter::write(std::span<const uint8_t> payload) {
    std::vector<std::vector<uint8_t>> writes;
    if (payload.empty()) return writes;
    if (framing_ == Framing::Binary) {
        // The enciphered form is one byte longer; it must still fit the length field.
        if (payload.size() + 1 > kMaxFramePayload) {
            VS_WARN("a payload of %zu bytes does not fit a frame; not sent", payload.size());
            return writes;
        }
        const std::vector<uint8_t> wire = wireForm(payload);
        std::vector<uint8_t> frame;
        frame.reserve(wire.size() + 3);
        frame.push_back(kFrameStart);
        frame.push_back(uint8_t(wire.size() >> 8));
        frame.push_back(uint8_t(wire.size()));
        frame.insert(frame.end(), wire.begin(), wire.end());
        writes.push_back(std::move(frame));
        return writes;
    }
    const std::vector<uint8_t> wire = wireForm(payload);
    for (size_t at = 0; at < wire.size(); at += kLineBytes) {
        const auto part = std::span(wire).subspan(at, std::min(kLineBytes, wire.size() - at));
        const size_t groups = (part.size() + 2) / 3;
        std::vector<uint8_t> line;
        line.reserve(5 + groups * 4);
        line.push_back(at == 0 ? '*' : '+');
        line.push_back(uint8_t('0' + lineNumber_));
        lineNumber_ = uint8_t((lineNumber_ + 1) % 10);
        line.push_back(uint8_t('0' + groups));
        for (size_t g = 0; g < part.size(); g += 3)
            appendGroup(line, part.subspan(g, std::min<size_t>(3, part.size() - g)));
        line.push_back(at + kLineBytes < wire.size() ? ',' : '.');
        line.push_back('\n');
        writes.push_back(std::move(line));
    }
    return writes;
}

// ---- binary frames -----------------------------------------------------------------------------

void BinaryFrameReader::reset() {
    state_ = State::Idle;
    length_ = count_ = 0;
    buffer_.clear();
}

void BinaryFrameReader::feed(std::span<const uint8_t> bytes, const PayloadSink& sink) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        const uint8_t b = bytes[i];
        switch (state_) {
            case State::Resync:
                if (b != kFrameStart) break;
                [[fallthrough]];
            case State::Idle:
                // The server starts every frame with 0xAA; the value itself is not checked.
                state_ = State::Length1;
                break;
            case State::Length1:
                length_ = size_t(b) << 8;
                state_ = State::Length2;
                break;
            case State::Length2:
                length_ += b;
                count_ = 0;
                if (length_ == 0 || length_ > kReceiveBufferSize) {
                    VS_DEBUG("binary frame of length %zu skipped", length_);
                    ++skipped_;
                    state_ = length_ == 0 ? State::Resync : State::Skip;
                } else {
                    buffer_.clear();
                    buffer_.reserve(length_);
                    state_ = State::Body;
                }
                break;
            case State::Skip: {
                const size_t n = std::min(length_ - count_, bytes.size() - i);
                count_ += n;
                i += n - 1;
                if (count_ == length_) state_ = State::Resync;
                break;
            }
            case State::Body: {
                const size_t n = std::min(length_ - buffer_.size(), bytes.size() - i);
                buffer_.insert(buffer_.end(), bytes.begin() + std::ptrdiff_t(i),
                               bytes.begin() + std::ptrdiff_t(i + n));
                i += n - 1;
                if (buffer_.size() == length_) {
                    state_ = State::Idle;
                    std::vector<uint8_t> payload = inClear_(Framing::Binary, buffer_[0])
                                                       ? std::move(buffer_)
                                                       : decipher(buffer_);
                    buffer_ = {};
                    sink(std::move(payload));
                }
                break;
            }
        }
    }
}

// ---- line framing ------------------------------------------------------------------------------

std::optional<std::vector<uint8_t>> decodeLineText(std::string_view text, uint8_t& expectedLine) {
    std::vector<uint8_t> out;
    bool bad = false;
    size_t announced = 0, groups = 0;
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c >= '0' && c <= '9' && i + 1 < text.size() && text[i + 1] >= '1' &&
            text[i + 1] <= ':') {
            const auto line = uint8_t(c - '0');
            if (line != expectedLine) bad = true;
            expectedLine = uint8_t((line + 1) % 10);
            announced += size_t(text[i + 1] - '0');
            i += 2;
        } else if (c < kFirstGroupChar) {
            ++i;
        } else if (i + 4 > text.size()) {
            bad = true;  // a group cut short by the end of the payload
            break;
        } else {
            const unsigned x1 = groupValue(text[i]), x2 = groupValue(text[i + 1]),
                           x3 = groupValue(text[i + 2]), x4 = groupValue(text[i + 3]);
            out.push_back(uint8_t((x1 << 2) | (x2 >> 4)));
            out.push_back(uint8_t((x2 << 4) | (x3 >> 2)));
            out.push_back(uint8_t((x3 << 6) | x4));
            ++groups;
            i += 4;
        }
    }
    if (bad || announced != groups) return std::nullopt;
    return out;
}

void LineFrameReader::reset() {
    inFrame_ = false;
    text_.clear();
    expectedLine_ = 0;
}

void LineFrameReader::feed(std::span<const uint8_t> bytes, const PayloadSink& sink) {
    for (uint8_t c : bytes) {
        if (ignoredInLines(c)) continue;
        if (c == '*') {
            inFrame_ = true;
            text_.clear();
            continue;
        }
        if (!inFrame_) continue;
        if (c != '.') {
            // A payload never fills the buffer; past its end the last character is replaced.
            if (text_.size() < kReceiveBufferSize - 1)
                text_.push_back(char(c));
            else
                text_.back() = char(c);
            continue;
        }
        inFrame_ = false;
        std::optional<std::vector<uint8_t>> bytesOut = decodeLineText(text_, expectedLine_);
        text_.clear();
        if (!bytesOut) {
            // Passed on with a zeroed opcode it would read as a version answer: drop it.
            VS_DEBUG("line-framed payload with wrong line numbers or group counts dropped");
            ++dropped_;
            continue;
        }
        if (bytesOut->empty()) continue;
        if (!inClear_(Framing::Lines, (*bytesOut)[0])) *bytesOut = decipher(*bytesOut);
        sink(std::move(*bytesOut));
    }
}

}  // namespace vs::net
