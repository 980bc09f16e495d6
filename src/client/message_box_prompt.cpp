#include "client/message_box_prompt.h"

#include <memory>

#include "ui/message_box.h"

namespace vs::client {

MessageBoxPrompt::~MessageBoxPrompt() {
    // The box belongs to the close list; only forget it.
    waiting_ = nullptr;
}

void MessageBoxPrompt::showWaiting(std::u16string_view text) {
    hideWaiting();
    waiting_ = ui::MessageBox::Show(text, nullptr, u"");
}

void MessageBoxPrompt::hideWaiting() {
    if (!waiting_) return;
    waiting_->Dismiss();
    waiting_ = nullptr;
}

void MessageBoxPrompt::askReconnect(std::u16string_view text, std::function<void(bool)> answer) {
    // One answer, shared by both buttons.
    auto shared = std::make_shared<std::function<void(bool)>>(std::move(answer));
    ui::MessageBox* box = ui::MessageBox::Show(
        text, nullptr, u"Reconnect", u"Leave", [shared] { (*shared)(true); },
        [shared] { (*shared)(false); });
    if (!box) (*shared)(false);
}

}  // namespace vs::client
