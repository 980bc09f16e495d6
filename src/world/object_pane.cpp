#include "world/object_pane.h"

#include "app/frame_clock.h"
#include "world/effect_image_lib.h"
#include "world/human_image_lib.h"
#include "world/item_image_lib.h"
#include "world/map_grid.h"
#include "world/monster_image_lib.h"
#include "world/static_obj_image_lib.h"

#include <algorithm>
#include <cstdlib>

namespace vs::world {

namespace {

// Delays from files or the wire never drop below this: a 0 would fire forever in one update.
constexpr uint32_t kMinFrameMs = 10;

void schedule(app::TimerClient* client, int32_t code, uint32_t ms) {
    if (auto* clock = app::FrameClock::instance()) clock->schedule(client, code, ms);
}

}  // namespace

ObjectPane::ObjectPane(uint32_t id, ObjectType type, int32_t x, int32_t y)
    : ui::Pane(kHidden), id_(id), type_(type), x_(x), y_(y) {}

ObjectPane::~ObjectPane() = default;

void ObjectPane::AttachLight(int32_t light, base::Point offset) {
    light_ = light, lightOffset_ = offset;
}

void ObjectPane::DetachLight() {
    light_ = -1;
}

void ObjectPane::CalcBoundsOnScreen(base::Point cell) {
    screen_ = base::Rect::fromSize(cell.x, cell.y, kCellPixels, kCellPixels);
}

void ObjectPane::DrawObject(graphics::Canvas&) {}

void ObjectPane::PlayMotion(int32_t, uint32_t, int32_t) {}

void ObjectPane::retire() {
    retired_ = true;
    if (auto* clock = app::FrameClock::instance()) clock->cancelAll(this);
}

// ---- items and static objects ------------------------------------------------------------------

void ItemObjectPane::CalcBoundsOnScreen(base::Point cell) {
    base::Rect r{0, 0, kCellPixels, kCellPixels};
    if (auto* lib = ItemImageLib::instance()) lib->GetItemRect(image_, r);
    screen_ = r.empty() ? base::Rect::fromSize(cell.x, cell.y, kCellPixels, kCellPixels)
                        : r.offset(cell.x, cell.y);
}

void ItemObjectPane::DrawObject(graphics::Canvas& target) {
    if (auto* lib = ItemImageLib::instance()) {
        const base::Rect cell = base::Rect::fromSize(screen_.left, screen_.top, 0, 0);
        base::Rect r{0, 0, kCellPixels, kCellPixels};
        lib->GetItemRect(image_, r);
        lib->DrawItem(target, cell.offset(-r.left, -r.top), image_, colour_, nullptr, 0.0f);
    }
}

void StaticObjectPane::CalcBoundsOnScreen(base::Point cell) {
    base::Rect r = base::Rect::fromSize(0, 0, kCellPixels, kCellPixels);
    if (auto* lib = StaticObjImageLib::instance()) lib->GetObjectRect(number_, r);
    screen_ = r.offset(cell.x, cell.y);
}

void StaticObjectPane::DrawObject(graphics::Canvas& target) {
    if (auto* lib = StaticObjImageLib::instance())
        lib->DrawObject(target, screen_.topLeft(), number_, nullptr, 0.0f, nullptr);
}

// ---- characters and creatures ------------------------------------------------------------------

CharacterObjectPane::CharacterObjectPane(uint32_t id, int32_t x, int32_t y, uint8_t facing,
                                         const Appearance& a, std::u16string name)
    : ObjectPane(id, kCharacterObject, x, y),
      appearance_(a),
      name_(std::move(name)),
      facing_(uint8_t(facing & 3)) {
    motion_ = isCreature() ? facing_ + 1 : 0;
}

base::Point CharacterObjectPane::walkOffset() const {
    if (!walking_) return {};
    return {kStepDx[facing_] * subStep_ * kSubStepPixels,
            kStepDy[facing_] * subStep_ * kSubStepPixels};
}

void CharacterObjectPane::CalcBoundsOnScreen(base::Point cell) {
    cell_ = cell;
    const base::Point at = cell + walkOffset();
    base::Rect bounds = base::Rect::fromSize(0, 0, kCellPixels, kCellPixels), shadow;
    if (isCreature()) {
        if (auto* lib = MonsterImageLib::instance())
            lib->GetCreatureBounds(appearance_, motion_, frame_, bounds, shadow);
    } else if (auto* lib = HumanImageLib::instance()) {
        lib->GetFullBounds(appearance_, facing_, 0, 0, walking_ ? subStep_ : 0, bounds, shadow);
    }
    screen_ = bounds.offset(at.x, at.y);
}

void CharacterObjectPane::DrawObject(graphics::Canvas& target) {
    const base::Point centre = cell_ + walkOffset() + base::Point{12, 12};
    if (isCreature()) {
        if (auto* lib = MonsterImageLib::instance())
            lib->DrawCreature(target, centre, appearance_, motion_, frame_);
    } else if (auto* lib = HumanImageLib::instance()) {
        lib->DrawCharacter(target, centre, appearance_, facing_, 0, 0, walking_ ? subStep_ : 0);
    }
}

// ---- motions and hits ---------------------------------------------------------------------------

void CharacterObjectPane::Flash(int32_t colour) {
    if (colour < 1 || colour > 255) return;
    damageColour_ = colour;
    schedule(this, kFlashTimer, 120);
}

bool CharacterObjectPane::PlayCreatureMotion(int32_t motion) {
    motion_ = motion;
    frame_ = 0;
    if (auto* clock = app::FrameClock::instance()) clock->cancel(this, kCreatureTimer);
    auto* lib = MonsterImageLib::instance();
    if (!lib || appearance_.image < MonsterImageLib::kFirstImage) return false;
    const auto& m =
        lib->GetMotion(int64_t(appearance_.image) - MonsterImageLib::kFirstImage).motion(motion);
    if (m.frames.empty()) return false;
    schedule(this, kCreatureTimer, std::max<uint32_t>(m.frames[0].duration, kMinFrameMs));
    return true;
}

void CharacterObjectPane::creatureFrame() {
    auto* lib = MonsterImageLib::instance();
    if (!lib) return;
    const auto& m =
        lib->GetMotion(int64_t(appearance_.image) - MonsterImageLib::kFirstImage).motion(motion_);
    if (frame_ + 1 < int32_t(m.frames.size())) {
        ++frame_;
        schedule(this, kCreatureTimer,
                 std::max<uint32_t>(m.frames[size_t(frame_)].duration, kMinFrameMs));
        return;
    }
    if (dying_) {
        expire();
        return;
    }
    const bool idle = motion_ >= 1 && motion_ <= 4;
    PlayCreatureMotion(idle ? motion_ : facing_ + 1);
}

int32_t CharacterObjectPane::motionFrames(int32_t m) {
    if (m == 1 || m == 2) return 2;
    if (m == 22) return 4;
    if ((m >= 3 && m <= 21) || m == 23 || m == 24) return 1;
    return 0;
}

int32_t CharacterObjectPane::motionSound(int32_t m, int32_t s) {
    if (s == -1) return -1;
    switch (m) {
        case 2:
            return 709;
        case 4:
            return 406;
        case 8:
            return 403;
        case 9:
            return 312;
        case 10:
            return 313;
        case 23:
            return 301;
        case 24:
            return 303;
        default:
            break;
    }
    if (m >= 11 && m <= 22) return 300 + (m - 11);
    return s;
}

void CharacterObjectPane::PlayMotion(int32_t motion, uint32_t durationMs, int32_t sound) {
    if (isCreature() || motion == 25) return;
    // At most three: the oldest go first.
    while (controllers_.size() >= 3) {
        if (auto* clock = app::FrameClock::instance())
            clock->cancel(this, controllers_.front().code);
        if (current_ == &controllers_.front()) current_ = nullptr;
        controllers_.erase(controllers_.begin());
        current_ = nullptr;
    }
    Controller c;
    c.pose = motion;
    c.frames = motionFrames(motion);
    c.frameMs = std::max(durationMs, kMinFrameMs);
    c.sound = motionSound(motion, sound);
    c.soundFrame = (motion == 1 || motion == 2) ? 1 : 0;
    c.code = kControllerTimer + nextController_++ % 1000000;
    controllers_.push_back(c);
    current_ = nullptr;
    controllerFrame(c.code);
}

void CharacterObjectPane::controllerFrame(int32_t code) {
    auto it = std::find_if(controllers_.begin(), controllers_.end(),
                           [code](const Controller& c) { return c.code == code; });
    if (it == controllers_.end()) return;
    ++it->current;
    if (it->current == it->soundFrame && it->sound >= 0 && playSound) playSound(it->sound, 80);
    if (it->current >= it->frames) {
        const bool wasCurrent = current_ && current_->code == code;
        controllers_.erase(it);
        current_ = wasCurrent || controllers_.empty() ? nullptr : current_;
        // Pointers into the list may have moved.
        if (current_) current_ = &controllers_.back();
        return;
    }
    current_ = &*it;
    schedule(this, code, it->frameMs);
}

void CharacterObjectPane::setFacing(uint8_t f) {
    facing_ = uint8_t(f & 3);
    if (isCreature() && motion_ >= 1 && motion_ <= 8) motion_ = facing_ + 1;
}

void CharacterObjectPane::Walk(int32_t x, int32_t y, uint8_t direction) {
    if (walking_) EndStep();
    if (retired_) return;
    setFacing(direction);
    x_ = x, y_ = y;
    walking_ = true;
    subStep_ = 0;
    if (isCreature()) motion_ = 5 + facing_, frame_ = 0;
    schedule(this, kWalkTimer, kSubStepMs);
}

void CharacterObjectPane::Step() {
    subStep_ = (subStep_ + 1) % 4;
    if (isCreature()) frame_ = subStep_;
    if (subStep_ != 0) {
        CalcBoundsOnScreen(cell_);
        schedule(this, kWalkTimer, kSubStepMs);
        return;
    }
    EndStep();
}

void CharacterObjectPane::EndStep() {
    if (!walking_) return;
    if (auto* clock = app::FrameClock::instance()) clock->cancel(this, kWalkTimer);
    walking_ = false;
    subStep_ = 0;
    if (isCreature() && motion_ >= 5 && motion_ <= 8) motion_ = facing_ + 1, frame_ = 0;
    const int32_t fromX = x_, fromY = y_;
    x_ += kStepDx[facing_], y_ += kStepDy[facing_];
    if (stepEnded) stepEnded(*this, fromX, fromY);
}

void CharacterObjectPane::Turn(uint8_t direction) {
    if (walking_) {
        pendingTurn_ = direction;
        schedule(this, kTurnTimer, kSubStepMs);
        return;
    }
    setFacing(direction);
    CalcBoundsOnScreen(cell_);
}

bool CharacterObjectPane::OnTimer(int32_t code, int32_t, int32_t) {
    if (retired_) return true;
    if (code == kWalkTimer) Step();
    if (code == kTurnTimer) Turn(pendingTurn_);
    if (code == kFlashTimer) damageColour_ = 0;
    if (code == kCreatureTimer) creatureFrame();
    if (code >= kControllerTimer) controllerFrame(code);
    return true;
}

// ---- balloons, health bars, missiles ------------------------------------------------------------

BalloonObjectPane::BalloonObjectPane(ObjectPane& owner, uint8_t kind, std::u16string_view text)
    : ObjectPane(0, kBalloonObject, owner.x(), owner.y()),
      text_(text.substr(0, kMaxText)),
      colour_(kind == 0   ? 143
              : kind == 1 ? 14
              : kind == 2 ? 9
                          : 200) {
    attachTo(&owner);
    schedule(this, 1, kShowMs);
}

bool BalloonObjectPane::OnTimer(int32_t, int32_t, int32_t) {
    expire();
    return true;
}

HealthBarObjectPane::HealthBarObjectPane(ObjectPane& owner, int32_t percent, int32_t maximum)
    : ObjectPane(0, kHealthBarObject, owner.x(), owner.y()),
      percent_(percent),
      width_(innerWidth(percent, maximum)) {
    attachTo(&owner);
    schedule(this, 1, kShowMs);
}

int32_t HealthBarObjectPane::innerWidth(int64_t percent, int64_t maximum) {
    if (maximum <= 0) maximum = 100;
    return int32_t(std::clamp<int64_t>(percent * kInner / maximum, 0, kInner));
}

bool HealthBarObjectPane::OnTimer(int32_t, int32_t, int32_t) {
    expire();
    return true;
}

void HealthBarObjectPane::CalcBoundsOnScreen(base::Point cell) {
    screen_ = percent_ > 0 ? base::Rect{cell.x, cell.y - 11, cell.x + 24, cell.y - 5}
                           : base::Rect{cell.x + 4, cell.y + 7, cell.x + 19, cell.y + 23};
}

void HealthBarObjectPane::DrawObject(graphics::Canvas& target) {
    if (percent_ <= 0) return;  // the dead sign is drawn from DEADSIGN.EPF by the view
    target.SetFillColor(128);
    target.FillRect(screen_);
    target.SetFillColor(colourFor(width_));
    target.FillRect(
        {screen_.left + 1, screen_.top + 1, screen_.left + 1 + width_, screen_.bottom - 1});
}

MissileObjectPane::MissileObjectPane(uint32_t id, uint16_t image, uint8_t colour, base::Point start,
                                     base::Point end, uint32_t target)
    : ObjectPane(id, kMissileObject, start.x, start.y),
      image_(image),
      colour_(colour),
      start_(start),
      end_(end),
      target_(target),
      steps_(int32_t(std::min<int64_t>(
          std::abs(int64_t(end.x) - start.x) + std::abs(int64_t(end.y) - start.y), INT32_MAX))) {}

base::Point MissileObjectPane::placement(int64_t n, int64_t k, int64_t dx, int64_t dy) {
    int64_t lx = -15, ly = -18;
    if (dx > std::abs(dy)) {
        lx = 15, ly = -18;
    } else if (dy < dx && dx <= -dy) {
        lx = 5, ly = -21;
    } else if (dy >= dx && dx > -dy) {
        lx = -6, ly = -21;
    }
    const int64_t px = dx * 24, py = dy * 24;
    return {int32_t((lx * (n - k - 1) + (k + 1) * px) / n - 9),
            int32_t((ly * (n - k - 1) + (k + 1) * py) / n - 6)};
}

void MissileObjectPane::Launch() {
    if (steps_ == 0) {
        if (arrived) arrived(*this);
        expire();
        return;
    }
    schedule(this, 1, kStepMs);
}

bool MissileObjectPane::OnTimer(int32_t, int32_t, int32_t) {
    if (retired_) return true;
    if (++step_ >= steps_) {
        if (arrived) arrived(*this);
        expire();
        return true;
    }
    CalcBoundsOnScreen(cell_);
    schedule(this, 1, kStepMs);
    return true;
}

void MissileObjectPane::CalcBoundsOnScreen(base::Point cell) {
    cell_ = cell;
    if (steps_ == 0) {
        screen_ = {};
        return;
    }
    const base::Point at = placement(steps_, std::min(step_, steps_ - 1),
                                     int64_t(end_.x) - start_.x, int64_t(end_.y) - start_.y);
    base::Rect r = base::Rect::fromSize(12, 12, 0, 0);
    if (auto* lib = ItemImageLib::instance()) lib->GetItemRect(image_, r);
    screen_ = base::Rect::fromSize(cell.x + at.x + r.left, cell.y + at.y + r.top,
                                   std::max(r.width(), 1), std::max(r.height(), 1));
}

void MissileObjectPane::DrawObject(graphics::Canvas& target) {
    if (auto* lib = ItemImageLib::instance()) {
        base::Rect r;
        lib->GetItemRect(image_, r);
        lib->DrawItem(target, screen_.offset(-r.left, -r.top), image_, colour_, nullptr, 0.0f);
    }
}

// ---- effects and sound emitters
// ------------------------------------------------------------------

EffectObjectPane::EffectObjectPane(ObjectType type, int32_t effect, const tables::EffectList& list,
                                   int32_t x, int32_t y, bool onTop)
    : ObjectPane(0, type, x, y),
      effect_(effect),
      list_(list),
      onTop_(onTop),
      looping_(list.loops()) {}

void EffectObjectPane::Start(int64_t durationMs) {
    show(0);
    if (looping_) RestartLoopEnd(durationMs);
}

void EffectObjectPane::RestartLoopEnd(int64_t durationMs) {
    if (auto* clock = app::FrameClock::instance()) clock->cancel(this, kLoopEndTimer);
    if (durationMs < 0) return;  // loops until it is removed
    schedule(this, kLoopEndTimer, uint32_t(std::min<int64_t>(durationMs, INT32_MAX)));
}

void EffectObjectPane::show(int32_t index) {
    if (index < 0 || index >= int32_t(list_.frames.size())) {
        expire();
        return;
    }
    index_ = index;
    const auto& f = list_.frames[size_t(index)];
    if (f.light >= 0) {
        AttachLight(f.light, {12, 12});
    } else {
        DetachLight();
    }
    CalcBoundsOnScreen(cell_);
    schedule(this, kFrameTimer, std::max<uint32_t>(uint32_t(std::max(f.time, 0)), kMinFrameMs));
}

bool EffectObjectPane::OnTimer(int32_t code, int32_t, int32_t) {
    if (retired_) return true;
    if (code == kLoopEndTimer) {
        looping_ = false;
        return true;
    }
    if (looping_ && index_ == list_.loopEnd) {
        show(list_.loopStart);
    } else {
        show(index_ + 1);
    }
    return true;
}

void EffectObjectPane::CalcBoundsOnScreen(base::Point cell) {
    cell_ = cell;
    base::Rect r = base::Rect::fromSize(0, 0, kCellPixels, kCellPixels);
    if (auto* lib = EffectImageLib::instance(); lib && index_ >= 0)
        lib->GetEffectFrameRect(list_.frames[size_t(index_)].frame, r);
    screen_ = r.offset(cell.x, cell.y);
}

void EffectObjectPane::DrawObject(graphics::Canvas& target) {
    auto* lib = EffectImageLib::instance();
    if (!lib || index_ < 0) return;
    const auto& f = list_.frames[size_t(index_)];
    lib->DrawFrame(target, base::Rect::fromSize(cell_.x, cell_.y, kCellPixels, kCellPixels),
                   f.frame, f.translucency, nullptr, 0.0f);
}

SoundEmitterObjectPane::SoundEmitterObjectPane(int32_t x, int32_t y, const Plan& plan)
    : ObjectPane(0, kSoundEmitterObject, x, y), plan_(plan) {
    plan_.periodMs = std::max<uint32_t>(plan_.periodMs, 100);
}

void SoundEmitterObjectPane::playOnce() {
    ++plays_;
    if (play) play(plan_.sound, plan_.volume);
}

void SoundEmitterObjectPane::Start() {
    switch (plan_.modifier) {
        case 0:
            expire();
            return;
        case 2:
            playOnce();
            if (plan_.repeat == 2 && plan_.count > 0) {
                schedule(this, kEndTimer, plan_.count * 1000);
                return;
            }
            expire();
            return;
        case 3:
        case 4:
            if (plan_.repeat == 2)
                schedule(this, kEndTimer, std::max<uint32_t>(plan_.count, 0) * 1000);
            if (plan_.repeat == 1 && plan_.count == 0) {
                expire();
                return;
            }
            schedule(this, kPeriodTimer, plan_.periodMs);
            return;
        default:  // 1, and every kind nobody describes: once
            playOnce();
            expire();
            return;
    }
}

bool SoundEmitterObjectPane::OnTimer(int32_t code, int32_t, int32_t) {
    if (retired_) return true;
    if (code == kEndTimer) {
        expire();
        return true;
    }
    const bool plays =
        plan_.modifier == 3 || uint64_t(plan_.rate) * 32767 / 100 > (chance ? chance() : 0);
    if (plays) playOnce();
    if (plan_.repeat == 1 && uint32_t(plays_) >= plan_.count) {
        expire();
        return true;
    }
    schedule(this, kPeriodTimer, plan_.periodMs);
    return true;
}

}  // namespace vs::world
