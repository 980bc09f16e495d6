#include "ui/ime_man.h"

#include <algorithm>

#include "app/input_man.h"
#include "base/text.h"
#include "platform/text_input.h"

namespace vs::ui {

using platform::Message;

namespace {
app::InputMan* input() {
    return app::InputMan::instance();
}
}  // namespace

ImeMan::ImeMan() {
    instance_ = this;
    requesters_.reserve(100);
}

ImeMan::~ImeMan() {
    if (auto* t = platform::TextInput::instance()) t->setAvailable(false);
    if (instance_ == this) instance_ = nullptr;
}

void ImeMan::Reset() {
    requesters_.clear();
    composing_ = false;
    composition_.clear();
    cursor_ = 0;
    applyAvailability();
}

void ImeMan::Request(const Pane* pane, bool on) {
    if (!pane) {
        if (!on) requesters_.clear();
    } else {
        // A set: asking twice and giving up once leaves nobody asking.
        const auto it = std::find(requesters_.begin(), requesters_.end(), pane);
        if (on && it == requesters_.end()) requesters_.push_back(pane);
        if (!on && it != requesters_.end()) requesters_.erase(it);
    }
    applyAvailability();
}

bool ImeMan::IsRequested(const Pane* pane) const {
    return std::find(requesters_.begin(), requesters_.end(), pane) != requesters_.end();
}

void ImeMan::applyAvailability() {
    const bool on = Available();
    if (!on && composing_) {
        if (auto* t = platform::TextInput::instance()) t->clearComposition(composition_);
        endComposition(0);
    }
    if (auto* t = platform::TextInput::instance(); t && t->available() != on) t->setAvailable(on);
}

void ImeMan::endComposition(uint32_t time) {
    composing_ = false;
    composition_.clear();
    cursor_ = 0;
    if (auto* in = input()) in->imeEnd(time);
}

void ImeMan::CompleteComposition() {
    if (!composing_) return;
    const std::u16string text = composition_;
    if (auto* t = platform::TextInput::instance()) t->clearComposition(text);
    if (auto* in = input(); in && !text.empty()) in->text(text, 0);
    endComposition(0);
}

bool ImeMan::BuildPage(const platform::CandidateList& list, CandidatePage& page,
                       int32_t& selection) {
    page.items.clear();
    const auto count = int32_t(std::min<size_t>(list.candidates.size(), INT32_MAX));
    if (count == 0) return false;
    if (list.style == platform::CandidateList::kCode && count == 1) {
        const std::u16string& c = list.candidates[0];
        const uint32_t code = c.empty() ? 0 : c[0];
        std::string bytes;
        if (code > 0xFF) bytes.push_back(char(code >> 8));
        bytes.push_back(char(code & 0xFF));
        page.items.push_back(base::CodePage::current().decode(bytes));
        selection = 0;
        return true;
    }
    const int32_t size = list.pageSize > 0 ? list.pageSize : kDefaultPageSize;
    const int32_t sel = std::clamp(list.selection, 0, count - 1);
    int32_t start = list.pageStart != 0 ? list.pageStart : sel / size * size;
    start = std::clamp(start, 0, count - 1);
    const int32_t end = int32_t(std::min<int64_t>(int64_t(start) + size, count));
    for (int32_t i = start; i < end; ++i) page.items.push_back(list.candidates[size_t(i)]);
    selection = std::clamp(sel - start, 0, end - start - 1);
    return true;
}

bool ImeMan::HandleMessage(const Message& m, int64_t& result) {
    result = 0;
    switch (m.id) {
        case platform::kWmChar:
        case platform::kWmSysChar:
            // A character typed with Alt is a shortcut, not text.
            if (!(m.lParam & platform::kCharAltBit)) {
                if (auto* in = input()) {
                    const char16_t c = char16_t(m.wParam);
                    in->text(std::u16string_view(&c, 1), m.time);
                }
            }
            return true;
        case platform::kWmImeStartComposition:
            composing_ = true;
            composition_.clear();
            cursor_ = 0;
            if (auto* in = input()) in->imeStart(m.time);
            return true;
        case platform::kWmImeEndComposition:
            if (composing_) endComposition(m.time);
            return false;
        case platform::kWmImeComposition: {
            const std::u16string text = base::utf8ToUtf16(m.text);
            if (m.lParam & platform::kGcsCompStr) {
                if (!composing_) {
                    composing_ = true;
                    if (auto* in = input()) in->imeStart(m.time);
                }
                composition_ = text.substr(0, kMaxComposition);
                cursor_ = std::clamp(int32_t(m.wParam), 0, int32_t(composition_.size()));
                if (auto* in = input()) in->imeString(composition_, m.time);
            }
            if (m.lParam & platform::kGcsResultStr) {
                if (auto* in = input(); in && !text.empty())
                    in->text(std::u16string_view(text).substr(0, kMaxResult), m.time);
            }
            return true;
        }
        case platform::kWmImeNotify:
            switch (uint32_t(m.wParam)) {
                case platform::kImnOpenCandidate:
                case platform::kImnChangeCandidate: {
                    const auto* list = dynamic_cast<const platform::CandidateList*>(m.object.get());
                    auto page = std::make_shared<CandidatePage>();
                    int32_t selection = 0;
                    if (!list || !BuildPage(*list, *page, selection)) {
                        // Nothing to choose from: no window.
                        if (auto* in = input()) in->imeCandidatesClosed(m.time);
                        return true;
                    }
                    if (auto* in = input()) in->imeCandidates(selection, std::move(page), m.time);
                    return true;
                }
                case platform::kImnCloseCandidate:
                    if (auto* in = input()) in->imeCandidatesClosed(m.time);
                    return false;
                case platform::kImnSetOpenStatus:
                    if (auto* in = input()) in->imeOpen(m.lParam != 0, m.time);
                    return true;
                case platform::kImnOpenStatusWindow:
                    return true;
                default:
                    return false;
            }
        default:
            return false;
    }
}

}  // namespace vs::ui
