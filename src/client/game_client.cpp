#include <filesystem>
#include <system_error>

#include "app/crash_reporter.h"
#include "app/error.h"
#include "app/event_dispatcher.h"
#include "app/frame_clock.h"
#include "app/idle_watcher.h"
#include "app/input_man.h"
#include "app/outgoing_text_filter.h"
#include "app/settings.h"
#include "audio/logo_video.h"
#include "audio/midi_player.h"
#include "audio/sound_man.h"
#include "base/log.h"
#include "base/text.h"
#include "client/application.h"
#include "client/ime_script.h"
#include "client/message_box_prompt.h"
#include "client/text_entry_sample.h"
#include "client/title_link.h"
#include "graphics/ddraw_device.h"
#include "graphics/display.h"
#include "graphics/font_cache.h"
#include "graphics/test_pattern.h"
#include "net/connection.h"
#include "net/terminal_pane.h"
#include "patch/patch_downloader.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "resources/archive_manager.h"
#include "resources/image_cache.h"
#include "resources/palette_manager.h"
#include "resources/string_table.h"
#include "screens/title_pane.h"
#include "screens/title_services.h"
#include "ui/close_list.h"
#include "ui/control.h"
#include "ui/ime_man.h"
#include "ui/ime_ui_pane.h"
#include "ui/layer.h"
#include "ui/notice_bus.h"
#include "ui/overlay_pane.h"
#include "world/effect_image_lib.h"
#include "world/human_image_lib.h"
#include "world/item_image_lib.h"
#include "world/light_image_lib.h"
#include "world/monster_image_lib.h"
#include "world/scene_shot.h"
#include "world/static_obj_image_lib.h"
#include "world/tile_image_lib.h"

