#pragma once
// Controls and dialogs over small art: every sprite frame of the interface files is one solid
// colour (its own index, see frameColour), the palette gives every index its own colour, the
// font draws each letter as an ink block. Presents compose the fixture's screen and are recorded;
// sleeps are recorded and take no time.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics/canvas.h"
#include "graphics/font_cache.h"
#include "mkdata/archive_writer.h"
#include "mkdata/epf_writer.h"
#include "mkdata/font_writer.h"
#include "platform/headless/memory_file_mapper.h"
#include "resources/archive_manager.h"
#include "resources/image_cache.h"
#include "resources/palette_manager.h"
#include "support/palette_fixture.h"
#include "ui/control.h"
#include "ui/dialog.h"
#include "ui/ui_fixture.h"

namespace vs::test {

// The solid colour of frame f of a file whose frames start at `first`.
inline uint8_t frameColour(int first, int f) {
    return uint8_t(first + f);
}

struct ArtFile {
    const char* name;
    int frames;
    int width, height;
    int firstColour;
};
// Colours chosen apart from the ones controls draw themselves (0, 1, 128 … 143, 192 … 200).
inline const ArtFile kArt[] = {
    {"DLGFRAME.EPF", 9, 16, 16, 10},  {"BUTT001.EPF", 102, 72, 16, 20},
    {"BUTT002.EPF", 16, 158, 15, 2},  {"SCRL001.EPF", 12, 12, 12, 230},
    {"RADIOBUT.EPF", 4, 11, 11, 244}, {"POPUPMNU.EPF", 3, 16, 16, 248},
    {"MENUBACK.EPF", 1, 16, 16, 252}, {"BUTTONEX.EPF", 1, 80, 20, 253},
    {"FRMPART.EPF", 5, 20, 16, 122},
};

class ControlFixture : public UiFixture {
  protected:
    ControlFixture() {
        files.addEverything();
        files.files["marvu.pal"] = palFile([](int i) {
            return Rgb{uint8_t(i), uint8_t(255 - i), uint8_t((i * 37) & 255)};
        });
        palettes = std::make_unique<resources::PaletteManager>(files);
        mkdata::ArchiveWriter archive;
        for (const ArtFile& a : kArt) {
            mkdata::EpfWriter epf(a.width, a.height);
            for (int f = 0; f < a.frames; ++f)
                epf.add(
                    mkdata::SpriteFrame(0, 0, a.width, a.height, frameColour(a.firstColour, f)));
            archive.add(a.name, epf.build());
        }
        mapper.add("MISC.DAT", archive.build());
        archives.Mount("MISC.DAT");
        // Letters and digits: an ink block 5 wide on a 6-pixel advance; space is blank.
        mkdata::FontWriter w;
        for (char16_t c = u'!'; c <= u'~'; ++c) {
            mkdata::FontGlyph g;
            g.advance = 6;
            g.top = 2;
            g.width = 5;
            g.height = 8;
            g.classes.assign(40, 1);
            w.set(c, g);
        }
        w.set(u' ', mkdata::FontGlyph{6, 0, 0, 6, 0, {}});
        font = w.build();
        fonts = std::make_unique<graphics::FontCache>(font);
        ui::uiHooks().present = [this] {
            frame();
            ++presents;
            if (onPresent) onPresent();
        };
        ui::uiHooks().sleep = [this](uint32_t ms) { sleeps.push_back(ms); };
        ui::uiHooks().playSound = [this](int s, int v) { sounds.push_back({s, v}); };
    }
    ~ControlFixture() override { ui::uiHooks() = {}; }

    static uint16_t colour(int index) { return graphics::Canvas::BaseColor(index); }
    uint16_t at(int x, int y) const { return back.at(x, y); }

    // Events as the dispatcher would deliver them to a registered dialog.
    app::InputEvent mouse(uint8_t kind, int x, int y, uint8_t modifiers = 0) {
        app::InputEvent e;
        e.kind = kind;
        e.screenX = x;
        e.screenY = y;
        e.x = x;
        e.y = y;
        e.modifiers = modifiers;
        return e;
    }
    void post(app::InputEvent e) { dispatcher.post(e); }
    void click(int x, int y) {
        post(mouse(app::InputEvent::kLeftDown, x, y));
        post(mouse(app::InputEvent::kLeftUp, x, y));
    }
    void key(uint8_t code, uint8_t modifiers = 0) {
        app::InputEvent e;
        e.kind = app::InputEvent::kKeyDown;
        e.keyCode = code;
        e.modifiers = modifiers;
        post(e);
    }
    // Attaches and registers a dialog in the dialog layer.
    void open(ui::Dialog& d, const Rect& r) {
        d.Attach(r, nullptr, nullptr, raw[ui::kDialogLayer]);
        d.RegisterHandler(nullptr, nullptr);
    }

    MemoryPaletteFiles files;
    std::unique_ptr<resources::PaletteManager> palettes;
    platform::MemoryFileMapper mapper;
    resources::ArchiveManager archives{mapper};
    resources::ImageCache cache{1 << 20};
    std::vector<uint8_t> font;
    std::unique_ptr<graphics::FontCache> fonts;
    int presents = 0;
    std::function<void()> onPresent;
    std::vector<uint32_t> sleeps;
    std::vector<std::pair<int, int>> sounds;
};

// A dialog that records its commands and can act on them.
class RecordingDialog : public ui::Dialog {
  public:
    using Dialog::Dialog;
    void OnCommand(int32_t index, int32_t code) override {
        commands.push_back({index, code});
        if (onCommand) onCommand(index, code);
    }
    std::vector<std::pair<int32_t, int32_t>> commands;
    std::function<void(int32_t, int32_t)> onCommand;
};

}  // namespace vs::test
