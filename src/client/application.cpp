#include "client/application.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <system_error>

#include "app/crash_reporter.h"
#include "app/error.h"
#include "app/event_dispatcher.h"
#include "app/frame_clock.h"
#include "app/input_man.h"
#include "app/password_guard.h"
#include "app/settings.h"
#include "app/version.h"
#include "audio/midi_player.h"
#include "audio/sound_man.h"
#include "base/fourcc.h"
#include "base/log.h"
#include "base/text.h"
#include "graphics/ddraw_device.h"
#include "graphics/display.h"
#include "graphics/font_cache.h"
#include "net/connection.h"
#include "net/packet_delivery.h"
#include "net/packet_trace.h"
#include "patch/patch_downloader.h"
#include "patch/patch_resume.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/virtual_keys.h"
#include "platform/window.h"
#include "resources/archive_manager.h"
#include "resources/dat_file.h"
#include "resources/image_cache.h"
#include "resources/palette_manager.h"
#include "resources/string_table.h"
#include "ui/close_list.h"
#include "ui/dialog.h"
#include "ui/ime_man.h"
#include "ui/notice_bus.h"

namespace vs::client {

namespace fs = std::filesystem;
using namespace platform;

namespace {
Application::Trace& traceSlot() {
    static Application::Trace t;
    return t;
}
}  // namespace

void Application::setTrace(Trace t) { traceSlot() = std::move(t); }

void Application::trace(std::string_view what) {
    if (traceSlot()) traceSlot()(what);
}

Application::Application(app::LaunchOptions options, std::u16string makerName,
                         std::u16string appName)
    : options_(std::move(options)),
      makerName_(std::move(makerName)),
      appName_(std::move(appName)),
      currentDispatcher_(&defaultDispatcher_) {
    dataFileName_ = appName_ + u".DAT";
    soundFileName_ = appName_ + u".SND";
    net::PacketTrace::setEnabled(options_.tracePackets);
    instance_ = this;
    registerShell(this);
}

Application::~Application() {
    // An error that escaped start-up skipped shutDown: release what exists, in the same order.
    baseShutDown();
    singleInstance_.release();
    unregisterShell(this);
    if (instance_ == this) instance_ = nullptr;
}

MessageDispatcher* Application::swapDispatcher(MessageDispatcher* next) {
    std::lock_guard lock(dispatcherMutex_);
    MessageDispatcher* old = currentDispatcher_;
    currentDispatcher_ = next ? next : &defaultDispatcher_;
    return old;
}

fs::path Application::dataDirectory(const app::LaunchOptions& options) {
    if (options.dataDir) return fs::path(*options.dataDir);
    std::string env = environment("VESTREL_DATA");
    if (!env.empty()) return fs::path(env);
    fs::path exe = executablePath();
    std::error_code ec;
    if (!exe.empty() && fs::exists(exe.parent_path() / "MISC.DAT", ec)) return exe.parent_path();
    return dataHome() / "vestrel";
}

void Application::mountArchives() {
    auto& am = *archiveManager_;
    // A required archive that is missing, or whose header does not fit its file, stops start-up.
    auto required = [&](const char* name) {
        trace(std::string("mount ") + name);
        std::u16string failure;
        try {
            if (!am.Mount(name)) failure = app::FileError(std::string_view(name)).text();
        } catch (const resources::ArchiveError& e) {
            failure = e.text();
        }
        if (failure.empty()) return;
        VS_ERROR("%s", base::utf16ToUtf8(failure).c_str());
        if (auto* box = MessageBox::instance()) box->show(failure, u"Aborted");
        if (auto* w = Window::instance()) w->postQuit(0);
        throw ProcessExit{0};
    };
    // An optional one that is damaged is left out, as if it were missing.
    auto optional = [&](const std::string& name) {
        try {
            return am.Mount(name);
        } catch (const resources::ArchiveError& e) {
            VS_WARN("%s", base::utf16ToUtf8(e.text()).c_str());
            return false;
        }
    };
    for (const char* name : {"MISC.DAT", "CHAR.DAT", "TILE.DAT", "MON.DAT", "EFX.DAT"}) required(name);
    trace("mount SND.DAT");
    soundArchivePresent_ = optional("SND.DAT");
    // Music archives: MUH%03d.DAT, and MUS%03d.DAT only where the MUH one does not mount.
    trace("mount music");
    for (int i = 0; i < 1000; ++i) {
        std::string name = base::strprintf("MUH%03d.DAT", i);
        if (!optional(name)) {
            name[2] = 'S';
            optional(name);
        }
    }
    required("VESTREL.DAT");
    required("NINT.DAT");
}

void Application::startUp() {
    app::setPhase(1);
    uiThreadId_ = std::this_thread::get_id();
    trace("network");  // sockets need no start-up here

    const app::VersionInfo v = app::programVersion();
    version_ = v.version;
    build_ = v.build;

    const fs::path data = dataDirectory(options_);
    std::error_code ec;
    if (!options_.dataDir && environment("VESTREL_DATA").empty()) fs::create_directories(data, ec);
    if (!changeDirectory(data)) VS_WARN("cannot enter the data directory %s", data.c_str());
    trace("directory");

    trace("program path");
    app::recordProgramPath(executablePath());

    if (patch::resumeInterruptedPatch()) throw ProcessExit{0};

    trace("single instance");
    auto* clock = Clock::instance();
    if (!clock || !singleInstance_.acquire(InstanceLock::defaultPath(), kSingleInstanceWaitMs, *clock))
        throw ProcessExit{0};
    create(crashReporter_, "CrashReporter");
    app::CrashReporter::setVersion(version_, build_);

    create(archiveManager_, "ArchiveManager");
    mountArchives();
    app::PasswordGuard::setTextSource([](std::string_view name) -> std::optional<std::string> {
        auto* archives = resources::ArchiveManager::instance();
        if (!archives || !archives->Exists(name)) return std::nullopt;
        const resources::DATFile file(name);
        const auto bytes = file.View();
        return std::string(bytes.begin(), bytes.end());
    });
    // The string tables are decoded with the game's code page: it is settled before they load.
    if (!options_.codepage) app::Settings::applyStoredCodePage();
    create(stringTable_, "StringTable");
    create(settings_, "Settings", [](int n) {
        auto* strings = resources::StringTable::instance();
        return strings ? strings->Get(n) : std::u16string();
    });
    settings_->start(options_);

    trace("splash");  // a start-up dialog has nothing to show on a desktop that opens at once
    trace("main window");
    auto* window = Window::instance();
    std::u16string title = stringTable_->Get(0);
    if (window) window->setMode({settings_->windowScale(), settings_->fullscreen()});
    if (auto* screen = Screen::instance()) screen->chooseFormat(settings_->pixelFormat() == 565);
    if (!window || !window->create(title, 640, 480)) throw app::Win32Error();

    std::srand(unsigned(std::time(nullptr)));

    create(noticeBus_, "NoticeBus");
    create(imageCache_, "ImageCache", size_t(1000000));
    create(fontCache_, "FontCache");
    create(closeList_, "CloseList");
    create(imeMan_, "ImeMan");
    imeMan_->Reset();
    create(ddrawDevice_, "DDrawDevice");
    create(display_, "Display", 640, 480, 16);
    create(eventDispatcher_, "EventDispatcher");
    create(inputMan_, "InputMan");
    create(connection_, "Connection");
    create(soundMan_, "SoundMan");
    create(midiPlayer_, "MidiPlayer");
    create(patchDownloader_, "PatchDownloader");
}

void Application::shutDown() { baseShutDown(); }

void Application::baseShutDown() {
    if (shutDownDone_) return;
    shutDownDone_ = true;
    app::setPhase(4);
    if (patchDownloader_) {
        patchDownloader_->stop();
        destroy(patchDownloader_, "PatchDownloader");
    }
    if (noticeBus_) {
        trace("notify term");
        noticeBus_->Broadcast(this, base::fourcc("term"));
    }
    if (auto* w = Window::instance()) w->showSystemCursor(true);
    destroy(soundMan_, "SoundMan");
    destroy(inputMan_, "InputMan");
    destroy(display_, "Display");
    destroy(ddrawDevice_, "DDrawDevice");
    if (auto* w = Window::instance()) w->hide();
    if (!pendingError_.empty()) {
        trace("pending error");
        if (auto* box = MessageBox::instance()) box->show(pendingError_, u"Error");
    }
    destroy(eventDispatcher_, "EventDispatcher");
    destroy(midiPlayer_, "MidiPlayer");
    // An exit web address would open here; the advertising browser has none.
    if (settings_) {
        trace("save settings");
        // Alt+Enter may have changed the window's mode since start-up.
        if (auto* w = Window::instance()) settings_->setFullscreen(w->mode().fullscreen);
        settings_->save();
    }
    destroy(settings_, "Settings");
    destroy(fontCache_, "FontCache");
    destroy(imageCache_, "ImageCache");
    destroy(paletteManager_, "PaletteManager");
    destroy(imeMan_, "ImeMan");
    if (closeList_) closeList_->Empty();
    destroy(closeList_, "CloseList");
    destroy(stringTable_, "StringTable");
    destroy(noticeBus_, "NoticeBus");
    destroy(crashReporter_, "CrashReporter");
    // The connection is normally gone already (the game client's shutdown); never leave it last.
    if (connection_) {
        connection_->stop();
        destroy(connection_, "Connection");
    }
    app::PasswordGuard::setTextSource(nullptr);
    destroy(archiveManager_, "ArchiveManager");
}

void Application::requestExit() {
    trace("request exit");
    if (display_) {
        display_->HideCursor();
        display_->FadeOut([this] {
            if (auto* w = Window::instance()) w->signalQuitEvent();
            quitting_ = true;
        });
    } else {
        if (auto* w = Window::instance()) w->signalQuitEvent();
        quitting_ = true;
    }
}

void Application::activate() {
    if (quitting_) return;
    if (inputMan_) inputMan_->reset();
    if (display_) display_->RestoreSurfaces();
    if (auto* w = Window::instance()) w->restore();
    active_ = true;
    // Music follows the focus only for the archives' music (type 0).
    if (soundMan_) soundMan_->Activate(settings_ && settings_->musicType() == 0);
}

void Application::deactivate() {
    if (quitting_) return;
    if (display_) {
        active_ = false;
        if (auto* w = Window::instance()) w->minimize();
        display_->ReleaseExclusive();
    }
    if (inputMan_) inputMan_->reset();
    // A button-up that happens outside the window never comes: no dialog stays pressed.
    ui::Dialog::CancelAllInteractions();
    // The game map view hears of the lost focus once it exists.
    if (soundMan_) soundMan_->Deactivate(settings_ && settings_->musicType() == 0);
}

void Application::runMainLoop() {
    if (eventDispatcher_) eventDispatcher_->beginLoop();
    auto* window = Window::instance();
    if (!window) return;
    bool stop = false;
    while (!stop) {
        switch (window->wait(5)) {
            case WaitResult::QuitEvent:
                stop = true;
                break;
            case WaitResult::Input: {
                Message m;
                while (window->peek(m)) {
                    if (m.id == kWmQuit) stop = true;
                    // Character messages come from the platform already: nothing to translate.
                    MessageDispatcher* d;
                    {
                        std::lock_guard lock(dispatcherMutex_);
                        d = currentDispatcher_;
                    }
                    d->dispatch(m);
                    m = Message();  // payloads are freed here, dispatched or not
                }
                break;
            }
            case WaitResult::Timeout:
                break;
        }
        // The cursor keeps its own 85 ms animation pace.
        if (active_ && display_ && display_->IsCursorVisible()) {
            if (auto* fc = app::FrameClock::instance()) display_->AnimateCursor(fc->now());
        }
        if (stop) break;
        frameStep();
    }
}

void Application::frameStep() {
    if (closeList_) closeList_->Empty();
    auto* fc = app::FrameClock::instance();
    if (!fc) return;
    if (firstFrame_) fc->startTimers();
    fc->update();
    if (!eventDispatcher_) return;
    eventDispatcher_->frameWork();
    if (firstFrame_) {
        fc->read();
        eventDispatcher_->setTickBase(fc->now());
        firstFrame_ = false;
    }
    uint32_t ticks = uint32_t(fc->now() - eventDispatcher_->tickBase()) / 20;
    if (ticks != eventDispatcher_->tickCount()) {
        eventDispatcher_->ticks().advance(ticks);
        eventDispatcher_->setTickCount(ticks);
    }
}

int64_t Application::windowProc(Message& m) {
    if (instance_ != this || quitting_) return 0;  // the default handling: nothing to do here
    int64_t result = 0;
    if (imeMan_ && imeMan_->HandleMessage(m, result)) return result;
    auto* window = Window::instance();
    switch (m.id) {
        case kWmDestroy:
            if (window) window->postQuit(0);
            return 0;
        case kWmClose:
            // The window manager's close button ends the game like Alt+F4.
            requestExit();
            return 0;
        case kWmSetFocus:
            if (inputMan_) inputMan_->reset();
            return 0;
        case kWmKillFocus:
            // The game map view cancels its timers of code 6 once it exists.
            return 0;
        case kWmPaint:
            if (display_) display_->InvalidateRect(base::Rect{0, 0, 640, 480});
            return 0;
        case kWmActivateApp:
            if (m.wParam == 1)
                activate();
            else
                deactivate();
            return 0;
        case kWmKeyDown:
        case kWmSysKeyDown:
        case kWmKeyUp:
        case kWmSysKeyUp: {
            const auto vk = uint8_t(m.wParam);
            const bool down = m.id == kWmKeyDown || m.id == kWmSysKeyDown;
            if (inputMan_ && window) {
                if (vk == kVkCapital) inputMan_->setCapsLock(window->keyToggled(kVkCapital));
                if (vk == kVkNumLock) inputMan_->setNumLock(window->keyToggled(kVkNumLock));
            }
            if (!inputMan_) return 0;
            if (down) {
                if (imeMan_ && (imeMan_->state() == 0 || imeMan_->state() == 2))
                    inputMan_->keyDown(vk, m.time);
            } else if (vk != 0) {
                inputMan_->keyUp(vk, m.time);
            }
            return 0;
        }
        case kWmMouseMove:
        case kWmLButtonDown:
        case kWmLButtonUp:
        case kWmRButtonDown:
        case kWmRButtonUp:
        case kWmMouseWheel: {
            const int x = std::clamp(lowWordSigned(m.lParam), 0, 639);
            const int y = std::clamp(highWordSigned(m.lParam), 0, 479);
            // A hidden cursor follows too, so that it shows again where the pointer is.
            if (display_) display_->MoveCursor(y, x);
            if (!inputMan_) return 0;
            inputMan_->mouseMove(y, x, m.time);
            switch (m.id) {
                case kWmLButtonDown:
                    if (window) window->setCapture(true);
                    inputMan_->leftDown(m.time);
                    break;
                case kWmLButtonUp:
                    inputMan_->leftUp(m.time);
                    if (window) window->setCapture(false);
                    break;
                case kWmRButtonDown:
                    if (window) window->setCapture(true);
                    inputMan_->rightDown(m.time);
                    break;
                case kWmRButtonUp:
                    if (window) window->setCapture(false);
                    inputMan_->rightUp(m.time);
                    break;
                case kWmMouseWheel: {
                    wheelAccumulator_ += int16_t(uint16_t(m.wParam >> 16));
                    if (std::abs(wheelAccumulator_) >= 120) {
                        int32_t notches = wheelAccumulator_ / 120;
                        wheelAccumulator_ %= 120;
                        inputMan_->wheel(m.time, notches);
                    }
                    break;
                }
                default:
                    break;
            }
            return 0;
        }
        case kMsgSocket:
            if (lowWord(m.lParam) == 1) {
                if (connection_) connection_->readArrived();
            } else if (lowWord(m.lParam) == 32) {
                if (eventDispatcher_) {
                    app::InputEvent e;
                    e.kind = app::InputEvent::kConnectionClosed;
                    eventDispatcher_->post(e);
                }
            }
            return 0;
        case kMsgRawData:
            if (inputMan_) inputMan_->data(1, std::move(m.data));
            return 0;
        case kMsgPacketData:
            if (inputMan_) net::deliverPacket(std::move(m.data));
            return 0;
        case kMsgFatalError:
            pendingError_ = base::asciiToUtf16(base::strprintf("Error #%03d", int(m.wParam)));
            requestExit();
            return 0;
        case kMsgWorkerError:
            pendingError_ = base::utf8ToUtf16(m.text);
            requestExit();
            return 0;
        case kMsgPostedObject:
            if (eventDispatcher_) {
                app::InputEvent e;
                e.kind = app::InputEvent::kPosted;
                e.code = int32_t(m.wParam);
                e.object = m.object.get();
                eventDispatcher_->post(e);
            }
            m.object.reset();
            return 0;
        case kMsgNextTrack:
            if (soundMan_) soundMan_->NextUserTrack(m.wParam);
            return 0;
        case kMsgRandomTrack:
            if (soundMan_) soundMan_->NextPlaylistTrack(m.wParam);
            return 0;
        default:
            return 0;
    }
}

}  // namespace vs::client
