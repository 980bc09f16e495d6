#pragma once
#include <array>
#include <cstddef>

#include "base/rect.h"
#include "ui/pane.h"

namespace vs::ui {
class Layer;
class TextEditPane;
}  // namespace vs::ui

namespace vs::client {

// A debug screen for trying the text entries: a one-line entry, a password and six lines with
// symbols. Tab (Shift+Tab back) or a click chooses the entry that takes the keys.
class TextEntrySample final : public ui::Pane {
  public:
    static constexpr size_t kEntries = 3;
    explicit TextEntrySample(ui::Layer* layer);
    ~TextEntrySample() override;

    bool OnKey(const app::InputEvent& event) override;
    bool OnMouse(const app::InputEvent& event) override;
    void Paint() override;

    ui::TextEditPane& Entry(size_t i) { return *entries_[i]; }
    size_t Active() const { return active_; }
    void Activate(size_t i);

  private:
    std::array<ui::TextEditPane*, kEntries> entries_{};
    std::array<base::Rect, kEntries> places_{};
    size_t active_ = 0;
};

}  // namespace vs::client
