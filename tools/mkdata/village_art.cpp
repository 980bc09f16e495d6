#include "mkdata/village_art.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "base/byte_io.h"
#include "mkdata/content/demo_palette.h"
#include "mkdata/epf_writer.h"
#include "mkdata/image_table_writer.h"
#include "mkdata/sprite_art.h"

namespace vs::mkdata::village {

namespace {

using namespace demo;
using art::noise;
using world::tables::Effect;
using world::tables::EffectFrame;
using world::tables::EffectList;
using world::tables::ItemInfo;
using world::tables::LightInfo;
using world::tables::ObjectInfo;

constexpr int kT = 24;

uint8_t shade(Ramp r, int s) {
    return colour(r, std::clamp(s, 0, 15));
}

// --- ground ---------------------------------------------------------------------------------

// Textures are seamless: noise hashed by the position inside the tile only, and the patterns
// repeat every 24 pixels.
uint8_t grassAt(int x, int y, uint32_t seed) {
    const int n = noise(x, y, seed);
    return shade(kGrass, 6 + n % 4 + (noise(x / 3, y / 3, seed + 9) % 3) - 1);
}

uint8_t dirtAt(int x, int y) {
    const int n = noise(x, y, 21);
    return n < 20 ? shade(kEarth, 4) : shade(kEarth, 8 + n % 3);
}

// Diagonal waves through the cycling run, with a light crest here and there.
uint8_t waterAt(int x, int y) {
    if (noise(x / 2, y, 33) < 10 && (x + y) % 6 == 0) return shade(kWater, 14);
    const int band = ((x + 2 * y) / 3 + noise(x, y, 34) % 2) % 8;
    return uint8_t(kWaterCycleFirst + band);
}

// Grass reaches in from the sides named by the edge number (0 for none).
bool grassSide(int edge, int x, int y) {
    const int ragged = 4 + noise(x, y, 44) % 3;
    const bool n = y < ragged, s = y >= kT - ragged, e = x >= kT - ragged, w = x < ragged;
    switch (edge) {
        case kEdgeN:
            return n;
        case kEdgeE:
            return e;
        case kEdgeS:
            return s;
        case kEdgeW:
            return w;
        case kCornerNE:
            return n || e;
        case kCornerSE:
            return s || e;
        case kCornerSW:
            return s || w;
        case kCornerNW:
            return n || w;
        default:
            return false;
    }
}

SpriteFrame groundTile(uint8_t (*inner)(int, int), int edge) {
    SpriteFrame f(0, 0, kT, kT);
    for (int y = 0; y < kT; ++y) {
        for (int x = 0; x < kT; ++x) {
            f.at(x, y) = grassSide(edge, x, y) ? grassAt(x, y, 1) : inner(x, y);
        }
    }
    return f;
}

SpriteFrame plainTile(uint8_t (*at)(int, int)) {
    return groundTile(at, 0);
}

uint8_t grass1(int x, int y) {
    return grassAt(x, y, 1);
}
uint8_t grass2(int x, int y) {
    return grassAt(x, y, 2);
}
uint8_t cobbleAt(int x, int y) {
    // Stones of 6 × 6 with dark joints, every other row shifted.
    const int sx = (x + (y / 6 % 2) * 3) % 6, sy = y % 6;
    if (sx == 0 || sy == 0) return shade(kStone, 3);
    return shade(kStone,
                 8 + noise((x + (y / 6 % 2) * 3) / 6, y / 6, 51) % 4 - (sx == 5 || sy == 5));
}
uint8_t sandAt(int x, int y) {
    return shade(kSand, 9 + noise(x, y, 61) % 3);
}
uint8_t woodAt(int x, int y) {
    if (y % 6 == 0) return shade(kEarth, 4);
    if (x == (y / 6 * 7) % 24) return shade(kEarth, 5);
    return shade(kEarth, 9 + (noise(x / 4, y, 71) % 2));
}

SpriteFrame flowers(SpriteFrame f, uint32_t seed, Ramp petal) {
    for (int i = 0; i < 5; ++i) {
        const int x = 2 + noise(i, 0, seed) % 20, y = 2 + noise(i, 1, seed) % 20;
        f.put(x, y, shade(petal, 13));
        f.put(x + 1, y, shade(petal, 11));
        f.put(x, y + 1, shade(petal, 11));
        f.put(x - 1, y, shade(petal, 11));
        f.put(x, y - 1, shade(petal, 11));
        f.put(x, y, shade(kGold, 14));
    }
    return f;
}

// --- pieces -------------------------------------------------------------------------------------

// A picture of a whole object, n tiles tall, cut into pieces from the top.
struct Tall {
    SpriteFrame f;
    explicit Tall(int n) : f(0, 0, kT, kT * n) {}
};

void tree(SpriteFrame& f, int tall, uint32_t seed) {
    const int h = f.height;
    art::fillRect(f, 10, h - 20, 4, 18, shade(kEarth, 5));
    art::fillRect(f, 11, h - 20, 1, 18, shade(kEarth, 8));
    const int crown = tall == 3 ? h - 18 : h - 16;
    art::fillEllipse(f, 1, 1, 22, crown, shade(kFoliage, 6));
    // Light from the upper left, leaves in clumps.
    for (int y = 0; y < crown + 1; ++y) {
        for (int x = 0; x < kT; ++x) {
            if (f.at(x, y) != shade(kFoliage, 6)) continue;
            const int light = (24 - x + crown - y) * 6 / (24 + crown);
            f.at(x, y) = shade(kFoliage, 4 + light + noise(x / 2, y / 2, seed) % 4);
        }
    }
    art::outline(f, shade(kFoliage, 1));
}

void house(SpriteFrame& f, int kind) {
    // Roof (top tile), upper wall, and the ground floor: plain, window or door.
    for (int y = 0; y < kT; ++y) {
        for (int x = 0; x < kT; ++x) {
            const bool tile = (x + (y / 4 % 2) * 3) % 6 == 0 || y % 4 == 0;
            f.at(x, y) =
                shade(kRoof, tile ? 4 : 8 + (noise(x / 3, y / 4, 81) % 3) + (y > 18 ? -2 : 0));
        }
    }
    for (int y = kT; y < 3 * kT; ++y) {
        for (int x = 0; x < kT; ++x) {
            const bool joint = y % 6 == 0 || (x + (y / 6 % 2) * 6) % 12 == 0;
            f.at(x, y) = shade(kSand, joint ? 5 : 10 + noise(x / 4, y / 6, 82) % 2);
        }
    }
    art::fillRect(f, 0, kT, kT, 2, shade(kEarth, 3));  // the eaves' shadow
    if (kind == kWindowWall) {
        art::fillRect(f, 5, 2 * kT + 3, 14, 13, shade(kEarth, 4));
        art::fillRect(f, 7, 2 * kT + 5, 10, 9, shade(kGold, 12));
        art::fillRect(f, 11, 2 * kT + 5, 2, 9, shade(kEarth, 4));
        art::fillRect(f, 7, 2 * kT + 9, 10, 1, shade(kEarth, 4));
    } else if (kind == kDoorWall) {
        art::fillRect(f, 6, 2 * kT + 4, 12, 20, shade(kEarth, 3));
        art::fillRect(f, 7, 2 * kT + 5, 10, 19, shade(kEarth, 7));
        for (int x = 9; x < 17; x += 3) art::fillRect(f, x, 2 * kT + 5, 1, 19, shade(kEarth, 5));
        f.put(15, 2 * kT + 15, shade(kGold, 14));
    }
}

SpriteFrame single(int height) {
    return SpriteFrame(0, 0, kT, height);
}

// The pieces, bottom first, of each object, and the frames they add.
struct PieceSet {
    EpfWriter epf{kT, kT};
    std::vector<uint16_t> palettes{0};
    std::vector<ObjectInfo> objects{ObjectInfo{}};

