#include "devserver/world.h"

#include <algorithm>

#include "base/byte_io.h"
#include "base/log.h"
#include "base/text.h"
#include "mkdata/content/demo_figures.h"
#include "mkdata/content/demo_sounds.h"
#include "mkdata/village_art.h"
#include "net/client_commands.h"
#include "net/server_messages.h"

namespace vs::devserver {

namespace {

using base::strprintf;
using Entity = World::Entity;
using Kind = World::Entity::Kind;

enum Role { kNone, kWanderer, kWalker, kSmith, kGuard, kTarget, kRespawn };

constexpr int32_t kColumns = 17, kRows = 15;
constexpr size_t kMapMessageLimit = 29000;
constexpr uint16_t kItemBase = 0xC000;

template <class M>
std::vector<uint8_t> msg(const M& m) {
    return net::build(net::ServerMessage(m));
}

net::Appearance figure(const mkdata::demo::FigureLook& f) {
    net::Appearance a;
    a.kind = net::Appearance::kCharacter;
    a.gender = f.gender, a.state = f.state, a.head = f.head, a.headTint = f.headTint;
    a.body = f.body, a.bodyColour = f.bodyColour, a.weapon = f.weapon;
    a.weaponTint = f.weaponTint, a.shield = f.shield, a.shieldTint = f.shieldTint;
    return a;
}

net::Appearance creature(uint16_t image) {
    net::Appearance a;
    a.kind = net::Appearance::kCreature;
    a.image = image;
    return a;
}

std::u16string text(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

}  // namespace

World::World(WorldOptions options, Send send, Trace trace)
    : options_(options), send_(std::move(send)), trace_(std::move(trace)), rng_(options.seed) {
    const auto& demo = mkdata::demoWorld();
    for (const auto& m : demo.maps) {
        Map& map = maps_[m.number];
        map.demo = &m;
        map.grid.Assign(m.number, m.width, m.height, m.cells);
    }
    namespace d = mkdata::demo;
    for (const auto& [key, map] : maps_) {
        const auto number = key;  // a copy: lambdas below capture it
        const auto& m = *map.demo;
        const int creatures = number == mkdata::kVillageMap ? 7 : 3;
        for (int i = 0; i < creatures; ++i) {
            Entity e;
            e.kind = Kind::Creature;
            e.map = number;
            e.role = kWanderer;
            const auto& look =
                number == mkdata::kVillageMap ? d::kCreatures[size_t(i) % 5] : d::kCreatures[2];
            e.look = creature(look.image);
            e.name = text(look.name);
            for (int tries = 0; tries < 100; ++tries) {
                e.x = m.meadow.left + int32_t(random(uint32_t(m.meadow.width())));
                e.y = m.meadow.top + int32_t(random(uint32_t(m.meadow.height())));
                if (free(number, e.x, e.y) && map.grid.cell(e.x, e.y)->object == 0) break;
            }
            e.due = 1000 + random(2000);
            spawn(e);
        }
        auto person = [&](mkdata::Spot at, const d::FigureLook& look, const char* name, int role,
                          uint8_t direction) {
            if (at.x < 0) return;
            Entity e;
            e.kind = Kind::Person;
            e.map = number, e.x = at.x, e.y = at.y, e.direction = direction;
            e.look = figure(look);
            e.name = text(name);
            e.role = role;
            e.due = 1500;
            spawn(e);
        };
        if (!m.walkerPath.empty()) person(m.walkerPath[0], d::kFigures[3], "Mira", kWalker, 1);
        person(m.smith, d::kFigures[0], "Smith Oskar", kSmith, 1);
        auto guard = d::kFigures[4];
        guard.shield = 16;  // the glowing shield
        person(m.guard, guard, "Guard Tamsin", kGuard, 1);
        if (m.guardTarget.x >= 0) {
            Entity t;
            t.kind = Kind::Creature;
            t.map = number, t.x = m.guardTarget.x, t.y = m.guardTarget.y, t.direction = 3;
            t.look = creature(d::kCreatures[0].image);
            t.name = u"practice slime";
            t.role = kTarget;
            spawn(t);
        }
        if (m.torch.x >= 0) {
            Entity i;
            i.kind = Kind::Item;
            i.map = number, i.x = m.torch.x, i.y = m.torch.y;
            i.look.kind = net::Appearance::kItem;
            i.look.image = uint16_t(kItemBase + mkdata::village::kTorch);
            spawn(i);
        }
    }
}

World::~World() = default;

World::Entity& World::spawn(Entity e) {
    e.id = nextId_++;
    return entities_[e.id] = e;
}

const World::Entity* World::entity(uint32_t id) const {
    const auto it = entities_.find(id);
    return it == entities_.end() ? nullptr : &it->second;
}

const World::Entity* World::player(int player) const {
    const auto it = players_.find(player);
    return it == players_.end() ? nullptr : entity(it->second.id);
}

std::vector<const World::Entity*> World::on(uint16_t map) const {
    std::vector<const Entity*> out;
    for (const auto& [id, e] : entities_)
        if (e.map == map && e.alive) out.push_back(&e);
    return out;
}

const vs::world::MapGrid& World::grid(uint16_t map) const {
    return maps_.at(map).grid;
}

void World::send(int player, std::vector<uint8_t> payload) {
    if (send_) send_(player, payload);
}

bool World::inArea(const Viewer& v, int32_t x, int32_t y) const {
    return x >= v.ox - 2 && x < v.ox + kColumns + 2 && y >= v.oy - 2 && y < v.oy + kRows + 2;
}

bool World::free(uint16_t map, int32_t x, int32_t y, uint32_t except) const {
    for (const auto& [id, e] : entities_)
        if (id != except && e.alive && e.map == map && e.x == x && e.y == y && e.kind != Kind::Item)
            return false;
    return true;
}

uint32_t World::enter(int player, const std::string& name, uint64_t now) {
    now_ = std::max(now_, now);
    if (next_ == 0) next_ = now + kTickMs;
    Entity self;
    self.kind = Kind::Player;
    self.map = mkdata::kVillageMap;
    self.look = figure(mkdata::demo::kFigures[players_.size() % mkdata::demo::kFigures.size()]);
    self.name = text(name);
    self.id = nextPlayerId_++;
    const auto& starts = maps_.at(self.map).demo->starts;
    self.x = starts[0].x, self.y = starts[0].y;
    for (const auto& s : starts) {
        if (free(self.map, s.x, s.y)) {
            self.x = s.x, self.y = s.y;
            break;
        }
    }
    entities_[self.id] = self;
    Viewer& v = players_[player];
    v.player = player;
    v.id = self.id;
    net::MsgUserAppearance me;
    me.id = self.id;
    me.facing = self.direction;
    send(player, msg(me));
    place(v, entities_[self.id], self.map, self.x, self.y);
    net::MsgMessage welcome;
    welcome.kind = 3;
    welcome.text = u"Welcome to Vestrel Village, " + self.name + u".";
    send(player, msg(welcome));
    return self.id;
}

void World::place(Viewer& v, Entity& self, uint16_t map, int32_t x, int32_t y) {
    const uint16_t oldMap = self.map;
    const int32_t oldX = self.x, oldY = self.y;
    if (self.alive && (oldMap != map || oldX != x || oldY != y)) {
        self.alive = false;  // others see it go before it comes back
        gone(self);
        self.alive = true;
    }
    self.map = map, self.x = x, self.y = y;
    const Map& m = maps_.at(map);
    net::MsgMapSize size;
    size.number = map;
    size.width = uint16_t(m.grid.width());
    size.height = uint16_t(m.grid.height());
    size.flags = m.demo->flags;
    size.name = text(m.demo->name);
    size.light = m.demo->light;
    send(v.player, msg(size));
    v.ox = std::clamp(x - 8, 0, std::max(0, m.grid.width() - kColumns));
    v.oy = std::clamp(y - 7, 0, std::max(0, m.grid.height() - kRows));
    send(v.player, msg(net::MsgUserPosition{uint16_t(x), uint16_t(y), uint16_t(x - v.ox),
                                            uint16_t(y - v.oy)}));
    show(v);
    // Players already here see the newcomer.
    for (auto& [p, other] : players_)
        if (&other != &v && entity(other.id)->map == map && inArea(other, x, y))
            appear(other, self);
}

void World::show(Viewer& v) {
    v.known.clear();
    const Entity& self = entities_.at(v.id);
    appear(v, self);
    const Map& m = maps_.at(self.map);
    for (const auto& [id, e] : entities_)
        if (id != v.id && e.alive && e.map == self.map && inArea(v, e.x, e.y)) appear(v, e);
    if (m.demo->fire.x >= 0) {
        net::MsgEffectLayer fire;
        fire.effect = uint8_t(mkdata::village::kFireplace);
        fire.duration = 3600;
        fire.x = uint16_t(m.demo->fire.x), fire.y = uint16_t(m.demo->fire.y);
        send(v.player, msg(fire));
    }
    if (m.demo->well.x >= 0) {
        // The well: a cell source, a sound every four seconds for as long as one is near.
        base::ByteWriter w;
        w.u8(net::kServerSoundEffect).u8(0).u8(3).u16be(mkdata::kSoundCoin).u8(60);
        w.u8(1).u8(4).u16be(uint32_t(m.demo->well.x)).u16be(uint32_t(m.demo->well.y));
        w.u8(3).u8(2).u16be(4000);
        w.u8(0).u8(0);
        send(v.player, w.take());
    }
}

void World::appear(Viewer& v, const Entity& e) {
    v.known.insert(e.id);
    if (e.kind == Kind::Player || e.kind == Kind::Person) {
        net::MsgCharacter c;
        c.x = uint16_t(e.x), c.y = uint16_t(e.y), c.direction = e.direction;
        c.id = e.id;
        c.appearance = e.look;
        c.name = e.name;
        send(v.player, msg(c));
        return;
    }
    net::MsgDrawObjects d;
    d.objects.push_back(
        {uint16_t(e.x), uint16_t(e.y), e.id, e.look.image, e.look.colour, e.direction});
    send(v.player, msg(d));
}

void World::vanish(Viewer& v, uint32_t id) {
    if (!v.known.erase(id)) return;
    send(v.player, msg(net::MsgRemoveObject{{id}}));
}

void World::toViewers(const Entity& e, const std::vector<uint8_t>& payload) {
    for (auto& [p, v] : players_)
        if (v.id != e.id && v.known.count(e.id)) send(p, payload);
}

void World::moved(const Entity& e, int32_t fromX, int32_t fromY) {
    for (auto& [p, v] : players_) {
        if (v.id == e.id || entity(v.id)->map != e.map) continue;
        const bool knows = v.known.count(e.id) > 0;
        const bool sees = inArea(v, e.x, e.y);
        if (knows && sees) {
            send(p, msg(net::MsgMoveObject{e.id, uint16_t(fromX), uint16_t(fromY), e.direction}));
            // The client drops a walker whose step ends outside its view widened by one cell:
            // it is sent again when it comes back.
            if (!vs::world::widenedView(v.ox, v.oy).contains(base::Point{e.x, e.y}))
                v.known.erase(e.id);
        } else if (knows) {
            vanish(v, e.id);
        } else if (sees) {
            appear(v, e);
        }
    }
}

void World::gone(const Entity& e) {
    for (auto& [p, v] : players_)
        if (v.id != e.id) vanish(v, e.id);
}

bool World::step(Entity& e, uint8_t direction) {
    const Map& m = maps_.at(e.map);
    const int32_t tx = e.x + vs::world::kStepDx[direction & 3];
    const int32_t ty = e.y + vs::world::kStepDy[direction & 3];
    const vs::world::WalkContext walk{mkdata::demoWorld().blocking};
    if (m.grid.Passable(e.x, e.y, direction, walk) != vs::world::Passage::Open ||
        !free(e.map, tx, ty, e.id))
        return false;
    const int32_t fromX = e.x, fromY = e.y;
    e.direction = direction;
    e.x = tx, e.y = ty;
    moved(e, fromX, fromY);
    return true;
}

void World::act(Entity& e, uint64_t now) {
    switch (e.role) {
        case kWanderer: {
            const auto& meadow = maps_.at(e.map).demo->meadow;
            const uint8_t d = uint8_t(random(4));
            const int32_t tx = e.x + vs::world::kStepDx[d], ty = e.y + vs::world::kStepDy[d];
            if (meadow.contains(base::Point{tx, ty})) step(e, d);
            e.due = now + 1000 + random(2000);
            if (random(20) == 0) {
                // Dies: the client plays its death, then it comes back elsewhere.
                toViewers(e, msg(net::MsgObjectGone{{e.id}}));
                for (auto& [p, v] : players_) v.known.erase(e.id);
                e.alive = false;
                e.role = kRespawn;
                e.due = now + 5000;
            }
            return;
        }
        case kRespawn: {
            const auto& meadow = maps_.at(e.map).demo->meadow;
            const int32_t x = meadow.left + int32_t(random(uint32_t(meadow.width())));
            const int32_t y = meadow.top + int32_t(random(uint32_t(meadow.height())));
            e.due = now + 1000;
            if (!free(e.map, x, y) || maps_.at(e.map).grid.cell(x, y)->object != 0) return;
            e.x = x, e.y = y;
            e.alive = true;
            e.role = kWanderer;
            for (auto& [p, v] : players_)
                if (entity(v.id)->map == e.map && inArea(v, x, y)) appear(v, e);
            return;
        }
        case kWalker: {
            const auto& path = maps_.at(e.map).demo->walkerPath;
            e.due = now + 600;
            if (path.size() < 2) return;
            int next = e.path + e.pathStep;
            if (next < 0 || next >= int(path.size())) {
                e.pathStep = -e.pathStep;
                next = e.path + e.pathStep;
            }
            const auto& to = path[size_t(next)];
            uint8_t d = to.x > e.x ? 1 : to.x < e.x ? 3 : to.y > e.y ? 2 : 0;
            if (step(e, d)) e.path = next;
            if (random(12) == 0) {
                net::MsgSay say;
                say.kind = 0;
                say.id = e.id;
                const char16_t* lines[] = {u"Lovely day by the lake.", u"Mind the wolves!",
                                           u"The smith has new blades."};
                say.text = lines[random(3)];
                toViewers(e, msg(say));
            }
            return;
        }
        case kSmith: {
            net::MsgMotion hammer;
            hammer.id = e.id;
            hammer.motion = 1;
            hammer.duration = 30;
            hammer.sound = uint8_t(mkdata::kSoundSwing);
            toViewers(e, msg(hammer));
            e.due = now + 2000;
            return;
        }
        case kGuard: {
            e.due = now + 3000;
            const Entity* target = nullptr;
            for (const auto& [id, t] : entities_)
                if (t.role == kTarget && t.map == e.map && t.alive) target = &t;
            if (!target) return;
            net::MsgFlyingObject shot;
            shot.shooter = e.id;
            shot.image = uint16_t(kItemBase + mkdata::village::kSword);
            shot.missile = nextId_++;
            shot.startX = uint16_t(e.x), shot.startY = uint16_t(e.y);
            shot.endX = uint16_t(target->x), shot.endY = uint16_t(target->y);
            shot.target = target->id;
            shot.motion = 2;
            toViewers(e, msg(shot));
            net::MsgDamageEffect hit;
            hit.id = target->id;
            hit.strength = 20;
            hit.healthPercent = uint8_t(20 + random(81));
            toViewers(*target, msg(hit));
            return;
        }
        default:
            e.due = now + 60000;
            return;
    }
}

void World::tick(uint64_t now) {
    now_ = now;
    if (next_ == 0 || now > next_ + 10000) next_ = now;  // a long pause is not caught up
    while (next_ <= now) {
        for (auto& [id, e] : entities_)
            if (e.kind != Kind::Player && e.due <= next_) act(e, next_);
        if (options_.hostile) hostile(next_);
        next_ += kTickMs;
    }
}

void World::leave(int player) {
    const auto it = players_.find(player);
    if (it == players_.end()) return;
    const uint32_t id = it->second.id;
    players_.erase(it);
    if (auto e = entities_.find(id); e != entities_.end()) {
        gone(e->second);
        entities_.erase(e);
    }
}

void World::teleport(int player, uint16_t map, int32_t x, int32_t y) {
    const auto it = players_.find(player);
    if (it == players_.end() || !maps_.count(map) || !maps_.at(map).grid.inside(x, y)) return;
    place(it->second, entities_.at(it->second.id), map, x, y);
}

void World::received(int player, std::span<const uint8_t> payload) {
    const auto it = players_.find(player);
    if (it == players_.end() || payload.empty()) return;
    if (payload[0] == net::kCmdAreaChecksum) checksum(it->second, payload);
}

void World::checksum(Viewer& v, std::span<const uint8_t> payload) {
    const auto cmd = net::parseClientCommand(payload);
    if (!cmd) return;
    const auto* c = std::get_if<net::CmdAreaChecksum>(&*cmd);
    if (!c) return;
    const auto& grid = maps_.at(entity(v.id)->map).grid;
    const base::Rect r = grid.Clip(base::Rect::fromSize(c->left, c->top, c->width, c->height));
    if (grid.Checksum(r) == c->checksum) {
        if (trace_) trace_(v.player, "area ok");
        return;
    }
    if (r.empty()) return;
    // Whole rows, each message under the limit.
    const size_t rowBytes = size_t(r.width()) * vs::world::MapGrid::kCellBytes;
    const int32_t rows = std::max<int32_t>(1, int32_t((kMapMessageLimit - 8) / rowBytes));
    for (int32_t top = r.top; top < r.bottom; top += rows) {
        net::MsgMap m;
        m.x = uint16_t(r.left), m.y = uint16_t(top);
        m.width = uint8_t(std::min(r.width(), 255));
        m.height = uint8_t(std::min(rows, r.bottom - top));
        for (int32_t y = top; y < top + m.height; ++y)
            for (int32_t x = r.left; x < r.left + m.width; ++x) {
                const auto* cell = grid.cell(x, y);
                m.cells.push_back({cell->tile, cell->flags, cell->object});
            }
        send(v.player, msg(m));
    }
    if (trace_) trace_(v.player, "area sent");
}

void World::hostile(uint64_t now) {
    // Every half second, to every player, one message a careful client must survive.
    if (now % 500 >= kTickMs) return;
    for (auto& [p, v] : players_) {
        const Entity& self = entities_.at(v.id);
        uint32_t some = 0;
        for (uint32_t id : v.known)
            if (id != v.id && (!some || random(3) == 0)) some = id;
        const uint16_t x = uint16_t(self.x), y = uint16_t(self.y);
        switch (random(12)) {
            case 0:  // a walk that starts far outside the view
                if (some) send(p, msg(net::MsgMoveObject{some, uint16_t(x + 40), y, 1}));
                break;
            case 1:  // the player's own id on an item
            {
                net::MsgDrawObjects d;
                d.objects.push_back({uint16_t(x + 1), y, v.id, uint16_t(kItemBase + 1), 0, 0});
                send(p, msg(d));
                break;
            }
            case 2:  // the player removed; the next 51 brings it back
                send(p, msg(net::MsgRemoveObject{{v.id}}));
                appear(v, self);
                break;
            case 3:  // a missile that needs no steps, and one of the longest
            {
                net::MsgFlyingObject f;
                f.shooter = some, f.missile = nextId_++, f.image = uint16_t(kItemBase + 1);
                f.startX = x, f.startY = y, f.endX = random(2) ? x : 65535, f.endY = y;
                f.target = some;
                send(p, msg(f));
                break;
            }
            case 4:  // hits beyond the colours
                if (some) send(p, msg(net::MsgDamageEffect{some, uint8_t(143 + random(113)), 0}));
                break;
            case 5:  // a motion of zero time and an unknown motion
                if (some) send(p, msg(net::MsgMotion{some, uint8_t(random(40)), 0, 255}));
                break;
            case 6:  // a sound effect whose blocks run short
            {
                const std::vector<uint8_t> cut = {
                    net::kServerSoundEffect, 0, 3, 0, 1, 100, 1, 4, 0};
                send(p, cut);
                break;
            }
            case 7:  // an id that names another kind of object
                if (some) {
                    net::MsgDrawObjects d;
                    d.objects.push_back({x, uint16_t(y + 1), some, uint16_t(kItemBase + 2), 0, 0});
                    send(p, msg(d));
                }
                break;
            case 8:  // a scene that does not exist
                send(p, msg(net::MsgScene{9999, 0x1234, 1, 3, 3}));
                break;
            case 9:  // ids nobody knows
                send(p, msg(net::MsgObjectGone{{0xFFFFFFF0u}}));
                send(p, msg(net::MsgMoveObject{0xFFFFFFF1u, x, y, 2}));
                break;
            case 10:  // the same map again, then a position off the map
                show(v);
                send(p, msg(net::MsgUserPosition{65535, 65535, 8, 7}));
                break;
            default:  // a looping effect with no end on an object, then one that ends it
                if (some) {
                    net::MsgEffectLayer e;
                    e.id = some, e.effect = uint8_t(1 + random(4)), e.duration = 0;
                    send(p, msg(e));
                }
                break;
        }
    }
}

// ---- the handler -------------------------------------------------------------------------------

WorldHandler::WorldHandler(Server& server, WorldOptions options, std::function<uint64_t()> clock)
    : server_(server),
      clock_(std::move(clock)),
      world_(
          options,
          [this](int player, std::span<const uint8_t> payload) {
              if (auto it = sessions_.find(player); it != sessions_.end())
                  it->second->send(payload);
          },
          [this](int player, const std::string& line) {
              server_.log(strprintf("[%d] %s", player, line.c_str()));
          }) {}

void WorldHandler::joined(Session& s) {
    sessions_[s.id()] = &s;
    world_.enter(s.id(), strprintf("Player%d", s.id()), clock_());
}

void WorldHandler::received(Session& s, std::span<const uint8_t> payload) {
    world_.received(s.id(), payload);
}

void WorldHandler::left(Session& s) {
    world_.leave(s.id());
    sessions_.erase(s.id());
}

void WorldHandler::tick() {
    world_.tick(clock_());
}

int WorldHandler::dueInMs() {
    const uint64_t now = clock_();
    const uint64_t next = world_.nextTick();
    return next == 0 ? 100 : next <= now ? 0 : int(std::min<uint64_t>(next - now, 100));
}

}  // namespace vs::devserver
