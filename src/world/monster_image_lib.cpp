#include "world/monster_image_lib.h"

#include "resources/dat_file.h"
#include "resources/image_cache.h"
#include "resources/palette_manager.h"
#include "world/image_lib_support.h"

namespace vs::world {

using base::Rect;
using resources::ImageCache;

namespace {

constexpr int kCreaturePalettes = 10;
constexpr const char* kGhostFile = "GHOST.EPF";
constexpr const char* kGhostPalette = "GHOST.PAL";
// Frames whose bottom lies more than this above the foot line float.
constexpr int32_t kFloating = -4;
// Frames reaching this far below the foot line shadow only their part above it.
constexpr int32_t kDeepFoot = 6;
constexpr float kDetachedSquash = 1.5f;

}  // namespace

struct MonsterImageLib::Look {
    resources::PixMap picture;
    const resources::DLPalette* palette = nullptr;
    graphics::BlitOption option;
    const Creature* creature = nullptr;
    bool castsShadow = false;
};

MonsterImageLib::MonsterImageLib() {
    ImageCache* images = ImageCache::instance();
    frames_ =
        images ? images->LoadFrameSet("MONSTER.EPF") : std::make_unique<resources::FrameSet>();
    resources::DATFile dna("MONSTER.DNA");
    table_ = CreatureTable::parse(dna.View());
    instance_ = this;
}

MonsterImageLib::~MonsterImageLib() {
    if (instance_ == this) instance_ = nullptr;
}

bool MonsterImageLib::look(const Appearance& a, int motion, int frame, Look& out) const {
    if (a.state == state::kHidden || a.state >= state::kInvisible || a.image < kFirstImage)
        return false;
    const Creature* c = table_.find(int64_t(a.image) - kFirstImage);
    if (!c) return false;
    out.creature = c;
    auto* palettes = resources::PaletteManager::instance();
    if (a.state == state::kGhost) {
        ImageCache* images = ImageCache::instance();
        if (!images || images->GetFrameCount(kGhostFile) <= 0) return false;
        images->GetFrame(kGhostFile, 0, out.picture);
        out.palette = palettes ? palettes->GetPaletteByName(kGhostPalette) : nullptr;
        return out.picture.hasPixels() && !out.picture.bounds().empty();
    }
    const CreatureFrame rec = c->motion(motion).frame(frame);
    const int64_t index = int64_t(c->baseFrame) + rec.offset;
    if (index >= frames_->frameCount()) return false;
    resources::epf::view(*frames_, int(index), out.picture);
    if (!out.picture.hasPixels() || out.picture.bounds().empty()) return false;
    out.palette =
        palettes ? palettes->GetPalette(kCreaturePalettes, c->palette, a.colour / 32) : nullptr;
    const bool own = rec.opacity != 0;
    const bool translucent = own || a.state == state::kTranslucent;
    out.option = partOption(a.colour, translucent, own ? rec.opacity / 255.0f : kTranslucentWeight);
    out.castsShadow = a.state != state::kTranslucent;
    return true;
}

bool MonsterImageLib::shadowCast(const Look& look, const Rect& dst, ShadowCast& out) const {
    const Rect& r = look.picture.bounds();
    const int32_t b = r.bottom - kFootLine, t = r.top - kFootLine;
    const bool flying = look.creature->noGroundShadow;
    out = ShadowCast{r, dst, 0, shadow_.squash, shadow_.shear};
    if (b < kFloating) {
        if (flying) {
            out.step = kDetachedSquash;
            out.slant = 0.0f;
            out.offset = (b - t) / 2 - b;
        } else {
            out.offset = -b;
        }
        return true;
    }
    if (flying) return false;
    if (b >= kDeepFoot) {
        // Only the rows above the foot line.
        const int32_t cut = b;
        out.src.bottom -= cut;
        out.dst.bottom -= cut;
        if (out.src.empty()) return false;
    }
    return true;
}

void MonsterImageLib::DrawCreature(graphics::Canvas& target, base::Point position,
                                   const Appearance& a, int motion, int frame,
                                   int32_t silhouetteColour, graphics::LightMap* lightMap,
                                   float brightness) const {
    if (libraryDamaged()) return;
    Look l;
    if (!look(a, motion, frame, l)) return;
    const Rect& r = l.picture.bounds();
    drawPart(target, l.picture, r.offset(position.x - r.left, position.y - r.top), l.palette,
             l.option, silhouetteColour, lightMap, brightness);
}

void MonsterImageLib::GetCreatureBounds(const Appearance& a, int motion, int frame, Rect& bounds,
                                        Rect& shadowBounds) const {
    bounds = shadowBounds = Rect{};
    if (a.state == state::kHidden) {
        bounds = Rect{0, 0, 24, 24};
        return;
    }
    Look l;
    if (!look(a, motion, frame, l)) return;
    bounds = l.picture.bounds().offset(12, 12);
    ShadowCast cast;
    if (l.castsShadow && shadowCast(l, bounds, cast)) shadowBounds = shadowRect(cast);
}

void MonsterImageLib::DrawCreatureShadow(graphics::Canvas& target, base::Point position,
                                         const Appearance& a, int motion, int frame) const {
    if (libraryDamaged()) return;
    Look l;
    if (!look(a, motion, frame, l) || !l.castsShadow) return;
    const Rect& r = l.picture.bounds();
    ShadowCast cast;
    if (shadowCast(l, r.offset(position.x - r.left, position.y - r.top), cast))
        drawShadow(target, l.picture, cast, shadow_.strength);
}

}  // namespace vs::world
