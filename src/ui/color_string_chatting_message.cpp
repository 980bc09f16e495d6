#include "ui/color_string_chatting_message.h"

#include "graphics/canvas.h"
#include "resources/archive_manager.h"
#include "resources/image_cache.h"

namespace vs::ui {

int ColorStringChattingMessage::BackFrame(int32_t backColor) {
    switch (backColor) {
        case 143:
            return 0;
        case 12:
            return 1;
        case 1:
            return 2;
        default:
            return -1;
    }
}

void ColorStringChattingMessage::Draw(graphics::Canvas& canvas, const base::Rect& rect) const {
    const int frame = BackFrame(backColor_);
    if (frame < 0) return;
    auto* images = resources::ImageCache::instance();
    auto* archives = resources::ArchiveManager::instance();
    if (images && archives && archives->Exists(std::string_view(kBackFile))) {
        resources::PixMap back;
        if (images->GetFrame(kBackFile, frame, back)) {
            const uint8_t mode = canvas.TransferMode();
            canvas.SetTransferMode(0);
            canvas.TilePixMap(rect, back, kBackPalette);
            canvas.SetTransferMode(mode);
        }
    }
    const int32_t color = canvas.TextColor(), backColor = canvas.TextBackColor();
    const uint8_t backMode = canvas.TextBackMode();
    canvas.SetTextColor(textColor_);
    // The outline takes the line's background, so that dark text on a light line stays crisp.
    canvas.SetTextBackColor(backColor_);
    canvas.SetTextBackMode(1);
    canvas.DrawTextInRect(text_, rect);
    canvas.SetTextColor(color);
    canvas.SetTextBackColor(backColor);
    canvas.SetTextBackMode(backMode);
}

}  // namespace vs::ui
