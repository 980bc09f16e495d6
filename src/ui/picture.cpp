#include "ui/picture.h"

#include <algorithm>

namespace vs::ui {

using base::Rect;

Picture::Picture(const Rect& rect, std::string epf, int frame, std::string palette)
    : Control(rect, kKindPicture),
      epf_(std::move(epf)),
      palette_(std::move(palette)),
      frame_(frame) {
    SetFocusable(false);
}

void Picture::SetFrame(int frame) {
    if (frame == frame_) return;
    frame_ = frame;
    Invalidate();
}

void Picture::Paint() {
    SetPenColor(0);
    FillRect(GetBounds());
    DrawSpriteFrame(*this, epf_.c_str(), frame_, 0, 0, 0, palette_.c_str());
}

}  // namespace vs::ui