    PieceSet() { epf.add(SpriteFrame(0, 0, kT, kT)); }  // frame 0: the empty piece

    // cyclingPiece counts from the top piece.
    void add(const SpriteFrame& whole, int32_t light, uint8_t lightHeight, uint8_t blocking,
             int cyclingPiece = -1) {
        const int n = whole.height / kT;
        ObjectInfo o;
        o.light = light;
        o.lightHeight = lightHeight;
        o.blocking = blocking;
        std::vector<uint16_t> top;
        for (int j = 0; j < n; ++j) {
            SpriteFrame piece(0, 0, kT, kT);
            for (int y = 0; y < kT; ++y)
                for (int x = 0; x < kT; ++x) piece.at(x, y) = whole.at(x, j * kT + y);
            const auto frame = uint16_t(epf.frames());
            epf.add(std::move(piece));
            palettes.push_back(j == cyclingPiece ? 0x8000 : 0);
            top.push_back(frame);
        }
        o.pieces.assign(top.rbegin(), top.rend());
        objects.push_back(std::move(o));
    }
};

PieceSet buildPieces() {
    PieceSet s;
    {
        Tall t(2);
        tree(t.f, 2, 91);
        s.add(t.f, -1, 0, kBlockAll);
    }
    {
        Tall t(3);
        tree(t.f, 3, 92);
        s.add(t.f, -1, 0, kBlockAll);
    }
    {
        SpriteFrame b = single(kT);
        art::fillEllipse(b, 2, 8, 20, 15, shade(kFoliage, 7));
        for (int y = 0; y < kT; ++y)
            for (int x = 0; x < kT; ++x)
                if (b.at(x, y)) b.at(x, y) = shade(kFoliage, 5 + noise(x / 2, y / 2, 93) % 5);
        b.put(8, 12, shade(kRed, 12)), b.put(15, 15, shade(kRed, 12)),
            b.put(12, 10, shade(kRed, 13));
        art::outline(b, shade(kFoliage, 1));
        s.add(b, -1, 0, kBlockAll);
    }
    {
        SpriteFrame r = single(kT);
        art::fillEllipse(r, 3, 9, 18, 14, shade(kStone, 8));
        for (int y = 0; y < kT; ++y)
            for (int x = 0; x < kT; ++x)
                if (r.at(x, y))
                    r.at(x, y) = shade(kStone, 6 + (24 - x - y) / 5 + noise(x, y, 94) % 2);
        art::outline(r, shade(kStone, 2));
        s.add(r, -1, 0, kBlockAll);
    }
    {
        SpriteFrame h = single(kT);  // along the cell's bottom edge
        art::fillRect(h, 0, 10, kT, 3, shade(kEarth, 8));
        art::fillRect(h, 0, 17, kT, 3, shade(kEarth, 8));
        art::fillRect(h, 2, 7, 3, 17, shade(kEarth, 6));
        art::fillRect(h, 19, 7, 3, 17, shade(kEarth, 6));
        art::outline(h, shade(kEarth, 3));
        s.add(h, -1, 0, 4);
    }
    {
        SpriteFrame v = single(kT);  // along the cell's right edge
        art::fillRect(v, 18, 0, 3, kT, shade(kEarth, 8));
        art::fillRect(v, 17, 2, 5, 4, shade(kEarth, 6));
        art::fillRect(v, 17, 15, 5, 4, shade(kEarth, 6));
        art::outline(v, shade(kEarth, 3));
        s.add(v, -1, 0, 2);
    }
    {
        SpriteFrame p = single(kT);
        art::fillRect(p, 9, 4, 6, 20, shade(kEarth, 7));
        art::fillRect(p, 9, 4, 2, 20, shade(kEarth, 9));
        art::outline(p, shade(kEarth, 3));
        s.add(p, -1, 0, kBlockAll);
    }
    for (int kind : {kWall, kWindowWall, kDoorWall}) {
        Tall t(3);
        house(t.f, kind);
        s.add(t.f, kind == kWindowWall ? kWindowGlow : -1, 0, kBlockAll);
    }
    {
        Tall t(2);  // a well: a stone ring with a little roof
        SpriteFrame& w = t.f;
        art::fillEllipse(w, 2, 30, 20, 14, shade(kStone, 7));
        art::fillEllipse(w, 5, 32, 14, 8, shade(kWater, 3));
        art::fillRect(w, 3, 37, 18, 9, shade(kStone, 8));
        for (int x = 3; x < 21; x += 5) art::fillRect(w, x, 37, 1, 9, shade(kStone, 4));
        art::fillRect(w, 3, 10, 2, 28, shade(kEarth, 6));
        art::fillRect(w, 19, 10, 2, 28, shade(kEarth, 6));
        for (int y = 2; y < 12; ++y)
            art::fillRect(w, 12 - (y - 1), y, 2 * (y - 1), 1, shade(kRoof, 6 + y % 3));
        art::outline(w, shade(kStone, 2));
        s.add(w, -1, 0, kBlockAll);
    }
    {
        Tall t(2);  // a lamp post; its flame (top piece) cycles
        SpriteFrame& l = t.f;
        art::fillRect(l, 11, 12, 3, 36, shade(kGrey, 4));
        art::fillRect(l, 9, 44, 7, 4, shade(kGrey, 3));
        art::fillRect(l, 7, 3, 11, 11, shade(kGrey, 3));
        art::fillRect(l, 9, 5, 7, 7, uint8_t(kFireCycleFirst + 3));
        art::fillRect(l, 11, 6, 3, 5, uint8_t(kFireCycleFirst + 5));
        art::fillRect(l, 6, 2, 13, 2, shade(kGrey, 6));
        s.add(l, kLampLight, 2, kBlockAll, 0);
    }
    return s;
}

// --- items ------------------------------------------------------------------------------------

SpriteFrame itemFrame() {
    return SpriteFrame(-8, -8, 16, 16);
}

std::vector<SpriteFrame> itemFrames() {
    std::vector<SpriteFrame> out;
    {
        SpriteFrame f = itemFrame();  // coins
        for (auto [x, y] : {std::pair{2, 8}, {7, 6}, {5, 10}}) {
            art::fillEllipse(f, x, y, 7, 5, shade(kGold, 11));
            art::fillEllipse(f, x + 1, y + 1, 4, 2, shade(kGold, 14));
        }
        art::outline(f, shade(kGold, 5));
        out.push_back(f);
    }
    {
        SpriteFrame f = itemFrame();  // sword, point up-right
        for (int i = 0; i < 10; ++i)
            f.put(5 + i, 10 - i, shade(kIce, 13)), f.put(6 + i, 10 - i, shade(kIce, 10));
        for (int i = 0; i < 5; ++i) f.put(2 + i, 9 + i, shade(kGold, 9));
        art::fillRect(f, 1, 13, 3, 2, shade(kEarth, 5));
        art::outline(f, shade(kGrey, 2));
        out.push_back(f);
    }
    {
        SpriteFrame f = itemFrame();  // shield
        art::fillEllipse(f, 2, 1, 12, 14, shade(kRed, 8));
        art::fillRect(f, 7, 2, 2, 12, shade(kGold, 12));
        art::fillRect(f, 3, 6, 10, 2, shade(kGold, 12));
        art::outline(f, shade(kGrey, 3));
        out.push_back(f);
    }
    for (Ramp r : {kRed, kWater}) {
        SpriteFrame f = itemFrame();  // potions
        art::fillEllipse(f, 3, 5, 10, 10, shade(r == kWater ? kIce : r, 9));
        art::fillRect(f, 6, 2, 4, 4, shade(kIce, 13));
        art::fillRect(f, 6, 1, 4, 2, shade(kEarth, 6));
        f.put(5, 8, shade(kGrey, 15)), f.put(6, 7, shade(kGrey, 15));
        art::outline(f, shade(kGrey, 2));
        out.push_back(f);
    }
    {
        SpriteFrame f = itemFrame();  // apple
        art::fillEllipse(f, 3, 4, 11, 11, shade(kRed, 9));
        f.put(6, 6, shade(kRed, 14)), f.put(7, 6, shade(kRed, 13));
        art::fillRect(f, 8, 1, 1, 4, shade(kEarth, 4));
        art::fillEllipse(f, 9, 1, 4, 3, shade(kFoliage, 9));
        art::outline(f, shade(kRed, 3));
        out.push_back(f);
    }
    {
        SpriteFrame f = itemFrame();  // bread
        art::fillEllipse(f, 1, 5, 14, 9, shade(kSand, 9));
        for (int x = 4; x < 13; x += 3) art::fillRect(f, x, 7, 1, 3, shade(kSand, 13));
        art::outline(f, shade(kEarth, 4));
        out.push_back(f);
    }
    {
        SpriteFrame f = itemFrame();  // key
        art::fillEllipse(f, 1, 4, 7, 7, shade(kGold, 11));
        art::fillEllipse(f, 3, 6, 3, 3, 0);
        art::fillRect(f, 7, 7, 8, 2, shade(kGold, 11));
        art::fillRect(f, 12, 9, 2, 3, shade(kGold, 11));
        art::outline(f, shade(kGold, 4));
        out.push_back(f);
    }
    {
        SpriteFrame f = itemFrame();  // scroll
        art::fillRect(f, 3, 3, 10, 10, shade(kSand, 13));
        art::fillRect(f, 2, 2, 12, 2, shade(kSand, 9));
        art::fillRect(f, 2, 12, 12, 2, shade(kSand, 9));
        for (int y = 5; y < 11; y += 2) art::fillRect(f, 5, y, 6, 1, shade(kEarth, 5));
        art::outline(f, shade(kEarth, 4));
        out.push_back(f);
    }
    {
        SpriteFrame f = itemFrame();  // gem: facets in the cycling run
        for (int y = 3; y < 14; ++y) {
            const int half = y < 7 ? (y - 2) * 2 : (14 - y);
            for (int x = 8 - half; x < 8 + half; ++x)
                f.put(x, y, uint8_t(kWaterCycleFirst + (x + y) % 8));
        }
        art::outline(f, shade(kWater, 2));
        out.push_back(f);
    }
    {
        SpriteFrame f = itemFrame();  // torch
        art::fillRect(f, 7, 6, 3, 10, shade(kEarth, 6));
        art::fillEllipse(f, 5, 0, 7, 8, uint8_t(kFireCycleFirst + 2));
        art::fillEllipse(f, 7, 2, 3, 5, uint8_t(kFireCycleFirst + 6));
        art::outline(f, shade(kEarth, 2));
        out.push_back(f);
    }
    return out;
}

// --- effects ----------------------------------------------------------------------------------

// Frames: sparkle 0–3, flames 4–7, embers 8–11, hit burst 12–15, healing ring 16–19.
constexpr int32_t kSparkleFrame = 0, kFlameFrame = 4, kEmberFrame = 8, kHitFrame = 12,
                  kRingFrame = 16, kEffectFrames = 20;

std::vector<SpriteFrame> effectFrames() {
    std::vector<SpriteFrame> out;
    for (int i = 0; i < 4; ++i) {
        SpriteFrame f(-8, -8, 16, 16);
        const int r = 2 + i * 2;
        for (int k = -r; k <= r; ++k)
            f.put(8 + k, 8, shade(kGold, 15 - std::abs(k))),
                f.put(8, 8 + k, shade(kGold, 15 - std::abs(k)));
        for (int k = -r / 2; k <= r / 2; ++k)
            f.put(8 + k, 8 + k, shade(kIce, 14)), f.put(8 + k, 8 - k, shade(kIce, 14));
        out.push_back(f);
    }
    for (int i = 0; i < 4; ++i) {
        SpriteFrame f(-12, -28, 24, 30);
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 24; ++x) {
                const double dx = (x - 11.5) / 9.0, dy = (29 - y) / 26.0;
                const double wobble = 0.15 * std::sin(y * 0.5 + i * 1.6);
                const double width = (1.0 - dy) * (0.6 + 0.4 * dy) + wobble * dy;
                if (std::abs(dx) > width || noise(x, y + i * 31, 101) < 30 * dy) continue;
                const int heat =
                    int(8 * (1.0 - std::abs(dx) / std::max(width, 0.01)) * (1.0 - dy * 0.6));
                f.at(x, y) = uint8_t(kFireCycleFirst + std::clamp(heat, 0, 7));
            }
        }
        out.push_back(f);
    }
    for (int i = 0; i < 4; ++i) {
        SpriteFrame f(-12, -6, 24, 10);
        art::fillRect(f, 3, 6, 18, 3, shade(kEarth, 3));
        for (int k = 0; k < 7; ++k) {
            const int x = 3 + noise(k, i, 111) % 18, y = 5 + noise(k, i, 112) % 4;
            f.put(x, y, uint8_t(kFireCycleFirst + (k + i) % 8));
            f.put(x + 1, y, shade(kFire, 6));
        }
        out.push_back(f);
    }
    for (int i = 0; i < 4; ++i) {
        SpriteFrame f(-12, -12, 24, 24);
        const int r = 3 + i * 3;
        for (int a = 0; a < 16; ++a) {
            const double t = a * 3.14159265 / 8;
            for (int k = r / 2; k <= r; ++k)
                f.put(12 + int(k * std::cos(t)), 12 + int(k * std::sin(t)),
                      shade(kGold, 15 - i * 2 - (k < r ? 2 : 0)));
        }
        art::fillEllipse(f, 12 - r / 3, 12 - r / 3, 2 * (r / 3) + 1, 2 * (r / 3) + 1,
                         shade(kGrey, 15 - i * 3));
        out.push_back(f);
    }
    for (int i = 0; i < 4; ++i) {
        SpriteFrame f(-12, -8, 24, 16);
        const int w = 12 + i * 3, h = 6 + i;
        art::fillEllipse(f, 12 - w / 2, 8 - h / 2, w, h, shade(kGrass, 13));
        art::fillEllipse(f, 12 - w / 2 + 2, 8 - h / 2 + 1, w - 4, h - 2, 0);
        out.push_back(f);
    }
    return out;
}

