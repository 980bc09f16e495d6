#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "base/rect.h"
#include "ui/pane.h"
#include "world/appearance.h"

// World objects: small panes whose place is a map cell. The map view's object store owns them;
// they draw into the map view's canvas, never onto the screen themselves.
namespace vs::world {

enum ObjectType : uint8_t {
    kItemObject = 0,
    kMissileObject = 1,
    kBackEffectObject = 2,
    kCharacterObject = 3,
    kFrontEffectObject = 4,
    kStaticObject = 5,
    kBalloonObject = 6,
    kHealthBarObject = 7,
    kMarkerObject = 8,
    kLightObject = 9,
    kSoundEmitterObject = 10,
};
inline constexpr int32_t kCellPixels = 24;

// The canvas pixel of a cell's top-left corner in the map view, whose canvas has one cell of
// margin around the 17 × 15 view at origin (ox, oy).
constexpr base::Point cellPixel(int32_t x, int32_t y, int32_t ox, int32_t oy) {
    return {(x - ox + 1) * kCellPixels, (y - oy + 1) * kCellPixels};
}

class ObjectPane : public ui::Pane {
  public:
    ObjectPane(uint32_t id, ObjectType type, int32_t x, int32_t y);
    ~ObjectPane() override;

    // --- virtual operations, in the system's order --------------------------------------------
    virtual void AttachLight(int32_t light, base::Point offset);
    virtual void DetachLight();
    // Bounds (and shadow bounds) for the current pose, the cell's top-left at `cell`.
    virtual void CalcBoundsOnScreen(base::Point cell);
    virtual void SetScreenBounds(const base::Rect& bounds) { screen_ = bounds; }
    virtual base::Rect GetScreenBounds() const { return screen_; }
    virtual void DrawObject(graphics::Canvas& target);
    virtual base::Rect ShadowBounds() const { return {}; }
    virtual void DrawObjectShadow(graphics::Canvas&) {}
    virtual void SetCell(int32_t x, int32_t y) { x_ = x, y_ = y; }
    virtual void Reserved() {}
    virtual void PlayMotion(int32_t motion, uint32_t durationMs, int32_t sound);
    virtual void Step() {}

    uint32_t id() const { return id_; }
    ObjectType type() const { return type_; }
    int32_t x() const { return x_; }
    int32_t y() const { return y_; }
    // The object this one is attached to (effects, balloons, bars, markers, lights, emitters).
    ObjectPane* attachedTo() const { return owner_; }
    void attachTo(ObjectPane* owner) { owner_ = owner; }
    int32_t light() const { return light_; }
    base::Point lightOffset() const { return lightOffset_; }
    float lightBoost() const { return boost_; }
    void setLightBoost(float b) { boost_ = b; }

    // Unfiled: no more timers, nothing more to draw; destroyed later.
    void retire();
    bool retired() const { return retired_; }

  protected:
    uint32_t id_;
    ObjectType type_;
    int32_t x_, y_;
    base::Rect screen_;
    ObjectPane* owner_ = nullptr;
    int32_t light_ = -1;
    base::Point lightOffset_;
    float boost_ = 0.0f;
    bool retired_ = false;
};

// An item on the ground: its wire number and colour.
class ItemObjectPane final : public ObjectPane {
  public:
    ItemObjectPane(uint32_t id, int32_t x, int32_t y, uint16_t image, uint8_t colour)
        : ObjectPane(id, kItemObject, x, y), image_(image), colour_(colour) {}
    void CalcBoundsOnScreen(base::Point cell) override;
    void DrawObject(graphics::Canvas& target) override;
    uint16_t image() const { return image_; }

  private:
    uint16_t image_;
    uint8_t colour_;
};

// A static map object that a cell names.
class StaticObjectPane final : public ObjectPane {
  public:
    StaticObjectPane(int32_t x, int32_t y, uint16_t number)
        : ObjectPane(0, kStaticObject, x, y), number_(number) {}
    void CalcBoundsOnScreen(base::Point cell) override;
    void DrawObject(graphics::Canvas& target) override;
    uint16_t number() const { return number_; }

  private:
    uint16_t number_;
};

// A light that goes with its owner (or a cell); never drawn, only added to the light map.
class LightObjectPane final : public ObjectPane {
  public:
    LightObjectPane(int32_t x, int32_t y, int32_t light, base::Point offset)
        : ObjectPane(0, kLightObject, x, y) {
        light_ = light, lightOffset_ = offset;
    }
};

}  // namespace vs::world

namespace vs::world {

// A composed character (appearance kind 0) or a creature (kind 1). Walking moves the drawing
// by 6 pixels every 100 ms for four sub-steps; the cell changes when the step ends.
class CharacterObjectPane : public ObjectPane {
  public:
    static constexpr uint32_t kSubStepMs = 100;
    static constexpr int32_t kSubStepPixels = 6;
    enum Timer : int32_t { kWalkTimer = 1, kTurnTimer = 2 };

    CharacterObjectPane(uint32_t id, int32_t x, int32_t y, uint8_t facing, const Appearance& a,
                        std::u16string name = {});

    void CalcBoundsOnScreen(base::Point cell) override;
    void DrawObject(graphics::Canvas& target) override;
    void Step() override;
    bool OnTimer(int32_t code, int32_t first, int32_t second) override;

    bool isCreature() const { return appearance_.kind == Appearance::kCreature; }
    const Appearance& appearance() const { return appearance_; }
    void setAppearance(const Appearance& a) { appearance_ = a; }
    const std::u16string& name() const { return name_; }
    void setName(std::u16string n) { name_ = std::move(n); }
    uint8_t facing() const { return facing_; }
    void setFacing(uint8_t f);
    bool walking() const { return walking_; }
    int32_t subStep() const { return subStep_; }
    // A creature's current motion (idle is facing + 1) and frame.
    int32_t motion() const { return motion_; }
    bool dying() const { return dying_; }
    void setDying() { dying_ = true; }

    // A step from (x, y) in the direction: an unfinished step ends first.
    void Walk(int32_t x, int32_t y, uint8_t direction);
    // Ends a running step at once: the cell becomes the step's target; `stepEnded` hears it.
    void EndStep();
    // Takes effect when the running step has ended.
    void Turn(uint8_t direction);
    // Hears every finished step with the cell it started from.
    std::function<void(CharacterObjectPane&, int32_t fromX, int32_t fromY)> stepEnded;

  private:
    base::Point walkOffset() const;

    Appearance appearance_;
    std::u16string name_;
    uint8_t facing_;
    bool walking_ = false;
    int32_t subStep_ = 0;
    int32_t motion_ = 0;
    int32_t frame_ = 0;
    uint8_t pendingTurn_ = 0;
    bool dying_ = false;
    base::Point cell_;  // the cell's top-left in the view's canvas, as last placed
};

}  // namespace vs::world
