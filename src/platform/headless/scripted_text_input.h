#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/text.h"
#include "platform/message.h"
#include "platform/text_input.h"
#include "platform/window.h"

namespace vs::platform {

// The input method for tests: scripted compositions, commits, open status and candidate lists
// become the window messages the real backend would post; what the program asked for is kept.
class ScriptedTextInput final : public TextInput {
  public:
    ScriptedTextInput() { registerSelf(this); }
    ~ScriptedTextInput() override { unregisterSelf(this); }

    void setAvailable(bool on) override {
        available_ = on;
        availability_.push_back(on);
    }
    bool available() const override { return available_; }
    void clearComposition(std::u16string_view dropped) override {
        clears_.emplace_back(dropped);
        composing_ = false;
    }
    void setCompositionRect(const base::Rect& rect) override { rect_ = rect; }

    // The script: each call posts what a system method would.
    void compose(std::u16string_view text, int32_t cursor) {
        if (!composing_) post(Message(kWmImeStartComposition));
        composing_ = true;
        Message m(kWmImeComposition, uint64_t(cursor), kGcsCompStr | kGcsCursorPos);
        m.text = base::utf16ToUtf8(text);
        post(std::move(m));
    }
    void commit(std::u16string_view text) {
        Message m(kWmImeComposition, 0, kGcsResultStr);
        m.text = base::utf16ToUtf8(text);
        post(std::move(m));
        if (composing_) post(Message(kWmImeEndComposition));
        composing_ = false;
    }
    void endComposition() {
        composing_ = false;
        post(Message(kWmImeEndComposition));
    }
    void candidates(std::unique_ptr<CandidateList> list, bool change = false) {
        Message m(kWmImeNotify, change ? kImnChangeCandidate : kImnOpenCandidate, 1);
        m.object = std::move(list);
        post(std::move(m));
    }
    void closeCandidates() { post(Message(kWmImeNotify, kImnCloseCandidate, 1)); }
    void openStatus(bool open) { post(Message(kWmImeNotify, kImnSetOpenStatus, open ? 1 : 0)); }

    const std::vector<bool>& availability() const { return availability_; }
    const std::vector<std::u16string>& clears() const { return clears_; }
    const base::Rect& rect() const { return rect_; }
    bool composing() const { return composing_; }

  private:
    static void post(Message m) {
        if (auto* w = Window::instance()) w->post(std::move(m));
    }
    bool available_ = false;
    bool composing_ = false;
    std::vector<bool> availability_;
    std::vector<std::u16string> clears_;
    base::Rect rect_;
};

}  // namespace vs::platform
