// SDL's text events as window messages (dummy video driver, pushed events), and the clipboard's
// conversions between the code page with CR LF and the desktop's UTF-8.
#include "platform/sdl/sdl_text_input.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/sdl/sdl_clipboard.h"
#include "platform/sdl/sdl_window.h"

namespace vs::platform {
namespace {

class SdlTextInputTest : public testing::Test {
  protected:
    SdlTextInputTest() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ok = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
        window = std::make_unique<SdlWindow>(SdlOptions{});
        input = std::make_unique<SdlTextInput>(*window);
    }
    ~SdlTextInputTest() override {
        input.reset();
        window.reset();
        SDL_Quit();
        unsetenv("SDL_VIDEODRIVER");
    }

    void key(SDL_Scancode sc, SDL_Keycode sym, uint16_t mod = 0) {
        SDL_Event ev{};
        ev.type = SDL_KEYDOWN;
        ev.key.keysym.scancode = sc;
        ev.key.keysym.sym = sym;
        ev.key.keysym.mod = mod;
        SDL_PushEvent(&ev);
    }
    void text(const char* utf8) {
        SDL_Event ev{};
        ev.type = SDL_TEXTINPUT;
        std::strncpy(ev.text.text, utf8, sizeof ev.text.text - 1);
        SDL_PushEvent(&ev);
    }
    void editing(const char* utf8, int start) {
        SDL_Event ev{};
        ev.type = SDL_TEXTEDITING;
        std::strncpy(ev.edit.text, utf8, sizeof ev.edit.text - 1);
        ev.edit.start = start;
        SDL_PushEvent(&ev);
    }
    // What one pass over SDL's queue posted, as "id:wParam:lParam[:text]".
    std::vector<std::string> drain() {
        window->wait(0);
        std::vector<std::string> out;
        Message m;
        while (window->peek(m)) {
            if (m.id == kWmKeyDown) continue;
            std::string s = std::to_string(m.id) + ":" + std::to_string(m.wParam) + ":" +
                            std::to_string(m.lParam);
            if (!m.text.empty()) s += ":" + m.text;
            out.push_back(s);
        }
        return out;
    }

    bool ok = false;
    std::unique_ptr<SdlWindow> window;
    std::unique_ptr<SdlTextInput> input;
};

using Strings = std::vector<std::string>;
const std::string kChar = std::to_string(kWmChar) + ":";
const std::string kStart = std::to_string(kWmImeStartComposition) + ":0:0";
const std::string kEnd = std::to_string(kWmImeEndComposition) + ":0:0";
const std::string kComp = std::to_string(kWmImeComposition) + ":";

TEST_F(SdlTextInputTest, StoppedTheWindowTypesPlainKeysAndNothingTwice) {
    ASSERT_TRUE(ok) << SDL_GetError();
    EXPECT_FALSE(input->available());
    key(SDL_SCANCODE_A, SDLK_a);
    key(SDL_SCANCODE_A, SDLK_a, KMOD_LSHIFT);
    key(SDL_SCANCODE_1, SDLK_1, KMOD_LSHIFT);
    key(SDL_SCANCODE_A, SDLK_a, KMOD_LCTRL);  // a control character, not a letter
    key(SDL_SCANCODE_F1, SDLK_F1);
    // What SDL types besides (a system that keeps typing) comes once: plain keys from their
    // key-downs, the rest from the text.
    text("a");
    text("\xC3\xA9");
    EXPECT_EQ(drain(), (Strings{kChar + "97:0", kChar + "65:0", kChar + "33:0", kChar + "1:0",
                                kChar + "233:0"}));
}

TEST_F(SdlTextInputTest, StartedCompositionsAndCommitsBecomeMessagesOnce) {
    ASSERT_TRUE(ok) << SDL_GetError();
    input->setAvailable(true);
    ASSERT_TRUE(input->available());
    key(SDL_SCANCODE_A, SDLK_a);
    text("\xC3\xA9");
    EXPECT_EQ(drain(), (Strings{kChar + "233:0"}));

    const std::string comp = std::to_string(kGcsCompStr | kGcsCursorPos);
    const std::string result = std::to_string(kGcsResultStr);
    editing("k", 1);
    // Two characters in, past one outside the basic plane: three UTF-16 units.
    editing(
        "\xF0\x9D\x84\x9E"
        "a",
        2);
    text("\xE3\x81\x8B");
    EXPECT_EQ(drain(), (Strings{kStart, kComp + "1:" + comp + ":k",
                                kComp + "3:" + comp +
                                    ":\xF0\x9D\x84\x9E"
                                    "a",
                                kComp + "0:" + result + ":\xE3\x81\x8B", kEnd}));
    editing("ab", 0);
    editing("", 0);
    EXPECT_EQ(drain(), (Strings{kStart, kComp + "0:" + comp + ":ab", kEnd}));

    // A composition the game completed itself: the method's late commit of it is dropped, a
    // later one of the same text is not.
    editing("xy", 2);
    drain();
    input->clearComposition(u"xy");
    text("xy");
    text("xy");
    EXPECT_EQ(drain(), (Strings{kChar + "120:0", kChar + "121:0"}));
    // A key in between: the commit is new text.
    input->clearComposition(u"q");
    key(SDL_SCANCODE_Q, SDLK_q);
    text("q");
    EXPECT_EQ(drain(), (Strings{kChar + "113:0"}));
}

TEST(SdlClipboard, ConvertsBetweenTheCodePageAndUtf8) {
    struct Case {
        const char* name;
        std::string codePage, utf8;
    } toDesktop[] = {
        {"CR LF", "x\r\ny", "x\ny"},
        {"bare CR kept", "a\rb", "a\rb"},
        {"Latin-1", "caf\xE9", "caf\xC3\xA9"},
    };
    for (const Case& c : toDesktop) EXPECT_EQ(clipboardToUtf8(c.codePage), c.utf8) << c.name;
    Case fromDesktop[] = {
        {"LF", "one\r\ntwo", "one\ntwo"},
        {"CR LF stays", "a\r\nb", "a\r\nb"},
        {"leading LF", "\r\nx", "\nx"},
        {"Latin-1", "\xE9", "\xC3\xA9"},
        {"beyond the code page", "?", "\xE6\x97\xA5"},
        {"malformed", "?", "\xFF"},
    };
    for (const Case& c : fromDesktop) EXPECT_EQ(clipboardFromUtf8(c.utf8), c.codePage) << c.name;
}

}  // namespace
}  // namespace vs::platform
