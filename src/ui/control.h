#pragma once
#include <cstdint>
#include <functional>

#include "base/rect.h"
#include "ui/pane.h"

namespace vs::ui {

class Control;

// Part codes: what of a control a point hits.
enum PartCode : uint8_t {
    kPartNone = 8,
    kPartButton = 9,
    kPartDropDown = 10,
    kPartArrowFirst = 11,
    kPartTrackFirst = 12,
    kPartThumb = 13,
    kPartTrackLast = 14,
    kPartArrowLast = 15,
    kPartList = 16,
    kPartEdit = 17,
    kPartRadioItem = 0x40,  // + item
    kPartDisabled = 0x80,   // added for a point on a disabled control
};

// Control states: 8 normal, 9 pressed, else the part being pressed.
constexpr uint8_t kStateNormal = 8;
constexpr uint8_t kStatePressed = 9;

// Control kind ids.
enum ControlKind : int16_t {
    kKindButton = 0,
    kKindRadioGroup = 1,
    kKindScrollBar = 2,
    kKindComboBox = 3,
    kKindListHost = 4,
    kKindText = 5,
    kKindPicture = 7,
    kKindGauge = 18,
};

// Who a control reports to: a dialog, a list, a scrolling view.
class ControlHost {
  public:
    virtual ~ControlHost() = default;
    virtual void OnCommand(int32_t index, int32_t code) = 0;
    virtual int32_t IndexOf(const Control* control) const = 0;
    // Shows `index` in `state` (8 = none), putting the previously hot control back to normal.
    virtual void SetHot(int32_t index, uint8_t state) = 0;
};

// What controls and dialogs need from outside the pane system: an immediate compose and present
// (press animations, slides), the program's one blocking sleep, and sound effects. Tests and the
// client replace them; by default the display presents, the clock sleeps and nothing sounds.
struct UiHooks {
    std::function<void()> present;
    std::function<void(uint32_t ms)> sleep;
    std::function<void(int sound, int volume)> playSound;
};
UiHooks& uiHooks();
void PresentNow();
void SleepMs(uint32_t ms);
void PlaySound(int sound, int volume);

// The press of a button seen by the player: shown pressed through its host, the screen presented,
// a pause, shown normal, presented again, then the host's OnCommand(index, 9).
constexpr uint32_t kPressShowMs = 133;
void AnimatePress(ControlHost& host, int32_t index);

// A dialog's child that reports to its host. Values are 16-bit, clamped to 0 … 30000.
class Control : public Pane {
  public:
    static constexpr int16_t kMaxValue = 30000;
    static constexpr int32_t kFocusColor = 128;
    static constexpr int32_t kMarkerColor = 1;
    static constexpr int32_t kDisabledWash = 143;

    explicit Control(const base::Rect& rect, int16_t kind = kKindButton);

    // --- virtual operations, continuing the pane's --------------------------------------------
    void Paint() override;
    virtual void SetState(uint8_t state);
    virtual void Enable();
    virtual void Disable();
    virtual void Unfocus();
    virtual void Focus();
    virtual uint8_t HitTest(int32_t x, int32_t y) const;

    // --- fields -------------------------------------------------------------------------------
    int16_t Minimum() const { return minimum_; }
    int16_t Value() const { return value_; }
    int16_t Maximum() const { return maximum_; }
    void SetMaximum(int32_t maximum) { maximum_ = clampValue(maximum); }
    void SetMinimum(int32_t minimum) { minimum_ = clampValue(minimum); }
    int16_t Kind() const { return kind_; }
    bool IsFocusable() const { return focusable_; }
    void SetFocusable(bool on) { focusable_ = on; }
    bool TakesEnter() const { return takesEnter_; }
    void SetTakesEnter(bool on) { takesEnter_ = on; }
    bool IsEnabled() const { return enabled_; }
    bool IsFocused() const { return focused_; }
    uint8_t State() const { return state_; }
    uint8_t Marker() const { return marker_; }
    void SetMarker(uint8_t marker);

    void SetHost(ControlHost* host) { host_ = host; }
    ControlHost* Host() const { return host_; }
    // The control's index in its host, or −1.
    int32_t Index() const { return host_ ? host_->IndexOf(this) : -1; }
    // Tells the host, when there is one.
    void Report(int32_t code);

    static int16_t clampValue(int32_t v) {
        return int16_t(v < 0 ? 0 : v > kMaxValue ? kMaxValue : v);
    }

  protected:
    // The default marker and the focus outline, as the base Paint draws them.
    void PaintOutlines();
    // Colour 143 blended over the whole control.
    void Wash(uint8_t blend = 2);
    void SetValueField(int16_t v) { value_ = v; }
    void SetMaximumField(int16_t v) { maximum_ = v; }

  private:
    int16_t minimum_ = 0;
    int16_t value_ = 0;
    int16_t maximum_ = 0;
    int16_t kind_;
    bool focusable_ = true;
    bool takesEnter_ = false;
    bool enabled_ = true;
    bool focused_ = false;
    uint8_t state_ = kStateNormal;
    uint8_t marker_ = 0;
    ControlHost* host_ = nullptr;
};

// Draws one frame of a sprite file with its canvas offset at (x, y); false when the file or the
// frame is missing. Missing art leaves the control blank rather than ending the program.
bool DrawSpriteFrame(graphics::Canvas& canvas, const char* file, int frame, int32_t x, int32_t y,
                     int mode, const char* palette);
// The frame's size, (0, 0) when missing.
base::Point SpriteFrameSize(const char* file, int frame);
// Tiles one frame over `rect`; false when it is missing.
bool TileSpriteFrame(graphics::Canvas& canvas, const char* file, int frame, const base::Rect& rect,
                     int mode, const char* palette);

constexpr const char* kInterfacePalette = "NPAL8.PAL";

}  // namespace vs::ui
