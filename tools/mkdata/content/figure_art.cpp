// The demo's characters and creatures, painted in code with integer arithmetic only. Every part
// reads one pose table (per row: direction, stance, legs, hands, neck), so heads sit on necks
// and weapons in hands in every row. Frame (0, 0) is the centre of the figure's cell; figures
// stand on the line y = 12. Skin lies below index 48, clothes, hair and arms in 8-colour runs
// from 48, so that tints recolour them.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "mkdata/content.h"
#include "mkdata/content/demo_figures.h"
#include "mkdata/content/demo_palette.h"
#include "mkdata/epf_writer.h"
#include "mkdata/figure_tables_writer.h"
#include "mkdata/palette_writer.h"
#include "mkdata/sprite_art.h"

namespace vs::mkdata::demo {
namespace {

constexpr uint8_t kOutline = colour(kGrey, 2);
constexpr uint8_t kEye = colour(kGrey, 1);

struct Pt {
    int x = 0, y = 0;
};

// A painting surface in frame coordinates, cropped to what was painted when it becomes a frame.
class Paint {
  public:
    static constexpr int kLeft = -28, kTop = -48, kW = 56, kH = 72;
    Paint() : f_(kLeft, kTop, kW, kH) {}

    void dot(int x, int y, uint8_t c) { f_.put(x - kLeft, y - kTop, c); }
    void rect(int x0, int y0, int x1, int y1, uint8_t c) {  // inclusive corners
        for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
            for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x) dot(x, y, c);
    }
    void ellipse(int x, int y, int w, int h, uint8_t c) {
        art::fillEllipse(f_, x - kLeft, y - kTop, w, h, c);
    }
    // A line of `width` pixels (1 or 2), both ends included.
    void line(Pt a, Pt b, uint8_t c, int width = 1) {
        const int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
        const int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
        int err = dx + dy;
        for (Pt p = a;;) {
            dot(p.x, p.y, c);
            if (width > 1) dot(p.x + 1, p.y, c), dot(p.x, p.y + 1, c);
            if (p.x == b.x && p.y == b.y) break;
            const int e2 = 2 * err;
            if (e2 >= dy) err += dy, p.x += sx;
            if (e2 <= dx) err += dx, p.y += sy;
        }
    }
    // A dark edge just outside everything painted.
    void outline() {
        const std::vector<uint8_t> was = f_.pixels;
        auto filled = [&](int x, int y) {
            return x >= 0 && y >= 0 && x < kW && y < kH && was[size_t(y * kW + x)] != 0;
        };
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                if (!filled(x, y) &&
                    (filled(x - 1, y) || filled(x + 1, y) || filled(x, y - 1) || filled(x, y + 1)))
                    f_.at(x, y) = kOutline;
    }
    SpriteFrame frame() const {
        int x0 = kW, y0 = kH, x1 = -1, y1 = -1;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                if (f_.at(x, y))
                    x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y),
                    y1 = std::max(y1, y);
        if (x1 < 0) return SpriteFrame(0, 0, 1, 1);
        SpriteFrame out(kLeft + x0, kTop + y0, x1 - x0 + 1, y1 - y0 + 1);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) out.at(x - x0, y - y0) = f_.at(x, y);
        return out;
    }

  private:
    SpriteFrame f_;
};

// --- the pose table ------------------------------------------------------------------------------

enum Action { kStand, kWindUp, kStrike, kCast, kSit, kKneel, kBow, kWave, kDance };

struct RowPose {
    int d = 2;     // 0 up, 1 right, 2 down, 3 left
    int step = 0;  // 0 feet together, 1 and 2 the two walking steps
    Action action = kStand;
    int phase = 0;
};

RowPose rowPose(int r) {
    for (int base : {0, 12, 32, 52, 80})
        if (r >= base && r < base + 12) return {(r - base) / 3, (r - base) % 3, kStand, 0};
    for (int base : {24, 44, 64})
        if (r >= base && r < base + 8)
            return {(r - base) / 2, 0, (r - base) % 2 ? kStrike : kWindUp, 0};
    if (r >= 72 && r < 80) return {(r - 72) % 4, 0, kCast, r >= 76 ? 1 : 0};
    if (r == 92) return {2, 0, kSit, 0};
    if (r == 93) return {2, 0, kKneel, 0};
    if (r == 95) return {2, 0, kWave, 0};
    if (r >= 96 && r < 100) return {r - 96, 0, kBow, 0};
    if (r >= 100 && r < 104) return {2, 0, kDance, r - 100};
    return {};
}

