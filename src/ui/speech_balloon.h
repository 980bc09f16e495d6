#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/rect.h"

namespace vs::graphics {
class Canvas;
}

namespace vs::ui {

// A speech balloon over a speaker: its text broken into lines, its place above the speaker (or
// below it when there is no room above) inside the visible map area, and its picture: a
// rounded body with a tail pointing at the speaker. The world object that carries it supplies
// the speaker's rectangle every frame.
class SpeechBalloon {
  public:
    static constexpr size_t kMaxText = 69;
    static constexpr int32_t kFirstLimit = 72;   // pixels a line may take
    static constexpr int32_t kRunOnLimit = 108;  // ... raised this far for a running word
    static constexpr int32_t kLine = 12;
    static constexpr int32_t kMinWidth = 17;
    static constexpr int32_t kTailHeight = 4;
    static constexpr int32_t kBodyColor = 128;
    // The part of the map view a balloon stays inside.
    static constexpr base::Rect kMapArea{14, 12, 422, 348};
    enum TailSide : uint8_t { kTailBottom = 0, kTailTop = 2 };

    // Balloon types of the map view: 0 speech, 1 shout, 2 and 3 other balloons.
    static int32_t ColorOfType(int32_t type);

    // The text is cut to 69 characters and broken into lines (at most 72).
    SpeechBalloon(std::u16string_view text, int32_t color);

    // Places the balloon for the speaker (map-view coordinates): centred over it, above it when
    // that fits the area, else below. Returns the part of the balloon (its own coordinates) to
    // repaint: all of it when the tail changed sides, the old and new tail when only the tail
    // moved, nothing otherwise.
    base::Rect Follow(const base::Rect& speaker, const base::Rect& area = kMapArea);

    // Paints the balloon with its top-left at the canvas's (0, 0).
    void Paint(graphics::Canvas& canvas) const;

    // Map-view rectangle; empty before the first Follow.
    const base::Rect& Bounds() const { return bounds_; }
    const std::u16string& Text() const { return text_; }
    const std::vector<std::u16string>& Lines() const { return lines_; }
    int32_t TextWidth() const { return textWidth_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    uint8_t TailSide() const { return tailSide_; }
    int32_t TailX() const { return tailX_; }
    int32_t Color() const { return color_; }
    // The tail's area in the balloon's coordinates.
    base::Rect TailArea() const;

  private:
    void breakLines();

    std::u16string text_;
    int32_t color_;
    std::vector<std::u16string> lines_;
    int32_t textWidth_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
    base::Rect bounds_;
    uint8_t tailSide_ = kTailBottom;
    int32_t tailX_ = 0;
    bool placed_ = false;
};

}  // namespace vs::ui
