#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "devserver/dev_server.h"
#include "mkdata/demo_world.h"
#include "net/wire_records.h"
#include "world/map_grid.h"

// The dev server's living world: the demo's maps, the people and creatures on them, and what
// every player sees of them. One thread; time comes from an injected clock, chance from a
// seeded generator, so a test that calls tick() sees the same world every run.
namespace vs::devserver {

struct WorldOptions {
    uint32_t seed = 1;
    bool hostile = false;  // also sends malformed and extreme messages
};

class World {
  public:
    using Send = std::function<void(int player, std::span<const uint8_t> payload)>;
    using Trace = std::function<void(int player, const std::string& line)>;
    static constexpr uint64_t kTickMs = 100;
    static constexpr uint32_t kFirstPlayerId = 0x10000;

    World(WorldOptions options, Send send, Trace trace = {});
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // A player arrives (next to the inn, one per cell) and is shown the world; returns its id.
    uint32_t enter(int player, const std::string& name, uint64_t now);
    void leave(int player);
    void received(int player, std::span<const uint8_t> payload);
    // Runs every timer due at `now` (100 ms steps).
    void tick(uint64_t now);
    uint64_t nextTick() const { return next_; }
    // Takes the player to a cell of a map, as the stairs do.
    void teleport(int player, uint16_t map, int32_t x, int32_t y);

    struct Entity {
        uint32_t id = 0;
        uint16_t map = 0;
        int32_t x = 0, y = 0;
        uint8_t direction = 2;
        enum class Kind { Player, Person, Creature, Item } kind = Kind::Creature;
        net::Appearance look;
        std::u16string name;
        uint64_t due = 0;  // its next act
        int role = 0;      // what it does (world.cpp)
        bool alive = true;
        int path = 0, pathStep = 1;
    };
    const Entity* entity(uint32_t id) const;
    const Entity* player(int player) const;
    std::vector<const Entity*> on(uint16_t map) const;
    const vs::world::MapGrid& grid(uint16_t map) const;
    size_t playerCount() const { return players_.size(); }

  private:
    struct Viewer {
        int player = 0;
        uint32_t id = 0;
        int32_t ox = 0, oy = 0;
        std::set<uint32_t> known;
    };
    struct Map {
        const mkdata::DemoMap* demo = nullptr;
        vs::world::MapGrid grid;
    };

    void send(int player, std::vector<uint8_t> payload);
    void show(Viewer& v);
    void appear(Viewer& v, const Entity& e);
    void vanish(Viewer& v, uint32_t id);
    bool inArea(const Viewer& v, int32_t x, int32_t y) const;
    // Everyone who sees the entity hears of its step, turn or going, through the same area
    // rule the client keeps.
    void moved(const Entity& e, int32_t fromX, int32_t fromY);
    void gone(const Entity& e);
    void toViewers(const Entity& e, const std::vector<uint8_t>& payload);
    bool free(uint16_t map, int32_t x, int32_t y, uint32_t except = 0) const;
    bool step(Entity& e, uint8_t direction);
    void act(Entity& e, uint64_t now);
    void checksum(Viewer& v, std::span<const uint8_t> payload);
    void place(Viewer& v, Entity& self, uint16_t map, int32_t x, int32_t y);
    Entity& spawn(Entity e);
    uint32_t random(uint32_t n) { return n ? uint32_t(rng_() % n) : 0; }
    void hostile(uint64_t now);

    WorldOptions options_;
    Send send_;
    Trace trace_;
    std::mt19937 rng_;
    std::map<uint16_t, Map> maps_;
    std::map<uint32_t, Entity> entities_;
    std::map<int, Viewer> players_;
    uint32_t nextId_ = 1;
    uint32_t nextPlayerId_ = kFirstPlayerId;
    uint64_t now_ = 0, next_ = 0;
};

// The world as the server's handler: a client that passes its version check enters at once.
class WorldHandler final : public Handler {
  public:
    WorldHandler(Server& server, WorldOptions options, std::function<uint64_t()> clock);
    void joined(Session& s) override;
    void received(Session& s, std::span<const uint8_t> payload) override;
    void left(Session& s) override;
    void tick() override;
    int dueInMs() override;
    World& world() { return world_; }

  private:
    Server& server_;
    std::function<uint64_t()> clock_;
    std::map<int, Session*> sessions_;
    World world_;
};

}  // namespace vs::devserver