namespace vs::client {

using namespace platform;

namespace {

// Ends a smoke test run: after the first screen has been up for a moment, save what the screen
// shows and exit in order.
class SmokeTimer final : public base::LObject, public app::TimerClient {
public:
    SmokeTimer(Application& a, std::filesystem::path shot) : app_(a), shot_(std::move(shot)) {
        if (auto* fc = app::FrameClock::instance()) fc->schedule(this, 0, 1500);
    }
    bool OnTimer(int32_t, int32_t, int32_t) override {
        auto* display = graphics::Display::instance();
        if (display && display->SaveScreenPng(shot_))
            VS_INFO("smoke test: first screen reached, picture in %s; exiting", shot_.c_str());
        else
            VS_ERROR("smoke test: cannot write %s", shot_.c_str());
        app_.requestExit();
        return true;
    }

private:
    Application& app_;
    std::filesystem::path shot_;
};

// The debug picture of --test-pattern, with the cycled colours of the first floor palette.
void showTestPattern(graphics::Display& display, resources::PaletteManager* palettes) {
    const resources::DLPalette* palette = nullptr;
    if (palettes) {
        palettes->SetUseAdjusted(true);
        palette = palettes->GetPalette(0, 0, 0);
        palettes->SetUseAdjusted(false);
    }
    graphics::drawTestPattern(display.BackBuffer(), palette);
    display.MarkDirty({0, 0, display.Width(), display.Height()});
    if (!palette || palette->ranges().empty()) return;
    display.SetPaletteAnimationHook([&display, palette] {
        display.MarkDirty(graphics::drawTestPatternPalette(display.BackBuffer(), palette));
    });
}

}  // namespace

GameClient::GameClient(app::LaunchOptions options) : Application(std::move(options)) {}

GameClient::~GameClient() { clientShutDown(); }

void GameClient::startUp() {
    // Before the data directory becomes the working directory.
    std::error_code ec;
    const std::string shot = options_.smokeShot.empty() ? "smoke.png" : options_.smokeShot;
    smokeShot_ = std::filesystem::absolute(shot, ec);
    if (!options_.sceneShot.empty()) sceneShot_ = std::filesystem::absolute(options_.sceneShot, ec);
    if (!options_.imeScript.empty())
        options_.imeScript = std::filesystem::absolute(options_.imeScript, ec).string();
    Application::startUp();
    create(idleWatcher_, "IdleWatcher", uint32_t(20000));
    trace("start Connection");
    connection_->start();

    create(itemImageLib_, "ItemImageLib");
    create(tileImageLib_, "TileImageLib");
    create(staticObjImageLib_, "StaticObjImageLib");
    create(humanImageLib_, "HumanImageLib");
    create(monsterImageLib_, "MonsterImageLib");
    create(effectImageLib_, "EffectImageLib");
    create(lightImageLib_, "LightImageLib");
    create(outgoingTextFilter_, "OutgoingTextFilter");

    trace("display setup");
    display_->Setup();
    create(paletteManager_, "PaletteManager");
    trace("cursor");
    display_->LoadCursor();
    if (auto* w = Window::instance()) {
        w->show();
        w->bringToFront();
    }
    trace("display timers");
    display_->StartTimers();

    // The screen is the root pane of every layer, and composes them.
    screenPane_ = std::make_unique<ui::ScreenPane>();
    display_->SetComposer(screenPane_.get());
    for (int i = 0; i < 6; ++i) {
        create(layers_[i], "Layer");
        display_->AddLayer(layers_[i].get(), nullptr);
        screenPane_->SetLayer(i, layers_[i].get());
    }
    trace("overlay pane");
    overlayPane_ = std::make_unique<ui::OverlayPane>(layers_[ui::kOverlayLayer].get());
    imeUiPane_ = std::make_unique<ui::ImeUiPane>(layers_[ui::kTopLayer].get());
    imeUiPane_->RegisterHandler(nullptr, nullptr);
    eventDispatcher_->setScreenshotHook([](bool bmp) {
        if (auto* d = graphics::Display::instance()) bmp ? d->SaveBmpScreenshot() : d->SaveJpegScreenshot();
    });

    display_->HideCursor();
    trace("logo video");
    audio::LogoVideo::Play("LOGO.PAK");
    if (auto* fc = app::FrameClock::instance()) fc->read();

    if (std::filesystem::exists("QUILM.LGO", ec)) {
        // The logo picture comes with the logo player; until then the first screen opens at once.
        trace("logo picture");
    }
    openFirstScreen();
}

void GameClient::openFirstScreen() {
    display_->ShowCursor();
    trace("first screen");
    ui::uiHooks().playSound = [](int sound, int volume) {
        if (auto* sounds = audio::SoundMan::instance()) sounds->PlaySound(sound, volume);
    };
    if (!options_.sample.empty() || !options_.imeScript.empty()) {
        openSample();
        return;
    }
    terminalPrompt_ = std::make_unique<MessageBoxPrompt>();
    titleServices_ = makeTitleServices([this] { openConnectionScreen(); });
    openConnectionScreen();
    VS_INFO("start-up complete");
    if (options_.testPattern) showTestPattern(*display_, paletteManager_.get());
    if (options_.smokeTest) smokeTimer_ = std::make_unique<SmokeTimer>(*this, smokeShot_);
    if (!sceneShot_.empty()) {
        world::SceneOptions scene;
        scene.night = options_.night;
        world::saveSceneShot(sceneShot_, scene);
        requestExit();
    }
}

void GameClient::openSample() {
    sample_ = std::make_unique<TextEntrySample>(layers_[ui::kBaseLayer].get());
    if (!options_.imeScript.empty()) imeScript_ = ImeScriptPlayer::Load(options_.imeScript);
    VS_INFO("start-up complete: the %s sample", "text-entry");
    if (options_.smokeTest) smokeTimer_ = std::make_unique<SmokeTimer>(*this, smokeShot_);
}

void GameClient::openConnectionScreen() {
    net::TerminalPane::Hooks hooks;
    hooks.openTitleScreen = [this] {
        ui::OpenPane<screens::TitlePane>(*titleServices_, titleDialogs());
    };
    hooks.playSound = [](int sound, int volume) {
        if (auto* sounds = audio::SoundMan::instance()) sounds->PlaySound(sound, volume);
    };
    terminalPane_ =
        std::make_unique<net::TerminalPane>(*connection_, *terminalPrompt_, std::move(hooks));
}

void GameClient::shutDown() {
    clientShutDown();
    Application::shutDown();
}

void GameClient::clientShutDown() {
    if (clientShutDownDone_) return;
    clientShutDownDone_ = true;
    app::setPhase(4);
    smokeTimer_.reset();
    if (inputMan_ && connection_) {
        trace("close Connection");
        connection_->close();
        connection_->stop();
    }
    if (layers_[0]) trace("overlay pane gone");
    imeScript_.reset();
    imeUiPane_.reset();
    overlayPane_.reset();
    sample_.reset();
    // The first screen belongs to the layers, and goes with them.
    terminalPane_.reset();
    terminalPrompt_.reset();
    for (int i = 5; i >= 0; --i) {
        if (display_ && layers_[i]) display_->RemoveLayer(layers_[i].get());
        destroy(layers_[i], "Layer");
    }
    if (display_) display_->SetComposer(nullptr);
    screenPane_.reset();
    titleServices_.reset();
    destroy(itemImageLib_, "ItemImageLib");
    destroy(tileImageLib_, "TileImageLib");
    destroy(staticObjImageLib_, "StaticObjImageLib");
    destroy(humanImageLib_, "HumanImageLib");
    destroy(monsterImageLib_, "MonsterImageLib");
    destroy(effectImageLib_, "EffectImageLib");
    destroy(lightImageLib_, "LightImageLib");
    destroy(idleWatcher_, "IdleWatcher");
    destroy(outgoingTextFilter_, "OutgoingTextFilter");
    if (connection_) {
        if (!connection_->stop()) {
            // Its thread is stuck in the system: keep the object alive rather than free it
            // under a running thread.
            (void)connection_.release();
        }
        destroy(connection_, "Connection");
    }
}

int runApplication(const app::LaunchOptions& options) {
    auto* clock = Clock::instance();
    if (!clock) return 1;
    app::FrameClock frameClock(*clock);
    int code = 0;
    {
        GameClient client(options);
        try {
            client.startUp();
            client.runMainLoop();
            client.shutDown();
        } catch (const ProcessExit& e) {
            code = e.code;
        } catch (...) {
            app::CaughtError e = app::describeCurrentException();
            VS_ERROR("%s", base::utf16ToUtf8(e.text).c_str());
            if (auto* w = Window::instance()) w->hide();
            client.setQuitting();
            if (auto* d = graphics::Display::instance()) d->ReleaseExclusive();
            if (auto* box = MessageBox::instance()) box->show(e.text, e.caption);
        }
    }
    return code;
}

}  // namespace vs::client
