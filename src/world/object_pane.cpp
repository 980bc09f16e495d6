#include "world/object_pane.h"

#include "app/frame_clock.h"
#include "world/human_image_lib.h"
#include "world/item_image_lib.h"
#include "world/map_grid.h"
#include "world/monster_image_lib.h"
#include "world/static_obj_image_lib.h"

namespace vs::world {

namespace {

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
    return true;
}

}  // namespace vs::world
