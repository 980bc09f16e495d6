#include "ui/ime_ui_pane.h"

#include <algorithm>

#include "graphics/font_cache.h"
#include "platform/text_input.h"
#include "ui/ime_man.h"
#include "ui/layer.h"
#include "ui/text_edit_pane.h"

namespace vs::ui {

using app::InputEvent;
using base::Point;
using base::Rect;

namespace {

constexpr int32_t kLine = graphics::FontCache::kLineHeight;
constexpr int32_t kScreenW = ScreenPane::kScreenRect.right;
constexpr int32_t kScreenH = ScreenPane::kScreenRect.bottom;
constexpr int32_t kFill = 143;
constexpr int32_t kInk = 128;

void paintFrame(Pane& p) {
    const Rect b = p.GetBounds();
    p.SetTransferMode(0);
    p.SetPenColor(kFill);
    p.FillRect(b);
    p.SetPenColor(kInk);
    p.FrameRect(b);
    p.SetTextColor(kInk);
    p.SetTextBackMode(1);
}

// Moves a window of the top layer; a window being dragged keeps the pointer.
void placeAt(Pane& p, const Rect& r, Layer* layer) {
    if (p.GetLayer() && p.GetBoundsInParent() == r) {
        p.Invalidate();
        return;
    }
    const bool focused = p.HasFocus();
    p.Attach(r, nullptr, nullptr, layer);
    if (focused) p.TakeFocus();
}

template <class T>
T& newWindow(Pane& owner) {
    T& w = owner.MakeChild<T>();
    w.RegisterHandler(nullptr, nullptr);
    return w;
}

}  // namespace

// --- the composition window -------------------------------------------------------------------

CompositionWindow::CompositionWindow() : Pane(kCopy) {}

void CompositionWindow::SetText(std::u16string_view text) {
    text_ = text.substr(0, kMaxText);
    Invalidate();
}

int32_t CompositionWindow::CursorX() {
    const auto* ime = ImeMan::instance();
    const size_t n =
        ime ? std::min(size_t(std::max(ime->CompositionCursor(), 0)), text_.size()) : text_.size();
    return TextWidth(std::u16string_view(text_).substr(0, n)) + 3;
}

bool CompositionWindow::OnMouse(const InputEvent& event) {
    switch (event.kind) {
        case InputEvent::kLeftDown:
        case InputEvent::kLeftDouble:
            if (!IsShowing() || !GetBounds().contains(Point{event.x, event.y})) return false;
            dragging_ = true;
            grab_ = {event.x, event.y};
            TakeFocus();
            return true;
        case InputEvent::kMouseMove:
            if (!dragging_) return false;
            if (auto* ui = ImeUiPane::instance()) {
                const Point p = GetPosition();
                ui->SetCompositionPosition({p.x + event.x - grab_.x, p.y + event.y - grab_.y});
            }
            return true;
        case InputEvent::kLeftUp:
            if (!dragging_) return false;
            dragging_ = false;
            DropFocus();
            return true;
        default:
            return false;
    }
}

void CompositionWindow::Paint() {
    paintFrame(*this);
    const Rect b = GetBounds();
    MoveTo(2, b.height() - 2);
    DrawText(text_);
    SetPenColor(kInk);
    const int32_t x = CursorX();
    FillRect({x, 2, x + 1, 2 + kLine});
}

// --- the candidate window ---------------------------------------------------------------------

CandidateWindow::CandidateWindow() : Pane(kCopy) {}

void CandidateWindow::SetCandidates(std::vector<std::u16string> items, int32_t selection) {
    items_ = std::move(items);
    selection_ = items_.empty() ? 0 : std::clamp(selection, 0, int32_t(items_.size()) - 1);
    Invalidate();
}

void CandidateWindow::Paint() {
    paintFrame(*this);
    const int32_t w = GetBounds().width();
    for (size_t row = 0; row < items_.size(); ++row) {
        const auto r = int32_t(row);
        if (r == selection_) {
            SetPenColor(kInk);
            FillRect({0, r * ImeUiPane::kRowHeight + 2, w, r * ImeUiPane::kRowHeight + 3 + kLine});
            SetTextColor(kFill);
        } else {
            SetTextColor(kInk);
        }
        MoveTo(1, (r + 1) * ImeUiPane::kRowHeight);
        DrawText(items_[row]);
    }
}

// --- the manager pane -------------------------------------------------------------------------

ImeUiPane::ImeUiPane(Layer* topLayer) : Pane(kHidden), top_(topLayer) {
    instance_ = this;
}

ImeUiPane::~ImeUiPane() {
    // The entries outlive it at shutdown; they must not call back.
    if (instance_ == this) instance_ = nullptr;
}

void ImeUiPane::Register(TextEditPane* entry, bool on) {
    entries_.erase(std::remove(entries_.begin(), entries_.end(), entry), entries_.end());
    if (on && entry) entries_.push_back(entry);
}

Rect ImeUiPane::PlaceComposition(Point caret, int32_t width, int32_t height) {
    const int32_t x = std::clamp(caret.x, 0, std::max(0, kScreenW - width));
    const int32_t y = std::clamp(caret.y, 0, std::max(0, kScreenH - height));
    return Rect::fromSize(x, y, width, height);
}

Rect ImeUiPane::PlaceCandidates(const Rect* composition, int32_t cursorX, int32_t width,
                                int32_t height) {
    Point p{4, 4};
    if (composition) p = {composition->left + cursorX, composition->bottom + 4};
    p.x = std::max(0, std::min(p.x, kScreenW - width));
    if (p.y + height > kScreenH) {
        p.y = composition ? composition->top - height : kScreenH - height;
        p.y = std::clamp(p.y, 0, std::max(0, kScreenH - height));
    }
    return Rect::fromSize(p.x, p.y, width, height);
}

void ImeUiPane::SetCompositionPosition(Point p) {
    position_ = p;
    if (!composition_) return;
    const Rect b = composition_->GetBounds();
    placeAt(*composition_, PlaceComposition(p, b.width(), b.height()), top_);
    tellInputRect();
}

void ImeUiPane::placeComposition() {
    if (!composition_) return;
    if (const TextEditPane* entry = Current()) {
        position_ = entry->GetScreenPosition() + entry->CaretPoint();
    }
    const std::u16string& text = composition_->Text();
    const int32_t w = text.empty() ? 0 : composition_->TextWidth(text) + 4;
    const Rect r = PlaceComposition(position_, w, kLine + 4);
    position_ = r.topLeft();
    placeAt(*composition_, r, top_);
    composition_->Invalidate();
    tellInputRect();
}

void ImeUiPane::placeCandidates() {
    if (!candidates_) return;
    int32_t widest = 0;
    for (const auto& s : candidates_->Items()) widest = std::max(widest, candidates_->TextWidth(s));
    const int32_t w = widest + 6;
    const int32_t h = kRowHeight * int32_t(candidates_->Items().size()) + 4;
    Rect comp;
    const bool hasComp = composition_ != nullptr;
    if (hasComp) comp = composition_->GetBoundsInParent();
    const Rect r =
        PlaceCandidates(hasComp ? &comp : nullptr, hasComp ? composition_->CursorX() : 0, w, h);
    placeAt(*candidates_, r, top_);
    candidates_->Invalidate();
}

void ImeUiPane::closeComposition() {
    if (!composition_) return;
    CompositionWindow* c = composition_;
    composition_ = nullptr;
    c->Close();
}

void ImeUiPane::closeCandidates() {
    if (!candidates_) return;
    CandidateWindow* c = candidates_;
    candidates_ = nullptr;
    c->Close();
}

void ImeUiPane::tellInputRect() {
    auto* input = platform::TextInput::instance();
    if (!input) return;
    if (composition_ && !composition_->GetBounds().empty()) {
        input->setCompositionRect(composition_->GetBoundsInParent());
    } else {
        input->setCompositionRect(Rect::fromSize(position_.x, position_.y, 1, kLine + 4));
    }
}

void ImeUiPane::CaretMoved(const TextEditPane* entry) {
    if (entry != Current() || composition_) return;
    position_ = entry->GetScreenPosition() + entry->CaretPoint();
    tellInputRect();
}

bool ImeUiPane::OnText(const InputEvent& event) {
    switch (event.kind) {
        case InputEvent::kImeStart:
            if (!composition_) composition_ = &newWindow<CompositionWindow>(*this);
            placeComposition();
            return true;
        case InputEvent::kImeString:
            if (!composition_) composition_ = &newWindow<CompositionWindow>(*this);
            composition_->SetText(event.text);
            placeComposition();
            if (candidates_) placeCandidates();
            return true;
        case InputEvent::kImeEnd:
            closeComposition();
            return true;
        case InputEvent::kImeCandidates: {
            const auto* page = dynamic_cast<const CandidatePage*>(event.candidates.get());
            if (!page || page->items.empty()) {
                closeCandidates();
                return true;
            }
            if (!candidates_) candidates_ = &newWindow<CandidateWindow>(*this);
            candidates_->SetCandidates(page->items, event.selection);
            placeCandidates();
            return true;
        }
        case InputEvent::kImeCandidatesClosed:
            closeCandidates();
            return true;
        default:
            return false;
    }
}

}  // namespace vs::ui
