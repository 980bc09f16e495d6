#include "screens/style_strip.h"

namespace vs::screens {

StyleStrip::StyleStrip(int styleCount, uint32_t randomFirst) : count_(std::max(0, styleCount)) {
    if (count_ <= kShown) return;
    first_ = int(randomFirst % uint32_t(count_ - kShown));
    left_ = first_ > 0;
    right_ = first_ + kShown - 1 < count_ - 1;
}

bool StyleStrip::MoveLeft() {
    if (selected_ > 0) {
        --selected_;
        return true;
    }
    if (first_ == 0) return false;
    --first_;
    left_ = first_ > 0;
    right_ = true;
    return true;
}

bool StyleStrip::MoveRight() {
    if (selected_ < shown() - 1) {
        ++selected_;
        return true;
    }
    if (first_ + shown() >= count_) return false;
    ++first_;
    right_ = first_ + shown() < count_;
    left_ = true;
    return true;
}

void StyleStrip::Select(int preview) {
    if (preview >= 0 && preview < shown()) selected_ = preview;
}

}  // namespace vs::screens