// Arm frames: 0-11 standing and walking (3 per direction), 12-19 attacking (2 per direction).
RowPose armPose(int i) {
    return i < 12 ? RowPose{i / 3, i % 3, kStand, 0}
                  : RowPose{(i - 12) / 2, 0, (i - 12) % 2 ? kStrike : kWindUp, 0};
}

// Where a pose puts things: the neck (bottom of the head), both hands and the weapon's
// direction from the weapon hand.
struct Figure {
    int d = 2;
    int face = 0;  // profile: +1 facing right, -1 facing left, 0 front or back
    int neck = -14;
    int hip = 0;
    Pt hand[2];  // [0] right hand (the weapon), [1] left hand (the shield)
    Pt shoulder[2];
    Pt tip;        // weapon direction and length
    int legs = 0;  // walking step, or 3 sitting, 4 kneeling
};

Figure figure(const RowPose& p) {
    Figure f;
    f.d = p.d;
    f.face = p.d == 1 ? 1 : p.d == 3 ? -1 : 0;
    // Front view: the right hand is on the viewer's left; back view the other way round.
    const int side = p.d == 2 ? -1 : 1;
    int lift = p.step ? 1 : 0;
    if (p.action == kSit) lift = -6;
    if (p.action == kKneel) lift = -3;
    if (p.action == kBow) lift = -2;
    if (p.action == kDance) lift = p.phase % 2;
    f.neck = -14 - lift;
    f.hip = f.neck + 14;
    f.legs = p.action == kSit ? 3 : p.action == kKneel ? 4 : p.step;
    const int ty = f.neck;
    if (f.face) {
        f.shoulder[0] = {f.face, ty + 2};
        f.shoulder[1] = {-f.face, ty + 2};
    } else {
        f.shoulder[0] = {5 * side, ty + 2};
        f.shoulder[1] = {-5 * side, ty + 2};
    }
    const int swing = p.step == 1 ? 2 : p.step == 2 ? -2 : 0;
    if (f.face) {
        f.hand[0] = {3 * f.face + swing * f.face, ty + 11};
        f.hand[1] = {-2 * f.face - swing * f.face, ty + 11};
        f.tip = {5 * f.face, 9};
    } else {
        f.hand[0] = {6 * side, ty + 12 - (swing > 0 ? 1 : 0)};
        f.hand[1] = {-6 * side, ty + 12 - (swing < 0 ? 1 : 0)};
        f.tip = {2 * side, 11};
    }
    switch (p.action) {
        case kWindUp:
            if (f.face) {
                f.hand[0] = {-2 * f.face, ty + 1};
                f.tip = {-6 * f.face, -10};
            } else {
                f.hand[0] = {7 * side, ty + 1};
                f.tip = {3 * side, -12};
            }
            break;
        case kStrike:
            if (f.face) {
                f.hand[0] = {7 * f.face, ty + 7};
                f.tip = {13 * f.face, 0};
            } else if (p.d == 2) {
                f.hand[0] = {-4, ty + 13};
                f.tip = {-2, 12};
            } else {
                f.hand[0] = {4, ty + 3};
                f.tip = {2, -12};
            }
            break;
        case kCast: {
            const int up = p.phase ? 9 : 5;
            if (f.face) {
                f.hand[0] = {3 * f.face, ty - up};
                f.hand[1] = {-1 * f.face, ty - up + 1};
            } else {
                f.hand[0] = {6 * side, ty - up};
                f.hand[1] = {-6 * side, ty - up};
            }
            f.tip = {0, -8};
            break;
        }
        case kSit:
        case kKneel:
            f.hand[0] = {-4, ty + 11};
            f.hand[1] = {4, ty + 11};
            break;
        case kBow:
            f.hand[0] = {f.face ? 2 * f.face : -2, ty + 10};
            f.hand[1] = {f.face ? 1 * f.face : 2, ty + 10};
            break;
        case kWave:
            f.hand[0] = {-8, ty - 5};
            break;
        case kDance:
            f.hand[p.phase % 2] = {p.phase % 2 ? 7 : -7, ty - 6};
            f.hand[1 - p.phase % 2] = {p.phase % 2 ? -6 : 6, ty + 10};
            break;
        case kStand:
            break;
    }
    return f;
}

