#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/rect.h"
#include "ui/pane.h"

namespace vs::ui {

class Layer;
class TextEditPane;

// The input method's composition string, at the caret; the left button drags it.
class CompositionWindow final : public Pane {
  public:
    static constexpr size_t kMaxText = 255;
    CompositionWindow();
    void SetText(std::u16string_view text);
    const std::u16string& Text() const { return text_; }
    // Where the composition cursor is drawn, in the window's pixels.
    int32_t CursorX();
    bool OnMouse(const app::InputEvent& event) override;
    void Paint() override;

  private:
    std::u16string text_;
    bool dragging_ = false;
    base::Point grab_;
};

// The input method's candidates: one a row, the selected one inverted.
class CandidateWindow final : public Pane {
  public:
    CandidateWindow();
    void SetCandidates(std::vector<std::u16string> items, int32_t selection);
    const std::vector<std::u16string>& Items() const { return items_; }
    int32_t Selection() const { return selection_; }
    void Paint() override;

  private:
    std::vector<std::u16string> items_;
    int32_t selection_ = 0;
};

// Shows the input method's composition and candidate list in the game's own top layer, at the
// caret of the most recently registered text entry. Never composed itself: it only listens.
class ImeUiPane final : public Pane {
  public:
    static constexpr int32_t kRowHeight = 14;  // a line and two pixels

    explicit ImeUiPane(Layer* topLayer = nullptr);
    ~ImeUiPane() override;
    static ImeUiPane* instance() { return instance_; }

    // Removes the entry, then appends it when on: the last one registered has the caret.
    void Register(TextEditPane* entry, bool on);
    TextEditPane* Current() const { return entries_.empty() ? nullptr : entries_.back(); }
    const std::vector<TextEditPane*>& Entries() const { return entries_; }

    bool OnText(const app::InputEvent& event) override;

    CompositionWindow* Composition() const { return composition_; }
    CandidateWindow* Candidates() const { return candidates_; }
    base::Point CompositionPosition() const { return position_; }
    void SetCompositionPosition(base::Point p);
    // The current entry's caret moved: the system's own candidate list follows it.
    void CaretMoved(const TextEditPane* entry);

    // Where the windows go on the 640 × 480 screen.
    static base::Rect PlaceComposition(base::Point caret, int32_t width, int32_t height);
    static base::Rect PlaceCandidates(const base::Rect* composition, int32_t cursorX, int32_t width,
                                      int32_t height);

  private:
    void closeComposition();
    void closeCandidates();
    void placeComposition();
    void placeCandidates();
    void tellInputRect();

    static inline ImeUiPane* instance_ = nullptr;
    Layer* top_;
    std::vector<TextEditPane*> entries_;
    CompositionWindow* composition_ = nullptr;
    CandidateWindow* candidates_ = nullptr;
    base::Point position_;
};

}  // namespace vs::ui
