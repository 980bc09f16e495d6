#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/rect.h"
#include "resources/pix_map.h"
#include "ui/control.h"
#include "ui/pane.h"

namespace vs::ui {

// A framed, modal, draggable pane that owns its controls, does their hit testing, forwards them
// mouse, key and text events and hears their commands. With a position slot (0 … 15) it opens
// where the player last dragged it.
class Dialog : public Pane, public ControlHost {
  public:
    static constexpr size_t kMaxName = 127;
    static constexpr int32_t kFrameSide = 16;
    static constexpr int kOpenSound = 408;
    static constexpr int kOpenVolume = 100;
    static constexpr const char* kFrameFile = "DLGFRAME.EPF";
    static constexpr int32_t kDefaultEnabled = 132;
    static constexpr int32_t kDefaultDisabled = 134;

    Dialog(std::u16string_view name, int16_t slot = -1, uint8_t drawMode = kCopy);
    ~Dialog() override;

    // --- virtual operations, continuing the pane's --------------------------------------------
    void Attach(const base::Rect& rect, Pane* sibling, Pane* parent, Layer* layer) override;
    void Detach() override;
    void RegisterHandler(Pane* sibling, Pane* parent) override;
    void UnregisterHandler() override;
    void Paint() override;
    void OnCommand(int32_t index, int32_t code) override {
        (void)index;
        (void)code;
    }
    virtual void UpdateControls() {}
    virtual void DrawBackground();
    virtual void DrawFrame();
    virtual void SetFocusControl(int32_t index);

    // --- EventHandler -------------------------------------------------------------------------
    bool OnMouse(const app::InputEvent& event) override;
    bool OnKey(const app::InputEvent& event) override;
    bool OnText(const app::InputEvent& event) override;

    // --- ControlHost --------------------------------------------------------------------------
    int32_t IndexOf(const Control* control) const override;
    void SetHot(int32_t index, uint8_t state) override;

    // --- controls -----------------------------------------------------------------------------
    // Appends the control (the dialog owns it); returns its index. A control added to a dialog
    // that is already attached is attached at once.
    int32_t AddControl(std::unique_ptr<Control> control);
    template <class T, class... Args>
    T& Add(Args&&... args) {
        auto c = std::make_unique<T>(std::forward<Args>(args)...);
        T& ref = *c;
        AddControl(std::move(c));
        return ref;
    }
    // Removes every control; those removed go at the next event or with the dialog, so that a
    // command may rebuild the controls from inside a control's own handler.
    void ClearControls();
    Control* GetControl(int32_t index) const;
    int32_t ControlCount() const { return int32_t(controls_.size()); }

    void SetDefaultControl(int32_t index);
    void SetCancelControl(int32_t index) { cancel_ = valid(index) ? index : -1; }
    int32_t DefaultControl() const { return default_; }
    int32_t CancelControl() const { return cancel_; }
    int32_t FocusControl() const { return focus_; }
    int32_t PressedControl() const { return pressed_; }
    int32_t HotControl() const { return hot_; }
    bool IsDragging() const { return dragging_; }
    // The rectangle (parent coordinates) the dialog stays inside while dragged.
    void SetDragLimits(const base::Rect& limits) { limits_ = limits, limitsOn_ = true; }
    // One frame of a sprite file as the dialog's own artwork at `placement`'s top-left. False,
    // and the framed look kept, when the frame is missing.
    bool SetBackground(const char* epfName, int frame, base::Point placement = {});

    const std::u16string& Name() const { return name_; }
    int16_t Slot() const { return slot_; }
    // Ends any press or drag: the window lost the focus, and the button-up will not come.
    void CancelInteraction();
    // Every dialog alive, for the window's deactivation.
    static void CancelAllInteractions();

    // Index and part under a point in dialog coordinates; (−1, 8) for none.
    struct Hit {
        int32_t index = -1;
        uint8_t part = kPartNone;
    };
    Hit HitAt(int32_t x, int32_t y) const;

  protected:
    // Shows the control pressed, waits, and runs its command, as Enter and Escape do.
    void PressControl(int32_t index);
    // The three default outlines at 4, 3 and 2 pixels outside the default control.
    void DrawDefaultOutline();
    // After a command or a key: the enabled states again, and the outline when the default
    // control changed state.
    void AfterChange();

  private:
    bool valid(int32_t index) const { return index >= 0 && index < int32_t(controls_.size()); }
    bool usable(int32_t index) const {
        return valid(index) && controls_[size_t(index)]->IsEnabled();
    }
    void forwardMouse(int32_t index, const app::InputEvent& event);
    void releasePressed(const app::InputEvent* event, bool command);
    void endDrag(bool save);
    void invalidateOutline(int32_t index);
    void collect();

    std::u16string name_;
    int16_t slot_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::unique_ptr<Control>> retired_;
    int32_t default_ = -1;
    int32_t cancel_ = -1;
    int32_t focus_ = -1;
    int32_t pressed_ = -1;
    uint8_t pressedPart_ = kPartNone;
    int32_t hot_ = -1;
    uint8_t hotState_ = kStateNormal;
    bool dragging_ = false;
    uint8_t savedDrawMode_ = kCopy;
    base::Point dragStartScreen_;
    base::Point dragStartPos_;
    bool limitsOn_ = false;
    base::Rect limits_;
    resources::PixMap background_;
    base::Point backgroundAt_;
    int depth_ = 0;
    bool outlineEnabled_ = false;
};

}  // namespace vs::ui
