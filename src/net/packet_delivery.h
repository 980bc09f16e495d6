#pragma once
#include <cstdint>
#include <vector>

namespace vs::net {

// Hands a received payload to every packet handler as a packet event (kind 17), after the
// packet trace. An empty payload carries no opcode and never reaches a handler.
void deliverPacket(std::vector<uint8_t> payload);

}  // namespace vs::net
