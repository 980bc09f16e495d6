#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control.h"

namespace vs::ui {

// Items with round marks, one of them selected (the first at the start).
class RadioGroup : public Control {
  public:
    // Item 64 would reach the part codes' disabled bit.
    static constexpr size_t kMaxItems = 64;
    static constexpr size_t kMaxCaption = 64;
    static constexpr const char* kFile = "RADIOBUT.EPF";
    static constexpr int32_t kText = 128, kTextDisabled = 136;

    explicit RadioGroup(const base::Rect& rect);

    // False when the group is full. `rect` is in the group's coordinates.
    bool AddItem(const base::Rect& rect, std::u16string_view caption);
    size_t ItemCount() const { return items_.size(); }
    int32_t Selected() const { return selected_; }
    void Select(int32_t index);

    void Paint() override;
    uint8_t HitTest(int32_t x, int32_t y) const override;
    bool OnMouse(const app::InputEvent& event) override;

  private:
    struct Item {
        base::Rect rect;
        std::u16string caption;
    };
    int32_t itemAt(int32_t x, int32_t y) const;

    std::vector<Item> items_;
    int32_t selected_ = 0;
};

}  // namespace vs::ui
