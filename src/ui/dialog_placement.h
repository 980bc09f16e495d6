#pragma once
#include <cstdint>
#include <functional>

#include "base/rect.h"

namespace vs::ui {

class Pane;

// Saved dialog positions: slot n (0 to 15) is the setting "DialogPos<n + 1>", an anchor kind
// (0 top-left, 1 centre, 2 top-right) and a point.
constexpr int kDialogSlotCount = 16;

// The rectangle a dialog opens at: the one it asked for, placed by its slot's saved position
// (keeping its size) and then moved so that at least a 50-pixel corner stays reachable. A slot
// outside 0 … 15 keeps the rectangle asked for.
base::Rect PlaceDialog(int slot, const base::Rect& asked);
// The reachability rule on its own, in 64 bits so that no saved value can overflow it.
base::Rect KeepReachable(int64_t left, int64_t top, int64_t width, int64_t height);
// After the player dragged the dialog: its rectangle in parent coordinates, under the slot's kind.
void SaveDialogPos(int slot, const base::Rect& inParent);

// Opening and closing slides: the dialog is drawn five times, moving down into (or up out of)
// its rectangle, the screen composed and presented each time, with a 24 ms pause between. Both
// do nothing for a dialog that is not showing.
struct SlideHooks {
    std::function<void()> present;        // compose and present now (the display by default)
    std::function<void(uint32_t)> sleep;  // the clock's sleep by default
};
constexpr uint32_t kSlidePauseMs = 24;
void SlideOpen(Pane& dialog, const SlideHooks& hooks = {});
void SlideClose(Pane& dialog, const SlideHooks& hooks = {});

}  // namespace vs::ui
