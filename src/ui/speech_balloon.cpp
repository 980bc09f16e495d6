#include "ui/speech_balloon.h"

#include <algorithm>
#include <array>

#include "graphics/canvas.h"
#include "graphics/font_cache.h"

namespace vs::ui {

using base::Rect;

namespace {

// 8 × 4 masks: ' ' outside, '#' edge, '.' inside. The corner is the top-left one; the others
// are its mirror images. The tail hangs below the bottom edge, its first row on that edge.
constexpr std::array<const char*, 4> kCorner = {
    "  ######",
    " #......",
    "#.......",
    "#.......",
};
constexpr std::array<const char*, 4> kTail = {
    "#......#",
    " #....# ",
    "  #..#  ",
    "   ##   ",
};

enum Shape : uint8_t { kOutside = 0, kEdge = 1, kInside = 2 };

Shape shapeOf(char c) {
    return c == '#' ? kEdge : c == '.' ? kInside : kOutside;
}

int32_t advance(char16_t c) {
    auto* fonts = graphics::FontCache::instance();
    return fonts ? fonts->GlyphAdvance(0, c) : 0;
}

}  // namespace

int32_t SpeechBalloon::ColorOfType(int32_t type) {
    switch (type) {
        case 1:
            return 14;
        case 2:
            return 9;
        case 3:
            return 200;
        default:
            return 143;
    }
}

SpeechBalloon::SpeechBalloon(std::u16string_view text, int32_t color)
    : text_(text.substr(0, kMaxText)), color_(color) {
    breakLines();
    width_ = std::max(textWidth_ + 10, kMinWidth);
    height_ = int32_t(lines_.size()) * kLine + 10;
}

void SpeechBalloon::breakLines() {
    int32_t limit = kFirstLimit, used = 0, widest = 0;
    std::u16string line;
    for (char16_t c : text_) {
        const int32_t a = advance(c);
        if (used + a > limit && !line.empty()) {
            if (c != u' ' && c != u'\t' && used + a <= kRunOnLimit) {
                limit = used + a;  // the word runs on
            } else {
                widest = std::max(widest, used);
                lines_.push_back(std::move(line));
                line.clear();
                used = 0;
            }
        }
        line += c;
        used += a;
    }
    widest = std::max(widest, used);
    if (!line.empty() || lines_.empty()) lines_.push_back(std::move(line));
    textWidth_ = widest + 1;
}

Rect SpeechBalloon::TailArea() const {
    const int32_t top = tailSide_ == kTailBottom ? height_ - kTailHeight - 1 : 0;
    return {tailX_ - 4, top, tailX_ + 4, top + kTailHeight + 1};
}

Rect SpeechBalloon::Follow(const Rect& speaker, const Rect& area) {
    const int32_t centre = speaker.left + speaker.width() / 2;
    int32_t left = centre - width_ / 2;
    left = std::max(area.left, std::min(left, area.right - width_));
    // Above the speaker when there is room, else below it; never outside the area.
    uint8_t side = kTailBottom;
    int32_t top = speaker.top - int32_t(lines_.size()) * kLine - 14;
    if (top < area.top) {
        side = kTailTop;
        top = speaker.bottom + 4;
    }
    top = std::max(area.top, std::min(top, area.bottom - height_));
    const int32_t tail = std::clamp(centre - left, 8, width_ - 9);

    Rect repaint;
    if (placed_ && side != tailSide_) {
        repaint = {0, 0, width_, height_};
    } else if (placed_ && tail != tailX_) {
        repaint = TailArea();
        tailX_ = tail;
        repaint = repaint.unite(TailArea());
    }
    tailSide_ = side;
    tailX_ = tail;
    bounds_ = Rect::fromSize(left, top, width_, height_);
    placed_ = true;
    return repaint;
}

void SpeechBalloon::Paint(graphics::Canvas& canvas) const {
    const int32_t w = width_, h = height_;
    // The body's rectangle: inset a pixel left and right, and by the tail on the tail's side.
    const int32_t bx0 = 1, bx1 = w - 1;
    const int32_t by0 = tailSide_ == kTailTop ? kTailHeight : 0;
    const int32_t by1 = tailSide_ == kTailTop ? h : h - kTailHeight;
    std::vector<uint8_t> shape(size_t(w) * size_t(h), kOutside);
    auto at = [&](int32_t x, int32_t y) -> uint8_t* {
        return x >= 0 && y >= 0 && x < w && y < h ? &shape[size_t(y) * size_t(w) + size_t(x)]
                                                  : nullptr;
    };
    for (int32_t y = by0; y < by1; ++y) {
        for (int32_t x = bx0; x < bx1; ++x) {
            const bool edge = y == by0 || y == by1 - 1 || x == bx0 || x == bx1 - 1;
            *at(x, y) = edge ? kEdge : kInside;
        }
    }
    for (int32_t my = 0; my < 4; ++my) {
        for (int32_t mx = 0; mx < 8; ++mx) {
            const Shape s = shapeOf(kCorner[size_t(my)][mx]);
            for (auto [x, y] :
                 {std::pair{bx0 + mx, by0 + my}, std::pair{bx1 - 1 - mx, by0 + my},
                  std::pair{bx0 + mx, by1 - 1 - my}, std::pair{bx1 - 1 - mx, by1 - 1 - my}}) {
                if (uint8_t* p = at(x, y)) *p = s;
            }
            const Shape t = shapeOf(kTail[size_t(my)][mx]);
            if (t == kOutside) continue;
            const int32_t tx = tailX_ - 4 + mx;
            const int32_t ty = tailSide_ == kTailTop ? by0 - my : by1 - 1 + my;
            if (uint8_t* p = at(tx, ty)) *p = t;
        }
    }

    const uint8_t mode = canvas.TransferMode();
    const int32_t pen = canvas.PenColor();
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w;) {
            const uint8_t s = *at(x, y);
            int32_t e = x + 1;
            while (e < w && *at(e, y) == s) ++e;
            if (s != kOutside) {
                canvas.SetTransferMode(s == kInside ? 2 : 0);
                canvas.SetPenColor(s == kInside ? kBodyColor : color_);
                canvas.FillRect({x, y, e, y + 1});
            }
            x = e;
        }
    }
    canvas.SetTransferMode(mode);
    canvas.SetPenColor(pen);

    const int32_t textColor = canvas.TextColor(), backColor = canvas.TextBackColor();
    const uint8_t backMode = canvas.TextBackMode();
    const base::Point penAt = canvas.GetPen();
    canvas.SetTextColor(color_);
    canvas.SetTextBackColor(kBodyColor);
    canvas.SetTextBackMode(1);
    int32_t baseline = by0 + 15;
    for (const std::u16string& line : lines_) {
        canvas.MoveTo(5, baseline);
        canvas.DrawText(line);
        baseline += kLine;
    }
    canvas.MoveTo(penAt.x, penAt.y);
    canvas.SetTextColor(textColor);
    canvas.SetTextBackColor(backColor);
    canvas.SetTextBackMode(backMode);
}

}  // namespace vs::ui
