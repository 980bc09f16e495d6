#include "net/server_messages.h"

#include "base/log.h"
#include "net/packet_trace.h"
#include "net/wire_catalogue.h"

namespace vs::net {

namespace {
constexpr auto kCatalogue = Catalogue<ServerMessage>::make();
static_assert(kCatalogue.entries == std::variant_size_v<ServerMessage>,
              "two messages of the catalogue share an opcode");
}  // namespace

bool isCatalogued(uint8_t opcode) {
    return kCatalogue.parsers[opcode] != nullptr;
}

std::optional<ServerMessage> parseServerMessage(std::span<const uint8_t> payload) {
    auto m = kCatalogue.parse(payload, nullptr);
    if (!m && !payload.empty() && isCatalogued(payload[0])) {
        VS_DEBUG("message %s of %zu bytes dropped: short or out of range",
                 serverMessageName(payload[0]), payload.size());
    }
    return m;
}

uint8_t opcodeOf(const ServerMessage& message) {
    return kCatalogue.opcodeOf(message);
}

std::vector<uint8_t> build(const ServerMessage& message) {
    return kCatalogue.build(message);
}

}  // namespace vs::net
