#pragma once
#include <algorithm>
#include <cstdint>

namespace vs::screens {

// The four character previews of the new character dialog: consecutive styles from `first`,
// one of them selected. Moving past either end shifts all four by one; the arrow of a direction
// is disabled once the styles reach that end, and the other arrow enabled again.
class StyleStrip {
  public:
    static constexpr int kShown = 4;

    // With more than four styles the first is `randomFirst` (taken in [0, count - 4)); with
    // four or fewer every style shows from 0 and neither arrow moves anything.
    StyleStrip(int styleCount, uint32_t randomFirst);

    int styleCount() const { return count_; }
    int shown() const { return std::min(kShown, count_); }
    int first() const { return first_; }
    int selected() const { return selected_; }
    int selectedStyle() const { return first_ + selected_; }
    int styleAt(int preview) const { return first_ + preview; }
    bool leftEnabled() const { return left_; }
    bool rightEnabled() const { return right_; }

    // One step; false when nothing changed.
    bool MoveLeft();
    bool MoveRight();
    void Select(int preview);

  private:
    int count_;
    int first_ = 0;
    int selected_ = 0;
    bool left_ = false, right_ = false;
};

}  // namespace vs::screens
