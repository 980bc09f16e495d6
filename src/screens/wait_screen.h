#pragma once
#include <cstdint>

#include "ui/pane.h"

namespace vs::screens {

// The translucent screen that blocks input while a request waits for its answer. At most one
// exists; it is modal and takes every mouse and key event.
class WaitScreen final : public ui::Pane {
  public:
    static constexpr int kRequestLevel = 5;

    // Opens the wait screen unless one is open.
    static WaitScreen& Open(int level = kRequestLevel);
    // Closes the open wait screen, if any.
    static void CloseOpen();
    static WaitScreen* instance() { return instance_; }

    explicit WaitScreen(int level);
    ~WaitScreen() override;
    void OnOpen() override;
    void Paint() override;
    bool OnMouse(const app::InputEvent&) override { return true; }
    bool OnKey(const app::InputEvent&) override { return true; }
    bool OnText(const app::InputEvent&) override { return true; }

    // The shade of a level (0 to 7; others as 7).
    static int32_t ShadeIndex(int level);
    int level() const { return level_; }

  private:
    static inline WaitScreen* instance_ = nullptr;
    int level_;
};

}  // namespace vs::screens
