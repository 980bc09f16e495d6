#include "world/human_image_lib.h"

#include <string_view>

#include "app/error.h"
#include "resources/image_cache.h"
#include "resources/palette_manager.h"
#include "world/image_lib_support.h"

namespace vs::world {

using base::Rect;
using resources::ImageCache;
using resources::PixMap;

namespace {

constexpr std::string_view kSetNames[] = {"HEAD.EPF",  "BODY.EPF", "SWORD.EPF",
                                          "SPEAR.EPF", "FAN.EPF",  "SHIELD.EPF"};
constexpr std::string_view kTableNames[] = {"HEAD.TBL",  "BODY.TBL", "SWORD.TBL",
                                            "SPEAR.TBL", "FAN.TBL",  "SHIELD.TBL"};
constexpr const char* kEmotionFile = "EMOTION.EPF";
constexpr const char* kGhostFile = "GHOST.EPF";
constexpr const char* kGhostPalette = "GHOST.PAL";
constexpr uint8_t kNoShield = 255;

// Palette types of the parts.
constexpr int kHeadPalettes = 3, kEmotionPalettes = 4, kBodyPalettes = 5, kShieldPalettes = 9;
constexpr int kWeaponPalettes[] = {0, 6, 7, 0, 8};  // by weapon class

// Walking frame offsets, and the first row of each weapon class standing or walking and in
// motion 1.
constexpr int kWalk[4] = {0, 1, 0, 2};
constexpr int kStandRows[5] = {0, 12, 32, 52, 12};
constexpr int kMotion1Rows[5] = {24, 24, 44, 64, 24};

constexpr DrawOrderWord kEmotionWord{'b', 'h', 'w', 's'};

ImageCache& cache() {
    ImageCache* c = ImageCache::instance();
    if (!c) throw app::MyError(u"The image cache is not ready");
    return *c;
}

const resources::DLPalette* palette(int type, int number, int slot) {
    auto* p = resources::PaletteManager::instance();
    return p ? p->GetPalette(type, number, slot) : nullptr;
}

// A frame of a set, when the index lies inside it and the frame has pixels.
bool setFrame(const resources::FrameSet* set, int64_t index, PixMap& out) {
    if (!set || index < 0 || index >= set->frameCount()) return false;
    resources::epf::view(*set, int(index), out);
    return out.hasPixels() && !out.bounds().empty();
}

bool cacheFrame(const char* name, int64_t index, int64_t count, PixMap& out) {
    if (index < 0 || index >= count) return false;
    cache().GetFrame(name, int(index), out);
    return out.hasPixels() && !out.bounds().empty();
}

}  // namespace

struct HumanImageLib::Figure {
    struct Part {
        PixMap picture;
        const resources::DLPalette* palette = nullptr;
        int32_t tint = 0;
        bool present = false;
    };
    Pose pose;
    std::array<Part, kParts> parts;
    Rect all;       // U: every part drawn
    Rect headBody;  // the head and body only
};

HumanImageLib::HumanImageLib() {
    ImageCache& images = cache();
    for (size_t k = 0; k < sets_.size(); ++k) {
        sets_[k] = images.LoadFrameSet(kSetNames[k]);
        tables_[k] =
            PartTable::parse(readEntry(kTableNames[k]),
                             k == kHeadTable ? PartTable::kHeadFallback : PartTable::kPartFallback);
    }
    drawOrder_ = DrawOrderTable::parse(readEntry("DRWORDER.TBL"));
    headCount_ = sets_[kHeadTable]->frameCount();
    emotionCount_ = images.GetFrameCount(kEmotionFile);
    images.GetFrameCount(kGhostFile);
    instance_ = this;
}

HumanImageLib::~HumanImageLib() {
    if (instance_ == this) instance_ = nullptr;
}

const PartEntry& HumanImageLib::weaponEntry(WeaponClass c, int32_t entry) const {
    switch (c) {
        case WeaponClass::Sword:
            return tables_[kSwordTable].at(entry);
        case WeaponClass::Spear:
            return tables_[kSpearTable].at(entry);
        case WeaponClass::Fan:
            return tables_[kFanTable].at(entry);
        default:
            return PartTable::kPartFallback;
    }
}

Pose HumanImageLib::ComputePose(const Appearance& a, int d, int motion, int f, int walk) const {
    Pose p;
    if (a.state >= state::kInvisible || motion < 0 || motion >= kPoseCount || d < 0 || d > 3)
        return p;
    if (a.state == state::kGhost) {
        p.order = {'h', 0, 0, 0};
        p.headFile = HeadFile::Ghost;
        p.head = a.head < tables_[kHeadTable].count() ? a.head : 0;
        return p;
    }
    if (a.state == state::kHidden) return p;

    const PartEntry& H = tables_[kHeadTable].at(a.head);
    const PartEntry& B = tables_[kBodyTable].at(a.body);
    const PartEntry& S = tables_[kShieldTable].at(a.shield);
    const int64_t emotion = 20 * int64_t(a.head);
    const bool twoFrames = f >= 0 && f <= 1;
    int64_t r = -1;  // the draw-order row, when the pose reads one
    // Weapon and shield frames of the standing, walking and motion-1 rows.
    auto arms = [&](bool standing, int64_t step) {
        const WeaponPick w = pickWeapon(a.weapon, standing);
        p.weaponClass = w.weaponClass;
        if (hasImage(w.weaponClass)) p.weapon = weaponEntry(w.weaponClass, w.entry).base + step;
        if (a.shield != kNoShield) p.shield = S.base + step;
        return int(w.weaponClass);
    };
    switch (motion) {
        case 0:
            if (walk < 0 || walk > 3) return Pose{};
            if (a.state == state::kPlain) {
                r = 80 + 3 * d + kWalk[walk];
            } else {
                const int c = arms(true, 3 * d + kWalk[walk]);
                r = kStandRows[c] + 3 * d + kWalk[walk];
            }
            break;
        case 1: {
            if (!twoFrames) return Pose{};
            const int c = arms(false, 2 * d + f + 12);
            r = kMotion1Rows[c] + 2 * d + f;
            break;
        }
        case 2:
        case 3:
            if (!twoFrames) return Pose{};
            r = (motion == 2 ? 24 : 64) + 2 * d + f;
            break;
        case 4:
        case 5:
            r = 76 + d;
            break;
        case 6:
            r = 72 + d;
            break;
        case 7:
        case 8:
            r = 92;
            break;
        case 9:
            r = 96 + d;
            break;
        case 10:
            r = 93;
            break;
        case 20:
            r = 95;
            p.head = emotion + 9;
            break;
        case 22:
            if (f < 0 || f > 3) return Pose{};
            r = 100 + f;
            p.head = emotion + 11 + f;
            break;
        case 24:
            r = 96 + d;
            p.head = emotion + 16 + d;
            break;
        default:  // 11 to 19, 21 and 23: a fixed word, the body of the standing row
            p.order = kEmotionWord;
            p.head = emotion + (motion == 23 ? 15 : motion - 11);
            p.body = B.base + 3 * d;
            break;
    }
    if (motion >= 11) {
        p.headFile = HeadFile::Emotion;
    } else {
        p.head = r + H.base;
    }
    if (r >= 0) {
        p.order = drawOrder_.word(r);
        p.body = r + B.base;
    }
    for (int64_t* v : {&p.head, &p.body, &p.weapon, &p.shield})
        if (*v < 0) *v = -1;
    return p;
}

void HumanImageLib::compose(const Appearance& a, int d, int motion, int f, int walk, Figure& out,
                            bool looks) const {
    out.pose = ComputePose(a, d, motion, f, walk);
    const Pose& p = out.pose;
    auto listed = [&p](char letter) {
        for (char c : p.order)
            if (c == letter) return true;
        return false;
    };
    auto& head = out.parts[kHead];
    if (listed('h')) {
        switch (p.headFile) {
            case HeadFile::Ghost:
                head.present =
                    cacheFrame(kGhostFile, p.head, cache().GetFrameCount(kGhostFile), head.picture);
                if (auto* pm = resources::PaletteManager::instance(); pm && looks)
                    head.palette = pm->GetPaletteByName(kGhostPalette);
                break;
            case HeadFile::Emotion:
                head.present = cacheFrame(kEmotionFile, p.head, emotionCount_, head.picture);
                if (looks) head.palette = palette(kEmotionPalettes, 0, 0);
                break;
            case HeadFile::Head:
                head.present =
                    p.head < headCount_ && setFrame(sets_[kHeadTable].get(), p.head, head.picture);
                if (looks)
                    head.palette =
                        palette(kHeadPalettes, tables_[kHeadTable].at(a.head).palette, 0);
                break;
        }
        head.tint = a.headTint;
    }
    auto& body = out.parts[kBody];
    if (listed('b') && setFrame(sets_[kBodyTable].get(), p.body, body.picture)) {
        body.present = true;
        if (looks)
            body.palette =
                palette(kBodyPalettes, tables_[kBodyTable].at(a.body).palette, a.bodyColour / 32);
        body.tint = a.bodyColour;
    }
    auto& shield = out.parts[kShield];
    if (listed('s') && setFrame(sets_[kShieldTable].get(), p.shield, shield.picture)) {
        shield.present = true;
        if (looks)
            shield.palette =
                palette(kShieldPalettes, tables_[kShieldTable].at(a.shield).palette, 0);
        shield.tint = a.shieldTint;
    }
    auto& weapon = out.parts[kWeapon];
    if (listed('w') && hasImage(p.weaponClass)) {
        const int c = int(p.weaponClass);
        const size_t set = c == 1 ? kSwordTable : c == 2 ? kSpearTable : kFanTable;
        if (setFrame(sets_[set].get(), p.weapon, weapon.picture)) {
            weapon.present = true;
            const WeaponPick w = pickWeapon(a.weapon, motion == 0);
            if (looks)
                weapon.palette =
                    palette(kWeaponPalettes[c], weaponEntry(w.weaponClass, w.entry).palette, 0);
            weapon.tint = a.weaponTint;
        }
    }
    for (int k = 0; k < kParts; ++k) {
        if (!out.parts[size_t(k)].present) continue;
        const Rect& r = out.parts[size_t(k)].picture.bounds();
        out.all = out.all.unite(r);
        if (k == kHead || k == kBody) out.headBody = out.headBody.unite(r);
    }
}

void HumanImageLib::DrawCharacter(graphics::Canvas& target, base::Point position,
                                  const Appearance& a, int d, int motion, int f, int walk,
                                  int32_t silhouetteColour, graphics::LightMap* lightMap,
                                  float brightness, bool headOnly) const {
    if (libraryDamaged() || a.state == state::kHidden || a.state >= state::kInvisible) return;
    Figure fig;
    compose(a, d, motion, f, walk, fig, true);
    const bool translucent = a.state == state::kTranslucent;
    for (char letter : fig.pose.order) {
        const int kind = letter == 'b'   ? kBody
                         : letter == 'h' ? kHead
                         : letter == 'w' ? kWeapon
                         : letter == 's' ? kShield
                                         : -1;
        if (kind < 0 || (headOnly && kind != kHead)) continue;
        const auto& part = fig.parts[size_t(kind)];
        if (!part.present) continue;
        const Rect dst =
            part.picture.bounds().offset(position.x - fig.all.left, position.y - fig.all.top);
        drawPart(target, part.picture, dst, part.palette,
                 partOption(part.tint, translucent, kTranslucentWeight), silhouetteColour, lightMap,
                 brightness);
    }
}

void HumanImageLib::bounds(const Appearance& a, int d, int motion, int f, int walk, bool full,
                           Rect& bounds, Rect& shadowBounds) const {
    bounds = shadowBounds = Rect{};
    if (a.state == state::kHidden) {
        bounds = Rect{0, 0, 24, 24};
        return;
    }
    if (a.state >= state::kInvisible) return;
    Figure fig;
    compose(a, d, motion, f, walk, fig, false);
    bounds = (full ? fig.all : fig.headBody);
    if (!bounds.empty()) bounds = bounds.offset(12, 12);
    if (a.state == state::kGhost || a.state == state::kTranslucent) return;
    for (const auto& part : fig.parts) {
        if (!part.present) continue;
        const Rect r = part.picture.bounds().offset(12, 12);
        shadowBounds = shadowBounds.unite(
            shadowRect(footShadow(part.picture.bounds(), r, kFootLine + 12, shadow_)));
    }
}

void HumanImageLib::GetBounds(const Appearance& a, int d, int motion, int f, int walk, Rect& bounds,
                              Rect& shadowBounds) const {
    this->bounds(a, d, motion, f, walk, false, bounds, shadowBounds);
}

void HumanImageLib::GetFullBounds(const Appearance& a, int d, int motion, int f, int walk,
                                  Rect& bounds, Rect& shadowBounds) const {
    this->bounds(a, d, motion, f, walk, true, bounds, shadowBounds);
}

void HumanImageLib::DrawShadow(graphics::Canvas& target, base::Point position, const Appearance& a,
                               int d, int motion, int f, int walk) const {
    if (libraryDamaged() || a.state == state::kGhost || a.state == state::kHidden ||
        a.state == state::kTranslucent || a.state >= state::kInvisible)
        return;
    Figure fig;
    compose(a, d, motion, f, walk, fig, false);
    if (fig.all.empty()) return;
    const int32_t dx = position.x - fig.all.left, dy = position.y - fig.all.top;
    for (const auto& part : fig.parts) {
        if (!part.present) continue;
        const Rect& src = part.picture.bounds();
        drawShadow(target, part.picture,
                   footShadow(src, src.offset(dx, dy), kFootLine + dy, shadow_), shadow_.strength);
    }
}

}  // namespace vs::world
