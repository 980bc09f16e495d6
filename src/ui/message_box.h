#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "ui/dialog.h"

namespace vs::ui {

class Label;

// The game's own message box: a wrapped text over one or two buttons ("OK" alone, or "Delete"
// and "Cancel"), centred on its owner, modal, sliding in and out. An empty first caption makes a
// note without buttons, which its creator closes.
class MessageBox : public Dialog {
  public:
    static constexpr int32_t kMaxHeight = 480;

    MessageBox(std::u16string_view text, Pane* owner, std::u16string_view first,
               std::u16string_view second = {});

    // --- virtual operations, continuing the dialog's ------------------------------------------
    virtual void OnOk() {
        if (onOk_) onOk_();
    }
    virtual void OnCancel() {
        if (onCancel_) onCancel_();
    }
    void OnCommand(int32_t index, int32_t code) override;

    // Creates a box that the close list keeps until it closes, and opens it.
    static MessageBox* Show(std::u16string_view text, Pane* owner, std::u16string_view first,
                            std::u16string_view second = {}, std::function<void()> onOk = {},
                            std::function<void()> onCancel = {});

    void SetOnOk(std::function<void()> f) { onOk_ = std::move(f); }
    void SetOnCancel(std::function<void()> f) { onCancel_ = std::move(f); }
    // Attaches to the dialog layer, registers and slides in. Without a dialog layer the box
    // stays closed.
    void Open();
    // Slides out and closes, without a callback (a note whose wait is over).
    void Dismiss();

    int32_t ButtonCount() const { return buttons_; }
    // Where the box opens: centred on the owner (on the screen without one), inside the screen.
    base::Rect PlannedRect() const { return planned_; }
    Label* TextLabel() const;

  private:
    Pane* owner_;
    int32_t buttons_;
    base::Rect planned_;
    std::function<void()> onOk_, onCancel_;
    bool done_ = false;
};

}  // namespace vs::ui