EffectList list(int32_t first, int32_t frames, int32_t time, float translucency, int32_t light,
                bool loops) {
    EffectList l;
    for (int32_t i = 0; i < frames; ++i) l.frames.push_back({first + i, time, translucency, light});
    if (loops) l.loopStart = 0, l.loopEnd = frames - 1;
    return l;
}

// --- the village --------------------------------------------------------------------------------

// Ground: g grass, f flowers, d path, w water, c cobbles, s sand, o wooden floor.
// clang-format off
constexpr const char* kGround[] = {
    "ggggggggfgggwwwwwwgg",
    "gggggfgggggwwwwwwwgg",
    "gggggggggggwwwwwwwgg",
    "gggggggggggswwwwwwgg",
    "ggggggggggggswwwwwgg",
    "gggggggggggggsswwwgg",
    "gggggggggfggggsssggg",
    "ggggggggggggggggggfg",
    "dddddddddddddddddddd",
    "dddddddddddddddddddd",
    "ggggggcccccgggfggggg",
    "ggggggcccccggggggggg",
    "ggggfgcccccgggoooogg",
    "gggggggggggggggggggg",
    "ggfggggggggfgggggggg",
    "gggggggggggggggggggg",
};
// Objects: T and Y trees, b bush, r rock, - and | fences, + post, W N D house fronts, O well,
// L lamp post. Items: 1 coins, 2 sword, 3 apple, 4 blue potion, 5 gem. Effects: F fire,
// S sparkle.
constexpr const char* kObjects[] = {
    "Y.T..T.Y............",
    "..Y.T...T...........",
    "T..........r........",
    ".....T..............",
    "..........b.........",
    ".........r..........",
    ".WNDNW...b.L....r...",
    "......2.......T...Y.",
    "....................",
    "....................",
    "-----+..3..L........",
    ".....|..O.........T.",
    ".F...|....1..WNDW...",
    ".....|.5..S.........",
    "b....|..4.....b..T..",
    "..T.................",
};
// clang-format on

