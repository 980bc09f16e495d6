// One dialog with every control, drawn with the demo's own art, font and palettes: a scrolled
// list of 30 rows and the drop-down's menu open. The captions must show in their text colour
// and nothing may be cut off. With VS_SHOWCASE_PNG=file the screen is saved as a picture.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "graphics/png_writer.h"
#include "mkdata/content/demo_palette.h"
#include "mkdata/content/dialog_art.h"
#include "mkdata/content/fonts.h"
#include "mkdata/data_set.h"
#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/control_fixture.h"
#include "ui/gauge.h"
#include "ui/label.h"
#include "ui/list_host.h"
#include "ui/picture.h"
#include "ui/radio_group.h"
#include "ui/scroll_bar.h"
#include "ui/sprite_button.h"

namespace vs::test {
namespace {

class TextRow final : public ui::ListRow {
  public:
    explicit TextRow(std::u16string text) : text_(std::move(text)) {}
    void Paint(graphics::Canvas& c, const Rect& r, bool selected) override {
        if (selected) {
            c.SetPenColor(196);
            c.FillRect(r);
        }
        c.SetTextColor(128);
        c.SetTextBackMode(1);
        c.DrawTextInRect(text_, {r.left + 3, r.top, r.right, r.top + 12});
    }

  private:
    std::u16string text_;
};

// The demo's art in place of the fixture's solid frames.
class ShowcaseTest : public UiFixture {
  protected:
    ShowcaseTest() {
        mkdata::DataSet data;
        mkdata::demo::addDialogArt(data);
        mapper.add("MISC.DAT", data.archives().at("MISC.DAT").build());
        archives.Mount("MISC.DAT");
        files.addEverything();
        const std::vector<uint8_t> pal = mkdata::palFile(mkdata::demo::interfacePalette());
        files.files["marvu.pal"] = pal;
        palettes = std::make_unique<resources::PaletteManager>(files);
        font = mkdata::demo::gameFont();
        fonts = std::make_unique<graphics::FontCache>(font);
        ui::uiHooks().present = [this] { frame(); };
        ui::uiHooks().sleep = [](uint32_t) {};
    }
    ~ShowcaseTest() override { ui::uiHooks() = {}; }

    // Pixels of the base palette's colour `index` inside a screen rectangle.
    int count(const Rect& r, int index) const {
        const uint16_t c = graphics::Canvas::BaseColor(index);
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += back.at(x, y) == c;
        return n;
    }
    void savePngWhenAsked() const {
        const char* path = std::getenv("VS_SHOWCASE_PNG");
        if (!path || !*path) return;
        std::vector<uint8_t> rgb;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                const uint16_t p = back.at(x, y);
                rgb.push_back(uint8_t((p >> 11) << 3));
                rgb.push_back(uint8_t(((p >> 5) & 63) << 2));
                rgb.push_back(uint8_t((p & 31) << 3));
            }
        EXPECT_TRUE(graphics::writeFileBytes(path, graphics::encodePng(rgb, 640, 480)));
    }

    platform::MemoryFileMapper mapper;
    resources::ArchiveManager archives{mapper};
    resources::ImageCache cache{8 << 20};
    MemoryPaletteFiles files;
    std::unique_ptr<resources::PaletteManager> palettes;
    std::vector<uint8_t> font;
    std::unique_ptr<graphics::FontCache> fonts;
};

TEST_F(ShowcaseTest, EveryControlDrawsReadablyFromTheDemoArt) {
    RecordingDialog d{u"showcase"};
    const Rect place{40, 40, 600, 440};
    auto& ok = d.Add<ui::SpriteButton>(Rect::fromSize(24, 360, 72, 16), 14);
    auto& cancel = d.Add<ui::TextButtonControlPane>(Rect::fromSize(110, 358, 74, 20), u"Cancel");
    auto& more = d.Add<ui::ImageButton>(Rect::fromSize(200, 356, 80, 20), u"More");
    auto& radio = d.Add<ui::RadioGroup>(Rect::fromSize(24, 24, 200, 40));
    radio.AddItem({0, 0, 200, 18}, u"Speak to everyone");
    radio.AddItem({0, 20, 200, 38}, u"Speak to friends");
    radio.Select(1);
    auto& list = d.Add<ui::ListHost>(Rect::fromSize(24, 80, 220, 170), 14);
    for (int i = 0; i < 30; ++i)
        list.List().Append(std::make_unique<TextRow>(u"Row " + std::u16string(1, u'A' + i % 26)));
    list.List().ScrollToRow(10);
    list.List().Select(12);
    auto& label = d.Add<ui::Label>(Rect::fromSize(260, 24, 270, 60),
                                   u"A label wraps its text at its width, line after line.");
    auto& combo = d.Add<ui::ComboBox>(Rect::fromSize(260, 100, 120, 16));
    for (const char16_t* t : {u"North", u"South", u"East", u"West"}) combo.AddItem(t);
    combo.Select(2);
    auto& bar = d.Add<ui::ScrollBar>(Rect::fromSize(260, 260, 200, 12), 50);
    bar.SetValue(20);
    auto& gauge = d.Add<ui::Gauge>(Rect::fromSize(260, 290, 200, 10), 0, 100);
    gauge.SetValue(60);
    d.Add<ui::Picture>(Rect::fromSize(400, 320, 80, 20), "BUTTONEX.EPF", 0, "NPAL8.PAL");
    d.Add<ui::ImageToggle>(Rect::fromSize(480, 100, 12, 12), "SCRL001.EPF", "SCRL001.PAL", 2, 3, 3,
                           true);
    d.SetDefaultControl(0);
    d.SetFocusControl(1);
    d.Attach(place, nullptr, nullptr, raw[ui::kDialogLayer]);
    d.RegisterHandler(nullptr, nullptr);
    combo.OpenMenu();
    frame();
    savePngWhenAsked();

    auto onScreen = [&d](const ui::Control& c) {
        return c.GetBoundsInParent().offset(d.GetPosition().x, d.GetPosition().y);
    };
    // Every caption shows in cream; the drop-down's choice in amber.
    for (const ui::Control* c :
         std::vector<const ui::Control*>{&ok, &cancel, &more, &radio, &label})
        EXPECT_GT(count(onScreen(*c), 128), 10) << c->Kind();
    EXPECT_GT(count(onScreen(combo), 37), 10);
    // The list shows its rows from the tenth, in cream, with the selection's bronze.
    EXPECT_GT(count(onScreen(list), 128), 100);
    EXPECT_GT(count(onScreen(list), 196), 100);
    // The open menu lies wholly on the screen, over the dialog, with its items' text.
    const Rect menu = combo.Menu().GetBoundsInParent();
    EXPECT_TRUE(ui::ScreenPane::kScreenRect.contains(menu));
    EXPECT_GT(count(menu, 143), 50);
    EXPECT_GT(count(onScreen(gauge), 1), 100);
}

}  // namespace
}  // namespace vs::test
