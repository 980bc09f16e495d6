#include "screens/story_viewer.h"

#include "platform/virtual_keys.h"
#include "screens/screen_art.h"
#include "ui/layer.h"

namespace vs::screens {

StoryViewer::StoryViewer(std::string file) : file_(std::move(file)) {
    instance_ = this;
    pages_ = SpriteFrameCount(file_);
}

StoryViewer::~StoryViewer() {
    if (instance_ == this) instance_ = nullptr;
}

void StoryViewer::OnOpen() {
    auto* screen = ui::ScreenPane::instance();
    Attach(ui::ScreenPane::kScreenRect, nullptr, nullptr,
           screen ? screen->GetLayerById(ui::kOverlayLayer) : nullptr);
    RegisterHandler(nullptr, nullptr);
    if (auto* d = app::EventDispatcher::instance()) d->pushModal(this);
    if (pages_ == 0) Close();
}

void StoryViewer::Paint() {
    SetTransferMode(0);
    SetPenColor(0);
    FillRect(GetBounds());
    DrawSpriteFrame(*this, file_, page_, kPalette, {}, 0);
}

void StoryViewer::next() {
    if (++page_ >= pages_) {
        Close();
        return;
    }
    Invalidate();
}

bool StoryViewer::OnMouse(const app::InputEvent& e) {
    if (e.kind == app::InputEvent::kLeftUp || e.kind == app::InputEvent::kRightUp) next();
    return true;
}

bool StoryViewer::OnKey(const app::InputEvent& e) {
    if (e.kind == app::InputEvent::kKeyDown &&
        (e.keyCode == platform::kVkReturn || e.keyCode == platform::kVkEscape ||
         e.keyCode == platform::kVkSpace))
        next();
    return true;
}

}  // namespace vs::screens