bool grassy(char c) {
    return c == 'g' || c == 'f';
}

// The edge or corner of a path or water cell from its grass neighbours.
int sideOf(int x, int y, int w, int h) {
    auto g = [&](int xx, int yy) {
        return xx >= 0 && yy >= 0 && xx < w && yy < h && grassy(kGround[yy][xx]);
    };
    const bool n = g(x, y - 1), e = g(x + 1, y), s = g(x, y + 1), wst = g(x - 1, y);
    if (n && e) return kCornerNE;
    if (s && e) return kCornerSE;
    if (s && wst) return kCornerSW;
    if (n && wst) return kCornerNW;
    if (n) return kEdgeN;
    if (e) return kEdgeE;
    if (s) return kEdgeS;
    if (wst) return kEdgeW;
    return 0;
}

}  // namespace

std::vector<uint8_t> tileSprites() {
    EpfWriter epf(kT, kT);
    SpriteFrame placeholder(0, 0, kT, kT);
    art::texture(placeholder, shade(kGrey, 6), 3, 5);
    epf.add(placeholder);
    epf.add(plainTile(grass1));
    epf.add(plainTile(grass2));
    epf.add(flowers(plainTile(grass1), 7, kPink));
    epf.add(flowers(plainTile(grass2), 8, kIce));
    for (int edge = 0; edge <= kCornerNW; ++edge) epf.add(groundTile(dirtAt, edge));
    for (int edge = 0; edge <= kCornerNW; ++edge) epf.add(groundTile(waterAt, edge));
    epf.add(plainTile(cobbleAt));
    epf.add(plainTile(sandAt));
    epf.add(plainTile(woodAt));
    return epf.build();
}

