#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control.h"
#include "ui/popup_menu.h"

namespace vs::ui {

// A drop-down box: the chosen item's text on a sunken strip, and a popup menu of every item
// that opens from it.
class ComboBox : public Control {
  public:
    static constexpr const char* kFile = "POPUPMNU.EPF";
    static constexpr int32_t kText = 37;
    static constexpr int32_t kItemHeight = 16;

    explicit ComboBox(const base::Rect& rect);

    void AddItem(std::u16string_view text);
    size_t ItemCount() const { return texts_.size(); }
    int32_t Selected() const { return selected_; }
    // −1 or an item; reports nothing.
    void Select(int32_t index);
    PopupMenu& Menu() { return menu_; }
    void OpenMenu();

    void Paint() override;
    uint8_t HitTest(int32_t x, int32_t y) const override;
    bool OnMouse(const app::InputEvent& event) override;
    bool OnKey(const app::InputEvent& event) override;

  private:
    void chosen(int32_t item);

    std::vector<std::u16string> texts_;
    int32_t selected_ = -1;
    PopupMenu menu_;
};

}  // namespace vs::ui
