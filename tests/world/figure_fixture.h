#pragma once
// Tiny character and creature data for the figure library tests: each part one solid colour in
// one rectangle, tables that tests replace entry by entry, mounted from memory.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/rect.h"
#include "mkdata/archive_writer.h"
#include "mkdata/epf_writer.h"
#include "mkdata/figure_tables_writer.h"
#include "platform/headless/memory_file_mapper.h"
#include "resources/archive_manager.h"
#include "resources/image_cache.h"
#include "world/human_image_lib.h"
#include "world/monster_image_lib.h"

namespace vs::test {

using mkdata::CreatureFrameRecord;
using mkdata::CreatureRecord;
using mkdata::PartRecord;

// `frames` copies of a solid rectangle (frame coordinates).
inline std::vector<uint8_t> solidSet(int frames, base::Rect r, uint8_t colour) {
    mkdata::EpfWriter epf(48, 48);
    for (int i = 0; i < frames; ++i)
        epf.add(mkdata::SpriteFrame(r.left, r.top, r.width(), r.height(), colour));
    return epf.build();
}

// Where the tiny parts lie: the body stands on the foot line (y 12), the head overlaps its top
// rows, the weapon reaches left across its left edge, the shield overlaps its right edge.
inline constexpr base::Rect kBodyRect{-4, -6, 4, 12};
inline constexpr base::Rect kHeadRect{-3, -12, 3, -4};
inline constexpr base::Rect kWeaponRect{-10, -2, -2, 1};
inline constexpr base::Rect kShieldRect{2, -3, 7, 4};
inline constexpr base::Rect kGhostRect{-5, -10, 5, 8};
inline constexpr uint8_t kBodyColour = 60, kHeadColour = 20, kWeaponColour = 100,
                         kShieldColour = 120, kEmotionColour = 30, kGhostColour = 40;

struct FigureFiles {
    std::map<std::string, std::vector<uint8_t>> chars, monsters;

    FigureFiles() {
        chars["BODY.EPF"] = solidSet(104, kBodyRect, kBodyColour);
        chars["HEAD.EPF"] = solidSet(104 * 2, kHeadRect, kHeadColour);
        chars["EMOTION.EPF"] = solidSet(40, kHeadRect, kEmotionColour);
        chars["GHOST.EPF"] = solidSet(2, kGhostRect, kGhostColour);
        for (const char* w : {"SWORD.EPF", "SPEAR.EPF", "FAN.EPF"})
            chars[w] = solidSet(20, kWeaponRect, kWeaponColour);
        chars["SHIELD.EPF"] = solidSet(20, kShieldRect, kShieldColour);
        const PartRecord heads[] = {{0, 0, 0}, {0, 0, 104}};
        chars["HEAD.TBL"] = mkdata::partTableFile(heads);
        const PartRecord one[] = {{0, 0, 0}};
        for (const char* t : {"BODY.TBL", "SWORD.TBL", "SPEAR.TBL", "FAN.TBL", "SHIELD.TBL"})
            chars[t] = mkdata::partTableFile(one);
        words(std::vector<std::string>(104, "bhws"));
        monsters["MONSTER.EPF"] = solidSet(4, {-6, -10, 6, 12}, 80);
        const CreatureRecord c{0, false, 0, {{{0, 100, 0, 0, 0, 0}}}};
        creatures({c});
    }
    void words(const std::vector<std::string>& w) {
        chars["DRWORDER.TBL"] = mkdata::drawOrderFile(w);
    }
    void creatures(const std::vector<CreatureRecord>& c) {
        monsters["MONSTER.DNA"] = mkdata::creatureTableFile(c);
    }
};

// The libraries over mounted copies of the files.
class FigureLibs {
  public:
    explicit FigureLibs(const FigureFiles& f) {
        mount("CHAR.DAT", f.chars);
        mount("MON.DAT", f.monsters);
        human = std::make_unique<world::HumanImageLib>();
        monster = std::make_unique<world::MonsterImageLib>();
    }
    ~FigureLibs() {
        monster.reset();
        human.reset();
    }

    platform::MemoryFileMapper files;
    resources::ArchiveManager archives{files};
    resources::ImageCache cache{1 << 24};
    std::unique_ptr<world::HumanImageLib> human;
    std::unique_ptr<world::MonsterImageLib> monster;

  private:
    void mount(const std::string& name,
               const std::map<std::string, std::vector<uint8_t>>& entries) {
        mkdata::ArchiveWriter a;
        for (const auto& [entry, bytes] : entries) a.add(entry, bytes);
        files.add(name, a.build());
        archives.Mount(name);
    }
};

}  // namespace vs::test