std::vector<uint16_t> tilePalettes() {
    std::vector<uint16_t> t(kTileCount, 0);
    for (int i = kTileWater; i <= kTileWater + kCornerNW; ++i) t[size_t(i)] = 0x8000;
    return t;
}

std::vector<uint8_t> pieceSprites() {
    return buildPieces().epf.build();
}

std::vector<uint16_t> piecePalettes() {
    return buildPieces().palettes;
}

std::vector<ObjectInfo> objects() {
    return buildPieces().objects;
}

std::vector<uint8_t> itemSprites() {
    EpfWriter epf(16, 16);
    for (auto& f : itemFrames()) epf.add(std::move(f));
    return epf.build();
}

std::vector<ItemInfo> items() {
    std::vector<ItemInfo> t(kItemCount);
    t[kBluePotion].translucency = 0.45f;
    t[kGem].cycles = true;
    t[kTorch].light = kTorchLight;
    t[kTorch].cycles = true;
    return t;
}

std::vector<uint8_t> effectSprites() {
    EpfWriter epf(24, 30);
    for (auto& f : effectFrames()) epf.add(std::move(f));
    return epf.build();
}

std::vector<uint32_t> effectFramePalettes() {
    return std::vector<uint32_t>(kEffectFrames, 0);
}

std::vector<Effect> effects() {
    std::vector<Effect> e(4);
    e[0].number = kSparkle;
    e[0].front = list(kSparkleFrame, 4, 100, 0.0f, -1, true);
    e[1].number = kFireplace;
    e[1].front = list(kFlameFrame, 4, 120, 0.0f, kFireLight, true);
    e[1].behind = list(kEmberFrame, 4, 120, 0.0f, -1, true);
    e[2].number = kHitBurst;
    e[2].front = list(kHitFrame, 4, 60, 0.4f, -1, false);
    e[3].number = kHealingRing;
    e[3].behind = list(kRingFrame, 4, 90, 0.0f, -1, true);
    return e;
}

