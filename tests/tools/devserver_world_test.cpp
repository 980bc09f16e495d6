// The dev server's living world, driven directly with a recording sender and a hand-moved clock.
#include "devserver/world.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "net/client_commands.h"
#include "net/server_messages.h"

namespace vs::devserver {
namespace {

using Bytes = std::vector<uint8_t>;

struct Recorder {
    std::map<int, std::vector<Bytes>> sent;
    std::vector<std::string> traces;
    World make(uint32_t seed = 1) {
        return World(
            WorldOptions{seed, false},
            [this](int p, std::span<const uint8_t> b) { sent[p].emplace_back(b.begin(), b.end()); },
            [this](int, const std::string& line) { traces.push_back(line); });
    }
    std::vector<net::ServerMessage> messages(int p) const {
        std::vector<net::ServerMessage> out;
        if (!sent.count(p)) return out;
        for (const auto& b : sent.at(p)) {
            auto m = net::parseServerMessage(b);
            EXPECT_TRUE(m) << "payload of opcode " << int(b.empty() ? -1 : b[0]);
            if (m) out.push_back(*m);
        }
        return out;
    }
};

template <class M>
std::vector<M> all(const std::vector<net::ServerMessage>& ms) {
    std::vector<M> out;
    for (const auto& m : ms)
        if (auto* x = std::get_if<M>(&m)) out.push_back(*x);
    return out;
}

// What a client knows of the objects around it, kept from the messages alone: each 12, 14, 17
// and 95 must name an object it was shown, and nothing it holds may stand outside its area.
struct ClientView {
    std::set<uint32_t> known;
    uint32_t own = 0;
    void apply(const std::vector<net::ServerMessage>& ms) {
        for (const auto& m : ms) {
            if (auto* a = std::get_if<net::MsgUserAppearance>(&m)) own = a->id;
            if (std::get_if<net::MsgMapSize>(&m)) known.clear();
            if (auto* c = std::get_if<net::MsgCharacter>(&m)) known.insert(c->id);
            if (auto* d = std::get_if<net::MsgDrawObjects>(&m))
                for (const auto& o : d->objects) known.insert(o.id);
            if (auto* mv = std::get_if<net::MsgMoveObject>(&m)) {
                EXPECT_TRUE(known.count(mv->id)) << "12 for unknown " << mv->id;
            }
            if (auto* r = std::get_if<net::MsgRemoveObject>(&m)) {
                EXPECT_TRUE(known.count(r->id)) << "14 for unknown " << r->id;
                known.erase(r->id);
            }
            if (auto* g = std::get_if<net::MsgObjectGone>(&m)) known.erase(g->id);
        }
    }
};

TEST(DevWorld, EnteringShowsTheMapThePlayerAndTheVillage) {
    Recorder r;
    World w = r.make();
    const uint32_t first = w.enter(1, "Ann", 1000);
    const auto ms = r.messages(1);
    ASSERT_GE(ms.size(), 5u);
    EXPECT_EQ(std::get<net::MsgUserAppearance>(ms[0]).id, first);
    const auto size = std::get<net::MsgMapSize>(ms[1]);
    EXPECT_EQ(size.number, 1);
    EXPECT_EQ(size.width, 96);
    EXPECT_EQ(size.name, u"Vestrel Village");
    EXPECT_EQ(size.light, 0);
    const auto pos = std::get<net::MsgUserPosition>(ms[2]);
    EXPECT_EQ(pos.x - pos.viewColumn, std::clamp(pos.x - 8, 0, 96 - 17));
    const auto characters = all<net::MsgCharacter>(ms);
    ASSERT_FALSE(characters.empty());
    EXPECT_EQ(characters[0].id, first);
    EXPECT_EQ(all<net::MsgMessage>(ms).back().kind, 3);

    const uint32_t second = w.enter(2, "Bob", 1000);
    EXPECT_NE(w.player(1)->x * 1000 + w.player(1)->y, w.player(2)->x * 1000 + w.player(2)->y);
    bool bobSeesAnn = false, annSeesBob = false;
    for (const auto& c : all<net::MsgCharacter>(r.messages(2))) bobSeesAnn |= c.id == first;
    for (const auto& c : all<net::MsgCharacter>(r.messages(1))) annSeesBob |= c.id == second;
    EXPECT_TRUE(bobSeesAnn);
    EXPECT_TRUE(annSeesBob);
    w.leave(2);
    EXPECT_EQ(all<net::MsgRemoveObject>(r.messages(1)).back().id, second);
}

TEST(DevWorld, AreaChecksumAnsweredWithTilesOnlyOnAMismatch) {
    Recorder r;
    World w = r.make();
    w.enter(1, "Ann", 1000);
    const auto pos = all<net::MsgUserPosition>(r.messages(1)).at(0);
    const int32_t ox = pos.x - pos.viewColumn, oy = pos.y - pos.viewRow;
    const base::Rect area = w.grid(1).Clip(vs::world::widenedView(ox, oy));
    net::CmdAreaChecksum c;
    c.left = uint16_t(area.left), c.top = uint16_t(area.top);
    c.width = uint8_t(area.width()), c.height = uint8_t(area.height());
    c.checksum = uint16_t(w.grid(1).Checksum(area) ^ 1);
    r.sent.clear();
    w.received(1, net::build(net::ClientCommand(c)));
    vs::world::MapGrid copy;
    copy.Assign(1, 96, 64, std::vector<vs::world::MapCell>(96 * 64));
    size_t cells = 0;
    for (const auto& b : r.sent[1]) EXPECT_LT(b.size(), 29000u);
    for (const auto& m : all<net::MsgMap>(r.messages(1))) {
        copy.ApplyServerTiles(
            m.x, m.y, m.width, m.height,
            std::span(reinterpret_cast<const vs::world::MapCell*>(m.cells.data()), m.cells.size()));
        cells += m.cells.size();
    }
    EXPECT_EQ(cells, size_t(area.width()) * area.height());
    EXPECT_EQ(copy.Checksum(area), w.grid(1).Checksum(area));
    EXPECT_EQ(r.traces.back(), "area sent");
    c.checksum = w.grid(1).Checksum(area);
    r.sent.clear();
    w.received(1, net::build(net::ClientCommand(c)));
    EXPECT_TRUE(r.sent[1].empty());
    EXPECT_EQ(r.traces.back(), "area ok");
}

TEST(DevWorld, LifeIsDeterministicAndOnlyNamesWhatTheViewerWasShown) {
    Recorder a, b;
    World wa = a.make(7), wb = b.make(7);
    wa.enter(1, "Ann", 1000);
    wb.enter(1, "Ann", 1000);
    ClientView view;
    view.apply(a.messages(1));
    a.sent.clear();
    size_t moves = 0;
    for (uint64_t t = 1000; t <= 61000; t += 100) {
        wa.tick(t);
        wb.tick(t);
        const auto ms = a.messages(1);
        view.apply(ms);
        moves += all<net::MsgMoveObject>(ms).size();
        a.sent.clear();
    }
    EXPECT_GT(moves, 20u);
    // The same seed, the same world.
    for (const auto* e : wa.on(1)) {
        const auto* twin = wb.entity(e->id);
        ASSERT_NE(twin, nullptr);
        EXPECT_EQ(twin->x, e->x);
        EXPECT_EQ(twin->y, e->y);
    }
    // Nothing shares a cell, and creatures stay on open cells.
    std::set<std::pair<int, int>> cells;
    for (const auto* e : wa.on(1)) {
        if (e->kind == World::Entity::Kind::Item) continue;
        EXPECT_TRUE(cells.insert({e->x, e->y}).second) << e->id;
        EXPECT_EQ(wa.grid(1).cell(e->x, e->y)->flags & 1, 0);
    }
}

TEST(DevWorld, TeleportTakesThePlayerToTheCellar) {
    Recorder r;
    World w = r.make();
    const uint32_t ann = w.enter(1, "Ann", 1000);
    w.enter(2, "Bob", 1000);
    r.sent.clear();
    w.teleport(1, 2, 10, 3);
    const auto ms = r.messages(1);
    const auto sizes = all<net::MsgMapSize>(ms);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].number, 2);
    EXPECT_GT(sizes[0].light, 0);
    EXPECT_EQ(w.player(1)->map, 2);
    EXPECT_EQ(all<net::MsgRemoveObject>(r.messages(2)).back().id, ann);
    w.teleport(1, 9, 1, 1);  // no such map
    EXPECT_EQ(w.player(1)->map, 2);
}

}  // namespace
}  // namespace vs::devserver
