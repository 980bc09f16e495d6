#include "net/packet_framing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "net/cipher.h"

namespace vs::net {
namespace {

using Bytes = std::vector<uint8_t>;

std::string text(const Bytes& b) {
    return std::string(b.begin(), b.end());
}
Bytes bytes(std::string_view s) {
    return Bytes(s.begin(), s.end());
}

Bytes randomBytes(std::mt19937& rng, size_t n) {
    Bytes b(n);
    for (auto& x : b) x = uint8_t(rng());
    return b;
}

Bytes joined(const std::vector<Bytes>& writes) {
    Bytes all;
    for (const auto& w : writes) all.insert(all.end(), w.begin(), w.end());
    return all;
}

// A frame as the server sends it: the payload enciphered with the server's counter unless its
// opcode travels in clear.
Bytes serverFrame(const Bytes& payload, uint8_t counter) {
    const Bytes wire =
        receivedInClear(Framing::Binary, payload[0]) ? payload : encipher(payload, counter);
    Bytes f{kFrameStart, uint8_t(wire.size() >> 8), uint8_t(wire.size())};
    f.insert(f.end(), wire.begin(), wire.end());
    return f;
}

std::vector<Bytes> feedInChunks(PacketReader& reader, const Bytes& stream, size_t chunk) {
    std::vector<Bytes> out;
    for (size_t at = 0; at < stream.size(); at += chunk) {
        const size_t n = std::min(chunk, stream.size() - at);
        reader.feed(std::span(stream).subspan(at, n),
                    [&](Bytes p) { out.push_back(std::move(p)); });
    }
    return out;
}

std::vector<Bytes> readLines(PacketReader& reader, std::string_view stream) {
    reader.setFraming(Framing::Lines);
    return feedInChunks(reader, bytes(stream), stream.size() + 1);
}

TEST(Cipher, EnciphersWithKeyCounterAndBlockNumber) {
    // Body byte k is XORed with key[k mod 9], the counter and the block number k div 9, which
    // is left out where it equals the counter.
    const Bytes payload(1 + 20, 0);
    const uint8_t s = 1;
    const Bytes r = encipher(payload, s);
    ASSERT_EQ(r.size(), payload.size() + 1);
    EXPECT_EQ(r[0], 0);
    EXPECT_EQ(r[1], s);
    for (size_t k = 0; k < 20; ++k) {
        const auto block = uint8_t(k / 9);
        const uint8_t mix = block == s ? 0 : block;
        EXPECT_EQ(r[2 + k], uint8_t(kCipherKey[k % 9] ^ s ^ mix)) << k;
    }
    // An opcode alone: the opcode and the counter.
    EXPECT_EQ(encipher(Bytes{0x33}, 7), (Bytes{0x33, 7}));
    EXPECT_EQ(decipher(Bytes{0x33, 7}), (Bytes{0x33}));
    EXPECT_EQ(decipher(Bytes{0x33}), (Bytes{0x33}));
}

TEST(Cipher, DecipherUndoesEncipherForEveryCounter) {
    std::mt19937 rng(5);
    for (int s = 0; s < 256; ++s) {
        // Long enough for block numbers to pass the counter value.
        const Bytes p = randomBytes(rng, 1 + size_t(rng() % 3000));
        EXPECT_EQ(decipher(encipher(p, uint8_t(s))), p) << "counter " << s;
    }
}

TEST(Cipher, ClearOpcodesPerDirectionAndFraming) {
    struct Case {
        Framing framing;
        bool sent;
        Bytes clear;
    };
    const Case cases[] = {
        {Framing::Binary, true, {0x00, 0x10, 0x48}},
        {Framing::Lines, true, {0x00, 0x48, 0x50}},
        {Framing::Binary, false, {0x00, 0x03, 0x40}},
        {Framing::Lines, false, {0x00, 0x40}},
    };
    for (const auto& c : cases) {
        for (int op = 0; op < 256; ++op) {
            const bool expected = std::find(c.clear.begin(), c.clear.end(), op) != c.clear.end();
            const bool got = c.sent ? sentInClear(c.framing, uint8_t(op))
                                    : receivedInClear(c.framing, uint8_t(op));
            EXPECT_EQ(got, expected) << "opcode " << op << " sent " << c.sent;
        }
    }
}

TEST(PacketWriter, BinaryFramesAndTheSendCounter) {
    PacketWriter w;
    // The version packet for 310, build 0.
    auto frames = w.write(Bytes{0x00, 0x01, 0x36, 0xC5, 0x00, 0x00, 0x00});
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], (Bytes{0xAA, 0x00, 0x07, 0x00, 0x01, 0x36, 0xC5, 0x00, 0x00, 0x00}));
    EXPECT_EQ(w.sendCounter(), 0);  // only enciphered packets are numbered