std::vector<LightInfo> lights() {
    return {
        {4, 44, 44, 1.3f, 1.5f},  // lamp
        {2, 30, 30, 1.0f, 1.2f},  // torch
        {6, 56, 56, 1.5f, 1.3f},  // fire
        {2, 34, 20, 0.9f, 1.0f},  // window glow
    };
}

Grid demoVillage() {
    Grid g;
    g.height = int32_t(std::size(kGround));
    g.width = int32_t(std::string(kGround[0]).size());
    const auto objs = objects();
    for (int y = 0; y < g.height; ++y) {
        for (int x = 0; x < g.width; ++x) {
            Cell c;
            const char t = kGround[y][x];
            const uint32_t n = noise(x, y, 7) % 8;
            switch (t) {
                case 'f':
                    c.tile = uint16_t(kTileGrass + 2 + n % 2);
                    break;
                case 'd':
                    c.tile = uint16_t(kTileDirt + sideOf(x, y, g.width, g.height));
                    break;
                case 'w':
                    c.tile = uint16_t(kTileWater + sideOf(x, y, g.width, g.height));
                    c.flags = kBlockAll;
                    break;
                case 'c':
                    c.tile = kTileCobbles;
                    break;
                case 's':
                    c.tile = kTileSand;
                    break;
                case 'o':
                    c.tile = kTileWood;
                    break;
                default:
                    c.tile = uint16_t(kGrass + n % 2);
                    break;
            }
            const std::string key = "TYbr-|+WNDOL";
            const auto at = key.find(kObjects[y][x]);
            if (at != std::string::npos) {
                c.object = uint16_t(kTree2 + at);
                c.flags = uint8_t(c.flags | objs[c.object].blocking);
            }
            const std::string itemKey = "12345";
            const Item placed[] = {kCoins, kSword, kApple, kBluePotion, kGem};
            if (const auto i = itemKey.find(kObjects[y][x]); i != std::string::npos)
                c.item = uint16_t(0xC000 + placed[i]);
            if (kObjects[y][x] == 'F') c.effect = kFireplace;
            if (kObjects[y][x] == 'S') c.effect = kSparkle;
            g.cells.push_back(c);
        }
    }
    return g;
}