// --- bodies ------------------------------------------------------------------------------------

struct BodyStyle {
    uint8_t cloth;  // 8 shades from here
    uint8_t legs;   // trousers or hose
    bool skirt, robe;
};
// 0 plain male, 1 plain female, 2 armour, 3 robe.
constexpr BodyStyle kBodyStyles[kBodies] = {
    {colour(kRed, 8), colour(kEarth, 5), false, false},
    {colour(kRed, 8), colour(kSkin, 9), true, false},
    {colour(kStone, 8), colour(kStone, 4), false, false},
    {colour(kPurple, 8), colour(kPurple, 4), false, true},
};

void paintLegs(Paint& p, const Figure& f, const BodyStyle& s) {
    const uint8_t boot = colour(kEarth, 2);
    const int hip = f.hip;
    if (f.legs == 3) {  // sitting: thighs towards the viewer, shins down to the ground
        p.rect(-4, hip, 3, hip + 3, s.legs);
        p.rect(-4, hip + 4, -2, 11, s.legs), p.rect(1, hip + 4, 3, 11, s.legs);
        p.rect(-4, 11, -2, 11, boot), p.rect(1, 11, 3, 11, boot);
        return;
    }
    if (f.legs == 4) {  // kneeling on the right knee
        p.rect(-4, hip, -2, 11, s.legs), p.rect(1, hip, 3, hip + 5, s.legs);
        p.rect(1, hip + 6, 5, 11, s.legs);
        p.rect(-4, 11, -2, 11, boot);
        return;
    }
    if (f.face) {
        const int reach = f.legs ? 3 : 0;
        const int front = f.legs == 1 ? 1 : -1;
        p.line({0, hip}, {reach * front * f.face, 10}, s.legs, 2);
        p.line({0, hip}, {-reach * front * f.face, 10}, s.legs, 2);
        p.rect(reach * front * f.face - 1, 11, reach * front * f.face + 2, 11, boot);
        p.rect(-reach * front * f.face - 1, 11, -reach * front * f.face + 2, 11, boot);
        return;
    }
    // Front or back: the stepping leg is drawn a little shorter.
    const int lift0 = f.legs == 1 ? 1 : 0, lift1 = f.legs == 2 ? 1 : 0;
    p.rect(-4, hip, -2, 10 - lift0, s.legs), p.rect(1, hip, 3, 10 - lift1, s.legs);
    p.rect(-4, 11 - lift0, -2, 11 - lift0, boot), p.rect(1, 11 - lift1, 3, 11 - lift1, boot);
}

void paintBody(Paint& p, const Figure& f, int body) {
    const BodyStyle& s = kBodyStyles[body];
    const uint8_t skin = colour(kSkin, 10);
    const int ty = f.neck, hip = f.hip;
    const int half = f.face ? 3 : 5;
    // Arms behind the torso when they are on its far side.
    auto arm = [&](int which) {
        p.line(f.shoulder[which], f.hand[which], uint8_t(s.cloth + 2), 2);
        p.rect(f.hand[which].x, f.hand[which].y, f.hand[which].x + 1, f.hand[which].y + 1, skin);
    };
    if (f.face) arm(f.face > 0 ? 1 : 0);
    if (!s.robe) paintLegs(p, f, s);
    for (int y = ty; y < hip; ++y) {
        const int w = y < ty + 2 ? half - 1 : half;
        for (int x = -w; x < w; ++x)
            p.dot(x, y, uint8_t(s.cloth + 3 + (x + w) * 4 / (2 * w) + (y - ty < 3 ? 1 : 0)));
    }
    if (s.robe) {
        const int bottom = f.legs == 3 ? hip + 6 : 11;
        for (int y = hip; y <= bottom; ++y) {
            const int w = half + (y - hip) / 4;
            for (int x = -w; x < w; ++x) p.dot(x, y, uint8_t(s.cloth + 2 + (x + w) * 4 / (2 * w)));
        }
        if (f.legs == 3) paintLegs(p, f, s);
    }
    if (s.skirt) {
        for (int y = hip - 1; y < hip + 5; ++y) {
            const int w = half + (y - hip + 2) / 2;
            for (int x = -w; x < w; ++x) p.dot(x, y, uint8_t(s.cloth + 1 + (x + w) * 5 / (2 * w)));
        }
    }
    p.rect(-half, hip - 2, half - 1, hip - 2, body == 2 ? colour(kGold, 12) : colour(kEarth, 3));
    if (f.face) {
        arm(f.face > 0 ? 0 : 1);
    } else {
        arm(0), arm(1);
    }
}

