#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "app/launch_options.h"
#include "app/shell.h"
#include "base/lobject.h"
#include "platform/instance_lock.h"
#include "platform/message.h"

namespace vs::app {
class CrashReporter;
class Settings;
class EventDispatcher;
class InputMan;
class IdleWatcher;
class OutgoingTextFilter;
}  // namespace vs::app
namespace vs::resources {
class ArchiveManager;
class StringTable;
class ImageCache;
class PaletteManager;
}  // namespace vs::resources
namespace vs::graphics {
class FontCache;
class DDrawDevice;
class Display;
}  // namespace vs::graphics
namespace vs::ui {
class NoticeBus;
class CloseList;
class ImeMan;
class Layer;
class ScreenPane;
class OverlayPane;
class ImeUiPane;
class Pane;
}  // namespace vs::ui
namespace vs::net {
class Connection;
class TerminalPane;
class TerminalPrompt;
}  // namespace vs::net
namespace vs::audio {
class SoundMan;
class MidiPlayer;
}  // namespace vs::audio
namespace vs::patch {
class PatchDownloader;
}
namespace vs::screens {
struct TitleServices;
}
namespace vs::world {
class ItemImageLib;
class TileImageLib;
class StaticObjImageLib;
class HumanImageLib;
class MonsterImageLib;
class EffectImageLib;
class LightImageLib;
}  // namespace vs::world

namespace vs::client {

// Hands a window message to whoever handles messages now (normally the window procedure).
class MessageDispatcher {
public:
    virtual ~MessageDispatcher() = default;
    virtual void dispatch(platform::Message& m) = 0;
};

// Thrown to end the process quietly with an exit code (a second instance, a missing archive
// after its box, a hand-over to the patcher).
struct ProcessExit {
    int code = 0;
};

// The process: start-up in a fixed order, the main loop, the window procedure and shutdown in
// the reverse order. Every manager is created and destroyed here.
class Application : public base::LObject, public app::Shell {
public:
    Application(app::LaunchOptions options, std::u16string makerName = u"Quilm",
                std::u16string appName = u"Vestrel");
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    static Application* instance() { return instance_; }

    virtual void startUp();
    virtual void shutDown();
    virtual void activate();
    virtual void deactivate();

    void runMainLoop();
    void frameStep();
    int64_t windowProc(platform::Message& m);

    // app::Shell
    void requestExit() override;
    bool isQuitting() const override { return quitting_; }
    bool isActive() const override { return active_; }
    void setPendingError(std::u16string text) override { pendingError_ = std::move(text); }
    int16_t version() const override { return version_; }
    int16_t build() const override { return build_; }
    bool inGame() const override { return inGame_; }
    void setInGame(bool in) override { inGame_ = in; }

    MessageDispatcher* swapDispatcher(MessageDispatcher* next);
    const std::u16string& makerName() const { return makerName_; }
    const std::u16string& appName() const { return appName_; }
    const std::u16string& dataFileName() const { return dataFileName_; }
    const std::u16string& pendingError() const { return pendingError_; }
    const app::LaunchOptions& options() const { return options_; }
    bool soundArchivePresent() const { return soundArchivePresent_; }
    std::thread::id uiThreadId() const { return uiThreadId_; }
    // Marks the application as quitting (the entry point, on an escaping error).
    void setQuitting() { quitting_ = true; }

    // Every creation, destruction and start-up step is reported here (tests record the order).
    using Trace = std::function<void(std::string_view)>;
    static void setTrace(Trace trace);
    // The data directory the program works in: --data, $VESTREL_DATA, the program's own
    // directory when it holds the archives, else the user's data directory.
    static std::filesystem::path dataDirectory(const app::LaunchOptions& options);

    static constexpr uint32_t kSingleInstanceWaitMs = 5000;

protected:
    static void trace(std::string_view what);
    template <class T, class... A>
    void create(std::unique_ptr<T>& slot, std::string_view name, A&&... args) {
        trace(std::string("+") + std::string(name));
        slot = std::make_unique<T>(std::forward<A>(args)...);
    }
    template <class T>
    void destroy(std::unique_ptr<T>& slot, std::string_view name) {
        if (!slot) return;
        trace(std::string("-") + std::string(name));
        slot.reset();
    }
    void mountArchives();
    void baseShutDown();

