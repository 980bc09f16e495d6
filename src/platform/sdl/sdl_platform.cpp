#include "platform/sdl/sdl_platform.h"

#include <SDL.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/text.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/posix/file_settings_store.h"
#include "platform/posix/system_host_resolver.h"
#include "platform/sdl/sdl_audio_device.h"
#include "platform/sdl/sdl_clipboard.h"
#include "platform/sdl/sdl_screen.h"
#include "platform/sdl/sdl_text_input.h"
#include "platform/sdl/sdl_window.h"

namespace vs::platform {

namespace {

class SdlClock final : public Clock {
public:
    SdlClock() { registerSelf(this); }
    ~SdlClock() override { unregisterSelf(this); }
    uint32_t nowMs() override { return SDL_GetTicks(); }
    void sleepMs(uint32_t ms) override { SDL_Delay(ms); }
};

class SdlMessageBox final : public MessageBox {
public:
    SdlMessageBox() { registerSelf(this); }
    ~SdlMessageBox() override { unregisterSelf(this); }

    MessageBoxAnswer show(std::u16string_view text, std::u16string_view caption,
                          MessageBoxButtons buttons) override {
        const std::string t = base::utf16ToUtf8(text), c = base::utf16ToUtf8(caption);
        SDL_MessageBoxButtonData data[2]{};
        int n = 1;
        switch (buttons) {
            case MessageBoxButtons::Ok:
                data[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
                           int(MessageBoxAnswer::Ok), "OK"};
                break;
            case MessageBoxButtons::OkCancel:
                data[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, int(MessageBoxAnswer::Ok), "OK"};
                data[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, int(MessageBoxAnswer::Cancel), "Cancel"};
                n = 2;
                break;
            case MessageBoxButtons::YesNo:
                data[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, int(MessageBoxAnswer::Yes), "Yes"};
                data[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, int(MessageBoxAnswer::No), "No"};
                n = 2;
                break;
        }
        SDL_MessageBoxData box{};
        box.flags = SDL_MESSAGEBOX_ERROR;
        box.title = c.c_str();
        box.message = t.c_str();
        box.numbuttons = n;
        box.buttons = data;
        // Printed too: the box may be the only trace of an error on a machine without a screen.
        std::fprintf(stderr, "vestrel: [%s] %s\n", c.c_str(), t.c_str());
        int answer = data[0].buttonid;
        if (SDL_ShowMessageBox(&box, &answer) != 0) answer = data[n - 1].buttonid;
        return MessageBoxAnswer(answer);
    }

    size_t ask(std::u16string_view text, std::u16string_view caption,
               std::span<const std::u16string_view> buttons) override {
        if (buttons.empty()) return 0;
        const std::string t = base::utf16ToUtf8(text), c = base::utf16ToUtf8(caption);
        std::vector<std::string> labels;
        for (auto b : buttons) labels.push_back(base::utf16ToUtf8(b));
        // Return picks the first button, Escape the last.
        std::vector<SDL_MessageBoxButtonData> data(buttons.size());
        for (size_t i = 0; i < data.size(); ++i) {
            Uint32 flags = 0;
            if (i == 0) flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
            if (i + 1 == data.size()) flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
            data[i] = {flags, int(i), labels[i].c_str()};
        }
        SDL_MessageBoxData box{};
        box.flags = SDL_MESSAGEBOX_INFORMATION;
        box.title = c.c_str();
        box.message = t.c_str();
        box.numbuttons = int(data.size());
        box.buttons = data.data();
        std::fprintf(stderr, "vestrel: [%s] %s\n", c.c_str(), t.c_str());
        int answer = int(data.size()) - 1;
        if (SDL_ShowMessageBox(&box, &answer) != 0 || answer < 0 || size_t(answer) >= data.size())
            answer = int(data.size()) - 1;
        return size_t(answer);
    }
};

}  // namespace

struct SdlPlatform::Impl {
    SdlClock clock;
    SdlMessageBox messageBox;
    FileSettingsStore settings{FileSettingsStore::defaultFile()};
    SystemHostResolver resolver;
    std::unique_ptr<SdlWindow> window;
    std::unique_ptr<SdlScreen> screen;  // after the window: it goes first
    std::unique_ptr<SdlTextInput> textInput;
    SdlClipboard clipboard;
    SdlAudioDevice audio;
};

SdlPlatform::SdlPlatform(const SdlOptions& options) {
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // Long compositions arrive whole instead of cut to 32 bytes.
    SDL_SetHint("SDL_IME_SUPPORT_EXTENDED_TEXT", "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0)
        throw std::runtime_error(std::string("SDL_Init: ") + SDL_GetError());
    impl_ = std::make_unique<Impl>();
    impl_->window = std::make_unique<SdlWindow>(options);
    impl_->screen = std::make_unique<SdlScreen>(*impl_->window);
    impl_->textInput = std::make_unique<SdlTextInput>(*impl_->window);
}

SdlPlatform::~SdlPlatform() {
    impl_.reset();
    SDL_Quit();
}

void SdlPlatform::showFatal(const std::string& text, const std::string& caption) {
    std::fprintf(stderr, "vestrel: [%s] %s\n", caption.c_str(), text.c_str());
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr);
}

}  // namespace vs::platform
