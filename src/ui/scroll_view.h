#pragma once
#include <cstdint>

#include "base/rect.h"
#include "ui/pane.h"

namespace vs::ui {

// A pane that shows part of a larger content through its view: the bounds less a 12-pixel strip
// for each scroll bar it has. Content size and scroll position count units (rows of a list, or
// pixels); the position stays within 0 … max(0, content − visible). The content paints in its
// own coordinates: the origin offset puts the view's top-left at the scroll position.
//
// A move shifts the pixels already there and paints only the strip it uncovers, then marks the
// view for composition. When part of the view still waits for a repaint, or the move is a view
// or more, the view is repainted instead, so a move always shows what a full repaint would.
class ScrollView : public Pane {
  public:
    static constexpr int32_t kBarSize = 12;

    // `unit`: the pixels of one unit across and down.
    ScrollView(base::Point unit, bool horizontalBar, bool verticalBar, uint8_t drawMode = kCopy);

    void SetBounds(const base::Rect& bounds) override;
    bool OnMouse(const app::InputEvent& event) override;
    // Tells the scroll bars that the position or the range changed.
    virtual void OnScrollChanged() {}

    // The view in the pane's coordinates.
    base::Rect ViewRect() const;
    // The view in units, rounded down.
    base::Point VisibleUnits() const;
    void SetContentSize(int32_t width, int32_t height);
    base::Point ContentSize() const { return content_; }
    base::Point ScrollPos() const { return pos_; }
    base::Point MaxScroll() const;
    void ScrollTo(int32_t x, int32_t y);
    void ScrollBy(int32_t dx, int32_t dy) { ScrollTo(pos_.x + dx, pos_.y + dy); }
    // Scrolls as little as needed for `rect` (content pixels) to lie inside the view.
    void MakeVisible(const base::Rect& rect);
    // Units per wheel notch (1 by default); a notch away from the user moves towards the start.
    void SetWheelStep(int32_t units) { wheelStep_ = units; }
    base::Point Unit() const { return unit_; }

  protected:
    // The content moved by `rows` units down under the view (negative: up); the position follows,
    // so the view keeps showing the same pixels.
    void ContentShifted(int32_t rows);

  private:
    void moveTo(base::Point next);
    void paintNow(const base::Rect& area);

    base::Point unit_;
    bool horizontalBar_;
    bool verticalBar_;
    base::Point content_;
    base::Point pos_;
    int32_t wheelStep_ = 1;
};

}  // namespace vs::ui
