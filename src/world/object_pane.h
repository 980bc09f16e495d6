#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

    // The object's own time is up (a balloon shown long enough, a missile arrived, a creature's
    // death played): the map view unfiles it. Nothing is destroyed inside the call.
    std::function<void(ObjectPane&)> expired;
    void expire() {
        if (expired && !retired_) expired(*this);
    }
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

    // A hit: the silhouette colour for 120 ms; strengths whose colour falls outside 1 … 255
    // do not flash.
    void Flash(int32_t colour);
    int32_t damageColour() const { return damageColour_; }
    static int32_t damageColourFor(int32_t strength) { return 143 - strength; }
    // A creature's MONSTER.DNA motion; at its end the idle motion loops again, or a dying
    // creature expires. False when the motion has no frames.
    bool PlayCreatureMotion(int32_t motion);
    // A composed character's motion m for t ms per frame (the controllers).
    void PlayMotion(int32_t motion, uint32_t durationMs, int32_t sound) override;
    size_t controllerCount() const { return controllers_.size(); }
    int32_t currentPose() const { return current_ ? current_->pose : -1; }
    // Sounds the character's motions play (number, volume in percent of the effects volume).
    static inline std::function<void(int32_t sound, int32_t percent)> playSound;
    static int32_t motionFrames(int32_t motion);
    static int32_t motionSound(int32_t motion, int32_t sound);

  private:
    struct Controller {
        int32_t pose = 0, frames = 0, current = -1;
        uint32_t frameMs = 0;
        int32_t sound = -1, soundFrame = 0;
        int32_t code = 0;
    };
    enum : int32_t { kFlashTimer = 3, kCreatureTimer = 4, kControllerTimer = 100 };
    base::Point walkOffset() const;
    void creatureFrame();
    void controllerFrame(int32_t code);
    std::vector<Controller> controllers_;
    Controller* current_ = nullptr;
    int32_t nextController_ = 0;
    int32_t damageColour_ = 0;

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

namespace vs::world {

// A speech balloon over its owner, for 3000 ms; the text is cut to 69 units.
class BalloonObjectPane final : public ObjectPane {
  public:
    static constexpr size_t kMaxText = 69;
    static constexpr uint32_t kShowMs = 3000;
    BalloonObjectPane(ObjectPane& owner, uint8_t kind, std::u16string_view text);
    bool OnTimer(int32_t, int32_t, int32_t) override;
    const std::u16string& text() const { return text_; }
    uint8_t colour() const { return colour_; }

  private:
    std::u16string text_;
    uint8_t colour_;
};

// A health bar over its owner for 500 ms: at 0 percent the dead sign instead.
class HealthBarObjectPane final : public ObjectPane {
  public:
    static constexpr uint32_t kShowMs = 500;
    static constexpr int32_t kInner = 22;
    HealthBarObjectPane(ObjectPane& owner, int32_t percent, int32_t maximum);
    bool OnTimer(int32_t, int32_t, int32_t) override;
    void CalcBoundsOnScreen(base::Point cell) override;
    void DrawObject(graphics::Canvas& target) override;
    // Percent of a maximum (100 when the maximum is not above 0) as 0 … 22 pixels.
    static int32_t innerWidth(int64_t percent, int64_t maximum);
    static uint8_t colourFor(int32_t width) { return width <= 6 ? 12 : width <= 11 ? 14 : 2; }
    int32_t width() const { return width_; }
    bool deadSign() const { return percent_ == 0; }

  private:
    int32_t percent_, width_;
};

// A missile from a start cell to an end cell, one step every 40 ms.
class MissileObjectPane final : public ObjectPane {
  public:
    static constexpr uint32_t kStepMs = 40;
    MissileObjectPane(uint32_t id, uint16_t image, uint8_t colour, base::Point start,
                      base::Point end, uint32_t target);
    // Starts flying; a missile with no steps arrives at once.
    void Launch();
    bool OnTimer(int32_t, int32_t, int32_t) override;
    void CalcBoundsOnScreen(base::Point cell) override;
    void DrawObject(graphics::Canvas& target) override;
    int32_t steps() const { return steps_; }
    int32_t step() const { return step_; }
    uint32_t target() const { return target_; }
    // The image's place at step k of n relative to the start cell, before the frame's own
    // offset; computed in 64 bits.
    static base::Point placement(int64_t n, int64_t k, int64_t dx, int64_t dy);
    // Hears the arrival (before the missile expires).
    std::function<void(MissileObjectPane&)> arrived;

  private:
    uint16_t image_;
    uint8_t colour_;
    base::Point start_, end_;
    uint32_t target_;
    int32_t steps_, step_ = 0;
    base::Point cell_;
};

}  // namespace vs::world

#include "world/image_tables.h"

namespace vs::world {

// One list of an effect playing on its owner's cell (type 4 the front list, type 2 the back
// list) or on a tile.
class EffectObjectPane final : public ObjectPane {
  public:
    enum Timer : int32_t { kFrameTimer = 1, kLoopEndTimer = 2 };
    EffectObjectPane(ObjectType type, int32_t effect, const tables::EffectList& list, int32_t x,
                     int32_t y, bool onTop);
    // Shows the first frame; a looping list stops looping after durationMs (none for −1).
    void Start(int64_t durationMs);
    void RestartLoopEnd(int64_t durationMs);
    bool OnTimer(int32_t code, int32_t, int32_t) override;
    void CalcBoundsOnScreen(base::Point cell) override;
    void DrawObject(graphics::Canvas& target) override;
    int32_t effect() const { return effect_; }
    bool looping() const { return looping_; }
    bool onTop() const { return onTop_; }
    int32_t frameIndex() const { return index_; }

  private:
    void show(int32_t index);
    int32_t effect_;
    tables::EffectList list_;
    bool onTop_;
    bool looping_;
    int32_t index_ = -1;
    base::Point cell_;
};

// A sound that plays at its source (an object it follows, or a cell) once, for a while, or
// every so often.
class SoundEmitterObjectPane final : public ObjectPane {
  public:
    struct Plan {
        int32_t sound = 0, volume = 0;
        uint8_t modifier = 0;   // 0 none, 1 once, 2 once and stay, 3 periodic, 4 by chance
        uint32_t periodMs = 0;  // kinds 3 and 4, at least 100
        uint32_t rate = 0;      // kind 4, hundredths
        uint8_t repeat = 0;     // 0 forever, 1 count plays, 2 count seconds
        uint32_t count = 0;
    };
    SoundEmitterObjectPane(int32_t x, int32_t y, const Plan& plan);
    void Start();
    bool OnTimer(int32_t code, int32_t, int32_t) override;
    const Plan& plan() const { return plan_; }
    int32_t plays() const { return plays_; }
    // How the sound is played, and the chance drawn (0 … 32767).
    std::function<void(int32_t sound, int32_t volume)> play;
    std::function<uint32_t()> chance;

  private:
    enum : int32_t { kPeriodTimer = 1, kEndTimer = 2 };
    void playOnce();
    Plan plan_;
    int32_t plays_ = 0;
};

}  // namespace vs::world