    app::LaunchOptions options_;
    std::u16string makerName_, appName_, dataFileName_, soundFileName_;
    bool active_ = true;
    bool quitting_ = false;
    bool inGame_ = false;
    bool shutDownDone_ = false;
    int16_t version_ = 310, build_ = 0;
    std::thread::id uiThreadId_;
    bool soundArchivePresent_ = false;
    std::u16string pendingError_;
    int32_t wheelAccumulator_ = 0;
    bool firstFrame_ = true;
    platform::InstanceLock singleInstance_;

    std::mutex dispatcherMutex_;
    MessageDispatcher* currentDispatcher_;
    class WindowProcDispatcher final : public MessageDispatcher {
    public:
        explicit WindowProcDispatcher(Application& a) : app_(a) {}
        void dispatch(platform::Message& m) override { app_.windowProc(m); }

    private:
        Application& app_;
    } defaultDispatcher_{*this};

    std::unique_ptr<app::CrashReporter> crashReporter_;
    std::unique_ptr<resources::ArchiveManager> archiveManager_;
    std::unique_ptr<resources::StringTable> stringTable_;
    std::unique_ptr<app::Settings> settings_;
    std::unique_ptr<ui::NoticeBus> noticeBus_;
    std::unique_ptr<resources::ImageCache> imageCache_;
    std::unique_ptr<graphics::FontCache> fontCache_;
    std::unique_ptr<ui::CloseList> closeList_;
    std::unique_ptr<ui::ImeMan> imeMan_;
    std::unique_ptr<graphics::DDrawDevice> ddrawDevice_;
    std::unique_ptr<graphics::Display> display_;
    std::unique_ptr<app::EventDispatcher> eventDispatcher_;
    std::unique_ptr<app::InputMan> inputMan_;
    std::unique_ptr<net::Connection> connection_;
    std::unique_ptr<audio::SoundMan> soundMan_;
    std::unique_ptr<audio::MidiPlayer> midiPlayer_;
    std::unique_ptr<patch::PatchDownloader> patchDownloader_;
    std::unique_ptr<resources::PaletteManager> paletteManager_;

private:
    static inline Application* instance_ = nullptr;
};

// The game client: the base start-up, then the game's own managers, libraries and first screen.
class GameClient final : public Application {
public:
    explicit GameClient(app::LaunchOptions options);
    ~GameClient() override;
    void startUp() override;
    void shutDown() override;

private:
    void clientShutDown();
    void openFirstScreen();
    void openSample();
    // The connection screen, at start and whenever the title or the world leaves for it.
    void openConnectionScreen();

    bool clientShutDownDone_ = false;
    std::unique_ptr<app::IdleWatcher> idleWatcher_;
    std::unique_ptr<world::ItemImageLib> itemImageLib_;
    std::unique_ptr<world::TileImageLib> tileImageLib_;
    std::unique_ptr<world::StaticObjImageLib> staticObjImageLib_;
    std::unique_ptr<world::HumanImageLib> humanImageLib_;
    std::unique_ptr<world::MonsterImageLib> monsterImageLib_;
    std::unique_ptr<world::EffectImageLib> effectImageLib_;
    std::unique_ptr<world::LightImageLib> lightImageLib_;
    std::unique_ptr<app::OutgoingTextFilter> outgoingTextFilter_;
    std::unique_ptr<ui::ScreenPane> screenPane_;
    std::unique_ptr<ui::Layer> layers_[6];
    std::unique_ptr<ui::OverlayPane> overlayPane_;
    std::unique_ptr<ui::ImeUiPane> imeUiPane_;
    std::unique_ptr<ui::Pane> sample_;
    std::unique_ptr<base::LObject> imeScript_;
    std::unique_ptr<net::TerminalPrompt> terminalPrompt_;
    std::unique_ptr<net::TerminalPane> terminalPane_;
    std::unique_ptr<screens::TitleServices> titleServices_;
    std::unique_ptr<base::LObject> smokeTimer_;
    std::filesystem::path smokeShot_;
    std::filesystem::path sceneShot_;
};

// The entry point's work once the platform exists: build the application, start it up, run the
// main loop and shut down; an escaping error is shown in a message box. Returns the exit code.
int runApplication(const app::LaunchOptions& options);

}  // namespace vs::client
