#include "ui/chatting_pane.h"

#include "app/input_event.h"
#include "app/input_man.h"

namespace vs::ui {

using app::InputEvent;
using base::Rect;

namespace {

struct Colors {
    int32_t text, back;
};

// Server message kinds the chat shows; the others belong to the system message pane.
bool messageColors(uint8_t kind, Colors& out) {
    switch (kind) {
        case 0:
        case 11:
            out = {1, 143};
            return true;
        case 4:
            out = {143, 12};
            return true;
        case 5:
            out = {143, 1};
            return true;
        case 12:
            out = {58, 143};
            return true;
        case 17:
            out = {143, 5};
            return true;
        default:
            return false;
    }
}

constexpr uint8_t kOpcodeMessage = 10;
constexpr uint8_t kOpcodeSay = 13;

}  // namespace

ChattingPane::ChattingPane(ChatHooks* hooks)
    : ScrollView({1, kLineHeight}, false, false), hooks_(hooks) {
    // Five blank lines, so that the first real one shows at the bottom.
    for (int i = 0; i < 5; ++i)
        messages_.push_back(std::make_unique<ColorStringChattingMessage>(u" ", 128, kFill));
    updateRange();
}

void ChattingPane::AddMessage(std::u16string_view text, int32_t textColor, int32_t backColor) {
    messages_.push_back(std::make_unique<ColorStringChattingMessage>(text, textColor, backColor));
    updateRange();
    const auto* input = app::InputMan::instance();
    const bool shift = input && (input->modifiers() & InputEvent::kShift);
    const int32_t before = ScrollPos().y;
    if (!HasFocus() && !shift) ScrollTo(0, MaxScroll().y);
    if (ScrollPos().y == before) {
        // Not scrolled in: paint the new line if it shows all the same.
        const base::Point o = GetOrigin();
        const Rect line = LineRect(messages_.size() - 1).offset(-o.x, -o.y).intersect(ViewRect());
        if (!line.empty()) Invalidate(line);
    }
    if (messages_.size() > kMaxMessages) {
        messages_.pop_front();
        if (ScrollPos().y > 0) {
            ContentShifted(-1);
        } else {
            Invalidate();
        }
    }
    updateRange();
}

bool ChattingPane::OnPacket(const InputEvent& event) {
    if (!hooks_ || event.subKind != 0) return false;
    ChatPacket p;
    if (!hooks_->ParseChat(event.data, p)) return false;
    Colors c;
    if (p.opcode == kOpcodeMessage) {
        if (messageColors(p.kind, c)) AddMessage(p.text, c.text, c.back);
    } else if (p.opcode == kOpcodeSay) {
        const int32_t setting = hooks_->ChatSetting();
        const bool shown =
            (p.kind == 0 && setting == 0) || (p.kind == 1 && setting != 2) || p.kind == 3;
        if (shown) AddMessage(p.text, p.kind == 1 ? 12 : 128, kFill);
    }
    // Other handlers see the same packets.
    return false;
}

bool ChattingPane::OnKey(const InputEvent& event) {
    if (event.kind != InputEvent::kKeyDown || event.modifiers != InputEvent::kShift) return false;
    const int32_t page = VisibleUnits().y;
    int32_t by = 0;
    switch (event.keyCode) {
        case app::kKeyUp:
            by = -1;
            break;
        case app::kKeyDown:
            by = 1;
            break;
        case app::kKeyPageUp:
            by = -page;
            break;
        case app::kKeyPageDown:
            by = page;
            break;
        default:
            return false;
    }
    ScrollBy(0, by);
    return true;
}

void ChattingPane::Paint() {
    const Rect clip = GetClipRect();
    if (clip.empty()) return;
    const int32_t pen = PenColor();
    const uint8_t mode = TransferMode();
    SetPenColor(kFill);
    SetTransferMode(0);
    FillRect(clip);
    SetPenColor(pen);
    SetTransferMode(mode);
    const Rect saved = UserClip();
    const int32_t first = clip.top / kLineHeight;
    for (size_t row = size_t(std::max(first, 0)); row < messages_.size(); ++row) {
        const Rect line = LineRect(row);
        if (line.top >= clip.bottom) break;
        if (!line.intersects(clip)) continue;
        SetUserClip(line);
        messages_[row]->Draw(*this, line);
    }
    SetUserClip(saved);
}

}  // namespace vs::ui
