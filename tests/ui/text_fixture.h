#pragma once
// Text entries for tests: a font of fixed advances, event makers, and a fixture with the font,
// the base palette, a clipboard, a scripted input method and the input method managers.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/input_man.h"
#include "graphics/font_cache.h"
#include "mkdata/font_writer.h"
#include "platform/headless/headless_window.h"
#include "platform/headless/memory_clipboard.h"
#include "platform/headless/scripted_text_input.h"
#include "resources/palette_manager.h"
#include "support/palette_fixture.h"
#include "ui/ime_man.h"
#include "ui/ime_ui_pane.h"
#include "ui/text_edit_pane.h"
#include "ui/ui_fixture.h"

namespace vs::test {

using app::InputEvent;
using ui::TextEditPane;

constexpr int32_t kAdvance = 6;

// Every printable unit 6 pixels wide (2 for a blank), unless `widths` says otherwise.
inline std::vector<uint8_t> fixedFont(const std::function<int(char16_t)>& widths = {}) {
    mkdata::FontWriter w;
    auto add = [&](char16_t c) {
        const int a = widths ? widths(c) : (c == u' ' ? 2 : kAdvance);
        mkdata::FontGlyph g;
        g.advance = int16_t(a);
        g.left = 2;
        g.top = 3;
        g.width = std::max(1, a - 2);
        g.height = 8;
        g.classes.assign(size_t(g.width * g.height), c == u' ' ? 0 : 1);
        w.set(c, g);
    };
    for (char16_t c = 32; c < 127; ++c) add(c);
    for (char16_t c = 160; c < 256; ++c) add(c);
    return w.build();
}

inline InputEvent keyEvent(uint8_t code, uint8_t modifiers = 0) {
    InputEvent e;
    e.kind = InputEvent::kKeyDown;
    e.keyCode = code;
    e.modifiers = modifiers;
    return e;
}

inline InputEvent textEvent(std::u16string_view text) {
    InputEvent e;
    e.kind = InputEvent::kText;
    e.text = text;
    return e;
}

inline InputEvent mouseEvent(uint8_t kind, int32_t x, int32_t y, uint32_t time, uint8_t mods = 0) {
    InputEvent e;
    e.kind = kind;
    e.x = x;
    e.y = y;
    e.time = time;
    e.modifiers = mods;
    return e;
}

class TextEditTest : public UiFixture {
  protected:
    TextEditTest() {
        files.addEverything();
        palettes = std::make_unique<resources::PaletteManager>(files);
        imeUi.RegisterHandler(nullptr, nullptr);
    }

    // Hands the messages the input method posted to the window procedure's first stop.
    void pump() {
        platform::Message m;
        int64_t result = 0;
        while (window.peek(m)) ime.HandleMessage(m, result);
    }

    // A shown entry in the base layer: 120 × 36 pixels, laid out 120 wide.
    std::unique_ptr<TextEditPane> entry(int32_t width = 120, int32_t height = 36,
                                        uint32_t flags = 0) {
        auto p = std::make_unique<TextEditPane>(width, height, width, height, 128, 143, false,
                                                false, flags, 0);
        p->Attach(Rect::fromSize(10, 10, width, height), nullptr, nullptr, raw[ui::kBaseLayer]);
        p->RegisterHandler(nullptr, nullptr);
        return p;
    }

    std::vector<uint8_t> font = fixedFont();
    graphics::FontCache fonts{font};
    MemoryPaletteFiles files;
    std::unique_ptr<resources::PaletteManager> palettes;
    platform::MemoryClipboard clipboard;
    platform::ScriptedTextInput textInput;
    platform::HeadlessWindow window{clock};
    app::InputMan input;
    ui::ImeMan ime;
    ui::ImeUiPane imeUi{raw[ui::kTopLayer]};
};

}  // namespace vs::test
