#include "net/packet_delivery.h"

#include "app/input_man.h"
#include "base/log.h"
#include "net/packet_trace.h"
#include "platform/clock.h"

namespace vs::net {

void deliverPacket(std::vector<uint8_t> payload) {
    if (payload.empty()) {
        VS_DEBUG("empty payload dropped");
        return;
    }
    if (PacketTrace::enabled()) {
        auto* clock = platform::Clock::instance();
        PacketTrace::received(clock ? clock->nowMs() : 0, payload[0]);
    }
    if (auto* input = app::InputMan::instance()) input->data(0, std::move(payload));
}

}  // namespace vs::net
