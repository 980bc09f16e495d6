#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/rect.h"
#include "ui/pane.h"

namespace vs::ui {

class TextEditPane;

// Shows the input method's composition and candidate list in the game's own top layer, at the
// caret of the most recently registered text entry. Never composed itself: it only listens.
class ImeUiPane final : public Pane {
  public:
    ImeUiPane();
    ~ImeUiPane() override;
    static ImeUiPane* instance() { return instance_; }

    // Removes the entry, then appends it when on: the last one registered has the caret.
    void Register(TextEditPane* entry, bool on);
    TextEditPane* Current() const { return entries_.empty() ? nullptr : entries_.back(); }
    const std::vector<TextEditPane*>& Entries() const { return entries_; }

  private:
    static inline ImeUiPane* instance_ = nullptr;
    std::vector<TextEditPane*> entries_;
};

}  // namespace vs::ui