// --- heads -------------------------------------------------------------------------------------

struct HeadStyle {
    uint8_t hair;  // 8 shades from here
    int cut;       // 0 short, 1 long, 2 bald with a beard, 3 tail, 4 hood
    int skin;      // shade of the skin ramp
};
constexpr HeadStyle kHeadStyles[kHeads] = {
    {colour(kGold, 0), 0, 10}, {colour(kRoof, 0), 1, 11},   {colour(kRed, 0), 0, 8},
    {colour(kStone, 0), 2, 9}, {colour(kPurple, 0), 4, 10}, {colour(kGold, 0), 3, 12},
    {colour(kRoof, 0), 0, 7},  {colour(kStone, 0), 1, 11},
};

// Expression: -1 plain; 0-15 the emotion faces; 16 laughing with closed eyes.
void paintHead(Paint& p, const Figure& f, int head, int expression) {
    const HeadStyle& s = kHeadStyles[head];
    const uint8_t skin = colour(kSkin, s.skin), shade = colour(kSkin, s.skin - 3);
    const uint8_t hair = uint8_t(s.hair + 3), hairLight = uint8_t(s.hair + 6);
    const int n = f.neck;    // the head's bottom row is n - 1
    const int top = n - 15;  // 13 rows of head above a 2-row neck
    p.rect(-1, n - 2, 1, n, shade);
    p.ellipse(-5, top, 11, 13, skin);
    const bool front = f.d == 2, back = f.d == 0;
    // Hair: a cap, the back of the head, long hair down the back or the sides.
    if (s.cut == 4) {  // hood
        p.ellipse(-6, top - 1, 13, 14, hair);
        if (front) p.ellipse(-4, top + 3, 9, 9, skin);
        if (f.face) p.ellipse(-1 + f.face * 2, top + 3, 6, 9, skin);
    } else if (s.cut != 2) {
        p.ellipse(-5, top - 1, 11, 7, hair);
        p.rect(-4, top, 2, top, hairLight);
        if (back) p.ellipse(-5, top, 11, 12, hair);
        if (f.face) p.ellipse(-5 - f.face, top, 8, 11, hair);
        if (f.face) p.rect(f.face > 0 ? -5 : 1, top + 4, f.face > 0 ? -1 : 5, top + 10, hair);
        if (s.cut == 1) {
            if (back || f.face) p.rect(-4 - f.face * 2, top + 6, 3 - f.face * 2, n + 3, hair);
            if (front) p.rect(-6, top + 3, -4, n + 1, hair), p.rect(4, top + 3, 6, n + 1, hair);
        }
        if (s.cut == 3 && !front) p.rect(-1 - f.face * 5, top + 5, 1 - f.face * 5, n + 2, hair);
    } else if (!back) {  // bald with a beard
        p.rect(-3 + f.face * 2, n - 5, 3 + f.face * 2, n - 2, hair);
    }
    if (back) return;
    const int eyeY = top + 6;
    const bool closed = expression == 16 || expression == 5 || expression == 13;
    auto eye = [&](int x) {
        if (closed) {
            p.rect(x - 1, eyeY, x, eyeY, kEye);
        } else {
            p.dot(x, eyeY, kEye);
            if (expression == 3 || expression == 11) p.dot(x, eyeY - 1, kEye);  // surprise
        }
    };
    const int mouthY = top + 10;
    if (f.face) {
        eye(2 * f.face);
        p.dot(5 * f.face, top + 7, shade);  // nose
        if (expression >= 0) p.rect(2 * f.face, mouthY, 3 * f.face, mouthY, colour(kRed, 6));
        return;
    }
    eye(-2), eye(2);
    switch (expression < 0 ? -1 : expression % 8) {
        case -1:
            p.rect(-1, mouthY, 0, mouthY, colour(kSkin, s.skin - 4));
            break;
        case 0:  // smile
            p.rect(-1, mouthY, 0, mouthY, colour(kRed, 6));
            p.dot(-2, mouthY - 1, colour(kRed, 6)), p.dot(1, mouthY - 1, colour(kRed, 6));
            break;
        case 1:  // sad
            p.rect(-1, mouthY - 1, 0, mouthY - 1, colour(kRed, 5));
            p.dot(-2, mouthY, colour(kRed, 5)), p.dot(1, mouthY, colour(kRed, 5));
            break;
        case 2:  // angry brows
            p.dot(-3, eyeY - 2, kEye), p.dot(-2, eyeY - 1, kEye);
            p.dot(3, eyeY - 2, kEye), p.dot(2, eyeY - 1, kEye);
            p.rect(-1, mouthY, 0, mouthY, kEye);
            break;
        case 3:
            p.rect(-1, mouthY - 1, 0, mouthY, kEye);
            break;  // open mouth
        case 4:     // tongue
            p.rect(-1, mouthY, 0, mouthY, colour(kRed, 6));
            p.dot(0, mouthY + 1, colour(kPink, 10));
            break;
        case 5:
            p.rect(-2, mouthY, 1, mouthY, colour(kRed, 7));
            break;  // grin
        case 6:     // blush
            p.dot(-4, eyeY + 2, colour(kPink, 9)), p.dot(3, eyeY + 2, colour(kPink, 9));
            p.rect(-1, mouthY, 0, mouthY, colour(kRed, 6));
            break;
        default:  // a tear
            p.dot(-2, eyeY + 2, colour(kIce, 12)), p.dot(-2, eyeY + 3, colour(kIce, 12));
            p.rect(-1, mouthY, 0, mouthY, colour(kRed, 5));
            break;
    }
}

