#include "ui/dialog_placement.h"

#include <algorithm>

#include "app/settings.h"
#include "graphics/display.h"
#include "platform/clock.h"
#include "ui/pane.h"

namespace vs::ui {

using base::Rect;

namespace {

int32_t toInt32(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

void presentNow(const SlideHooks& hooks) {
    if (hooks.present)
        hooks.present();
    else if (auto* d = graphics::Display::instance())
        d->Present();
}

void pause(const SlideHooks& hooks) {
    if (hooks.sleep)
        hooks.sleep(kSlidePauseMs);
    else if (auto* clock = platform::Clock::instance())
        clock->sleepMs(kSlidePauseMs);
}

// One step: the dialog `shift` pixels above its rectangle, showing only what lies below its
// real top edge.
void showShifted(Pane& dialog, const Rect& rect, int32_t shift, const SlideHooks& hooks) {
    const Rect clip = dialog.ClipArea();
    // A repaint under the shifted clip paints only what shows, but clears the whole dirty area:
    // the rest must still be painted later.
    const Rect pending = dialog.DirtyRegion().rect();
    dialog.SetPosition({rect.left, rect.top - shift});
    dialog.SetClipArea(clip.intersect(dialog.GetBounds().offset(0, shift)));
    presentNow(hooks);
    dialog.SetClipArea(clip);
    if (shift > 0) dialog.Invalidate(pending);
    pause(hooks);
}

}  // namespace

Rect KeepReachable(int64_t left, int64_t top, int64_t width, int64_t height) {
    const int64_t screenW = graphics::Display::kWidth, screenH = graphics::Display::kHeight;
    width = std::clamp<int64_t>(width, 0, screenW * 64);
    height = std::clamp<int64_t>(height, 0, screenH * 64);
    int64_t bottom = top + height, right = left + width;
    if (bottom <= 49)
        top = 50 - height;
    else if (top > screenH - 50)
        top = screenH - 50;
    if (right <= 49)
        left = 50 - width;
    else if (left > screenW - 50)
        left = screenW - 50;
    bottom = top + height, right = left + width;
    return {toInt32(left), toInt32(top), toInt32(right), toInt32(bottom)};
}

Rect PlaceDialog(int slot, const Rect& asked) {
    const int64_t w = int64_t(asked.right) - asked.left, h = int64_t(asked.bottom) - asked.top;
    int64_t left = asked.left, top = asked.top;
    const auto* settings = app::Settings::instance();
    if (settings && slot >= 0 && slot < kDialogSlotCount) {
        const app::DialogPos& p = settings->dialogPos(slot);
        switch (p.kind) {
            case 0:
                left = p.x, top = p.y;
                break;
            case 1:
                left = int64_t(p.x) - w / 2, top = int64_t(p.y) - h / 2;
                break;
            case 2:
                left = int64_t(p.x) - w, top = p.y;
                break;
            default:
                break;
        }
    }
    return KeepReachable(left, top, w, h);
}

void SaveDialogPos(int slot, const Rect& r) {
    auto* settings = app::Settings::instance();
    if (!settings || slot < 0 || slot >= kDialogSlotCount) return;
    app::DialogPos p = settings->dialogPos(slot);
    switch (p.kind) {
        case 0:
            p.y = r.top, p.x = r.left;
            break;
        case 1:
            p.y = toInt32((int64_t(r.top) + r.bottom) / 2);
            p.x = toInt32((int64_t(r.left) + r.right) / 2);
            break;
        case 2:
            p.y = r.top, p.x = r.right;
            break;
        default:
            return;
    }
    settings->setDialogPos(slot, p);
}

void SlideOpen(Pane& dialog, const SlideHooks& hooks) {
    if (!dialog.IsShowing()) return;
    const Rect rect = dialog.GetBoundsInParent();
    const int32_t h = rect.height();
    for (int k = 4; k >= 0; --k) showShifted(dialog, rect, int32_t(int64_t(k) * h / 5), hooks);
    dialog.SetPosition(rect.topLeft());
}

void SlideClose(Pane& dialog, const SlideHooks& hooks) {
    if (!dialog.IsShowing()) return;
    const Rect rect = dialog.GetBoundsInParent();
    const int32_t h = rect.height();
    for (int k = 1; k <= 5; ++k) showShifted(dialog, rect, int32_t(int64_t(k) * h / 5), hooks);
    dialog.SetPosition(rect.topLeft());
}

}  // namespace vs::ui
