#include "ui/sprite_button.h"

namespace vs::ui {

SpriteButton::SpriteButton(const base::Rect& rect, int number) : Button(rect), number_(number) {}

bool SpriteButton::FrameFor(int number, bool pressed, const char*& file, int& frame) {
    if (number < 0 || number > kLast) return false;
    const int p = pressed ? 1 : 0;
    if (number < kFirstOfSecondFile) {
        file = "BUTT001.EPF";
        frame = 2 * number + p;
    } else {
        file = "BUTT002.EPF";
        frame = 2 * number + p - 100;
    }
    return true;
}

void SpriteButton::SetNumber(int number) {
    number_ = number;
    Invalidate();
}

void SpriteButton::Paint() {
    SetPenColor(0);
    FillRect(GetBounds());
    const char* file = nullptr;
    int frame = 0;
    if (FrameFor(number_, State() == kStatePressed, file, frame))
        DrawSpriteFrame(*this, file, frame, 0, 0, 0, kInterfacePalette);
    if (!IsEnabled()) Wash(2);
    PaintOutlines();
}

}  // namespace vs::ui