// --- weapons and shields -----------------------------------------------------------------------

enum WeaponKind { kSword, kSpear, kFan };
struct WeaponStyle {
    WeaponKind kind;
    int length;  // in sixteenths of the pose's reach
    uint8_t metal, grip;
};
constexpr WeaponStyle kSwords[] = {{kSword, 12, colour(kStone, 8), colour(kEarth, 6)},
                                   {kSword, 17, colour(kStone, 8), colour(kGold, 8)},
                                   {kSword, 16, colour(kGold, 8), colour(kRed, 4)}};
constexpr WeaponStyle kSpears[] = {{kSpear, 24, colour(kStone, 8), colour(kEarth, 8)},
                                   {kSpear, 28, colour(kIce, 8), colour(kEarth, 5)}};
constexpr WeaponStyle kFans[] = {{kFan, 10, colour(kPink, 8), colour(kRed, 4)},
                                 {kFan, 10, colour(kIce, 8), colour(kPurple, 4)}};

Pt along(Pt from, Pt tip, int sixteenths) {
    return {from.x + tip.x * sixteenths / 16, from.y + tip.y * sixteenths / 16};
}

void paintWeapon(Paint& p, const Figure& f, const WeaponStyle& w) {
    const Pt h = f.hand[0];
    switch (w.kind) {
        case kSword: {
            const Pt guard = along(h, f.tip, 2), end = along(h, f.tip, w.length);
            p.line(along(h, f.tip, -2), guard, w.grip, 2);
            p.line(guard, end, uint8_t(w.metal + 5));
            p.line({guard.x + 1, guard.y}, {end.x + 1, end.y}, uint8_t(w.metal + 2));
            // The cross-guard, across the blade.
            const int gx = f.tip.y ? 2 : 0, gy = f.tip.y ? 0 : 2;
            p.line({guard.x - gx, guard.y - gy}, {guard.x + gx, guard.y + gy}, colour(kGold, 10));
            break;
        }
        case kSpear: {
            const Pt butt = along(h, f.tip, -8), head = along(h, f.tip, w.length);
            p.line(butt, head, w.grip);
            const Pt point = along(h, f.tip, w.length + 5);
            p.line(head, point, uint8_t(w.metal + 6), 2);
            break;
        }
        case kFan: {
            const Pt c = along(h, f.tip, 6);
            p.line(h, c, w.grip);
            p.ellipse(c.x - 4, c.y - 3, 9, 7, uint8_t(w.metal + 4));
            p.rect(c.x - 2, c.y - 1, c.x + 2, c.y, uint8_t(w.metal + 6));
            p.dot(c.x, c.y, w.grip);
            break;
        }
    }
}

