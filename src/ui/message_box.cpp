#include "ui/message_box.h"

#include <algorithm>

#include "graphics/display.h"
#include "ui/button.h"
#include "ui/close_list.h"
#include "ui/dialog_placement.h"
#include "ui/label.h"
#include "ui/layer.h"

namespace vs::ui {

using base::Rect;

MessageBox::MessageBox(std::u16string_view text, Pane* owner, std::u16string_view first,
                       std::u16string_view second)
    : Dialog(u"MessageBox"),
      owner_(owner),
      buttons_(first.empty()    ? 0
               : second.empty() ? 1
                                : 2) {
    const int32_t minW = buttons_ == 2 ? 160 : 74;
    const int32_t w = std::clamp(TextWidth(text), minW, 240);
    const int32_t width = w + 48;
    const int32_t lines = text.empty() ? 0 : TextLineCount(text, w);
    // A very long text must not make a box taller than the screen: the label scrolls instead.
    const int32_t height = int32_t(std::min<int64_t>(int64_t(lines) * 12 + 80, kMaxHeight));

    Rect area{0, 0, graphics::Display::kWidth, graphics::Display::kHeight};
    if (owner_ && owner_->Node()) {
        const base::Point p = owner_->GetScreenPosition();
        area = owner_->GetBounds().offset(p.x, p.y);
    }
    int32_t left = area.left + (area.width() - width) / 2;
    int32_t top = area.top + (area.height() - height) / 2;
    left = std::clamp(left, 0, std::max(0, graphics::Display::kWidth - width));
    top = std::clamp(top, 0, std::max(0, graphics::Display::kHeight - height));
    planned_ = Rect::fromSize(left, top, width, height);

    Add<Label>(Rect{24, 24, width - 24, height - 56}, text, 128, 0, true);
    if (buttons_ == 2) {
        Add<TextButtonControlPane>(Rect{width - 184, height - 44, width - 110, height - 24}, first);
        Add<TextButtonControlPane>(Rect{width - 98, height - 44, width - 24, height - 24}, second);
    } else if (buttons_ == 1) {
        Add<TextButtonControlPane>(Rect{width - 98, height - 44, width - 24, height - 24}, first);
    }
    if (buttons_ > 0) {
        SetDefaultControl(1);
        SetCancelControl(buttons_ == 2 ? 2 : 1);
        SetFocusControl(1);
    }
}

Label* MessageBox::TextLabel() const {
    return static_cast<Label*>(GetControl(0));
}

MessageBox* MessageBox::Show(std::u16string_view text, Pane* owner, std::u16string_view first,
                             std::u16string_view second, std::function<void()> onOk,
                             std::function<void()> onCancel) {
    auto* list = CloseList::instance();
    if (!list) return nullptr;
    auto& box = static_cast<MessageBox&>(
        list->Keep(std::make_unique<MessageBox>(text, owner, first, second)));
    box.SetOnOk(std::move(onOk));
    box.SetOnCancel(std::move(onCancel));
    box.Open();
    return &box;
}

void MessageBox::Open() {
    auto* screen = ScreenPane::instance();
    Layer* layer = screen ? screen->GetLayerById(kDialogLayer) : nullptr;
    if (!layer) return;
    Attach(planned_, nullptr, nullptr, layer);
    RegisterHandler(nullptr, nullptr);
    SlideOpen(*this, {uiHooks().present, uiHooks().sleep});
}

void MessageBox::Dismiss() {
    if (done_) return;
    done_ = true;
    SlideClose(*this, {uiHooks().present, uiHooks().sleep});
    Close();
}

void MessageBox::OnCommand(int32_t index, int32_t) {
    if (done_ || (index != 1 && index != 2) || index > buttons_) return;
    done_ = true;
    SlideClose(*this, {uiHooks().present, uiHooks().sleep});
    if (index == 1) {
        OnOk();
    } else {
        OnCancel();
    }
    Close();
}

}  // namespace vs::ui
