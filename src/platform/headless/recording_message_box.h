#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/message_box.h"

namespace vs::platform {

// Records every box shown; answers from a script (Ok, or the first button, when it runs out).
class RecordingMessageBox final : public MessageBox {
public:
    struct Shown {
        std::u16string text;
        std::u16string caption;
        MessageBoxButtons buttons;
        std::vector<std::u16string> labels;  // the captions of ask()
    };
    RecordingMessageBox() { registerSelf(this); }
    ~RecordingMessageBox() override { unregisterSelf(this); }

    MessageBoxAnswer show(std::u16string_view text, std::u16string_view caption,
                          MessageBoxButtons buttons) override {
        shown_.push_back({std::u16string(text), std::u16string(caption), buttons});
        if (!answers_.empty()) {
            auto a = answers_.front();
            answers_.pop_front();
            return a;
        }
        return buttons == MessageBoxButtons::YesNo ? MessageBoxAnswer::Yes : MessageBoxAnswer::Ok;
    }

    // Answers ask() from its own script: the last button (the way out) when it runs out.
    size_t ask(std::u16string_view text, std::u16string_view caption,
               std::span<const std::u16string_view> buttons) override {
        Shown s{std::u16string(text), std::u16string(caption), MessageBoxButtons::Ok, {}};
        for (auto b : buttons) s.labels.emplace_back(b);
        shown_.push_back(std::move(s));
        if (onAsk_) onAsk_();
        if (choices_.empty()) return buttons.empty() ? 0 : buttons.size() - 1;
        const size_t c = choices_.front();
        choices_.pop_front();
        return c;
    }

    void answerNext(MessageBoxAnswer a) { answers_.push_back(a); }
    void chooseNext(size_t button) { choices_.push_back(button); }
    // Runs while an ask() box is up, as a player would act before pressing a button.
    void whileAsking(std::function<void()> f) { onAsk_ = std::move(f); }
    const std::vector<Shown>& shown() const { return shown_; }

private:
    std::vector<Shown> shown_;
    std::deque<MessageBoxAnswer> answers_;
    std::deque<size_t> choices_;
    std::function<void()> onAsk_;
};

}  // namespace vs::platform