constexpr uint8_t kShieldColours[] = {colour(kEarth, 8), colour(kRed, 8), colour(kStone, 8)};

void paintShield(Paint& p, const Figure& f, int shield) {
    const Pt h = f.hand[1];
    const uint8_t c = kShieldColours[shield];
    const int cx = h.x + (f.face ? 0 : (h.x > 0 ? 1 : -1)), cy = h.y - 3;
    if (f.face) {  // edge on
        p.rect(cx - 1, cy - 4, cx + 1, cy + 4, uint8_t(c + 2));
        return;
    }
    switch (shield) {
        case 0:  // round
            p.ellipse(cx - 4, cy - 4, 9, 9, uint8_t(c + 3));
            p.dot(cx, cy, colour(kGold, 12));
            break;
        case 1:  // kite
            for (int y = 0; y < 11; ++y) {
                const int w = y < 5 ? 4 : 4 - (y - 4) * 2 / 3;
                p.rect(cx - w, cy - 4 + y, cx + w, cy - 4 + y, uint8_t(c + 3 + (y < 2 ? 3 : 0)));
            }
            p.rect(cx, cy - 3, cx, cy + 4, colour(kGold, 12));
            break;
        default:  // buckler
            p.ellipse(cx - 3, cy - 2, 6, 6, uint8_t(c + 4));
            break;
    }
}

// --- the sprite files ----------------------------------------------------------------------------

template <class Draw>
SpriteFrame paintFrame(Draw&& draw) {
    Paint p;
    draw(p);
    p.outline();
    return p.frame();
}

constexpr int kCanvasW = 56, kCanvasH = 72;

std::vector<uint8_t> bodies() {
    EpfWriter epf(kCanvasW, kCanvasH);
    for (int b = 0; b < kBodies; ++b)
        for (int r = 0; r < kPartRows; ++r)
            epf.add(paintFrame([&](Paint& p) { paintBody(p, figure(rowPose(r)), b); }));
    return epf.build();
}

std::vector<uint8_t> heads() {
    EpfWriter epf(kCanvasW, kCanvasH);
    for (int h = 0; h < kHeads; ++h)
        for (int r = 0; r < kPartRows; ++r)
            epf.add(paintFrame([&](Paint& p) { paintHead(p, figure(rowPose(r)), h, -1); }));
    return epf.build();
}

// 20 faces per head: 0-8 and 9, 10 plain standing, 11-14 dancing, 15 standing, 16-19 bowing
// towards each direction.
std::vector<uint8_t> emotions() {
    EpfWriter epf(kCanvasW, kCanvasH);
    for (int h = 0; h < kHeads; ++h) {
        for (int k = 0; k < 20; ++k) {
            RowPose pose;
            int expression = k % 16;
            if (k >= 11 && k <= 14) pose = {2, 0, kDance, k - 11};
            if (k >= 16) pose = {k - 16, 0, kBow, 0}, expression = 16;
            epf.add(paintFrame([&](Paint& p) { paintHead(p, figure(pose), h, expression); }));
        }
    }
    return epf.build();
}

std::vector<uint8_t> weapons(std::span<const WeaponStyle> styles) {
    EpfWriter epf(kCanvasW, kCanvasH);
    for (const WeaponStyle& w : styles)
        for (int i = 0; i < kArmFrames; ++i)
            epf.add(paintFrame([&](Paint& p) { paintWeapon(p, figure(armPose(i)), w); }));
    return epf.build();
}

std::vector<uint8_t> shields() {
    EpfWriter epf(kCanvasW, kCanvasH);
    for (int s = 0; s < 3; ++s)
        for (int i = 0; i < kArmFrames; ++i)
            epf.add(paintFrame([&](Paint& p) { paintShield(p, figure(armPose(i)), s); }));
    return epf.build();
}

