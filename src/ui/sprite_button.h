#pragma once
#include <cstdint>

#include "ui/button.h"

namespace vs::ui {

// A captioned plate from the button sprite files: number n is the pair of frames 2n (raised) and
// 2n + 1 (pressed) of "BUTT001.EPF" for n ≤ 50, of "BUTT002.EPF" counting from 51. A number
// outside 0 … 57 draws nothing.
class SpriteButton : public Button {
  public:
    static constexpr int kLast = 57;
    static constexpr int kFirstOfSecondFile = 51;

    SpriteButton(const base::Rect& rect, int number);
    void Paint() override;
    int Number() const { return number_; }
    void SetNumber(int number);

    // The file and frame shown for a number and press state; false outside 0 … 57.
    static bool FrameFor(int number, bool pressed, const char*& file, int& frame);

  private:
    int number_;
};

}  // namespace vs::ui
