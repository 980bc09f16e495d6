#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/pane.h"

namespace vs::ui {

class Control;

// One entry of a popup menu; it draws itself inside its rectangle (menu coordinates).
class PopupItem {
  public:
    PopupItem(const base::Rect& rect, bool enabled = true) : rect_(rect), enabled_(enabled) {}
    virtual ~PopupItem() = default;
    virtual void Paint(graphics::Canvas& canvas, bool selected) = 0;
    const base::Rect& Rect() const { return rect_; }
    bool IsEnabled() const { return enabled_; }
    void SetEnabled(bool on) { enabled_ = on; }

  private:
    base::Rect rect_;
    bool enabled_;
};

// A line of text; the selected one reversed.
class TextPopupItem : public PopupItem {
  public:
    static constexpr int32_t kText = 143, kSelectedText = 128, kDisabledText = 134;
    static constexpr int32_t kSelectedBack = 143;
    TextPopupItem(const base::Rect& rect, std::u16string_view text, bool enabled = true)
        : PopupItem(rect, enabled), text_(text) {}
    void Paint(graphics::Canvas& canvas, bool selected) override;
    const std::u16string& Text() const { return text_; }

  private:
    std::u16string text_;
};

// A menu that slides down below a control, in the dialog layer at screen coordinates, and is
// offered the dialog's events before the dialog itself. It reports the chosen item, or −1.
class PopupMenu : public Pane {
  public:
    static constexpr int kSlideSteps = 25;
    static constexpr const char* kGround = "MENUBACK.EPF";

    PopupMenu();
    ~PopupMenu() override;

    void AddItem(std::unique_ptr<PopupItem> item);
    void ClearItems();
    size_t ItemCount() const { return items_.size(); }
    PopupItem* Item(int32_t index) const;
    void SetChooser(std::function<void(int32_t item)> chooser) { chooser_ = std::move(chooser); }

    // Opens at screen point (x, y) for `owner` with `selected` highlighted (−1: none); an open
    // menu is closed first. Nothing happens without items or a dialog layer.
    void Open(Control* owner, int32_t x, int32_t y, int32_t selected);
    // Slides up, leaves the trees and reports `item` to the chooser.
    void CloseMenu(int32_t item);
    bool IsOpen() const { return open_; }
    int32_t Selected() const { return selected_; }

    void Paint() override;
    bool OnMouse(const app::InputEvent& event) override;
    bool OnKey(const app::InputEvent& event) override;

  private:
    int32_t itemAt(base::Point p) const;
    void select(int32_t index);
    void slide(bool down);

    std::vector<std::unique_ptr<PopupItem>> items_;
    std::function<void(int32_t)> chooser_;
    Control* owner_ = nullptr;
    bool open_ = false;
    int32_t selected_ = -1;
};

}  // namespace vs::ui