// A floating sheet with a face, one per head.
std::vector<uint8_t> ghosts() {
    EpfWriter epf(kCanvasW, kCanvasH);
    for (int h = 0; h < kHeads; ++h) {
        epf.add(paintFrame([&](Paint& p) {
            p.ellipse(-7, -30, 15, 16, colour(kIce, 12));
            p.rect(-7, -20, 7, 4, colour(kIce, 11));
            for (int x = -7; x <= 7; x += 3) p.rect(x, 5, x + 1, 7 + (x + h) % 2, colour(kIce, 10));
            p.rect(-3, -24, -2, -23, kEye), p.rect(2, -24, 3, -23, kEye);
            p.rect(-1, -19, 0, -18 + h % 2, kEye);
        }));
    }
    return epf.build();
}

std::vector<PartRecord> entries(int count, int frames, int palettes) {
    std::vector<PartRecord> r;
    for (int i = 0; i < count; ++i) r.push_back({i, i % palettes, i * frames});
    return r;
}

std::vector<uint8_t> drawOrder() {
    static const char* kByDirection[4] = {"wsbh", "sbhw", "bhsw", "wbhs"};
    std::vector<std::string> words;
    for (int r = 0; r < kPartRows; ++r) words.emplace_back(kByDirection[rowPose(r).d]);
    return drawOrderFile(words);
}

// --- creatures ---------------------------------------------------------------------------------

// Frames per creature: idle 2d + p, walking 8 + 2d + p, attacking 16 + 2d + p, lying dead 24.
constexpr int kCreatureFrames = 25;

enum CreatureKind { kSlime, kBat, kWisp, kWolf };

void paintCreature(Paint& p, CreatureKind kind, int d, int frame, int phase) {
    const int face = d == 1 ? 1 : d == 3 ? -1 : 0;
    const bool dead = frame == 24, attack = frame >= 16 && frame < 24;
    switch (kind) {
        case kSlime: {
            const int squash = dead ? 5 : phase;
            const int w = 16 + squash * 2, h = 14 - squash * 2 - (attack ? -3 : 0);
            p.ellipse(-w / 2 + face * (attack ? 2 : 0), 12 - h, w, h, colour(kRed, 9));
            p.ellipse(-w / 2 + 3, 13 - h, w / 2, h / 3, colour(kRed, 13));
            if (!dead && d != 0) {
                p.rect(-3 + face * 3, 7 - h / 2, -2 + face * 3, 8 - h / 2, kEye);
                if (!face) p.rect(2, 7 - h / 2, 3, 8 - h / 2, kEye);
            }
            break;
        }
        case kBat: {
            const int y = dead ? 4 : -22 + phase * 2;
            const int wing = dead ? 6 : phase ? 4 : 9;
            p.ellipse(-4, y, 8, 9, colour(kPurple, 4));
            p.line({-3, y + 3}, {-3 - wing, y + (phase ? 5 : -1)}, colour(kPurple, 6), 2);
            p.line({3, y + 3}, {3 + wing, y + (phase ? 5 : -1)}, colour(kPurple, 6), 2);
            if (!dead && d != 0)
                p.dot(-2 + face, y + 3, colour(kRed, 14)), p.dot(2 + face, y + 3, colour(kRed, 14));
            if (attack) p.rect(-1 + face * 3, y + 7, face * 3, y + 9, colour(kGrey, 15));
            break;
        }
        case kWisp: {
            const int y = dead ? -2 : -14 - phase;
            p.ellipse(-6, y, 12, 12, colour(kIce, 9));
            p.ellipse(-3, y + 3, 6, 6, colour(kIce, 14));
            p.line({0, y + 11}, {-2 * face + (phase ? 2 : -2), y + 17}, colour(kIce, 10), 2);
            if (attack) p.ellipse(-9 + face * 6, y - 2, 18, 16, colour(kIce, 6));
            break;
        }
        case kWolf: {
            const uint8_t fur = colour(kStone, 6), dark = colour(kStone, 3);
            if (dead) {
                p.ellipse(-11, 4, 22, 8, fur);
                break;
            }
            if (face) {
                p.ellipse(-9, -4, 18, 9, fur);                              // body
                p.ellipse(6 * face - 4, -9 - (attack ? 2 : 0), 9, 8, fur);  // head
                p.dot(7 * face, -7, kEye);
                const int s = phase ? 2 : 0;
                for (int x : {-6, -3, 3, 6})
                    p.line({x, 3}, {x + (x > 0 ? s : -s) * face, 11}, dark, 2);
                p.line({-8 * face, -2}, {-12 * face, -6 + phase}, fur, 2);  // tail
            } else {
                // Facing down the front legs reach below the foot line; up, the tail shows.
                const int reach = d == 2 ? 18 : 11;
                p.ellipse(-6, -10, 12, 14, fur);
                p.rect(-5, 0, -3, reach - phase, dark), p.rect(2, 0, 4, reach - 1 + phase, dark);
                if (d == 2) {
                    p.ellipse(-5, -14 + (attack ? 3 : 0), 10, 9, fur);
                    p.dot(-2, -10, kEye), p.dot(2, -10, kEye);
                    p.rect(-1, -7, 0, -6, colour(kGrey, 1));
                } else {
                    p.line({0, 2}, {phase ? 2 : -2, 8}, fur, 2);
                }
            }
            break;
        }
    }
}

