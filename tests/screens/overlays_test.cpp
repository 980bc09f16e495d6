// The screens over the title: the wait screen, the transfer animation, and the placeholder the
// login leads to.
#include <gtest/gtest.h>

#include "mkdata/archive_writer.h"
#include "mkdata/epf_writer.h"
#include "platform/headless/memory_file_mapper.h"
#include "platform/virtual_keys.h"
#include "resources/archive_manager.h"
#include "resources/image_cache.h"
#include "screens/title_pane.h"
#include "screens/transfer_screen.h"
#include "screens/wait_screen.h"
#include "screens/world_placeholder.h"
#include "screens_fixture.h"
#include "support/fake_shell.h"
#include "support/palette_fixture.h"

namespace vs::screens::test {
namespace {

// Counts what reaches the handler tree below the overlays.
class Below final : public ui::Pane {
  public:
    bool OnMouse(const app::InputEvent&) override { return ++events, false; }
    bool OnKey(const app::InputEvent&) override { return ++events, false; }
    int events = 0;
};

TEST_F(ScreensFixture, TheWaitScreenIsOneModalShadeThatTakesEveryEvent) {
    const int32_t shades[] = {143, 142, 140, 132, 130, 128, 12, 11, 11};
    for (int level = 0; level < 9; ++level) EXPECT_EQ(WaitScreen::ShadeIndex(level), shades[level]);

    auto& below = ui::OpenPane<Below>();
    below.Attach({0, 0, 640, 480}, nullptr, nullptr, raw[ui::kBaseLayer]);
    below.RegisterHandler(nullptr, nullptr);
    WaitScreen& wait = WaitScreen::Open();
    EXPECT_EQ(&WaitScreen::Open(2), &wait);
    EXPECT_EQ(wait.level(), WaitScreen::kRequestLevel);
    EXPECT_EQ(wait.DrawModeValue(), ui::Pane::kBlend);
    EXPECT_EQ(dispatcher.topModal(), &wait);
    key(platform::kVkReturn);
    mouse(app::InputEvent::kLeftUp, 10, 10);
    EXPECT_EQ(below.events, 0);
    WaitScreen::CloseOpen();
    frame();
    EXPECT_EQ(WaitScreen::instance(), nullptr);
    key(platform::kVkReturn);
    EXPECT_EQ(below.events, 1);
}

class Transfer : public ScreensFixture {
  protected:
    Transfer() {
        // Three frames of one colour each.
        mkdata::EpfWriter epf(144, 144);
        for (uint8_t c : {1, 2, 3}) epf.add(mkdata::SpriteFrame(0, 0, 144, 144, c));
        mkdata::ArchiveWriter a;
        a.add("TRANSSVR.EPF", epf.build());
        files.add("MISC.DAT", a.build());
        archives.Mount("MISC.DAT");
        paletteFiles.addEverything();
        paletteFiles.files["TRANSSVR.PAL"] = vs::test::palFile([](int i) {
            return mkdata::Rgb{uint8_t(i * 60), 0, 0};
        });
        palettes = std::make_unique<resources::PaletteManager>(paletteFiles);
    }
    // The animation's own picture, at its centre.
    uint16_t centre() {
        TransferScreen* t = TransferScreen::instance();
        t->Lock();
        const uint16_t p = t->Picture().pixels16()[72 * t->Picture().rowWidth() + 72];
        t->Unlock();
        return p;
    }
    platform::MemoryFileMapper files;
    resources::ArchiveManager archives{files};
    resources::ImageCache cache{1 << 20};
    vs::test::MemoryPaletteFiles paletteFiles;
    std::unique_ptr<resources::PaletteManager> palettes;
};

TEST_F(Transfer, FramesFollowEvery100MsCentredAndBlended) {
    TransferScreen::Open();
    TransferScreen::Open();
    TransferScreen* t = TransferScreen::instance();
    EXPECT_EQ(t->GetBoundsInParent(), (base::Rect{248, 168, 392, 312}));
    EXPECT_EQ(t->DrawModeValue(), ui::Pane::kBlend);
    EXPECT_FLOAT_EQ(t->Opacity(), 0.9f);
    const auto* palette = palettes->GetPaletteByName("TRANSSVR.PAL");
    const uint16_t colours[] = {palette->GetColor(1), palette->GetColor(2), palette->GetColor(3)};
    const int expected[] = {0, 0, 1, 1, 2, 0};
    const uint32_t steps[] = {0, 99, 1, 99, 1, 100};
    for (size_t i = 0; i < std::size(steps); ++i) {
        clock.advance(steps[i]);
        frame();
        EXPECT_EQ(t->frame(), expected[i]) << i;
        EXPECT_EQ(centre(), colours[expected[i]]) << i;
    }
    TransferScreen::CloseOpen();
    EXPECT_FALSE(TransferScreen::Showing());
}

TEST_F(ScreensFixture, TheLoginLeadsToThePlaceholder) {
    vs::test::FakeShell shell;
    auto& title = ui::OpenPane<TitlePane>(services);
    title.SetAccountName(u"alice");
    WaitScreen::Open();
    BuildMainScreen(title);
    EXPECT_TRUE(title.IsClosing());
    EXPECT_TRUE(WaitScreen::instance()->IsClosing());
    EXPECT_TRUE(shell.inGameFlag);
    frame();
    WorldPlaceholderPane* world = WorldPlaceholderPane::instance();
    ASSERT_TRUE(world);
    EXPECT_EQ(world->account(), u"alice");
    EXPECT_EQ(TitlePane::instance(), nullptr);

    // A lost connection asks; Reconnect leaves the world for a new connection screen.
    WaitScreen::Open();
    connectionClosed();
    EXPECT_EQ(boxes, std::vector<std::u16string>{u"Connection lost"});
    EXPECT_EQ(calls, (std::vector<std::string>{"close", "connection screen"}));
    EXPECT_TRUE(world->IsClosing());
    EXPECT_TRUE(WaitScreen::instance()->IsClosing());
}

}  // namespace
}  // namespace vs::screens::test
