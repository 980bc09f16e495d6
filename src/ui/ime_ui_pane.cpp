#include "ui/ime_ui_pane.h"

#include <algorithm>

#include "ui/text_edit_pane.h"

namespace vs::ui {

ImeUiPane::ImeUiPane() : Pane(kHidden) {
    instance_ = this;
}

ImeUiPane::~ImeUiPane() {
    if (instance_ == this) instance_ = nullptr;
}

void ImeUiPane::Register(TextEditPane* entry, bool on) {
    entries_.erase(std::remove(entries_.begin(), entries_.end(), entry), entries_.end());
    if (on && entry) entries_.push_back(entry);
}

}  // namespace vs::ui
