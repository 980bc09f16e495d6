#include "client/text_entry_sample.h"

#include <memory>

#include "app/input_man.h"
#include "ui/layer.h"
#include "ui/text_edit_pane.h"

namespace vs::client {

using app::InputEvent;
using base::Rect;

namespace {

constexpr int32_t kBack = 99;     // dark stone
constexpr int32_t kFrame = 134;   // dim interface grey
constexpr int32_t kChosen = 188;  // gold
constexpr int32_t kText = 128;
constexpr int32_t kField = 143;

constexpr const char16_t* kLabels[TextEntrySample::kEntries] = {u"One line", u"Password",
                                                                u"Six lines"};

}  // namespace

TextEntrySample::TextEntrySample(ui::Layer* layer) : Pane(kCopy) {
    Attach(ui::ScreenPane::kScreenRect, nullptr, nullptr, layer);
    RegisterHandler(nullptr, nullptr);
    places_ = {Rect::fromSize(160, 120, 320, 12), Rect::fromSize(160, 160, 320, 12),
               Rect::fromSize(160, 200, 320, 72)};
    for (size_t i = 0; i < kEntries; ++i) {
        const Rect& r = places_[i];
        auto& e = MakeChild<ui::TextEditPane>(r.width(), r.height(), r.width(), r.height(), kText,
                                              kField, false, false, 0, int16_t(0));
        e.Attach(r, nullptr, this, nullptr);
        e.RegisterHandler(nullptr, this);
        entries_[i] = &e;
    }
    entries_[0]->SetMaxLines(1);
    entries_[1]->SetMaxLines(1);
    entries_[1]->SetMaxLength(20);
    entries_[1]->SetPassword();
    ui::TextEditPane& six = *entries_[2];
    six.SetMaxLines(6);
    six.InsertText(u"Symbols stand in the text: ");
    for (int32_t n = 0; n < 8; ++n) {
        six.InsertText(u" ", {}, std::make_shared<ui::SymbolObject>(n));
        six.InsertText(u" ");
    }
    six.InsertText(u"\rand the lines wrap at blanks as they are typed.");
    six.SetModified(false);
    Activate(0);
}

TextEntrySample::~TextEntrySample() = default;

void TextEntrySample::Activate(size_t i) {
    active_ = i % kEntries;
    // The chosen entry registers last: the input method's window follows its caret.
    for (size_t k = 0; k < kEntries; ++k)
        if (k != active_) entries_[k]->SetEditable(true, false);
    entries_[active_]->SetEditable(true, true);
    Invalidate();
}

bool TextEntrySample::OnKey(const InputEvent& event) {
    if (event.kind != InputEvent::kKeyDown || event.keyCode != app::kKeyTab) return false;
    const bool back = (event.modifiers & InputEvent::kShift) != 0;
    Activate(back ? active_ + kEntries - 1 : active_ + 1);
    return true;
}

bool TextEntrySample::OnMouse(const InputEvent& event) {
    if (event.kind != InputEvent::kLeftDown && event.kind != InputEvent::kLeftDouble) return false;
    for (size_t i = 0; i < kEntries; ++i) {
        if (!places_[i].contains(base::Point{event.x, event.y})) continue;
        Activate(i);
        // The click that chose the entry also places its caret.
        InputEvent inside = event;
        inside.x -= places_[i].left;
        inside.y -= places_[i].top;
        entries_[i]->OnMouse(inside);
        return true;
    }
    return false;
}

void TextEntrySample::Paint() {
    SetTransferMode(0);
    SetPenColor(kBack);
    FillRect(GetBounds());
    SetTextBackMode(1);
    SetTextColor(kText);
    MoveTo(20, 80);
    DrawText(u"Text entry: Tab or a click chooses a field; Ctrl+C, X and V use the clipboard.");
    for (size_t i = 0; i < kEntries; ++i) {
        const Rect& r = places_[i];
        SetPenColor(i == active_ ? kChosen : kFrame);
        FrameRect({r.left - 3, r.top - 3, r.right + 3, r.bottom + 3});
        SetTextColor(i == active_ ? kChosen : kText);
        MoveTo(80, r.top + 12);
        DrawText(kLabels[i]);
    }
}

}  // namespace vs::client
