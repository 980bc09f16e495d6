// The sprite files that start-up opens (the image libraries' frames), so that the demo always
// starts. This content runs last and writes only the files no other content has written: the
// art of the image libraries, characters and creatures replaces these plain stand-ins.
#include <string>
#include <utility>
#include <vector>

#include "mkdata/content.h"
#include "mkdata/epf_writer.h"
#include "mkdata/sprite_art.h"

namespace {

using namespace vs::mkdata;

bool written(const DataSet& data, const std::string& name) {
    for (const auto& [file, archive] : data.archives()) {
        if (archive.contains(name)) return true;
    }
    return false;
}

void addIfMissing(DataSet& data, const std::string& archive, const std::string& name,
                  std::vector<uint8_t> bytes) {
    if (!written(data, name)) data.archive(archive).add(name, bytes);
}

// 24 × 24 ground tiles: frame 0 stays blank, then grass, dirt and water textures.
std::vector<uint8_t> tiles() {
    EpfWriter epf(24, 24);
    epf.add(SpriteFrame(0, 0, 24, 24, 0));
    const std::pair<uint8_t, uint32_t> kinds[] = {{64, 1}, {64, 2}, {96, 3}, {160, 4}};
    for (const auto& [first, seed] : kinds) {
        SpriteFrame f(0, 0, 24, 24);
        art::texture(f, first, 8, seed);
        epf.add(std::move(f));
    }
    return epf.build();
}

// Standing objects: a tree two tiles tall and a rock, bottom-aligned on their tile.
std::vector<uint8_t> objects() {
    EpfWriter epf(24, 48);
    SpriteFrame tree(0, 0, 24, 48);
    art::fillRect(tree, 10, 30, 4, 18, 112);
    art::fillEllipse(tree, 1, 2, 22, 32, 72);
    art::outline(tree, 66);
    epf.add(std::move(tree));
    SpriteFrame rock(0, 24, 24, 24);
    art::fillEllipse(rock, 3, 8, 18, 14, 136);
    art::outline(rock, 130);
    epf.add(std::move(rock));
    return epf.build();
}

// One round figure per file, centred on (0, 0) as items and figure parts are.
std::vector<uint8_t> figure(int size, uint8_t colour, int frames) {
    EpfWriter epf(size, size);
    for (int i = 0; i < frames; ++i) {
        SpriteFrame f(-size / 2, -size / 2, size, size);
        art::fillEllipse(f, 1 + i % 2, 1, size - 2, size - 2, uint8_t(colour + i));
        art::outline(f, uint8_t(colour - 2));
        epf.add(std::move(f));
    }
    return epf.build();
}

std::vector<uint8_t> plainTable(size_t count) {
    const std::vector<uint16_t> zeros(count, 0);
    return countedU16Table(zeros);
}

}  // namespace

MKDATA_CONTENT(startup_sprites, 900) {
    addIfMissing(data, "TILE.DAT", "TILE.EPF", tiles());
    addIfMissing(data, "TILE.DAT", "TILE.TBL", plainTable(5));
    addIfMissing(data, "TILE.DAT", "TILEC.EPF", objects());
    addIfMissing(data, "TILE.DAT", "TILEC.TBL", plainTable(2));
    addIfMissing(data, "MISC.DAT", "ITEM.EPF", figure(16, 200, 2));
    for (const char* part : {"HEAD.EPF", "BODY.EPF", "SWORD.EPF", "SPEAR.EPF", "FAN.EPF",
                             "SHIELD.EPF", "EMOTION.EPF", "GHOST.EPF"}) {
        addIfMissing(data, "CHAR.DAT", part, figure(24, 180, 4));
    }
    addIfMissing(data, "MON.DAT", "MONSTER.EPF", figure(32, 90, 4));
    addIfMissing(data, "EFX.DAT", "EFFECT.EPF", figure(24, 220, 4));
}
