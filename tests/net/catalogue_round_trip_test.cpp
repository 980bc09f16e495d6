// Both catalogues as tables: every message and command builds and parses back to itself, no
// prefix of it is taken for a message, and padding after it changes nothing.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/log.h"
#include "catalogue_samples.h"
#include "net/packet_trace.h"

namespace vs::net {
namespace {

using samples::commandSamples;
using samples::sampleContext;
using samples::serverSamples;

std::string hex(std::span<const uint8_t> b) {
    std::string s;
    for (uint8_t v : b) s += base::strprintf("%02X ", v);
    return s;
}

TEST(ServerCatalogue, EveryOpcodeHasASample) {
    std::set<int> sampled;
    for (const auto& s : serverSamples()) sampled.insert(opcodeOf(s.message));
    for (int op = 0; op < 256; ++op)
        EXPECT_EQ(isCatalogued(uint8_t(op)), sampled.count(op) == 1) << "opcode " << op;
    EXPECT_EQ(sampled.size(), std::variant_size_v<ServerMessage>);
}

TEST(ServerCatalogue, BuildThenParseGivesTheSameMessage) {
    for (const auto& s : serverSamples()) {
        const uint8_t op = opcodeOf(s.message);
        const auto payload = build(s.message);
        SCOPED_TRACE(std::string(serverMessageName(op)) + ": " + hex(payload));
        ASSERT_FALSE(payload.empty());
        EXPECT_EQ(payload[0], op);
        auto parsed = parseServerMessage(payload);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_TRUE(*parsed == s.message);
        // Line framing pads a payload with zero bytes; a last field that runs to the end takes
        // them in, every other message ignores them.
        auto padded = payload;
        padded.insert(padded.end(), {0, 0, 0});
        auto again = parseServerMessage(padded);
        ASSERT_TRUE(again.has_value());
        EXPECT_EQ(*again == s.message, !s.endsInRest);
    }
}

TEST(ServerCatalogue, EveryTruncatedPrefixIsRejected) {
    for (const auto& s : serverSamples()) {
        const auto payload = build(s.message);
        SCOPED_TRACE(serverMessageName(opcodeOf(s.message)));
        ASSERT_GE(payload.size(), s.optionalTail);
        for (size_t n = 0; n < payload.size() - s.optionalTail; ++n) {
            // A copy of exactly n bytes, so the sanitizers see any read past it.
            const std::vector<uint8_t> prefix(payload.begin(), payload.begin() + long(n));
            EXPECT_FALSE(parseServerMessage(prefix).has_value()) << n << " bytes";
        }
    }
}

TEST(ClientCatalogue, BuildThenParseGivesTheSameCommand) {
    const CommandContext context = sampleContext();
    std::set<int> sampled;
    for (const auto& s : commandSamples()) {
        const uint8_t op = opcodeOf(s.command);
        EXPECT_TRUE(sampled.insert(op).second) << "two samples of " << int(op);
        const auto payload = build(s.command);
        SCOPED_TRACE(std::string(clientCommandName(op)) + ": " + hex(payload));
        EXPECT_EQ(payload[0], op);
        auto parsed = parseClientCommand(payload, context);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_TRUE(*parsed == s.command);
        // What the server receives: the payload, the zero byte that sending adds, padding.
        auto received = payload;
        received.insert(received.end(), {0, 0, 0});
        auto again = parseClientCommand(received, context);
        ASSERT_TRUE(again.has_value());
        EXPECT_EQ(*again == s.command, !s.endsInRest);
    }
    EXPECT_EQ(sampled.size(), std::variant_size_v<ClientCommand>);
}

TEST(ClientCatalogue, EveryTruncatedPrefixIsRejected) {
    const CommandContext context = sampleContext();
    for (const auto& s : commandSamples()) {
        const auto payload = build(s.command);
        SCOPED_TRACE(clientCommandName(opcodeOf(s.command)));
        for (size_t n = 0; n < payload.size() - s.optionalTail; ++n) {
            const std::vector<uint8_t> prefix(payload.begin(), payload.begin() + long(n));
            EXPECT_FALSE(parseClientCommand(prefix, context).has_value()) << n << " bytes";
        }
    }
}

TEST(Catalogues, UnknownOpcodesParseToNothing) {
    for (uint8_t op : {1, 9, 20, 28, 40, 68, 83, 115, 116, 255}) {
        const std::vector<uint8_t> payload = {op, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        EXPECT_FALSE(parseServerMessage(payload).has_value()) << int(op);
    }
    for (uint8_t op : {1, 10, 20, 22, 33, 120, 255}) {
        const std::vector<uint8_t> payload = {op, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        EXPECT_FALSE(parseClientCommand(payload).has_value()) << int(op);
        EXPECT_EQ(clientCommandName(op), nullptr);
    }
}

}  // namespace
}  // namespace vs::net