std::vector<uint8_t> gridFile(const Grid& grid) {
    base::ByteWriter w;
    w.u16le(uint32_t(grid.width)).u16le(uint32_t(grid.height));
    for (const Cell& c : grid.cells)
        w.u16le(c.tile).u8(c.flags).u16le(c.object).u16le(c.item).u8(c.effect);
    return w.take();
}

void addVillage(DataSet& data) {
    auto& tiles = data.archive("TILE.DAT");
    tiles.add("TILE.EPF", tileSprites());
    tiles.add("TILE.TBL", countedU16Table(tilePalettes()));
    const PieceSet pieces = buildPieces();
    tiles.add("TILEC.EPF", pieces.epf.build());
    tiles.add("TILEC.TBL", countedU16Table(pieces.palettes));
    tiles.add("SOBJ.TBL", objectTable(pieces.objects));
    auto& misc = data.archive("MISC.DAT");
    misc.add("ITEM.EPF", itemSprites());
    misc.add("ITEM.TBL", itemTable(items()));
    misc.add("VILLAGE.GRD", gridFile(demoVillage()));
    auto& efx = data.archive("EFX.DAT");
    efx.add("EFFECT.EPF", effectSprites());
    efx.add("EFFECT.FRM", framePalettesTable(effectFramePalettes()));
    efx.add("EFFECT.TBL", effectTable(effects()));
    efx.add("LIGHT.TBL", lightTable(lights()));
}

}  // namespace vs::mkdata::village
