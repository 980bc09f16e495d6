#pragma once
#include <deque>
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

    void answerNext(MessageBoxAnswer a) { answers_.push_back(a); }
    const std::vector<Shown>& shown() const { return shown_; }

private:
    std::vector<Shown> shown_;
    std::deque<MessageBoxAnswer> answers_;
};

}  // namespace vs::platform