    EXPECT_EQ(w.write(Bytes{0x05})[0], (Bytes{0xAA, 0x00, 0x02, 0x05, 0x00}));
    EXPECT_EQ(w.write(Bytes{0x05})[0], (Bytes{0xAA, 0x00, 0x02, 0x05, 0x01}));

    w.setSendCounter(255);
    EXPECT_EQ(w.write(Bytes{0x05})[0].back(), 255);
    EXPECT_EQ(w.write(Bytes{0x05})[0].back(), 0);
    w.reset();  // a new socket: the counter goes on
    EXPECT_EQ(w.sendCounter(), 1);

    // Nothing to send, or too long for the length field once enciphered.
    EXPECT_TRUE(w.write(Bytes{}).empty());
    EXPECT_TRUE(w.write(Bytes(kMaxFramePayload, 0x05)).empty());
    EXPECT_EQ(w.sendCounter(), 1);
    EXPECT_EQ(w.write(Bytes(kMaxFramePayload - 1, 0x05))[0].size(), 3 + kMaxFramePayload);
}

TEST(PacketWriter, LineFraming) {
    struct Case {
        const char* name;
        Bytes payload;
        std::vector<std::string> lines;
    };
    const std::string groups10(40, ';');
    const Case cases[] = {
        {"three bytes", {0x00, 0x01, 0x02}, {"*01;;?=.\n"}},
        {"two bytes", {0x00, 0x41}, {"*01;??;.\n"}},
        {"one byte", {0x00}, {"*01;;;;.\n"}},
        {"thirty bytes", Bytes(30, 0), {"*0:" + groups10 + ".\n"}},
        {"thirty-one bytes", Bytes(31, 0), {"*0:" + groups10 + ",\n", "+11;;;;.\n"}},
    };
    for (const auto& c : cases) {
        PacketWriter w;
        w.setFraming(Framing::Lines);
        std::vector<std::string> got;
        for (const auto& l : w.write(c.payload)) got.push_back(text(l));
        EXPECT_EQ(got, c.lines) << c.name;
    }
}

TEST(PacketWriter, LineNumbersRunModuloTenAcrossPayloads) {
    PacketWriter w;
    w.setFraming(Framing::Lines);
    std::string numbers;
    for (int i = 0; i < 6; ++i)
        for (const auto& l : w.write(Bytes(31, 0))) numbers.push_back(char(l[1]));
    EXPECT_EQ(numbers, "012345678901");
    w.reset();
    EXPECT_EQ(w.write(Bytes{0})[0][1], '0');
    // In lines 0x10 is enciphered (it is clear only in binary frames), 0x50 the other way.
    EXPECT_EQ(w.write(Bytes{0x10, 1}).size(), 1u);
    EXPECT_EQ(w.sendCounter(), 1);
    w.write(Bytes{0x50, 1});
    EXPECT_EQ(w.sendCounter(), 1);
}

TEST(LineFrameReader, DecodesAndDropsBadPayloads) {
    struct Case {
        const char* name;
        std::string stream;
        std::vector<Bytes> payloads;
    };
    const Case cases[] = {
        {"two bytes", "*01;??;.\n", {{0x00, 0x41, 0x00}}},
        {"carriage returns and blanks vanish", "*0 1;?\r?;.\r\n", {{0x00, 0x41, 0x00}}},
        {"noise before the first star", "login: ok\n*01;??;.\n", {{0x00, 0x41, 0x00}}},
        {"a star starts again", "*01;;*01;??;.\n", {{0x00, 0x41, 0x00}}},
        {"two lines", "*01;??;,\n+11;??;.\n", {{0x00, 0x41, 0x00, 0x00, 0x41, 0x00}}},
        {"wrong line number", "*31;??;.\n", {}},
        {"count above the groups", "*02;??;.\n", {}},
        {"count below the groups", "*01;??;;??;.\n", {}},
        {"group cut short", "*01;??.\n", {}},
        {"no groups at all", "*.\n", {}},
    };
    for (const auto& c : cases) {
        PacketReader r;
        EXPECT_EQ(readLines(r, c.stream), c.payloads) << c.name;
    }
}

TEST(LineFrameReader, FollowsTheSendersNumberingAfterABadPayload) {
    PacketReader r;
    // Line 3 arrives where 0 was expected: dropped, and line 4 is expected next.
    EXPECT_TRUE(readLines(r, "*31;??;.\n").empty());
    EXPECT_EQ(r.lines().droppedPayloads(), 1u);
    EXPECT_EQ(readLines(r, "*41;??;.\n"), (std::vector<Bytes>{{0x00, 0x41, 0x00}}));
    r.reset();
    EXPECT_EQ(readLines(r, "*01;??;.\n").size(), 1u);
}

