// Sequences of server messages into a map view without libraries or a connection: each input
// is a series of (u8 milliseconds to wait, u16 length, payload). Whatever arrives, the objects
// stay inside the store's area, ids stay unique and attachments keep their owners.
#include <filesystem>
#include <set>

#include "app/frame_clock.h"
#include "base/byte_io.h"
#include "net/server_message_rules.h"
#include "platform/headless/fake_clock.h"
#include "table_input.h"
#include "world/map_pane.h"

namespace {

class Nowhere final : public vs::net::CommandSender {
  public:
    void send(std::span<const uint8_t>) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vs;
    base::ByteReader in(fuzz::input(data, size));
    static const auto maps = std::filesystem::temp_directory_path() / "vs_fuzz_map_pane";
    platform::FakeClock fake(1000);
    app::FrameClock clock(fake);
    clock.startTimers();
    Nowhere nowhere;
    {
        world::MapPane pane(&nowhere, maps);
        int fired = 0;
        while (in.remaining() >= 3 && fired < 10000) {
            const uint8_t wait = in.u8();
            const size_t length = std::min<size_t>(in.u16be(), in.remaining());
            const auto payload = in.bytes(length);
            if (auto m = net::parseServerMessage(payload)) pane.Handle(*m);
            for (int t = 0; t < wait; t += 10, ++fired) {
                fake.advance(10);
                clock.update();
            }
            const world::ObjectStore& s = pane.Store();
            std::set<uint32_t> ids;
            s.ForEach([&](world::ObjectPane* o) {
                if (!s.InArea(o->type(), o->x(), o->y())) __builtin_trap();
                if (o->id() && !ids.insert(o->id()).second) __builtin_trap();
                if (o->attachedTo() && !s.Holds(o->attachedTo())) __builtin_trap();
            });
            pane.CollectRemoved();
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(maps, ec);
    return 0;
}