std::vector<uint8_t> monsterFrames() {
    EpfWriter epf(kCanvasW, kCanvasH);
    for (CreatureKind kind : {kSlime, kBat, kWisp, kWolf}) {
        for (int i = 0; i < kCreatureFrames; ++i) {
            const int d = i == 24 ? 2 : (i % 8) / 2, phase = i % 2;
            epf.add(paintFrame([&](Paint& p) { paintCreature(p, kind, d, i, phase); }));
        }
    }
    return epf.build();
}

std::vector<CreatureRecord> creatures() {
    auto motions = [](uint8_t opacity) {
        std::vector<std::vector<CreatureFrameRecord>> m;
        auto fr = [&](int offset, int ms) {
            return CreatureFrameRecord{uint16_t(offset), uint16_t(ms), 0, opacity, 0, 0};
        };
        m.push_back({fr(24, 300)});
        for (int d = 0; d < 4; ++d) m.push_back({fr(2 * d, 300), fr(2 * d + 1, 260)});
        for (int d = 0; d < 4; ++d) m.push_back({fr(8 + 2 * d, 120), fr(9 + 2 * d, 120)});
        for (int a = 0; a < kCreatureMotions - 9; ++a) {
            const int d = a % 4, kind = a / 4;
            m.push_back({fr(16 + 2 * d, 80 + 20 * kind), fr(17 + 2 * d, 150), fr(2 * d, 200)});
        }
        return m;
    };
    // The slime's frames serve twice: green through palette 2, red through palette 0.
    return {
        CreatureRecord{0, false, 2, motions(0)},
        CreatureRecord{0, false, 0, motions(0)},
        CreatureRecord{uint32_t(kCreatureFrames), true, 0, motions(0)},
        CreatureRecord{uint32_t(2 * kCreatureFrames), false, 0, motions(128)},
        CreatureRecord{uint32_t(3 * kCreatureFrames), false, 0, motions(0)},
    };
}

}  // namespace
}  // namespace vs::mkdata::demo

MKDATA_CONTENT(figure_art, 500) {
    using namespace vs::mkdata;
    using namespace vs::mkdata::demo;
    auto& chars = data.archive("CHAR.DAT");
    chars.add("BODY.EPF", bodies());
    chars.add("HEAD.EPF", heads());
    chars.add("EMOTION.EPF", emotions());
    chars.add("GHOST.EPF", ghosts());
    chars.add("SWORD.EPF", weapons(kSwords));
    chars.add("SPEAR.EPF", weapons(kSpears));
    chars.add("FAN.EPF", weapons(kFans));
    chars.add("SHIELD.EPF", shields());
    chars.add("HEAD.TBL", partTableFile(entries(kHeads, kPartRows, 4)));
    chars.add("BODY.TBL", partTableFile(entries(kBodies, kPartRows, 4)));
    chars.add("SWORD.TBL", partTableFile(entries(3, kArmFrames, 4)));
    chars.add("SPEAR.TBL", partTableFile(entries(2, kArmFrames, 4)));
    chars.add("FAN.TBL", partTableFile(entries(2, kArmFrames, 4)));
    chars.add("SHIELD.TBL", partTableFile(entries(3, kArmFrames, 4)));
    chars.add("DRWORDER.TBL", drawOrder());
    chars.add("GHOST.PAL", palFile(basePalette()));

    auto& mon = data.archive("MON.DAT");
    mon.add("MONSTER.EPF", monsterFrames());
    mon.add("MONSTER.DNA", creatureTableFile(creatures()));
}