TEST(LineFrameReader, OverlongTextStaysInItsBuffer) {
    PacketReader r;
    std::string stream = "*0:" + std::string(kReceiveBufferSize * 2, 'a') + ".\n*11;??;.\n";
    // The overlong payload (line 0) is dropped; the reader is whole for the next one.
    EXPECT_EQ(readLines(r, stream), (std::vector<Bytes>{{0x00, 0x41, 0x00}}));
}

TEST(LineFraming, SentPayloadsComeBackPaddedToWholeGroups) {
    std::mt19937 rng(9);
    PacketWriter w;
    w.setFraming(Framing::Lines);
    PacketReader r;
    r.setFraming(Framing::Lines);
    for (int i = 0; i < 200; ++i) {
        Bytes p = randomBytes(rng, 1 + size_t(rng() % 100));
        // Opcode 0 travels in clear both ways; others are enciphered by the client and
        // deciphered here as the server's would be.
        if (i % 2 == 0) p[0] = 0;
        std::vector<Bytes> got;
        for (const auto& line : w.write(p))
            r.feed(line, [&](Bytes b) { got.push_back(std::move(b)); });
        ASSERT_EQ(got.size(), 1u) << i;
        if (p[0] == 0) {
            Bytes padded = p;
            padded.resize((p.size() + 2) / 3 * 3, 0);
            EXPECT_EQ(got[0], padded) << i;
        } else if (!receivedInClear(Framing::Lines, p[0])) {
            ASSERT_GE(got[0].size(), p.size());
            EXPECT_EQ(Bytes(got[0].begin(), got[0].begin() + std::ptrdiff_t(p.size())), p) << i;
        }
    }
}

TEST(BinaryFrameReader, SkipsEmptyAndOverlongFramesAndResynchronises) {
    const Bytes good = serverFrame({0x40, 1, 2, 3}, 0);
    struct Case {
        const char* name;
        Bytes stream;
        size_t skipped;
    };
    Bytes overlong{0xAA, uint8_t((kReceiveBufferSize + 1) >> 8), uint8_t(kReceiveBufferSize + 1)};
    overlong.resize(overlong.size() + kReceiveBufferSize + 1, 0xAA);
    const Case cases[] = {
        {"length zero", {0xAA, 0x00, 0x00}, 1},
        {"length zero, then noise", {0xAA, 0x00, 0x00, 0x01, 0x02}, 1},
        {"longer than the buffer, body full of start bytes", overlong, 1},
    };
    for (const auto& c : cases) {
        Bytes stream = c.stream;
        stream.insert(stream.end(), good.begin(), good.end());
        for (size_t chunk : {size_t(1), size_t(5), stream.size()}) {
            PacketReader r;
            EXPECT_EQ(feedInChunks(r, stream, chunk), (std::vector<Bytes>{{0x40, 1, 2, 3}}))
                << c.name << ", chunks of " << chunk;
            EXPECT_EQ(r.binary().skippedFrames(), c.skipped) << c.name;
        }
    }
    // A frame that fills the buffer exactly is still a frame.
    Bytes full(kReceiveBufferSize, 7);
    full[0] = 0x40;
    PacketReader r;
    EXPECT_EQ(feedInChunks(r, serverFrame(full, 0), 4096), (std::vector<Bytes>{full}));
}

TEST(PacketReader, PayloadsDoNotDependOnHowTheStreamIsSplit) {
    std::mt19937 rng(17);
    std::vector<Bytes> binaryPayloads, linePayloads;
    Bytes binaryStream, lineStream;
    PacketWriter lineSender;  // opcode 0 keeps the line text in clear
    lineSender.setFraming(Framing::Lines);
    for (int i = 0; i < 40; ++i) {
        Bytes p = randomBytes(rng, 1 + size_t(rng() % 200));
        const Bytes frame = serverFrame(p, uint8_t(rng()));
        binaryStream.insert(binaryStream.end(), frame.begin(), frame.end());
        binaryPayloads.push_back(p);
        p[0] = 0;
        const Bytes lines = joined(lineSender.write(p));
        lineStream.insert(lineStream.end(), lines.begin(), lines.end());
        p.resize((p.size() + 2) / 3 * 3, 0);
        linePayloads.push_back(p);
    }
    for (size_t chunk : {size_t(1), size_t(2), size_t(3), size_t(7), size_t(64), size_t(100000)}) {
        PacketReader binary;
        EXPECT_EQ(feedInChunks(binary, binaryStream, chunk), binaryPayloads) << chunk;
        PacketReader lines;
        lines.setFraming(Framing::Lines);
        EXPECT_EQ(feedInChunks(lines, lineStream, chunk), linePayloads) << chunk;
    }
}

}  // namespace
}  // namespace vs::net
